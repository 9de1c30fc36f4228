// The portable rules of the boxes: the style record's byte layout as the
// skin engine reads it, the values each look writes, the wait window's text,
// size and place, and what the cancellable pump does with each message.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/message_box_style.h"
#include "core/pump_rules.h"
#include "core/wait_window_layout.h"

namespace suite::boxes {
namespace {

// Little-endian value of `size` bytes at `offset` of the record's bytes.
uint32_t ReadAt(const MessageBoxStyle& style, size_t offset, size_t size) {
  uint8_t bytes[sizeof(MessageBoxStyle)];
  std::memcpy(bytes, &style, sizeof(bytes));
  uint32_t value = 0;
  for (size_t i = 0; i < size; ++i) value |= static_cast<uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

// Every field written with a distinct value must show at its fixed bytes.
TEST(MessageBoxStyleLayout, FieldsSitAtTheirBytes) {
  MessageBoxStyle style;
  std::memset(&style, 0, sizeof(style));
  style.icon = 0x11223344;
  style.colour1 = 0x00A1B2C3;
  style.colour2 = 0x00D4E5F6;
  style.boxKind = 6;
  style.boxVariant = 0xFFFF;
  style.frameValue = 3;
  style.defaultButton = 2;
  style.buttonValue = 1;
  style.numberX = 0x0102;
  style.numberY = 0x0304;
  style.maxTextLength = 260;
  style.inputWidth = 300;
  style.numberHeight = 0x0506;
  style.inputStyle = 10;
  style.numberValue = 2;
  style.minimum = 0x0708;
  style.maximum = 9999;
  style.value = 0x090A;
  style.escapeButton = 2;
  style.makingButton = 1;
  struct Case {
    const char* name;
    size_t offset;
    size_t size;
    uint32_t expected;
  };
  const Case cases[] = {
      {"icon", 4, 4, 0x11223344},       {"colour 1", 8, 4, 0x00A1B2C3},
      {"colour 2", 12, 4, 0x00D4E5F6},  {"kind", 16, 4, 6},
      {"16-bit value", 20, 2, 0xFFFF},  {"byte at 22", 22, 1, 3},
      {"gap at 23", 23, 1, 0},          {"default button", 24, 1, 2},
      {"byte at 25", 25, 1, 1},         {"number x", 26, 2, 0x0102},
      {"number y", 28, 2, 0x0304},      {"max text length", 30, 2, 260},
      {"input width", 32, 2, 300},      {"number height", 34, 2, 0x0506},
      {"style value", 36, 2, 10},       {"gap at 38", 38, 2, 0},
      {"byte at 40", 40, 1, 2},         {"minimum", 41, 2, 0x0708},
      {"maximum", 43, 2, 9999},         {"value", 45, 2, 0x090A},
      {"gap 47-54", 47, 4, 0},          {"gap 51-54", 51, 4, 0},
      {"escape button", 55, 1, 2},      {"making button", 56, 1, 1},
      {"bytes 0-3", 0, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ReadAt(style, c.offset, c.size)) << "at byte " << c.offset;
  }
  EXPECT_EQ(57u, sizeof(MessageBoxStyle));
}

TEST(MessageBoxStyleLayout, EachLookWritesItsValuesAndNothingElse) {
  struct Case {
    const char* name;
    BoxLook look;
    uint32_t variant;
    uint32_t byte22;
    uint32_t byte25;
  };
  const Case cases[] = {
      {"warning or information", BoxLook::kMessage, 0, 3, 3},
      {"cancel question", BoxLook::kCancelQuestion, 1, 3, 1},
      {"about", BoxLook::kAbout, 0xFFFF, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxStyle style;
    std::memset(&style, 0xEE, sizeof(style));  // what an earlier box left
    PrepareBoxStyle(&style, c.look, 0x1234, 0x00112233, 0x00445566);
    EXPECT_EQ(0x1234u, ReadAt(style, 4, 4));
    EXPECT_EQ(0x00112233u, ReadAt(style, 8, 4));
    EXPECT_EQ(0x00445566u, ReadAt(style, 12, 4));
    EXPECT_EQ(6u, ReadAt(style, 16, 4));
    EXPECT_EQ(c.variant, ReadAt(style, 20, 2));
    EXPECT_EQ(c.byte22, ReadAt(style, 22, 1));
    EXPECT_EQ(c.byte25, ReadAt(style, 25, 1));
    // Not the boxes' business: left as they were.
    EXPECT_EQ(0xEEEEEEEEu, ReadAt(style, 0, 4));
    EXPECT_EQ(0xEEu, ReadAt(style, 23, 1));
    EXPECT_EQ(0xEEu, ReadAt(style, 24, 1)) << "the default button belongs to the input boxes";
    EXPECT_EQ(0xEEEEu, ReadAt(style, 26, 2));
    EXPECT_EQ(0xEEu, ReadAt(style, 56, 1));
  }
}

TEST(WaitWindowText, BlankLineAboveAndBelow) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"empty", "", "\r\r\r"},
      {"one line", "Reading", "\rReading\r\r"},
      {"two lines", "Reading|disc.iso", "\rReading\rdisc.iso\r\r"},
      {"bars only", "||", "\r\r\r\r\r"},
      {"other bytes kept", "A\xE9\tB", "\rA\xE9\tB\r\r"},
      {"cut to 255", std::string(300, 'x'), "\r" + std::string(254, 'x')},
      {"just fits", std::string(252, 'y'), "\r" + std::string(252, 'y') + "\r\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string got = WaitWindowText(c.text);
    EXPECT_EQ(c.expected, got);
    EXPECT_LE(got.size(), kWaitTextMaxBytes);
  }
}

TEST(WaitWindowGeometry, SizeFromTextAndCell) {
  struct Case {
    const char* name;
    int32_t widest, lines, cell, frameX, frameY;
    int32_t width, height;
  };
  const Case cases[] = {
      {"empty text: two blank lines", 0, 0, 16, 3, 3, 38, 38},
      {"one line", 120, 1, 16, 3, 3, 158, 54},
      {"two lines", 200, 2, 13, 4, 2, 234, 56},
      {"no frame", 50, 3, 10, 0, 0, 70, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowSize size = WaitWindowSize(c.widest, c.lines, c.cell, c.frameX, c.frameY);
    EXPECT_EQ(c.width, size.width);
    EXPECT_EQ(c.height, size.height);
  }
}

TEST(WaitWindowGeometry, CentredThenKeptOnScreen) {
  struct Case {
    const char* name;
    ScreenRect anchor;
    WindowSize size;
    int32_t x, y;
  };
  const Case cases[] = {
      {"centred on the screen", {0, 0, 1024, 768}, {200, 100}, 412, 334},
      {"centred on an owner", {100, 50, 500, 350}, {100, 60}, 250, 170},
      {"owner off the left and top", {-400, -300, -100, -100}, {200, 100}, 0, 0},
      {"owner off the right and bottom", {900, 700, 1300, 1000}, {200, 100}, 824, 668},
      {"owner partly off", {950, 10, 1050, 60}, {200, 100}, 824, 0},
      {"wider than the screen", {0, 0, 1024, 768}, {1100, 900}, 0, 0},
      {"odd remainder", {0, 0, 101, 51}, {10, 10}, 45, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const WindowPlace place = CentreAndClamp(c.anchor, c.size, 1024, 768);
    EXPECT_EQ(c.x, place.x);
    EXPECT_EQ(c.y, place.y);
  }
}

TEST(PumpRules, CloseRequestsAndOtherMessages) {
  constexpr uint32_t kScMove = 0xF010;
  constexpr uint32_t kScMinimize = 0xF020;
  constexpr uint32_t kScMaximize = 0xF030;
  constexpr uint32_t kScRestore = 0xF120;
  constexpr uint32_t kScKeyMenu = 0xF100;
  constexpr uint32_t kLeftButtonDown = 0x0201;
  constexpr uint32_t kChar = 0x0102;
  constexpr int32_t kXp = 501;
  constexpr int32_t kOld = 351;
  struct Case {
    const char* name;
    PumpedMessage pumped;
    int32_t osVersion;
    PumpAction expected;
  };
  const Case cases[] = {
      {"WM_CLOSE", {message::kClose, 0, true, false}, kXp, PumpAction::kRepostAndCancel},
      {"SC_CLOSE", {message::kSysCommand, kScClose, true, false}, kXp,
       PumpAction::kRepostAndCancel},
      {"SC_CLOSE from the mouse (low bits set)", {message::kSysCommand, kScClose | 2, true, false},
       kXp, PumpAction::kRepostAndCancel},
      {"SC_MOVE is no cancel", {message::kSysCommand, kScMove, true, false}, kXp,
       PumpAction::kDispatch},
      {"SC_MOVE by keyboard", {message::kSysCommand, kScMove | 2, true, false}, kXp,
       PumpAction::kDispatch},
      {"SC_MINIMIZE is no cancel", {message::kSysCommand, kScMinimize, true, false}, kXp,
       PumpAction::kDispatch},
      {"SC_MAXIMIZE", {message::kSysCommand, kScMaximize, true, false}, kXp,
       PumpAction::kDispatch},
      {"SC_RESTORE", {message::kSysCommand, kScRestore, true, false}, kXp,
       PumpAction::kDispatch},
      {"SC_KEYMENU", {message::kSysCommand, kScKeyMenu, true, false}, kXp, PumpAction::kDispatch},
      {"About... (0)", {message::kSysCommand, 0, true, false}, kXp, PumpAction::kDispatch},
      {"WM_CLOSE for another window", {message::kClose, 0, false, false}, kXp,
       PumpAction::kDispatch},
      {"SC_CLOSE for another window", {message::kSysCommand, kScClose, false, false}, kXp,
       PumpAction::kDispatch},
      {"WM_QUIT", {message::kQuit, 3, false, false}, kXp, PumpAction::kRequeueQuit},
      {"Escape", {message::kKeyDown, kEscapeKey, true, false}, kXp, PumpAction::kAskCancel},
      {"Escape for any window", {message::kKeyDown, kEscapeKey, false, false}, kXp,
       PumpAction::kAskCancel},
      {"another key", {message::kKeyDown, 0x0D, true, false}, kXp, PumpAction::kDispatch},
      {"Escape as a character", {kChar, kEscapeKey, true, false}, kXp, PumpAction::kDispatch},
      {"right click on the list, old system", {message::kRightButtonDown, 0, true, true}, kOld,
       PumpAction::kRepostRightClick},
      {"right click on the list, NT 4", {message::kRightButtonDown, 0, true, true}, 400,
       PumpAction::kDispatch},
      {"right click elsewhere, old system", {message::kRightButtonDown, 0, true, false}, kOld,
       PumpAction::kDispatch},
      {"left click on the list, old system", {kLeftButtonDown, 0, true, true}, kOld,
       PumpAction::kDispatch},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(static_cast<int>(c.expected),
              static_cast<int>(ClassifyPumpedMessage(c.pumped, c.osVersion)));
  }
}

TEST(PumpRules, IsCloseRequest) {
  struct Case {
    const char* name;
    uint32_t message;
    uint32_t wParam;
    bool expected;
  };
  const Case cases[] = {
      {"WM_CLOSE", message::kClose, 0, true},
      {"SC_CLOSE", message::kSysCommand, kScClose, true},
      {"SC_CLOSE + 0xF", message::kSysCommand, kScClose | 0xF, true},
      {"SC_MOVE", message::kSysCommand, 0xF010, false},
      {"SC_MINIMIZE", message::kSysCommand, 0xF020, false},
      {"WM_DESTROY", 0x0002, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, IsCloseRequest(c.message, c.wParam));
  }
}

}  // namespace
}  // namespace suite::boxes
