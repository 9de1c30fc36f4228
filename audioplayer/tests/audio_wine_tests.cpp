// The audio player under Wine with real WAV files (sine tones made here)
// played on tonelink's real-time clock: the window title names what plays,
// the call trace shows the library calls, stand-in modules (suite_receiver
// copied as the spectrum display) log the suite commands they receive, the
// real media browser serves as the chooser, and the settings file is read
// back byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../../picker/tests/find_chooser.h"
#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "trace_format.h"

namespace {

constexpr DWORD kStartMs = 15000;
constexpr char kTitle[] = "Orb Audio";

std::string TempFolder() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(MAX_PATH, temp);
  return temp;
}

std::string SettingsPath() { return TempFolder() + "orbaudio.cfg"; }

void PutLe(std::string* out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 16-bit stereo PCM WAV of `ms` milliseconds: a sine tone of `hertz` at
// half of full scale.
std::string SineWav(int ms, int hertz) {
  const int rate = 22050;
  const uint32_t frames = static_cast<uint32_t>(rate) * static_cast<uint32_t>(ms) / 1000;
  std::string data;
  for (uint32_t i = 0; i < frames; ++i) {
    int16_t sample = static_cast<int16_t>(16000 * std::sin(2 * 3.14159265358979 * hertz * i / rate));
    PutLe(&data, static_cast<uint16_t>(sample), 2);
    PutLe(&data, static_cast<uint16_t>(sample), 2);
  }
  std::string wav = "RIFF";
  PutLe(&wav, 36 + static_cast<uint32_t>(data.size()), 4);
  wav += "WAVEfmt ";
  PutLe(&wav, 16, 4);
  PutLe(&wav, 1, 2);
  PutLe(&wav, 2, 2);
  PutLe(&wav, rate, 4);
  PutLe(&wav, rate * 4, 4);
  PutLe(&wav, 4, 2);
  PutLe(&wav, 16, 2);
  wav += "data";
  PutLe(&wav, static_cast<uint32_t>(data.size()), 4);
  return wav + data;
}

// A program folder (its name holds blanks) with the player, its DLLs, text
// table, skin and panels; the settings file is removed before and after.
class AudioFolder {
 public:
  explicit AudioFolder(const std::string& label) : scratch_(label) {
    DeleteFileA(SettingsPath().c_str());
    for (const char* file : {"orbaudio.exe", "themecore.dll", "tonelink.dll", "LUMINAR.SKL", "orbaudio.SYS",
                             "orbpanel.pnl"}) {
      Copy(file, file);
    }
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((harness::ProgramFolder() + "*.bmp").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        Copy(found.cFileName, found.cFileName);
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }
  ~AudioFolder() {
    DeleteFileA(SettingsPath().c_str());
    DeleteFileA((SettingsPath() + ".new").c_str());
  }
  void Copy(const char* from, const char* to) const {
    CopyFileA((harness::ProgramFolder() + from).c_str(), path(to).c_str(), FALSE);
  }
  std::string path(const std::string& file) const { return scratch_.Child(file); }
  std::string folder() const { return scratch_.path() + "\\"; }
  std::string command(const std::string& arguments = "") const {
    return suite::ProgramCommandLine(path("orbaudio.exe"), arguments);
  }
  std::string tracePath() const { return path("trace.txt"); }
  // A tone file in the folder; its full path.
  std::string Tone(const std::string& name, int ms, int hertz) const {
    harness::WriteFileBytes(path(name), SineWav(ms, hertz));
    return path(name);
  }

 private:
  harness::ScratchFolder scratch_;
};

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

// Starts the player with the trace on (boxes answer from an empty script:
// the first button) and waits for its main window.
HWND StartAudio(const AudioFolder& folder, harness::Process* player, const std::string& arguments = "",
                std::vector<std::pair<const char*, std::string>> environment = {}) {
  environment.emplace_back("ORB_TRACE", folder.tracePath());
  environment.emplace_back("ORB_ANSWERS", "");
  std::vector<std::unique_ptr<harness::ScopedEnvironment>> variables;
  for (const auto& [name, value] : environment) {
    variables.push_back(std::make_unique<harness::ScopedEnvironment>(name, value.c_str()));
  }
  if (!player->start(folder.command(arguments))) return nullptr;
  variables.clear();
  return harness::WaitForWindow("ORBAUDIO", kStartMs);
}

long WaitForExit(harness::Process& player) {
  long code = -1;
  harness::PumpUntil([&] {
    code = player.waitExit(0);
    return code != -1;
  }, kStartMs);
  return code;
}

void Close(HWND window, harness::Process& player) {
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// The trace lines (without the process id) that start with `call` and an
// opening parenthesis, or with `call` itself when it ends in "(" or ",".
std::vector<std::string> TraceLines(const AudioFolder& folder, const std::string& call) {
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  const char last = call.empty() ? ' ' : call.back();
  const std::string start = "] " + call + (last == '(' || last == ',' ? "" : "(");
  std::vector<std::string> found;
  for (const std::string& line : harness::SplitLines(text)) {
    size_t at = line.find(start);
    if (at != std::string::npos) found.push_back(line.substr(at + 2));
  }
  return found;
}

std::string Playing(const std::string& path) { return std::string(kTitle) + " - " + path.substr(path.rfind('\\') + 1); }

// The titles the main window shows, each change once, until `count` were
// seen or the time is up; with the tick count each appeared.
std::vector<std::pair<std::string, DWORD>> WatchTitles(HWND window, size_t count, DWORD timeoutMs) {
  std::vector<std::pair<std::string, DWORD>> titles;
  harness::PumpUntil([&] {
    std::string title = harness::WindowText(window);
    if (titles.empty() || titles.back().first != title) titles.emplace_back(title, GetTickCount());
    return titles.size() >= count;
  }, timeoutMs);
  return titles;
}

// The lines of a stand-in module's log: "code length hex".
std::vector<std::pair<uint32_t, std::string>> ReceivedCommands(const std::string& log) {
  std::string text;
  harness::ReadFileBytes(log, &text);
  std::vector<std::pair<uint32_t, std::string>> commands;
  for (const std::string& line : harness::SplitLines(text)) {
    if (line.rfind("start ", 0) == 0) continue;
    unsigned code = 0, length = 0;
    char hex[1024] = {};
    if (sscanf(line.c_str(), "%u %u %1023s", &code, &length, hex) < 2) continue;
    std::string bytes;
    harness::FromHex(length > 0 ? hex : "", &bytes);
    commands.emplace_back(code, bytes);
  }
  return commands;
}

// Everything the player wrote to the trace, for failure messages.
std::string PlayerTrace(const AudioFolder& folder) {
  std::string text, out;
  harness::ReadFileBytes(folder.tracePath(), &text);
  for (const std::string& line : harness::SplitLines(text)) {
    if (line.find("] orbaudio ") != std::string::npos) out += line + "\n";
  }
  return out;
}

// The pane once it shows: BuildPlayer shows it after its controls are made
// and it is in its place.
HWND WaitForPane() {
  HWND pane = harness::WaitForWindow("SKPANE", kStartMs);
  if (pane == nullptr) return nullptr;
  return harness::PumpUntil([&] { return IsWindowVisible(pane) != FALSE; }, kStartMs) ? pane : nullptr;
}

struct PanelSearch {
  DWORD process;
  HWND panel;
};

BOOL CALLBACK FindPanelFrame(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<PanelSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process) return TRUE;
  search->panel = FindWindowExA(window, nullptr, "ORBFXEFFECT", nullptr);
  return search->panel == nullptr;
}

// The effects panel of the player (inside the skin's popup frame), or null.
HWND FindEffectsPanel(DWORD process) {
  PanelSearch search = {process, nullptr};
  EnumWindows(FindPanelFrame, reinterpret_cast<LPARAM>(&search));
  return search.panel;
}

// A list of three plays in order, each for its length, and wraps to the
// first (the repeat box starts ticked); previous on the first wraps to the
// last.
TEST(AudioPlayer, ListOfThreePlaysInOrderAndWraps) {
  AudioFolder folder("audio list");
  std::string one = folder.Tone("one.wav", 400, 440);
  std::string two = folder.Tone("two.wav", 400, 660);
  std::string three = folder.Tone("three.wav", 400, 880);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(one) + " " + Quote(two) + " " + Quote(three));
  ASSERT_NE(window, nullptr);

  std::vector<std::pair<std::string, DWORD>> titles = WatchTitles(window, 5, kStartMs);
  std::vector<std::string> seen;
  for (const auto& title : titles) seen.push_back(title.first);
  // The window may be caught before the first item starts.
  if (!seen.empty() && seen.front() == kTitle) {
    seen.erase(seen.begin());
    titles.erase(titles.begin());
  }
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(seen[0], Playing(one));
  EXPECT_EQ(seen[1], Playing(two));
  EXPECT_EQ(seen[2], Playing(three));
  EXPECT_EQ(seen[3], Playing(one)) << "the list wraps to its first item";
  for (size_t i = 1; i < 4; ++i) {
    DWORD played = titles[i].second - titles[i - 1].second;
    EXPECT_GE(played, 330u) << "item " << i << " ended early";
    EXPECT_LE(played, 2000u) << "item " << i << " ended late";
  }
  std::vector<std::string> opened = TraceLines(folder, "tonelink BASSOPEN");
  ASSERT_GE(opened.size(), 4u);
  EXPECT_EQ(opened[0], "tonelink BASSOPEN(0, " + orbtrace::QuoteText(one) + ") = 0");
  EXPECT_EQ(opened[1], "tonelink BASSOPEN(0, " + orbtrace::QuoteText(two) + ") = 0");
  EXPECT_EQ(opened[2], "tonelink BASSOPEN(0, " + orbtrace::QuoteText(three) + ") = 0");

  // Wait for the first item again, then step back over the start.
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(one); }, kStartMs));
  PostMessageA(window, WM_COMMAND, 55, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(three); }, 2000))
      << harness::WindowText(window);
  Close(window, player);
}

