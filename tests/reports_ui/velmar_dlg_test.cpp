#include "reports/forms/velmar_dlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "reports/forms/report_viewer.h"
#include "ui_test_support.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::FixedToday;
using testing::ModalDriver;

// A choice made by the user: the list reports it, unlike a change from code.
void Pick(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

Date Start(const TVelmarDlg& d) {
  return {static_cast<u16>(d.ComboBox2->currentIndex() + 1),
          static_cast<u16>(d.ComboBox3->currentIndex() + 1), static_cast<u16>(d.CSpinEdit1->value())};
}
Date End(const TVelmarDlg& d) {
  return {static_cast<u16>(d.ComboBox4->currentIndex() + 1),
          static_cast<u16>(d.ComboBox5->currentIndex() + 1), static_cast<u16>(d.CSpinEdit2->value())};
}

std::string Text(const Date& d) {
  return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
}

TEST(PeriodDialog, StartsWithTodayInBothDates) {
  FixedToday today({29, 2, 2004});
  TVelmarDlg dlg;
  EXPECT_EQ(dlg.ComboBox1->currentText(), "Текущую неделю");
  EXPECT_FALSE(dlg.GroupBox1->isEnabled());
  EXPECT_EQ(Text(Start(dlg)), "29.2.2004");
  EXPECT_EQ(Text(End(dlg)), "29.2.2004");
  EXPECT_EQ(dlg.ComboBox2->count(), 29);
  EXPECT_EQ(dlg.ComboBox4->count(), 29);
  EXPECT_EQ(dlg.ComboBox3->currentText(), " Февраль");
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 2004);
}

TEST(PeriodDialog, LookFollowsTheKind) {
  FixedToday today({10, 3, 2005});
  TVelmarDlg dlg;
  struct Row {
    int kind;
    const char* label1;
    bool enabled, secondRow, monthList;
  };
  const Row rows[] = {{2, "Установите месяц:", true, false, true},
                      {3, "Установите год:", true, false, false},
                      {4, "Начальная дата:", true, true, true},
                      {1, "Начальная дата:", false, true, true},
                      {0, "Начальная дата:", false, true, true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.kind);
    Pick(dlg.ComboBox1, r.kind);
    EXPECT_EQ(dlg.Label1->text(), r.label1);
    EXPECT_EQ(dlg.GroupBox1->isEnabled(), r.enabled);
    EXPECT_EQ(dlg.Label2->isEnabled(), r.kind == 4);
    for (QWidget* w : {static_cast<QWidget*>(dlg.ComboBox2), static_cast<QWidget*>(dlg.ComboBox4),
                       static_cast<QWidget*>(dlg.ComboBox5), static_cast<QWidget*>(dlg.Label2),
                       static_cast<QWidget*>(dlg.CSpinEdit2)})
      EXPECT_EQ(w->isVisibleTo(&dlg), r.secondRow) << w->metaObject()->className();
    EXPECT_EQ(dlg.ComboBox3->isVisibleTo(&dlg), r.monthList);
    EXPECT_TRUE(dlg.CSpinEdit1->isVisibleTo(&dlg));
  }
}

TEST(PeriodDialog, StartMonthFebruaryPullsTheEndOutOfJanuary) {
  const std::pair<int, int> years[] = {{2004, 29}, {2000, 29}, {1900, 28}, {2100, 28}, {2001, 28}};
  for (const auto& [year, february] : years) {
    SCOPED_TRACE(year);
    FixedToday today({31, 1, static_cast<u16>(year)});
    TVelmarDlg dlg;
    Pick(dlg.ComboBox1, 4);
    Pick(dlg.ComboBox3, 1);
    const std::string last = std::to_string(february) + ".2." + std::to_string(year);
    EXPECT_EQ(dlg.ComboBox4->count(), february);
    EXPECT_EQ(Text(End(dlg)), last);
    EXPECT_EQ(dlg.ComboBox2->count(), february);
    EXPECT_EQ(Text(Start(dlg)), last);
  }
}

