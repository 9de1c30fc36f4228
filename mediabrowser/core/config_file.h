// The media browser's settings line (<temp><base name>.cfg) and favourites
// file (<temp><base name>.fav), and the file association entries of its text
// table.  Only the text forms live here; reading, writing and the registry
// are the Win32 side's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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

// A settings file larger than this is not ours (the line is a few hundred
// bytes), and is read as no file.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

// Whether a settings file's bytes can be read as a settings line at all.  A
// damaged file (cut binary junk, another program's file under our name)
// gives the defaults instead of a window at 0, 0 of the minimum size: it is
// unreadable when it holds control bytes (one line end after the line is
// allowed, as an editor saves it; no field holds one), more than nine fields
// (no folder or pattern holds a "|"), or when any of the four placement
// fields is not a decimal number.  Fields missing after the fourth read 0 or
// "", as they always have.
bool IsReadableSettingsLine(const std::string& text);

// Reads a settings line (one line end after it is dropped).  Missing fields
// read 0 or "".  Left and top are
// raised to 0, width and height to the given minimum window size.  Whether
// the folder still exists is the caller's test.
BrowserSettings ParseSettingsLine(const std::string& line, int32_t minWidth, int32_t minHeight);

// The part of the screen a window may use (the monitor's work area).
struct WorkArea {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};
// Moves a saved window into the work area: a window saved on a larger or
// second screen would otherwise open where no one can reach it.  The size
// is cut to the work area's (never below the given minimum); the position
// is moved just far enough that the whole window lies inside.  An empty
// work area changes nothing.
void KeepInsideWorkArea(BrowserSettings* settings, const WorkArea& area, int32_t minWidth,
                        int32_t minHeight);

// The favourites file: one folder a line, each with CR LF, trimmed.
std::string FormatFavourites(const std::vector<std::string>& folders);

// The favourites file is read whole up to this size; a larger one is not
// ours and gives no favourites.
constexpr size_t kMaxFavouritesBytes = 256 * 1024;
// No folder path is longer (MAX_PATH less its terminating zero).
constexpr size_t kMaxFavouriteLineBytes = 259;
// The lines of a favourites file that can name a folder, read as the
// suite's list files are (any line end, an editor's byte-order mark
// dropped); lines longer than a path or holding control bytes skipped whole
// (a cut path would name another folder).  Blanks are left for the caller.
std::vector<std::string> ReadFavouriteLines(std::string_view bytes);

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
