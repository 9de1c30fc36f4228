// Files, folders and environment for the themecore Win32 tests.  Everything
// a test makes lives below one fresh folder in TEMP, removed at the end.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// The folder of the test program, without a final backslash.
std::string ProgramFolder();
std::string CurrentFolder();

// A fresh folder in TEMP (the name may hold a blank); removed with all its
// contents by the destructor.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& label);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  // path() + "\" + name
  std::string Child(const std::string& name) const;

 private:
  std::string path_;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// False when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::string* bytes);
std::vector<std::string> SplitLines(const std::string& text);
// Removes a file or a whole folder tree.
void RemoveTree(const std::string& path);

// Waits until the file exists, for at most timeoutMs.
bool WaitForFile(const std::string& path, DWORD timeoutMs);

// Sets an environment variable for the scope and restores the old state.
// A null value removes the variable.
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

// Changes the current folder for the scope.
class ScopedCurrentFolder {
 public:
  explicit ScopedCurrentFolder(const std::string& folder);
  ~ScopedCurrentFolder();
  ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
  ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

 private:
  std::string old_;
};

// The text as a trace line quotes it: '"' and '\' as \x22 and \x5C (the
// tests only pass printable ASCII through here).
std::string TraceQuoted(const std::string& text);

}  // namespace testsupport
