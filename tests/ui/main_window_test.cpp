#include "app/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QPushButton>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "calendar/cp1251.h"
#include "platform/program_directory.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/ui_test_support.h"
#include "texts/day_entries.h"
#include "trayicon/tray_icon_ex.h"
#include "widgets/application.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"

namespace velmar {
namespace {

using testing::ProgramEnds;
using testing::ReadBytes;
using testing::Workspace;

struct GridDate {
  int day, month, year;
};

GridDate Grid(const TForm1& form) {
  return {form.CCalendar1->Day(), form.CCalendar1->Month(), form.CCalendar1->Year()};
}

// The document last written into the report file, as UTF-8.
std::string ReportText(const Workspace& space) {
  return Cp1251ToUtf8(ReadBytes(space.program() / "velmar32.tmp"));
}

class MainWindowTest : public ::testing::Test {
 protected:
  lumora::FakeTrayShell tray;
};

TEST_F(MainWindowTest, StartsOnTodayWithTheDesignedControls) {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  EXPECT_EQ(shownDay, 7);
  EXPECT_EQ(shownMonth, 1);
  EXPECT_EQ(form.GroupBox1->title().toStdString(), "Воскресенье, 7 Января 2001 года");
  EXPECT_EQ(form.Label1->text().toStdString(), "(25 Декабря ст.ст.)");
  EXPECT_EQ(form.GroupBox2->title().toStdString(), "Понедельник, 8 Января 2001 года");
  EXPECT_EQ(Application::Instance()->Title().toStdString(), "Днесловник - Воскресенье, 7 Января");
  EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
  EXPECT_EQ(form.CSpinEdit1->Value(), 2001);
  EXPECT_EQ(form.CSpinEdit2->Value(), 2001);
  EXPECT_EQ(form.ComboBox2->currentIndex(), 18);
  EXPECT_EQ(form.StringGrid1->rowCount(), 11);
  EXPECT_EQ(form.StringGrid1->columnCount(), 5);
  EXPECT_EQ(form.StringGrid1->item(1, 0)->text().toStdString(), "Мытаря");
  EXPECT_EQ(form.StringGrid1->item(10, 0)->text().toStdString(), "Петров пост");
  // The Calendar page shows the same day; 25 December (old style) has a
  // feast page in Addition.db, so all three buttons are enabled.
  EXPECT_NE(ReportText(space).find("7 Января 2001 г."), std::string::npos);
  EXPECT_TRUE(form.RunFile1->isEnabled());
  EXPECT_FALSE(form.RunFile2->isEnabled());
  EXPECT_TRUE(form.SpeedButton3->isEnabled());
  EXPECT_EQ(form.RunFile1->toolTip().toStdString(), "Рождество Христово: о празднике");
  QString hint;  // the last tooltip sent as the hint (the day's own follows beside it)
  for (const lumora::NotifyIconData& data : tray.Calls(lumora::NotifyModify))
    if (data.flags & lumora::NotifyFlagTip) hint = data.Tip();
  EXPECT_EQ(hint.toStdString(), "Днесловник");
  EXPECT_EQ(form.Timer1->interval(), 60000);
  EXPECT_TRUE(form.Timer1->isActive());
  EXPECT_TRUE(space.Messages().empty());
}

TEST_F(MainWindowTest, SettingsChooseThePageTheFontAndTheStartOfWeek) {
  Workspace space({7, 1, 2001});
  std::ofstream(space.program() / "Velmar32.ini", std::ios::binary)
      << "ActivePage=Calendar\nWeekStyle=Church\nMainFont=Courier New Cyr\n";
  TForm1 form(&tray);
  EXPECT_EQ(form.PageControl1->currentIndex(), 2);
  EXPECT_EQ(form.CCalendar1->firstDayOfWeek(), Qt::Sunday);
  EXPECT_EQ(form.Label2->font().family().toStdString(), "Courier New Cyr");
  EXPECT_EQ(form.ListBox1->font().family().toStdString(), "Courier New Cyr");
  EXPECT_NE(form.ComboBox2->font().family().toStdString(), "Courier New Cyr");
}

TEST_F(MainWindowTest, MonthListMovesTheDayIntoTheChosenMonth) {
  struct Row {
    CivilDate start;
    int monthIndex;
    GridDate expected;
    const char* heading;  // in the day document of the grid's new date
  };
  const Row rows[] = {
      {{31, 1, 2001}, 1, {28, 2, 2001}, "28 Февраля 2001 г."},
      {{29, 2, 2000}, 1, {28, 2, 2000}, "28 Февраля 2000 г."},
      {{31, 3, 2001}, 3, {30, 4, 2001}, "30 Апреля 2001 г."},
      {{31, 3, 2001}, 4, {31, 5, 2001}, "31 Мая 2001 г."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.heading);
    Workspace space(r.start);
    TForm1 form(&tray);
    form.ComboBox1->setCurrentIndex(r.monthIndex);
    form.ComboBox1Change();
    const GridDate grid = Grid(form);
    EXPECT_EQ(grid.day, r.expected.day);
    EXPECT_EQ(grid.month, r.expected.month);
    EXPECT_EQ(grid.year, r.expected.year);
    EXPECT_NE(ReportText(space).find(r.heading), std::string::npos);
  }
}

TEST_F(MainWindowTest, ApplyingTheYearClampsItAndLeavesNoTwentyNinthOfFebruary) {
  struct Row {
    QString typed;
    GridDate expected;
    int field;
  };
  const Row rows[] = {
      {"1900", {28, 2, 1900}, 1900},
      {"2004", {29, 2, 2004}, 2004},
      {"2150", {28, 2, 2100}, 2100},
      {"1700", {28, 2, 1800}, 1800},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.typed.toStdString());
    Workspace space({29, 2, 2000});
    TForm1 form(&tray);
    form.CSpinEdit1->selectAll();
    QTest::keyClicks(form.CSpinEdit1, r.typed);
    // Typing alone changes nothing.
    EXPECT_EQ(form.CCalendar1->Year(), 2000);
    form.SpeedButton6Click();
    const GridDate grid = Grid(form);
    EXPECT_EQ(grid.day, r.expected.day);
    EXPECT_EQ(grid.month, r.expected.month);
    EXPECT_EQ(grid.year, r.expected.year);
    EXPECT_EQ(form.CSpinEdit1->Value(), r.field);
    EXPECT_EQ(form.CSpinEdit1->text().toInt(), r.field);
  }
}

TEST_F(MainWindowTest, BackToTodayRedrawsTheDayAndSwitchesTheHighlightOffOnAPick) {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  form.ComboBox1->setCurrentIndex(5);
  form.ComboBox1Change();
  SearchHighlight = true;
  form.CCalendar1->SetDay(20);  // as a click on the 20th would
  EXPECT_FALSE(SearchHighlight);
  EXPECT_NE(ReportText(space).find("20 Июня 2001 г."), std::string::npos);
  form.SpeedButton2Click();
  const GridDate grid = Grid(form);
  EXPECT_EQ(grid.day, 7);
  EXPECT_EQ(grid.month, 1);
  EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
  EXPECT_NE(ReportText(space).find("7 Января 2001 г."), std::string::npos);
}

TEST_F(MainWindowTest, TimerRefreshesThePagesOnlyWhenDayOrMonthChanged) {
  Workspace space({28, 2, 2001});
  TForm1 form(&tray);
  form.CCalendar1->SetDay(15);  // the user's own pick on the Calendar page

  SetFixedToday(CivilDate{28, 2, 2002});  // same day and month, another year
  form.Timer1Timer();
  EXPECT_EQ(form.CCalendar1->Day(), 15);
  EXPECT_EQ(form.GroupBox1->title().toStdString(), "Среда, 28 Февраля 2001 года");

  SetFixedToday(CivilDate{1, 3, 2001});
  form.Timer1Timer();
  EXPECT_EQ(shownDay, 1);
  EXPECT_EQ(shownMonth, 3);
  EXPECT_EQ(form.GroupBox1->title().toStdString(), "Четверг, 1 Марта 2001 года");
  EXPECT_EQ(form.GroupBox2->title().toStdString(), "Пятница, 2 Марта 2001 года");
  const GridDate grid = Grid(form);
  EXPECT_EQ(grid.day, 1);
  EXPECT_EQ(grid.month, 3);
  EXPECT_NE(ReportText(space).find("1 Марта 2001 г."), std::string::npos);
  EXPECT_TRUE(form.TrayIconEx->ToolTip().startsWith(
      QStringLiteral("Днесловник\nЧетверг, 1 марта 2001 г. (16 февраля ст.ст.)\n")));
}

TEST_F(MainWindowTest, TrayToolTipNamesTheDayItsFeastAndFast) {
  {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  EXPECT_EQ(form.TrayIconEx->Hint().toStdString(), "Днесловник");  // the hint as ever
  const QStringList lines = form.TrayIconEx->ToolTip().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 3);
  EXPECT_EQ(lines[0].toStdString(), "Днесловник");
  EXPECT_EQ(lines[1].toStdString(), "Воскресенье, 7 января 2001 г. (25 декабря ст.ст.)");
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Рождество"))) << lines[2].toStdString();
  // The tray was sent the same text.
  bool sent = false;
  for (const lumora::NotifyIconData& data : tray.Calls(lumora::NotifyModify))
    sent = sent || ((data.flags & lumora::NotifyFlagLongTip) && data.longTip == form.TrayIconEx->ToolTip());
  EXPECT_TRUE(sent);
  }
  // A Friday of the Nativity fast has its fast note last.
  Workspace space({5, 12, 2003});
  TForm1 form(&tray);
  const QStringList lines = form.TrayIconEx->ToolTip().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_FALSE(lines[3].isEmpty());
}

