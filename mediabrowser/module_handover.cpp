// Handing files to the media player (or to the module another program named
// with CMD_SET_TARGET_PROGRAM) and to the other modules, starting a module
// when it does not run; starting the modules and pages of the action table,
// the help page, and outside editors the browser waits for (pumping its
// queue, so that it goes on answering the other programs meanwhile).
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "browser_state.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"
#include "module_start.h"
#include "orbboxes.h"
#include "skin_texts.h"
#include "suite_command.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr size_t kPlayerEntry = 19;         // "program file,window class"
constexpr size_t kHelpViewerEntry = 44;
constexpr size_t kPictureModuleEntry = 64;
constexpr size_t kPicturePatternsEntry = 65;
constexpr size_t kNoBurnerFilesEntry = 94;
constexpr int32_t kNoEditorErrorText = 1155;
constexpr size_t kPictureType = 4;           // the fifth media type
// The one outside editor that is waited for by its window class.
constexpr char kClassWaitedEditor[] = "Photoshop";
// How often that editor's window is looked for again.
constexpr DWORD kClassWaitSliceMs = 1000;
// An editor that is not ready for input after this long is waited for
// to end all the same.
constexpr DWORD kEditorIdleWaitMs = 30000;
constexpr DWORD kIdlePollMs = 50;

bool CheckButtonTicked() {
  HWND check = Browser().checkButton;
  return check != nullptr && SKGETCHECK(check) != 0;
}

void RestoreWhenIconic(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
}

void BringForward(HWND window) {
  BringWindowToTop(window);
  SetForegroundWindow(window);
}

// The selected files of the file list whose extension is in a pattern list.
std::vector<std::string> SelectedMatching(const std::string& patternList) {
  std::vector<std::string> matching;
  for (const std::string& path : SelectedFilePaths()) {
    if (suite::PatternListTakes(patternList, path)) matching.push_back(path);
  }
  return matching;
}

std::string PictureTypePatterns() {
  const BrowserState& b = Browser();
  return b.types.size() > kPictureType ? b.types[kPictureType].pattern : std::string();
}

enum class EditorWait { kEnded, kTimedOut, kStopped };

// Waits for an editor's process to end, or `timeoutMs` (INFINITE: no
// limit), while the browser goes on answering its messages: the other
// programs send it suite commands with a time-out and must not hang while
// the user edits.  A close request (WM_CLOSE, SC_CLOSE, also the one
// CMD_CLOSE posts) or Escape answered with yes stops the wait; the close is
// back in the queue for the main loop.  The editor itself runs on.
EditorWait WaitForEditor(HANDLE process, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD left = INFINITE;
    if (timeoutMs != INFINITE) {
      DWORD spent = GetTickCount() - start;
      if (spent >= timeoutMs) return EditorWait::kTimedOut;
      left = timeoutMs - spent;
    }
    DWORD woken = MsgWaitForMultipleObjectsEx(1, &process, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) return EditorWait::kEnded;
    if (woken == WAIT_TIMEOUT) return EditorWait::kTimedOut;
    if (suite::boxes::PumpAndCheckCancel(0) != suite::boxes::kPumpGoOn) return EditorWait::kStopped;
  }
}

// An editor just started is given the time to show its window before the
// next one starts, as WaitForInputIdle would, with the queue pumped.
EditorWait WaitForEditorIdle(HANDLE process) {
  const DWORD start = GetTickCount();
  for (;;) {
    DWORD idle = WaitForInputIdle(process, 0);
    // Not a program with windows (WAIT_FAILED), or ready.
    if (idle != WAIT_TIMEOUT) return EditorWait::kEnded;
    if (GetTickCount() - start >= kEditorIdleWaitMs) return EditorWait::kTimedOut;
    EditorWait end = WaitForEditor(process, kIdlePollMs);
    if (end != EditorWait::kTimedOut) return end;
  }
}

}  // namespace

HWND SendFilesToModule(const std::string& itemList) {
  BrowserState& b = Browser();
  std::string playerRef = b.texts.entry(kPlayerEntry);
  bool overridden = !b.overrideProgram.empty();
  std::string windowClass = overridden ? b.overrideClass : suite::CommaField(playerRef, 2);
  std::string program = overridden ? b.overrideProgram
                                   : b.programFolder + suite::CommaField(playerRef, 1);
  if (windowClass.empty()) return nullptr;

  bool started = false;
  HWND window = suite::FindOrStartModule(windowClass.c_str(),
                                         suite::ProgramCommandLine(program, ""), &started);
  if (window == nullptr) return nullptr;
  if (started) suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, "");
  if (!CheckButtonTicked()) BringForward(window);
  suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, itemList);
  return window;
}

