// Open (command 101): the picture browser chooses the pictures when it is
// installed (it sends them back as a suite command, main_window.cpp);
// otherwise the outside file picker CHOOSER.DLL, which the program links,
// asks, listing pictures only.
#include <windows.h>

#include <string>

#include "chooser.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "module_start.h"
#include "paint_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "trace_format.h"

namespace paint {

namespace {

// The picker's texts: its buttons (1 cancels, 2 confirms), the labels over
// its list, tree and filter box, an unread text and the label of its name
// field; its title; its filter list.
constexpr size_t T_PICKER_BUTTONS = 3;
constexpr size_t T_PICKER_LIST_LABEL = 4;
constexpr size_t T_PICKER_TREE_LABEL = 5;
constexpr size_t T_PICKER_FILTER_LABEL = 6;
constexpr size_t T_PICKER_UNUSED = 7;
constexpr size_t T_PICKER_FIELD_LABEL = 8;
constexpr size_t T_PICKER_TITLE = 10;
// The pictures the program loads, for the picker's list and thumbnails.
constexpr char kPictureExtensions[] =
    ".JPG.CMP.GIF.TIF.BMP.ICO.CUR.PCX.PCC.DCX.PCD.WMF.PSD.PNG.TGA.EPS.RAS.WPG.PCT.MAC.IMG.MSP.EMF.JPEG.G2B.I2B.FPX.";
constexpr int32_t kAddressMode = 1;

// The picture browser, running or started; null when it is not installed
// or did not show its window in time.
HWND PictureBrowser(PaintState& p, const std::string& viewer) {
  const std::string windowClass = suite::CommaField(p.texts.entry(T_BROWSER), 2);
  HWND browser = FindWindowA(windowClass.c_str(), nullptr);
  if (browser != nullptr) {
    if (IsIconic(browser)) ShowWindow(browser, SW_RESTORE);
    SetActiveWindow(browser);
    SetForegroundWindow(browser);
    return browser;
  }
  if (SKSHELL(suite::ProgramCommandLine(viewer, "").c_str(), 5, 0) == 0) return nullptr;
  p.startedBrowser = true;
  browser = suite::WaitForModuleWindow(windowClass.c_str(), suite::MODULE_START_WAIT_MS);
  if (browser == nullptr) p.startedBrowser = false;
  return browser;
}

void ChooseWithPicker(PaintState& p) {
  p.lastFilter = "*.*";
  const std::string start = p.lastFolder + "*.*";
  std::string filters = p.texts.entry(T_PICKER_FILTERS);
  if (filters.empty()) filters = "BMP|*.BMP";
  picker::TextRef extensions(kPictureExtensions);
  SKUSEFILTER(extensions.ref(), 1);
  SKSHOWTHUMB(extensions.ref(), 1);
  CHOOSERMULTI(1);
  const std::string savedList = p.pictureList;
  picker::TextRef list(p.pictureList);
  picker::TextRef name("");
  const int32_t result =
      CHOOSERF(p.mainWindow, start.c_str(), p.texts.entry(T_PICKER_TITLE).c_str(), filters.c_str(),
               p.texts.entry(T_PICKER_BUTTONS).c_str(), p.texts.entry(T_PICKER_LIST_LABEL).c_str(),
               p.texts.entry(T_PICKER_TREE_LABEL).c_str(), p.texts.entry(T_PICKER_FILTER_LABEL).c_str(),
               p.texts.entry(T_PICKER_UNUSED).c_str(), p.texts.entry(T_PICKER_FIELD_LABEL).c_str(), kAddressMode,
               list.ref(), name.ref(), 0);
  picker::TextRef none("");
  SKUSEFILTER(none.ref(), 1);
  CHOOSERMULTI(0);
  RepaintWindow(p.mainWindow, false);
  TraceProgramCall("CHOOSERF", orbtrace::QuoteText(list.str()), std::to_string(result));
  if (result != 2) {
    p.pictureList = savedList;
    return;
  }
  std::string chosen = list.str();
  while (!chosen.empty() && chosen.back() == '|') chosen.pop_back();
  // The chosen pictures replace the canvas: unsaved changes are asked about
  // first.
  SaveChangesPrompt();
  p.pictureList = chosen;
  p.pictureCount = static_cast<int32_t>(PictureCountOf(chosen));
  p.pictureIndex = 1;
  p.currentPicture = p.pictureCount == 1 ? chosen : PictureAt(chosen, 1);
  p.lastFolder = suite::FolderOf(p.currentPicture);
  LoadPictureFile();
}

}  // namespace

void OpenPictureDialog() {
  PaintState& p = Paint();
  const std::string viewer = themecore::FindFile(suite::CommaField(p.texts.entry(T_BROWSER), 1).c_str());
  if (viewer.empty()) {
    ChooseWithPicker(p);
    return;
  }
  HWND browser = PictureBrowser(p, viewer);
  if (browser != nullptr) suite::SendSuiteCommand(browser, suite::CMD_PICTURE_TOOL_HELLO, "");
  // The hand-over reloads the current picture: unsaved changes are asked
  // about first.
  SaveChangesPrompt();
  LoadPictureFile();
}

}  // namespace paint
