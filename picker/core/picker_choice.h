// What the picker's caller hands in and gets back, as texts: the start
// folder and pattern, the title, the name with its optional preselect
// path, the filter box's items, and the result list and name at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/file_listing.h"

namespace picker {

// The start text split at its last "\" into the folder (with its "\") and
// the pattern; an empty pattern becomes "*.*".
struct StartPlace {
  std::string folder;
  std::string pattern;
};
StartPlace SplitStart(const std::string& start);

// The title without one leading "#".
std::string DialogTitle(const std::string& title);

// The name argument: "path|name" gives a preselect path and the name after
// the first "|"; a name without "|" has no preselect path.
struct NameArgument {
  bool hasPreselect = false;
  std::string preselectPath;
  std::string name;
};
NameArgument SplitNameArgument(const std::string& name);

// One item of the filter box: its caption (" " & description) and its
// patterns.
struct FilterItem {
  std::string caption;
  std::string patterns;
};
struct FilterTable {
  std::vector<FilterItem> items;
  int32_t current = -1;  // the item whose patterns end in the start pattern; -1 none
};
// From "description 1|patterns 1|description 2|...": an item per
// description; a missing last patterns field is "".  The item chosen is
// the last whose patterns, from the first occurrence of `startPattern` on,
// are exactly `startPattern`.
FilterTable MakeFilterTable(const std::string& filters, const std::string& startPattern);

// The filter box's tooltip: the patterns with every "*." removed and every
// ";" written ", " ("*.mp3;*.wav" -> "mp3, wav").
std::string FilterTooltip(const std::string& patterns);

// The path of list item `index` (0-based) in `folder`; "" when the index
// is outside the listing.
std::string ItemPath(const std::string& folder, const std::vector<ListedFile>& files,
                     int32_t index);

// The result list of a multi-selection: each selected item's path
// followed by "|", in the order given; indices outside the listing are
// skipped.
std::string MultiSelectionList(const std::string& folder, const std::vector<ListedFile>& files,
                               const std::vector<int32_t>& selected);

// The path display's text for a path: " " & lower(path), with every ".&"
// doubled to ".&&" so the static control does not take "&" as a mnemonic.
std::string PathDisplayText(const std::string& path);

// Address mode's name at the end: a name holding "http://" or "ftp://" (any
// letter case) or a "\" stays as it is; any other name, the empty one
// included, gets the search spec's folder in front, provided the search
// spec holds a "\".
std::string CompleteAddressName(const std::string& name, const std::string& searchSpec);

// The result of a confirmed save (the outside chooser's last argument
// non-zero): the search spec's folder followed by the current pattern, so
// the caller writes its file there under the typed name with the
// pattern's extension ("C:\pics\*.JPG"); of a pattern list, its first
// pattern.
std::string SaveTarget(const std::string& searchSpec, const std::string& pattern);

}  // namespace picker