TEST_F(MainWindowTest, ExitButtonAndCloseBoxDeleteTheReportFileAndSaveThePosition) {
  for (const bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "exit button");
    Workspace space({7, 1, 2003});
    TForm1 form(&tray);
    form.SetLeft(100);
    form.SetTop(50);
    ASSERT_TRUE(std::filesystem::exists(space.program() / "velmar32.tmp"));
    if (closeBox) {
      form.show();
      form.close();
    } else {
      form.Button2Click();
    }
    EXPECT_TRUE(ProgramEnds());
    EXPECT_FALSE(std::filesystem::exists(space.program() / "velmar32.tmp"));
    const std::string position = ReadBytes(space.program() / "Position.ini");
    EXPECT_NE(position.find("\n;Position.ini for Velmar32.exe ver.2.0 pre-release 278, 7-1-2003\n"),
              std::string::npos);
    EXPECT_NE(position.find("\nWidth=" + std::to_string(form.OuterWidth()) + "\n"), std::string::npos) << position;
    EXPECT_NE(position.find("\nLeft=100\nTop=50\n"), std::string::npos);
  }
}

TEST_F(MainWindowTest, ExitItemsOfBothMenusLeaveAtOnceWithoutTouchingTheFiles) {
  for (const bool trayMenu : {false, true}) {
    SCOPED_TRACE(trayMenu ? "tray menu" : "window menu");
    Workspace space({7, 1, 2003});
    std::ofstream(space.program() / "Position.ini", std::ios::binary) << "Width=500\n";
    TForm1 form(&tray);
    (trayMenu ? form.N6 : form.N14)->trigger();
    EXPECT_TRUE(ProgramEnds());
    EXPECT_TRUE(std::filesystem::exists(space.program() / "velmar32.tmp"));
    EXPECT_EQ(ReadBytes(space.program() / "Position.ini"), "Width=500\n");
  }
}

