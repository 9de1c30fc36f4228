// Ripping CD tracks and converting audio files (commands 1201-1204 and
// 1301-1304): the selected items of the file list are copied, one after the
// other on the main thread, into WAV files written here, into WMA files
// through the audio library, or through an outside encoder program the
// audio library starts and feeds.  A progress window with a bar shows the
// item's progress; Escape (answered yes) cancels the run and deletes the
// partly written file.  Only the first failure of a run is reported, and a
// failed item is never listed as done.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "audio_copy.h"
#include "browser_state.h"
#include "core/audio_copy_rules.h"
#include "core/file_list_rules.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "core/wait_window_layout.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_names.h"
#include "themecore_wait.h"
#include "tonelink.h"

namespace browser {

namespace {

constexpr size_t kTargetButtonsEntry = 47;
constexpr size_t kSecondListQuestionEntry = 74;
constexpr size_t kBaseNamePromptEntry = 77;
constexpr size_t kBaseNameDefaultEntry = 78;
constexpr size_t kSecondListButtonsEntry = 79;
constexpr size_t kRipProgressEntry = 80;
constexpr size_t kConvertProgressEntry = 85;
constexpr int32_t kCdErrorText = 29;
constexpr int32_t kCreateFailedErrorText = 82;
constexpr int32_t kCancelled = 1067;
constexpr int32_t kCopyBufferBytes = 20000;
constexpr int32_t kBaseNameMaxLength = 80;
constexpr int32_t kProgressBarWidth = 200;
// The stream flags the rips and conversions open their streams with.
constexpr int32_t kCdStreamFlags = 0x200000;
constexpr int32_t kWmaFlags = 0x10000;
constexpr int32_t kWmaMonoFlag = 2;
constexpr int32_t kWmaBitrate = 160000;

bool g_busy = false;
// Whether the last worker's error came from the audio library (else it is
// a file error of the WAV writer, a Windows error number).
bool g_libraryError = false;

// ---------------------------------------------------------------------------
// The progress window: the wait window's look with a progress bar under its
// text.

int32_t CharacterHeight(HWND owner) {
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(owner, SKCAPTIONFONT(), "W", &width, &height);
  return std::max(height, 1);
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return suite::boxes::WaitWindowProc(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return 0;
  char text[suite::boxes::kWaitTextMaxBytes + 1] = {};
  GetWindowTextA(window, text, sizeof(text));
  RECT area = {};
  GetClientRect(window, &area);
  // The bar takes the bottom three character heights.
  area.bottom -= 3 * CharacterHeight(window);
  suite::boxes::DrawWaitText(dc, text, &area, DT_CENTER | DT_VCENTER);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

HWND ShowProgressWindow(HWND owner, const std::string& text, HWND* bar) {
  if (bar != nullptr) *bar = nullptr;
  if (SKCHECKCLASS(suite::boxes::kWaitWindowClass) == 0) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ProgressWindowProc;
    windowClass.hInstance = Browser().instance;
    if (SKREGISTERCLASS(&windowClass, suite::boxes::kWaitWindowClass) == 0) return nullptr;
  }
  const int32_t character = CharacterHeight(owner);
  std::vector<char> parts(text.size() + 2, '\0');
  int32_t widest = 0;
  int32_t lines = SKSPLITS(text.c_str(), "|", owner, SKCAPTIONFONT(), parts.data(),
                           static_cast<int32_t>(parts.size()), &widest);
  const int32_t innerWidth = std::max(widest + 2 * character, kProgressBarWidth + 2 * character);
  const int32_t innerHeight = character * (lines + 5);
  const int32_t frameX = GetSystemMetrics(SM_CXDLGFRAME);
  const int32_t frameY = GetSystemMetrics(SM_CYDLGFRAME);
  suite::boxes::WindowSize size{innerWidth + 2 * frameX, innerHeight + 2 * frameY};
  const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT anchor = {0, 0, screenWidth, screenHeight};
  if (owner != nullptr) GetWindowRect(owner, &anchor);
  suite::boxes::WindowPlace place = suite::boxes::CentreAndClamp(
      {anchor.left, anchor.top, anchor.right, anchor.bottom}, size, screenWidth, screenHeight);
  HWND window = CreateWindowExA(WS_EX_DLGMODALFRAME, suite::boxes::kWaitWindowClass,
                                suite::boxes::WaitWindowText(text).c_str(), WS_POPUP,
                                place.x, place.y, size.width, size.height, owner, nullptr,
                                Browser().instance, nullptr);
  if (window == nullptr) return nullptr;
  HWND progress = SKPROGRESS32(window, 1, (innerWidth - kProgressBarWidth) / 2, innerHeight - 2 * character,
                               kProgressBarWidth, character);
  if (bar != nullptr) *bar = progress;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

namespace {

// ---------------------------------------------------------------------------
// The workers.

enum class Source { kCdTrack, kFile };

struct CopyJob {
  Source source = Source::kFile;
  int32_t drive = 0;
  int32_t track = 0;          // from 0
  std::string sourcePath;     // kFile
  AudioOutput output = AudioOutput::kWav;
  std::string target;         // the WAV or WMA file
  std::string commandLine;    // the encoders
  HWND bar = nullptr;
};

std::string StatusText() {
  char text[1024] = {};
  HWND status = Browser().statusWindow;
  if (status != nullptr) GetWindowTextA(status, text, sizeof(text));
  return text;
}

void SetStatusText(const std::string& text) {
  HWND status = Browser().statusWindow;
  if (status == nullptr) return;
  SetWindowTextA(status, text.c_str());
  UpdateWindow(status);
}

// The library's error code after a failed call; never 0, so that a failure
// is never taken for a done item.
int32_t LibraryError() {
  g_libraryError = true;
  int32_t code = BASSERRORGETCODE();
  return code != 0 ? code : -1;
}

// Shows the percentage when it changed; true when Escape cancels the run.
class Progress {
 public:
  Progress(HWND bar, int32_t length) : bar_(bar), length_(length), prefix_(StatusText() + " ") {}
  bool Step(int32_t position) {
    int32_t percent = ProgressPercent(position, length_);
    if (percent >= 0 && percent != last_) {
      last_ = percent;
      if (bar_ != nullptr) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
      SetStatusText(prefix_ + " " + std::to_string(percent) + "%");
    }
    Sleep(0);
    return suite::boxes::PumpAndCheckCancel(1) != 0;
  }

 private:
  HWND bar_;
  int32_t length_;
  std::string prefix_;
  int32_t last_ = -1;
};

int32_t OpenStream(const CopyJob& job) {
  return job.source == Source::kCdTrack ? BASSCDSTREAMCREATE(job.drive, job.track, kCdStreamFlags)
                                        : BASSSTREAMDECODEFILE(job.sourcePath.c_str());
}

int32_t StreamLength(const CopyJob& job, int32_t stream) {
  return job.source == Source::kCdTrack ? BASSCDGETTRACKLENGTH(job.drive, job.track)
                                        : BASSSTREAMGETLENGTH(stream);
}

int32_t CopyToWav(const CopyJob& job, int32_t stream, std::vector<char>& buffer) {
  int32_t frequency = 44100, channels = 2, flags = 0;
  BASSCHANNELGETINFO(stream, &frequency, &channels, &flags);
  int32_t rate = frequency, volume = -1, panning = -1;
  BASSCHANNELGETATTRIBUTES(stream, &rate, &volume, &panning);
  if (rate <= 0) rate = frequency;
  int32_t file = 0;
  if (int32_t error = SKFOPEN(job.target.c_str(), 2, 1, &file)) return error;
  // Every channel the stream delivers is described, as it is written.
  std::string header = WaveFileHeader(static_cast<uint32_t>(std::max(channels, 1)), static_cast<uint32_t>(rate),
                                      (flags & 1) != 0);
  int32_t result = SKFPUT(file, header.data(), static_cast<int32_t>(header.size()));
  Progress progress(job.bar, StreamLength(job, stream));
  while (result == 0 && BASSUSECHANNELISACTIVE(stream)) {
    int32_t got = BASSCHANNELGETDATA(stream, buffer.data(), kCopyBufferBytes);
    if (got > 0) result = SKFPUT(file, buffer.data(), got);
    if (result != 0) break;
    if (got == 0 && BASSERRORGETCODE() != 0) {
      result = LibraryError();
      break;
    }
    if (progress.Step(BASSUSECHANNELGETPOSITION(stream))) result = kCancelled;
  }
  if (result == 0) {
    int32_t position = BASSUSECHANNELGETPOSITION(stream);
    uint32_t dataBytes = static_cast<uint32_t>(std::max(position, 0));
    std::string data = SizeBytes(dataBytes);
    std::string riff = SizeBytes(RiffSizeFor(dataBytes));
    result = SKFPUTAT(file, 40, data.data(), 4);
    if (result == 0) result = SKFPUTAT(file, 4, riff.data(), 4);
  }
  SKFCLOSE(file);
  return result;
}

int32_t CopyToWma(const CopyJob& job, int32_t stream, std::vector<char>& buffer) {
  int32_t frequency = 44100, channels = 2, flags = 0;
  BASSCHANNELGETINFO(stream, &frequency, &channels, &flags);
  // The stream's own rate and channel count, so that it plays at its speed.
  int32_t encoder = BASSWMAENCODEOPENFILE(frequency, kWmaFlags | (channels == 1 ? kWmaMonoFlag : 0),
                                          kWmaBitrate, job.target.c_str());
  if (encoder == 0) return LibraryError();
  BASSWMAENCODESETTAG(encoder, "", "");
  int32_t result = 0;
  Progress progress(job.bar, StreamLength(job, stream));
  while (BASSUSECHANNELISACTIVE(stream)) {
    int32_t got = BASSCHANNELGETDATA(stream, buffer.data(), kCopyBufferBytes);
    if (got > 0 && BASSWMAENCODEWRITE(encoder, buffer.data(), got) == 0) {
      result = LibraryError();
      break;
    }
    if (progress.Step(BASSUSECHANNELGETPOSITION(stream))) {
      result = kCancelled;
      break;
    }
  }
  BASSWMAENCODECLOSE(encoder);
  return result;
}

int32_t CopyToEncoder(const CopyJob& job, int32_t stream, std::vector<char>& buffer) {
  if (BASSENCODESTART(stream, job.commandLine.c_str(), 0) == 0) return LibraryError();
  int32_t result = 0;
  Progress progress(job.bar, StreamLength(job, stream));
  while (BASSUSECHANNELISACTIVE(stream)) {
    // Each chunk read goes to the encoder.
    int32_t got = BASSCHANNELGETDATA(stream, buffer.data(), kCopyBufferBytes);
    if (got == 0 || BASSENCODEISACTIVE(stream) == 0) {
      g_libraryError = true;
      result = BASSERRORGETCODE();
      break;
    }
    if (progress.Step(BASSUSECHANNELGETPOSITION(stream))) {
      result = kCancelled;
      break;
    }
  }
  BASSCHANNELSTOP(stream);
  // The encoder finishes its file once its input ends; one that failed on
  // the way leaves the item failed.
  if (BASSENCODESTOP(stream) == 0 && result == 0) result = LibraryError();
  return result;
}

int32_t RunWorker(const CopyJob& job) {
  g_libraryError = false;
  HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  if (job.source == Source::kCdTrack) BASSCDDOOR(job.drive, 2);
  int32_t result = 0;
  int32_t stream = OpenStream(job);
  if (stream == 0) {
    // A track or file that cannot be opened is a failed item.
    result = LibraryError();
  } else {
    std::vector<char> buffer(kCopyBufferBytes);
    switch (job.output) {
      case AudioOutput::kWav:
        result = CopyToWav(job, stream, buffer);
        break;
      case AudioOutput::kWma:
        result = CopyToWma(job, stream, buffer);
        break;
      default:
        result = CopyToEncoder(job, stream, buffer);
        break;
    }
  }
  SetCursor(previous);
  if (job.source == Source::kCdTrack) BASSCDDOOR(job.drive, 3);
  if (stream != 0) {
    BASSCHANNELSTOP(stream);
    BASSSTREAMFREE(stream);
  }
  return result;
}

}  // namespace

int32_t RipCdToWav(int32_t drive, int32_t track, const std::string& target, HWND bar) {
  CopyJob job{Source::kCdTrack, drive, track, "", AudioOutput::kWav, target, "", bar};
  return RunWorker(job);
}
int32_t RipCdToWma(int32_t drive, int32_t track, const std::string& target, HWND bar) {
  CopyJob job{Source::kCdTrack, drive, track, "", AudioOutput::kWma, target, "", bar};
  return RunWorker(job);
}
int32_t RipCdToEncoder(int32_t drive, int32_t track, const std::string& commandLine, HWND bar) {
  CopyJob job{Source::kCdTrack, drive, track, "", AudioOutput::kEncoderPreset, "", commandLine, bar};
  return RunWorker(job);
}
int32_t ConvertToWav(const std::string& source, const std::string& target, HWND bar) {
  CopyJob job{Source::kFile, 0, 0, source, AudioOutput::kWav, target, "", bar};
  return RunWorker(job);
}
int32_t ConvertToWma(const std::string& source, const std::string& target, HWND bar) {
  CopyJob job{Source::kFile, 0, 0, source, AudioOutput::kWma, target, "", bar};
  return RunWorker(job);
}
int32_t ConvertWithEncoder(const std::string& source, const std::string& commandLine, HWND bar) {
  CopyJob job{Source::kFile, 0, 0, source, AudioOutput::kEncoderPreset, "", commandLine, bar};
  return RunWorker(job);
}

namespace {

// ---------------------------------------------------------------------------
// The run.


std::string CdDriveLetters() {
  std::string letters;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    char root[] = {static_cast<char>('a' + i), ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_CDROM) letters.push_back(root[0]);
  }
  return letters;
}

bool IsOnCdDrive(const std::string& folder) {
  return folder.size() >= 2 && folder[1] == ':' && GetDriveTypeA(folder.substr(0, 3).c_str()) == DRIVE_CDROM;
}

// The track a CD track file names (from 0); the list position when the file
// cannot be read as one.
int32_t TrackOfFile(const std::string& path, int32_t listIndex) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return listIndex;
  uint8_t header[64] = {};
  DWORD read = 0;
  BOOL ok = ReadFile(file, header, sizeof(header), &read, nullptr);
  CloseHandle(file);
  int32_t number = ok ? CdaTrackNumber(header, read) : 0;
  return number > 0 ? number - 1 : listIndex;
}

// The short form of the target's folder and its file name, so that the
// encoder's command line holds no blank where Windows gives short names.
std::string ShortTarget(const std::string& target) {
  std::string folder = suite::FolderOf(target);
  char shortFolder[MAX_PATH + 1] = {};
  DWORD length = GetShortPathNameA(folder.c_str(), shortFolder, sizeof(shortFolder));
  if (length == 0 || length > MAX_PATH) return target;
  return suite::WithFinalBackslash(shortFolder) + suite::FileNameOf(target);
}

// A file error or the cancel as Windows words it; the audio library's
// errors in its own words.
std::string ErrorTextOf(int32_t code) {
  if (code == kCancelled || !g_libraryError) return suite::WindowsErrorText(code);
  return tonelink::ErrorText(code);
}

void CloseThePlayers() {
  for (const char* windowClass : {"ORBPLAY", "ORBAUDIO"}) {
    if (HWND player = FindWindowA(windowClass, nullptr)) suite::SendSuiteCommand(player, suite::CMD_CLOSE, "");
  }
}

struct Item {
  int index;
  std::string text;
};

std::vector<Item> SelectedItems() {
  BrowserState& b = Browser();
  std::vector<Item> items;
  for (int index : SelectedIndexes(b.fileList)) items.push_back({index, ListItemText(b.fileList, index)});
  return items;
}

void Deselect(const AudioCommand& command, const Item& item) {
  BrowserState& b = Browser();
  LRESULT index = item.index;
  if (!command.isRip) {
    index = SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(item.text.c_str()));
    if (index == LB_ERR) return;
  }
  SendMessageA(b.fileList, LB_SETSEL, FALSE, index);
}

std::string AskBaseName() {
  BrowserState& b = Browser();
  char name[kBaseNameMaxLength + 1] = {};
  lstrcpynA(name, b.texts.entry(kBaseNameDefaultEntry).c_str(), sizeof(name));
  SKINPUTBOX(b.mainWindow, SKCAPTIONFONT(), b.texts.entry(1).c_str(), b.texts.entry(kBaseNamePromptEntry).c_str(),
             "", name, sizeof(name), nullptr, 0);
  std::string base = suite::TrimBlanks(CrunchBlanks(MapBaseNameCharacters(name)));
  return base.empty() ? b.texts.entry(kBaseNameDefaultEntry) : base;
}

void RunAudioCopy(int id, const AudioCommand& command) {
  BrowserState& b = Browser();
  if (g_busy) return;
  if (SendMessageA(b.fileList, LB_GETSELCOUNT, 0, 0) <= 0) return;
  auto action = b.menus.actions.find(id);
  AudioAction what = ParseAudioAction(action != b.menus.actions.end() ? action->second : std::string());
  if (what.extension.empty()) return;

  std::string chosen = b.lastTarget.empty() ? b.currentFolder : b.lastTarget;
  int32_t answer = TargetBox(b.mainWindow, b.texts.entry(kTargetButtonsEntry), &chosen);
  if (chosen.empty() || (answer != 1 && answer != 2)) return;
  TargetDecision target = DecideTarget(answer, chosen, b.currentFolder);
  if (target.action == TargetAction::kCancel) return;
  b.lastTarget = target.folder;
  if (IsOnCdDrive(target.folder)) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCdErrorText));
    return;
  }
  if (target.action == TargetAction::kCreate && SKMAKEDIR(target.folder.c_str()) == 0) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCreateFailedErrorText));
    return;
  }
  // A rip never writes into the folder of its tracks.
  if (command.isRip && target.action == TargetAction::kSameFolder) return;

  RequestThumbnailStop();
  StopThumbnails();
  if (command.isRip) {
    b.watcherPaused = true;
    StopFolderWatcher();
  }
  g_busy = true;
  bool firstError = true;
  std::vector<Item> items = SelectedItems();
  const std::string folder = suite::WithFinalBackslash(b.currentFolder);
  const bool initialised = BASSINIT(1, 44100, 0, b.mainWindow) != 0;
  HWND progressWindow = nullptr;
  std::string savedStatus = StatusText();
  if (initialised) {
    CloseThePlayers();
    BASSSTART();
    bool addResults = true;
    if (SendMessageA(b.secondList, LB_GETCOUNT, 0, 0) > 0) {
      int32_t button = suite::boxes::ShowInfoBox(b.texts.entry(kSecondListQuestionEntry),
                                                 b.texts.entry(kSecondListButtonsEntry));
      if (button == 1) SendMessageA(b.secondList, LB_RESETCONTENT, 0, 0);
      addResults = button == 1 || button == 3;
    }
    int insertAt = static_cast<int>(SendMessageA(b.secondList, LB_GETCOUNT, 0, 0));
    std::string baseName = command.isRip ? AskBaseName() : std::string();
    const std::string cdLetters = CdDriveLetters();
    const int32_t drive = CdDriveNumber(folder, cdLetters);

    EnableWindow(b.mainWindow, FALSE);
    HWND bar = nullptr;
    progressWindow = ShowProgressWindow(
        b.mainWindow, b.texts.entry(command.isRip ? kRipProgressEntry : kConvertProgressEntry), &bar);
    std::string lastTarget;
    bool cancelled = false;
    for (const Item& item : items) {
      if (bar != nullptr) SendMessageA(bar, PBM_SETPOS, 0, 0);
      if (progressWindow != nullptr) UpdateWindow(progressWindow);
      const std::string name = suite::TrimLeadingBlanks(item.text);
      const std::string source = folder + name;
      const std::string extension = LowerExtension(name);
      if (!TakesSource(command.isRip, extension, what.extension)) continue;
      const bool toEncoder =
          command.output == AudioOutput::kEncoderPreset || command.output == AudioOutput::kEncoderToFile;
      const int32_t track = command.isRip ? TrackOfFile(source, item.index) : 0;
      std::string targetPath = command.isRip
                                   ? RipTargetPath(target.folder, baseName, track + 1, what.extension)
                                   : ConvertTargetPath(target.folder, name, what.extension, toEncoder);
      SKKILLFILE(targetPath.c_str());
      lastTarget = targetPath;
      SetStatusText(item.text + " -->" + suite::FileNameOf(targetPath));
      int32_t result = 0;
      if (toEncoder) {
        std::string encoder = themecore::FindFile(what.encoder.c_str());
        std::string line = EncoderCommandLine(encoder.empty() ? what.encoder : encoder, command.output,
                                              ShortTarget(targetPath));
        result = command.isRip ? RipCdToEncoder(drive, track, line, bar) : ConvertWithEncoder(source, line, bar);
      } else if (command.output == AudioOutput::kWav) {
        result = command.isRip ? RipCdToWav(drive, track, targetPath, bar) : ConvertToWav(source, targetPath, bar);
      } else {
        result = command.isRip ? RipCdToWma(drive, track, targetPath, bar) : ConvertToWma(source, targetPath, bar);
      }
      if (result == 0) {
        if (addResults) {
          std::string entry = " " + targetPath;
          SendMessageA(b.secondList, LB_INSERTSTRING, insertAt++, reinterpret_cast<LPARAM>(entry.c_str()));
          GrowListExtent(b.secondList, entry);
        }
      } else {
        // What the failed item left is no result.
        if (result != kCancelled && !toEncoder) SKKILLFILE(targetPath.c_str());
        if (firstError) {
          firstError = false;
          suite::boxes::ShowWarningBox(source + "||" + ErrorTextOf(result));
        }
        if (result == kCancelled) {
          cancelled = true;
          break;
        }
      }
      Deselect(command, item);
      if (suite::boxes::PumpAndCheckCancel(1) != 0) break;
    }
    if (cancelled && !lastTarget.empty()) SKKILLFILE(lastTarget.c_str());
  }

  EnableWindow(b.mainWindow, TRUE);
  if (progressWindow != nullptr) {
    ShowWindow(progressWindow, SW_HIDE);
    SetActiveWindow(b.mainWindow);
    DestroyWindow(progressWindow);
  }
  BASSSTOP();
  BASSCLOSE();
  BASSFREE();
  SetStatusText(savedStatus);
  if (initialised) {
    BASSUNLOAD();
    BASSLOAD();
  }
  if (command.isRip) {
    b.watcherPaused = false;
    MarkListingTime();
    StartFolderWatcher();
  }
  g_busy = false;
  UpdateStatusText();
}

}  // namespace

bool RunAudioCopyCommand(int id) {
  AudioCommand command;
  if (!AudioCommandOf(id, &command)) return false;
  RunAudioCopy(id, command);
  return true;
}

}  // namespace browser
