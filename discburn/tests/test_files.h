// Helpers of the disc image tests: scratch folders, fixture files with
// known contents, a fixed clock, and running an outside tool with a
// time-out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/file_source.h"

namespace discburn::test {

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Deterministic bytes that differ per seed and position.
std::vector<uint8_t> PatternBytes(uint64_t size, uint32_t seed);
void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFile(const std::filesystem::path& path);
std::u16string U16(const std::filesystem::path& path);

// Runs a shell command (bounded by timeout(1)); returns its exit status and
// fills output with stdout and stderr together.
int Run(const std::string& command, std::string* output, int timeoutSec = 60);
bool HasTool(const std::string& name);
std::string Quote(const std::filesystem::path& path);

// A clock at a fixed instant and a fixed offset from UTC.
class FixedClock : public Clock {
 public:
  FixedClock(int64_t nowUtc, int32_t offsetMinutes) : now_(nowUtc), offset_(offsetMinutes) {}
  int64_t NowUtcSeconds() override { return now_; }
  int32_t UtcOffsetMinutes(int64_t) override { return offset_; }

 private:
  int64_t now_;
  int32_t offset_;
};

}  // namespace discburn::test
