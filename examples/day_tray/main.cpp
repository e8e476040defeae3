// day_tray: today's day of the month in the notification area, painted on a
// TTrayPaintBox. The paint box's timer looks at the date once a minute and
// paints the new day after midnight. The icon's menu (right click) has
// "Quit".

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFont>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>
#include <cstdio>

#include "trayicon/package.h"
#include "trayicon/tray_paint_box.h"

namespace {

constexpr int CheckInterval = 60 * 1000;  // ms

// Paints a calendar leaf with a red band on top and day (1..31) below it.
void DrawDay(lumora::TIconEx& icon, int day) {
  icon.Clear();
  icon.GetCanvas().Paint([&](QPainter& painter) {
    const int size = icon.GetWidth();
    const int band = size / 5;
    painter.fillRect(0, 0, size, size, QColor(0x60, 0x60, 0x60));
    painter.fillRect(1, 1, size - 2, size - 2, Qt::white);
    painter.fillRect(1, 1, size - 2, band, QColor(0xC0, 0x20, 0x20));
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(size * 11 / 16);
    font.setStretch(QFont::SemiCondensed);
    painter.setFont(font);
    painter.setPen(QColor(0x20, 0x20, 0x20));
    painter.drawText(QRect(0, band, size, size - band), Qt::AlignCenter, QString::number(day));
  });
}

QString DateHint(const QDate& date) { return QLocale().toString(date, QLocale::LongFormat); }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("day_tray");
  QApplication::setQuitOnLastWindowClosed(false);
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    std::fprintf(stderr, "day_tray: the desktop has no system tray.\n");
    return 1;
  }

  lumora::InitializePackage();
  int result = 0;
  {
    QMenu menu;
    QObject::connect(menu.addAction("Quit"), &QAction::triggered, &app, &QApplication::quit);

    lumora::TTrayPaintBox tray(nullptr);
    tray.SetPopupMenu(&menu);
    tray.SetPopupMenuOn(lumora::arRightClick);
    tray.SetRestoreOn(lumora::arNone);
    tray.Loaded();

    QDate shown = QDate::currentDate();
    DrawDay(*tray.GetPaintIcon(), shown.day());
    tray.Flip();
    tray.SetHint(DateHint(shown));

    // Each tick shows the paint icon afterwards; it changes only with the date.
    tray.OnTimer = [&](QObject*) {
      const QDate today = QDate::currentDate();
      if (today == shown) return;
      shown = today;
      DrawDay(*tray.GetPaintIcon(), shown.day());
      tray.SetHint(DateHint(shown));
    };
    tray.SetInterval(CheckInterval);
    tray.SetAnimate(true);

    result = QApplication::exec();
  }
  lumora::FinalizePackage();
  return result;
}
