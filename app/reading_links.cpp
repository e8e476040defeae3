#include "app/reading_links.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdlib>
#include <limits>

#include "app/reading_window.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

// Holds back the messages of the tables while a click is looked up: the
// document that shows the day reported them already.
class QuietMessages : public MessageSink {
 public:
  QuietMessages() : previous_(SetMessageSink(this)) {}
  ~QuietMessages() override { SetMessageSink(previous_); }
  QuietMessages(const QuietMessages&) = delete;
  QuietMessages& operator=(const QuietMessages&) = delete;
  void Show(std::string_view) override {}

 private:
  MessageSink* previous_;
};

// The paragraph's text without the service-rank sign before its entry.
QString WithoutSign(const QString& paragraph) {
  QString text = paragraph.trimmed();
  while (!text.isEmpty() && (text.front() == QChar(0x00B7) || text.front() == QChar(0x2022) || text.front().isSpace()))
    text.remove(0, 1);
  return text;
}

}  // namespace

CivilDate ShownDate(int day, int month, const CivilDate& today) {
  const long now = GregorianToSerial(today.year, today.month, today.day);
  CivilDate best = today;
  long bestDistance = std::numeric_limits<long>::max();
  if (month < 1 || month > 12 || day < 1) return best;
  const int thisYear = today.year;
  for (const int year : {thisYear - 1, thisYear, thisYear + 1}) {
    const int length = MonthLengths[static_cast<std::size_t>(month)] + (month == 2 && IsNewStyleLeap(year) == 1);
    if (day > length) continue;
    const long distance = std::labs(GregorianToSerial(year, month, day) - now);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = {static_cast<std::uint16_t>(day), static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(year)};
    }
  }
  return best;
}

ReadingLinks::ReadingLinks(QWidget* owner, const std::array<RichEdit*, 3>& texts, QMenu* menu, PageDate pageDate)
    : QObject(owner), owner_(owner), texts_(texts), pageDate_(std::move(pageDate)) {
  menu->addSeparator();
  ReadAction = menu->addAction(QStringLiteral("&Читать"));
  ReadAction->setEnabled(false);
  connect(ReadAction, &QAction::triggered, this, [this] {
    if (menuReading_) Open(*menuReading_);
  });
  // Installed after the text's own filters, so seen first: the menu's item
  // is set before the menu opens.
  for (RichEdit* text : texts_) {
    text->viewport()->installEventFilter(this);
    text->installEventFilter(this);
  }
}

std::optional<ReadingLinks::Found> ReadingLinks::ReadingAt(ViewKind page, const QPoint& at) const {
  const RichEdit* text = texts_[static_cast<std::size_t>(page) - 1];
  const QPoint documentPoint = at + QPoint(text->horizontalScrollBar()->value(), text->verticalScrollBar()->value());
  return ReadingAtCursor(page, text->cursorForPosition(at), documentPoint);
}

std::optional<ReadingLinks::Found> ReadingLinks::ReadingAtCursor(ViewKind page, const QTextCursor& cursor,
                                                                 const std::optional<QPoint>& documentPoint) const {
  const RichEdit* text = texts_[static_cast<std::size_t>(page) - 1];
  const QTextBlock block = cursor.block();
  if (!block.isValid()) return std::nullopt;
  if (documentPoint &&
      !text->document()->documentLayout()->blockBoundingRect(block).contains(QPointF(*documentPoint)))
    return std::nullopt;  // below the last paragraph, or between paragraphs
  const std::optional<CivilDate> date = pageDate_ ? pageDate_(page) : std::nullopt;
  if (!date) return std::nullopt;

  std::vector<ReadingEntry> entries;
  {
    const QuietMessages quiet;
    entries = DayReadingEntries(date->day, date->month, date->year);
  }
  const QString paragraph = block.text();
  const int at = cursor.positionInBlock();
  for (const ReadingEntry& entry : entries) {
    const QString wanted = QString::fromStdString(Cp1251ToUtf8(entry.text));
    if (wanted.isEmpty()) continue;
    // The entry's own paragraph, clicked anywhere (its sign included); or,
    // where entries run on in one paragraph (no signs), the entry's words.
    if (WithoutSign(paragraph) == wanted) return Found{*date, entry};
    for (qsizetype from = paragraph.indexOf(wanted); from >= 0; from = paragraph.indexOf(wanted, from + 1)) {
      if (at >= from && at <= from + wanted.size()) return Found{*date, entry};
    }
  }
  return std::nullopt;
}

void ReadingLinks::Open(const Found& found) {
  if (window_ == nullptr) window_ = new ReadingWindow(owner_);
  window_->ShowReading(found.date, found.entry);
}

bool ReadingLinks::eventFilter(QObject* watched, QEvent* event) {
  const auto pageOf = [&](QObject* object) -> std::optional<ViewKind> {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
      if (object == texts_[i] || object == texts_[i]->viewport()) return static_cast<ViewKind>(i + 1);
    }
    return std::nullopt;
  };
  if (event->type() == QEvent::MouseButtonDblClick) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const std::optional<ViewKind> page = pageOf(watched);
    if (page && mouse->button() == Qt::LeftButton && watched == texts_[static_cast<std::size_t>(*page) - 1]->viewport()) {
      if (const auto found = ReadingAt(*page, mouse->position().toPoint())) {
        Open(*found);
        return true;
      }
    }
  } else if (event->type() == QEvent::ContextMenu) {
    const auto* menu = static_cast<QContextMenuEvent*>(event);
    const std::optional<ViewKind> page = pageOf(watched);
    if (page) {
      RichEdit* text = texts_[static_cast<std::size_t>(*page) - 1];
      if (menu->reason() == QContextMenuEvent::Keyboard) {
        menuReading_ = ReadingAtCursor(*page, text->textCursor(), std::nullopt);
      } else {
        const QPoint at = watched == text ? text->viewport()->mapFrom(text, menu->pos()) : menu->pos();
        menuReading_ = ReadingAt(*page, at);
      }
      ReadAction->setEnabled(menuReading_.has_value());
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace velmar
