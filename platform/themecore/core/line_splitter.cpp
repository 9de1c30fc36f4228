// Line cutting for SKBUFIN; see line_splitter.h.
#include "line_splitter.h"

namespace themecore {

void LineSplitter::Append(std::string_view bytes) {
  // Drop the lines already taken before growing, so the buffer holds about
  // one line and one chunk.
  if (start_ > 0 && start_ * 2 >= buffer_.size()) {
    buffer_.erase(0, start_);
    scanFrom_ -= start_;
    start_ = 0;
  }
  buffer_.append(bytes);
}

void LineSplitter::Finish() { finished_ = true; }

bool LineSplitter::TakeLine(std::string* line) {
  if (start_ >= buffer_.size()) return false;
  if (scanFrom_ < start_) scanFrom_ = start_;
  size_t end = buffer_.find_first_of("\r\n", scanFrom_);
  if (end == std::string::npos) {
    scanFrom_ = buffer_.size();
    if (!finished_) return false;
    line->assign(buffer_, start_, std::string::npos);
    start_ = buffer_.size();
    return true;
  }
  size_t next = end + 1;
  if (buffer_[end] == '\r') {
    // A CR as the last byte read may be the first half of a CR LF.
    if (next == buffer_.size() && !finished_) {
      scanFrom_ = end;
      return false;
    }
    if (next < buffer_.size() && buffer_[next] == '\n') ++next;
  }
  line->assign(buffer_, start_, end - start_);
  start_ = next;
  scanFrom_ = next;
  return true;
}

}  // namespace themecore
