// Environment variables as byte strings; see environment_win.h.
#include "environment_win.h"

#include <windows.h>

namespace themecore {

bool ReadEnvironmentVariable(const char* name, std::string* value) {
  value->clear();
  std::string buffer(MAX_PATH, '\0');
  // The variable can change between the calls; a few rounds settle it.
  for (int attempt = 0; attempt < 4; ++attempt) {
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    if (length < buffer.size()) {
      buffer.resize(length);
      *value = std::move(buffer);
      return true;
    }
    buffer.assign(length, '\0');  // `length` counts the terminating zero here
  }
  return false;
}

}  // namespace themecore
