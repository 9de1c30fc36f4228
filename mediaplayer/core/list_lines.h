// Lines and entries of the list files the media player reads (".m3u" and
// ".upl" play lists, the slide-show file): how the bytes split into lines
// and how a line becomes the path or URL of an item.
//
// List files come from anywhere - other players, editors, old discs - so
// nothing in them is trusted: any line end (CR LF, LF, CR), a UTF-8
// byte-order mark, lines of any length, bytes that cannot stand in a path.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace player {

// A list file is read up to this size; the rest of a larger file is
// ignored (the line cut at the limit too).  A list of MAX_LIST_ITEMS paths
// of a hundred bytes each fits well within it.
constexpr size_t MAX_LIST_FILE_BYTES = 8 * 1024 * 1024;
// Longer lines are skipped whole: a cut path would name another file.
// Long enough for any URL a browser takes.
constexpr size_t MAX_LIST_LINE_BYTES = 4096;

// Walks the lines of a list file's bytes.  A UTF-8 byte-order mark at the
// start is dropped.  When `lastLineCut` is set (the file was longer than
// what was read) the text after the last line end is not a line.
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

// Whether an entry can be an item at all: not empty, no "|" (the item
// separator) and no control byte other than tab.
bool IsUsableEntry(const std::string& entry);

// "scheme://..." with a scheme of two or more letters, digits, "+", "-"
// or "." starting with a letter (http, ftp, mms, rtsp, file ...).
bool IsUrl(const std::string& text);
// "\\server\share\..." (or with forward slashes).
bool IsUncPath(const std::string& text);
// A drive letter and ":" ("C:\x", also the drive-relative "C:x").
bool HasDrive(const std::string& text);

// The folder of a path, ending with its separator ("" when none).
std::string FolderOf(const std::string& path);
// The root a "\"-rooted entry is joined to: "C:" for a drive path,
// "\\server\share" for a UNC path, "" otherwise.
std::string RootOf(const std::string& path);

// The item a list line names, for a list in `listFolder` (ending in a
// separator): URLs, UNC paths and drive paths as they are; a path rooted
// with "\" or "/" on the list's drive (or share); anything else relative
// to the list's folder.
std::string ListEntryPath(const std::string& entry, const std::string& listFolder);

}  // namespace player
