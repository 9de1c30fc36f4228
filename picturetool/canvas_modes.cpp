// The canvas's mouse modes: the rectangle selection with its popup (crop,
// cancel) and the red-eye brush with its undo.  Frames are drawn XOR so a
// second drawing erases them; red-eye strokes go to the canvas and to its
// clean copy, the picture that is saved.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/canvas_rules.h"
#include "imaging.h"
#include "magnifier.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_painttool.h"

namespace paint {

namespace {

constexpr int32_t kSelectionPopup = 10;

void XorFrameRect(HDC dc, const Selection& frame) {
  const int previousRop = SetROP2(dc, R2_NOT);
  HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  SelectObject(dc, previousBrush);
  SetROP2(dc, previousRop);
}

// Draws (or erases: the same call twice) a frame given in canvas
// coordinates.
void DrawFrame(const Selection& frame) {
  PaintState& p = Paint();
  if (frame.left <= -1 || frame.right <= -1) return;
  HDC dc = SKGETDC(p.canvasWindow);
  if (dc == nullptr) return;
  const Selection shown = {frame.left - p.scrollX, frame.top - p.scrollY, frame.right - p.scrollX,
                           frame.bottom - p.scrollY};
  XorFrameRect(dc, shown);
  SKRELEASEDC(p.canvasWindow, dc);
}

void EraseDrawnFrame() {
  PaintState& p = Paint();
  DrawFrame(p.drawnFrame);
  p.drawnFrame = Selection{};
}

POINT PicturePoint(LPARAM lParam) {
  const PaintState& p = Paint();
  return {std::min<LONG>(p.fileWidth, static_cast<short>(LOWORD(lParam)) + p.scrollX),
          std::min<LONG>(p.fileHeight, static_cast<short>(HIWORD(lParam)) + p.scrollY)};
}

// The second corner, with the rectangle kept in order around the first
// corner (the anchor) however the mouse went past it.
void SetSecondCorner(POINT point) {
  PaintState& p = Paint();
  Selection raw = {p.selectionAnchor.x, p.selectionAnchor.y, point.x, point.y};
  Selection ordered;
  if (OrderedSelection(raw, &ordered)) {
    p.selection = ordered;
  } else {
    p.selection = raw;
  }
  DrawFrame(p.selection);
  p.drawnFrame = p.selection;
}

void SelectionClick(LPARAM lParam) {
  PaintState& p = Paint();
  EraseDrawnFrame();
  const POINT point = PicturePoint(lParam);
  if (p.selection.left < 0) {
    p.dragging = true;
    p.selectionAnchor = point;
    p.selection = {point.x, point.y, -1, -1};
    return;
  }
  SetSecondCorner(point);
}

void SelectionDrag(WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  if (wParam != MK_LBUTTON || !p.dragging) return;
  EraseDrawnFrame();
  const POINT point = PicturePoint(lParam);
  if (p.selection.left < 0) {
    p.selectionAnchor = point;
    p.selection = {point.x, point.y, -1, -1};
    return;
  }
  SetSecondCorner(point);
}

// The popup offers crop only for a selection of at least one pixel.
void SelectionPopup() {
  PaintState& p = Paint();
  if (p.drawnFrame.left <= -1) return;
  if (p.selectionPopup == nullptr) p.selectionPopup = SKPOPUPHANDLE(kSelectionPopup);
  if (p.selectionPopup == nullptr) return;
  Selection ordered;
  const bool croppable = OrderedSelection(p.selection, &ordered);
  EnableMenuItem(p.selectionPopup, 1001, MF_BYCOMMAND | (croppable ? MF_ENABLED : MF_GRAYED));
  POINT cursor = {};
  GetCursorPos(&cursor);
  TrackPopupMenu(p.selectionPopup, TPM_LEFTALIGN, cursor.x, cursor.y, 0, p.canvasWindow, nullptr);
}

void RedEyeClick(LPARAM lParam) {
  PaintState& p = Paint();
  const POINT centre = PicturePoint(lParam);
  RedEyeRecord record;
  record.left = centre.x - 2;
  record.top = centre.y - 2;
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  HDC copy = reinterpret_cast<HDC>(BlitCanvas(2));
  // The colours are the picture's own, read where no drawing object covers
  // them.
  HDC source = copy != nullptr ? copy : canvas;
  for (const CanvasPoint& point : RedEyePoints(centre.x, centre.y, p.fileWidth, p.fileHeight)) {
    const COLORREF colour = source != nullptr ? GetPixel(source, point.x, point.y) : CLR_INVALID;
    record.previous.push_back(colour);
    const COLORREF grey = GreyOfColor(colour);
    if (canvas != nullptr) SetPixelV(canvas, point.x, point.y, grey);
    if (copy != nullptr) SetPixelV(copy, point.x, point.y, grey);
  }
  p.redEye.Add(std::move(record));
  p.modifiedFlags |= kRedEyeOnCanvas;
  if (p.workingCopy.empty()) p.workingCopy = p.currentPicture;
  RepaintWindow(p.canvasWindow, false);
}

void RedEyeUndo() {
  PaintState& p = Paint();
  RedEyeRecord record;
  if (!p.redEye.TakeNewest(&record)) return;
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  HDC copy = reinterpret_cast<HDC>(BlitCanvas(2));
  const std::vector<CanvasPoint> points = RedEyePoints(record.left + 2, record.top + 2, p.fileWidth, p.fileHeight);
  for (size_t i = 0; i < points.size() && i < record.previous.size(); ++i) {
    if (canvas != nullptr) SetPixelV(canvas, points[i].x, points[i].y, record.previous[i]);
    if (copy != nullptr) SetPixelV(copy, points[i].x, points[i].y, record.previous[i]);
  }
  // The mark stays while any stroke since the last write is still on the
  // canvas, also one of an earlier spell of the brush.
  if (!p.redEye.AnyOnCanvasOnly()) p.modifiedFlags &= ~kRedEyeOnCanvas;
  RepaintWindow(p.canvasWindow, false);
}

}  // namespace

void StartSelectionMode() {
  PaintState& p = Paint();
  EndCanvasModes();
  p.selectionMode = true;
  p.selection = Selection{};
  p.drawnFrame = Selection{};
  SetClassLongPtrA(p.canvasWindow, GCLP_HCURSOR,
                   reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS))));
}

