// File- and memory-backed sector readers.
#include "core/sector_reader.h"

#include <cstring>

namespace discburn {

namespace {

std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
  return _wfopen(path.wstring().c_str(), L"rb");
#else
  return std::fopen(path.c_str(), "rb");
#endif
}

// Whether sectors [lba, lba + count) lie inside a block of sizeBytes that
// starts at firstLba; computed in 64 bits so no sum can wrap.
bool Covers(uint64_t sizeBytes, uint32_t firstLba, uint32_t lba, uint32_t count,
            uint64_t* offset) {
  if (lba < firstLba) return false;
  uint64_t start = uint64_t(lba - firstLba) * kSectorBytes;
  uint64_t length = uint64_t(count) * kSectorBytes;
  if (start > sizeBytes || length > sizeBytes - start) return false;
  *offset = start;
  return true;
}

}  // namespace

FileSectorReader::FileSectorReader(const std::filesystem::path& imagePath) {
  std::error_code error;
  uint64_t size = std::filesystem::file_size(imagePath, error);
  if (error) return;
  file_ = OpenForReading(imagePath);
  sizeBytes_ = size;
}

FileSectorReader::~FileSectorReader() {
  if (file_) std::fclose(file_);
}

bool FileSectorReader::Read(uint32_t lba, uint32_t count, uint8_t* buffer) {
  uint64_t offset = 0;
  if (!file_ || count == 0 || !Covers(sizeBytes_, 0, lba, count, &offset)) return false;
#ifdef _WIN32
  if (_fseeki64(file_, static_cast<int64_t>(offset), SEEK_SET) != 0) return false;
#else
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return false;
#endif
  size_t length = size_t(count) * kSectorBytes;
  return std::fread(buffer, 1, length, file_) == length;
}

bool MemorySectorReader::Read(uint32_t lba, uint32_t count, uint8_t* buffer) {
  uint64_t offset = 0;
  if (count == 0 || !Covers(sizeBytes_, firstLba_, lba, count, &offset)) return false;
  std::memcpy(buffer, data_ + offset, size_t(count) * kSectorBytes);
  return true;
}

}  // namespace discburn
