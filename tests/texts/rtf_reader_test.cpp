#include "texts/rtf_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "calendar/cp1251.h"
#include "tests/texts/rtf_test_documents.h"
#include "texts/rtf_text.h"

namespace velmar {
namespace {

using test_rtf::Credits;
using test_rtf::Prologue;

constexpr RtfColour kBlack{0, 0, 0};
constexpr RtfColour kRed{255, 0, 0};
constexpr RtfColour kPurple{112, 0, 112};
constexpr RtfColour kDarkRed{128, 0, 0};
constexpr RtfColour kGrey{128, 128, 128};

// A run as the tests compare it: the font by its name.
struct Span {
  std::string text;
  std::string font;
  int halfPoints = 0;
  std::optional<RtfColour> colour;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  friend bool operator==(const Span&, const Span&) = default;
};

void PrintTo(const Span& s, std::ostream* os) {
  *os << "{\"" << s.text << "\" " << s.font << " " << s.halfPoints << " ";
  if (s.colour) *os << int(s.colour->red) << "," << int(s.colour->green) << "," << int(s.colour->blue);
  else *os << "auto";
  *os << (s.bold ? " b" : "") << (s.italic ? " i" : "") << (s.underline ? " u" : "") << "}";
}

std::vector<Span> Spans(const RtfDocument& d, const RtfParagraph& p) {
  std::vector<Span> spans;
  for (const RtfRun& r : p.runs) {
    spans.push_back({r.text, std::string(d.FontName(r.format)), r.format.halfPoints, r.format.colour,
                     r.format.bold, r.format.italic, r.format.underline});
  }
  return spans;
}

std::string Text(const RtfParagraph& p) {
  std::string s;
  for (const RtfRun& r : p.runs) s += r.text;
  return s;
}

const RtfParagraph& Para(const RtfDocument& d, std::size_t block) {
  static const RtfParagraph kNone;
  if (block >= d.blocks.size() || !std::holds_alternative<RtfParagraph>(d.blocks[block])) {
    ADD_FAILURE() << "block " << block << " is not a paragraph";
    return kNone;
  }
  return std::get<RtfParagraph>(d.blocks[block]);
}

const RtfTable& Table(const RtfDocument& d, std::size_t block) {
  static const RtfTable kNone;
  if (block >= d.blocks.size() || !std::holds_alternative<RtfTable>(d.blocks[block])) {
    ADD_FAILURE() << "block " << block << " is not a table";
    return kNone;
  }
  return std::get<RtfTable>(d.blocks[block]);
}

RtfDocument Read(std::string_view bytes, std::vector<RtfProblem>* problems = nullptr) {
  return ReadRtf(bytes, problems);
}

// Reads a document that must have no problems.
RtfDocument ReadClean(std::string_view bytes) {
  std::vector<RtfProblem> problems;
  RtfDocument d = ReadRtf(bytes, &problems);
  for (const RtfProblem& p : problems)
    ADD_FAILURE() << "problem " << RtfProblemName(p.kind) << " at " << p.position;
  return d;
}

const std::string kTimes = "Times New Roman Cyr";
const std::string kCourier = "Courier New Cyr";

// The documents our writers produce

TEST(RtfReaderOurDocuments, PrologueTitleAndCredits) {
  std::string rtf = Prologue();
  rtf += "\n\\b1   "; rtf += "Днесловник"_cp; rtf += "\\b0  с 1 Января 2001 г.\\par"_cp;
  rtf += Credits();
  rtf += "\n}";
  const RtfDocument d = ReadClean(rtf);

  ASSERT_EQ(d.fonts.size(), 4u);
  EXPECT_EQ(d.fonts[0], (RtfFont{"MS Sans Serif", 1, RtfFontFamily::Nil, 0}));
  EXPECT_EQ(d.fonts[1], (RtfFont{"Symbol", 2, RtfFontFamily::Roman, 0}));
  EXPECT_EQ(d.fonts[2], (RtfFont{kTimes, 204, RtfFontFamily::Roman, 2}));
  EXPECT_EQ(d.fonts[3], (RtfFont{kCourier, 204, RtfFontFamily::Modern, 1}));
  EXPECT_EQ(d.defaultTab, 720);

  ASSERT_EQ(d.blocks.size(), 5u);
  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{{"  Днесловник", kTimes, 20, kBlack, true},
                               {" с 1 Января 2001 г.", kTimes, 20, kBlack, false}}));
  EXPECT_EQ(Text(Para(d, 1)), "  Составлено при помощи Днесловник для Windows");
  EXPECT_EQ(Text(Para(d, 2)), "  https://velmar32.example.org/, версия 2.0 pre-release 278");
  std::string rule = "  ";
  for (int i = 0; i < 30; ++i) rule += "—";
  EXPECT_EQ(Text(Para(d, 3)), rule);
  EXPECT_TRUE(Para(d, 4).runs.empty());
  EXPECT_EQ(Para(d, 4).mark.halfPoints, 20);  // an empty line keeps the text size
}