void StartRedEyeMode() {
  PaintState& p = Paint();
  EndCanvasModes();
  p.redEyeMode = true;
  HCURSOR eye = LoadCursorA(p.instance, "EYE");
  if (eye == nullptr) eye = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
  SetClassLongPtrA(p.canvasWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(eye));
  ShowMagnifier();
}

void EndCanvasModes() {
  PaintState& p = Paint();
  if (!p.selectionMode && !p.redEyeMode) return;
  EraseDrawnFrame();
  p.selection = Selection{};
  p.selectionMode = false;
  p.dragging = false;
  p.redEyeMode = false;
  p.redEye.EndSpell();
  SKCURSORSTD(p.canvasWindow);
}

void CancelSelection() {
  PaintState& p = Paint();
  EraseDrawnFrame();
  p.selection = Selection{};
  p.dragging = false;
}

// Crop: the selected part of the clean picture (no drawing objects burned
// in) becomes the working copy; the objects move with the picture's corner.
LRESULT CropToSelection() {
  PaintState& p = Paint();
  Selection cut;
  const bool croppable = OrderedSelection(p.selection, &cut);
  EraseDrawnFrame();
  p.selection = Selection{};
  p.selectionMode = false;
  p.dragging = false;
  SKCURSORSTD(p.canvasWindow);
  if (!croppable) return 0;
  const int32_t width = cut.right - cut.left, height = cut.bottom - cut.top;
  HDC source = reinterpret_cast<HDC>(BlitCanvas(2));
  if (source == nullptr) return 0;
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) return 0;
  HDC lead = L_CreateLeadDC(&bitmap);
  const bool copied = lead != nullptr && BitBlt(lead, 0, 0, width, height, source, cut.left, cut.top, SRCCOPY);
  if (lead != nullptr) L_DeleteLeadDC(lead);
  p.workingCopy = suite::TempFolder() + p.texts.entry(T_WORKING_NAME) + ".bmp";
  const bool saved = copied && L_SaveBitmap(p.workingCopy.c_str(), &bitmap, FILE_BMP, 24, 0, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  if (!saved) return 0;
  const std::string workingCopy = p.workingCopy;
  // The objects keep their place on the picture: the canvas's origin moves
  // by the cut's corner.
  SendToObjectManager(OM_SAVE_SIDECAR, workingCopy.size(), reinterpret_cast<LPARAM>(workingCopy.c_str()));
  p.scrollX = 0;
  p.scrollY = 0;
  LoadPictureIntoCanvas(workingCopy);
  ShiftObjects(-cut.left, -cut.top);
  p.workingCopy = workingCopy;
  p.redEye.Flushed();
  p.modifiedFlags |= kPictureChanged;
  UpdateCaptionAndStatus();
  RepaintWindow(p.canvasWindow, true);
  return 0;
}

bool OnCanvasModeMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  if (p.selectionMode) {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        SelectionClick(lParam);
        return true;
      case WM_MOUSEMOVE:
        SelectionDrag(wParam, lParam);
        return true;
      case WM_LBUTTONUP:
        p.dragging = false;
        return true;
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        SelectionPopup();
        return true;
      default:
        return false;
    }
  }
  if (p.redEyeMode) {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        RedEyeClick(lParam);
        return true;
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        RedEyeUndo();
        return true;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace paint
