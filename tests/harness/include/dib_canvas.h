// A picture to draw into and probe in the Wine tests: a 32-bit top-down DIB
// section selected into a memory DC.
#pragma once

#include <windows.h>

#include <cstdint>

namespace harness {

class DibCanvas {
 public:
  // Filled with `fill` at the start.
  DibCanvas(int width, int height, COLORREF fill = RGB(0, 0, 0));
  ~DibCanvas();
  DibCanvas(const DibCanvas&) = delete;
  DibCanvas& operator=(const DibCanvas&) = delete;

  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void Fill(COLORREF colour);
  void Set(int x, int y, COLORREF colour);  // outside the canvas: nothing
  COLORREF At(int x, int y) const;          // RGB(); black outside the canvas
  int CountOf(COLORREF colour) const;
  // Gives the bitmap up, no longer selected, to a caller that deletes it.
  HBITMAP Release();

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

}  // namespace harness
