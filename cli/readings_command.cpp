#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/settings.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "cli/cli_commands.h"
#include "platform/program_directory.h"
#include "texts/database_cache.h"
#include "texts/day_readings.h"

namespace velmar::cli {

int ReadingsCommand(const std::vector<std::string>& args) {
  CivilDate from, to;
  if (const int bad = ParsePeriodArgs(args, "readings", from, to); bad != 0) return bad;
  if (access(SettingsFilePath().c_str(), F_OK) == 0) LoadSettings();  // Readings=No
  DatabaseSnapshot readOnce;
  const ReadingsTables& tables = CurrentReadingsTables();
  std::string out = "date\tkind\tslot\tbook\trange\tzachalo\tfor\n";
  char date[32];
  Date d{from.day, from.month, from.year};
  for (;;) {
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
    for (const ReadingGroup& g : DayReadings(tables, d.day, d.month, d.year)) {
      std::string whom = Cp1251ToUtf8(g.label);
      if (g.source == ReadingGroup::Source::Moved) {
        char moved[32];
        std::snprintf(moved, sizeof moved, "%04d-%02d-%02d", g.movedFrom.year, g.movedFrom.month,
                      g.movedFrom.day);
        whom = moved;
      }
      for (const SlotReading& r : g.readings) {
        for (const ScripturePiece& piece : r.reading) {
          out += date;
          out += '\t';
          out += ReadingKindName(KindOf(g, r.slot));
          out += '\t';
          out += ReadingSlotName(r.slot);
          out += '\t';
          out += Cp1251ToUtf8(piece.book->name);
          out += '\t';
          out += RangeText(piece.spans);
          out += '\t';
          if (piece.zachalo != 0) out += std::to_string(piece.zachalo);
          out += '\t';
          out += whom;
          out += '\n';
        }
      }
    }
    if (out.size() > (1 << 20)) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
    if (d.day == to.day && d.month == to.month && d.year == to.year) break;
    d = NextDay(d.day, d.month, d.year);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace velmar::cli
