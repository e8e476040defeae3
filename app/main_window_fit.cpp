// The main window at the user's font: the Paschalion grid's rows and year
// columns take the height and width their texts need (at least the design's
// 18 and 60 pixels), the grid shows all eleven rows, and the window's least
// size is the designed one or what its pages need, whichever is more.
#include <QHeaderView>
#include <QLayout>
#include <QTableWidget>
#include <algorithm>
#include <initializer_list>

#include "app/main_window.h"
#include "app/main_window_layout.h"
#include "calendar/cp1251.h"
#include "widgets/fit_to_font.h"
#include "widgets/window_frame.h"

namespace velmar {
namespace {

constexpr int kDesignRowHeight = 18;
constexpr int kDesignYearColumnWidth = 60;
constexpr int kCellPadding = 8;  // both sides of a cell's text together
// The widest texts the year columns hold: the year, a date, the fast.
constexpr std::initializer_list<const char*> kWidestYearTexts = {"2100 г.", "28 Мая", "30 Окт", "42 дн."};

int WidestCaption(const QFontMetrics& metrics, bool longCaptions) {
  int widest = 0;
  for (int row = 1; row <= 10; ++row) {
    const QString caption = QString::fromStdString(Cp1251ToUtf8(PaschalionRowCaption(row, longCaptions)));
    widest = std::max(widest, metrics.horizontalAdvance(caption));
  }
  return widest + kCellPadding;
}

}  // namespace

void TForm1::FitToFont() {
  if (StringGrid1 == nullptr) return;
  // All five tabs in sight: the window is as wide as they need.
  PageControl1->tabBar()->setUsesScrollButtons(false);
  const QFontMetrics metrics(StringGrid1->font());
  const int rowHeight = std::max(kDesignRowHeight, metrics.height() + 4);
  StringGrid1->verticalHeader()->setDefaultSectionSize(rowHeight);
  for (int row = 0; row < StringGrid1->rowCount(); ++row) StringGrid1->setRowHeight(row, rowHeight);
  StringGrid1->setFixedHeight(StringGrid1->rowCount() * rowHeight + 2 * StringGrid1->frameWidth());

  int yearWidth = kDesignYearColumnWidth;
  for (const char* text : kWidestYearTexts)
    yearWidth = std::max(yearWidth, metrics.horizontalAdvance(QString::fromUtf8(text)) + kCellPadding);
  for (int column = 1; column < 5; ++column) StringGrid1->setColumnWidth(column, yearWidth);

  // The caption column is the outer width less 265 at the design: less the
  // year columns' growth here. The long captions wait for the width where
  // they fit, the window is never narrower than where the short ones do.
  const int growth = 4 * (yearWidth - kDesignYearColumnWidth);
  const int fixedPart = 265 + growth;
  gridFit_.yearColumnsGrowth = growth;
  gridFit_.longCaptionsFrom = fixedPart + WidestCaption(metrics, true);
  const int leastOuterWidth = fixedPart + WidestCaption(metrics, false);
  const QSize designMinimum = QSize(342, 393) - kDesignFrame;
  KeepLayoutMinimum(this, designMinimum, [this, leastOuterWidth] {
    return QSize(leastOuterWidth - FrameOrDesign(this, kDesignFrame).width(), 0);
  });
  FormResize();
}

}  // namespace velmar
