// Which files of a folder the picker's list shows, under which names, in
// which order, and which one starts selected.
//
// A folder is searched with one pattern.  A pattern list ("*.mp3;*.wav")
// searches "*.*" and lists a file when its extension is one of the list's;
// a single pattern searches with itself and lists what the listed-extension
// store (SKUSEFILTER) allows.  The hidden-extension store (CHOOSERFILTER)
// hides extensions only while no listed-extension text is in force.
// Extensions compare without regard to ASCII case.
//
// Mode 2 lists names without their extension; each item keeps its own file
// name, so what the caller gets back is the file that was listed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace picker {

// The longest search spec handed to the directory search (MAX_PATH less
// its terminating zero).  A longer one lists nothing rather than a
// shortened, different folder.
inline constexpr size_t kMaxSearchSpec = 259;

// What one list fill searches with and lists.
struct ListingSpec {
  std::string searchPattern;   // "*.*" for a pattern list, else the pattern
  std::string listedExtensions;  // "" when none is in force
};

// `pattern` is the current pattern; `listedStore` the SKUSEFILTER store.
// A pattern holding ";" gives its upper-cased patterns each followed by "|"
// ("*.mp3;*.wav" -> "*.MP3|*.WAV|") and searches "*.*".
ListingSpec MakeListingSpec(const std::string& pattern, const std::string& listedStore);

// The folder spec ("<folder>*.*") turned into the search spec: the folder
// spec without its last three characters followed by the search pattern.
std::string SearchSpec(const std::string& folderSpec, const std::string& searchPattern);

// The folder part of a search spec: up to and with its last "\" ("" when it
// has none).
std::string SearchFolder(const std::string& searchSpec);

// Directory entries whose attributes' low byte is 0 (none), 1 (read-only),
// 0x20 (archive), 0x21 or 0x80 (normal): folders, hidden and system entries
// never show.
bool HasListedAttributes(uint32_t attributes);

// Whether a file name found by the search is listed: not when it begins
// with "."; with an extension, unless hidden by `hiddenExtensions` when no
// listed text is in force, or not in `listedExtensions` when one is;
// without an extension, only when no listed text is in force.
bool IsNameListed(const std::string& name, const std::string& hiddenExtensions,
                  const std::string& listedExtensions);

struct DirectoryEntry {
  std::string name;
  uint32_t attributes = 0;
};

struct ListedFile {
  std::string shown;     // lower-case name, or in mode 2 the name without its extension
  std::string fileName;  // the name the file has (lower-case outside mode 2)
};

struct Listing {
  std::vector<ListedFile> files;  // sorted by their shown names
  int32_t selected = -1;          // 0-based: the preselected item, else 0; -1 when empty
};

// Everything one fill lists from `entries` (in any order).  `folder` is the
// search spec's folder; when `preselectPath` is not empty, the item whose
// folder & shown name equals it exactly starts selected.
Listing BuildListing(const std::vector<DirectoryEntry>& entries, const ListingSpec& spec,
                     const std::string& hiddenExtensions, int32_t mode, const std::string& folder,
                     const std::string& preselectPath);

// The folder spec for a folder the tree reports (FTM_GETPATH's bytes,
// which have a final "\" only on drive roots): "\" added only when it is
// missing, then "*.*".  An empty path (a virtual folder such as the
// desktop's "Network") keeps `currentFolderSpec`.
std::string FolderSpecForTreePath(const std::string& path, const std::string& currentFolderSpec);

}  // namespace picker
