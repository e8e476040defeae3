// The viewer's file types: each written from the document shown (edits
// included), through a file beside the target; the PDF and HTML read back
// by independent tools where they are installed.
#include "reports/forms/report_export.h"

#include <QFileDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QStandardPaths>
#include <QTextCursor>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/messages.h"
#include "reports/forms/report_viewer.h"
#include "reports/period_calendar.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"
#include "ui_test_support.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::ReadFileBytes;

class ReportExportTest : public ::testing::Test {
 protected:
  ReportExportTest() : dir_(std::filesystem::path(VELMAR_SOURCE_DIR) / "data") {
    // A real report: a Lenten week with its Sunday (colours, signs, bold).
    period_ = Period{{22, 3, 2024}, {25, 3, 2024}};
    WritePeriodCalendar(22, 3, 2024, 25, 3, 2024);
    viewer_.SetReportPeriod(period_);
    viewer_.ShowReport(true);
  }
  std::filesystem::path Path(const std::string& name) const { return dir_.path() / name; }
  static QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
  static QString Tool(const char* name) { return QStandardPaths::findExecutable(QString::fromLatin1(name)); }
  static QString Run(const QString& tool, const QStringList& args) {
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
  }

  testing::TempProgramDir dir_;
  RecordingMessageSink messages_;
  Period period_;
  TForm2 viewer_{[] { return QStringLiteral("Днесловник - Пятница, 22 Марта"); }};
};

TEST(ReportFileTypes, FiltersSuffixesAndNames) {
  struct Row {
    ReportFileType type;
    const char* filter;
    const char* suffix;
  };
  const Row rows[] = {{ReportFileType::Rtf, "Rich Text Files (*.rtf)", "rtf"},
                      {ReportFileType::Pdf, "PDF (*.pdf)", "pdf"},
                      {ReportFileType::Html, "HTML (*.html)", "html"},
                      {ReportFileType::Text, "Текст (*.txt)", "txt"},
                      {ReportFileType::ICalendar, "iCalendar (*.ics)", "ics"}};
  for (const Row& row : rows) {
    EXPECT_EQ(FileTypeFilter(row.type), QString::fromUtf8(row.filter));
    EXPECT_EQ(FileTypeSuffix(row.type), QString::fromUtf8(row.suffix));
    EXPECT_EQ(FileTypeOfFilter(QString::fromUtf8(row.filter)), row.type);
    EXPECT_EQ(FileTypeOfName(QStringLiteral("/tmp/a.") + row.suffix), row.type);
  }
  EXPECT_EQ(FileTypeOfFilter(QStringLiteral("All Files (*)")), std::nullopt);
  EXPECT_EQ(FileTypeOfName(QStringLiteral("/tmp/a.HTM")), ReportFileType::Html);
  EXPECT_EQ(FileTypeOfName(QStringLiteral("/tmp/a")), ReportFileType::Rtf);
  // The filter decides, but a suffix of one of the types typed by the user wins.
  const QString rtf = QStringLiteral("Rich Text Files (*.rtf)"), pdf = QStringLiteral("PDF (*.pdf)");
  const QString all = QStringLiteral("All Files (*)");
  EXPECT_EQ(ChosenFileType(pdf, QStringLiteral("/tmp/week")), ReportFileType::Pdf);
  EXPECT_EQ(ChosenFileType(rtf, QStringLiteral("/tmp/week.pdf")), ReportFileType::Pdf);
  EXPECT_EQ(ChosenFileType(pdf, QStringLiteral("/tmp/week.rtf")), ReportFileType::Rtf);
  EXPECT_EQ(ChosenFileType(pdf, QStringLiteral("/tmp/week.doc")), ReportFileType::Pdf);
  EXPECT_EQ(ChosenFileType(all, QStringLiteral("/tmp/week.txt")), ReportFileType::Text);
  EXPECT_EQ(ChosenFileType(all, QStringLiteral("/tmp/week")), ReportFileType::Rtf);
  EXPECT_EQ(WithDefaultSuffix(QStringLiteral("/tmp/a"), QStringLiteral("pdf")), QStringLiteral("/tmp/a.pdf"));
  EXPECT_EQ(WithDefaultSuffix(QStringLiteral("/tmp/a."), QStringLiteral("txt")), QStringLiteral("/tmp/a.txt"));
  EXPECT_EQ(WithDefaultSuffix(QStringLiteral("/tmp/a.rtf"), QStringLiteral("pdf")), QStringLiteral("/tmp/a.rtf"));
}

