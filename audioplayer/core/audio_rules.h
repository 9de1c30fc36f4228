// The audio player's playback decisions that need no window and no
// library: the pane layouts, the typed-name
// override of the file picker, stepping through the play list, what the end
// of an item leads to, where a seek goes, and the texts it shows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace audio {

// Pane layouts: 2 before anything has played, 8 for an audio file (an item
// whose extension is one of the audio patterns of text entry 88).
constexpr int32_t LAYOUT_STREAM = 2;
constexpr int32_t LAYOUT_AUDIO = 8;

// The picker's name field wins over the chosen item when it is longer than
// its first text (text entry 11, lower case) and starts with it in any case.
std::string ItemOrTypedName(const std::string& typedName, const std::string& item, const std::string& fieldStart);
// "ftp://" or "http://" in any case: an internet address.
bool IsInternetAddress(const std::string& item);

// Previous and next with wrap-around over 1..count; the index as it is when
// the list holds one item or none.
int32_t PreviousIndex(int32_t index, int32_t count);
int32_t NextIndex(int32_t index, int32_t count);

// What the meter tick does when the item has played to its end.
enum class EndOfItem {
  NextItem,  // more items follow: the next command
  Repeat,    // the repeat box is ticked: open `index` again
  Stop,      // nothing more to play
};
struct EndDecision {
  EndOfItem action = EndOfItem::Stop;
  int32_t index = 0;
};
EndDecision DecideEndOfItem(int32_t index, int32_t count, bool repeatTicked);

// How far `position` lies between `start` and `end`, 0..100.
int32_t PositionPercent(uint32_t position, uint32_t start, uint32_t end);
// The position a seek to `percent` goes to: held within 0..100, start +
// (end - start, unsigned) x percent / 100, halves rounded to even.
uint32_t SeekPosition(int32_t percent, uint32_t start, uint32_t end);

// The playback error: text entry 12 with every "#" replaced by the result,
// then the item as it stands (a "#" in a file name is left alone).
std::string PlaybackErrorText(const std::string& text, const std::string& item, int32_t result);
// Title + " - " + the item's name part (after the last "\" or "/").
std::string PlayingTitle(const std::string& title, const std::string& item);
// The scrolling title: the window title without any "<title> - ".
std::string MarqueeText(const std::string& windowTitle, const std::string& title);
// The picker's filters: "Audio|<patterns>|Winamp|*.m3u".
std::string PickerFilters(const std::string& patterns);

// A picked list with each ".m3u" field (any case) replaced in place by the
// items `readPlaylist` gives for it (a list that cannot be read, "", is
// left out); trailing "|" removed first.
std::string ExpandPickedLists(const std::string& list,
                              const std::function<std::string(const std::string&)>& readPlaylist);

}  // namespace audio
