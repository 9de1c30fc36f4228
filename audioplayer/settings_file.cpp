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
#include "panels.h"
#include "skin_texts.h"
#include "themecore.h"

namespace audio {

namespace {

constexpr int32_t kDefaultWidth = 800;
constexpr int32_t kDefaultHeight = 600;
// A settings line is a few hundred bytes; anything much larger is no
// settings file of ours.
constexpr int32_t kMaxSettingsBytes = 64 * 1024;

std::string SettingsPath() {
  AudioState& a = Audio();
  return SettingsFilePath(suite::TempFolder(), a.exeName);
}

bool ReadLine(const std::string& path, std::string* line) {
  if (!SKEXIST(path.c_str())) return false;
  int32_t handle = 0;
  if (SKFOPEN(path.c_str(), 0, 0, &handle) != 0) return false;
  int32_t length = SKFLOF(handle);
  bool read = false;
  if (length > 0 && length <= kMaxSettingsBytes) {
    std::string bytes(static_cast<size_t>(length), ' ');
    read = SKFGET(handle, bytes.data(), length) == length;
    if (read) *line = bytes;
  }
  SKFCLOSE(handle);
  return read;
}

void Load(int32_t* x, int32_t* y, int32_t* width, int32_t* height) {
  AudioState& a = Audio();
  AudioSettings& s = a.settings;
  s.paneX = -1;
  s.paneY = -1;
  std::string line;
  if (ReadLine(SettingsPath(), &line) && DecodeSettingsLine(line, &s)) {
    *x = s.left;
    *y = s.top;
    *width = s.width;
    *height = s.height;
  } else {
    if (*width == 0) *width = kDefaultWidth;
    if (*height == 0) *height = kDefaultHeight;
    *x = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - *width) / 2);
    *y = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - *height) / 2);
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

// Written to a temporary file first, then renamed over the old one, so a
// failed write never leaves half a line.
void Save(int32_t x, int32_t y, int32_t width, int32_t height) {
  AudioState& a = Audio();
  AudioSettings& s = a.settings;
  std::string path = SettingsPath();
  std::string temporary = path + ".tmp";
  SKKILLFILE(temporary.c_str());
  int32_t handle = 0;
  if (SKFOPEN(temporary.c_str(), 1, 1, &handle) != 0) return;
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
  std::string line = EncodeSettingsLine(s);
  bool written = SKFPUT(handle, line.data(), static_cast<int32_t>(line.size())) == 0;
  SKFCLOSE(handle);
  if (!written || !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    SKKILLFILE(temporary.c_str());
  }
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
