// The readings of the day pages open their text: a double click on a
// reading's paragraph, or «Читать» in the text's menu (enabled on a reading
// only), shows the reading window with the entry as the page prints it and
// the verses from Debian's KJV module; without any Bible module the window
// says what to install; the Bible chosen is kept for the next time.
#include "app/reading_window.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_window.h"
#include "app/reading_links.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/ui_test_support.h"
#include "texts/scripture_text.h"
#include "widgets/ccalendar.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

namespace fs = std::filesystem;
using testing::Workspace;

constexpr const char* kDebianSword = "/usr/share/sword";

// Writes a database file from UTF-8 lines, in Windows-1251 with CR LF.
void WriteDatabaseFile(const fs::path& path, const std::string& utf8) {
  std::string bytes;
  for (const char c : Utf8ToCp1251(utf8)) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

// The viewport point of the middle of the first paragraph of a text that
// holds wanted, scrolled into view; (-1, -1) when there is none.
QPoint ParagraphPoint(RichEdit* text, const QString& wanted) {
  for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
    if (!block.text().contains(wanted)) continue;
    QTextCursor cursor(block);
    text->setTextCursor(cursor);
    text->ensureCursorVisible();
    const QRectF rect = text->document()->documentLayout()->blockBoundingRect(block);
    return QPoint(static_cast<int>(rect.left()) + 40, static_cast<int>(rect.center().y())) -
           QPoint(text->horizontalScrollBar()->value(), text->verticalScrollBar()->value());
  }
  return {-1, -1};
}

// Whether «Читать» is enabled in the menu opened at a point of a text.
bool ReadEnabledAt(TForm1& form, RichEdit* text, const QPoint& at) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, text->viewport()->mapToGlobal(at));
  QApplication::sendEvent(text->viewport(), &event);
  const bool shown = form.PopupMenu3->isVisible();
  const bool enabled = form.Readings->ReadAction->isEnabled();
  form.PopupMenu3->hide();
  EXPECT_TRUE(shown);
  return enabled;
}

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// Pascha 2024 (5 May) reads Acts and John at the Liturgy and, in the
// evening, Psalm 50 (Synodal numbers: KJV Psalm 51), Psalm 151 and Wisdom,
// which the KJV hasn't.
class ReadingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(fs::path(kDebianSword) / "mods.d" / "engKJV2006eb.conf"))
        << "the tests read Debian's sword-text-kjv: run scripts/deps.sh";
    const fs::path dbase = space.program() / "dbase";
    // Tables of the test's own only.
    fs::remove(dbase / "ReadingsSpecial.db");
    fs::remove(dbase / "ReadingsMenaion.db");
    WriteDatabaseFile(dbase / "Zachala.db", "[Ап.]\n1=Деян. 1:1-8\n[Ин.]\n1=1:1-17\n");
    WriteDatabaseFile(dbase / "Readings.db", "[+0] Пасха\nАп=Деян. 1\nЕв=Ин. 1\nВеч=Пс. 50:3-5; Пс. 151:1-3\nВеч=Прем. 3:1-2\n");
    SetScriptureFolder(kDebianSword);
  }
  void TearDown() override { SetScriptureFolder(std::nullopt); }

  Workspace space{{4, 5, 2024}};  // Holy Saturday: Tomorrow is Pascha
  lumora::FakeTrayShell tray;
};

