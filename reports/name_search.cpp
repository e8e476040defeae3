#include "reports/name_search.h"

#include <algorithm>
#include <array>
#include <set>

#include "calendar/cp1251.h"
#include "reports/menologion_search.h"
#include "texts/names_db.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

// Words of kinship after which, with a saint's title between, a name is that
// of a relative named to tell who the saint was ("матери свт. Василия").
constexpr std::array<std::string_view, 20> kKinship = {
    "матери"_cp,   "отца"_cp,     "сестры"_cp,     "брата"_cp,    "сына"_cp,
    "дочери"_cp,   "дщери"_cp,    "родителей"_cp,  "ученика"_cp,  "учеников"_cp,
    "ученицы"_cp,  "учителя"_cp,  "наставника"_cp, "жены"_cp,     "мужа"_cp,
    "супруги"_cp,  "внука"_cp,    "племянника"_cp, "сестер"_cp,   "братьев"_cp,
};

// Saints' titles, folded, as they stand before a name (with their dot).
constexpr std::array<std::string_view, 26> kTitles = {
    "свт"_cp,  "свтт"_cp,   "прп"_cp,  "прпп"_cp, "сщмч"_cp,    "мч"_cp,    "вмч"_cp,
    "ап"_cp,   "апп"_cp,    "прор"_cp, "прав"_cp, "блгв"_cp,    "равноап"_cp, "св"_cp,
    "свв"_cp,  "блж"_cp,    "мц"_cp,   "вмц"_cp,  "прмч"_cp,    "прмц"_cp,  "исп"_cp,
    "архиеп"_cp, "еп"_cp,   "митр"_cp, "патр"_cp, "кн"_cp,
};

template <std::size_t N>
bool IsOneOf(const std::array<std::string_view, N>& words, std::string_view folded) {
  return std::find(words.begin(), words.end(), folded) != words.end();
}

std::string_view WordText(std::string_view line, const TextWord& w) {
  return line.substr(w.begin, w.end - w.begin);
}

// Whether the word at index i follows a word of kinship and a title.
bool AfterKinship(std::string_view line, const std::vector<TextWord>& words, std::size_t i) {
  if (i < 2) return false;
  const TextWord& title = words[i - 1];
  if (title.end >= line.size() || line[title.end] != '.') return false;
  return IsOneOf(kTitles, FoldCase(WordText(line, title))) &&
         IsOneOf(kKinship, FoldCase(WordText(line, words[i - 2])));
}

// Whether a stem matches a word: the word, or one of its hyphenated parts,
// starts with it once folded.
bool StemMatches(std::string_view stem, std::string_view word) {
  const std::string folded = FoldCase(word);
  std::size_t start = 0;
  while (start <= folded.size()) {
    if (std::string_view(folded).substr(start).starts_with(stem)) return true;
    const std::size_t hyphen = folded.find('-', start);
    if (hyphen == std::string::npos) break;
    start = hyphen + 1;
  }
  return false;
}

// Index of the last word of a form matched at word i, or -1.
long FormAt(std::string_view line, const std::vector<TextWord>& words, std::size_t i,
            const std::vector<std::string>& form) {
  if (form.empty() || i + form.size() > words.size()) return -1;
  for (std::size_t k = 0; k < form.size(); ++k)
    if (WordText(line, words[i + k]) != form[k]) return -1;
  return static_cast<long>(i + form.size() - 1);
}

// The new-style date of a serial day number (the inverse of
// GregorianToSerial, Fliegel and Van Flandern).
Date SerialToGregorian(long serial) {
  long l = serial + 68569;
  const long n = 4 * l / 146097;
  l -= (146097 * n + 3) / 4;
  const long i = 4000 * (l + 1) / 1461001;
  l -= 1461 * i / 4 - 31;
  const long j = 80 * l / 2447;
  const long day = l - 2447 * j / 80;
  l = j / 11;
  const long month = j + 2 - 12 * l;
  const long year = 100 * (n - 49) + i + l;
  return {static_cast<u16>(day), static_cast<u16>(month), static_cast<u16>(year)};
}

}  // namespace

LooseQuery MakeLooseQuery(std::string_view text, const NamesFile& names) {
  LooseQuery query;
  for (const TextWord& w : SplitWords(text)) {
    if (w.end - w.begin < 2) continue;
    const std::string folded = FoldCase(WordText(text, w));
    LooseTerm term;
    std::set<std::vector<std::string>> seen;
    for (const NameRecord* name : names.ByWord(folded))
      for (const auto& form : name->forms)
        if (seen.insert(form).second) term.forms.push_back(form);
    if (term.forms.empty()) term.stem = WordStem(folded);
    query.terms.push_back(std::move(term));
  }
  return query;
}

