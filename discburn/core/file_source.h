// What the disc project needs from the computer: the find data of source
// files and folders, the bytes of a source file, and the clock and time
// zone that recording times are written in.  The library's Win32 side
// answers these with FindFirstFile, CreateFile and the time-zone functions;
// local_file_source.h answers them with the C++ standard library for tests
// and the benchmark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace discburn {

// Windows file attributes the project looks at.
inline constexpr uint32_t kAttributeHidden = 0x02;
inline constexpr uint32_t kAttributeDirectory = 0x10;

struct FindData {
  uint32_t attributes = 0;
  int64_t lastWriteUtcSeconds = 0;  // seconds since 1970-01-01 00:00 UTC
  uint64_t sizeBytes = 0;
  std::u16string longName;
  std::u16string shortName;  // the 8.3 alias; empty when the file system has none
};

class SourceStream {
 public:
  virtual ~SourceStream() = default;
  // Reads up to length bytes; returns how many were read (0 at the end or
  // on an error).
  virtual size_t Read(uint8_t* buffer, size_t length) = 0;
};

class FileSource {
 public:
  virtual ~FileSource() = default;
  // The entry a path names, or nothing when it does not exist.  A path with
  // wildcards is not expanded: it names nothing.
  virtual std::optional<FindData> Find(const std::u16string& path) = 0;
  // The entries of a folder whose long name matches mask (Windows wildcard
  // rules: "*", "?", "*.*" matches every name), without "." and "..".
  virtual std::vector<FindData> List(const std::u16string& folder, const std::u16string& mask) = 0;
  // Opens a file for reading; null when it cannot be opened.  isWide says
  // the path came from a UTF-16 caller (the Win32 side opens ANSI-made
  // paths by their ANSI form).
  virtual std::unique_ptr<SourceStream> Open(const std::u16string& path, bool isWide) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t NowUtcSeconds() = 0;
  // Local time minus UTC at that instant, in minutes (daylight saving
  // included when it applies at that instant).
  virtual int32_t UtcOffsetMinutes(int64_t utcSeconds) = 0;
};

}  // namespace discburn
