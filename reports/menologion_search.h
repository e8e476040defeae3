#pragma once
// Searching the menologion: every entry line of the twelve month files that
// holds a text (an exact, case-sensitive byte substring anywhere in the line)
// and whose entry code is "0".."6" or listed in the menologion setting. The
// report lists the matching entries day by day; the Saints page lists the
// days. A day is shown with its new-style date in the year the Calendar page
// shows.

#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_arithmetic.h"

namespace velmar {

// Shortest and longest search text.
inline constexpr std::size_t kMinSearchLength = 2;
inline constexpr std::size_t kMaxSearchLength = 62;

bool SearchTextLengthOk(std::string_view text);

// "19 Декабря (6 Декабря ст.ст.)": an old-style day and month with its
// new-style date in the given year.
std::string SearchDayHeading(u16 oldDay, u16 oldMonth, u16 year);

// The word for matches after a count: "совпадений", "совпадение", "совпадения".
std::string_view PluralMatchesWord(long count);

// Writes the word with its "\\par" into the report stream.
void PluralMatches(long count);

// Writes the search report of text (Windows-1251) into the open report
// stream; year is the Calendar page's year. Returns the number of matches.
// When the exact search finds nothing and dbase/Names.db is there, the
// report lists what the search that ignores case and endings finds
// (reports/name_search.h), under the line "Найдено без учета падежа".
long WriteSearchDocument(std::string_view text, u16 year);

// Writes the search report into the report file; nothing when the text's
// length is out of range.
void WriteSearchReport(std::string_view text, u16 year);

// What matched on one day of the Saints page's list.
struct SaintsItemDetail {
  u16 oldDay = 0;
  u16 oldMonth = 0;
  std::string entries;    // the matching entries' texts (Windows-1251, RTF-ready), "; " between
  std::string highlight;  // what the day view marks when the day is shown
  bool loose = false;     // found by the search that ignores case and endings
  bool nameday = false;   // a name's list: a saint of the name is commemorated
  bool namedayCommonYears = false;  // ... in a common year only (the note of 28 February)
};

// The Saints page's list: one item per day with a match, in scan order, with
// the new-style month of each, and the count of matching lines. The exact
// matches come first; when dbase/Names.db is there, the days that only the
// search ignoring case and endings finds follow them (all of the list when
// the exact search found nothing).
struct SaintsSearchResult {
  std::vector<std::string> items;  // day headings
  std::vector<int> months;         // new-style month of each item
  long count = 0;                  // matching lines of the exact search
  std::vector<SaintsItemDetail> details;  // at the index of each item
  std::size_t exactItems = 0;      // items found by the exact search
  long looseCount = 0;             // matching lines of the other days
};
SaintsSearchResult SearchSaints(std::string_view text, u16 year);

struct NameRecord;

// The Saints page's list of a name of dbase/Names.db: every day with an
// entry that holds one of its forms, as SearchSaints lists the days.
SaintsSearchResult SearchName(const NameRecord& name, u16 year);

}  // namespace velmar
