// The vocabulary of the RTF reader, word by word: the destinations it
// skips, the words that underline, the characters it knows by name, the
// font families and code pages, and the limits of a control word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/cp1251.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"

namespace velmar {
namespace {

std::string Plain(const std::string& rtf) { return PlainText(ReadRtf(rtf)); }

const RtfParagraph& First(const RtfDocument& d) {
  static const RtfParagraph kNone;
  if (d.blocks.empty() || !std::holds_alternative<RtfParagraph>(d.blocks[0])) {
    ADD_FAILURE() << "no paragraph first";
    return kNone;
  }
  return std::get<RtfParagraph>(d.blocks[0]);
}

// Groups of these destinations never show their text, with or without \*.
TEST(RtfReaderWords, SkippedDestinations) {
  const char* const names[] = {
      "aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atnid", "author",
      "bkmkend", "bkmkstart", "category", "colorschememapping", "comment", "company",
      "datastore", "docvar", "doccomm", "falt", "filetbl", "fldinst", "fontemb",
      "fontfile", "footer", "footerf", "footerl", "footerr", "footnote", "ftncn",
      "ftnsep", "ftnsepc", "generator", "header", "headerf", "headerl", "headerr",
      "info", "keywords", "latentstyles", "listoverridetable", "listtable", "manager",
      "mmathPr", "nesttableprops", "nonshppict", "object", "objdata", "operator",
      "panose", "pgptbl", "pict", "pn", "pntxta", "pntxtb", "private",
      "protusertbl", "revtbl", "rsidtbl", "rxe", "shp", "shpinst", "shppict",
      "stylesheet", "subject", "tc", "template", "themedata", "title", "txe",
      "userprops", "wgrffmtfilter", "xe", "xmlnstbl"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Plain(std::string("{\\rtf1 a{\\") + name + " hidden {\\b more} text}b\\par}"), "ab\n");
  }
  // A word that isn't a destination leaves the group's text alone.
  EXPECT_EQ(Plain("{\\rtf1 a{\\fldrslt shown}b\\par}"), "ashownb\n");
  // Symbols in a skipped group neither show nor end a paragraph.
  EXPECT_EQ(Plain("{\\rtf1 a{\\info{\\title x\\\ny\\~z\\{}}b\\par}"), "ab\n");
  EXPECT_EQ(Plain("{\\rtf1 a{\\*\\unknown x\\\r\\par y}b\\par}"), "ab\n");
}

TEST(RtfReaderWords, UnderlineWords) {
  const char* const names[] = {"ul",      "uld",      "uldash",    "uldashd",    "uldashdd",
                               "uldb",    "ulhwave",  "ulldash",   "ulth",       "ulthd",
                               "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave",
                               "ulw",     "ulwave"};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const RtfDocument d = ReadRtf(std::string("{\\rtf1 {\\") + name + " u}\\" + name + "0 n\\" + name +
                                  " u\\ulnone n\\par}");
    const auto& runs = First(d).runs;
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_TRUE(runs[0].format.underline);
    EXPECT_FALSE(runs[1].format.underline);
    EXPECT_TRUE(runs[2].format.underline);
    EXPECT_FALSE(runs[3].format.underline);
  }
}

