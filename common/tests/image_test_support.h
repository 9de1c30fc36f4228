// Helpers of the Wine tests that draw and save pictures: a 32-bit DIB
// section to draw into and probe, and the Linux side's ImageMagick, which
// reads the files the tests write (Wine starts Linux programs as well).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "dib_canvas.h"

namespace imagetest {

// The drawing canvas is the harness's.
using harness::DibCanvas;

// The Linux path of a Windows path (Wine's own mapping); "" outside Wine.
std::string UnixPathOf(const std::string& windowsPath);

// Runs a shell command line on the Linux side and gives its standard output
// and error; false when it could not be started or did not end within the
// time-out.  The command must not hold double quotes.
bool RunUnixShell(const std::string& command, DWORD timeoutMs, std::string* output);

// ImageMagick's `identify -format <format>` of a Windows path; "" on failure.
std::string Identify(const std::string& windowsPath, const std::string& format);

// True when ImageMagick's identify can be run from this test.
bool HaveImageMagick();

}  // namespace imagetest
