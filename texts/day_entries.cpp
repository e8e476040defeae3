#include "texts/day_entries.h"

#include <functional>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/database_cache.h"
#include "texts/day_readings.h"
#include "texts/fasting_rules.h"
#include "texts/line_reader.h"
#include "texts/rtf_writer.h"

namespace velmar {

bool SearchHighlight = false;
std::string HighlightText;
std::array<AdditionalInfoSlot, 4> AdditionalInfo;

namespace {

bool InMenologion(char code) {
  return AppSettings.menologion.find(code) != std::string::npos;
}

// The common output of one entry. extraClass and grey apply to month files.
void WriteEntry(std::string_view line, std::size_t equals, bool monthFile) {
  const bool signs = SignsOn();
  const char code = line[0];
  const bool additional = monthFile && InMenologion(code);
  const bool grey = additional && AppSettings.menologGray;
  ReportWrite(signs ? "\n" : "\n ");
  if (grey) ReportWrite("\\cf4");
  if (additional && signs) ReportWrite("\\f3  · \\f2 "_cp);
  WriteServiceSign(code, signs);
  std::string_view text = line.substr(equals + 1);
  if (monthFile && SearchHighlight && !HighlightText.empty()) {
    const std::size_t at = text.find(HighlightText);
    if (at != std::string_view::npos) {
      ReportWrite(text.substr(0, at));
      ReportWrite("\\cf1 \\b ");
      ReportWrite(HighlightText);
      if (grey) {
        ReportWrite("\\b0 \\cf4 ");
      } else {
        ReportWrite("\\b0 ");
        ReportWrite(DayColour);
        ReportWrite(" ");
      }
      text = text.substr(at + HighlightText.size());
    }
  }
  ReportWrite(text);
  if (grey) ReportWrite(DayColour);
  if (signs) ReportWrite("\\par");
}

// What becomes of the entry lines a day uses: written into the report, or
// collected. Lines without "=" and month-file entries of a class the settings
// don't admit never get here.
using EntrySink = std::function<void(std::string_view line, std::size_t equals, bool monthFile)>;

// A used entry line of Easter.db or Epiphany.db (any entry code), already
// trimmed; equals is the position of its first "=" or npos.
void UseMoveableEntry(std::string_view line, std::size_t equals, std::string_view errorMessage,
                      const EntrySink& sink) {
  if (equals == std::string_view::npos) {
    ShowMessage(errorMessage);
    return;
  }
  sink(line, equals, false);
}

// A used, trimmed entry line of a month file.
void UseMonthEntry(std::string_view line, std::size_t equals, std::string_view fileName,
                   const EntrySink& sink) {
  if (equals == std::string_view::npos) {
    ShowMessage("Error in input file " + std::string(fileName) + ".");
    return;
  }
  const char code = line[0];
  if ((code >= '0' && code <= '6') || InMenologion(code)) sink(line, equals, true);
}

// Uses, in file order, the entry lines under one key or, with both, under
// either of two keys: from the report's snapshot of the file, or read from
// the file now. use gets each line trimmed, with the place of its "=".
// false when the file can't be opened.
template <typename Use>
bool UseEntries(DatabaseKind kind, int month, const std::string& name, std::int64_t first,
                std::int64_t second, bool both, Use use) {
  if (const ParsedDatabaseFile* file = ParsedDatabase(kind, month)) {
    if (!file->opened) return false;
    const auto& a = file->Lines(first);
    static const std::vector<std::uint32_t> kNone;
    const auto& b = both ? file->Lines(second) : kNone;
    std::size_t i = 0, j = 0;
    while (i < a.size() || j < b.size()) {
      const bool takeA = j >= b.size() || (i < a.size() && a[i] < b[j]);
      const ParsedDatabaseFile::Line& line = file->lines[takeA ? a[i++] : b[j++]];
      use(std::string_view(line.text), line.equals);
    }
    return true;
  }
  return ScanDatabaseFile(kind, name, [&](std::int64_t key, std::string& line) {
    if (key != first && !(both && key == second)) return;
    TrimLineEnd(line);
    use(std::string_view(line), line.find('='));
  });
}

}  // namespace

namespace {

void VisitEasterEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year, const EntrySink& sink) {
  const int before = DaysBeforePascha(day, month, year);
  const int since = DaysSincePascha(day, month, year);
  const bool opened = UseEntries(DatabaseKind::Easter, 0, "Easter.db", EasterIndexKey('-', before),
                                 EasterIndexKey('+', since), true,
                                 [&](std::string_view line, std::size_t equals) {
                                   UseMoveableEntry(line, equals, "Error in input file Easter.db.", sink);
                                 });
  if (!opened && !MissingDatabaseFolderSaid()) ShowMessage("Cannot open input Easter.db file.");
}

void VisitEpiphanyEntries(int weekday, std::uint16_t oldDay, std::uint16_t oldMonth, const EntrySink& sink) {
  const bool opened = UseEntries(DatabaseKind::Epiphany, 0, "Epiphany.db",
                                 EpiphanyIndexKey(weekday, oldDay, oldMonth), 0, false,
                                 [&](std::string_view line, std::size_t equals) {
                                   UseMoveableEntry(line, equals, "Error in input file Epiphany.db.", sink);
                                 });
  if (!opened && !MissingDatabaseFolderSaid()) ShowMessage("Cannot open input Epiphany.db file.");
}

void VisitMonthEntries(std::uint16_t oldDay, std::uint16_t oldMonth, const EntrySink& sink) {
  if (oldMonth < 1 || oldMonth > 12) return;
  const std::string name(MonthFileNames[oldMonth]);
  const bool opened = UseEntries(DatabaseKind::Month, oldMonth, name, MonthKey(oldDay), 0, false,
                                 [&](std::string_view line, std::size_t equals) {
                                   UseMonthEntry(line, equals, name, sink);
                                 });
  if (!opened && !MissingDatabaseFolderSaid()) ShowMessage("Cannot open input file " + name + ".");
}

const EntrySink kWrite = [](std::string_view line, std::size_t equals, bool monthFile) {
  WriteEntry(line, equals, monthFile);
};

}  // namespace

void WriteEasterEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  VisitEasterEntries(day, month, year, kWrite);
}

void WriteEpiphanyEntries(int weekday, std::uint16_t oldDay, std::uint16_t oldMonth) {
  VisitEpiphanyEntries(weekday, oldDay, oldMonth, kWrite);
}

void WriteMonthEntries(std::uint16_t oldDay, std::uint16_t oldMonth) {
  VisitMonthEntries(oldDay, oldMonth, kWrite);
}

std::vector<DayEntry> DayEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  std::vector<DayEntry> entries;
  const EntrySink collect = [&](std::string_view line, std::size_t equals, bool monthFile) {
    const char code = line[0];
    entries.push_back({code, std::string(line.substr(equals + 1)), monthFile && InMenologion(code)});
  };
  const DayMonth old = NewToOldStyle(day, month, year);
  VisitEasterEntries(day, month, year, collect);
  VisitEpiphanyEntries(WeekdayNumber(day, month, year), old.day, old.month, collect);
  VisitMonthEntries(old.day, old.month, collect);
  return entries;
}

void WriteReadingsEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  for (const std::string& text : DayReadingTexts(day, month, year)) WriteEntry("0=" + text, 1, false);
}

void WriteFastNoteEntry(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  const std::string note = FastNote(day, month, year);
  if (note.empty()) return;
  const std::string line = "0=" + note;
  WriteEntry(line, 1, false);
}

unsigned DayEntryCodes(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  unsigned codes = 0;
  const auto take = [&](std::string_view line, std::size_t equals) {
    if (equals == std::string_view::npos) return;  // never shown
    const char code = line[0];
    if (code >= '0' && code <= '6') codes |= 1u << (code - '0');
  };
  const DayMonth old = NewToOldStyle(day, month, year);
  UseEntries(DatabaseKind::Easter, 0, "Easter.db",
             EasterIndexKey('-', DaysBeforePascha(day, month, year)),
             EasterIndexKey('+', DaysSincePascha(day, month, year)), true, take);
  UseEntries(DatabaseKind::Epiphany, 0, "Epiphany.db",
             EpiphanyIndexKey(WeekdayNumber(day, month, year), old.day, old.month), 0, false, take);
  if (old.month >= 1 && old.month <= 12)
    UseEntries(DatabaseKind::Month, old.month, std::string(MonthFileNames[old.month]),
               MonthKey(old.day), 0, false, take);
  return codes;
}

void LoadAdditionalInfo(ViewKind kind, std::uint16_t oldDay, std::uint16_t oldMonth) {
  AdditionalInfoSlot& slot = AdditionalInfo[static_cast<std::size_t>(kind)];
  slot = AdditionalInfoSlot{false, std::string("Дополнительные сведения"_cp), {}};
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + "Addition.db")) {
    if (!MissingDatabaseFolderSaid()) ShowMessage("Cannot open input Addition.db file.");
    return;
  }
  const std::string key = AdditionSectionHeader(oldDay, oldMonth);
  bool taking = false;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) {
    const LineKind kind_ = ClassifyLine(line);
    if (kind_ == LineKind::Blank || kind_ == LineKind::Comment) continue;
    if (kind_ == LineKind::Header) {
      TrimLineEnd(line);
      taking = line == key;
      continue;
    }
    if (!taking) continue;
    TrimLineEnd(line);
    slot.enabled = true;
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      slot.reference = line;
    } else {
      slot.hint = line.substr(equals + 1);
      slot.reference = line.substr(0, equals);
    }
  }
}

}  // namespace velmar
