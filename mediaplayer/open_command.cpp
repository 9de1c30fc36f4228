// The user's "open" command and the play-list files the player reads: the
// media browser serves as the player's file chooser (it sends the chosen
// files back with code 3); without one the outside file picker
// CHOOSER.DLL asks.  ".m3u" and ".upl" lists become the item list.
#include <windows.h>

#include <string>

#include "chooser.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/media_masks.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/play_lists.h"
#include "core/player_files.h"
#include "core/player_list.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "player_parts.h"
#include "open_item.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timer.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr size_t T_PICKER_TITLE = 4;
constexpr size_t T_PICKER_FILTERS = 5;
constexpr size_t T_PICKER_BUTTONS = 6;
constexpr size_t T_PICKER_LIST_LABEL = 7;
constexpr size_t T_PICKER_TREE_LABEL = 8;
constexpr size_t T_PICKER_FILTER_LABEL = 9;
constexpr size_t T_PICKER_FIELD_LABEL = 10;
constexpr size_t T_EXTRA_TEXT = 11;
constexpr size_t T_PICKER_UNUSED = 32;
constexpr size_t T_CHOOSER_PROGRAM = 78;
constexpr size_t T_HIDDEN_EXTENSIONS = 85;
constexpr size_t T_AUDIO_PATTERNS = 88;
// The picker's mode: the field takes a typed name or address.
constexpr int32_t kAddressMode = 1;
// How long a media browser just started may take to show its window: as
// long as any module start of the suite waits.
constexpr DWORD kBrowserStartWaitMs = 2000;

void TakeList(const PlayerList& list) {
  PlayerState& p = Player();
  p.itemList = list.itemList;
  p.displayTimes.clear();
  p.itemCount = list.count;
}

HWND WaitForBrowserWindow(const std::string& windowClass) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(windowClass.c_str(), nullptr);
    if (window != nullptr || GetTickCount() - start >= kBrowserStartWaitMs) return window;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

std::string OwnClassName() {
  char name[256] = {};
  int length = GetClassNameA(Player().mainWindow, name, sizeof(name));
  return length > 0 ? std::string(name, static_cast<size_t>(length)) : std::string();
}

// Text entry 5 with the audio library's patterns in place of "@01", or
// without ";@01" when there is no audio library.
std::string PickerFilters(const PlayerState& p) {
  const std::string& filters = p.texts.entry(T_PICKER_FILTERS);
  if (p.audioAvailable) return suite::ReplaceAll(filters, "@01", p.texts.entry(T_AUDIO_PATTERNS));
  return suite::ReplaceAll(filters, ";@01", "");
}

// A confirmed choice becomes the item list and its first item opens.
void OpenChosen(PlayerState& p, std::string list, const std::string& extra) {
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);
  Engine().indexActive = false;
  CloseMedia();
  SetActiveWindow(p.mainWindow);
  InvalidateRect(p.mainWindow, nullptr, TRUE);
  while (!list.empty() && list.back() == '|') list.pop_back();
  const std::string lower = suite::LowerAscii(list);
  if (suite::EndsWithNoCase(lower, ".m3u")) {
    ReadPlaylist(list);
  } else if (suite::EndsWithNoCase(lower, ".upl")) {
    ReadUplList(list);
  } else {
    p.itemList = list;
  }
  if (Options().OptionField4() == 4) p.itemList = KeepPictureItems(p.itemList);
  p.itemCount = static_cast<int32_t>(suite::ItemFieldCount(p.itemList));
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "ItemList").Text(p.itemList.c_str()), p.itemCount);
  std::string item = p.itemList;
  if (p.itemCount > 1) {
    p.itemIndex = 1;
    item = suite::ItemField(p.itemList, 1);
  }
  OpenItem(extra, item, 0, 0);
  if (!item.empty()) p.folderA = suite::FolderOf(item);
}

}  // namespace

HMODULE ChooserLibrary() {
  static HMODULE library = LoadLibraryA("CHOOSER.DLL");
  return library;
}