LooseQuery NameQuery(const NameRecord& name) {
  LooseQuery query;
  query.terms.push_back({name.forms, {}});
  return query;
}

std::optional<LooseMatch> MatchLoose(const LooseQuery& query, std::string_view line) {
  if (query.Empty()) return std::nullopt;
  const std::vector<TextWord> words = SplitWords(line);
  LooseMatch match;
  bool nameSeen = false;
  for (const LooseTerm& term : query.terms) {
    bool found = false;
    for (std::size_t i = 0; i < words.size() && !found; ++i) {
      if (!term.forms.empty()) {
        for (const auto& form : term.forms) {
          const long last = FormAt(line, words, i, form);
          if (last < 0) continue;
          // The first match marks the line; any occurrence that is not a
          // relative's name makes it a commemoration.
          match.spans.push_back({words[i].begin, words[static_cast<std::size_t>(last)].end});
          found = true;
          break;
        }
      } else if (StemMatches(term.stem, WordText(line, words[i]))) {
        match.spans.push_back({words[i].begin, words[i].end});
        found = true;
      }
    }
    if (!found) return std::nullopt;
    if (!term.forms.empty()) {
      nameSeen = true;
      for (std::size_t i = 0; i < words.size() && !match.commemorated; ++i)
        for (const auto& form : term.forms)
          if (FormAt(line, words, i, form) >= 0 && !AfterKinship(line, words, i)) match.commemorated = true;
    }
  }
  if (!nameSeen) match.commemorated = true;
  std::sort(match.spans.begin(), match.spans.end(),
            [](const LineSpan& a, const LineSpan& b) { return a.begin < b.begin; });
  return match;
}

std::string LooseHighlight(std::string_view line, const LooseMatch& match) {
  if (match.spans.empty()) return {};
  const std::size_t equals = line.find('=');
  const std::size_t from = match.spans.front().begin;
  std::size_t to = from;
  for (const LineSpan& s : match.spans) to = std::max(to, s.end);
  if (equals != std::string_view::npos && from > equals && to - from <= kMaxSearchLength)
    return std::string(line.substr(from, to - from));
  // The first matched word of the entry text.
  for (const LineSpan& s : match.spans)
    if (equals != std::string_view::npos && s.begin > equals)
      return std::string(line.substr(s.begin, std::min(s.end - s.begin, kMaxSearchLength)));
  return std::string(line.substr(from, std::min(match.spans.front().end - from, kMaxSearchLength)));
}

std::optional<Nameday> NamedayAfter(const SaintsSearchResult& days, const CivilDate& birthday) {
  const long birth = GregorianToSerial(birthday.year, birthday.month, birthday.day);
  std::optional<Nameday> best;
  long bestSerial = 0;
  for (std::size_t item = 0; item < days.details.size(); ++item) {
    const SaintsItemDetail& d = days.details[item];
    if ((!d.nameday && !d.namedayCommonYears) || d.oldMonth < 1 || d.oldMonth > 12 || d.oldDay < 1) continue;
    // The old-style year of the birthday starts before its new-style year's
    // 14 January: look at that year, the one before and the one after.
    for (int year = birthday.year - 1; year <= birthday.year + 1; ++year) {
      const bool leap = year % 4 == 0;  // Julian
      if (!d.nameday && leap) continue;
      const u16 day = d.oldMonth == 2 && d.oldDay == 29 && !leap ? 28 : d.oldDay;  // kept on the 28th
      const long serial = JulianToSerial(year, d.oldMonth, day);
      if (serial < birth) continue;
      if (!best || serial < bestSerial) {
        best = Nameday{item, SerialToGregorian(serial), day, d.oldMonth};
        bestSerial = serial;
      }
      break;
    }
  }
  return best;
}

std::string NamedayHeading(const Nameday& nameday) {
  const Date& d = nameday.date;
  std::string heading = std::to_string(d.day) + " ";
  if (d.month >= 1 && d.month <= 12) heading += MonthNames[d.month];
  heading += " " + std::to_string(d.year) + std::string(" г."_cp);
  heading += " (" + std::to_string(nameday.oldDay) + " ";
  if (nameday.oldMonth >= 1 && nameday.oldMonth <= 12) heading += MonthNames[nameday.oldMonth];
  heading += std::string(" ст.ст.)"_cp);
  return heading;
}

}  // namespace velmar
