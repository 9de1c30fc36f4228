// Queue joining, recording requests and the other window-procedure rules.
#include "core/command_rules.h"

#include <algorithm>
#include <cstdint>

#include "core/item_list.h"
#include "core/option_line.h"
#include "core/player_command_line.h"
#include "core/text_rules.h"

namespace player {

std::string QueueForwarded(const std::string& queue, const std::string& text) {
  return suite::JoinItemLists(queue, text);
}

std::string QueuedBatch(const std::string& queue, const std::string& commandLine, bool firstBatch) {
  if (firstBatch && !commandLine.empty()) return suite::JoinItemLists(commandLine, queue);
  return queue;
}

RecordingRequest ParseRecordingRequest(const std::string& text) {
  RecordingRequest request;
  if (suite::CommaFieldCount(text) <= 1) return request;
  auto field = [&](size_t n) { return OptionNumber(suite::CommaField(text, n)); };
  request.valid = true;
  // Plus the frame of 4, without leaving 32 bits.
  auto framed = [](int32_t size) { return static_cast<int32_t>(std::min<int64_t>(int64_t{size} + 4, INT32_MAX)); };
  request.width = framed(field(1));
  request.height = framed(field(2));
  request.frameRate = field(3);
  request.reportWindow = static_cast<uint32_t>(field(4));
  return request;
}

int32_t RecordingWindowX(int32_t screenWidth, int32_t width) {
  return static_cast<int32_t>(std::max<int64_t>(0, (int64_t{screenWidth} - width) / 2));
}

std::string RecordingReport(int32_t first, int32_t second, int32_t third) {
  auto str = [](int32_t n) { return (n >= 0 ? " " : "") + std::to_string(n); };
  return str(first) + "," + str(second) + "," + str(third);
}

bool EndsWithPageExtension(const std::string& text) {
  size_t dot = text.rfind('.');
  if (dot == std::string::npos) return false;
  return std::string(".html").find(suite::LowerAscii(text.substr(dot))) != std::string::npos;
}

BurnHandOff ParseBurnHandOff(const std::string& text) {
  return {suite::ItemField(text, 1), suite::ItemField(text, 2)};
}

}  // namespace player
