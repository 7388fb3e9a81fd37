// The banner as the window shows it: at 96 dpi the bitmap GDI loads, which must be the artwork's
// GIF pixel for pixel as Windows' imaging component decodes it; on denser screens the twice-size
// drawing scaled to the picture's size.
#include <gtest/gtest.h>
#include <wincodec.h>

#include <cstdint>
#include <string>
#include <vector>

#include "banner_picture.h"
#include "test_resource_ids.h"
#include "window_fixture.h"
#include "windows_api.h"

namespace quillomat::win32 {
namespace {

// A bitmap's pixels as blue, green and red from the low byte up, top row first, with its size and
// the bits per pixel it keeps them in. The fourth byte, which no bitmap here shows, is left out.
struct Seen {
  LONG width = 0, height = 0;
  WORD bitsPerPixel = 0;
  std::vector<std::uint32_t> pixels;
};
Seen PixelsOf(HBITMAP bitmap) {
  Seen seen;
  DIBSECTION section{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof section, &section) != sizeof section) return seen;
  seen.width = section.dsBm.bmWidth;
  seen.height = section.dsBm.bmHeight;
  seen.bitsPerPixel = section.dsBm.bmBitsPixel;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = seen.width;
  info.bmiHeader.biHeight = -seen.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  seen.pixels.resize(static_cast<std::size_t>(seen.width) * static_cast<std::size_t>(seen.height));
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(seen.height), seen.pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  for (std::uint32_t& pixel : seen.pixels) pixel &= 0xFFFFFF;
  return seen;
}
Seen PixelsOfOwned(HBITMAP bitmap) {
  Seen seen = PixelsOf(bitmap);
  if (bitmap != nullptr) DeleteObject(bitmap);
  return seen;
}

// The artwork's GIF, carried by this test program alone, as the imaging component decodes it.
std::vector<std::uint32_t> GifThroughWic(LONG& width, LONG& height) {
  std::vector<std::uint32_t> pixels;
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(kTestBannerGifResource), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return pixels;
  auto* bytes = static_cast<BYTE*>(LockResource(LoadResource(self, found)));
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  UINT w = 0, h = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(bytes, SizeofResource(self, found))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&w, &h)) &&
      SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
      SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom))) {
    pixels.resize(std::size_t{w} * h);
    if (FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(pixels.data()))))
      pixels.clear();
  }
  for (IUnknown* object :
       {static_cast<IUnknown*>(converter), static_cast<IUnknown*>(frame), static_cast<IUnknown*>(decoder),
        static_cast<IUnknown*>(stream), static_cast<IUnknown*>(factory)})
    if (object != nullptr) object->Release();
  if (com) CoUninitialize();
  for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
  width = static_cast<LONG>(w);
  height = static_cast<LONG>(h);
  return pixels;
}

std::size_t Differing(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  if (a.size() != b.size()) return SIZE_MAX;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
  return differing;
}

TEST(BannerPicture, AtItsOwnSizeTheBannerIsTheGifPixelForPixelInItsEightBitBitmap) {
  LONG width = 0, height = 0;
  const std::vector<std::uint32_t> gif = GifThroughWic(width, height);
  ASSERT_FALSE(gif.empty()) << "the imaging component did not decode the GIF";
  EXPECT_EQ(width, 418);
  EXPECT_EQ(height, 67);
  const Seen banner = PixelsOfOwned(LoadBanner(GetModuleHandleW(nullptr), 96, {width, height}));
  EXPECT_EQ(banner.bitsPerPixel, 8) << "not the bitmap GDI loads";
  EXPECT_EQ(Differing(banner.pixels, gif), 0u) << "of " << gif.size() << " pixels";
}

TEST(BannerPicture, AtEveryDensityTheBannerComesAtTheSizeAskedFor) {
  struct Case {
    UINT dpi;
    SIZE size;
    WORD bitsPerPixel;  // 8 for the bitmap GDI loads, 32 for the imaging component's scaling
  };
  for (const Case& c : {Case{96, {418, 67}, 8}, Case{96, {420, 70}, 32}, Case{144, {627, 100}, 32},
                        Case{192, {836, 134}, 32}, Case{192, {840, 138}, 32}}) {
    SCOPED_TRACE(std::to_string(c.dpi) + " dpi, " + std::to_string(c.size.cx) + " x " + std::to_string(c.size.cy));
    const Seen banner = PixelsOfOwned(LoadBanner(GetModuleHandleW(nullptr), c.dpi, c.size));
    EXPECT_EQ(banner.width, c.size.cx);
    EXPECT_EQ(banner.height, c.size.cy);
    EXPECT_EQ(banner.bitsPerPixel, c.bitsPerPixel);
    if (c.bitsPerPixel == 32) {
      const Seen wic = PixelsOfOwned(LoadBannerThroughWic(GetModuleHandleW(nullptr), c.size));
      EXPECT_EQ(Differing(banner.pixels, wic.pixels), 0u);
    }
  }
}

class BannerInTheWindowTest : public WindowFixture {};

TEST_F(BannerInTheWindowTest, ThePictureShowsTheBannerAtItsSizeAndAt96DpiTheGifsOwnPixels) {
  HWND picture = Child(C::Image1);
  RECT inside{};
  GetClientRect(picture, &inside);
  const Seen shown = PixelsOf(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
  EXPECT_EQ(shown.width, inside.right);
  EXPECT_EQ(shown.height, inside.bottom);
  const UINT dpi = GetDpiForWindow(window->Window());
  if (dpi == 96) {
    EXPECT_EQ(shown.bitsPerPixel, 8) << "at 96 dpi the bitmap GDI loads, without the imaging component";
    LONG width = 0, height = 0;
    EXPECT_EQ(Differing(shown.pixels, GifThroughWic(width, height)), 0u);
  } else {
    EXPECT_EQ(shown.bitsPerPixel, 32) << dpi << " dpi: the twice-size drawing, scaled";
    EXPECT_EQ(
        Differing(shown.pixels,
                  PixelsOfOwned(LoadBannerThroughWic(GetModuleHandleW(nullptr), {inside.right, inside.bottom})).pixels),
        0u);
  }
}

}  // namespace
}  // namespace quillomat::win32
