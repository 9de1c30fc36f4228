// Frame pictures and the capture of inactive windows.  A skinned window
// with an opening effect keeps a picture of itself (a memory bitmap the
// engine holds under its handle): the opening effects draw it, and while
// the application is inactive the window is shown from it (capture, on
// WM_ACTIVATEAPP).  The picture is painted by skSnapShotOn: the window's
// client area through WM_PRINT, each child control printed at its place
// (the system's WM_PRINT does not print children or their borders
// everywhere, so the library does), then the caption and the border.  A
// skinned control whose painting the host does with BeginPaint in its own
// WM_PAINT paints into the picture through the host's redirected import
// (skBeginPaint, skEndPaint), at its place in the picture.
#include <windows.h>

#include <map>

#include "core/capture_rules.h"
#include "core/opening_effects.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"

namespace skinning {

namespace {

int32_t g_captureFlag = 0;

// The DC state saved by skBeginPaint for each control painting into a
// picture, restored by skEndPaint.
std::map<HWND, std::pair<HDC, int>> g_redirectedPaints;

RECT WindowRectOf(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return rect;
}

// Whether the control's window procedure is the host's own (its class was
// registered by the host executable): such a control paints in WM_PAINT
// with the host's BeginPaint, and knows nothing of WM_PRINTCLIENT.
bool IsHostPaintedControl(HWND control) {
  return reinterpret_cast<HMODULE>(GetClassLongPtrA(control, GCLP_HMODULE)) ==
         GetModuleHandleA(nullptr);
}

// The system's borders of a child window, drawn at its window rectangle.
void PrintChildBorder(HWND child, HDC dc, int width, int height) {
  const LONG style = GetWindowLongA(child, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(child, GWL_EXSTYLE);
  RECT box = {0, 0, width, height};
  if (exStyle & WS_EX_CLIENTEDGE) {
    DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
  }
  if (exStyle & WS_EX_STATICEDGE) {
    DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME) == WS_DLGFRAME) {
    DrawEdge(dc, &box, EDGE_RAISED, BF_RECT | BF_ADJUST);
  } else if (style & WS_BORDER) {
    FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
}

// One child and, above it, its own children, at their places in a picture
// whose origin is the top-level window's corner.
void PrintChildTree(HWND parent, HDC dc, const RECT& topRect);

// A control's client area printed through WM_PRINTCLIENT into a DC of its
// own (controls take their client rectangle for device coordinates when
// they clip their painting), over what the picture shows there, then put
// into the picture.
void PrintClientThroughOwnDc(HWND child, HDC dc, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  HDC own = CreateCompatibleDC(dc);
  HBITMAP bitmap = own != nullptr ? CreateCompatibleBitmap(dc, width, height) : nullptr;
  if (bitmap == nullptr) {
    if (own != nullptr) DeleteDC(own);
    return;
  }
  HGDIOBJ old = SelectObject(own, bitmap);
  BitBlt(own, 0, 0, width, height, dc, x, y, SRCCOPY);
  SendMessageA(child, WM_ERASEBKGND, reinterpret_cast<WPARAM>(own), 0);
  SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(own), PRF_CLIENT | PRF_ERASEBKGND);
  BitBlt(dc, x, y, width, height, own, 0, 0, SRCCOPY);
  SelectObject(own, old);
  DeleteObject(bitmap);
  DeleteDC(own);
}

void PrintChild(HWND child, HDC dc, const RECT& topRect) {
  const RECT rect = WindowRectOf(child);
  RECT client = {};
  GetClientRect(child, &client);
  POINT clientOrigin = {0, 0};
  ClientToScreen(child, &clientOrigin);
  const int x = clientOrigin.x - topRect.left;
  const int y = clientOrigin.y - topRect.top;

  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, rect.left - topRect.left, rect.top - topRect.top, nullptr);
  IntersectClipRect(dc, 0, 0, rect.right - rect.left, rect.bottom - rect.top);
  PrintChildBorder(child, dc, rect.right - rect.left, rect.bottom - rect.top);
  RestoreDC(dc, saved);