TEST_F(MainWindowTest, PositionFileSetsTheBoundsAtStart) {
  Workspace space({7, 1, 2003});
  std::ofstream(space.program() / "Position.ini", std::ios::binary)
      << "\n;Automatically preserved position\nWidth=500\nHeight=460\nLeft=30\nTop=-20\n";
  TForm1 form(&tray);
  EXPECT_EQ(form.OuterWidth(), 500);
  EXPECT_EQ(form.OuterHeight(), 460);
  EXPECT_EQ(form.Left(), 30);
  EXPECT_EQ(form.Top(), -20);
}

TEST_F(MainWindowTest, PaschalionCaptionsTurnLongAtFourHundredFiftyPixels) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.show();
  form.SetOuterWidth(449);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.OuterWidth(), 449);
  EXPECT_EQ(form.StringGrid1->columnWidth(0), 449 - 265);
  EXPECT_EQ(form.StringGrid1->item(1, 0)->text().toStdString(), "Мытаря");
  EXPECT_EQ(form.StringGrid1->item(4, 0)->text().toStdString(), "Вербное");

  form.SetOuterWidth(450);
  QCoreApplication::processEvents();
  EXPECT_EQ(form.StringGrid1->columnWidth(0), 450 - 265);
  EXPECT_EQ(form.StringGrid1->item(1, 0)->text().toStdString(), "Неделя о мытаре и фарисее");
  EXPECT_EQ(form.StringGrid1->item(4, 0)->text().toStdString(), "Вход Господень в Иерусалим");
  EXPECT_EQ(form.StringGrid1->item(10, 0)->text().toStdString(), "Длительность Петрова поста");
}

