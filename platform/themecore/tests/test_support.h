// What the themecore Win32 tests share: the harness's file, folder and
// environment helpers, the program folder and the trace's quoting.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "test_files.h"

namespace testsupport {

// The folder of the test program, without a final backslash.
std::string ProgramFolder();

using harness::CurrentFolder;
using harness::FileExists;
using harness::ReadFileBytes;
using harness::RemoveTree;
using harness::ScopedCurrentFolder;
using harness::ScopedEnvironment;
using harness::ScratchFolder;
using harness::SplitLines;
using harness::WaitForFile;
using harness::WriteFileBytes;

// The text as a trace line quotes it: '"' and '\' as \x22 and \x5C (the
// tests only pass printable ASCII through here).
std::string TraceQuoted(const std::string& text);

}  // namespace testsupport