TEST_F(ReadingWindowTest, ADoubleClickOnAReadingOpensItsText) {
  TForm1 form(&tray);
  form.show();
  form.CCalendar1->SetDate(2024, 5, 5);
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  const QString liturgy = Utf8("Ап.: Деян., 1 зач., I, 1–8. Ев.: Ин., 1 зач., I, 1–17.");
  const QPoint at = ParagraphPoint(form.RichEdit3, liturgy);
  ASSERT_NE(at, QPoint(-1, -1)) << form.RichEdit3->toPlainText().toStdString();
  QTest::mouseDClick(form.RichEdit3->viewport(), Qt::LeftButton, {}, at);
  ReadingWindow* window = form.Readings->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->windowTitle(), Utf8("Чтение - Днесловник"));
  EXPECT_EQ(window->Heading->text().toStdString(), liturgy.toStdString());
  EXPECT_EQ(window->DateLabel->text(), Utf8("Воскресенье, 5 Мая 2024 года"));
  EXPECT_EQ(window->ShownBible(), "engKJV2006eb");
  const QString text = window->Text->toPlainText();
  const qsizetype acts = text.indexOf(Utf8("Апостол: Деян., 1 зач., I, 1–8"));
  const qsizetype john = text.indexOf(Utf8("Евангелие: Ин., 1 зач., I, 1–17"));
  EXPECT_GE(acts, 0) << text.toStdString();
  EXPECT_GT(john, acts) << text.toStdString();
  EXPECT_TRUE(text.contains(Utf8("1 The former treatise have I made"))) << text.toStdString();
  EXPECT_TRUE(text.contains(Utf8("1 In the beginning was the Word"))) << text.toStdString();
  EXPECT_TRUE(text.contains(Utf8("17 For the law was given by Moses"))) << text.toStdString();
  EXPECT_FALSE(text.contains(Utf8("\n18 "))) << text.toStdString();

  // The evening's psalms: KJV numbers, said so, and what the KJV hasn't.
  const QPoint vespers = ParagraphPoint(form.RichEdit3, Utf8("На веч.:"));
  ASSERT_NE(vespers, QPoint(-1, -1));
  QTest::mouseDClick(form.RichEdit3->viewport(), Qt::LeftButton, {}, vespers);
  EXPECT_EQ(window->Heading->text().toStdString(), "На веч.: Пс., L, 3–5; Пс., CLI, 1–3. Прем., III, 1–2.");
  const QString psalms = window->Text->toPlainText();
  EXPECT_TRUE(psalms.contains(Utf8("В нумерации этой Библии: 51:1–3."))) << psalms.toStdString();
  EXPECT_TRUE(psalms.contains(Utf8("1 Have mercy upon me, O God"))) << psalms.toStdString();
  EXPECT_TRUE(psalms.contains(Utf8("Стихи 151:1–3 не найдены в этой Библии."))) << psalms.toStdString();
  EXPECT_TRUE(psalms.contains(Utf8("В этой Библии нет книги «Прем.»"))) << psalms.toStdString();

  // The Tomorrow page is Pascha too.
  window->close();
  form.PageControl1->setCurrentWidget(form.TabSheet2);
  const QPoint tomorrow = ParagraphPoint(form.RichEdit2, liturgy);
  ASSERT_NE(tomorrow, QPoint(-1, -1)) << form.RichEdit2->toPlainText().toStdString();
  QTest::mouseDClick(form.RichEdit2->viewport(), Qt::LeftButton, {}, tomorrow);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Heading->text().toStdString(), liturgy.toStdString());
  EXPECT_TRUE(space.Messages().empty()) << ::testing::PrintToString(space.Messages());
}

TEST_F(ReadingWindowTest, ReadIsEnabledOnAReadingOnly) {
  TForm1 form(&tray);
  form.show();
  form.CCalendar1->SetDate(2024, 5, 5);
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.PopupMenu3->actions().back(), form.Readings->ReadAction);
  EXPECT_EQ(form.Readings->ReadAction->text(), Utf8("&Читать"));

  const QPoint title = ParagraphPoint(form.RichEdit3, Utf8("2024 г."));
  ASSERT_NE(title, QPoint(-1, -1)) << form.RichEdit3->toPlainText().toStdString();
  EXPECT_FALSE(ReadEnabledAt(form, form.RichEdit3, title));
  const QPoint reading = ParagraphPoint(form.RichEdit3, Utf8("Ап.: Деян."));
  EXPECT_TRUE(ReadEnabledAt(form, form.RichEdit3, reading));
  form.Readings->ReadAction->trigger();
  ASSERT_NE(form.Readings->Window(), nullptr);
  EXPECT_TRUE(form.Readings->Window()->isVisible());
  EXPECT_EQ(form.Readings->Window()->Heading->text(), Utf8("Ап.: Деян., 1 зач., I, 1–8. Ев.: Ин., 1 зач., I, 1–17."));
  // Below the last paragraph, and a day without readings (Holy Saturday
  // here: Today's page).
  const int below = static_cast<int>(form.RichEdit3->document()->size().height()) + 20 -
                    form.RichEdit3->verticalScrollBar()->value();
  EXPECT_FALSE(form.Readings->ReadingAt(ViewKind::Calendar, QPoint(40, below)).has_value());
  form.PageControl1->setCurrentWidget(form.TabSheet1);
  EXPECT_FALSE(ReadEnabledAt(form, form.RichEdit1, QPoint(40, 10)));
  // A double click elsewhere selects a word, as before.
  form.Readings->Window()->close();
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  QTest::mouseDClick(form.RichEdit3->viewport(), Qt::LeftButton, {}, title);
  EXPECT_FALSE(form.Readings->Window()->isVisible());
  EXPECT_FALSE(form.RichEdit3->textCursor().selectedText().isEmpty());
}

