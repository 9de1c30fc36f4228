// Standard-library file access and clock.
#include "core/local_file_source.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "core/disc_names.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace discburn {

namespace fs = std::filesystem;

namespace {

fs::path ToPath(const std::u16string& path) {
  std::u16string native = path;
#ifndef _WIN32
  for (char16_t& c : native) {
    if (c == u'\\') c = u'/';
  }
#endif
  return fs::path(native);
}

#ifndef _WIN32
// One stat() per entry: a listing of thousands of files is dominated by
// these calls, and std::filesystem makes one per attribute.
std::optional<FindData> Describe(const fs::path& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  FindData find;
  find.longName = Utf8ToUtf16(path.filename().string());
  if (!find.longName.empty() && find.longName[0] == u'.') find.attributes |= kAttributeHidden;
  if (S_ISDIR(info.st_mode)) {
    find.attributes |= kAttributeDirectory;
  } else {
    find.sizeBytes = static_cast<uint64_t>(info.st_size);
  }
  find.lastWriteUtcSeconds = info.st_mtime;
  return find;
}
#else
std::optional<FindData> Describe(const fs::path& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (error || !fs::exists(status)) return std::nullopt;
  FindData find;
  find.longName = path.filename().u16string();
  if (!find.longName.empty() && find.longName[0] == u'.') find.attributes |= kAttributeHidden;
  if (fs::is_directory(status)) {
    find.attributes |= kAttributeDirectory;
  } else {
    find.sizeBytes = fs::file_size(path, error);
    if (error) return std::nullopt;
  }
  fs::file_time_type written = fs::last_write_time(path, error);
  if (!error) {
    auto system = std::chrono::file_clock::to_sys(written);
    find.lastWriteUtcSeconds =
        std::chrono::floor<std::chrono::seconds>(system.time_since_epoch()).count();
  }
  return find;
}
#endif

class LocalStream : public SourceStream {
 public:
  explicit LocalStream(std::FILE* file) : file_(file) {}
  ~LocalStream() override { std::fclose(file_); }
  size_t Read(uint8_t* buffer, size_t length) override {
    return std::fread(buffer, 1, length, file_);
  }

 private:
  std::FILE* file_;
};

}  // namespace

std::optional<FindData> LocalFileSource::Find(const std::u16string& path) {
  if (HasWildcard(path)) return std::nullopt;
  fs::path native = ToPath(path);
  if (native.filename().empty()) native = native.parent_path();
  return Describe(native);
}

std::vector<FindData> LocalFileSource::List(const std::u16string& folder,
                                            const std::u16string& mask) {
  std::vector<FindData> entries;
  std::error_code error;
  fs::directory_iterator it(ToPath(folder), error);
  if (error) return entries;
  std::vector<fs::path> paths;
  for (const fs::directory_entry& entry : it) paths.push_back(entry.path());
  // FindFirstFile on NTFS lists in name order; keep listings repeatable.
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    if (!MatchesMask(path.filename().u16string(), mask)) continue;
    if (std::optional<FindData> find = Describe(path)) entries.push_back(std::move(*find));
  }
  return entries;
}

std::unique_ptr<SourceStream> LocalFileSource::Open(const std::u16string& path, bool) {
  fs::path native = ToPath(path);
#ifdef _WIN32
  std::FILE* file = _wfopen(native.wstring().c_str(), L"rb");
#else
  std::FILE* file = std::fopen(native.c_str(), "rb");
#endif
  if (!file) return nullptr;
  // The image writer reads in large blocks; a stdio buffer would only add a copy.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return std::make_unique<LocalStream>(file);
}

int64_t LocalClock::NowUtcSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

int32_t LocalClock::UtcOffsetMinutes(int64_t utcSeconds) {
  std::time_t when = static_cast<std::time_t>(utcSeconds);
  std::tm local{};
  std::tm utc{};
#ifdef _WIN32
  if (localtime_s(&local, &when) != 0 || gmtime_s(&utc, &when) != 0) return 0;
#else
  if (!localtime_r(&when, &local) || !gmtime_r(&when, &utc)) return 0;
#endif
  // Both broken-down times as if they were UTC; their difference is the offset.
  auto asSeconds = [](const std::tm& t) {
    int64_t y = t.tm_year + 1900, m = t.tm_mon + 1;
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + t.tm_mday - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    int64_t days = era * 146097 + doe - 719468;
    return days * 86400 + t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
  };
  return static_cast<int32_t>((asSeconds(local) - asSeconds(utc)) / 60);
}

}  // namespace discburn
