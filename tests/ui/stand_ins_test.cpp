// The Qt stand-ins for platform services: month grid, spin edit, shell,
// autostart and the application object.
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/shell_messages.h"
#include "platform/autostart.h"
#include "tests/ui/ui_test_support.h"
#include "widgets/application.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"
#include "widgets/shell.h"

namespace velmar {
namespace {

using testing::ReadBytes;
using testing::Workspace;

TEST(CCalendar, SettersRaiseTheChangeEventAndRefuseNonexistentDates) {
  Workspace space({31, 3, 2001});
  CCalendar grid;
  EXPECT_EQ(grid.Day(), 31);
  EXPECT_EQ(grid.Month(), 3);
  EXPECT_EQ(grid.Year(), 2001);
  QSignalSpy changes(&grid, &CCalendar::Changed);

  EXPECT_FALSE(grid.SetMonth(4));  // 31 April
  EXPECT_FALSE(grid.SetYear(1799));
  EXPECT_FALSE(grid.SetYear(2101));
  EXPECT_EQ(changes.count(), 0);
  EXPECT_EQ(grid.Month(), 3);

  EXPECT_TRUE(grid.SetDay(30));
  EXPECT_TRUE(grid.SetMonth(4));
  EXPECT_EQ(changes.count(), 2);
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 4, 30));

  grid.SetDay(28);
  grid.SetMonth(2);
  EXPECT_FALSE(grid.SetDay(29));  // 2001 is a common year
  EXPECT_TRUE(grid.SetYear(2000));
  EXPECT_TRUE(grid.SetDay(29));
  EXPECT_EQ(changes.count(), 6);

  grid.SwitchToCurrentDate();  // silently
  EXPECT_EQ(changes.count(), 6);
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 3, 31));
}

TEST(CCalendar, KeysCrossTheMonthsEndsAndTheMouseStaysWithin) {
  Workspace space({1, 3, 2001});
  CCalendar grid;
  grid.show();
  QSignalSpy changes(&grid, &CCalendar::Changed);
  QSignalSpy months(&grid, &CCalendar::KeyMovedMonth);
  QWidget* view = grid.findChild<QTableView*>();
  ASSERT_NE(view, nullptr);
  QTest::keyClick(view, Qt::Key_Left);  // from 1 March 2001 into February
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 2, 28));
  EXPECT_EQ(grid.monthShown(), 2);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(months.count(), 1);
  QTest::keyClick(view, Qt::Key_Right);
  QTest::keyClick(view, Qt::Key_Right);
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 3, 2));
  EXPECT_EQ(months.count(), 2);  // within March, no month moved
  QTest::keyClick(view, Qt::Key_Up);
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 2, 23));
  QTest::keyClick(view, Qt::Key_Down);
  QTest::keyClick(view, Qt::Key_Down);
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 3, 9));
  grid.SetDate(2004, 1, 31);
  QTest::keyClick(view, Qt::Key_PageDown);  // the month's last day
  EXPECT_EQ(grid.selectedDate(), QDate(2004, 2, 29));
  QTest::keyClick(view, Qt::Key_PageUp);
  QTest::keyClick(view, Qt::Key_PageUp);
  EXPECT_EQ(grid.selectedDate(), QDate(2003, 12, 29));
  EXPECT_EQ(grid.yearShown(), 2003);
  // The range's ends hold.
  grid.SetDate(1800, 1, 1);
  const auto before = changes.count();
  QTest::keyClick(view, Qt::Key_Left);
  QTest::keyClick(view, Qt::Key_PageUp);
  EXPECT_EQ(grid.selectedDate(), QDate(1800, 1, 1));
  EXPECT_EQ(changes.count(), before);
  // A click on a blank cell of another month is refused.
  grid.SetDate(2001, 3, 1);
  grid.setSelectedDate(QDate(2001, 2, 26));  // what the view does for such a click
  EXPECT_EQ(grid.selectedDate(), QDate(2001, 3, 1));
  EXPECT_EQ(grid.monthShown(), 3);
}

TEST(CCalendar, StartOfWeekChoosesTheFirstColumn) {
  Workspace space({1, 3, 2001});
  CCalendar grid;
  EXPECT_EQ(grid.firstDayOfWeek(), Qt::Monday);
  grid.SetStartOfWeek(7);
  EXPECT_EQ(grid.firstDayOfWeek(), Qt::Sunday);
  grid.SetStartOfWeek(0);
  EXPECT_EQ(grid.firstDayOfWeek(), Qt::Sunday);
}

