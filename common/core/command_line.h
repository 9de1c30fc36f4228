// Command lines the suite forms to start its modules and the help viewer.
//
// Program folders routinely hold blanks ("C:\Program Files\..."), and
// CreateProcess splits an unquoted command line at the first blank that
// leaves an existing file - or at none - so every path is quoted here.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// The argument as the Windows command-line parser reads it back: quoted
// when empty or holding a blank, tab or quote, with inner quotes and the
// backslashes before them escaped.  Other arguments are left as they are.
std::string QuoteArgument(const std::string& argument);

// "program path" followed by a blank and `arguments` when there are any.
// `arguments` is appended as it stands (the caller quotes its parts).
std::string ProgramCommandLine(const std::string& programPath, const std::string& arguments);

// Milliseconds from `startTick` to `nowTick` of GetTickCount, correct across
// its wrap to 0 after 49.7 days.
constexpr uint32_t TicksElapsed(uint32_t startTick, uint32_t nowTick) {
  return nowTick - startTick;
}

}  // namespace suite
