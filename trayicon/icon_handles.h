#pragma once
// Icons made of two images, as the drawable icon builds and takes them
// apart: a colour image and a mask, white where the icon is transparent and
// black where it is opaque. An icon "handle" is a QIcon.

#include <QIcon>
#include <QImage>
#include <QSize>

#include "trayicon/lumora_export.h"

namespace lumora {

struct IconInfo {
  bool fIcon = true;  // an icon, not a cursor
  int xHotspot = 0;   // pixels from the left
  int yHotspot = 0;   // pixels from the top
  QImage hbmMask;     // white (0xFFFFFF) where transparent, black where opaque
  QImage hbmColor;    // the pixels; black where transparent
};

// An icon showing hbmColor where hbmMask is not white (with the colour
// pixel's own alpha) and nothing where it is white. A null icon when either
// image is null or their sizes differ.
LUMORA_EXPORT QIcon CreateIconIndirect(const IconInfo& info);

// Takes apart the icon's image of the given size (Qt chooses it: a larger
// image is scaled down, a smaller one comes at its own size): a pixel with
// alpha 0 is transparent. hbmColor comes as Format_ARGB32, hbmMask as
// Format_RGB32. Returns false, leaving info alone, for a null icon.
LUMORA_EXPORT bool GetIconInfo(const QIcon& icon, QSize size, IconInfo& info);

// Draws the icon's image of the given size onto target with its top-left
// corner at (x, y), blended over what is there; transparent parts leave the
// target as it is.
LUMORA_EXPORT void DrawIcon(QImage& target, int x, int y, const QIcon& icon, QSize size);

// Releases an icon; it is null afterwards.
LUMORA_EXPORT void DestroyIcon(QIcon& icon);

}  // namespace lumora
