#include "texts/fasting_rules.h"

#include <array>
#include <string_view>

#include "app/settings.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/database.h"
#include "texts/database_cache.h"
#include "texts/day_entries.h"
#include "texts/line_reader.h"

namespace velmar {
namespace {

constexpr int kLongestOffset = 366;
constexpr unsigned kEveryWeekday = 0xFE;  // bits 1..7

// Old-style month lengths with February's 29th.
constexpr std::array<int, 13> kOldStyleMonthDays = {0, 31, 29, 31, 30, 31, 30,
                                                    31, 31, 30, 31, 30, 31};

// Weekday words indexed by weekday number, 1 = Sunday .. 7 = Saturday.
constexpr std::array<std::string_view, 8> kWeekdayWords = {
    "", "вс"_cp, "пн"_cp, "вт"_cp, "ср"_cp, "чт"_cp, "пт"_cp, "сб"_cp};

// Windows-1251 text in lower case (ASCII, Cyrillic А..Я and Ё).
std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const unsigned char b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z') c = static_cast<char>(b + 32);
    else if (b >= 0xC0 && b <= 0xDF) c = static_cast<char>(b + 32);
    else if (b == 0xA8) c = static_cast<char>(0xB8);
  }
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Reads 1..maxDigits decimal digits at i; false when there are none or more.
bool ReadNumber(std::string_view text, std::size_t& i, std::size_t maxDigits, int& value) {
  const std::size_t from = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (i - from == maxDigits) return false;
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  return i > from;
}

// Weekday number (1..7) of a word, 0 when it is none.
int WeekdayOfWord(std::string_view lowered) {
  for (int w = 1; w <= 7; ++w)
    if (lowered == kWeekdayWords[static_cast<std::size_t>(w)]) return w;
  return 0;
}

// Bits of the codes of "d" or "d-d" (0..6), 0 when the text is neither.
unsigned CodesOfWord(std::string_view word) {
  const auto code = [](char c) { return c >= '0' && c <= '6' ? c - '0' : -1; };
  if (word.size() == 1 && code(word[0]) >= 0) return 1u << code(word[0]);
  if (word.size() == 3 && word[1] == '-' && code(word[0]) >= 0 && code(word[2]) >= code(word[0])) {
    unsigned bits = 0;
    for (int c = code(word[0]); c <= code(word[2]); ++c) bits |= 1u << c;
    return bits;
  }
  return 0;
}

// Julian Day Number of an old-style date of a year; 29 February of a common
// year is 1 March as a start and 28 February as an end.
long OldStyleSerial(long year, int day, int month, bool asEnd) {
  if (month == 2 && day == 29 && year % 4 != 0) {
    if (asEnd) return JulianToSerial(static_cast<int>(year), 2, 28);
    return JulianToSerial(static_cast<int>(year), 3, 1);
  }
  return JulianToSerial(static_cast<int>(year), month, day);
}

long PaschaSerial(long year) {
  const DayMonth p = PaschaOldStyle(static_cast<u16>(year));
  return JulianToSerial(static_cast<int>(year), p.month, p.day);
}

}  // namespace

void FastingRules::Bad() {
  ++badLines_;
  ShowMessage("Error in input file Fasting.db.");
}

bool FastingRules::Read(const std::string& path) {
  TextFileReader file;
  if (!file.Open(path)) return false;
  std::string line;
  while (file.ReadLine(line, kDayViewLineChars)) AddLine(std::move(line));
  return true;
}

void FastingRules::AddLine(std::string line) {
  switch (ClassifyLine(line)) {
    case LineKind::Blank:
    case LineKind::Comment:
      return;
    case LineKind::Header: {
      Period period;
      if (!ParseHeader(line, period)) {
        state_ = State::AfterBadHeader;
        Bad();
        return;
      }
      periods_.push_back(period);
      state_ = State::InPeriod;
      return;
    }
    case LineKind::Entry:
      break;
  }
  if (state_ == State::AfterBadHeader) return;
  TrimLineEnd(line);
  const std::size_t equals = line.find('=');
  Rule rule;
  if (state_ == State::BeforeFirstHeader || equals == std::string::npos ||
      !ParseSelector(line.substr(0, equals), rule)) {
    Bad();
    return;
  }
  rule.period = periods_.size() - 1;
  rule.text = line.substr(equals + 1);
  rules_.push_back(std::move(rule));
}

bool FastingRules::ParseHeader(const std::string& line, Period& period) const {
  const std::size_t close = line.find(']');
  if (close == std::string::npos) return false;
  const std::string_view text = std::string_view(line).substr(1, close - 1);
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  const auto point = [&](Point& p) {
    skipBlanks();
    if (i >= text.size()) return false;
    if (text[i] == '+' || text[i] == '-') {
      const bool negative = text[i] == '-';
      ++i;
      int n = 0;
      if (!ReadNumber(text, i, 3, n) || n > kLongestOffset) return false;
      p.moveable = true;
      p.offset = negative ? -n : n;
      return true;
    }
    if (!ReadNumber(text, i, 2, p.day) || i >= text.size() || text[i] != '.') return false;
    ++i;
    if (!ReadNumber(text, i, 2, p.month)) return false;
    return p.month >= 1 && p.month <= 12 && p.day >= 1 &&
           p.day <= kOldStyleMonthDays[static_cast<std::size_t>(p.month)];
  };
  if (!point(period.start)) return false;
  skipBlanks();
  if (i == text.size()) {
    period.end = period.start;
    period.single = true;
    return true;
  }
  const unsigned char dash = static_cast<unsigned char>(text[i]);
  if (text.substr(i, 2) == "..") i += 2;
  else if (dash == '-' || dash == 0x96 || dash == 0x97) ++i;  // hyphen, en dash, em dash
  else return false;
  if (!point(period.end)) return false;
  skipBlanks();
  return i == text.size();
}

