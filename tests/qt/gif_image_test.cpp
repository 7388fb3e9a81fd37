// The banner's GIF reader: the banner as Qt's own GIF plugin reads it, and GIFs written here from
// known pixels, read back and, where Qt reads them too, read the same as Qt reads them.

#include "gif_image.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using quillomat::IsGif;
using quillomat::ReadGif;

namespace {

constexpr int kMaxCodes = 4096;

class BitWriter {
 public:
  void Write(int code, int bits) {
    buffer_ |= static_cast<std::uint32_t>(code) << held_;
    held_ += bits;
    while (held_ >= 8) {
      bytes_.append(static_cast<char>(buffer_ & 0xFF));
      buffer_ >>= 8;
      held_ -= 8;
    }
  }
  QByteArray Finish() {
    if (held_ > 0) bytes_.append(static_cast<char>(buffer_ & 0xFF));
    return bytes_;
  }

 private:
  QByteArray bytes_;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
};

// Writes codes at the width a reader reads them: a reader's table is one entry behind the
// writer's, as it learns each entry from the code after the one that made it.
class CodeWriter {
 public:
  explicit CodeWriter(int minCodeSize) : minCodeSize_(minCodeSize) {}

  int Clear() const { return 1 << minCodeSize_; }
  int End() const { return Clear() + 1; }

  void Put(int code) {
    bits_.Write(code, readerBits_);
    if (code == Clear()) {
      readerNext_ = End() + 1;
      readerBits_ = minCodeSize_ + 1;
      readerFirst_ = true;
    } else if (std::exchange(readerFirst_, false)) {
    } else if (readerNext_ < kMaxCodes) {
      ++readerNext_;
      if (readerNext_ == 1 << readerBits_ && readerBits_ < 12) ++readerBits_;
    }
  }
  QByteArray Finish() { return bits_.Finish(); }

 private:
  int minCodeSize_;
  BitWriter bits_;
  int readerNext_ = End() + 1;
  int readerBits_ = minCodeSize_ + 1;
  bool readerFirst_ = true;
};

// GIF's LZW, greedy. When the table is full it either starts afresh with a clear code or goes on
// with the table as it is, as GIF allows.
QByteArray Lzw(const std::vector<std::uint8_t>& indexes, int minCodeSize, bool clearWhenFull) {
  CodeWriter out(minCodeSize);
  std::map<std::pair<int, int>, int> table;
  int next = out.End() + 1;
  out.Put(out.Clear());
  int prefix = indexes.front();
  for (std::size_t i = 1; i < indexes.size(); ++i) {
    const int index = indexes[i];
    if (const auto found = table.find({prefix, index}); found != table.end()) {
      prefix = found->second;
      continue;
    }
    out.Put(prefix);
    if (next < kMaxCodes) {
      table[{prefix, index}] = next++;
    } else if (clearWhenFull) {
      out.Put(out.Clear());
      table.clear();
      next = out.End() + 1;
    }
    prefix = index;
  }
  out.Put(prefix);
  out.Put(out.End());
  return out.Finish();
}

void AppendWord(QByteArray& bytes, int value) {
  bytes.append(static_cast<char>(value & 0xFF));
  bytes.append(static_cast<char>((value >> 8) & 0xFF));
}

QRgb Colour(int index) { return qRgb((index * 37) & 0xFF, (index * 91 + 40) & 0xFF, (index * 53 + 7) & 0xFF); }

struct Picture {
  const char* name;
  int width;
  int height;
  int tableBits;  // 2^tableBits colours
  std::function<int(int x, int y)> index;
  bool interlaced = false;
  int transparent = -1;
  bool localTable = false;
  QPoint offset = {};  // of the image on the screen, which ends where the image ends
  bool comment = false;
  bool clearWhenFull = true;
};

QSize ScreenOf(const Picture& p) { return {p.offset.x() + p.width, p.offset.y() + p.height}; }

int StoredRow(const Picture& p, int stored) {
  if (!p.interlaced) return stored;
  std::vector<int> rows;
  for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
    for (int y = start; y < p.height; y += step) rows.push_back(y);
  }
  return rows[static_cast<std::size_t>(stored)];
}

