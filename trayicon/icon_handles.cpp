#include "trayicon/icon_handles.h"

#include <QPainter>
#include <QPixmap>

namespace lumora {

namespace {

constexpr QRgb MaskWhite = 0xFFFFFFFF;
constexpr QRgb MaskBlack = 0xFF000000;

QImage IconImage(const QIcon& icon, QSize size) {
  return icon.pixmap(size, 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

QIcon CreateIconIndirect(const IconInfo& info) {
  const QImage& mask = info.hbmMask;
  const QImage& colour = info.hbmColor;
  if (mask.isNull() || colour.isNull() || mask.size() != colour.size()) return QIcon();
  QImage image(colour.size(), QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool transparent = (mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
      image.setPixel(x, y, transparent ? 0u : colour.pixel(x, y));
    }
  }
  return QIcon(QPixmap::fromImage(image));
}

bool GetIconInfo(const QIcon& icon, QSize size, IconInfo& info) {
  if (icon.isNull()) return false;
  QImage colour = IconImage(icon, size);
  QImage mask(colour.size(), QImage::Format_RGB32);
  for (int y = 0; y < colour.height(); ++y) {
    for (int x = 0; x < colour.width(); ++x) {
      const bool transparent = qAlpha(colour.pixel(x, y)) == 0;
      mask.setPixel(x, y, transparent ? MaskWhite : MaskBlack);
      if (transparent) colour.setPixel(x, y, MaskBlack);
    }
  }
  info.fIcon = true;
  info.xHotspot = colour.width() / 2;
  info.yHotspot = colour.height() / 2;
  info.hbmMask = mask;
  info.hbmColor = colour;
  return true;
}

void DrawIcon(QImage& target, int x, int y, const QIcon& icon, QSize size) {
  if (icon.isNull() || target.isNull()) return;
  QPainter painter(&target);
  painter.drawImage(x, y, IconImage(icon, size));
}

void DestroyIcon(QIcon& icon) { icon = QIcon(); }

}  // namespace lumora