// Without the repeat box the list ends at its last item and rests there.
TEST(AudioPlayer, WithoutRepeatTheListStopsAtItsEnd) {
  AudioFolder folder("audio no repeat");
  std::string one = folder.Tone("one.wav", 800, 440);
  std::string two = folder.Tone("two.wav", 800, 660);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(one) + " " + Quote(two));
  ASSERT_NE(window, nullptr);
  // The audio layout's pane replaces the start-up one when the first item
  // plays.
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(one); }, kStartMs));
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  HWND repeat = GetDlgItem(pane, 78);
  ASSERT_NE(repeat, nullptr);
  SendMessageA(repeat, BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(two); }, kStartMs));
  harness::PumpMessagesFor(1500);
  EXPECT_EQ(harness::WindowText(window), Playing(two));
  EXPECT_EQ(TraceLines(folder, "tonelink BASSOPEN").size(), 2u) << "nothing opened after the last item";
  Close(window, player);
}

// Code 8 pauses and code 9 resumes: the position holds while paused, so
// the item ends later by the time it was paused.
TEST(AudioPlayer, PauseAndResumeHoldThePosition) {
  AudioFolder folder("audio pause");
  std::string tone = folder.Tone("long.wav", 1500, 440);
  std::string next = folder.Tone("next.wav", 1500, 660);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(tone) + " " + Quote(next));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  const DWORD started = GetTickCount();
  harness::PumpMessagesFor(400);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_PAUSE, ""), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return !TraceLines(folder, "tonelink BASSPAUSE").empty(); }, 2000));
  harness::PumpMessagesFor(1000);
  const size_t positionsBefore = TraceLines(folder, "tonelink BASSCHANNELGETPOSITION").size();
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_RESUME, ""), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return !TraceLines(folder, "tonelink BASSSTART").empty(); }, 2000));
  // The first position read after the resume is where the pause held it.
  ASSERT_TRUE(harness::PumpUntil([&] {
    return TraceLines(folder, "tonelink BASSCHANNELGETPOSITION").size() > positionsBefore;
  }, 2000));
  std::string line = TraceLines(folder, "tonelink BASSCHANNELGETPOSITION")[positionsBefore];
  int position = atoi(line.c_str() + line.rfind("= ") + 2);
  EXPECT_GE(position, 250) << line;
  EXPECT_LE(position, 800) << line << ": the position ran on while paused";

  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(next); }, kStartMs));
  const DWORD played = GetTickCount() - started;
  EXPECT_GE(played, 2300u) << "1.5 s of sound and 1 s of pause";
  Close(window, player);
}

