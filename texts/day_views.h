#pragma once
// The day views: the Today, Tomorrow and Calendar pages of the main window.
// ShowCalendarDay writes the day document of one new-style date into the
// report file and has it loaded into the Calendar page; ShowTodayAndTomorrow
// fills the Today and Tomorrow pages from the system date. Neither knows the
// window: they tell a DayViewHost what to show. Texts are Windows-1251.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace velmar {

// The three pages that show a day; the numbers are the view kinds of the
// additional-information slots.
enum class ViewKind { Today = 1, Tomorrow = 2, Calendar = 3 };

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The captions of the Today or Tomorrow page (GroupBox1/Label1/Label2/Label6,
// or GroupBox2/Label3/Label4/Label7) and their colours.
struct DayCaptions {
  std::string groupCaption;  // "Воскресенье, 7 Января 2001 года"
  std::string oldStyle;      // "(25 Декабря ст.ст.)"
  std::string title;         // moveable-day title followed by ","
  std::string tone;          // "Глас четвертый" / "Глас отсутствует"
  Rgb groupColour;           // font colour of the group box caption
  Rgb labelColour;           // font colour of the three labels
};

// The additional-information slot of a page: its button, hint and the file
// it opens (relative to the program directory).
struct AdditionalInfoSlot {
  bool enabled = false;
  std::string hint;       // tooltip of the button
  std::string reference;  // file name relative to the program directory
};

// What the day views need of the main window.
class DayViewHost {
 public:
  virtual ~DayViewHost() = default;
  // Clears the texts of the Today and Tomorrow pages (RichEdit1, RichEdit2).
  virtual void ClearTodayAndTomorrowTexts() = 0;
  // Shows the captions of the Today or Tomorrow page.
  virtual void SetCaptions(ViewKind page, const DayCaptions& captions) = 0;
  // Loads the report file (an RTF document) into the page's text, replacing it.
  virtual void LoadDayText(ViewKind page, const std::string& reportFile) = 0;
  // Shows the page's additional-information button as the slot says.
  virtual void SetAdditionalInfo(ViewKind page, const AdditionalInfoSlot& slot) = 0;
  // Switches the Calendar page's month grid to the current date (raising no
  // change event) and sets its month list and year field to today's.
  virtual void ResetCalendarControls(const CivilDate& today) = 0;
  // Sets the application title (the taskbar and tray text).
  virtual void SetApplicationTitle(std::string_view title) = 0;
  // Asks the application to end once the current event has been handled.
  virtual void Terminate() = 0;
};

// The date the Today page shows; set by ShowTodayAndTomorrow when it
// completes (and by the main window at construction).
extern std::uint16_t shownDay;
extern std::uint16_t shownMonth;

// The day colour of a new-style date: "\\cf2" on a weekday of Great Lent,
// "\\cf3" on Sundays, great feasts and in Bright Week, "\\cf0" otherwise.
std::string_view DayColourCode(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                               int weekday);

// The Calendar page's document of a new-style date (argument order year,
// month, day), written into the open report stream from the prologue to the
// closing brace.
void WriteCalendarDayDocument(std::uint16_t year, std::uint16_t month, std::uint16_t day);

// The Today or Tomorrow page's document of a new-style date with its weekday,
// written into the open report stream (no title line: the labels carry it).
void WritePageDayDocument(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                          int weekday);

// The captions of the Today or Tomorrow page for a new-style date.
DayCaptions MakeDayCaptions(std::uint16_t day, std::uint16_t month, std::uint16_t year,
                            int weekday);

// Writes the Calendar page's document of a new-style date of 1800..2100 and
// has the host load it; then looks the old-style date up in Addition.db.
// Argument order: year, month, day.
void ShowCalendarDay(DayViewHost& host, std::uint16_t year, std::uint16_t month,
                     std::uint16_t day);

// Fills the Today and Tomorrow pages from the system date (Today()).
void ShowTodayAndTomorrow(DayViewHost& host);

}  // namespace velmar
