// The rules the media browser applies while it starts: reading numbers and
// paths from its text table, trimming module menus to the programs that are
// installed, and naming skins for the skin menu.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/command_line.h"

namespace browser {

// Height of a file-list item and size of a thumbnail, from its text entry:
// the decimal value (0 when it is no number), kept within 50..200 pixels.
int32_t ItemHeightFromEntry(const std::string& entry);

// The user folder from its text entry: lower-cased, "@path@" replaced by the
// program folder, without a final backslash (the caller creates it and adds
// the backslash).
std::string UserFolderFromEntry(const std::string& entry, const std::string& programFolder);


// A menu whose items from `firstChecked` on start modules: items whose
// program (field 1 of the action's comma list, in the program folder) does
// not exist are removed; the items behind move up with their actions.
// `actions` maps command id (100 * menu + item) to action text.
struct MenuTrim {
  std::string definition;             // rebuilt "|" item list
  std::map<int32_t, std::string> actions;
};
MenuTrim TrimModuleMenu(const std::string& definition, const std::map<int32_t, std::string>& actions,
                        int32_t menu, int32_t firstChecked,
                        const std::function<bool(const std::string& program)>& programExists);

// The skin menu's label of a skin file name: lower-cased, ".sks" removed,
// first letter upper-cased.
std::string SkinMenuLabel(const std::string& skinFileName);

// The media types of the type box from their text entry: "name|pattern|
// name|pattern...".  A trailing name without a pattern gets "".
struct MediaType {
  std::string name;
  std::string pattern;
};
std::vector<MediaType> ParseMediaTypes(const std::string& entry);
// Index of the type whose pattern equals `pattern`; the last type when
// `pattern` is empty; -1 when none matches (or there are no types).
int32_t SelectedMediaType(const std::vector<MediaType>& types, const std::string& pattern);

// The favourites file's lines as the combo shows them: leading blanks cut,
// empty lines skipped (whether a folder still exists is the caller's test).
std::vector<std::string> FavouriteCandidates(const std::vector<std::string>& lines);

}  // namespace browser
