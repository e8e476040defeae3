#include "reports/menologion_search.h"

#include <algorithm>
#include <optional>
#include <set>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "reports/name_search.h"
#include "texts/database.h"
#include "texts/line_reader.h"
#include "texts/names_db.h"
#include "texts/rtf_writer.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

bool InMenologion(char code) { return AppSettings.menologion.find(code) != std::string::npos; }

bool CodeShown(char code) { return (code >= '0' && code <= '6') || InMenologion(code); }

// The exact match: the text anywhere in the line as read.
struct ExactMatch {
  std::string_view text;
  bool operator()(const std::string& line) const { return line.find(text) != std::string::npos; }
};

// The match that ignores case and endings.
struct LooseLineMatch {
  const LooseQuery* query;
  bool operator()(const std::string& line) const { return MatchLoose(*query, line).has_value(); }
};

// Calls visit.Section(day, month) at every section header and
// visit.Match(line) for every matching entry line of the month files (its
// code shown, match(line) true), in month order; false when a month file
// can't be opened (after the message, the scan ends there).
template <typename Match, typename Visit>
bool ScanMonthFiles(const Match& matches, Visit& visit) {
  std::string line;
  for (u16 month = 1; month <= 12; ++month) {
    TextFileReader file;
    if (!file.Open(DatabaseDirectory() + std::string(MonthFileNames[month]))) {
      // A search is asked for: a missing folder is said every time.
      ShowMessage(DatabaseFolderExists() ? std::string("Cannot open input db-file.")
                                         : MissingDatabaseFolderMessage());
      return false;
    }
    long day = 0;
    bool inSection = false;
    while (file.ReadLine(line, kSearchLineChars)) {
      switch (ClassifyLine(line)) {
        case LineKind::Blank:
        case LineKind::Comment:
          continue;
        case LineKind::Header:
          day = MonthSectionDay(line);
          inSection = true;
          visit.Section(day, month);
          continue;
        case LineKind::Entry:
          break;
      }
      if (!inSection || !CodeShown(line[0]) || !matches(line)) continue;
      visit.Match(line);
    }
  }
  return true;
}

