// The overlay renderer: draws the text and shape objects of a picture's OBF
// sidecar over the picture a caller has already painted into a device
// context in which one unit is one picture pixel.  All drawing is GDI+ with
// anti-aliasing; GDI+ must have been started (suite::ImgStartup).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/overlay_plan.h"
#include "gdiplus_api.h"

namespace overlay {

// Reads the sidecar of the picture and draws its shown objects in file
// order (bottom-most first).  Silent: a missing or damaged sidecar draws
// nothing.  The media browser and the picture browser pass
// kOlderCurveTension.
void ObfLoadOverlay(HDC dc, const std::string& picturePath, float curveTension = kCurveTension);

// Draws one text in (x, y, width, height) with the colour, rendering hint
// and font, with a string format of the flags when they are not 0; when
// `shadow` is not 0, first a black alpha-128 copy at (x + d, y + |d|),
// unwrapped and unclipped.  The status of the text's own drawing; -1 for a
// null DC.
int32_t ObfDrawText(HDC dc, const std::string& text, int32_t x, int32_t y, int32_t width,
                    int32_t height, uint32_t argb, int32_t renderingHint, Gdiplus::GpFont* font,
                    int32_t shadow, int32_t formatFlags);

// Draws one shape: `count` points packed as signed 16-bit (x, y) pairs
// relative to (x, y); `word` is kind | style << 16.  The status of the last
// drawing call; -1 for a null DC, no points, or nothing to draw.
int32_t ObfDrawShape(HDC dc, int32_t x, int32_t y, int32_t count, const int16_t* points,
                     uint32_t argb, int32_t shadow, int32_t penWidth, uint32_t word,
                     float curveTension = kCurveTension);

}  // namespace overlay
