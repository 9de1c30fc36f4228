// A program's text table and menus (<program>.SYS) as C++ values, read
// through the skin engine, and the engine's text outputs as byte strings.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace suite {

// Entries 1 to count; entry(0) and entries past the end are "".
class TextTable {
 public:
  TextTable() = default;
  explicit TextTable(std::vector<std::string> entries) : entries_(std::move(entries)) {}
  const std::string& entry(size_t n) const;
  size_t count() const { return entries_.size(); }
  void set(size_t n, std::string text);
  std::vector<std::string>& entries() { return entries_; }

 private:
  std::vector<std::string> entries_;  // entries_[0] is entry 1
};

struct MenuTables {
  std::vector<std::string> definitions;    // [0] the menu bar, [n] popup n
  std::map<int32_t, std::string> actions;  // command id -> action
};

// False when the file cannot be read.
bool ReadTextTable(const std::string& path, TextTable* table);
bool ReadMenuTables(const std::string& path, MenuTables* menus);

// The engine's list form: each entry followed by a zero byte.
std::string EncodeTextList(const std::vector<std::string>& entries);
std::vector<std::string> DecodeTextList(const char* data, size_t length);
std::string EncodeActions(const std::map<int32_t, std::string>& actions);

// The action of a menu item through SKMACTE.
std::string MenuAction(int32_t id, const MenuTables& menus);
// SKCHANGEMENU over the tables, with definition 0 as the bar.
HMENU BuildMainMenu(const MenuTables& menus);

// Byte-string forms of engine outputs.
std::string ExeName();        // SKEXENAME

// Where the running program lives: its folder (with a final backslash), its
// file name, and its base path (folder + name without extension), split
// from SKEXENAME by SKSPLITN.
struct ProgramPaths {
  std::string folder;
  std::string exeName;
  std::string basePath;
};
ProgramPaths FindProgramPaths();
std::string TempFolder();     // SKGETTEMPPATH, with a final backslash
std::string SkinFolder();     // SKSKINFOLDER
std::string WindowsErrorText(int32_t code);  // SKWINERR

}  // namespace suite
