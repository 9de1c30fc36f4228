// The screen-capture codec, installed at every start when it is missing
// from the system folder: the file copied there, then its system.ini line
// and its registry key.  Which file and key is decided (and checked) by
// core/screen_codec.h; nothing is reported, failures leave things as they
// were.
#include <windows.h>

#include <string>

#include "core/player_files.h"
#include "core/screen_codec.h"
#include "player_parts.h"
#include "player_state.h"
#include "themecore.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr char kCodecKeys[] = "System\\CurrentControlSet\\Control\\MediaResources\\icm\\";

bool SetText(HKEY key, const char* name, const std::string& text) {
  std::string value = CodecRegistryText(text);
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

void Register(const ScreenCodec& codec) {
  WritePrivateProfileStringA("Drivers32", codec.driverKey.c_str(), codec.fileName.c_str(), "system.ini");
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, (kCodecKeys + codec.driverKey).c_str(), &key) != ERROR_SUCCESS) return;
  SetText(key, "Description", codec.description);
  SetText(key, "Driver", codec.fileName);
  SetText(key, "FriendlyName", codec.friendlyName);
  RegCloseKey(key);
}

}  // namespace

void InstallScreenCodec(const std::string& argument) {
  std::optional<ScreenCodec> codec = ParseScreenCodec(argument);
  if (!codec) {
    orbtrace::WriteCall(orbtrace::CallLine("orbplay", "InstallScreenCodec").Text(argument.c_str()), "refused");
    return;
  }
  std::string systemFolder = WindowsFolder(true);
  if (systemFolder.empty()) return;
  std::string source = Player().programFolder + codec->sourceBelowProgram;
  std::string target = systemFolder + codec->fileName;
  const StdPlayerFiles files;
  if (files.FileExists(target) || !files.FileExists(source)) return;
  // A codec already registered under this key (another file) stays as it is.
  char present[MAX_PATH] = {};
  if (GetPrivateProfileStringA("Drivers32", codec->driverKey.c_str(), "", present, sizeof present, "system.ini") >
      0) {
    return;
  }
  if (SKSHELLCOPY(source.c_str(), target.c_str(), "codec") != 0 || !files.FileExists(target)) return;
  Register(*codec);
}

}  // namespace player
