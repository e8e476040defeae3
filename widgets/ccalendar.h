#pragma once
// CCalendar: the month grid of the Calendar page. It shows one month of one
// year: days of the neighbouring months are left blank and can't be picked
// with the mouse, and there is no navigation bar (the page's month list and
// year field move it). The keyboard moves the date across the month's ends:
// the arrows by a day or a week, PageUp and PageDown by a month (the day kept,
// or the month's last one). Its date stays within 1800..2100.
//
// Changed is raised whenever the date changes, by the user or by one of the
// setters; SwitchToCurrentDate raises nothing. A setter that would make the
// date nonexistent (31 April, 29 February of a common year) or leave
// 1800..2100 is refused and changes nothing, which is why callers move the
// day first.

#include <QCalendarWidget>
#include <QDate>

namespace velmar {

class CCalendar : public QCalendarWidget {
  Q_OBJECT

 public:
  // Starts on today's date (clamped into 1800..2100), Monday first.
  explicit CCalendar(QWidget* parent = nullptr);

  int Year() const { return date_.year(); }
  int Month() const { return date_.month(); }  // 1..12
  int Day() const { return date_.day(); }      // 1..31

  // Each returns false and changes nothing when the resulting date would not
  // exist or leave 1800..2100; a change raises Changed.
  bool SetYear(int year);
  bool SetMonth(int month);
  bool SetDay(int day);
  // The whole date at once (one change event).
  bool SetDate(int year, int month, int day);

  // Today's date (velmar::Today()), without raising Changed.
  void SwitchToCurrentDate();

  // First column of the grid: 1 = Monday .. 7 = Sunday; other values ignored.
  void SetStartOfWeek(int startOfWeek);

 signals:
  void Changed();
  void DoubleClicked();
  // A key moved the date into another month (after Changed), so that the
  // page's month list and year field follow it.
  void KeyMovedMonth();

 protected:
  void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Move(QDate date);
  void Show(QDate date);  // without Changed
  void SelectionChanged();

  QDate date_;
  bool quiet_ = false;
};

}  // namespace velmar
