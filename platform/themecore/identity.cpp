// The engine's own line in a program's About box.
#include <windows.h>

#include <cstring>

#include "output_buffer.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

// Boxes break lines at "|": the engine's line stands above the program's.
constexpr char kAuthorLine[] = "Skins by the themecore engine.|";

}  // namespace

THEMECORE_API int32_t __stdcall SKAUTHOR(char* out, int32_t outSize) {
  try {
    int32_t length = static_cast<int32_t>(std::strlen(kAuthorLine));
    themecore::CopyTextOut(kAuthorLine, out, outSize);
    orbtrace::WriteCall(orbtrace::CallLine("themecore", "SKAUTHOR").OutText(out).Number(outSize), length);
    return length;
  } catch (...) {
    return 0;
  }
}
