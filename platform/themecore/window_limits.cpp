// The smallest size of a skinned main window: room for the caption with its
// buttons, the menu bar, the status line and a little content.
#include <windows.h>

#include "themecore.h"
#include "trace_writer.h"

namespace {

constexpr int32_t kMinimumWidth = 320;
constexpr int32_t kMinimumHeight = 200;

}  // namespace

THEMECORE_API int32_t __stdcall SKXMINI() {
  orbtrace::WriteCall(orbtrace::CallLine("themecore", "SKXMINI"), kMinimumWidth);
  return kMinimumWidth;
}

THEMECORE_API int32_t __stdcall SKYMINI() {
  orbtrace::WriteCall(orbtrace::CallLine("themecore", "SKYMINI"), kMinimumHeight);
  return kMinimumHeight;
}
