// The rules of the library's log file "<host program>.LOG" and trace file,
// without the files: the log's path, its header, one thread's pending
// entries with their nesting, and how a line is composed.  log_file.cpp
// owns the files, the mutexes and the per-thread tables.
//
// A thread's entries wait in its book until the outermost Leave; the group
// is written only when something in it failed or a Leave forced it.  The
// book never lets its depth go below 0: the Leave of an Enter that was
// refused (64 entries already pending) is absorbed, and a Leave without any
// open Enter closes nothing, so indentation can never turn negative.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ctlhost {

// Bounds of the log's lines: a line (margin and text) holds at most
// kMaxLogLineChars characters and a margin stays below kMaxLogMargin.
inline constexpr size_t kMaxLogLineChars = 1023;
inline constexpr int32_t kMaxLogMargin = 511;
inline constexpr size_t kMaxPendingEntries = 64;

struct LogVersion {
  int32_t major = 3, minor = 0, build = 293;
};

// drive + directory + name of the host program + ".LOG": the extension of
// the last path element is replaced (a name without one gets ".LOG").
std::string LogPathForProgram(std::string_view programPath);

// Local time as the header writes it: "Www Mmm dd hh:mm:ss yyyy".
struct LogTime {
  int32_t weekday = 0;  // 0 Sunday .. 6
  int32_t month = 0;    // 0 January .. 11
  int32_t day = 1, hour = 0, minute = 0, second = 0, year = 1970;
};
std::string FormatLogTime(const LogTime& time);

// The five header lines (without line ends).
std::vector<std::string> LogHeaderLines(std::string_view logPath, const LogTime& time,
                                        const LogVersion& version);

// One line as it goes into the file: `margin` blanks, the text without one
// leading line feed, then CR LF; cut to kMaxLogLineChars before the CR LF.
std::string ComposeLogLine(int32_t margin, std::string_view text);

// A trace file entry as written: the text unchanged (the indentation the
// trace file could add after a leading line feed is never set).
std::string ComposeTraceText(std::string_view text);
// Whether the trace entry is also sent to the debugger output.
bool TraceGoesToDebugger(std::string_view text);

struct PendingLogEntry {
  uint8_t depth = 0;
  bool forced = false;
  uint8_t result = 0;
  int32_t margin = 0;
  std::string text;
};

class LogThreadBook {
 public:
  // Pushes an entry at the current depth and deepens; false (and nothing
  // pushed, nothing deepened) with kMaxPendingEntries pending.
  bool Enter(std::string_view text);
  // Pushes an entry marked with result 1 at the current depth.
  void Error(std::string_view text);
  // Closes one level.  At the outermost level it returns the group's lines
  // (without the thread's own margin) when something failed or force is
  // set, and forgets every pending entry.
  std::vector<std::string> Leave(int32_t result, bool force);
  // Adds delta to the margin, kept within 0 .. kMaxLogMargin.
  void AddMargin(int32_t delta);

  int32_t depth() const { return depth_; }
  int32_t margin() const { return margin_; }
  size_t pendingCount() const { return entries_.size(); }

 private:
  std::vector<PendingLogEntry> entries_;
  int32_t depth_ = 0;
  int32_t margin_ = 0;
  int32_t refusedEnters_ = 0;  // Enters not pushed whose Leave is still due
  bool lostError_ = false;     // an error that found no room still fails its group
};

}  // namespace ctlhost
