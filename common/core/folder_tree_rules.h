// The folder tree control's decisions that need no Win32: how a path text
// from a private message is taken, the one-trailing-backslash rule, which
// directory entries become child folders and in what order, which drive
// types are listed, how many bytes FTM_GETPATH copies, and where the
// pointer must be for a drag to scroll the tree.  The window code in
// common/folder_tree*.cpp asks these and does the Win32 part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace suite::folder_tree {

// The longest folder path (with its trailing backslash) the tree keeps as an
// item: the ANSI file calls it makes take at most MAX_PATH (260) bytes with
// the terminating zero, and listing a folder appends "*.*".  Deeper folders
// (Unix trees under Wine easily exceed this) are left out of the listing.
constexpr size_t kMaxFolderPathBytes = 256;

// A path text handed in by address and length: reads at most `length`
// bytes, stops at the first zero byte (never reads past it), then trims
// blanks (space and tab) at both ends.  Null text or a negative length
// gives "" with *valid false.
std::string TakePathArgument(const char* text, int64_t length, bool* valid);

// The path with every trailing backslash removed and exactly one appended
// ("C:" -> "C:\", "C:\a\\" -> "C:\a\").  "" stays "".
std::string WithOneTrailingBackslash(const std::string& path);

// True for a path holding "\\" anywhere (FTM_SELECTPATH refuses it).
bool HasDoubleBackslash(const std::string& path);

// A directory entry becomes a child folder when it is a directory and its
// name is neither empty nor starts with "." (".", "..", hidden dot folders).
bool IsListedChildFolder(const std::string& name, bool isDirectory);

// True when the child folder path (with trailing backslash) fits the limit
// above.
bool IsReachableFolderPath(const std::string& pathWithBackslash);

// ASCII case-insensitive byte comparison (bytes above 127 compare as they
// are): negative, 0 or positive.
int CompareNoCaseAscii(const std::string& a, const std::string& b);

// Sorts child folder paths ascending under CompareNoCaseAscii; equal keys
// keep their order.
void SortFolderPaths(std::vector<std::string>* paths);

// The child folder paths of `folder` from the names of its directory
// entries: filtered, joined as folder + name + "\", over-long ones dropped,
// sorted.  `folder` is taken with one trailing backslash.
struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
};
std::vector<std::string> ChildFolderPaths(const std::string& folder,
                                          const std::vector<DirectoryEntry>& entries);

// GetDriveType values listed in the drive list: removable (2), fixed (3),
// remote (4), CD-ROM (5, left out when the fill flag is -2) and RAM disk
// (6).  Unknown (0) and no root (1) are never listed.
bool IsListedDriveType(uint32_t driveType, int32_t fillFlag);

// Bytes FTM_GETPATH copies: MIN(bufferSize, path length), 0 for a buffer
// size below 1.
size_t PathCopyCount(int64_t bufferSize, size_t pathLength);

// A hovered drop target is expanded after a pause only when its path starts
// with a letter above "B" (the floppy drives are never spun up).
bool AllowsHoverExpand(const std::string& path);

// Auto-scroll while dragging, from the pointer's position in client
// coordinates.  Inside the client area within `bandHeight` of the top or
// bottom edge: scroll slowly; elsewhere inside: stop; above or below the
// client area: scroll fast; to the left or right only: leave it as it is.
enum class ScrollAction { kStop, kLineUp, kLineDown, kUnchanged };
struct ScrollDecision {
  ScrollAction action = ScrollAction::kUnchanged;
  uint32_t intervalMs = 0;  // timer interval for kLineUp / kLineDown
};
constexpr uint32_t kSlowScrollMs = 200;
constexpr uint32_t kFastScrollMs = 50;
ScrollDecision DecideAutoScroll(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight,
                                int32_t bandHeight);

}  // namespace suite::folder_tree
