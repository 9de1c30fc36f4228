// Test support for the tonelink Win32 tests; see test_support.h.
#include "test_support.h"

#include <atomic>

#include "tonelink.h"

namespace testsupport {

namespace {

std::string TempFolder() {
  char buffer[MAX_PATH + 1] = {};
  DWORD length = GetTempPathA(sizeof(buffer), buffer);
  std::string folder = length > 0 && length < sizeof(buffer) ? std::string(buffer, length) : ".\\";
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}

}  // namespace

ScratchFolder::ScratchFolder(const std::string& label) {
  static std::atomic<int> counter{0};
  path_ = TempFolder() + "\\tonelink " + label + " " + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter);
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes->clear();
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes->append(buffer, read);
  }
  CloseHandle(file);
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  char buffer[32768];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  wasSet_ = length > 0 && length < sizeof(buffer);
  if (wasSet_) oldValue_.assign(buffer, length);
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  SetEnvironmentVariableA(name_.c_str(), wasSet_ ? oldValue_.c_str() : nullptr);
}

void ResetLibrary() {
  BASSLOAD();
  BASSFREE();
}

std::string Description(int32_t code) { return tonelink::ErrorText(code); }

std::vector<char> CdDriveLetters() {
  std::vector<char> letters;
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((drives & (1u << i)) == 0) continue;
    char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    if (GetDriveTypeA(root) == DRIVE_CDROM) letters.push_back(root[0]);
  }
  return letters;
}

}  // namespace testsupport
