// The canvas: the picture held in the canvas memory bitmap, shown in
// CanvasWindow with scrolling, and the point capture that makes a new shape
// object.  Pictures are decoded by the imaging library.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/object_geometry.h"
#include "core/obf_types.h"
#include "imaging.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "trace_writer.h"

namespace paint {

namespace {

void UpdateScrollBars() {
  PaintState& p = Paint();
  RECT client = {};
  GetClientRect(p.canvasWindow, &client);
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  info.nMax = std::max(0, p.pictureWidth - 1);
  info.nPage = static_cast<UINT>(client.right);
  p.scrollX = std::clamp(p.scrollX, 0, std::max<int32_t>(0, p.pictureWidth - client.right));
  info.nPos = p.scrollX;
  SetScrollInfo(p.canvasWindow, SB_HORZ, &info, TRUE);
  info.nMax = std::max(0, p.pictureHeight - 1);
  info.nPage = static_cast<UINT>(client.bottom);
  p.scrollY = std::clamp(p.scrollY, 0, std::max<int32_t>(0, p.pictureHeight - client.bottom));
  info.nPos = p.scrollY;
  SetScrollInfo(p.canvasWindow, SB_VERT, &info, TRUE);
}

POINT CanvasPoint(LPARAM lParam) {
  const PaintState& p = Paint();
  return {static_cast<short>(LOWORD(lParam)) + p.scrollX, static_cast<short>(HIWORD(lParam)) + p.scrollY};
}

void FinishCapture() {
  PaintState& p = Paint();
  HWND object = CreateObjectWindow(p.canvasWindow, p.toolWord);
  if (object != nullptr) {
    const std::string bytes = PointsToBytes(p.pointBuffer);
    ObjectWindowProc(object, WM_SETTEXT, bytes.size(), reinterpret_cast<LPARAM>(bytes.data()));
  }
  p.captureState = 0;
  p.pointBuffer.clear();
  DisarmDrawingTool();
}

}  // namespace

void PlaceCanvasWindow() {
  PaintState& p = Paint();
  if (p.canvasWindow == nullptr || p.toolHolder == nullptr) return;
  RECT client = {};
  GetClientRect(p.toolHolder, &client);
  MoveWindow(p.canvasWindow, 24, 24, std::max(0L, client.right - 24), std::max(0L, client.bottom - 24), TRUE);
  UpdateScrollBars();
}

bool LoadPictureIntoCanvas(const std::string& path) {
  PaintState& p = Paint();
  BITMAPHANDLE bitmap = {};
  bool loaded = false;
  if (!path.empty()) {
    loaded = L_LoadBitmap(path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS;
  }
  p.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  p.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  p.pictureWidth = loaded ? bitmap.Width : 0;
  p.pictureHeight = loaded ? bitmap.Height : 0;
  p.fileWidth = p.pictureWidth;
  p.fileHeight = p.pictureHeight;
  const int32_t width = std::max(p.screenWidth, p.pictureWidth);
  const int32_t height = std::max(p.screenHeight, p.pictureHeight);
  if (width != p.canvasWidth || height != p.canvasHeight || SKGETHDCMEMBMP(p.canvasWindow) == nullptr) {
    SKCREATEMEMBMP(p.canvasWindow, width, height);
    p.canvasWidth = width;
    p.canvasHeight = height;
  }
  HDC dc = SKGETHDCMEMBMP(p.canvasWindow);
  if (dc != nullptr) {
    SKFILLRECT(dc, 0, 0, p.canvasWidth, p.canvasHeight, SKGETSYSCOLOR(112));
    if (loaded) L_PaintDC(dc, &bitmap, nullptr, nullptr, nullptr, SRCCOPY);
  }
  if (loaded) L_FreeBitmap(&bitmap);
  p.scrollX = 0;
  p.scrollY = 0;
  UpdateScrollBars();
  TraceProgramCall("LoadPictureIntoCanvas", orbtrace::QuoteText(path),
                   std::to_string(p.pictureWidth) + " x " + std::to_string(p.pictureHeight));
  return loaded;
}

// Loads CurrentPicture: its pixels into the canvas, then its own objects.
void LoadPictureFile() {
  PaintState& p = Paint();
  const bool loaded = LoadPictureIntoCanvas(p.currentPicture);
  p.sourceFile = loaded ? p.currentPicture : std::string();
  p.workingCopy.clear();
  p.modifiedFlags = 0;
  if (loaded && !p.pictureLoaded) {
    p.pictureLoaded = true;
    const int ranges[][2] = {{201, 214}, {301, 308}, {313, 313}, {315, 315}, {317, 317},
                             {601, 608}, {701, 708}, {901, 908}};
    for (const auto& range : ranges) {
      for (int id = range[0]; id <= range[1]; ++id) EnableMenuItem(p.menu, id, MF_BYCOMMAND | MF_ENABLED);
    }
  }
  BlitCanvas(1);
  SendToObjectManager(OM_LOAD_SIDECAR, p.currentPicture.size(), reinterpret_cast<LPARAM>(p.currentPicture.c_str()));
  if (SendToObjectManager(OM_COMPOSE) == 0) RepaintWindow(p.canvasWindow, true);
  SetStatusText(p.currentPicture);
}

void PaintCanvas(HWND window) {
  PaintState& p = Paint();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client = {};
  GetClientRect(window, &client);
  HDC canvas = SKGETHDCMEMBMP(window);
  if (canvas != nullptr) {
    BitBlt(dc, 0, 0, client.right, client.bottom, canvas, p.scrollX, p.scrollY, SRCCOPY);
  } else {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  }
  EndPaint(window, &paint);
}

void ScrollCanvas(int bar, WPARAM wParam) {
  PaintState& p = Paint();
  SCROLLINFO info = {sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(p.canvasWindow, bar, &info);
  int position = info.nPos;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: position -= 16; break;
    case SB_LINEDOWN: position += 16; break;
    case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    default: break;
  }
  int32_t& scroll = bar == SB_HORZ ? p.scrollX : p.scrollY;
  const int before = scroll;
  scroll = std::clamp(position, 0, std::max(0, info.nMax + 1 - static_cast<int>(info.nPage)));
  UpdateScrollBars();
  if (scroll != before) {
    SendToObjectManager(bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL, static_cast<WPARAM>(scroll - before));
    RepaintWindow(p.canvasWindow, false);
  }
}

// The point capture of an armed drawing tool.  Ellipses, rectangles and
// arrows take two clicks; curves and polylines collect clicks until a
// double click.
LRESULT OnCanvasMouse(UINT message, WPARAM, LPARAM lParam) {
  PaintState& p = Paint();
  const uint16_t kind = static_cast<uint16_t>(p.toolWord & 0xFFFF);
  if (message == WM_MOUSEMOVE) {
    p.lastMouse = CanvasPoint(lParam);
    if (p.toolWord != 0) {
      SetStatusText("x" + std::to_string(p.lastMouse.x) + " y" + std::to_string(p.lastMouse.y));
    }
    return 0;
  }
  if (p.toolWord == 0) return 0;
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
    const overlay::ObfPoint point = {static_cast<int16_t>(p.lastMouse.x), static_cast<int16_t>(p.lastMouse.y)};
    if (p.captureState == 0) {
      p.pointBuffer.assign(1, point);
      p.captureState = 1;
      return 0;
    }
    const bool free = kind == overlay::kKindCurve || kind == overlay::kKindPolyline;
    const bool doubleClick = message == WM_LBUTTONDBLCLK || p.pointBuffer.size() >= overlay::kObfMaxPoints;
    if (doubleClick && free && p.pointBuffer.size() > 1) {
      FinishCapture();
      return 0;
    }
    if (p.pointBuffer.size() < overlay::kObfMaxPoints && !(p.pointBuffer.back() == point)) {
      p.pointBuffer.push_back(point);
    }
    if (!free && p.pointBuffer.size() == 2) {
      overlay::ObfPoint& a = p.pointBuffer[0];
      overlay::ObfPoint& b = p.pointBuffer[1];
      if (kind == overlay::kKindEllipse) {
        const int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
        b = {static_cast<int16_t>(a.x + dx), static_cast<int16_t>(a.y + dy)};
        a = {static_cast<int16_t>(a.x - dx), static_cast<int16_t>(a.y - dy)};
      } else if (kind == overlay::kKindRectangle) {
        if (a.x > b.x) std::swap(a.x, b.x);
        if (a.y > b.y) std::swap(a.y, b.y);
        b = {static_cast<int16_t>(b.x - 1), static_cast<int16_t>(b.y - 1)};
      }
      FinishCapture();
    }
    return 0;
  }
  if ((message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK) && p.captureState == 1) {
    if (!p.pointBuffer.empty()) p.pointBuffer.pop_back();
    if (p.pointBuffer.empty()) p.captureState = 0;
  }
  return 0;
}

}  // namespace paint
