// The parts of a Windows path, one rule for every program: where its file
// name starts, its folder, its extension, its base path, and the final
// backslash of a folder.
//
// The file name starts after the last "\", "/" or ":".  Windows takes all
// three as separators: "C:name" is "name" in the current folder of drive C,
// and "/" is accepted wherever "\" is.  A "." counts as an extension's only
// within the file name, so "C:\a.b\name" has none.
#pragma once

#include <cstddef>
#include <string>

namespace suite {

// The index at which the file name of `path` starts (0 when it has no
// separator).
size_t FileNameStart(const std::string& path);
// The file name: the text after the last separator.
std::string FileNameOf(const std::string& path);
// The folder: up to and with the last separator; "" when there is none.
std::string FolderOf(const std::string& path);
// The extension of the file name with its dot, in its own case; "" when the
// file name has no ".".
std::string ExtensionOf(const std::string& path);
// The path without the extension of its file name.
std::string WithoutExtension(const std::string& path);

// A folder path with every final backslash removed, but never below a drive
// root ("C:\" stays): the form ShellExecute takes as a working folder and
// the programs show.
std::string WithoutFinalBackslash(std::string path);
// A folder path ending in exactly the backslash it needs to take a name.
std::string WithFinalBackslash(std::string path);

// A program's base path: its folder (with its final backslash) + its file
// name without the extension, the stem of its text table and settings
// files.
std::string BasePath(const std::string& folder, const std::string& exeName);
// The file name before its first ".": the caption of the box that reports a
// missing text table.
std::string NameBeforeFirstDot(const std::string& fileName);

// Whether `folder` is `source` itself or lies inside it (paths compared
// without regard to ASCII case and to final backslashes): a folder cannot
// be moved there.
bool IsSameOrInsideFolder(const std::string& source, const std::string& folder);

}  // namespace suite