// Seeking while paused moves the position and leaves the item paused
// (start, set the position, pause again); a seek past 100 goes to 100.
TEST(AudioPlayer, SeekWhilePausedStaysPaused) {
  AudioFolder folder("audio seek");
  std::string tone = folder.Tone("seek.wav", 2000, 440);
  std::string next = folder.Tone("after.wav", 2000, 660);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(tone) + " " + Quote(next));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_PAUSE, ""), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return !TraceLines(folder, "tonelink BASSPAUSE").empty(); }, 2000));
  PostMessageA(window, WM_COMMAND, 77, 50);
  ASSERT_TRUE(harness::PumpUntil([&] { return TraceLines(folder, "tonelink BASSPAUSE").size() >= 2; }, 2000));
  std::string text;
  harness::ReadFileBytes(folder.tracePath(), &text);
  std::vector<std::string> after;
  bool paused = false;
  for (const std::string& line : harness::SplitLines(text)) {
    if (!paused) {
      paused = line.find("] tonelink BASSPAUSE(") != std::string::npos;
      continue;
    }
    for (const char* call : {"tonelink BASSSTART(", "tonelink BASSCHANNELSETPOSITION(", "tonelink BASSPAUSE("}) {
      if (line.find(std::string("] ") + call) != std::string::npos) after.push_back(line.substr(line.find("] ") + 2));
    }
  }
  ASSERT_EQ(after.size(), 3u) << text;
  EXPECT_EQ(after[0], "tonelink BASSSTART() = 1");
  EXPECT_EQ(after[1], "tonelink BASSCHANNELSETPOSITION(1000) = 1");
  EXPECT_EQ(after[2], "tonelink BASSPAUSE() = 1");
  harness::PumpMessagesFor(1500);
  EXPECT_EQ(harness::WindowText(window), Playing(tone)) << "still paused: the item did not play on to its end";

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_RESUME, ""), 1);
  const DWORD resumed = GetTickCount();
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(next); }, kStartMs));
  const DWORD rest = GetTickCount() - resumed;
  EXPECT_GE(rest, 800u) << "the second half of the item";
  EXPECT_LE(rest, 1800u) << "the second half of the item";

  // 150 % is 100 %: the end of the item, which moves on.
  PostMessageA(window, WM_COMMAND, 77, 150);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, 3000))
      << "the list wrapped after a seek to the end";
  std::vector<std::string> seeks = TraceLines(folder, "tonelink BASSCHANNELSETPOSITION");
  ASSERT_EQ(seeks.size(), 2u);
  EXPECT_EQ(seeks[1], "tonelink BASSCHANNELSETPOSITION(2000) = 1");
  Close(window, player);
}

