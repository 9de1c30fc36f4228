// What the media browser makes of its command line.
//
// The shell starts the browser with the files a user dropped on it or
// chose "open with" for, quoted or not; a device restart passes
// "USBDETECTED"; a skin chooser passes a ".sks" file.
#pragma once

#include <string>

namespace browser {

enum class CommandLineKind {
  Empty,        // nothing (also after "USBDETECTED")
  UsbDetected,  // restarted after a device arrival: start without the notice
  SkinFile,     // a ".sks" skin file to start with
  Files,        // files to hand to the player; the program then ends
};

struct BrowserCommandLine {
  CommandLineKind kind = CommandLineKind::Empty;
  std::string skinFile;  // SkinFile: the lower-cased path
  std::string itemList;  // Files: the paths joined by "|"
};

// `raw` is the process command line after the program name.  The text is
// lower-cased and trimmed first (the file system ignores case).  File names
// are split at blanks outside double quotes; when the line holds no quote
// at all, a blank splits only where a drive path ("x:\") follows it, so an
// unquoted path with blanks in a folder name stays one name.
BrowserCommandLine ParseBrowserCommandLine(const std::string& raw);

}  // namespace browser
