// The bitmap exports: making, copying and freeing bitmaps, resizing, flip,
// mirror, quarter turns and the colour count.  The pixel work is core's.
#include <windows.h>

#include <cstring>

#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"
#include "pixel_ops.h"

using namespace imaging;

namespace {

// Fills every pixel of `image` with the colour (B, G, R, opaque).
void FillPixels(const PixelImage& image, COLORREF colour) {
  const uint8_t pixel[4] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0xFF};
  for (int32_t y = 0; y < image.height; ++y)
    for (int32_t x = 0; x < image.width; ++x) std::memcpy(image.Pixel(x, y), pixel, image.bytesPerPixel);
}

// Copies `source` centred onto `target`, cutting what sticks out.
void CopyCentred(const PixelImage& source, const PixelImage& target) {
  const int32_t offsetX = (target.width - source.width) / 2;
  const int32_t offsetY = (target.height - source.height) / 2;
  for (int32_t y = 0; y < source.height; ++y) {
    const int32_t ty = y + offsetY;
    if (ty < 0 || ty >= target.height) continue;
    for (int32_t x = 0; x < source.width; ++x) {
      const int32_t tx = x + offsetX;
      if (tx < 0 || tx >= target.width) continue;
      std::memcpy(target.Pixel(tx, ty), source.Pixel(x, y), source.bytesPerPixel);
    }
  }
}

int32_t Rotate(BITMAPHANDLE* bitmap, L_INT angle, L_UINT flags, COLORREF fill) {
  if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
  if (angle % 9000 != 0) return kErrorFeatureNotSupported;
  const int32_t turns = (angle / 9000) % 4;
  if (turns == 0) return kSuccess;
  const bool swapsSides = turns % 2 != 0;
  BITMAPHANDLE turned{};
  int32_t result = AllocateBitmap(&turned, swapsSides ? bitmap->Height : bitmap->Width,
                                  swapsSides ? bitmap->Width : bitmap->Height, bitmap->BitsPerPixel);
  if (result != kSuccess) return result;
  RotateQuarterTurns(ViewOf(*bitmap), turns, ViewOf(turned));
  if (swapsSides && (flags & ROTATE_RESIZE) == 0) {
    // The bitmap keeps its size: the turned picture is centred on the fill colour.
    const PixelImage own = ViewOf(*bitmap);
    FillPixels(own, fill);
    CopyCentred(ViewOf(turned), own);
    ReleasePixels(&turned);
    return kSuccess;
  }
  ReplacePixels(bitmap, &turned);
  return kSuccess;
}

}  // namespace

IMAGING_API L_INT WINAPI L_CreateBitmap(pBITMAPHANDLE bitmap, L_UINT memoryType, L_UINT width, L_UINT height,
                                        L_INT bitsPerPixel, L_INT order, RGBQUAD* palette,
                                        L_UINT viewPerspective, L_UCHAR* data, L_UINT32 dataSize) {
  int32_t result = Guarded([&]() -> int32_t {
    if (bitmap == nullptr || order != ORDER_BGR || palette != nullptr || viewPerspective != 0 ||
        data != nullptr || dataSize != 0)
      return kErrorInvalidParameter;
    return AllocateBitmap(bitmap, width, height, bitsPerPixel);
  });
  return Traced(Call("L_CreateBitmap").Number(memoryType).Number(width).Number(height).Number(bitsPerPixel)
                    .Number(order), result);
}

IMAGING_API void WINAPI L_FreeBitmap(pBITMAPHANDLE bitmap) {
  const bool holds = HoldsPixels(bitmap);
  if (holds) ReleasePixels(bitmap);
  Traced(Call("L_FreeBitmap"), holds ? kSuccess : kErrorNoBitmap);
}

IMAGING_API L_INT WINAPI L_CopyBitmap(pBITMAPHANDLE target, pBITMAPHANDLE source) {
  int32_t result = Guarded([&]() -> int32_t {
    if (target == nullptr) return kErrorInvalidParameter;
    if (!HoldsPixels(source)) return kErrorNoBitmap;
    BITMAPHANDLE copy{};
    int32_t made = AllocateBitmap(&copy, source->Width, source->Height, source->BitsPerPixel);
    if (made != kSuccess) return made;
    GdiFlush();
    std::memcpy(copy.Data, source->Data, static_cast<size_t>(source->BytesPerLine) * source->Height);
    copy.XResolution = source->XResolution;
    copy.YResolution = source->YResolution;
    *target = copy;
    return kSuccess;
  });
  return Traced(Call("L_CopyBitmap"), result);
}

IMAGING_API L_INT WINAPI L_SizeBitmap(pBITMAPHANDLE bitmap, L_INT width, L_INT height, L_UINT flags) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    if (width < 1 || height < 1 || flags > SIZE_RESAMPLE) return kErrorInvalidParameter;
    BITMAPHANDLE sized{};
    int32_t made = AllocateBitmap(&sized, width, height, bitmap->BitsPerPixel);
    if (made != kSuccess) return made;
    Resize(ViewOf(*bitmap), ViewOf(sized), flags == SIZE_RESAMPLE ? ResizeMethod::kResample : ResizeMethod::kNearest);
    ReplacePixels(bitmap, &sized);
    return kSuccess;
  });
  return Traced(Call("L_SizeBitmap").Number(width).Number(height).Number(flags), result);
}

IMAGING_API L_INT WINAPI L_FlipBitmap(pBITMAPHANDLE bitmap) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    FlipVertical(ViewOf(*bitmap));
    return kSuccess;
  });
  return Traced(Call("L_FlipBitmap"), result);
}

IMAGING_API L_INT WINAPI L_ReverseBitmap(pBITMAPHANDLE bitmap) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    ReverseHorizontal(ViewOf(*bitmap));
    return kSuccess;
  });
  return Traced(Call("L_ReverseBitmap"), result);
}

IMAGING_API L_INT WINAPI L_RotateBitmap(pBITMAPHANDLE bitmap, L_INT angle, L_UINT flags, COLORREF fill) {
  int32_t result = Guarded([&] { return Rotate(bitmap, angle, flags, fill); });
  return Traced(Call("L_RotateBitmap").Number(angle).Number(flags).Number(fill), result);
}

IMAGING_API L_INT WINAPI L_GetBitmapColorCount(pBITMAPHANDLE bitmap) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    return static_cast<int32_t>(CountColors(ViewOf(*bitmap)));
  });
  return Traced(Call("L_GetBitmapColorCount"), result);
}