// A second start hands its two quoted names to the first with code 18 and
// ends; 100 ms later the first opens one batch: its own start-up item, then
// the two.
TEST(AudioPlayer, SecondStartAddsItsFilesThroughCode18) {
  AudioFolder folder("audio second");
  std::string a = folder.Tone("a tone.wav", 3000, 440);
  std::string b1 = folder.Tone("b one.wav", 300, 660);
  std::string b2 = folder.Tone("b two.wav", 300, 880);
  harness::Process first;
  HWND window = StartAudio(folder, &first, Quote(a));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(a); }, kStartMs));

  harness::Process second;
  ASSERT_TRUE(second.start(folder.command(Quote(b1) + " " + Quote(b2))));
  EXPECT_EQ(WaitForExit(second), 0);
  std::string batch = a + "|" + b1 + "|" + b2;
  ASSERT_TRUE(harness::PumpUntil([&] { return !TraceLines(folder, "orbaudio SuiteCommand(3,").empty(); },
                                 kStartMs))
      << PlayerTrace(folder);
  std::vector<std::string> forwarded = TraceLines(folder, "orbaudio SuiteCommand(18,");
  ASSERT_EQ(forwarded.size(), 1u);
  EXPECT_EQ(forwarded[0], "orbaudio SuiteCommand(18, " + orbtrace::QuoteText(b1 + "|" + b2) + ") = 1");
  std::vector<std::string> batches = TraceLines(folder, "orbaudio SuiteCommand(3,");
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(batches[0], "orbaudio SuiteCommand(3, " + orbtrace::QuoteText(batch) + ") = 1");
  std::vector<std::string> lists = TraceLines(folder, "orbaudio ItemList");
  ASSERT_FALSE(lists.empty());
  EXPECT_EQ(lists.back(), "orbaudio ItemList(" + orbtrace::QuoteText(batch) + ") = 3");
  // The batch plays from its first item on.
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(b1); }, kStartMs));
  Close(window, first);
}

