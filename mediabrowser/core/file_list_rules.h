// The file list's decisions that need no window: how a refresh after a
// change in the folder turns into deletions, additions and reloads, which
// side files belong to a picture, the texts shown for a thumbnail, and where
// a copy or move of the selected files goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace browser {

// One entry of a new scan of the current folder, in the list's form
// (" " + lower-case name).
struct ScannedEntry {
  std::string item;
  bool changedSinceListing = false;  // last write later than the listing time
};

// What a refresh does to the list: items no longer in the folder go,
// entries not yet listed are added, listed entries written since the listing
// lose their thumbnail (it is loaded again).
struct ListChanges {
  std::vector<std::string> removed;
  std::vector<std::string> added;
  std::vector<std::string> reloaded;
};
// Items are compared without regard to ASCII case, as the list box does.
ListChanges DiffFileList(const std::vector<std::string>& listed, const std::vector<ScannedEntry>& scanned);

// The side files of `path` (same folder and base name, each extension of
// the comma list `extensions`, given without their dots): a picture's
// keywords, timing, sound and overlay files.  Empty entries are skipped.
std::vector<std::string> SideFilePaths(const std::string& path, const std::string& extensions);

// A count in decimal with "," between groups of three digits.
std::string GroupedNumber(int64_t value);

// The status text while the mouse is over a thumbnail: the name upper-cased,
// its size, colour count and file size, and the overlay note when the
// picture has one.
struct ThumbnailFacts {
  std::string name;  // the list item, its leading blank removed
  int32_t width = 0;
  int32_t height = 0;
  int64_t colours = 0;
  int64_t fileSize = 0;
  bool hasOverlay = false;
};
std::string ThumbnailStatusText(const ThumbnailFacts& facts, const std::string& coloursWord,
                                const std::string& bytesWord, const std::string& overlayWord);

// The timing text drawn in a thumbnail cell for a ".tim" side file holding
// `content`: " " + its number of seconds + a double quote; "" when the file
// holds no number.
std::string TimingCellText(const std::string& content);

// What a copy or move does with the answer of the target-folder box.
enum class TargetAction {
  kCancel,       // the box was cancelled, or gave no usable folder
  kSameFolder,   // the target is the current folder: nothing to do
  kCreate,       // the user typed a new folder: make it, then transfer
  kTransfer,     // transfer into an existing folder
};
struct TargetDecision {
  TargetAction action = TargetAction::kCancel;
  std::string folder;  // the normalised target, with a final backslash
};
// `boxResult` is the box's answer (1 chosen, 2 typed a new folder, 3
// cancelled).  The folder must be absolute ("c:\..." or "\\server\share");
// "." and ".." steps, "/" and doubled separators are resolved before it is
// compared with `currentFolder` (ASCII case ignored).
TargetDecision DecideTarget(int32_t boxResult, const std::string& chosen, const std::string& currentFolder);

// An absolute path with "/" made "\", doubled separators, "." and ".."
// steps resolved, and a final backslash; "" when the path is not absolute
// or ".." climbs above its root.
std::string NormalisedFolder(const std::string& path);

}  // namespace browser
