// The media player's entry: everything from process start to the end of the
// message loop (names, text table, single instance, skin, windows, routing
// of the command line), then the orderly shut-down and the optional
// restart.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_rules.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/path_placeholders.h"
#include "core/player_command_line.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "file_io.h"
#include "image_startup.h"
#include "player_parts.h"
#include "media_backend.h"
#include "module_start.h"
#include "orbboxes.h"
#include "panels.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_player.h"
#include "thread_timer.h"
#include "tonelink.h"

namespace player {

PlayerState& Player() {
  static PlayerState state;
  return state;
}

OptionLine& Options() {
  static OptionLine options(
      [] { return Player().texts.entry(T_OPTION_LINE); },
      [] { return Player().alwaysOnTop; },
      [] { return static_cast<uint32_t>(GetSysColor(COLOR_BTNSHADOW)); });
  return options;
}

namespace {

constexpr char kMainClass[] = "ORBPLAY";
constexpr char kMutexName[] = "ORBPLAY";
// How long a second start waits for the first instance's window.  The first
// may hold the mutex before its window exists (it is still starting) or
// after it is gone (it is ending): the wait is bounded either way.
constexpr DWORD kSecondStartWaitMs = 5000;
constexpr UINT kVolumeFollowMs = 100;
// The text entry naming the user data folder.
constexpr size_t T_USER_FOLDER = 81;
// The largest text table a ".SYS" argument may install.
constexpr size_t kMaxTextTableBytes = 16u << 20;

void FindProgramPaths(PlayerState& p) {
  suite::ProgramPaths paths = suite::FindProgramPaths();
  p.programFolder = paths.folder;
  p.exeName = paths.exeName;
  p.basePath = paths.basePath;
}

void RunParseCommandLine(PlayerState& p) {
  ParsedCommandLine parsed = ParseCommandLine(p.commandLine, ReadUplList);
  p.commandLine = parsed.itemList;
  p.multiItem = parsed.multiItem;
}

// A second start hands its command line to the running player and ends.
int SecondStart(PlayerState& p) {
  HWND window = suite::WaitForModuleWindow(kMainClass, kSecondStartWaitMs);
  if (window == nullptr) return 0;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  RunParseCommandLine(p);
  suite::SendSuiteCommand(window, suite::CMD_FORWARD_COMMAND_LINE, p.commandLine);
  return 0;
}

// A ".SYS" argument replaces the program's text table with that file (when
// it can be read and is not empty).  The command line is emptied either way.
void InstallTextTableArgument(PlayerState& p) {
  std::string source = suite::ReplaceAll(p.commandLine, "@path@", p.programFolder);
  p.commandLine.clear();
  std::string bytes;
  if (!suite::ReadWholeFile(source, kMaxTextTableBytes, &bytes) || bytes.empty()) return;
  suite::WriteFileReplacing(p.basePath + ".SYS", bytes);
}

std::vector<std::string> ReadLinesWithEngine(const std::string& path) {
  std::vector<std::string> lines;
  for (int guard = 0; guard < 100000; ++guard) {
    int32_t error = 0;
    std::string line = themecore::FetchText([&](char* out, int32_t size) {
      return SKBUFIN(path.c_str(), out, size, &error);
    });
    if (error != 0) break;
    lines.push_back(line);
  }
  return lines;
}

// The packaging of a player as a slide show or a kiosk: false ends the
// program with code 2.
bool CheckPackaging(PlayerState& p) {
  std::string ownSlideShow = p.basePath + p.texts.entry(T_SLIDE_SHOW_SUFFIX);
  bool hasSuffix = !p.texts.entry(T_SLIDE_SHOW_SUFFIX).empty();
  if (SKEXIST((p.programFolder + "showreel.dll").c_str()) &&
      !(hasSuffix && SKEXIST(ownSlideShow.c_str())) &&
      !SKEXIST((p.programFolder + "orbaux.exe").c_str())) {
    return false;
  }
  auto makeKiosk = [&p] {
    p.texts.set(T_OPTION_LINE, RewriteForAviKiosk(p.texts.entry(T_OPTION_LINE)));
  };
  if (NamesAviFile(p.commandLine)) {
    makeKiosk();
    return true;
  }
  std::string autorun = p.programFolder + "AUTORUN.INF";
  if (!p.commandLine.empty() || !SKEXIST(autorun.c_str())) return true;
  std::string item = AutorunItem(ReadLinesWithEngine(autorun));
  SKBUFIN("", nullptr, 0, nullptr);
  if (!item.empty() && SKEXIST(item.c_str()) && suite::EndsWithNoCase(item, ".avi")) {
    makeKiosk();
    p.autorunItem = item;
  }
  return true;
}

// Mixer 0 and the start volume of the option line.  Without a sound
// device there is no mixer and the volume is left alone.
void OpenMixer(PlayerState& p) {
  if (mixerOpen(&p.mixer, 0, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR) p.mixer = nullptr;
  int32_t volume = Options().OptionField14();
  if (volume == OPTION_KEEP_VOLUME || p.mixer == nullptr) return;
  int32_t earlier = MasterVolume();
  if (earlier < 0 || !SetMasterVolume(volume)) return;
  p.earlierVolume = earlier;
  p.startVolume = volume;
}

void BuildMenus(PlayerState& p, const WindowPlacement& placement) {
  SKUSEFOCUSRECT(1);
  std::string definitions = suite::EncodeTextList(p.menus.definitions);
  SKMENU(definitions.data(), static_cast<int32_t>(definitions.size()));
  SKSETTRANSMENU(1);
  p.popup1 = SKPOPUPHANDLE(1);
  p.popup3 = SKPOPUPHANDLE(3);
  p.popup4 = SKPOPUPHANDLE(4);
  SetMenuItemCheck(101, p.alwaysOnTop);
  SetMenuItemCheck(301, Options().OptionField2() != 0);
  p.layoutItem = placement.layoutItem != 0 ? placement.layoutItem : Options().OptionField3();
  if (p.layoutItem >= 303 && p.layoutItem <= 308) SetMenuItemCheck(p.layoutItem, true);
  SetMenuItemCheck(401, Options().OptionField16() != 0);
  SetMenuItemCheck(411, Options().OptionField23() != 0);
}

bool RegisterMainClass(PlayerState& p) {
  if (SKCHECKCLASS(kMainClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_VREDRAW | CS_HREDRAW;
  windowClass.lpfnWndProc = PlayerWindowProc;
  windowClass.hInstance = p.instance;
  windowClass.hIcon = p.icon;
  windowClass.hIconSm = p.icon;
  return SKREGISTERCLASS(&windowClass, kMainClass) != 0;
}

HWND CreateMainWindow(PlayerState& p, const WindowPlacement& placement) {
  int32_t x = placement.x, y = placement.y, width = placement.width, height = placement.height;
  bool kiosk = Options().OptionField7() != 0;
  if (kiosk) {
    x = -SKGETSYSTEMMETRICS(4);
    y = -(SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(2));
    SKSETMAXSIZE(GetSystemMetrics(SM_CXSCREEN) + 1, GetSystemMetrics(SM_CYSCREEN) + 1, &width, &height);
  } else {
    SKSETMAXSIZE(placement.width, placement.height, &width, &height);
  }
  DWORD extended = (Options().OptionField8() != 0 || kiosk) ? WS_EX_TOPMOST : 0;
  return CreateWindowExA(extended, kMainClass, p.texts.entry(T_TITLE).c_str(), WS_POPUP | WS_SYSMENU, x, y,
                         width, height, nullptr, nullptr, p.instance, nullptr);
}

void CreateChildren(PlayerState& p) {
  p.contentHolder = SKHOLDER(p.mainWindow, "SKCLIP", 0, 0, PlayerWindowProc);
  if (SKINSET(Options().OptionField6(), 0x40) == 0) {
    p.menuHolder = SKHOLDER(p.mainWindow, "SKMENU", 0, 0, PlayerWindowProc);
  }
  p.statusWindow = SKSTATUSWINDOW(p.mainWindow, "");
  // Caption-button tips: (style bit, buttons), tip n is field n of T(13).
  const int32_t style = SKWINDOWSTYLE(0);
  const std::pair<int32_t, std::vector<int32_t>> tips[] = {{1, {6}}, {2, {3}}, {4, {4, 5}}, {8, {2, 1}}};
  for (const auto& [bit, buttons] : tips) {
    if ((style & bit) == 0) continue;
    for (int32_t button : buttons) {
      HWND handle = SKSYSBUTHANDLE(button);
      // A null handle would give the whole main window the tip.
      if (handle == nullptr) continue;
      SKBUTTONTIP(p.mainWindow, handle,
                  suite::ItemField(p.texts.entry(T_CAPTION_TIPS), static_cast<size_t>(button)).c_str());
    }
  }
  if (p.contentHolder != nullptr) {
    p.videoWindow = SKWINDOW(p.contentHolder, WS_CHILD, 0, 0, 0, 0, PlayerWindowProc, Options().OptionField11());
    p.zoomHolder = SKHOLDER(p.contentHolder, "SKZOOM", 0, 0, PlayerWindowProc);
    p.popupWindow = SKWINDOW(p.contentHolder, static_cast<int32_t>(WS_POPUP), 0, 0, 0, 0, PlayerWindowProc, 0);
  }
  SKSETCTLTEXT(p.mainWindow, p.texts.entry(T_TITLE).c_str());
}

// The user's documents folder, with a final backslash; "" when the system
// names none.
std::string DocumentsFolder() {
  char folder[MAX_PATH] = "";
  if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return folder[0] != '\0' ? suite::WithFinalBackslash(folder) : std::string();
}

// The user data folder ("@user@"), where the audio library downloads
// streams: the folder text entry 81 names, created when missing; the
// program folder when the entry is empty or the folder cannot be made.
std::string UserDataFolder(const PlayerState& p) {
  StdPlayerFiles files;
  return player::UserDataFolder(p.texts.entry(T_USER_FOLDER), p.programFolder, DocumentsFolder(), files);
}

void OpenRoute(PlayerState& p, const Route& route) {
  if (!route.itemList.empty()) {
    p.itemList = route.itemList;
    p.itemCount = route.itemCount;
  }
  if (route.kind == RouteKind::OpenList) p.itemIndex = 1;
  if (route.kind == RouteKind::PictureLayout) {
    ShowPictureLayout();
  } else {
    OpenItem("", route.item, 0, 0);
  }
  if (p.layoutMode == 4 && p.itemCount >= 1 && ControlOf(ID_POSITION) != nullptr) {
    SKSETTRACKPOS(ControlOf(ID_POSITION), FirstItemTrackPosition(p.itemCount));
  }
}

// Where the command line goes; false when the program must end with code 2.
bool RouteStartItem(PlayerState& p) {
  if (p.gdiplusToken == 0 && !themecore::FindFile("gdiplus.dll").empty()) p.gdiplusToken = suite::ImgStartup();
  RouteInput input;
  input.line = p.commandLine;
  input.multiItem = p.multiItem;
  input.slideShowSuffix = p.texts.entry(T_SLIDE_SHOW_SUFFIX);
  input.ownSlideShowFile = p.basePath + input.slideShowSuffix;
  input.ownSlideShowExists = !input.slideShowSuffix.empty() && SKEXIST(input.ownSlideShowFile.c_str());
  input.slideShowLibraryPresent = SKEXIST((p.programFolder + "showreel.dll").c_str()) != 0;
  input.recordingKeyword = p.recordingKeyword;
  input.autorunItem = p.autorunItem;
  input.htmlPage = p.basePath + ".HTM";
  input.htmlPageExists = SKEXIST(input.htmlPage.c_str()) != 0;
  RouteFileReaders readers;
  readers.findFile = [](const std::string& name) { return themecore::FindFile(name.c_str()); };
  readers.readPlaylist = ReadPlaylist;
  readers.readUplList = ReadUplList;
  Route route = RouteCommandLine(input, readers);
  if (route.kind == RouteKind::EndWithCode2) return false;
  OpenRoute(p, route);
  p.texts.set(T_CURRENT_NOTE, "");
  p.currentItem = route.item;
  p.reroute = false;
  return true;
}

// Escape in the loop: the kiosk's quit question, then leaving the zoomed or
// full-screen display.  The key still goes on to the window.
void OnEscape(PlayerState& p) {
  if (Options().OptionField7() != 0) {
    suite::boxes::MessageBoxStyle style{};
    style.icon = suite::boxes::BoxIconField(LoadIconA(nullptr, IDI_QUESTION));
    style.colour1 = static_cast<uint32_t>(SKGETSYSCOLOR(113));
    style.colour2 = static_cast<uint32_t>(SKGETSYSCOLOR(112));
    style.boxKind = 6;
    style.frameValue = 3;
    style.buttonValue = 3;
    style.boxVariant = 0xFFFF;
    style.defaultButton = 1;
    int32_t answer = SKMSGBOX(p.mainWindow, SKCAPTIONFONT(), p.texts.entry(T_TITLE).c_str(),
                              p.texts.entry(T_QUIT_QUESTION).c_str(), p.texts.entry(T_QUIT_BUTTONS).c_str(),
                              &style, 0);
    if (answer == 1) PostQuitMessage(0);
  }
  if (p.displayState == DISPLAY_ZOOMED && p.savedLayoutItem != 0) {
    for (int32_t item = 303; item <= 308; ++item) SetMenuItemCheck(item, false);
    SetMenuItemCheck(p.savedLayoutItem, true);
    p.layoutItem = p.savedLayoutItem;
    LayOutVideo();
  } else if (p.displayState == DISPLAY_FULL_SCREEN) {
    ResetDisplayState();
  }
}

int RunMessageLoop(PlayerState& p) {
  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) OnEscape(p);
    if (SKDIALOGMESSAGE(p.mainWindow, &msg) == 0 &&
        (p.mainWindow == nullptr || !IsDialogMessageA(p.mainWindow, &msg))) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (p.reroute && !RouteStartItem(p)) PostQuitMessage(2);
  }
  return static_cast<int>(msg.wParam);
}

void ShutDown(PlayerState& p, HANDLE mutex) {
  if (p.mainWindow != nullptr) PlayerWindowProc(p.mainWindow, WM_DESTROY, 0, 0);
  DestroyBrowserPanes();
  // A mute must not outlive the player: the system volume is the user's.
  RestoreMutedVolume();
  if (p.startVolume != OPTION_KEEP_VOLUME && MasterVolume() == p.startVolume) SetMasterVolume(p.earlierVolume);
  CloseMedia();
  if (p.audioAvailable) BASSUNLOAD();
  suite::ImgShutdown(p.gdiplusToken);
  p.gdiplusToken = 0;
  if (p.mixer != nullptr) mixerClose(p.mixer);
  p.mixer = nullptr;
  for (HMENU* popup : {&p.popup1, &p.popup3, &p.popup4}) {
    if (*popup != nullptr) DestroyMenu(*popup);
    *popup = nullptr;
  }
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);
  KillThreadTimer(p.volumeTimer);
  KillThreadTimer(p.queueTimer);
  KillThreadTimer(p.soundTimer);
  if (p.mainWindow != nullptr && IsWindow(p.mainWindow)) DestroyWindow(p.mainWindow);
  p.mainWindow = nullptr;
  // The mutex goes first: a restarted player must not find this one's.
  if (mutex != nullptr) CloseHandle(mutex);
  if (p.restartAtExit) {
    ShellExecuteA(nullptr, "open", (p.programFolder + p.exeName).c_str(), nullptr,
                  suite::WithoutFinalBackslash(p.programFolder).c_str(), SW_SHOW);
  }
  SKKILLFILE((p.basePath + ".LOG").c_str());
  SKKILLFILE((suite::TempFolder() + suite::NameBeforeFirstDot(p.exeName) + ".g2b").c_str());
  if (p.recorderLoaded && p.reportWindow != nullptr) {
    suite::SendSuiteCommand(p.reportWindow, suite::CMD_RECORDING_REPORT,
                            RecordingReport(p.recorderCounters[0], p.recorderCounters[1],
                                            p.recorderCounters[2]));
  }
}

int RunPlayer(HINSTANCE instance, const std::string& rawCommandLine) {
  PlayerState& p = Player();
  p.instance = instance;
  FindProgramPaths(p);
  p.commandLine = suite::TrimBlanks(rawCommandLine);
  if (IsRecordingKeyword(p.commandLine)) {
    p.recordingKeyword = true;
    p.commandLine.clear();
  }
  p.icon = LoadIconA(instance, "PROGRAM");

  HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
  if (mutex == nullptr) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    int code = SecondStart(p);
    CloseHandle(mutex);
    return code;
  }
  SetCurrentDirectoryA(p.programFolder.c_str());
  if (IsTextTableArgument(p.commandLine)) InstallTextTableArgument(p);

