// RichEdit with documents bigger than it builds whole: the top at once, the
// rest while it is shown, a window of the document that follows the view,
// and select all, copy, save, print and editing over the whole.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/texts/rtf_test_documents.h"
#include "tests/widgets/event_loop.h"
#include "tests/widgets/temp_folder.h"
#include "texts/rtf_reader.h"
#include "widgets/rich_edit.h"
#include "widgets/text_document_rtf.h"

namespace velmar {
namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

std::string U(const QString& s) { return s.toStdString(); }

// Some 14 MB: read and scanned in several steps of the event loop.
const QByteArray& Longer() {
  static const QByteArray bytes = Bytes(test_rtf::LongCalendar(60000));
  return bytes;
}

// The document's text as Qt gives it for the whole document built at once.
QString WholeText(const QByteArray& rtf, bool wrap = true) {
  QTextDocument doc;
  TextDocumentBuilder(doc, 96, wrap).Append(ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size()))));
  return doc.toPlainText();
}

void Press(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(&widget, &press);
  QApplication::processEvents();
}

using testing::ProcessUntil;

class RichEditBigTest : public ::testing::Test, protected testing::TempFolder {
 protected:
  static constexpr int kDays = 12000;  // some 2.9 MB: 108,000 blocks of days

  RichEditBigTest() {
    edit_.resize(600, 400);
    edit_.show();
    QApplication::processEvents();
  }


  // The paragraph at the top of the view.
  std::string TopText() const {
    QTextDocument* doc = edit_.document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const int top = edit_.verticalScrollBar()->value();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
      if (layout->blockBoundingRect(b).bottom() > top) return U(b.text());
    return {};
  }

  bool Shows(const QString& paragraph) const {
    for (QTextBlock b = edit_.document()->begin(); b.isValid(); b = b.next())
      if (b.text() == paragraph) return true;
    return false;
  }

  QScrollBar* BlockBar() const { return edit_.findChild<QScrollBar*>(QStringLiteral("BlockScrollBar")); }

  RichEdit edit_;
  const QByteArray long_ = Bytes(test_rtf::LongCalendar(kDays));
};

// Blocks before the first day: the title and the four of the credits.
constexpr int kHeadBlocks = 5;
constexpr int kBlocksPerDay = 9;

TEST_F(RichEditBigTest, ShowsTheTopFirstAndLoadsTheRestWhileShown) {
  const QByteArray& bigger = Longer();
  QSignalSpy progress(&edit_, &RichEdit::LoadProgress);
  QSignalSpy finished(&edit_, &RichEdit::LoadFinished);
  ASSERT_TRUE(edit_.LoadFromFile(WriteFile("big.rtf", bigger)));
  EXPECT_TRUE(edit_.IsLoading());
  EXPECT_FALSE(edit_.HoldsWholeDocument());
  EXPECT_LT(edit_.LoadPercent(), 20);
  EXPECT_EQ(TopText(), "  Днесловник");
  EXPECT_TRUE(Shows(QStringLiteral("  День 1")));
  EXPECT_FALSE(Shows(QStringLiteral("  День 60000")));
  EXPECT_TRUE(finished.isEmpty());

  ASSERT_TRUE(ProcessUntil([&] { return !edit_.IsLoading(); }));
  ASSERT_EQ(finished.size(), 1);
  EXPECT_TRUE(finished[0][0].toBool());
  EXPECT_EQ(edit_.LoadPercent(), 100);
  ASSERT_GE(progress.size(), 3);
  int last = 0;
  for (const QList<QVariant>& p : progress) {
    EXPECT_GE(p[0].toInt(), last);
    last = p[0].toInt();
  }
  EXPECT_EQ(last, 100);
  // Only a window of the 540,000 blocks is a document.
  EXPECT_LT(edit_.document()->blockCount(), 5000);
  // It counts blocks: the head, the days, the ten of the legend.
  EXPECT_EQ(BlockBar()->maximum() + BlockBar()->pageStep(), kHeadBlocks + 60000 * kBlocksPerDay + 10);
}

