// reelcap.dll: a window's client area recorded to an AVI file.  Each
// recording owns an AVI file with one video stream (compressed when the
// system has the compressor asked for, else plain 24-bit frames) and a
// capture thread that copies the window at the frame rate and writes each
// frame.  Handles are small numbers into a table, so they fit the int the
// interface gives them on every architecture.
#include "reelcap.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "pixel_layout.h"

namespace {

constexpr UINT kFrameWritten = 0x7EA;
constexpr UINT kFrameRepeated = 0x7ED;
constexpr UINT kSecondRecorded = 0x7EC;
constexpr int kMaxRecordings = 16;
constexpr LONG kMaxSide = 8192;
constexpr DWORD kStopWaitMs = 5000;

struct Recording {
  HWND owner = nullptr;
  HWND window = nullptr;
  int framesPerSecond = 0;
  BITMAPINFOHEADER format{};
  PAVIFILE file = nullptr;
  PAVISTREAM raw = nullptr;
  PAVISTREAM stream = nullptr;  // what frames are written to (raw or compressed)
  HANDLE thread = nullptr;
  volatile LONG stop = 0;
  // What the last capture came to: 0, or REELCAP_ERROR_FILE when it ended
  // early and the file lacks frames.
  int captureResult = 0;
  LONG framesWritten = 0;
};

std::mutex g_lock;
std::unique_ptr<Recording> g_recordings[kMaxRecordings];

Recording* Find(int handle) {
  if (handle < 1 || handle > kMaxRecordings) return nullptr;
  return g_recordings[handle - 1].get();
}

void Close(Recording& r) {
  if (r.stream != nullptr && r.stream != r.raw) AVIStreamRelease(r.stream);
  if (r.raw != nullptr) AVIStreamRelease(r.raw);
  if (r.file != nullptr) AVIFileRelease(r.file);
  r.stream = r.raw = nullptr;
  r.file = nullptr;
  AVIFileExit();
}

// Copies the window's client area into `bits` (a bottom-up 24-bit DIB of
// the recording's size); false when the window is gone.
bool CaptureFrame(const Recording& r, HDC memory, HBITMAP section) {
  if (!IsWindow(r.window)) return false;
  HDC source = GetDC(r.window);
  if (source == nullptr) return false;
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, r.format.biWidth, r.format.biHeight, source, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  ReleaseDC(r.window, source);
  GdiFlush();
  return true;
}

// Ends with 0 when asked to stop, 1 when it could not go on (no frame
// memory, the window gone, a frame not written): the file is then short.
DWORD WINAPI CaptureMain(void* parameter) {
  auto& r = *static_cast<Recording*>(parameter);
  BITMAPINFO info{};
  info.bmiHeader = r.format;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory == nullptr || section == nullptr || bits == nullptr) {
    if (section != nullptr) DeleteObject(section);
    if (memory != nullptr) DeleteDC(memory);
    return 1;
  }
  const LONG frameBytes = static_cast<LONG>(r.format.biSizeImage);
  const DWORD started = GetTickCount();
  LONG frame = 0;
  DWORD result = 0;
  while (InterlockedCompareExchange(&r.stop, 0, 0) == 0) {
    // The frame the clock has reached: a capture that fell behind writes
    // the last picture again so that the file keeps the rate.
    LONG due = static_cast<LONG>(uint64_t{GetTickCount() - started} * r.framesPerSecond / 1000);
    if (frame <= due) {
      bool repeated = frame < due && frame > 0;
      if ((!repeated && !CaptureFrame(r, memory, section)) ||
          FAILED(AVIStreamWrite(r.stream, frame, 1, bits, frameBytes, AVIIF_KEYFRAME, nullptr, nullptr))) {
        result = 1;
        break;
      }
      ++frame;
      InterlockedExchange(&r.framesWritten, frame);
      PostMessageA(r.owner, repeated ? kFrameRepeated : kFrameWritten, static_cast<WPARAM>(frame), 0);
      if (frame % r.framesPerSecond == 0) PostMessageA(r.owner, kSecondRecorded, frame / r.framesPerSecond, 0);
      continue;
    }
    Sleep(5);
  }
  DeleteObject(section);
  DeleteDC(memory);
  return result;
}

}  // namespace