TEST(CSpinEdit, ChangesFromCodeRaiseTheEventAndTypedValuesReadClamped) {
  CSpinEdit spin;
  spin.SetMinValue(1800);
  spin.SetMaxValue(2100);
  spin.SetValue(2000);
  QSignalSpy changes(&spin, &CSpinEdit::Changed);
  spin.SetValue(2001);
  EXPECT_EQ(changes.count(), 1);
  spin.SetValue(3000);
  EXPECT_EQ(spin.Value(), 2100);
  spin.selectAll();
  QTest::keyClicks(&spin, QStringLiteral("1700"));
  EXPECT_EQ(spin.text(), QStringLiteral("1700"));
  EXPECT_EQ(spin.Value(), 1800);
}

TEST(Shell, ResultsSayWhatIsMissing) {
  Workspace space({1, 3, 2001});
  const QString dir = QString::fromStdString(space.program().string());
  EXPECT_EQ(Shell::Open(dir + "/docs/none.html"), kShellFileNotFound);
  EXPECT_EQ(Shell::Open(dir + "/nodir/none.html"), kShellPathNotFound);
  EXPECT_EQ(Shell::Open(dir + "/docs"), kShellFileNotFound);  // a folder is no document
  EXPECT_TRUE(space.opened.empty());
  EXPECT_EQ(Shell::Open(dir + "\\docs\\nativity.html"), kShellSuccess);
  ASSERT_EQ(space.opened.size(), 1U);
  EXPECT_EQ(space.opened[0].toLocalFile(), dir + "/docs/nativity.html");
  space.openerAnswer = false;
  EXPECT_EQ(Shell::Open(dir + "/docs/nativity.html"), kShellNoAssociation);
  EXPECT_EQ(Shell::OpenLink(QUrl("https://example.org/")), kShellNoAssociation);
}

TEST(Shell, AskingXdgMimeTellsWhetherAnythingOpensTheFile) {
  Workspace space({1, 3, 2001});
  const std::filesystem::path bin = space.program() / "bin";
  std::filesystem::create_directories(bin);
  const auto script = [&](const char* name, const std::string& body) {
    const std::filesystem::path file = bin / name;
    std::ofstream(file) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(file, std::filesystem::perms::owner_all);
  };
  const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
  const std::string oldBrowser = std::getenv("BROWSER") != nullptr ? std::getenv("BROWSER") : "";
  unsetenv("BROWSER");
  setenv("PATH", bin.c_str(), 1);
  const QString ini = QString::fromStdString((space.program() / "Velmar32.ini").string());
  EXPECT_TRUE(Shell::DesktopHasApplicationFor(ini));  // no xdg-open: Qt answers itself
  script("xdg-open", "exit 0\n");
  script("xdg-mime", "exit 0\n");  // no default application for any type
  EXPECT_FALSE(Shell::DesktopHasApplicationFor(ini));
  // An editor for text/plain opens the settings file, whose own type is a kind of it.
  script("xdg-mime", "[ \"$3\" = text/plain ] && echo mousepad.desktop\nexit 0\n");
  EXPECT_TRUE(Shell::DesktopHasApplicationFor(ini));
  script("xdg-mime", "exit 0\n");
  setenv("BROWSER", "firefox", 1);  // what xdg-open falls back on
  EXPECT_TRUE(Shell::DesktopHasApplicationFor(ini));
  setenv("PATH", oldPath.c_str(), 1);
  if (oldBrowser.empty()) unsetenv("BROWSER"); else setenv("BROWSER", oldBrowser.c_str(), 1);
}

