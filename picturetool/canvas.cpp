// The canvas: the picture held in the canvas memory bitmap, shown in
// CanvasWindow with scrolling, and the point capture that makes a new shape
// object.  Pictures are decoded by the imaging library.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/canvas_rules.h"
#include "core/object_geometry.h"
#include "core/obf_types.h"
#include "imaging.h"
#include "magnifier.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "trace_writer.h"

namespace paint {

namespace {

// The preview of the shape being collected, drawn so that drawing it again
// erases it: a rectangle or an ellipse from the first point to the mouse,
// else a line through the points to the mouse.
void DrawRubberBandOn(HDC dc) {
  PaintState& p = Paint();
  if (p.pointBuffer.empty()) return;
  RECT client = {};
  GetClientRect(p.canvasWindow, &client);
  HRGN clip = CreateRectRgn(0, 0, client.right, client.bottom);
  SelectClipRgn(dc, clip);
  const int previousRop = SetROP2(dc, R2_NOTXORPEN);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HGDIOBJ previousPen = SelectObject(dc, pen);
  HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  const uint16_t kind = static_cast<uint16_t>(p.toolWord & 0xFFFF);
  const int32_t firstX = p.pointBuffer[0].x - p.scrollX, firstY = p.pointBuffer[0].y - p.scrollY;
  const int32_t mouseX = p.lastMouse.x - p.scrollX, mouseY = p.lastMouse.y - p.scrollY;
  if (kind == overlay::kKindRectangle) {
    Rectangle(dc, firstX, firstY, mouseX, mouseY);
  } else if (kind == overlay::kKindEllipse) {
    const int32_t dx = std::abs(mouseX - firstX), dy = std::abs(mouseY - firstY);
    Ellipse(dc, firstX - dx, firstY - dy, firstX + dx, firstY + dy);
  } else {
    MoveToEx(dc, firstX, firstY, nullptr);
    if (kind == overlay::kKindCurve || kind == overlay::kKindPolyline) {
      for (size_t i = 1; i < p.pointBuffer.size(); ++i) {
        LineTo(dc, p.pointBuffer[i].x - p.scrollX, p.pointBuffer[i].y - p.scrollY);
      }
    }
    LineTo(dc, mouseX, mouseY);
  }
  SelectObject(dc, previousBrush);
  SelectObject(dc, previousPen);
  SetROP2(dc, previousRop == 0 ? R2_COPYPEN : previousRop);
  DeleteObject(pen);
  SelectClipRgn(dc, nullptr);
  DeleteObject(clip);
}

POINT MouseCanvasPoint(LPARAM lParam) {
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

void DrawRubberBand() {
  PaintState& p = Paint();
  HDC dc = GetDC(p.canvasWindow);
  if (dc == nullptr) return;
  DrawRubberBandOn(dc);
  ReleaseDC(p.canvasWindow, dc);
}

// Both scroll bars over what the canvas bitmap holds beyond the client area;
// the positions are kept inside that range.
void UpdateScrollBars() {
  PaintState& p = Paint();
  if (p.canvasWindow == nullptr) return;
  RECT client = {};
  GetClientRect(p.canvasWindow, &client);
  const int32_t rangeX = std::max<int32_t>(0, p.canvasWidth - client.right);
  const int32_t rangeY = std::max<int32_t>(0, p.canvasHeight - client.bottom);
  p.scrollX = std::clamp(p.scrollX, 0, rangeX);
  p.scrollY = std::clamp(p.scrollY, 0, rangeY);
  SCROLLINFO info = {sizeof(info), SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL, 0, rangeX, 0, p.scrollX, 0};
  SetScrollInfo(p.canvasWindow, SB_HORZ, &info, TRUE);
  info.nMax = rangeY;
  info.nPos = p.scrollY;
  SetScrollInfo(p.canvasWindow, SB_VERT, &info, TRUE);
}

void PlaceCanvasWindow() {
  PaintState& p = Paint();
  if (p.canvasWindow == nullptr || p.toolHolder == nullptr) return;
  RECT client = {};
  GetClientRect(p.toolHolder, &client);
  MoveWindow(p.canvasWindow, 24, 24, std::max(0L, client.right - 24), std::max(0L, client.bottom - 24), TRUE);
  UpdateScrollBars();
}

void PaintCanvas(HWND window) {
  PaintState& p = Paint();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client = {};
  GetClientRect(window, &client);
  HDC canvas = SKGETHDCMEMBMP(window);
  if (canvas != nullptr) {
    p.scrollX = std::max(0, std::min<int32_t>(p.scrollX, SKGETWIDTHMEMBMP(window) - client.right));
    p.scrollY = std::max(0, std::min<int32_t>(p.scrollY, SKGETHEIGHTMEMBMP(window) - client.bottom));
    BitBlt(dc, 0, 0, client.right, client.bottom, canvas, p.scrollX, p.scrollY, SRCCOPY);
  } else {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  }
  EndPaint(window, &paint);
  UpdateScrollBars();
}

void ScrollCanvas(int bar, WPARAM wParam) {
  PaintState& p = Paint();
  RECT client = {};
  GetClientRect(p.canvasWindow, &client);
  const bool horizontal = bar == SB_HORZ;
  int32_t& scroll = horizontal ? p.scrollX : p.scrollY;
  const int32_t position =
      ScrolledPosition(scroll, LOWORD(wParam), HIWORD(wParam),
                       horizontal ? p.canvasWidth : p.canvasHeight, horizontal ? client.right : client.bottom);
  const int32_t change = position - scroll;
  if (change == 0) return;
  if (p.captureState == 1) DrawRubberBand();
  scroll = position;
  ScrollWindowEx(p.canvasWindow, horizontal ? -change : 0, horizontal ? 0 : -change, nullptr, &client, nullptr,
                 nullptr, SW_INVALIDATE);
  UpdateScrollBars();
  UpdateWindow(p.canvasWindow);
  SendToObjectManager(horizontal ? WM_HSCROLL : WM_VSCROLL, static_cast<WPARAM>(change));
  if (p.captureState == 1) DrawRubberBand();
}

// The point capture of an armed drawing tool.  Ellipses, rectangles and
// arrows take two clicks; curves and polylines collect clicks until a
// double click.
LRESULT OnCanvasMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  const bool takenByMode = OnCanvasModeMouse(message, wParam, lParam);
  FollowCanvasMouse(message, wParam, lParam, takenByMode || p.toolWord != 0);
  if (takenByMode) return 0;
  const uint16_t kind = static_cast<uint16_t>(p.toolWord & 0xFFFF);
  if (message == WM_MOUSEMOVE) {
    if (p.captureState == 1) DrawRubberBand();
    p.lastMouse = MouseCanvasPoint(lParam);
    if (p.captureState == 1) DrawRubberBand();
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
    if (!free) DrawRubberBand();
    const bool doubleClick = message == WM_LBUTTONDBLCLK || p.pointBuffer.size() >= overlay::kObfMaxPoints;
    if (doubleClick && free && p.pointBuffer.size() > 1) {
      if (free) DrawRubberBand();
      FinishCapture();
      return 0;
    }
    if (free) DrawRubberBand();
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
      return 0;
    }
    DrawRubberBand();
    return 0;
  }
  if ((message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK) && p.captureState == 1) {
    DrawRubberBand();
    if (!p.pointBuffer.empty()) p.pointBuffer.pop_back();
    if (p.pointBuffer.empty()) {
      p.captureState = 0;
    } else {
      DrawRubberBand();
    }
  }
  return 0;
}

}  // namespace paint
