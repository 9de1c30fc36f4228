// Files, folders and environment for the tonelink Win32 tests, and the
// library's state between tests.  Everything a test makes lives below one
// fresh folder in TEMP, removed at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// A fresh folder in TEMP (the name holds a blank); removed with its files by
// the destructor.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& label);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Child(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// False when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::string* bytes);
std::vector<std::string> SplitLines(const std::string& text);
bool FileExists(const std::string& path);

// Sets an environment variable for the scope and restores the old state.  A
// null value removes the variable.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ~ScopedEnvironment();
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  std::string name_;
  bool wasSet_ = false;
  std::string oldValue_;
};

// Brings the library to its state at start: loaded, output not initialised.
void ResetLibrary();

// The library's text of an error code.
std::string Description(int32_t code);

// The machine's CD drives (the library numbers them from 0 in this order).
std::vector<char> CdDriveLetters();

}  // namespace testsupport
