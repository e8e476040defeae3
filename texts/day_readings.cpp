#include "texts/day_readings.h"

#include <array>
#include <string_view>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "calendar/paschalion.h"
#include "calendar/reading_cycle.h"

namespace velmar {
namespace {

using Source = ReadingGroup::Source;

constexpr int kCleanMonday = 48;      // days before Pascha
constexpr int kLazarusSaturday = 8;
constexpr int kHolySaturday = 1;
constexpr int kBrightSaturday = 6;    // days since Pascha

bool IsLiturgySlot(ReadingSlot slot) {
  return slot == ReadingSlot::Apostol || slot == ReadingSlot::Gospel;
}

// What the rules need to know of one day.
struct DayFacts {
  Date date;
  ReadingCycleDay cycle;
  DayMonth old;
  std::vector<const CommemorationReadings*> commemorations;  // those read on this day
  std::vector<const SpecialDayReadings*> special;
  std::vector<SlotReading> own;  // the moveable cycle's readings of the day
  bool hasOrdinary = false;      // own Apostol or Gospel
  const CommemorationReadings* displacedBy = nullptr;  // a feast in place of the ordinary
  bool ordinaryLeftOut = false;  // by a special day
};

bool InLentWeekdays(const ReadingCycleDay& c) {
  return c.part == CyclePart::Triodion && c.offset > kLazarusSaturday && c.offset <= kCleanMonday &&
         c.weekday >= 2 && c.weekday <= 6;
}
bool InHolyWeek(const ReadingCycleDay& c) {
  return c.part == CyclePart::Triodion && c.offset >= kHolySaturday && c.offset < 7;
}
bool InBrightWeek(const ReadingCycleDay& c) {
  return c.part == CyclePart::Pentecostarion && c.offset <= kBrightSaturday;
}
// Wednesday and Friday of Cheesefare week: no Liturgy.
bool IsAliturgicalCheesefareDay(const ReadingCycleDay& c) {
  return c.part == CyclePart::Triodion && (c.offset == 53 || c.offset == 51);
}

// Whether a commemoration's readings are read on a day.
bool Admitted(const ReadingCycleDay& c, const CommemorationReadings& m) {
  if (m.feast != FeastKind::None) return true;
  if (InBrightWeek(c) || InHolyWeek(c) || IsAliturgicalCheesefareDay(c)) return false;
  if (InLentWeekdays(c)) return m.service >= 4 && c.offset < kCleanMonday - 6;  // from the second week
  if (c.weekday == 1) return m.service >= 4;
  return true;
}

bool InWindow(const SpecialDayReadings& s, const DayMonth& old) {
  const int at = old.month * 32 + old.day;
  const int from = s.fromMonth * 32 + s.fromDay;
  const int to = s.toMonth * 32 + s.toDay;
  return from <= to ? at >= from && at <= to : at >= from || at <= to;
}

bool Matches(const SpecialDayReadings& s, const Date& d, const ReadingCycleDay& c, const DayMonth& old) {
  if (s.moveable) {
    if (s.offset < 0) return DaysBeforePascha(d.day, d.month, d.year) == -s.offset;
    return DaysSincePascha(d.day, d.month, d.year) == s.offset;
  }
  return c.weekday == s.weekday && InWindow(s, old);
}

DayFacts Facts(const ReadingsTables& t, const Date& d) {
  DayFacts f;
  f.date = d;
  f.cycle = ReadingCycle(d.day, d.month, d.year);
  f.old = NewToOldStyle(d.day, d.month, d.year);
  const ReadingCycleDay& c = f.cycle;
  const auto take = [&](int key) {
    const auto it = t.menaion.find(key);
    if (it == t.menaion.end()) return;
    for (const CommemorationReadings& m : it->second)
      if (!m.readings.empty() && Admitted(c, m)) f.commemorations.push_back(&m);
  };
  take(f.old.month * 32 + f.old.day);
  // In a common year of the old style the 29th of February is kept on the 28th.
  if (f.old.month == 2 && f.old.day == 28 && d.year % 4 != 0) take(2 * 32 + 29);
  for (const SpecialDayReadings& s : t.special)
    if (Matches(s, d, c, f.old)) f.special.push_back(&s);

  switch (c.part) {
    case CyclePart::Pentecostarion: f.own = t.sincePascha[static_cast<std::size_t>(c.offset)]; break;
    case CyclePart::Triodion: f.own = t.beforePascha[static_cast<std::size_t>(c.offset)]; break;
    case CyclePart::AfterPentecost: {
      const Reading& ap = t.apostolWeeks[static_cast<std::size_t>(c.apostolWeek)][static_cast<std::size_t>(c.weekday)];
      const Reading& ev = t.gospelWeeks[static_cast<std::size_t>(c.gospelWeek)][static_cast<std::size_t>(c.weekday)];
      if (!ap.empty()) f.own.push_back({ReadingSlot::Apostol, ap});
      if (!ev.empty()) f.own.push_back({ReadingSlot::Gospel, ev});
      break;
    }
  }
  for (const SlotReading& r : f.own) f.hasOrdinary = f.hasOrdinary || IsLiturgySlot(r.slot);

  // The feasts that take the ordinary reading's place: the Lord's always,
  // the Theotokos' on a weekday outside Lent, Holy Week and Bright Week.
  const bool weekday = c.weekday != 1;
  const bool ordinaryTime = !(InBrightWeek(c) || (c.part == CyclePart::Triodion && c.offset <= kCleanMonday));
  for (const CommemorationReadings* m : f.commemorations) {
    if (m->feast == FeastKind::Lord || (m->feast == FeastKind::Theotokos && weekday && ordinaryTime)) {
      f.displacedBy = m;
      break;
    }
  }
  for (const SpecialDayReadings* s : f.special) {
    f.ordinaryLeftOut = f.ordinaryLeftOut || s->replacesOrdinary ||
                        (s->ordinaryOnlyWithoutStepBack && c.gospelExtraWeeks > 0);
  }
  return f;
}

// Whether a day can take a neighbour's ordinary reading: a weekday with a
// Liturgy and its own ordinary reading, which nothing displaces.
bool Takes(const DayFacts& f) {
  return f.cycle.weekday != 1 && f.hasOrdinary && f.displacedBy == nullptr && !f.ordinaryLeftOut;
}

// Whether a day's ordinary reading is displaced and goes to a neighbour.
bool Moves(const DayFacts& f) {
  if (f.displacedBy == nullptr || !f.hasOrdinary || f.cycle.weekday == 1) return false;
  // The weekdays of Lent and Holy Week have no ordinary Liturgy readings to move.
  return !(f.cycle.part == CyclePart::Triodion && f.cycle.offset <= kCleanMonday) && !InBrightWeek(f.cycle);
}

bool InRange(const Date& d) { return d.year >= 1800 && d.year <= 2100; }

// The day that takes a displaced day's ordinary reading, if any.
bool MoveTarget(const ReadingsTables& t, const DayFacts& f, Date& target) {
  const Date before = PreviousDay(f.date.day, f.date.month, f.date.year);
  if (InRange(before) && Takes(Facts(t, before))) {
    target = before;
    return true;
  }
  const Date after = NextDay(f.date.day, f.date.month, f.date.year);
  if (InRange(after) && Takes(Facts(t, after))) {
    target = after;
    return true;
  }
  return false;
}

std::vector<SlotReading> OrdinaryOf(const DayFacts& f) {
  std::vector<SlotReading> out;
  for (const SlotReading& r : f.own)
    if (IsLiturgySlot(r.slot)) out.push_back(r);
  return out;
}

// Keeps the one Matins Gospel of the day in its group and drops the others.
void ChooseMatins(std::vector<ReadingGroup>& groups, const ReadingsTables& t, const DayFacts& f) {
  const auto hasMatins = [](const ReadingGroup& g) {
    for (const SlotReading& r : g.readings)
      if (r.slot == ReadingSlot::Matins) return true;
    return false;
  };
  ReadingGroup* chosen = nullptr;
  if (!groups.empty() && groups.front().source == Source::Ordinary && hasMatins(groups.front()))
    chosen = &groups.front();
  // The Paschal Matins of Bright Week reads no Gospel, a feast's neither.
  const bool paschal = InBrightWeek(f.cycle);
  for (ReadingGroup& g : groups) {
    if (chosen == nullptr && !paschal && g.source == Source::Commemoration && g.feast != FeastKind::None &&
        hasMatins(g))
      chosen = &g;
  }
  if (chosen == nullptr && f.cycle.matinsGospel != 0) {
    const Reading& sunday = t.sundayMatins[static_cast<std::size_t>(f.cycle.matinsGospel)];
    if (!sunday.empty()) {
      if (groups.empty() || groups.front().source != Source::Ordinary) groups.insert(groups.begin(), ReadingGroup{});
      groups.front().readings.insert(groups.front().readings.begin(), {ReadingSlot::Matins, sunday});
      groups.front().matinsGospel = f.cycle.matinsGospel;
      chosen = &groups.front();
    }
  }
  if (chosen == nullptr && f.cycle.weekday != 1 && !paschal) {
    int best = -1;
    for (ReadingGroup& g : groups) {
      if (g.source == Source::Commemoration && hasMatins(g) && g.service > best) {
        best = g.service;
        chosen = &g;
      }
    }
  }
  for (ReadingGroup& g : groups) {
    if (&g == chosen) continue;
    std::erase_if(g.readings, [](const SlotReading& r) { return r.slot == ReadingSlot::Matins; });
  }
}

std::string Roman(int n) {
  static constexpr std::array<std::pair<int, std::string_view>, 9> kSteps = {{
      {100, "C"}, {90, "XC"}, {50, "L"}, {40, "XL"}, {10, "X"}, {9, "IX"}, {5, "V"}, {4, "IV"}, {1, "I"}}};
  std::string out;
  for (const auto& [value, text] : kSteps) {
    while (n >= value) {
      out += text;
      n -= value;
    }
  }
  return out;
}

constexpr std::string_view kDash = "–"_cp;    // an en dash
constexpr std::string_view kSpacedDash = " – "_cp;

// "III, 16 – IV, 4", "X, 38–42; XI, 27–28", "I, 39–49, 56".
std::string ChurchRange(const std::vector<VerseSpan>& spans) {
  std::string out;
  int chapter = 0;
  for (const VerseSpan& s : spans) {
    if (s.fromChapter == chapter) {
      out += ", ";
    } else {
      if (!out.empty()) out += "; ";
      out += Roman(s.fromChapter) + ", ";
    }
    out += std::to_string(s.fromVerse);
    if (s.toChapter != s.fromChapter) {
      out += std::string(kSpacedDash) + Roman(s.toChapter) + ", " + std::to_string(s.toVerse);
    } else if (s.toVerse != s.fromVerse) {
      out += std::string(kDash) + std::to_string(s.toVerse);
    }
    chapter = s.toChapter;
  }
  return out;
}

// "3:16–4:4", "10:38–42, 11:27–28", "1:39–49, 56".
std::string ShortRange(const std::vector<VerseSpan>& spans) {
  std::string out;
  int chapter = 0;
  for (const VerseSpan& s : spans) {
    if (!out.empty()) out += ", ";
    if (s.fromChapter != chapter) out += std::to_string(s.fromChapter) + ":";
    out += std::to_string(s.fromVerse);
    if (s.toChapter != s.fromChapter) {
      out += std::string(kDash) + std::to_string(s.toChapter) + ":" + std::to_string(s.toVerse);
    } else if (s.toVerse != s.fromVerse) {
      out += std::string(kDash) + std::to_string(s.toVerse);
    }
    chapter = s.toChapter;
  }
  return out;
}

std::string ReadingText(const Reading& reading, bool shortForm) {
  std::string out;
  for (const ScripturePiece& piece : reading) {
    if (!out.empty()) out += "; ";
    out += PieceText(piece, shortForm);
  }
  return out;
}

// Readings joined as one entry: "A. B." in the full form, "A; B" in the short.
std::string JoinReadings(const std::vector<std::string>& texts, bool shortForm) {
  std::string out;
  for (const std::string& text : texts) {
    if (!out.empty()) out += shortForm ? "; " : " ";
    out += text;
    if (!shortForm) out += ".";
  }
  return out;
}

constexpr std::array<std::string_view, 8> kWeekdayAccusative = {
    "", "воскресенье"_cp, "понедельник"_cp, "вторник"_cp, "среду"_cp,
    "четверг"_cp, "пятницу"_cp, "субботу"_cp};

// The Liturgy's readings of a group: "Ап.: X. Ев.: Y." for the ordinary ones
// (the names of the books only in the full form), else "Label: X. Y."; the
// readings it names go to named, in the order of the text.
std::string LiturgyText(const ReadingGroup& g, bool shortForm, std::vector<SlotReading>& named) {
  std::vector<std::string> apostol, gospel;
  for (const SlotReading& r : g.readings) {
    if (r.slot == ReadingSlot::Apostol) apostol.push_back(ReadingText(r.reading, shortForm));
    if (r.slot == ReadingSlot::Gospel) gospel.push_back(ReadingText(r.reading, shortForm));
  }
  if (apostol.empty() && gospel.empty()) return {};
  for (const ReadingSlot slot : {ReadingSlot::Apostol, ReadingSlot::Gospel})
    for (const SlotReading& r : g.readings)
      if (r.slot == slot) named.push_back(r);
  std::vector<std::string> all = apostol;
  all.insert(all.end(), gospel.begin(), gospel.end());
  const bool plain = g.source == Source::Ordinary || g.inPlaceOfOrdinary;
  if (plain && shortForm) return JoinReadings(all, true);
  if (plain) {
    std::string out;
    if (!apostol.empty()) out = std::string("Ап.: "_cp) + JoinReadings(apostol, false);
    if (!gospel.empty()) out += (out.empty() ? "" : " ") + std::string("Ев.: "_cp) + JoinReadings(gospel, false);
    return out;
  }
  std::string label = g.label;
  if (g.source == Source::Moved) {
    const int w = WeekdayNumber(g.movedFrom.day, g.movedFrom.month, g.movedFrom.year);
    label = std::string("Ряд. за "_cp) + std::string(kWeekdayAccusative[static_cast<std::size_t>(w)]);
    if (!shortForm) label += std::string(" (под зачало)"_cp);
  }
  return label + ": " + JoinReadings(all, shortForm);
}

}  // namespace

std::string RangeText(const std::vector<VerseSpan>& spans) {
  std::string out;
  for (const VerseSpan& s : spans) {
    if (!out.empty()) out += ", ";
    out += std::to_string(s.fromChapter) + ":" + std::to_string(s.fromVerse);
    if (s.toChapter != s.fromChapter) out += "-" + std::to_string(s.toChapter) + ":" + std::to_string(s.toVerse);
    else if (s.toVerse != s.fromVerse) out += "-" + std::to_string(s.toVerse);
  }
  return out;
}

std::string PieceText(const ScripturePiece& piece, bool shortForm) {
  std::string book(piece.book->name);
  if (shortForm) return book + " " + ShortRange(piece.spans);
  std::string out = book + ",";
  if (piece.zachalo != 0) {
    out += " " + std::to_string(piece.zachalo) + std::string(" зач."_cp);
    if (piece.fromMiddle) out += std::string(" (от полу)"_cp);
    out += ",";
  }
  return out + " " + ChurchRange(piece.spans);
}

std::vector<ReadingGroup> DayReadings(const ReadingsTables& t, u16 day, u16 month, u16 year) {
  std::vector<ReadingGroup> groups;
  if (!t.available) return groups;
  const Date date{day, month, year};
  const DayFacts f = Facts(t, date);

  ReadingGroup own;
  for (const SlotReading& r : f.own) {
    if (IsLiturgySlot(r.slot) && (f.displacedBy != nullptr || f.ordinaryLeftOut)) continue;
    own.readings.push_back(r);
  }
  if (!own.readings.empty()) groups.push_back(std::move(own));

  // A neighbour's ordinary reading moved here.
  const auto movedIn = [&](const Date& from) {
    if (!InRange(from)) return;
    const DayFacts n = Facts(t, from);
    Date target;
    if (!Moves(n) || !MoveTarget(t, n, target) || !(target == date)) return;
    ReadingGroup g;
    g.source = Source::Moved;
    g.movedFrom = from;
    g.readings = OrdinaryOf(n);
    groups.push_back(std::move(g));
  };
  movedIn(NextDay(day, month, year));
  movedIn(PreviousDay(day, month, year));

  std::vector<ReadingGroup> commemorations;
  bool feastInPlace = false;
  for (const CommemorationReadings* m : f.commemorations) {
    ReadingGroup g;
    g.source = Source::Commemoration;
    g.label = m->label;
    // A feast stands in the ordinary reading's place when it displaces it, or
    // on a day that has none (a weekday of Lent).
    g.inPlaceOfOrdinary = m == f.displacedBy || (m->feast != FeastKind::None && !f.hasOrdinary && !feastInPlace);
    feastInPlace = feastInPlace || g.inPlaceOfOrdinary;
    g.feast = m->feast;
    g.service = m->service;
    g.readings = m->readings;
    // The feast that replaces the ordinary reading stands in its place.
    if (g.inPlaceOfOrdinary) {
      const auto at = groups.empty() || groups.front().source != Source::Ordinary ? groups.begin()
                                                                                 : groups.begin() + 1;
      groups.insert(at, std::move(g));
    } else {
      commemorations.push_back(std::move(g));
    }
  }
  for (const SpecialDayReadings* s : f.special) {
    ReadingGroup g;
    g.source = Source::Special;
    g.label = s->label;
    g.readings = s->readings;
    if (!g.readings.empty()) groups.push_back(std::move(g));
  }
  for (ReadingGroup& g : commemorations) groups.push_back(std::move(g));
  ChooseMatins(groups, t, f);
  std::erase_if(groups, [](const ReadingGroup& g) { return g.readings.empty(); });
  return groups;
}

std::vector<ReadingEntry> ReadingEntries(const std::vector<ReadingGroup>& groups, bool shortForm) {
  std::vector<ReadingEntry> entries;
  // Matins.
  for (const ReadingGroup& g : groups) {
    ReadingEntry entry;
    std::vector<std::string> texts;
    for (const SlotReading& r : g.readings) {
      if (r.slot != ReadingSlot::Matins) continue;
      texts.push_back(ReadingText(r.reading, shortForm));
      entry.readings.push_back(r);
    }
    if (texts.empty()) continue;
    std::string head(std::string_view("Утр.: "_cp));
    if (g.matinsGospel != 0 && !shortForm) head += std::string("Ев. "_cp) + std::to_string(g.matinsGospel) + std::string("-е, "_cp);
    entry.text = head + JoinReadings(texts, shortForm);
    entries.push_back(std::move(entry));
  }
  // The Hours, then Vespers: every group's, in order.
  const auto slotEntry = [&](ReadingSlot slot, std::string_view head) {
    ReadingEntry entry;
    std::vector<std::string> texts;
    for (const ReadingGroup& g : groups) {
      for (const SlotReading& r : g.readings) {
        if (r.slot != slot) continue;
        texts.push_back(ReadingText(r.reading, shortForm));
        entry.readings.push_back(r);
      }
    }
    if (texts.empty()) return;
    entry.text = std::string(head) + JoinReadings(texts, shortForm);
    entries.push_back(std::move(entry));
  };
  slotEntry(ReadingSlot::Hour1, "На 1-м часе: "_cp);
  slotEntry(ReadingSlot::Hour3, "На 3-м часе: "_cp);
  slotEntry(ReadingSlot::Hour6, "На 6-м часе: "_cp);
  slotEntry(ReadingSlot::Hour9, "На 9-м часе: "_cp);
  // Vespers comes before the Liturgy it opens; a day's own Vespers written
  // after its Liturgy readings (Pascha's) is the evening's, and comes after.
  bool vespersLast = false;
  if (!groups.empty() && groups.front().source == Source::Ordinary) {
    bool liturgy = false;
    for (const SlotReading& r : groups.front().readings) {
      if (IsLiturgySlot(r.slot)) liturgy = true;
      if (r.slot == ReadingSlot::Vespers) {
        vespersLast = liturgy;
        break;
      }
    }
  }
  if (!vespersLast) slotEntry(ReadingSlot::Vespers, "На веч.: "_cp);
  for (const ReadingGroup& g : groups) {
    ReadingEntry entry;
    entry.text = LiturgyText(g, shortForm, entry.readings);
    if (!entry.text.empty()) entries.push_back(std::move(entry));
  }
  if (vespersLast) slotEntry(ReadingSlot::Vespers, "На веч.: "_cp);
  return entries;
}

std::vector<std::string> ReadingEntryTexts(const std::vector<ReadingGroup>& groups, bool shortForm) {
  std::vector<std::string> texts;
  for (ReadingEntry& entry : ReadingEntries(groups, shortForm)) texts.push_back(std::move(entry.text));
  return texts;
}

std::vector<ReadingEntry> DayReadingEntries(u16 day, u16 month, u16 year) {
  const ReadingsTables& tables = CurrentReadingsTables();
  if (!tables.available) return {};
  return ReadingEntries(DayReadings(tables, day, month, year), AppSettings.readingsShort);
}

std::vector<std::string> DayReadingTexts(u16 day, u16 month, u16 year) {
  const ReadingsTables& tables = CurrentReadingsTables();
  if (!tables.available) return {};
  return ReadingEntryTexts(DayReadings(tables, day, month, year), AppSettings.readingsShort);
}

ReadingKind KindOf(const ReadingGroup& group, ReadingSlot slot) {
  switch (slot) {
    case ReadingSlot::Matins: return ReadingKind::Matins;
    case ReadingSlot::Vespers: return ReadingKind::Vespers;
    case ReadingSlot::Hour1:
    case ReadingSlot::Hour3:
    case ReadingSlot::Hour6:
    case ReadingSlot::Hour9: return ReadingKind::Hours;
    case ReadingSlot::Apostol:
    case ReadingSlot::Gospel: break;
  }
  switch (group.source) {
    case Source::Ordinary:
    case Source::Moved: return ReadingKind::Daily;
    case Source::Special: return ReadingKind::Special;
    case Source::Commemoration: return ReadingKind::Feast;
  }
  return ReadingKind::Daily;
}

const char* ReadingKindName(ReadingKind kind) {
  switch (kind) {
    case ReadingKind::Daily: return "daily";
    case ReadingKind::Special: return "special";
    case ReadingKind::Feast: return "feast";
    case ReadingKind::Hours: return "hours";
    case ReadingKind::Vespers: return "vespers";
    case ReadingKind::Matins: return "matins";
  }
  return "";
}

const char* ReadingSlotName(ReadingSlot slot) {
  switch (slot) {
    case ReadingSlot::Matins: return "matins";
    case ReadingSlot::Hour1: return "1st-hour";
    case ReadingSlot::Hour3: return "3rd-hour";
    case ReadingSlot::Hour6: return "6th-hour";
    case ReadingSlot::Hour9: return "9th-hour";
    case ReadingSlot::Vespers: return "vespers";
    case ReadingSlot::Apostol: return "apostol";
    case ReadingSlot::Gospel: return "gospel";
  }
  return "";
}

}  // namespace velmar
