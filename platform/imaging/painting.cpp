// The painting exports: L_PaintDC, L_PrintBitmapExt, L_CreatePaintPalette,
// the bitmap's own DC (L_CreateLeadDC, L_DeleteLeadDC), L_ConvertToDDB and
// the clipboard.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "bitmap_store.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"

using namespace imaging;

namespace {

BITMAPINFO TopDownInfo(const BITMAPHANDLE& bitmap) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.Width;
  info.bmiHeader.biHeight = -bitmap.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bitmap.BitsPerPixel);
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

int32_t Paint(HDC dc, BITMAPHANDLE* bitmap, const RECT* source, const RECT* clip, const RECT* destination,
              DWORD rop) {
  if (dc == nullptr) return kErrorInvalidParameter;
  if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
  const RECT whole{0, 0, bitmap->Width, bitmap->Height};
  const RECT from = source != nullptr ? *source : whole;
  const RECT to = destination != nullptr ? *destination : whole;
  if (from.right <= from.left || from.bottom <= from.top || from.left < 0 || from.top < 0 ||
      from.right > bitmap->Width || from.bottom > bitmap->Height)
    return kErrorInvalidParameter;
  GdiFlush();
  const int saved = SaveDC(dc);
  if (clip != nullptr) IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
  SetStretchBltMode(dc, COLORONCOLOR);
  // StretchDIBits counts the source rectangle from the bottom row of the
  // picture even for a top-down DIB, so the top of `from` is turned round.
  BITMAPINFO info = TopDownInfo(*bitmap);
  const int sourceY = bitmap->Height - from.bottom;
  int lines = StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, from.left, sourceY,
                            from.right - from.left, from.bottom - from.top, bitmap->Data, &info, DIB_RGB_COLORS,
                            rop);
  RestoreDC(dc, saved);
  return lines == 0 || lines == static_cast<int>(GDI_ERROR) ? kErrorInvalidParameter : kSuccess;
}

// Printers get the whole bitmap stretched with HALFTONE, which averages
// rather than drops pixels when a page is coarser than the picture.
int32_t Print(HDC dc, BITMAPHANDLE* bitmap, L_INT x, L_INT y, L_INT width, L_INT height) {
  if (dc == nullptr || width < 0 || height < 0) return kErrorInvalidParameter;
  if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
  if (width == 0) width = bitmap->Width;
  if (height == 0) height = bitmap->Height;
  GdiFlush();
  const int saved = SaveDC(dc);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  BITMAPINFO info = TopDownInfo(*bitmap);
  int lines = StretchDIBits(dc, x, y, width, height, 0, 0, bitmap->Width, bitmap->Height, bitmap->Data, &info,
                            DIB_RGB_COLORS, SRCCOPY);
  RestoreDC(dc, saved);
  return lines == 0 || lines == static_cast<int>(GDI_ERROR) ? kErrorInvalidParameter : kSuccess;
}

// A 24-bit bitmap of the picture a DDB holds.
int32_t FromDdb(HBITMAP ddb, BITMAPHANDLE* bitmap) {
  BITMAP description{};
  if (ddb == nullptr || GetObjectA(ddb, sizeof(description), &description) == 0) return kErrorClipboard;
  BITMAPHANDLE made{};
  int32_t result = AllocateBitmap(&made, description.bmWidth, std::abs(description.bmHeight), 24);
  if (result != kSuccess) return result;
  BITMAPINFO info = TopDownInfo(made);
  HDC screen = GetDC(nullptr);
  int lines = GetDIBits(screen, ddb, 0, static_cast<UINT>(made.Height), made.Data, &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (lines != made.Height) {
    ReleasePixels(&made);
    return kErrorClipboard;
  }
  *bitmap = made;
  return kSuccess;
}

// CF_DIB of the bitmap: a bottom-up 24- or 32-bit DIB in movable memory.
HGLOBAL PackedDib(const BITMAPHANDLE& bitmap) {
  const size_t imageBytes = static_cast<size_t>(bitmap.BytesPerLine) * bitmap.Height;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + imageBytes);
  if (block == nullptr) return nullptr;
  auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  BITMAPINFOHEADER header = TopDownInfo(bitmap).bmiHeader;
  header.biHeight = bitmap.Height;
  header.biSizeImage = static_cast<DWORD>(imageBytes);
  std::memcpy(bytes, &header, sizeof(header));
  GdiFlush();
  for (int32_t y = 0; y < bitmap.Height; ++y)
    std::memcpy(bytes + sizeof(header) + static_cast<size_t>(bitmap.Height - 1 - y) * bitmap.BytesPerLine,
                bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine, bitmap.BytesPerLine);
  GlobalUnlock(block);
  return block;
}

}  // namespace

