// The picture loader the media browser and the picture browser share: any
// picture file the suite knows turned into a GDI bitmap of a requested size
// (GDI+ or the imaging library by file type, GIFs through the GIF
// converter when the imaging library reads them), with the picture's OBF
// overlay drawn over it or, for list thumbnails, the sidecar's own JPEG
// preview instead; and the helpers that copy such a bitmap into a window or
// device context.  GDI+ must have been started (ImgStartupWhenPresent);
// without it every picture goes to the imaging library.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace suite {

// Loads the picture at `path` into a new bitmap compatible with the screen;
// the caller owns it and deletes it.  0 when nothing could be loaded (a
// missing, damaged or unknown file), with width, height, colours and bits
// per pixel 0.
//  - maxWidth, maxHeight: when both are above 0 the picture is shrunk to fit
//    (proportions kept, never enlarged); otherwise it keeps its size.
//  - width, height: the picture's own size.  colours: in, a value above 0
//    forces the imaging library (and is reset to 0); out, the colour count
//    when the imaging library read it.  bitsPerPixel: the file's depth (8
//    for a converted GIF).  overlayPresent: 1 when the picture has a sidecar.
//  - usePreview 1 (list thumbnails): a picture with an intact sidecar shows
//    the sidecar's JPEG preview, `path` becomes the sidecar's path, and the
//    outputs come from the sidecar's trailer (the picture's real size).  A
//    sidecar whose preview is damaged falls back to the picture itself.
//  - A GIF read by the imaging library leaves `path` naming its conversion
//    file (see ConvertGifForImaging).
// Safe to call from several threads at once.
HBITMAP LoadPictureBitmap(std::string& path, int32_t maxWidth, int32_t maxHeight, int32_t& width,
                          int32_t& height, int32_t& colours, uint8_t& bitsPerPixel,
                          int32_t& overlayPresent, int32_t usePreview);

// For a name ending in ".GIF" (any case): converts the GIF through the GIF
// converter into this thread's conversion file (a BMP the imaging library
// reads), replaces `path` by that file's path and returns -1; the old
// conversion file is deleted first, so a GIF that cannot be converted leaves
// no file behind (and the path still names the conversion file, which a
// load then does not find).  0 for every other name, `path` unchanged.
int32_t ConvertGifForImaging(std::string& path);

// This thread's GIF conversion file (core/picture_loader_rules.h).
std::string GifConversionFilePath();
// Deletes every conversion file of this process: the programs call it when
// they end.
void DeleteGifConversionFiles();

// The DCs for copying `bitmap`: the target DC is `windowOrDc` itself when
// givenIsDc is not 0, else SKGETDC of the window; a memory DC compatible
// with it gets the bitmap selected.  A raster operation of 0 becomes
// SRCCOPY.  -1 when the caller gave a DC, else 0.  dc or memoryDc is null
// when it could not be made.
int32_t BeginMemoryDC(void* windowOrDc, HDC& dc, HBITMAP bitmap, HDC& memoryDc,
                      DWORD& rasterOperation, int32_t givenIsDc);
// Deletes the memory DC and, when the DC came from SKGETDC, gives it back.
void EndMemoryDC(int32_t givenIsDc, HWND window, HDC dc, HDC memoryDc);
// Copies (0, 0, width, height) of the bitmap to (x, y) of the window or DC
// with the raster operation (0: SRCCOPY).  Unless `keep` is set the bitmap
// is deleted afterwards and the caller's handle set to 0.  1 when copied,
// 0 when there was no bitmap or the copy failed.
int32_t BlitMemoryBitmap(void* windowOrDc, HBITMAP& bitmap, int32_t x, int32_t y, int32_t width,
                         int32_t height, DWORD rasterOperation, int32_t keep, int32_t givenIsDc);

}  // namespace suite
