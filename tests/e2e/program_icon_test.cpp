// The icon the desktop shows for the installed program (data/icons, rendered
// from the SVG) is the picture the windows and the tray image list draw.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <cstdlib>

#include "widgets/program_icon.h"

namespace velmar {
namespace {

QImage InstalledIcon(int size) {
  const QString path =
      QStringLiteral(VELMAR_SOURCE_DIR "/data/icons/hicolor/%1x%1/apps/velmar32.png").arg(size);
  return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage DrawnIcon(int size) {
  QPixmap pixmap = ProgramIcon().pixmap(size, size);
  pixmap.setDevicePixelRatio(1.0);
  return pixmap.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// Mean absolute difference of two pictures of one size over every channel of
// every pixel, premultiplied alpha: 0 (the same) to 255.
double MeanDifference(const QImage& a, const QImage& b) {
  long long sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      sum += std::abs(qRed(pa[x]) - qRed(pb[x])) + std::abs(qGreen(pa[x]) - qGreen(pb[x])) +
             std::abs(qBlue(pa[x]) - qBlue(pb[x])) + std::abs(qAlpha(pa[x]) - qAlpha(pb[x]));
    }
  }
  return static_cast<double>(sum) / (4.0 * a.width() * a.height());
}

TEST(ProgramIcon, MatchesTheInstalledIconAtEverySizeItDraws) {
  for (const int size : {16, 22, 24, 32, 48, 64}) {
    SCOPED_TRACE(size);
    const QImage installed = InstalledIcon(size);
    const QImage drawn = DrawnIcon(size);
    ASSERT_EQ(installed.size(), QSize(size, size));
    ASSERT_EQ(drawn.size(), QSize(size, size));
    // Two renderers antialias a little differently (about 1.5 at 16 pixels);
    // a head band with a hole in it gave 13.
    EXPECT_LT(MeanDifference(drawn, installed), 4.0);
    // The measure tells pictures apart: upside down is far off.
    EXPECT_GT(MeanDifference(drawn, installed.mirrored(false, true)), 30.0);
  }
}

}  // namespace
}  // namespace velmar
