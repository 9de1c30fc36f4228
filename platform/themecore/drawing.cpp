// The drawing exports: filling, copying with a key colour left out, double
// buffering, the per-window memory bitmaps, regions from bitmaps and the
// deletion of GDI objects; and the small drawing helpers the engine's
// windows share.
//
// Key colours: SKTRANSBLT and SKBMPTORGN take a COLORREF; -1 stands for the
// colour of the bottom-left pixel (of the source rectangle, of the bitmap),
// the corner the skins keep in their background.  SKTRANSBLT's source is a
// device context or a bitmap (an image of the skin); after SKTRANSBLTUSEDC
// the next call takes only a device context, as callers that draw from
// memory bitmaps ask for.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine_state.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
constexpr int32_t kCornerKey = -1;
// ExtCreateRegion is given the rectangles in parts of this many, which every
// Windows version takes.
constexpr size_t kRectsPerPart = 2000;

struct MemoryBitmap {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};

struct MemoryBitmaps {
  std::mutex lock;
  std::map<HWND, MemoryBitmap> byWindow;
};

MemoryBitmaps& TheMemoryBitmaps() {
  static MemoryBitmaps table;
  return table;
}

void Free(const MemoryBitmap& memory) {
  SelectObject(memory.dc, memory.previous);
  DeleteObject(memory.bitmap);
  DeleteDC(memory.dc);
}

// One double buffer at a time per thread: painting code begins and ends it
// within one WM_PAINT.
struct Offscreen {
  HDC target = nullptr;
  MemoryBitmap buffer;
  int width = 0;
  int height = 0;
};

thread_local Offscreen offscreen;

bool CreateMemoryBitmap(HDC reference, int width, int height, MemoryBitmap* memory) {
  memory->dc = CreateCompatibleDC(reference);
  memory->bitmap = CreateCompatibleBitmap(reference, width, height);
  if (memory->dc == nullptr || memory->bitmap == nullptr) {
    if (memory->dc != nullptr) DeleteDC(memory->dc);
    if (memory->bitmap != nullptr) DeleteObject(memory->bitmap);
    *memory = MemoryBitmap{};
    return false;
  }
  memory->previous = SelectObject(memory->dc, memory->bitmap);
  return true;
}

HDC BeginOffscreen(HDC target, int width, int height) {
  if (offscreen.target != nullptr) return nullptr;  // already buffering: refused
  if (target == nullptr || width <= 0 || height <= 0) return nullptr;
  MemoryBitmap buffer;
  if (!CreateMemoryBitmap(target, width, height, &buffer)) return nullptr;
  // The buffer starts as the target shows now, with its font, so partial
  // drawing and text look as they would have on the target.
  BitBlt(buffer.dc, 0, 0, width, height, target, 0, 0, SRCCOPY);
  SelectObject(buffer.dc, GetCurrentObject(target, OBJ_FONT));
  offscreen = {target, buffer, width, height};
  return buffer.dc;
}

HDC EndOffscreen() {
  if (offscreen.target == nullptr) return nullptr;
  const Offscreen done = offscreen;
  offscreen = Offscreen{};
  BitBlt(done.target, 0, 0, done.width, done.height, done.buffer.dc, 0, 0, SRCCOPY);
  Free(done.buffer);
  return done.target;
}

