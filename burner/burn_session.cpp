// The burn and erase sessions over the disc-burning library: the image-size
// preview of the list, the session itself (players closed, optional quick
// erase or append, project filled, size check, burn), the completion
// callbacks, the 500 ms progress step, and the message box.
//
// The library calls the completion callbacks on its own threads.  They only
// store the result and raise a flag; the main thread, which pumps messages
// until it sees the flag, shows the result, ejects and stops the progress
// timer (a thread timer can only be stopped by the thread that started it).
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "burner_state.h"
#include "core/burn_list.h"
#include "core/burner_names.h"
#include "core/command_line.h"
#include "core/disc_figures.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "suite_command.h"
#include "themeapi.h"
#include "themecore.h"
#include "thread_timers.h"
#include "vdscdll.h"

namespace burner {

namespace {

constexpr uint32_t kPlayersWaitMs = 4000;
// A library that is idle again without having called back will not call:
// the wait ends after this long and the session reports a failure.
constexpr uint32_t kIdleWithoutCallbackMs = 30000;
constexpr int32_t kStateIdle = 0;

void __cdecl EraseDoneCallback(int result) {
  BurnerState& b = Burner();
  b.eraseResult = result;
  b.eraseDone = -1;
}

void __cdecl BurnDoneCallback(int result) {
  BurnerState& b = Burner();
  b.burnResult = result;
  b.burnDone = -1;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string WindowsError(int32_t code) {
  return themecore::FetchText([code](char* out, int32_t size) { return SKWINERR(code, out, size); });
}

std::string LongFormat(int64_t value) { return themecore::LongFormat(static_cast<int32_t>(value)); }

// Inserts one list line into the project; false when the library refused it.
bool InsertLine(const std::string& line) {
  ProjectEntry entry = ProjectEntryOf(line);
  std::wstring root = L"\\";
  std::wstring source = Wide(entry.source);
  if (entry.isFolder) {
    std::wstring mask = Wide(entry.mask);
    return vdscInsertDirW(root.data(), source.data(), mask.data(), 1, 0) != nullptr;
  }
  return vdscInsertFileW(root.data(), source.data()) != nullptr;
}

// The disc paths of a folder's files, below `prefix` ("" for the root).
void CollectFolderFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>* paths,
                        int depth) {
  if (depth > 64) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      CollectFolderFiles(folder + "\\" + name, prefix + name + "\\", paths, depth + 1);
    } else {
      paths->push_back(prefix + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// The first disc path two lines of the list would share: folders are put
// into the root, so their files can meet the files of other lines there.
std::string NameClashOf(const std::vector<std::string>& lines) {
  std::vector<std::string> paths;
  for (const std::string& line : lines) {
    ProjectEntry entry = ProjectEntryOf(line);
    if (entry.isFolder) {
      CollectFolderFiles(entry.source, "", &paths, 0);
    } else {
      paths.push_back(suite::FileNameOf(entry.source));
    }
  }
  return FirstNameClash(paths);
}

void CALLBACK ProgressTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  BurnerState& b = Burner();
  ProgressTexts texts{T(T_PERCENT), T(T_CLOSING), T(T_BLINK), T(T_ERASING), T(T_IDLE), T(T_FINISHING)};
  ProgressInput input;
  input.written = vdscGetBlocksWritten();
  input.image = vdscGetImageSize();
  input.buffer = vdscGetDeviceBufferPosition();
  input.state = vdscGetComponentState();
  input.blink = b.blink;
  input.keptPercent = b.keptPercent;
  ProgressStep step = DecideProgress(input, texts);
  if (step.blinked) b.blink = !b.blink;
  b.keptPercent = step.keptPercent;
  if (step.setBar) SendMessageA(b.progress, PBM_SETPOS, static_cast<WPARAM>(step.keptPercent), 0);
  if (step.showMiB) {
    std::string size = MiBText(input.written, input.image, T(T_MIB), LongFormat);
    if (ControlText(b.sizeText) != size) SetWindowTextA(b.sizeText, size.c_str());
  }
  SetStatusText(step.status);
}

// Pumps messages until the flag is raised.  The wait also ends when the
// library has been idle for kIdleWithoutCallbackMs without calling back;
// false then.
bool WaitForFlag(const std::atomic<int32_t>& flag) {
  uint32_t idleSince = 0;
  bool idle = false;
  while (flag.load() == 0) {
    suite::PumpMessages();
    SetCursor(Burner().busyCursor);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    if (flag.load() != 0) break;
    if (vdscGetComponentState() == kStateIdle) {
      const uint32_t now = GetTickCount();
      if (!idle) {
        idle = true;
        idleSince = now;
      } else if (suite::TicksElapsed(idleSince, now) >= kIdleWithoutCallbackMs) {
        return false;
      }
    } else {
      idle = false;
    }
  }
  return true;
}

void EnterSession() {
  BurnerState& b = Burner();
  b.busy = -1;
  DragAcceptFiles(b.window, FALSE);
  SetWindowPos(b.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  skCaptureEnable(0);
  EnableControls(false);
  if (b.busyCursor == nullptr) {
    b.busyCursor = LoadCursorFromFileA((b.programFolder + b.baseName + ".ani").c_str());
    if (b.busyCursor == nullptr) b.busyCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  }
  HCURSOR replaced = SetCursor(b.busyCursor);
  if (b.savedCursor == nullptr) b.savedCursor = replaced;
  b.eraseDone = 0;
  b.burnDone = 0;
  StopPollTimer();
  b.keptPercent = 0;
  SendMessageA(b.progress, PBM_SETPOS, 0, 0);
  b.progressTimer = suite::StartThreadTimer(500, ProgressTimerProc);
}

void LeaveSession(int64_t freeSectors) {
  BurnerState& b = Burner();
  if (b.savedCursor != nullptr) SetCursor(b.savedCursor);
  vdscUnlockMedium();
  SetFocus(b.window);
  b.burnDone = -1;
  suite::KillThreadTimer(b.progressTimer);
  SendMessageA(b.progress, PBM_SETPOS, 0, 0);
  SetWindowTextA(b.sizeText, (T(T_SIZE_AFTER) + T(T_MIB)).c_str());
  const int64_t total = vdscGetTotalBlocksOnDisc();
  b.imagePercent = 0;
  SetCapacityShares(Percent(total - freeSectors, total, 100), 0);
  EnableControls(true);
  b.busy = 0;
  // The poll shows the disc as it is now (an ejected or erased medium).
  b.mediumName.clear();
  PollDisc();
  StartPollTimer();
  SetWindowPos(b.window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  skCaptureEnable(1);
  DragAcceptFiles(b.window, TRUE);
}

// Class entries 2 and 4: the media player and the audio player.
void ClosePlayers() {
  for (size_t module : {suite::MODULE_MEDIA_PLAYER, suite::MODULE_AUDIO_PLAYER}) {
    HWND player = FindWindowA(suite::ModuleClass(module).c_str(), nullptr);
    if (player != nullptr) suite::SendSuiteCommand(player, suite::CMD_CLOSE, "");
  }
}

// The quick erase with its animation; false when the erase failed or did
// not end.
bool QuickErase() {
  BurnerState& b = Burner();
  HWND animation = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 367, 101, 64, 64, b.window, nullptr,
                                   b.instance, nullptr);
  HBITMAP strip = LoadBitmapA(b.instance, "CDANIM");
  if (animation != nullptr && strip != nullptr) SKANIMATE(animation, strip);
  if (strip != nullptr) DeleteObject(strip);
  bool ended = true;
  if (vdscEraseDisc(1, EraseDoneCallback) == 0 && b.eraseDone.load() == 0) {
    ended = false;
  } else {
    ended = WaitForFlag(b.eraseDone);
  }
  if (animation != nullptr) DestroyWindow(animation);
  if (!ended) {
    SetStatusText(WithNumber(T(T_ERASE_FAILED), vdscGetErrorNumber()));
    return false;
  }
  const int32_t result = b.eraseResult.load();
  SetStatusText(result == 0 ? T(T_ERASED) : WithNumber(T(T_ERASE_FAILED), vdscGetErrorNumber()));
  return result == 0;
}

}  // namespace

void ShowMessage(const std::string& text, UINT flags) {
  BurnerState& b = Burner();
  SetWindowPos(b.window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  suite::PumpMessages();
  EnableWindow(b.window, FALSE);
  skMessageBox(text.c_str(), static_cast<int32_t>(flags), T(T_TITLE).c_str());
  EnableWindow(b.window, TRUE);
  suite::WaitPumping(100);
}

int64_t ComputeImageSize() {
  BurnerState& b = Burner();
  vdscClearAll();
  for (const std::string& line : ListLines()) InsertLine(line);
  const int64_t image = vdscPrepare() != 0 ? vdscGetImageSize() : 0;
  const int64_t free = vdscGetFreeBlocksOnDisc();
  const int64_t total = vdscGetTotalBlocksOnDisc();
  ImageSizeCheck check = CheckImageSize(image, free, total);
  SetCapacityShares(check.usedPercent, check.imagePercent);
  if (b.summary != nullptr) SetWindowTextA(b.summary, ImageSizeSummary(T(T_SUMMARY), check).c_str());
  if (check.overMiB > 0) {
    SetStatusText(T(T_OVER));
    suite::PumpMessages();
    Beep(200, 200);
    Beep(2000, 200);
    Beep(200, 200);
    Beep(2000, 200);
  }
  return check.result;
}

void RunBurnSession() {
  BurnerState& b = Burner();
  if (b.busy != 0) {
    Beep(2000, 200);
    return;
  }
  // Burn is offered only for a burner's line; a press that comes anyway
  // (a posted command) finds no drive to write.
  const LRESULT device = SendMessageA(b.devices, CB_GETCURSEL, 0, 0);
  if (device == CB_ERR || vdscSelectDevice(static_cast<int>(device)) == 0 || vdscDeviceIsBurner() != 1) {
    ShowMessage(WindowsError(21), MB_ICONSTOP);
    return;
  }
  int64_t free = vdscGetFreeBlocksOnDisc();
  const bool erasable = vdscErasable() != 0;
  if (free == 0 && !erasable) {
    ShowMessage(WindowsError(82), MB_ICONEXCLAMATION);
    return;
  }

  EnterSession();
  ClosePlayers();
  SetStatusText(T(T_CLOSING_PLAYERS));
  suite::WaitPumping(kPlayersWaitMs);
  vdscLockMedium();

  bool go = true;
  bool erased = false;
  bool append = false;
  const int32_t sessions = vdscSessionsOnDisc();
  if (erasable && sessions > 0) {
    if (SendMessageA(b.eraseFirst, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      if (vdscTestUnitReady() == 0) {
        ShowMessage(WindowsError(21), MB_ICONSTOP);
        go = false;
      } else {
        // A failed erase leaves the old sessions: nothing is burnt on them.
        go = QuickErase();
        erased = go;
        free = vdscGetFreeBlocksOnDisc();
        if (go) ComputeImageSize();
      }
    } else {
      append = true;
    }
  } else if (!erasable && sessions > 0) {
    append = true;
  }

  std::vector<std::string> lines = ListLines();
  if (go && lines.empty()) {
    if (erased) SetWindowTextA(b.label, "");
    go = false;
  }
  if (go && vdscTestUnitReady() == 0) {
    ShowMessage(WindowsError(21), MB_ICONSTOP);
    go = false;
  }
  if (go) {
    vdscClearAll();
    std::wstring root = L"\\";
    if (append && vdscImportSessionW(0, root.data()) == 0) {
      ShowMessage(T(T_IMPORT_FAILED), MB_ICONSTOP);
      go = false;
    }
  }
  if (go) {
    // The library keeps the first of two files of one name: a list that
    // would lose files silently is not burnt.
    std::string clash = NameClashOf(lines);
    if (!clash.empty()) {
      ShowMessage(T(T_NAME_CLASH) + clash, MB_ICONEXCLAMATION);
      go = false;
    }
  }
  if (go) {
    std::string label = ControlText(b.label);
    if (label.empty()) label = T(T_DEFAULT_LABEL);
    vdscSetVolumeID(label.data());
    for (const std::string& line : lines) {
      if (!InsertLine(line)) {
        ShowMessage(T(T_CANNOT_INSERT) + line, MB_ICONSTOP);
        go = false;
        break;
      }
    }
  }
  if (go) {
    vdscPrepare();
    const int64_t image = vdscGetImageSize();
    free = vdscGetFreeBlocksOnDisc();
    const int64_t total = vdscGetTotalBlocksOnDisc();
    b.imagePercent = Percent(image, total, 0);
    SetCapacityShares(Percent(total - free, total, 100), b.imagePercent);
    if (free < image) {
      suite::KillThreadTimer(b.progressTimer);
      SetStatusText(T(T_TOO_LARGE_STATUS));
      ShowMessage(WindowsError(8) + TooLargeText(T(T_TOO_LARGE), image, free), MB_ICONSTOP);
      go = false;
    }
  }
  if (go) {
    if (vdscBurn(BurnDoneCallback) == 0 && b.burnDone.load() == 0) {
      // No writer thread: no callback will come.
      suite::KillThreadTimer(b.progressTimer);
      SetStatusText(WithNumber(T(T_BURN_FAILED), vdscGetErrorNumber()));
    } else {
      const bool calledBack = WaitForFlag(b.burnDone);
      suite::KillThreadTimer(b.progressTimer);
      const int32_t result = calledBack ? b.burnResult.load() : 1;
      if (result == 0) vdscEjectMedium();
      SetStatusText(result == 0 ? T(T_BURNT) : WithNumber(T(T_BURN_FAILED), vdscGetErrorNumber()));
    }
  }
  LeaveSession(free);
}

}  // namespace burner