TEST(RtfReaderOurDocuments, FontAndSizeSettingsReachTheText) {
  const RtfDocument d = ReadClean(Prologue("Arial Cyr", 8) + "\nx\\par\n}");
  EXPECT_EQ(Spans(d, Para(d, 0)), (std::vector<Span>{{"x", "Arial Cyr", 8, kBlack}}));
}

TEST(RtfReaderOurDocuments, LegendShowsEverySignInItsFontAndColour) {
  const RtfDocument d = ReadClean(Prologue() + test_rtf::SignLegend() + "\n}");
  struct Row {
    const char* sign;
    std::optional<RtfColour> colour;
    bool bold;
    const char* text;
  };
  const Row rows[] = {
      {" · ", kBlack, false, "Календарное указание или память святого, не имеющего службы"},
      {" • ", kBlack, false, "Совершается рядовая служба (без знака типикона)"},
      {" ш ", kBlack, false, "Совершается служба на шесть"},
      {" c ", kRed, true, "Совершается служба со славословием"},
      {" + ", kRed, false, "Совершается служба с полиелеем"},
      {" +)", kRed, false, "Совершается всенощное бдение"},
      {"(+)", kRed, false, "Совершается великое всенощное бдение"},
  };
  ASSERT_EQ(d.blocks.size(), 10u);
  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{{"  Условные обозначения:", kTimes, 19, kBlack}}));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].text);
    EXPECT_EQ(Spans(d, Para(d, i + 2)),
              (std::vector<Span>{{rows[i].sign, kCourier, 19, rows[i].colour, rows[i].bold},
                                 {std::string("  ") + rows[i].text, kTimes, 19, kBlack}}));
  }
}

TEST(RtfReaderOurDocuments, DayColoursAndSigns) {
  const RtfDocument d = ReadClean(test_rtf::SundayDocument());
  ASSERT_EQ(d.blocks.size(), 7u);
  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{
                {"  Воскресенье, 7 Января 2001 г. (25 Дек ст.ст.)", kTimes, 20, kDarkRed, true}}));
  EXPECT_EQ(Spans(d, Para(d, 1)),
            (std::vector<Span>{{"  Неделя 29-я по Пятидесятнице, глас 4", kTimes, 20, kDarkRed, true}}));
  EXPECT_TRUE(Para(d, 2).runs.empty());
  // A red sign returns to the day colour.
  EXPECT_EQ(Spans(d, Para(d, 3)),
            (std::vector<Span>{{"(+)", kCourier, 20, kRed},
                               {"Рождество Господа Бога и Спаса нашего Иисуса Христа", kTimes, 20, kDarkRed}}));
  EXPECT_EQ(Spans(d, Para(d, 4)),
            (std::vector<Span>{{" + ", kCourier, 20, kRed}, {"Свт. Николая", kTimes, 20, kDarkRed}}));
  // The black signs take the current colour.
  EXPECT_EQ(Spans(d, Para(d, 5)),
            (std::vector<Span>{{" • ", kCourier, 20, kDarkRed}, {"Мц. Анисии", kTimes, 20, kDarkRed}}));
  EXPECT_EQ(Spans(d, Para(d, 6)),
            (std::vector<Span>{{" · ", kCourier, 20, kGrey}, {"Прп. Феодоры", kTimes, 20, kGrey}}));
  EXPECT_EQ(Para(d, 6).mark.colour, kDarkRed);

  std::string lent = Prologue();
  lent += "\n\\cf2\\b1   "; lent += "Вторник, 14 Марта 2000 г."_cp; lent += "\\par\n}";
  const RtfDocument l = ReadClean(lent);
  EXPECT_EQ(Spans(l, Para(l, 0)),
            (std::vector<Span>{{"  Вторник, 14 Марта 2000 г.", kTimes, 20, kPurple, true}}));
}

