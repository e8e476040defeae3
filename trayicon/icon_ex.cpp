#include "trayicon/icon_ex.h"

#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <chrono>

#include "trayicon/icon_handles.h"

namespace lumora {

namespace {

constexpr int DefaultSize = 32;      // pixels
constexpr QRgb KeyRange = 0x1000000;  // keys are plain 0xRRGGBB values
constexpr QRgb MaskWhite = 0xFFFFFFFF;
constexpr QRgb MaskBlack = 0xFF000000;

bool IsIconSize(int size) { return size == 16 || size == 32 || size == 48; }

QRgb Opaque(QRgb colour) { return 0xFF000000 | (colour & 0xFFFFFF); }

// Every image of a Windows icon file, as one icon; null when the file can't
// be read as one.
QIcon ReadIconFile(const QString& name) {
  QImageReader reader(name, "ico");
  if (!reader.canRead()) return QIcon();
  QIcon icon;
  const int count = qMax(1, reader.imageCount());
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    QImage image;
    if (reader.read(&image) && !image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

// Whether a pixel that is not transparent (mask black) has the colour rgb.
bool UsedByOpaquePixel(const IconInfo& info, QRgb rgb) {
  for (int y = 0; y < info.hbmColor.height(); ++y) {
    for (int x = 0; x < info.hbmColor.width(); ++x) {
      if (info.hbmMask.pixel(x, y) == MaskBlack && (info.hbmColor.pixel(x, y) & 0xFFFFFF) == rgb) return true;
    }
  }
  return false;
}

}  // namespace

void TIconCanvas::Paint(const std::function<void(QPainter&)>& draw) {
  {
    QPainter painter(&icon_->surface_);
    draw(painter);
  }
  icon_->CanvasChanged();
}

void TIconCanvas::FillRect(const QRect& rect, QRgb colour) {
  Paint([&](QPainter& painter) {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect, QColor::fromRgb(Opaque(colour)));
  });
}

void TIconCanvas::SetPixel(int x, int y, QRgb colour) {
  if (!icon_->surface_.valid(x, y)) return;
  icon_->surface_.setPixel(x, y, Opaque(colour));
  icon_->CanvasChanged();
}

QRgb TIconCanvas::Pixel(int x, int y) const {
  return icon_->surface_.valid(x, y) ? icon_->surface_.pixel(x, y) : 0;
}

int TIconCanvas::Width() const { return icon_->surface_.width(); }

int TIconCanvas::Height() const { return icon_->surface_.height(); }

TIconEx::TIconEx()
    : surface_(DefaultSize, DefaultSize, QImage::Format_ARGB32),
      random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())) {
  transparentColor_ = NextKey();
  FillSurface(transparentColor_);
}

TIconEx::~TIconEx() = default;

int TIconEx::GetHeight() const { return surface_.height(); }

int TIconEx::GetWidth() const { return surface_.width(); }

void TIconEx::SetHeight(int size) { SetWidth(size); }

void TIconEx::SetWidth(int size) {
  if (!IsIconSize(size)) return;
  QImage resized(size, size, QImage::Format_ARGB32);
  resized.fill(Opaque(transparentColor_));
  {
    QPainter painter(&resized);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, surface_);
  }
  surface_ = resized;
  RebuildIcon();
}

void TIconEx::SetPalette(const QList<QRgb>&) {}

bool TIconEx::LoadFromFile(const QString& name) {
  rebuildEnabled_ = false;
  Clear();
  const QIcon loaded = ReadIconFile(name);
  IconInfo info;
  if (!GetIconInfo(loaded, surface_.size(), info)) {
    rebuildEnabled_ = true;
    RebuildIcon();
    return false;
  }

  // A fresh key that no visible pixel of the icon has; then, if the icon has
  // a transparent pixel, the colour under the first one (in row order), as
  // long as no visible pixel shares it.
  QRgb key = NextKey();
  while (UsedByOpaquePixel(info, key)) key = NextKey();
  const int width = qMin(surface_.width(), info.hbmMask.width());
  const int height = qMin(surface_.height(), info.hbmMask.height());
  bool found = false;
  for (int y = 0; y < height && !found; ++y) {
    for (int x = 0; x < width && !found; ++x) {
      if (info.hbmMask.pixel(x, y) != MaskWhite) continue;
      found = true;
      const QRgb under = info.hbmColor.pixel(x, y) & 0xFFFFFF;
      if (!UsedByOpaquePixel(info, under)) key = under;
    }
  }
  transparentColor_ = key;
  pixelFormat_ = info.hbmColor.format();

  surface_.fill(Opaque(transparentColor_));
  DrawIcon(surface_, 0, 0, loaded, surface_.size());
  handle_ = loaded;
  IconChanged();
  rebuildEnabled_ = true;
  return true;
}

void TIconEx::LoadFromClipboardFormat(const QMimeData*) {}

void TIconEx::SaveToClipboardFormat(QMimeData*) const {}

void TIconEx::IconChanged() {}

void TIconEx::RebuildIcon() {
  if (!rebuildEnabled_) return;
  const QRgb key = Opaque(transparentColor_);
  IconInfo info;
  info.hbmMask = QImage(surface_.size(), QImage::Format_RGB32);
  info.hbmColor = QImage(surface_.size(), QImage::Format_ARGB32);
  for (int y = 0; y < surface_.height(); ++y) {
    for (int x = 0; x < surface_.width(); ++x) {
      const QRgb pixel = surface_.pixel(x, y);
      if (pixel == key) {
        info.hbmMask.setPixel(x, y, MaskWhite);
        info.hbmColor.setPixel(x, y, MaskBlack);
      } else {
        info.hbmMask.setPixel(x, y, MaskBlack);
        info.hbmColor.setPixel(x, y, pixel);
      }
    }
  }
  info.fIcon = true;
  info.xHotspot = surface_.width() / 2;
  info.yHotspot = surface_.width() / 2;
  DestroyIcon(handle_);
  handle_ = CreateIconIndirect(info);
}

TIconCanvas TIconEx::GetCanvas() { return TIconCanvas(*this); }

void TIconEx::SetIconPixelFormat(QImage::Format format) {
  pixelFormat_ = format;
  RebuildIcon();
}

void TIconEx::SetTransparentColor(QRgb colour) {
  transparentColor_ = colour & 0xFFFFFF;
  RebuildIcon();
}

void TIconEx::Clear() {
  DestroyIcon(handle_);
  FillSurface(transparentColor_);
  IconChanged();
}

// A fresh key in [0, 0xFFFFFF].
QRgb TIconEx::NextKey() { return static_cast<QRgb>(random_() % KeyRange); }

void TIconEx::FillSurface(QRgb colour) { TIconCanvas(*this).FillRect(surface_.rect(), colour); }

}  // namespace lumora
