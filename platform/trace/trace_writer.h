// Appends trace lines to the file named by the environment variable
// ORB_TRACE (a Windows path; under Wine e.g. Z:\tmp\trace.txt).
//
// The variable is read at every call, so a test can set or change it with
// SetEnvironmentVariable while the process runs.  Each line is written by one
// append to a file opened for that line alone and shared for reading and
// writing, under a named mutex of that file (TraceLockName), so several
// processes (a program and the programs it starts) can trace into the same
// file without losing or mixing lines.  Lines end with a single '\n'.
// Writing never changes the caller's last-error value, and a file that
// cannot be opened loses the line silently: tracing must never change what
// the traced function does.
#pragma once

#include <cstdint>
#include <string_view>

#include "trace_format.h"

namespace orbtrace {

// True when ORB_TRACE is set to a non-empty value.
bool IsEnabled();

// Appends `line` and a line end when tracing is enabled.
void WriteLine(std::string_view line);

// Formats `call` with this process's id and the result, and appends it.
void WriteCall(const CallLine& call, int64_t result);
void WriteCall(const CallLine& call, std::string_view formattedResult);

}  // namespace orbtrace
