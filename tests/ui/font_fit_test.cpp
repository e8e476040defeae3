// Every window of the program at the user's font of 9, 11 and 13 points:
// each text fits its control (a label, a button, a list, a group's title, a
// tab, a cell of a grid), the controls of a dialog neither overlap nor leave
// their window, the tables show all their cells, and every window keeps at
// least its designed size.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QTabBar>
#include <QTableWidget>
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/ui/forms_walk.h"

namespace velmar {
namespace {

using testing::NameOf;

struct Check {
  std::string where;
  std::vector<std::string> failures;

  void Fail(const QWidget* w, const std::string& what) {
    failures.push_back(where + ": " + NameOf(w) + ": " + what);
  }
  static std::string Size(QSize s) { return std::to_string(s.width()) + "x" + std::to_string(s.height()); }
};

bool CarriesText(const QWidget* w) {
  if (const auto* label = qobject_cast<const QLabel*>(w)) return !label->text().isEmpty();
  if (const auto* button = qobject_cast<const QAbstractButton*>(w)) return !button->text().isEmpty();
  return qobject_cast<const QComboBox*>(w) != nullptr || qobject_cast<const QAbstractSpinBox*>(w) != nullptr;
}

void CheckTable(Check& c, const QTableWidget* table) {
  const QRect viewport = table->viewport()->rect();
  for (int row = 0; row < table->rowCount(); ++row) {
    for (int column = 0; column < table->columnCount(); ++column) {
      const QModelIndex index = table->model()->index(row, column);
      const QRect cell = table->visualRect(index);
      if (!viewport.contains(cell)) {
        c.Fail(table, "cell " + std::to_string(row) + "," + std::to_string(column) + " out of sight");
        continue;
      }
      const QTableWidgetItem* item = table->item(row, column);
      if (item == nullptr || item->text().isEmpty()) continue;
      const QFontMetrics metrics(table->font());
      if (metrics.horizontalAdvance(item->text()) + 4 > cell.width() || metrics.height() > cell.height())
        c.Fail(table, "cell «" + item->text().toStdString() + "» cut");
    }
  }
}

void CheckWindow(Check& c, QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->isWindow() || w->window() != window) continue;
    // A placed control (no layout around it) stays inside its container and
    // off its neighbours.
    QWidget* parent = w->parentWidget();
    const bool placed = parent != nullptr && parent->layout() == nullptr && !parent->inherits("QAbstractScrollArea") &&
                        !parent->inherits("QAbstractSpinBox") && !parent->inherits("QComboBox") &&
                        !parent->inherits("QCalendarWidget") && !parent->inherits("QTabWidget") &&
                        !parent->inherits("QStackedWidget") && !parent->inherits("QStatusBar") &&
                        QString::fromLatin1(w->metaObject()->className()).startsWith(QLatin1Char('Q')) &&
                        !w->objectName().startsWith(QLatin1String("qt_"));
    if (placed && CarriesText(w)) {
      if (!parent->rect().contains(w->geometry()))
        c.Fail(w, "leaves its container (" + Check::Size(parent->size()) + ")");
      for (QWidget* other : parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other != w && other->isVisibleTo(window) && !other->isWindow() && CarriesText(other) &&
            other->geometry().intersects(w->geometry()))
          c.Fail(w, "overlaps " + NameOf(other));
      }
    }
    if (const auto* label = qobject_cast<QLabel*>(w)) {
      if (label->text().isEmpty() || !label->pixmap().isNull()) continue;
      if (label->wordWrap()) {
        if (label->heightForWidth(label->width()) > label->height())
          c.Fail(w, "wrapped text needs " + std::to_string(label->heightForWidth(label->width())) + " of " +
                        std::to_string(label->height()));
      } else if (label->sizeHint().width() > label->width() || label->sizeHint().height() > label->height() + 2) {
        c.Fail(w, "needs " + Check::Size(label->sizeHint()) + ", has " + Check::Size(label->size()));
      }
    } else if (const auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (button->text().isEmpty()) continue;
      const QSize hint = button->sizeHint();
      if (hint.width() > button->width() || hint.height() > button->height() + 2)
        c.Fail(w, "needs " + Check::Size(hint) + ", has " + Check::Size(button->size()));
    } else if (qobject_cast<QComboBox*>(w) != nullptr || qobject_cast<QAbstractSpinBox*>(w) != nullptr) {
      const QSize hint = w->sizeHint();
      if (hint.width() > w->width() || hint.height() > w->height() + 2)
        c.Fail(w, "needs " + Check::Size(hint) + ", has " + Check::Size(w->size()));
    } else if (const auto* group = qobject_cast<QGroupBox*>(w)) {
      if (!group->title().isEmpty() && group->minimumSizeHint().width() > group->width())
        c.Fail(w, "title needs " + std::to_string(group->minimumSizeHint().width()));
    } else if (const auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->rect().contains(tabs->tabRect(i)))
          c.Fail(w, "tab «" + tabs->tabText(i).toStdString() + "» out of sight");
      }
    } else if (const auto* table = qobject_cast<QTableWidget*>(w)) {
      CheckTable(c, table);
    }
  }
}

class FontFit : public ::testing::TestWithParam<int> {};

TEST_P(FontFit, EveryTextFitsItsControl) {
  const int points = GetParam();
  const QFont before = QApplication::font();
  testing::ProgramWithContent program;
  // The designed sizes, taken at the program's own font.
  std::map<QWidget*, QSize> designed;
  for (QWidget* window : testing::ProgramWindows()) {
    window->show();
    QApplication::processEvents();
    designed[window] = window->size();
    window->hide();
  }
  // The user's font: the desktop's, and every window's own at that size.
  QFont font = before;
  font.setPointSize(points);
  QApplication::setFont(font);
  std::vector<std::string> failures;
  int windows = 0;
  for (QWidget* window : testing::ProgramWindows()) {
    QFont own = window->font();
    own.setPointSize(points);
    window->setFont(own);
    ++windows;
    testing::WalkStates(window, [&](const std::string& state) {
      Check c{std::to_string(points) + " pt, " + NameOf(window) + ", " + state, {}};
      CheckWindow(c, window);
      if (window->width() < designed[window].width() || window->height() < designed[window].height())
        c.Fail(window, "smaller than designed: " + Check::Size(window->size()) + " < " +
                           Check::Size(designed[window]));
      failures.insert(failures.end(), c.failures.begin(), c.failures.end());
    });
  }
  QApplication::setFont(before);
  EXPECT_GE(windows, 6);
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

INSTANTIATE_TEST_SUITE_P(Points, FontFit, ::testing::Values(9, 11, 13));

}  // namespace
}  // namespace velmar