TEST(PeriodDialog, EndDayNeverBeforeStartDayInOneMonth) {
  FixedToday today({10, 3, 2005});
  TVelmarDlg dlg;
  Pick(dlg.ComboBox1, 4);
  Pick(dlg.ComboBox2, 19);  // start 20 March: the end (10 March) follows
  EXPECT_EQ(Text(End(dlg)), "20.3.2005");
  Pick(dlg.ComboBox4, 4);  // end 5 March: taken back to the start day
  EXPECT_EQ(Text(End(dlg)), "20.3.2005");
  Pick(dlg.ComboBox4, 24);
  EXPECT_EQ(Text(End(dlg)), "25.3.2005");
  Pick(dlg.ComboBox5, 3);  // April: any day will do
  Pick(dlg.ComboBox4, 4);
  EXPECT_EQ(Text(End(dlg)), "5.4.2005");
  Pick(dlg.ComboBox5, 1);  // February, before the start month: back to March
  EXPECT_EQ(dlg.ComboBox5->currentIndex(), 2);
  EXPECT_EQ(Text(End(dlg)), "20.3.2005");
}

TEST(PeriodDialog, StartYearRaisesTheEndYear) {
  FixedToday today({15, 6, 2008});
  TVelmarDlg dlg;
  Pick(dlg.ComboBox1, 4);
  dlg.CSpinEdit2->setValue(2010);
  Pick(dlg.ComboBox5, 2);
  Pick(dlg.ComboBox4, 4);
  ASSERT_EQ(Text(End(dlg)), "5.3.2010");
  // Into the end year: March lies before June, 5 before 15.
  dlg.CSpinEdit1->setValue(2010);
  EXPECT_EQ(Text(End(dlg)), "15.6.2010");
  // Past the end year: it is raised, and may not go below the start.
  dlg.CSpinEdit1->setValue(2012);
  EXPECT_EQ(Text(End(dlg)), "15.6.2012");
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 2012);
  dlg.CSpinEdit2->setValue(2011);
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2012);
  dlg.CSpinEdit1->setValue(2009);
  EXPECT_EQ(Text(End(dlg)), "15.6.2012");
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 2009);
}

TEST(PeriodDialog, FebruaryFollowsTheLeapYear) {
  FixedToday today({29, 2, 2004});
  TVelmarDlg dlg;
  Pick(dlg.ComboBox1, 4);
  dlg.CSpinEdit1->setValue(2005);  // the end year follows
  EXPECT_EQ(Text(Start(dlg)), "28.2.2005");
  EXPECT_EQ(Text(End(dlg)), "28.2.2005");
  dlg.CSpinEdit2->setValue(2008);
  EXPECT_EQ(dlg.ComboBox4->count(), 29);
  EXPECT_EQ(Text(End(dlg)), "28.2.2008");
  dlg.CSpinEdit1->setValue(2008);
  EXPECT_EQ(dlg.ComboBox2->count(), 29);
  Pick(dlg.ComboBox2, 28);
  EXPECT_EQ(Text(End(dlg)), "29.2.2008");
  dlg.CSpinEdit1->setValue(2100);
  EXPECT_EQ(Text(Start(dlg)), "28.2.2100");
  EXPECT_EQ(Text(End(dlg)), "28.2.2100");
}

class PeriodCommandTest : public ::testing::Test {
 protected:
  PeriodCommandTest() : dir_(std::filesystem::path(VELMAR_SOURCE_DIR) / "data") {}

  // Runs the command; the user sets the dialog up with prepare and confirms
  // with "&Ок".
  void RunConfirmed(const CivilDate& date, const std::function<void(TVelmarDlg&)>& prepare) {
    FixedToday today(date);
    TVelmarDlg dlg;
    ModalDriver driver(dlg, {[&] {
                         prepare(dlg);
                         dlg.OKBtn->click();
                       }});
    RunPeriodCalendarCommand(dlg, viewer_);
    EXPECT_EQ(driver.StepsRun(), 1u);
  }

  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  TForm2 viewer_;
};

