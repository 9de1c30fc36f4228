// Formats the lines of the call trace that every platform replacement writes
// when ORB_TRACE names a file:
//
//   [pid] library FUNCTION(arg, arg, ...) = result
//
// Numbers are written in decimal, texts in double quotes with every byte
// outside 0x20..0x7E, the quote and the backslash written as \xNN (two
// upper-case hex digits), so one call is always one line whatever bytes the
// caller passed, and a test can match a line without unescaping.  A null text
// pointer is written NULL.  A value the function wrote to a caller buffer is
// written out:"..." in its argument's place.
//
// Portable: no windows.h.  The Win32 writer (trace_writer.h) adds the process
// id and appends the line to the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orbtrace {

// The name of the mutex that serialises appends to one trace file among all
// processes: "orbtrace-" and 16 hex digits of a hash of the full path, with
// ASCII letters folded to upper case and '/' taken as '\' (Windows paths
// ignore both differences).  Names are
// fixed-length so any path length gives a valid object name.
std::string TraceLockName(std::string_view fullPath);

// "text" with the escapes above.
std::string QuoteText(std::string_view bytes);
// QuoteText of a zero-terminated text, or NULL.
std::string QuoteText(const char* textOrNull);

// The arguments of one call, collected in order, then formatted as one line.
class CallLine {
 public:
  CallLine(std::string_view library, std::string_view function);

  // A zero-terminated input text (NULL when null).
  CallLine& Text(const char* textOrNull);
  // A byte string of known length (may hold zero bytes).
  CallLine& Bytes(std::string_view bytes);
  // What the function wrote to a caller buffer: out:"..." (out:NULL when the
  // caller passed no buffer).
  CallLine& OutText(const char* textOrNull);
  CallLine& Number(int64_t value);
  // A value already formatted by the caller (a flag name, a handle as hex).
  CallLine& Raw(std::string_view formatted);

  // The complete line, without a line end.
  std::string Format(uint32_t processId, int64_t result) const;
  std::string Format(uint32_t processId, std::string_view formattedResult) const;

  const std::vector<std::string>& arguments() const { return arguments_; }

 private:
  std::string library_;
  std::string function_;
  std::vector<std::string> arguments_;
};

}  // namespace orbtrace
