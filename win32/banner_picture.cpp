#include "banner_picture.h"

#include <wincodec.h>

#include "resource_ids.h"

namespace quillomat::win32 {
namespace {

// Owns one COM reference.
template <typename T>
class Com {
 public:
  Com() = default;
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  ~Com() {
    if (p_) p_->Release();
  }
  T** Out() { return &p_; }
  T* operator->() const { return p_; }
  T* Get() const { return p_; }

 private:
  T* p_ = nullptr;
};

struct Bytes {
  BYTE* data = nullptr;
  DWORD size = 0;
};

Bytes ResourceBytes(HINSTANCE instance, int id) {
  HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(instance, found);
  if (loaded == nullptr) return {};
  return {static_cast<BYTE*>(LockResource(loaded)), SizeofResource(instance, found)};
}

// A 32-bit top-down bitmap of `size` and its pixels.
HBITMAP NewBitmap(SIZE size, void*& bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down rows, as WIC gives them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

HBITMAP ToBitmap(IWICBitmapSource* source, SIZE size) {
  void* bits = nullptr;
  HBITMAP bitmap = NewBitmap(size, bits);
  if (bitmap == nullptr) return nullptr;
  const UINT stride = static_cast<UINT>(size.cx) * 4;
  if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(size.cy), static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

HBITMAP DecodeWithWic(const Bytes& bytes, SIZE size) {
  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapScaler> scaler;
  Com<IWICFormatConverter> converter;
  const bool read =
      SUCCEEDED(
          CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.Out()))) &&
      SUCCEEDED(factory->CreateStream(stream.Out())) &&
      SUCCEEDED(stream->InitializeFromMemory(bytes.data, bytes.size)) &&
      // The decoder by name: finding one for the stream would try every decoder installed.
      SUCCEEDED(CoCreateInstance(CLSID_WICPngDecoder, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(decoder.Out()))) &&
      SUCCEEDED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) &&
      SUCCEEDED(decoder->GetFrame(0, frame.Out())) && SUCCEEDED(factory->CreateBitmapScaler(scaler.Out())) &&
      SUCCEEDED(scaler->Initialize(frame.Get(), static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                   WICBitmapInterpolationModeFant)) &&
      SUCCEEDED(factory->CreateFormatConverter(converter.Out())) &&
      SUCCEEDED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                      WICBitmapPaletteTypeCustom));
  return read ? ToBitmap(converter.Get(), size) : nullptr;
}

}  // namespace

HBITMAP LoadBanner(HINSTANCE instance, UINT dpi, SIZE size) {
  if (dpi <= 96) {
    // At its own size the drawing needs no scaling, and GDI loads it without the imaging
    // component, which would bring COM into the program's start.
    auto* bitmap = static_cast<HBITMAP>(
        LoadImageW(instance, MAKEINTRESOURCEW(kBannerResource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP shape{};
    if (bitmap != nullptr && GetObjectW(bitmap, sizeof shape, &shape) != 0 && shape.bmWidth == size.cx &&
        shape.bmHeight == size.cy)
      return bitmap;
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  return LoadBannerThroughWic(instance, size);
}

HBITMAP LoadBannerThroughWic(HINSTANCE instance, SIZE size) {
  const Bytes bytes = ResourceBytes(instance, kBanner2xResource);
  if (bytes.data == nullptr || size.cx <= 0 || size.cy <= 0) return nullptr;
  // COM for as long as the imaging component works; a thread that has it already keeps it.
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  HBITMAP bitmap = DecodeWithWic(bytes, size);
  if (com) CoUninitialize();
  return bitmap;
}

}  // namespace quillomat::win32
