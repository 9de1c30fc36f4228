// The audio player's command line (audio_command_line.h).
#include "audio_command_line.h"

#include "core/item_list.h"
#include "core/text_rules.h"

namespace audio {

namespace {

// Stands for a blank that belongs to a name while the item separators are
// found; no path holds it.
constexpr char kKeptBlank = '\x01';

void KeepBlanks(std::string& text, size_t from, size_t to) {
  for (size_t i = from; i < to && i < text.size(); ++i) {
    if (text[i] == ' ') text[i] = kKeptBlank;
  }
}

// Pairs the quotes from the left.  Returns when the line held no further
// quote (every blank is then kept) or when the quote just removed closed
// the line.
void ResolveQuotes(std::string& text) {
  for (;;) {
    size_t open = text.find('"');
    if (open == std::string::npos) {
      KeepBlanks(text, 0, text.size());
      return;
    }
    size_t close = text.find('"', open + 1);
    if (close == std::string::npos) {
      // An unmatched quote: the rest holds no further quotes.
      text.erase(open, 1);
      KeepBlanks(text, 0, text.size());
      return;
    }
    KeepBlanks(text, open + 1, close);
    text = text.substr(0, open) + text.substr(open + 1, close - open - 1) + text.substr(close + 1);
    // The closing quote was the line's last character.
    if (text.size() < close) return;
  }
}

bool IsDriveStart(const std::string& text, size_t at) {
  return at + 2 < text.size() && text[at + 1] == ':' && text[at + 2] == '\\';
}

}  // namespace

ParsedLine ParseCommandLine(const std::string& input) {
  ParsedLine parsed;
  if (input.empty()) return parsed;
  std::string text = input;
  ResolveQuotes(text);
  for (char& c : text) {
    if (c == ' ') c = '|';
  }
  for (char& c : text) {
    if (c == kKeptBlank) c = ' ';
  }
  // A blank, a drive letter and ":\" start a new item.
  for (size_t p = 0; p < text.size(); ++p) {
    if (text[p] == ' ' && IsDriveStart(text, p + 1)) text[p] = '|';
  }
  parsed.itemList = text;
  parsed.multiItem = suite::ItemFieldCount(text) > 1;
  return parsed;
}

StartItem DecideStartItem(const std::string& commandText, bool multiItem, const std::string& found,
                          const std::function<std::string(const std::string&)>& readPlaylist) {
  StartItem start;
  if (commandText.empty()) return start;
  if (found.empty() && !multiItem) {
    start.item = StartUrl(commandText);
    return start;
  }
  std::string single = multiItem ? commandText : found;
  start.playList = single;
  if (!multiItem && suite::EndsWithNoCase(single, ".m3u") && readPlaylist) {
    std::string items = readPlaylist(single);
    if (!items.empty()) start.playList = items;
  }
  start.count = static_cast<int32_t>(suite::ItemFieldCount(start.playList));
  if (start.count > 1) {
    start.index = 1;
    start.item = suite::ItemField(start.playList, 1);
  } else {
    start.item = start.playList;
  }
  return start;
}

std::string StartUrl(const std::string& text) {
  std::string lower = suite::LowerAscii(text);
  if (lower.find("file://") != std::string::npos || lower.find("http://") != std::string::npos) return text;
  return "file://" + text;
}

std::string QueueBatch(const std::string& commandText, const std::string& queue, bool firstFlush) {
  if (firstFlush && !commandText.empty()) return suite::JoinItemLists(commandText, queue);
  return queue;
}

}  // namespace audio
