// What the media player's Wine tests share: a program folder holding
// orbplay.exe with its text table, skin and DLLs; starting the player with
// the call trace on; reading the trace back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "harness.h"
#include "test_files.h"

namespace player_test {

constexpr DWORD kStartMs = 15000;

// A program folder with a blank in its name, removed at the end.
class PlayerFolder {
 public:
  explicit PlayerFolder(const std::string& label) : scratch_(label) {
    for (const char* file : {"orbplay.exe", "themecore.dll", "tonelink.dll", "imaging.dll", "LUMINAR.SKL", "orbplay.SYS"}) {
      Copy(file, file);
    }
  }
  void Copy(const char* from, const char* to) const {
    CopyFileA((harness::ProgramFolder() + from).c_str(), path(to).c_str(), FALSE);
  }
  std::string path(const std::string& file) const { return scratch_.Child(file); }
  std::string command(const std::string& arguments = "") const {
    return suite::ProgramCommandLine(path("orbplay.exe"), arguments);
  }
  std::string tracePath() const { return path("trace.txt"); }

 private:
  harness::ScratchFolder scratch_;
};

// A text as trace lines write it: bytes outside 0x20-0x7E, '"' and '\' as
// \xNN, in double quotes.
inline std::string TraceText(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\') {
      char escaped[8];
      wsprintfA(escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

// The trace lines of one library call (" orbplay ItemList(" ...), in order.
inline std::vector<std::string> TraceCalls(const PlayerFolder& folder, const std::string& call) {
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  std::vector<std::string> found;
  for (const std::string& line : harness::SplitLines(text)) {
    if (line.find("] " + call + "(") != std::string::npos) found.push_back(line.substr(line.find("] ") + 2));
  }
  return found;
}

inline bool WaitForTraceCalls(const PlayerFolder& folder, const std::string& call, size_t count) {
  return harness::PumpUntil([&] { return TraceCalls(folder, call).size() >= count; }, kStartMs);
}

// Starts the player with the trace on and waits for its main window.
inline HWND StartPlayer(const PlayerFolder& folder, harness::Process* player, const std::string& arguments = "",
                 std::vector<std::pair<const char*, std::string>> environment = {}) {
  environment.emplace_back("ORB_TRACE", folder.tracePath());
  // Boxes answer from the script (none: the first button) and never wait
  // for a person.
  bool answersGiven = false;
  for (const auto& variable : environment) answersGiven = answersGiven || std::string(variable.first) == "ORB_ANSWERS";
  if (!answersGiven) environment.emplace_back("ORB_ANSWERS", "");
  std::vector<std::unique_ptr<harness::ScopedEnvironment>> variables;
  for (const auto& [name, value] : environment) {
    variables.push_back(std::make_unique<harness::ScopedEnvironment>(name, value.c_str()));
  }
  if (!player->start(folder.command(arguments))) return nullptr;
  variables.clear();
  HWND window = harness::WaitForWindow("ORBPLAY", kStartMs);
  if (window == nullptr) return nullptr;
  // The window shows once start-up has routed the command line.
  return harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartMs) ? window : nullptr;
}

// Waits for the player's end while answering anything it sends this thread.
inline long WaitForExit(harness::Process& player) {
  long code = -1;
  harness::PumpUntil([&] {
    code = player.waitExit(0);
    return code != -1;
  }, kStartMs);
  return code;
}

inline bool MutexIsFree() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ORBPLAY");
  bool free = mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  if (mutex != nullptr) CloseHandle(mutex);
  return free;
}

}  // namespace player_test