// A first instance that holds the single-instance mutex but never shows a
// window (stuck at a message box, or ending) does not keep a second start
// waiting: it looks for about two seconds, then ends.
TEST(AudioPlayer, SecondStartGivesUpWithoutAWindow) {
  AudioFolder folder("audio no window");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ORBAUDIO");
  ASSERT_NE(mutex, nullptr);
  ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS)) << "an audio player is running already";
  harness::Process second;
  const DWORD started = GetTickCount();
  ASSERT_TRUE(second.start(folder.command(Quote(folder.path("x.wav")))));
  EXPECT_EQ(WaitForExit(second), 0);
  const DWORD waited = GetTickCount() - started;
  EXPECT_GE(waited, 1900u);
  EXPECT_LE(waited, 8000u);
  CloseHandle(mutex);
}

// A stray binary code (a level, a pane handle) leaves the play list alone.
TEST(AudioPlayer, BinaryCodesDoNotReplaceTheList) {
  AudioFolder folder("audio stray");
  std::string tone = folder.Tone("tone.wav", 3000, 440);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(tone));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  const std::string level("\x10\x00\x20\x00", 4);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_LEVEL, level), 1);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_PANE_MOVED, level), 1);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(harness::WindowText(window), Playing(tone));
  EXPECT_EQ(TraceLines(folder, "orbaudio ItemList").size(), 1u);
  Close(window, player);
}

// The companion (a stand-in copied as the spectrum display) is started by
// command 54, fed the level with code 17 (4 bytes) about ten times a
// second, and closed with code 10 when the player closes.
TEST(AudioPlayer, CompanionGetsLevelsAndTheClose) {
  AudioFolder folder("audio companion");
  folder.Copy("suite_receiver.exe", "orbspec.exe");
  std::string log = folder.path("spectrum.log");
  std::string tone = folder.Tone("tone.wav", 5000, 440);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(tone),
                           {{"ORB_RECEIVER_CLASS", "ORBSPEC"}, {"ORB_RECEIVER_LOG", log}});
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  PostMessageA(window, WM_COMMAND, 54, 0);
  ASSERT_NE(harness::WaitForWindow("ORBSPEC", kStartMs), nullptr);
  harness::PumpMessagesFor(200);
  size_t before = ReceivedCommands(log).size();
  harness::PumpMessagesFor(1000);
  std::vector<std::pair<uint32_t, std::string>> received = ReceivedCommands(log);
  size_t levels = 0;
  bool heard = false;
  for (size_t i = before; i < received.size(); ++i) {
    if (received[i].first != suite::CMD_LEVEL) continue;
    ++levels;
    ASSERT_EQ(received[i].second.size(), 4u);
    uint32_t value = 0;
    for (int b = 0; b < 4; ++b) value |= static_cast<uint32_t>(static_cast<uint8_t>(received[i].second[b])) << (8 * b);
    if ((value & 0xFFFF) > 0 && (value & 0xFFFF) <= 128 && (value >> 16) == (value & 0xFFFF)) heard = true;
  }
  EXPECT_GE(levels, 6u) << "about ten levels a second";
  EXPECT_LE(levels, 16u);
  EXPECT_TRUE(heard) << "a level of the tone, the same on both sides";
  Close(window, player);
  EXPECT_TRUE(harness::PumpUntil([&] {
    std::vector<std::pair<uint32_t, std::string>> all = ReceivedCommands(log);
    return !all.empty() && all.back().first == suite::CMD_CLOSE;
  }, kStartMs));
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBSPEC", nullptr) == nullptr; }, kStartMs));
}

