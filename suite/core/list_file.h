// The suite's own play list, the ".upl" list file, and the line reader of
// every text list the programs read (".upl", ".m3u", slide-show files).
//
// A list file is one full path a line in the ANSI code page, every line
// (the last one too) ending in CR LF, no header.  "@path@" in a line stands
// for the reading program's folder, so a list shipped with the suite can
// name files beside it.  The media browser writes and reads these lists;
// the media player and the disc burner read them through the same reader.
//
// Lists come from anywhere - other programs, editors, old discs - so nothing
// in them is trusted: any line end (CR LF, LF, CR), a UTF-8 byte-order mark,
// lines of any length.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace suite {

// The extension every reader recognises a list file by.
constexpr char LIST_FILE_EXTENSION[] = ".upl";

// A list is read up to this size; the rest of a larger file is ignored (the
// line cut at the limit too).  Far more paths than any list holds fit in it.
constexpr size_t MAX_LIST_FILE_BYTES = 8 * 1024 * 1024;
// Longer lines are skipped whole: a cut path would name another file.  Long
// enough for any URL a browser takes.
constexpr size_t MAX_LIST_LINE_BYTES = 4096;

// Walks the lines of a list's bytes.  A UTF-8 byte-order mark at the start
// is dropped.  When `lastLineCut` is set (the file was longer than what was
// read) the text after the last line end is not a line.
class ListLines {
 public:
  ListLines(std::string_view bytes, bool lastLineCut);
  // The next line without its line end, skipping lines longer than
  // MAX_LIST_LINE_BYTES; false at the end.
  bool Next(std::string_view* line);

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  bool lastLineCut_;
};

// The line without blanks and tabs at either end.
std::string TrimLine(std::string_view line);

// The bytes of a list file for these entries, in order.  An entry as the
// browser's collection shows it starts with one blank, which is not part of
// the path and is dropped; entries added without it are written as they
// stand (cutting a first character that is not a blank would lose the drive
// letter).  Entries are never rewritten into placeholders.
std::string WriteListFile(const std::vector<std::string>& entries);

// The entries of a list file's bytes, the one reading every program shares:
// each line trimmed of blanks and tabs, empty lines skipped, every "@path@"
// replaced by `programFolder` (which the caller gives with its final
// backslash and in the case it wants).  Whether the named files exist is
// the caller's question.
std::vector<std::string> ReadListEntries(std::string_view bytes, const std::string& programFolder,
                                         bool lastLineCut = false);

// What the media browser's reader makes of a list.
struct ListFileContents {
  std::vector<std::string> files;  // existing files, in list order, expanded
  size_t namedCount = 0;           // entries read
  size_t missingCount = 0;         // entries whose file is missing
};

// The media browser's reader: the entries of ReadListEntries whose files
// exist (`fileExists` is asked once per entry).  A list whose files are all
// missing gives no files; the caller warns, and keeps the list file: the
// files may sit on a drive that is not plugged in.  `lastLineCut` as for
// ListLines.
ListFileContents ReadListFile(std::string_view bytes, const std::string& programFolder,
                              const std::function<bool(const std::string&)>& fileExists,
                              bool lastLineCut = false);

// The file name a user typed in the save box, cleaned: an extension equal
// to `extension` (compared in ASCII lower case) is cut off, blanks at both
// ends removed, and any folder part dropped.  "" when nothing is left.
std::string ListFileBaseName(const std::string& typed, const std::string& extension);

}  // namespace suite