TEST(RtfReaderWords, CharactersByName) {
  struct Row { const char* word; const char* text; };
  const Row rows[] = {
      {"emdash", "\u2014"},    {"endash", "\u2013"},    {"emspace", "\u2003"},
      {"enspace", "\u2002"},   {"qmspace", "\u2005"},   {"bullet", "\u2022"},
      {"lquote", "\u2018"},    {"rquote", "\u2019"},    {"ldblquote", "\u201C"},
      {"rdblquote", "\u201D"}, {"tab", "\t"},           {"line", "\n"},
      {"softline", "\n"},      {"nestcell", "\t"},      {"nestrow", "\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.word);
    EXPECT_EQ(Plain(std::string("{\\rtf1 a\\") + r.word + " b\\par}"), std::string("a") + r.text + "b\n");
  }
  EXPECT_EQ(Plain("{\\rtf1 a\\page b\\sect c\\par}"), "a\nb\nc\n");
}

TEST(RtfReaderWords, FontTableEntries) {
  const RtfDocument d = ReadRtf(
      "{\\rtf1{\\fonttbl{\\f0\\fnil A;}{\\f1\\froman\\fprq2 B;}{\\f2\\fswiss\\fprq1 C;}"
      "{\\f3\\fmodern\\fprq7 D;}{\\f4\\fscript\\fprq-1 E;}{\\f5\\fdecor F;}{\\f6\\ftech G;}"
      "{\\f7 \\u1046?\\'d2est;}{\\f8\\fcharset204   Spaced  Name  ;}}x\\par}");
  const std::vector<RtfFont> fonts = {
      {"A", 1, RtfFontFamily::Nil, 0},    {"B", 1, RtfFontFamily::Roman, 2},
      {"C", 1, RtfFontFamily::Swiss, 1},  {"D", 1, RtfFontFamily::Modern, 2},
      {"E", 1, RtfFontFamily::Script, 0}, {"F", 1, RtfFontFamily::Decor, 0},
      {"G", 1, RtfFontFamily::Tech, 0},   {"ЖТest", 1, RtfFontFamily::Nil, 0},
      {"Spaced  Name", 204, RtfFontFamily::Nil, 0},
  };
  EXPECT_EQ(d.fonts, fonts);
  // A font still open when its group closes is kept, even when that group
  // is the document's own.
  EXPECT_EQ(ReadRtf("{\\rtf1{\\fonttbl{\\f0 Open}}x}").fonts,
            (std::vector<RtfFont>{{"Open", 1, RtfFontFamily::Nil, 0}}));
  EXPECT_EQ(ReadRtf("{\\rtf1\\fonttbl\\f0 Open}").fonts,
            (std::vector<RtfFont>{{"Open", 1, RtfFontFamily::Nil, 0}}));
}

// Which code page decodes a byte: the font's \cpg, else its character set,
// else the document's \ansicpg (Windows-1251, our own, without one).
TEST(RtfReaderWords, CodePagesOfFonts) {
  const std::string fonts =
      "{\\fonttbl{\\f0\\fcharset204\\cpg1252 Both;}{\\f1\\fcharset204 Cyr;}{\\f2\\cpg1251 Page;}"
      "{\\f3 Plain;}}";
  EXPECT_EQ(Plain("{\\rtf1\\ansicpg1252" + fonts + "\\f0\\'e9\\f1\\'e9\\f2\\'e9\\f3\\'e9\\par}"),
            "éййé\n");
  EXPECT_EQ(Plain("{\\rtf1" + fonts + "\\f3\\'e9\\par}"), "й\n");
  // Without \deff the default font is font 0; \deff without a number too.
  EXPECT_EQ(Plain("{\\rtf1" + fonts + "\\'e9\\par}"), "é\n");
  EXPECT_EQ(Plain("{\\rtf1\\deff" + fonts + "\\'e9\\par}"), "é\n");
  EXPECT_EQ(Plain("{\\rtf1\\deff1" + fonts + "\\'e9\\par}"), "й\n");
}

// The upper half of Windows-1252 under \ansicpg1252: 0x80..0x9F one by one,
// the rest Latin-1.
TEST(RtfReaderWords, Windows1252) {
  const char* const c1[32] = {
      "€", "\uFFFD", "‚", "ƒ", "„", "…", "†", "‡", "ˆ", "‰", "Š", "‹", "Œ", "\uFFFD", "Ž", "\uFFFD",
      "\uFFFD", "‘", "’", "“", "”", "•", "–", "—", "˜", "™", "š", "›", "œ", "\uFFFD", "ž", "Ÿ"};
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252 ";
  std::string expected;
  for (int b = 0x80; b < 0xA0; ++b) {
    rtf += static_cast<char>(b);
    expected += c1[b - 0x80];
  }
  rtf += "\xA0\xE9\xFF\\par}";
  expected += "\u00A0éÿ\n";
  EXPECT_EQ(Plain(rtf), expected);
}

TEST(RtfReaderWords, LimitsOfAControlWord) {
  using K = RtfProblemKind;
  struct Case { std::string rtf; int halfPoints; std::vector<RtfProblem> problems; };
  const Case cases[] = {
      {"{\\rtf1\\fs1234567890 x}", 3276, {}},                       // ten digits
      {"{\\rtf1\\fs12345678901 x}", 3276, {{6, K::ControlWordTooLong}}},
      {"{\\rtf1\\fs-5 x}", 24, {}},
      {"{\\rtf1\\fs0 x}", 24, {}},
      {"{\\rtf1\\fs x}", 24, {}},
      {"{\\rtf1\\fs3276 x}", 3276, {}},
      {"{\\rtf1\\fs1 x}", 1, {}},
      {"{\\rtf1\\" + std::string(32, 'q') + " x}", 24, {}},
      {"{\\rtf1\\" + std::string(33, 'q') + " x}", 24, {{6, K::ControlWordTooLong}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rtf);
    std::vector<RtfProblem> problems;
    const RtfDocument d = ReadRtf(c.rtf, &problems);
    ASSERT_EQ(First(d).runs.size(), 1u);
    EXPECT_EQ(First(d).runs[0].format.halfPoints, c.halfPoints);
    EXPECT_EQ(problems, c.problems);
  }
}

TEST(RtfReaderWords, DefaultTab) {
  struct Row { const char* word; int tab; };
  const Row rows[] = {{"", 720}, {"\\deftab360", 360}, {"\\deftab1", 1}, {"\\deftab0", 720},
                      {"\\deftab-5", 720}, {"\\deftab", 720}, {"\\deftab40000", 32767}};
  for (const Row& r : rows) EXPECT_EQ(ReadRtf(std::string("{\\rtf1") + r.word + " x}").defaultTab, r.tab) << r.word;
}

// The paragraph the document's closing brace ends keeps the document's own
// alignment, size and table state, as a \par would.
TEST(RtfReaderWords, LastParagraphWithoutPar) {
  const RtfDocument d = ReadRtf("{\\rtf1\\qc\\fs40 Centred}");
  EXPECT_EQ(First(d).alignment, RtfAlignment::Centre);
  EXPECT_EQ(First(d).mark.halfPoints, 40);
  std::vector<RtfProblem> problems;
  const RtfDocument t = ReadRtf("{\\rtf1\\trowd\\cellx100\\intbl a\\cell b}", &problems);
  ASSERT_EQ(t.blocks.size(), 1u);
  const auto& row = std::get<RtfTable>(t.blocks[0]).rows.at(0);
  ASSERT_EQ(row.cells.size(), 2u);
  EXPECT_EQ(PlainText(t), "a\tb\n");
  EXPECT_EQ(problems, (std::vector<RtfProblem>{{37, RtfProblemKind::UnfinishedRow}}));  // the end
}

TEST(RtfReaderWords, ProblemNames) {
  using K = RtfProblemKind;
  struct Row { K kind; const char* name; };
  const Row rows[] = {
      {K::NotRtf, "not RTF, read as plain text"},
      {K::UnclosedGroup, "unclosed group"},
      {K::TooDeep, "groups nested too deep"},
      {K::BadHexEscape, "bad hex escape"},
      {K::BadBinary, "bad binary data length"},
      {K::ControlWordTooLong, "control word too long"},
      {K::ControlByte, "control byte in text"},
      {K::UnfinishedRow, "unfinished table row"},
      {K::TrailingData, "data after the end of the document"},
      {K::TooLarge, "document too large"},
      {K::TooManyProblems, "too many problems"},
      {K::CannotRead, "cannot read the file"},
      {static_cast<K>(99), "unknown problem"},
  };
  for (const Row& r : rows) EXPECT_EQ(RtfProblemName(r.kind), r.name);
}

// A document past kRtfMaxElements is read up to there; the problem stands
// at the text that would have made one element too many.
TEST(RtfReaderWords, TooLargeStopsAtTheElementPastTheLimit) {
  std::string rtf = "{\\rtf1 ";
  rtf.reserve(kRtfMaxElements * 5 + 100);
  for (std::size_t i = 1; i < kRtfMaxElements; ++i) rtf += "\\par";
  rtf += " a\\b b\\b0 c}";
  std::vector<RtfProblem> problems;
  const RtfDocument d = ReadRtf(rtf, &problems);
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].kind, RtfProblemKind::TooLarge);
  EXPECT_EQ(problems[0].position, rtf.size() - 7);  // the "b"
  EXPECT_EQ(d.blocks.size(), kRtfMaxElements);
}

}  // namespace
}  // namespace velmar