void OpenWithChooser() {
  PlayerState& p = Player();
  auto showThumbnails = ChooserExport<ChooserStoreProc>("SKSHOWTHUMB");
  auto multi = ChooserExport<ChooserMultiProc>("CHOOSERMULTI");
  auto filter = ChooserExport<ChooserStoreProc>("CHOOSERFILTER");
  auto dialog = ChooserExport<ChooserDialogProc>("CHOOSERF");
  if (multi == nullptr || filter == nullptr || dialog == nullptr) return;
  if (showThumbnails != nullptr) {
    picker::TextRef pictures(PICTURE_EXTENSIONS);
    showThumbnails(pictures.ref(), 1);
  }
  multi(1);
  picker::TextRef hidden(p.texts.entry(T_HIDDEN_EXTENSIONS));
  filter(hidden.ref(), 1);

  const std::string savedList = p.itemList;
  const std::string savedTimes = p.displayTimes;
  p.itemList.clear();
  p.displayTimes.clear();
  const bool barOwns = Options().OptionField22() != 0 && ControlBar() != nullptr;
  HWND owner = barOwns ? ControlBar() : p.mainWindow;
  if (barOwns) EnableWindow(ControlBar(), FALSE);
  const std::string start = (p.folderA.empty() ? p.programFolder : p.folderA) + "*.*";
  const std::string filters = PickerFilters(p);
  picker::TextRef list(p.itemList);
  picker::TextRef extra(p.texts.entry(T_EXTRA_TEXT));
  const int32_t result =
      dialog(owner, start.c_str(), p.texts.entry(T_PICKER_TITLE).c_str(), filters.c_str(),
             p.texts.entry(T_PICKER_BUTTONS).c_str(), p.texts.entry(T_PICKER_LIST_LABEL).c_str(),
             p.texts.entry(T_PICKER_TREE_LABEL).c_str(), p.texts.entry(T_PICKER_FILTER_LABEL).c_str(),
             p.texts.entry(T_PICKER_UNUSED).c_str(), p.texts.entry(T_PICKER_FIELD_LABEL).c_str(), kAddressMode,
             list.ref(), extra.ref(), 0);
  multi(0);
  if (barOwns && IsWindow(ControlBar())) EnableWindow(ControlBar(), TRUE);
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "CHOOSERF").Text(list.str().c_str()).Text(extra.str().c_str()),
                      result);
  if (result == 2 && p.mainWindow != nullptr && IsWindow(p.mainWindow)) {
    OpenChosen(p, list.str(), extra.str());
    return;
  }
  p.itemList = savedList;
  p.displayTimes = savedTimes;
}

std::string ReadPlaylist(const std::string& path) {
  PlayerList list;
  StdPlayerFiles files;
  if (!ReadPlaylist(path, Player().programFolder, files, &list)) return std::string();
  TakeList(list);
  return list.itemList;
}

std::string ReadUplList(const std::string& path) {
  PlayerList list;
  StdPlayerFiles files;
  std::string items = ReadUplList(path, Player().programFolder, files, &list);
  if (items.empty()) return items;
  TakeList(list);
  return items;
}

void OpenCommand() {
  PlayerState& p = Player();
  std::string program = themecore::FindFile(p.texts.entry(T_CHOOSER_PROGRAM).c_str());
  if (program.empty() || p.texts.entry(T_CHOOSER_PROGRAM).empty()) {
    OpenWithChooser();
    return;
  }
  std::string browserClass = suite::ModuleClass(suite::MODULE_MEDIA_BROWSER);
  HWND browser = FindWindowA(browserClass.c_str(), nullptr);
  if (browser != nullptr) {
    ShowWindow(browser, IsIconic(browser) ? SW_RESTORE : SW_MINIMIZE);
    return;
  }
  // The skin is a full path now, which may hold blanks.
  if (SKSHELL((suite::QuoteArgument(program) + " " + suite::QuoteArgument(p.skinFile)).c_str(), 5, 0) == 0) return;
  // The browser needs a moment to show its window; without the wait the
  // files chosen in it would have nowhere to go.
  browser = WaitForBrowserWindow(browserClass);
  if (browser == nullptr) return;
  p.startedMediaBrowser = true;
  suite::SendSuiteCommand(browser, suite::CMD_SET_TARGET_PROGRAM,
                          p.programFolder + p.exeName + "," + OwnClassName());
}

}  // namespace player
