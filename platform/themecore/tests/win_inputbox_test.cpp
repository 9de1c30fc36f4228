// SKINPUTBOX under Wine: scripted answers fill the text without a window; a
// real box takes what is typed into its field and gives it back only when
// confirmed.  A timer of the test drives the real box and gives up after a
// few seconds, so a broken box fails instead of hanging.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "test_support.h"
#include "themecore.h"

namespace {

using testsupport::ScopedEnvironment;

constexpr UINT kTimerMs = 50;
constexpr int kGiveUpTicks = 60;

struct InputDriver {
  std::string typed;       // what the timer types into the field
  int button = 1;          // the button it then clicks
  int ticks = 0;
  bool done = false;
  std::string initialText; // what the field held when the box came up
};

InputDriver inputDriver;

BOOL CALLBACK TakeBox(HWND window, LPARAM result) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (std::strcmp(name, "SKMSGBOX") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

void CALLBACK DriveInputBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeBox, reinterpret_cast<LPARAM>(&box));
  if (++inputDriver.ticks > kGiveUpTicks) {
    if (box != nullptr) PostMessageA(box, WM_CLOSE, 0, 0);
    return;
  }
  if (box == nullptr || inputDriver.done) return;
  inputDriver.done = true;
  HWND field = GetDlgItem(box, 100);
  char text[512] = {};
  if (field != nullptr) GetWindowTextA(field, text, sizeof(text));
  inputDriver.initialText = text;
  if (field != nullptr) SetWindowTextA(field, inputDriver.typed.c_str());
  PostMessageA(GetDlgItem(box, inputDriver.button), BM_CLICK, 0, 0);
}

int32_t RunInputBox(const std::string& typed, int button, char* text, int32_t size) {
  inputDriver = InputDriver{};
  inputDriver.typed = typed;
  inputDriver.button = button;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTimerMs, DriveInputBox);
  const int32_t result = SKINPUTBOX(nullptr, nullptr, "Address", "Internet address to play:",
                                    "OK|Cancel", text, size, nullptr, 0);
  KillTimer(nullptr, timer);
  return result;
}

TEST(InputBoxWin, ScriptedAnswersFillTheText) {
  ScopedEnvironment answers("ORB_ANSWERS", "http://radio/live;a very long answer");
  char text[32] = "http://";
  EXPECT_EQ(1, SKINPUTBOX(nullptr, nullptr, "Address", "Prompt", "OK|Cancel", text, sizeof(text),
                          nullptr, 0));
  EXPECT_STREQ("http://radio/live", text);
  char small[8] = "x";
  EXPECT_EQ(1, SKINPUTBOX(nullptr, nullptr, "Address", "Prompt", "OK|Cancel", small, sizeof(small),
                          nullptr, 0));
  EXPECT_STREQ("a very ", small) << "cut to the buffer";
  char kept[16] = "unchanged";
  EXPECT_EQ(2, SKINPUTBOX(nullptr, nullptr, "Address", "Prompt", "OK|Cancel", kept, sizeof(kept),
                          nullptr, 0))
      << "no answer left cancels";
  EXPECT_STREQ("unchanged", kept);
}

TEST(InputBoxWin, RealBoxGivesBackWhatWasTyped) {
  char text[64] = "http://";
  EXPECT_EQ(1, RunInputBox("http://example.org/stream", 1, text, sizeof(text)));
  EXPECT_EQ("http://", inputDriver.initialText);
  EXPECT_STREQ("http://example.org/stream", text);

  char cancelled[64] = "keep me";
  EXPECT_EQ(2, RunInputBox("typed, then cancelled", 2, cancelled, sizeof(cancelled)));
  EXPECT_STREQ("keep me", cancelled);
}

}  // namespace