TEST(RtfReaderOurDocuments, PaschalionTable) {
  const RtfDocument d = ReadClean(test_rtf::PaschalionReport());
  // Title, four lines of credits, an empty line, the table, an empty line,
  // three legend lines and an empty line.
  ASSERT_EQ(d.blocks.size(), 12u);
  const RtfTable& t = Table(d, 6);
  ASSERT_EQ(t.rows.size(), 3u);
  const std::vector<int> edges = {900, 1800, 2700, 3600, 4500, 5400, 6300, 7200, 8100, 9000};
  const std::vector<std::vector<std::string>> texts = {
      {"гг.", "Мыт.", "Мясоп.", "Прощ.", "Ваий", "Пасха", "Преп.", "Возн.", "Пятид.", "П.пост"},
      {"2000", "20 Фв", "5 Мр", "12 Мр", "23 Ап", "30 Ап", "24 Мая", "8 Ин", "18 Ин", "16 дн."},
      {"2001", "4 Фв", "18 Фв", "25 Фв", "8 Ап", "15 Ап", "9 Мая", "24 Мая", "3 Ин", "31 дн."},
  };
  for (std::size_t r = 0; r < 3; ++r) {
    SCOPED_TRACE(r);
    const RtfTableRow& row = t.rows[r];
    EXPECT_EQ(row.cellRightEdges, edges);
    EXPECT_EQ(row.halfGap, 100);
    ASSERT_EQ(row.cells.size(), 10u);
    for (std::size_t c = 0; c < 10; ++c) {
      SCOPED_TRACE(c);
      ASSERT_EQ(row.cells[c].paragraphs.size(), 1u);
      const auto spans = Spans(d, row.cells[c].paragraphs[0]);
      ASSERT_EQ(spans.size(), 1u);
      EXPECT_EQ(spans[0].text, texts[r][c]);
      EXPECT_EQ(spans[0].bold, r == 0 || c == 0);  // the header and the years
      EXPECT_EQ(spans[0].colour, c == 5 ? kRed : kBlack);  // Pascha in red
      EXPECT_EQ(spans[0].halfPoints, 20);
    }
  }
  EXPECT_TRUE(Para(d, 7).runs.empty());
  EXPECT_EQ(Spans(d, Para(d, 8)),
            (std::vector<Span>{{"  ", kTimes, 19, kBlack},
                               {"Мыт.", kTimes, 19, kBlack, true},
                               {" - Неделя о Мытаре и фарисее", kTimes, 19, kBlack}}));
  // "\b Пасха\b  - ..." turns bold on twice: the whole line is bold and red.
  EXPECT_EQ(Spans(d, Para(d, 9)),
            (std::vector<Span>{{"  ", kTimes, 19, kBlack},
                               {"Пасха - Светлое Христово Воскресение", kTimes, 19, kRed, true}}));
}

