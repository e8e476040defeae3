#include "reports/forms/search_dlg.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "reports/forms/report_viewer.h"
#include "texts/database.h"
#include "ui_test_support.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::ModalDriver;

TEST(SearchDialog, LengthIsCountedInWindows1251Characters) {
  TSearchDlg dlg;
  struct Row {
    QString text;
    bool accepted;
  };
  const Row rows[] = {{"", false},
                      {"А", false},
                      {"Ав", true},
                      {QString(62, QChar(u'ж')), true},  // 124 bytes of UTF-8
                      {QString(63, QChar(u'ж')), false},
                      {QString(62, 'x'), true},
                      {QString(63, 'x'), false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.text.size());
    dlg.SetOutcome(DialogOutcome::Reset);
    dlg.Edit1->setText(r.text);
    dlg.OKBtn->click();
    EXPECT_EQ(dlg.Outcome(), r.accepted ? DialogOutcome::Reset : DialogOutcome::Rejected);
  }
}

class SearchCommandTest : public ::testing::Test {
 protected:
  SearchCommandTest() : dir_(testing::Fixture("grammar")) {
    // The fixture has only January; the other months are empty files.
    for (int m = 2; m <= 12; ++m)
      std::ofstream(dir_.path() / "dbase" / std::string(MonthFileNames[m]));
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  TSearchDlg dlg_;
  TForm2 viewer_;
};

TEST_F(SearchCommandTest, RejectedTextAsksAgainWithTheHint) {
  const QString hint = QStringLiteral(
      "Слишком длинная либо слишком короткая строка поиска. Поиск может осуществляться по "
      "строке от двух до шестидесяти двух символов.");
  {
    ModalDriver driver(dlg_, {[&] {
                                EXPECT_EQ(dlg_.DialogHeight(), TSearchDlg::kCompactHeight);
                                EXPECT_FALSE(dlg_.Bevel1->isVisible());
                                EXPECT_EQ(dlg_.Label2->text(), "");
                                dlg_.Edit1->setText("А");
                                dlg_.OKBtn->click();
                              },
                              [&] {
                                EXPECT_EQ(dlg_.DialogHeight(), TSearchDlg::kExpandedHeight);
                                EXPECT_TRUE(dlg_.Bevel1->isVisible());
                                EXPECT_EQ(dlg_.Label2->text(), hint);
                                dlg_.Edit1->setText("Авраам");
                                dlg_.OKBtn->click();
                              }});
    RunSearchCommand(dlg_, viewer_, 2000);
    EXPECT_EQ(driver.StepsRun(), 2u);
    EXPECT_EQ(driver.ExtraShows(), 0u);
  }
  const std::string report = testing::ReportText();
  EXPECT_NE(report.find("Поиск в святцах по строке \"Авраам\""), std::string::npos);
  EXPECT_NE(report.find("\\b 25 Января (12 Января ст.ст.)\\b0"), std::string::npos);
  EXPECT_TRUE(viewer_.isVisible());
  EXPECT_TRUE(viewer_.RichEdit1->WordWrap());

  // The next use starts small with an empty hint; the close box cancels.
  std::filesystem::remove(ReportFilePath());
  ModalDriver driver(dlg_, {[&] {
                              EXPECT_EQ(dlg_.DialogHeight(), TSearchDlg::kCompactHeight);
                              EXPECT_EQ(dlg_.Label2->text(), "");
                              EXPECT_EQ(dlg_.Edit1->text(), "Авраам");
                              dlg_.close();
                            }});
  RunSearchCommand(dlg_, viewer_, 2000);
  EXPECT_EQ(driver.StepsRun(), 1u);
  EXPECT_EQ(dlg_.Outcome(), DialogOutcome::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(ReportFilePath()));
  EXPECT_TRUE(messages_.texts.empty());
}

}  // namespace
}  // namespace velmar
