// How the players' list and side-file readers reach files.
//
// The readers never open a file themselves: they ask a `PlayerFiles`, so a
// test can map the Windows paths a list holds onto a folder of real files.
// `StdPlayerFiles` is the program's own: C stdio on the path as it stands,
// which on Windows takes the bytes in the ANSI code page as the suite does.
#pragma once

#include <cstddef>
#include <string>

namespace player {

enum class FileReadStatus {
  Read,     // the bytes (up to the limit) are in the output
  Missing,  // no such file, or it cannot be opened for reading
  Failed,   // a read error part-way; what came before it is in the output
};

class PlayerFiles {
 public:
  virtual ~PlayerFiles() = default;
  // Whether `path` names an existing file (not a folder).
  virtual bool FileExists(const std::string& path) const = 0;
  // Reads at most `maxBytes` of the file into `bytes` (replacing it).
  // `truncated` is set when the file holds more than that.
  virtual FileReadStatus ReadFile(const std::string& path, size_t maxBytes, std::string* bytes,
                                  bool* truncated) const = 0;
  // Creates the folder and any missing folder above it; true when it
  // exists afterwards.
  virtual bool MakeFolder(const std::string& path) const = 0;
};

class StdPlayerFiles : public PlayerFiles {
 public:
  bool FileExists(const std::string& path) const override;
  FileReadStatus ReadFile(const std::string& path, size_t maxBytes, std::string* bytes,
                          bool* truncated) const override;
  bool MakeFolder(const std::string& path) const override;
};

}  // namespace player
