// Log path, header, line composition and the pending-entry book; see
// log_book.h.
#include "core/log_book.h"

#include <algorithm>
#include <cstdio>

namespace ctlhost {

std::string LogPathForProgram(std::string_view programPath) {
  const size_t nameStart = programPath.find_last_of("\\/:");
  const size_t nameFrom = nameStart == std::string_view::npos ? 0 : nameStart + 1;
  size_t dot = programPath.rfind('.');
  if (dot == std::string_view::npos || dot < nameFrom) dot = programPath.size();
  return std::string(programPath.substr(0, dot)) + ".LOG";
}

std::string FormatLogTime(const LogTime& time) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* day = kDays[std::clamp(time.weekday, 0, 6)];
  const char* month = kMonths[std::clamp(time.month, 0, 11)];
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d", day, month,
                static_cast<int>(time.day), static_cast<int>(time.hour),
                static_cast<int>(time.minute), static_cast<int>(time.second),
                static_cast<int>(time.year));
  return text;
}

std::vector<std::string> LogHeaderLines(std::string_view logPath, const LogTime& time,
                                        const LogVersion& version) {
  char versionLine[96];
  std::snprintf(versionLine, sizeof versionLine, "# QX 'KX' runtime version: %d.%d.%d",
                static_cast<int>(version.major), static_cast<int>(version.minor),
                static_cast<int>(version.build));
  return {"#", "# LogFile: " + std::string(logPath), "# Time: " + FormatLogTime(time),
          versionLine, "#"};
}

std::string ComposeLogLine(int32_t margin, std::string_view text) {
  if (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  const size_t blanks = static_cast<size_t>(std::clamp(margin, 0, kMaxLogMargin));
  std::string line(blanks, ' ');
  line.append(text.substr(0, kMaxLogLineChars - std::min(blanks, kMaxLogLineChars)));
  line += "\r\n";
  return line;
}

std::string ComposeTraceText(std::string_view text) { return std::string(text); }

bool TraceGoesToDebugger(std::string_view text) { return !text.empty() && text.front() == '\n'; }

bool LogThreadBook::Enter(std::string_view text) {
  if (entries_.size() >= kMaxPendingEntries) {
    ++refusedEnters_;
    return false;
  }
  entries_.push_back({static_cast<uint8_t>(depth_), false, 0, margin_, std::string(text)});
  ++depth_;
  return true;
}

void LogThreadBook::Error(std::string_view text) {
  if (entries_.size() >= kMaxPendingEntries) {
    lostError_ = true;
    return;
  }
  entries_.push_back({static_cast<uint8_t>(depth_), false, 1, margin_, std::string(text)});
}

std::vector<std::string> LogThreadBook::Leave(int32_t result, bool force) {
  if (refusedEnters_ > 0) {
    --refusedEnters_;
    return {};
  }
  if (depth_ > 0) {
    --depth_;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      if (it->depth == depth_) {
        it->result = static_cast<uint8_t>(result & 0xFF);
        break;
      }
    }
    if (depth_ > 0) return {};
  }
  bool failed = force || lostError_;
  for (const auto& entry : entries_) failed = failed || entry.forced || entry.result != 0;
  std::vector<std::string> lines;
  if (failed) {
    for (const auto& entry : entries_) {
      if (entry.text.empty()) continue;
      std::string line(static_cast<size_t>(entry.margin) + 2u * entry.depth, ' ');
      line += entry.text;
      if (entry.result != 0) line += " ERROR " + std::to_string(entry.result);
      lines.push_back(std::move(line));
    }
  }
  entries_.clear();
  lostError_ = false;
  return lines;
}

void LogThreadBook::AddMargin(int32_t delta) {
  const int64_t margin = static_cast<int64_t>(margin_) + delta;
  margin_ = static_cast<int32_t>(std::clamp<int64_t>(margin, 0, kMaxLogMargin));
}

}  // namespace ctlhost
