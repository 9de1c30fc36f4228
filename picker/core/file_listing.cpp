// The picker's listing rules; see file_listing.h.
#include "core/file_listing.h"

#include <algorithm>

#include "core/path_names.h"
#include "core/text_rules.h"

namespace picker {

namespace {

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The sort of the shown names: without regard to ASCII case, then by bytes
// so that the order is total.
bool ShownBefore(const ListedFile& a, const ListedFile& b) {
  const std::string left = suite::LowerAscii(a.shown);
  const std::string right = suite::LowerAscii(b.shown);
  if (left != right) return left < right;
  if (a.shown != b.shown) return a.shown < b.shown;
  return a.fileName < b.fileName;
}

}  // namespace

ListingSpec MakeListingSpec(const std::string& pattern, const std::string& listedStore) {
  ListingSpec spec;
  if (!Contains(pattern, ";")) {
    spec.searchPattern = pattern;
    spec.listedExtensions = listedStore;
    return spec;
  }
  std::string list = suite::ReplaceAll(suite::UpperAscii(pattern), ";", "|");
  size_t start = list.find_first_not_of('|');
  size_t end = list.find_last_not_of('|');
  list = start == std::string::npos ? std::string() : list.substr(start, end - start + 1);
  spec.listedExtensions = list + "|";
  spec.searchPattern = "*.*";
  return spec;
}

std::string SearchSpec(const std::string& folderSpec, const std::string& searchPattern) {
  std::string folder = folderSpec.size() >= 3 ? folderSpec.substr(0, folderSpec.size() - 3)
                                              : std::string();
  return folder + searchPattern;
}

std::string SearchFolder(const std::string& searchSpec) {
  size_t slash = searchSpec.rfind('\\');
  return slash == std::string::npos ? std::string() : searchSpec.substr(0, slash + 1);
}

bool HasListedAttributes(uint32_t attributes) {
  switch (attributes & 0xFFu) {
    case 0x00:
    case 0x01:
    case 0x20:
    case 0x21:
    case 0x80:
      return true;
    default:
      return false;
  }
}

bool IsNameListed(const std::string& name, const std::string& hiddenExtensions,
                  const std::string& listedExtensions) {
  if (name.empty() || name[0] == '.') return false;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return listedExtensions.empty();
  const std::string extension = suite::UpperAscii(name.substr(dot)) + "|";
  if (!listedExtensions.empty()) {
    return Contains(suite::UpperAscii(listedExtensions), extension);
  }
  return hiddenExtensions.empty() || !Contains(suite::UpperAscii(hiddenExtensions), extension);
}

Listing BuildListing(const std::vector<DirectoryEntry>& entries, const ListingSpec& spec,
                     const std::string& hiddenExtensions, int32_t mode, const std::string& folder,
                     const std::string& preselectPath) {
  Listing listing;
  for (const DirectoryEntry& entry : entries) {
    if (!HasListedAttributes(entry.attributes)) continue;
    if (!IsNameListed(entry.name, hiddenExtensions, spec.listedExtensions)) continue;
    ListedFile file;
    if (mode == 2) {
      file.fileName = entry.name;
      size_t dot = entry.name.rfind('.');
      file.shown = dot == std::string::npos ? entry.name : entry.name.substr(0, dot);
    } else {
      file.fileName = suite::LowerAscii(entry.name);
      file.shown = file.fileName;
    }
    listing.files.push_back(std::move(file));
  }
  std::sort(listing.files.begin(), listing.files.end(), ShownBefore);
  if (listing.files.empty()) return listing;
  listing.selected = 0;
  if (preselectPath.empty()) return listing;
  for (size_t i = 0; i < listing.files.size(); ++i) {
    if (folder + listing.files[i].shown == preselectPath) listing.selected = static_cast<int32_t>(i);
  }
  return listing;
}

std::string FolderSpecForTreePath(const std::string& path, const std::string& currentFolderSpec) {
  if (path.empty()) return currentFolderSpec;
  return suite::WithFinalBackslash(path) + "*.*";
}

}  // namespace picker
