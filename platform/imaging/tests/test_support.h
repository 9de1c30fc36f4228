// Pictures for the imaging tests, made and read back by ImageMagick: the
// tests run under Wine and start ImageMagick's Linux programs through a
// small shell script (Wine starts Linux programs, but does not hand their
// output back through pipes, so the script writes it to files that the test
// waits for).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging.h"
#include "test_files.h"

namespace testsupport {

using harness::FileExists;
using harness::ReadFileBytes;
using harness::ScratchFolder;
using harness::WriteFileBytes;

// The Linux path of a Windows path (through Wine's Z: drive).
std::string UnixPath(const std::string& windowsPath);

// Runs `script` with /bin/sh in `folder` and waits (30 s at most) for it.
// True when it ended in time with exit status 0; *output gets its output.
bool RunShell(const std::string& folder, const std::string& script, std::string* output);

// "FORMAT WIDTH HEIGHT" of the first frame as ImageMagick's identify reads it.
std::string Identify(const std::string& path);

// Pixels as ImageMagick decodes them: R, G, B bytes, top row first.
struct RgbPixels {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bytes;
  COLORREF At(int x, int y) const;
};
// The first frame of `path`; false when ImageMagick cannot read it.
bool ReadPixels(const std::string& path, RgbPixels* pixels);

// Runs `convert <arguments> 'target'` (arguments in shell syntax) in the
// file's folder; true when the file exists afterwards.
bool Convert(const std::string& arguments, const std::string& target);

// The fixture every test starts from: 40 x 30 pixels in four 20 x 15
// quadrants, red top-left, lime top-right, blue bottom-left, yellow
// bottom-right, with a white pixel at (1, 1) and a black one at (38, 28)
// so that turns and mirrors show.
bool MakeQuadrants(const std::string& target);
extern const char* const kQuadrantArguments;

// The largest difference of one colour channel between two pixels.
int ChannelDistance(COLORREF a, COLORREF b);

// The pixels of a bitmap as RGB values (COLORREF), for comparisons.
COLORREF BitmapPixel(const BITMAPHANDLE& bitmap, int x, int y);

// The number of pixels whose channels differ by more than `tolerance`,
// with the first one described in *first.
int CountDifferences(const RgbPixels& expected, const RgbPixels& actual, int tolerance, std::string* first);

}  // namespace testsupport