// The settings file after a close holds nine fields with the skin empty
// and the numbers as BASIC writes them; a saved pane place is restored, and
// one beyond the screen's right edge is centred instead.
TEST(AudioPlayer, SettingsFileKeepsAndRestoresThePanePlace) {
  AudioFolder folder("audio settings");
  harness::WriteFileBytes(SettingsPath(), " 5| 6| 7| 8|" + folder.folder() + "|C:\\second\\|x.skl| 123| 77");
  harness::Process player;
  HWND window = StartAudio(folder, &player);
  ASSERT_NE(window, nullptr);
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  RECT place = harness::WindowRectOf(pane);
  EXPECT_EQ(place.left, 123);
  EXPECT_EQ(place.top, 77);
  SetWindowPos(pane, nullptr, 140, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Close(window, player);
  std::string saved;
  ASSERT_TRUE(harness::ReadFileBytes(SettingsPath(), &saved));
  EXPECT_EQ(saved, " 0| 0| 0| 0|" + folder.folder() + "|C:\\second\\|| 140| 90");
  EXPECT_EQ(GetFileAttributesA((SettingsPath() + ".new").c_str()), INVALID_FILE_ATTRIBUTES)
      << "the temporary file the line was written to is gone";

  harness::WriteFileBytes(SettingsPath(), " 0| 0| 0| 0|" + folder.folder() + "|C:\\second\\|| 5000| 90");
  harness::Process again;
  window = StartAudio(folder, &again);
  ASSERT_NE(window, nullptr);
  pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  place = harness::WindowRectOf(pane);
  const int width = place.right - place.left, height = place.bottom - place.top;
  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(place.left, work.left + (work.right - work.left - width) / 2) << "centred: the saved place is off-screen";
  EXPECT_EQ(place.top, work.top + (work.bottom - work.top - height) / 2);
  Close(window, again);
}

// The last open folder of the settings file is where the built-in picker
// (no chooser module installed) opens, listing that folder's audio files;
// a confirmed choice plays.
TEST(AudioPlayer, PickerOpensInTheSavedFolder) {
  AudioFolder folder("audio picker");
  std::string music = folder.path("music");
  ASSERT_TRUE(CreateDirectoryA(music.c_str(), nullptr));
  harness::WriteFileBytes(music + "\\first.wav", SineWav(3000, 440));
  harness::WriteFileBytes(music + "\\listed.wav", SineWav(300, 660));
  harness::WriteFileBytes(music + "\\mix.m3u", "#EXTM3U\r\nlisted.wav\r\n");
  harness::WriteFileBytes(SettingsPath(), " 0| 0| 0| 0|" + music + "\\|C:\\second\\|| -1| -1");
  harness::Process player;
  HWND window = StartAudio(folder, &player);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 67, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = picker_test::FindChooserDialog(player.id())) != nullptr; },
                                 kStartMs));
  HWND list = GetDlgItem(dialog, 2);
  ASSERT_NE(list, nullptr);
  std::vector<std::string> names;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) >= 512) continue;
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    char bytes[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
    names.push_back(bytes);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"first.wav", "listed.wav"})) << "the saved folder's audio files";
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(list, LB_SETCARETINDEX, 0, FALSE);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(music + "\\first.wav"); },
                                 kStartMs));
  std::vector<std::string> chosen = TraceLines(folder, "orbaudio CHOOSERF");
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], "orbaudio CHOOSERF(" + orbtrace::QuoteText(music + "\\first.wav|") + ", \"http://\") = 2");
  Close(window, player);
}

