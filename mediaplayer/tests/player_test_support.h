// What the media player's Wine tests share: a program folder holding
// orbplay.exe with its text table, skin and DLLs; starting the player with
// the call trace on; reading the trace back.
#pragma once

#include <gtest/gtest.h>
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

// The player's configuration file (option field 13 "@temp@": the
// temporary folder, which the player inherits from the test).
inline std::string ConfigFilePath() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "orbplay.cfg";
}

// A program folder with a blank in its name, removed at the end, with the
// configuration file an earlier player left.  Without the control container
// library (CopyControlHost) the player makes no browser panes: Wine's own
// web browser cannot show a page here.
class PlayerFolder {
 public:
  explicit PlayerFolder(const std::string& label) : scratch_(label) {
    DeleteFileA(ConfigFilePath().c_str());
    for (const char* file : {"orbplay.exe", "themecore.dll", "tonelink.dll", "imaging.dll", "LUMINAR.SKL", "orbplay.SYS",
                             "fadekit.dll"}) {
      Copy(file, file);
    }
  }
  ~PlayerFolder() { DeleteFileA(ConfigFilePath().c_str()); }
  PlayerFolder(const PlayerFolder&) = delete;
  PlayerFolder& operator=(const PlayerFolder&) = delete;
  // The control bar's definition and images beside the program.
  void CopyPanels() const {
    Copy("orbpanel.pnl", "orbpanel.pnl");
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((harness::ProgramFolder() + "*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      Copy(found.cFileName, found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  void CopyControlHost() const { Copy("ctlhost20.dll", "ctlhost20.dll"); }
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

// Where the line of entry `number` of a text table's strings starts (its
// number first) and ends; npos when the strings have no such entry.
inline std::pair<size_t, size_t> TextEntryLine(const std::string& table, int number) {
  const size_t strings = table.find("[strings]");
  if (strings == std::string::npos) return {std::string::npos, std::string::npos};
  size_t sectionEnd = table.find("\n[", strings);
  if (sectionEnd == std::string::npos) sectionEnd = table.size();
  const std::string key = "\n" + std::to_string(number) + "=";
  const size_t at = table.find(key, strings);
  if (at == std::string::npos || at >= sectionEnd) return {std::string::npos, std::string::npos};
  size_t end = table.find_first_of("\r\n", at + 1);
  if (end == std::string::npos) end = table.size();
  return {at + 1, end};
}

// Entry `number` of the folder's text table; "" when it has none.
inline std::string TextEntry(const PlayerFolder& folder, int number) {
  std::string table;
  harness::ReadFileBytes(folder.path("orbplay.SYS"), &table);
  const auto [start, end] = TextEntryLine(table, number);
  if (start == std::string::npos) return std::string();
  const size_t text = start + std::to_string(number).size() + 1;
  return table.substr(text, end - text);
}

// Entry `number` of the folder's text table set to `text`: its line
// rewritten, or a new line at the top of the strings when there is none.
inline void SetTextEntry(const PlayerFolder& folder, int number, const std::string& text) {
  std::string table;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("orbplay.SYS"), &table));
  const std::string line = std::to_string(number) + "=" + text;
  const auto [start, end] = TextEntryLine(table, number);
  if (start != std::string::npos) {
    table.replace(start, end - start, line);
  } else {
    const size_t strings = table.find("[strings]");
    ASSERT_NE(strings, std::string::npos);
    const size_t next = table.find('\n', strings);
    ASSERT_NE(next, std::string::npos);
    table.insert(next + 1, line + "\r\n");
  }
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("orbplay.SYS"), table));
  ASSERT_EQ(text, TextEntry(folder, number));
}

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

constexpr int kRate = 22050;

inline void PutLe(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 16-bit stereo PCM WAV of `ms` milliseconds: a 100 Hz square wave of
// amplitude `left` and `right` (0-32767), so the peak of any 20 ms is the
// amplitude.
inline std::string SquareWaveWav(int ms, int left, int right) {
  const uint32_t frames = static_cast<uint32_t>(kRate) * ms / 1000;
  std::string data;
  data.reserve(frames * 4);
  for (uint32_t i = 0; i < frames; ++i) {
    bool high = (i * 100 / kRate) % 2 == 0;
    PutLe(&data, static_cast<uint16_t>(static_cast<int16_t>(high ? left : -left)), 2);
    PutLe(&data, static_cast<uint16_t>(static_cast<int16_t>(high ? right : -right)), 2);
  }
  std::string wav = "RIFF";
  PutLe(&wav, 36 + static_cast<uint32_t>(data.size()), 4);
  wav += "WAVEfmt ";
  PutLe(&wav, 16, 4);
  PutLe(&wav, 1, 2);          // PCM
  PutLe(&wav, 2, 2);          // stereo
  PutLe(&wav, kRate, 4);
  PutLe(&wav, kRate * 4, 4);  // bytes a second
  PutLe(&wav, 4, 2);          // block
  PutLe(&wav, 16, 2);         // bits
  wav += "data";
  PutLe(&wav, static_cast<uint32_t>(data.size()), 4);
  return wav + data;
}

inline bool MutexIsFree() {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ORBPLAY");
  bool free = mutex != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  if (mutex != nullptr) CloseHandle(mutex);
  return free;
}

}  // namespace player_test
