// Every text of every window of the program, rendered under a light and two
// dark palettes, against the background it is drawn on: the contrast ratio
// must reach 4.5:1. The background is read from the rendered window (the
// colour most of the text's area has); the text's colour from what the
// widget draws it in: its palette, the format of a table cell or a day of
// the month grid, the colours of a document as the paper shows them.
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/ui/forms_walk.h"
#include "widgets/document_paper.h"
#include "widgets/readable_colours.h"

namespace velmar {
namespace {

using testing::NameOf;

// Palettes of the desktops the program meets: Qt's own light one, one as
// GTK's Adwaita-dark gives it, and a darker one as qt6ct's schemes have.
QPalette DarkPalette(QColor window, QColor base, QColor text, QColor button) {
  QPalette p;
  for (const QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(g, QPalette::Window, window);
    p.setColor(g, QPalette::WindowText, text);
    p.setColor(g, QPalette::Base, base);
    p.setColor(g, QPalette::AlternateBase, window);
    p.setColor(g, QPalette::Text, text);
    p.setColor(g, QPalette::Button, button);
    p.setColor(g, QPalette::ButtonText, text);
    p.setColor(g, QPalette::Light, button.lighter(150));
    p.setColor(g, QPalette::Midlight, button.lighter(120));
    p.setColor(g, QPalette::Mid, button.darker(120));
    p.setColor(g, QPalette::Dark, button.darker(150));
    p.setColor(g, QPalette::Shadow, Qt::black);
    p.setColor(g, QPalette::Highlight, QColor(21, 83, 158));
    p.setColor(g, QPalette::HighlightedText, Qt::white);
    p.setColor(g, QPalette::ToolTipBase, base);
    p.setColor(g, QPalette::ToolTipText, text);
    p.setColor(g, QPalette::BrightText, Qt::white);
  }
  p.setColor(QPalette::Disabled, QPalette::Window, window);
  p.setColor(QPalette::Disabled, QPalette::Base, window);
  p.setColor(QPalette::Disabled, QPalette::Button, button);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, QColor(145, 145, 145));
  return p;
}

struct NamedPalette {
  const char* name;
  QPalette palette;
};

std::vector<NamedPalette> Palettes() {
  return {{"light", QStyleFactory::create(QStringLiteral("Fusion"))->standardPalette()},
          {"Adwaita-dark", DarkPalette(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24), QColor(0xee, 0xee, 0xec),
                                       QColor(0x30, 0x30, 0x30))},
          {"qt6ct darker", DarkPalette(QColor(0x53, 0x53, 0x55), QColor(0x3d, 0x3d, 0x3d), QColor(0xe0, 0xe0, 0xe0),
                                       QColor(0x43, 0x43, 0x45))}};
}

// The colour most of the rectangle has in the image.
QColor Background(const QImage& image, const QRect& area) {
  const QRect r = area.intersected(image.rect());
  QHash<QRgb, int> counts;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) ++counts[image.pixel(x, y) | 0xff000000u];
  QRgb most = 0;
  int best = -1;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
    if (it.value() > best) {
      best = it.value();
      most = it.key();
    }
  }
  return QColor::fromRgb(most);
}

class Measure {
 public:
  Measure(QWidget* window, std::string where) : window_(window), where_(std::move(where)) {
    image_ = window->grab().toImage();
    ratio_ = image_.devicePixelRatio();
  }

  void Text(const QWidget* w, const std::string& what, const QColor& text, QRect area) {
    area = QRect(w->mapTo(window_, area.topLeft()), area.size());
    const QRect pixels(QPoint(int(area.x() * ratio_), int(area.y() * ratio_)),
                       QSize(int(area.width() * ratio_), int(area.height() * ratio_)));
    const QColor background = Background(image_, pixels);
    const double contrast = ContrastRatio(text, background);
    ++measured;
    if (contrast < kReadableContrast) {
      std::ostringstream out;
      out << where_ << ": " << NameOf(w) << " " << what << ": " << text.name().toStdString() << " on "
          << background.name().toStdString() << " = " << contrast;
      failures.push_back(out.str());
    }
  }

  std::vector<std::string> failures;
  int measured = 0;

 private:
  QWidget* window_;
  std::string where_;
  QImage image_;
  qreal ratio_ = 1;
};

QColor Role(const QWidget* w, QPalette::ColorRole role) { return w->palette().color(QPalette::Active, role); }