TEST_F(MainWindowTest, AutostartSwitchWritesAndDeletesTheEntry) {
  Workspace space({7, 1, 2003});
  {
    TForm1 form(&tray);
    EXPECT_FALSE(form.NStartup->isChecked());
    form.NStartup->trigger();
    EXPECT_TRUE(form.NStartup->isChecked());
    const std::string entry = ReadBytes(space.autostartEntry());
    EXPECT_NE(entry.find("\nName=Днесловник\n"), std::string::npos);
    EXPECT_NE(entry.find("\nExec=" + ExecutablePath() + "\n"), std::string::npos);
  }
  {
    // The next start finds the entry and shows the mark.
    TForm1 form(&tray);
    EXPECT_TRUE(form.NStartup->isChecked());
    form.NStartup->trigger();
    EXPECT_FALSE(form.NStartup->isChecked());
    EXPECT_FALSE(std::filesystem::exists(space.autostartEntry()));
  }
}

TEST_F(MainWindowTest, AdditionalInformationOpensThePagesOwnDocument) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.SetAdditionalInfo(ViewKind::Today, {true, "today", "docs/nativity.html"});
  form.SetAdditionalInfo(ViewKind::Tomorrow, {true, "tomorrow", "docs/tomorrow-missing.html"});
  form.SetAdditionalInfo(ViewKind::Calendar, {true, "calendar", "nowhere/calendar.html"});

  form.RunFile2Click();
  form.SpeedButton3Click();
  form.RunFile1Click();
  const std::string program = space.program().string() + "/";
  EXPECT_EQ(space.Messages(),
            (std::vector<std::string>{
                "Не найден файл «" + program + "docs/tomorrow-missing.html».\n\n"
                "File docs/tomorrow-missing.html not found",
                "Не найдена папка файла «" + program + "nowhere/calendar.html».\n\nPath not found"}));
  ASSERT_EQ(space.opened.size(), 1U);
  EXPECT_EQ(space.opened[0], QUrl::fromLocalFile(QString::fromStdString(
                                 (space.program() / "docs" / "nativity.html").string())));

  space.openerAnswer = false;  // nothing on the desktop opens it
  form.RunFile1Click();
  EXPECT_NE(space.Messages().back().find("«" + program + "docs/nativity.html»"), std::string::npos);
  EXPECT_TRUE(space.Messages().back().ends_with(
      "\n\nThere is no application associated with the given filename extension."));
}

TEST_F(MainWindowTest, SettingsItemsOpenTheIniFileInTheEditor) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.N19->trigger();
  ASSERT_EQ(space.opened.size(), 1U);
  EXPECT_TRUE(space.opened[0].toLocalFile().endsWith("/Velmar32.ini"));
  space.openerAnswer = false;  // no text editor on the desktop: said, with the file
  form.N18->trigger();
  ASSERT_EQ(space.Messages().size(), 1U);
  EXPECT_NE(space.Messages()[0].find("Не найден текстовый редактор"), std::string::npos);
  EXPECT_NE(space.Messages()[0].find((space.program() / "Velmar32.ini").string()), std::string::npos);
  space.openerAnswer = true;
  std::filesystem::remove(space.program() / "Velmar32.ini");
  form.N18->trigger();
  EXPECT_TRUE(space.Messages().back().ends_with("\n\nFile not found"));
}

TEST_F(MainWindowTest, MinimisingHidesIntoTheTrayAndTheTrayBringsItBack) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.show();
  form.PageControl1->setCurrentIndex(3);
  form.Button1Click();
  EXPECT_FALSE(form.isVisible());  // no taskbar entry either
  // A left double click on the icon restores the window with its page.
  tray.Click(form.TrayIconEx->Identifier(), lumora::MouseLButtonDblClk);
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(form.isMinimized());
  EXPECT_EQ(form.PageControl1->currentIndex(), 3);

  form.N1->trigger();
  EXPECT_FALSE(form.isVisible());
  form.N3->trigger();  // "&Завтра" of the tray menu
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.PageControl1->currentIndex(), 1);
}

