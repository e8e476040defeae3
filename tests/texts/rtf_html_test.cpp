#include "texts/rtf_html.h"

#include <gtest/gtest.h>

#include <string>

#include "texts/rtf_reader.h"

namespace velmar {
namespace {

bool Has(const std::string& html, const std::string& piece) { return html.find(piece) != std::string::npos; }

// A document as our writers make them: the title in bold, a Sunday in dark
// red with a red sign in the fixed-pitch font, a grey entry, a table.
constexpr const char* kDocument =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f2\\froman\\fprq2\\fcharset204 Times New Roman Cyr;}"
    "{\\f3\\fmodern\\fprq1\\fcharset204 Courier New Cyr;}}"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red112\\green0\\blue112;"
    "\\red128\\green0\\blue0;\\red128\\green128\\blue128;}"
    "\\pard\\plain\\f2\\fs20\\cf0\n\\b1   \\'c4\\'ed\\'e5\\'f1\\'eb\\'ee\\'e2\\'ed\\'e8\\'ea\\b0  A<b> & \"c\"\\par"
    "\n\\cf3\n\\f3\\cf1  + \\cf3\\f2 Sunday\\par"
    "\n\\cf4 grey\\cf0\\par"
    "\n\\par"
    "\n\\trowd\\cellx1000\\cellx2000\\intbl one\\cell two\\line lines\\cell\\row"
    "\n}";

TEST(RtfToHtml, KeepsTextFormattingAndTablesInOnePage) {
  const std::string html = RtfToHtml(ReadRtf(kDocument));
  EXPECT_EQ(html.rfind("<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n", 0), 0u);
  // The title is the first line's text, blanks made one, escaped.
  EXPECT_TRUE(Has(html, "<title>Днесловник A&lt;b&gt; &amp; &quot;c&quot;</title>")) << html;
  EXPECT_TRUE(Has(html, "font-weight:bold\">  Днесловник</span>"));  // the first blank ends \\b1
  EXPECT_TRUE(Has(html, "A&lt;b&gt; &amp; &quot;c&quot;</span>"));
  // Faces with the free face and the family after them; sizes in points.
  EXPECT_TRUE(Has(html, "font-family:'Times New Roman Cyr','Times New Roman',serif;font-size:10pt"));
  EXPECT_TRUE(Has(html, "font-family:'Courier New Cyr','Courier New',monospace;font-size:10pt;color:#ff0000\"> + </span>"));
  EXPECT_TRUE(Has(html, "color:#800000\">Sunday</span>"));
  EXPECT_TRUE(Has(html, "color:#808080\">grey</span>"));
  // An empty paragraph keeps its line; the table keeps its cells and breaks.
  EXPECT_TRUE(Has(html, "<p><span style=\"font-family:'Times New Roman Cyr','Times New Roman',serif;font-size:10pt;color:#000000\"><br></span></p>"));
  EXPECT_TRUE(Has(html, "<table>\n<tr><td><div>"));
  EXPECT_TRUE(Has(html, ">one</span></div></td><td><div>"));
  EXPECT_TRUE(Has(html, ">two<br>lines</span></div></td></tr>\n</table>"));
  EXPECT_TRUE(html.ends_with("</body>\n</html>\n"));
  // Blanks and tabs kept as the text has them, table cells on one line each,
  // on a white page whatever the browser's colours.
  EXPECT_TRUE(Has(html,
                  "<style>\n"
                  "body { background: #ffffff; color: #000000; }\n"
                  "p, td div { margin: 0; white-space: pre-wrap; tab-size: 8; }\n"
                  "table { border-collapse: collapse; margin: 0.3em 0; }\n"
                  "td { padding: 0.1em 0.6em; vertical-align: top; white-space: nowrap; }\n"
                  "</style>\n"));
}

TEST(RtfToHtml, TitleGivenOrFoundAndFacesCleaned) {
  EXPECT_TRUE(Has(RtfToHtml(ReadRtf(kDocument), "Вторник, 8 Декабря"), "<title>Вторник, 8 Декабря</title>"));
  EXPECT_EQ(FirstParagraphText(ReadRtf("{\\rtf1\\par   \\par\\tab a\\tab  b \\par}")), "a b");
  EXPECT_EQ(FirstParagraphText(ReadRtf("{\\rtf1\\par}")), "");
  // A face name can't break out of the style attribute.
  const std::string html =
      RtfToHtml(ReadRtf("{\\rtf1{\\fonttbl{\\f0\\fswiss Bad\"'<>&Face;}}\\f0 t\\par}"));
  EXPECT_TRUE(Has(html, "font-family:'BadFace',sans-serif;")) << html;
}

TEST(RtfToHtml, EveryFamilyAndAlignmentHasItsStyle) {
  const std::string html = RtfToHtml(ReadRtf(
      "{\\rtf1{\\fonttbl{\\f0\\fdecor D;}{\\f1\\fscript S;}{\\f2\\froman R;}}"
      "\\f0 a\\f1 b\\f2 c\\par\\qr r\\par\\qc m\\par\\qj j\\par\\ql l\\par}"));
  EXPECT_TRUE(Has(html, "font-family:'D',fantasy;")) << html;
  EXPECT_TRUE(Has(html, "font-family:'S',cursive;"));
  EXPECT_TRUE(Has(html, "font-family:'R',serif;"));
  EXPECT_TRUE(Has(html, "<p style=\"text-align:right\"><span"));
  EXPECT_TRUE(Has(html, "<p style=\"text-align:center\"><span"));
  EXPECT_TRUE(Has(html, "<p style=\"text-align:justify\"><span"));
  EXPECT_TRUE(Has(html, "<p><span style=\"font-family:'R',serif;font-size:12pt\">l</span></p>")) << html;
}

}  // namespace
}  // namespace velmar