TEST_F(ReportExportTest, TextIsWhatTheCommandLinePrints) {
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("week")), ReportFileType::Text));
  const std::string saved = ReadFileBytes(Path("week.txt"));
  EXPECT_EQ(saved, RenderRtfForTerminal(ReadRtf(ReadFileBytes(ReportFilePath())), false));
  EXPECT_NE(saved.find("Суббота, 23 Марта 2024 г. (10 Марта ст.ст.)"), std::string::npos);
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ReportExportTest, HtmlKeepsColoursBoldAndTheTitle) {
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("week")), ReportFileType::Html));
  const std::string html = ReadFileBytes(Path("week.html"));
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<html lang=\"ru\">"), std::string::npos);
  EXPECT_NE(html.find("<title>Днесловник с 22 Марта 2024 г. по 25 Марта 2024 г.</title>"), std::string::npos);
  EXPECT_NE(html.find("color:#700070"), std::string::npos);  // a weekday of Lent
  EXPECT_NE(html.find("color:#800000"), std::string::npos);  // the Sunday
  EXPECT_NE(html.find("color:#ff0000"), std::string::npos);  // the red signs
  EXPECT_NE(html.find("font-weight:"), std::string::npos);
  EXPECT_NE(html.find("font-family:'Times New Roman Cyr','Times New Roman',serif"), std::string::npos);
  EXPECT_NE(html.find("Торжество Православия"), std::string::npos);

  // An HTML5 parser reads it without a parse error, in Russian, titled.
  QProcess parser;
  parser.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import html5lib,sys\n"
                               "t=html5lib.HTMLParser(strict=True,namespaceHTMLElements=False)"
                               ".parse(open(sys.argv[1],'rb').read())\n"
                               "print(t.get('lang'), t.find('head/title').text)"),
                Q(Path("week.html"))});
  parser.waitForFinished(30000);
  const QString errors = QString::fromUtf8(parser.readAllStandardError());
  if (parser.exitCode() != 0 && errors.contains(QStringLiteral("ModuleNotFoundError")))
    GTEST_SKIP() << "html5lib is not installed";
  EXPECT_EQ(parser.exitCode(), 0) << errors.toStdString();
  EXPECT_EQ(QString::fromUtf8(parser.readAllStandardOutput()).trimmed(),
            QStringLiteral("ru Днесловник с 22 Марта 2024 г. по 25 Марта 2024 г."));
}

TEST_F(ReportExportTest, EditsAreInEveryTypeButTheCalendarFile) {
  viewer_.N14->trigger();  // editing on
  QTextCursor cursor(viewer_.RichEdit1->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QStringLiteral("Приписка настоятеля"));
  for (const auto& [type, name] : {std::pair{ReportFileType::Rtf, "e.rtf"}, std::pair{ReportFileType::Html, "e.html"},
                                   std::pair{ReportFileType::Text, "e.txt"}}) {
    ASSERT_TRUE(viewer_.SaveReportAs(Q(Path(name)), type)) << name;
    std::string bytes = ReadFileBytes(Path(name));
    if (type == ReportFileType::Rtf) bytes = PlainText(ReadRtf(bytes));
    EXPECT_NE(bytes.find("Приписка настоятеля"), std::string::npos) << name;
  }
}

// A report too big to be one document is shown a window at a time; what is
// saved is still the whole of it, as one page and one text, saved even
// while it is still loading.
TEST_F(ReportExportTest, ABigReportIsSavedWhole) {
  WritePeriodCalendar(1, 1, 2019, 31, 12, 2023);
  ASSERT_GT(static_cast<qint64>(std::filesystem::file_size(ReportFilePath())), RichEdit::WholeDocumentBytes());
  viewer_.SetReportPeriod(Period{{1, 1, 2019}, {31, 12, 2023}});
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("years")), ReportFileType::Html));
  EXPECT_FALSE(viewer_.RichEdit1->HoldsWholeDocument());
  const std::string html = ReadFileBytes(Path("years.html"));
  const auto count = [&html](const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = html.find(what); at != std::string::npos; at = html.find(what, at + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("<html"), 1u);
  EXPECT_EQ(count("<body"), 1u);
  EXPECT_EQ(count("</body>"), 1u);
  EXPECT_NE(html.find("<title>Днесловник с 1 Января 2019 г. по 31 Декабря 2023 г.</title>"), std::string::npos);
  EXPECT_NE(html.find("Вторник, 1 Января 2019 г."), std::string::npos);
  EXPECT_NE(html.find("Воскресенье, 31 Декабря 2023 г."), std::string::npos);
  EXPECT_EQ(count(" г. ("), 1826u);  // every day once: no slice lost or doubled
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("years.txt")), ReportFileType::Text));
  const std::string text = ReadFileBytes(Path("years.txt"));
  EXPECT_EQ(text, RenderRtfForTerminal(ReadRtf(ReadFileBytes(ReportFilePath())), false));
  EXPECT_TRUE(messages_.texts.empty());
}