TEST_F(MainWindowTest, WithoutATrayMinimisingKeepsTheWindowReachable) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  Application::Instance()->SetTrayAvailable([] { return false; });
  form.show();
  form.Button1Click();
  EXPECT_TRUE(form.isMinimized());
  EXPECT_TRUE(form.isVisible());
  form.N8Click();
  EXPECT_FALSE(form.isMinimized());
}

// Enter that no control takes presses the default button "&Ок", which hides
// the window into the tray; in Edit1 it searches and the window stays; on a
// focused button it presses that button.
TEST_F(MainWindowTest, EnterPressesTheDefaultButtonButSearchesInTheSaintsField) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.show();
  form.activateWindow();
  form.PageControl1->setCurrentWidget(form.TabSheet5);
  form.Edit1->setText(QStringLiteral("Николая"));
  form.Edit1->setFocus();
  QTest::keyClick(form.Edit1, Qt::Key_Return);
  EXPECT_TRUE(form.isVisible());
  EXPECT_GT(form.ListBox1->count(), 0);

  bool aboutAsked = false;
  QObject::connect(form.Button3, &QPushButton::clicked, [&] { aboutAsked = true; });
  form.AboutBox = nullptr;  // Button3Click then shows nothing
  form.Button3->setFocus();
  QTest::keyClick(form.Button3, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(aboutAsked);
  EXPECT_TRUE(form.isVisible());

  form.PageControl1->setCurrentWidget(form.TabSheet1);
  form.PageControl1->setFocus();
  QTest::keyClick(form.PageControl1, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());  // minimised into the tray
  form.N8Click();
  EXPECT_TRUE(form.isVisible());
}

TEST_F(MainWindowTest, KeysMoveTheGridAcrossMonthsAndTheListAndYearFollow) {
  Workspace space({31, 12, 2003});
  TForm1 form(&tray);
  QWidget* view = form.CCalendar1->findChild<QTableView*>();
  ASSERT_NE(view, nullptr);
  QTest::keyClick(view, Qt::Key_Right);  // into the next year
  EXPECT_EQ(form.ComboBox1->currentIndex(), 0);
  EXPECT_EQ(form.CSpinEdit1->Value(), 2004);
  EXPECT_NE(ReportText(space).find("1 Января 2004 г."), std::string::npos);
  QTest::keyClick(view, Qt::Key_PageDown);
  EXPECT_EQ(form.ComboBox1->currentIndex(), 1);
  EXPECT_NE(ReportText(space).find("1 Февраля 2004 г."), std::string::npos);
}

// Enter in a year field applies it, where it used to hide the window.
TEST_F(MainWindowTest, EnterInAYearFieldAppliesTheYear) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.show();
  form.activateWindow();
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  form.CSpinEdit1->setFocus();
  form.CSpinEdit1->selectAll();
  QTest::keyClicks(form.CSpinEdit1, QStringLiteral("1999"));
  QTest::keyClick(form.CSpinEdit1, Qt::Key_Return);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.CCalendar1->Year(), 1999);  // the grid and the field agree
  EXPECT_EQ(form.CSpinEdit1->Value(), 1999);
  EXPECT_NE(ReportText(space).find("7 Января 1999 г."), std::string::npos);

  form.PageControl1->setCurrentWidget(form.TabSheet4);
  form.CSpinEdit2->setFocus();
  form.CSpinEdit2->selectAll();
  QTest::keyClicks(form.CSpinEdit2, QStringLiteral("2099"));
  QTest::keyClick(form.CSpinEdit2, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.CSpinEdit2->Value(), 2097);  // four years end in 2100
  EXPECT_EQ(form.StringGrid1->item(0, 4)->text().toStdString(), "2100 г.");
}

