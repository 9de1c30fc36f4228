// Entries of the list files the players read (".m3u" and ".upl"
// play lists, the slide-show file): how a line becomes the path or URL of
// an item.  The lines themselves come from the suite's list reader
// (core/list_file.h).
//
// List files come from anywhere, so an entry may hold bytes that cannot
// stand in a path.
#pragma once

#include <string>

#include "core/list_file.h"

namespace player {

using suite::ListLines;
using suite::MAX_LIST_FILE_BYTES;
using suite::MAX_LIST_LINE_BYTES;
using suite::TrimLine;

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

// The root a "\"-rooted entry is joined to: "C:" for a drive path,
// "\\server\share" for a UNC path, "" otherwise.
std::string RootOf(const std::string& path);

// The item a list line names, for a list in `listFolder` (ending in a
// separator): URLs, UNC paths and drive paths as they are; a path rooted
// with "\" or "/" on the list's drive (or share); anything else relative
// to the list's folder.
std::string ListEntryPath(const std::string& entry, const std::string& listFolder);

}  // namespace player