QByteArray GifOf(const Picture& p) {
  const int colours = 1 << p.tableBits;
  QByteArray table;
  for (int i = 0; i < colours; ++i) {
    const QRgb c = Colour(i);
    table.append(static_cast<char>(qRed(c)));
    table.append(static_cast<char>(qGreen(c)));
    table.append(static_cast<char>(qBlue(c)));
  }
  const int sizeBits = p.tableBits - 1;
  QByteArray gif("GIF89a");
  AppendWord(gif, ScreenOf(p).width());
  AppendWord(gif, ScreenOf(p).height());
  gif.append(static_cast<char>(p.localTable ? 0x70 : 0xF0 | sizeBits));
  gif.append(2, '\0');
  if (!p.localTable) gif.append(table);
  if (p.comment)
    gif.append(
        QByteArray("\x21\xFE\x05hello\x03"
                   "abc\x00",
                   13));
  if (p.transparent >= 0) {
    gif.append(QByteArray("\x21\xF9\x04\x01\x00\x00", 6));
    gif.append(static_cast<char>(p.transparent));
    gif.append('\0');
  }
  gif.append('\x2C');
  AppendWord(gif, p.offset.x());
  AppendWord(gif, p.offset.y());
  AppendWord(gif, p.width);
  AppendWord(gif, p.height);
  gif.append(static_cast<char>((p.localTable ? 0x80 | sizeBits : 0) | (p.interlaced ? 0x40 : 0)));
  if (p.localTable) gif.append(table);

  std::vector<std::uint8_t> indexes;
  for (int stored = 0; stored < p.height; ++stored) {
    for (int x = 0; x < p.width; ++x) indexes.push_back(static_cast<std::uint8_t>(p.index(x, StoredRow(p, stored))));
  }
  const int minCodeSize = std::max(2, p.tableBits);
  gif.append(static_cast<char>(minCodeSize));
  const QByteArray data = Lzw(indexes, minCodeSize, p.clearWhenFull);
  for (qsizetype at = 0; at < data.size(); at += 255) {
    const QByteArray block = data.mid(at, 255);
    gif.append(static_cast<char>(block.size()));
    gif.append(block);
  }
  gif.append('\0');
  gif.append('\x3B');
  return gif;
}

QImage Expected(const Picture& p) {
  const bool covers = p.offset.isNull();
  const bool alpha = p.transparent >= 0 || !covers;
  QImage image(ScreenOf(p), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  image.fill(alpha ? Qt::transparent : Qt::black);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const int index = p.index(x, y);
      if (index == p.transparent) continue;
      image.setPixel(p.offset + QPoint(x, y), index < 1 << p.tableBits ? Colour(index) : qRgb(0, 0, 0));
    }
  }
  return image;
}

int Stripes(int x, int y) { return (x / 9 + y / 3) % 4; }
int Busy(int x, int y) { return (x * 7 + y * 13 + (x * y) % 5) % 256; }

