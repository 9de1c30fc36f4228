// The effects panel's settings file; see fx_settings_file.h.  The line's
// format is core/fx_settings.
#include "fx_settings_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "core/fx_settings.h"
#include "fx_panel.h"
#include "themecore.h"

namespace picker {

namespace {

constexpr int kFirstBandId = 1;
constexpr int kFirstBoxId = 11;

void Load(HWND panel, const std::string& path) {
  if (!SKEXIST(path.c_str())) return;
  int32_t handle = 0;
  if (SKFOPEN(path.c_str(), 0, 0, &handle) != 0) return;
  const int32_t length = SKFLOF(handle);
  std::string bytes;
  if (length > 0) {
    bytes.assign(std::min<size_t>(static_cast<size_t>(length), kFxMaxFileBytes), '\0');
    const int32_t read = SKFGET(handle, bytes.data(), static_cast<int32_t>(bytes.size()));
    bytes.resize(read > 0 ? static_cast<size_t>(read) : 0);
  }
  SKFCLOSE(handle);
  if (bytes.empty()) return;
  const FxSettings settings = ParseFxLine(bytes);
  for (size_t i = 0; i < kFxBandCount; ++i) {
    SKSETTRACKPOS(GetDlgItem(panel, kFirstBandId + static_cast<int>(i)), settings.bands[i]);
  }
  for (size_t i = 0; i < kFxBoxCount; ++i) {
    SKSETCHECK(GetDlgItem(panel, kFirstBoxId + static_cast<int>(i)), settings.boxes[i]);
  }
}

void Save(HWND panel, const std::string& path) {
  FxSettings settings;
  for (size_t i = 0; i < kFxBandCount; ++i) {
    settings.bands[i] = SKGETTRACKPOS(GetDlgItem(panel, kFirstBandId + static_cast<int>(i)));
  }
  for (size_t i = 0; i < kFxBoxCount; ++i) {
    settings.boxes[i] = SKGETCHECK(GetDlgItem(panel, kFirstBoxId + static_cast<int>(i)));
  }
  const std::string line = BuildFxLine(settings);
  const std::string temporary = path + ".tmp";
  int32_t handle = 0;
  if (SKFOPEN(temporary.c_str(), 1, 1, &handle) != 0) return;
  const bool written = SKFPUT(handle, line.data(), static_cast<int32_t>(line.size())) == 0;
  const bool closed = SKFCLOSE(handle) == 0;
  if (!written || !closed ||
      !MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    SKKILLFILE(temporary.c_str());
  }
}

}  // namespace

std::string FxSettingsPath() {
  return themecore::FetchText([](char* out, int32_t size) { return SKGETTEMPPATH(out, size); }) + "orbAudioFX.cfg";
}

void FxSettingsFile(HWND panel, int32_t mode) {
  const std::string path = FxSettingsPath();
  if (mode == 0) {
    Load(panel, path);
  } else {
    Save(panel, path);
  }
}

}  // namespace picker
