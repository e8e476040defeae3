#include "trayicon/icon_ex.h"

#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "trayicon/icon_handles.h"

namespace lumora {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;

// The mask of the icon as it is now, at the surface's size.
QImage MaskOf(const TIconEx& icon) {
  IconInfo info;
  EXPECT_TRUE(GetIconInfo(icon.Handle(), QSize(icon.GetWidth(), icon.GetHeight()), info));
  return info.hbmMask;
}

// Counts the mask's white pixels.
int Transparent(const QImage& mask) {
  int count = 0;
  for (int y = 0; y < mask.height(); ++y) {
    for (int x = 0; x < mask.width(); ++x) count += mask.pixel(x, y) == White;
  }
  return count;
}

TEST(IconEx, SurfaceIsSquareAndTakesOnlyIconSizes) {
  TIconEx icon;
  EXPECT_EQ(icon.GetWidth(), 32);
  EXPECT_EQ(icon.GetHeight(), 32);
  EXPECT_EQ(icon.IconPixelFormat(), QImage::Format_Indexed8);

  icon.GetCanvas().SetPixel(1, 2, 0x00AA00);
  icon.SetWidth(24);
  EXPECT_EQ(icon.Surface().size(), QSize(32, 32));

  icon.SetWidth(48);
  EXPECT_EQ(icon.Surface().size(), QSize(48, 48));
  EXPECT_EQ(MaskOf(icon).size(), QSize(48, 48));
  EXPECT_EQ(Transparent(MaskOf(icon)), 48 * 48 - 1);  // rebuilt; the drawn pixel kept
  EXPECT_EQ(icon.Surface().pixel(1, 2), 0xFF00AA00u);

  icon.SetHeight(16);
  EXPECT_EQ(icon.Surface().size(), QSize(16, 16));
  EXPECT_EQ(icon.GetWidth(), 16);
}

TEST(IconEx, AnUntouchedSurfaceGivesAnAllWhiteMask) {
  for (int i = 0; i < 20; ++i) {
    TIconEx icon;
    SCOPED_TRACE(icon.TransparentColor());
    EXPECT_LT(icon.TransparentColor(), 0x1000000u);
    EXPECT_EQ(icon.Surface().pixel(31, 31), 0xFF000000u | icon.TransparentColor());
    EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32);
  }
}

TEST(IconEx, EveryColourButTheKeyIsOpaqueBlackIncluded) {
  TIconEx icon;
  icon.SetTransparentColor(0xFF00FF);
  icon.Clear();
  icon.GetCanvas().SetPixel(3, 4, 0x000000);
  icon.GetCanvas().FillRect(QRect(10, 10, 2, 2), 0xFE00FF);  // one step off the key
  icon.GetCanvas().Paint([](QPainter& painter) { painter.fillRect(0, 31, 32, 1, Qt::white); });

  IconInfo info;
  ASSERT_TRUE(GetIconInfo(icon.Handle(), QSize(32, 32), info));
  EXPECT_EQ(info.hbmMask.pixel(3, 4), Black);
  EXPECT_EQ(info.hbmColor.pixel(3, 4), Black);
  EXPECT_EQ(info.hbmMask.pixel(11, 11), Black);
  EXPECT_EQ(info.hbmColor.pixel(11, 11), 0xFFFE00FFu);
  EXPECT_EQ(info.hbmMask.pixel(0, 0), White);
  EXPECT_EQ(Transparent(info.hbmMask), 32 * 32 - 1 - 4 - 32);

  icon.Clear();
  EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32);
}

TEST(IconEx, TheKeyIsAPlainColour) {
  TIconEx icon;
  icon.SetTransparentColor(0x80123456);
  EXPECT_EQ(icon.TransparentColor(), 0x123456u);
}

class IconFile : public testing::Test {
 protected:
  // Writes image as a Windows icon file; returns its path.
  QString Write(const QImage& image, const char* name) {
    const QString path = dir.filePath(name);
    QImageWriter writer(path, "ico");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
  }

  QTemporaryDir dir;
};

TEST_F(IconFile, AnOpaqueIconKeepsTheFreshKey) {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(0xFF204080);
  image.setPixel(0, 0, Black);
  const QString path = Write(image, "opaque.ico");

  TIconEx icon;
  icon.SetTransparentColor(0x204080);
  ASSERT_TRUE(icon.LoadFromFile(path));
  EXPECT_NE(icon.TransparentColor(), 0x204080u);
  EXPECT_NE(icon.TransparentColor(), 0x000000u);
  EXPECT_EQ(icon.Surface().pixel(5, 5), 0xFF204080u);
  EXPECT_NE(icon.IconPixelFormat(), QImage::Format_Indexed8);
  EXPECT_EQ(Transparent(MaskOf(icon)), 0);

  icon.GetCanvas().SetPixel(1, 1, 0xFF0000);  // rebuilds from the surface
  EXPECT_EQ(Transparent(MaskOf(icon)), 0);
}

TEST_F(IconFile, TransparentPartsStayTransparentAndBlackStaysVisible) {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(0x00000000);
  for (int x = 8; x < 24; ++x) image.setPixel(x, 16, Black);
  const QString path = Write(image, "outline.ico");

  TIconEx icon;
  ASSERT_TRUE(icon.LoadFromFile(path));
  EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32 - 16);
  icon.GetCanvas().SetPixel(0, 0, 0x00FF00);
  EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32 - 17);
  EXPECT_EQ(MaskOf(icon).pixel(10, 16), Black);

  // Without black in the picture, the colour under the transparent pixels is
  // the key.
  image.fill(0x00000000);
  image.setPixel(4, 4, 0xFFFFFF00);
  ASSERT_TRUE(icon.LoadFromFile(Write(image, "dot.ico")));
  EXPECT_EQ(icon.TransparentColor(), 0x000000u);
  icon.GetCanvas().SetPixel(0, 0, 0x00FF00);
  EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32 - 2);
}

TEST_F(IconFile, ASmallerIconFillsOnlyTheTopLeft) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(0xFF00FF00);
  TIconEx icon;
  ASSERT_TRUE(icon.LoadFromFile(Write(image, "small.ico")));
  EXPECT_EQ(icon.GetWidth(), 32);
  icon.GetCanvas().SetPixel(31, 0, 0x0000FF);
  EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32 - 16 * 16 - 1);
}

TEST_F(IconFile, AFileThatIsNoIconLeavesAClearedWorkingSurface) {
  QImage png(8, 8, QImage::Format_ARGB32);
  png.fill(Black);
  const QString pngPath = dir.filePath("picture.ico");
  ASSERT_TRUE(png.save(pngPath, "PNG"));

  for (const QString& path : {dir.filePath("missing.ico"), pngPath}) {
    SCOPED_TRACE(path.toStdString());
    TIconEx icon;
    icon.GetCanvas().SetPixel(2, 2, 0x123456);
    EXPECT_FALSE(icon.LoadFromFile(path));
    EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32);
    icon.GetCanvas().SetPixel(2, 2, 0x123456);  // drawing rebuilds again
    EXPECT_EQ(Transparent(MaskOf(icon)), 32 * 32 - 1);
  }
}

}  // namespace
}  // namespace lumora
