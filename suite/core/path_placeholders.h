// The placeholders that list files, settings and options of the players
// may hold, and the user data folder they can name.
//
//   "@path@"  the program folder (in a slide-show file: that file's folder)
//   "@user@"  the user data folder
//   "@win@", "@sys@", "@temp@", "@tmp@"  the Windows, system and
//             temporary folders (where the configuration file lies)
//
// Folders are given ending in a backslash; the tokens are lower case (the
// texts that hold them are lower-cased first where that is the rule).
#pragma once

#include <string>

#include "core/player_files.h"

namespace player {

struct PlaceholderFolders {
  std::string programFolder;
  std::string userFolder;
  std::string windowsFolder;
  std::string systemFolder;
  std::string tempFolder;
};

// Every "@path@" replaced by `folder`.
std::string ExpandProgramFolder(const std::string& text, const std::string& folder);
// Every token of the table above replaced by its folder.
std::string ExpandPlaceholders(const std::string& text, const PlaceholderFolders& folders);

// Doubled backslashes collapsed to one, except the two that begin a UNC
// path ("\\server\share").
std::string CollapseBackslashes(const std::string& path);

// The user data folder named by text entry 81: the entry lower-cased,
// "@path@" and "@user@" (the user's documents folder) replaced, doubled
// backslashes collapsed, ending in one backslash.  "" for an empty entry.
std::string UserDataFolderFromEntry(const std::string& entry, const std::string& programFolder,
                                    const std::string& documentsFolder);

// The same folder, created when missing; the program folder when the entry
// is empty or the folder cannot be made.  The program computes it once.
std::string UserDataFolder(const std::string& entry, const std::string& programFolder,
                           const std::string& documentsFolder, const PlayerFiles& files);

}  // namespace player
