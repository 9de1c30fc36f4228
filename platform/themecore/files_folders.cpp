// Folder and file operations of the engine: name checks (SKVALIDNAME),
// renaming (SKRENAME), the folders and file count below a folder
// (SKREADDIRS, SKDIRCOUNT) and copying and moving files and folders
// (SKSHELLCOPY, SKSHELLMOVE).  Every path is held in a std::string, so folders deeper than
// MAX_PATH characters are read as far as Windows itself allows.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_internal.h"
#include "output_buffer.h"
#include "text_list.h"
#include "themecore.h"
#include "trace_writer.h"
#include "valid_name.h"

namespace {

const char kLibrary[] = "themecore";

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool IsDotEntry(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Walks the tree below `folder` (with a final backslash), parents before
// their children.  Reparse points (junctions, links) are listed but not
// entered, so a link back to a parent cannot loop.
void WalkFolder(const std::string& folder, std::vector<std::string>* folders, int32_t* files) {
  std::vector<std::string> pending = {folder};
  for (size_t next = 0; next < pending.size(); ++next) {
    std::string current = pending[next];
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((current + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    std::vector<std::string> children;
    do {
      if (IsDotEntry(found.cFileName)) continue;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if (files != nullptr) ++*files;
        continue;
      }
      std::string child = current + found.cFileName + "\\";
      if (folders != nullptr) folders->push_back(child);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) children.push_back(child);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    pending.insert(pending.end(), children.begin(), children.end());
  }
}

bool IsFolderPath(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int32_t LastError() {
  DWORD error = GetLastError();
  return error != 0 ? static_cast<int32_t>(error) : ERROR_ACCESS_DENIED;
}

// Creates `folder` and its missing parents.
bool MakeFolders(const std::string& folder) {
  if (folder.empty() || IsFolderPath(folder)) return true;
  size_t slash = folder.find_last_of('\\');
  if (slash != std::string::npos && slash > 2) {
    if (!MakeFolders(folder.substr(0, slash))) return false;
  }
  return CreateDirectoryA(folder.c_str(), nullptr) || IsFolderPath(folder);
}

// Copies a file or a whole folder to `target` (the new full path).
int32_t CopyEntry(const std::string& source, const std::string& target) {
  if (!IsFolderPath(source)) return CopyFileA(source.c_str(), target.c_str(), FALSE) ? 0 : LastError();
  if (!MakeFolders(target)) return LastError();
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((source + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int32_t result = 0;
  do {
    if (IsDotEntry(found.cFileName)) continue;
    result = CopyEntry(source + "\\" + found.cFileName, target + "\\" + found.cFileName);
  } while (result == 0 && FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

// Removes a folder with everything in it.
bool RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (IsDotEntry(found.cFileName)) continue;
      std::string child = folder + "\\" + found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
          (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        RemoveTree(child);
      } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveDirectoryA(child.c_str());
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryA(folder.c_str()) != 0;
}

// Moves a file or folder to `target` (the new full path); across drives it
// copies and then deletes the source, which stays when the copy failed.
int32_t MoveEntry(const std::string& source, const std::string& target) {
  if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  DWORD error = GetLastError();
  if (error != ERROR_NOT_SAME_DEVICE) return error != 0 ? static_cast<int32_t>(error) : ERROR_ACCESS_DENIED;
  int32_t result = CopyEntry(source, target);
  if (result != 0) return result;
  if (IsFolderPath(source)) return RemoveTree(source) ? 0 : LastError();
  return DeleteFileA(source.c_str()) ? 0 : LastError();
}

// The copy or move of the engine: `source` is a file, a folder or a
// pattern; `target` is the new path, or a folder that receives the source
// under its own name when it exists, ends in "\\" or the source is a
// pattern.  Missing folders of the target are created.  0 on success, else
// the Windows error of the first entry that failed.
int32_t TransferEntries(bool move, const char* source, const char* target) {
  if (source == nullptr || source[0] == '\0' || target == nullptr || target[0] == '\0')
    return ERROR_INVALID_PARAMETER;
  std::string from(source);
  std::string to(target);
  bool pattern = from.find_first_of("*?") != std::string::npos;
  bool intoFolder = pattern || to.back() == '\\' || IsFolderPath(to);
  while (to.size() > 3 && to.back() == '\\') to.pop_back();
  size_t slash = from.find_last_of('\\');
  std::string sourceFolder = slash == std::string::npos ? std::string() : from.substr(0, slash + 1);

  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(from.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return pattern ? ERROR_FILE_NOT_FOUND : LastError();
  do {
    if (!IsDotEntry(found.cFileName)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  if (names.empty()) return ERROR_FILE_NOT_FOUND;

  std::string targetFolder = intoFolder ? to : to.substr(0, std::min(to.size(), to.find_last_of('\\')));
  if (!MakeFolders(targetFolder)) return LastError();
  for (const std::string& name : names) {
    std::string from1 = sourceFolder + name;
    std::string to1 = intoFolder ? WithSlash(to) + name : to;
    if (from1 == to1) continue;
    int32_t result = move ? MoveEntry(from1, to1) : CopyEntry(from1, to1);
    if (result != 0) return result;
  }
  return 0;
}
}  // namespace

THEMECORE_API int32_t __stdcall SKVALIDNAME(const char* name) {
  try {
    int32_t result = themecore::CheckSingleName(name != nullptr ? name : "");
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKVALIDNAME").Text(name), result);
    return result;
  } catch (...) {
    return ERROR_INVALID_NAME;
  }
}

THEMECORE_API int32_t __stdcall SKRENAME(const char* oldPath, const char* newPath, int32_t flags) {
  try {
    int32_t result = 0;
    if (oldPath == nullptr || oldPath[0] == '\0' || newPath == nullptr || newPath[0] == '\0') {
      result = ERROR_INVALID_PARAMETER;
    } else if (!MoveFileA(oldPath, newPath)) {
      result = static_cast<int32_t>(GetLastError());
      if (result == 0) result = ERROR_ACCESS_DENIED;
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKRENAME").Text(oldPath).Text(newPath).Number(flags), result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

THEMECORE_API int32_t __stdcall SKREADDIRS(const char* folder, char* out, int32_t outSize) {
  try {
    std::vector<std::string> folders;
    if (folder != nullptr && folder[0] != '\0') WalkFolder(WithSlash(folder), &folders, nullptr);
    std::string list = themecore::EncodeTextList(folders);
    int32_t length = themecore::CopyTextOut(list, out, outSize);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKREADDIRS")
                            .Text(folder)
                            .Raw(themecore::engine::OutListText(list, out, outSize))
                            .Number(outSize),
                        length);
    return length;
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKDIRCOUNT(const char* folder) {
  try {
    int32_t files = 0;
    if (folder != nullptr && folder[0] != '\0') WalkFolder(WithSlash(folder), nullptr, &files);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDIRCOUNT").Text(folder), files);
    return files;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSHELLCOPY(const char* source, const char* target,
                                            const char* title) {
  try {
    int32_t result = TransferEntries(false, source, target);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSHELLCOPY").Text(source).Text(target).Text(title), result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}

THEMECORE_API int32_t __stdcall SKSHELLMOVE(const char* source, const char* target,
                                            const char* title) {
  try {
    int32_t result = TransferEntries(true, source, target);
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSHELLMOVE").Text(source).Text(target).Text(title), result);
    return result;
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
}
