#pragma once
// The search that finds what people type, and the name days.
//
// When the exact search of the menologion finds nothing, the text is looked
// for again word by word: every word of the text (of two letters or more)
// must match a word of one entry line, in any order. A word that Names.db
// knows (a spelling or a form of a name, case ignored) matches the forms of
// that name, byte for byte; any other word matches the words that start with
// its stem, case ignored (texts/word_match.h). A name chosen from the list
// is looked for by its forms alone.
//
// The name day by the Russian custom is the first day on or after the
// birthday on which a saint of the name is commemorated; an entry in which
// the name only stands after a word of kinship and a saint's title
// ("матери свт. Василия Великого") is not his commemoration and doesn't count,
// and neither do the icons of the Theotokos. The commemorations of 29
// February (old style) are kept on 28 February in a common year, and the
// note of 28 February that says so ("В невисокосные годы память ...")
// counts in a common year only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_arithmetic.h"
#include "platform/clock.h"

namespace velmar {

class NamesFile;
struct NameRecord;
struct SaintsSearchResult;

// One word of the text looked for: the forms of a name (each as its words,
// matched byte for byte), or else a stem (folded) the words start with.
struct LooseTerm {
  std::vector<std::vector<std::string>> forms;
  std::string stem;
};

struct LooseQuery {
  std::vector<LooseTerm> terms;
  bool Empty() const { return terms.empty(); }
};

// The query of a typed text (Windows-1251): one term per word of two letters
// or more; names from the names file.
LooseQuery MakeLooseQuery(std::string_view text, const NamesFile& names);

// The query of a name from the list: its forms.
LooseQuery NameQuery(const NameRecord& name);

// Bytes [begin, end) of a line.
struct LineSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};

// What a query found in a line: the words each term matched first, in the
// order of the line, and whether the name stands there as the saint
// commemorated (not only after a word of kinship and a title).
struct LooseMatch {
  std::vector<LineSpan> spans;
  bool commemorated = false;
};

// Whether every term of the query matches a word of the line.
std::optional<LooseMatch> MatchLoose(const LooseQuery& query, std::string_view line);

// The text to mark in a day view for a match in an entry line: the words
// from the first matched to the last, when that piece lies in the entry
// text (after the "=") and has at most 62 bytes, else the first matched word.
std::string LooseHighlight(std::string_view line, const LooseMatch& match);

// A name day: the item of the name's list and its new-style date.
struct Nameday {
  std::size_t item = 0;
  Date date;        // new style
  u16 oldDay = 0;   // the old-style date kept (28 February for the 29th in a common year)
  u16 oldMonth = 0;
};

// The name day of a birthday (new style) among the days of a name's list
// (SearchName): the first day on or after the birthday whose entries
// commemorate a saint of the name, in the birthday's year or the next;
// nothing when the list has none.
std::optional<Nameday> NamedayAfter(const SaintsSearchResult& days, const CivilDate& birthday);

// "19 Декабря 2024 г. (6 Декабря ст.ст.)": the date of a name day with the
// old-style day of its commemoration; Windows-1251.
std::string NamedayHeading(const Nameday& nameday);

}  // namespace velmar
