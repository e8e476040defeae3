#include "reports/forms/report_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QProgressBar>
#include <QSignalSpy>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "platform/messages.h"
#include "reports/forms/find_bar.h"
#include "tests/texts/rtf_test_documents.h"
#include "tests/widgets/event_loop.h"
#include "ui_test_support.h"
#include "widgets/rich_edit.h"

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

// Big reports: the viewer shows the top and loads the rest while shown.

// Some 14 MB, as the report writer leaves it: a file of its own.
void WriteBigReport() {
  static const std::string report = test_rtf::LongCalendar(60000);
  std::remove(ReportFilePath().c_str());
  std::ofstream(ReportFilePath(), std::ios::binary) << report;
}

using testing::ProcessUntil;

TEST_F(ReportViewerTest, BigReportShowsItsTopAtOnceAndTheProgressInTheStatusBar) {
  WriteBigReport();
  viewer_.ShowReport(true);
  EXPECT_TRUE(viewer_.isVisible());
  EXPECT_TRUE(viewer_.RichEdit1->IsLoading());
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().startsWith(QStringLiteral("  Днесловник\n")));
  EXPECT_TRUE(viewer_.ProgressBar1->isVisible());
  EXPECT_LT(viewer_.ProgressBar1->value(), 100);
  EXPECT_TRUE(viewer_.ProgressBar1->text().startsWith(QStringLiteral("Загрузка: ")));
  // Menu hints still show beside it.
  viewer_.N9->showStatusText(viewer_.RichEdit1);
  EXPECT_EQ(viewer_.StatusBar1->currentMessage(), QStringLiteral("Напечатать текст на принтере"));

  int last = viewer_.ProgressBar1->value();
  ASSERT_TRUE(ProcessUntil([&] {
    EXPECT_GE(viewer_.ProgressBar1->value(), last);
    last = viewer_.ProgressBar1->value();
    return !viewer_.RichEdit1->IsLoading();
  }));
  EXPECT_FALSE(viewer_.ProgressBar1->isVisible());
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ReportViewerTest, CtrlFFindsATextAndF3TheNext) {
  WriteReport("Днесловник на неделю\\par Неделя о мытаре\\par Конец");
  viewer_.ShowReport(true);
  viewer_.activateWindow();
  EXPECT_FALSE(viewer_.FindBar1->isVisible());
  viewer_.NFind->trigger();
  ASSERT_TRUE(viewer_.FindBar1->isVisible());
  viewer_.FindBar1->Field->setText(QStringLiteral("недел"));  // typed
  QTest::keyClick(viewer_.FindBar1->Field, Qt::Key_Return);
  QTextCursor c = viewer_.RichEdit1->textCursor();
  EXPECT_EQ(c.selectedText(), QStringLiteral("недел"));
  EXPECT_EQ(c.block().text(), QStringLiteral("Днесловник на неделю"));
  viewer_.NFindNext->trigger();  // F3: the next, whatever the case
  c = viewer_.RichEdit1->textCursor();
  EXPECT_EQ(c.selectedText(), QStringLiteral("Недел"));
  EXPECT_TRUE(viewer_.FindBar1->Outcome->text().isEmpty());
  viewer_.NFindNext->trigger();  // round the end
  EXPECT_EQ(viewer_.RichEdit1->textCursor().block().text(), QStringLiteral("Днесловник на неделю"));
  EXPECT_EQ(viewer_.FindBar1->Outcome->text(), QStringLiteral("Поиск продолжен с начала"));
  viewer_.NFindPrevious->trigger();  // Shift+F3: back round the start
  EXPECT_EQ(viewer_.RichEdit1->textCursor().selectedText(), QStringLiteral("Недел"));
  viewer_.FindBar1->Field->setText(QStringLiteral("нет такого"));
  viewer_.NFindNext->trigger();
  EXPECT_EQ(viewer_.FindBar1->Outcome->text(), QStringLiteral("Не найдено"));
  EXPECT_EQ(viewer_.RichEdit1->textCursor().selectedText(), QStringLiteral("Недел"));  // left where it was
  QTest::keyClick(viewer_.FindBar1->Field, Qt::Key_Escape);
  EXPECT_FALSE(viewer_.FindBar1->isVisible());
}

TEST_F(ReportViewerTest, FindingGoesThroughAWholeBigReport) {
  WriteBigReport();
  viewer_.ShowReport(true);
  ASSERT_TRUE(ProcessUntil([&] { return !viewer_.RichEdit1->IsLoading(); }));
  ASSERT_FALSE(viewer_.RichEdit1->HoldsWholeDocument());
  RichEdit& text = *viewer_.RichEdit1;
  EXPECT_EQ(text.Find(QStringLiteral("День 59999")), RichEdit::FindResult::Found);  // far past the window
  EXPECT_EQ(text.textCursor().selectedText(), QStringLiteral("День 59999"));
  EXPECT_EQ(text.textCursor().block().text(), QStringLiteral("  День 59999"));
  EXPECT_EQ(text.Find(QStringLiteral("День 12")), RichEdit::FindResult::Wrapped);
  EXPECT_EQ(text.textCursor().block().text(), QStringLiteral("  День 12"));
  EXPECT_EQ(text.Find(QStringLiteral("запись 59998"), true), RichEdit::FindResult::Wrapped);  // back round the start
  EXPECT_EQ(text.textCursor().block().text(), QStringLiteral(" + Запись 59998"));
  EXPECT_EQ(text.Find(QStringLiteral("Запись 30000"), true), RichEdit::FindResult::Found);
  EXPECT_EQ(text.textCursor().selectedText(), QStringLiteral("Запись 30000"));
  EXPECT_EQ(text.Find(QStringLiteral("нигде нет")), RichEdit::FindResult::NotFound);
  EXPECT_EQ(text.textCursor().selectedText(), QStringLiteral("Запись 30000"));
}

