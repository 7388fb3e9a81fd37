// The compiled Qt resources: an executable that links quillomat_resources
// finds the banner and the icon under :/quillomat/, byte for byte the files
// in res/, without calling Q_INIT_RESOURCE.

#include "bytes.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Entry {
  const char* resource;
  const char* file;
  int images;
  QSize first_size;
};

TEST(QtResources, BannerAndIconAreCompiledInUnderTheirPaths) {
  const Entry entries[] = {
      {":/quillomat/banner.gif", "banner.gif", 1, QSize(418, 67)},
      {":/quillomat/quillomat.ico", "quillomat.ico", 3, QSize(32, 32)},
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

}  // namespace
