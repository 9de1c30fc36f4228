// GDI+ start-up through the flat API, loaded by name.
#include "image_startup.h"

#include <windows.h>

namespace suite {

namespace {

// The start-up input of the GDI+ flat API (version 1).
struct GdiplusStartupInput {
  UINT32 gdiplusVersion = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

using StartupFunction = int(WINAPI*)(ULONG_PTR* token, const GdiplusStartupInput* input,
                                     void* output);
using ShutdownFunction = void(WINAPI*)(ULONG_PTR token);

HMODULE g_gdiplus = nullptr;

}  // namespace

uintptr_t ImgStartup() {
  if (g_gdiplus == nullptr) g_gdiplus = LoadLibraryA("gdiplus.dll");
  if (g_gdiplus == nullptr) return 0;
  auto startup = reinterpret_cast<StartupFunction>(GetProcAddress(g_gdiplus, "GdiplusStartup"));
  if (startup == nullptr) return 0;
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (startup(&token, &input, nullptr) != 0) return 0;
  return token;
}

void ImgShutdown(uintptr_t token) {
  if (token == 0 || g_gdiplus == nullptr) return;
  auto shutdown = reinterpret_cast<ShutdownFunction>(GetProcAddress(g_gdiplus, "GdiplusShutdown"));
  if (shutdown != nullptr) shutdown(token);
}

}  // namespace suite
