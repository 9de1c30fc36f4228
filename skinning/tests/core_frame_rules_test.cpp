// The frame's rules: styles, flags, placement, the client area, hit codes,
// the smallest size and the hide test.
#include <gtest/gtest.h>

#include <string>

#include "core/frame_rules.h"

namespace skinning {
namespace {

// The Luminar skin's sizes (res/LUMINAR.SKL).
SkinMetrics Luminar() {
  SkinMetrics m;
  m.captionBand = 24;
  m.leftFrame = 4;
  m.rightFrame = 4;
  m.bottomFrame = 4;
  m.buttonWidth = 20;
  m.buttonHeight = 18;
  m.buttonsRight = 4;
  m.buttonTop = 3;
  m.titleX = 26;
  m.titleY = 5;
  m.iconX = 4;
  m.iconY = 4;
  m.ledY = 7;
  m.menuBar = 20;
  return m;
}

constexpr uint32_t kOverlappedWindow = 0x00CF0000;  // WS_OVERLAPPEDWINDOW
constexpr uint32_t kDialogBox = 0x80C80080;         // popup, caption, sysmenu, DS_MODALFRAME

TEST(FrameRules, StylesLoseTheSystemFrame) {
  const struct {
    const char* label;
    uint32_t initialStyle, initialExStyle;
    uint32_t style, exStyle, flagsWithMenu, flagsWithout;
    bool toolCaption, modalFrame;
  } cases[] = {
      {"overlapped window", kOverlappedWindow | style::kVisible, 0x300,
       0x860C0000 | style::kVisible, 0, 0xF, 0x4F, false, false},
      {"dialog box", kDialogBox, 0x10101, 0x860C0000, 0x10000, 0x9, 0x49, true, true},
      {"disabled with scroll bars", 0x08300000 | style::kMinimizeBox, 0x20080,
       0x8E3C0000, 0x80, 0xB, 0x4B, false, false},
      {"maximize box only", style::kMaximizeBox, 0, 0x860C0000, 0, 0xD, 0x4D, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(c.style, SkinnedStyle(c.initialStyle));
    EXPECT_EQ(c.exStyle, SkinnedExStyle(c.initialExStyle));
    EXPECT_EQ(c.flagsWithMenu, FrameFlags(c.initialStyle, true));
    EXPECT_EQ(c.flagsWithout, FrameFlags(c.initialStyle, false));
    EXPECT_EQ(c.toolCaption, HasToolCaption(c.initialStyle));
    EXPECT_EQ(c.modalFrame, HasModalFrame(c.initialStyle));
  }
}

TEST(FrameRules, PlacementKeepsTheClientInsideTheSkinsFrame) {
  const SkinMetrics m = Luminar();
  const struct {
    const char* label;
    Rect window;
    int32_t clientWidth, clientHeight, caption;
    bool hasMenu;
    SkinnedPlacement expected;
  } cases[] = {
      // Frame 4 on each side, caption 19: the client starts at (104, 123).
      {"sizing frame", {100, 100, 508, 327}, 400, 200, 19, false,
       {4, 4, 100, 80, 408, 228, {}}},
      // A menu of 19 adds to the extra top; the bar goes under the caption band.
      {"with a menu", {100, 100, 508, 346}, 400, 200, 19, true,
       {4, 23, 100, 99, 408, 248, {104, 123, 504, 143}}},
      {"no frame", {0, 0, 300, 200}, 300, 200, 0, false, {0, 0, -4, -24, 308, 228, {}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const SkinnedPlacement got =
        PlaceSkinnedWindow(c.window, c.clientWidth, c.clientHeight, c.caption, m, c.hasMenu, 19);
    EXPECT_EQ(c.expected.borderWidth, got.borderWidth);
    EXPECT_EQ(c.expected.extraTop, got.extraTop);
    EXPECT_EQ(c.expected.left, got.left);
    EXPECT_EQ(c.expected.top, got.top);
    EXPECT_EQ(c.expected.width, got.width);
    EXPECT_EQ(c.expected.height, got.height);
    EXPECT_TRUE(c.expected.menuBar == got.menuBar);
  }
}

TEST(FrameRules, NcCalcSizeMakesRoomForTheSkinsFrame) {
  const SkinMetrics m = Luminar();
  const Rect proposed = {100, 80, 508, 308};
  const struct {
    const char* label;
    int32_t border, extraTop;
    bool thick, bar;
    Rect expected;
  } cases[] = {
      // Before the previous procedure takes its own border (4) off.
      {"thick frame, no bar", 4, 4, true, false, {101, 101, 507, 307}},
      {"no thick frame, no bar", 4, 4, false, false, {100, 100, 508, 308}},
      {"thick frame and a bar", 4, 23, true, true, {101, 101 + 20, 507, 307}},
      {"dialog frame 3", 3, 3, false, false, {101, 101, 507, 307}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const Rect got = SkinnedNcCalcSize(proposed, c.border, c.extraTop, c.thick, c.bar, 19, m);
    EXPECT_TRUE(c.expected == got) << got.left << "," << got.top << "," << got.right << ","
                                    << got.bottom;
  }
  // The previous procedure then takes its frame of 4 off each side: the
  // client of a window without thick frame lost exactly the skin's frame.
  const Rect noThick = SkinnedNcCalcSize(proposed, 4, 4, false, false, 19, m);
  EXPECT_EQ(proposed.left + m.leftFrame, noThick.left + 4);
  EXPECT_EQ(proposed.top + m.captionBand, noThick.top + 4);
  EXPECT_EQ(proposed.right - m.rightFrame, noThick.right - 4);
  EXPECT_EQ(proposed.bottom - m.bottomFrame, noThick.bottom - 4);
}

TEST(FrameRules, HitCodes) {
  const struct {
    int32_t previous;
    bool onButton;
    uint32_t initialStyle;
    int32_t expected;
  } cases[] = {
      {1, true, 0, 19},     {0, false, 0, 2},     {2, false, 0, 2},     {3, false, 0, 2},
      {4, false, 0, 2},     {8, false, 0, 2},     {9, false, 0, 2},     {19, false, 0, 2},
      {20, false, 0, 2},    {21, false, 0, 2},    {1, false, 0, 1},     {18, false, 0, 18},
      {10, false, 0, 0},    {17, false, 0, 0},    {13, false, style::kThickFrame, 13},
      {17, false, style::kThickFrame, 17}, {5, false, 0, 5}, {-1, false, 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("previous " + std::to_string(c.previous));
    EXPECT_EQ(c.expected, SkinnedHitTest(c.previous, c.onButton, c.initialStyle));
  }
}

TEST(FrameRules, MinimumSizeAndHiding) {
  const SkinMetrics m = Luminar();
  EXPECT_TRUE((Size{16, 28}) == MinimumTrackSize(8, 8, 0, m));
  EXPECT_TRUE((Size{16 + 6 + 8, 28}) == MinimumTrackSize(8, 8, 12, m));
  EXPECT_TRUE(IsHideChange(0x97));
  EXPECT_FALSE(IsHideChange(0x97 | 0x200));
  EXPECT_FALSE(IsHideChange(0x80));
}

}  // namespace
}  // namespace skinning