const Picture kPictures[] = {
    {.name = "one pixel", .width = 1, .height = 1, .tableBits = 1, .index = [](int, int) { return 1; }},
    {.name = "two colours",
     .width = 23,
     .height = 11,
     .tableBits = 1,
     .index = [](int x, int y) { return (x + y) % 2; }},
    {.name = "indexes beyond the colour table",
     .width = 9,
     .height = 4,
     .tableBits = 1,
     .index = [](int x, int y) { return (x + y) % 4; }},
    {.name = "a single colour, long runs",
     .width = 300,
     .height = 40,
     .tableBits = 2,
     .index = [](int, int) { return 3; }},
    {.name = "stripes of four colours", .width = 120, .height = 37, .tableBits = 2, .index = Stripes},
    {.name = "every colour of 256, the table full many times",
     .width = 257,
     .height = 90,
     .tableBits = 8,
     .index = Busy},
    {.name = "the table full, then kept to the end",
     .width = 257,
     .height = 90,
     .tableBits = 8,
     .index = Busy,
     .clearWhenFull = false},
    {.name = "sixteen colours",
     .width = 64,
     .height = 64,
     .tableBits = 4,
     .index = [](int x, int y) { return (x * y + y) % 16; }},
    {.name = "interlaced, rows in all four passes",
     .width = 31,
     .height = 29,
     .tableBits = 4,
     .index = [](int x, int y) { return (x + 3 * y) % 16; },
     .interlaced = true},
    {.name = "interlaced, fewer rows than a pass's step",
     .width = 5,
     .height = 3,
     .tableBits = 2,
     .index = Stripes,
     .interlaced = true},
    {.name = "a transparent colour", .width = 40, .height = 20, .tableBits = 2, .index = Stripes, .transparent = 1},
    {.name = "a local colour table",
     .width = 40,
     .height = 20,
     .tableBits = 3,
     .index = [](int x, int y) { return (x ^ y) % 8; },
     .localTable = true},
    {.name = "a comment before the image",
     .width = 10,
     .height = 10,
     .tableBits = 1,
     .index = [](int x, int) { return x % 2; },
     .comment = true},
    {.name = "the image off the screen's corner",
     .width = 12,
     .height = 7,
     .tableBits = 2,
     .index = Stripes,
     .offset = {5, 3}},
};

class GifPictureTest : public testing::TestWithParam<Picture> {};

TEST_P(GifPictureTest, ReadsThePixelsWritten) {
  const Picture& p = GetParam();
  const QByteArray gif = GifOf(p);
  ASSERT_TRUE(IsGif(gif));
  const QImage image = ReadGif(gif);
  ASSERT_FALSE(image.isNull());
  const QImage expected = Expected(p);
  EXPECT_EQ(image.format(), expected.format());
  EXPECT_EQ(image, expected);
}

bool IndexesBeyondTheTable(const Picture& p) {
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      if (p.index(x, y) >= 1 << p.tableBits) return true;
    }
  }
  return false;
}

