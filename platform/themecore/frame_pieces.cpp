// The pieces of the skinned frame for a caller that draws a window's frame
// itself (the skinning library): the caption images, the window's shape,
// its border, and the engine's record of such windows (SKSETNEWFRAME,
// SKGETHANDLE).  The engine's own frame of main windows is frame.cpp; both
// draw in the skin's colours and sizes.
//
// Caption images come from the skin ("captionl", "captionm", "captionr",
// "cpopupr", "captionled" under [images]).  Without them the engine makes
// the left, middle and right pieces in the caption colour (107), one
// caption band (size 1) high (the left one wide enough for the window's
// icon, the right one for the three caption buttons), the outer pieces with their top corner rounded off in the key colour FF00FF; the built-in skin has no tool
// caption piece and no LED.  The window's shape leaves out what the caption
// pieces leave out, so the rounded corners are cut from the window.
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine_state.h"
#include "themecore.h"
#include "themecore_frame.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kCallerFrameProp[] = "themecore.callerframe";
constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr int kPieceWidth = 8;
constexpr int kIconSide = 16;
constexpr int kCaptionButtons = 3;  // close, maximize or restore, minimize

enum class Piece { kLeft, kMiddle, kRight };

struct MadePieces {
  std::mutex lock;
  std::map<int, HBITMAP> byPiece;  // made once; the engine owns them
};

MadePieces& Made() {
  static MadePieces made;
  return made;
}

