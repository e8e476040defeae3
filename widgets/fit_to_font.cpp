#include "widgets/fit_to_font.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRect>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "widgets/window_frame.h"

namespace velmar {
namespace {

const char kDesignRect[] = "velmarDesignRect";      // QRect: the place the design gave
const char kAppliedRect[] = "velmarFittedRect";     // QRect: the place the last fit gave
const char kGrowth[] = "velmarFitGrowth";           // QSize

// Gap to the container's edge up to which a control counts as reaching it.
constexpr int kEdgeGap = 16;

bool Placed(const QWidget* w) { return !w->isWindow() && w->parentWidget() != nullptr; }

std::vector<QWidget*> PlacedChildren(QWidget* container) {
  std::vector<QWidget*> children;
  for (QWidget* child : container->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (Placed(child) && !child->testAttribute(Qt::WA_DontShowOnScreen)) children.push_back(child);
  }
  return children;
}

QRect DesignRect(QWidget* w) {
  QVariant design = w->property(kDesignRect);
  if (!design.isValid()) {
    w->setProperty(kDesignRect, w->geometry());
    w->setProperty(kAppliedRect, w->geometry());
    return w->geometry();
  }
  return design.toRect();
}

bool HasPlacedChildren(QWidget* w) {
  return w->layout() == nullptr && !PlacedChildren(w).empty() &&
         (qobject_cast<QGroupBox*>(w) != nullptr || QLatin1String(w->metaObject()->className()) == "QWidget" ||
          QLatin1String(w->metaObject()->className()) == "QFrame");
}

struct Item {
  QWidget* widget;
  QRect design;
  QSize need;      // the size its text needs (at least the design's)
  int shiftX = 0;  // moves of the fit
  int shiftY = 0;
  int growX = 0;   // growth of the fit
  int growY = 0;
};

QSize FitContainer(QWidget* container, QSize designSize);

// The size a control needs for its text at width `width`.
QSize Need(QWidget* w, const QRect& design, int width) {
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (label->wordWrap()) {
      const int h = label->text().isEmpty() ? 0 : label->heightForWidth(width);
      return {design.width(), std::max(design.height(), h)};
    }
    const QSize hint = label->text().isEmpty() ? QSize() : label->sizeHint();
    return {std::max(design.width(), hint.width()), std::max(design.height(), hint.height())};
  }
  if (qobject_cast<QLineEdit*>(w) != nullptr) {
    return {design.width(), std::max(design.height(), w->sizeHint().height())};
  }
  if (qobject_cast<QComboBox*>(w) != nullptr || qobject_cast<QAbstractSpinBox*>(w) != nullptr ||
      qobject_cast<QAbstractButton*>(w) != nullptr) {
    const QSize hint = w->sizeHint();
    return {std::max(design.width(), hint.width()), std::max(design.height(), hint.height())};
  }
  if (HasPlacedChildren(w)) {
    QSize grown = FitContainer(w, design.size());
    if (auto* group = qobject_cast<QGroupBox*>(w); group != nullptr && !group->title().isEmpty())
      grown.setWidth(std::max(grown.width(), group->minimumSizeHint().width()));
    return grown;
  }
  return design.size();
}

bool RowsOverlap(const QRect& a, const QRect& b) { return a.top() < b.bottom() && b.top() < a.bottom(); }

// Places the children of a container of designed size designSize; returns
// the size the container needs.
QSize FitContainer(QWidget* container, QSize designSize) {
  std::vector<Item> items;
  for (QWidget* child : PlacedChildren(container)) {
    const QRect design = DesignRect(child);
    items.push_back({child, design, Need(child, design, design.width())});
  }
  // Across: a control moves on by the growth of those left of it in its row.
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.design.x() < b.design.x(); });
  // The container grows so that each control keeps the gap it had to the
  // right edge, or 8 pixels where the gap was wider.
  int growWidth = 0;
  for (Item& item : items) {
    item.growX = item.need.width() - item.design.width();
    for (const Item& left : items) {
      if (&left == &item) break;
      if (left.design.right() <= item.design.left() + 2 && RowsOverlap(left.design, item.design))
        item.shiftX = std::max(item.shiftX, left.shiftX + left.growX);
    }
    const int gap = std::clamp(designSize.width() - 1 - item.design.right(), 0, 8);
    growWidth = std::max(growWidth, item.design.right() + item.shiftX + item.growX + gap + 1 - designSize.width());
  }
  // What reaches the right edge keeps its gap there: spanning controls
  // stretch, the others (the buttons) move.
  // A button next to one that moves so (the "Ок" beside "Отмена") moves
  // with it.
  std::vector<bool> anchored(items.size(), false);
  for (std::size_t i = 0; i < items.size(); ++i)
    anchored[i] = designSize.width() - 1 - items[i].design.right() <= kEdgeGap && items[i].design.left() > kEdgeGap;
  for (bool more = true; more;) {
    more = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (anchored[i] || qobject_cast<QAbstractButton*>(items[i].widget) == nullptr) continue;
      for (std::size_t j = 0; j < items.size(); ++j) {
        const int gap = items[j].design.left() - items[i].design.right();
        if (anchored[j] && gap > 0 && gap <= 12 && RowsOverlap(items[i].design, items[j].design)) {
          anchored[i] = more = true;
          break;
        }
      }
    }
  }
  for (std::size_t i = 0; i < items.size() && growWidth > 0; ++i) {
    Item& item = items[i];
    const int gap = designSize.width() - 1 - item.design.right();
    if (anchored[i]) {
      item.shiftX = std::max(item.shiftX, growWidth - item.growX);
    } else if (gap <= kEdgeGap && item.design.left() <= kEdgeGap) {
      item.growX = std::max(item.growX, growWidth - item.shiftX);
    }
  }
  // Down: heights at the new widths; a control moves down by the growth of
  // those above it.
  for (Item& item : items) {
    const int width = item.design.width() + item.growX;
    if (item.growX > 0 && HasPlacedChildren(item.widget)) {
      // A stretched group: its own right-edge controls follow it.
      const QSize need = FitContainer(item.widget, {width, item.design.height()});
      item.need.setHeight(std::max(item.need.height(), need.height()));
    } else if (auto* label = qobject_cast<QLabel*>(item.widget); label != nullptr && label->wordWrap()) {
      item.need = Need(label, item.design, width);
    }
    item.growY = item.need.height() - item.design.height();
  }
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.design.y() < b.design.y(); });
  int growHeight = 0;
  for (Item& item : items) {
    for (const Item& above : items) {
      if (&above == &item) break;
      if (above.design.bottom() <= item.design.top() + 2)
        item.shiftY = std::max(item.shiftY, above.shiftY + above.growY);
    }
    if (item.design.bottom() < designSize.height()) {
      const int gap = std::clamp(designSize.height() - 1 - item.design.bottom(), 0, 8);
      growHeight = std::max(growHeight, item.design.bottom() + item.shiftY + item.growY + gap + 1 - designSize.height());
    } else {
      // Below the window's edge (a part the window shows only when taller).
      growHeight = std::max(growHeight, item.growY > 0 ? item.shiftY + item.growY : 0);
    }
  }
  for (const Item& item : items) {
    QRect fitted(item.design.topLeft() + QPoint(item.shiftX, item.shiftY),
                 item.design.size() + QSize(item.growX, item.growY));
    // A move the program made since the last fit stays on top of this one.
    const QRect applied = item.widget->property(kAppliedRect).toRect();
    fitted.translate(item.widget->pos() - applied.topLeft());
    item.widget->setProperty(kAppliedRect, fitted);
    if (item.widget->geometry() != fitted) item.widget->setGeometry(fitted);
  }
  return designSize + QSize(growWidth, growHeight);
}