void LaunchAction(int id) {
  BrowserState& b = Browser();
  std::string action = suite::MenuAction(id, b.menus);
  if (action.empty()) return;
  std::string name = suite::CommaField(action, 1);
  std::string windowClass = suite::CommaField(action, 2);
  std::string program = name.empty() ? std::string() : themecore::FindFile(name.c_str());
  // Pages (".ssl", ".htm") are shown, not started.
  std::string tail = suite::LowerAscii(suite::TrimBlanks(program.size() >= 4 ? program.substr(program.size() - 4) : program));
  if (!program.empty() && std::string(".ssl.htm.").find(tail + ".") != std::string::npos) program.clear();

  if (!program.empty()) {
    HWND window = windowClass.empty() ? nullptr : FindWindowA(windowClass.c_str(), nullptr);
    if (window != nullptr) {
      RestoreWhenIconic(window);
    } else {
      std::string commandLine = suite::QuoteArgument(program);
      if (id == 507) commandLine += " " + suite::QuoteArgument(suite::WithFinalBackslash(b.currentFolder));
      if (SKSHELL(commandLine.c_str(), SW_SHOW, 0) != 0 && !windowClass.empty()) {
        window = suite::WaitForModuleWindow(windowClass.c_str(), suite::MODULE_START_WAIT_MS);
      }
    }
    if (window != nullptr) {
      BringForward(window);
      Sleep(200);
    }
    return;
  }

  std::string path = b.programFolder + action;
  if (!SKEXIST(path.c_str())) return;
  if (suite::EndsWithNoCase(path, ".htm")) {
    suite::ShowFileWithModule(path, b.texts.entry(kHelpViewerEntry),
                              suite::QuoteArgument(path + "," + b.skinFile), b.programFolder);
  } else {
    suite::ShowFileWithModule(path, b.texts.entry(kPlayerEntry), suite::QuoteArgument(path),
                              b.programFolder);
  }
}

HINSTANCE OpenDocument(const std::string& path) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
  info.hwnd = Browser().mainWindow;
  info.lpVerb = "open";
  info.lpFile = path.c_str();
  info.nShow = SW_SHOW;
  ShellExecuteExA(&info);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  return info.hInstApp;
}

void OpenWithEditorsAndWait(const std::vector<std::string>& entries) {
  // The browser stays responsive while it waits, so the 701 command can
  // come again through the pumped queue: one wait at a time.
  static bool isWaiting = false;
  if (isWaiting) return;
  isWaiting = true;
  BrowserState& b = Browser();
  ShowWindow(b.mainWindow, SW_MINIMIZE);
  HANDLE waitByClass = nullptr;
  HANDLE waitDirectly = nullptr;
  bool isStopped = false;
  for (const std::string& entry : entries) {
    size_t bar = entry.find('|');
    if (bar == std::string::npos) continue;
    std::string editor = entry.substr(0, bar);
    std::string file = entry.substr(bar + 1);
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = b.mainWindow;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOW;
    if (!ShellExecuteExA(&info) || info.hProcess == nullptr) continue;
    if (!isStopped) isStopped = WaitForEditorIdle(info.hProcess) == EditorWait::kStopped;
    if (waitByClass == nullptr && suite::LowerAscii(editor).find("photoshop") != std::string::npos) {
      waitByClass = info.hProcess;
    } else if (waitDirectly == nullptr) {
      waitDirectly = info.hProcess;
    } else {
      CloseHandle(info.hProcess);
    }
    if (isStopped) break;
  }
  if (waitByClass != nullptr) {
    // That editor is waited for while a window of its class is open.
    while (!isStopped && FindWindowA(kClassWaitedEditor, nullptr) != nullptr) {
      EditorWait end = WaitForEditor(waitByClass, kClassWaitSliceMs);
      if (end == EditorWait::kEnded) break;
      isStopped = end == EditorWait::kStopped;
    }
    CloseHandle(waitByClass);
  }
  if (waitDirectly != nullptr) {
    if (!isStopped) WaitForEditor(waitDirectly, INFINITE);
    CloseHandle(waitDirectly);
  }
  ShowWindow(b.mainWindow, SW_RESTORE);
  isWaiting = false;
}

void ShowBrowserHelp() {
  BrowserState& b = Browser();
  suite::OpenHelp(b.basePath + ".htm", b.texts.entry(kHelpViewerEntry), b.skinFile, b.programFolder);
}

void HandPicturesToViewer(bool fromCollection) {
  BrowserState& b = Browser();
  std::string patterns = b.texts.entry(kPicturePatternsEntry);
  std::vector<std::string> pictures;
  for (const std::string& path : fromCollection ? CollectionPaths(true) : SelectedFilePaths()) {
    if (suite::PatternListTakes(patterns, path)) pictures.push_back(path);
  }
  if (pictures.empty()) return;
  suite::ModuleRef module = suite::ParseModuleRef(b.texts.entry(kPictureModuleEntry));
  if (module.windowClass.empty()) return;
  bool started = false;
  HWND window = suite::FindOrStartModule(
      module.windowClass.c_str(), suite::ProgramCommandLine(b.programFolder + module.program, ""), &started);
  if (window == nullptr) return;
  if (started) suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, "");
  suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, JoinPaths(pictures));
  SetForegroundWindow(window);
}