TEST(RtfReaderOurDocuments, SearchReportMarksTheWord) {
  std::string rtf = Prologue();
  rtf += "\n\\b1   "; rtf += "Поиск в святцах по строке \"Николая\""_cp; rtf += "\\b0\\par";
  rtf += Credits();
  rtf += "\n\\par";
  rtf += "\n  \\b "; rtf += "19 Декабря (6 Декабря ст.ст.)"_cp; rtf += "\\b0\\par";
  rtf += "\\f3\\cf1  + \\cf0\\f2 "; rtf += "Свт. "_cp;
  rtf += "\\cf1 \\b "; rtf += "Николая"_cp; rtf += "\\b0 \\cf0 "; rtf += " Чудотворца"_cp; rtf += "\\par";
  rtf += "\n\\par\n\\par\n  " + test_rtf::EmDashes(32) + "\\par";
  rtf += "\n  "; rtf += "Всего: 1 совпадение\\par"_cp;
  rtf += "\n\\par" + test_rtf::SignLegend() + "\n}";
  const RtfDocument d = ReadClean(rtf);

  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{{"  Поиск в святцах по строке \"Николая\"", kTimes, 20, kBlack, true}}));
  EXPECT_EQ(Text(Para(d, 6)), "  19 Декабря (6 Декабря ст.ст.)");
  EXPECT_EQ(Spans(d, Para(d, 7)),
            (std::vector<Span>{{" + ", kCourier, 20, kRed},
                               {"Свт. ", kTimes, 20, kBlack},
                               {"Николая", kTimes, 20, kRed, true},
                               {" Чудотворца", kTimes, 20, kBlack}}));
  EXPECT_EQ(Text(Para(d, 11)), "  Всего: 1 совпадение");
}

// Hand-written samples

TEST(RtfReaderSamples, GroupsScopeCharacterFormatting) {
  const RtfDocument d = ReadClean("{\\rtf1{\\b bold {\\i both\\ul  under}\\i0  bold}plain\\par}");
  EXPECT_EQ(Spans(d, Para(d, 0)), (std::vector<Span>{{"bold ", "", 24, {}, true},
                                                      {"both", "", 24, {}, true, true},
                                                      {" under", "", 24, {}, true, true, true},
                                                      {" bold", "", 24, {}, true},
                                                      {"plain", "", 24, {}}}));
}

TEST(RtfReaderSamples, ResetsOfPlainAndPard) {
  const RtfDocument d = ReadClean(
      "{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}}{\\colortbl;\\red1\\green2\\blue3;}"
      "\\f1\\fs30\\cf1\\b\\i\\ul\\qc x\\pard y\\plain z\\par"
      "\\b1 a\\b0 b\\ulnone c\\ul0 d\\par}");
  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{{"xy", "B", 30, RtfColour{1, 2, 3}, true, true, true},
                               {"z", "A", 24, {}}}));
  EXPECT_EQ(Para(d, 0).alignment, RtfAlignment::Left);  // \pard came before the \par
  EXPECT_EQ(Spans(d, Para(d, 1)), (std::vector<Span>{{"a", "A", 24, {}, true}, {"bcd", "A", 24, {}}}));

  const RtfDocument c = ReadClean("{\\rtf1\\qc centred\\par\\qr right\\par\\qj just\\par\\ql left\\par}");
  EXPECT_EQ(Para(c, 0).alignment, RtfAlignment::Centre);
  EXPECT_EQ(Para(c, 1).alignment, RtfAlignment::Right);
  EXPECT_EQ(Para(c, 2).alignment, RtfAlignment::Justify);
  EXPECT_EQ(Para(c, 3).alignment, RtfAlignment::Left);
}

