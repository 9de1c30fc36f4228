// Files, folders and environment for Win32 tests: everything a test makes
// lives below a fresh folder in TEMP that is removed at the end, and every
// change to the process's environment or current folder is undone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// A fresh folder in TEMP whose name holds blanks (as "Program Files"
// does); removed with all its contents by the destructor.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& label);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Without a final backslash.
  const std::string& path() const { return path_; }
  // path() + "\" + name
  std::string Child(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Gives a test program a TEMP of its own for its whole run: a fresh folder
// below the TEMP it was started with, named by TMP and TEMP (the programs
// a test starts inherit both), removed with everything in it at the end.
// So nothing a test, or a program under test, leaves in TEMP outlives the
// test program.  Every test program's main makes one (test_main.cpp).
class PrivateTempFolder {
 public:
  PrivateTempFolder();
  ~PrivateTempFolder();
  PrivateTempFolder(const PrivateTempFolder&) = delete;
  PrivateTempFolder& operator=(const PrivateTempFolder&) = delete;

  // Without a final backslash; "" when the folder could not be made (TEMP
  // is then left as it was).
  const std::string& path() const { return path_; }
  // Puts TMP and TEMP back and removes the folder, waiting a while for a
  // program that still holds a file in it to let go.  False when the
  // folder stays; what is left of it is then named on standard error.
  // The destructor does the same for a folder not yet removed.
  bool Remove();

 private:
  std::string path_;
  std::string oldTmp_;
  std::string oldTemp_;
  bool hadTmp_ = false;
  bool hadTemp_ = false;
};

bool WriteFileBytes(const std::string& path, const std::string& bytes);
// False when the file cannot be read.
bool ReadFileBytes(const std::string& path, std::string* bytes);
// Lines split at '\n' (a '\r' before it is kept).
std::vector<std::string> SplitLines(const std::string& text);
bool FileExists(const std::string& path);
// Removes a file or a whole folder tree.
void RemoveTree(const std::string& path);
// Waits until the file exists, for at most timeoutMs.
bool WaitForFile(const std::string& path, DWORD timeoutMs);
// The current folder, without a final backslash.
std::string CurrentFolder();

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

}  // namespace harness
