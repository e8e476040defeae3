#include "app/tray_tooltip.h"

#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"

namespace velmar {
namespace {

// A month name of the tables ("Января") as it stands inside a sentence.
std::string LowerFirst(std::string_view cp1251) {
  std::string text(cp1251);
  if (text.empty()) return text;
  auto& first = reinterpret_cast<unsigned char&>(text[0]);
  if (first >= 0xC0 && first <= 0xDF) first = static_cast<unsigned char>(first + 0x20);  // А..Я
  if (first == 0xA8) first = 0xB8;                                                     // Ё
  return text;
}

// One line: runs of blanks, tabs and line breaks become one blank, the ends
// are trimmed, and a line over the limit is cut at a word with "…".
std::string OneLine(std::string_view utf8) {
  std::string line;
  bool blank = false;
  for (const char c : utf8) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      blank = !line.empty();
      continue;
    }
    if (blank) line += ' ';
    blank = false;
    line += c;
  }
  // Characters, not bytes: a UTF-8 continuation byte doesn't count.
  std::size_t chars = 0, cut = line.size();
  for (std::size_t i = 0; i < line.size(); ++i) {
    if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
    if (chars == kToolTipLineChars) {
      cut = i;
      break;
    }
    ++chars;
  }
  if (cut == line.size()) return line;
  const std::size_t space = line.rfind(' ', cut);
  if (space != std::string::npos && space > cut / 2) cut = space;
  line.resize(cut);
  while (!line.empty() && (line.back() == ' ' || line.back() == ',' || line.back() == ';')) line.pop_back();
  return line + "…";
}

}  // namespace

std::string TrayToolTip(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                        std::string_view chief, std::string_view fast) {
  const DayMonth old = NewToOldStyle(day, month, year);
  const int weekday = WeekdayNumber(day, month, year);
  std::string date(WeekdayNames[static_cast<std::size_t>(weekday)]);
  date += ", " + std::to_string(day) + " " + LowerFirst(MonthNames[month]) + " " + std::to_string(year);
  date += " г. ("_cp;
  date += std::to_string(old.day) + " " + LowerFirst(MonthNames[old.month]);
  date += " ст.ст.)"_cp;
  std::string tip = "Днесловник\n" + Cp1251ToUtf8(date);
  for (const std::string_view part : {chief, fast}) {
    const std::string line = OneLine(part);
    if (!line.empty()) tip += "\n" + line;
  }
  return tip;
}

}  // namespace velmar
