// The suite's own play list, the ".upl" list file: one full path a line in
// the ANSI code page, every line (the last one too) ending in CR LF, no
// header.  "@path@" in a line stands for the reading program's folder, so a
// list shipped with the suite can name files beside it.  The media browser
// writes and reads these lists; the media player and the disc burner read
// them too, so the format lives here once.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace browser {

// The extension every reader recognises a list file by.
constexpr char LIST_FILE_EXTENSION[] = ".upl";

// The bytes of a list file for these entries, in order.  An entry as the
// browser's collection shows it starts with one blank, which is not part of
// the path and is dropped; entries added without it are written as they
// stand (cutting a first character that is not a blank would lose the drive
// letter).  Entries are never rewritten into placeholders.
std::string WriteListFile(const std::vector<std::string>& entries);

// The lines of a list file as they stand: CR LF, LF or a lone CR end a line,
// the last line needs none.  Nothing is dropped.
std::vector<std::string> ListFileLines(const std::string& bytes);

// Every "@path@" in a line replaced by `programFolder` (which the caller
// gives with its final backslash and in the case it wants).
std::string ExpandListLine(const std::string& line, const std::string& programFolder);

// What a reader that checks the named files makes of a list.
struct ListFileContents {
  std::vector<std::string> files;  // existing files, in list order, expanded
  size_t namedCount = 0;           // non-empty lines
  size_t missingCount = 0;         // non-empty lines whose file is missing
};

// The media browser's reader: empty lines (after trimming blanks at both
// ends) and lines naming missing files are skipped.  `fileExists` is asked
// once per non-empty line.  A list whose files are all missing gives no
// files; the caller warns, and keeps the list file: the files may sit on a
// drive that is not plugged in.
ListFileContents ReadListFile(const std::string& bytes, const std::string& programFolder,
                              const std::function<bool(const std::string&)>& fileExists);

// The media player's reader: every non-empty line, leading blanks removed
// and "@path@" expanded, whether its file exists or not (the player reports
// a missing item when it opens it), joined by "|" as an ItemList.
std::string ListFileItemList(const std::string& bytes, const std::string& programFolder);

// The file name a user typed in the save box, cleaned: an extension equal
// to `extension` (compared in ASCII lower case) is cut off, blanks at both
// ends removed, and any folder part dropped.  "" when nothing is left.
std::string ListFileBaseName(const std::string& typed, const std::string& extension);

}  // namespace browser
