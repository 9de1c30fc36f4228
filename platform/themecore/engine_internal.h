// Helpers the engine's files share: the program path, handles as trace
// lines show them, text-list outputs and bounded file reads.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "trace_format.h"

namespace themecore::engine {

// Full path of the process's main EXE (engine.cpp).
std::string ExePath();
// A handle as trace lines show it: 0x%08llX (engine.cpp).
std::string HandleText(const void* handle);
// The trace form of a text list written to a caller buffer (engine.cpp).
std::string OutListText(const std::string& list, const char* out, int32_t outSize);
// Reads a whole file of at most maxBytes; *error gets the Windows error
// when it fails (files_io.cpp).
bool ReadFileBytes(const std::string& path, size_t maxBytes, std::string* bytes, DWORD* error);

// Ends an export that returns a text: copies it to the caller's buffer by
// the output-buffer rule, traces `call` with the written text and the
// buffer size added, and returns the text's full length (engine.cpp).
int32_t ReturnTextOut(orbtrace::CallLine call, std::string_view text, char* out, int32_t outSize);

}  // namespace themecore::engine