TEST(RtfReaderSamples, ControlWordDelimiters) {
  struct Case {
    const char* rtf;
    const char* text;
  } const cases[] = {
      {"{\\rtf1\\b1   Text}", "  Text"},         // one blank ends the word, the rest is text
      {"{\\rtf1\\f3\\cf1  + \\cf0\\f2 x}", " + x"},
      {"{\\rtf1\\fs20x}", "x"},                  // digits end at a letter
      {"{\\rtf1\\li-100 x}", "x"},               // a negative parameter
      {"{\\rtf1 a\\-b}", "ab"},                  // optional hyphen
      {"{\\rtf1 a\\foo42 b\\foo c}", "abc"},     // unknown words vanish with their blank
      {"{\\rtf1 a\\{b\\}c\\\\d}", "a{b}c\\d"},
      {"{\\rtf1 a\\~b\\_c}", "a\u00A0b\u2011c"},
      {"{\\rtf1 a\\line b\\tab c\\emdash\\endash\\bullet}", "a\nb\tc—–•"},
      {"{\\rtf1 \\lquote x\\rquote  \\ldblquote y\\rdblquote}", "‘x’ “y”"},
      {"{\\rtf1 a\r\nb\n\rc}", "abc"},             // line ends are not text
      {"{\\rtf1 a\tb}", "a\tb"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf);
    const RtfDocument d = ReadClean(c.rtf);
    EXPECT_EQ(PlainText(d), std::string(c.text) + "\n");
  }
  // "\<line feed>" is a paragraph mark; \page and \sect end paragraphs too.
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1 a\\\nb\\page c\\sect d}")), "a\nb\nc\nd\n");
}

TEST(RtfReaderSamples, EscapesDecodeByTheFontsCharacterSet) {
  const std::string fonts =
      "{\\fonttbl{\\f0\\fcharset204 Cyr;}{\\f1\\fcharset0 Western;}{\\f2\\fcharset2 Symbol;}"
      "{\\f3\\fcharset204 \xD2\xE5\xF1\xF2;}}";
  const RtfDocument d = ReadClean("{\\rtf1\\ansi\\deff0" + fonts +
                                  "\\'e0\xE1 \\f2\\'b7\xB7 \\f3\\'c6\\par}");
  EXPECT_EQ(Text(Para(d, 0)), "аб ·· Ж");
  EXPECT_EQ(d.fonts[3].name, "Тест");  // a Cyrillic face name
  // Without \ansicpg a Western font reads Windows-1251 as our files do;
  // with \ansicpg1252 it reads Windows-1252.
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1\\ansi" + fonts + "\\f1\\'e9\\'80}")), "йЂ\n");
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1\\ansi\\ansicpg1252" + fonts + "\\f1\\'e9\\'80}")), "é€\n");
  // A Symbol font (\fcharset2) passes the bytes through as Latin-1, whatever
  // the document's code page; an explicit \f0 reads by font 0 also where
  // \deff names another font.
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1\\ansi" + fonts + "\\f2\\'c0\\'e9}")), "Àé\n");
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1\\ansi\\ansicpg1252\\deff1" + fonts + "\\'e9\\f0\\'e9}")), "éй\n");
  // An escape for a control character is dropped, a tab stays.
  EXPECT_EQ(PlainText(ReadClean("{\\rtf1 a\\'1bb\\'09c\\'00}")), "ab\tc\n");
}

TEST(RtfReaderSamples, UnicodeEscapesSkipTheirFallback) {
  struct Case {
    const char* rtf;
    const char* text;
  } const cases[] = {
      {"{\\rtf1 \\u1046?x}", "Жx"},                     // \uc1 by default
      {"{\\rtf1 \\uc2\\u1046??x}", "Жx"},
      {"{\\rtf1 \\uc0\\u1046 x}", "Жx"},
      {"{\\rtf1 \\u1046\\'c6x}", "Жx"},                  // an escape is one fallback byte
      {"{\\rtf1 \\uc2\\u1046\\'c6\\'c6x}", "Жx"},
      {"{\\rtf1 {\\uc3 \\u1046???}\\u1046?x}", "ЖЖx"},   // \uc is scoped by the group
      {"{\\rtf1 \\u1046{x}}", "Жx"},                     // a brace ends the fallback
      {"{\\rtf1 \\uc1\\u-10179?\\u-8704?}", "\U0001F600"},  // a surrogate pair
      {"{\\rtf1 \\u-10179?x}", "\uFFFDx"},                // an unpaired surrogate
      {"{\\rtf1 \\u8212?\\u27?\\u7?}", "—"},              // control characters dropped
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf);
    EXPECT_EQ(PlainText(ReadClean(c.rtf)), std::string(c.text) + "\n");
  }
}

