// The banner as the window shows it, read by the program's own GIF decoder and by Windows' imaging
// component, which must agree pixel for pixel; and GIFs the decoder leaves to the imaging component.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "banner_picture.h"
#include "gif_image.h"
#include "resource_ids.h"
#include "windows_api.h"

namespace quillomat::win32 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes BannerGif() {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(kBannerResource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return {};
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(self, found)));
  return {data, data + SizeofResource(self, found)};
}

// A bitmap's pixels, top row first, and its size.
struct Seen {
  LONG width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
};
Seen PixelsOf(HBITMAP bitmap) {
  Seen seen;
  BITMAP shape{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof shape, &shape) == 0) return seen;
  seen.width = shape.bmWidth;
  seen.height = shape.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = shape.bmWidth;
  info.bmiHeader.biHeight = -shape.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  seen.pixels.resize(static_cast<std::size_t>(shape.bmWidth) * static_cast<std::size_t>(shape.bmHeight));
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(shape.bmHeight), seen.pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  DeleteObject(bitmap);
  return seen;
}

// A GIF of `indices` in the colours of `palette` (three bytes each, a power of two of them),
// LZW-coded without compression: every index is a code of its own. With `clears`, a clear code
// comes whenever the table would need wider codes; without, the codes widen as the table grows, up
// to 12 bits, and stay so once it is full. `extensions` come before the image.
Bytes LiteralGif(int width, int height, const Bytes& palette, const std::vector<std::uint8_t>& indices,
                 const Bytes& extensions = {}, bool localTable = false, bool clears = true) {
  int bits = 1;
  while ((3 << bits) < static_cast<int>(palette.size())) ++bits;
  const auto word = [](Bytes& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
  };
  Bytes gif{'G', 'I', 'F', '8', '9', 'a'};
  word(gif, width);
  word(gif, height);
  const auto tableFlags = static_cast<std::uint8_t>(0x80 | (bits - 1));
  gif.push_back(localTable ? 0 : tableFlags);
  gif.push_back(0);
  gif.push_back(0);
  if (!localTable) gif.insert(gif.end(), palette.begin(), palette.end());
  gif.insert(gif.end(), extensions.begin(), extensions.end());
  gif.push_back(0x2C);
  for (int value : {0, 0, width, height}) word(gif, value);
  gif.push_back(localTable ? tableFlags : 0);
  if (localTable) gif.insert(gif.end(), palette.begin(), palette.end());

  const int codeSize = std::max(bits, 2);
  const int clear = 1 << codeSize;
  Bytes data;
  std::uint32_t buffer = 0;
  int filled = 0;
  int codeWidth = codeSize + 1;
  const auto emit = [&](int code) {
    buffer |= static_cast<std::uint32_t>(code) << filled;
    for (filled += codeWidth; filled >= 8; filled -= 8, buffer >>= 8) data.push_back(static_cast<std::uint8_t>(buffer));
  };
  // The decoder's table grows by one code for each code after the first following a clear code;
  // it widens its codes once it holds 2 ** width of them, and stops growing at 4096.
  int next = clear + 2;
  bool afterClear = true;
  emit(clear);
  for (std::uint8_t index : indices) {
    if (clears && next + 1 == (1 << codeWidth)) {
      emit(clear);
      next = clear + 2;
      afterClear = true;
    }
    emit(index);
    if (!afterClear && next < 4096 && ++next == (1 << codeWidth) && codeWidth < 12) ++codeWidth;
    afterClear = false;
  }
  emit(clear + 1);
  if (filled > 0) data.push_back(static_cast<std::uint8_t>(buffer));

  gif.push_back(static_cast<std::uint8_t>(codeSize));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t size = std::min<std::size_t>(255, data.size() - at);
    gif.push_back(static_cast<std::uint8_t>(size));
    gif.insert(gif.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  gif.push_back(0);
  gif.push_back(0x3B);
  return gif;
}

TEST(BannerPicture, TheDecodedBannerIsWhatTheImagingComponentMakesOfIt) {
  const Bytes gif = BannerGif();
  ASSERT_FALSE(gif.empty());
  const auto image = DecodeGif(gif);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 418);
  EXPECT_EQ(image->height, 67);
  const Seen wic = PixelsOf(LoadBannerThroughWic(GetModuleHandleW(nullptr), 96, {418, 67}));
  ASSERT_EQ(wic.pixels.size(), image->pixels.size());
  std::size_t differing = 0;
  for (std::size_t i = 0; i < wic.pixels.size(); ++i) differing += wic.pixels[i] != image->pixels[i];
  EXPECT_EQ(differing, 0u) << "of " << wic.pixels.size() << " pixels";
}

