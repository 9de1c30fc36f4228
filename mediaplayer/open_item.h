// Opening what the item list names (open_item.cpp) and the user's "open"
// command (open_command.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace player {

// Opens an item: media through the playback engine, a slide-show file, a
// picture or a browser pane, after a dial-up check for internet items.
void OpenItem(const std::string& alternative, const std::string& item, int32_t a, int32_t b);
// ".m3u" play list: the list, "" when nothing was read.
std::string ReadPlaylist(const std::string& path);
// ".upl" list: every non-empty line, "@path@" expanded, as the item list
// (also kept as the player's list); "" and the list unchanged when the file
// cannot be read.
std::string ReadUplList(const std::string& path);
// The user's "open" command: the media browser chooses the files, or the
// outside file picker when no media browser is configured.
void OpenCommand();
void OpenWithChooser();
// The outside file picker, loaded once and kept: the windows it makes
// belong to its code.  Null when CHOOSER.DLL is not there.
HMODULE ChooserLibrary();
// An export of the outside file picker by name; null when the picker or
// the export is missing.
template <typename Proc>
Proc ChooserExport(const char* name) {
  HMODULE library = ChooserLibrary();
  return library != nullptr ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                            : nullptr;
}

}  // namespace player
