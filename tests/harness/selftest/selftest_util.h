// Helpers shared by the harness self-test: running orbdriver from the
// program folder while this thread keeps answering messages, and scratch
// files that Linux tools could read as well.
#pragma once

#include <windows.h>

#include <string>

namespace selftest {

// Time a Wine process may take to start, do its work and end.
constexpr DWORD kChildMs = 15000;

// The quoted path of orbdriver.exe, which the build puts beside us.
std::string DriverCommand();

// A fresh path in the temporary folder, unique to this run; any old file
// there is removed.
std::string ScratchPath(const std::string& name);

// The file's bytes, or "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Runs "orbdriver ARGUMENTS", pumping this thread's messages meanwhile (the
// driver may be talking to our windows).  Returns its exit code, or -1 when
// it did not end in time (it is killed), -2 when it could not start;
// *output gets what it printed.
long RunDriver(const std::string& arguments, std::string* output, DWORD timeoutMs = kChildMs);

}  // namespace selftest
