// The colour and filter effects on pixel memory: contrast, intensity, hue,
// saturation, gamma, negative, grey, histogram contrast, equalization and
// stretch, sharpen, solarize, posterize, mosaic, average, median, emboss,
// oilify, the trim rectangle of a uniform border and laying a texture under a
// picture.  Pixels are the 3 or 4-byte B, G, R (A) pixels of pixel_ops.h;
// alpha is left as it is.  Every effect works in place and gives kSuccess,
// or kErrorInvalidParameter (the picture untouched) when a value is out of its
// range; the Win32 side checks the bitmap first.  Neighbourhood filters read
// past the edges as the nearest edge pixel.
#pragma once

#include <cstdint>

#include "pixel_ops.h"

namespace imaging {

// Contrast, -1000 (flat grey) .. 1000 (black and white), around the middle grey 128.
int32_t ChangeContrast(const PixelImage& image, int32_t change);
// Brightness, -1000 (black) .. 1000 (white): each colour moves that many
// thousandths of the way to black or to white.
int32_t ChangeIntensity(const PixelImage& image, int32_t change);
// Turns each colour's hue by `degrees` (-360 .. 360); greys stay.
int32_t ChangeHue(const PixelImage& image, int32_t degrees);
// Saturation, -1000 (grey) .. 1000 (twice as far from the grey of the pixel).
int32_t ChangeSaturation(const PixelImage& image, int32_t change);
// Gamma in hundredths (1 .. 10000; 100 leaves the picture): each colour c
// becomes 255 * (c / 255) ^ (100 / gamma), so a gamma above 100 brightens.
int32_t GammaCorrect(const PixelImage& image, int32_t gamma);
// The negative: 255 - c on every colour.
int32_t Invert(const PixelImage& image);
// Grey: each pixel's three colours become its luminance
// (0.299 R + 0.587 G + 0.114 B, rounded).
int32_t GrayScale(const PixelImage& image);
// Contrast around the picture's mean luminance rather than the middle grey,
// -1000 .. 1000 as ChangeContrast.
int32_t HistoContrast(const PixelImage& image, int32_t change);
// Equalizes each colour's histogram: the darkest level present becomes 0,
// the brightest 255, the levels between spread by how many pixels lie below.
int32_t HistoEqualize(const PixelImage& image);
// Stretches the darkest and brightest colour value of the picture to 0 and
// 255 (the same linear map on every colour, so hues stay).
int32_t StretchIntensity(const PixelImage& image);
// Sharpens (change > 0) or softens (< 0), -1000 .. 1000: each colour moves
// away from (or towards) the mean of its 3 x 3 neighbourhood by change / 1000.
int32_t Sharpen(const PixelImage& image, int32_t change);
// Inverts every colour value above `threshold` (0 .. 255).
int32_t Solarize(const PixelImage& image, int32_t threshold);
// `levels` (2 .. 256) evenly spaced values per colour, each value to the nearest.
int32_t Posterize(const PixelImage& image, int32_t levels);
// Tiles of size x size (0 .. 1000; 0 and 1 leave the picture) from the top
// left, each filled with its mean colour.
int32_t Mosaic(const PixelImage& image, int32_t size);
// The mean of the size x size neighbourhood (0 .. 1000; 0, 1 leave it).
int32_t AverageFilter(const PixelImage& image, int32_t size);
// The median of each colour in the size x size neighbourhood (0 .. 1000).
int32_t MedianFilter(const PixelImage& image, int32_t size);
// The most frequent value of each colour in the size x size neighbourhood
// (0 .. 1000; ties take the darker value).
int32_t Oilify(const PixelImage& image, int32_t size);
// Relief lit from `direction` (0 north, then clockwise in eighths: 1 north-east,
// 2 east ... 7 north-west), depth 0 .. 1000: each colour becomes
// 128 + (the neighbour towards the light - the neighbour away from it)
// x depth / 250.  Opposite directions give mirror images around 128.
int32_t Emboss(const PixelImage& image, int32_t direction, int32_t depth);

// The rectangle left when border rows and columns whose every colour lies
// within `threshold` (0 .. 255) of the top-left pixel's are cut away.  A
// picture that is all border keeps one pixel.
struct TrimRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};
int32_t TrimRectangle(const PixelImage& image, int32_t threshold, TrimRect* rect);

// How a texture is laid under a picture.
enum class UnderlayMode { kTile, kStretch };
// Lays `texture` under `picture`: each colour c becomes
// MIN(255, round(c x L / 128)), L being the texture's luminance at that point,
// so a middle-grey texture leaves the picture and lighter or darker places
// lighten or darken it.  The texture is repeated from the top left (kTile) or
// stretched to the picture's size, nearest pixel (kStretch).
int32_t Underlay(const PixelImage& picture, const PixelImage& texture, UnderlayMode mode);

}  // namespace imaging
