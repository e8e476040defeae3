#include "reports/forms/saints_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "texts/database.h"
#include "texts/day_entries.h"
#include "ui_test_support.h"

namespace velmar {
namespace {

class SaintsPageTest : public ::testing::Test {
 protected:
  SaintsPageTest() : dir_(testing::Fixture("grammar")) {
    for (int m = 2; m <= 12; ++m)
      std::ofstream(dir_.path() / "dbase" / std::string(MonthFileNames[m]));
    Label5.setText("Всего:  0 совпадений");
  }
  void Search(const QString& text, int year) {
    Edit1.setText(text);
    SaintsSearch(&Edit1, &ListBox1, &ComboBox3, &Label5, year);
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  QLineEdit Edit1;
  QListWidget ListBox1;
  QComboBox ComboBox3;
  QLabel Label5;
};

TEST_F(SaintsPageTest, ListsDaysWithTheirMonths) {
  Search("Авраам", 2000);
  ASSERT_EQ(ListBox1.count(), 1);
  EXPECT_EQ(ListBox1.item(0)->text(), "25 Января (12 Января ст.ст.)");
  ASSERT_EQ(ComboBox3.count(), 1);
  EXPECT_EQ(ComboBox3.itemText(0), "1");
  EXPECT_EQ(Label5.text(), "Всего:  2 совпадений");  // always this ending
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "Авраам");

  EXPECT_FALSE(SaintsListChoice(&ListBox1, &ComboBox3).has_value());  // nothing selected
  ListBox1.setCurrentRow(0);
  EXPECT_EQ(SaintsListChoice(&ListBox1, &ComboBox3), (std::pair{25, 1}));

  // One character: ignored, the page stays as it was.
  Search("А", 2000);
  EXPECT_EQ(ListBox1.count(), 1);
  EXPECT_EQ(Label5.text(), "Всего:  2 совпадений");
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "Авраам");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(SaintsPageTest, ChoiceReadsOneAndTwoDigitDays) {
  ListBox1.addItems({"7 Января (25 Декабря ст.ст.)", "19 Декабря (6 Декабря ст.ст.)"});
  ComboBox3.addItems({"1", "12"});
  ListBox1.setCurrentRow(0);
  EXPECT_EQ(SaintsListChoice(&ListBox1, &ComboBox3), (std::pair{7, 1}));
  ListBox1.setCurrentRow(1);
  EXPECT_EQ(SaintsListChoice(&ListBox1, &ComboBox3), (std::pair{19, 12}));
}

}  // namespace
}  // namespace velmar