// Qt fills what the image leaves uncovered differently, and colours indexes beyond the table
// otherwise; on the rest it must agree, in what the pixels show: a transparent pixel's colour is
// none.
TEST_P(GifPictureTest, ReadsAsQtsOwnReaderDoes) {
  const Picture& p = GetParam();
  if (!p.offset.isNull()) GTEST_SKIP() << "the image does not cover the screen";
  if (IndexesBeyondTheTable(p)) GTEST_SKIP() << "indexes beyond the colour table";
  const QByteArray gif = GifOf(p);
  const QImage qt = QImage::fromData(gif, "GIF");
  ASSERT_FALSE(qt.isNull());
  EXPECT_EQ(ReadGif(gif).convertToFormat(QImage::Format_ARGB32_Premultiplied),
            qt.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

INSTANTIATE_TEST_SUITE_P(Pictures, GifPictureTest, testing::ValuesIn(kPictures),
                         [](const testing::TestParamInfo<Picture>& picture) {
                           std::string name;
                           for (const char c : std::string(picture.param.name)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

TEST(GifImageTest, ReadsTheBannerAsQtsOwnReaderDoes) {
  QFile file(QStringLiteral(":/quillomat/banner.gif"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray gif = file.readAll();
  const QImage ours = ReadGif(gif);
  const QImage qt = QImage::fromData(gif, "GIF");
  ASSERT_EQ(ours.size(), QSize(418, 67));
  EXPECT_EQ(ours.convertToFormat(QImage::Format_RGB32), qt.convertToFormat(QImage::Format_RGB32));
}

// A table kept full to the end holds 4096 entries: the last is learnt, and a code can name it.
TEST(GifImageTest, ReadsTheTablesLastEntry) {
  // Literal codes for 0 1 0 1 ...: each teaches the table its predecessor and its own index.
  constexpr int kLiterals = kMaxCodes - 6 + 1;  // the entries 6 to 4095, then one more
  CodeWriter codes(2);
  codes.Put(codes.Clear());
  for (int i = 0; i < kLiterals; ++i) codes.Put(i % 2);
  codes.Put(kMaxCodes - 1);  // the literals 4089 and 4090: 1 0
  codes.Put(codes.End());
  const QByteArray data = codes.Finish();

  const int width = kLiterals + 2;
  QByteArray gif("GIF89a");
  AppendWord(gif, width);
  AppendWord(gif, 1);
  gif.append(QByteArray("\xF1\0\0", 3));
  for (int i = 0; i < 4; ++i) {
    const QRgb c = Colour(i);
    for (const int channel : {qRed(c), qGreen(c), qBlue(c)}) gif.append(static_cast<char>(channel));
  }
  gif.append(QByteArray("\x2C\0\0\0\0", 5));
  AppendWord(gif, width);
  AppendWord(gif, 1);
  gif.append(QByteArray("\0\x02", 2));
  for (qsizetype at = 0; at < data.size(); at += 255) {
    gif.append(static_cast<char>(data.mid(at, 255).size()));
    gif.append(data.mid(at, 255));
  }
  gif.append(QByteArray("\0\x3B", 2));

  const QImage image = ReadGif(gif);
  ASSERT_EQ(image.size(), QSize(width, 1));
  for (int x = 0; x < kLiterals; ++x) ASSERT_EQ(image.pixel(x, 0), Colour(x % 2)) << x;
  EXPECT_EQ(image.pixel(width - 2, 0), Colour(1));
  EXPECT_EQ(image.pixel(width - 1, 0), Colour(0));
}

// Whatever is not a whole first image reads as no image at all.
TEST(GifImageTest, RefusesWhatIsNoWholeImage) {
  const QByteArray good = GifOf(kPictures[3]);
  const qsizetype header = 13 + 3 * 4;  // signature, screen, four colours
  const qsizetype minCodeSizeAt = header + 10;
  struct Case {
    const char* name;
    QByteArray bytes;
  };
  QByteArray badFirstCode = good;
  badFirstCode[minCodeSizeAt + 2] = '\x34';  // the clear code, then code 6, which no table holds yet
  QByteArray wideCodes = good;
  wideCodes[minCodeSizeAt] = '\x0C';
  QByteArray narrowCodes = good;
  narrowCodes[minCodeSizeAt] = '\x01';
  QByteArray unknownBlock = good;
  unknownBlock[header] = '\x2D';
  const Case cases[] = {
      {"empty", QByteArray()},
      {"another format", QByteArray("\x89PNG\r\n\x1A\n", 8) + good.mid(8)},
      {"an unknown version", QByteArray("GIF88a") + good.mid(6)},
      {"the screen cut short", good.left(10)},
      {"the colour table cut short", good.left(header - 2)},
      {"no image", good.left(header) + QByteArray("\x3B", 1)},
      {"the image descriptor cut short", good.left(header + 5)},
      {"the codes cut off halfway", good.left(good.size() / 2)},
      {"the codes ending after one pixel", good.left(minCodeSizeAt + 1) + QByteArray("\x01\x04\x00\x3B", 4)},
      {"a code the table does not hold", badFirstCode},
      {"codes wider than twelve bits", wideCodes},
      {"codes of one bit", narrowCodes},
      {"an unknown block", unknownBlock},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(ReadGif(c.bytes).isNull());
  }
  // What follows the first image does not matter, the trailer included.
  EXPECT_FALSE(ReadGif(good.chopped(1)).isNull());
}

}  // namespace
