// The open command (the chooser module the text table names, normally the
// media browser, or else the built-in file picker), the effects panel
// toggle and the companion module toggle.
#include <windows.h>

#include <string>

#include "audio_state.h"
#include "chooser.h"
#include "core/audio_rules.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/player_files.h"
#include "core/play_lists.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "fx_panel.h"
#include "module_start.h"
#include "picker_exports.h"
#include "suite_command.h"
#include "themecore.h"
#include "trace_writer.h"

namespace audio {

namespace {

constexpr int32_t kPickerConfirmed = 2;
constexpr int32_t kPickerMode = 1;
// The media browser's audio files.
constexpr uint32_t kAudioMediaType = 14;

// The chooser named by the text table; false when it is not installed.  A
// running chooser is restored when minimised and minimised otherwise.
bool OpenWithChooserModule() {
  AudioState& a = Audio();
  suite::ModuleRef chooserRef = suite::ParseModuleRef(a.texts.entry(T_CHOOSER));
  std::string chooser = chooserRef.program.empty() ? std::string() : themecore::FindFile(chooserRef.program.c_str());
  if (chooser.empty()) return false;
  std::string windowClass = ChooserClass();
  // The skin goes along only when it is a file: the media browser takes any
  // other argument for files to hand to a player.
  std::string skin = a.settings.skin;
  bool hasSkin = !skin.empty() && SKEXIST(skin.c_str());
  std::string command = suite::ProgramCommandLine(chooser, hasSkin ? suite::QuoteArgument(skin) : "");
  bool started = false;
  HWND window = suite::FindOrStartModule(windowClass.c_str(), command, &started);
  if (window != nullptr && !started) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_MINIMIZE);
  } else if (window != nullptr) {
    a.chooserStarted = true;
    char ownClass[64] = {};
    GetClassNameA(a.mainWindow, ownClass, sizeof(ownClass));
    suite::SendSuiteCommand(window, suite::CMD_SET_TARGET_PROGRAM, suite::ExeName() + "," + ownClass);
  }
  if (window != nullptr && windowClass == suite::ModuleClass(suite::MODULE_MEDIA_BROWSER)) {
    suite::SendSuiteCommand(window, kAudioMediaType, "");
  }
  return true;
}

void OpenWithPicker() {
  AudioState& a = Audio();
  const suite::TextTable& t = a.texts;
  picker::TextRef name(t.entry(T_PICKER_NAME));
  PickerCHOOSERMULTI(1);
  picker::TextRef hidden(t.entry(T_HIDDEN_EXTENSIONS));
  PickerCHOOSERFILTER(hidden.ref(), 1);
  const std::string saved = a.playList;
  a.playList.clear();
  picker::TextRef list(a.playList);
  HWND pane = Pane();
  if (pane != nullptr) EnableWindow(pane, FALSE);
  std::string folder = a.settings.lastFolder.empty() ? a.programFolder : a.settings.lastFolder;
  std::string start = suite::WithFinalBackslash(folder) + t.entry(T_AUDIO_PATTERNS);
  std::string filters = PickerFilters(t.entry(T_AUDIO_PATTERNS));
  int32_t result = PickerCHOOSERF(pane != nullptr ? pane : a.mainWindow, start.c_str(), t.entry(T_PICKER_TITLE).c_str(),
                                  filters.c_str(), t.entry(T_PICKER_BUTTONS).c_str(), t.entry(T_PICKER_LIST).c_str(),
                                  t.entry(T_PICKER_TREE).c_str(), t.entry(T_PICKER_FILTER).c_str(), "",
                                  t.entry(T_PICKER_FIELD).c_str(), kPickerMode, list.ref(), name.ref());
  if (pane != nullptr && IsWindow(pane)) EnableWindow(pane, TRUE);
  PickerCHOOSERMULTI(0);
  orbtrace::WriteCall(orbtrace::CallLine("orbaudio", "CHOOSERF").Bytes(list.str()).Bytes(name.str()), result);
  SetActiveWindow(a.mainWindow);
  if (result != kPickerConfirmed) {
    a.playList = saved;
    return;
  }
  CloseStream();
  a.barsDrawn = false;
  // Each ".m3u" of the choice is replaced by its entries where it stands,
  // so the other picks are kept.
  a.playList = ExpandPickedLists(list.str(), ReadM3u);
  a.count = static_cast<int32_t>(suite::ItemFieldCount(a.playList));
  TraceStep("ItemList", orbtrace::QuoteText(a.playList), std::to_string(a.count));
  std::string item = a.playList;
  if (a.count > 1) {
    a.index = 1;
    item = suite::ItemField(a.playList, 1);
  }
  OpenItem(name.str(), item, 0, 0);
  if (!item.empty()) a.settings.lastFolder = suite::FolderOf(item);
}

}  // namespace

std::string ChooserClass() { return suite::UpperAscii(suite::ParseModuleRef(Audio().texts.entry(T_CHOOSER)).windowClass); }

std::string ReadM3u(const std::string& path) {
  player::StdPlayerFiles files;
  player::PlayerList list;
  if (!player::ReadPlaylist(path, Audio().programFolder, files, &list)) return std::string();
  return list.itemList;
}

void OpenCommand() {
  if (OpenWithChooserModule()) return;
  OpenWithPicker();
}

void ToggleFxPanel() {
  HWND panel = picker::FxPanelWindow();
  if (panel == nullptr) {
    picker::CreateFxPanel();
    panel = picker::FxPanelWindow();
    if (panel == nullptr) return;
    HWND frame = GetParent(panel) != nullptr ? GetParent(panel) : panel;
    ShowWindow(frame, SW_SHOW);
    return;
  }
  HWND frame = GetParent(panel) != nullptr ? GetParent(panel) : panel;
  ShowWindow(frame, IsWindowVisible(frame) ? SW_HIDE : SW_SHOW);
}

void LaunchModule() {
  AudioState& a = Audio();
  for (size_t module : {suite::MODULE_VISUALS, suite::MODULE_SPECTRUM}) {
    std::string program = themecore::FindFile((suite::ModuleProgram(module) + ".exe").c_str());
    if (program.empty()) continue;
    HWND running = FindWindowA(suite::ModuleClass(module).c_str(), nullptr);
    if (running != nullptr) {
      suite::SendSuiteCommand(running, suite::CMD_CLOSE, "");
      a.companion = 0;
    } else {
      SKSHELL(suite::QuoteArgument(program).c_str(), 5, 0);
      a.companion = module;
    }
    return;
  }
}

}  // namespace audio