  if (IsHostPaintedControl(child) && IsHostPaintRedirected() && FindControlRecord(child) != nullptr) {
    // Its WM_PAINT calls the host's BeginPaint, which now gives it the
    // picture at its place (skBeginPaint).
    SendMessageA(child, WM_PAINT, 0, 0);
  } else {
    PrintClientThroughOwnDc(child, dc, x, y, client.right, client.bottom);
  }
  PrintChildTree(child, dc, topRect);
}

void PrintChildTree(HWND parent, HDC dc, const RECT& topRect) {
  // Bottom of the z-order first, so that the top one ends up in front.
  HWND child = GetWindow(parent, GW_CHILD);
  if (child == nullptr) return;
  for (HWND last = GetWindow(child, GW_HWNDLAST); last != nullptr; last = GetWindow(last, GW_HWNDPREV)) {
    if (IsWindowVisible(last)) PrintChild(last, dc, topRect);
  }
}

// The whole window into its picture.
void PrintWindowInto(const WindowRecordPtr& record, HDC dc, bool captionInactive) {
  HWND window = record->window;
  const RECT topRect = WindowRectOf(window);
  POINT clientOrigin = {0, 0};
  ClientToScreen(window, &clientOrigin);
  RECT client = {};
  GetClientRect(window, &client);
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, clientOrigin.x - topRect.left, clientOrigin.y - topRect.top, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageA(window, WM_PRINT, reinterpret_cast<WPARAM>(dc),
               PRF_CHECKVISIBLE | PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, saved);
  PrintChildTree(window, dc, topRect);
  if (record->menuBar != nullptr) {
    const RECT bar = WindowRectOf(record->menuBar);
    PrintMenuBar(record->menuBar, dc, bar.left - topRect.left, bar.top - topRect.top);
  }
  DrawCaption(*record, dc, WindowTextOf(window), captionInactive);
  SKDRAWBORDER(window, dc);
}

// Whether the window may be shown from its picture: it has one of its
// size, and it is not maximized (a maximized window takes no picture, and
// the one it has shows it as it was before).
bool PictureCovers(const WindowRecord& record) {
  if (!record.hasFrameBitmap || IsZoomed(record.window)) return false;
  const SIZE size = WindowSize(record.window);
  return PictureCoversWindow(SKGETWIDTHMEMBMP(record.window), SKGETHEIGHTMEMBMP(record.window),
                             size.cx, size.cy);
}

// The picture back on the window, but for an MDI client's area.
void ShowPicture(const WindowRecord& record, HDC frameDc) {
  HDC windowDc = GetWindowDC(record.window);
  if (windowDc == nullptr) return;
  const SIZE size = WindowSize(record.window);
  HRGN clip = nullptr;
  if (record.mdiClient != nullptr) {
    const RECT topRect = WindowRectOf(record.window);
    POINT origin = {0, 0};
    ClientToScreen(record.mdiClient, &origin);
    RECT mdi = {};
    GetClientRect(record.mdiClient, &mdi);
    clip = CreateRectRgn(0, 0, size.cx, size.cy);
    HRGN area = CreateRectRgn(origin.x - topRect.left, origin.y - topRect.top,
                              origin.x - topRect.left + mdi.right, origin.y - topRect.top + mdi.bottom);
    CombineRgn(clip, clip, area, RGN_DIFF);
    DeleteObject(area);
    SelectClipRgn(windowDc, clip);
  }
  BitBlt(windowDc, 0, 0, size.cx, size.cy, frameDc, 0, 0, SRCCOPY);
  if (clip != nullptr) DeleteObject(clip);
  ReleaseDC(record.window, windowDc);
}

// The control is skinned, its top-level owner is, and that owner's
// painting goes into its picture.
WindowRecordPtr PictureOwnerOfControl(HWND control) {
  if (FindControlRecord(control) == nullptr) return nullptr;
  WindowRecordPtr owner = FindWindowRecord(TopLevelOwner(control));
  if (owner == nullptr || owner->snapshotDc == nullptr) return nullptr;
  return owner;
}

}  // namespace

int32_t CaptureFlag() { return g_captureFlag; }

HDC TakeFrameSnapshot(const WindowRecordPtr& record) {
  HWND window = record->window;
  if (IsZoomed(window)) return nullptr;
  const SIZE size = WindowSize(window);
  if (record->hasFrameBitmap && SKGETWIDTHMEMBMP(window) >= size.cx &&
      SKGETHEIGHTMEMBMP(window) >= size.cy) {
    CopyToFrameBitmap(record, nullptr);
    return SKGETHDCMEMBMP(window);
  }
  if (record->hasFrameBitmap) SKDELETEMEMBMP(window);
  record->hasFrameBitmap = false;
  if (record->effect != kEffectNone) {
    record->hasFrameBitmap = SKCREATEMEMBMP(window, size.cx, size.cy) != 0;
    CopyToFrameBitmap(record, nullptr);
  }
  return SKGETHDCMEMBMP(window);
}