// 0x00RRGGBB, as a 32-bit DIB holds a pixel.
uint32_t DibPixelOf(COLORREF colour) {
  return (static_cast<uint32_t>(GetRValue(colour)) << 16) |
         (static_cast<uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

HRGN RegionOfRects(const std::vector<RECT>& rects, size_t first, size_t count) {
  std::vector<char> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
  auto* region = reinterpret_cast<RGNDATA*>(data.data());
  region->rdh.dwSize = sizeof(RGNDATAHEADER);
  region->rdh.iType = RDH_RECTANGLES;
  region->rdh.nCount = static_cast<DWORD>(count);
  region->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  RECT bounds = rects[first];
  for (size_t i = first; i < first + count; ++i) UnionRect(&bounds, &bounds, &rects[i]);
  region->rdh.rcBound = bounds;
  memcpy(region->Buffer, &rects[first], count * sizeof(RECT));
  return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
}

HRGN RegionOfBitmap(HBITMAP bitmap, int32_t keyColour) {
  int width = 0;
  int height = 0;
  if (!BitmapSize(bitmap, &width, &height) || width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return nullptr;

  auto at = [&](int x, int y) {
    return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] &
           0x00FFFFFFu;
  };
  const uint32_t key = keyColour == kCornerKey ? at(0, height - 1)
                                               : DibPixelOf(static_cast<COLORREF>(keyColour));
  std::vector<RECT> runs;
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      while (x < width && at(x, y) == key) ++x;
      const int start = x;
      while (x < width && at(x, y) != key) ++x;
      if (x > start) runs.push_back({start, y, x, y + 1});
    }
  }
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (region == nullptr) return nullptr;
  for (size_t first = 0; first < runs.size(); first += kRectsPerPart) {
    const size_t count = std::min(kRectsPerPart, runs.size() - first);
    HRGN part = RegionOfRects(runs, first, count);
    if (part == nullptr) {
      DeleteObject(region);
      return nullptr;
    }
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  return region;
}

bool DeleteGdiObject(HGDIOBJ* object) {
  if (object == nullptr) return false;
  HGDIOBJ handle = *object;
  *object = nullptr;
  if (handle == nullptr) return false;
  switch (GetObjectType(handle)) {
    case OBJ_MEMDC:
      return DeleteDC(static_cast<HDC>(handle)) != FALSE;
    case 0:
    case OBJ_DC:
      return false;  // not an object, or a window's DC (ReleaseDC's)
    default:
      return DeleteObject(handle) != FALSE;
  }
}

}  // namespace

bool CreateWindowBitmap(HWND window, int width, int height) {
  if (width <= 0 || height <= 0) return false;
  HDC reference = GetDC(window);
  if (reference == nullptr) return false;
  MemoryBitmap memory;
  const bool created = CreateMemoryBitmap(reference, width, height, &memory);
  ReleaseDC(window, reference);
  if (!created) return false;
  RECT all = {0, 0, width, height};
  FillSolid(memory.dc, all, SkinColour(colour::kBoxBack));
  MemoryBitmaps& table = TheMemoryBitmaps();
  std::lock_guard<std::mutex> guard(table.lock);
  auto existing = table.byWindow.find(window);
  if (existing != table.byWindow.end()) Free(existing->second);
  table.byWindow[window] = memory;
  return true;
}

HDC WindowBitmapDc(HWND window) {
  MemoryBitmaps& table = TheMemoryBitmaps();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.byWindow.find(window);
  return found != table.byWindow.end() ? found->second.dc : nullptr;
}

bool DeleteWindowBitmap(HWND window) {
  MemoryBitmaps& table = TheMemoryBitmaps();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.byWindow.find(window);
  if (found == table.byWindow.end()) return false;
  Free(found->second);
  table.byWindow.erase(found);
  return true;
}

bool WindowBitmapSize(HWND window, int* width, int* height) {
  *width = 0;
  *height = 0;
  MemoryBitmaps& table = TheMemoryBitmaps();
  std::lock_guard<std::mutex> guard(table.lock);
  auto found = table.byWindow.find(window);
  if (found == table.byWindow.end()) return false;
  return BitmapSize(found->second.bitmap, width, height);
}

HRGN BitmapRegion(HBITMAP bitmap, int32_t keyColour) { return RegionOfBitmap(bitmap, keyColour); }

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  const COLORREF old = SetBkColor(dc, colour);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
  SetBkColor(dc, old);
}

