#include "texts/day_entries.h"

#include <string_view>

#include "app/settings.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/cp1251.h"
#include "texts/database.h"
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

}  // namespace

void WriteEasterEntries(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + "Easter.db")) {
    ShowMessage("Cannot open input Easter.db file.");
    return;
  }
  const int before = DaysBeforePascha(day, month, year);
  const int since = DaysSincePascha(day, month, year);
  bool inSection = false;
  long count = 0, key = 0;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) {
    switch (ClassifyLine(line)) {
      case LineKind::Blank:
      case LineKind::Comment:
        continue;
      case LineKind::Header: {
        const EasterKey k = EasterSectionKey(line);
        if (k.sign == 0) continue;  // the lines after it stay in the section before
        inSection = true;
        count = k.sign == '-' ? before : since;
        key = k.offset;
        continue;
      }
      case LineKind::Entry:
        break;
    }
    if (!inSection || count != key) continue;
    TrimLineEnd(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      ShowMessage("Error in input file Easter.db.");
      continue;
    }
    WriteEntry(line, equals, false);
  }
}

void WriteEpiphanyEntries(int weekday, std::uint16_t oldDay, std::uint16_t oldMonth) {
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + "Epiphany.db")) {
    ShowMessage("Cannot open input Epiphany.db file.");
    return;
  }
  bool matching = false;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) {
    switch (ClassifyLine(line)) {
      case LineKind::Blank:
      case LineKind::Comment:
        continue;
      case LineKind::Header: {
        const EpiphanyKey k = EpiphanySectionKey(line);
        matching = k.valid && k.weekday == weekday && k.day == oldDay && k.month == oldMonth;
        continue;
      }
      case LineKind::Entry:
        break;
    }
    if (!matching) continue;
    TrimLineEnd(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      ShowMessage("Error in input file Epiphany.db.");
      continue;
    }
    WriteEntry(line, equals, false);
  }
}

void WriteMonthEntries(std::uint16_t oldDay, std::uint16_t oldMonth) {
  if (oldMonth < 1 || oldMonth > 12) return;
  const std::string name(MonthFileNames[oldMonth]);
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + name)) {
    ShowMessage("Cannot open input file " + name + ".");
    return;
  }
  bool inSection = false;
  long sectionDay = 0;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) {
    switch (ClassifyLine(line)) {
      case LineKind::Blank:
      case LineKind::Comment:
        continue;
      case LineKind::Header:
        inSection = true;
        sectionDay = MonthSectionDay(line);
        continue;
      case LineKind::Entry:
        break;
    }
    if (!inSection || sectionDay != oldDay) continue;
    TrimLineEnd(line);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) {
      ShowMessage("Error in input file " + name + ".");
      continue;
    }
    const char code = line[0];
    if ((code >= '0' && code <= '6') || InMenologion(code)) WriteEntry(line, equals, true);
  }
}

void LoadAdditionalInfo(ViewKind kind, std::uint16_t oldDay, std::uint16_t oldMonth) {
  AdditionalInfoSlot& slot = AdditionalInfo[static_cast<std::size_t>(kind)];
  slot = AdditionalInfoSlot{false, std::string("Дополнительные сведения"_cp), {}};
  TextFileReader file;
  if (!file.Open(DatabaseDirectory() + "Addition.db")) {
    ShowMessage("Cannot open input Addition.db file.");
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