TEST_F(PeriodCommandTest, EachKindGivesItsPeriod) {
  struct Row {
    CivilDate today;
    std::function<void(TVelmarDlg&)> prepare;
    const char* title;
  };
  const Row rows[] = {
      // Monday: the week crosses the year end.
      {{30, 12, 2002}, [](TVelmarDlg&) {}, "с 29 Декабря 2002 г. по 4 Января 2003 г."},
      {{30, 12, 2002}, [](TVelmarDlg& d) { Pick(d.ComboBox1, 1); },
       "с 5 Января 2003 г. по 11 Января 2003 г."},
      // A Sunday starts its own week; from a Saturday the next week is tomorrow.
      {{7, 1, 2001}, [](TVelmarDlg&) {}, "с 7 Января 2001 г. по 13 Января 2001 г."},
      {{13, 1, 2001}, [](TVelmarDlg& d) { Pick(d.ComboBox1, 1); },
       "с 14 Января 2001 г. по 20 Января 2001 г."},
      {{10, 2, 2100}, [](TVelmarDlg& d) { Pick(d.ComboBox1, 2); },
       "с 1 Февраля 2100 г. по 28 Февраля 2100 г."},
      {{10, 2, 2004}, [](TVelmarDlg& d) { Pick(d.ComboBox1, 2); },
       "с 1 Февраля 2004 г. по 29 Февраля 2004 г."},
      {{1, 5, 2100}, [](TVelmarDlg& d) { Pick(d.ComboBox1, 3); },
       "с 1 Января 2100 г. по 31 Декабря 2100 г."},
      {{10, 3, 2004},
       [](TVelmarDlg& d) {
         Pick(d.ComboBox1, 4);
         Pick(d.ComboBox4, 11);
       },
       "с 10 Марта 2004 г. по 12 Марта 2004 г."},
      // A year typed below the limits is taken as 1800.
      {{1, 5, 2000},
       [](TVelmarDlg& d) {
         Pick(d.ComboBox1, 3);
         testing::TypeInto(d.CSpinEdit1, "1700");
       },
       "с 1 Января 1800 г. по 31 Декабря 1800 г."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.title);
    std::filesystem::remove(ReportFilePath());
    RunConfirmed(r.today, r.prepare);
    EXPECT_NE(testing::ReportText().find(std::string("\n\\b1   Днесловник\\b0  ") + r.title + "\\par"),
              std::string::npos);
    EXPECT_TRUE(viewer_.isVisible());
    EXPECT_TRUE(viewer_.RichEdit1->WordWrap());
  }
}

TEST_F(PeriodCommandTest, EndYearTypedBelowTheStartIsRaisedToIt) {
  RunConfirmed({10, 3, 2005}, [](TVelmarDlg& d) {
    Pick(d.ComboBox1, 4);
    d.CSpinEdit2->setValue(2007);
    Pick(d.ComboBox5, 1);
    Pick(d.ComboBox4, 0);
    d.CSpinEdit2->setFocus();
    testing::TypeInto(d.CSpinEdit2, "2003");
  });
  // 1 February, now of 2005, moves to the start month and the start day.
  EXPECT_NE(testing::ReportText().find("с 10 Марта 2005 г. по 10 Марта 2005 г.\\par"),
            std::string::npos);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(PeriodCommandTest, CloseBoxAndCancelWriteNothing) {
  FixedToday today({10, 3, 2005});
  TVelmarDlg dlg;
  for (const auto& close : std::vector<std::function<void()>>{[&] { dlg.close(); },
                                                             [&] { dlg.CancelBtn->click(); }}) {
    ModalDriver driver(dlg, {close});
    RunPeriodCalendarCommand(dlg, viewer_);
    EXPECT_EQ(driver.StepsRun(), 1u);
    EXPECT_EQ(dlg.Outcome(), DialogOutcome::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(ReportFilePath()));
    EXPECT_FALSE(viewer_.isVisible());
  }
  // The next use starts afresh: "&Ок" writes the report.
  ModalDriver driver(dlg, {[&] { dlg.OKBtn->click(); }});
  RunPeriodCalendarCommand(dlg, viewer_);
  EXPECT_EQ(dlg.Outcome(), DialogOutcome::Reset);
  EXPECT_TRUE(std::filesystem::exists(ReportFilePath()));
  EXPECT_TRUE(viewer_.isVisible());
  EXPECT_TRUE(messages_.texts.empty());
}

}  // namespace
}  // namespace velmar
