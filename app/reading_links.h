#pragma once
// The readings of the day pages as links to their text: a double click on a
// reading's paragraph in RichEdit1, RichEdit2 or RichEdit3, or «Читать» in
// their context menu, opens the reading window on it. «Читать» is enabled
// only when the menu was opened on a reading.
//
// Which reading was clicked is not read from the words shown: the page's
// date gives the day's reading entries (DayReadingEntries, as the document
// wrote them), and the entry whose text stands at the clicked place of the
// paragraph is the one.

#include <QObject>
#include <QPoint>
#include <array>
#include <functional>
#include <optional>

#include "platform/clock.h"
#include "texts/day_readings.h"
#include "texts/day_views.h"

class QAction;
class QMenu;
class QTextCursor;

namespace velmar {

class ReadingWindow;
class RichEdit;

// The date the Today page shows, from the day and month it recorded and the
// system date now: the year that puts it nearest to today (just after New
// Year the page may still show the 31st of December).
CivilDate ShownDate(int day, int month, const CivilDate& today);

class ReadingLinks : public QObject {
  Q_OBJECT

 public:
  // The date a page shows, if any.
  using PageDate = std::function<std::optional<CivilDate>(ViewKind page)>;

  // texts: the Today, Tomorrow and Calendar pages' texts; menu: their
  // context menu, which gets «Читать» at its end; the window is made when
  // first needed, a window of its own owned by owner.
  ReadingLinks(QWidget* owner, const std::array<RichEdit*, 3>& texts, QMenu* menu, PageDate pageDate);

  struct Found {
    CivilDate date;
    ReadingEntry entry;
  };
  // The reading at a place of a page's text (viewport coordinates), if any.
  std::optional<Found> ReadingAt(ViewKind page, const QPoint& at) const;

  // Opens the reading window on a reading.
  void Open(const Found& found);

  QAction* ReadAction = nullptr;  // «&Читать»
  // The reading window, nullptr until a reading was opened.
  ReadingWindow* Window() const { return window_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::optional<Found> ReadingAtCursor(ViewKind page, const QTextCursor& cursor,
                                       const std::optional<QPoint>& documentPoint) const;

  QWidget* owner_;
  std::array<RichEdit*, 3> texts_;
  PageDate pageDate_;
  std::optional<Found> menuReading_;  // what the open menu's «Читать» opens
  ReadingWindow* window_ = nullptr;
};

}  // namespace velmar