TEST(Autostart, EntryComesAndGoes) {
  Workspace space({1, 3, 2001});
  EXPECT_EQ(Autostart::EntryPath(), space.autostartEntry().string());
  EXPECT_FALSE(Autostart::IsOn());
  Autostart::Add("/opt/Velmar 32/Velmar32");  // the folder is created
  EXPECT_TRUE(Autostart::IsOn());
  EXPECT_EQ(ReadBytes(space.autostartEntry()),
            "[Desktop Entry]\nType=Application\nName=Днесловник\n"
            "Exec=\"/opt/Velmar 32/Velmar32\"\nTerminal=false\n");
  Autostart::Add("/usr/bin/Velmar32");  // replaced whole
  EXPECT_EQ(ReadBytes(space.autostartEntry()).find("Velmar 32"), std::string::npos);
  Autostart::Remove();
  EXPECT_FALSE(Autostart::IsOn());
  Autostart::Remove();  // nothing to remove: no harm
  EXPECT_FALSE(Autostart::IsOn());
}

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app->SetMainWindow(&window);
    app->OnMinimize = [this](QObject*) { ++minimised; };
    app->OnRestore = [this](QObject*) { ++restored; };
  }
  void TearDown() override {
    app->OnMinimize = nullptr;
    app->OnRestore = nullptr;
    app->SetTrayAvailable({});
    app->SetMainWindow(nullptr);
  }
  Application* app = Application::Instance();
  QWidget window;
  int minimised = 0, restored = 0;
};

TEST_F(ApplicationTest, MinimiseAndRestoreRaiseTheirEventsOnce) {
  app->SetTrayAvailable([] { return true; });
  window.show();
  app->Minimize();
  EXPECT_TRUE(window.isMinimized());
  EXPECT_EQ(minimised, 1);
  app->Restore();
  EXPECT_FALSE(window.isMinimized());
  EXPECT_EQ(restored, 1);
  // A state change by the platform does.
  app->MainWindowStateChanged(Qt::WindowNoState, Qt::WindowMinimized);
  app->MainWindowStateChanged(Qt::WindowMinimized, Qt::WindowMinimized);
  app->MainWindowStateChanged(Qt::WindowMinimized, Qt::WindowNoState);
  EXPECT_EQ(minimised, 2);
  EXPECT_EQ(restored, 2);
  // The program's own window commands raise nothing.
  app->ShowWindow(lumora::SwMinimize);
  app->ShowWindow(lumora::SwHide);
  app->ShowWindow(lumora::SwShow);
  app->ShowWindow(lumora::SwRestore);
  EXPECT_EQ(minimised, 2);
  EXPECT_EQ(restored, 2);
}

// Shown again from the tray, the window may get the desktop's late answer to
// the minimise before it was hidden: it stays shown and nothing is raised.
TEST_F(ApplicationTest, ALateMinimiseAfterComingBackFromHiddenIsUndone) {
  app->SetTrayAvailable([] { return true; });
  window.show();
  app->ShowWindow(lumora::SwMinimize);
  app->ShowWindow(lumora::SwHide);
  app->Restore();
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(restored, 1);
  window.setWindowState(Qt::WindowMinimized);  // as the desktop would
  app->MainWindowStateChanged(Qt::WindowNoState, Qt::WindowMinimized);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(minimised, 0);
  EXPECT_EQ(restored, 1);
}

// Hidden into the tray, the window is no longer minimised for the desktop:
// its report of that is no restore by the user.
TEST_F(ApplicationTest, StateChangesOfAHiddenWindowRaiseNothing) {
  app->SetTrayAvailable([] { return true; });
  window.show();
  app->ShowWindow(lumora::SwMinimize);
  app->ShowWindow(lumora::SwHide);
  app->MainWindowStateChanged(Qt::WindowMinimized, Qt::WindowNoState);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(restored, 0);
}

TEST_F(ApplicationTest, WithoutATrayMinimisingRaisesNothing) {
  app->SetTrayAvailable([] { return false; });
  window.show();
  app->Minimize();
  EXPECT_TRUE(window.isMinimized());
  EXPECT_EQ(minimised, 0);
}

TEST_F(ApplicationTest, TitleIsTheMainWindowsTitleAndTerminateEndsTheLoop) {
  app->SetTitle(QStringLiteral("Днесловник - Среда, 1 Марта"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Днесловник - Среда, 1 Марта"));
  app->Terminate();
  EXPECT_TRUE(testing::ProgramEnds());
}

// Throws from its event handler, as a faulty handler would.
class ThrowingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("Нет такого файла");
    return QObject::event(e);
  }
};

TEST(Application, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn) {
  ThrowingObject faulty;
  QString shown;
  // The box is modal: read and close it from the event loop it runs.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->close();
    }
  });
  closer.start(20);
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&faulty, &event));
  EXPECT_EQ(shown, QStringLiteral("Нет такого файла"));
}

}  // namespace
}  // namespace velmar
