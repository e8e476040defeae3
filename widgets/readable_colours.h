#pragma once
// Colours that read on the desktop's palette, light or dark.
//
// The program gives some texts colours of their own (the captions of the
// Today and Tomorrow pages: blue and navy, purple for Lent, red and maroon
// for feasts; the links of the about box; the red weekend days of the month
// grid). Those colours were chosen for a light window; on a dark one they
// vanish. Here a given colour is kept where it reads on its background
// (contrast ratio of at least 4.5:1, as WCAG 2 measures it) and otherwise
// moved in lightness alone, keeping its hue and saturation, just far enough
// to read: on a light window the specified colours mostly stay as they are,
// on a dark one navy becomes a light blue, purple a light purple and maroon a
// light red. The widgets follow palette changes while the program runs.

#include <QColor>
#include <QStyledItemDelegate>

class QCalendarWidget;
class QWidget;

namespace velmar {

// The contrast ratio of two colours, 1..21 (WCAG 2 relative luminance).
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast the program's texts keep with their background.
inline constexpr double kReadableContrast = 4.5;
// The contrast of a text shown as disabled: visible, but plainly not in use.
inline constexpr double kDisabledContrast = 2.5;

// colour itself when it has at least `minimum` contrast with background;
// else the colour of the same hue and saturation, lighter on a dark
// background or darker on a light one, nearest to it that does (black or
// white at the most).
QColor ReadableOn(const QColor& colour, const QColor& background, double minimum = kReadableContrast);

// ReadableOn for a text on a window colour and on the shade of it that
// styles draw group boxes and frames in (Fusion: a little lighter on a dark
// palette, a little darker on a light one).
QColor ReadableOnWindow(const QColor& colour, const QColor& window, double minimum = kReadableContrast);

// Gives the widget's text (WindowText and Text of every colour group) the
// colour `specified`, made readable on the widget's window colour (and on
// its base colour for Text), now and
// whenever its palette changes. Children that follow the widget's palette
// take it too.
void SetReadableTextColour(QWidget* widget, const QColor& specified, double minimum = kReadableContrast);

// The colour SetReadableTextColour was last given for the widget (invalid
// when none).
QColor SpecifiedTextColour(const QWidget* widget);

// Keeps the days of the month grid that the grid shows in a colour of their
// own (the red weekend days) readable on the grid's base colour, also after
// a palette change; the day names over the grid likewise.
void KeepCalendarColoursReadable(QCalendarWidget* calendar);

// A delegate for a table whose first rows and columns are fixed headers:
// their cells are drawn on the palette's button colour with its button text,
// whatever the palette is at the time.
class FixedCellsDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  FixedCellsDelegate(int fixedRows, int fixedColumns, QObject* parent = nullptr);

  bool IsFixed(const QModelIndex& index) const;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  int fixedRows_;
  int fixedColumns_;
};

}  // namespace velmar
