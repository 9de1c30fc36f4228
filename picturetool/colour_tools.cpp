// The colour picker, its pipette and the colour swatch.  The picker paints
// its colour field from a GDI+ copy of the bitmap and reads the pixel under
// the mouse from it; a timer of 100 ms runs only while the mouse is over the
// picker and hides the pipette once it has left.  The picked colour reaches
// the swatch and the pipette as their class brushes, each replaced brush
// deleted.
#include "colour_tools.h"

#include <windows.h>

#include <string>

#include "core/box_rules.h"
#include "gdiplus_api.h"
#include "image_functions.h"
#include "themecore.h"

namespace paint {

namespace {

constexpr char kPickerClass[] = "SKCOLORPICK";
constexpr char kPipetteClass[] = "SKPIPETTE";
constexpr char kSwatchClass[] = "SKSTATIC";
constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverCheckMs = 100;
constexpr int32_t kPipetteKey = 0xFF00FF;

// The one picker's state.
struct PickerState {
  Gdiplus::GpBitmap* colourImage = nullptr;
  HWND pipette = nullptr;
  bool hovering = false;
  bool timerRunning = false;
};

PickerState& Picker() {
  static PickerState state;
  return state;
}

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

LRESULT CALLBACK PassThroughProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// The pipette sits under the cursor: the mouse goes through it to the
// picker (Wine's hit test does not skip a disabled child).
LRESULT CALLBACK PipetteProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterOnce(const char* name, UINT style, WNDPROC procedure, HBRUSH brush) {
  if (SKCHECKCLASS(name) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = ProgramInstance();
  windowClass.hbrBackground = brush;
  return SKREGISTERCLASS(&windowClass, name) != 0;
}

void SetLabel(HWND parent, int id, uint8_t component) {
  HWND label = GetDlgItem(parent, id);
  if (label != nullptr) SKSETCTLTEXT(label, std::to_string(component).c_str());
}

void SetTrack(HWND parent, int id, uint8_t component) {
  HWND track = GetDlgItem(parent, id);
  if (track != nullptr) SKSETTRACKPOS(track, ByteToTrack(component));
}

// The picked colour into the parent box: track bars, labels and swatch.
void WriteColourToBox(HWND picker, uint8_t red, uint8_t green, uint8_t blue) {
  HWND parent = GetParent(picker);
  if (parent == nullptr) return;
  SetTrack(parent, kRedTrackId, red);
  SetTrack(parent, kGreenTrackId, green);
  SetTrack(parent, kBlueTrackId, blue);
  SetLabel(parent, kRedLabelId, red);
  SetLabel(parent, kGreenLabelId, green);
  SetLabel(parent, kBlueLabelId, blue);
  SetSwatchColour(GetDlgItem(parent, kSwatchId), RGB(red, green, blue));
  InvalidateRect(parent, nullptr, FALSE);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create) {
  PickerState& picker = Picker();
  const auto* bitmap = static_cast<const HBITMAP*>(create->lpCreateParams);
  if (picker.colourImage != nullptr) suite::ImgFree(picker.colourImage, 0);
  picker.colourImage = bitmap != nullptr ? suite::ImgFromBitmap(*bitmap) : nullptr;
  picker.pipette = CreatePipette(window);
  return 0;
}

void OnSetCursor(HWND window) {
  PickerState& picker = Picker();
  if (picker.hovering) return;
  picker.hovering = true;
  picker.timerRunning = SetTimer(window, kHoverTimer, kHoverCheckMs, nullptr) != 0;
  if (picker.pipette != nullptr) ShowWindow(picker.pipette, SW_SHOWNA);
}

void StopHovering(HWND window) {
  PickerState& picker = Picker();
  if (picker.timerRunning) KillTimer(window, kHoverTimer);
  picker.timerRunning = false;
  picker.hovering = false;
  if (picker.pipette != nullptr) ShowWindow(picker.pipette, SW_HIDE);
}

void OnTimer(HWND window) {
  if (!Picker().hovering) return;
  POINT cursor = {};
  GetCursorPos(&cursor);
  HWND under = WindowFromPoint(cursor);
  if (under != window && !IsChild(window, under)) StopHovering(window);
}

void OnMouse(HWND window, WPARAM wParam, LPARAM lParam) {
  PickerState& picker = Picker();
  const suite::GdiplusApi* gdiplus = suite::Gdiplus();
  if (picker.colourImage == nullptr || gdiplus == nullptr) return;
  const int32_t x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
  Gdiplus::ARGB argb = 0;
  // A point on the edge or outside the field (a captured mouse) has no
  // colour: nothing changes.
  if (gdiplus->GdipBitmapGetPixel(picker.colourImage, x, y, &argb) != Gdiplus::Ok) return;
  uint8_t alpha = 0, red = 0, green = 0, blue = 0;
  suite::ImgSplitArgb(argb, &alpha, &red, &green, &blue);
  if (picker.pipette != nullptr) {
    RECT pipette = {};
    GetWindowRect(picker.pipette, &pipette);
    // Centred on the point.
    const int32_t left = x - (pipette.right - pipette.left) / 2, top = y - (pipette.bottom - pipette.top) / 2;
    SetWindowPos(picker.pipette, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetSwatchColour(picker.pipette, RGB(red, green, blue));
  }
  if (wParam & MK_LBUTTON) WriteColourToBox(window, red, green, blue);
}

void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (Picker().colourImage != nullptr) suite::ImgDrawImage(dc, Picker().colourImage, 0, 0);
  EndPaint(window, &paint);
}

void OnDestroy(HWND window) {
  PickerState& picker = Picker();
  picker.pipette = nullptr;
  if (picker.timerRunning) KillTimer(window, kHoverTimer);
  picker.timerRunning = false;
  picker.hovering = false;
  if (picker.colourImage != nullptr) suite::ImgFree(picker.colourImage, 0);
}

}  // namespace

LRESULT CALLBACK ColorPickerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_SETCURSOR:
      OnSetCursor(window);
      break;
    case WM_TIMER:
      if (wParam == kHoverTimer) OnTimer(window);
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
      OnMouse(window, wParam, lParam);
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_DESTROY:
      OnDestroy(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateColorPicker(HWND parent, int32_t x, int32_t y, HBITMAP bitmap) {
  HBITMAP loaded = nullptr;
  if (bitmap == nullptr) {
    loaded = static_cast<HBITMAP>(LoadImageA(ProgramInstance(), "COLOR", IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
    bitmap = loaded;
  }
  int32_t width = 0, height = 0;
  if (bitmap == nullptr || SKGETPIXMAPSIZE(bitmap, &width, &height) == 0) return nullptr;
  HWND picker = nullptr;
  if (RegisterOnce(kPickerClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, ColorPickerProc, nullptr)) {
    picker = CreateWindowExA(WS_EX_CLIENTEDGE, kPickerClass, "", WS_CHILD | WS_VISIBLE, x, y, width + 4, height + 4,
                             parent, nullptr, ProgramInstance(), &bitmap);
  }
  // The picker has made its own copy of the pixels.
  if (loaded != nullptr) DeleteObject(loaded);
  return picker;
}

HWND CreatePipette(HWND parent) {
  HBITMAP circle = static_cast<HBITMAP>(LoadImageA(ProgramInstance(), "CIRCLE", IMAGE_BITMAP, 0, 0, LR_DEFAULTSIZE));
  int32_t width = 0, height = 0;
  if (circle == nullptr || SKGETPIXMAPSIZE(circle, &width, &height) == 0 || width == 0 || height == 0) {
    if (circle != nullptr) DeleteObject(circle);
    return nullptr;
  }
  HWND pipette = nullptr;
  if (RegisterOnce(kPipetteClass, CS_HREDRAW | CS_VREDRAW, PipetteProc,
                   static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)))) {
    pipette = CreateWindowExA(WS_EX_TRANSPARENT, kPipetteClass, "", WS_CHILD | WS_DISABLED, -width, -height, width,
                              height, parent, nullptr, ProgramInstance(), nullptr);
  }
  if (pipette != nullptr) {
    HRGN round = SKBMPTORGN(circle, kPipetteKey);
    // The window owns the region from here on.
    if (round != nullptr && SetWindowRgn(pipette, round, TRUE) == 0) DeleteObject(round);
  }
  DeleteObject(circle);
  return pipette;
}

HWND CreateColorSwatch(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height, int32_t id,
                       COLORREF colour) {
  const bool registered = SKCHECKCLASS(kSwatchClass) != 0;
  if (!registered) {
    HBRUSH brush = CreateSolidBrush(colour);
    if (!RegisterOnce(kSwatchClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, PassThroughProc, brush)) {
      if (brush != nullptr) DeleteObject(brush);
      return nullptr;
    }
  }
  HWND swatch = CreateWindowExA(WS_EX_CLIENTEDGE, kSwatchClass, "", WS_CHILD | WS_VISIBLE | WS_DISABLED, x, y, width,
                                height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ProgramInstance(), nullptr);
  // A later box shows its own colour, not the one the class was made with
  // or the last one picked.
  if (registered) SetSwatchColour(swatch, colour);
  return swatch;
}

void SetSwatchColour(HWND window, COLORREF colour) {
  if (window == nullptr) return;
  HBRUSH brush = CreateSolidBrush(colour);
  if (brush == nullptr) return;
  const LONG_PTR previous = SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
  HGDIOBJ old = reinterpret_cast<HGDIOBJ>(previous);
  if (old != nullptr && old != brush && old != GetStockObject(WHITE_BRUSH)) DeleteObject(old);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace paint
