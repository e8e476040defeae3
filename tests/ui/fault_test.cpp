// The window under faults: a program directory it can't write, the date
// changing while a modal dialog is up.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main_window.h"
#include "platform/program_directory.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/velmar_dlg.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/ui_test_support.h"
#include "texts/day_views.h"
#include "widgets/ccalendar.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::Workspace;

// Makes every place the program writes to unusable (as a read-only
// install with an unusable state folder would be) for the test's duration.
class Unwritable {
 public:
  explicit Unwritable(const Workspace& space) {
    SetProgramDirectoryWritable(false);
    const auto blocked = space.program() / ".blocked";
    std::ofstream(blocked) << "not a folder";
    setenv("XDG_STATE_HOME", blocked.c_str(), 1);
  }
  ~Unwritable() {
    SetProgramDirectoryWritable(std::nullopt);
    unsetenv("XDG_STATE_HOME");
  }
};

TEST(MainWindowFaults, UnwritableFoldersKeepThePagesAndStillClose) {
  Workspace space({7, 1, 2001});
  lumora::FakeTrayShell tray;
  TForm1 form(&tray);
  const QString calendarText = form.RichEdit3->toPlainText();
  const QString todayText = form.RichEdit1->toPlainText();
  ASSERT_FALSE(calendarText.isEmpty());
  space.recorder.texts.clear();
  {
    Unwritable readOnly(space);
    // Another day on the Calendar page: a message, the page keeps its text.
    form.CCalendar1->SetDay(9);
    EXPECT_EQ(space.Messages(), std::vector<std::string>{"Cannot open temporary output file."});
    EXPECT_EQ(form.RichEdit3->toPlainText(), calendarText);
    // The change of date: the captions move on, the message comes again.
    SetFixedToday(CivilDate{8, 1, 2001});
    form.Timer1Timer();
    EXPECT_EQ(form.GroupBox1->title().toStdString(), "Понедельник, 8 Января 2001 года");
    EXPECT_EQ(shownDay, 7);  // the next tick tries again
    // Closing: the message about Position.ini, and the window closes all the same.
    space.recorder.texts.clear();
    QCloseEvent close;
    QApplication::sendEvent(&form, &close);
    EXPECT_TRUE(close.isAccepted());
    EXPECT_TRUE(testing::ProgramEnds());
    EXPECT_EQ(space.Messages(), std::vector<std::string>{"Cannot open output file Position.ini."});
  }
  EXPECT_FALSE(std::filesystem::exists(space.program() / "Position.ini"));
}

// The timer fires inside the modal loop of a report dialog: the pages move
// on to the new date, and the dialog goes on as before.
TEST(MainWindowFaults, DateChangesWhileAReportDialogIsOpen) {
  Workspace space({31, 12, 2001});
  lumora::FakeTrayShell tray;
  TForm1 form(&tray);
  TForm2 viewer;
  TVelmarDlg dialog;
  form.Form2 = &viewer;
  form.VelmarDlg = &dialog;
  bool ticked = false;
  QTimer::singleShot(50, [&] {
    SetFixedToday(CivilDate{1, 1, 2002});
    form.Timer1Timer();
    ticked = true;
    QTimer::singleShot(50, [&] { dialog.CancelBtn->click(); });
  });
  form.N38Click();
  EXPECT_TRUE(ticked);
  EXPECT_EQ(form.GroupBox1->title().toStdString(), "Вторник, 1 Января 2002 года");
  EXPECT_EQ(shownDay, 1);
  EXPECT_EQ(shownMonth, 1);
  EXPECT_FALSE(viewer.isVisible());  // cancelled: no report
  // The next use of the command works on the new date.
  QTimer::singleShot(50, [&] { dialog.OKBtn->click(); });
  form.N38Click();
  EXPECT_TRUE(viewer.isVisible());
  EXPECT_NE(viewer.RichEdit1->toPlainText().indexOf("1 Января 2002"), -1);
}

}  // namespace
}  // namespace velmar
