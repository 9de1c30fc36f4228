// The skinned menus' rules: item sizes, the tab split, the bar's stretch.
#include <gtest/gtest.h>

#include <string>

#include "core/menu_rules.h"

namespace skinning {
namespace {

TEST(MenuRules, ItemSizes) {
  const struct {
    const char* name;
    int32_t textWidth, textHeight;
    bool hasTab;
    int32_t osVersion;
    bool isPopup;
    int32_t widestBefore;
    MenuItemSize want;
    int32_t widestAfter;
  } cases[] = {
      {"bar item", 40, 16, false, 501, false, 0, {40, 16}, 0},
      {"bar item with tab, new system", 40, 16, true, 501, false, 0, {55, 16}, 0},
      {"bar item with tab, old system", 40, 16, true, 499, false, 0, {15, 16}, 0},
      {"popup item", 40, 16, false, 501, true, 0, {40 + 2 * 13 + 6, 19}, 72},
      {"popup item narrower than one below", 20, 16, false, 501, true, 90, {90, 19}, 90},
      {"popup item with tab", 60, 16, true, 600, true, 50, {60 + 15 + 32, 19}, 107},
      {"old system tab never below zero", 10, 16, true, 400, false, 0, {0, 16}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t widest = c.widestBefore;
    const MenuItemSize got =
        SizeMenuItem(c.textWidth, c.textHeight, c.hasTab, c.osVersion, c.isPopup, 13, &widest);
    EXPECT_EQ(c.want.width, got.width);
    EXPECT_EQ(c.want.height, got.height);
    EXPECT_EQ(c.widestAfter, widest);
  }
}

TEST(MenuRules, TabSplit) {
  const struct {
    const char* text;
    const char* label;
    const char* shortcut;
    bool hasTab;
  } cases[] = {
      {"&Open", "&Open", "", false},
      {"&Open\tCtrl+O", "&Open", "Ctrl+O", true},
      {"&Open   \t   Ctrl+O", "&Open", "Ctrl+O", true},
      {"Save as\t", "Save as", "", true},
      {"\tF5", "", "F5", true},
      {"a\tb\tc", "a", "b\tc", true},
      {"", "", "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const MenuItemText got = SplitMenuItemText(c.text);
    EXPECT_EQ(c.label, got.label);
    EXPECT_EQ(c.shortcut, got.shortcut);
    EXPECT_EQ(c.hasTab, got.hasTab);
  }
}

TEST(MenuRules, BarStretch) {
  const struct {
    const char* name;
    int32_t barWidth, x, width;
    bool isLast;
    int32_t nextWidth, padding;
    int32_t want;
  } cases[] = {
      {"last item to the edge", 300, 100, 40, true, 0, 8, 160},
      {"middle item", 300, 100, 40, false, 40, 8, 0},
      {"next item would not fit", 300, 200, 40, false, 60, 8, 60},
      {"next item just fits", 300, 200, 40, false, 52, 8, 0},
      {"item past the edge", 100, 90, 40, true, 0, 8, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.want, BarItemExtra(c.barWidth, c.x, c.width, c.isLast, c.nextWidth, c.padding));
  }
}

}  // namespace
}  // namespace skinning