TEST(RtfReaderSamples, IgnorableAndSkippedDestinations) {
  const std::string rtf =
      "{\\rtf1\\ansi{\\*\\generator Writer 1.0;}{\\info{\\title T}{\\author A}}"
      "{\\stylesheet{\\s0 Normal;}}{\\*\\listtable{\\list x}}"
      "{\\header H}{\\footer F}a"
      "{\\*\\unknownthing {nested} text}b"
      "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}"
      "{\\pict\\wmetafile8 0102abcd}{\\pict\\bin4 {}\\}}c"
      "{\\upr{ansi}{\\*\\ud{\\u1046?}}}"
      "{\\*\\bkmkstart m}d"
      "{\\*\\bin1 xe}\\par}";  // \bin is known after \*: its byte is data, the text goes on
  const RtfDocument d = ReadClean(rtf);
  EXPECT_EQ(PlainText(d), "ablinkcЖde\n");
}

TEST(RtfReaderSamples, ColourTables) {
  // An empty first entry is the automatic colour; an index past the table too.
  const RtfDocument d = ReadClean(
      "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue0;}"
      "\\cf0 a\\cf1 b\\cf2 c\\cf9 d\\par}");
  EXPECT_EQ(Spans(d, Para(d, 0)),
            (std::vector<Span>{{"a", "", 24, {}}, {"b", "", 24, kRed}, {"c", "", 24, kBlack},
                               {"d", "", 24, {}}}));
}

TEST(RtfReaderSamples, FontTableWithoutGroupsAndDefaultFont) {
  const RtfDocument d = ReadClean(
      "{\\rtf1\\deff1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}"
      "a{\\f0 b}\\f7 c\\plain d\\par}");
  // Without \deff the default font is font 0.
  const RtfDocument noDeff = ReadClean("{\\rtf1{\\fonttbl{\\f1 One;}{\\f0 Zero;}}a\\par}");
  EXPECT_EQ(Spans(noDeff, Para(noDeff, 0)), (std::vector<Span>{{"a", "Zero", 24, {}}}));
  ASSERT_EQ(d.fonts.size(), 2u);
  EXPECT_EQ(Spans(d, Para(d, 0)), (std::vector<Span>{{"a", "Courier", 24, {}},
                                                      {"b", "Helvetica", 24, {}},
                                                      {"c", "", 24, {}},
                                                      {"d", "Courier", 24, {}}}));
}

TEST(RtfReaderSamples, TablesOfOtherWriters) {
  // Each row with its own definition; a cell of two paragraphs; an empty
  // cell; a paragraph after the table; a second table.
  const RtfDocument d = ReadClean(
      "{\\rtf1 before\\par"
      "\\trowd\\trgaph50\\trleft100\\cellx1100\\cellx2100\\pard\\intbl a\\par b\\cell c\\cell\\row"
      "\\trowd\\cellx500\\pard\\intbl\\cell\\row"
      "\\pard after\\par"
      "\\trowd\\cellx900\\intbl x\\cell\\row}");
  ASSERT_EQ(d.blocks.size(), 4u);
  EXPECT_EQ(Text(Para(d, 0)), "before");
  const RtfTable& t = Table(d, 1);
  ASSERT_EQ(t.rows.size(), 2u);
  EXPECT_EQ(t.rows[0].cellRightEdges, (std::vector<int>{1000, 2000}));  // from \trleft
  EXPECT_EQ(t.rows[0].halfGap, 50);
  ASSERT_EQ(t.rows[0].cells.size(), 2u);
  ASSERT_EQ(t.rows[0].cells[0].paragraphs.size(), 2u);
  EXPECT_EQ(Text(t.rows[0].cells[0].paragraphs[0]), "a");
  EXPECT_EQ(Text(t.rows[0].cells[0].paragraphs[1]), "b");
  EXPECT_EQ(Text(t.rows[0].cells[1].paragraphs[0]), "c");
  EXPECT_EQ(t.rows[1].cellRightEdges, (std::vector<int>{500}));
  ASSERT_EQ(t.rows[1].cells.size(), 1u);
  EXPECT_TRUE(t.rows[1].cells[0].paragraphs[0].runs.empty());
  EXPECT_EQ(Text(Para(d, 2)), "after");
  EXPECT_EQ(Table(d, 3).rows.size(), 1u);
  EXPECT_EQ(PlainText(d), "before\na b\tc\n\nafter\nx\n");
}

