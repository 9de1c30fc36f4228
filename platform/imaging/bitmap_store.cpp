#include "bitmap_store.h"

#include <cstdlib>
#include <cstring>

#include "error_codes.h"
#include "pixel_layout.h"

namespace imaging {

int32_t AllocateBitmap(BITMAPHANDLE* bitmap, int64_t width, int64_t height, int32_t bits) {
  if (bitmap == nullptr) return kErrorInvalidParameter;
  std::memset(bitmap, 0, sizeof(*bitmap));
  bitmap->uStructSize = sizeof(BITMAPHANDLE);
  if (bits != 24 && bits != 32) return kErrorBitsPerPixel;
  std::optional<uint32_t> total = DibImageBytes(width, height, bits);
  if (!total || width > INT32_MAX || height > INT32_MAX) return kErrorInvalidParameter;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits);
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (dib == nullptr || pixels == nullptr) {
    if (dib != nullptr) DeleteObject(dib);
    return kErrorNoMemory;
  }
  std::memset(pixels, 0, *total);
  bitmap->Width = static_cast<L_INT>(width);
  bitmap->Height = static_cast<L_INT>(height);
  bitmap->BitsPerPixel = bits;
  bitmap->BytesPerLine = static_cast<L_INT>(*DibRowBytes(width, bits));
  bitmap->Flags = BITMAP_ALLOCATED | BITMAP_CONVENTIONAL;
  bitmap->Order = ORDER_BGR;
  bitmap->XResolution = 96;
  bitmap->YResolution = 96;
  bitmap->Data = static_cast<L_UCHAR*>(pixels);
  bitmap->hDIB = dib;
  return kSuccess;
}

bool HoldsPixels(const BITMAPHANDLE* bitmap) {
  if (bitmap == nullptr || (bitmap->Flags & BITMAP_ALLOCATED) == 0 || bitmap->hDIB == nullptr) return false;
  DIBSECTION section{};
  if (GetObjectA(bitmap->hDIB, sizeof(section), &section) != sizeof(section)) return false;
  return section.dsBm.bmBits == bitmap->Data && section.dsBm.bmWidth == bitmap->Width &&
         std::abs(section.dsBm.bmHeight) == bitmap->Height &&
         section.dsBm.bmBitsPixel == bitmap->BitsPerPixel &&
         section.dsBm.bmWidthBytes == bitmap->BytesPerLine;
}

PixelImage ViewOf(const BITMAPHANDLE& bitmap) {
  GdiFlush();
  PixelImage image;
  image.width = bitmap.Width;
  image.height = bitmap.Height;
  image.strideBytes = static_cast<uint32_t>(bitmap.BytesPerLine);
  image.bytesPerPixel = static_cast<uint32_t>(bitmap.BitsPerPixel / 8);
  image.rows = bitmap.Data;
  return image;
}

void ReleasePixels(BITMAPHANDLE* bitmap) {
  if (bitmap == nullptr) return;
  if (bitmap->hDIB != nullptr) DeleteObject(bitmap->hDIB);
  std::memset(bitmap, 0, sizeof(*bitmap));
  bitmap->uStructSize = sizeof(BITMAPHANDLE);
}

void ReplacePixels(BITMAPHANDLE* bitmap, BITMAPHANDLE* replacement) {
  const L_INT xResolution = bitmap->XResolution;
  const L_INT yResolution = bitmap->YResolution;
  ReleasePixels(bitmap);
  *bitmap = *replacement;
  bitmap->XResolution = xResolution;
  bitmap->YResolution = yResolution;
  std::memset(replacement, 0, sizeof(*replacement));
  replacement->uStructSize = sizeof(BITMAPHANDLE);
}

}  // namespace imaging