// Until the desktop has framed the window the design's usual frame stands in,
// so the first resize at the designed size gives the caption column its
// designed 106 pixels (outer width 371 - 265), and outer sizes set from
// Position.ini read back as they were set.
TEST_F(MainWindowTest, FirstResizeAtTheDesignedSizeGivesTheDesignedCaptionColumn) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  // Not framed yet, as at the first resize of a start; wider only where the
  // texts need it at the test's font (the five tabs).
  const int width = std::max(363, form.minimumWidth());
  EXPECT_EQ(form.width(), width);
  EXPECT_EQ(form.OuterWidth(), width + 8);
  form.FormResize();
  EXPECT_EQ(form.StringGrid1->columnWidth(0), 106 + (width - 363));
  form.SetOuterWidth(600);
  form.SetOuterHeight(500);
  EXPECT_EQ(form.width(), 592);
  EXPECT_EQ(form.height(), 470);
  EXPECT_EQ(form.OuterWidth(), 600);
  EXPECT_EQ(form.OuterHeight(), 500);
}

TEST_F(MainWindowTest, TrayMenuHasItsDefaultItemAndCaptions) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  EXPECT_EQ(form.PopupMenu2->defaultAction(), form.N8);
  EXPECT_TRUE(form.N8->font().bold());
  EXPECT_EQ(form.NStartup->text().toStdString(), "Запускать при &входе в систему");
  EXPECT_EQ(form.N37->text().toStdString(), "Се&рвис ...");
  EXPECT_EQ(form.N14->shortcut(), QKeySequence(Qt::ALT | Qt::Key_Q));
  EXPECT_EQ(form.N1->shortcut(), QKeySequence(Qt::Key_Escape));
  ASSERT_EQ(form.PopupMenu1->actions().size(), 14);  // nine items, the help beside them, four separators
  EXPECT_TRUE(form.PopupMenu1->actions()[1]->isSeparator());
}

TEST_F(MainWindowTest, WindowShortcutsWinOverTheTextField) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.Edit1->setFocus();
  QTest::keyClick(form.Edit1, Qt::Key_F3);
  EXPECT_EQ(form.PageControl1->currentIndex(), 2);
  form.PageControl1->setCurrentIndex(4);
  form.Edit1->setFocus();
  QSignalSpy periodCalendar(form.N38, &QAction::triggered);
  QTest::keyClick(form.Edit1, Qt::Key_K, Qt::ControlModifier);  // a text field's own key too
  EXPECT_EQ(periodCalendar.count(), 1);
  EXPECT_EQ(form.Edit1->text().toStdString(), "Авраама");
}

TEST_F(MainWindowTest, CutAndCopyFollowTheTextFieldsSelectionOnAMousePress) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  EXPECT_TRUE(form.N26->isEnabled());
  form.Edit1->deselect();
  QTest::mousePress(form.Edit1, Qt::RightButton);
  EXPECT_FALSE(form.N26->isEnabled());
  EXPECT_FALSE(form.N27->isEnabled());
  form.N31Click();
  QTest::mousePress(form.Edit1, Qt::RightButton);
  EXPECT_TRUE(form.N26->isEnabled());
  EXPECT_TRUE(form.N27->isEnabled());
}

TEST_F(MainWindowTest, PaschalionPageFillsFourYearsOnRequest) {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  // This year's Paschalion from the start: Pascha 2001 on 15 April.
  EXPECT_EQ(form.StringGrid1->item(0, 1)->text().toStdString(), "2001 г.");
  EXPECT_EQ(form.StringGrid1->item(5, 1)->text().toStdString(), "15 Ап");
  // The style's switch alone recomputes it: Pascha on 2 April old style.
  form.RadioButton2->setChecked(true);
  EXPECT_EQ(form.StringGrid1->item(5, 1)->text().toStdString(), "2 Ап");
  form.RadioButton1->setChecked(true);
  EXPECT_EQ(form.StringGrid1->item(5, 1)->text().toStdString(), "15 Ап");
  form.CSpinEdit2->SetValue(1700);
  form.SpeedButton4Click();
  EXPECT_EQ(form.CSpinEdit2->Value(), 1800);
  EXPECT_EQ(form.StringGrid1->item(0, 1)->text().toStdString(), "1800 г.");
  EXPECT_EQ(form.StringGrid1->item(0, 4)->text().toStdString(), "1803 г.");

  form.CSpinEdit2->SetValue(2000);
  form.RadioButton2->setChecked(true);  // old style
  form.SpeedButton4Click();
  EXPECT_EQ(form.StringGrid1->item(1, 1)->text().toStdString(), "7 Фв");
  EXPECT_EQ(form.StringGrid1->item(5, 1)->text().toStdString(), "17 Ап");
  EXPECT_EQ(form.StringGrid1->item(10, 1)->text().toStdString(), "16 дн.");

  form.RadioButton1->setChecked(true);
  form.SpeedButton1Click();  // this year
  EXPECT_EQ(form.CSpinEdit2->Value(), 2001);
  EXPECT_EQ(form.StringGrid1->item(0, 1)->text().toStdString(), "2001 г.");
}