// The search text as it may stand in RTF: "\\", "{" and "}" escaped.
std::string EscapeRtf(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\' || c == '{' || c == '}') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

bool SearchTextLengthOk(std::string_view text) {
  return text.size() >= kMinSearchLength && text.size() <= kMaxSearchLength;
}

std::string SearchDayHeading(u16 oldDay, u16 oldMonth, u16 year) {
  const DayMonth neu = OldToNewStyle(oldDay, oldMonth, year);
  std::string heading = std::to_string(neu.day) + " ";
  if (neu.month >= 1 && neu.month <= 12) heading += MonthNames[neu.month];
  heading += " (" + std::to_string(oldDay) + " ";
  if (oldMonth >= 1 && oldMonth <= 12) heading += MonthNames[oldMonth];
  heading += std::string(" ст.ст.)"_cp);
  return heading;
}

std::string_view PluralMatchesWord(long count) {
  if (count < 0) count = -count;
  if (count >= 10 && (count / 10) % 10 == 1) return "совпадений"_cp;
  switch (count % 10) {
    case 1: return "совпадение"_cp;
    case 2:
    case 3:
    case 4: return "совпадения"_cp;
    default: return "совпадений"_cp;
  }
}

void PluralMatches(long count) {
  ReportWrite(PluralMatchesWord(count));
  ReportWrite("\\par");
}

namespace {

// Writes the matching entries of the search report day by day: for each day
// with a match its heading, then each entry with its sign and the matched
// text marked. The exact search marks the first occurrence of the text in
// the entry text; the one that ignores case and endings marks the words it
// matched there.
struct ReportWriter {
  std::string_view text;
  const LooseQuery* loose = nullptr;
  u16 year = 0;
  long count = 0;
  std::string heading;
  bool written = true;

  void Section(long day, u16 month) {
    heading = SearchDayHeading(static_cast<u16>(day), month, year);
    written = false;
  }

  void Match(std::string& line) {
    if (!written) {
      ReportWrite("\n\\par");
      ReportWrite("\n  \\b ");
      ReportWrite(heading);
      ReportWrite("\\b0\\par");
      written = true;
    }
    ++count;
    TrimLineEnd(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return;
    const char code = line[0];
    const bool additional = InMenologion(code);
    const bool grey = additional && AppSettings.menologGray;
    if (grey) ReportWrite("\\cf4");
    if (additional && SignsOn()) ReportWrite("\\f3  · \\f2 "_cp);
    WriteServiceSign(code, SignsOn());
    const std::string_view entry = std::string_view(line).substr(equals + 1);
    // The pieces to mark, as offsets into the entry text.
    std::vector<LineSpan> marks;
    if (loose == nullptr) {
      const std::size_t at = entry.find(text);
      if (at != std::string_view::npos) marks.push_back({at, at + text.size()});
    } else if (const auto match = MatchLoose(*loose, line)) {
      for (const LineSpan& span : match->spans)
        if (span.begin > equals) marks.push_back({span.begin - equals - 1, span.end - equals - 1});
    }
    std::size_t done = 0;
    for (const LineSpan& mark : marks) {
      if (mark.begin < done) continue;
      ReportWrite(entry.substr(done, mark.begin - done));
      ReportWrite("\\cf1 \\b ");
      ReportWrite(entry.substr(mark.begin, mark.end - mark.begin));
      ReportWrite(grey ? "\\b0 \\cf4 " : "\\b0 \\cf0 ");
      done = mark.end;
    }
    ReportWrite(entry.substr(done));
    if (grey) ReportWrite("\\cf0 ");
    ReportWrite("\\par");
  }
};

}  // namespace

long WriteSearchDocument(std::string_view text, u16 year) {
  WriteReportHeader();
  ReportWrite("\n\\b1   Поиск в святцах по строке \""_cp);
  ReportWrite(EscapeRtf(text));
  ReportWrite("\"\\b0\\par");
  WriteCredits();

  ReportWriter writer;
  writer.text = text;
  writer.year = year;
  const bool whole = ScanMonthFiles(ExactMatch{text}, writer);
  if (whole && writer.count == 0 && NamesFilePresent()) {
    // Nothing exact: the search that ignores case and endings, its days under
    // a line that says so.
    const LooseQuery query = MakeLooseQuery(text, LoadNamesFile());
    struct Counter {
      long count = 0;
      void Section(long, u16) {}
      void Match(const std::string&) { ++count; }
    } counter;
    if (!query.Empty() && ScanMonthFiles(LooseLineMatch{&query}, counter) && counter.count > 0) {
      ReportWrite("\n\\par");
      ReportWrite("\n  \\i Найдено без учета падежа\\i0\\par"_cp);
      writer.loose = &query;
      ScanMonthFiles(LooseLineMatch{&query}, writer);
    }
  }

  ReportWrite("\n\\par");
  ReportWrite("\n\\par");
  ReportWrite("\n  ————————————————————————————————\\par"_cp);
  ReportWrite("\n  Всего: "_cp);
  ReportWriteNumber(writer.count);
  ReportWrite(" ");
  PluralMatches(writer.count);
  ReportWrite("\n\\par");
  WriteSignLegend();
  ReportWrite("\n}");
  return writer.count;
}

void WriteSearchReport(std::string_view text, u16 year) {
  if (!SearchTextLengthOk(text)) return;
  if (!OpenReportFile()) return;
  WriteSearchDocument(text, year);
  CloseReportFile();
}

namespace {

// Builds the Saints page's list: one item per day with a match. With a
// query the matches are those of the search that ignores case and endings,
// and the days already listed are passed over.
struct Lister {
  u16 year = 0;
  std::string_view text;                 // the exact search's text
  const LooseQuery* loose = nullptr;
  bool name = false;                     // a name's list: mark its name days
  SaintsSearchResult* result = nullptr;
  const std::set<long>* skip = nullptr;  // days (month * 100 + day) already listed
  long day = 0;
  u16 month = 0;
  bool listed = true;
  bool skipping = false;
  long count = 0;

  void Section(long d, u16 m) {
    day = d;
    month = m;
    listed = false;
    skipping = skip != nullptr && skip->count(m * 100L + d) != 0;
  }

  void Match(const std::string& raw) {
    if (skipping) return;
    std::string line = raw;
    TrimLineEnd(line);
    std::optional<LooseMatch> match;
    if (loose != nullptr) match = MatchLoose(*loose, line);
    if (!listed) {
      const u16 oldDay = static_cast<u16>(day);
      result->items.push_back(SearchDayHeading(oldDay, month, year));
      result->months.push_back(OldToNewStyle(oldDay, month, year).month);
      SaintsItemDetail detail;
      detail.oldDay = oldDay;
      detail.oldMonth = month;
      detail.loose = loose != nullptr && !name;
      detail.highlight = match ? LooseHighlight(line, *match) : std::string(text);
      result->details.push_back(std::move(detail));
      listed = true;
    }
    SaintsItemDetail& detail = result->details.back();
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      if (!detail.entries.empty()) detail.entries += "; ";
      detail.entries += line.substr(equals + 1);
    }
    if (name && match && match->commemorated && line[0] >= '0' && line[0] <= '6') {
      // The note of 28 February that keeps the saints of the 29th there in a
      // common year ("В невисокосные годы ...").
      if (month == 2 && day == 28 && FoldCase(line).find("невисокосн"_cp) != std::string::npos)
        detail.namedayCommonYears = true;
      else
        detail.nameday = true;
    }
    ++count;
  }
};

}  // namespace

SaintsSearchResult SearchSaints(std::string_view text, u16 year) {
  SaintsSearchResult result;
  if (!SearchTextLengthOk(text)) return result;
  Lister exact;
  exact.year = year;
  exact.text = text;
  exact.result = &result;
  const bool whole = ScanMonthFiles(ExactMatch{text}, exact);
  result.count = exact.count;
  result.exactItems = result.items.size();
  if (!whole || !NamesFilePresent()) return result;
  const LooseQuery query = MakeLooseQuery(text, LoadNamesFile());
  if (query.Empty()) return result;
  std::set<long> listed;
  for (const SaintsItemDetail& d : result.details) listed.insert(d.oldMonth * 100L + d.oldDay);
  Lister more;
  more.year = year;
  more.loose = &query;
  more.result = &result;
  more.skip = &listed;
  ScanMonthFiles(LooseLineMatch{&query}, more);
  result.looseCount = more.count;
  return result;
}

SaintsSearchResult SearchName(const NameRecord& name, u16 year) {
  SaintsSearchResult result;
  const LooseQuery query = NameQuery(name);
  Lister lister;
  lister.year = year;
  lister.loose = &query;
  lister.name = true;
  lister.result = &result;
  ScanMonthFiles(LooseLineMatch{&query}, lister);
  result.count = lister.count;
  result.exactItems = result.items.size();
  return result;
}

}  // namespace velmar
