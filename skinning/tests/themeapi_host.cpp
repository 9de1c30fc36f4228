// A small host program that uses the skinning library as the disc burner
// does: it links THEMEAPI.DLL by import, makes its window with push
// buttons (one disabled), a label and an edit, skins it before showing it,
// and runs a message loop with IsDialogMessage.  It does not start the skin
// engine itself: the library does, with the skin file beside the program.
//
//   themeapi_host.exe EFFECT LOGFILE
//
// LOGFILE gets one line per event: "skinned N" (skSkinWindow's result),
// "command ID CODE", "syscommand CODE", "destroyed".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "themeapi.h"

namespace {

std::string g_logFile;

void Log(const std::string& line) {
  FILE* file = fopen(g_logFile.c_str(), "ab");
  if (file == nullptr) return;
  fprintf(file, "%s\n", line.c_str());
  fclose(file);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      Log("command " + std::to_string(LOWORD(wParam)) + " " + std::to_string(HIWORD(wParam)));
      return 0;
    case WM_SYSCOMMAND:
      Log("syscommand " + std::to_string(wParam & 0xFFF0));
      break;
    case WM_DESTROY:
      Log("destroyed");
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND Child(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int width,
           int height, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                         nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc < 3) return 2;
  const int effect = std::atoi(__argv[1]);
  g_logFile = __argv[2];
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = "THEMEAPIHOST";
  if (!RegisterClassA(&wc)) return 3;
  HWND window = CreateWindowExA(0, "THEMEAPIHOST", "Burner host", WS_OVERLAPPEDWINDOW, 200, 150, 420, 300,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 4;
  Child(window, "BUTTON", "&Burn", WS_TABSTOP, 20, 20, 70, 24, 7);
  Child(window, "BUTTON", "&Eject", WS_TABSTOP | WS_DISABLED, 100, 20, 70, 24, 9);
  Child(window, "BUTTON", "&Load", WS_TABSTOP, 180, 20, 70, 24, 10);
  Child(window, "STATIC", "Volume label", 0, 20, 70, 90, 20, 0);
  Child(window, "EDIT", "DISC", WS_BORDER | WS_TABSTOP, 120, 70, 120, 22, 14);
  Log("skinned " + std::to_string(skSkinWindow(window, "|.|Minimize|Maximize|Restore|Close", effect)));
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
