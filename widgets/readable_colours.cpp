#include "widgets/readable_colours.h"

#include <QCalendarWidget>
#include <QEvent>
#include <QHash>
#include <QPalette>
#include <QTextCharFormat>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace velmar {
namespace {

double Linear(double channel) {  // sRGB, 0..1
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

const char kSpecifiedProperty[] = "velmarSpecifiedTextColour";
const char kMinimumProperty[] = "velmarMinimumContrast";

// Runs `apply` on the watched widget whenever its palette (or the
// application's, or the style) changes; apply may set the widget's palette
// itself without running again.
class PaletteFollower : public QObject {
 public:
  PaletteFollower(QWidget* widget, std::function<void()> apply)
      : QObject(widget), apply_(std::move(apply)) {
    widget->installEventFilter(this);
  }

  void Apply() {
    if (applying_) return;
    applying_ = true;
    apply_();
    applying_ = false;
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::PaletteChange:
      case QEvent::ApplicationPaletteChange:
      case QEvent::StyleChange:
        Apply();
        break;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> apply_;
  bool applying_ = false;
};

PaletteFollower* FollowerOf(QWidget* widget, const char* name, std::function<void()> apply) {
  for (QObject* child : widget->children()) {
    if (child->objectName() == QLatin1String(name)) return static_cast<PaletteFollower*>(child);
  }
  auto* follower = new PaletteFollower(widget, std::move(apply));
  follower->setObjectName(QLatin1String(name));
  return follower;
}

void ApplyTextColour(QWidget* widget) {
  const QColor specified = widget->property(kSpecifiedProperty).value<QColor>();
  if (!specified.isValid()) return;
  const double minimum = widget->property(kMinimumProperty).toDouble();
  QPalette palette = widget->palette();
  bool changed = false;
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    for (const auto& [role, background] : {std::pair{QPalette::WindowText, QPalette::Window},
                                          std::pair{QPalette::Text, QPalette::Base}}) {
      const QColor readable = ReadableOnWindow(specified, palette.color(group, background), minimum);
      if (palette.color(group, role) != readable) {
        palette.setColor(group, role, readable);
        changed = true;
      }
    }
  }
  if (changed) widget->setPalette(palette);
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& colour, const QColor& background, double minimum) {
  const QColor rgb = colour.toRgb();
  if (ContrastRatio(rgb, background) >= minimum) return rgb;
  // Towards white on a dark background, towards black on a light one: the
  // side that can give more contrast.
  const bool lighten = ContrastRatio(Qt::white, background) >= ContrastRatio(Qt::black, background);
  const QColor end = lighten ? QColor(Qt::white) : QColor(Qt::black);
  if (ContrastRatio(end, background) < minimum) return end;
  float hue = 0, saturation = 0, lightness = 0, alpha = 0;
  rgb.getHslF(&hue, &saturation, &lightness, &alpha);
  // Lightness moves the contrast one way only: the least move that reads
  // lies between the colour and the end, found by halving.
  float near = lightness;
  float far = lighten ? 1.0f : 0.0f;
  for (int step = 0; step < 24; ++step) {
    const float mid = (near + far) / 2;
    if (ContrastRatio(QColor::fromHslF(hue, saturation, mid), background) >= minimum) {
      far = mid;
    } else {
      near = mid;
    }
  }
  QColor result = QColor::fromHslF(hue, saturation, far).toRgb();
  // Rounding to whole channels may lose a hair of contrast: one more step.
  for (int i = 0; i < 8 && ContrastRatio(result, background) < minimum; ++i)
    result = lighten ? result.lighter(102) : result.darker(102);
  return ContrastRatio(result, background) >= minimum ? result : end;
}

QColor ReadableOnWindow(const QColor& colour, const QColor& window, double minimum) {
  const bool dark = ContrastRatio(Qt::white, window) >= ContrastRatio(Qt::black, window);
  const QColor shade = dark ? window.lighter(125) : window.darker(110);
  return ReadableOn(ReadableOn(colour, window, minimum), shade, minimum);
}

void SetReadableTextColour(QWidget* widget, const QColor& specified, double minimum) {
  widget->setProperty(kSpecifiedProperty, specified);
  widget->setProperty(kMinimumProperty, minimum);
  PaletteFollower* follower = FollowerOf(widget, "velmarReadableText", [widget] { ApplyTextColour(widget); });
  follower->Apply();
}

QColor SpecifiedTextColour(const QWidget* widget) {
  return widget->property(kSpecifiedProperty).value<QColor>();
}

void KeepCalendarColoursReadable(QCalendarWidget* calendar) {
  // The days that have a colour of their own, with that colour as the grid
  // was given it.
  QHash<int, QColor> specified;
  for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
    const QTextCharFormat format = calendar->weekdayTextFormat(static_cast<Qt::DayOfWeek>(day));
    if (format.hasProperty(QTextFormat::ForegroundBrush)) specified.insert(day, format.foreground().color());
  }
  const QTextCharFormat header = calendar->headerTextFormat();
  const QColor headerColour =
      header.hasProperty(QTextFormat::ForegroundBrush) ? header.foreground().color() : QColor();
  PaletteFollower* follower =
      FollowerOf(calendar, "velmarReadableCalendar", [calendar, specified, headerColour] {
        const QColor base = calendar->palette().color(QPalette::Base);
        for (auto it = specified.cbegin(); it != specified.cend(); ++it) {
          const auto day = static_cast<Qt::DayOfWeek>(it.key());
          QTextCharFormat format = calendar->weekdayTextFormat(day);
          const QColor readable = ReadableOn(it.value(), base);
          if (format.foreground().color() == readable) continue;
          format.setForeground(readable);
          calendar->setWeekdayTextFormat(day, format);
        }
        if (headerColour.isValid()) {
          QTextCharFormat format = calendar->headerTextFormat();
          const QColor readable = ReadableOn(headerColour, calendar->palette().color(QPalette::Window));
          if (format.foreground().color() != readable) {
            format.setForeground(readable);
            calendar->setHeaderTextFormat(format);
          }
        }
      });
  follower->Apply();
}

FixedCellsDelegate::FixedCellsDelegate(int fixedRows, int fixedColumns, QObject* parent)
    : QStyledItemDelegate(parent), fixedRows_(fixedRows), fixedColumns_(fixedColumns) {}

bool FixedCellsDelegate::IsFixed(const QModelIndex& index) const {
  return index.row() < fixedRows_ || index.column() < fixedColumns_;
}

void FixedCellsDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (!IsFixed(index)) return;
  option->backgroundBrush = option->palette.button();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    option->palette.setColor(group, QPalette::Text, option->palette.color(group, QPalette::ButtonText));
}

}  // namespace velmar
