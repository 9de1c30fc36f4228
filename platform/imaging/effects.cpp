// The effect exports: colour changes, filters, relief, trimming and laying a
// texture under a picture.  Each checks the bitmap and hands its pixels to
// core's pixel_effects; a refused value leaves the bitmap as it was.
#include <windows.h>

#include <cstring>

#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"
#include "pixel_effects.h"

using namespace imaging;

namespace {

// Runs `effect` on the bitmap's pixels after checking the bitmap.
template <typename Effect>
int32_t OnPixels(pBITMAPHANDLE bitmap, Effect effect) {
  return Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    return effect(ViewOf(*bitmap));
  });
}

int32_t TrimBitmap(BITMAPHANDLE* bitmap, L_INT threshold) {
  if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
  const PixelImage own = ViewOf(*bitmap);
  TrimRect rect;
  const int32_t found = TrimRectangle(own, threshold, &rect);
  if (found != kSuccess) return found;
  if (rect.width == own.width && rect.height == own.height) return kSuccess;
  BITMAPHANDLE trimmed{};
  const int32_t made = AllocateBitmap(&trimmed, rect.width, rect.height, bitmap->BitsPerPixel);
  if (made != kSuccess) return made;
  const PixelImage target = ViewOf(trimmed);
  for (int32_t y = 0; y < rect.height; ++y)
    std::memcpy(target.Row(y), own.Pixel(rect.left, rect.top + y), static_cast<size_t>(rect.width) * own.bytesPerPixel);
  ReplacePixels(bitmap, &trimmed);
  return kSuccess;
}

}  // namespace

IMAGING_API L_INT WINAPI L_ChangeBitmapContrast(pBITMAPHANDLE bitmap, L_INT change) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return ChangeContrast(image, change); });
  return Traced(Call("L_ChangeBitmapContrast").Number(change), result);
}

IMAGING_API L_INT WINAPI L_ChangeBitmapIntensity(pBITMAPHANDLE bitmap, L_INT change) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return ChangeIntensity(image, change); });
  return Traced(Call("L_ChangeBitmapIntensity").Number(change), result);
}

IMAGING_API L_INT WINAPI L_ChangeBitmapHue(pBITMAPHANDLE bitmap, L_INT degrees) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return ChangeHue(image, degrees); });
  return Traced(Call("L_ChangeBitmapHue").Number(degrees), result);
}

IMAGING_API L_INT WINAPI L_ChangeBitmapSaturation(pBITMAPHANDLE bitmap, L_INT change) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return ChangeSaturation(image, change); });
  return Traced(Call("L_ChangeBitmapSaturation").Number(change), result);
}

IMAGING_API L_INT WINAPI L_GammaCorrectBitmap(pBITMAPHANDLE bitmap, L_INT gamma) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return GammaCorrect(image, gamma); });
  return Traced(Call("L_GammaCorrectBitmap").Number(gamma), result);
}

IMAGING_API L_INT WINAPI L_InvertBitmap(pBITMAPHANDLE bitmap) {
  const int32_t result = OnPixels(bitmap, [](const PixelImage& image) { return Invert(image); });
  return Traced(Call("L_InvertBitmap"), result);
}

IMAGING_API L_INT WINAPI L_GrayScaleBitmap(pBITMAPHANDLE bitmap, L_INT bitsPerPixel) {
  // The bitmap keeps its depth (the library holds 24 and 32 bits only); its
  // three colours become equal, so an 8-bit save writes the grey levels.
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) -> int32_t {
    if (bitsPerPixel != 8) return kErrorBitsPerPixel;
    return GrayScale(image);
  });
  return Traced(Call("L_GrayScaleBitmap").Number(bitsPerPixel), result);
}

IMAGING_API L_INT WINAPI L_HistoContrastBitmap(pBITMAPHANDLE bitmap, L_INT change) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return HistoContrast(image, change); });
  return Traced(Call("L_HistoContrastBitmap").Number(change), result);
}

IMAGING_API L_INT WINAPI L_HistoEqualizeBitmap(pBITMAPHANDLE bitmap) {
  const int32_t result = OnPixels(bitmap, [](const PixelImage& image) { return HistoEqualize(image); });
  return Traced(Call("L_HistoEqualizeBitmap"), result);
}

IMAGING_API L_INT WINAPI L_StretchBitmapIntensity(pBITMAPHANDLE bitmap) {
  const int32_t result = OnPixels(bitmap, [](const PixelImage& image) { return StretchIntensity(image); });
  return Traced(Call("L_StretchBitmapIntensity"), result);
}

IMAGING_API L_INT WINAPI L_SharpenBitmap(pBITMAPHANDLE bitmap, L_INT change) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Sharpen(image, change); });
  return Traced(Call("L_SharpenBitmap").Number(change), result);
}

IMAGING_API L_INT WINAPI L_SolarizeBitmap(pBITMAPHANDLE bitmap, L_INT threshold) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Solarize(image, threshold); });
  return Traced(Call("L_SolarizeBitmap").Number(threshold), result);
}

IMAGING_API L_INT WINAPI L_PosterizeBitmap(pBITMAPHANDLE bitmap, L_INT levels) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Posterize(image, levels); });
  return Traced(Call("L_PosterizeBitmap").Number(levels), result);
}

IMAGING_API L_INT WINAPI L_MosaicBitmap(pBITMAPHANDLE bitmap, L_INT size) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Mosaic(image, size); });
  return Traced(Call("L_MosaicBitmap").Number(size), result);
}

IMAGING_API L_INT WINAPI L_AverageFilterBitmap(pBITMAPHANDLE bitmap, L_INT size) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return AverageFilter(image, size); });
  return Traced(Call("L_AverageFilterBitmap").Number(size), result);
}

IMAGING_API L_INT WINAPI L_MedianFilterBitmap(pBITMAPHANDLE bitmap, L_INT size) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return MedianFilter(image, size); });
  return Traced(Call("L_MedianFilterBitmap").Number(size), result);
}

IMAGING_API L_INT WINAPI L_EmbossBitmap(pBITMAPHANDLE bitmap, L_INT direction, L_INT depth) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Emboss(image, direction, depth); });
  return Traced(Call("L_EmbossBitmap").Number(direction).Number(depth), result);
}

IMAGING_API L_INT WINAPI L_OilifyBitmap(pBITMAPHANDLE bitmap, L_INT size) {
  const int32_t result = OnPixels(bitmap, [&](const PixelImage& image) { return Oilify(image, size); });
  return Traced(Call("L_OilifyBitmap").Number(size), result);
}

IMAGING_API L_INT WINAPI L_AutoTrimBitmap(pBITMAPHANDLE bitmap, L_INT threshold) {
  const int32_t result = Guarded([&] { return TrimBitmap(bitmap, threshold); });
  return Traced(Call("L_AutoTrimBitmap").Number(threshold), result);
}

IMAGING_API L_INT WINAPI L_UnderlayBitmap(pBITMAPHANDLE bitmap, pBITMAPHANDLE underlay, L_INT flags) {
  const int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap) || !HoldsPixels(underlay)) return kErrorNoBitmap;
    if (flags != UNDERLAY_TILE && flags != UNDERLAY_STRETCH) return kErrorInvalidParameter;
    return Underlay(ViewOf(*bitmap), ViewOf(*underlay),
                    flags == UNDERLAY_TILE ? UnderlayMode::kTile : UnderlayMode::kStretch);
  });
  return Traced(Call("L_UnderlayBitmap").Number(flags), result);
}
