// Test support for the themecore Win32 tests; see test_support.h.
#include "test_support.h"

namespace testsupport {

std::string ProgramFolder() {
  char path[MAX_PATH * 4] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

std::string TraceQuoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '\\') {
      quoted += "\\x5C";
    } else if (c == '"') {
      quoted += "\\x22";
    } else {
      quoted.push_back(c);
    }
  }
  return quoted + "\"";
}

}  // namespace testsupport