TEST_F(ReportViewerTest, NewerReportTakesThePlaceOfTheOneLoading) {
  WriteBigReport();
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.RichEdit1->IsLoading());
  std::remove(ReportFilePath().c_str());
  WriteReport("Православная Пасхалия");
  viewer_.ShowReport(false);
  EXPECT_FALSE(viewer_.RichEdit1->IsLoading());
  EXPECT_FALSE(viewer_.ProgressBar1->isVisible());
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().contains(QStringLiteral("Православная Пасхалия")));
  EXPECT_FALSE(viewer_.RichEdit1->toPlainText().contains(QStringLiteral("Днесловник")));
  QApplication::processEvents();
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().contains(QStringLiteral("Православная Пасхалия")));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ReportViewerTest, TheSecondLoadOfAnUnchangedReportKeepsTheFirstGoing) {
  WriteBigReport();
  ASSERT_TRUE(AppSettings.windowsNT);
  QSignalSpy finished(viewer_.RichEdit1, &RichEdit::LoadFinished);
  viewer_.ShowReport(true);
  EXPECT_TRUE(finished.isEmpty());  // the first load wasn't stopped and begun again
  EXPECT_TRUE(viewer_.RichEdit1->IsLoading());
  const QString shown = viewer_.RichEdit1->toPlainText();
  // As one load shows it.
  AppSettings.windowsNT = false;
  viewer_.ShowReport(true);
  EXPECT_EQ(viewer_.RichEdit1->toPlainText(), shown);
}

TEST_F(ReportViewerTest, EditSelectAllCopyAndSaveWorkWhileABigReportLoads) {
  WriteBigReport();
  const std::string report = ReadFileBytes(ReportFilePath());
  viewer_.ShowReport(true);
  // Editing and select all at once, the load going on.
  viewer_.N14->trigger();
  EXPECT_FALSE(viewer_.RichEdit1->isReadOnly());
  viewer_.N11->trigger();
  EXPECT_TRUE(viewer_.RichEdit1->IsLoading());
  // Copying all of it waits for the load.
  QApplication::clipboard()->clear();
  viewer_.N12->trigger();
  EXPECT_FALSE(viewer_.RichEdit1->IsLoading());
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_TRUE(mime->text().startsWith(QStringLiteral("  Днесловник\n")));
  EXPECT_TRUE(mime->text().contains(QStringLiteral("\n  День 60000\n")));
  EXPECT_EQ(mime->data(QStringLiteral("text/rtf")).toStdString(), report);

  // Saving waits for the load too, and writes the report as it is.
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.RichEdit1->IsLoading());
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("big.rtf"))));
  EXPECT_EQ(ReadFileBytes(Path("big.rtf")), report);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ReportViewerTest, AReportTheViewerCannotShowGetsAMessageAndNoWindow) {
  viewer_.ShowReport(true);  // an earlier report is on screen
  ASSERT_TRUE(viewer_.isVisible());
  QFile huge(QString::fromStdString(ReportFilePath()));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  ASSERT_TRUE(huge.resize(RichEdit::MaxLoadBytes() + (std::int64_t{100} << 20)));  // sparse
  huge.close();
  viewer_.ShowReport(true);
  EXPECT_FALSE(viewer_.isVisible());
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "The report is too large to show: 1124 MB (the viewer holds up to 1024 MB). It stays in " +
                                    ReportFilePath() + ".");

  std::remove(ReportFilePath().c_str());
  viewer_.ShowReport(true);
  EXPECT_FALSE(viewer_.isVisible());
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], "Cannot read the report file " + ReportFilePath() + ".");
}

TEST_F(ReportViewerTest, AReportFileWrittenOverInPlaceWhileLoadingIsSaid) {
  WriteBigReport();
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.RichEdit1->IsLoading());
  WriteReport("Поиск в святцах");  // the same file, truncated and written again
  ASSERT_TRUE(ProcessUntil([&] { return !viewer_.RichEdit1->IsLoading(); }));
  ASSERT_EQ(messages_.texts.size(), 1u);
  EXPECT_EQ(messages_.texts[0], "The report file changed while it was loading: only its first part is shown.");
  EXPECT_TRUE(viewer_.RichEdit1->toPlainText().startsWith(QStringLiteral("  Днесловник\n")));
  EXPECT_FALSE(viewer_.ProgressBar1->isVisible());
  // What was read is not saved as if it were the report.
  EXPECT_FALSE(viewer_.SaveReportAs(Q(Path("part.rtf"))));
  EXPECT_FALSE(std::filesystem::exists(Path("part.rtf")));
  ASSERT_EQ(messages_.texts.size(), 2u);
  EXPECT_EQ(messages_.texts[1], "The report file changed while it was loading: the report is not all there.");
}

}  // namespace
}  // namespace velmar
