// Which directory entries the media browser's file list shows: the mask it
// searches with, the extensions a media type allows, the extensions the
// program never lists (its own side files), and the status line's text.
#pragma once

#include <cstdint>
#include <string>

namespace browser {

struct FileListFilter {
  std::string mask;      // FindFirstFile mask: "*.*" for a pattern list, else the pattern
  std::string allowed;   // "|*.avi|*.mpg|" from a pattern list; "" allows any extension
  std::string excluded;  // ".obf|.kwd|": extensions never listed
};

// `pattern` is a media type's pattern ("*.avi;*.mpg" or "*.*"); `excluded`
// the program's list of hidden extensions (".obf;.kwd", ";" or "|"
// separated, each with its dot).
FileListFilter MakeFileListFilter(const std::string& pattern, const std::string& excluded);

// Attribute bits of entries the list never shows: hidden, system, volume
// label, folder and device.  Any other bit (read-only, archive, normal,
// temporary, compressed, not indexed, encrypted, ...) leaves a file listed:
// NTFS sets those on ordinary files, and a list of exact attribute values
// would hide them.
constexpr uint32_t kUnlistedAttributes = 0x02 | 0x04 | 0x08 | 0x10 | 0x40;

// Whether an entry found with the mask is listed: names starting with "."
// never; only files without an unlisted attribute bit; no
// excluded extension; and, when the type has an extension list, one of it
// (a name without an extension then is not listed).
bool FileListTakes(const FileListFilter& filter, const std::string& name, uint32_t attributes);

// The status line: "<count> <noun> <folder>", the noun from its text entry
// with "(s)" removed for fewer than 2 files and made "s" otherwise, the
// folder without leading and trailing backslashes.
std::string FileCountStatus(size_t count, const std::string& nounEntry, const std::string& folder);

}  // namespace browser
