// The files-and-system exports: SKSHELL starts a program, SKFINDF finds a file
// as a user would expect Windows to, SKEXIST tells whether a path exists,
// SKDSKLIST names the drives.
// The search order lives in core/file_search, the output-buffer rule in
// core/output_buffer; this file reads the folders and the file system.
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine_internal.h"
#include "file_search.h"
#include "output_buffer.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

// Each of these reads a text whose length Windows reports when the buffer is
// too small, so no length limit of our own applies.  "" on failure.

std::string ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  // GetModuleFileName gives no size hint: it truncates and returns the
  // buffer size, so grow up to the longest path Windows has.
  while (path.size() < 65536) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      size_t slash = path.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    path.assign(path.size() * 2, '\0');
  }
  return std::string();
}

// Calls read(buffer, size) that returns the length copied, or the size needed
// (terminating zero included) when the buffer is too small, or 0 on failure.
template <typename Reader>
std::string ReadSizedText(Reader read) {
  std::string text(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD length = read(text.data(), static_cast<DWORD>(text.size()));
    if (length == 0) return std::string();
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.assign(length, '\0');
  }
  return std::string();
}

std::string CurrentFolder() {
  return ReadSizedText([](char* buffer, DWORD size) { return GetCurrentDirectoryA(size, buffer); });
}

std::string WindowsFolder() {
  return ReadSizedText([](char* buffer, DWORD size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string SystemFolder() {
  return ReadSizedText([](char* buffer, DWORD size) { return GetSystemDirectoryA(buffer, size); });
}

std::string PathVariable() {
  return ReadSizedText(
      [](char* buffer, DWORD size) { return GetEnvironmentVariableA("PATH", buffer, size); });
}

std::string FullPath(const std::string& path) {
  return ReadSizedText([&path](char* buffer, DWORD size) {
    return GetFullPathNameA(path.c_str(), size, buffer, nullptr);
  });
}

bool IsExistingFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The full path of the file SKFINDF finds, "" when none.
std::string FindFileFullPath(const char* name) {
  if (name == nullptr || name[0] == '\0') return std::string();
  themecore::SearchFolders folders;
  folders.programFolder = ProgramFolder();
  folders.currentFolder = CurrentFolder();
  folders.windowsFolder = WindowsFolder();
  folders.systemFolder = SystemFolder();
  folders.pathVariable = PathVariable();
  std::optional<std::string> found = themecore::FindInSearchOrder(name, folders, IsExistingFile);
  if (!found) return std::string();
  return FullPath(*found);
}

int32_t StartProgram(const char* commandLine, int32_t showMode) {
  if (commandLine == nullptr || commandLine[0] == '\0') return 0;
  // CreateProcessA may write into the command line: hand it a copy.
  std::vector<char> writable(commandLine, commandLine + strlen(commandLine) + 1);
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showMode);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 0;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int32_t>(process.dwProcessId);
}

}  // namespace

THEMECORE_API int32_t __stdcall SKSHELL(const char* commandLine, int32_t showMode, int32_t flags) {
  try {
    int32_t processId = StartProgram(commandLine, showMode);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSHELL").Text(commandLine).Number(showMode).Number(flags),
        processId);
    return processId;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKFINDF(const char* name, char* pathOut, int32_t pathOutSize) {
  try {
    std::string found = FindFileFullPath(name);
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKFINDF").Text(name), found,
                                            pathOut, pathOutSize);
  } catch (...) {
    themecore::CopyTextOut("", pathOut, pathOutSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKEXIST(const char* path) {
  try {
    int32_t exists = 0;
    if (path != nullptr && path[0] != '\0') {
      // A pattern ("C:\\folder\\*.*") exists when anything matches it: the
      // programs test a folder that way.
      if (std::strpbrk(path, "*?") != nullptr) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(path, &found);
        exists = search != INVALID_HANDLE_VALUE ? 1 : 0;
        if (search != INVALID_HANDLE_VALUE) FindClose(search);
      } else {
        exists = GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKEXIST").Text(path), exists);
    return exists;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKDSKLIST(char* out, int32_t outSize) {
  try {
    std::string letters;
    // Wine's GetLogicalDrives leaves out a drive linked in the prefix after
    // its mount manager started, while GetDriveType sees it; a letter either
    // of them knows is a drive.
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
      const char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
      const UINT type = GetDriveTypeA(root);
      if ((drives & (1u << i)) == 0 && type <= DRIVE_NO_ROOT_DIR) continue;
      letters += static_cast<char>((type == DRIVE_CDROM ? 'a' : 'A') + i);
    }
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKDSKLIST"), letters, out, outSize);
  } catch (...) {
    return 0;
  }
}
