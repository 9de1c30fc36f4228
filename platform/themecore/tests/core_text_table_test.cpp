// The <program>.SYS text-table parser: sections, numbering, raw texts,
// damaged lines and bounds.
#include "text_table.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;
using Actions = std::map<int32_t, std::string>;

struct TableCase {
  const char* name;
  std::string file;
  Strings strings;
  std::string menuBar;
  Strings menus;
  Actions actions;
};

TEST(TextTable, ParsesSectionsAndEntries) {
  const TableCase cases[] = {
      {"empty file", "", {}, "", {}, {}},
      {"strings with CR LF", "[strings]\r\n1=One\r\n2=Two\r\n", {"One", "Two"}, "", {}, {}},
      {"LF, no final line end", "[strings]\n1=One\n2=Two", {"One", "Two"}, "", {}, {}},
      {"lone CR ends a line", "[strings]\r1=One\r2=Two\r", {"One", "Two"}, "", {}, {}},
      {"missing numbers empty", "[strings]\n3=Three\n1=One\n", {"One", "", "Three"}, "", {}, {}},
      {"text raw after the first =", "[strings]\n1= a = b ;c|d \n", {" a = b ;c|d "}, "", {}, {}},
      {"blanks around the number", "[strings]\n  2 =x\n", {"", "x"}, "", {}, {}},
      {"empty text", "[strings]\n1=\n", {""}, "", {}, {}},
      {"duplicate: last wins", "[strings]\n1=old\n1=new\n", {"new"}, "", {}, {}},
      {"comment lines", "; top\n[strings]\n;1=not\n1=yes\n", {"yes"}, "", {}, {}},
      {"high bytes kept", "[strings]\n1=caf\xE9 \x80\xFF\n", {"caf\xE9 \x80\xFF"}, "", {}, {}},
      {"section names ignore case and blanks", "[ Strings ]\n1=a\n[MENUBAR]\nF|E\n", {"a"}, "F|E",
       {}, {}},
      {"BOM at the start", "\xEF\xBB\xBF[strings]\n1=a\n", {"a"}, "", {}, {}},
      {"menu bar, menus and actions",
       "[menubar]\n&File|&Help\n[menus]\n1=&Open|-|E&xit\n2=&About\n"
       "[actions]\n103=END\n201=about\n",
       {}, "&File|&Help", {"&Open|-|E&xit", "&About"}, {{103, "END"}, {201, "about"}}},
      {"menu bar: last line wins", "[menubar]\nA|B\n\nC|D\n", {}, "C|D", {}, {}},
      {"menus: missing numbers empty", "[menus]\n2=x\n", {}, "", {"", "x"}, {}},
      {"actions: duplicate last wins", "[actions]\n101=a\n101=b\n", {}, "", {}, {{101, "b"}}},
      {"lines before any section skipped", "1=lost\n[strings]\n1=kept\n", {"kept"}, "", {}, {}},
      {"unknown section skipped", "[other]\n1=lost\n[strings]\n2=kept\n", {"", "kept"}, "", {}, {}},
      {"line without = skipped", "[strings]\nnothing here\n1=a\n", {"a"}, "", {}, {}},
      {"number 0 skipped", "[strings]\n0=zero\n1=a\n", {"a"}, "", {}, {}},
      {"negative and signed skipped", "[strings]\n-1=a\n+1=b\n", {}, "", {}, {}},
      {"non-digit key skipped", "[strings]\n1a=x\nx=y\n", {}, "", {}, {}},
      {"largest number accepted", "[strings]\n100000=last\n",
       [] { Strings strings(100000, ""); strings.back() = "last"; return strings; }(), "", {}, {}},
      {"too large number skipped", "[strings]\n100001=x\n9999999999=y\n", {}, "", {}, {}},
      {"menu beyond the id range skipped", "[menus]\n655=x\n654=y\n", {}, "",
       [] { Strings menus(654, ""); menus[653] = "y"; return menus; }(), {}},
      {"action id beyond 16 bits skipped", "[actions]\n65536=x\n65535=y\n", {}, "", {},
       {{65535, "y"}}},
      {"line with a zero byte skipped", "[strings]\n1=a\0b\n2=c\n"s, {"", "c"}, "",
       {}, {}},
  };
  for (const TableCase& c : cases) {
    SCOPED_TRACE(c.name);
    themecore::TextTable table = themecore::ParseTextTable(c.file);
    EXPECT_EQ(c.strings, table.strings);
    EXPECT_EQ(c.menuBar, table.menuBar);
    EXPECT_EQ(c.menus, table.menus);
    EXPECT_EQ(c.actions, table.actions);
  }
}

TEST(TextTable, MenuDefinitionsPutTheBarFirst) {
  themecore::TextTable table =
      themecore::ParseTextTable("[menubar]\nA|B\n[menus]\n1=a1|a2\n3=c1\n");
  EXPECT_EQ((Strings{"A|B", "a1|a2", "", "c1"}), themecore::MenuDefinitions(table));
  EXPECT_EQ((Strings{""}), themecore::MenuDefinitions(themecore::TextTable()));
}

TEST(TextTable, ActionEntriesInIdOrder) {
  Actions actions = {{305, "x"}, {101, "END"}, {1001, ""}};
  EXPECT_EQ((Strings{"101=END", "305=x", "1001="}), themecore::ActionEntries(actions));
}

// Random and mangled bytes: the parser must neither crash nor grow past its
// bounds (the sanitizers watch the memory).
TEST(TextTable, SurvivesArbitraryBytes) {
  std::mt19937 random(12345);
  const std::string seed =
      "[strings]\r\n1=a\r\n2=b\n[menubar]\nA|B\n[menus]\n1=x|-|y\n[actions]\n101=END\n";
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = seed;
    int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
      size_t at = random() % (bytes.size() + 1);
      switch (random() % 3) {
        case 0: bytes.insert(at, 1, static_cast<char>(random() % 256)); break;
        case 1: if (at < bytes.size()) bytes.erase(at, 1); break;
        default: if (at < bytes.size()) bytes[at] = static_cast<char>(random() % 256); break;
      }
    }
    themecore::TextTable table = themecore::ParseTextTable(bytes);
    EXPECT_LE(table.strings.size(), static_cast<size_t>(themecore::kMaxTextEntry));
    EXPECT_LE(table.menus.size(), static_cast<size_t>(themecore::kMaxMenu));
  }
}

}  // namespace
