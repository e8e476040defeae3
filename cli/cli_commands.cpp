#include "cli/cli_commands.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <unordered_map>

#include "app/settings.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "cli/nameday_command.h"
#include "reports/ical_export.h"
#include "reports/menologion_search.h"
#include "reports/paschalion_table.h"
#include "reports/period_calendar.h"
#include "texts/database.h"
#include "texts/database_cache.h"
#include "texts/day_views.h"
#include "texts/fasting_rules.h"
#include "texts/rtf_html.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"
#include "texts/rtf_writer.h"

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
std::string CaptionsText(const CivilDate& d) {
  const DayCaptions c = MakeDayCaptions(d.day, d.month, d.year, WeekdayNumber(d.day, d.month, d.year));
  return Cp1251ToUtf8(c.groupCaption + "\n" + c.oldStyle + "\n" + c.title + "\n" + c.tone + "\n");
}

// A document as terminal text (ANSI colours when ansi is set).
std::string DocumentAsText(const std::string& rtf, bool ansi) {
  return RenderRtfForTerminal(ReadRtf(rtf), ansi);
}


// A fast note (RTF-ready Windows-1251 text) as one UTF-8 table field: its
// plain text, tabs and line breaks turned into blanks.
int Table(const std::vector<std::string>& args) {
  CivilDate from_, to_;
  if (const int bad = ParsePeriodArgs(args, "table", from_, to_); bad != 0) return bad;
  const CivilDate* from = &from_;
  const CivilDate* to = &to_;
  // The fast column follows Velmar32.ini (Fasting=No); without a rules file
  // there is nothing to read it for.
  const bool rulesFile = access((DatabaseDirectory() + kFastingFileName).c_str(), F_OK) == 0;
  if (rulesFile) LoadSettings();
  DatabaseSnapshot readOnce;
  std::unordered_map<std::string, std::string> fields;  // note -> its field
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
    out += '\t';
    if (rulesFile) {
      const std::string note = FastNote(d.day, d.month, d.year);
      auto field = fields.find(note);
      if (field == fields.end()) field = fields.emplace(note, FragmentPlainText(note)).first;
      out += field->second;
    }
    out += '\n';
    if (out.size() > (1 << 20) - 1024) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
    if (d.day == to->day && d.month == to->month && d.year == to->year) break;
    d = NextDay(d.day, d.month, d.year);
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// Options shared by the document commands.
struct DocumentOptions {
  bool rtf = false;
  bool html = false;
  bool ics = false;    // the calendar command only
  std::string output;  // -o FILE; empty: stdout
};

// Takes --rtf, --html, --ics and -o FILE out of the arguments; false on a
// malformed -o or more than one output format.
bool TakeDocumentOptions(std::vector<std::string>& args, DocumentOptions& options) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--rtf") {
      options.rtf = true;
    } else if (args[i] == "--html") {
      options.html = true;
    } else if (args[i] == "--ics") {
      options.ics = true;
    } else if (args[i] == "-o") {
      if (i + 1 >= args.size()) return false;
      options.output = args[++i];
    } else {
      rest.push_back(args[i]);
    }
  }
  args = rest;
  return options.rtf + options.html + options.ics <= 1;
}

constexpr const char* kOptionsProblem = "-o needs a file name, and --rtf, --html, --ics exclude each other";


// Runs a document writer into memory and returns the document's bytes.
std::string CaptureDocument(const std::function<void()>& write) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&data, &size);
  if (memory == nullptr) return {};
  AttachReportStream(memory);
  write();
  CloseReportFile();
  std::fclose(memory);
  std::string bytes(data, size);
  std::free(data);
  return bytes;
}

