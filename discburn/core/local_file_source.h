// The computer's files and clock through the C++ standard library, for
// native tests and the benchmark.  Paths are UTF-16; "\" and "/" both
// separate parts.  There are no 8.3 aliases, and the hidden attribute is
// set for names starting with ".".
#pragma once

#include "core/file_source.h"

namespace discburn {

class LocalFileSource : public FileSource {
 public:
  std::optional<FindData> Find(const std::u16string& path) override;
  std::vector<FindData> List(const std::u16string& folder, const std::u16string& mask) override;
  std::unique_ptr<SourceStream> Open(const std::u16string& path, bool isWide) override;
};

// The system clock and the C library's time zone (TZ).
class LocalClock : public Clock {
 public:
  int64_t NowUtcSeconds() override;
  int32_t UtcOffsetMinutes(int64_t utcSeconds) override;
};

}  // namespace discburn
