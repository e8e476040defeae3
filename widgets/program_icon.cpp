#include "widgets/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace velmar {
namespace {

// One picture of size x size pixels on a 32-unit grid.
QPixmap DrawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);

  // The leaf: white paper with a red head band and two rings.
  const QRectF leaf(3, 4, 26, 26);
  p.setPen(QPen(QColor(90, 90, 90), 1.2));
  p.setBrush(QColor(255, 253, 245));
  p.drawRoundedRect(leaf, 3, 3);
  QPainterPath band;
  band.addRoundedRect(QRectF(3, 4, 26, 8), 3, 3);
  band.addRect(QRectF(3, 8, 26, 4));
  band.setFillRule(Qt::WindingFill);  // the two parts overlap: fill their union
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(190, 20, 30));
  p.drawPath(band.simplified());
  p.setBrush(QColor(70, 70, 70));
  p.drawRoundedRect(QRectF(9, 2, 2.5, 6), 1, 1);
  p.drawRoundedRect(QRectF(20.5, 2, 2.5, 6), 1, 1);

  // The cross: upright, title board, main beam and the slanted footrest.
  const QColor gold(150, 100, 0);
  p.setPen(QPen(gold, 2.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(16, 13.5), QPointF(16, 28.5));
  p.drawLine(QPointF(13.5, 16), QPointF(18.5, 16));
  p.drawLine(QPointF(11, 19.5), QPointF(21, 19.5));
  p.drawLine(QPointF(12.8, 26.2), QPointF(19.2, 23.8));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  static const QIcon icon = [] {
    QIcon i;
    for (const int size : {16, 22, 24, 32, 48, 64}) i.addPixmap(DrawIcon(size));
    return i;
  }();
  return icon;
}

}  // namespace velmar
