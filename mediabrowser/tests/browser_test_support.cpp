#include "browser_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/command_line.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "suite_command.h"
#include "test_files.h"

namespace browsertest {

namespace {

constexpr int kSelectAllCommand = 112;
constexpr int kClearSelectionCommand = 114;

}  // namespace

std::string TempFolder() {
  char buffer[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, buffer);
  return buffer;
}

std::string ReadFileText(const std::string& path) {
  std::string text;
  harness::ReadFileBytes(path, &text);
  return text;
}

void WriteFileText(const std::string& path, const std::string& text) {
  harness::WriteFileBytes(path, text);
}

// The lines of a file, without their CR LF.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines = harness::SplitLines(ReadFileText(path));
  for (std::string& line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  return lines;
}

// Deletes a folder (given with its final backslash) with everything in it;
// the browser creates its user folder inside its program folder.
void RemoveTree(const std::string& folder) { harness::RemoveTree(suite::WithoutFinalBackslash(folder)); }

ProgramFolder::ProgramFolder(const char* name, bool withTextTable) {
  folder_ = TempFolder() + "orb suite " + name + "\\";
  CreateDirectoryA(folder_.c_str(), nullptr);
  const char* files[] = {"orbmedia.exe", "themecore.dll", "tonelink.dll", "imaging.dll", "pixconv.dll",
                         "LUMINAR.SKL"};
  for (const char* file : files) Copy(file, file);
  if (withTextTable) Copy("orbmedia.SYS", "orbmedia.SYS");
}

ProgramFolder::~ProgramFolder() { RemoveTree(folder_); }

void ProgramFolder::Copy(const char* from, const char* to) {
  CopyFileA((harness::ProgramFolder() + from).c_str(), (folder_ + to).c_str(), FALSE);
}

std::string ProgramFolder::browserCommand(const std::string& arguments) const {
  return suite::ProgramCommandLine(path("orbmedia.exe"), arguments);
}

std::string SettingsPath() { return TempFolder() + "orbmedia.cfg"; }

// Settings that start in a known place without the first-run notice.
void WriteQuietSettings(const std::string& folder) {
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + folder + "|*.*| 0|-1| 0");
}

// Starts the browser from `program`, the given environment variables set for
// it alone, and waits until its main window shows (its controls exist
// then).  Null when it did not show in time.
HWND StartBrowser(const ProgramFolder& program, harness::Process* browser,
                  const std::string& arguments,
                  std::initializer_list<std::pair<const char*, std::string>> environment) {
  std::vector<std::unique_ptr<harness::ScopedEnvironment>> variables;
  for (const auto& [name, value] : environment) {
    variables.push_back(std::make_unique<harness::ScopedEnvironment>(name, value.c_str()));
  }
  bool started = browser->start(program.browserCommand(arguments));
  variables.clear();
  if (!started) return nullptr;
  HWND window = harness::WaitForWindow("ORBMEDIA", kStartMs);
  if (window == nullptr) return nullptr;
  return harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartMs) ? window : nullptr;
}

namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
  auto* children = reinterpret_cast<std::vector<FoundChild>*>(param);
  char className[64] = {};
  GetClassNameA(child, className, sizeof(className));
  children->push_back({GetDlgCtrlID(child), className, child});
  return TRUE;
}

}  // namespace

std::vector<FoundChild> Children(HWND window) {
  std::vector<FoundChild> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

const FoundChild* ChildById(const std::vector<FoundChild>& children, int id) {
  for (const FoundChild& child : children) {
    if (child.id == id) return &child;
  }
  return nullptr;
}

bool SameText(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

void CloseBrowser(HWND window, harness::Process& process) {
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(process.waitExit(kStartMs), 0);
}

namespace {

std::vector<std::string> ItemTexts(HWND control, UINT countMessage, UINT lengthMessage, UINT textMessage) {
  std::vector<std::string> items;
  LRESULT count = SendMessageW(control, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendMessageW(control, lengthMessage, i, 0);
    if (length < 0) continue;
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(control, textMessage, i, reinterpret_cast<LPARAM>(wide.data()));
    if (got < 0) continue;
    wide.resize(std::min<size_t>(static_cast<size_t>(got), static_cast<size_t>(length)));
    std::string text(wide.size() * 2 + 1, '\0');
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                    static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    items.push_back(text);
  }
  return items;
}

}  // namespace

std::vector<std::string> ListBoxTexts(HWND list) {
  return ItemTexts(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<std::string> ComboBoxTexts(HWND combo) {
  return ItemTexts(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

HWND ChildWindow(HWND browser, int id) {
  const FoundChild* child = ChildById(Children(browser), id);
  return child != nullptr ? child->window : nullptr;
}

void SelectOnly(HWND browser, HWND list, const std::vector<std::string>& wanted) {
  PostMessageA(browser, WM_COMMAND, kClearSelectionCommand, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == 0; }, 5000));
  const std::vector<std::string> items = ListBoxTexts(list);
  for (const std::string& item : wanted) {
    auto it = std::find(items.begin(), items.end(), item);
    std::string listed;
    for (const std::string& each : items) listed += "[" + each + "]";
    ASSERT_NE(it, items.end()) << item << " is not among " << listed;
    SendMessageA(list, LB_SETSEL, TRUE, it - items.begin());
  }
  ASSERT_EQ(static_cast<LRESULT>(wanted.size()), SendMessageA(list, LB_GETSELCOUNT, 0, 0));
}

void SelectAll(HWND browser, HWND list) {
  PostMessageA(browser, WM_COMMAND, kSelectAllCommand, 0);
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == SendMessageA(list, LB_GETCOUNT, 0, 0); }, 5000));
}

std::vector<ReceivedLine> ReceiverLog(const std::string& path) {
  std::vector<ReceivedLine> entries;
  for (const std::string& line : ReadLines(path)) {
    // "kind number hex-text"
    size_t first = line.find(' ');
    size_t second = first == std::string::npos ? std::string::npos : line.find(' ', first + 1);
    if (second == std::string::npos) continue;
    std::string text;
    if (!harness::FromHex(line.substr(second + 1), &text)) continue;
    entries.push_back({line.substr(0, first), text});
  }
  return entries;
}

std::vector<ReceivedLine> WaitForReceiverLog(const std::string& path, size_t lines, DWORD timeoutMs) {
  std::vector<ReceivedLine> log;
  harness::PumpUntil(
      [&] {
        log = ReceiverLog(path);
        return log.size() >= lines;
      },
      timeoutMs);
  return log;
}

namespace {

struct BoxSearch {
  const char* className;
  HWND found = nullptr;
};

BOOL CALLBACK FindBoxChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindBoxTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  FindBoxChild(window, param);
  if (search->found == nullptr) EnumChildWindows(window, FindBoxChild, param);
  return search->found == nullptr;
}

}  // namespace

HWND WaitForFramedBox(const char* className, int controlId, DWORD timeoutMs) {
  HWND box = nullptr;
  bool ready = harness::PumpUntil(
      [&] {
        BoxSearch search{className};
        EnumWindows(FindBoxTop, reinterpret_cast<LPARAM>(&search));
        box = search.found;
        if (box == nullptr || !IsWindowVisible(box) || (GetWindowLongA(box, GWL_STYLE) & WS_CHILD) == 0) return false;
        HWND control = GetDlgItem(box, controlId);
        return control != nullptr && IsWindowVisible(control);
      },
      timeoutMs);
  return ready ? box : nullptr;
}

}  // namespace browsertest