// The first Open with the media browser as chooser starts it, waits for its
// window, names this player as the target of its choice (code 2), and the
// files played from it arrive as the play list.
TEST(AudioPlayer, FirstOpenWithTheMediaBrowserReceivesTheChosenFiles) {
  AudioFolder folder("audio chooser");
  folder.Copy("orbmedia.exe", "orbmedia.exe");
  folder.Copy("orbmedia.SYS", "orbmedia.SYS");
  folder.Copy("imaging.dll", "imaging.dll");
  folder.Copy("pixconv.dll", "pixconv.dll");
  std::string music = folder.path("music");
  ASSERT_TRUE(CreateDirectoryA(music.c_str(), nullptr));
  harness::WriteFileBytes(music + "\\one.wav", SineWav(3000, 440));
  harness::WriteFileBytes(music + "\\two.wav", SineWav(3000, 660));
  // The browser's settings: no first-run notice.
  harness::WriteFileBytes(TempFolder() + "orbmedia.cfg", " 40| 30| 760| 520|" + music + "|*.*| 0|-1| 0");
  ASSERT_EQ(FindWindowA("ORBMEDIA", nullptr), nullptr) << "a media browser is running already";
  harness::Process player;
  HWND window = StartAudio(folder, &player);
  ASSERT_NE(window, nullptr);

  PostMessageA(window, WM_COMMAND, 67, 0);
  HWND browser = harness::WaitForWindow("ORBMEDIA", kStartMs);
  ASSERT_NE(browser, nullptr);
  // Only a browser told (code 2) where chosen files go sends them to this
  // player: by itself it would hand them to the media player.
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(browser) != FALSE; }, kStartMs));
  ASSERT_EQ(suite::SendSuiteCommand(browser, suite::CMD_GO_TO_FOLDER, music), 1);
  ASSERT_EQ(suite::SendSuiteCommand(browser, 12, ""), 1);  // the audio files
  SendMessageA(browser, WM_COMMAND, 112, 0);               // all selected
  SendMessageA(browser, WM_COMMAND, 101, 0);               // play the selection
  const std::string expected = music + "\\one.wav|" + music + "\\two.wav";
  EXPECT_TRUE(harness::PumpUntil([&] {
    std::vector<std::string> lists = TraceLines(folder, "orbaudio ItemList");
    for (const std::string& list : lists) {
      if (_stricmp(list.c_str(), ("orbaudio ItemList(" + orbtrace::QuoteText(expected) + ") = 2").c_str()) == 0) return true;
    }
    return false;
  }, kStartMs)) << "the player did not get the chosen files";
  EXPECT_TRUE(harness::PumpUntil([&] {
    return _stricmp(harness::WindowText(window).c_str(), Playing(music + "\\one.wav").c_str()) == 0;
  }, kStartMs)) << harness::WindowText(window);
  // The player started the browser: closing the player closes it.
  Close(window, player);
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBMEDIA", nullptr) == nullptr; }, kStartMs));
  DeleteFileA((TempFolder() + "orbmedia.cfg").c_str());
}

