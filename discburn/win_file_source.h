// The computer's files and clock for the library: find data through
// FindFirstFile (with the 8.3 alias the file system keeps), files opened
// through CreateFile by their UTF-16 path or, for entries that came from an
// ANSI export, by their ANSI form, and the system clock and time zone.
#pragma once

#include <windows.h>

#include <string>

#include "core/file_source.h"

namespace discburn {

class WinFileSource : public FileSource {
 public:
  std::optional<FindData> Find(const std::u16string& path) override;
  std::vector<FindData> List(const std::u16string& folder, const std::u16string& mask) override;
  std::unique_ptr<SourceStream> Open(const std::u16string& path, bool isWide) override;
};

class WinClock : public Clock {
 public:
  int64_t NowUtcSeconds() override;
  int32_t UtcOffsetMinutes(int64_t utcSeconds) override;
};

// Text conversions with the ANSI code page.
std::u16string AnsiToUtf16(const char* text);
std::string Utf16ToAnsi(std::u16string_view text);
inline const wchar_t* AsWide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline std::u16string FromWide(const wchar_t* text) {
  return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

// A file opened with CreateFile, read with ReadFile.
class HandleStream : public SourceStream {
 public:
  explicit HandleStream(HANDLE handle) : handle_(handle) {}
  ~HandleStream() override { CloseHandle(handle_); }
  size_t Read(uint8_t* buffer, size_t length) override;

 private:
  HANDLE handle_;
};

}  // namespace discburn
