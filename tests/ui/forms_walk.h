#pragma once
// What the look and the font-fit tests share: the program's forms created
// as at a start (CreateProgramForms) with content in them, every window of
// the program found among the application's windows (so that a form added
// to the program is walked too), and each window walked through its states:
// every page of its page controls, and the states a dialog shows in turn.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/program_forms.h"
#include "app/reading_links.h"
#include "texts/day_readings.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"
#include "reports/period_calendar.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/ui_test_support.h"

namespace velmar::testing {

// The forms of a start on 7 January 2003 (a Sunday and a feast: red
// captions), each page with something in it: the Paschalion grid computed,
// a search listed, a week's calendar in the viewer, the day's first reading
// in the reading window.
class ProgramWithContent {
 public:
  ProgramWithContent() : space_({7, 1, 2003}) {
    forms_ = CreateProgramForms(&tray_);
    TForm1& main = *forms_->form1;
    main.SpeedButton4Click();
    main.BitBtn1Click();
    WritePeriodCalendar(5, 1, 2003, 11, 1, 2003);
    forms_->form2->ShowReport(true);
    forms_->form2->hide();
    forms_->aboutBox->Prepare();
    // The reading window, on the day's first reading.
    const std::vector<ReadingEntry> readings = DayReadingEntries(7, 1, 2003);
    if (!readings.empty()) main.Readings->Open({{7, 1, 2003}, readings.front()});
  }

  ProgramForms& forms() { return *forms_; }

 private:
  Workspace space_;
  lumora::FakeTrayShell tray_;
  std::unique_ptr<ProgramForms> forms_;
};

// The program's windows: every window of the application but menus, tool
// tips and Qt's own file and print dialogs.
inline std::vector<QWidget*> ProgramWindows() {
  std::vector<QWidget*> windows;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isWindow() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip ||
        w->windowType() == Qt::Desktop || qobject_cast<QMenu*>(w) != nullptr ||
        qobject_cast<QFileDialog*>(w) != nullptr || w->inherits("QPrintDialog") ||
        w->inherits("QMessageBox"))
      continue;
    windows.push_back(w);
  }
  return windows;
}

inline std::string NameOf(const QWidget* w) {
  std::string name = w->metaObject()->className();
  if (!w->objectName().isEmpty()) name += " " + w->objectName().toStdString();
  QString text;
  if (const auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
  if (!text.isEmpty()) name += " «" + text.left(40).toStdString() + "»";
  return name;
}

// Shows the window and calls check(state) in each of its states: every page
// of every page control, and the states of the dialogs that change their
// look (the kinds of the period dialog, the search dialog with its hint).
inline void WalkStates(QWidget* window, const std::function<void(const std::string&)>& check) {
  window->show();
  QApplication::processEvents();
  std::vector<std::function<std::string()>> states;
  for (QTabWidget* pages : window->findChildren<QTabWidget*>()) {
    for (int i = 0; i < pages->count(); ++i)
      states.push_back([pages, i] {
        pages->setCurrentIndex(i);
        return "page " + pages->tabText(i).toStdString();
      });
  }
  if (auto* dialog = qobject_cast<TVelmarDlg*>(window)) {
    for (int kind = 0; kind < dialog->ComboBox1->count(); ++kind)
      states.push_back([dialog, kind] {
        dialog->ComboBox1->setCurrentIndex(kind);
        dialog->ComboBox1Change();
        return "kind " + dialog->ComboBox1->currentText().toStdString();
      });
  }
  if (auto* dialog = qobject_cast<TSearchDlg*>(window)) {
    states.push_back([dialog] {
      dialog->SetDialogHeight(TSearchDlg::kExpandedHeight);
      dialog->Label2->setText(QStringLiteral(
          "Слишком длинная либо слишком короткая строка поиска. Поиск может осуществляться "
          "по строке от двух до шестидесяти двух символов."));
      return std::string("with its hint");
    });
  }
  if (states.empty()) states.push_back([] { return std::string("as shown"); });
  for (const auto& state : states) {
    // Each state is shown anew, as the program shows its dialogs.
    window->hide();
    const std::string name = state();
    window->show();
    QApplication::processEvents();
    QApplication::processEvents();
    check(name);
  }
  window->hide();
}

}  // namespace velmar::testing
