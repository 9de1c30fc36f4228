// Where the session importer gets the sectors of a disc from.  The drive
// reads them with READ(10); tests and the fuzz target hand in a file or a
// memory block.  A reader answers whole 2048-byte sectors addressed by their
// absolute sector number and fails (false) for anything it cannot supply,
// leaving the buffer's contents undefined.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace discburn {

inline constexpr uint32_t kSectorBytes = 2048;

class SectorReader {
 public:
  virtual ~SectorReader() = default;
  // Reads count sectors from lba on into buffer (count x 2048 bytes).
  virtual bool Read(uint32_t lba, uint32_t count, uint8_t* buffer) = 0;
};

// An image file whose first byte is sector 0 (a session placed at sector N
// of the file is read at its absolute numbers).  A sector that lies past
// the file's end in whole or in part cannot be read.
class FileSectorReader : public SectorReader {
 public:
  explicit FileSectorReader(const std::filesystem::path& imagePath);
  ~FileSectorReader() override;
  FileSectorReader(const FileSectorReader&) = delete;
  FileSectorReader& operator=(const FileSectorReader&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  bool Read(uint32_t lba, uint32_t count, uint8_t* buffer) override;

 private:
  std::FILE* file_ = nullptr;
  uint64_t sizeBytes_ = 0;
};

// A block of memory standing for sectors firstLba, firstLba + 1, ...; the
// caller keeps the block alive.  Sectors outside it cannot be read.
class MemorySectorReader : public SectorReader {
 public:
  MemorySectorReader(const uint8_t* data, size_t sizeBytes, uint32_t firstLba = 0)
      : data_(data), sizeBytes_(sizeBytes), firstLba_(firstLba) {}
  bool Read(uint32_t lba, uint32_t count, uint8_t* buffer) override;

 private:
  const uint8_t* data_;
  size_t sizeBytes_;
  uint32_t firstLba_;
};

}  // namespace discburn