class FitKeeper : public QObject {
 public:
  explicit FitKeeper(QWidget* window) : QObject(window), window_(window) { window->installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::FontChange:
      case QEvent::StyleChange:
      case QEvent::ApplicationFontChange:
        if (!fitting_) {
          fitting_ = true;
          FitToFont(window_);
          fitting_ = false;
        }
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool fitting_ = false;
};

class MinimumKeeper : public QObject {
 public:
  MinimumKeeper(QWidget* window, QSize design, std::function<QSize()> atLeast)
      : QObject(window), window_(window), design_(design), atLeast_(std::move(atLeast)) {
    window->installEventFilter(this);
  }

  void Apply() {
    QSize minimum = design_;
    if (QLayout* layout = window_->layout()) minimum = minimum.expandedTo(layout->totalMinimumSize());
    if (atLeast_) minimum = minimum.expandedTo(atLeast_());
    if (window_->minimumSize() != minimum) window_->setMinimumSize(minimum);
    if (window_->width() < minimum.width() || window_->height() < minimum.height())
      window_->resize(window_->size().expandedTo(minimum));
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::LayoutRequest:
      case QEvent::Show:
      case QEvent::FontChange:
      case QEvent::StyleChange:
        Apply();
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  QSize design_;
  std::function<QSize()> atLeast_;
};

}  // namespace

void KeepLayoutMinimum(QWidget* window, QSize designMinimum, std::function<QSize()> atLeast) {
  delete window->findChild<QObject*>(QStringLiteral("velmarMinimumKeeper"), Qt::FindDirectChildrenOnly);
  auto* keeper = new MinimumKeeper(window, designMinimum, std::move(atLeast));
  keeper->setObjectName(QStringLiteral("velmarMinimumKeeper"));
  keeper->Apply();
}

QSize FitToFont(QWidget* window) {
  // The window's size less the growth the last fit gave it is its design
  // (or what the program made it since, as the search dialog's height).
  const QSize last = FitGrowth(window);
  const QSize base = window->size() - last;
  const QSize need = FitContainer(window, base);
  const QSize growth(std::max(0, need.width() - base.width()), std::max(0, need.height() - base.height()));
  window->setProperty(kGrowth, growth);
  if (window->minimumWidth() == window->maximumWidth()) window->setFixedWidth(base.width() + growth.width());
  if (window->minimumHeight() == window->maximumHeight()) window->setFixedHeight(base.height() + growth.height());
  // A window whose outer size is kept asks its keeper for it with the growth.
  if (growth != last) ApplyOuterSize(window);
  return growth;
}

QSize FitGrowth(const QWidget* window) { return window->property(kGrowth).toSize(); }

void KeepFittedToFont(QWidget* window) {
  if (window->findChild<QObject*>(QStringLiteral("velmarFitKeeper"), Qt::FindDirectChildrenOnly) == nullptr) {
    auto* keeper = new FitKeeper(window);
    keeper->setObjectName(QStringLiteral("velmarFitKeeper"));
  }
  FitToFont(window);
}

}  // namespace velmar
