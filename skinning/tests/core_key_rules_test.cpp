// Alt keys: the chords the hook acts on, the mnemonic of a key, access keys
// in texts, and what goes to the menu bar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/key_rules.h"

namespace skinning {
namespace {

constexpr uint32_t kAlt = 1u << 29;
constexpr uint32_t kUp = 1u << 31;

TEST(KeyRules, OnlyAltKeysGoingDownAboveSpaceCount) {
  const struct {
    const char* label;
    uint32_t key, flags;
    bool expected;
  } cases[] = {
      {"Alt+E", 'E', kAlt | 1, true},
      {"E without Alt", 'E', 1, false},
      {"Alt+E released", 'E', kAlt | kUp | 1, false},
      {"Alt+Space", 0x20, kAlt, false},
      {"Alt+Tab", 0x09, kAlt, false},
      {"Alt+F4", 0x73, kAlt, true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, IsAltChord(c.key, c.flags)) << c.label;
}

TEST(KeyRules, OnlyLettersAndDigitsAreMnemonics) {
  // What MapVirtualKey(MAPVK_VK_TO_CHAR) gives for some keys of a US layout.
  const struct {
    const char* label;
    uint32_t layoutCharacter;
    char expected;
  } cases[] = {
      {"E", 'E', 'E'},        {"e", 'e', 'E'},      {"7", '7', '7'},     {"F4 (no character)", 0, 0},
      {"numeric pad 1", 0, 0}, {"comma", ',', 0},    {"space", ' ', 0},   {"dead key", 0x80000060, 0},
      {"e acute", 0xE9, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, MnemonicOfKey(c.layoutCharacter)) << c.label;
}

TEST(KeyRules, AccessKeysInTexts) {
  const struct {
    const char* text;
    char key;
    bool expected;
  } cases[] = {
      {"&Eject", 'E', true},   {"&eject", 'E', true},    {"Ej&ect", 'E', true},  {"Eject", 'E', false},
      {"R&&D", 'D', false},    {"R&&&D", 'D', true},     {"Save &As", 'A', true}, {"&", 'A', false},
      {"Load &2", '2', true},  {"&Eject", 0, false},     {"a&b&c", 'C', true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, HasMnemonic(c.text, c.key)) << c.text;
  const std::vector<std::string> items = {"&File", "&Edit", "E&xtra", "&Help"};
  EXPECT_EQ(1, FindMnemonic(items, 'E'));
  EXPECT_EQ(2, FindMnemonic(items, 'X'));
  EXPECT_EQ(-1, FindMnemonic(items, 'Q'));
  EXPECT_EQ(-1, FindMnemonic({}, 'E'));
}

TEST(KeyRules, SysKeysForTheBar) {
  EXPECT_TRUE(SendsSysKeyToBar(true, true, 'F'));
  EXPECT_FALSE(SendsSysKeyToBar(false, true, 'F'));
  EXPECT_TRUE(SendsSysKeyToBar(false, false, 0x79)) << "F10 without focus opens the bar";
  EXPECT_FALSE(SendsSysKeyToBar(false, false, kVirtualKeyF4)) << "Alt+F4 closes the window";
}

}  // namespace
}  // namespace skinning
