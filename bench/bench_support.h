// What the benchmark drivers that run under Wine share: a clock, finding a
// window of a class wherever the skin engine put it, the media browser's
// file list, and one way of reporting a failure.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "harness.h"

namespace bench {

// Seconds from the performance counter.
inline double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return double(counter.QuadPart) / double(frequency.QuadPart);
}

namespace detail {

struct ClassSearch {
  const char* className;
  int controlId;  // a control the window must have; 0 for none
  HWND found;
};

inline BOOL CALLBACK FindOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  if (search->controlId != 0 && GetDlgItem(window, search->controlId) == nullptr) return TRUE;
  search->found = window;
  return FALSE;
}

inline BOOL CALLBACK FindTopOfClass(HWND window, LPARAM param) {
  if (!FindOfClass(window, param)) return FALSE;
  EnumChildWindows(window, FindOfClass, param);
  return reinterpret_cast<ClassSearch*>(param)->found == nullptr;
}

inline BOOL CALLBACK FindChildWithId(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (GetDlgCtrlID(child) != search->controlId) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace detail

// A window of `className`, top level or a child of another (the skin
// engine frames a box as a child of its frame) that has the control
// `controlId` (0: any); null when there is none.
inline HWND FindWindowOfClass(const char* className, int controlId = 0) {
  detail::ClassSearch search{className, controlId, nullptr};
  EnumWindows(detail::FindTopOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The media browser's file list (its child with id 3); null before it is made.
inline HWND BrowserFileList(HWND browser) {
  detail::ClassSearch search{nullptr, 3, nullptr};
  EnumChildWindows(browser, detail::FindChildWithId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits for the browser's file list to show `files` items, then selects
// them all (command 112, as Select all in its menu); the list, or null when
// it did not come in time.
inline HWND SelectAllListed(HWND browser, LRESULT files) {
  HWND list = nullptr;
  harness::PumpUntil([&] { return (list = BrowserFileList(browser)) != nullptr; }, 60000);
  if (list == nullptr || !harness::PumpUntil([&] { return SendMessageA(list, LB_GETCOUNT, 0, 0) == files; }, 60000)) {
    return nullptr;
  }
  PostMessageA(browser, WM_COMMAND, 112, 0);
  harness::PumpUntil([&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == files; }, 10000);
  return list;
}

// Prints "<program>: <what>" on standard error; returns 1, the exit status.
inline int Fail(const char* what) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  const char* name = std::strrchr(path, '\\');
  name = name != nullptr ? name + 1 : path;
  const char* dot = std::strrchr(name, '.');
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(dot != nullptr ? dot - name : std::strlen(name)), name, what);
  return 1;
}

}  // namespace bench
