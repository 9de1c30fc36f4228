// What the media browser's Wine tests share: a program folder holding the
// browser as a user installs it, starting and closing it, its settings file
// and its child controls.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "harness.h"

namespace browsertest {

constexpr DWORD kStartMs = 15000;

std::string TempFolder();
std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);
// The lines of a file, without their CR LF.
std::vector<std::string> ReadLines(const std::string& path);
// Deletes a folder (given with its final backslash) with everything in it.
void RemoveTree(const std::string& folder);

// A folder of the test's TEMP, removed with everything in it at the end.
struct Folder {
  explicit Folder(const std::string& name) : path(TempFolder() + name + "\\") {
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
  }
  ~Folder() { RemoveTree(path); }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  std::string path;  // with its final backslash
};

// A program folder with a blank in its name, as under "Program Files".
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* name, bool withTextTable = true);
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  void Copy(const char* from, const char* to);
  std::string path(const char* file) const { return folder_ + file; }
  std::string browserCommand(const std::string& arguments = "") const;

 private:
  std::string folder_;
};

std::string SettingsPath();
// Settings that start in a known place without the first-run notice.
void WriteQuietSettings(const std::string& folder);

// Starts the browser from `program`, the given environment variables set for
// it alone, and waits until its main window shows (its controls exist
// then).  Null when it did not show in time.
HWND StartBrowser(const ProgramFolder& program, harness::Process* browser,
                  const std::string& arguments = "",
                  std::initializer_list<std::pair<const char*, std::string>> environment = {});

struct FoundChild {
  int id;
  std::string className;
  HWND window = nullptr;
};
std::vector<FoundChild> Children(HWND window);
const FoundChild* ChildById(const std::vector<FoundChild>& children, int id);
// The browser's child control `id` (lists: 1 folders, 3 files, 4 the
// collection); null when it is not there.
HWND ChildWindow(HWND browser, int id);
bool SameText(const std::string& a, const char* b);
// Sends CMD_CLOSE and expects the browser to end with exit code 0.
void CloseBrowser(HWND window, harness::Process& process);

// The texts of another process's list box or combo box.  Between processes
// Wine passes an item's text whole only as wide text (an ANSI buffer may get
// the wide bytes), so these ask for wide text and convert it.
std::vector<std::string> ListBoxTexts(HWND list);
std::vector<std::string> ComboBoxTexts(HWND combo);

// Selects exactly the named items (" name") of the browser's list: the
// browser's Clear selection (command 114) first, then each item.
void SelectOnly(HWND browser, HWND list, const std::vector<std::string>& wanted);
// Selects every item by the browser's Select all (command 112).
void SelectAll(HWND browser, HWND list);

// One line of a stand-in module's log (suite_receiver): a start with its
// arguments, or a suite command with its text.
struct ReceivedLine {
  std::string kind;  // "start" or the command code
  std::string text;
};
std::vector<ReceivedLine> ReceiverLog(const std::string& path);
// Waits (pumping) until the log holds at least `lines` lines.
std::vector<ReceivedLine> WaitForReceiverLog(const std::string& path, size_t lines, DWORD timeoutMs = 5000);

// A box window of `className` that the skin engine framed (the box is a
// child of its frame then), waited for until it is framed and shows the
// control `controlId`.  Null when it did not come in time.
HWND WaitForFramedBox(const char* className, int controlId, DWORD timeoutMs = 8000);

}  // namespace browsertest
