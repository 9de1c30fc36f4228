#include "unix_tools.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#include "test_files.h"

namespace harness {

namespace {

std::atomic<int> g_runs{0};

}  // namespace

std::string UnixPathOf(const std::string& windowsPath) {
  using UnixFileName = char*(CDECL*)(const WCHAR*);
  static auto toUnix = reinterpret_cast<UnixFileName>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (toUnix == nullptr) return "";
  int length = MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
  if (length <= 0) return "";
  std::vector<WCHAR> wide(static_cast<size_t>(length));
  MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), length);
  char* unixPath = toUnix(wide.data());
  if (unixPath == nullptr) return "";
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

bool RunUnixCommand(const std::string& command, DWORD timeoutMs, std::string* output, int* status) {
  ScratchFolder folder("unix run " + std::to_string(++g_runs));
  const std::string unixFolder = UnixPathOf(folder.path());
  if (unixFolder.empty()) return false;
  const std::string script = folder.Child("run.sh");
  // The status goes to a file by rename, so it is complete once it exists.
  const std::string body = "(\n" + command + "\n) > " + ShellQuoted(unixFolder + "/out.txt") +
                           " 2>&1\necho $? > " + ShellQuoted(unixFolder + "/status.tmp") + " && mv " +
                           ShellQuoted(unixFolder + "/status.tmp") + " " +
                           ShellQuoted(unixFolder + "/status.txt") + "\n";
  if (!WriteFileBytes(script, body)) return false;
  std::string line = "/bin/sh \"" + UnixPathOf(script) + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  if (!WaitForFile(folder.Child("status.txt"), timeoutMs)) return false;
  std::string statusText;
  ReadFileBytes(folder.Child("status.txt"), &statusText);
  if (status != nullptr) *status = std::atoi(statusText.c_str());
  if (output != nullptr) ReadFileBytes(folder.Child("out.txt"), output);
  return true;
}

std::string UnixPathWord(const std::string& windowsPath) { return ShellQuoted(UnixPathOf(windowsPath)); }

bool UnixToolOutput(const std::string& command, DWORD timeoutMs, std::string* output) {
  int status = -1;
  const bool ended = RunUnixCommand(command, timeoutMs, output, &status);
  while (!output->empty() && (output->back() == '\n' || output->back() == '\r')) output->pop_back();
  return ended && status == 0;
}

}  // namespace harness
