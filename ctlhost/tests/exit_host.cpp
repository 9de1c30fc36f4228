// A host that ends with live controls: it creates the test control (which
// the calling test has registered) and a window item, then returns from
// main without deleting anything, so the library sees its process detach
// at process exit.  Exit code 7 when it got that far; the caller bounds
// the wait, so a hang or a crash in the library's detach fails the test.
#include <windows.h>
#include <ole2.h>

#include "ctlhost20.h"

int main() {
  if (FAILED(CoInitialize(nullptr))) return 1;
  HWND parent = CreateWindowExA(0, "STATIC", "exit host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
  CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 150, 100, 20, parent, reinterpret_cast<HMENU>(5), nullptr,
                  nullptr);
  IDispatch* control = nullptr;
  if (QXCreateControl(parent, const_cast<char*>("Content"), 10, 10, 100, 100,
                      const_cast<char*>("PROGID:OrbTest.Control"), 1, &control) != 0) {
    return 2;
  }
  short visible = 0;
  if (QXGetControlVisible(5, kControlRefId, &visible) != 0 || visible != 1) return 3;
  // The log beside this program is the caller's to remove.
  return 7;
}
