// File access for the fuzz targets: one file whose bytes the fuzzer gives,
// and a fixed rule for which other paths exist, so both the kept and the
// dropped branches of the readers run.
#pragma once

#include <string>

#include "core/player_files.h"

namespace fuzzing {

class MemoryFiles : public player::PlayerFiles {
 public:
  explicit MemoryFiles(std::string bytes) : bytes_(std::move(bytes)) {}

  // Any path whose length is even exists; its bytes are the fuzzer's.
  bool FileExists(const std::string& path) const override { return !path.empty() && path.size() % 2 == 0; }

  player::FileReadStatus ReadFile(const std::string& path, size_t maxBytes, std::string* bytes,
                                  bool* truncated) const override {
    *truncated = false;
    bytes->clear();
    if (path.empty()) return player::FileReadStatus::Missing;
    *bytes = bytes_.substr(0, maxBytes);
    *truncated = bytes_.size() > maxBytes;
    return player::FileReadStatus::Read;
  }

  bool MakeFolder(const std::string& path) const override { return FileExists(path); }

 private:
  std::string bytes_;
};

}  // namespace fuzzing
