// The skin engine's exported functions, as the suite's programs call them.
//
// Conventions (see platform/themecore/README.md):
//  - every function is stdcall and exported undecorated ("SKSHELL");
//  - an input text is a zero-terminated byte string (the ANSI code page);
//  - an output text goes to a caller buffer: the function returns the full
//    length of the text and copies it, with a terminating zero, only when the
//    buffer holds it; otherwise it writes an empty string, so the caller can
//    retry with a buffer of the returned length + 1.  The C++ helpers below
//    do that.
#pragma once

#include <cstdint>
#include <string>

#ifdef THEMECORE_BUILDING
#define THEMECORE_API extern "C"
#else
#define THEMECORE_API extern "C" __declspec(dllimport)
#endif

// Starts a program.  commandLine is passed to CreateProcess as it stands, so
// a program path with blanks must be quoted by the caller.  showMode is the
// ShowWindow mode of the new program's first window (5 = SW_SHOW).  flags is
// reserved (0).  Returns the new process id, or 0 when nothing was started.
THEMECORE_API int32_t __stdcall SKSHELL(const char* commandLine, int32_t showMode, int32_t flags);

// Finds a file by name as a user would expect Windows to: an absolute or
// relative path that exists is taken as it is; otherwise the program folder,
// the current folder, the Windows folder, the system folder and each folder
// of PATH are searched in that order.  Returns the length of the full path
// found (0 when none; the buffer then holds "").
THEMECORE_API int32_t __stdcall SKFINDF(const char* name, char* pathOut, int32_t pathOutSize);

// Non-zero when the file or folder exists.
THEMECORE_API int32_t __stdcall SKEXIST(const char* path);

namespace themecore {

// SKFINDF as a byte string: "" when the file was not found.
inline std::string FindFile(const char* name) {
  std::string path(260, '\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    int32_t length = SKFINDF(name, path.data(), static_cast<int32_t>(path.size()));
    if (length <= 0) return std::string();
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(static_cast<size_t>(length));
      return path;
    }
    path.assign(static_cast<size_t>(length) + 1, '\0');
  }
  return std::string();
}

}  // namespace themecore
