#pragma once
// The fast of a day, from the rules file dbase/Fasting.db: a hand-edited
// Windows-1251 file in the line grammar of the other database files (blank
// lines and lines starting with a blank skipped, ";" a comment, "[" a section
// header, other lines entries), whose rules the parish can change.
//
// A section header names a period of the church year; its entry lines are
// rules for the days of that period, "selector=text":
//
//   [15.11-24.12] Рождественский пост   old-style dates: 15 Nov .. 24 Dec
//   [-48..-1]                           days from Pascha: Clean Monday .. Holy Saturday
//   [+57..28.06]                        moveable start, fixed end
//   [25.03]  [-8]                       one day
//   Пн Ср Пт=Сухоядение                 a rule for some weekdays
//   Код 5-6=Разрешается рыба            days with an entry coded 5 or 6
//   Все=Поста нет                       every day of the period
//
// A point is an old-style date "D.M" / "DD.MM" or a signed offset from Pascha
// "+N" / "-N" (N 0..366); two points are joined by "-" or "..", blanks around
// them allowed; text after "]" is a label. A period comes once in every
// old-style year: it starts on its first point, taken in that year (a date,
// or that year's Pascha moved by the offset), and ends on the first day on or
// after the start that its second point names. So 25.12-04.01 runs over the
// new year, and +57..28.06 ends on the 28 June after the start. A 29.02 point
// in a common year stands for 01.03 as a start and for 28.02 as an end; a
// one-day period [29.02] matches 29 February only.
//
// A selector is made of words separated by blanks or commas: weekdays
// (Вс Пн Вт Ср Чт Пт Сб, in either case, and ranges such as Пн-Пт), "Все"
// (every weekday), and "Код" with entry codes 0..6 ("Код 4", "Код 5,6",
// "Код 4-6"), which asks for at least one entry of the day (among those the
// day's documents show from Easter.db, Epiphany.db and the month file) with
// one of these codes. Weekdays and codes must both match; an empty selector
// matches every day. Of all rules that match a day, the last in the file wins;
// its text (after the first "=", copied into the RTF unchanged) is the day's
// fast note, and an empty text means no note.
//
// A bad line (a header that names no period, an entry without "=" or with an
// unknown word, an entry before the first header) is reported as
// "Error in input file Fasting.db." and passed over; the entries under a bad
// header are passed over with it.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmar {

inline constexpr const char* kFastingFileName = "Fasting.db";

class FastingRules {
 public:
  // Reads a rules file; each bad line is reported and passed over. false
  // (nothing reported, no rules) when the file can't be opened.
  bool Read(const std::string& path);

  // Takes one line as read (with its line end); used by Read.
  void AddLine(std::string line);

  bool Empty() const { return rules_.empty(); }
  // Number of lines reported as bad.
  int BadLines() const { return badLines_; }

  // The text of the rule that applies to a new-style date of 1800..2100
  // (argument order day, month, year), or nullptr when none does. codes gives the bit set of the entry codes of
  // the day (bit c for code c); it is called at most once, and only when a
  // rule that asks for codes has to be decided.
  const std::string* NoteFor(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                             const std::function<unsigned()>& codes) const;

 private:
  struct Point {
    bool moveable = false;  // offset from Pascha, else an old-style date
    int offset = 0;
    int day = 0, month = 0;
  };
  struct Period {
    Point start, end;
    bool single = false;
  };
  struct Rule {
    std::size_t period = 0;
    unsigned weekdays = 0;  // bits 1 (Sunday) .. 7 (Saturday); 0: every day
    unsigned codes = 0;     // bits 0..6; 0: no condition
    std::string text;
  };
  enum class State { BeforeFirstHeader, InPeriod, AfterBadHeader };

  bool ParseHeader(const std::string& line, Period& period) const;
  bool ParseSelector(const std::string& selector, Rule& rule) const;
  void Bad();

  std::vector<Period> periods_;
  std::vector<Rule> rules_;
  State state_ = State::BeforeFirstHeader;
  int badLines_ = 0;
};

// The fast note of a new-style date of 1800..2100 (argument order day, month,
// year): the Windows-1251 text of the rule of dbase/Fasting.db that applies,
// or "" when none applies, its text is empty, the file doesn't exist, or
// Velmar32.ini says Fasting=No. Outside a DatabaseSnapshot scope the rules
// file (and, for rules that ask for entry codes, the day's database files) is
// read afresh; inside one, each is read once for the whole scope. Bad lines
// are reported as messages each time the file is read.
std::string FastNote(std::uint16_t day, std::uint16_t month, std::uint16_t year);

}  // namespace velmar