TEST_F(RichEditBigTest, ScrollingReachesEveryPartOfTheDocument) {
  ASSERT_TRUE(edit_.LoadFromFile(WriteFile("big.rtf", long_)));
  ASSERT_TRUE(edit_.FinishLoading());
  QScrollBar* bar = BlockBar();
  ASSERT_TRUE(bar->isVisible());
  EXPECT_FALSE(edit_.verticalScrollBar()->isVisible());

  Press(edit_, Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(Shows(QStringLiteral("  День 12000")));
  EXPECT_EQ(edit_.textCursor().position(), edit_.document()->characterCount() - 1);
  EXPECT_EQ(bar->value(), bar->maximum());
  Press(edit_, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(TopText(), "  Днесловник");
  EXPECT_EQ(bar->value(), 0);

  // The scroll bar counts blocks: day n starts at block 5 + 9 (n - 1).
  bar->setValue(kHeadBlocks + kBlocksPerDay * 6000);
  QApplication::processEvents();
  EXPECT_EQ(TopText(), "  День 6001");

  // Down a long way a page at a time: the window follows and stays small.
  for (int page = 0; page < 250; ++page) Press(edit_, Qt::Key_PageDown);
  const int below = bar->value();
  EXPECT_GT(below, kHeadBlocks + kBlocksPerDay * 6400);
  EXPECT_LT(edit_.document()->blockCount(), 6000);
  // And up again past where it started.
  for (int page = 0; page < 400; ++page) Press(edit_, Qt::Key_PageUp);
  EXPECT_LT(bar->value(), kHeadBlocks + kBlocksPerDay * 5900);
  EXPECT_LT(edit_.document()->blockCount(), 6000);
  // The window holds the days around the view in their order, whole.
  const int day = (bar->value() - kHeadBlocks) / kBlocksPerDay + 1;
  const QString text = edit_.toPlainText();
  const auto heading = [&](int n) { return text.indexOf(QStringLiteral("  День %1\n").arg(n)); };
  ASSERT_GE(heading(day), 0) << day;
  ASSERT_GT(heading(day + 1), heading(day));
  EXPECT_EQ(text.mid(heading(day), heading(day + 1) - heading(day)).count(QLatin1Char('\n')), kBlocksPerDay);
}

TEST_F(RichEditBigTest, SelectAllCopiesTheWholeDocumentAlsoWhileLoading) {
  ASSERT_TRUE(edit_.LoadFromFile(WriteFile("big.rtf", long_)));
  ASSERT_TRUE(edit_.IsLoading());
  QApplication::clipboard()->clear();
  edit_.SelectAll();
  edit_.CopyToClipboard();  // waits for the load
  EXPECT_FALSE(edit_.IsLoading());
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_NE(mime, nullptr);
  EXPECT_EQ(mime->text(), WholeText(long_));
  EXPECT_EQ(mime->data(QStringLiteral("text/rtf")), long_);

  // A selection inside the window copies just that.
  QTextCursor c(edit_.document()->findBlockByNumber(kHeadBlocks));
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  edit_.setTextCursor(c);
  edit_.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("  День 1"));
}

TEST_F(RichEditBigTest, EditsStayWithTheDocumentAndAreSaved) {
  const QString path = WriteFile("big.rtf", long_);
  ASSERT_TRUE(edit_.LoadFromFile(path));
  // Unedited, it saves as the bytes it was loaded from, loading or not.
  ASSERT_TRUE(edit_.SaveToFile(Path("copy.rtf")));
  EXPECT_EQ(ReadFile(Path("copy.rtf")), long_);

  edit_.SetReadOnly(false);
  edit_.moveCursor(QTextCursor::Start);
  edit_.insertPlainText(QStringLiteral("Правка "));
  Press(edit_, Qt::Key_End, Qt::ControlModifier);  // the window moves away
  edit_.insertPlainText(QStringLiteral(" конец"));
  Press(edit_, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(TopText(), "Правка   Днесловник");
  EXPECT_TRUE(edit_.IsModifiedSinceLoad());
  BlockBar()->setValue(kHeadBlocks + kBlocksPerDay * 8000);
  QApplication::processEvents();
  EXPECT_EQ(TopText(), "  День 8001");

  ASSERT_TRUE(edit_.SaveToFile(Path("edited.rtf")));
  QString expected = WholeText(long_);
  expected.prepend(QStringLiteral("Правка "));
  expected += QStringLiteral(" конец");
  const QString saved = WholeText(ReadFile(Path("edited.rtf")));
  EXPECT_EQ(saved.size(), expected.size());
  EXPECT_TRUE(saved == expected) << U(saved.left(200)) << "\n...\n" << U(saved.right(200));
}

TEST_F(RichEditBigTest, PrintsTheSamePagesAsTheWholeDocumentLaidOutAtOnce) {
  const QByteArray rtf = Bytes(test_rtf::LongCalendar(2300));  // over the whole-document size
  ASSERT_GT(rtf.size(), RichEdit::WholeDocumentBytes());
  edit_.LoadFromBytes(rtf);
  ASSERT_FALSE(edit_.HoldsWholeDocument());
  // The printer's few millimetres become 20 mm; margins of the user's own
  // choice stay. Each gives other places for the breaks between the slices.
  for (const qreal margin : {0.0, 25.0, 33.0}) {
    SCOPED_TRACE(margin);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("big.pdf"));
    if (margin > 0) printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
    edit_.Print(&printer, QStringLiteral("Днесловник"));
    EXPECT_NEAR(printer.pageLayout().margins(QPageLayout::Millimeter).top(), margin > 0 ? margin : 20, 0.01);
    const QByteArray pdf = ReadFile(Path("big.pdf"));
    const qsizetype printed = pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r");

    QPrinter reference(QPrinter::HighResolution);
    reference.setPageMargins(printer.pageLayout().margins(QPageLayout::Millimeter), QPageLayout::Millimeter);
    QTextDocument whole;
    whole.setDefaultFont(edit_.document()->defaultFont());
    whole.setDefaultTextOption(edit_.document()->defaultTextOption());
    TextDocumentBuilder(whole, edit_.logicalDpiX(), true)
        .Append(ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size()))));
    whole.documentLayout()->setPaintDevice(&reference);
    whole.setPageSize(reference.pageRect(QPrinter::DevicePixel).size());
    EXPECT_GT(whole.pageCount(), 20);
    EXPECT_EQ(printed, whole.pageCount());
  }
}

