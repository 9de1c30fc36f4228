// The data area of the medium: block n of the disc is bytes n*2048 to
// n*2048+2047 of the backing file, so a written disc is a plain image file
// that outside readers (xorriso, isoinfo) open directly.  Blocks past the
// file's end read as zeros.  Also keeps the state file beside it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace softdrive {

inline constexpr uint32_t kBlockSize = 2048;

class BackingStore {
 public:
  explicit BackingStore(std::string path);
  ~BackingStore();
  BackingStore(const BackingStore&) = delete;
  BackingStore& operator=(const BackingStore&) = delete;

  bool HasPath() const { return !path_.empty(); }
  // False when the file cannot be read (not when it is short).
  bool Read(uint32_t lba, uint32_t blocks, uint8_t* out);
  bool Write(uint32_t lba, uint32_t blocks, const uint8_t* data);
  // Cuts the file to `blocks` blocks (0 empties it).
  bool Truncate(uint32_t blocks);
  bool Flush();

  // <backing>.state: read whole, or written through a temporary and a rename.
  std::optional<std::string> ReadState() const;
  bool WriteState(const std::string& text) const;

 private:
  bool Open();
  std::string path_;
  FILE* file_ = nullptr;
};

}  // namespace softdrive
