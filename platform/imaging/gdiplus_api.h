// The GDI+ flat API as this library uses it, loaded from gdiplus.dll at the
// first picture call and started once for the process (never from DllMain,
// where GDI+ may not start).  GDI+ is left running until the process ends:
// it may not be shut down from DllMain either.  Without gdiplus.dll every
// file call fails with kErrorNoCodecs.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>

namespace imaging {

using GpStatus = int;  // 0 = Ok
using GpImage = void;
using GpPixelFormat = INT;

constexpr GpPixelFormat kPixelFormat1bppIndexed = 0x30101;
constexpr GpPixelFormat kPixelFormat4bppIndexed = 0x30402;
constexpr GpPixelFormat kPixelFormat8bppIndexed = 0x30803;
constexpr GpPixelFormat kPixelFormat24bppRGB = 0x21808;
constexpr GpPixelFormat kPixelFormat32bppRGB = 0x22009;
constexpr GpPixelFormat kPixelFormat32bppARGB = 0x26200A;
constexpr GpPixelFormat kPixelFormatAlphaFlag = 0x40000;
constexpr UINT kImageLockModeRead = 1;

struct GpRect {
  INT x, y, width, height;
};

struct GpBitmapData {
  UINT width;
  UINT height;
  INT stride;
  GpPixelFormat pixelFormat;
  void* scan0;
  UINT_PTR reserved;
};

// ImageCodecInfo of the flat API.
struct GpCodecInfo {
  CLSID clsid;
  GUID formatId;
  const WCHAR* codecName;
  const WCHAR* dllName;
  const WCHAR* formatDescription;
  const WCHAR* filenameExtension;
  const WCHAR* mimeType;
  DWORD flags, version, sigCount, sigSize;
  const BYTE* sigPattern;
  const BYTE* sigMask;
};

struct GpEncoderParameter {
  GUID guid;
  ULONG numberOfValues;
  ULONG type;  // 4 = long
  void* value;
};

struct GpEncoderParameters {
  UINT count;
  GpEncoderParameter parameter[1];
};

struct GpColorPalette {
  UINT flags;
  UINT count;
  DWORD entries[256];  // ARGB
};

struct GdiplusApi {
  GpStatus(WINAPI* LoadImageFromFile)(const WCHAR* file, GpImage** image);
  GpStatus(WINAPI* DisposeImage)(GpImage* image);
  GpStatus(WINAPI* GetImageWidth)(GpImage* image, UINT* width);
  GpStatus(WINAPI* GetImageHeight)(GpImage* image, UINT* height);
  GpStatus(WINAPI* GetImagePixelFormat)(GpImage* image, GpPixelFormat* format);
  GpStatus(WINAPI* GetImageHorizontalResolution)(GpImage* image, float* dpi);
  GpStatus(WINAPI* GetImageVerticalResolution)(GpImage* image, float* dpi);
  GpStatus(WINAPI* ImageGetFrameDimensionsCount)(GpImage* image, UINT* count);
  GpStatus(WINAPI* ImageGetFrameDimensionsList)(GpImage* image, GUID* dimensions, UINT count);
  GpStatus(WINAPI* ImageGetFrameCount)(GpImage* image, const GUID* dimension, UINT* count);
  GpStatus(WINAPI* BitmapLockBits)(GpImage* bitmap, const GpRect* rect, UINT flags, GpPixelFormat format,
                                   GpBitmapData* data);
  GpStatus(WINAPI* BitmapUnlockBits)(GpImage* bitmap, GpBitmapData* data);
  GpStatus(WINAPI* CreateBitmapFromScan0)(INT width, INT height, INT stride, GpPixelFormat format,
                                          BYTE* scan0, GpImage** bitmap);
  GpStatus(WINAPI* SetImagePalette)(GpImage* image, const GpColorPalette* palette);
  GpStatus(WINAPI* BitmapSetResolution)(GpImage* bitmap, float xdpi, float ydpi);
  GpStatus(WINAPI* GetImageEncodersSize)(UINT* count, UINT* size);
  GpStatus(WINAPI* GetImageEncoders)(UINT count, UINT size, GpCodecInfo* encoders);
  GpStatus(WINAPI* SaveImageToStream)(GpImage* image, IStream* stream, const CLSID* encoder,
                                      const GpEncoderParameters* parameters);
};

// The started API, or nullptr when gdiplus.dll is missing or would not start.
const GdiplusApi* Gdiplus();

// The class id of the encoder whose MIME type is `mime`; false when none.
bool FindEncoder(const GdiplusApi& api, const char* mime, CLSID* clsid);

// A path in the ANSI code page as UTF-16.
std::wstring WidePath(const char* path);

// Releases a GDI+ image on every way out of a scope.
class ScopedGpImage {
 public:
  explicit ScopedGpImage(const GdiplusApi& api, GpImage* image = nullptr) : api_(api), image_(image) {}
  ~ScopedGpImage() {
    if (image_ != nullptr) api_.DisposeImage(image_);
  }
  ScopedGpImage(const ScopedGpImage&) = delete;
  ScopedGpImage& operator=(const ScopedGpImage&) = delete;
  GpImage** Out() { return &image_; }
  GpImage* get() const { return image_; }

 private:
  const GdiplusApi& api_;
  GpImage* image_;
};

}  // namespace imaging