void CopyToFrameBitmap(const WindowRecordPtr& record, HWND child) {
  if (!record->hasFrameBitmap) return;
  HDC frameDc = SKGETHDCMEMBMP(record->window);
  if (frameDc == nullptr) return;
  HWND source = child != nullptr ? child : record->window;
  const RECT topRect = WindowRectOf(record->window);
  const RECT rect = WindowRectOf(source);
  HDC sourceDc = GetWindowDC(source);
  if (sourceDc == nullptr) return;
  BitBlt(frameDc, rect.left - topRect.left, rect.top - topRect.top, rect.right - rect.left,
         rect.bottom - rect.top, sourceDc, 0, 0, SRCCOPY);
  ReleaseDC(source, sourceDc);
}

void ClearSnapshotDC(const WindowRecordPtr& record) { record->snapshotDc = nullptr; }

HDC SnapShotOn(const WindowRecordPtr& record, bool captionInactive) {
  HDC dc = TakeFrameSnapshot(record);
  if (dc == nullptr) return nullptr;
  record->snapshotDc = dc;
  PrintWindowInto(record, dc, captionInactive);
  return dc;
}

bool IsShownFromPicture(const WindowRecord& record) { return record.hasFrameBitmap && record.captured; }

void OnActivateAppCapture(const WindowRecordPtr& record, WPARAM wParam) {
  const CaptureAction action = ActionOnActivateApp(wParam == 1, g_captureFlag != 0, record->captured,
                                                   record->state, record->effect);
  switch (action) {
    case CaptureAction::kRelease: {
      if (HDC frameDc = record->hasFrameBitmap ? SKGETHDCMEMBMP(record->window) : nullptr) {
        DrawCaption(*record, frameDc, WindowTextOf(record->window), record->captionInactive);
        ShowPicture(*record, frameDc);
      }
      record->captured = false;
      record->snapshotDc = nullptr;
      // What changed while the window was inactive shows now.
      RedrawWindow(record->window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    }
    case CaptureAction::kRefreshCaption:
      if (HDC frameDc = record->hasFrameBitmap ? SKGETHDCMEMBMP(record->window) : nullptr) {
        DrawCaption(*record, frameDc, WindowTextOf(record->window), record->captionInactive);
        SKDRAWBORDER(record->window, frameDc);
      }
      record->captured = PictureCovers(*record);
      break;
    case CaptureAction::kTakePicture:
      SnapShotOn(record, false);
      record->captured = PictureCovers(*record);
      break;
    case CaptureAction::kNone:
      break;
  }
}

}  // namespace skinning

THEMEAPI_API int32_t __stdcall skCaptureEnable(int32_t flag) {
  skinning::g_captureFlag = skinning::CaptureFlagAfter(skinning::g_captureFlag, flag);
  return skinning::g_captureFlag;
}

THEMEAPI_API HDC __stdcall skSnapShotOn(HWND window, int32_t captionInactive) {
  try {
    skinning::WindowRecordPtr record = skinning::FindWindowRecord(window);
    if (record == nullptr) return nullptr;
    return skinning::SnapShotOn(record, captionInactive != 0);
  } catch (...) {
    return nullptr;
  }
}

THEMEAPI_API HDC __stdcall skBeginPaint(HWND window, PAINTSTRUCT* paint) {
  skinning::WindowRecordPtr owner = skinning::PictureOwnerOfControl(window);
  if (owner == nullptr || paint == nullptr) return skinning::CallRealBeginPaint(window, paint);
  HDC dc = owner->snapshotDc;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  const RECT ownerRect = skinning::WindowRectOf(owner->window);
  RECT client = {};
  GetClientRect(window, &client);
  const skinning::RedirectedPaint place =
      skinning::RedirectPaint(origin.x, origin.y, ownerRect.left, ownerRect.top, client.right, client.bottom);
  // The control draws in its own coordinates: the picture's origin goes to
  // its place, and it paints nothing outside it.
  const int saved = SaveDC(dc);
  SetViewportOrgEx(dc, place.originX, place.originY, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  skinning::g_redirectedPaints[window] = {dc, saved};
  // What it was asked to paint is painted: no WM_PAINT comes again for it.
  ValidateRect(window, nullptr);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->fErase = FALSE;
  paint->rcPaint = {place.paint.left, place.paint.top, place.paint.right, place.paint.bottom};
  return dc;
}

THEMEAPI_API BOOL __stdcall skEndPaint(HWND window, const PAINTSTRUCT* paint) {
  auto redirected = skinning::g_redirectedPaints.find(window);
  if (redirected != skinning::g_redirectedPaints.end()) {
    RestoreDC(redirected->second.first, redirected->second.second);
    skinning::g_redirectedPaints.erase(redirected);
    return -1;
  }
  if (skinning::PictureOwnerOfControl(window) != nullptr) return -1;
  return skinning::CallRealEndPaint(window, paint);
}