TEST_F(RichEditBigTest, LoadingTheSameFileAgainKeepsWhatIsShownUnlessItChanged) {
  const QString path = WriteFile("big.rtf", Longer());
  QSignalSpy finished(&edit_, &RichEdit::LoadFinished);
  ASSERT_TRUE(edit_.LoadFromFile(path));
  const QPointer<QTextDocument> first = edit_.document();
  edit_.moveCursor(QTextCursor::End);
  edit_.verticalScrollBar()->setValue(300);
  ASSERT_TRUE(edit_.LoadFromFile(path));  // unchanged: nothing done again
  EXPECT_EQ(edit_.document(), first.data());
  EXPECT_TRUE(edit_.IsLoading());
  EXPECT_TRUE(finished.isEmpty());
  EXPECT_EQ(edit_.textCursor().position(), 0);  // at the top, as after a load
  EXPECT_EQ(TopText(), "  Днесловник");

  // Written anew with another document: loaded anew.
  std::remove(path.toLocal8Bit().constData());
  WriteFile("big.rtf", Bytes(test_rtf::LongCalendar(30)));
  ASSERT_TRUE(edit_.LoadFromFile(path));
  EXPECT_TRUE(first.isNull());
  EXPECT_TRUE(edit_.HoldsWholeDocument());
  EXPECT_TRUE(Shows(QStringLiteral("  День 30")));
  EXPECT_FALSE(Shows(QStringLiteral("  День 31")));

  // Written over in place, the same size, another text.
  std::string same = test_rtf::LongCalendar(30);
  same.replace(same.find("30"), 2, "99");
  QFile over(path);
  ASSERT_TRUE(over.open(QIODevice::ReadWrite));
  over.write(Bytes(same));
  over.close();
  ASSERT_TRUE(edit_.LoadFromFile(path));
  EXPECT_TRUE(Shows(QStringLiteral("  День 99")));
  EXPECT_EQ(U(WholeText(ReadFile(path))), U(edit_.toPlainText()));

  // Edited since: loaded anew, the edit gone.
  edit_.SetReadOnly(false);
  edit_.insertPlainText(QStringLiteral("Правка"));
  ASSERT_TRUE(edit_.LoadFromFile(path));
  EXPECT_FALSE(edit_.toPlainText().contains(QStringLiteral("Правка")));
  EXPECT_FALSE(edit_.IsModifiedSinceLoad());
}

