// Where SKFINDF looks for a file, decided without touching the file system:
// the caller hands in the folders and a test for "is a file here".
//
// Order:
//  1. a name with a folder part (a drive, a root, a '\' or '/') that names an
//     existing file is taken as it stands, relative to the current folder if
//     it is relative;  an absolute name is never searched for further;
//  2. otherwise the name is looked for in the program folder (the folder of
//     the process's main EXE), the current folder, the Windows folder, the
//     system folder, and each folder of PATH, in that order.
// So a bare name beside the program wins over the same name in the current
// folder, as the programs expect for their text tables and skins.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace themecore {

// True when the name starts with a drive ("C:"), a root ("\", "/") or is a
// UNC name ("\\server\share").
bool IsAbsolutePath(std::string_view name);
// True when the name holds a folder separator or a drive.
bool HasFolderPart(std::string_view name);

// Splits a PATH value at ';', drops empty entries and the quotes some
// installers put around an entry ("C:\Program Files\x").
std::vector<std::string> SplitPathList(std::string_view pathValue);

// folder + '\' + name, without doubling a separator the folder already ends in.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folders searched for a name without a usable folder part.  Empty
// entries (a folder that could not be read) are left out.
struct SearchFolders {
  std::string programFolder;
  std::string currentFolder;
  std::string windowsFolder;
  std::string systemFolder;
  std::string pathVariable;  // the PATH value as it stands
};
std::vector<std::string> FoldersInSearchOrder(const SearchFolders& folders);

// The first candidate, in the order above, for which isFile() is true, or
// nothing.  The candidate is returned as built (folder joined with name);
// the caller makes it a full path.
std::optional<std::string> FindInSearchOrder(std::string_view name, const SearchFolders& folders,
                                             const std::function<bool(const std::string&)>& isFile);

}  // namespace themecore
