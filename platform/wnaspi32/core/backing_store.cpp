// File access of the software drive; see backing_store.h.
#include "backing_store.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace softdrive {
namespace {

// A disc is larger than a 32-bit long reaches (Windows keeps long at 32 bits).
bool SeekTo(FILE* file, int64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, offset, SEEK_SET) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

BackingStore::BackingStore(std::string path) : path_(std::move(path)) {}

BackingStore::~BackingStore() {
  if (file_) std::fclose(file_);
}

bool BackingStore::Open() {
  if (file_) return true;
  if (path_.empty()) return false;
  file_ = std::fopen(path_.c_str(), "r+b");
  if (!file_) file_ = std::fopen(path_.c_str(), "w+b");
  return file_ != nullptr;
}

bool BackingStore::Read(uint32_t lba, uint32_t blocks, uint8_t* out) {
  size_t total = size_t{blocks} * kBlockSize;
  std::memset(out, 0, total);
  if (path_.empty()) return true;  // a medium without a file holds zeros
  if (!Open()) return false;
  if (!SeekTo(file_, int64_t{lba} * kBlockSize)) return false;
  std::fread(out, 1, total, file_);
  std::clearerr(file_);
  return true;
}

bool BackingStore::Write(uint32_t lba, uint32_t blocks, const uint8_t* data) {
  if (path_.empty()) return true;
  if (!Open()) return false;
  size_t total = size_t{blocks} * kBlockSize;
  if (!SeekTo(file_, int64_t{lba} * kBlockSize)) return false;
  return std::fwrite(data, 1, total, file_) == total;
}

bool BackingStore::Truncate(uint32_t blocks) {
  if (path_.empty()) return true;
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  std::error_code error;
  if (!std::filesystem::exists(path_, error)) return true;
  std::filesystem::resize_file(path_, uint64_t{blocks} * kBlockSize, error);
  return !error;
}

bool BackingStore::Flush() {
  if (!file_) return true;
  return std::fflush(file_) == 0;
}

std::optional<std::string> BackingStore::ReadState() const {
  if (path_.empty()) return std::nullopt;
  std::ifstream in(path_ + ".state", std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (text.size() > 64 * 1024) return std::nullopt;  // no real state is this long
  return text;
}

bool BackingStore::WriteState(const std::string& text) const {
  if (path_.empty()) return true;
  std::string target = path_ + ".state";
  std::string temporary = target + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, target, error);
  return !error;
}

}  // namespace softdrive
