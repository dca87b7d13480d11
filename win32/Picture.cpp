#include "win32/Picture.h"

#include <wincodec.h>

namespace quorvane::win32 {
namespace {

template <class Interface>
void ReleaseCom(Interface* object) {
  object->Release();
}
template <class Interface>
using OwnedCom = Owned<Interface*, ReleaseCom<Interface>>;

// The frame as 32-bit BGRA pixels through the system's converter.
OwnedCom<IWICFormatConverter> Converted(IWICImagingFactory& factory,
                                        std::span<const std::uint8_t> bytes) {
  OwnedCom<IWICStream> stream;
  OwnedCom<IWICBitmapDecoder> decoder;
  OwnedCom<IWICBitmapFrameDecode> frame;
  OwnedCom<IWICFormatConverter> converter;
  if (FAILED(factory.CreateStream(stream.out())) ||
      FAILED(stream.get()->InitializeFromMemory(const_cast<BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory.CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad,
                                             decoder.out())) ||
      FAILED(decoder.get()->GetFrame(0, frame.out())) ||
      FAILED(factory.CreateFormatConverter(converter.out())) ||
      FAILED(converter.get()->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                         WICBitmapDitherTypeNone, nullptr, 0.0,
                                         WICBitmapPaletteTypeCustom))) {
    return {};
  }
  return converter;
}

}  // namespace

std::span<const std::uint8_t> ResourceBytes(int id, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (!found) return {};
  // A resource stays mapped for the module's life: nothing to release.
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
  if (!bytes) return {};
  return {bytes, SizeofResource(module, found)};
}

OwnedBitmap DecodePicture(std::span<const std::uint8_t> bytes, COLORREF background) {
  if (bytes.empty()) return {};
  // In the thread's apartment (win32/ComApartment.h); without one, no picture.
  OwnedCom<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.out())))) {
    return {};
  }
  const OwnedCom<IWICFormatConverter> pixels = Converted(*factory.get(), bytes);
  UINT width = 0, height = 0;
  if (!pixels || FAILED(pixels.get()->GetSize(&width, &height)) || !width || !height) return {};
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = static_cast<LONG>(width);
  bi.bmiHeader.biHeight = -static_cast<LONG>(height);  // top row first
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedBitmap bitmap(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return {};
  auto* out = static_cast<std::uint32_t*>(bits);
  const UINT count = width * height;
  if (FAILED(pixels.get()->CopyPixels(nullptr, width * 4, count * 4, static_cast<BYTE*>(bits)))) {
    return {};
  }
  const std::uint32_t fill =
      (GetRValue(background) << 16) | (GetGValue(background) << 8) | GetBValue(background);
  for (UINT i = 0; i < count; ++i) out[i] = (out[i] >> 24) ? (out[i] & 0xFFFFFF) : fill;
  return bitmap;
}

}  // namespace quorvane::win32
