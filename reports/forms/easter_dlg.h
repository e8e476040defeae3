#pragma once
// TEasterDlg, the dialog of the Paschalion report: the first and the last
// year and the style. The new style allows 1800..2100; the old style reaches
// far beyond (the report itself takes 326..2326). Created once; its years and
// style persist between uses.

#include <QDialog>

#include "reports/forms/dialog_support.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QShowEvent;
class QSpinBox;

namespace velmar {

class TForm2;

class TEasterDlg : public QDialog {
  Q_OBJECT

 public:
  // This year to this year + 8, new style (velmar::Today()).
  explicit TEasterDlg(QWidget* parent = nullptr);

  // The outcome marker: reset by the command, cancelled by "Отмена", Esc or
  // the close box.
  DialogOutcome Outcome() const { return OutcomeMarker(Label1); }
  void SetOutcome(DialogOutcome outcome) { SetOutcomeMarker(Label1, outcome); }

  // True when the old style (RadioButton2) is chosen.
  bool OldStyle() const;

  // Components.
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
  QSpinBox *CSpinEdit1 = nullptr, *CSpinEdit2 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr;
  QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

  // Handlers.
  void CSpinEdit1Change();   // the last year follows the first
  void RadioButton1Click();  // new style: 1800..2100
  void RadioButton2Click();  // old style: 325..2325
  void CancelBtnClick();

  // "Отмена", Esc and the close box all count as cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
};

// The command "Составить пасхалию" (Ctrl+P): shows the dialog, limits the
// years (written back into the dialog), writes the Paschalion report into the
// report file and shows it in the viewer without word wrap. Cancelling does
// nothing.
void RunPaschalionCommand(TEasterDlg& dialog, TForm2& viewer);

}  // namespace velmar