REELCAP_API int WINAPI rvWndToAviInit(int* recording, HWND owner, const char* file, int framesPerSecond,
                                      int /*reserved*/, BITMAPINFOHEADER* video, WAVEFORMATEX* /*audio*/,
                                      AVICOMPRESSOPTIONS* options, int /*reserved2*/) {
  if (recording == nullptr) return REELCAP_ERROR_ARGUMENT;
  *recording = 0;
  if (file == nullptr || video == nullptr || framesPerSecond < 1 || framesPerSecond > 60 ||
      video->biBitCount != 24 || video->biCompression != BI_RGB || video->biWidth < 1 || video->biHeight < 1 ||
      video->biWidth > kMaxSide || video->biHeight > kMaxSide) {
    return REELCAP_ERROR_ARGUMENT;
  }
  // Rows padded to four bytes, whatever the caller put in biSizeImage.
  std::optional<uint32_t> frameBytes = imaging::DibImageBytes(video->biWidth, video->biHeight, 24);
  if (!frameBytes) return REELCAP_ERROR_ARGUMENT;

  // The whole opening holds the table, so that a free slot is known before
  // the file is made and is still free when the recording takes it.
  std::lock_guard<std::mutex> guard(g_lock);
  int slot = 0;
  while (slot < kMaxRecordings && g_recordings[slot]) ++slot;
  if (slot == kMaxRecordings) return REELCAP_ERROR_STATE;

  auto r = std::make_unique<Recording>();
  r->owner = owner;
  r->framesPerSecond = framesPerSecond;
  r->format = *video;
  r->format.biSize = sizeof(BITMAPINFOHEADER);
  r->format.biPlanes = 1;
  r->format.biSizeImage = *frameBytes;

  AVIFileInit();
  DeleteFileA(file);
  if (AVIFileOpenA(&r->file, file, OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) {
    r->file = nullptr;
    Close(*r);
    return REELCAP_ERROR_FILE;
  }
  AVISTREAMINFOA stream{};
  stream.fccType = streamtypeVIDEO;
  stream.dwScale = 1;
  stream.dwRate = static_cast<DWORD>(framesPerSecond);
  stream.dwSuggestedBufferSize = r->format.biSizeImage;
  SetRect(&stream.rcFrame, 0, 0, r->format.biWidth, r->format.biHeight);
  if (AVIFileCreateStreamA(r->file, &r->raw, &stream) != AVIERR_OK) {
    r->raw = nullptr;
    Close(*r);
    DeleteFileA(file);
    return REELCAP_ERROR_FILE;
  }
  r->stream = r->raw;
  if (options != nullptr && options->fccHandler != 0) {
    AVICOMPRESSOPTIONS wanted = *options;
    wanted.fccType = streamtypeVIDEO;
    PAVISTREAM compressed = nullptr;
    if (AVIMakeCompressedStream(&compressed, r->raw, &wanted, nullptr) == AVIERR_OK && compressed != nullptr) {
      if (AVIStreamSetFormat(compressed, 0, &r->format, sizeof r->format) == AVIERR_OK) {
        r->stream = compressed;
      } else {
        AVIStreamRelease(compressed);
      }
    }
  }
  if (r->stream == r->raw && AVIStreamSetFormat(r->raw, 0, &r->format, sizeof r->format) != AVIERR_OK) {
    Close(*r);
    DeleteFileA(file);
    return REELCAP_ERROR_FILE;
  }

  g_recordings[slot] = std::move(r);
  *recording = slot + 1;
  return 0;
}

REELCAP_API int WINAPI rvWndToAviStart(int recording, HWND window) {
  std::lock_guard<std::mutex> guard(g_lock);
  Recording* r = Find(recording);
  if (r == nullptr || !IsWindow(window)) return REELCAP_ERROR_ARGUMENT;
  if (r->thread != nullptr) return REELCAP_ERROR_STATE;
  r->window = window;
  r->stop = 0;
  r->thread = CreateThread(nullptr, 0, CaptureMain, r, 0, nullptr);
  return r->thread != nullptr ? 0 : REELCAP_ERROR_STATE;
}

REELCAP_API int WINAPI rvWndToAviStop(int recording) {
  std::lock_guard<std::mutex> guard(g_lock);
  Recording* r = Find(recording);
  if (r == nullptr) return REELCAP_ERROR_ARGUMENT;
  if (r->thread == nullptr) return r->captureResult;
  InterlockedExchange(&r->stop, 1);
  // A thread that does not end keeps its recording (and its file) alive.
  if (WaitForSingleObject(r->thread, kStopWaitMs) != WAIT_OBJECT_0) return REELCAP_ERROR_STATE;
  DWORD exitCode = 1;
  if (!GetExitCodeThread(r->thread, &exitCode) || exitCode != 0) r->captureResult = REELCAP_ERROR_FILE;
  CloseHandle(r->thread);
  r->thread = nullptr;
  return r->captureResult;
}

REELCAP_API int WINAPI rvWndToAviEnd(int recording) {
  // A capture that ended early still has its file closed (what it holds is
  // kept), and says so; a thread that did not stop keeps the recording.
  int stopped = rvWndToAviStop(recording);
  if (stopped != 0 && stopped != REELCAP_ERROR_FILE) return stopped;
  std::lock_guard<std::mutex> guard(g_lock);
  Recording* r = Find(recording);
  if (r == nullptr) return REELCAP_ERROR_ARGUMENT;
  Close(*r);
  g_recordings[recording - 1].reset();
  return stopped;
}
