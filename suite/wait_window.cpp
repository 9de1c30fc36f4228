// The "please wait" window: a borderless box of class SKSTATIC with a few
// lines of text that a long operation shows while it runs.  The layout rules
// are in core/wait_window_layout; this file measures with the skin engine,
// registers the class and paints.
//
// Other windows of a program may register SKSTATIC with a procedure of
// their own (the media browser's disc progress window does): the first
// registration in a process serves every window of the class, so the class
// is only registered when the engine reports it missing.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "orbboxes.h"
#include "themecore.h"

namespace suite::boxes {

namespace {

// Windows XP and later draw a shadow under the box (SKOSVERSION above 5.0).
constexpr int32_t kShadowFromVersion = 501;
constexpr DWORD kWaitWindowStyle = 0xD0000001;  // WS_POPUP | WS_CHILD | WS_VISIBLE | 1
constexpr UINT kTextFormat = DT_CENTER | DT_VCENTER;

HINSTANCE ProgramInstance() { return GetModuleHandleA(nullptr); }

bool EnsureClassRegistered() {
  if (SKCHECKCLASS(kWaitWindowClass) != 0) return true;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = SKOSVERSION() >= kShadowFromVersion ? CS_DROPSHADOW : 0;
  windowClass.lpfnWndProc = WaitWindowProc;
  windowClass.hInstance = ProgramInstance();
  return SKREGISTERCLASS(&windowClass, kWaitWindowClass) != 0;
}

struct TextMeasure {
  int32_t lineCount = 0;
  int32_t widestLine = 0;
  int32_t characterHeight = 0;
};

TextMeasure MeasureText(HWND owner, const std::string& text) {
  TextMeasure measure;
  HFONT font = SKCAPTIONFONT();
  // The engine writes at most strlen(text) + 2 bytes of parts.
  std::vector<char> parts(text.size() + 2, '\0');
  int32_t widest = 0;
  measure.lineCount = SKSPLITS(text.c_str(), "|", owner, font, parts.data(),
                               static_cast<int32_t>(parts.size()), &widest);
  measure.widestLine = widest;
  int32_t characterWidth = 0;
  int32_t characterHeight = 0;
  SKGETTEXTEXTENT(owner, font, "W", &characterWidth, &characterHeight);
  measure.characterHeight = characterHeight;
  return measure;
}

ScreenRect AnchorOf(HWND owner, int32_t screenWidth, int32_t screenHeight) {
  RECT rect{0, 0, screenWidth, screenHeight};
  if (owner != nullptr && !GetWindowRect(owner, &rect)) rect = {0, 0, screenWidth, screenHeight};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

LRESULT OnEraseBackground(HWND window, HDC dc) {
  RECT client{};
  GetClientRect(window, &client);
  HBITMAP background = SKCTLBACK();
  if (background == nullptr ||
      SKTILEBLT(dc, 0, 0, client.right, client.bottom, background) == 0) {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  }
  return 1;
}

LRESULT OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return 0;
  char text[kWaitTextMaxBytes + 1] = {};
  if (SKGETCTLTEXT(window, text, sizeof(text)) >= static_cast<int32_t>(sizeof(text))) text[0] = 0;
  RECT client{};
  GetClientRect(window, &client);
  DrawWaitText(dc, text, &client, kTextFormat);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

void DrawWaitText(HDC dc, const char* text, RECT* area, UINT format) {
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ previousFont = SelectObject(dc, SKCAPTIONFONT());
  const COLORREF previousColour = SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(113)));
  DrawTextA(dc, text, -1, area, format);
  SetTextColor(dc, previousColour);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  SetBkMode(dc, previousMode);
}

HWND ShowWaitWindow(HWND owner, const std::string& text) {
  if (!EnsureClassRegistered()) return nullptr;
  const std::string windowText = WaitWindowText(text);
  const TextMeasure measure = MeasureText(owner, text);
  const WindowSize size =
      WaitWindowSize(measure.widestLine, measure.lineCount, measure.characterHeight,
                     GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME));
  const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const WindowPlace place =
      CentreAndClamp(AnchorOf(owner, screenWidth, screenHeight), size, screenWidth, screenHeight);
  HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, kWaitWindowClass, windowText.c_str(),
                                kWaitWindowStyle, place.x, place.y, size.width, size.height,
                                owner, nullptr, ProgramInstance(), nullptr);
  if (window == nullptr) return nullptr;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

LRESULT CALLBACK WaitWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_PAINT:
      return OnPaint(window);
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace suite::boxes
