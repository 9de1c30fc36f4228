// The disc burner's burn list as text: what goes into it from a ".upl"
// list, a suite command's item list or dropped files, the companion files
// that come along, moving selected lines, and how a line is inserted into
// the disc project.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace burner {

// A folder in the list: the folder's path followed by this.
constexpr char kFolderEntrySuffix[] = "\\*.*";

// The command line the burner acts on: lower-cased and trimmed; "" unless it
// names a ".upl" list (a quoted path loses its quotes).
std::string ListFileArgument(const std::string& commandLine);

// The companion files of a path: when its extension (with the dot, lower
// case) is one of the patterns "*.ext;" of `patterns`, each suffix of the
// comma list `suffixes` put after the path without its extension, where
// `exists` finds such a file.  A path without an extension has none.
std::vector<std::string> CompanionFiles(const std::string& path, const std::string& suffixes,
                                        const std::string& patterns,
                                        const std::function<bool(const std::string&)>& exists);

// The lines of a list-arrived text: leading and trailing "|" dropped, each
// "|" field with "@path@" replaced by the lower-cased program folder, kept as
// they are (no existence test); empty fields are skipped.
std::vector<std::string> ItemListLines(const std::string& items, const std::string& programFolder);

// The line a dropped path becomes: a folder is written as its path followed
// by "\*.*" (whatever dots its name or its parents' names hold); a file as it
// stands.
std::string DroppedLine(const std::string& path, bool isFolder);

// A line of the list as the project takes it.
struct ProjectEntry {
  bool isFolder = false;
  std::string source;  // the file, or the folder without its final backslash
  std::string mask;    // "*.*" for a folder
};
ProjectEntry ProjectEntryOf(const std::string& line);

// The first disc path that two files of the list would share (ASCII case
// ignored, as the disc's names compare), as the later one names it; "" when
// every path is taken once.  Folder lines put their contents into the root,
// so their files' paths are relative to the folder.
std::string FirstNameClash(const std::vector<std::string>& discPaths);

// Moves every selected line one place up (or down); a selected line at the
// end it moves towards stays, and so do selected lines right behind it, so
// the selected lines keep their order.  Returns whether anything moved.
bool MoveSelected(std::vector<std::string>& lines, std::vector<bool>& selected, bool up);

// The status text as the static shows it: every "|" a line break.
std::string StatusLines(const std::string& text);
// `text` with every "#" replaced by the decimal number.
std::string WithNumber(const std::string& text, int64_t number);

}  // namespace burner
