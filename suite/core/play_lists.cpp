// ".m3u" and ".upl" play lists.
#include "play_lists.h"

#include <vector>

#include "core/list_file.h"
#include "core/list_lines.h"
#include "core/path_names.h"
#include "core/path_placeholders.h"

namespace player {

namespace {

enum class ListKind { M3u, Upl };

// One line of a list as an item of the player's list: "" when the line
// names nothing the player can open.  Missing files are left out (a URL is
// never checked), so a list still plays when some of its files are gone.
std::string ItemOfEntry(const std::string& entry, const std::string& listFolder, const PlayerFiles& files) {
  if (!IsUsableEntry(entry)) return std::string();
  std::string item = ListEntryPath(entry, listFolder);
  if (!IsUrl(item) && !files.FileExists(item)) return std::string();
  return item;
}

// The items of a list file's bytes, "|"-separated, at most MAX_LIST_ITEMS.
// ".upl" lists are read with the suite's list reader; ".m3u" lines starting
// with "#" are comments.
std::string ListItems(const std::string& bytes, bool lastLineCut, ListKind kind,
                      const std::string& listFolder, const std::string& programFolder,
                      const PlayerFiles& files) {
  std::vector<std::string> entries;
  if (kind == ListKind::Upl) {
    entries = suite::ReadListEntries(bytes, programFolder, lastLineCut);
  } else {
    ListLines lines(bytes, lastLineCut);
    std::string_view line;
    while (lines.Next(&line)) {
      std::string entry = TrimLine(line);
      if (!entry.empty() && entry[0] != '#') entries.push_back(std::move(entry));
    }
  }
  std::string items;
  int32_t count = 0;
  for (const std::string& entry : entries) {
    if (count == MAX_LIST_ITEMS) break;
    std::string item = ItemOfEntry(entry, listFolder, files);
    if (item.empty()) continue;
    if (count > 0) items += '|';
    items += item;
    ++count;
  }
  return items;
}

bool ReadList(const std::string& path, ListKind kind, const std::string& programFolder,
              const PlayerFiles& files, PlayerList* list) {
  std::string folder = suite::WithFinalBackslash(programFolder);
  std::string fullPath = PlaylistPath(path, folder);
  if (fullPath.empty() || IsUrl(fullPath)) return false;
  std::string bytes;
  bool cut = false;
  // A read error part-way ends the reading; the lines before it count.
  if (files.ReadFile(fullPath, MAX_LIST_FILE_BYTES, &bytes, &cut) == FileReadStatus::Missing) {
    return false;
  }
  SetPlayerList(list, ListItems(bytes, cut, kind, suite::FolderOf(fullPath), folder, files), std::string());
  return true;
}

}  // namespace

std::string PlaylistPath(const std::string& path, const std::string& programFolder) {
  if (path.empty() || HasDrive(path) || IsUncPath(path) || IsUrl(path)) return path;
  if (path[0] == '\\' || path[0] == '/') return CollapseBackslashes(RootOf(programFolder) + path);
  return CollapseBackslashes(programFolder + path);
}

bool ReadPlaylist(const std::string& path, const std::string& programFolder, const PlayerFiles& files,
                  PlayerList* list) {
  return ReadList(path, ListKind::M3u, programFolder, files, list);
}

std::string ReadUplList(const std::string& path, const std::string& programFolder,
                        const PlayerFiles& files, PlayerList* list) {
  if (!ReadList(path, ListKind::Upl, programFolder, files, list)) return std::string();
  return list->itemList;
}

}  // namespace player
