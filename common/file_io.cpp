// Whole-file reading and replacing writes.
#include "file_io.h"

#include <windows.h>

namespace suite {

bool ReadWholeFile(const std::string& path, size_t maxBytes, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
  if (ok) {
    std::string data(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    ok = data.empty() || (ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                          read == data.size());
    if (ok) *bytes = std::move(data);
  }
  CloseHandle(file);
  return ok;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes, uint32_t* error) {
  if (error != nullptr) *error = 0;
  std::string temporary = path + ".new";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (error != nullptr) *error = GetLastError();
    return false;
  }
  bool ok = true;
  if (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
      ok = false;
      if (error != nullptr) *error = GetLastError();
    } else if (written != bytes.size()) {
      ok = false;  // a short write: the disk is full
      if (error != nullptr) *error = ERROR_DISK_FULL;
    }
  }
  bool flushed = FlushFileBuffers(file) != 0;
  if (ok && !flushed && error != nullptr) *error = GetLastError();
  ok = flushed && ok;
  CloseHandle(file);
  if (ok) {
    ok = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok && error != nullptr) *error = GetLastError();
  }
  if (!ok) DeleteFileA(temporary.c_str());
  return ok;
}

}  // namespace suite
