// A program's text table, <program>.SYS: its numbered texts, its menu bar,
// its popup menus and the actions of their items.  Plain text in the ANSI
// code page:
//
//   ; a comment (a ';' at the start of a line)
//   [strings]
//   1=Orb Media Browser          n=text, the text raw up to the line end
//   [menubar]
//   &File|&View|&Help            one line: the bar, one "|" field per popup
//   [menus]
//   1=&Open|-|E&xit              popup n: items at "|", "-" a separator
//   [actions]
//   103=END                      id=action, id = 100 * popup + item
//
// Numbers are decimal, blanks around them allowed; the text after the first
// '=' is taken byte for byte (leading blanks included).  A number given
// twice keeps its last line.  Lines the format does not know, lines before
// the first section, lines of unknown sections, lines holding a zero byte
// and numbers out of range are skipped: a damaged table loses those lines,
// never the rest.  The parser bounds every number, so a hostile file costs
// at most a table of kMaxTextEntry entries.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace themecore {

// Texts are numbered 1 to kMaxTextEntry.
constexpr int32_t kMaxTextEntry = 100000;
// Popups are numbered 1 to kMaxMenu: item ids (100 * popup + item, items 1
// to 99) then stay within the 16 bits WM_COMMAND carries.
constexpr int32_t kMaxMenu = 654;
constexpr int32_t kMaxMenuItem = 99;
// Action ids are 1 to kMaxActionId.
constexpr int32_t kMaxActionId = 65535;

struct TextTable {
  std::vector<std::string> strings;  // strings[0] is text 1; missing ones ""
  std::string menuBar;
  std::vector<std::string> menus;    // menus[0] is popup 1; missing ones ""
  std::map<int32_t, std::string> actions;
};

TextTable ParseTextTable(std::string_view fileBytes);

// Menu definitions as the engine hands them out: [0] the menu bar, [n]
// popup n.
std::vector<std::string> MenuDefinitions(const TextTable& table);

// The action entries "id=action", in increasing id order.
std::vector<std::string> ActionEntries(const std::map<int32_t, std::string>& actions);

}  // namespace themecore
