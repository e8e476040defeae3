#pragma once
// TIconEx: an icon image with a drawing surface. Whatever is painted on the
// surface becomes the icon; one colour, the transparent key, marks the
// pixels where the icon is transparent. Every drawing operation through the
// canvas ends by rebuilding the icon from the surface.

#include <QIcon>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <functional>
#include <random>

#include "trayicon/lumora_export.h"

class QMimeData;
class QPainter;

namespace lumora {

class TIconEx;

// The drawing surface's canvas, a light handle on its icon: each operation
// paints on the surface and then rebuilds the icon.
class LUMORA_EXPORT TIconCanvas {
 public:
  explicit TIconCanvas(TIconEx& icon) : icon_(&icon) {}

  // Runs draw with a painter on the surface, then rebuilds.
  void Paint(const std::function<void(QPainter&)>& draw);
  // Fills rect (clipped to the surface) with an opaque colour (0xRRGGBB;
  // the alpha byte is ignored).
  void FillRect(const QRect& rect, QRgb colour);
  // Sets one pixel to an opaque colour; positions outside are ignored.
  void SetPixel(int x, int y, QRgb colour);
  // The pixel at (x, y) as 0xAARRGGBB; 0 outside the surface.
  QRgb Pixel(int x, int y) const;
  int Width() const;
  int Height() const;

 private:
  TIconEx* icon_;
};

class LUMORA_EXPORT TIconEx {
 public:
  // A 32 x 32 surface filled with a fresh transparent key: an icon that
  // shows nothing.
  TIconEx();
  virtual ~TIconEx();
  TIconEx(const TIconEx&) = delete;
  TIconEx& operator=(const TIconEx&) = delete;

  // Size of the (square) surface in pixels: 16, 32 or 48.
  virtual int GetHeight() const;
  virtual int GetWidth() const;
  // size 16, 32 or 48 makes the surface size x size (what was drawn stays at
  // the top left, new parts are transparent) and rebuilds; other sizes are
  // ignored.
  virtual void SetHeight(int size);
  virtual void SetWidth(int size);
  // Does nothing: the surface holds direct colours.
  virtual void SetPalette(const QList<QRgb>& palette);
  // Loads a Windows icon file (.ico) and draws it onto the surface at the
  // top left; the icon shown is then the file's own until the next drawing
  // operation rebuilds it from the surface. The transparent key becomes the
  // colour under the file's first transparent pixel unless an opaque pixel
  // has that colour too; otherwise it is a fresh key used by no pixel.
  // Returns false when the file can't be read as an icon: the surface is
  // then cleared (transparent) and the icon rebuilt from it.
  virtual bool LoadFromFile(const QString& name);
  // Do nothing: icons don't travel through the clipboard.
  virtual void LoadFromClipboardFormat(const QMimeData* data);
  virtual void SaveToClipboardFormat(QMimeData* data) const;

  // Called after Clear and after a load; does nothing here.
  virtual void IconChanged();
  // Builds the icon from the surface: pixels equal to the transparent key
  // become transparent, all others opaque. Does nothing while a file loads.
  virtual void RebuildIcon();
  // The canvas to draw on.
  virtual TIconCanvas GetCanvas();

 protected:
  // Stores the format and rebuilds; users read it with IconPixelFormat.
  virtual void SetIconPixelFormat(QImage::Format format);

 public:
  // Stores the key (its red-green-blue part; alpha is ignored) and rebuilds.
  virtual void SetTransparentColor(QRgb colour);

  // Releases the icon and fills the surface with the transparent key, which
  // rebuilds a fully transparent icon; then IconChanged.
  void Clear();

  // The icon as the tray shows it (null after a failed rebuild only).
  const QIcon& Handle() const { return handle_; }
  // The transparent key, a plain 0xRRGGBB value below 0x1000000.
  QRgb TransparentColor() const { return transparentColor_; }
  // Format_Indexed8 at creation; after a load, the format of the loaded
  // icon's colour image.
  QImage::Format IconPixelFormat() const { return pixelFormat_; }
  // The drawing surface (Format_ARGB32); the key reads back as
  // 0xFF000000 | TransparentColor().
  const QImage& Surface() const { return surface_; }

 private:
  friend class TIconCanvas;

  void CanvasChanged() { RebuildIcon(); }
  QRgb NextKey();
  void FillSurface(QRgb colour);

  QIcon handle_;
  bool rebuildEnabled_ = true;
  QImage surface_;
  QImage::Format pixelFormat_ = QImage::Format_Indexed8;
  QRgb transparentColor_ = 0;
  std::mt19937 random_;
};

}  // namespace lumora
