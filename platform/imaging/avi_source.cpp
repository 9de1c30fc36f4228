#include "avi_source.h"

#include <cstring>
#include <vector>

#include "avi_header.h"
#include "error_codes.h"

namespace imaging {

namespace {

// The first bytes of a file, enough for any sane AVI header list.
constexpr DWORD kHeaderBytes = 1 << 20;

// AVIFile needs COM on the thread that opens files; it is started once per
// such thread and left running (it may not be stopped while a stream made
// on that thread is in use anywhere).
void StartAviFileOnThisThread() {
  static thread_local bool started = false;
  if (started) return;
  AVIFileInit();
  started = true;
}

int32_t CheckHeader(const std::string& path, AviHeader* header) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kErrorFileNotFound;
  std::vector<uint8_t> bytes(kHeaderBytes);
  DWORD read = 0;
  BOOL ok = ReadFile(file, bytes.data(), kHeaderBytes, &read, nullptr);
  CloseHandle(file);
  if (!ok) return kErrorFileNotFound;
  switch (ReadAviHeader(bytes.data(), read, header)) {
    case AviCheck::kVideo:
      return kSuccess;
    case AviCheck::kNotAvi:
      return kErrorFileFormat;
    case AviCheck::kDamaged:
      break;
  }
  return kErrorFileRead;
}

// The size of a packed DIB's colour table.
size_t ColourTableBytes(const BITMAPINFOHEADER& header) {
  if (header.biCompression == BI_BITFIELDS) return 3 * sizeof(DWORD);
  if (header.biBitCount > 8) return header.biClrUsed * sizeof(RGBQUAD);
  DWORD colours = header.biClrUsed != 0 ? header.biClrUsed : (1u << header.biBitCount);
  return colours * sizeof(RGBQUAD);
}

}  // namespace

int32_t AviSource::Open(const std::string& path, std::unique_ptr<AviSource>* source) {
  if (path.empty()) return kErrorInvalidParameter;
  AviHeader header;
  int32_t checked = CheckHeader(path, &header);
  if (checked != kSuccess) return checked;

  StartAviFileOnThisThread();
  std::unique_ptr<AviSource> made(new AviSource());
  if (AVIFileOpenA(&made->file_, path.c_str(), OF_READ | OF_SHARE_DENY_WRITE, nullptr) != 0) {
    made->file_ = nullptr;
    return kErrorFileRead;
  }
  if (AVIFileGetStream(made->file_, &made->stream_, streamtypeVIDEO, 0) != 0) {
    made->stream_ = nullptr;
    return kErrorFileFormat;
  }
  AVISTREAMINFOA info{};
  if (AVIStreamInfoA(made->stream_, &info, sizeof(info)) != 0) return kErrorFileRead;
  std::optional<FrameRate> rate = MakeFrameRate(info.dwRate, info.dwScale);
  if (!rate) rate = FrameRateOfMicros(header.microsPerFrame);
  if (!rate) return kErrorFileRead;
  made->rate_ = *rate;
  LONG start = AVIStreamStart(made->stream_);
  LONG length = AVIStreamLength(made->stream_);
  if (start < 0 || length <= 0) return kErrorFileRead;
  made->start_ = start;
  made->length_ = length;

  LONG formatBytes = 0;
  if (AVIStreamReadFormat(made->stream_, start, nullptr, &formatBytes) != 0 ||
      formatBytes < static_cast<LONG>(sizeof(BITMAPINFOHEADER)) || formatBytes > (1 << 16))
    return kErrorFileRead;
  std::vector<uint8_t> format(static_cast<size_t>(formatBytes));
  if (AVIStreamReadFormat(made->stream_, start, format.data(), &formatBytes) != 0) return kErrorFileRead;
  BITMAPINFOHEADER stored;
  std::memcpy(&stored, format.data(), sizeof(stored));
  LONG height = stored.biHeight < 0 ? -stored.biHeight : stored.biHeight;
  if (stored.biWidth <= 0 || height <= 0 || stored.biWidth > static_cast<LONG>(kMaxVideoSide) ||
      height > static_cast<LONG>(kMaxVideoSide))
    return kErrorFileRead;
  made->width_ = stored.biWidth;
  made->height_ = height;

  // The decompressor's own output format first (GDI converts any DIB while
  // drawing); Wine's Video-1 decompressor gives red and blue swapped when
  // asked for 24 bits.  When there is no default, 24 bits are asked for.
  made->frames_ = AVIStreamGetFrameOpen(made->stream_, nullptr);
  if (made->frames_ == nullptr) {
    BITMAPINFOHEADER wanted{};
    wanted.biSize = sizeof(wanted);
    wanted.biWidth = made->width_;
    wanted.biHeight = made->height_;
    wanted.biPlanes = 1;
    wanted.biBitCount = 24;
    wanted.biCompression = BI_RGB;
    made->frames_ = AVIStreamGetFrameOpen(made->stream_, &wanted);
  }
  if (made->frames_ == nullptr) return kErrorFileFormat;  // no decompressor for this compression
  *source = std::move(made);
  return kSuccess;
}

AviSource::~AviSource() {
  if (frames_ != nullptr) AVIStreamGetFrameClose(frames_);
  if (stream_ != nullptr) AVIStreamRelease(stream_);
  if (file_ != nullptr) AVIFileRelease(file_);
}

bool AviSource::DrawFrame(int32_t frame, HDC target) {
  if (frame < 0 || frame >= length_ || target == nullptr) return false;
  auto* packed = static_cast<BITMAPINFOHEADER*>(AVIStreamGetFrame(frames_, start_ + frame));
  if (packed == nullptr || packed->biSize < sizeof(BITMAPINFOHEADER) || packed->biWidth <= 0 ||
      packed->biHeight == 0)
    return false;
  const uint8_t* bits = reinterpret_cast<const uint8_t*>(packed) + packed->biSize + ColourTableBytes(*packed);
  LONG height = packed->biHeight < 0 ? -packed->biHeight : packed->biHeight;
  int lines = StretchDIBits(target, 0, 0, width_, height_, 0, 0, packed->biWidth, height, bits,
                            reinterpret_cast<BITMAPINFO*>(packed), DIB_RGB_COLORS, SRCCOPY);
  GdiFlush();
  return lines != 0 && lines != static_cast<int>(GDI_ERROR);
}

}  // namespace imaging
