// Drawing canvases and ImageMagick for the Wine tests; see
// image_test_support.h.
#include "image_test_support.h"

#include <vector>

#include "test_files.h"
#include "unix_tools.h"

namespace imagetest {

DibCanvas::DibCanvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
  if (bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  Fill(fill);
}

DibCanvas::~DibCanvas() {
  if (bitmap_ != nullptr) {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
  }
  DeleteDC(dc_);
}

void DibCanvas::Fill(COLORREF colour) {
  if (bits_ == nullptr) return;
  GdiFlush();
  const uint32_t pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
}

COLORREF DibCanvas::At(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(0, 0, 0);
  GdiFlush();
  const uint32_t pixel = bits_[y * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

std::string UnixPathOf(const std::string& windowsPath) { return harness::UnixPathOf(windowsPath); }

bool RunUnixShell(const std::string& command, DWORD timeoutMs, std::string* output) {
  return harness::RunUnixCommand(command, timeoutMs, output);
}

std::string Identify(const std::string& windowsPath, const std::string& format) {
  std::string output;
  const std::string unixPath = UnixPathOf(windowsPath);
  if (unixPath.empty()) return "";
  if (!RunUnixShell("identify -format '" + format + "' '" + unixPath + "'", 20000, &output)) return "";
  return output;
}

bool HaveImageMagick() {
  std::string output;
  return RunUnixShell("command -v identify", 20000, &output) && output.find("identify") != std::string::npos;
}

}  // namespace imagetest
