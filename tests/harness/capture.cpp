// Window pixels for tests: copies a window's client area, children
// included, into a 24-bit BMP that ImageMagick and our own reader both read,
// and reads such a file back.
//
// Why a copy from the window's DC and not WM_PRINT: Wine's DefWindowProc
// ignores PRF_CHILDREN, so a printed window lacks its controls.  A window DC
// of this process reads the picture Wine keeps for the top-level window,
// which the children draw into as well (complete even when covered); for a
// window of another process Wine reads the displayed X window, so that
// window has to be on screen and uncovered.
#include "harness.h"

#include <cstdio>
#include <cstring>

namespace harness {
namespace {

constexpr DWORD kSettleTimeoutMs = 2000;
// Another process hands its drawing to the display when its thread goes
// idle; this covers that step after the paint itself.
constexpr DWORD kDisplayFlushMs = 100;
// A screen is far smaller; a bigger request is a broken window size.
constexpr uint64_t kMaxImageBytes = 256u << 20;

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

// Rows of a 24-bit BMP are padded to a multiple of four bytes.
uint64_t RowStride(int width) { return (static_cast<uint64_t>(width) * 3 + 3) & ~static_cast<uint64_t>(3); }

// Frees a DC from GetDC(Ex) on every exit path.
struct WindowDc {
  HWND hwnd;
  HDC dc;
  ~WindowDc() {
    if (dc) ReleaseDC(hwnd, dc);
  }
};
struct MemoryDc {
  HDC dc;
  ~MemoryDc() {
    if (dc) DeleteDC(dc);
  }
};
struct GdiObject {
  HGDIOBJ object;
  ~GdiObject() {
    if (object) DeleteObject(object);
  }
};
struct File {
  FILE* file;
  ~File() {
    if (file) fclose(file);
  }
};

// Lets pending paints of the window and its children happen so the copy
// shows the window as it is now.  Nothing is invalidated: the program under
// test sees no extra paint messages.
void SettlePaint(HWND hwnd) {
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return;
  }
  // The answer to a sent message proves the other thread is pumping; its
  // paints come once its queue is empty.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kSettleTimeoutMs, &ignored);
  const DWORD start = GetTickCount();
  while (GetUpdateRect(hwnd, nullptr, FALSE) && GetTickCount() - start < kSettleTimeoutMs) {
    PumpMessagesFor(10);
  }
  PumpMessagesFor(kDisplayFlushMs);
  SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kSettleTimeoutMs, &ignored);
}

// Copies the client area into bottom-up BGR rows (the BMP pixel layout).
bool CopyClientPixels(HWND hwnd, int width, int height, std::string* pixels) {
  // DCX_CACHE without DCX_CLIPCHILDREN: the children are part of the copy
  // whatever the window class asks for.
  WindowDc window = {hwnd, GetDCEx(hwnd, nullptr, DCX_CACHE)};
  if (!window.dc) return false;
  MemoryDc memory = {CreateCompatibleDC(window.dc)};
  if (!memory.dc) return false;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up, as the file wants
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap = {CreateDIBSection(window.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
  if (!bitmap.object || !bits) return false;

  HGDIOBJ previous = SelectObject(memory.dc, bitmap.object);
  const bool copied = BitBlt(memory.dc, 0, 0, width, height, window.dc, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
  GdiFlush();
  SelectObject(memory.dc, previous);
  if (!copied) return false;
  pixels->assign(static_cast<const char*>(bits), static_cast<size_t>(RowStride(width) * height));
  return true;
}

void PutLe16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xff));
  out->push_back(static_cast<char>(value >> 8));
}
void PutLe32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((value >> shift) & 0xff));
}
uint32_t GetLe32(const std::string& in, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(in[offset + i]);
  return value;
}
uint16_t GetLe16(const std::string& in, size_t offset) {
  return static_cast<uint16_t>(static_cast<unsigned char>(in[offset]) |
                               (static_cast<unsigned char>(in[offset + 1]) << 8));
}

