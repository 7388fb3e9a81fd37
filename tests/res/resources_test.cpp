// The compiled Qt resources: an executable that links quillomat_resources
// finds the banners and the icons under :/quillomat/, byte for byte the files
// in res/, without calling Q_INIT_RESOURCE.  CTest runs this once at the
// screen's usual density and once at twice that.

#include "bytes.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

struct Entry {
  const char* resource;
  const char* file;
  int images;
  QSize first_size;
};

TEST(QtResources, EveryPictureIsCompiledInUnderItsPath) {
  const Entry entries[] = {
      {":/quillomat/banner.gif", "banner.gif", 1, QSize(418, 67)},
      {":/quillomat/banner.png", "banner.png", 1, QSize(418, 67)},
      {":/quillomat/banner@2x.png", "banner@2x.png", 1, QSize(836, 134)},
      {":/quillomat/quillomat.ico", "quillomat.ico", 3, QSize(32, 32)},
      {":/quillomat/icon-16.png", "icons/16x16/quillomat.png", 1, QSize(16, 16)},
      {":/quillomat/icon-16@2x.png", "icons/32x32/quillomat.png", 1, QSize(32, 32)},
      {":/quillomat/icon-32.png", "icons/32x32/quillomat.png", 1, QSize(32, 32)},
      {":/quillomat/icon-32@2x.png", "icons/64x64/quillomat.png", 1, QSize(64, 64)},
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.resource);
    QFile f(QString::fromLatin1(e.resource));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "resource missing";
    const QByteArray data = f.readAll();
    const restest::Bytes disk = restest::read_file(std::string(QUILLOMAT_RES_DIR) + "/" + e.file);
    EXPECT_EQ(restest::Bytes(data.begin(), data.end()), disk) << "differs from res/" << e.file;

    QImageReader reader(QString::fromLatin1(e.resource));
    EXPECT_EQ(reader.imageCount(), e.images);
    const QImage img = reader.read();
    ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(img.size(), e.first_size);
  }
}

// The window shows the banner from its PNG, which Qt reads without a plugin: the GIF's very pixels.
TEST(QtResources, TheBannersPngHoldsTheGifsPixels) {
  const QImage gif = QImage(QStringLiteral(":/quillomat/banner.gif")).convertToFormat(QImage::Format_ARGB32);
  const QImage png = QImage(QStringLiteral(":/quillomat/banner.png")).convertToFormat(QImage::Format_ARGB32);
  ASSERT_FALSE(gif.isNull());
  EXPECT_EQ(png, gif);
}

// The icon as the window would set it: QIcon::addFile finds each @2x file by
// itself, but only when the application has a screen of twice the density.
TEST(QtResources, WindowIconPairsOfferCrispPixmapsAtTheApplicationsDensity) {
  QIcon icon;
  icon.addFile(QStringLiteral(":/quillomat/icon-16.png"));
  icon.addFile(QStringLiteral(":/quillomat/icon-32.png"));
  const qreal ratio = qApp->devicePixelRatio();
  ASSERT_TRUE(ratio == 1.0 || ratio == 2.0) << "run at a ratio of 1 or 2, not " << ratio;

  std::set<int> widths;
  for (const QSize& s : icon.availableSizes()) widths.insert(s.width());
  EXPECT_EQ(widths, ratio == 2.0 ? (std::set<int>{16, 32, 64}) : (std::set<int>{16, 32}));

  for (const int logical : {16, 32}) {
    SCOPED_TRACE("icon of " + std::to_string(logical));
    const QPixmap pixmap = icon.pixmap(QSize(logical, logical), ratio);
    EXPECT_EQ(pixmap.width(), qRound(logical * ratio)) << "scaled up from a smaller image";
    EXPECT_EQ(pixmap.height(), qRound(logical * ratio));
    EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
  }
}

}  // namespace