TEST_F(RichEditBigTest, ANewerLoadStopsTheOneGoingOn) {
  ASSERT_TRUE(edit_.LoadFromFile(WriteFile("big.rtf", Longer())));
  QSignalSpy finished(&edit_, &RichEdit::LoadFinished);
  const QByteArray small = Bytes(test_rtf::SundayDocument());
  QTimer::singleShot(0, &edit_, [&] { edit_.LoadFromBytes(small); });
  EXPECT_FALSE(edit_.FinishLoading());  // given up for the newer load
  ASSERT_GE(finished.size(), 1);
  EXPECT_FALSE(finished[0][0].toBool());
  EXPECT_FALSE(edit_.IsLoading());
  EXPECT_TRUE(edit_.HoldsWholeDocument());
  EXPECT_TRUE(edit_.toPlainText().contains(QStringLiteral("Свт. Николая")));
  EXPECT_FALSE(BlockBar()->isVisible());
  EXPECT_TRUE(edit_.FinishLoading());  // nothing loading
}

TEST_F(RichEditBigTest, AFileTheControlCannotHoldIsRefused) {
  QFile huge(Path("huge.rtf"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
  ASSERT_TRUE(huge.resize(RichEdit::MaxLoadBytes() + 1));  // sparse: no disk taken
  huge.close();
  edit_.LoadFromBytes(long_);
  EXPECT_FALSE(edit_.LoadFromFile(Path("huge.rtf")));
  EXPECT_EQ(edit_.LastLoadFailure(), RichEdit::LoadFailure::TooLarge);
  EXPECT_TRUE(edit_.document()->isEmpty());
  EXPECT_FALSE(edit_.IsLoading());
  EXPECT_FALSE(edit_.LoadFromFile(Path("missing.rtf")));
  EXPECT_EQ(edit_.LastLoadFailure(), RichEdit::LoadFailure::CannotRead);
}

TEST_F(RichEditBigTest, AFileWrittenOverWhileLoadingEndsTheLoad) {
  // Written anew under the same name (as the report writer does it): the
  // load reads the document it began with to its end.
  const QString path = WriteFile("big.rtf", long_);
  ASSERT_TRUE(edit_.LoadFromFile(path));
  std::remove(path.toLocal8Bit().constData());
  WriteFile("big.rtf", Bytes(test_rtf::SundayDocument()));
  ASSERT_TRUE(edit_.FinishLoading());
  Press(edit_, Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(Shows(QStringLiteral("  День 12000")));

  // Written over in place: what was read stays, and the load says so.
  WriteFile("big.rtf", long_);
  ASSERT_TRUE(edit_.LoadFromFile(path));
  QSignalSpy finished(&edit_, &RichEdit::LoadFinished);
  WriteFile("big.rtf", Bytes(test_rtf::SundayDocument()));
  EXPECT_FALSE(edit_.FinishLoading());
  ASSERT_EQ(finished.size(), 1);
  EXPECT_FALSE(finished[0][0].toBool());
  EXPECT_EQ(edit_.LastLoadFailure(), RichEdit::LoadFailure::FileChanged);
  EXPECT_EQ(TopText(), "  Днесловник");
  EXPECT_FALSE(edit_.SaveToFile(Path("part.rtf")));  // never a part as if it were all
  EXPECT_FALSE(QFile::exists(Path("part.rtf")));
}

}  // namespace
}  // namespace velmar
