// The message loop's key pre-filter: keys and clicks on the two file lists
// that the main window handles before the lists see them.
#include <windows.h>

#include "browser_state.h"

namespace browser {

namespace {

bool IsList(HWND window) {
  BrowserState& b = Browser();
  return window != nullptr && (window == b.fileList || window == b.secondList);
}

bool ControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

int32_t FilterKeyDown(HWND mainWindow, HWND window, WPARAM key) {
  BrowserState& b = Browser();
  switch (key) {
    case VK_DELETE:
      if (window == b.fileList && SendMessageA(window, LB_GETSELCOUNT, 0, 0) > 0) {
        PostMessageA(mainWindow, WM_COMMAND, 105, 0);
      } else if (window == b.secondList && SendMessageA(window, LB_GETSELCOUNT, 0, 0) > 0) {
        PostMessageA(mainWindow, WM_COMMAND, 201, 0);
      }
      return 0;
    case VK_UP:
      // The caret does not leave the top of the file list.
      if (window == b.fileList && SendMessageA(window, LB_GETCOUNT, 0, 0) > 0 &&
          SendMessageA(window, LB_GETCURSEL, 0, 0) == 0) {
        return 1;
      }
      return 0;
    case VK_DOWN:
      if (window == b.fileList) {
        LRESULT count = SendMessageA(window, LB_GETCOUNT, 0, 0);
        if (count > 0 && SendMessageA(window, LB_GETCURSEL, 0, 0) == count - 1) return 1;
      }
      return 0;
    case VK_F1:
      PostMessageA(mainWindow, WM_COMMAND, 108, 0);
      return 0;
    case 'A':
      if (ControlDown() && IsList(window)) SendMessageA(window, LB_SETSEL, TRUE, -1);
      return 0;
    case 'Z':
      if (ControlDown() && IsList(window)) SendMessageA(window, LB_SETSEL, FALSE, -1);
      return 0;
  }
  return 0;
}

int32_t FilterDoubleClick(HWND window) {
  BrowserState& b = Browser();
  if (window == b.fileList) {
    BrowserWindowProc(window, WM_COMMAND, 5, 0);
    return 1;
  }
  if (window == b.secondList) {
    LRESULT count = SendMessageA(window, LB_GETCOUNT, 0, 0);
    LRESULT index = SendMessageA(window, LB_GETCURSEL, 0, 0);
    BrowserWindowProc(window, WM_COMMAND, 10, 0);
    if (count > 0 && count - 1 <= index) --index;
    SendMessageA(window, LB_SETSEL, TRUE, index);
    return 1;
  }
  return 0;
}

}  // namespace

int32_t KeyPreFilter(HWND mainWindow, MSG* message) {
  BrowserState& b = Browser();
  HWND window = message->hwnd;
  switch (message->message) {
    case WM_KEYDOWN:
      return FilterKeyDown(mainWindow, window, message->wParam);
    case WM_LBUTTONDBLCLK:
      return FilterDoubleClick(window);
    case WM_LBUTTONDOWN: {
      bool swallow = IsList(window) && b.rightButtonDown;
      b.rightButtonDown = false;
      return swallow ? 1 : 0;
    }
    case WM_COMMAND:
      b.rightButtonDown = false;
      return 0;
    case WM_RBUTTONDOWN:
      if (IsList(window)) {
        BrowserWindowProc(window, WM_RBUTTONDOWN, 0, 0);
        b.rightButtonDown = true;
        return 1;
      }
      return 0;
    case WM_SYSKEYDOWN: {
      WPARAM key = message->wParam;
      bool upDown = key == VK_UP || key == VK_DOWN;
      bool arrow = upDown || key == VK_LEFT || key == VK_RIGHT;
      if ((window == b.secondList && upDown) || (window == b.fileList && arrow)) {
        BrowserWindowProc(window, WM_SYSKEYDOWN, key, message->lParam);
      }
      return 0;
    }
  }
  return 0;
}

}  // namespace browser
