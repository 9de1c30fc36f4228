// PlayerSettingsFile: the audio player's settings line in the temporary
// folder (core/audio_settings has the line's rules), read at start-up,
// which also starts the skin engine, and written at close.
#include <windows.h>

#include <algorithm>
#include <string>

#include "audio_state.h"
#include "core/audio_settings.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "file_io.h"
#include "panels.h"
#include "skin_texts.h"
#include "themecore.h"

namespace audio {

namespace {

constexpr int32_t kDefaultWidth = 800;
constexpr int32_t kDefaultHeight = 600;
// A settings line is a few hundred bytes; anything much larger is no
// settings file of ours.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

std::string SettingsPath() {
  AudioState& a = Audio();
  return SettingsFilePath(suite::TempFolder(), a.exeName);
}

void Load(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  AudioState& a = Audio();
  AudioSettings& s = a.settings;
  s.paneX = -1;
  s.paneY = -1;
  std::string line;
  if (suite::ReadWholeFile(SettingsPath(), kMaxSettingsBytes, &line) && DecodeSettingsLine(line, &s)) {
    *x = s.left;
    *y = s.top;
    *width = s.width;
    *height = s.height;
  } else {
    if (*width == 0) *width = kDefaultWidth;
    if (*height == 0) *height = kDefaultHeight;
    ScreenArea screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    CentreIn(screen, *width, *height, x, y);
    *x = std::max(0, *x);
    *y = std::max(0, *y);
  }
  if (s.lastFolder.empty()) s.lastFolder = a.programFolder;
  if (s.secondFolder.empty()) s.secondFolder = suite::TempFolder();
  if (s.skin.empty() || !SKEXIST(s.skin.c_str())) s.skin = a.basePath + ".skl";
  HWND playerPane = panels::FindPaneOf(suite::ModuleClass(suite::MODULE_MEDIA_PLAYER).c_str());
  if (playerPane != nullptr) {
    RECT r = {};
    GetWindowRect(playerPane, &r);
    s.paneX = r.left;
    s.paneY = r.top;
  }
  s.skin = a.programFolder + suite::FileNameOf(s.skin);
  SKINITENGINE(s.skin.c_str());
}

void Save(int32_t x, int32_t y, int32_t width, int32_t height) {
  AudioState& a = Audio();
  AudioSettings& s = a.settings;
  HWND pane = Pane();
  RECT r = {};
  if (pane != nullptr && GetWindowRect(pane, &r)) {
    s.paneX = r.left;
    s.paneY = r.top;
  }
  s.skin.clear();
  s.left = x;
  s.top = y;
  s.width = width;
  s.height = height;
  // A failed write leaves the old file as it was.
  suite::WriteFileReplacing(SettingsPath(), EncodeSettingsLine(s));
}

}  // namespace

void PlayerSettingsFile(int32_t* x, int32_t* y, int32_t* width, int32_t* height, int32_t mode) {
  if (mode == 0) {
    Load(x, y, width, height);
  } else {
    Save(*x, *y, *width, *height);
  }
}

}  // namespace audio
