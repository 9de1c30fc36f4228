// The audio player's command line: how the text a user (or the shell, one
// start per selected file) gives becomes the player's ItemList, what
// start-up opens from it, and how forwarded command lines are batched.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace audio {

struct ParsedLine {
  std::string itemList;    // items separated by "|"
  bool multiItem = false;  // more than one item
};

// Turns the trimmed command text into an ItemList.  Quoted names keep their
// blanks and lose their quotes; an unquoted blank separates items only when
// the line ends with a quoted name, or when a drive path ("x:\") follows
// it.  A quote without its partner is dropped and the rest of the line read
// as if it held no more quotes.  Nothing happens to an empty text.
ParsedLine ParseCommandLine(const std::string& text);

// What start-up opens for the command text.
struct StartItem {
  std::string playList;  // the new play list ("" leaves the list empty)
  int32_t count = 0;
  int32_t index = 0;     // 1 when the list holds more than one item
  std::string item;      // what OpenItem gets ("" opens nothing)
};

// `found` is the full path of an existing file the text names ("" when
// none).  A single ".m3u" name (any case) is replaced by its items through
// `readPlaylist` ("" when it cannot be read: the list name stays).  Text
// that names no file and is no list is opened as a URL (StartUrl).
StartItem DecideStartItem(const std::string& commandText, bool multiItem, const std::string& found,
                          const std::function<std::string(const std::string&)>& readPlaylist);

// A text that holds "file://" or "http://" (any case) as it is; any other
// text with "file://" in front.
std::string StartUrl(const std::string& text);

// The batch the queue timer sends: at the first flush the player's own
// start-up command text comes first.
std::string QueueBatch(const std::string& commandText, const std::string& queue, bool firstFlush);

}  // namespace audio