// The burner's menu item is 212 in the text table; start-up renumbers the
// module items after a module that is not installed, so it is known by the
// window class its action names.
bool StartsBurner(const std::string& action) {
  return suite::EqualsNoCase(suite::CommaField(action, 2), suite::ModuleClass(suite::MODULE_DISC_BURNER));
}

std::string BurnerAction(const suite::MenuTables& menus) {
  for (const auto& [id, action] : menus.actions) {
    if (StartsBurner(action)) return action;
  }
  return std::string();
}

bool IsBurnerItem(int id) { return id >= 100 && StartsBurner(suite::MenuAction(id, Browser().menus)); }

void HandToBurner(int id) {
  BrowserState& b = Browser();
  std::vector<std::string> files = CollectionPaths(false);
  if (id == 95 && files.empty()) {
    suite::boxes::ShowInfoBox(b.texts.entry(kNoBurnerFilesEntry), "");
    return;
  }
  std::string action = BurnerAction(b.menus);
  std::string windowClass = suite::CommaField(action, 2);
  if (windowClass.empty()) return;
  bool started = false;
  HWND window = suite::FindOrStartModule(
      windowClass.c_str(), suite::ProgramCommandLine(b.programFolder + suite::CommaField(action, 1), ""),
      &started);
  if (window == nullptr) return;
  if (started) suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, "");
  // The volume label is the current list file's name without its extension.
  std::string label = suite::WithoutExtension(suite::FileNameOf(b.defaultListFile));
  suite::SendSuiteCommand(window, suite::CMD_SET_VOLUME_LABEL, label);
  suite::SendSuiteCommand(window, suite::CMD_COME_TO_FRONT, "");
  suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, JoinPaths(files));
}

void StartModuleWithFiles(int id) {
  BrowserState& b = Browser();
  std::string action = suite::MenuAction(id, b.menus);
  std::string name = suite::CommaField(action, 1);
  std::string windowClass = suite::CommaField(action, 2);
  std::string program = name.empty() ? std::string() : themecore::FindFile(name.c_str());
  if (program.empty()) return;
  std::vector<std::string> files = SelectedMatching(PictureTypePatterns());

  HWND window = windowClass.empty() ? nullptr : FindWindowA(windowClass.c_str(), nullptr);
  if (id == 1005) {
    std::string commaList = JoinPaths(files, ',');
    if (window != nullptr) {
      suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, commaList);
      BringForward(window);
    } else {
      std::string commandLine = suite::QuoteArgument(program);
      if (!commaList.empty()) commandLine += " " + suite::QuoteArgument(commaList);
      SKSHELL(commandLine.c_str(), SW_SHOW, 0);
    }
    return;
  }
  if (window != nullptr) {
    RestoreWhenIconic(window);
  } else {
    std::string commandLine = suite::QuoteArgument(program);
    if (id == 1004) commandLine += " WAITFORCOMMAND";
    if (SKSHELL(commandLine.c_str(), SW_SHOW, 0) != 0 && !windowClass.empty()) {
      window = suite::WaitForModuleWindow(windowClass.c_str(), suite::MODULE_START_WAIT_MS);
    }
  }
  if (window == nullptr) return;
  BringForward(window);
  if (!files.empty()) suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, JoinPaths(files));
  Sleep(200);
}

void OpenSelectedInEditors() {
  std::vector<std::string> entries;
  std::string missing;
  for (const std::string& path : SelectedFilePaths()) {
    char editor[MAX_PATH] = "";
    INT_PTR found = reinterpret_cast<INT_PTR>(FindExecutableA(path.c_str(), nullptr, editor));
    if (found > 32 && editor[0] != '\0') {
      entries.push_back(std::string(editor) + "|" + path);
    } else {
      std::string name = suite::FileNameOf(path);
      suite::boxes::ShowInfoBox(name + "||" + suite::WindowsErrorText(kNoEditorErrorText), "");
    }
  }
  if (!entries.empty()) OpenWithEditorsAndWait(entries);
}

void PreviewCaretFile() {
  BrowserState& b = Browser();
  std::string path = CaretFilePath();
  if (path.empty()) return;
  HWND focus = GetFocus();
  LRESULT caret = SendMessageA(b.fileList, LB_GETCARETINDEX, 0, 0);
  SendFilesToModule(path);
  SetForegroundWindow(b.mainWindow);
  if (focus != nullptr) SetFocus(focus);
  if (caret != LB_ERR) SendMessageA(b.fileList, LB_SETSEL, TRUE, caret);
}

}  // namespace browser
