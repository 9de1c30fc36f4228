// The engine's own line in a program's About box.
#include <windows.h>

#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

// Boxes break lines at "|": the engine's line stands above the program's.
constexpr char kAuthorLine[] = "Skins by the themecore engine.|";

}  // namespace

THEMECORE_API int32_t __stdcall SKAUTHOR(char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(orbtrace::CallLine("themecore", "SKAUTHOR"), kAuthorLine,
                                            out, outSize);
  } catch (...) {
    return 0;
  }
}
