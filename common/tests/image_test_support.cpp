// Drawing canvases and ImageMagick for the Wine tests; see
// image_test_support.h.
#include "image_test_support.h"

#include <vector>

#include "test_files.h"
#include "unix_tools.h"

namespace imagetest {

std::string UnixPathOf(const std::string& windowsPath) { return harness::UnixPathOf(windowsPath); }

bool RunUnixShell(const std::string& command, DWORD timeoutMs, std::string* output) {
  return harness::RunUnixCommand(command, timeoutMs, output);
}

std::string Identify(const std::string& windowsPath, const std::string& format) {
  std::string output;
  const std::string unixPath = UnixPathOf(windowsPath);
  if (unixPath.empty()) return "";
  if (!RunUnixShell("identify -format '" + format + "' '" + unixPath + "'", 20000, &output)) return "";
  return output;
}

bool HaveImageMagick() {
  std::string output;
  return RunUnixShell("command -v identify", 20000, &output) && output.find("identify") != std::string::npos;
}

}  // namespace imagetest
