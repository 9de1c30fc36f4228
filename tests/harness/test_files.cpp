// Files, folders and environment for Win32 tests; see test_files.h.
#include "test_files.h"

#include <atomic>
#include <cstdio>

namespace harness {

std::string CurrentFolder() {
  DWORD size = GetCurrentDirectoryA(0, nullptr);
  std::string folder(size, '\0');
  DWORD length = GetCurrentDirectoryA(size, folder.data());
  folder.resize(length);
  return folder;
}

ScratchFolder::ScratchFolder(const std::string& label) {
  static std::atomic<int> counter{0};
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(temp), temp);
  std::string base(temp);
  if (!base.empty() && base.back() == '\\') base.pop_back();
  path_ = base + "\\orbtest " + label + " " + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  RemoveTree(path_);
  CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

namespace {

bool ReadVariable(const char* name, std::string* value) {
  const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size == 0) return false;
  value->assign(size, '\0');
  const DWORD length = GetEnvironmentVariableA(name, value->data(), size);
  value->resize(length < size ? length : 0);
  return true;
}

}  // namespace

PrivateTempFolder::PrivateTempFolder() {
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof(temp), temp);
  if (length == 0 || length >= sizeof(temp)) return;
  std::string base(temp, length);
  if (base.back() == '\\') base.pop_back();
  const std::string path = base + "\\orbtest-" + std::to_string(GetCurrentProcessId());
  RemoveTree(path);
  if (!CreateDirectoryA(path.c_str(), nullptr)) return;
  hadTmp_ = ReadVariable("TMP", &oldTmp_);
  hadTemp_ = ReadVariable("TEMP", &oldTemp_);
  SetEnvironmentVariableA("TMP", path.c_str());
  SetEnvironmentVariableA("TEMP", path.c_str());
  path_ = path;
}

namespace {

// Every file and folder below `path`, one per line, for the report of a
// folder that could not be removed.
void ListTree(const std::string& path, std::string* listing) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    *listing += "  " + path + "\\" + name + "\n";
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ListTree(path + "\\" + name, listing);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

}  // namespace

bool PrivateTempFolder::Remove() {
  if (path_.empty()) return true;
  SetEnvironmentVariableA("TMP", hadTmp_ ? oldTmp_.c_str() : nullptr);
  SetEnvironmentVariableA("TEMP", hadTemp_ ? oldTemp_.c_str() : nullptr);
  // A program that is still closing (or a file still being released under
  // Wine) keeps its files for a moment: try again for a while.
  constexpr DWORD kPatienceMs = 10000;
  const DWORD start = GetTickCount();
  RemoveTree(path_);
  while (FileExists(path_) && GetTickCount() - start < kPatienceMs) {
    Sleep(100);
    RemoveTree(path_);
  }
  const bool removed = !FileExists(path_);
  if (!removed) {
    std::string listing;
    ListTree(path_, &listing);
    fprintf(stderr, "the test program's TEMP folder %s could not be removed; left in it:\n%s",
            path_.c_str(), listing.c_str());
  }
  path_.clear();
  return removed;
}

PrivateTempFolder::~PrivateTempFolder() { Remove(); }

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
  bytes->clear();
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char chunk[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, chunk, sizeof(chunk), &got, nullptr) != 0) && got > 0) {
    bytes->append(chunk, got);
  }
  CloseHandle(file);
  return ok;
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

void RemoveTree(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitForFile(const std::string& path, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size > 0) {
    oldValue_.assign(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, oldValue_.data(), size);
    oldValue_.resize(length);
    wasSet_ = true;
  }
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  SetEnvironmentVariableA(name_.c_str(), wasSet_ ? oldValue_.c_str() : nullptr);
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder) : old_(CurrentFolder()) {
  SetCurrentDirectoryA(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() { SetCurrentDirectoryA(old_.c_str()); }

}  // namespace harness
