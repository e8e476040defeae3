#pragma once
// TVelmarDlg, the period dialog of the period calendar ("Составить календарь
// на"): the kind of period and the start and end dates. Its handlers keep the
// dates valid as the user changes them: a day list always holds the days of
// its month (February by the leap year), the end year is never below the
// start year, and within one year the end never lies before the start.
// Created once; its selections persist between uses.

#include <QDialog>

#include "reports/forms/dialog_support.h"
#include "reports/period_calendar.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QShowEvent;
class QSpinBox;

namespace velmar {

class TForm2;

class TVelmarDlg : public QDialog {
  Q_OBJECT

 public:
  // Kind "Текущую неделю", both dates today and both years this year
  // (velmar::Today()).
  explicit TVelmarDlg(QWidget* parent = nullptr);

  // The outcome marker: reset by the command, cancelled by "Отмена", Esc or
  // the close box.
  DialogOutcome Outcome() const { return OutcomeMarker(Label3); }
  void SetOutcome(DialogOutcome outcome) { SetOutcomeMarker(Label3, outcome); }

  // The period of the chosen kind (new style, inclusive). today is the
  // system date for the two week kinds. Years typed into the year fields are
  // first taken in, clamped into their limits (1800..2100, the end year not
  // below the start year).
  Period ChosenPeriod(const Date& today);

  // Components.
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr;
  QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr,
            *ComboBox4 = nullptr, *ComboBox5 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QSpinBox *CSpinEdit1 = nullptr, *CSpinEdit2 = nullptr;
  QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

  // Handlers: run when the user changes a list; the spin edits' handlers also
  // run when a value is set from code.
  void ComboBox1Change();
  void ComboBox2Change();
  void ComboBox3Change();
  void ComboBox4Change();
  void ComboBox5Change();
  void CSpinEdit1Change();
  void CSpinEdit2Change();
  void OKBtnClick() {}
  void CancelBtnClick();

  // "Отмена", Esc and the close box all count as cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  int StartMonth() const;  // 1..12
  int EndMonth() const;    // 1..12
  // Refills a day list with 1..the month's length and keeps the selected
  // position, or the last day when it no longer fits.
  static void RebuildDays(QComboBox* days, int month, int year);
  // Within one month of one year the end day is never before the start day.
  void ApplySameMonthRule();
};

// The command "Составить календарь" (Ctrl+K): shows the dialog, computes the
// period of the chosen kind from the system date, checks it ("ОШИБКА: Неверно
// задан период!"), writes the period calendar into the report file and shows
// it in the viewer with word wrap on. Cancelling does nothing.
void RunPeriodCalendarCommand(TVelmarDlg& dialog, TForm2& viewer);

}  // namespace velmar
