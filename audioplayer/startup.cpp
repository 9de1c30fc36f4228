// The audio player's entry: names, single instance (a second start hands
// its command line to the first and ends), text table, skin, the invisible
// main window, the start item, the message loop with its rebuilds, and the
// shut-down.
#include <windows.h>
#include <mmsystem.h>
#include <shlobj.h>

#include <string>

#include "audio_state.h"
#include "core/audio_command_line.h"
#include "core/audio_rules.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/path_placeholders.h"
#include "core/player_files.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "fx_panel.h"
#include "module_start.h"
#include "orbboxes.h"
#include "panels.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_player.h"
#include "thread_timers.h"
#include "tonelink.h"
#include "trace_format.h"

namespace audio {

namespace {

constexpr char kMainClass[] = "ORBAUDIO";
constexpr char kMutexName[] = "ORBAUDIO";
// How long a second start looks for the first instance's window.  The first
// may hold the mutex before its window exists, or be stuck at a message box
// or dead without one: the wait is bounded, and sleeps.
constexpr DWORD kSecondStartWaitMs = 2000;
constexpr UINT kSliderTickMs = 100;
constexpr int kMissingTableStyle = MB_ICONHAND;

void RunParseCommandLine(AudioState& a) {
  ParsedLine parsed = ParseCommandLine(a.commandText);
  if (a.commandText.empty()) {
    a.multiItem = false;
    return;
  }
  a.commandText = parsed.itemList;
  a.multiItem = parsed.multiItem;
}

int SecondStart(AudioState& a) {
  HWND window = suite::WaitForModuleWindow(kMainClass, kSecondStartWaitMs);
  if (window == nullptr) return 0;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  RunParseCommandLine(a);
  suite::SendSuiteCommand(window, suite::CMD_FORWARD_COMMAND_LINE, a.commandText);
  return 0;
}

std::string DocumentsFolder() {
  char folder[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return folder[0] != '\0' ? suite::WithFinalBackslash(folder) : std::string();
}

// The slider timer: the volume bar follows the mixer (another program, or
// the system's own control, may change it).
VOID CALLBACK SliderTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  HWND bar = PaneControl(ID_VOLUME);
  if (bar == nullptr || !IsWindowEnabled(bar) || GetCapture() == bar) return;
  int32_t volume = panels::MixerGetVolume(panels::Panels().mixer);
  if (volume >= 0 && volume != SKGETTRACKPOS(bar)) SKSETTRACKPOS(bar, volume);
}

void RestartSliderTimer(AudioState& a) {
  suite::KillThreadTimer(a.sliderTimer);
  a.sliderTimer = suite::StartThreadTimer(kSliderTickMs, SliderTimerProc);
}

// Step 12 of the start: the pane, then the command text.
void OpenStartItem(AudioState& a) {
  BuildPlayer(LAYOUT_STREAM);
  if (a.commandText.empty()) return;
  std::string found = themecore::FindFile(a.commandText.c_str());
  StartItem start = DecideStartItem(a.commandText, a.multiItem, found, ReadM3u);
  if (!start.playList.empty()) {
    a.playList = start.playList;
    a.count = start.count;
    a.index = start.index;
    TraceStep("ItemList", orbtrace::QuoteText(a.playList), std::to_string(a.count));
  }
  OpenItem("", start.item, 0, 0);
}

bool RegisterMainClass(AudioState& a) {
  if (SKCHECKCLASS(kMainClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = OrbAudioWindowProc;
  windowClass.hInstance = a.instance;
  windowClass.hIcon = a.icon;
  windowClass.hIconSm = a.icon;
  return SKREGISTERCLASS(&windowClass, kMainClass) != 0;
}

int RunMessageLoop(AudioState& a) {
  MSG msg = {};
  a.rebuild = false;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (SKDIALOGMESSAGE(a.mainWindow, &msg) == 0 && !IsDialogMessageA(a.mainWindow, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (a.rebuild) {
      a.rebuild = false;
      OpenStartItem(a);
    }
  }
  return static_cast<int>(msg.wParam);
}

void ShutDown(AudioState& a, HANDLE mutex) {
  if (a.audioAvailable) {
    CloseStream();
    BASSUNLOAD();
  }
  if (mutex != nullptr) CloseHandle(mutex);
  panels::PanelState& panel = panels::Panels();
  if (panel.mixer != nullptr) mixerClose(panel.mixer);
  panel.mixer = nullptr;
  suite::KillThreadTimer(a.sliderTimer);
  suite::KillThreadTimer(a.queueTimer);
  if (a.mainWindow != nullptr && IsWindow(a.mainWindow)) DestroyWindow(a.mainWindow);
  a.mainWindow = nullptr;
}

int RunAudioPlayer(HINSTANCE instance, const std::string& rawCommandLine) {
  AudioState& a = Audio();
  a.instance = instance;
  suite::ProgramPaths paths = suite::FindProgramPaths();
  a.programFolder = paths.folder;
  a.exeName = paths.exeName;
  a.basePath = suite::BasePath(a.programFolder, a.exeName);
  a.commandText = suite::TrimBlanks(rawCommandLine);

  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex == nullptr) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    int code = SecondStart(a);
    CloseHandle(mutex);
    return code;
  }
  a.firstFlush = true;
  a.icon = LoadIconA(instance, "PROGRAM");
  a.repeatDefault = true;
  SetCurrentDirectoryA(a.programFolder.c_str());

  std::string tablePath = a.basePath + ".SYS";
  if (!SKEXIST(tablePath.c_str())) {
    MessageBoxA(nullptr, (tablePath + " missing !").c_str(), suite::NameBeforeFirstDot(a.exeName).c_str(),
                kMissingTableStyle);
    CloseHandle(mutex);
    return 2;
  }
  suite::ReadMenuTables(tablePath, &a.menus);
  suite::ReadTextTable(tablePath, &a.texts);

  panels::PanelState& panel = panels::Panels();
  if (mixerOpen(&panel.mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) panel.mixer = nullptr;
  int32_t x = 0, y = 0, width = 0, height = 0;
  PlayerSettingsFile(&x, &y, &width, &height, 0);
  SKUSEFOCUSRECT(1);
  std::string definitions = suite::EncodeTextList(a.menus.definitions);
  SKMENU(definitions.data(), static_cast<int32_t>(definitions.size()));

  int exitCode = 0;
  if (RegisterMainClass(a)) {
    SKAPPTITLE(a.texts.entry(T_TITLE).c_str());
    SKWINDOWSTYLE(0x5F);
    SKSETSHADOW(0);
    // The main window is only a message target: the pane is what shows.
    a.mainWindow = CreateWindowExA(0, kMainClass, a.texts.entry(T_TITLE).c_str(), WS_POPUP | WS_SYSMENU, 0, 0, 0,
                                   0, nullptr, nullptr, instance, nullptr);
  }
  if (a.mainWindow != nullptr) {
    if (SKINSET(0x5F, 0x40) == 0) a.menuHolder = SKHOLDER(a.mainWindow, "SKMENU", 0, 0, OrbAudioWindowProc);
    SKSETCTLTEXT(a.mainWindow, a.texts.entry(T_TITLE).c_str());
    static suite::boxes::BoxContext boxes;
    boxes.mainWindow = a.mainWindow;
    boxes.iconModule = a.instance;
    suite::boxes::SetBoxContext(&boxes);
    SetUpPanels();
    a.audioAvailable = BASSAVAILABLE() != 0;
    if (a.audioAvailable) {
      player::StdPlayerFiles files;
      BASSSETDOWNLOADPATH(player::UserDataFolder(a.texts.entry(T_USER_FOLDER), a.programFolder,
                                                 DocumentsFolder(), files)
                              .c_str());
    }
    RunParseCommandLine(a);
    RestartSliderTimer(a);
    OpenStartItem(a);
    exitCode = RunMessageLoop(a);
  }
  ShutDown(a, mutex);
  return exitCode;
}

}  // namespace

AudioState& Audio() {
  static AudioState state;
  return state;
}

void RequestRebuild() { Audio().rebuild = true; }

}  // namespace audio

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return audio::RunAudioPlayer(instance, commandLine != nullptr ? commandLine : "");
}