// Robustness

TEST(RtfReaderRobustness, DataThatIsNotRtfReadsAsPlainText) {
  std::vector<RtfProblem> problems;
  std::string bytes = "Hello\r\n";
  bytes += "Мир\rthird\n\nlast"_cp;
  const RtfDocument d = Read(bytes, &problems);
  EXPECT_EQ(PlainText(d), "Hello\nМир\nthird\n\nlast\n");
  EXPECT_EQ(problems, (std::vector<RtfProblem>{{0, RtfProblemKind::NotRtf}}));
  EXPECT_TRUE(Read("").blocks.empty());
  // Leading line ends before "{\rtf" are fine.
  EXPECT_EQ(PlainText(ReadClean("\r\n {\\rtf1 x}")), "x\n");
}

TEST(RtfReaderRobustness, ProblemsCarryTheirPositions) {
  struct Case {
    std::string rtf;
    std::string text;
    std::vector<RtfProblem> problems;
  };
  using K = RtfProblemKind;
  const Case cases[] = {
      {"{\\rtf1 a", "a", {{8, K::UnclosedGroup}}},
      {"{\\rtf1 a}}x", "a", {{9, K::TrailingData}}},
      {"{\\rtf1 a}\r\n\0", "a", {}},
      {"{\\rtf1 a\\'4gb}", "agb", {{8, K::BadHexEscape}}},
      {"{\\rtf1 a\\'}", "a", {{8, K::BadHexEscape}}},
      {"{\\rtf1 a\\'4", "a", {{8, K::BadHexEscape}, {11, K::UnclosedGroup}}},
      {"{\\rtf1 {\\pict\\bin99 xx}}", "", {{13, K::BadBinary}, {24, K::UnclosedGroup}}},
      {"{\\rtf1 a\\bin0 b}", "ab", {}},  // no bytes of binary data: the text goes on
      {std::string("{\\rtf1 a\0b\x01}", 12), "ab", {{8, K::ControlByte}, {10, K::ControlByte}}},
      {"{\\rtf1 \\abcdefghijklmnopqrstuvwxyzabcdefghij x}", "x", {{7, K::ControlWordTooLong}}},
      {"{\\rtf1 \\fs123456789012 x}", "x", {{7, K::ControlWordTooLong}}},
      {"{\\rtf1\\trowd\\cellx100\\intbl a\\cell\\pard b\\par}", "a\nb",
       {{41, K::UnfinishedRow}}},
      {"{\\rtf1\\intbl a\\cell b", "a\tb", {{21, K::UnclosedGroup}, {21, K::UnfinishedRow}}},
      {"{\\rtf1 a\\", "a", {{9, K::UnclosedGroup}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf);
    std::vector<RtfProblem> problems;
    const RtfDocument d = Read(c.rtf, &problems);
    EXPECT_EQ(PlainText(d), c.text.empty() ? "" : c.text + "\n");
    EXPECT_EQ(problems, c.problems);
  }
}

TEST(RtfReaderRobustness, DeepNestingIsCapped) {
  const int depth = 100000;
  std::string rtf = "{\\rtf1 ";
  rtf += std::string(depth, '{') + "\\b x" + std::string(depth, '}') + "y}";
  std::vector<RtfProblem> problems;
  const RtfDocument d = Read(rtf, &problems);
  EXPECT_EQ(PlainText(d), "xy\n");
  // The root group is level 1; the brace that would open level 1001 is the
  // first one ignored.
  EXPECT_EQ(problems, (std::vector<RtfProblem>{{7 + 999, RtfProblemKind::TooDeep}}));
  // Formatting inside the ignored levels stays with the deepest real group.
  EXPECT_TRUE(Para(d, 0).runs.at(0).format.bold);
  EXPECT_FALSE(Para(d, 0).runs.at(1).format.bold);
}

// Every cut of a valid document reads without crashing, reports a problem
// within the cut, and its text is the start of the whole document's text.
void CheckEveryTruncation(const std::string& rtf) {
  const std::string full = PlainText(ReadClean(rtf));
  for (std::size_t length = 0; length < rtf.size(); ++length) {
    std::vector<RtfProblem> problems;
    const RtfDocument d = Read(std::string_view(rtf).substr(0, length), &problems);
    if (length == 0) continue;
    ASSERT_FALSE(problems.empty()) << "cut at " << length;
    for (const RtfProblem& p : problems) ASSERT_LE(p.position, length) << "cut at " << length;
    if (length < 5) continue;  // too short to be recognised as RTF
    std::string text = PlainText(d);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    ASSERT_EQ(full.substr(0, text.size()), text) << "cut at " << length;
  }
}

TEST(RtfReaderRobustness, EveryTruncationOfOurDocuments) {
  CheckEveryTruncation(test_rtf::PaschalionReport());
  CheckEveryTruncation(test_rtf::SundayDocument());
}

TEST(RtfReaderRobustness, GarbageNeverBreaksTheReader) {
  std::mt19937 random(20010107);
  const std::string alphabet = "{}\\'*abcdefu0123456789- ;\x97\xE0\x00\r\n";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = round % 2 ? "{\\rtf1" : "";
    const std::size_t length = random() % 400;
    for (std::size_t i = 0; i < length; ++i) {
      // Half the rounds draw from RTF's own characters, half from all bytes.
      bytes += round % 4 < 2 ? alphabet[random() % (alphabet.size() + 1)]
                             : static_cast<char>(random() % 256);
    }
    std::vector<RtfProblem> problems;
    const RtfDocument d = Read(bytes, &problems);
    for (const RtfProblem& p : problems) ASSERT_LE(p.position, bytes.size()) << round;
    (void)RenderRtfForTerminal(d, true);
  }
}