bool FastingRules::ParseSelector(const std::string& selector, Rule& rule) const {
  bool codeWords = false;  // the words after "Код"
  bool codeAsked = false;
  std::size_t i = 0;
  while (i < selector.size()) {
    if (IsBlank(selector[i]) || selector[i] == ',') {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < selector.size() && !IsBlank(selector[end]) && selector[end] != ',') ++end;
    std::string word = Lower(std::string_view(selector).substr(i, end - i));
    i = end;
    if (word.starts_with("код"_cp)) {
      codeWords = codeAsked = true;
      word.erase(0, 3);
      if (word.empty()) continue;
    }
    if (codeWords && IsDigit(word[0])) {
      const unsigned bits = CodesOfWord(word);
      if (bits == 0) return false;
      rule.codes |= bits;
      continue;
    }
    codeWords = false;
    if (word == "все"_cp) {
      rule.weekdays = kEveryWeekday;
      continue;
    }
    const std::size_t dash = word.find('-');
    const int first = WeekdayOfWord(std::string_view(word).substr(0, dash));
    if (first == 0) return false;
    if (dash == std::string::npos) {
      rule.weekdays |= 1u << first;
      continue;
    }
    const int last = WeekdayOfWord(std::string_view(word).substr(dash + 1));
    if (last == 0) return false;
    for (int w = first;; w = w % 7 + 1) {  // Сб-Вс runs over the week's end
      rule.weekdays |= 1u << w;
      if (w == last) break;
    }
  }
  return !codeAsked || rule.codes != 0;
}

const std::string* FastingRules::NoteFor(std::uint16_t day, std::uint16_t month,
                                         std::uint16_t year,
                                         const std::function<unsigned()>& codes) const {
  if (rules_.empty()) return nullptr;
  const long serial = GregorianToSerial(year, month, day);
  const DayMonth old = NewToOldStyle(day, month, year);
  const long oldYear = old.month == 12 && month == 1 ? year - 1 : year;
  const unsigned weekdayBit = 1u << WeekdayNumber(day, month, year);

  const auto resolve = [](const Point& p, long y, bool asEnd) {
    return p.moveable ? PaschaSerial(y) + p.offset : OldStyleSerial(y, p.day, p.month, asEnd);
  };
  const auto inPeriod = [&](const Period& p) {
    if (p.single && !p.start.moveable) return old.day == p.start.day && old.month == p.start.month;
    // A start lies within a year and a bit of its year's 1 January, so the
    // periods that can hold the day start in the day's year or next to it.
    for (long y = oldYear - 1; y <= oldYear + 1; ++y) {
      const long start = resolve(p.start, y, false);
      if (start > serial) continue;
      long end = resolve(p.end, y, true);
      for (long next = y + 1; end < start && next <= y + 2; ++next) end = resolve(p.end, next, true);
      if (start <= serial && serial <= end) return true;
    }
    return false;
  };

  std::vector<signed char> known(periods_.size(), -1);
  int dayCodes = -1;
  for (auto r = rules_.rbegin(); r != rules_.rend(); ++r) {
    if (r->weekdays != 0 && (r->weekdays & weekdayBit) == 0) continue;
    signed char& in = known[r->period];
    if (in < 0) in = inPeriod(periods_[r->period]) ? 1 : 0;
    if (in == 0) continue;
    if (r->codes != 0) {
      if (dayCodes < 0) dayCodes = static_cast<int>(codes ? codes() : 0u);
      if ((static_cast<unsigned>(dayCodes) & r->codes) == 0) continue;
    }
    return &r->text;
  }
  return nullptr;
}

namespace {

// The rules of the open snapshot scope, read on first use.
struct ScopeRules {
  std::uint64_t scope = 0;
  FastingRules rules;
};

}  // namespace

std::string FastNote(std::uint16_t day, std::uint16_t month, std::uint16_t year) {
  if (!AppSettings.fasting) return {};
  const std::string path = DatabaseDirectory() + kFastingFileName;
  static ScopeRules cached;
  FastingRules fresh;
  const FastingRules* rules = &fresh;
  if (const std::uint64_t scope = DatabaseSnapshotScope(); scope != 0) {
    if (cached.scope != scope) {
      cached.rules = FastingRules{};
      cached.rules.Read(path);
      cached.scope = scope;
    }
    rules = &cached.rules;
  } else {
    cached = ScopeRules{};  // the scope's rules are not needed any more
    fresh.Read(path);
  }
  const std::string* note =
      rules->NoteFor(day, month, year, [&] { return DayEntryCodes(day, month, year); });
  return note == nullptr ? std::string() : *note;
}

}  // namespace velmar
