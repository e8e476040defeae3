#include "texts/rtf_text.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

// Decodes one scalar at text[pos], advancing pos; a malformed byte decodes
// to U+FFFD and advances by one.
char32_t NextScalar(std::string_view text, std::size_t& pos) {
  const auto b0 = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  char32_t c = 0;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  }
  if ((b0 & 0xE0) == 0xC0) { c = b0 & 0x1F; extra = 1; }
  else if ((b0 & 0xF0) == 0xE0) { c = b0 & 0x0F; extra = 2; }
  else if ((b0 & 0xF8) == 0xF0) { c = b0 & 0x07; extra = 3; }
  else { ++pos; return 0xFFFD; }
  if (pos + extra >= text.size()) {  // truncated sequence
    ++pos;
    return 0xFFFD;
  }
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto b = static_cast<unsigned char>(text[pos + k]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  pos += extra + 1;
  return c;
}

struct Range {
  char32_t first, last;
};

constexpr std::array<Range, 14> kZeroWidth = {{
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x0610, 0x061A},
    {0x064B, 0x065F}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
    {0x2028, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x2DE0, 0x2DFF},
    {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF},
}};

constexpr std::array<Range, 16> kWide = {{
    {0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0x33FF}, {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF}, {0xA000, 0xA4CF}, {0xA960, 0xA97F}, {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF}, {0xFE30, 0xFE4F}, {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6},
    {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
}};

bool InRanges(char32_t c, const auto& ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [c](const Range& r) { return c >= r.first && c <= r.last; });
}

// Columns of one scalar: 0, 1 or 2.
int ScalarWidth(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;
  if (c < 0x300) return 1;
  if (InRanges(c, kZeroWidth)) return 0;
  if (c >= 0x1100 && InRanges(c, kWide)) return 2;
  return 1;
}

// A control character that must not reach a terminal (ESC, CSI, ...).
bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }


struct Segment {
  std::string text;  // UTF-8, no control characters
  const RtfCharFormat* format = nullptr;
};

struct Line {
  std::vector<Segment> segments;
  std::size_t width = 0;  // display columns
};

constexpr std::size_t kTabStop = 8;

// Splits paragraphs into lines at '\n', expands tabs, drops other control
// characters.
void AppendParagraphLines(const RtfParagraph& paragraph, std::vector<Line>& lines) {
  lines.emplace_back();
  for (const RtfRun& run : paragraph.runs) {
    std::size_t pos = 0;
    while (pos < run.text.size()) {
      const char32_t c = NextScalar(run.text, pos);
      Line& line = lines.back();
      if (c == '\n') {
        lines.emplace_back();
        continue;
      }
      if (line.segments.empty() || line.segments.back().format != &run.format)
        line.segments.push_back({std::string(), &run.format});
      std::string& text = line.segments.back().text;
      if (c == '\t') {
        const std::size_t spaces = kTabStop - line.width % kTabStop;
        text.append(spaces, ' ');
        line.width += spaces;
        continue;
      }
      if (IsControl(c)) continue;
      AppendUtf8(text, c);
      line.width += static_cast<std::size_t>(ScalarWidth(c));
    }
  }
}

// Nearest colour of the xterm 256-colour palette: the 6x6x6 cube or the
// grey ramp, by squared distance.
int Nearest256(const RtfColour& colour) {
  constexpr std::array<int, 6> kLevels = {0, 95, 135, 175, 215, 255};
  const auto nearestLevel = [&](int v) {
    int best = 0;
    for (int i = 1; i < 6; ++i)
      if (std::abs(kLevels[static_cast<std::size_t>(i)] - v) <
          std::abs(kLevels[static_cast<std::size_t>(best)] - v))
        best = i;
    return best;
  };
  const int r = colour.red, g = colour.green, b = colour.blue;
  const int ri = nearestLevel(r), gi = nearestLevel(g), bi = nearestLevel(b);
  const auto sq = [](int x) { return x * x; };
  const int cubeDistance = sq(kLevels[static_cast<std::size_t>(ri)] - r) +
                           sq(kLevels[static_cast<std::size_t>(gi)] - g) +
                           sq(kLevels[static_cast<std::size_t>(bi)] - b);
  const int average = (r + g + b) / 3;
  const int greyIndex = std::clamp((average - 8 + 5) / 10, 0, 23);  // 8 + 10 i
  const int grey = 8 + 10 * greyIndex;
  const int greyDistance = sq(grey - r) + sq(grey - g) + sq(grey - b);
  if (greyDistance < cubeDistance) return 232 + greyIndex;
  return 16 + 36 * ri + 6 * gi + bi;
}

