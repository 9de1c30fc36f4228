// The pixels behind a BITMAPHANDLE: a top-down DIB section of 24 or 32 bits
// a pixel, made, checked, viewed as core pixels and released here.
#pragma once

#include <windows.h>

#include <cstdint>

#include "imaging.h"
#include "pixel_ops.h"

namespace imaging {

// Fills `bitmap` with a new black DIB section of width x height; the
// record's earlier content is overwritten, not released.  kSuccess or an
// error code (the record then holds no pixels).
int32_t AllocateBitmap(BITMAPHANDLE* bitmap, int64_t width, int64_t height, int32_t bitsPerPixel);

// True when `bitmap` holds pixels made by this library and its fields still
// describe them (a record changed by hand is refused, not trusted).
bool HoldsPixels(const BITMAPHANDLE* bitmap);

// The pixels for the core operations.  Flushes GDI first, so drawing done
// through a DC of the bitmap has landed.
PixelImage ViewOf(const BITMAPHANDLE& bitmap);

// Deletes the DIB section and clears the record (uStructSize stays).
void ReleasePixels(BITMAPHANDLE* bitmap);

// Gives `bitmap` the pixels of `replacement` (releasing its own); the
// resolution of `bitmap` is kept.  `replacement` is cleared.
void ReplacePixels(BITMAPHANDLE* bitmap, BITMAPHANDLE* replacement);

// Puts the bitmap on the clipboard as a CF_DIB, emptying it first
// (painting.cpp).  kSuccess, kErrorNoMemory or kErrorClipboard.
int32_t PlaceOnClipboard(HWND owner, const BITMAPHANDLE& bitmap);

}  // namespace imaging
