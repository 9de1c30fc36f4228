// GDI+ start-up through the flat API, loaded by name (gdiplus_api.h).
#include "image_startup.h"

#include "gdiplus_api.h"
#include "themecore.h"

namespace suite {

uintptr_t ImgStartup() {
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return 0;
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  if (api->GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 0;
  return token;
}

void ImgShutdown(uintptr_t token) {
  const GdiplusApi* api = Gdiplus();
  if (token == 0 || api == nullptr) return;
  api->GdiplusShutdown(token);
}

uintptr_t ImgStartupWhenPresent() {
  if (themecore::FindFile("gdiplus.dll").empty()) return 0;
  return ImgStartup();
}

}  // namespace suite
