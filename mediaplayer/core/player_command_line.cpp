// Command-line parsing and start-up routing of the media player.
#include "core/player_command_line.h"

#include <cmath>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace player {

namespace {

constexpr char kUnitSeparator = '\x01';  // a blank that belongs to an item

bool IsDrivePathAt(const std::string& text, size_t i) {
  return i + 2 < text.size() && text[i + 1] == ':' && text[i + 2] == '\\';
}

bool IsSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '-' || c == '.';
}

}  // namespace

bool IsRecordingKeyword(const std::string& line) { return suite::UpperAscii(suite::TrimBlanks(line)) == "SSL2AVI"; }

bool IsTextTableArgument(const std::string& line) {
  return suite::EndsWithNoCase(line, ".SYS") && line.size() > 4 && line.find(' ', 1) == std::string::npos;
}

bool NamesAviFile(const std::string& line) { return suite::EndsWithNoCase(line, ".AVI"); }

ParsedCommandLine ParseCommandLine(const std::string& line,
                                   const std::function<std::string(const std::string&)>& readUplList) {
  ParsedCommandLine parsed;
  if (line.empty()) return parsed;
  std::string text = line;
  bool anyQuote = text.find('"') != std::string::npos;
  size_t from = 0;
  for (;;) {
    size_t open = text.find('"', from);
    if (open == std::string::npos) break;
    size_t close = text.find('"', open + 1);
    if (close == std::string::npos) break;  // unpaired: the quote stays
    for (size_t i = open + 1; i < close; ++i) {
      if (text[i] == ' ') text[i] = kUnitSeparator;
    }
    text.erase(close, 1);
    text.erase(open, 1);
    from = close - 1;
  }
  if (!anyQuote) {
    for (char& c : text) {
      if (c == ' ') c = kUnitSeparator;
    }
  }
  for (char& c : text) {
    if (c == ' ') c = '|';
  }
  for (char& c : text) {
    if (c == kUnitSeparator) c = ' ';
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' && IsDrivePathAt(text, i + 1)) text[i] = '|';
  }
  if (suite::ItemFieldCount(text) == 1 && suite::EndsWithNoCase(text, ".upl") && readUplList) {
    text = readUplList(text);
  }
  parsed.itemList = text;
  parsed.multiItem = suite::ItemFieldCount(text) > 1;
  return parsed;
}

std::string AutorunItem(const std::vector<std::string>& lines) {
  static const std::string kKey = "open=orbplay.exe";
  for (const std::string& raw : lines) {
    std::string line = suite::LowerAscii(suite::TrimBlanks(raw));
    if (line.compare(0, kKey.size(), kKey) != 0) continue;
    std::string rest = line.substr(kKey.size());
    size_t first = rest.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : rest.substr(first);
  }
  return std::string();
}

std::string AsUrl(const std::string& text) {
  size_t separator = text.find("://");
  if (separator != std::string::npos && separator > 0) {
    bool scheme = true;
    for (size_t i = 0; i < separator; ++i) scheme = scheme && IsSchemeChar(text[i]);
    // "c://x" is a drive, not a scheme: schemes are longer than one letter.
    if (scheme && separator > 1) return text;
  }
  return "file://" + text;
}

Route RouteCommandLine(const RouteInput& input, const RouteFileReaders& readers) {
  Route route;
  std::string line = input.line;
  std::string slideShowItem;
  if (!input.slideShowSuffix.empty() && suite::EndsWithNoCase(line, input.slideShowSuffix)) {
    slideShowItem = line;
    line.clear();
  }
  std::string found = line.empty() || !readers.findFile ? std::string() : readers.findFile(line);
  if (!line.empty() && (input.multiItem || !found.empty())) {
    if (input.multiItem) {
      route.itemList = line;
    } else if (suite::EndsWithNoCase(found, ".m3u") && readers.readPlaylist) {
      route.itemList = readers.readPlaylist(found);
    } else if (suite::EndsWithNoCase(found, ".upl") && readers.readUplList) {
      route.itemList = readers.readUplList(found);
    }
    route.itemCount = static_cast<int32_t>(suite::ItemFieldCount(route.itemList));
    if (route.itemCount > 1) {
      route.kind = RouteKind::OpenList;
      route.item = suite::ItemField(route.itemList, 1);
    } else {
      route.kind = RouteKind::OpenFile;
      route.item = found.empty() ? line : found;
    }
    return route;
  }
  if (!line.empty()) {
    route.kind = RouteKind::OpenUrl;
    route.item = AsUrl(line);
    return route;
  }
  if (!slideShowItem.empty()) {
    route.kind = RouteKind::OpenSlideShowItem;
    route.item = slideShowItem;
    return route;
  }
  if (input.ownSlideShowExists) {
    if (!input.slideShowLibraryPresent) {
      route.kind = RouteKind::EndWithCode2;
    } else if (input.recordingKeyword) {
      route.kind = RouteKind::PictureLayout;
    } else if (!input.autorunItem.empty()) {
      route.kind = RouteKind::OpenAutorun;
      route.item = input.autorunItem;
    } else {
      route.kind = RouteKind::OpenOwnSlideShow;
      route.item = input.ownSlideShowFile;
    }
    return route;
  }
  if (input.htmlPageExists) {
    route.kind = RouteKind::OpenHtmlPage;
    route.item = input.htmlPage;
    return route;
  }
  route.kind = RouteKind::PictureLayout;
  return route;
}

int32_t FirstItemTrackPosition(int32_t itemCount) {
  if (itemCount < 1) return 0;
  double share = 100.0 / itemCount;
  return static_cast<int32_t>(std::nearbyint(share - share / 2));
}

}  // namespace player
