// The configuration file of the player (core/window_config: the line, its
// place and the default size): read at start-up, where it also starts the
// skin engine, and written when the player closes.
#include <windows.h>

#include <string>

#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "core/window_config.h"
#include "file_io.h"
#include "panels.h"
#include "player_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "trace_writer.h"
#include "window_layout.h"

namespace player {

std::string WindowsFolder(bool system) {
  char folder[MAX_PATH + 1] = {};
  UINT length = system ? GetSystemDirectoryA(folder, MAX_PATH) : GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return std::string();
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  return path;
}

namespace {

std::string ConfigPath(const PlayerState& p) {
  ConfigFolders folders;
  folders.programFolder = p.programFolder;
  folders.tempFolder = suite::TempFolder();
  folders.windowsFolder = WindowsFolder(false);
  folders.systemFolder = WindowsFolder(true);
  return WindowConfigPath(Options().OptionField13(), folders, suite::NameBeforeFirstDot(p.exeName));
}

std::string NamePart(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The skin the engine starts with: the file's skin (when it exists) or the
// program's own, taken from the program folder; a ".sks" skin named by
// text entry 91 wins when it exists.
void StartSkinEngine(PlayerState& p, const std::string& fileSkin) {
  std::string skin = fileSkin.empty() ? p.skinFile : fileSkin;
  p.skinFile = p.programFolder + NamePart(skin);
  std::string named = suite::TrimBlanks(suite::LowerAscii(p.texts.entry(T_SKIN_FILE)));
  if (suite::EndsWithNoCase(named, ".sks")) {
    named = suite::ReplaceAll(named, "@path@", p.programFolder);
    if (SKEXIST(named.c_str())) {
      size_t slash = named.find_last_of("\\/");
      p.skinFile = slash == std::string::npos ? p.programFolder + named : named;
    }
  }
  SKINITENGINE(p.skinFile.c_str());
}

}  // namespace

WindowPlacement LoadWindowConfigFile() {
  PlayerState& p = Player();
  p.configPath = ConfigPath(p);
  const int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
  panels::Panels().paneX = panels::Panels().paneY = -1;
  WindowConfig config;
  std::string bytes;
  bool read = !p.configPath.empty() && suite::ReadWholeFile(p.configPath, kMaxWindowConfigBytes, &bytes) &&
              ParseWindowConfig(bytes, &config);
  if (!read) config = WindowConfig();
  if (!config.skin.empty() && !SKEXIST(config.skin.c_str())) config.skin.clear();
  panels::Panels().paneX = config.barX;
  panels::Panels().paneY = config.barY;
  HWND audioPane = panels::FindPaneOf(suite::ModuleClass(suite::MODULE_AUDIO_PLAYER).c_str());
  if (audioPane != nullptr) {
    RECT r = {};
    GetWindowRect(audioPane, &r);
    panels::Panels().paneX = r.left;
    panels::Panels().paneY = r.top;
  }
  StartSkinEngine(p, config.skin);
  WindowRect rect = DefaultWindowRect(WindowRect{config.left, config.top, config.width, config.height}, !read,
                                      Options().OptionField9(), Options().OptionField10(), screenWidth, screenHeight,
                                      [](int32_t w, int32_t h, int32_t* wo, int32_t* ho) { SKSETMAXSIZE(w, h, wo, ho); });
  p.folderA = config.folderA.empty() ? p.programFolder : config.folderA;
  p.folderB = config.folderB.empty() ? suite::TempFolder() : config.folderB;
  WindowPlacement placement;
  placement.x = rect.left;
  placement.y = rect.top;
  placement.width = rect.width;
  placement.height = rect.height;
  placement.layoutItem = config.layoutItem;
  placement.alwaysOnTop = config.alwaysOnTop;
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "LoadWindowConfigFile").Text(p.configPath.c_str()), read ? 1 : 0);
  return placement;
}

void SaveWindowConfigFile(const RECT& normalPosition) {
  PlayerState& p = Player();
  bool disabled = p.recordingMode != 0 || p.recordingKeyword || Options().OptionField7() != 0 || p.configPath.empty();
  int32_t written = 0;
  if (!disabled) {
    WindowConfig config;
    config.left = normalPosition.left;
    config.top = normalPosition.top;
    config.width = normalPosition.right - normalPosition.left;
    config.height = normalPosition.bottom - normalPosition.top;
    // A window parked while nothing showed is saved where the user had it.
    if (p.compact && !IsRectEmpty(&p.normalRect)) {
      config.left = p.normalRect.left;
      config.top = p.normalRect.top;
      config.width = p.normalRect.right - p.normalRect.left;
      config.height = p.normalRect.bottom - p.normalRect.top;
    }
    config.folderA = p.folderA;
    config.folderB = p.folderB;
    panels::PanelState& panes = panels::Panels();
    if (Options().OptionField22() != 0 && panes.pane != nullptr) {
      RECT bar = {};
      GetWindowRect(panes.pane, &bar);
      panes.paneX = bar.left;
      panes.paneY = bar.top;
    }
    config.barX = panes.paneX;
    config.barY = panes.paneY;
    if (p.layoutItem == 308) p.layoutItem = 307;
    config.layoutItem = p.layoutItem;
    config.alwaysOnTop = p.alwaysOnTop;
    written = suite::WriteFileReplacing(p.configPath, FormatWindowConfig(config)) ? 1 : 0;
  }
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "SaveWindowConfigFile")
                          .Number(normalPosition.left)
                          .Number(normalPosition.top)
                          .Number(normalPosition.right)
                          .Number(normalPosition.bottom),
                      written);
}

}  // namespace player
