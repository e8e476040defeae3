#include "reports/ical_export.h"

#include <libical/ical.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "calendar/cp1251.h"
#include "calendar/moveable_titles.h"
#include "calendar/paschalion.h"
#include "platform/messages.h"
#include "texts/database_cache.h"
#include "texts/day_entries.h"
#include "texts/day_readings.h"
#include "texts/fasting_rules.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"

namespace velmar {
namespace {

// Ranks, in half steps: a service-rank sign ranks twice its entry code
// (0..12); an entry of an additional class ranks below them all. A day that
// calendars call by its name (Radonitsa, the Eves of the Nativity and the
// Theophany) ranks between a polyeleos and a vigil.
constexpr int kAdditionalRank = -1;
constexpr int kNamedDayRank = 9;

int EntryRank(const DayEntry& entry) {
  if (entry.additional || entry.code < '0' || entry.code > '6') return kAdditionalRank;
  return 2 * (entry.code - '0');
}

// The sign of an entry as the documents draw it.
std::string_view EntrySign(const DayEntry& entry) {
  if (entry.additional) return "·";
  switch (entry.code) {
    case '0': return "·";
    case '1': return "•";
    case '2': return "ш";
    case '3': return "c";
    case '4': return "+";
    case '5': return "+)";
    case '6': return "(+)";
    default: return "";
  }
}

// "Неделя 28-я по Пятидесятнице": an ordinary Sunday's numbered title.
bool NumberedSundayTitle(std::string_view title) {
  constexpr std::string_view prefix = "Неделя ";
  constexpr std::string_view suffix = "-я по Пятидесятнице";
  if (!title.starts_with(prefix) || !title.ends_with(suffix)) return false;
  const std::string_view number = title.substr(prefix.size(), title.size() - prefix.size() - suffix.size());
  if (number.empty()) return false;
  for (const char c : number)
    if (c < '0' || c > '9') return false;
  return true;
}

// The rank of the day's moveable title against the commemorations: above
// everything on Pascha; as a great feast (a tie goes to the feast) in Holy
// Week with Palm Sunday and Lazarus Saturday, in Bright Week, on the
// Ascension and Pentecost; between a vigil and a great feast on the named
// Sundays; below every entry on the other days.
int TitleRank(const Date& d, std::string_view titleUtf8) {
  const int before = DaysBeforePascha(d.day, d.month, d.year);
  const int since = DaysSincePascha(d.day, d.month, d.year);
  if (before == 0) return 14;
  if ((before >= 1 && before <= 8) || since < 7 || since == 39 || since == 49) return 12;
  if (WeekdayNumber(d.day, d.month, d.year) == 1 && !NumberedSundayTitle(titleUtf8)) return 11;
  if (since == 9) return kNamedDayRank;  // Радоница
  return kAdditionalRank - 1;
}

// The name of an Eve of a great feast on its old-style date, "" on other
// days; it ranks as a named day.
std::string_view EveName(int oldDay, int oldMonth) {
  if (oldDay == 24 && oldMonth == 12) return "Навечерие Рождества Христова";
  if (oldDay == 5 && oldMonth == 1) return "Навечерие Богоявления";
  return {};
}

std::string DateUid(const Date& d) {
  char uid[64];
  std::snprintf(uid, sizeof uid, "velmar32-%04d%02d%02d@velmar32.example.org", d.year, d.month, d.day);
  return uid;
}

icaltimetype DateValue(const Date& d) {
  icaltimetype t = icaltime_null_date();
  t.year = d.year;
  t.month = d.month;
  t.day = d.day;
  return t;
}

struct ComponentFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

// The component as text (CRLF, folded), handed to write.
bool WriteComponent(icalcomponent* component, const std::function<bool(std::string_view)>& write,
                    std::string_view dropLast = {}) {
  char* text = icalcomponent_as_ical_string_r(component);
  if (text == nullptr) return false;
  std::string_view view(text);
  if (!dropLast.empty() && view.ends_with(dropLast)) view.remove_suffix(dropLast.size());
  const bool ok = write(view);
  std::free(text);
  return ok;
}

}  // namespace

DayEvent MakeDayEvent(const Date& d) {
  DayEvent event;
  event.date = d;
  event.uid = DateUid(d);
  const DayMonth old = NewToOldStyle(d.day, d.month, d.year);
  const std::string title = Cp1251ToUtf8(MoveableDayTitle(d.day, d.month, d.year));
  const int tone = ToneOfDay(d.day, d.month, d.year);

  event.description = std::to_string(old.day) + " " + Cp1251ToUtf8(MonthNames[old.month]) + " ст.ст.\n" + title;
  if (tone >= 1 && tone <= 8) event.description += ", глас " + Cp1251ToUtf8(ToneNames[static_cast<std::size_t>(tone)]);
  event.description += "\n";

  // Easter.db and Epiphany.db come first, so that of equal ranks a moveable
  // commemoration is the chief one.
  const std::vector<DayEntry> entries = DayEntries(d.day, d.month, d.year);
  const DayEntry* chief = nullptr;
  bool greatFeast = false;
  for (const DayEntry& entry : entries) {
    const std::string text = FragmentPlainText(entry.text);
    event.description += "\n" + std::string(EntrySign(entry)) + " " + text;
    if (chief == nullptr || EntryRank(entry) > EntryRank(*chief)) chief = &entry;
    greatFeast = greatFeast || EntryRank(entry) == 12;
  }
  for (const std::string& reading : DayReadingTexts(d.day, d.month, d.year))
    event.description += "\n· " + FragmentPlainText(reading);
  const std::string fast = FastNote(d.day, d.month, d.year);
  if (!fast.empty()) event.description += "\n· " + FragmentPlainText(fast);
  // The highest of the chief commemoration, the Eve's name and the title; a
  // tie keeps the first of them.
  constexpr int kNothing = kAdditionalRank - 2;  // below every title
  int rank = chief == nullptr ? kNothing : EntryRank(*chief);
  if (chief != nullptr) event.summary = FragmentPlainText(chief->text);
  if (const std::string_view eve = EveName(old.day, old.month); !eve.empty() && kNamedDayRank > rank) {
    event.summary = eve;
    rank = kNamedDayRank;
  }
  if (TitleRank(d, title) > rank) event.summary = title;

  const int before = DaysBeforePascha(d.day, d.month, d.year);
  if (greatFeast || before == 0) event.categories.push_back("Великий праздник");
  if (before >= 1 && before <= 48) event.categories.push_back("Великий пост");
  return event;
}

bool WriteICalendar(const Period& period, long long stamp,
                    const std::function<bool(std::string_view)>& write) {
  if (!IsValidPeriodDate(period.start) || !IsValidPeriodDate(period.end) || StartsAfterEnd(period)) return false;
  DistinctMessagesScope onceEach;
  DatabaseSnapshot readOnce;

  // The calendar's own lines through libical; its END line comes after the
  // events, which are written one by one so that no period sits in memory.
  Component calendar(icalcomponent_new_vcalendar());
  icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Velmar32//Dneslovnik 2.0 pre-release 278//RU"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
  icalcomponent_add_property(calendar.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
  char name[160];
  std::snprintf(name, sizeof name, "Днесловник с %d %s %d г. по %d %s %d г.", period.start.day,
                Cp1251ToUtf8(MonthNames[period.start.month]).c_str(), period.start.year, period.end.day,
                Cp1251ToUtf8(MonthNames[period.end.month]).c_str(), period.end.year);
  icalproperty* calendarName = icalproperty_new_x(name);
  icalproperty_set_x_name(calendarName, "X-WR-CALNAME");
  icalcomponent_add_property(calendar.get(), calendarName);
  constexpr std::string_view kEnd = "END:VCALENDAR\r\n";
  if (!WriteComponent(calendar.get(), write, kEnd)) return false;

  const icaltimetype dtstamp =
      icaltime_from_timet_with_zone(static_cast<time_t>(stamp), 0, icaltimezone_get_utc_timezone());
  for (Date d = period.start;; d = NextDay(d.day, d.month, d.year)) {
    const DayEvent day = MakeDayEvent(d);
    const Date next = NextDay(d.day, d.month, d.year);
    Component event(icalcomponent_new_vevent());
    icalcomponent_add_property(event.get(), icalproperty_new_uid(day.uid.c_str()));
    icalcomponent_add_property(event.get(), icalproperty_new_dtstamp(dtstamp));
    icalcomponent_add_property(event.get(), icalproperty_new_dtstart(DateValue(d)));
    icalcomponent_add_property(event.get(), icalproperty_new_dtend(DateValue(next)));
    icalcomponent_add_property(event.get(), icalproperty_new_summary(day.summary.c_str()));
    icalcomponent_add_property(event.get(), icalproperty_new_description(day.description.c_str()));
    for (const std::string& category : day.categories)
      icalcomponent_add_property(event.get(), icalproperty_new_categories(category.c_str()));
    icalcomponent_add_property(event.get(), icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    if (!WriteComponent(event.get(), write)) return false;
    if (d == period.end) break;
  }
  return write(kEnd);
}

}  // namespace velmar
