// For the tests of programs that open the file picker: finds the picker
// another process shows.
#pragma once

#include <windows.h>

namespace picker_test {

struct ChooserSearch {
  DWORD process;
  HWND dialog;
};

inline BOOL CALLBACK FindChooserFrame(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ChooserSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner != search->process || lstrcmpA(name, "SKPOPUP") != 0 || !IsWindowVisible(window)) return TRUE;
  search->dialog = FindWindowExA(window, nullptr, "ORBDLG", nullptr);
  return search->dialog == nullptr;
}

// The open file picker of another process: the dialog (class ORBDLG)
// inside the skin's popup frame, or null.
inline HWND FindChooserDialog(DWORD process) {
  ChooserSearch search = {process, nullptr};
  EnumWindows(FindChooserFrame, reinterpret_cast<LPARAM>(&search));
  return search.dialog;
}

}  // namespace picker_test