void DrawEdgeLines(HDC dc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  FillSolid(dc, {rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
  FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
  FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
  FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
}

HBRUSH CachedBrush(COLORREF colour) {
  static std::mutex lock;
  static std::map<COLORREF, HBRUSH> brushes;
  std::lock_guard<std::mutex> guard(lock);
  HBRUSH& brush = brushes[colour];
  if (brush == nullptr) brush = CreateSolidBrush(colour);
  return brush;
}

bool TransparentCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, COLORREF key) {
  if (target == nullptr || source == nullptr || width <= 0 || height <= 0) return false;
  // Mask: 1 where the source shows the key colour (a colour-to-monochrome
  // copy turns the source's background colour into 1s).
  HDC maskDc = CreateCompatibleDC(target);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  MemoryBitmap work;
  const bool ready = maskDc != nullptr && mask != nullptr &&
                     CreateMemoryBitmap(target, width, height, &work);
  if (!ready) {
    if (maskDc != nullptr) DeleteDC(maskDc);
    if (mask != nullptr) DeleteObject(mask);
    return false;
  }
  HGDIOBJ oldMask = SelectObject(maskDc, mask);
  const COLORREF oldSourceBack = SetBkColor(source, key);
  BitBlt(maskDc, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
  SetBkColor(source, oldSourceBack);

  // The work copy gets target ^ source, & mask (monochrome 1 = white keeps,
  // 0 = black clears), ^ source: the target where the key was, the source
  // elsewhere.  Done off screen, then copied in one go.
  SetTextColor(work.dc, RGB(0, 0, 0));
  SetBkColor(work.dc, RGB(255, 255, 255));
  BitBlt(work.dc, 0, 0, width, height, target, x, y, SRCCOPY);
  BitBlt(work.dc, 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
  BitBlt(work.dc, 0, 0, width, height, maskDc, 0, 0, SRCAND);
  BitBlt(work.dc, 0, 0, width, height, source, sourceX, sourceY, SRCINVERT);
  const bool copied = BitBlt(target, x, y, width, height, work.dc, 0, 0, SRCCOPY) != FALSE;

  Free(work);
  SelectObject(maskDc, oldMask);
  DeleteObject(mask);
  DeleteDC(maskDc);
  return copied;
}

bool BitmapSize(HBITMAP bitmap, int* width, int* height) {
  BITMAP info = {};
  if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) != sizeof(info)) return false;
  *width = info.bmWidth;
  *height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  return true;
}

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API int32_t __stdcall SKFILLRECT(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, int32_t colour) {
  try {
    int32_t result = 0;
    if (dc != nullptr && width > 0 && height > 0) {
      themecore::FillSolid(dc, {x, y, x + width, y + height}, static_cast<COLORREF>(colour));
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFILLRECT")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Number(colour),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

namespace themecore {
namespace {

// SKTRANSBLTUSEDC: the next SKTRANSBLT must be given a device context.
thread_local bool nextSourceIsDc = false;

// A source that is a bitmap rather than a device context is selected into
// a memory DC of its own for the copy.
class SourceDc {
 public:
  SourceDc(HDC target, HGDIOBJ source, bool mustBeDc) {
    const DWORD type = source != nullptr ? GetObjectType(source) : 0;
    if (type == OBJ_DC || type == OBJ_MEMDC) {
      dc_ = static_cast<HDC>(source);
    } else if (type == OBJ_BITMAP && !mustBeDc) {
      own_ = CreateCompatibleDC(target);
      if (own_ != nullptr) {
        previous_ = SelectObject(own_, source);
        if (previous_ != nullptr) dc_ = own_;
      }
    }
  }
  ~SourceDc() {
    if (own_ == nullptr) return;
    if (previous_ != nullptr) SelectObject(own_, previous_);
    DeleteDC(own_);
  }
  SourceDc(const SourceDc&) = delete;
  SourceDc& operator=(const SourceDc&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HDC own_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace
}  // namespace themecore

THEMECORE_API int32_t __stdcall SKTRANSBLTUSEDC() {
  try {
    themecore::nextSourceIsDc = true;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKTRANSBLTUSEDC"), 1);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKTRANSBLT(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, HDC source, int32_t sourceX,
                                           int32_t sourceY, int32_t keyColour) {
  try {
    const bool mustBeDc = themecore::nextSourceIsDc;
    themecore::nextSourceIsDc = false;
    int32_t result = 0;
    if (dc != nullptr && source != nullptr && width > 0 && height > 0) {
      themecore::SourceDc from(dc, source, mustBeDc);
      if (from.dc() != nullptr) {
        const COLORREF key = keyColour == themecore::kCornerKey
                                 ? GetPixel(from.dc(), sourceX, sourceY + height - 1)
                                 : static_cast<COLORREF>(keyColour);
        result = themecore::TransparentCopy(dc, x, y, width, height, from.dc(), sourceX, sourceY,
                                            key)
                     ? 1
                     : 0;
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKTRANSBLT")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(HandleText(source))
                            .Number(sourceX)
                            .Number(sourceY)
                            .Number(keyColour),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKHORZTILE(HDC dc, int32_t x, int32_t y, int32_t width,
                                           int32_t height, HBITMAP image) {
  try {
    int32_t result = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    if (dc != nullptr && width > 0 && height > 0 &&
        themecore::BitmapSize(image, &tileWidth, &tileHeight) && tileWidth > 0) {
      result = themecore::TileBitmap(dc, x, y, width, std::min(height, tileHeight), image) ? 1 : 0;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKHORZTILE")
                            .Raw(HandleText(dc))
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height)
                            .Raw(HandleText(image)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HDC __stdcall SKOFFSCREEN(HDC dc, int32_t width, int32_t height, int32_t begin) {
  try {
    HDC result = begin != 0 ? themecore::BeginOffscreen(dc, width, height) : themecore::EndOffscreen();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKOFFSCREEN")
                            .Raw(HandleText(dc))
                            .Number(width)
                            .Number(height)
                            .Number(begin),
                        HandleText(result));
    return result;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKCREATEMEMBMP(HWND window, int32_t width, int32_t height) {
  try {
    const int32_t result = themecore::CreateWindowBitmap(window, width, height) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCREATEMEMBMP")
                            .Raw(HandleText(window))
                            .Number(width)
                            .Number(height),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HDC __stdcall SKGETHDCMEMBMP(HWND window) {
  try {
    HDC dc = themecore::WindowBitmapDc(window);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETHDCMEMBMP").Raw(HandleText(window)),
                        HandleText(dc));
    return dc;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKDELETEMEMBMP(HWND window) {
  try {
    const int32_t result = themecore::DeleteWindowBitmap(window) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDELETEMEMBMP").Raw(HandleText(window)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETWIDTHMEMBMP(HWND window) {
  try {
    int width = 0;
    int height = 0;
    themecore::WindowBitmapSize(window, &width, &height);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETWIDTHMEMBMP").Raw(HandleText(window)),
                        width);
    return width;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETHEIGHTMEMBMP(HWND window) {
  try {
    int width = 0;
    int height = 0;
    themecore::WindowBitmapSize(window, &width, &height);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETHEIGHTMEMBMP").Raw(HandleText(window)),
                        height);
    return height;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HRGN __stdcall SKBMPTORGN(HBITMAP bitmap, int32_t keyColour) {
  try {
    HRGN region = themecore::RegionOfBitmap(bitmap, keyColour);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKBMPTORGN").Raw(HandleText(bitmap)).Number(keyColour),
        HandleText(region));
    return region;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKDELETEOBJECT(HGDIOBJ* object) {
  try {
    const void* handle = object != nullptr ? *object : nullptr;
    const int32_t result = themecore::DeleteGdiObject(object) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDELETEOBJECT")
                            .Raw(object != nullptr ? HandleText(handle) : std::string("NULL")),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

namespace {

// Draws one line of text with a transparent background; the caller's colour
// and font are restored.
void TextAt(HDC dc, const char* text, int32_t x, int32_t y, COLORREF colour, HFONT font) {
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = SetTextColor(dc, colour);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
}

}  // namespace

THEMECORE_API int32_t __stdcall SKPRINT(HDC dc, const char* text, int32_t x, int32_t y,
                                        int32_t textColour, int32_t backColour, HFONT font) {
  try {
    int32_t result = 0;
    if (dc != nullptr && text != nullptr) {
      HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
      // A back colour of -1 leaves the background as it is: outlined
      // captions are printed several times over a picture.
      int oldMode = SetBkMode(dc, backColour == -1 ? TRANSPARENT : OPAQUE);
      COLORREF oldBack = SetBkColor(dc, static_cast<COLORREF>(backColour == -1 ? 0 : backColour));
      COLORREF oldColour = SetTextColor(dc, static_cast<COLORREF>(textColour));
      result = TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text))) ? 1 : 0;
      SetTextColor(dc, oldColour);
      SetBkColor(dc, oldBack);
      SetBkMode(dc, oldMode);
      if (oldFont != nullptr) SelectObject(dc, oldFont);
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKPRINT")
                            .Raw(HandleText(dc))
                            .Text(text)
                            .Number(x)
                            .Number(y)
                            .Number(textColour)
                            .Number(backColour)
                            .Raw(HandleText(font)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKPRINT3DU(HDC dc, const char* text, int32_t x, int32_t y,
                                           int32_t textColour, int32_t lightColour, HFONT font,
                                           int32_t transparent) {
  try {
    int32_t result = 0;
    if (dc != nullptr && text != nullptr) {
      // The light copy one pixel below and to the right makes the text
      // look raised off the background.
      TextAt(dc, text, x + 1, y + 1, static_cast<COLORREF>(lightColour), font);
      TextAt(dc, text, x, y, static_cast<COLORREF>(textColour), font);
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKPRINT3DU")
                            .Raw(HandleText(dc))
                            .Text(text)
                            .Number(x)
                            .Number(y)
                            .Number(textColour)
                            .Number(lightColour)
                            .Raw(HandleText(font))
                            .Number(transparent),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