TEST_F(ReportExportTest, CalendarFileIsBuiltFromThePeriod) {
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("week")), ReportFileType::ICalendar));
  const std::string ics = ReadFileBytes(Path("week.ics"));
  EXPECT_EQ(testing::Count(ics, "BEGIN:VEVENT\r\n"), 4u);
  EXPECT_NE(ics.find("DTSTART;VALUE=DATE:20240322\r\n"), std::string::npos);
  EXPECT_NE(ics.find("DTSTART;VALUE=DATE:20240325\r\n"), std::string::npos);
  // Another report has no period: no calendar file.
  viewer_.SetReportPeriod(std::nullopt);
  EXPECT_FALSE(viewer_.SaveReportAs(Q(Path("other.ics")), ReportFileType::ICalendar));
  EXPECT_FALSE(std::filesystem::exists(Path("other.ics")));
  ASSERT_EQ(messages_.texts.size(), 1u);
}

TEST_F(ReportExportTest, PdfHasTheTextA4PagesAndTheTitle) {
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("week")), ReportFileType::Pdf));
  const std::string pdf = ReadFileBytes(Path("week.pdf"));
  ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
  for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
    EXPECT_EQ(entry.path().filename().string().rfind(".velmar32-", 0), std::string::npos) << "left behind";
  if (Tool("pdftotext").isEmpty() || Tool("pdfinfo").isEmpty() || Tool("pdffonts").isEmpty())
    GTEST_SKIP() << "poppler-utils are not installed";
  const QString text = Run(Tool("pdftotext"), {Q(Path("week.pdf")), QStringLiteral("-")});
  EXPECT_TRUE(text.contains(QStringLiteral("Днесловник с 22 Марта 2024 г. по 25 Марта 2024 г."))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Торжество Православия")));
  const QString info = Run(Tool("pdfinfo"), {Q(Path("week.pdf"))});
  EXPECT_TRUE(info.contains(QStringLiteral("Днесловник - Пятница, 22 Марта"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();
  // Every font is embedded: the column "emb" says yes on each line.
  const QStringList fonts = Run(Tool("pdffonts"), {Q(Path("week.pdf"))}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_GT(fonts.size(), 2);
  for (qsizetype i = 2; i < fonts.size(); ++i)
    EXPECT_TRUE(fonts[i].contains(QStringLiteral(" yes "))) << fonts[i].toStdString();
}

// Printed pages (the PDF is the print on A4) keep margins of at least 15 mm
// and carry their numbers, 1, 2, 3 ..., under the text.
TEST_F(ReportExportTest, PagesHaveMarginsAndNumbers) {
  WritePeriodCalendar(1, 1, 2024, 31, 1, 2024);
  viewer_.ShowReport(true);
  ASSERT_TRUE(viewer_.SaveReportAs(Q(Path("january")), ReportFileType::Pdf));
  if (Tool("pdftotext").isEmpty()) GTEST_SKIP() << "poppler-utils are not installed";
  const QString boxes = Run(Tool("pdftotext"), {QStringLiteral("-bbox"), Q(Path("january.pdf")), QStringLiteral("-")});
  const QStringList pages = boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1);
  ASSERT_GE(pages.size(), 3);
  const qreal mm = 72 / 25.4;  // points
  const QRegularExpression size(QStringLiteral("width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
  const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
  for (qsizetype p = 0; p < pages.size(); ++p) {
    SCOPED_TRACE(p + 1);
    const auto dims = size.match(pages[p]);
    ASSERT_TRUE(dims.hasMatch());
    const qreal width = dims.captured(1).toDouble(), height = dims.captured(2).toDouble();
    qreal lowestText = 0;   // bottom of the body's text
    QString last;           // the lowest word: the page number
    qreal lastTop = 0, lastLeft = 0, lastRight = 0;
    for (auto it = word.globalMatch(pages[p]); it.hasNext();) {
      const auto w = it.next();
      const qreal x0 = w.captured(1).toDouble(), y0 = w.captured(2).toDouble();
      const qreal x1 = w.captured(3).toDouble(), y1 = w.captured(4).toDouble();
      EXPECT_GE(x0, 15 * mm - 0.5);
      EXPECT_LE(x1, width - 15 * mm + 0.5);
      // No word wholly in the top margin (Qt may let a page's last line
      // reach a few points past its end, where the next page clips it).
      EXPECT_GE(y1, 15 * mm - 0.5) << w.captured(5).toStdString();
      if (y0 > lastTop) {
        if (!last.isEmpty()) lowestText = std::max(lowestText, lastTop);
        lastTop = y0, lastLeft = x0, lastRight = x1, last = w.captured(5);
      } else {
        lowestText = std::max(lowestText, y1);
      }
    }
    EXPECT_EQ(last, QString::number(p + 1));
    EXPECT_GT(lastTop, height - 20 * mm);       // in the bottom margin
    EXPECT_LT(lastTop, height - 5 * mm);
    EXPECT_GT(lastTop, lowestText);
    EXPECT_NEAR((lastLeft + lastRight) / 2, width / 2, 3);  // in the middle
  }
}

// A failed save leaves the old file whole, whatever the type, and says why.
TEST_F(ReportExportTest, AFailedSaveKeepsTheOldFile) {
  const std::filesystem::path folder = Path("locked");
  std::filesystem::create_directories(folder);
  for (const auto& [type, name] : {std::pair{ReportFileType::Pdf, "old.pdf"}, std::pair{ReportFileType::Html, "old.html"},
                                   std::pair{ReportFileType::Text, "old.txt"}, std::pair{ReportFileType::ICalendar, "old.ics"},
                                   std::pair{ReportFileType::Rtf, "old.rtf"}}) {
    std::ofstream(folder / name) << "the old file";
    ::chmod(folder.c_str(), 0555);
    const bool saved = viewer_.SaveReportAs(Q(folder / name), type);
    ::chmod(folder.c_str(), 0755);
    if (::geteuid() == 0) {
      // root writes anyway: a folder that isn't there instead.
      EXPECT_TRUE(saved);
      EXPECT_FALSE(viewer_.SaveReportAs(Q(Path("missing") / name), type));
    } else {
      EXPECT_FALSE(saved) << name;
      EXPECT_EQ(ReadFileBytes(folder / name), "the old file") << name;
    }
  }
  EXPECT_EQ(messages_.texts.size(), 5u);
  for (const std::string& message : messages_.texts) EXPECT_EQ(message.rfind("Cannot save file ", 0), 0u) << message;
  EXPECT_FALSE(std::filesystem::exists(Path("missing")));
}

// Every type is saved with the permissions of the file it replaces, or with
// the usual ones (0666 less the umask) when it is new: the PDF too, though
// it is written through a private temporary file.
TEST_F(ReportExportTest, SavedFilesGetTheUsualPermissions) {
  const mode_t mask = ::umask(022);
  const auto mode = [](const std::filesystem::path& p) {
    struct stat s {};
    return ::stat(p.c_str(), &s) == 0 ? static_cast<int>(s.st_mode & 0777) : -1;
  };
  for (const auto& [type, name] : {std::pair{ReportFileType::Pdf, "p.pdf"}, std::pair{ReportFileType::Html, "p.html"},
                                   std::pair{ReportFileType::Text, "p.txt"}, std::pair{ReportFileType::Rtf, "p.rtf"}}) {
    ASSERT_TRUE(viewer_.SaveReportAs(Q(Path(name)), type)) << name;
    EXPECT_EQ(mode(Path(name)), 0644) << name;
    ASSERT_EQ(::chmod(Path(name).c_str(), 0640), 0);
    ASSERT_TRUE(viewer_.SaveReportAs(Q(Path(name)), type)) << name;
    EXPECT_EQ(mode(Path(name)), 0640) << name;
  }
  ::umask(mask);
}

TEST_F(ReportExportTest, SaveDialogOffersTheTypesWithRtfFirst) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    const QStringList filters = viewer_.SaveDialog1->nameFilters();
    EXPECT_EQ(filters, (QStringList{"Rich Text Files (*.rtf)", "PDF (*.pdf)", "HTML (*.html)", "Текст (*.txt)",
                                    "iCalendar (*.ics)", "All Files (*)"}));
    EXPECT_EQ(viewer_.SaveDialog1->selectedNameFilter(), QStringLiteral("Rich Text Files (*.rtf)"));
    checked = true;
    viewer_.SaveDialog1->reject();
  });
  viewer_.N8Click();
  EXPECT_TRUE(checked);
  // Without a period calendar there is no iCalendar type.
  viewer_.SetReportPeriod(std::nullopt);
  QTimer::singleShot(0, [&] {
    EXPECT_FALSE(viewer_.SaveDialog1->nameFilters().contains(QStringLiteral("iCalendar (*.ics)")));
    viewer_.SaveDialog1->reject();
  });
  viewer_.N8Click();
}

}  // namespace
}  // namespace velmar
