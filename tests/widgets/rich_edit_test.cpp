#include "widgets/rich_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontInfo>
#include <QMimeData>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <memory>
#include <string>
#include <vector>

#include "tests/texts/rtf_test_documents.h"
#include "tests/widgets/temp_folder.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"
#include "widgets/document_paper.h"
#include "widgets/readable_colours.h"

namespace velmar {
namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

RtfDocument ReadBytes(const QByteArray& bytes) {
  return ReadRtf(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// Everything the reader keeps of a document, one line per paragraph, with
// fonts by name: two documents with the same lines show the same.
std::string Describe(const RtfDocument& d, const RtfParagraph& p) {
  const auto format = [&d](const RtfCharFormat& f) {
    std::string s = std::string(d.FontName(f)) + "/" + std::to_string(f.halfPoints) + "/";
    s += f.colour ? std::to_string(f.colour->red) + "," + std::to_string(f.colour->green) + "," +
                        std::to_string(f.colour->blue)
                  : "auto";
    return s + (f.bold ? "/b" : "") + (f.italic ? "/i" : "") + (f.underline ? "/u" : "");
  };
  std::string s = "align " + std::to_string(static_cast<int>(p.alignment)) + " mark " + format(p.mark);
  for (const RtfRun& r : p.runs) s += " [" + r.text + "|" + format(r.format) + "]";
  return s;
}

std::vector<std::string> Describe(const RtfDocument& d) {
  std::vector<std::string> lines;
  for (const RtfBlock& block : d.blocks) {
    if (const auto* p = std::get_if<RtfParagraph>(&block)) {
      lines.push_back(Describe(d, *p));
      continue;
    }
    for (const RtfTableRow& row : std::get<RtfTable>(block).rows) {
      std::string def = "row gap " + std::to_string(row.halfGap) + " edges";
      for (int e : row.cellRightEdges) def += " " + std::to_string(e);
      lines.push_back(def);
      for (const RtfTableCell& cell : row.cells) {
        lines.push_back("cell");
        for (const RtfParagraph& p : cell.paragraphs) lines.push_back("  " + Describe(d, p));
      }
    }
  }
  return lines;
}

class RichEditTest : public ::testing::Test, protected testing::TempFolder {
 protected:
  // Format of the last character of the first occurrence of text.
  static QTextCharFormat FormatOf(const RichEdit& edit, const QString& text) {
    const QTextCursor found = edit.document()->find(text);
    EXPECT_FALSE(found.isNull()) << text.toStdString();
    return found.charFormat();
  }

  static std::vector<QTextTable*> Tables(const RichEdit& edit) {
    std::vector<QTextTable*> tables;
    for (QTextFrame* f : edit.document()->rootFrame()->childFrames())
      if (auto* t = qobject_cast<QTextTable*>(f)) tables.push_back(t);
    return tables;
  }

  const QByteArray sunday_ = Bytes(test_rtf::SundayDocument());
  const QByteArray paschalion_ = Bytes(test_rtf::PaschalionReport());
};

// The document is shown on its own paper whatever the palette; the red sign
// is drawn a shade deeper there (a layout format), while the document, and
// so what is saved, printed and copied, keeps its colours byte for byte.
TEST_F(RichEditTest, DocumentsShowOnPaperWithTheirColoursAsWritten) {
  QPalette dark;
  dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
  dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
  dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
  const QPalette before = QApplication::palette();
  QApplication::setPalette(dark);
  RichEdit edit;
  ASSERT_TRUE(edit.LoadFromFile(WriteFile("paper.rtf", sunday_)));
  edit.resize(400, 300);
  (void)edit.grab();  // the blocks in view are shaded as they are painted
  EXPECT_EQ(edit.palette().color(QPalette::Base), PaperColour());
  EXPECT_EQ(edit.palette().color(QPalette::Text), PaperTextColour());

  const QTextBlock block = edit.document()->findBlockByNumber(4);  // " + Свт. Николая"
  const int sign = static_cast<int>(block.text().indexOf(QStringLiteral("+")));
  QColor shown;
  for (const QTextEdit::ExtraSelection& shade : edit.extraSelections()) {
    const int at = block.position() + sign;
    if (shade.cursor.selectionStart() <= at && at < shade.cursor.selectionEnd()) shown = shade.format.foreground().color();
  }
  EXPECT_EQ(shown, OnPaper(QColor(255, 0, 0)));
  EXPECT_GE(ContrastRatio(shown, PaperColour()), kReadableContrast);
  EXPECT_EQ(FormatOf(edit, QStringLiteral("(+)")).foreground().color(), QColor(255, 0, 0));

  EXPECT_FALSE(edit.IsModifiedSinceLoad());
  EXPECT_EQ(edit.CurrentRtf(), sunday_);
  const QString saved = WriteFile("saved.rtf", {});
  ASSERT_TRUE(edit.SaveToFile(saved));
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), sunday_);
  // What printing lays out is a copy of the document: no deeper shade in it.
  const std::unique_ptr<QTextDocument> copy(edit.document()->clone());
  for (QTextBlock b = copy->begin(); b.isValid(); b = b.next())
    EXPECT_TRUE(b.layout()->formats().isEmpty());
  // The edited document is written with the colours as written, too.
  QTextCursor cursor(edit.document());
  cursor.insertText(QStringLiteral("x"));
  EXPECT_NE(edit.ToRtf().indexOf("\\red255\\green0\\blue0;"), -1);
  EXPECT_EQ(edit.ToRtf().indexOf(QByteArray::number(OnPaper(QColor(255, 0, 0)).red()).prepend("\\red").append("\\green0")), -1);
  QApplication::setPalette(before);
}

TEST_F(RichEditTest, DayDocumentShowsItsFontsColoursAndBold) {
  RichEdit edit;
  ASSERT_TRUE(edit.LoadFromFile(WriteFile("day.rtf", sunday_)));
  EXPECT_EQ(edit.document()->blockCount(), 7);
  EXPECT_EQ(edit.document()->findBlockByNumber(4).text(), QStringLiteral(" + Свт. Николая"));

  const QTextCharFormat title = FormatOf(edit, QStringLiteral("Воскресенье"));
  EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman Cyr")});
  EXPECT_DOUBLE_EQ(title.fontPointSize(), 10.0);
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_EQ(title.foreground().color(), QColor(128, 0, 0));

  const QTextCharFormat sign = FormatOf(edit, QStringLiteral("(+)"));
  EXPECT_EQ(sign.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New Cyr")});
  EXPECT_TRUE(sign.fontFixedPitch());  // \fmodern\fprq1: falls back to a fixed-pitch face
  EXPECT_TRUE(QFontInfo(sign.font()).fixedPitch());
  EXPECT_EQ(sign.foreground().color(), QColor(255, 0, 0));
  EXPECT_NE(sign.fontWeight(), QFont::Bold);

  EXPECT_EQ(FormatOf(edit, QStringLiteral("Прп. Феодоры")).foreground().color(), QColor(128, 128, 128));
  EXPECT_FALSE(edit.IsModifiedSinceLoad());

  // Every load replaces the document; the old ones don't pile up.
  for (int i = 0; i < 3; ++i) edit.LoadFromBytes(paschalion_);
  EXPECT_LE(edit.findChildren<QTextDocument*>().size(), 2);
  EXPECT_EQ(edit.document()->blockCount(), 11 + 3 * 10);  // 11 paragraphs, 30 cells
}

TEST_F(RichEditTest, UnreadableFileLeavesTheControlEmpty) {
  RichEdit edit;
  edit.LoadFromBytes(sunday_);
  EXPECT_FALSE(edit.LoadFromFile(Path("missing.rtf")));
  EXPECT_TRUE(edit.document()->isEmpty());
  EXPECT_FALSE(edit.LoadFromFile(Folder()));  // a folder
  EXPECT_TRUE(edit.document()->isEmpty());
}

TEST_F(RichEditTest, SavingUneditedWritesTheLoadedBytes) {
  RichEdit edit;
  // Not RTF at all: shown as text, and still saved byte for byte.
  for (const QByteArray& bytes : {sunday_, paschalion_, QByteArray("plain\r\ntext\x98")}) {
    ASSERT_TRUE(edit.LoadFromFile(WriteFile("in.rtf", bytes)));
    edit.SetWordWrap(false);  // changes the layout, not the document
    edit.SetWordWrap(true);
    ASSERT_TRUE(edit.SaveToFile(Path("out.rtf")));
    EXPECT_EQ(ReadFile(Path("out.rtf")), bytes);
  }
  // After Clear nothing loaded is left to write.
  edit.Clear();
  ASSERT_TRUE(edit.SaveToFile(Path("out.rtf")));
  EXPECT_TRUE(PlainText(ReadBytes(ReadFile(Path("out.rtf")))).find_first_not_of('\n') == std::string::npos);
}

TEST_F(RichEditTest, EditedDocumentSavesAsRtfThatReadsBack) {
  for (const QByteArray& original : {sunday_, paschalion_}) {
    RichEdit edit;
    edit.LoadFromBytes(original);
    // Type at the end of the first paragraph: the text takes its format.
    QTextCursor cursor(edit.document()->firstBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit.setTextCursor(cursor);
    edit.insertPlainText(QStringLiteral("Ж{}\\"));
    EXPECT_TRUE(edit.IsModifiedSinceLoad());
    ASSERT_TRUE(edit.SaveToFile(Path("edited.rtf")));

    RtfDocument expected = ReadBytes(original);
    std::get<RtfParagraph>(expected.blocks[0]).runs.back().text += "Ж{}\\";
    const QByteArray saved = ReadFile(Path("edited.rtf"));
    std::vector<RtfProblem> problems;
    const RtfDocument reread =
        ReadRtf(std::string_view(saved.constData(), static_cast<std::size_t>(saved.size())), &problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Describe(reread), Describe(expected));
    // The sign font keeps its kind, so that a missing face still falls back
    // to a fixed-pitch one.
    for (const RtfFont& font : reread.fonts) {
      if (font.name != "Courier New Cyr") continue;
      EXPECT_EQ(font.family, RtfFontFamily::Modern);
      EXPECT_EQ(font.pitch, 1);
    }

    // And the saved file loads into the control as the edit showed it.
    RichEdit again;
    ASSERT_TRUE(again.LoadFromFile(Path("edited.rtf")));
    EXPECT_EQ(again.toPlainText(), edit.toPlainText());
  }
}

TEST_F(RichEditTest, TablesAtTheEdgesOfTheDocumentRoundTrip) {
  // Qt keeps an empty block before a table that starts the document and
  // after one that ends it; neither becomes a paragraph in the saved RTF.
  const std::string fonts = "{\\rtf1{\\fonttbl{\\f0 Arial;}}";
  for (const char* body : {"\\trowd\\cellx900\\cellx1800\\intbl a\\cell b\\cell\\row\\pard after\\par}",
                          " before\\par\\trowd\\cellx900\\intbl a\\cell\\row}",
                          "\\trowd\\cellx900\\intbl a\\cell\\row\\pard\\par"
                          "\\trowd\\cellx900\\intbl b\\cell\\row}"}) {
    const QByteArray rtf = Bytes(fonts + body);
    SCOPED_TRACE(body);
    RichEdit edit;
    edit.LoadFromBytes(rtf);
    EXPECT_EQ(Describe(ReadBytes(edit.ToRtf())), Describe(ReadBytes(rtf)));
  }
}

TEST_F(RichEditTest, GeneratedRtfKeepsCharactersOutsideTheCodePage) {
  RichEdit edit;
  edit.setPlainText(QStringLiteral("a\tb€—Ѣ ε \U0001F600"));
  const RtfDocument d = ReadBytes(edit.ToRtf());
  EXPECT_EQ(PlainText(d), "a\tb€—Ѣ ε \U0001F600\n");
}

TEST_F(RichEditTest, WordWrapSwitchesTablesToo) {
  RichEdit edit;
  EXPECT_TRUE(edit.WordWrap());
  edit.SetWordWrap(false);
  edit.LoadFromBytes(paschalion_);
  EXPECT_EQ(edit.lineWrapMode(), QTextEdit::NoWrap);
  ASSERT_EQ(Tables(edit).size(), 1u);
  QTextTable* table = Tables(edit)[0];
  EXPECT_EQ(table->rows(), 3);
  EXPECT_EQ(table->columns(), 10);
  const auto nonBreaking = [&] {
    return table->cellAt(1, 6).firstCursorPosition().blockFormat().nonBreakableLines();
  };
  EXPECT_TRUE(nonBreaking());
  EXPECT_EQ(table->format().columnWidthConstraints().at(0).type(), QTextLength::VariableLength);

  edit.SetWordWrap(true);
  EXPECT_TRUE(edit.WordWrap());
  EXPECT_EQ(edit.lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_FALSE(nonBreaking());
  const QTextLength first = table->format().columnWidthConstraints().at(0);
  EXPECT_EQ(first.type(), QTextLength::FixedLength);
  EXPECT_NEAR(first.rawValue(), 900.0 * edit.logicalDpiX() / 1440.0, 0.01);  // 900 twips
  EXPECT_FALSE(edit.IsModifiedSinceLoad());
}

TEST_F(RichEditTest, ReadOnlyStillSelectsByKeyboard) {
  RichEdit edit;
  edit.SetReadOnly(true);
  EXPECT_TRUE(edit.isReadOnly());
  EXPECT_TRUE(edit.textInteractionFlags() & Qt::TextSelectableByKeyboard);
  EXPECT_FALSE(edit.textInteractionFlags() & Qt::TextEditable);
  edit.LoadFromBytes(sunday_);  // a load keeps the switch
  EXPECT_TRUE(edit.isReadOnly());
  EXPECT_TRUE(edit.textInteractionFlags() & Qt::TextSelectableByKeyboard);
  edit.SetReadOnly(false);
  EXPECT_FALSE(edit.isReadOnly());
  EXPECT_TRUE(edit.textInteractionFlags() & Qt::TextEditable);
}

TEST_F(RichEditTest, SelectAllAndCopyPutRichAndPlainText) {
  RichEdit edit;
  edit.LoadFromBytes(sunday_);
  edit.SetReadOnly(true);
  QApplication::clipboard()->clear();
  edit.SelectAll();
  edit.CopyToClipboard();
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_EQ(mime->text(), edit.toPlainText());
  EXPECT_TRUE(mime->text().contains(QStringLiteral("Свт. Николая")));
  EXPECT_TRUE(mime->hasHtml());
  const RtfDocument copied = ReadBytes(mime->data(QStringLiteral("text/rtf")));
  EXPECT_EQ(Describe(copied), Describe(ReadBytes(sunday_)));
}

TEST_F(RichEditTest, PrintsToPdfWithTheJobTitle) {
  RichEdit edit;
  edit.LoadFromBytes(paschalion_);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(Path("out.pdf"));
  const QString title = QStringLiteral("Днесловник - Пасхалия");
  edit.Print(&printer, title);
  EXPECT_EQ(printer.docName(), title);
  const QByteArray pdf = ReadFile(Path("out.pdf"));
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r"), 1);
  // The title lands in the document information, as UTF-16BE.
  QByteArray utf16 = "\xFE\xFF";
  for (const QChar ch : title) {
    utf16 += static_cast<char>(ch.unicode() >> 8);
    utf16 += static_cast<char>(ch.unicode() & 0xFF);
  }
  EXPECT_TRUE(pdf.contains("/Title (" + utf16 + ")"));

  // A long document runs over several pages.
  std::string longDoc = test_rtf::Prologue();
  for (int i = 0; i < 400; ++i) longDoc += "\nline " + std::to_string(i) + "\\par";
  longDoc += "\n}";
  edit.LoadFromBytes(Bytes(longDoc));
  QPrinter second(QPrinter::HighResolution);
  second.setOutputFormat(QPrinter::PdfFormat);
  second.setOutputFileName(Path("long.pdf"));
  edit.Print(&second, QStringLiteral("long"));
  const QByteArray longPdf = ReadFile(Path("long.pdf"));
  EXPECT_GT(longPdf.count("/Type /Page\n") + longPdf.count("/Type /Page\r"), 5);
}

TEST_F(RichEditTest, SaveFailureIsReported) {
  RichEdit edit;
  edit.LoadFromBytes(sunday_);
  EXPECT_FALSE(edit.SaveToFile(Path("no/such/folder/out.rtf")));
}

}  // namespace
}  // namespace velmar
