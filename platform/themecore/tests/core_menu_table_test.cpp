// Menu layout from definitions: item ids, separators, trailing "|", and the
// lookup of an item's action.
#include "menu_table.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using themecore::MenuItemKind;

struct ItemCase {
  const char* name;
  int32_t menu;
  std::string definition;
  // "id:text" for a command, "id:-" for a separator
  std::vector<std::string> expected;
};

std::vector<std::string> Describe(const std::vector<themecore::MenuItemPlan>& items) {
  std::vector<std::string> described;
  for (const themecore::MenuItemPlan& item : items) {
    described.push_back(std::to_string(item.id) + ":" +
                        (item.kind == MenuItemKind::kSeparator ? std::string("-") : item.text));
  }
  return described;
}

TEST(MenuTable, PlansPopupItems) {
  const ItemCase cases[] = {
      {"empty definition", 1, "", {}},
      {"items numbered from 1", 1, "&Open|&Save", {"101:&Open", "102:&Save"}},
      {"separator counts as an item", 2, "a|-|b", {"201:a", "202:-", "203:b"}},
      {"trailing | adds nothing", 3, "a|b|", {"301:a", "302:b"}},
      {"empty field keeps its number", 4, "a||c", {"401:a", "403:c"}},
      {"lone |", 1, "|", {}},
      {"\"-\" with blanks is text", 1, " - ", {"101: - "}},
      {"tab and & kept", 5, "E&xit\tAlt+F4", {"501:E&xit\tAlt+F4"}},
      {"large popup number", 654, "x", {"65401:x"}},
  };
  for (const ItemCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, Describe(themecore::PlanPopupItems(c.menu, c.definition)));
  }
}

TEST(MenuTable, LeavesOutItemsPastNinetyNine) {
  std::string definition;
  for (int i = 1; i <= 120; ++i) definition += "i" + std::to_string(i) + "|";
  std::vector<themecore::MenuItemPlan> items = themecore::PlanPopupItems(1, definition);
  ASSERT_EQ(99u, items.size());
  EXPECT_EQ(199, items.back().id);
  EXPECT_EQ("i99", items.back().text);
}

TEST(MenuTable, BarFields) {
  EXPECT_EQ((std::vector<std::string>{"&File", "&Help"}), themecore::MenuFields("&File|&Help|"));
  EXPECT_EQ((std::vector<std::string>{"", "x"}), themecore::MenuFields("|x"));
  EXPECT_TRUE(themecore::MenuFields("").empty());
}

struct ActionCase {
  const char* name;
  std::vector<std::string> entries;
  int32_t id;
  std::optional<std::string> expected;
};

TEST(MenuTable, FindsActions) {
  const ActionCase cases[] = {
      {"found", {"101=END", "102=orbplay.exe,ORBPLAY"}, 102, "orbplay.exe,ORBPLAY"},
      {"END", {"101=END"}, 101, "END"},
      {"missing", {"101=END"}, 103, std::nullopt},
      {"empty action", {"101="}, 101, ""},
      {"= inside the action", {"101=a=b"}, 101, "a=b"},
      {"first of a duplicate wins", {"101=a", "101=b"}, 101, "a"},
      {"entry without = skipped", {"101", "101=x"}, 101, "x"},
      {"id is not a prefix match", {"1011=x", "101=y"}, 101, "y"},
      {"non-number id skipped", {"abc=x"}, 0, std::nullopt},
      {"empty list", {}, 101, std::nullopt},
  };
  for (const ActionCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::FindAction(c.entries, c.id));
  }
}

}  // namespace
