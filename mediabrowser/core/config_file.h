// The media browser's settings line (<temp><base name>.cfg) and favourites
// file (<temp><base name>.fav), and the file association entries of its text
// table.  Only the text forms live here; reading, writing and the registry
// are the Win32 side's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace browser {

// One line of nine fields joined by "|", no line end.
struct BrowserSettings {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string folder;        // current folder
  std::string pattern;       // file pattern of the current media type
  int32_t option809 = 0;     // captions on contact sheets (0 or -1)
  int32_t noticeSeen = 0;    // the first-run notice is not to be shown again
  int32_t option408 = 0;     // side-file markers in the file list
};

// Numbers are written as the settings have always been: a leading blank for
// 0 and above, "-" for negative values.
std::string FormatSettingNumber(int32_t value);
std::string FormatSettingsLine(const BrowserSettings& settings);

// Reads a settings line.  Missing fields read 0 or "".  Left and top are
// raised to 0, width and height to the given minimum window size.  Whether
// the folder still exists is the caller's test.
BrowserSettings ParseSettingsLine(const std::string& line, int32_t minWidth, int32_t minHeight);

// The favourites file: one folder a line, each with CR LF, trimmed.
std::string FormatFavourites(const std::vector<std::string>& folders);
// Splits a file's text into lines (CR LF, LF or CR).
std::vector<std::string> SplitLines(const std::string& text);

// A file association entry: "extension,identifier,program,description".
struct AssociationEntry {
  std::string extensionKey;  // "." + extension lower-cased, blanks and dots trimmed
  std::string identifier;
  std::string command;       // "\"program\"" lower-cased with @path@ replaced; "" when empty
  std::string description;
};
// False when the entry does not have exactly four fields.
bool ParseAssociationEntry(const std::string& entry, const std::string& programFolder,
                           AssociationEntry* out);

}  // namespace browser