// Writes the file headers and the rows as they are (bottom-up, padded).
bool WriteBmp24(const std::string& path, int width, int height, const std::string& pixels) {
  const uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
  std::string headers;
  headers += "BM";                                                         // bfType        0
  PutLe32(&headers, pixelOffset + static_cast<uint32_t>(pixels.size()));  // bfSize        2
  PutLe32(&headers, 0);                                                    // bfReserved1/2 6
  PutLe32(&headers, pixelOffset);                                          // bfOffBits     10
  PutLe32(&headers, kInfoHeaderBytes);                                     // biSize        14
  PutLe32(&headers, static_cast<uint32_t>(width));                         // biWidth       18
  PutLe32(&headers, static_cast<uint32_t>(height));                        // biHeight      22
  PutLe16(&headers, 1);                                                    // biPlanes      26
  PutLe16(&headers, 24);                                                   // biBitCount    28
  PutLe32(&headers, BI_RGB);                                               // biCompression 30
  PutLe32(&headers, static_cast<uint32_t>(pixels.size()));                 // biSizeImage   34
  PutLe32(&headers, 2835);  // biXPelsPerMeter 38: 72 dpi
  PutLe32(&headers, 2835);  // biYPelsPerMeter 42
  PutLe32(&headers, 0);     // biClrUsed       46
  PutLe32(&headers, 0);     // biClrImportant  50

  bool written = false;
  {
    File file = {fopen(path.c_str(), "wb")};
    if (!file.file) return false;
    written = fwrite(headers.data(), 1, headers.size(), file.file) == headers.size() &&
              fwrite(pixels.data(), 1, pixels.size(), file.file) == pixels.size() && fflush(file.file) == 0;
  }
  if (!written) remove(path.c_str());
  return written;
}

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  File file = {fopen(path.c_str(), "rb")};
  if (!file.file) return false;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file.file)) > 0) {
    if (bytes->size() + got > kMaxImageBytes + 1024) return false;
    bytes->append(buffer, got);
  }
  return ferror(file.file) == 0;
}

}  // namespace

bool CaptureWindowToBmp(HWND hwnd, const std::string& path) {
  // A hidden window has no pixels to copy.
  if (!hwnd || !IsWindow(hwnd) || !IsWindowVisible(hwnd)) return false;
  RECT client = {};
  if (!GetClientRect(hwnd, &client)) return false;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (width <= 0 || height <= 0 || RowStride(width) * height > kMaxImageBytes) return false;
  SettlePaint(hwnd);
  std::string pixels;
  if (!CopyClientPixels(hwnd, width, height, &pixels)) return false;
  return WriteBmp24(path, width, height, pixels);
}

bool ReadBmp24(const std::string& path, Bmp24* image) {
  std::string file;
  if (!ReadWholeFile(path, &file)) return false;
  if (file.size() < kFileHeaderBytes + kInfoHeaderBytes || file[0] != 'B' || file[1] != 'M') return false;
  const uint32_t pixelOffset = GetLe32(file, 10);
  const uint32_t infoBytes = GetLe32(file, 14);
  const int32_t width = static_cast<int32_t>(GetLe32(file, 18));
  const int32_t signedHeight = static_cast<int32_t>(GetLe32(file, 22));
  if (infoBytes < kInfoHeaderBytes || GetLe16(file, 26) != 1 || GetLe16(file, 28) != 24 ||
      GetLe32(file, 30) != BI_RGB) {
    return false;
  }
  // A negative height marks rows stored top-down.
  const bool topDown = signedHeight < 0;
  if (width <= 0 || signedHeight == 0 || signedHeight == INT32_MIN) return false;
  const int32_t height = topDown ? -signedHeight : signedHeight;
  const uint64_t stride = RowStride(width);
  const uint64_t pixelBytes = stride * static_cast<uint64_t>(height);
  if (pixelBytes > kMaxImageBytes || pixelOffset < kFileHeaderBytes + infoBytes ||
      pixelOffset + pixelBytes > file.size()) {
    return false;
  }

  Bmp24 decoded;
  decoded.width = width;
  decoded.height = height;
  decoded.pixels.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t storedRow = topDown ? y : height - 1 - y;
    const size_t rowStart = pixelOffset + static_cast<size_t>(stride * storedRow);
    for (int32_t x = 0; x < width; ++x) {
      const auto* bgr = reinterpret_cast<const unsigned char*>(file.data() + rowStart + 3 * x);
      decoded.pixels[static_cast<size_t>(y) * width + x] = RGB(bgr[2], bgr[1], bgr[0]);
    }
  }
  *image = std::move(decoded);
  return true;
}

}  // namespace harness
