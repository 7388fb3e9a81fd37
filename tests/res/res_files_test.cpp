// Checks of the files in res/: the banner GIF, the program icon, the icon
// theme's PNGs and the desktop integration files.  The GIF and ICO are taken
// apart byte by byte here, independently of the script that drew them, and
// also handed to Qt's own readers, which the program uses to show them.

#include "bytes.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace restest;

namespace {

const std::string kRes = QUILLOMAT_RES_DIR;

// ---------------------------------------------------------------------------
// GIF

struct GifSummary {
  std::uint32_t width = 0, height = 0, screen_flags = 0;
  int images = 0;
  std::uint32_t image_left = 0, image_top = 0, image_width = 0, image_height = 0;
  std::uint32_t image_flags = 0, min_code_size = 0;
  std::vector<std::uint32_t> extension_labels;
  bool transparent_colour = false;
  bool trailer_at_end = false;
};

std::size_t skip_sub_blocks(const Bytes& b, std::size_t pos) {
  for (std::uint32_t n = u8(b, pos++); n != 0; n = u8(b, pos++)) pos += n;
  return pos;
}

GifSummary parse_gif(const Bytes& b) {
  GifSummary g;
  g.width = u16(b, 6);
  g.height = u16(b, 8);
  g.screen_flags = u8(b, 10);
  std::size_t pos = 13;
  if (g.screen_flags & 0x80u) pos += 3u << ((g.screen_flags & 7u) + 1u);
  for (;;) {
    const std::uint32_t intro = u8(b, pos++);
    if (intro == 0x21) {  // extension
      const std::uint32_t label = u8(b, pos++);
      g.extension_labels.push_back(label);
      if (label == 0xF9 && (u8(b, pos + 1) & 0x01u)) g.transparent_colour = true;
      pos = skip_sub_blocks(b, pos);
    } else if (intro == 0x2C) {  // image descriptor
      ++g.images;
      g.image_left = u16(b, pos);
      g.image_top = u16(b, pos + 2);
      g.image_width = u16(b, pos + 4);
      g.image_height = u16(b, pos + 6);
      g.image_flags = u8(b, pos + 8);
      pos += 9;
      if (g.image_flags & 0x80u) pos += 3u << ((g.image_flags & 7u) + 1u);
      g.min_code_size = u8(b, pos++);
      pos = skip_sub_blocks(b, pos);
    } else if (intro == 0x3B) {  // trailer
      g.trailer_at_end = pos == b.size();
      return g;
    } else {
      ADD_FAILURE() << "unknown GIF block 0x" << std::hex << intro << " at " << std::dec << pos - 1;
      return g;
    }
  }
}

TEST(Banner, IsASingleFrameGif89aWithAFullGlobalColourTable) {
  const Bytes b = read_file(kRes + "/banner.gif");
  ASSERT_GE(b.size(), 13u + 768u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 6), "GIF89a");
  const GifSummary g = parse_gif(b);
  EXPECT_EQ(g.width, 418u);
  EXPECT_EQ(g.height, 67u);
  EXPECT_TRUE(g.screen_flags & 0x80u) << "no global colour table";
  EXPECT_EQ(g.screen_flags & 7u, 7u) << "global colour table is not 256 entries";
  EXPECT_EQ(g.images, 1);
  EXPECT_EQ(g.image_left, 0u);
  EXPECT_EQ(g.image_top, 0u);
  EXPECT_EQ(g.image_width, 418u);
  EXPECT_EQ(g.image_height, 67u);
  EXPECT_FALSE(g.image_flags & 0x80u) << "frame has a local colour table";
  EXPECT_FALSE(g.image_flags & 0x40u) << "frame is interlaced";
  EXPECT_EQ(g.min_code_size, 8u);
  EXPECT_FALSE(g.transparent_colour);
  EXPECT_EQ(std::count(g.extension_labels.begin(), g.extension_labels.end(), 0xFFu), 0)
      << "application extension (animation) present";
  EXPECT_TRUE(g.trailer_at_end);
}