// Command 53 three times: the effects panel is made and shown, hidden, then
// shown again as the same window; the mixer buttons swap; 71 clears the
// list and ends the program.
TEST(AudioPlayer, EffectsPanelToggleAndStopAndQuit) {
  AudioFolder folder("audio effects");
  std::string tone = folder.Tone("tone.wav", 3000, 440);
  harness::Process player;
  HWND window = StartAudio(folder, &player, Quote(tone));
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  const DWORD process = player.id();
  auto panelFrame = [process] {
    HWND panel = FindEffectsPanel(process);
    if (panel == nullptr) return panel;
    return GetParent(panel) != nullptr ? GetParent(panel) : panel;
  };
  HWND panel = nullptr;
  SendMessageA(window, WM_COMMAND, 53, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return (panel = FindEffectsPanel(process)) != nullptr; }, 5000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(panelFrame()) != FALSE; }, 3000));
  SendMessageA(window, WM_COMMAND, 53, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(panelFrame()) == FALSE; }, 3000));
  SendMessageA(window, WM_COMMAND, 53, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(panelFrame()) != FALSE; }, 3000));
  EXPECT_EQ(FindEffectsPanel(process), panel) << "shown again, not made anew";

  // Sound off and on: the two mixer buttons swap, the volume bar rests.
  HWND pane = WaitForPane();
  ASSERT_NE(pane, nullptr);
  HWND soundOff = GetDlgItem(pane, 61), soundOn = GetDlgItem(pane, 62), volume = GetDlgItem(pane, 76);
  ASSERT_TRUE(soundOff != nullptr && soundOn != nullptr && volume != nullptr);
  EXPECT_TRUE(IsWindowVisible(soundOff) && !IsWindowVisible(soundOn));
  SendMessageA(window, WM_COMMAND, 61, 0);
  EXPECT_TRUE(!IsWindowVisible(soundOff) && IsWindowVisible(soundOn));
  EXPECT_FALSE(IsWindowEnabled(volume));
  SendMessageA(window, WM_COMMAND, 62, 0);
  EXPECT_TRUE(IsWindowVisible(soundOff) && !IsWindowVisible(soundOn));
  EXPECT_TRUE(IsWindowEnabled(volume));

  PostMessageA(window, WM_COMMAND, 71, 0);
  EXPECT_EQ(WaitForExit(player), 0);
  EXPECT_EQ(FindWindowA("ORBAUDIO", nullptr), nullptr);
}

// The control bar ("SKPANE") the process of `process` shows; null when none.
HWND PaneOfProcess(DWORD process) {
  struct Search {
    DWORD process;
    HWND found;
  } search = {process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[16] = {};
        GetClassNameA(window, name, sizeof(name));
        if (owner != s->process || lstrcmpA(name, "SKPANE") != 0 || !IsWindowVisible(window)) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

POINT TopLeft(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return {r.left, r.top};
}

// With the media player running too, each player's control bar follows the
// other's: moving the audio player's pane moves the media player's to the
// same place, and the other way round.
TEST(AudioPlayer, BothPlayersPanesFollowEachOther) {
  AudioFolder folder("audio and media panes");
  for (const char* file : {"orbplay.exe", "orbplay.SYS", "imaging.dll", "fadekit.dll"}) folder.Copy(file, file);
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string playerSettings = std::string(temp) + "orbplay.cfg";
  DeleteFileA(playerSettings.c_str());
  const std::string tone = folder.Tone("tone.wav", 20000, 440);

  harness::Process mediaPlayer;
  ASSERT_TRUE(mediaPlayer.start(suite::ProgramCommandLine(folder.path("orbplay.exe"), Quote(tone))));
  HWND mediaWindow = harness::WaitForWindow("ORBPLAY", kStartMs);
  ASSERT_NE(mediaWindow, nullptr);
  HWND mediaPane = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (mediaPane = PaneOfProcess(mediaPlayer.id())) != nullptr; }, kStartMs));

  harness::Process audio;
  HWND window = StartAudio(folder, &audio, Quote(tone));
  ASSERT_NE(window, nullptr);
  // The pane is built anew for the item's layout: look for it once it plays.
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window) == Playing(tone); }, kStartMs));
  HWND audioPane = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (audioPane = PaneOfProcess(audio.id())) != nullptr; }, kStartMs));

  auto same = [](POINT a, POINT b) { return a.x == b.x && a.y == b.y; };
  SetWindowPos(audioPane, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(harness::PumpUntil([&] { return same(TopLeft(mediaPane), POINT{100, 120}); }, 5000))
      << TopLeft(mediaPane).x << "," << TopLeft(mediaPane).y;
  SetWindowPos(mediaPane, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(harness::PumpUntil([&] { return same(TopLeft(audioPane), POINT{300, 200}); }, 5000))
      << TopLeft(audioPane).x << "," << TopLeft(audioPane).y;

  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(audio), 0);
  suite::SendSuiteCommand(mediaWindow, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(mediaPlayer), 0);
  DeleteFileA(playerSettings.c_str());
}

}  // namespace
