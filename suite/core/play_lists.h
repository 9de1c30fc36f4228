// The players' play-list readers (the media player and the audio player): ".m3u" lists of other players and
// the suite's own ".upl" list files (written by the media browser, one full
// path a line, CR LF, "@path@" for the reading program's folder).
//
// Both readers turn each line into an item with the rules of list_lines.h:
// relative paths join the list's folder, URLs and UNC paths stay as they
// are, and a path whose file is missing is left out (a URL is never
// checked).  A list file that is missing or cannot be opened leaves the
// player's list as it was.
#pragma once

#include <string>

#include "core/player_files.h"
#include "core/player_list.h"

namespace player {

// Where the list a command line or a chooser names lies: a drive, UNC or
// URL path as it is; a path rooted with "\" on the program folder's drive;
// anything else in the program folder (the player's current folder).
std::string PlaylistPath(const std::string& path, const std::string& programFolder);

// Reads an ".m3u" list into `list` (display times emptied, index 1).
// Lines beginning with "#" (#EXTM3U, #EXTINF ...) are comments.  False,
// with `list` untouched, when the file cannot be read.
bool ReadPlaylist(const std::string& path, const std::string& programFolder, const PlayerFiles& files,
                  PlayerList* list);

// Reads a ".upl" list into `list` as ReadPlaylist does, "@path@" in a
// line standing for `programFolder`, and returns the ItemList ("" when the
// file cannot be read; `list` is then untouched).
std::string ReadUplList(const std::string& path, const std::string& programFolder,
                        const PlayerFiles& files, PlayerList* list);

}  // namespace player
