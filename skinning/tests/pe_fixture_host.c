/* A small Windows program whose import tables the native tests read: it
   imports BeginPaint and EndPaint as every painting window does.  Built by
   the native tree with the mingw compilers of both architectures, and once
   more against an import library that takes BeginPaint by ordinal. */
#include <windows.h>

static LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int main(void) {
  WNDCLASSA windowClass = {0};
  windowClass.lpfnWndProc = FixtureProc;
  windowClass.lpszClassName = "PEFIXTURE";
  return RegisterClassA(&windowClass) != 0 ? 0 : 1;
}