void MeasureItemView(Measure& m, const QAbstractItemView* view) {
  const QAbstractItemModel* model = view->model();
  if (model == nullptr) return;
  const auto* fixed = qobject_cast<const FixedCellsDelegate*>(view->itemDelegate());
  for (int row = 0; row < model->rowCount(); ++row) {
    for (int column = 0; column < model->columnCount(); ++column) {
      const QModelIndex index = model->index(row, column);
      if (model->data(index).toString().trimmed().isEmpty()) continue;
      const QRect cell = view->visualRect(index).intersected(view->viewport()->rect());
      if (cell.isEmpty()) continue;
      QColor text = Role(view, QPalette::Text);
      if (fixed != nullptr && fixed->IsFixed(index)) text = Role(view, QPalette::ButtonText);
      const QVariant own = model->data(index, Qt::ForegroundRole);
      if (own.canConvert<QBrush>() && own.value<QBrush>().style() != Qt::NoBrush) text = own.value<QBrush>().color();
      if (view->selectionModel() != nullptr && view->selectionModel()->isSelected(index))
        text = Role(view, QPalette::HighlightedText);
      m.Text(view->viewport(), "cell «" + model->data(index).toString().toStdString() + "»", text, cell);
    }
  }
}

void MeasureCalendar(Measure& m, const QCalendarWidget* calendar) {
  // The days drawn in a colour of their own, and the others, on the grid's
  // base colour; the day names over them.
  const auto* view = calendar->findChild<QAbstractItemView*>();
  ASSERT_NE(view, nullptr);
  const QRect area = view->viewport()->rect().adjusted(2, 2, -2, -2);
  for (int day = Qt::Monday; day <= Qt::Sunday; ++day) {
    const QTextCharFormat format = calendar->weekdayTextFormat(static_cast<Qt::DayOfWeek>(day));
    const QColor text = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                          : Role(calendar, QPalette::Text);
    m.Text(view->viewport(), "weekday " + std::to_string(day), text, area);
  }
}

// The blocks in view, as the control paints them (the paper's shades are
// worked out for the blocks in view as it paints).
void MeasureDocument(Measure& m, QTextEdit* edit) {
  const QRect paper = edit->viewport()->rect();
  (void)edit->viewport()->grab();
  const QTextBlock last = edit->cursorForPosition(QPoint(paper.width(), paper.height())).block();
  for (QTextBlock block = edit->cursorForPosition(QPoint(0, 0)).block(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid() || fragment.text().trimmed().isEmpty()) continue;
      QColor text = Role(edit, QPalette::Text);
      const QTextCharFormat f = fragment.charFormat();
      if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        text = f.foreground().color();
      for (const QTextEdit::ExtraSelection& shade : edit->extraSelections()) {
        if (shade.cursor.selectionStart() <= fragment.position() &&
            fragment.position() < shade.cursor.selectionEnd() &&
            shade.format.hasProperty(QTextFormat::ForegroundBrush))
          text = shade.format.foreground().color();
      }
      m.Text(edit->viewport(), "text «" + fragment.text().left(30).toStdString() + "»", text, paper);
    }
    if (block == last) break;
  }
}

void MeasureWindow(Measure& m, QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !w->isEnabled() || w->isWindow()) continue;
    if (w->window() != window) continue;
    if (const auto* label = qobject_cast<QLabel*>(w)) {
      if (!label->text().isEmpty()) m.Text(w, "text", Role(w, QPalette::WindowText), w->rect());
    } else if (const auto* group = qobject_cast<QGroupBox*>(w)) {
      if (group->title().isEmpty()) continue;
      QStyleOptionGroupBox option;
      option.initFrom(group);
      option.text = group->title();
      option.subControls = QStyle::SC_GroupBoxLabel;
      const QRect title =
          group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
      m.Text(w, "title", Role(w, QPalette::WindowText), title);
    } else if (const auto* push = qobject_cast<QPushButton*>(w)) {
      if (!push->text().isEmpty()) m.Text(w, "text", Role(w, QPalette::ButtonText), w->rect().adjusted(3, 3, -3, -3));
    } else if (const auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (!button->text().isEmpty() && button->inherits("QRadioButton"))
        m.Text(w, "text", Role(w, QPalette::WindowText), w->rect());
      else if (!button->text().isEmpty() && button->inherits("QCheckBox"))
        m.Text(w, "text", Role(w, QPalette::WindowText), w->rect());
    } else if (const auto* combo = qobject_cast<QComboBox*>(w)) {
      if (!combo->currentText().isEmpty())
        m.Text(w, "text", Role(w, combo->isEditable() ? QPalette::Text : QPalette::ButtonText),
               w->rect().adjusted(4, 4, -20, -4));
    } else if (qobject_cast<QAbstractSpinBox*>(w) != nullptr || qobject_cast<QLineEdit*>(w) != nullptr) {
      if (w->parentWidget() != nullptr && qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) continue;
      m.Text(w, "text", Role(w, QPalette::Text), w->rect().adjusted(3, 3, -18, -3));
    } else if (const auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i)
        m.Text(w, "tab «" + tabs->tabText(i).toStdString() + "»", Role(w, QPalette::WindowText),
               tabs->tabRect(i).adjusted(3, 3, -3, -3));
    } else if (const auto* calendar = qobject_cast<QCalendarWidget*>(w)) {
      MeasureCalendar(m, calendar);
    } else if (auto* edit = qobject_cast<QTextEdit*>(w)) {
      MeasureDocument(m, edit);
    } else if (const auto* view = qobject_cast<QAbstractItemView*>(w)) {
      if (qobject_cast<QCalendarWidget*>(view->parentWidget()) == nullptr) MeasureItemView(m, view);
    }
  }
}

