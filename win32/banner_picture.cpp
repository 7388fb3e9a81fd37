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

HBITMAP ToBitmap(IWICBitmapSource* source, SIZE size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down rows, as WIC gives them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  const UINT stride = static_cast<UINT>(size.cx) * 4;
  if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(size.cy), static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace

HBITMAP LoadBanner(HINSTANCE instance, UINT dpi, SIZE size) {
  const Bytes bytes = ResourceBytes(instance, dpi > 96 ? kBanner2xResource : kBannerResource);
  if (bytes.data == nullptr || size.cx <= 0 || size.cy <= 0) return nullptr;

  Com<IWICImagingFactory> factory;
  Com<IWICStream> stream;
  Com<IWICBitmapDecoder> decoder;
  Com<IWICBitmapFrameDecode> frame;
  Com<IWICBitmapScaler> scaler;
  Com<IWICFormatConverter> converter;
  const bool read = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(factory.Out()))) &&
                    SUCCEEDED(factory->CreateStream(stream.Out())) &&
                    SUCCEEDED(stream->InitializeFromMemory(bytes.data, bytes.size)) &&
                    SUCCEEDED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                               decoder.Out())) &&
                    SUCCEEDED(decoder->GetFrame(0, frame.Out())) &&
                    SUCCEEDED(factory->CreateBitmapScaler(scaler.Out())) &&
                    SUCCEEDED(scaler->Initialize(frame.Get(), static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                                 WICBitmapInterpolationModeFant)) &&
                    SUCCEEDED(factory->CreateFormatConverter(converter.Out())) &&
                    SUCCEEDED(converter->Initialize(scaler.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                                    nullptr, 0, WICBitmapPaletteTypeCustom));
  return read ? ToBitmap(converter.Get(), size) : nullptr;
}

}  // namespace quillomat::win32
