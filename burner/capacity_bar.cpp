// The capacity bar (VDSCCDCONTENT): a progress control in a sunken frame,
// subclassed to draw the disc's used share in red, the free space in green
// and the burn list's image in yellow over it, under a scale of 110 lines.
#include <windows.h>
#include <commctrl.h>

#include "burner_state.h"
#include "core/disc_figures.h"
#include "themecore.h"
#include "themecore_looks.h"

namespace burner {

namespace {

const char kPreviousProc[] = "orbburn.capacity.proc";
const char kUsedPercent[] = "orbburn.capacity.used";

COLORREF FromRgb(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void DrawScale(HDC dc, const BarPicture& picture, int height) {
  const int32_t colour = SKGETSYSCOLOR(0x71);
  for (const BarPicture::Line& line : picture.scale) SKLINE(dc, line.x, line.top, line.x, height, colour, 0, 1);
}

BarPicture PictureOf(HWND bar) {
  RECT client;
  GetClientRect(bar, &client);
  const int used = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropA(bar, kUsedPercent)));
  return CapacityBarPicture(client.right, client.bottom, used, Burner().imagePercent);
}

LRESULT CALLBACK CapacityBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropA(bar, kPreviousProc));
  if (previous == nullptr) return DefWindowProcA(bar, message, wParam, lParam);
  switch (message) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT client;
      GetClientRect(bar, &client);
      HBITMAP back = SKCTLBACK();
      if (back == nullptr || SKTILEBLT(dc, 0, 0, client.right, client.bottom, back) == 0) {
        SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
      }
      DrawScale(dc, PictureOf(bar), client.bottom);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(bar, &paint);
      if (dc != nullptr) {
        BarPicture picture = PictureOf(bar);
        for (const Band& band : picture.bands) {
          if (band.width > 0) {
            SKFILLRECT(dc, band.x, picture.top, band.width, picture.height, static_cast<int32_t>(FromRgb(band.rgb)));
          }
        }
        RECT client;
        GetClientRect(bar, &client);
        DrawScale(dc, picture, client.bottom);
      }
      EndPaint(bar, &paint);
      return 0;
    }
    case PBM_SETPOS:
      SetPropA(bar, kUsedPercent, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(wParam)));
      InvalidateRect(bar, nullptr, TRUE);
      UpdateWindow(bar);
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(bar, kPreviousProc);
      RemovePropA(bar, kUsedPercent);
      break;
    default:
      break;
  }
  return CallWindowProcA(previous, bar, message, wParam, lParam);
}

}  // namespace

HWND CreateCapacityBar(HWND parent, int id, int x, int y, int width, int height, int flag) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  const DWORD style = WS_CHILD | WS_VISIBLE | (flag != 0 ? 1u : 0u);
  HWND frame = CreateWindowExA(WS_EX_CLIENTEDGE, "STATIC", "", style, x - 2, y, width + 4, height + 2, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (frame == nullptr) return nullptr;
  HWND bar = CreateWindowExA(0, PROGRESS_CLASSA, "", style, -1, -1, width + 2, height, frame,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(-1)), instance, nullptr);
  if (bar == nullptr) return nullptr;
  SetPropA(bar, kPreviousProc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(bar, GWLP_WNDPROC)));
  SetPropA(bar, kUsedPercent, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0)));
  SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CapacityBarProc));
  return bar;
}

}  // namespace burner

// The capacity bar's creator under the name the suite's documents give it.
extern "C" HWND __stdcall OrbBurnCapacityBar(HWND parent, int id, int x, int y, int width, int height, int flag) {
  return burner::CreateCapacityBar(parent, id, x, y, width, height, flag);
}
