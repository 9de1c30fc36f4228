// Recording the full-screen slide show with the outside window recorder
// (reelcap.dll, beside the program or in the folder above it, loaded by
// name): started by the full-screen commands when code 20 asked for a
// recording, stopped by stop or by the end of a single pass, its counters
// shown in the status text.  The rules are core/recording_rules.h.
#include <windows.h>
#include <mmsystem.h>
#include <vfw.h>

#include <string>

#include "core/path_names.h"
#include "core/player_files.h"
#include "core/recording_rules.h"
#include "player_parts.h"
#include "player_state.h"
#include "themecore.h"

namespace player {

namespace {

constexpr size_t T_RECORDING_STATUS = 77;
// The control bar's buttons a recording disables.
constexpr int kDisabledWhileRecording[] = {55, 56, 67, 68, 61, 62, 72, 51, 52, 74};

using InitFn = int(WINAPI*)(int*, HWND, const char*, int, int, BITMAPINFOHEADER*, WAVEFORMATEX*,
                            AVICOMPRESSOPTIONS*, int);
using StartFn = int(WINAPI*)(int, HWND);
using HandleFn = int(WINAPI*)(int);

struct Recorder {
  HMODULE library = nullptr;
  InitFn init = nullptr;
  StartFn start = nullptr;
  HandleFn stop = nullptr;
  HandleFn end = nullptr;
  int handle = 0;
  int32_t frameRate = 3;
};

Recorder& TheRecorder() {
  static Recorder recorder;
  return recorder;
}

template <typename Fn>
Fn Function(HMODULE library, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The recorder beside the program, else in the folder above it.
bool LoadRecorder(Recorder& r) {
  if (r.library != nullptr) return true;
  const std::string& folder = Player().programFolder;
  std::string path = folder + "reelcap.dll";
  if (!StdPlayerFiles().FileExists(path)) {
    const std::string above = suite::FolderOf(suite::WithoutFinalBackslash(folder));
    if (above.empty()) return false;
    path = above + "reelcap.dll";
  }
  r.library = LoadLibraryA(path.c_str());
  if (r.library == nullptr) return false;
  r.init = Function<InitFn>(r.library, "rvWndToAviInit");
  r.start = Function<StartFn>(r.library, "rvWndToAviStart");
  r.stop = Function<HandleFn>(r.library, "rvWndToAviStop");
  r.end = Function<HandleFn>(r.library, "rvWndToAviEnd");
  Player().recorderLoaded = true;
  return true;
}

}  // namespace

void SetRecordingFrameRate(int32_t requested) { TheRecorder().frameRate = RecordingFrameRate(requested); }

void StartRequestedRecording() {
  PlayerState& p = Player();
  Recorder& r = TheRecorder();
  if (r.handle != 0 || !LoadRecorder(r) || r.init == nullptr || r.start == nullptr) return;
  RECT client = {};
  if (p.zoomHolder == nullptr || !GetClientRect(p.zoomHolder, &client)) return;
  WAVEFORMATEX audio{};
  audio.wFormatTag = WAVE_FORMAT_PCM;
  audio.nChannels = 2;
  audio.nSamplesPerSec = 22050;
  audio.wBitsPerSample = 16;
  audio.nBlockAlign = 4;
  audio.nAvgBytesPerSec = audio.nBlockAlign * audio.nSamplesPerSec;
  BITMAPINFOHEADER video{};
  video.biSize = sizeof video;
  video.biWidth = client.right;
  video.biHeight = client.bottom;
  video.biPlanes = 1;
  video.biBitCount = 24;
  video.biCompression = BI_RGB;
  // Rows of a DIB are padded to four bytes.
  video.biSizeImage = static_cast<DWORD>(((video.biWidth * 3 + 3) & ~3) * video.biHeight);
  AVICOMPRESSOPTIONS options{};
  options.fccHandler = mmioStringToFOURCCA("cscd", 0);
  options.dwFlags = AVICOMPRESSF_VALID;
  // In the program folder: the file picker may have moved the current folder.
  std::string file = p.programFolder + RecordingFileName(p.exeName);
  SKKILLFILE(file.c_str());
  int handle = 0;
  if (r.init(&handle, p.mainWindow, file.c_str(), r.frameRate, 0, &video, &audio, &options, 0) != 0 ||
      handle == 0) {
    return;
  }
  if (r.start(handle, p.zoomHolder) != 0) {
    if (r.end != nullptr) r.end(handle);
    return;
  }
  r.handle = handle;
  if (ControlBar() != nullptr) {
    for (int id : kDisabledWhileRecording) {
      HWND button = GetDlgItem(ControlBar(), id);
      if (button != nullptr) EnableWindow(button, FALSE);
    }
  }
}

void StopRecording(bool closePlayer) {
  PlayerState& p = Player();
  Recorder& r = TheRecorder();
  if (r.handle != 0) {
    if (r.stop != nullptr) r.stop(r.handle);
    if (r.end != nullptr) r.end(r.handle);
    r.handle = 0;
  }
  // The single pass has ended: the player closes (and reports at exit).
  if (closePlayer) {
    PostMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, reinterpret_cast<LPARAM>(ControlBar()));
  }
}

void RefreshRecording() {
  PlayerState& p = Player();
  if (p.statusWindow != nullptr) SKSETCTLTEXT(p.statusWindow, RecordingStatus().c_str());
}

std::string RecordingStatus() {
  PlayerState& p = Player();
  return RecordingStatusText(p.texts.entry(T_RECORDING_STATUS), p.recorderCounters[0], p.recorderCounters[1]);
}

}  // namespace player
