// Helpers of the Wine tests that draw and save pictures: a 32-bit DIB
// section to draw into and probe, and the Linux side's ImageMagick, which
// reads the files the tests write (Wine starts Linux programs as well).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace imagetest {

// A 32-bit top-down DIB section selected into a memory DC, filled with one
// colour at the start.
class DibCanvas {
 public:
  DibCanvas(int width, int height, COLORREF fill);
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF colour);
  COLORREF At(int x, int y) const;  // RGB(); black outside the canvas
  // The smallest box holding every pixel for which `differs` holds, within
  // `area` (right and bottom excluded; the whole canvas by default); false
  // when there is none.
  template <typename Predicate>
  bool BoxOf(Predicate differs, RECT* box, RECT area = RECT{0, 0, 1 << 30, 1 << 30}) const {
    bool found = false;
    RECT r = {width_, height_, -1, -1};
    const int bottom = area.bottom < height_ ? area.bottom : height_;
    const int right = area.right < width_ ? area.right : width_;
    for (int y = area.top; y < bottom; ++y) {
      for (int x = area.left; x < right; ++x) {
        if (!differs(At(x, y))) continue;
        found = true;
        r.left = x < r.left ? x : r.left;
        r.top = y < r.top ? y : r.top;
        r.right = x > r.right ? x : r.right;
        r.bottom = y > r.bottom ? y : r.bottom;
      }
    }
    if (found) *box = r;
    return found;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

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
