// The media player's command line and the start-up decisions that follow
// from it: its names, the keywords, the ItemList a command line becomes,
// the AUTORUN.INF entry, and where start-up routes the line.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/text_rules.h"

namespace player {

// "SSL2AVI" in any case, the whole (trimmed) line.
bool IsRecordingKeyword(const std::string& line);
// One token ending ".SYS" (no blank after the first character): a text
// table to install.
bool IsTextTableArgument(const std::string& line);
// A line ending ".AVI" (any case): kiosk mode with the native-size layout.
bool NamesAviFile(const std::string& line);

struct ParsedCommandLine {
  std::string itemList;    // items separated by "|"
  bool multiItem = false;  // more than one item
};

// Turns the trimmed command line into an ItemList: quoted parts keep their
// blanks (the quotes go), an unquoted line keeps its blanks too, blanks
// between parts separate items, and so does a blank before a drive path
// ("x:\").  An unpaired quote ends the pairing and stays in the text.  A
// single ".upl" item is replaced by `readUplList(item)` when that is given.
ParsedCommandLine ParseCommandLine(const std::string& line,
                                   const std::function<std::string(const std::string&)>& readUplList);

// The item named by the first line of AUTORUN.INF that begins (after
// trimming blanks and lower-casing) with "open=orbplay.exe": the rest with
// leading blanks removed, lower case.  "" when no line does.
std::string AutorunItem(const std::vector<std::string>& lines);

// A text that is no existing file is opened as a URL: a text that already
// names a scheme ("http://", "https://", "ftp://", "file://" ...) is left
// alone, anything else gets "file://" in front.
std::string AsUrl(const std::string& text);

// What start-up opens.
enum class RouteKind {
  OpenList,           // `item` is the first item of `itemList` (index 1)
  OpenFile,           // `item`, a file found on disk
  OpenUrl,            // `item`, made a URL
  OpenSlideShowItem,  // `item`, the slide-show file named by the command line
  OpenAutorun,        // `item`, the AUTORUN.INF video
  OpenOwnSlideShow,   // `item`, the program's own slide-show file
  OpenHtmlPage,       // `item`, "<path without extension>.HTM"
  PictureLayout,      // nothing to open: the picture layout
  EndWithCode2,       // the program's slide-show file without its library
};

struct RouteInput {
  std::string line;             // the command line after ParseCommandLine
  bool multiItem = false;
  std::string slideShowSuffix;  // text entry 89
  std::string ownSlideShowFile; // path without extension + text entry 89
  bool ownSlideShowExists = false;
  bool slideShowLibraryPresent = false;
  bool recordingKeyword = false;
  std::string autorunItem;
  std::string htmlPage;         // path without extension + ".HTM"
  bool htmlPageExists = false;
};

struct RouteFileReaders {
  // The full path of an existing file named by `text`, "" when none.
  std::function<std::string(const std::string&)> findFile;
  std::function<std::string(const std::string&)> readPlaylist;  // ".m3u"
  std::function<std::string(const std::string&)> readUplList;   // ".upl"
};

struct Route {
  RouteKind kind = RouteKind::PictureLayout;
  std::string item;
  std::string itemList;  // the list when one was read or given
  int32_t itemCount = 0;
};

Route RouteCommandLine(const RouteInput& input, const RouteFileReaders& readers);

// The position track bar's value in the picture layout: the middle of the
// first item's share of 100, 100/count - (100/count)/2 rounded.
int32_t FirstItemTrackPosition(int32_t itemCount);

}  // namespace player
