#include "widgets/ccalendar.h"

#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QTableView>

#include "platform/clock.h"
#include "widgets/readable_colours.h"

namespace velmar {
namespace {

const QDate kFirst(1800, 1, 1);
const QDate kLast(2100, 12, 31);

QDate Clamp(QDate date) {
  if (!date.isValid() || date < kFirst) return kFirst;
  return date > kLast ? kLast : date;
}

}  // namespace

CCalendar::CCalendar(QWidget* parent) : QCalendarWidget(parent) {
  setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  setNavigationBarVisible(false);
  setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
  setGridVisible(true);
  setDateRange(kFirst, kLast);
  setFirstDayOfWeek(Qt::Monday);
  KeepCalendarColoursReadable(this);  // the red weekend days
  const CivilDate today = Today();
  Show(Clamp(QDate(today.year, today.month, today.day)));
  connect(this, &QCalendarWidget::selectionChanged, this, &CCalendar::SelectionChanged);
  connect(this, &QCalendarWidget::activated, this, &CCalendar::DoubleClicked);
  // The grid's own view takes the keys; they are ours first.
  if (QTableView* view = findChild<QTableView*>()) view->installEventFilter(this);
}

bool CCalendar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QCalendarWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return QCalendarWidget::eventFilter(watched, event);
  QDate target;
  switch (key->key()) {
    case Qt::Key_Left: target = date_.addDays(-1); break;
    case Qt::Key_Right: target = date_.addDays(1); break;
    case Qt::Key_Up: target = date_.addDays(-7); break;
    case Qt::Key_Down: target = date_.addDays(7); break;
    case Qt::Key_PageUp: target = date_.addMonths(-1); break;
    case Qt::Key_PageDown: target = date_.addMonths(1); break;
    default: return QCalendarWidget::eventFilter(watched, event);
  }
  const QDate before = date_;
  // Past 1800..2100 the key does nothing.
  if (Move(target) && (date_.month() != before.month() || date_.year() != before.year()))
    emit KeyMovedMonth();
  return true;
}

bool CCalendar::SetYear(int year) { return Move(QDate(year, Month(), Day())); }

bool CCalendar::SetMonth(int month) { return Move(QDate(Year(), month, Day())); }

bool CCalendar::SetDay(int day) { return Move(QDate(Year(), Month(), day)); }

bool CCalendar::SetDate(int year, int month, int day) { return Move(QDate(year, month, day)); }

bool CCalendar::Move(QDate date) {
  if (!date.isValid() || date < kFirst || date > kLast) return false;
  if (date == date_) return true;
  Show(date);
  emit Changed();
  return true;
}

void CCalendar::SwitchToCurrentDate() {
  const CivilDate today = Today();
  Show(Clamp(QDate(today.year, today.month, today.day)));
}

void CCalendar::SetStartOfWeek(int startOfWeek) {
  if (startOfWeek >= 1 && startOfWeek <= 7) setFirstDayOfWeek(static_cast<Qt::DayOfWeek>(startOfWeek));
}

void CCalendar::Show(QDate date) {
  quiet_ = true;
  date_ = date;
  setSelectedDate(date);
  setCurrentPage(date.year(), date.month());
  quiet_ = false;
  update();
}

void CCalendar::SelectionChanged() {
  if (quiet_) return;
  const QDate picked = selectedDate();
  if (picked == date_) return;
  // A day of another month (a click on a blank cell, an arrow key at the
  // month's edge) is refused: the grid stays on its month.
  if (picked.year() != date_.year() || picked.month() != date_.month()) {
    Show(date_);
    return;
  }
  date_ = picked;
  emit Changed();
}

void CCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const {
  if (date.year() == date_.year() && date.month() == date_.month()) {
    QCalendarWidget::paintCell(painter, rect, date);
    return;
  }
  painter->fillRect(rect, palette().brush(QPalette::Base));
}

}  // namespace velmar
