#include "reports/forms/easter_dlg.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "reports/forms/report_viewer.h"
#include "ui_test_support.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::FixedToday;
using testing::ModalDriver;

TEST(PaschalionDialog, LimitsFollowTheStyle) {
  FixedToday today({1, 9, 2024});
  TEasterDlg dlg;
  EXPECT_EQ(dlg.CSpinEdit1->value(), 2024);
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2032);
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 2024);
  EXPECT_FALSE(dlg.OldStyle());

  dlg.CSpinEdit1->setValue(2040);  // the last year follows
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2040);
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 2040);

  dlg.RadioButton2->click();  // old style: wider limits, values kept
  EXPECT_TRUE(dlg.OldStyle());
  EXPECT_EQ(dlg.CSpinEdit1->minimum(), 325);
  EXPECT_EQ(dlg.CSpinEdit1->maximum(), 2325);
  EXPECT_EQ(dlg.CSpinEdit2->maximum(), 2325);
  EXPECT_EQ(dlg.CSpinEdit1->value(), 2040);
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2040);
  dlg.CSpinEdit1->setValue(500);
  dlg.CSpinEdit2->setValue(2300);
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 500);

  dlg.RadioButton1->click();  // back to the new style: both years clamped
  EXPECT_EQ(dlg.CSpinEdit1->value(), 1800);
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2100);
  EXPECT_EQ(dlg.CSpinEdit2->minimum(), 1800);
  EXPECT_EQ(dlg.CSpinEdit2->maximum(), 2100);
}

TEST(PaschalionDialog, LastYearStopsAt2100) {
  FixedToday today({1, 1, 2095});
  TEasterDlg dlg;
  EXPECT_EQ(dlg.CSpinEdit1->value(), 2095);
  EXPECT_EQ(dlg.CSpinEdit2->value(), 2100);
}

class PaschalionCommandTest : public ::testing::Test {
 protected:
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  FixedToday today_{{1, 9, 2024}};
  TEasterDlg dlg_;
  TForm2 viewer_;
};

TEST_F(PaschalionCommandTest, TypedYearsAreLimitedAndWrittenBack) {
  dlg_.RadioButton2->click();
  dlg_.CSpinEdit1->setValue(325);
  dlg_.CSpinEdit2->setValue(330);
  {
    ModalDriver driver(dlg_, {[&] { dlg_.OKBtn->click(); }});
    RunPaschalionCommand(dlg_, viewer_);
  }
  EXPECT_NE(testing::ReportText().find(
                "\\b1   Православная Пасхалия\\b0  (326 - 330 гг.) по Юлианскому календарю (ст.ст.)\\par"),
            std::string::npos);
  EXPECT_EQ(dlg_.CSpinEdit1->value(), 326);
  EXPECT_TRUE(viewer_.isVisible());
  EXPECT_FALSE(viewer_.RichEdit1->WordWrap());

  // New style, a first year typed below 1800.
  dlg_.RadioButton1->click();
  dlg_.CSpinEdit2->setValue(1803);
  {
    ModalDriver driver(dlg_, {[&] {
                         testing::TypeInto(dlg_.CSpinEdit1, "1700");
                         dlg_.OKBtn->click();
                       }});
    RunPaschalionCommand(dlg_, viewer_);
  }
  EXPECT_NE(testing::ReportText().find(
                "(1800 - 1803 гг.) по Григорианскому календарю (н.ст.)\\par"),
            std::string::npos);
  EXPECT_EQ(dlg_.CSpinEdit1->value(), 1800);
  EXPECT_EQ(dlg_.CSpinEdit2->value(), 1803);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(PaschalionCommandTest, ALastYearTypedBeforeTheFirstIsSaid) {
  dlg_.CSpinEdit1->setValue(2025);
  dlg_.CSpinEdit2->setValue(2030);
  {
    ModalDriver driver(dlg_, {[&] {
                         testing::TypeInto(dlg_.CSpinEdit2, "2020");
                         dlg_.OKBtn->click();  // the field puts it right as the dialog goes
                       }});
    RunPaschalionCommand(dlg_, viewer_);
  }
  // The one year of the report, as before, and a word on why.
  EXPECT_NE(testing::ReportText().find("(2025 - 2025 гг.)"), std::string::npos);
  EXPECT_EQ(dlg_.CSpinEdit2->value(), 2025);
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(Cp1251ToUtf8(messages_.texts[0]),
            "Неверно задан период: последний год (2020) раньше первого (2025). "
            "Пасхалия составлена только на 2025 год.");
  // Equal years are a period of one year: nothing to say.
  {
    ModalDriver driver(dlg_, {[&] { dlg_.OKBtn->click(); }});
    RunPaschalionCommand(dlg_, viewer_);
  }
  EXPECT_EQ(messages_.texts.size(), 1u);
}

TEST_F(PaschalionCommandTest, CloseBoxCancels) {
  ModalDriver driver(dlg_, {[&] { dlg_.close(); }});
  RunPaschalionCommand(dlg_, viewer_);
  EXPECT_EQ(driver.StepsRun(), 1u);
  EXPECT_EQ(dlg_.Outcome(), DialogOutcome::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(ReportFilePath()));
  EXPECT_FALSE(viewer_.isVisible());
}

}  // namespace
}  // namespace velmar