TEST_F(MainWindowTest, SaintsPageShowsTheChosenDayWithTheTextMarked) {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  form.Edit1->setText(QStringLiteral("Сщмч. Климента"));  // 23 January and 25 November
  form.BitBtn1->click();
  ASSERT_EQ(form.ListBox1->count(), 2);
  EXPECT_EQ(form.ListBox1->item(1)->text().toStdString(), "8 Декабря (25 Ноября ст.ст.)");
  EXPECT_EQ(form.Label5->text().toStdString(), "Всего:  2 совпадений");

  form.ListBox1->setCurrentRow(1);
  form.ListBox1DblClick();
  const GridDate grid = Grid(form);
  EXPECT_EQ(grid.day, 8);
  EXPECT_EQ(grid.month, 12);
  EXPECT_EQ(grid.year, 2001);
  EXPECT_EQ(form.ComboBox1->currentIndex(), 11);
  EXPECT_EQ(form.PageControl1->currentIndex(), 2);
  EXPECT_FALSE(SearchHighlight);
  EXPECT_NE(ReportText(space).find("\\cf1 \\b Сщмч. Климента\\b0"), std::string::npos);

  // A day picked by hand afterwards is shown plainly.
  form.CCalendar1->SetDay(9);
  form.CCalendar1->SetDay(8);
  EXPECT_EQ(ReportText(space).find("\\cf1 \\b Сщмч. Климента"), std::string::npos);
}

// The field takes any length; "Искать!" ignores a text of 63 characters
// (the list and the count stay) and searches one of 62.
TEST_F(MainWindowTest, SaintsPageIgnoresATextOfSixtyThreeCharacters) {
  Workspace space({7, 1, 2001});
  TForm1 form(&tray);
  form.Edit1->setText(QStringLiteral("Климента"));
  form.BitBtn1->click();
  const int listed = form.ListBox1->count();
  const QString counted = form.Label5->text();
  ASSERT_GT(listed, 0);
  const QString long63 = QString(63, QChar(0x0416));  // Ж
  form.Edit1->setText(long63);
  EXPECT_EQ(form.Edit1->text(), long63);
  form.BitBtn1->click();
  EXPECT_EQ(form.ListBox1->count(), listed);
  EXPECT_EQ(form.Label5->text(), counted);
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "Климента");
  form.Edit1->setText(long63.left(62));
  form.BitBtn1->click();
  EXPECT_EQ(form.ListBox1->count(), 0);
  EXPECT_EQ(form.Label5->text().toStdString(), "Всего:  0 совпадений");
  EXPECT_EQ(HighlightText, std::string(62, '\xC6'));
}

// The button's hint is what the slot holds: an Addition.db line
// "reference=" gives an empty one; without a section it is the designed one.
TEST_F(MainWindowTest, AdditionalInformationHintAsTheSlotHoldsIt) {
  Workspace space({7, 1, 2001});
  std::ofstream(space.program() / "dbase" / "Addition.db", std::ios::binary)
      << "[25.12]\r\ndocs/x.html=\r\n[26.12]\r\ndocs/y.html=Y\r\n";
  TForm1 form(&tray);
  EXPECT_TRUE(form.RunFile1->isEnabled());
  EXPECT_EQ(form.RunFile1->toolTip(), QString());
  EXPECT_TRUE(form.RunFile2->isEnabled());
  EXPECT_EQ(form.RunFile2->toolTip(), QStringLiteral("Y"));
  form.SetAdditionalInfo(ViewKind::Calendar, {true, "", "docs/z.html"});
  EXPECT_EQ(form.SpeedButton3->toolTip(), QString());
  form.CCalendar1->SetDay(20);  // old-style 7 January: no section
  EXPECT_FALSE(form.SpeedButton3->isEnabled());
  EXPECT_EQ(form.SpeedButton3->toolTip().toStdString(), "Дополнительные сведения");
}

}  // namespace
}  // namespace velmar