TEST_F(ReadingWindowTest, WithoutABibleTheWindowSaysWhatToInstall) {
  const fs::path empty = space.program() / "no-sword";
  fs::create_directories(empty);
  SetScriptureFolder(empty.string());
  TForm1 form(&tray);
  form.show();
  form.CCalendar1->SetDate(2024, 5, 5);
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QPoint at = ParagraphPoint(form.RichEdit3, Utf8("Ап.: Деян."));
  QTest::mouseDClick(form.RichEdit3->viewport(), Qt::LeftButton, {}, at);
  ReadingWindow* window = form.Readings->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->ShownBible(), "");
  EXPECT_FALSE(window->BibleBox->isVisibleTo(window));
  const QString text = window->Text->toPlainText();
  for (const char* part : {"Библия для чтения не установлена", "RusSynodal", "CSlElizabeth", "BibleTime", "Xiphos",
                           "sudo apt install sword-text-kjv"})
    EXPECT_TRUE(text.contains(Utf8(part))) << part << "\n" << text.toStdString();
}

// Two Bibles: the Russian-language one is offered first; the user's choice
// is kept in Bible.ini and taken the next time.
TEST_F(ReadingWindowTest, TheChosenBibleIsKept) {
  const fs::path dir = space.program() / "sword";
  fs::create_directories(dir / "mods.d");
  fs::create_directory_symlink(fs::path(kDebianSword) / "modules", dir / "modules");
  fs::copy_file(fs::path(kDebianSword) / "mods.d" / "engKJV2006eb.conf", dir / "mods.d" / "engKJV2006eb.conf");
  std::ofstream(dir / "mods.d" / "rukjv.conf")
      << "[RuKJV]\nDescription=Russian test\nDataPath=./modules/texts/ztext/engKJV2006eb/\nModDrv=zText\n"
         "SourceType=OSIS\nEncoding=UTF-8\nCompressType=ZIP\nBlockType=BOOK\nLang=ru\nVersification=KJV\n";
  SetScriptureFolder(dir.string());

  ReadingWindow window;
  ReadingEntry entry;
  entry.text = Utf8ToCp1251("Ев.: Ин., 1 зач., I, 1–17.");
  ScripturePiece piece;
  piece.book = FindBibleBook(Utf8ToCp1251("Ин."));
  piece.zachalo = 1;
  piece.spans = {{1, 1, 1, 2}};
  entry.readings.push_back({ReadingSlot::Gospel, {piece}});
  window.ShowReading({5, 5, 2024}, entry);
  EXPECT_EQ(window.ShownBible(), "RuKJV");
  EXPECT_EQ(window.BibleBox->count(), 2);
  EXPECT_TRUE(window.BibleBox->isEnabled());
  EXPECT_EQ(window.BibleBox->itemText(0), "Russian test (RuKJV)");
  window.BibleBox->setCurrentIndex(1);
  EXPECT_EQ(window.ShownBible(), "engKJV2006eb");
  EXPECT_TRUE(window.Text->toPlainText().contains(Utf8("2 The same was in the beginning with God.")));
  EXPECT_NE(testing::ReadBytes(ReadingWindow::ChoiceFilePath()).find("Bible=engKJV2006eb\r\n"), std::string::npos);

  ReadingWindow again;
  again.ShowReading({5, 5, 2024}, entry);
  EXPECT_EQ(again.ShownBible(), "engKJV2006eb");
}

// The Today page's year: the one that puts its day nearest to today.
TEST(ShownDate, TakesTheYearNearestToToday) {
  struct Row {
    int day, month;
    CivilDate today, expected;
  };
  const Row rows[] = {
      {5, 5, {5, 5, 2024}, {5, 5, 2024}},
      {31, 12, {1, 1, 2025}, {31, 12, 2024}},  // the page not refilled yet after New Year
      {1, 1, {31, 12, 2024}, {1, 1, 2025}},
      {29, 2, {1, 3, 2025}, {29, 2, 2024}},    // no 29 February in 2025
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.day) + "." + std::to_string(r.month));
    EXPECT_EQ(ShownDate(r.day, r.month, r.today), r.expected);
  }
}

}  // namespace
}  // namespace velmar
