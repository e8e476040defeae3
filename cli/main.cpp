// velmar32-cli: the calendar's documents and tables from a terminal, for
// scripts and machines without a display. Output is UTF-8.

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "cli/cli_commands.h"
#include "platform/clock.h"
#include "platform/program_directory.h"
#include "texts/database.h"

namespace {

constexpr const char* kUsage =
    "Usage: velmar32-cli [--dir DIR] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  table FROM TO          one line per day FROM..TO (YYYY-MM-DD, new style,\n"
    "                         1800-01-01..2100-12-31), tab-separated: date, old-style\n"
    "                         day, old-style month, weekday (1 = Sunday), days since\n"
    "                         Pascha, days before Pascha, tone, great feast, title,\n"
    "                         fast note (from dbase/Fasting.db; empty when none)\n"
    "  readings FROM TO       the scripture readings of the days FROM..TO, one\n"
    "                         tab-separated line per piece after a header line:\n"
    "                         date, kind, slot, book, range, zachalo, for\n"
    "  today [--date D] [--rtf | --html] [-o FILE]\n"
    "                         the Today page (D: YYYY-MM-DD)\n"
    "  day DATE [--rtf | --html] [-o FILE]\n"
    "                         the Calendar page of a date (YYYY-MM-DD)\n"
    "  calendar FROM TO [--rtf | --html | --ics] [-o FILE]\n"
    "                         the period calendar of FROM..TO; --ics: an iCalendar\n"
    "                         file with one all-day event a day\n"
    "  paschalion FIRST LAST [--old-style] [--tsv | --rtf | --html] [-o FILE]\n"
    "                         the Paschalion of the years FIRST..LAST (new style\n"
    "                         1800..2100, old style 326..2326); --tsv: year, the dates\n"
    "                         of -70 -56 -49 -7 0 +24 +39 +49 +56 days, fast length\n"
    "  search TEXT [--year Y] [--rtf | --html] [-o FILE]\n"
    "                         the menologion search report (Y: the year of the\n"
    "                         new-style dates, default the current year)\n"
    "  nameday NAME [BIRTHDATE] [--year Y]\n"
    "                         the days of a name of dbase/Names.db (Y: the year of\n"
    "                         the new-style dates, default the birthday's or the\n"
    "                         current year) and the name day of a birthday\n"
    "  render FILE.rtf [--html] [-o FILE]\n"
    "                         any RTF file as text\n"
    "\n"
    "A document is printed as text (in colour on a terminal); --rtf writes the\n"
    "RTF document the window shows, --html one HTML page (UTF-8). -o FILE writes\n"
    "the output to FILE, replacing it only when the whole output was written.\n"
    "\n"
    "Options:\n"
    "  --dir DIR              use DIR as the program directory (Velmar32.ini, dbase/)\n"
    "  --help                 show this help\n"
    "\n"
    "Exit status: 0 done; 1 the output could not be written, or the command needs\n"
    "the database and DIR/dbase/ is missing; 2 bad usage or input (--dir names no\n"
    "folder).\n";

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The commands that compute without the database files.
bool WorksWithoutDatabase(const std::string& command) {
  return command == "paschalion" || command == "render";
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::size_t i = 0;
  while (i < args.size() && args[i].rfind("--", 0) == 0) {
    if (args[i] == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (args[i] == "--dir" && i + 1 < args.size()) {
      if (!IsFolder(args[i + 1])) {
        std::fprintf(stderr, "velmar32-cli: --dir: нет такой папки: %s\n", args[i + 1].c_str());
        return 2;
      }
      velmar::SetProgramDirectory(args[i + 1]);
      i += 2;
      continue;
    }
    std::fprintf(stderr, "velmar32-cli: unknown option %s (see --help)\n", args[i].c_str());
    return 2;
  }
  if (i >= args.size()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = args[i];
  if (!WorksWithoutDatabase(command) && !velmar::DatabaseFolderExists()) {
    const std::string said = velmar::Cp1251ToUtf8(velmar::MissingDatabaseFolderMessage());
    std::fprintf(stderr, "velmar32-cli: %s\n", said.c_str());
    return 1;
  }
  const std::vector<std::string> rest(args.begin() + static_cast<long>(i) + 1, args.end());
  return velmar::cli::Run(command, rest);
}
