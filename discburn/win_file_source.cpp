// FindFirstFile, CreateFile and the time-zone functions behind the project.
#include "win_file_source.h"

#include "core/disc_names.h"

namespace discburn {

namespace {

// 100 ns units between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 116444736000000000LL;

int64_t UnixSeconds(const FILETIME& time) {
  int64_t ticks = (int64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  return (ticks - kEpochDifference) / 10000000;
}

FindData Describe(const WIN32_FIND_DATAW& found) {
  FindData find;
  find.attributes = found.dwFileAttributes;
  find.lastWriteUtcSeconds = UnixSeconds(found.ftLastWriteTime);
  if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    find.sizeBytes = (uint64_t{found.nFileSizeHigh} << 32) | found.nFileSizeLow;
  }
  find.longName = FromWide(found.cFileName);
  find.shortName = FromWide(found.cAlternateFileName);
  return find;
}

bool IsDotEntry(const wchar_t* name) {
  return (name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

}  // namespace

std::u16string AnsiToUtf16(const char* text) {
  if (text == nullptr || *text == 0) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length - 1));
  return std::u16string(wide.begin(), wide.end());
}

std::string Utf16ToAnsi(std::u16string_view text) {
  if (text.empty()) return {};
  std::wstring wide(text.begin(), text.end());
  int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                   nullptr);
  if (length <= 0) return {};
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), ansi.data(), length, nullptr,
                      nullptr);
  return ansi;
}

size_t HandleStream::Read(uint8_t* buffer, size_t length) {
  size_t total = 0;
  while (total < length) {
    DWORD piece = static_cast<DWORD>(std::min<size_t>(length - total, 1u << 24));
    DWORD got = 0;
    if (!ReadFile(handle_, buffer + total, piece, &got, nullptr) || got == 0) break;
    total += got;
  }
  return total;
}

std::optional<FindData> WinFileSource::Find(const std::u16string& path) {
  if (path.empty() || HasWildcard(path)) return std::nullopt;
  std::u16string trimmed = path;
  if (trimmed.size() > 3 && (trimmed.back() == u'\\' || trimmed.back() == u'/')) trimmed.pop_back();
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(AsWide(trimmed), &found);
  if (search == INVALID_HANDLE_VALUE) {
    // A drive root has no find data of its own.
    DWORD attributes = GetFileAttributesW(AsWide(trimmed));
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
    FindData find;
    find.attributes = attributes;
    return find;
  }
  FindClose(search);
  return Describe(found);
}

std::vector<FindData> WinFileSource::List(const std::u16string& folder, const std::u16string& mask) {
  std::vector<FindData> entries;
  std::u16string pattern = folder;
  if (!pattern.empty() && pattern.back() != u'\\') pattern += u'\\';
  pattern += mask.empty() ? u"*" : mask;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(AsWide(pattern), &found);
  if (search == INVALID_HANDLE_VALUE) return entries;
  do {
    if (!IsDotEntry(found.cFileName)) entries.push_back(Describe(found));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return entries;
}

std::unique_ptr<SourceStream> WinFileSource::Open(const std::u16string& path, bool isWide) {
  HANDLE handle;
  if (isWide) {
    handle = CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  } else {
    handle = CreateFileA(Utf16ToAnsi(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  }
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleStream>(handle);
}

int64_t WinClock::NowUtcSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return UnixSeconds(now);
}

int32_t WinClock::UtcOffsetMinutes(int64_t utcSeconds) {
  int64_t ticks = utcSeconds * 10000000 + kEpochDifference;
  if (ticks < 0) return 0;
  FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utcTime, localTime;
  if (!FileTimeToSystemTime(&utc, &utcTime) || !SystemTimeToTzSpecificLocalTime(nullptr, &utcTime, &localTime)) {
    return 0;
  }
  FILETIME local;
  if (!SystemTimeToFileTime(&localTime, &local)) return 0;
  return static_cast<int32_t>((UnixSeconds(local) - utcSeconds) / 60);
}

}  // namespace discburn