TEST(RtfReaderRobustness, ProblemListIsBounded) {
  std::string rtf = "{\\rtf1 " + std::string(5000, '\x01') + "x}";
  std::vector<RtfProblem> problems;
  const RtfDocument d = Read(rtf, &problems);
  EXPECT_EQ(PlainText(d), "x\n");
  ASSERT_EQ(problems.size(), kRtfMaxProblems + 1);
  EXPECT_EQ(problems.back().kind, RtfProblemKind::TooManyProblems);
  EXPECT_EQ(problems.front(), (RtfProblem{7, RtfProblemKind::ControlByte}));
}

TEST(RtfReaderFile, ReadsAFileAndRefusesWhatItCannot) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("velmar_rtf_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "day.rtf").string();
  std::ofstream(path, std::ios::binary) << test_rtf::SundayDocument();

  std::vector<RtfProblem> problems;
  const auto d = ReadRtfFile(path, &problems);
  ASSERT_TRUE(d.has_value());
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(d->blocks.size(), 7u);

  EXPECT_FALSE(ReadRtfFile((dir / "missing.rtf").string(), &problems).has_value());
  EXPECT_EQ(problems.back().kind, RtfProblemKind::CannotRead);
  EXPECT_FALSE(ReadRtfFile(dir.string(), &problems).has_value());
  EXPECT_EQ(problems.back().kind, RtfProblemKind::CannotRead);
  EXPECT_FALSE(ReadRtfFile(path, &problems, 100).has_value());
  EXPECT_EQ(problems.back().kind, RtfProblemKind::TooLarge);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velmar
