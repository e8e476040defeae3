#include "cli/cli_commands.h"

#include <cstdio>
#include <string>

#include "calendar/calendar_arithmetic.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "texts/cp1251.h"

namespace velmar::cli {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "velmar32-cli: %s\n", message.c_str());
  return 2;
}

bool IsValidDate(int day, int month, int year) {
  if (year < 1800 || year > 2100 || month < 1 || month > 12 || day < 1) return false;
  int length = MonthLengths[static_cast<std::size_t>(month)];
  if (month == 2 && IsNewStyleLeap(year) == 1) length = 29;
  return day <= length;
}

// The Today page's captions of a date, UTF-8, one per line.
void PrintCaptions(const CivilDate& d) {
  const int w = WeekdayNumber(d.day, d.month, d.year);
  const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
  std::string text;
  text += WeekdayNames[static_cast<std::size_t>(w)];
  text += ", " + std::to_string(d.day) + " ";
  text += MonthNames[d.month];
  text += " " + std::to_string(d.year);
  text += " года\n"_cp;
  text += "(" + std::to_string(old.day) + " ";
  text += MonthNames[old.month];
  text += " ст.ст.)\n"_cp;
  text += MoveableDayTitle(d.day, d.month, d.year) + ",\n";
  text += "Глас "_cp;
  text += ToneNames[static_cast<std::size_t>(ToneOfDay(d.day, d.month, d.year))];
  text += "\n";
  std::fputs(Cp1251ToUtf8(text).c_str(), stdout);
}

int Table(const std::vector<std::string>& args) {
  if (args.size() != 2) return Fail("table needs FROM and TO (YYYY-MM-DD)");
  const auto from = ParseDate(args[0]);
  const auto to = ParseDate(args[1]);
  if (!from) return Fail("bad date " + args[0] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  if (!to) return Fail("bad date " + args[1] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  if (GregorianToSerial(from->year, from->month, from->day) >
      GregorianToSerial(to->year, to->month, to->day)) {
    return Fail("FROM lies after TO");
  }
  std::string out;
  out.reserve(1 << 20);
  Date d{from->day, from->month, from->year};
  for (;;) {
    const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
    char line[128];
    std::snprintf(line, sizeof line, "%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t", d.year,
                  d.month, d.day, old.day, old.month, WeekdayNumber(d.day, d.month, d.year),
                  DaysSincePascha(d.day, d.month, d.year), DaysBeforePascha(d.day, d.month, d.year),
                  ToneOfDay(d.day, d.month, d.year), IsGreatFeast(d.day, d.month, d.year));
    out += line;
    out += Cp1251ToUtf8(MoveableDayTitle(d.day, d.month, d.year));
    out += '\n';
    if (out.size() > (1 << 20) - 512) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
    if (d.day == to->day && d.month == to->month && d.year == to->year) break;
    d = NextDay(d.day, d.month, d.year);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int TodayCommand(const std::vector<std::string>& args) {
  std::optional<CivilDate> date;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--date" && i + 1 < args.size()) {
      date = ParseDate(args[i + 1]);
      if (!date) return Fail("bad date " + args[i + 1] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
      ++i;
    } else {
      return Fail("unknown argument " + args[i] + " for today");
    }
  }
  if (date) SetFixedToday(*date);
  const CivilDate today = Today();
  if (today.year < 1800 || today.year > 2100) {
    return Fail("the system date lies outside 1800..2100");
  }
  PrintCaptions(today);
  return 0;
}

}  // namespace

std::optional<CivilDate> ParseDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == 4 || i == 7) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  if (!IsValidDate(day, month, year)) return std::nullopt;
  return CivilDate{static_cast<u16>(day), static_cast<u16>(month), static_cast<u16>(year)};
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  if (command == "table") return Table(args);
  if (command == "today") return TodayCommand(args);
  return Fail("unknown command " + command + " (see --help)");
}

}  // namespace velmar::cli