TEST(BannerPicture, AtEveryDensityTheBannerComesAtTheSizeAskedFor) {
  struct Case {
    UINT dpi;
    SIZE size;
  };
  for (const Case& c : {Case{96, {418, 67}}, Case{96, {420, 70}}, Case{192, {840, 138}}}) {
    const Seen banner = PixelsOf(LoadBanner(GetModuleHandleW(nullptr), c.dpi, c.size));
    EXPECT_EQ(banner.width, c.size.cx) << c.dpi << " dpi";
    EXPECT_EQ(banner.height, c.size.cy) << c.dpi << " dpi";
    const Seen wic = PixelsOf(LoadBannerThroughWic(GetModuleHandleW(nullptr), c.dpi, c.size));
    EXPECT_TRUE(banner.pixels == wic.pixels) << c.dpi << " dpi, " << c.size.cx << " x " << c.size.cy;
  }
}

TEST(BannerPicture, PlainGifsDecodeToTheirColours) {
  std::mt19937 random(7);
  struct Case {
    const char* name;
    int colours, width, height;
    bool localTable;
    Bytes extensions;
    bool clears = true;
  };
  // A graphic control extension without transparency, and a comment.
  const Bytes control{0x21, 0xF9, 4, 0x04, 10, 0, 0, 0};
  const Bytes comment{0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0};
  const Case cases[] = {
      {"four colours", 4, 5, 3, false, {}},
      {"two colours, narrower than the least code size", 2, 7, 2, false, {}},
      {"many clear codes", 16, 300, 40, false, {}},
      {"256 colours", 256, 64, 64, false, {}},
      {"a local colour table", 8, 9, 9, true, {}},
      {"extensions before the image", 4, 6, 6, false, control},
      {"a comment before the image", 4, 6, 6, false, comment},
      {"a full table", 4, 100, 50, false, {}, false},
  };
  for (const Case& c : cases) {
    Bytes palette;
    for (int i = 0; i < c.colours * 3; ++i) palette.push_back(static_cast<std::uint8_t>(random()));
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> expected;
    for (int i = 0; i < c.width * c.height; ++i) {
      const auto index = static_cast<std::uint8_t>(random() % static_cast<unsigned>(c.colours));
      indices.push_back(index);
      const std::size_t at = std::size_t{index} * 3;
      expected.push_back(0xFF000000u | (std::uint32_t{palette[at]} << 16) | (std::uint32_t{palette[at + 1]} << 8) |
                         palette[at + 2]);
    }
    const auto image = DecodeGif(LiteralGif(c.width, c.height, palette, indices, c.extensions, c.localTable, c.clears));
    ASSERT_TRUE(image.has_value()) << c.name;
    EXPECT_EQ(image->width, c.width) << c.name;
    EXPECT_EQ(image->height, c.height) << c.name;
    EXPECT_TRUE(image->pixels == expected) << c.name;
  }
}

TEST(BannerPicture, GifsTheDecoderDoesNotReadAreLeftToTheImagingComponent) {
  const Bytes palette{0, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255};
  const std::vector<std::uint8_t> indices{0, 1, 2, 3, 3, 2};
  const Bytes plain = LiteralGif(3, 2, palette, indices);
  ASSERT_TRUE(DecodeGif(plain).has_value());
  constexpr std::size_t kImageFlags = 13 + 12 + 9;  // header, colour table, image descriptor up to its flags
  struct Case {
    const char* name;
    Bytes gif;
  };
  std::vector<Case> cases;
  const auto changed = [&plain](std::size_t at, std::uint8_t value) {
    Bytes gif = plain;
    gif[at] = value;
    return gif;
  };
  cases.push_back({"not a GIF", changed(0, 'J')});
  cases.push_back({"GIF88a", changed(4, '8')});
  cases.push_back({"interlaced", changed(kImageFlags, 0x40)});
  cases.push_back({"an image narrower than the screen", changed(kImageFlags - 4, 2)});
  cases.push_back({"an image off the screen's corner", changed(kImageFlags - 8, 1)});
  const Bytes twoColours(palette.begin(), palette.begin() + 6);
  cases.push_back({"a colour index beyond the table", LiteralGif(3, 2, twoColours, {0, 1, 1, 0, 3, 0})});
  cases.push_back({"a transparent colour", LiteralGif(3, 2, palette, indices, {0x21, 0xF9, 4, 0x01, 0, 0, 0, 0})});
  // After a single index the table's next entry is code 6: code 7 names nothing.
  cases.push_back({"a code the table does not hold yet", LiteralGif(3, 2, palette, {0, 7, 1, 2, 3, 3})});
  cases.push_back({"fewer pixels than the image", LiteralGif(3, 2, palette, {0, 1, 2, 3, 3})});
  cases.push_back({"more pixels than the image", LiteralGif(3, 2, palette, {0, 1, 2, 3, 3, 2, 1})});
  Bytes noImage = plain;
  noImage.resize(13 + 12);
  noImage.push_back(0x3B);
  cases.push_back({"no image", noImage});
  for (const Case& c : cases) EXPECT_FALSE(DecodeGif(c.gif).has_value()) << c.name;

  const Bytes banner = BannerGif();
  ASSERT_FALSE(banner.empty());
  std::size_t decoded = 0;
  for (std::size_t size = 0; size + 1 < banner.size(); ++size)  // all but the trailer
    decoded += DecodeGif({banner.data(), size}).has_value();
  EXPECT_EQ(decoded, 0u) << "the banner cut short";
}

}  // namespace
}  // namespace quillomat::win32