TEST(Look, EveryTextReadsOnLightAndDarkPalettes) {
  const QPalette before = QApplication::palette();
  testing::ProgramWithContent program;
  int measured = 0;
  std::vector<std::string> failures;
  for (const NamedPalette& palette : Palettes()) {
    QApplication::setPalette(palette.palette);
    for (QWidget* window : testing::ProgramWindows()) {
      testing::WalkStates(window, [&](const std::string& state) {
        Measure m(window, std::string(palette.name) + ", " + NameOf(window) + ", " + state);
        MeasureWindow(m, window);
        measured += m.measured;
        failures.insert(failures.end(), m.failures.begin(), m.failures.end());
      });
    }
  }
  QApplication::setPalette(before);
  EXPECT_GT(measured, 500);
  for (const std::string& failure : failures) ADD_FAILURE() << failure;
}

// The specified colours stay where they read; where they don't, the shade
// that replaces them keeps its hue and reads just so.
TEST(Look, ReadableColoursKeepTheirHue) {
  const QColor light(0xef, 0xef, 0xef);
  const QColor dark(0x24, 0x24, 0x24);
  EXPECT_EQ(ReadableOn(QColor(0, 0, 128), light), QColor(0, 0, 128));      // navy on light: as specified
  EXPECT_EQ(ReadableOn(QColor(160, 0, 160), light), QColor(160, 0, 160));  // purple likewise
  EXPECT_EQ(ReadableOn(QColor(128, 0, 0), light), QColor(128, 0, 0));
  for (const QColor& specified : {QColor(0, 0, 255), QColor(0, 0, 128), QColor(160, 0, 160), QColor(112, 0, 112),
                                  QColor(255, 0, 0), QColor(128, 0, 0), QColor(0, 128, 255)}) {
    for (const QColor& background : {light, dark, QColor(0x53, 0x53, 0x55), QColor(Qt::white)}) {
      SCOPED_TRACE(specified.name().toStdString() + " on " + background.name().toStdString());
      const QColor shown = ReadableOn(specified, background);
      EXPECT_GE(ContrastRatio(shown, background), kReadableContrast);
      EXPECT_NEAR(shown.hslHueF(), specified.hslHueF(), 0.02);  // purple stays purple, red red
      EXPECT_GT(shown.hslSaturationF(), 0.5);
    }
  }
  // On paper only the red signs and the grey entries are drawn deeper.
  EXPECT_EQ(OnPaper(QColor(0, 0, 0)), QColor(0, 0, 0));
  EXPECT_EQ(OnPaper(QColor(112, 0, 112)), QColor(112, 0, 112));
  EXPECT_EQ(OnPaper(QColor(128, 0, 0)), QColor(128, 0, 0));
  EXPECT_NE(OnPaper(QColor(255, 0, 0)), QColor(255, 0, 0));
  EXPECT_GE(OnPaper(QColor(255, 0, 0)).red(), 220);
  EXPECT_GE(OnPaper(QColor(128, 128, 128)).red(), 110);
  EXPECT_NEAR(ContrastRatio(QColor(255, 0, 0), Qt::white), 4.0, 0.01);
  EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
}

}  // namespace
}  // namespace velmar