// SGR parameters of a format ("1;38;5;196"), "" for plain text. Black is
// the ordinary text colour of our documents and stays the terminal's own.
std::string SgrParameters(const RtfCharFormat* format) {
  if (format == nullptr) return {};
  std::string sgr;
  const auto add = [&sgr](const std::string& p) {
    if (!sgr.empty()) sgr += ';';
    sgr += p;
  };
  if (format->bold) add("1");
  if (format->italic) add("3");
  if (format->underline) add("4");
  if (format->colour && !(*format->colour == RtfColour{}))
    add("38;5;" + std::to_string(Nearest256(*format->colour)));
  return sgr;
}

// A line's text, with SGR escapes when ansi is set; attributes are reset
// at its end.
std::string RenderLine(const Line& line, bool ansi) {
  std::string out;
  std::string current;
  for (const Segment& segment : line.segments) {
    if (ansi) {
      const std::string wanted = SgrParameters(segment.format);
      if (wanted != current) {
        out += wanted.empty() ? "\x1b[0m" : "\x1b[0;" + wanted + "m";
        current = wanted;
      }
    }
    out += segment.text;
  }
  if (ansi && !current.empty()) out += "\x1b[0m";
  return out;
}

void RenderTable(const RtfTable& table, bool ansi, std::string& out) {
  // Lines of every cell, and the width of every column.
  std::vector<std::vector<std::vector<Line>>> cells;
  std::vector<std::size_t> widths;
  for (const RtfTableRow& row : table.rows) {
    auto& rowLines = cells.emplace_back();
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      auto& lines = rowLines.emplace_back();
      for (const RtfParagraph& p : row.cells[c].paragraphs) AppendParagraphLines(p, lines);
      if (widths.size() <= c) widths.resize(c + 1, 0);
      for (const Line& line : lines) widths[c] = std::max(widths[c], line.width);
    }
  }
  for (const auto& rowLines : cells) {
    std::size_t height = 0;
    for (const auto& lines : rowLines) height = std::max(height, lines.size());
    for (std::size_t k = 0; k < height; ++k) {
      // The last cell with text on this line: no padding after it.
      std::size_t last = 0;
      for (std::size_t c = 0; c < rowLines.size(); ++c)
        if (k < rowLines[c].size() && rowLines[c][k].width > 0) last = c;
      for (std::size_t c = 0; c <= last && c < rowLines.size(); ++c) {
        std::size_t width = 0;
        if (k < rowLines[c].size()) {
          out += RenderLine(rowLines[c][k], ansi);
          width = rowLines[c][k].width;
        }
        if (c < last) out.append(widths[c] - width + 2, ' ');
      }
      out += '\n';
    }
  }
}

std::string ParagraphText(const RtfParagraph& paragraph) {
  std::string text;
  for (const RtfRun& run : paragraph.runs) text += run.text;
  return text;
}

}  // namespace

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) width += static_cast<std::size_t>(ScalarWidth(NextScalar(utf8, pos)));
  return width;
}

std::string RenderRtfForTerminal(const RtfDocument& document, bool ansi) {
  std::string out;
  for (const RtfBlock& block : document.blocks) {
    if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
      std::vector<Line> lines;
      AppendParagraphLines(*paragraph, lines);
      for (const Line& line : lines) {
        out += RenderLine(line, ansi);
        out += '\n';
      }
    } else {
      RenderTable(std::get<RtfTable>(block), ansi, out);
    }
  }
  return out;
}

std::string PlainText(const RtfDocument& document) {
  std::string out;
  for (const RtfBlock& block : document.blocks) {
    if (const auto* paragraph = std::get_if<RtfParagraph>(&block)) {
      out += ParagraphText(*paragraph);
      out += '\n';
      continue;
    }
    for (const RtfTableRow& row : std::get<RtfTable>(block).rows) {
      for (std::size_t c = 0; c < row.cells.size(); ++c) {
        if (c > 0) out += '\t';
        const auto& paragraphs = row.cells[c].paragraphs;
        for (std::size_t i = 0; i < paragraphs.size(); ++i) {
          if (i > 0) out += ' ';
          out += ParagraphText(paragraphs[i]);
        }
      }
      out += '\n';
    }
  }
  return out;
}

std::string FragmentPlainText(std::string_view cp1251Rtf) {
  if (cp1251Rtf.find_first_of("\\{}") == std::string_view::npos) {
    std::string text = Cp1251ToUtf8(cp1251Rtf);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
  }
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Text;}}\\f0 ";
  rtf += cp1251Rtf;
  rtf += "}";
  std::string text = PlainText(ReadRtf(rtf));
  for (char& c : text)
    if (c == '\n' || c == '\t' || c == '\r') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace velmar