int32_t imaging::PlaceOnClipboard(HWND owner, const BITMAPHANDLE& bitmap) {
  HGLOBAL block = PackedDib(bitmap);
  if (block == nullptr) return kErrorNoMemory;
  if (!OpenClipboard(owner)) {
    GlobalFree(block);
    return kErrorClipboard;
  }
  EmptyClipboard();
  bool placed = SetClipboardData(CF_DIB, block) != nullptr;
  CloseClipboard();
  if (!placed) {
    GlobalFree(block);
    return kErrorClipboard;
  }
  return kSuccess;
}

IMAGING_API L_INT WINAPI L_PaintDC(HDC dc, pBITMAPHANDLE bitmap, const RECT* source, const RECT* clip,
                                   const RECT* destination, DWORD rop) {
  int32_t result = Guarded([&] { return Paint(dc, bitmap, source, clip, destination, rop); });
  return Traced(Call("L_PaintDC").Number(rop), result);
}

IMAGING_API L_INT WINAPI L_PrintBitmapExt(HDC dc, pBITMAPHANDLE bitmap, L_INT x, L_INT y, L_INT width,
                                          L_INT height, L_UINT flags) {
  int32_t result = Guarded([&] { return Print(dc, bitmap, x, y, width, height); });
  return Traced(Call("L_PrintBitmapExt").Number(x).Number(y).Number(width).Number(height).Number(flags), result);
}

IMAGING_API HPALETTE WINAPI L_CreatePaintPalette(HDC dc, pBITMAPHANDLE bitmap) {
  HPALETTE palette = nullptr;
  if (dc != nullptr && HoldsPixels(bitmap) && (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) != 0)
    palette = CreateHalftonePalette(dc);
  Traced(Call("L_CreatePaintPalette"), palette != nullptr ? 1 : 0);
  return palette;
}

IMAGING_API HDC WINAPI L_CreateLeadDC(pBITMAPHANDLE bitmap) {
  HDC dc = nullptr;
  if (HoldsPixels(bitmap)) {
    dc = CreateCompatibleDC(nullptr);
    if (dc != nullptr && SelectObject(dc, bitmap->hDIB) == nullptr) {
      DeleteDC(dc);
      dc = nullptr;
    }
  }
  Traced(Call("L_CreateLeadDC"), dc != nullptr ? 1 : 0);
  return dc;
}

IMAGING_API BOOL WINAPI L_DeleteLeadDC(HDC dc) {
  BOOL deleted = dc != nullptr && DeleteDC(dc);
  Traced(Call("L_DeleteLeadDC"), deleted ? 1 : 0);
  return deleted;
}

IMAGING_API HBITMAP WINAPI L_ConvertToDDB(HDC dc, pBITMAPHANDLE bitmap) {
  HBITMAP ddb = nullptr;
  if (dc != nullptr && HoldsPixels(bitmap)) {
    GdiFlush();
    BITMAPINFO info = TopDownInfo(*bitmap);
    ddb = CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, bitmap->Data, &info, DIB_RGB_COLORS);
  }
  Traced(Call("L_ConvertToDDB"), ddb != nullptr ? 1 : 0);
  return ddb;
}

IMAGING_API L_INT WINAPI L_ClipboardReady(void) {
  int32_t ready = IsClipboardFormatAvailable(CF_DIB) || IsClipboardFormatAvailable(CF_BITMAP) ? 1 : 0;
  return Traced(Call("L_ClipboardReady"), ready);
}

IMAGING_API L_INT WINAPI L_CopyToClipboard(HWND owner, pBITMAPHANDLE bitmap, L_UINT flags) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    return PlaceOnClipboard(owner, *bitmap);
  });
  return Traced(Call("L_CopyToClipboard").Number(flags), result);
}

IMAGING_API L_INT WINAPI L_CopyFromClipboard(HWND owner, pBITMAPHANDLE bitmap, L_UINT flags) {
  int32_t result = Guarded([&]() -> int32_t {
    if (bitmap == nullptr) return kErrorInvalidParameter;
    if (!OpenClipboard(owner)) return kErrorClipboard;
    // Windows makes CF_BITMAP of a CF_DIB and reads the DIB's headers itself.
    int32_t made = FromDdb(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), bitmap);
    CloseClipboard();
    return made;
  });
  return Traced(Call("L_CopyFromClipboard").Number(flags), result);
}
