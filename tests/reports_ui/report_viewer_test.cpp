#include "reports/forms/report_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QStatusBar>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "platform/rich_edit.h"
#include "ui_test_support.h"

namespace velmar {
namespace {

using testing::ReadFileBytes;

void WriteReport(const std::string& utf8Body) {
  std::ofstream out(ReportFilePath(), std::ios::binary | std::ios::trunc);
  out << Utf8ToCp1251("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\r\n"
                      "\\f0 " + utf8Body + "\\par\r\n}");
}

class ReportViewerTest : public ::testing::Test {
 protected:
  ReportViewerTest() { WriteReport("Днесловник на неделю"); }
  std::filesystem::path Path(const char* name) const { return dir_.path() / name; }
  static QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  TForm2 viewer_{[] { return QStringLiteral("Понедельник, 30 Декабря 2002 г."); }};
};

TEST_F(ReportViewerTest, WordWrapLastsUntilTheWindowCloses) {
  viewer_.ShowReport(false);  // a Paschalion table
  EXPECT_TRUE(viewer_.isVisible());
  EXPECT_FALSE(viewer_.RichEdit1->WordWrap());
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().contains("Днесловник на неделю"));
  viewer_.N7->trigger();  // "&Закрыть"
  EXPECT_FALSE(viewer_.isVisible());
  EXPECT_TRUE(viewer_.RichEdit1->WordWrap());
  viewer_.ShowReport(true);  // a search report
  EXPECT_TRUE(viewer_.RichEdit1->WordWrap());
  // The close box closes the same way.
  viewer_.ShowReport(false);
  viewer_.close();
  EXPECT_TRUE(viewer_.RichEdit1->WordWrap());
}

TEST_F(ReportViewerTest, EditingSwitchedOnStaysOnForTheNextReport) {
  viewer_.ShowReport(true);
  EXPECT_TRUE(viewer_.RichEdit1->isReadOnly());
  EXPECT_FALSE(viewer_.N14->isChecked());
  viewer_.N14->trigger();
  EXPECT_TRUE(viewer_.N14->isChecked());
  EXPECT_FALSE(viewer_.RichEdit1->isReadOnly());
  viewer_.close();
  WriteReport("Православная Пасхалия");
  viewer_.ShowReport(false);
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().contains("Православная Пасхалия"));
  EXPECT_TRUE(viewer_.N14->isChecked());
  EXPECT_FALSE(viewer_.RichEdit1->isReadOnly());
  viewer_.N14->trigger();
  EXPECT_FALSE(viewer_.N14->isChecked());
  EXPECT_TRUE(viewer_.RichEdit1->isReadOnly());
}

TEST_F(ReportViewerTest, SaveWritesTheReportAsRtf) {
  viewer_.ShowReport(true);
  const std::string report = ReadFileBytes(ReportFilePath());
  // A typed name without extension gets ".rtf"; the bytes are the report's.
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("calendar"))));
  EXPECT_EQ(ReadFileBytes(Path("calendar.rtf")), report);
  EXPECT_FALSE(std::filesystem::exists(Path("calendar")));
  // An existing file is replaced without asking.
  WriteReport("Поиск в святцах");
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("calendar.rtf"))));
  EXPECT_EQ(ReadFileBytes(Path("calendar.rtf")), ReadFileBytes(ReportFilePath()));
  EXPECT_TRUE(messages_.texts.empty());
  // A folder that isn't there: a message, and nothing written.
  EXPECT_FALSE(viewer_.SaveReportAs(Q(Path("missing/calendar.rtf"))));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_NE(messages_.texts[0].find("Cannot save file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("missing")));
}

TEST(ReportViewerSave, DefaultExtension) {
  const std::pair<const char*, const char*> rows[] = {
      {"/home/u/calendar", "/home/u/calendar.rtf"},
      {"/home/u/calendar.", "/home/u/calendar.rtf"},
      {"/home/u/calendar.rtf", "/home/u/calendar.rtf"},
      {"/home/u/calendar.txt", "/home/u/calendar.txt"},
      {"/home/u.d/Календарь", "/home/u.d/Календарь.rtf"},
  };
  for (const auto& [typed, saved] : rows) EXPECT_EQ(WithDefaultRtfSuffix(typed), saved) << typed;
}

TEST_F(ReportViewerTest, MenusCopyAndShowHints) {
  viewer_.ShowReport(true);
  viewer_.N11->trigger();  // Ctrl+A
  viewer_.N12->trigger();  // Ctrl+C
  EXPECT_TRUE(QApplication::clipboard()->text().contains("Днесловник на неделю"));

  const std::pair<QAction*, const char*> hints[] = {
      {viewer_.N8, "Сохранить текст как ..."},
      {viewer_.N9, "Напечатать текст на принтере"},
      {viewer_.N7, "Закрыть это окно и вернуться к Календарю"},
      {viewer_.N11, "Выделить весь текст"},
      {viewer_.N12, "Копировать выделенный фрагмент в буфер обмена"},
      {viewer_.N14, "Включить/отключить возможность вносить исправления в текст"}};
  for (const auto& [item, hint] : hints) {
    item->showStatusText(viewer_.RichEdit1);  // what hovering over the item does
    EXPECT_EQ(viewer_.StatusBar1->currentMessage(), hint);
  }
  EXPECT_EQ(viewer_.PrintJobTitle(), "Понедельник, 30 Декабря 2002 г.");
}

}  // namespace
}  // namespace velmar
