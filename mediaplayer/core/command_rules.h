// Decisions of the media player's window procedure that need no window: the
// second-start queue, the record-into-a-rectangle request, the page test of
// an arriving list, the recording report and the burn hand-off text.
#pragma once

#include <cstdint>
#include <string>

namespace player {

// How long forwarded command lines are collected before they are opened as
// one list: two second starts within this time open together.
constexpr uint32_t QUEUE_DELAY_MS = 100;

// The queue after a forwarded command line arrives: old + "|" + new, with
// leading and trailing "|" removed.
std::string QueueForwarded(const std::string& queue, const std::string& text);
// The list a batch opens when the queue timer fires.  On the first batch
// after start-up the program's own command line (when not empty) comes
// first.
std::string QueuedBatch(const std::string& queue, const std::string& commandLine, bool firstBatch);

// A request to play into a rectangle for recording: "width,height,rate,
// report window".  Only a text of more than one comma field is a request.
struct RecordingRequest {
  bool valid = false;
  int32_t width = 0;   // field 1 + 4
  int32_t height = 0;  // field 2 + 4
  int32_t frameRate = 0;
  uint32_t reportWindow = 0;
};
RecordingRequest ParseRecordingRequest(const std::string& text);
// Where the recording window goes: centred across the screen, at the top.
int32_t RecordingWindowX(int32_t screenWidth, int32_t width);

// The report of the window recorder's counters: each number with a blank
// before it when not negative, joined by "," (" 3, 0, 1").
std::string RecordingReport(int32_t first, int32_t second, int32_t third);

// True when an arriving list's last extension (from its last ".", lower
// case) occurs within ".html": the display is reset before a page opens.
bool EndsWithPageExtension(const std::string& text);

// The text of a burn-on-close request: field 1 the file, field 2 the
// volume label, separated by "|".
struct BurnHandOff {
  std::string file;
  std::string label;
};
BurnHandOff ParseBurnHandOff(const std::string& text);

}  // namespace player
