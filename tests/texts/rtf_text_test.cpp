#include "texts/rtf_text.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/cp1251.h"
#include "tests/texts/rtf_test_documents.h"
#include "texts/rtf_reader.h"

namespace velmar {
namespace {

// Renders Windows-1251 RTF bytes.
std::string Render(std::string_view rtf, bool ansi) {
  return RenderRtfForTerminal(ReadRtf(rtf), ansi);
}

TEST(RtfTerminalText, TableColumnsAlignByDisplayWidth) {
  std::string rtf = "{\\rtf1\\trowd\\cellx900\\cellx1800\\cellx2700\\pard";
  rtf += "\\intbl гг.\\cell Мыт.\\cell Пасха\\cell\\row"_cp;
  rtf += "\\intbl 2000\\cell 20 Фв\\cell 30 Ап\\cell\\row"_cp;
  rtf += "\\intbl\\cell Ж\\cell\\row"_cp;  // no blanks after the last text
  rtf += "\\pard\\par}";
  EXPECT_EQ(Render(rtf, false),
            "гг.   Мыт.   Пасха\n"
            "2000  20 Фв  30 Ап\n"
            "      Ж\n"
            "\n");
  // A cell of two lines makes its row two lines high.
  EXPECT_EQ(Render("{\\rtf1\\trowd\\intbl a\\line b\\cell c\\cell\\row}", false), "a  c\nb\n");
}

TEST(RtfTerminalText, PaschalionReportAsText) {
  const std::string text = Render(test_rtf::PaschalionReport(), false);
  EXPECT_NE(text.find("\n"
                      "гг.   Мыт.   Мясоп.  Прощ.  Ваий   Пасха  Преп.   Возн.   Пятид.  П.пост\n"
                      "2000  20 Фв  5 Мр    12 Мр  23 Ап  30 Ап  24 Мая  8 Ин    18 Ин   16 дн.\n"
                      "2001  4 Фв   18 Фв   25 Фв  8 Ап   15 Ап  9 Мая   24 Мая  3 Ин    31 дн.\n"
                      "\n"
                      "  Мыт. - Неделя о Мытаре и фарисее\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.rfind("  Православная Пасхалия (2000 - 2001 гг.) по Григорианскому календарю (н.ст.)\n", 0),
            0u)
      << text;
}

TEST(RtfTerminalText, AnsiEscapesForBoldAndColours) {
  const std::string rtf =
      "{\\rtf1{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red128\\green0\\blue0;"
      "\\red112\\green0\\blue112;\\red128\\green128\\blue128;}"
      "\\cf2\\b Title\\b0\\par"
      "\\cf1 (+)\\cf2 text\\par"
      "\\cf0 plain\\par"
      "\\cf3 lent\\cf4 grey\\i it\\i0\\ul u\\ulnone\\par}";
  // 256-colour palette: red 196, dark red 88, purple 53, grey 244; black is
  // left to the terminal.
  EXPECT_EQ(Render(rtf, true),
            "\x1b[0;1;38;5;88mTitle\x1b[0m\n"
            "\x1b[0;38;5;196m(+)\x1b[0;38;5;88mtext\x1b[0m\n"
            "plain\n"
            "\x1b[0;38;5;53mlent\x1b[0;38;5;244mgrey\x1b[0;3;38;5;244mit\x1b[0;4;38;5;244mu\x1b[0m\n");
  EXPECT_EQ(Render(rtf, false), "Title\n(+)text\nplain\nlentgreyitu\n");
  // Attributes are reset at every line end and taken up again.
  EXPECT_EQ(Render("{\\rtf1\\b a\\line b\\par}", true), "\x1b[0;1ma\x1b[0m\n\x1b[0;1mb\x1b[0m\n");
}

// The nearest of the 256 colours: the cube or the grey ramp, whichever is
// closer; a near-black blue is closer to the darkest grey than to black.
TEST(RtfTerminalText, NearestPaletteColours) {
  struct Row { int red, green, blue; const char* sgr; };
  const Row rows[] = {{255, 0, 0, "196"},   {0, 0, 13, "232"},   {0, 0, 12, "16"},
                      {0, 0, 255, "21"},    {8, 8, 8, "232"},    {238, 238, 238, "255"},
                      {95, 135, 175, "67"}, {100, 100, 100, "241"}, {1, 1, 1, "16"}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.sgr);
    const std::string rtf = "{\\rtf1{\\colortbl;\\red" + std::to_string(r.red) + "\\green" +
                            std::to_string(r.green) + "\\blue" + std::to_string(r.blue) + ";}\\cf1 x\\par}";
    EXPECT_EQ(Render(rtf, true), std::string("\x1b[0;38;5;") + r.sgr + "mx\x1b[0m\n");
  }
}

TEST(RtfTerminalText, ControlCharactersNeverReachTheTerminal) {
  EXPECT_EQ(Render("{\\rtf1 a\\u27?[31mb\\u155?c\\u7?\\par}", false), "a[31mbc\n");
  // Tabs stop every eight columns.
  EXPECT_EQ(Render("{\\rtf1 ab\\tab c\\tab d\\par}", false), "ab      c       d\n");
}

TEST(RtfTerminalText, DisplayWidth) {
  struct Case {
    std::string_view text;
    std::size_t width;
  } const cases[] = {
      {"", 0},
      {"Свт. Николая", 12},
      {"а\u0483", 1},   // Cyrillic titlo combines
      {"e\u0301", 1},
      {"中文", 4},
      {"\uFFE6\U0001F900", 4},  // the last fullwidth sign, the first supplemental symbol
      {"\xFF", 1},      // malformed bytes count one each
      {"\xD0", 1},
      {"a\xD0", 2},    // cut short at the end
      {"\xD0" "a", 2},
      {"a\tb", 2},      // a control character takes no column
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(DisplayWidth(c.text), c.width);
  }
}

}  // namespace
}  // namespace velmar
