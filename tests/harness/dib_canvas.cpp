#include "dib_canvas.h"

namespace harness {

namespace {

uint32_t PixelOf(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

}  // namespace

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
  const uint32_t pixel = PixelOf(colour);
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
}

void DibCanvas::Set(int x, int y, COLORREF colour) {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  GdiFlush();
  bits_[y * width_ + x] = PixelOf(colour);
}

COLORREF DibCanvas::At(int x, int y) const {
  if (bits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(0, 0, 0);
  GdiFlush();
  const uint32_t pixel = bits_[y * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

int DibCanvas::CountOf(COLORREF colour) const {
  int count = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) count += At(x, y) == colour ? 1 : 0;
  }
  return count;
}

HBITMAP DibCanvas::Release() {
  if (bitmap_ != nullptr) SelectObject(dc_, old_);
  HBITMAP bitmap = bitmap_;
  bitmap_ = nullptr;
  bits_ = nullptr;
  return bitmap;
}

}  // namespace harness
