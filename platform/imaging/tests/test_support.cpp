#include "test_support.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace testsupport {

namespace {

std::atomic<int> g_runs{0};

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  return out + "'";
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
  using Converter = char*(CDECL*)(const WCHAR*);
  static Converter convert = reinterpret_cast<Converter>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (convert == nullptr) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), length);
  char* unixPath = convert(wide.c_str());
  if (unixPath == nullptr) return {};
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

bool RunShell(const std::string& folder, const std::string& script, std::string* output) {
  const std::string name = "run" + std::to_string(g_runs++);
  const std::string scriptPath = folder + "\\" + name + ".sh";
  const std::string outPath = folder + "\\" + name + ".out";
  const std::string statusPath = folder + "\\" + name + ".status";
  const std::string unixFolder = UnixPath(folder);
  if (unixFolder.empty()) return false;
  const std::string body = "cd " + Quoted(unixFolder) + " || exit 1\n(\n" + script + "\n) > " + name +
                           ".out 2>&1\necho $? > " + name + ".tmp && mv " + name + ".tmp " + name + ".status\n";
  if (!WriteFileBytes(scriptPath, body)) return false;
  std::string command = "/bin/sh \"" + UnixPath(scriptPath) + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return false;
  // Wine starts a Linux program without a Windows process behind it and
  // leaves PROCESS_INFORMATION holding stale values: closing them would
  // close unrelated handles of this process, so they are left alone.
  if (!harness::WaitForFile(statusPath, 30000)) return false;
  std::string status;
  ReadFileBytes(statusPath, &status);
  if (output != nullptr) ReadFileBytes(outPath, output);
  return std::atoi(status.c_str()) == 0;
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
