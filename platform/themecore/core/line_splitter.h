// Cuts the bytes of a text file into lines as SKBUFIN hands them out: CR LF,
// LF or a lone CR ends a line, the line end is not part of the line, and a
// last line without a line end still counts.  Bytes arrive in pieces of any
// size (a CR LF may be cut between two reads), so the file is read in
// chunks and a line may be of any length.
#pragma once

#include <string>
#include <string_view>

namespace themecore {

class LineSplitter {
 public:
  // Adds the next bytes of the file.
  void Append(std::string_view bytes);
  // No more bytes will come: what is left becomes the last line.
  void Finish();
  // Moves the next complete line into *line; false when more bytes are
  // needed (or, after Finish, when every line has been taken).
  bool TakeLine(std::string* line);
  // Finish was called and every line taken.
  bool AtEnd() const { return finished_ && start_ >= buffer_.size(); }

 private:
  std::string buffer_;
  size_t start_ = 0;     // first byte of the next line
  size_t scanFrom_ = 0;  // bytes before this hold no line end of that line
  bool finished_ = false;
};

}  // namespace themecore
