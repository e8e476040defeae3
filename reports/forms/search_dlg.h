#pragma once
// TSearchDlg, the dialog of the menologion search report: the text to look
// for, 2 to 62 characters of Windows-1251. A text out of that range is
// rejected; the command then enlarges the dialog, explains the limits in
// the hint and asks again. Created once; the text and the size persist.

#include <QDialog>
#include <string>

#include "reports/forms/dialog_support.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace velmar {

class TForm2;

class TSearchDlg : public QDialog {
  Q_OBJECT

 public:
  // Outer heights of the dialog: compact, and with the hint below a bevel.
  static constexpr int kCompactHeight = 140;
  static constexpr int kExpandedHeight = 186;

  explicit TSearchDlg(QWidget* parent = nullptr);

  // The outcome marker: reset by the command, cancelled by "Отмена", Esc or
  // the close box, rejected by "&Ок" for a text of the wrong length.
  DialogOutcome Outcome() const { return OutcomeMarker(Label1); }
  void SetOutcome(DialogOutcome outcome) { SetOutcomeMarker(Label1, outcome); }

  // Sets the outer height (kCompactHeight or kExpandedHeight, title bar
  // included); Bevel1 shows in the tall form only.
  void SetDialogHeight(int outerHeight);
  // The outer height last set.
  int DialogHeight() const { return dialogHeight_; }

  // Edit1's text in Windows-1251 (characters the code page lacks become '?').
  std::string SearchText() const;

  // Components.
  QLabel *Label1 = nullptr, *Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QFrame* Bevel1 = nullptr;
  QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

  // Handlers.
  void OKBtnClick();  // marks a text of the wrong length as rejected
  void CancelBtnClick();

  // "Отмена", Esc and the close box all count as cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int dialogHeight_ = kCompactHeight;
};

// The command "Поиск в файл" (Ctrl+S): asks for the text until its length is
// acceptable, writes the search report for it into the report file, the days
// dated in calendarYear (the year of the Calendar page), and shows the report
// in the viewer with word wrap on. Cancelling does nothing.
void RunSearchCommand(TSearchDlg& dialog, TForm2& viewer, int calendarYear);

}  // namespace velmar
