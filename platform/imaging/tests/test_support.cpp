#include "test_support.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "unix_tools.h"

namespace testsupport {

namespace {

std::atomic<int> g_runs{0};

std::string Quoted(const std::string& text) { return harness::ShellQuoted(text); }

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) { return harness::UnixPathOf(windowsPath); }

bool RunShell(const std::string& folder, const std::string& script, std::string* output) {
  int status = -1;
  bool ended = harness::RunUnixCommand("cd " + Quoted(UnixPath(folder)) + " || exit 1\n" + script, 30000,
                                       output, &status);
  return ended && status == 0;
}

std::string Identify(const std::string& path) {
  std::string output;
  if (!RunShell(FolderOf(path), "identify -format '%m %w %h' " + Quoted(UnixPath(path) + "[0]"), &output))
    return "identify failed: " + output;
  return output;
}

COLORREF RgbPixels::At(int x, int y) const {
  const uint8_t* p = bytes.data() + (static_cast<size_t>(y) * width + x) * 3;
  return RGB(p[0], p[1], p[2]);
}

bool ReadPixels(const std::string& path, RgbPixels* pixels) {
  const std::string folder = FolderOf(path);
  const std::string raw = folder + "\\pixels" + std::to_string(g_runs++) + ".rgb";
  std::string size;
  const std::string source = Quoted(UnixPath(path) + "[0]");
  if (!RunShell(folder, "identify -format '%w %h' " + source + " && convert " + source +
                            " -alpha off -depth 8 " + Quoted("rgb:" + UnixPath(raw)),
                &size))
    return false;
  int width = 0, height = 0;
  if (std::sscanf(size.c_str(), "%d %d", &width, &height) != 2) return false;
  std::string bytes;
  if (!ReadFileBytes(raw, &bytes) || bytes.size() != static_cast<size_t>(width) * height * 3) return false;
  pixels->width = width;
  pixels->height = height;
  pixels->bytes.assign(bytes.begin(), bytes.end());
  return true;
}

bool Convert(const std::string& arguments, const std::string& target) {
  std::string output;
  RunShell(FolderOf(target), "convert " + arguments + " " + Quoted(UnixPath(target)), &output);
  return FileExists(target);
}

const char* const kQuadrantArguments =
    "-size 20x15 xc:red xc:lime +append \\( -size 20x15 xc:blue xc:yellow +append \\) -append "
    "-fill white -draw 'point 1,1' -fill black -draw 'point 38,28' -type TrueColor";

bool MakeQuadrants(const std::string& target) { return Convert(kQuadrantArguments, target); }

int ChannelDistance(COLORREF a, COLORREF b) {
  int dr = std::abs(GetRValue(a) - GetRValue(b));
  int dg = std::abs(GetGValue(a) - GetGValue(b));
  int db = std::abs(GetBValue(a) - GetBValue(b));
  return std::max(dr, std::max(dg, db));
}

COLORREF BitmapPixel(const BITMAPHANDLE& bitmap, int x, int y) {
  const uint8_t* p = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine + x * (bitmap.BitsPerPixel / 8);
  return RGB(p[2], p[1], p[0]);
}

int CountDifferences(const RgbPixels& expected, const RgbPixels& actual, int tolerance, std::string* first) {
  if (expected.width != actual.width || expected.height != actual.height) {
    if (first != nullptr) *first = "sizes differ";
    return expected.width * expected.height + 1;
  }
  int count = 0;
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      if (ChannelDistance(expected.At(x, y), actual.At(x, y)) <= tolerance) continue;
      if (count++ == 0 && first != nullptr) {
        char text[128];
        std::snprintf(text, sizeof(text), "(%d,%d) expected %06lx got %06lx", x, y,
                      static_cast<unsigned long>(expected.At(x, y)), static_cast<unsigned long>(actual.At(x, y)));
        *first = text;
      }
    }
  }
  return count;
}

}  // namespace testsupport