HBITMAP MakePiece(Piece piece) {
  const int height = std::max(1, FrameMetric(metric::kCaptionHeight));
  // The left piece holds the window's icon and the right one the row of
  // caption buttons: the middle piece, the title and the LED lie between.
  int width = kPieceWidth;
  if (piece == Piece::kLeft) width = std::max(kPieceWidth, FrameMetric(metric::kIconX) + kIconSide + 4);
  if (piece == Piece::kRight) {
    width = std::max(kPieceWidth, FrameMetric(metric::kCaptionButtonsRight) +
                                      kCaptionButtons * (FrameMetric(metric::kCaptionButtonWidth) + 1) + 4);
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP image = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (dc == nullptr || image == nullptr) {
    if (dc != nullptr) DeleteDC(dc);
    if (image != nullptr) DeleteObject(image);
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, image);
  RECT all = {0, 0, width, height};
  FillSolid(dc, all, SkinColour(colour::kCaptionBack));
  // A light line along the top edge.
  FillSolid(dc, {0, 0, width, 1}, SkinColour(colour::kLight));
  if (piece != Piece::kMiddle) {
    // The outer top corner, rounded: three pixels of the first row, two of
    // the second and one of the third are left out.
    for (int row = 0; row < 3; ++row) {
      const int cut = 3 - row;
      const int left = piece == Piece::kLeft ? 0 : width - cut;
      FillSolid(dc, {left, row, left + cut, row + 1}, kKey);
    }
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return image;
}

HBITMAP CaptionPiece(const char* skinName, Piece piece) {
  if (HBITMAP image = SkinBitmap(skinName)) return image;
  MadePieces& made = Made();
  std::lock_guard<std::mutex> guard(made.lock);
  HBITMAP& image = made.byPiece[static_cast<int>(piece)];
  if (image == nullptr) image = MakePiece(piece);
  return image;
}

HBITMAP LeftPiece() { return CaptionPiece("captionl", Piece::kLeft); }
HBITMAP MiddlePiece() { return CaptionPiece("captionm", Piece::kMiddle); }
HBITMAP RightPiece() { return CaptionPiece("captionr", Piece::kRight); }

// SKUSETOOLCAPTION: the next shape is a tool caption's.
thread_local bool nextShapeIsTool = false;

// Takes out of `shape` what a caption piece at (x, 0) leaves out.
void CutPiece(HRGN shape, HBITMAP piece, int x) {
  int width = 0;
  int height = 0;
  if (!BitmapSize(piece, &width, &height)) return;
  HRGN kept = BitmapRegion(piece, static_cast<int32_t>(kKey));
  if (kept == nullptr) return;
  HRGN cut = CreateRectRgn(0, 0, width, height);
  CombineRgn(cut, cut, kept, RGN_DIFF);
  OffsetRgn(cut, x, 0);
  CombineRgn(shape, shape, cut, RGN_DIFF);
  DeleteObject(cut);
  DeleteObject(kept);
}

// The window's shape for its size: its rectangle less the key pixels of
// the left and right caption pieces.
HRGN FrameShape(int width, int height, bool isTool) {
  if (width <= 0 || height <= 0) return nullptr;
  HRGN shape = CreateRectRgn(0, 0, width, height);
  if (shape == nullptr) return nullptr;
  CutPiece(shape, LeftPiece(), 0);
  HBITMAP right = RightPiece();
  if (isTool) {
    if (HBITMAP tool = SkinBitmap("cpopupr")) right = tool;
  }
  int rightWidth = 0;
  int rightHeight = 0;
  if (BitmapSize(right, &rightWidth, &rightHeight)) CutPiece(shape, right, width - rightWidth);
  return shape;
}

bool TakeToolFlag() {
  const bool isTool = nextShapeIsTool;
  nextShapeIsTool = false;
  return isTool;
}

// The windows given to SKSETNEWFRAME, oldest first.
struct CallerFrames {
  std::mutex lock;
  std::vector<HWND> windows;
};

CallerFrames& Frames() {
  static CallerFrames frames;
  return frames;
}

bool DrawBorder(HWND window, HDC dc) {
  RECT rect;
  if (dc == nullptr || !GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const int top = FrameMetric(metric::kCaptionHeight);
  const int left = FrameMetric(metric::kFrameLeft);
  const int right = FrameMetric(metric::kFrameRight);
  const int bottom = FrameMetric(metric::kFrameBottom);
  const COLORREF face = SkinColour(colour::kWindowFace);
  const COLORREF light = SkinColour(colour::kLight);
  const COLORREF shadow = SkinColour(colour::kShadow);
  // Whatever lies between the caption band and the client area besides
  // the bands (a caller's frame may keep the client a little further in).
  RECT client = {};
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  OffsetRect(&client, origin.x - rect.left, origin.y - rect.top);
  HRGN rest = CreateRectRgn(0, top, width, height);
  HRGN inside = CreateRectRgnIndirect(&client);
  if (rest != nullptr && inside != nullptr && CombineRgn(rest, rest, inside, RGN_DIFF) != ERROR) {
    FillRgn(dc, rest, CachedBrush(face));
  }
  if (inside != nullptr) DeleteObject(inside);
  if (rest != nullptr) DeleteObject(rest);
  FillSolid(dc, {0, top, left, height}, face);
  FillSolid(dc, {width - right, top, width, height}, face);
  FillSolid(dc, {0, height - bottom, width, height}, face);
  // The outline on the border's outer edges.
  if (left > 0) FillSolid(dc, {0, top, 1, height - 1}, light);
  if (right > 0) FillSolid(dc, {width - 1, top, width, height}, shadow);
  if (bottom > 0) FillSolid(dc, {0, height - 1, width, height}, shadow);
  return true;
}

}  // namespace

bool IsCallerFramed(HWND window) {
  return window != nullptr && GetPropA(window, kCallerFrameProp) != nullptr;
}

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

namespace {

HBITMAP TracedImage(const char* function, HBITMAP image) {
  orbtrace::WriteCall(orbtrace::CallLine(kLibrary, function), HandleText(image));
  return image;
}

}  // namespace

THEMECORE_API int32_t __stdcall SKSETNEWFRAME(HWND window) {
  try {
    int32_t result = 0;
    if (window != nullptr && IsWindow(window) &&
        SetPropA(window, themecore::kCallerFrameProp, reinterpret_cast<HANDLE>(1))) {
      themecore::CallerFrames& frames = themecore::Frames();
      std::lock_guard<std::mutex> guard(frames.lock);
      auto& windows = frames.windows;
      auto isGoneOrThis = [window](HWND w) { return w == window || !themecore::IsCallerFramed(w); };
      windows.erase(std::remove_if(windows.begin(), windows.end(), isGoneOrThis), windows.end());
      windows.push_back(window);
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKSETNEWFRAME").Raw(HandleText(window)), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HWND __stdcall SKGETHANDLE(int32_t which) {
  try {
    HWND window = nullptr;
    if (which == 2) {
      themecore::CallerFrames& frames = themecore::Frames();
      {
        // The oldest that still exists (a window handle given out again
        // carries no mark).
        std::lock_guard<std::mutex> guard(frames.lock);
        for (HWND w : frames.windows) {
          if (themecore::IsCallerFramed(w)) {
            window = w;
            break;
          }
        }
      }
      if (window == nullptr) window = themecore::FramedMainWindow();
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETHANDLE").Number(which), HandleText(window));
    return window;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCAPTIONL() {
  try {
    return TracedImage("SKCAPTIONL", themecore::LeftPiece());
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCAPTIONM() {
  try {
    return TracedImage("SKCAPTIONM", themecore::MiddlePiece());
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCAPTIONR() {
  try {
    return TracedImage("SKCAPTIONR", themecore::RightPiece());
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCPOPUPR() {
  try {
    return TracedImage("SKCPOPUPR", themecore::SkinBitmap("cpopupr"));
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCAPTIONLED() {
  try {
    return TracedImage("SKCAPTIONLED", themecore::SkinBitmap("captionled"));
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKUSETOOLCAPTION() {
  try {
    themecore::nextShapeIsTool = true;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKUSETOOLCAPTION"), 1);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKMAKEREGION(HWND window, HRGN region, int32_t width, int32_t height) {
  try {
    int32_t result = 0;
    const bool isTool = themecore::TakeToolFlag();
    if (region != nullptr) {
      if (HRGN shape = themecore::FrameShape(width, height, isTool)) {
        result = CombineRgn(region, region, shape, RGN_AND) != ERROR ? 1 : 0;
        DeleteObject(shape);
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKMAKEREGION")
                            .Raw(HandleText(window))
                            .Raw(HandleText(region))
                            .Number(width)
                            .Number(height),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKFRAMERGN(HWND window, int32_t width, int32_t height) {
  try {
    int32_t result = 0;
    const bool isTool = themecore::TakeToolFlag();
    if (window != nullptr && IsWindow(window)) {
      if (HRGN shape = themecore::FrameShape(width, height, isTool)) {
        // The window owns the region from here on.
        if (SetWindowRgn(window, shape, TRUE)) {
          result = 1;
        } else {
          DeleteObject(shape);
        }
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKFRAMERGN")
                            .Raw(HandleText(window))
                            .Number(width)
                            .Number(height),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKDRAWBORDER(HWND window, HDC dc) {
  try {
    const int32_t result = window != nullptr && themecore::DrawBorder(window, dc) ? 1 : 0;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKDRAWBORDER").Raw(HandleText(window)).Raw(HandleText(dc)),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}
