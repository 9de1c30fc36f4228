// Running the Linux side's tools (ImageMagick, xorriso, ffmpeg...) from a
// test program under Wine, to check what the suite wrote with a tool that
// knows the format.
#pragma once

#include <windows.h>

#include <string>

namespace harness {

// The Linux path of a Windows path ("" when Wine cannot map it, or when not
// running under Wine).
std::string UnixPathOf(const std::string& windowsPath);

// `text` as one word of a POSIX shell command line (single-quoted).
std::string ShellQuoted(const std::string& text);

// Runs `command` with /bin/sh and waits up to `timeoutMs` for its end.
// Returns true when it ended in time; `output` (may be null) gets what it
// wrote to stdout and stderr, `status` (may be null) its exit status.
//
// Wine starts a Linux program without a Windows process behind it: the
// handles it reports are not the child's (closing them would close
// unrelated handles of the test), and its end is not signalled.  The
// command's shell therefore writes its exit status to a file last, and
// that file's appearance is the end.
bool RunUnixCommand(const std::string& command, DWORD timeoutMs, std::string* output, int* status = nullptr);

// A Windows path as one word of a shell command line: its Linux path,
// single-quoted.
std::string UnixPathWord(const std::string& windowsPath);

// Runs a tool as RunUnixCommand does; `output` gets what it wrote without
// the final line ends.  True when it ended in time with exit status 0.
bool UnixToolOutput(const std::string& command, DWORD timeoutMs, std::string* output);

}  // namespace harness
