// The program's file access for the list readers: C stdio and stat, so the
// same code runs natively (tests, fuzzing) and in the Windows program.
#include "player_files.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <direct.h>
#endif

namespace player {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The file's mode bits, 0 when it cannot be looked at.  Windows' plain
// stat fails on files over 2 GB (its size field is 32 bits), and videos
// are often that large: the 64-bit form is used there.
unsigned ModeOf(const std::string& path) {
#ifdef _WIN32
  struct _stat64 info {};
  if (_stat64(path.c_str(), &info) != 0) return 0;
#else
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return 0;
#endif
  return static_cast<unsigned>(info.st_mode);
}

bool IsFolder(const std::string& path) { return S_ISDIR(ModeOf(path)); }

bool MakeOneFolder(const std::string& path) {
#ifdef _WIN32
  return _mkdir(path.c_str()) == 0;
#else
  return mkdir(path.c_str(), 0777) == 0;
#endif
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool StdPlayerFiles::FileExists(const std::string& path) const {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  return S_ISREG(ModeOf(path));
}

FileReadStatus StdPlayerFiles::ReadFile(const std::string& path, size_t maxBytes, std::string* bytes,
                                        bool* truncated) const {
  bytes->clear();
  *truncated = false;
  if (path.empty() || path.find('\0') != std::string::npos || IsFolder(path)) {
    return FileReadStatus::Missing;
  }
  FileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) return FileReadStatus::Missing;
  char chunk[16384];
  for (;;) {
    size_t wanted = sizeof(chunk);
    if (maxBytes - bytes->size() < wanted) wanted = maxBytes - bytes->size();
    if (wanted == 0) {
      // At the limit: one more byte tells whether the file goes on.
      *truncated = std::fgetc(file.get()) != EOF;
      return FileReadStatus::Read;
    }
    size_t got = std::fread(chunk, 1, wanted, file.get());
    bytes->append(chunk, got);
    if (got < wanted) {
      return std::ferror(file.get()) ? FileReadStatus::Failed : FileReadStatus::Read;
    }
  }
}

bool StdPlayerFiles::MakeFolder(const std::string& path) const {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  std::string folder = path;
  while (folder.size() > 1 && IsSeparator(folder.back())) folder.pop_back();
  if (IsFolder(folder)) return true;
  // Each level from the top down; a level that exists already is passed
  // over, and the last one decides.
  for (size_t i = 1; i < folder.size(); ++i) {
    if (!IsSeparator(folder[i]) || IsSeparator(folder[i - 1])) continue;
    std::string level = folder.substr(0, i);
    if (level.back() == ':') continue;  // a drive, "C:"
    if (!IsFolder(level)) MakeOneFolder(level);
  }
  MakeOneFolder(folder);
  return IsFolder(folder);
}

}  // namespace player
