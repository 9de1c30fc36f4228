// The name rules of the engine: SKCRUNCH and SKSEQUENCE (the logic is in
// core/name_sequence).
#include <windows.h>

#include <string>

#include "name_sequence.h"
#include "output_buffer.h"
#include "themecore.h"
#include "themecore_names.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

}  // namespace

THEMECORE_API int32_t __stdcall SKCRUNCH(const char* text, int32_t c, char* out, int32_t outSize) {
  try {
    std::string crunched = themecore::CrunchRuns(text != nullptr ? text : "", static_cast<char>(c & 0xFF));
    int32_t length = themecore::CopyTextOut(crunched, out, outSize);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCRUNCH").Text(text != nullptr ? text : "").Number(c),
                        length);
    return length;
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSEQUENCE(const char* stem, char* out, int32_t outSize) {
  try {
    std::string next = themecore::NextInSequence(stem != nullptr ? stem : "");
    int32_t length = themecore::CopyTextOut(next, out, outSize);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKSEQUENCE").Text(stem != nullptr ? stem : ""), length);
    return length;
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}
