#include "reports/forms/saints_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "texts/database.h"
#include "texts/names_db.h"
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

// A menologion and Names.db of the test's own, Windows-1251 with CRLF.
class SaintsNamesTest : public ::testing::Test {
 protected:
  SaintsNamesTest() {
    std::filesystem::create_directories(dir_.path() / "dbase");
    for (int m = 1; m <= 12; ++m) Write(std::string(MonthFileNames[m]), "");
    Write("July.db", "[5]\n3=Обретение мощей прп. Сергия, игумена Радонежского\n"
                     "[8]\n4=Явление Казанской иконы Божией Матери\n");
    Write("September.db", "[25]\n5=Преставление прп. Сергия, игумена Радонежского\n"
                          "[28]\n0=Прпп. Кирилла и Марии, родителей прп. Сергия Радонежского\n");
    Write("Names.db", "[Мужские имена]\nСергий, Сергей=Сергия\nКирилл=Кирилла\n"
                      "[Женские имена]\nМария=Марии\n[Иконы Божией Матери]\nКазанская=Казанской\n");
    Label5.setText("Всего:  0 совпадений");
  }
  void Write(const std::string& name, const std::string& utf8) {
    std::string bytes;
    for (const char c : Utf8ToCp1251(utf8)) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    std::ofstream(dir_.path() / "dbase" / name, std::ios::binary) << bytes;
  }
  void Search(const QString& text) {
    Edit1.setText(text);
    SaintsSearch(&Edit1, &ListBox1, &ComboBox3, &Label5, 2024);
  }
  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  QLineEdit Edit1;
  QListWidget ListBox1;
  QComboBox ComboBox3;
  QLabel Label5;
};

TEST_F(SaintsNamesTest, TheOtherSearchFollowsTheExactOneAndSaysSo) {
  // Nothing exact: the whole list comes from the other search.
  Search("сергей");
  ASSERT_EQ(ListBox1.count(), 3);
  EXPECT_EQ(ListBox1.item(0)->text(), "18 Июля (5 Июля ст.ст.)");  // the date alone
  EXPECT_EQ(ListBox1.item(0)->toolTip(), "Обретение мощей прп. Сергия, игумена Радонежского");
  EXPECT_EQ(Label5.text(), "Всего:  3 совпадений. Найдено без учета падежа");
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "сергей");
  ListBox1.setCurrentRow(1);
  SaintsListHighlight(&ListBox1);
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "Сергия");  // what the day view marks

  // The parents are found exactly; the other days follow a rule that can't
  // be chosen.
  Search("Сергия Радонежского");
  ASSERT_EQ(ListBox1.count(), 4);
  EXPECT_EQ(ListBox1.item(0)->text(), "11 Октября (28 Сентября ст.ст.)");
  EXPECT_EQ(ListBox1.item(1)->text(), "Найдено без учета падежа:");
  EXPECT_EQ(ListBox1.item(1)->flags(), Qt::NoItemFlags);
  EXPECT_EQ(ComboBox3.itemText(1), "0");
  EXPECT_EQ(ListBox1.item(2)->text(), "18 Июля (5 Июля ст.ст.)");
  EXPECT_EQ(ComboBox3.itemText(2), "7");
  EXPECT_EQ(Label5.text(), "Всего:  1 совпадений");  // the exact count, as always
  ListBox1.setCurrentRow(1);
  EXPECT_FALSE(SaintsListChoice(&ListBox1, &ComboBox3).has_value());
  ListBox1.setCurrentRow(2);
  EXPECT_EQ(SaintsListChoice(&ListBox1, &ComboBox3), (std::pair{18, 7}));
  SaintsListHighlight(&ListBox1);
  EXPECT_EQ(Cp1251ToUtf8(HighlightText), "Сергия, игумена Радонежского");

  // Without Names.db the page is as it always was.
  std::filesystem::remove(dir_.path() / "dbase" / "Names.db");
  Search("Сергия Радонежского");
  EXPECT_EQ(ListBox1.count(), 1);
  Search("сергей");
  EXPECT_EQ(ListBox1.count(), 0);
  EXPECT_EQ(Label5.text(), "Всего:  0 совпадений");
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(SaintsNamesTest, ListModeListsTheNamesAndTheirNamedays) {
  QCheckBox CheckBox1;
  QComboBox ComboBox2;
  QRadioButton RadioButton3, RadioButton4, RadioButton5;
  QWidget row;
  QDateEdit birthday(&row);
  QLabel nameday(&row);
  RadioButton3.setChecked(true);
  CheckBox1.setEnabled(false);
  SaintsNameList list({&CheckBox1, &ComboBox2, &RadioButton3, &RadioButton4, &RadioButton5, &ListBox1,
                       &ComboBox3, &Label5, &birthday, &nameday, &row},
                      [] { return 2024; });
  EXPECT_TRUE(CheckBox1.isEnabled());  // Names.db is there
  CheckBox1.setChecked(true);
  list.ListModeChanged(true);
  ASSERT_EQ(ComboBox2.count(), 2);
  EXPECT_EQ(ComboBox2.itemText(0), "Сергий");
  EXPECT_EQ(ComboBox2.currentIndex(), -1);

  birthday.setDate(QDate(2024, 7, 19));
  list.ShowName(0);
  ASSERT_EQ(ListBox1.count(), 3);  // as the search lists them: the parents' day too
  EXPECT_EQ(nameday.text(), "Именины: 8 Октября 2024 г. (25 Сентября ст.ст.)");
  EXPECT_EQ(ListBox1.currentRow(), 1);
  birthday.setDate(QDate(2024, 10, 9));  // not the parents' day: the next year's
  EXPECT_EQ(nameday.text(), "Именины: 18 Июля 2025 г. (5 Июля ст.ст.)");

  // A name typed by another of its spellings, and Enter.
  ListBox1.clear();
  ASSERT_NE(ComboBox2.lineEdit(), nullptr);
  ComboBox2.lineEdit()->setText("сергей");
  QTest::keyClick(ComboBox2.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(ComboBox2.currentIndex(), 0);
  EXPECT_EQ(ListBox1.count(), 3);

  RadioButton4.setChecked(true);
  ASSERT_EQ(ComboBox2.count(), 1);
  EXPECT_EQ(ComboBox2.itemText(0), "Мария");
  RadioButton5.setChecked(true);
  EXPECT_EQ(ComboBox2.itemText(0), "Казанская");
  EXPECT_FALSE(birthday.isEnabled());
  list.ShowName(0);
  EXPECT_EQ(ListBox1.count(), 1);
  EXPECT_TRUE(nameday.text().isEmpty());
  list.ShowName(5);  // no such item: nothing changes
  EXPECT_EQ(ListBox1.count(), 1);

  std::filesystem::remove(dir_.path() / "dbase" / "Names.db");
  QCheckBox off;
  off.setEnabled(false);
  SaintsNameList none({&off, &ComboBox2, &RadioButton3, &RadioButton4, &RadioButton5, &ListBox1, &ComboBox3,
                       &Label5, &birthday, &nameday, &row},
                      [] { return 2024; });
  EXPECT_FALSE(off.isEnabled());
  EXPECT_TRUE(messages_.texts.empty());
}

}  // namespace
}  // namespace velmar