TEST(Banner, QtDecodesItAsAnOpaque418x67Picture) {
  QImageReader reader(QString::fromStdString(kRes + "/banner.gif"));
  EXPECT_EQ(reader.format(), QByteArray("gif"));
  EXPECT_EQ(reader.imageCount(), 1);
  const QImage img = reader.read();
  ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(img.size(), QSize(418, 67));
  EXPECT_FALSE(img.hasAlphaChannel());
}

// The Windows program shows the bitmap and the others the GIF: one picture.
TEST(Banner, TheBitmapHoldsTheGifsPixelsIn8Bits) {
  QImageReader reader(QString::fromStdString(kRes + "/banner.bmp"));
  EXPECT_EQ(reader.format(), QByteArray("bmp"));
  const QImage bmp = reader.read();
  ASSERT_FALSE(bmp.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(bmp.format(), QImage::Format_Indexed8);
  const QImage gif = QImage(QString::fromStdString(kRes + "/banner.gif")).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(bmp.convertToFormat(QImage::Format_RGB32), gif);
}

TEST(Banner, ShowsAFigureAtTheLeftAndDarkLetteringOverLavenderOnWhite) {
  const QImage img = QImage(QString::fromStdString(kRes + "/banner.gif")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(img.size(), QSize(418, 67));
  // The paper is white at all four corners.
  for (const QPoint p : {QPoint(0, 0), QPoint(417, 0), QPoint(0, 66), QPoint(417, 66)})
    EXPECT_EQ(img.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();

  int figure = 0, lavender = 0, ink = 0, white = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QColor c(img.pixel(x, y));
      const int r = c.red(), g = c.green(), bl = c.blue();
      if (r == 255 && g == 255 && bl == 255) {
        ++white;
        continue;
      }
      if (x < 100) ++figure;
      const bool pale_violet = std::min({r, g, bl}) > 200 && bl > r && r > g;
      if (x >= 110 && pale_violet) ++lavender;
      if (x >= 110 && std::max({r, g, bl}) < 100) ++ink;
    }
  const int area = img.width() * img.height();
  EXPECT_GT(white, area / 5) << "the banner should be on white";
  EXPECT_GT(figure, 1000) << "no figure drawn at the left";
  EXPECT_GT(lavender, 5000) << "no pale lavender ellipse";
  EXPECT_GT(ink, 1000) << "no dark lettering";
}

// ---------------------------------------------------------------------------
// The banner for screens of twice the density

QImage rgb(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
}

TEST(Banner2x, IsAnOpaque836x134PngThatQtTakesAtTwiceTheDensity) {
  QImageReader reader(QString::fromStdString(kRes + "/banner@2x.png"));
  EXPECT_EQ(reader.format(), QByteArray("png"));
  const QImage img = reader.read();
  ASSERT_FALSE(img.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(img.size(), QSize(836, 134));
  EXPECT_FALSE(img.hasAlphaChannel());
  // Qt takes the ratio from the "@2x" in the name: the picture keeps the 1x banner's size on screen.
  EXPECT_EQ(img.devicePixelRatio(), 2.0);
  EXPECT_EQ(img.deviceIndependentSize(), QSizeF(418, 67));
}

// Each 2x2 block of the large banner averaged and set against the pixel of
// banner.gif it covers.
struct Likeness {
  double mean_difference = 0;  // of each pixel's largest channel difference
  double far_share = 0;        // pixels whose difference is above 64
  double mixed_share = 0;      // blocks not of one colour; none if pixel-doubled
};

Likeness halved_against(const QImage& big, const QImage& small) {
  Likeness l;
  int far = 0, mixed = 0;
  for (int y = 0; y < small.height(); ++y)
    for (int x = 0; x < small.width(); ++x) {
      int sum[3] = {0, 0, 0};
      bool uniform = true;
      for (int k = 0; k < 4; ++k) {
        const QRgb p = big.pixel(2 * x + k % 2, 2 * y + k / 2);
        sum[0] += qRed(p);
        sum[1] += qGreen(p);
        sum[2] += qBlue(p);
        uniform = uniform && p == big.pixel(2 * x, 2 * y);
      }
      const QRgb s = small.pixel(x, y);
      const int d =
          std::max({std::abs(sum[0] / 4 - qRed(s)), std::abs(sum[1] / 4 - qGreen(s)), std::abs(sum[2] / 4 - qBlue(s))});
      l.mean_difference += d;
      if (d > 64) ++far;
      if (!uniform) ++mixed;
    }
  const double n = static_cast<double>(small.width()) * small.height();
  l.mean_difference /= n;
  l.far_share = far / n;
  l.mixed_share = mixed / n;
  return l;
}

TEST(Banner2x, HalvedItIsTheGifRedrawnNotAPixelDoubledCopy) {
  const QImage big = rgb(kRes + "/banner@2x.png");
  const QImage small = rgb(kRes + "/banner.gif");
  ASSERT_EQ(big.size(), QSize(836, 134));
  ASSERT_EQ(small.size(), QSize(418, 67));
  const Likeness l = halved_against(big, small);
  // The same drawing differs only where the GIF rounded an edge pixel (a mean
  // of about 1.4); the whole picture shifted by half a 1x pixel, the lettering
  // shaken differently or the pen a fifth thinner give 5.5 or more.
  EXPECT_LT(l.mean_difference, 2.5);
  EXPECT_LT(l.far_share, 0.002);
  // Redrawn edges split some blocks between colours (about 15 % of them).
  EXPECT_GT(l.mixed_share, 0.05) << "looks like banner.gif with its pixels doubled";
}

// ---------------------------------------------------------------------------
// ICO

struct Rgb {
  std::uint32_t r, g, b;
  bool operator==(const Rgb&) const = default;
  bool operator<(const Rgb& o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
};

const std::array<Rgb, 16> kVga16 = {{{0, 0, 0},
                                     {128, 0, 0},
                                     {0, 128, 0},
                                     {128, 128, 0},
                                     {0, 0, 128},
                                     {128, 0, 128},
                                     {0, 128, 128},
                                     {192, 192, 192},
                                     {128, 128, 128},
                                     {255, 0, 0},
                                     {0, 255, 0},
                                     {255, 255, 0},
                                     {0, 0, 255},
                                     {255, 0, 255},
                                     {0, 255, 255},
                                     {255, 255, 255}}};
const Rgb kBlack{0, 0, 0}, kGrey{128, 128, 128}, kAqua{0, 255, 255}, kWhite{255, 255, 255};

struct IcoImage {
  // Directory entry.
  std::uint32_t width = 0, height = 0, colours = 0, reserved = 0, planes = 0, bpp = 0, size = 0, offset = 0;
  // The DIB inside.
  std::uint32_t bi_size = 0, bi_planes = 0, bi_bpp = 0, bi_compression = 0, bi_size_image = 0;
  std::int32_t bi_width = 0, bi_height = 0;
  std::vector<Rgb> palette;
  std::vector<std::vector<Rgb>> colour;  // [y][x], top row first
  std::vector<std::vector<bool>> clear;  // AND mask: true = transparent
};

std::vector<IcoImage> parse_ico(const Bytes& b, std::uint32_t& type) {
  type = u16(b, 2);
  const std::uint32_t count = u16(b, 4);
  std::vector<IcoImage> out;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t e = 6 + 16 * i;
    IcoImage im;
    im.width = u8(b, e);
    im.height = u8(b, e + 1);
    im.colours = u8(b, e + 2);
    im.reserved = u8(b, e + 3);
    im.planes = u16(b, e + 4);
    im.bpp = u16(b, e + 6);
    im.size = u32(b, e + 8);
    im.offset = u32(b, e + 12);
    const std::size_t d = im.offset;
    im.bi_size = u32(b, d);
    im.bi_width = static_cast<std::int32_t>(u32(b, d + 4));
    im.bi_height = static_cast<std::int32_t>(u32(b, d + 8));
    im.bi_planes = u16(b, d + 12);
    im.bi_bpp = u16(b, d + 14);
    im.bi_compression = u32(b, d + 16);
    im.bi_size_image = u32(b, d + 20);
    const std::uint32_t used = u32(b, d + 32);
    const std::uint32_t entries = used ? used : (1u << im.bi_bpp);
    std::size_t pos = d + im.bi_size;
    for (std::uint32_t k = 0; k < entries; ++k, pos += 4)
      im.palette.push_back({u8(b, pos + 2), u8(b, pos + 1), u8(b, pos)});
    const auto w = static_cast<std::size_t>(im.bi_width);
    const auto h = static_cast<std::size_t>(im.bi_height / 2);
    const std::size_t xor_stride = ((w * im.bi_bpp + 31) / 32) * 4;
    const std::size_t and_stride = ((w + 31) / 32) * 4;
    const std::size_t and_at = pos + xor_stride * h;
    im.colour.assign(h, std::vector<Rgb>(w));
    im.clear.assign(h, std::vector<bool>(w));
    for (std::size_t y = 0; y < h; ++y)
      for (std::size_t x = 0; x < w; ++x) {
        const std::size_t row = h - 1 - y;  // rows are stored bottom-up
        const std::size_t bit = x * im.bi_bpp;
        const std::uint32_t byte = u8(b, pos + row * xor_stride + bit / 8);
        const std::uint32_t index = (byte >> (8 - im.bi_bpp - bit % 8)) & ((1u << im.bi_bpp) - 1);
        im.colour[y][x] = index < im.palette.size() ? im.palette[index] : Rgb{999, 999, 999};
        im.clear[y][x] = (u8(b, and_at + row * and_stride + x / 8) >> (7 - x % 8)) & 1u;
      }
    const std::size_t end = and_at + and_stride * h;
    EXPECT_EQ(end - d, im.size) << "image " << i << ": entry size does not match its DIB";
    out.push_back(std::move(im));
  }
  return out;
}

struct IconExpect {
  std::uint32_t size, colours, bpp;
};
const std::array<IconExpect, 3> kIcons = {{{32, 2, 1}, {32, 16, 4}, {16, 16, 4}}};

TEST(Icon, HoldsThreeImagesAsBitmapsWithMasks) {
  const Bytes b = read_file(kRes + "/quillomat.ico");
  ASSERT_EQ(u16(b, 0), 0u);
  std::uint32_t type = 0;
  const auto images = parse_ico(b, type);
  EXPECT_EQ(type, 1u) << "not an icon file";
  ASSERT_EQ(images.size(), kIcons.size());
  std::size_t expected_offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < kIcons.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const IcoImage& im = images[i];
    const IconExpect& want = kIcons[i];
    EXPECT_EQ(im.width, want.size);
    EXPECT_EQ(im.height, want.size);
    EXPECT_EQ(im.colours, want.colours);
    EXPECT_EQ(im.reserved, 0u);
    EXPECT_EQ(im.planes, 1u);
    EXPECT_EQ(im.bpp, want.bpp);
    EXPECT_EQ(im.offset, expected_offset) << "images are not laid out one after another";
    expected_offset += im.size;
    EXPECT_EQ(im.bi_size, 40u);
    EXPECT_EQ(im.bi_width, static_cast<std::int32_t>(want.size));
    EXPECT_EQ(im.bi_height, static_cast<std::int32_t>(2 * want.size)) << "height must count the mask";
    EXPECT_EQ(im.bi_planes, 1u);
    EXPECT_EQ(im.bi_bpp, want.bpp);
    EXPECT_EQ(im.bi_compression, 0u);
    ASSERT_EQ(im.palette.size(), want.colours);
    if (want.colours == 16) {
      EXPECT_TRUE(std::equal(im.palette.begin(), im.palette.end(), kVga16.begin()))
          << "not the standard 16-colour palette";
    } else {
      EXPECT_EQ(std::set<Rgb>(im.palette.begin(), im.palette.end()), (std::set<Rgb>{kBlack, kWhite}));
    }
    int clear = 0, shown = 0;
    for (const auto& row : im.clear)
      for (const bool c : row) (c ? clear : shown)++;
    EXPECT_GT(clear, 0) << "mask makes nothing transparent";
    EXPECT_GT(shown, static_cast<int>(want.size * want.size / 2)) << "mask hides the drawing";
  }
  EXPECT_EQ(expected_offset, b.size());
}

// Centre of the pixels of one colour, and how many there are.
struct Spot {
  double x = 0, y = 0;
  int n = 0;
};

TEST(Icon, ShowsAWindowInPerspectiveWithTitleBarOutlineAndShadow) {
  std::uint32_t type = 0;
  const auto images = parse_ico(read_file(kRes + "/quillomat.ico"), type);
  ASSERT_EQ(images.size(), kIcons.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const IcoImage& im = images[i];
    std::map<Rgb, Spot> spots;
    std::map<std::size_t, int> window_column;  // x -> opaque non-shadow pixels
    for (std::size_t y = 0; y < im.colour.size(); ++y)
      for (std::size_t x = 0; x < im.colour[y].size(); ++x) {
        if (im.clear[y][x]) continue;
        Spot& s = spots[im.colour[y][x]];
        s.x += static_cast<double>(x);
        s.y += static_cast<double>(y);
        ++s.n;
        if (!(im.colour[y][x] == kGrey)) ++window_column[x];
      }
    for (auto& kv : spots) {
      kv.second.x /= kv.second.n;
      kv.second.y /= kv.second.n;
    }
    if (kIcons[i].colours == 2) {
      EXPECT_TRUE(spots.count(kBlack) && spots.count(kWhite)) << "needs both black and white";
      continue;
    }
    std::set<Rgb> used;
    for (const auto& kv : spots) used.insert(kv.first);
    EXPECT_EQ(used, (std::set<Rgb>{kBlack, kGrey, kAqua, kWhite}))
        << "expected exactly black outline, grey shadow, cyan title bar, white client area";
    if (used.size() != 4) continue;
    EXPECT_LT(spots[kAqua].y, spots[kWhite].y) << "title bar is not above the client area";
    EXPECT_GT(spots[kGrey].x, spots[kWhite].x) << "shadow is not to the right";
    EXPECT_GT(spots[kGrey].y, spots[kWhite].y) << "shadow is not below";
    ASSERT_FALSE(window_column.empty());
    EXPECT_GT(window_column.begin()->second, window_column.rbegin()->second)
        << "the near (left) edge should be taller than the far (right) edge";
  }
}

TEST(Icon, QtReadsAllThreeImages) {
  QImageReader reader(QString::fromStdString(kRes + "/quillomat.ico"));
  ASSERT_EQ(reader.imageCount(), static_cast<int>(kIcons.size()));
  for (std::size_t i = 0; i < kIcons.size(); ++i) {
    ASSERT_TRUE(reader.jumpToImage(static_cast<int>(i)));
    const QImage img = reader.read();
    ASSERT_FALSE(img.isNull()) << "image " << i << ": " << reader.errorString().toStdString();
    const int n = static_cast<int>(kIcons[i].size);
    EXPECT_EQ(img.size(), QSize(n, n)) << "image " << i;
    EXPECT_TRUE(img.hasAlphaChannel()) << "image " << i;
  }
}

// ---------------------------------------------------------------------------
// Icon theme PNGs

std::uint32_t be32(const Bytes& b, std::size_t at) {
  return (u8(b, at) << 24) | (u8(b, at + 1) << 16) | (u8(b, at + 2) << 8) | u8(b, at + 3);
}

TEST(ThemeIcons, AreSquareRgbaPngsOfTheWindow) {
  for (const int n : {16, 32, 48, 64, 128, 256}) {
    const std::string path = kRes + "/icons/" + std::to_string(n) + "x" + std::to_string(n) + "/quillomat.png";
    SCOPED_TRACE(path);
    const Bytes b = read_file(path);
    ASSERT_GE(b.size(), 33u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
    EXPECT_EQ(be32(b, 16), static_cast<std::uint32_t>(n));
    EXPECT_EQ(be32(b, 20), static_cast<std::uint32_t>(n));
    EXPECT_EQ(u8(b, 24), 8u) << "bit depth";
    EXPECT_EQ(u8(b, 25), 6u) << "colour type RGBA";

    const QImage img = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(img.size(), QSize(n, n));
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << "corner should be transparent";
    EXPECT_EQ(qAlpha(img.pixel(n - 1, 0)), 0) << "corner should be transparent";
    std::set<QRgb> solid;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        if (qAlpha(img.pixel(x, y)) == 255) solid.insert(img.pixel(x, y));
    for (const QRgb want : {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(0, 255, 255), qRgb(255, 255, 255)})
      EXPECT_TRUE(solid.count(want)) << "colour " << std::hex << want << " missing";
  }
}

// ---------------------------------------------------------------------------
// Desktop integration: the menu entry, the AppStream file and the icons must
// name one another consistently (the validators look at each file alone).

std::map<std::string, std::string> desktop_entry(const std::string& path) {
  std::map<std::string, std::string> keys;
  std::istringstream in(read_text(path));
  std::string line, group;
  while (std::getline(in, line)) {
    if (!line.empty() && line.front() == '[') {
      group = line;
      continue;
    }
    const auto eq = line.find('=');
    if (group == "[Desktop Entry]" && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
  }
  return keys;
}

TEST(DesktopIntegration, DesktopFileMetainfoAndIconsAgree) {
  namespace fs = std::filesystem;
  std::vector<fs::path> metainfos;
  for (const auto& e : fs::directory_iterator(kRes))
    if (e.path().filename().string().ends_with(".metainfo.xml.in")) metainfos.push_back(e.path());
  ASSERT_EQ(metainfos.size(), 1u);
  metainfos[0] = QUILLOMAT_METAINFO;  // the one the build fills in from the template

  QFile file(QString::fromStdString(metainfos[0].string()));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::map<std::string, std::string> meta;  // element name -> text
  std::string launchable_type, icon_type;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const std::string name = xml.name().toString().toStdString();
    if (name == "launchable") launchable_type = xml.attributes().value("type").toString().toStdString();
    if (name == "icon") icon_type = xml.attributes().value("type").toString().toStdString();
    if (name == "id" || name == "launchable" || name == "icon" || name == "binary")
      meta[name] = xml.readElementText().toStdString();
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

  const std::string id = meta["id"];
  EXPECT_EQ(metainfos[0].filename().string(), id + ".metainfo.xml");
  EXPECT_EQ(launchable_type, "desktop-id");
  EXPECT_EQ(meta["launchable"], id + ".desktop");
  const std::string desktop_path = kRes + "/" + id + ".desktop";
  ASSERT_TRUE(fs::exists(desktop_path)) << "no desktop file named after the component id " << id;

  auto entry = desktop_entry(desktop_path);
  EXPECT_EQ(entry["Type"], "Application");
  EXPECT_EQ(entry["Name"], "Quillomat");
  // The program is installed as `quillomat`.
  EXPECT_EQ(entry["Exec"].substr(0, entry["Exec"].find(' ')), "quillomat");
  EXPECT_EQ(meta["binary"], "quillomat");
  EXPECT_EQ(icon_type, "stock");
  EXPECT_EQ(meta["icon"], entry["Icon"]);
  for (const int n : {16, 32, 48, 64, 128, 256}) {
    const std::string png =
        kRes + "/icons/" + std::to_string(n) + "x" + std::to_string(n) + "/" + entry["Icon"] + ".png";
    EXPECT_TRUE(fs::exists(png)) << png;
  }
}

}  // namespace
