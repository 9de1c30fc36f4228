// The level meter: a child of the audio pane (class "VUMETER") showing the
// meter image, over which DrawLevelBars paints the two channels' bars
// (core/level_meter: palette, fading, segments).
#include <windows.h>

#include "core/level_meter.h"
#include "panels.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace panels {

namespace {

constexpr char kMeterClass[] = "VUMETER";
constexpr int32_t kKeyColour = 0xFF00FF;

struct MeterWindowState {
  HBITMAP image = nullptr;
  MeterSegments segments;
  bool measured = false;
  bool drawn = false;  // bars have been painted since the meter was made
};

MeterWindowState& Meter() {
  static MeterWindowState state;
  return state;
}

bool RegisterMeterClass() {
  if (SKCHECKCLASS(kMeterClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = VuMeterProc;
  windowClass.hInstance = Panels().host.instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  return SKREGISTERCLASS(&windowClass, kMeterClass) != 0;
}

void CopyImage(HWND window, HDC dc) {
  MeterWindowState& m = Meter();
  if (m.image == nullptr) return;
  RECT client = {};
  GetClientRect(window, &client);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, m.image);
  BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

void FillSolid(HDC dc, int32_t left, int32_t top, int32_t right, int32_t bottom, MeterColour colour) {
  RECT r = {left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void PaintBars(HDC dc) {
  PanelState& s = Panels();
  MeterWindowState& m = Meter();
  const MeterSegments& g = m.segments;
  if (g.count == 0) return;
  RECT client = {};
  GetClientRect(s.meter, &client);
  for (int32_t i = g.count; i >= 1; --i) {
    int32_t top = (g.count - i) * g.segmentHeight;
    size_t step = static_cast<size_t>(LevelMeterModel::StepOfSegment(i, g.count));
    FillSolid(dc, 0, top, g.halfWidth, top + g.segmentHeight, s.meterModel.Left()[step]);
    FillSolid(dc, g.halfWidth, top, client.right, top + g.segmentHeight, s.meterModel.Right()[step]);
  }
}

}  // namespace

HWND VUMETERWIN(HWND parent, HBITMAP image, int32_t x, int32_t y) {
  int32_t width = 0, height = 0;
  if (image == nullptr || !SKGETPIXMAPSIZE(image, &width, &height) || width <= 0 || height <= 0) return nullptr;
  if (!RegisterMeterClass()) return nullptr;
  HWND meter = CreateWindowExA(WS_EX_TRANSPARENT, kMeterClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                               width, height, parent, nullptr, Panels().host.instance, nullptr);
  if (meter == nullptr) return nullptr;
  HRGN region = SKBMPTORGN(image, kKeyColour);
  if (region != nullptr && SetWindowRgn(meter, region, TRUE) == 0) DeleteObject(region);
  VuMeterProc(meter, WM_INITDIALOG, reinterpret_cast<WPARAM>(image), MAKELPARAM(x, y));
  return meter;
}

LRESULT CALLBACK VuMeterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MeterWindowState& m = Meter();
  switch (message) {
    case WM_INITDIALOG:
      m = MeterWindowState();
      m.image = reinterpret_cast<HBITMAP>(wParam);
      Panels().meterModel = LevelMeterModel();
      return 0;
    case WM_ERASEBKGND:
      CopyImage(window, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      // The bars come back with the window: the meter shows its last
      // levels after being covered.
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) {
        if (m.drawn) PaintBars(dc);
        EndPaint(window, &paint);
      }
      return 0;
    }
    case WM_DESTROY:
      if (m.image != nullptr) DeleteObject(m.image);
      m = MeterWindowState();
      if (Panels().meter == window) Panels().meter = nullptr;
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void DrawLevelBars(HDC dc, int32_t left, int32_t right) {
  PanelState& s = Panels();
  MeterWindowState& m = Meter();
  if (s.meter == nullptr || dc == nullptr) return;
  if (!m.measured) {
    // The meter (made only from the panel's meter image) is measured once.
    RECT client = {};
    GetClientRect(s.meter, &client);
    m.segments = SegmentsFor(client.right, client.bottom);
    m.measured = true;
  }
  if (m.segments.count == 0) return;
  s.meterModel.Update(left, right);
  PaintBars(dc);
  m.drawn = true;
}

void ShowLevels(int32_t left, int32_t right) {
  PanelState& s = Panels();
  if (s.meter == nullptr) return;
  HDC dc = GetDC(s.meter);
  if (dc == nullptr) return;
  DrawLevelBars(dc, left, right);
  ReleaseDC(s.meter, dc);
}

}  // namespace panels
