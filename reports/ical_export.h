#pragma once
// The period calendar as an iCalendar file (RFC 5545), for the calendar of a
// phone or a desktop: one all-day event a day, built from the period and the
// database (not from the RTF document), written through libical, which
// escapes the text, folds the lines at 75 octets and ends them with CRLF.
//
// An event carries:
// - DTSTART;VALUE=DATE and DTEND;VALUE=DATE (the next day), TRANSP:TRANSPARENT;
// - SUMMARY: the day's chief commemoration (the entry with the highest
//   service-rank sign, the first of them), or the day's moveable title when
//   that outranks it: on Pascha always; in Holy Week with Palm Sunday and
//   Lazarus Saturday, in Bright Week, on the Ascension and Pentecost over
//   anything but a great feast; on the named Sundays of the Triodion and
//   Pentecostarion over anything below a great feast; Radonitsa (its title)
//   and the Eves of the Nativity and the Theophany (their names) over
//   anything below a vigil; of equal ranks the moveable commemoration of
//   Easter.db or Epiphany.db before the saint of the month file;
// - DESCRIPTION: the old-style date, the title and tone, and every entry of
//   the day as plain text with its sign, one a line, the fast note last;
// - CATEGORIES "Великий праздник" on a day with a great-feast entry and
//   "Великий пост" on the days of Great Lent;
// - UID "velmar32-YYYYMMDD@velmar32.example.org", the same for a date in every
//   export, so that a calendar program importing again replaces the day;
// - DTSTAMP: the time of the export (UTC).
// The texts come from the database as the documents show them (the same
// files, settings and order); their RTF markup is turned into plain text.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/period_calendar.h"

namespace velmar {

// What the event of one day says; UTF-8.
struct DayEvent {
  Date date;
  std::string uid;
  std::string summary;
  std::string description;  // lines separated by '\n'
  std::vector<std::string> categories;
};

DayEvent MakeDayEvent(const Date& date);

// Writes the calendar of a valid period (new style, start not after end),
// piece by piece through write (false from it stops the export). stamp: the
// DTSTAMP, seconds since 1970 (UTC). Returns false for an invalid period or
// when a write failed. Each distinct database message is shown once.
bool WriteICalendar(const Period& period, long long stamp,
                    const std::function<bool(std::string_view)>& write);

}  // namespace velmar
