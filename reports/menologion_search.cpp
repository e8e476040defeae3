#include "reports/menologion_search.h"

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/line_reader.h"
#include "texts/rtf_writer.h"

namespace velmar {
namespace {

bool InMenologion(char code) { return AppSettings.menologion.find(code) != std::string::npos; }

bool Matches(const std::string& line, std::string_view text) {
  const char code = line[0];
  if (!((code >= '0' && code <= '6') || InMenologion(code))) return false;
  return line.find(text) != std::string::npos;
}

// Calls visit(oldDay, oldMonth, line) for every matching entry line of the
// month files, in month order; false when a month file can't be opened
// (after the message, the scan ends there).
template <typename Visit>
bool ScanMonthFiles(std::string_view text, Visit& visit) {
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
      if (!inSection || !Matches(line, text)) continue;
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

long WriteSearchDocument(std::string_view text, u16 year) {
  WriteReportHeader();
  ReportWrite("\n\\b1   Поиск в святцах по строке \""_cp);
  ReportWrite(EscapeRtf(text));
  ReportWrite("\"\\b0\\par");
  WriteCredits();

  struct Writer {
    std::string_view text;
    u16 year;
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
      std::string_view entry = std::string_view(line).substr(equals + 1);
      const std::size_t at = entry.find(text);
      if (at != std::string_view::npos) {
        ReportWrite(entry.substr(0, at));
        ReportWrite("\\cf1 \\b ");
        ReportWrite(text);
        ReportWrite(grey ? "\\b0 \\cf4 " : "\\b0 \\cf0 ");
        entry = entry.substr(at + text.size());
      }
      ReportWrite(entry);
      if (grey) ReportWrite("\\cf0 ");
      ReportWrite("\\par");
    }
  } writer{text, year, 0, {}, true};
  ScanMonthFiles(text, writer);

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

SaintsSearchResult SearchSaints(std::string_view text, u16 year) {
  struct Lister {
    u16 year;
    SaintsSearchResult result;
    long day = 0;
    u16 month = 0;
    bool listed = true;
    void Section(long d, u16 m) {
      day = d;
      month = m;
      listed = false;
    }
    void Match(const std::string&) {
      if (!listed) {
        result.items.push_back(SearchDayHeading(static_cast<u16>(day), month, year));
        result.months.push_back(OldToNewStyle(static_cast<u16>(day), month, year).month);
        listed = true;
      }
      ++result.count;
    }
  } lister{year, {}, 0, 0, true};
  if (SearchTextLengthOk(text)) ScanMonthFiles(text, lister);
  return lister.result;
}

}  // namespace velmar
