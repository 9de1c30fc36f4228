// The media browser's command-line rules.
#include "browser_command_line.h"

#include "core/item_list.h"
#include "core/text_rules.h"

namespace browser {

namespace {

constexpr char kProtectedBlank = '\x01';

// Blanks inside quote pairs are protected and the quotes dropped, pair after
// pair from the left; an unpaired quote stays as it is.  Without any quote,
// every blank is protected.
std::string ProtectQuotedBlanks(const std::string& text) {
  if (text.find('"') == std::string::npos) {
    std::string protectedText = text;
    for (char& c : protectedText) {
      if (c == ' ') c = kProtectedBlank;
    }
    return protectedText;
  }
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t open = text.find('"', pos);
    size_t close = open == std::string::npos ? std::string::npos : text.find('"', open + 1);
    if (close == std::string::npos) {
      out.append(text, pos, std::string::npos);
      return out;
    }
    out.append(text, pos, open - pos);
    for (size_t i = open + 1; i < close; ++i) out.push_back(text[i] == ' ' ? kProtectedBlank : text[i]);
    pos = close + 1;
  }
}

}  // namespace

BrowserCommandLine ParseBrowserCommandLine(const std::string& raw) {
  BrowserCommandLine result;
  std::string text = suite::TrimBlanks(suite::LowerAscii(raw));
  if (text == "usbdetected") {
    result.kind = CommandLineKind::UsbDetected;
    return result;
  }
  if (text.empty()) return result;
  if (text.size() >= 4 && text.compare(text.size() - 4, 4, ".sks") == 0) {
    result.kind = CommandLineKind::SkinFile;
    result.skinFile = text;
    return result;
  }

  std::string list = ProtectQuotedBlanks(text);
  for (char& c : list) {
    if (c == ' ') c = '|';
  }
  for (char& c : list) {
    if (c == kProtectedBlank) c = ' ';
  }
  // A blank followed, one character on, by ":\" starts a second drive path.
  for (size_t i = 0; i + 3 < list.size(); ++i) {
    if (list[i] == ' ' && list[i + 2] == ':' && list[i + 3] == '\\') list[i] = '|';
  }
  if (suite::ItemFieldCount(list) == 0) return result;
  result.kind = CommandLineKind::Files;
  result.itemList = list;
  return result;
}

}  // namespace browser
