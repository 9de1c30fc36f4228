// The library's small rules: pointer lists, names and case rules, the state
// string's shape and reader, resize styles, tab and z re-sorts, mnemonics.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/item_layout.h"
#include "core/mnemonics.h"
#include "core/names.h"
#include "core/pointer_list.h"
#include "core/state_string.h"

namespace ctlhost {
namespace {

TEST(PointerList, FirstFreeSlotThenGrowByStep) {
  int a, b, c, d;
  PointerList list(4);
  EXPECT_EQ(list.Add(&a), 0);
  EXPECT_EQ(list.SlotCount(), 4u);
  EXPECT_EQ(list.Add(&b), 1);
  EXPECT_EQ(list.Add(&c), 2);
  EXPECT_TRUE(list.Remove(&b));
  EXPECT_EQ(list.At(1), nullptr);
  EXPECT_EQ(list.Add(&d), 1);  // the freed slot is taken again
  EXPECT_EQ(list.Add(&b), 3);
  EXPECT_EQ(list.Add(&a), 4);  // plain Add stores duplicates
  EXPECT_EQ(list.SlotCount(), 8u);
  EXPECT_TRUE(list.Remove(&a));
  EXPECT_TRUE(list.Remove(&a));
  EXPECT_FALSE(list.Remove(&a));
  EXPECT_EQ(list.SlotCount(), 8u);  // never shrinks
  EXPECT_EQ(list.CountUsed(), 3u);
  EXPECT_EQ(list.Entries(), (std::vector<void*>{&d, &c, &b}));
}

TEST(PointerList, RegistryRefusals) {
  int a;
  PointerList registry(4);
  EXPECT_EQ(registry.Register(nullptr), RegisterResult::kNullPointer);
  EXPECT_EQ(registry.Register(&a), RegisterResult::kAdded);
  EXPECT_EQ(registry.Register(&a), RegisterResult::kAlreadyThere);
  EXPECT_EQ(registry.CountUsed(), 1u);
}

TEST(Names, MutexNamesAndCase) {
  EXPECT_EQ(MutexName("QXMUTEXCTLHOSTCTAPI", 1234), "QXMUTEXCTLHOSTCTAPI_201234");
  EXPECT_EQ(SharedMutexName("QXLOG"), "QXLOG_20");
  EXPECT_EQ(AddressedBase("QXLOG", 0x1a2bULL), "QXLOG1a2b");
  EXPECT_EQ(AddressedBase("COTHREADCONTAINERx", 0xdead00ULL), "COTHREADCONTAINERxdead00");
  EXPECT_TRUE(EqualsNoCase("Content", "CONTENT"));
  EXPECT_FALSE(EqualsNoCase("Content", "Content_"));
  // Only a-z fold: the code page's upper half is compared as bytes.
  EXPECT_FALSE(EqualsNoCase("\xe9", "\xc9"));
  EXPECT_EQ(FindNoCase("xxProgId:a", "PROGID"), 2u);
  const std::string bytes = "A\xff\x01z";
  EXPECT_EQ(NarrowUnits(WidenBytes(bytes)), bytes);
  EXPECT_EQ(NarrowUnits(u"\u0141b"), "\x41" "b");  // low byte kept
}

TEST(StateString, OddSizesKeepTheirLastByte) {
  struct Case {
    size_t block;
    uint32_t units;
    bool odd;
  } cases[] = {{0, 0, false}, {1, 0, true}, {12, 6, false}, {13, 6, true}, {4096, 2048, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    const StateStringShape shape = ShapeOfStateBlock(c.block);
    EXPECT_EQ(shape.byteLength, c.block);
    EXPECT_EQ(shape.unitLength, c.units);
    EXPECT_EQ(shape.hasOddByte, c.odd);
  }
  const std::string thirteen = "0123456789abc";
  std::string block = "junk";
  EXPECT_EQ(ReadStateString(thirteen.data(), 13, &block), StateReadResult::kOk);
  EXPECT_EQ(block, thirteen);
  EXPECT_EQ(ReadStateString(thirteen.data(), 0, &block), StateReadResult::kEmpty);
  EXPECT_TRUE(block.empty());
  EXPECT_EQ(ReadStateString(nullptr, 5, &block), StateReadResult::kNull);
  EXPECT_EQ(ReadStateString(thirteen.data(), 0xFFFFFFFFu, &block), StateReadResult::kTooLarge);
}

TEST(ResizeStyle, EachStyleOfThePlayerFollowsTheParent) {
  const ItemRect parent{0, 0, 400, 300};
  const ItemRect item{10, 20, 110, 220};
  // The parent grows by 40 x 30.
  const ItemRect grown{0, 0, 440, 330};
  struct Case {
    int32_t style;
    ItemRect moved;
    bool moves;
  } cases[] = {
      {0x0000, {10, 20, 110, 220}, false},
      {0x1010, {10, 20, 150, 250}, true},   // stretches
      {0x0010, {10, 20, 150, 220}, true},   // right edge only
      {0x1011, {50, 20, 150, 250}, true},   // moves right, stretches down
      {0x1110, {10, 50, 150, 250}, true},   // moves down, stretches right
      {0x1000, {10, 20, 110, 250}, true},   // bottom edge only
      {0x0011, {50, 20, 150, 220}, true},   // moves with the right side
      {0x1100, {10, 50, 110, 250}, true},   // moves with the bottom
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const ResizeDistances d = CaptureResizeDistances(c.style, parent, item, {});
    ItemRect moved;
    EXPECT_EQ(ApplyResizeStyle(c.style, grown, item, d, &moved), c.moves);
    EXPECT_EQ(moved, c.moved);
  }
}

TEST(ResizeStyle, UnsetBitsKeepOldDistances) {
  const ResizeDistances kept{1, 2, 3, 4};
  const ResizeDistances d = CaptureResizeDistances(0x0010, {0, 0, 100, 100}, {0, 0, 60, 50}, kept);
  EXPECT_EQ(d, (ResizeDistances{1, 2, 40, 4}));
}

TEST(TabOrder, ResortsAsItemsAreNumbered) {
  struct Case {
    const char* name;
    std::vector<int32_t> before;
    size_t which;
    int32_t order;
    std::vector<int32_t> after;
  } cases[] = {
      {"first into the order", {-1, -1, -1}, 0, 5, {0, -1, -1}},
      {"second after it", {0, -1, -1}, 1, 5, {0, 1, -1}},
      {"third in front", {0, 1, -1}, 2, 0, {1, 2, 0}},
      {"out of the order", {1, 2, 0}, 0, -1, {-1, 1, 0}},
      {"below -1 counts as -1", {0, 1}, 1, -9, {0, -1}},
      {"equal indexes keep list order", {3, 3, -1, 3}, 2, 1, {0, 2, 1, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ResortTabOrder(c.before, c.which, c.order), c.after);
  }
}

TEST(TabOrder, NextTabStopStepsOverGapsAndWraps) {
  struct Case {
    const char* name;
    std::vector<int32_t> indexes;
    int32_t current;
    bool forward;
    int32_t next;
  } cases[] = {
      {"forward", {0, 1, 2}, 0, true, 1},
      {"forward wraps", {0, 1, 2}, 2, true, 0},
      {"backward", {0, 1, 2}, 1, false, 0},
      {"backward wraps", {0, 1, 2}, 0, false, 2},
      {"out of the order skipped", {0, -1, 1}, 0, true, 1},
      {"a destroyed item's gap is stepped over", {0, 2}, 0, true, 2},
      {"and wraps from past the gap", {0, 2}, 2, true, 0},
      {"backward over the gap", {0, 2}, 2, false, 0},
      {"a lone item stays", {-1, 4}, 4, true, 4},
      {"no tab index", {0, 1}, -1, true, -1},
      {"nothing in the order", {-1, -1}, 0, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NextTabIndex(c.indexes, c.current, c.forward), c.next);
  }
}

TEST(ZOrder, ClampsAndRenumbers) {
  struct Case {
    const char* name;
    std::vector<int32_t> before;
    size_t which;
    int32_t order;
    std::vector<int32_t> after;
  } cases[] = {
      {"negative stores 0", {kZOrderTop, kZOrderTop, kZOrderTop}, 1, -3, {1, 0, 2}},
      {"top stores n", {kZOrderTop, kZOrderTop, kZOrderTop}, 0, kZOrderTop, {2, 0, 1}},
      {"middle", {0, 1, 2}, 2, 1, {0, 2, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ResortZOrder(c.before, c.which, c.order), c.after);
  }
  EXPECT_EQ(RestackForZOrder(0), Restack::kBottom);
  EXPECT_EQ(RestackForZOrder(kZOrderTop), Restack::kTop);
  EXPECT_EQ(RestackForZOrder(5), Restack::kNone);
}

TEST(Mnemonics, TextMatchesLettersOnly) {
  struct Case {
    const char* name;
    const char* text;
    bool keyDown;
    uint32_t key;
    int32_t mods;
    bool match;
  } cases[] = {
      {"Alt+S", "Save", true, 'S', kModAlt, true},
      {"lower text", "save", true, 'S', kModAlt, true},
      {"no Alt", "Save", true, 'S', 0, false},
      {"key up", "Save", false, 'S', kModAlt, false},
      {"Alt+F4 is no S", "Save", true, 0x73, kModAlt, false},
      {"F1 is no P", "Play", true, 0x70, kModAlt, false},
      {"numpad 1 is no A", "a", true, 0x61, kModAlt, false},
      {"digit", "Track 2", true, '2', kModAlt, true},
      {"empty text", "", true, 'S', kModAlt, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TextMnemonicMatches(c.text, c.keyDown, c.key, c.mods), c.match);
  }
}

TEST(Mnemonics, AcceleratorTableIgnoresVirtKeyFlag) {
  const uint8_t block[] = {
      0x11, 0, 'S', 0, 100, 0,         // FVIRTKEY | FALT, 'S'
      0x0D, 0, 0x70, 0, 101, 0,        // FVIRTKEY | FSHIFT | FCONTROL, F1
      0x10, 0, 'q', 0, 102, 0,         // FALT, character 'q'
      0x03, 0, 'X',                    // a short last entry
  };
  const std::vector<AcceleratorEntry> table = ReadAcceleratorEntries(block, sizeof block, 4);
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[1].command, 101);
  struct Case {
    const char* name;
    bool keyDown;
    uint32_t key;
    int32_t mods;
    int32_t index;
  } cases[] = {
      {"Alt+S", true, 'S', kModAlt, 0},
      {"S alone", true, 'S', 0, -1},
      {"Ctrl+Shift+F1", true, 0x70, kModCtrl | kModShift, 1},
      {"Alt+Q from a character entry", true, 'Q', kModAlt, 2},
      {"key up", false, 'S', kModAlt, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MatchAcceleratorTable(table, c.keyDown, c.key, c.mods), c.index);
  }
}

}  // namespace
}  // namespace ctlhost
