// The main window's comforts beside its design: the tray icon's tooltip of
// the day, the settings dialog and what it puts in force, and the help.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>

#include "app/help_dialog.h"
#include "app/help_text.h"
#include "app/main_window.h"
#include "app/settings_dialog.h"
#include "app/sign_hints.h"
#include "app/tray_tooltip.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "reports/ical_export.h"
#include "texts/fasting_rules.h"
#include "texts/rtf_text.h"
#include "trayicon/tray_icon_ex.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"
#include "widgets/rich_edit.h"

namespace velmar {

void TForm1::BuildComforts() {
  signHints_ = new SignHints(this);
  for (RichEdit* text : {RichEdit1, RichEdit2, RichEdit3}) signHints_->Watch(text);
  UpdateTrayToolTip();
  // The settings dialog and the help are made with the window, as its other
  // forms are, showing what is in force.
  SettingsDialog()->SetValues(EditableFrom(AppSettings), autostartMark_);
  SettingsDialog()->SetSettingsFile(QFile::decodeName(SettingsFilePath().c_str()));
  HelpDialog();
}

bool TForm1::HelpKeyElsewhere(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
  // F1 in the program's other windows: the help (in this one F1 is the
  // Today page, and Shift+F1 the help).
  const auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* window = widget != nullptr ? widget->window() : nullptr;
  if (window == nullptr || window == this || qobject_cast<THelpDlg*>(window) != nullptr) return false;
  ShowHelp(qobject_cast<TSettingsDlg*>(window) != nullptr ? kHelpSettings : kHelpReports);
  return true;
}

void TForm1::UpdateTrayToolTip() {
  const CivilDate today = Today();
  if (today.year < 1800 || today.year > 2100) return;
  // The day's problems with the database were said by its page already.
  struct Quiet : MessageSink {
    void Show(std::string_view) override {}
  } quiet;
  MessageSink* const previous = SetMessageSink(&quiet);
  const Date d{static_cast<u16>(today.day), static_cast<u16>(today.month), static_cast<u16>(today.year)};
  const std::string chief = MakeDayEvent(d).summary;
  const std::string fast = FragmentPlainText(FastNote(d.day, d.month, d.year));
  SetMessageSink(previous);
  TrayIconEx->SetToolTip(QString::fromStdString(TrayToolTip(d.day, d.month, d.year, chief, fast)));
}

TSettingsDlg* TForm1::SettingsDialog() {
  if (!settingsDlg_) {
    settingsDlg_ = std::make_unique<TSettingsDlg>(this);
    connect(settingsDlg_.get(), &TSettingsDlg::EditIniRequested, this, &TForm1::N18Click);
  }
  return settingsDlg_.get();
}

THelpDlg* TForm1::HelpDialog() {
  if (!helpDlg_) helpDlg_ = std::make_unique<THelpDlg>();
  return helpDlg_.get();
}

void TForm1::ShowHelp(std::string_view anchor) {
  // A modal dialog keeps every other window from the user: the help then
  // comes as a window of that dialog, and goes with it.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal != nullptr && modal != HelpDialog()) {
    auto* help = new THelpDlg(modal);
    help->setAttribute(Qt::WA_DeleteOnClose);
    help->ShowSection(anchor);
    return;
  }
  HelpDialog()->ShowSection(anchor);
}

void TForm1::NSettingsClick() {
  const SettingsOutcome outcome = RunSettingsCommand(*SettingsDialog(), autostartMark_);
  if (outcome.autostart) NStartupClick();
  if (outcome.documents) RefreshDays();
}

void TForm1::RefreshDays() {
  // The Today and Tomorrow pages bring the Calendar page back to today: its
  // day, month list and year field are put back as they were.
  const int year = CCalendar1->Year(), month = CCalendar1->Month(), day = CCalendar1->Day();
  const int monthIndex = ComboBox1->currentIndex();
  const int fieldYear = CSpinEdit1->Value();
  ShowTodayAndTomorrow(*this);
  const bool moved = CCalendar1->Year() != year || CCalendar1->Month() != month || CCalendar1->Day() != day;
  CCalendar1->SetDate(year, month, day);  // its change event shows the day
  if (!moved) ShowDayOfGrid();
  ComboBox1->setCurrentIndex(monthIndex);
  CSpinEdit1->SetValue(fieldYear);
  UpdateTrayToolTip();
}

}  // namespace velmar
