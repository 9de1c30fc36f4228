// Loading the GDI+ flat functions; see gdiplus_api.h.
#include "gdiplus_api.h"

#include <type_traits>

namespace suite {

namespace {

bool LoadApi(GdiplusApi* api) {
  HMODULE module = LoadLibraryA("gdiplus.dll");
  if (module == nullptr) return false;
  bool complete = true;
  auto find = [module, &complete](auto& function, const char* name) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(GetProcAddress(module, name));
    if (function == nullptr) complete = false;
  };
  find(api->GdiplusStartup, "GdiplusStartup");
  find(api->GdiplusShutdown, "GdiplusShutdown");
#define SUITE_GDIPLUS_FIND(name) find(api->name, #name);
  SUITE_GDIPLUS_FUNCTIONS(SUITE_GDIPLUS_FIND)
#undef SUITE_GDIPLUS_FIND
  // The module stays loaded for the process: the table points into it.
  return complete;
}

}  // namespace

const GdiplusApi* Gdiplus() {
  static GdiplusApi api;
  static const bool loaded = LoadApi(&api);
  return loaded ? &api : nullptr;
}

}  // namespace suite