// Fills FILE (written beside it, then renamed over it, so a failure never
// leaves it half-written) or stdout; fill returns false when a write failed.
int WriteOutput(const std::string& output, const std::function<bool(std::FILE*)>& fill) {
  if (output.empty()) {
    const bool ok = fill(stdout);
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
  }
  const std::string temporary = output + ".part";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  bool ok = f != nullptr;
  if (ok) {
    ok = fill(f);
    ok = std::fclose(f) == 0 && ok;
  }
  if (!ok || std::rename(temporary.c_str(), output.c_str()) != 0) {
    if (f != nullptr) std::remove(temporary.c_str());
    std::fprintf(stderr, "velmar32-cli: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}

// Writes bytes to FILE or stdout.
int Emit(const std::string& bytes, const std::string& output) {
  return WriteOutput(output, [&](std::FILE* f) {
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  });
}

// Streams a document's RTF straight to FILE or stdout, so that reports of any
// length never sit in memory.
int StreamDocument(const std::function<void()>& write, const std::string& output) {
  return WriteOutput(output, [&](std::FILE* f) {
    AttachReportStream(f);
    write();
    return CloseReportFile();
  });
}

// Shows a document: its RTF with --rtf, one HTML page with --html (titled
// title, or the document's first line), otherwise as terminal text after an
// optional preamble.
int ShowDocument(const std::function<void()>& write, const DocumentOptions& options,
                 const std::string& preamble = {}, const std::string& title = {}) {
  if (options.ics) return Fail("--ics is for the calendar command");
  if (options.rtf) return StreamDocument(write, options.output);
  if (options.html) return Emit(RtfToHtml(ReadRtf(CaptureDocument(write)), title), options.output);
  const bool ansi = options.output.empty() && isatty(fileno(stdout)) == 1;
  return Emit(preamble + DocumentAsText(CaptureDocument(write), ansi), options.output);
}

int TodayCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
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
  LoadSettings();
  const int w = WeekdayNumber(today.day, today.month, today.year);
  const DayCaptions captions = MakeDayCaptions(today.day, today.month, today.year, w);
  return ShowDocument([&] { WritePageDayDocument(today.day, today.month, today.year, w); },
                      options, CaptionsText(today) + "\n", Cp1251ToUtf8(captions.groupCaption));
}

int DayCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
  if (args.size() != 1) return Fail("day needs one date (YYYY-MM-DD)");
  const auto date = ParseDate(args[0]);
  if (!date) return Fail("bad date " + args[0] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  LoadSettings();
  return ShowDocument([&] { WriteCalendarDayDocument(date->year, date->month, date->day); },
                      options);
}

int CalendarCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
  if (args.size() != 2) return Fail("calendar needs FROM and TO (YYYY-MM-DD)");
  const auto from = ParseDate(args[0]);
  const auto to = ParseDate(args[1]);
  if (!from) return Fail("bad date " + args[0] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  if (!to) return Fail("bad date " + args[1] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  const Period period{{from->day, from->month, from->year}, {to->day, to->month, to->year}};
  if (StartsAfterEnd(period)) return Fail("FROM lies after TO");
  LoadSettings();
  if (options.ics) {
    return WriteOutput(options.output, [&](std::FILE* f) {
      return WriteICalendar(period, static_cast<long long>(std::time(nullptr)), [f](std::string_view piece) {
        return std::fwrite(piece.data(), 1, piece.size(), f) == piece.size();
      });
    });
  }
  return ShowDocument([&] { WritePeriodCalendarDocument(period); }, options);
}

// A year argument within [low, high]; nullopt when it isn't a number.
std::optional<int> ParseYear(const std::string& text) {
  if (text.empty() || text.size() > 6) return std::nullopt;
  for (const char c : text)
    if (c < '0' || c > '9') return std::nullopt;
  return std::stoi(text);
}

int PaschalionCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
  bool oldStyle = false, tsv = false;
  std::vector<std::string> years;
  for (const std::string& a : args) {
    if (a == "--old-style") oldStyle = true;
    else if (a == "--tsv") tsv = true;
    else years.push_back(a);
  }
  if (years.size() != 2) return Fail("paschalion needs FIRST and LAST years");
  auto first = ParseYear(years[0]);
  auto last = ParseYear(years[1]);
  if (!first || !last) return Fail("years are plain numbers, e.g. 2000");
  int f = *first, l = *last;
  ClampPaschalionYears(f, l, oldStyle);
  if (tsv) {
    std::string out;
    for (int year = f; year <= l; ++year) {
      const PaschalionYear y = PaschalionDates(static_cast<u16>(year), oldStyle);
      out += std::to_string(year);
      for (const DayMonth& d : y.dates) out += "\t" + std::to_string(d.day) + "." + std::to_string(d.month);
      out += "\t" + std::to_string(y.fastLength) + "\n";
    }
    return Emit(out, options.output);
  }
  LoadSettings();
  return ShowDocument(
      [&] { WritePaschalionDocument(static_cast<u16>(f), static_cast<u16>(l), oldStyle); }, options);
}

int SearchCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
  std::optional<int> year;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--year" && i + 1 < args.size()) {
      year = ParseYear(args[++i]);
      if (!year || *year < 1800 || *year > 2100) return Fail("--year takes a year of 1800..2100");
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.size() != 1) return Fail("search needs one TEXT (quote it if it has blanks)");
  const std::string text = Utf8ToCp1251(words[0]);
  if (!SearchTextLengthOk(text)) return Fail("the search text must have 2 to 62 characters");
  const int y = year ? *year : Today().year;
  LoadSettings();
  return ShowDocument([&] { WriteSearchDocument(text, static_cast<u16>(y)); }, options);
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

namespace {

int RenderCommand(std::vector<std::string> args) {
  DocumentOptions options;
  if (!TakeDocumentOptions(args, options)) return Fail(kOptionsProblem);
  if (args.size() != 1) return Fail("render needs one RTF file");
  std::vector<RtfProblem> problems;
  const auto document = ReadRtfFile(args[0], &problems);
  if (!document) {
    std::fprintf(stderr, "velmar32-cli: cannot read %s\n", args[0].c_str());
    return 1;
  }
  if (options.ics) return Fail("--ics is for the calendar command");
  const bool ansi = options.output.empty() && isatty(fileno(stdout)) == 1;
  const int status = Emit(options.html ? RtfToHtml(*document) : RenderRtfForTerminal(*document, ansi),
                          options.output);
  if (!problems.empty()) {
    std::fprintf(stderr, "velmar32-cli: %zu problem(s) in %s, the first at byte %zu: %s\n",
                 problems.size(), args[0].c_str(), static_cast<std::size_t>(problems[0].position),
                 std::string(RtfProblemName(problems[0].kind)).c_str());
  }
  return status;
}

}  // namespace

int ParsePeriodArgs(const std::vector<std::string>& args, const char* command, CivilDate& from,
                    CivilDate& to) {
  if (args.size() != 2) return Fail(std::string(command) + " needs FROM and TO (YYYY-MM-DD)");
  const auto first = ParseDate(args[0]);
  const auto last = ParseDate(args[1]);
  if (!first) return Fail("bad date " + args[0] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  if (!last) return Fail("bad date " + args[1] + " (YYYY-MM-DD within 1800-01-01..2100-12-31)");
  if (GregorianToSerial(first->year, first->month, first->day) >
      GregorianToSerial(last->year, last->month, last->day)) {
    return Fail("FROM lies after TO");
  }
  from = *first;
  to = *last;
  return 0;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  if (command == "render") return RenderCommand(args);
  if (command == "table") return Table(args);
  if (command == "readings") return ReadingsCommand(args);
  if (command == "today") return TodayCommand(args);
  if (command == "day") return DayCommand(args);
  if (command == "calendar") return CalendarCommand(args);
  if (command == "paschalion") return PaschalionCommand(args);
  if (command == "search") return SearchCommand(args);
  if (command == "nameday") return NamedayCommand(args);
  return Fail("unknown command " + command + " (see --help)");
}

}  // namespace velmar::cli
