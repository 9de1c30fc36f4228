// The engine's colour components of a COLORREF (SKGETRVALUE, SKGETGVALUE,
// SKGETBVALUE), through which the programs turn a GDI colour into an ARGB
// colour for GDI+.
#include <windows.h>

#include "themecore.h"
#include "themecore_imaging.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

int32_t TracedComponent(const char* function, COLORREF colour, int32_t component) {
  orbtrace::WriteCall(orbtrace::CallLine(kLibrary, function).Number(static_cast<int64_t>(colour)),
                      component);
  return component;
}

}  // namespace

THEMECORE_API int32_t __stdcall SKGETRVALUE(COLORREF colour) {
  try {
    return TracedComponent("SKGETRVALUE", colour, GetRValue(colour));
  } catch (...) {
    return GetRValue(colour);
  }
}

THEMECORE_API int32_t __stdcall SKGETGVALUE(COLORREF colour) {
  try {
    return TracedComponent("SKGETGVALUE", colour, GetGValue(colour));
  } catch (...) {
    return GetGValue(colour);
  }
}

THEMECORE_API int32_t __stdcall SKGETBVALUE(COLORREF colour) {
  try {
    return TracedComponent("SKGETBVALUE", colour, GetBValue(colour));
  } catch (...) {
    return GetBValue(colour);
  }
}