  std::string tablePath = p.basePath + ".SYS";
  if (!SKEXIST(tablePath.c_str())) {
    MessageBoxA(nullptr, (tablePath + " missing !").c_str(), suite::NameBeforeFirstDot(p.exeName).c_str(), MB_ICONHAND);
    CloseHandle(mutex);
    return 2;
  }
  suite::ReadMenuTables(tablePath, &p.menus);
  suite::ReadTextTable(tablePath, &p.texts);
  InstallScreenCodec(Options().OptionField12());
  if (!CheckPackaging(p)) {
    CloseHandle(mutex);
    return 2;
  }
  OpenMixer(p);

  SKKILLFILE((p.basePath + ".LOG").c_str());
  WindowPlacement placement = LoadWindowConfigFile();
  p.alwaysOnTop = placement.alwaysOnTop;
  BuildMenus(p, placement);

  int exitCode = 0;
  if (RegisterMainClass(p)) {
    SKAPPTITLE(p.texts.entry(T_TITLE).c_str());
    SKWINDOWSTYLE(Options().OptionField6());
    SKSETSHADOW(0);
    p.mainWindow = CreateMainWindow(p, placement);
  }
  if (p.mainWindow != nullptr) {
    CreateChildren(p);
    SetUpPanels();
    static suite::boxes::BoxContext boxes;
    boxes.mainWindow = p.mainWindow;
    boxes.iconModule = p.instance;
    suite::boxes::SetBoxContext(&boxes);

    RegisterImagingEvents();
    p.audioAvailable = BASSAVAILABLE() != 0;
    if (p.audioAvailable) BASSSETDOWNLOADPATH(UserDataFolder(p).c_str());
    RunParseCommandLine(p);
    p.volumeTimer = SetTimer(nullptr, 0, kVolumeFollowMs, VolumeFollowTimer);
    if (RouteStartItem(p)) {
      ShowWindow(p.mainWindow, SW_SHOW);
      UpdateWindow(p.mainWindow);
      exitCode = RunMessageLoop(p);
    } else {
      exitCode = 2;
    }
  }
  ShutDown(p, mutex);
  return exitCode;
}

}  // namespace

// Mixer 0's master volume, through the panels' mixer calls.
int32_t MasterVolume() { return panels::MixerGetVolume(Player().mixer); }

bool SetMasterVolume(int32_t percent) {
  if (percent < 0 || percent > 100) return false;
  return panels::MixerSetVolume(Player().mixer, percent) == 1;
}

}  // namespace player

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  return player::RunPlayer(instance, commandLine != nullptr ? commandLine : "");
}
