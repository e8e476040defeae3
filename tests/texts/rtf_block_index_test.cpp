// The block index: stretches of a document read from its checkpoints give
// the blocks of the whole document, whatever the stretch and however the scan
// went in steps.
#include "texts/rtf_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calendar/cp1251.h"
#include "tests/texts/rtf_test_documents.h"

namespace velmar {
namespace {

std::string Describe(const RtfDocument& d, const RtfCharFormat& f) {
  std::string s = std::string(d.FontName(f)) + "/" + std::to_string(f.halfPoints) + "/";
  s += f.colour ? std::to_string(f.colour->red) + "," + std::to_string(f.colour->green) + "," +
                      std::to_string(f.colour->blue)
                : "auto";
  return s + (f.bold ? "/b" : "") + (f.italic ? "/i" : "") + (f.underline ? "/u" : "");
}

std::string Describe(const RtfDocument& d, const RtfParagraph& p) {
  std::string s = "align " + std::to_string(static_cast<int>(p.alignment)) + " mark " + Describe(d, p.mark);
  for (const RtfRun& r : p.runs) s += " [" + r.text + "|" + Describe(d, r.format) + "]";
  return s;
}

// One line per block: everything the reader keeps of it, fonts by name.
std::vector<std::string> Describe(const RtfDocument& d) {
  std::vector<std::string> lines;
  for (const RtfBlock& block : d.blocks) {
    if (const auto* p = std::get_if<RtfParagraph>(&block)) {
      lines.push_back(Describe(d, *p));
      continue;
    }
    std::string line = "table";
    for (const RtfTableRow& row : std::get<RtfTable>(block).rows) {
      line += " | row gap " + std::to_string(row.halfGap);
      for (int e : row.cellRightEdges) line += " " + std::to_string(e);
      for (const RtfTableCell& cell : row.cells) {
        line += " / cell";
        for (const RtfParagraph& p : cell.paragraphs) line += " {" + Describe(d, p) + "}";
      }
    }
    lines.push_back(line);
  }
  return lines;
}

// Scans in steps of `step` bytes, then reads the whole document back in
// stretches of `stretch` blocks and compares with ReadRtf. With `arrival`,
// the bytes arrive that many at a time while the scan goes on, and what has
// not arrived is garbage in the buffer, so that a scan that looked ahead
// would read it.
void CheckStretches(const std::string& bytes, std::size_t step, std::size_t stretch,
                    std::size_t arrival = 0) {
  SCOPED_TRACE("step " + std::to_string(step) + ", stretch " + std::to_string(stretch) +
               ", arrival " + std::to_string(arrival));
  std::vector<RtfProblem> problems;
  const RtfDocument whole = ReadRtf(bytes, &problems);
  for (const RtfProblem& p : problems) ASSERT_NE(p.kind, RtfProblemKind::TooLarge);
  const std::vector<std::string> expected = Describe(whole);

  std::string buffer = bytes;
  std::size_t arrived = arrival == 0 ? bytes.size() : 0;
  for (std::size_t i = arrived; i < buffer.size(); ++i) buffer[i] = "\\{}\r x9-"[i % 8];
  RtfBlockIndex index(buffer, arrived);
  std::size_t scanned = 0;
  int steps = 0;
  while (!index.Advance(step)) {
    ASSERT_GE(index.BytesScanned(), scanned);
    ASSERT_LE(index.BytesScanned(), arrived);
    scanned = index.BytesScanned();
    ASSERT_LE(index.BlockCount(), expected.size());
    if (arrived < bytes.size() && (steps % 2 == 0 || scanned == arrived)) {
      const std::size_t more = std::min(arrival, bytes.size() - arrived);
      buffer.replace(arrived, more, bytes, arrived, more);
      arrived += more;
      index.SetAvailable(arrived);
      EXPECT_EQ(index.Available(), arrived);
    }
    ASSERT_LT(++steps, 10'000'000);
  }
  EXPECT_EQ(index.BytesScanned(), bytes.size());
  ASSERT_EQ(index.BlockCount(), expected.size());
  EXPECT_EQ(index.DefaultTab(), whole.defaultTab);

  std::vector<std::string> read;
  for (std::size_t first = 0; first < index.BlockCount(); first += stretch) {
    const RtfDocument part = index.Read(first, stretch);
    ASSERT_EQ(part.blocks.size(), std::min(stretch, index.BlockCount() - first)) << "at " << first;
    for (std::string& line : Describe(part)) read.push_back(std::move(line));
  }
  EXPECT_EQ(read, expected);
  EXPECT_TRUE(index.Read(index.BlockCount(), 5).blocks.empty());
}

// A period calendar of `days` day blocks as our writer lays them out, with
// some of what other writers do mixed in: groups, escapes, \u characters.
std::string CalendarLike(int days) {
  std::string s = test_rtf::Prologue();
  s += "\n\\b1   Днесловник\\b0  с 1 Января 1800 г.\\par"_cp;
  s += test_rtf::Credits();
  for (int day = 0; day < days; ++day) {
    s += day % 7 == 0 ? "\n\\cf3" : "\n\\cf0";
    s += "\n\\b   Среда, "_cp;
    s += std::to_string(day);
    s += " Января 1800 г.\\par"_cp;
    s += "\n  Седмица 30-я по Пятидесятнице, глас четвертый\\b0\\par"_cp;
    s += "\n  ================================================\\par";
    s += "\n\\f3\\cf1  + \\cf0\\f2 Свт. Петра, митр. Киевского\\par"_cp;
    s += "\n\\f3  · \\f2 {\\i Мч.} Фемистоклея \\'e0 \\u1071?\\par"_cp;
    if (day % 50 == 0) s += "\n{\\b {\\ul nested}\\par}";
    s += "\n\\par\\par";
  }
  s += test_rtf::SignLegend();
  s += "\n}";
  return s;
}

TEST(RtfBlockIndex, StretchesReadAsTheWholeDocument) {
  const std::string calendar = CalendarLike(900);  // some 230 KB: several checkpoints
  ASSERT_GT(calendar.size(), std::size_t{200} << 10);
  for (std::size_t step : {std::size_t{1} << 30, std::size_t{700}, std::size_t{1}})
    for (std::size_t stretch : {13, 4000}) CheckStretches(calendar, step, stretch);
  // Every block read on its own, those beside a checkpoint too.
  CheckStretches(CalendarLike(300), 5000, 1);

  // Tables among paragraphs, a table at each end, and a font table given
  // again in the middle with other faces.
  std::string tables = test_rtf::PaschalionReport();
  std::string mixed = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\trowd\\cellx900\\intbl a\\cell\\row"
                      "\\pard p1\\par\\trowd\\cellx900\\cellx1800\\intbl b\\cell c\\cell\\row"
                      "\\trowd\\cellx500\\intbl d\\cell\\row\\pard\\par p2\\par"
                      "{\\fonttbl{\\f0 Courier;}}\\f0 p3\\par"
                      "\\trowd\\cellx700\\intbl e\\par f\\cell\\row}";
  std::string plain = std::string("first line\r\nвторая\rthird\n\n"_cp) + std::string(70'000, 'x') + "\nlast";
  std::string unclosed = CalendarLike(300);
  unclosed.resize(unclosed.size() * 2 / 3);
  for (const std::string* doc : {&tables, &mixed, &plain, &unclosed}) {
    for (std::size_t step : {std::size_t{1} << 30, std::size_t{3}})
      for (std::size_t stretch : {1, 2, 1000}) CheckStretches(*doc, step, stretch);
  }

  // Bytes that arrive while the scan goes on, cut anywhere: inside words,
  // parameters, escapes, \bin data, CR LF pairs.
  std::string binary = "{\\rtf1 a\\par{\\*\\pict\\bin12 }}}{{\\par\\\\}b\\'e0\\u-3999?\\par\\fs24 c\\par}";
  for (const std::string* doc : {&tables, &mixed, &binary})
    for (std::size_t arrival : {1, 2, 5, 64}) CheckStretches(*doc, 1 << 30, 3, arrival);
  for (std::size_t arrival : {64, 1000}) CheckStretches(plain, 1 << 30, 3, arrival);
  CheckStretches(calendar, 1 << 30, 500, 4096);
  CheckStretches(calendar, 100, 500, 70'000);
}

TEST(RtfBlockIndex, GarbageReadsTheSameInStretches) {
  std::mt19937 random(18000101);
  const std::string alphabet = "{}\\'*abcdefu0123456789- ;\x97\xE0\x00\r\n";
  const char* words[] = {"\\par", "\\trowd", "\\cellx500", "\\intbl", "\\cell", "\\row", "\\pard",
                         "\\fonttbl", "\\u-3999", "\\uc2", "{\\*\\x", "\\bin3 "};
  for (int round = 0; round < 400; ++round) {
    std::string bytes = round % 3 ? "{\\rtf1" : "";
    const std::size_t length = random() % 600;
    for (std::size_t i = 0; i < length; ++i) {
      if (random() % 5 == 0) bytes += words[random() % std::size(words)];
      else bytes += alphabet[random() % (alphabet.size() + 1)];
    }
    SCOPED_TRACE(round);
    CheckStretches(bytes, 1 + random() % 50, 1 + random() % 4, round % 2 ? 1 + random() % 9 : 0);
  }
}

TEST(RtfBlockIndex, StretchesAreReadBeforeTheScanEnds) {
  const std::string calendar = CalendarLike(600);
  const RtfDocument whole = ReadRtf(calendar);
  RtfBlockIndex index(calendar);
  EXPECT_FALSE(index.Complete());
  EXPECT_EQ(index.BlockCount(), 0u);
  EXPECT_TRUE(index.Read(0, 10).blocks.empty());

  index.Advance(50'000);
  EXPECT_FALSE(index.Complete());
  const std::size_t found = index.BlockCount();
  ASSERT_GT(found, 100u);
  EXPECT_LT(found, whole.blocks.size());
  EXPECT_GE(index.BytesScanned(), 50'000u);
  EXPECT_LT(index.BytesScanned(), 60'000u);
  // What was found reads as in the whole document; a stretch past it is cut.
  const RtfDocument part = index.Read(found - 40, 100);
  ASSERT_EQ(part.blocks.size(), 40u);
  RtfDocument expected = whole;
  expected.blocks.assign(whole.blocks.begin() + static_cast<long>(found - 40),
                         whole.blocks.begin() + static_cast<long>(found));
  EXPECT_EQ(Describe(part), Describe(expected));

  while (!index.Advance(50'000)) {
  }
  EXPECT_EQ(index.BlockCount(), whole.blocks.size());
  EXPECT_TRUE(index.Complete());
  EXPECT_TRUE(index.Advance(1));  // nothing more to do
}

TEST(RtfBlockIndex, AStretchIsReadUpToItsLimits) {
  // A paragraph as long as a document: its beginning, as much as a stretch
  // holds.
  std::string one = "{\\rtf1 " + std::string(kRtfMaxStretchText + 4096, 'x') + "\\par next\\par}";
  RtfBlockIndex index(one);
  while (!index.Advance(std::size_t{1} << 20)) {
  }
  ASSERT_EQ(index.BlockCount(), 2u);
  const RtfDocument first = index.Read(0, 2);
  ASSERT_EQ(first.blocks.size(), 1u);
  const auto& runs = std::get<RtfParagraph>(first.blocks[0]).runs;
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_LE(runs[0].text.size(), kRtfMaxStretchText);
  EXPECT_GT(runs[0].text.size(), kRtfMaxStretchText - 70'000);
  // The block after it reads on its own.
  const RtfDocument second = index.Read(1, 1);
  ASSERT_EQ(second.blocks.size(), 1u);
  EXPECT_EQ(std::get<RtfParagraph>(second.blocks[0]).runs.at(0).text, "next");
}

}  // namespace
}  // namespace velmar
