// Files, folders and environment for the tonelink Win32 tests, and the
// library's state between tests.  Everything a test makes lives below one
// fresh folder in TEMP, removed at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_files.h"

namespace testsupport {

using harness::FileExists;
using harness::ReadFileBytes;
using harness::ScopedEnvironment;
using harness::ScratchFolder;
using harness::SplitLines;
using harness::WriteFileBytes;

// Brings the library to its state at start: loaded, output not initialised.
void ResetLibrary();

// The library's text of an error code.
std::string Description(int32_t code);

// The machine's CD drives (the library numbers them from 0 in this order).
std::vector<char> CdDriveLetters();

}  // namespace testsupport
