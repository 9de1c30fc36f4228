// Finding another module of the suite by its window class, starting it when
// it is not running, and handing a help request to the help viewer.
#pragma once

#include <windows.h>

#include <string>

namespace suite {

// How long a started module has to show its main window.
constexpr DWORD MODULE_START_WAIT_MS = 2000;

// Polls for a window of `windowClass` for up to `timeoutMs`, sleeping
// between looks and dispatching nothing; null when none showed in time.
HWND WaitForModuleWindow(const char* windowClass, DWORD timeoutMs);

// Returns the module's main window.  When no window of the class exists,
// starts `commandLine` (formed by the caller, paths quoted; see
// command_line.h) with show mode 5 and waits up to MODULE_START_WAIT_MS for
// the window, returning null when it did not show up.  `started` (may be
// null) tells whether this call started the module.  No messages are pumped
// while waiting.
HWND FindOrStartModule(const char* windowClass, const std::string& commandLine, bool* started);

// What OpenHelp did, for callers and tests.
enum class HelpResult {
  NoHelpFile,         // the help file does not exist: nothing happened
  SentToViewer,       // the running viewer got CMD_OPEN_ITEMS
  StartedViewer,      // the viewer was started with the file and topic
  OpenedByShell,      // no viewer: the file was opened by its association
  Failed,             // the viewer or the shell could not be started
};

// Shows `file` with another module: a running module (its window class
// from `moduleRef`, "program,class" or "help file,program,class") is
// restored, brought forward and sent the file as CMD_OPEN_ITEMS; a module
// whose program is installed but not running is started with `argument`
// (formed and quoted by the caller); without the program the shell opens
// the file, in `programFolder`.
HelpResult ShowFileWithModule(const std::string& file, const std::string& moduleRef,
                              const std::string& argument, const std::string& programFolder);

// The help command of every program.  `helpFile` is the full path of the
// help file, `viewerRef` the help viewer's module reference ("program,class"
// or "help file,program,class"), `topic` may be empty, `programFolder` is
// the caller's folder (with or without a final backslash).
HelpResult OpenHelp(const std::string& helpFile, const std::string& viewerRef,
                    const std::string& topic, const std::string& programFolder);

}  // namespace suite
