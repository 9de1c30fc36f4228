// SKMSGBOX under Wine: scripted answers (no window at all), and real boxes
// that a timer of the test answers with a key or a button click, checking
// what the box shows while it is up.  Every box is bounded: the timer
// closes a box that did not react within a few seconds, so a broken box
// fails the test instead of hanging it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecore.h"

namespace {

using testsupport::ScopedEnvironment;

constexpr UINT kTimerMs = 50;
constexpr int kGiveUpTicks = 60;  // 3 seconds of ticks

const char kOwnerClass[] = "TCBOXESTESTOWNER";

// What the timer saw of the box, and what it does to it.
struct Driver {
  enum class Action { kEscape, kEnter, kClickButton, kClose };
  Action action = Action::kEscape;
  int button = 0;
  int ticks = 0;
  bool gaveUp = false;
  bool sawBox = false;
  HWND box = nullptr;
  HWND owner = nullptr;
  bool ownerWasDisabled = false;
  std::string caption;
  std::vector<std::string> buttonTexts;
  RECT boxRect = {};
  COLORREF bodyPixel = CLR_INVALID;
};

Driver driver;

BOOL CALLBACK TakeBox(HWND window, LPARAM result) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof(name));
  if (strcmp(name, "SKMSGBOX") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND FindBox() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

void Observe(HWND box) {
  driver.sawBox = true;
  driver.box = box;
  driver.owner = GetWindow(box, GW_OWNER);
  driver.ownerWasDisabled = driver.owner != nullptr && !IsWindowEnabled(driver.owner);
  char text[256] = {};
  GetWindowTextA(box, text, sizeof(text));
  driver.caption = text;
  driver.buttonTexts.clear();
  for (int id = 1; HWND button = GetDlgItem(box, id); ++id) {
    GetWindowTextA(button, text, sizeof(text));
    driver.buttonTexts.push_back(text);
  }
  GetWindowRect(box, &driver.boxRect);
  UpdateWindow(box);
  HDC dc = GetDC(box);
  driver.bodyPixel = GetPixel(dc, 3, (driver.boxRect.bottom - driver.boxRect.top) - 3);
  ReleaseDC(box, dc);
}

void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindBox();
  if (++driver.ticks > kGiveUpTicks) {
    driver.gaveUp = true;
    if (box != nullptr) PostMessageA(box, WM_CLOSE, 0, 0);
    return;
  }
  if (box == nullptr || driver.sawBox) return;
  Observe(box);
  switch (driver.action) {
    case Driver::Action::kEscape:
      PostMessageA(GetFocus() != nullptr ? GetFocus() : box, WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case Driver::Action::kEnter:
      PostMessageA(GetFocus() != nullptr ? GetFocus() : box, WM_KEYDOWN, VK_RETURN, 0);
      break;
    case Driver::Action::kClickButton:
      PostMessageA(GetDlgItem(box, driver.button), BM_CLICK, 0, 0);
      break;
    case Driver::Action::kClose:
      PostMessageA(box, WM_CLOSE, 0, 0);
      break;
  }
}

// Runs one real box, answered by the timer.
int32_t RunBox(Driver::Action action, int button, HWND owner, const char* text,
               const char* buttons, const void* style) {
  driver = Driver{};
  driver.action = action;
  driver.button = button;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTimerMs, Tick);
  const int32_t result = SKMSGBOX(owner, nullptr, "Question", text, buttons, style, 0);
  KillTimer(nullptr, timer);
  return result;
}

class BoxesWin : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    if (!SKCHECKCLASS(kOwnerClass)) {
      ASSERT_NE(0, SKREGISTERCLASS(&wc, kOwnerClass));
    }
    // Never shown: the box centres on the work area.
    owner_ = CreateWindowExA(0, kOwnerClass, "Owner", WS_POPUP, 100, 100, 300, 200, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner_);
  }
  void TearDown() override { DestroyWindow(owner_); }
  HWND owner_ = nullptr;
};

// Counts the boxes made while a script answers.
int boxesCreated = 0;
LRESULT CALLBACK CountBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    char name[32] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof(name));
    if (strcmp(name, "SKMSGBOX") == 0) ++boxesCreated;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(BoxesWin, ScriptedAnswersShowNoBox) {
  testsupport::ScratchFolder folder("boxes");
  const std::string tracePath = folder.Child("trace.txt");
  ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
  ScopedEnvironment answers("ORB_ANSWERS", "2;x;3");
  boxesCreated = 0;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CountBoxes, nullptr, GetCurrentThreadId());
  // A timer that would answer a box shown by mistake with Escape (3).
  driver = Driver{};
  const UINT_PTR timer = SetTimer(nullptr, 0, kTimerMs, Tick);
  EXPECT_EQ(2, SKMSGBOX(owner_, nullptr, "Caption", "Really?", "Yes|No|Cancel", nullptr, 0));
  EXPECT_EQ(1, SKMSGBOX(owner_, nullptr, "Caption", "Text answer", "Yes|No", nullptr, 0))
      << "an answer that is no button number gives the default button";
  EXPECT_EQ(1, SKMSGBOX(owner_, nullptr, "Caption", "Only OK", "", nullptr, 0))
      << "3 is beyond the one OK button";
  EXPECT_EQ(1, SKMSGBOX(owner_, nullptr, "Caption", "Used up", "A|B", nullptr, 0));
  KillTimer(nullptr, timer);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(0, boxesCreated);
  EXPECT_FALSE(driver.sawBox);

  std::string lines;
  ASSERT_TRUE(testsupport::ReadFileBytes(tracePath, &lines));
  std::vector<std::string> calls;
  for (const std::string& line : testsupport::SplitLines(lines)) {
    if (line.find(" themecore SKMSGBOX(") != std::string::npos) calls.push_back(line);
  }
  ASSERT_EQ(4u, calls.size());
  EXPECT_NE(std::string::npos, calls[0].find("\"Really?\", \"Yes|No|Cancel\"")) << calls[0];
  EXPECT_EQ(" = 2", calls[0].substr(calls[0].size() - 4)) << calls[0];
  EXPECT_EQ(" = 1 (unanswered)", calls[1].substr(calls[1].size() - 17)) << calls[1];
  EXPECT_EQ(" = 1 (unanswered)", calls[3].substr(calls[3].size() - 17)) << calls[3];
}

TEST_F(BoxesWin, EscapeChoosesTheLastButton) {
  ScopedEnvironment unset("ORB_ANSWERS", nullptr);
  EXPECT_EQ(3, RunBox(Driver::Action::kEscape, 0, owner_, "Save changes?", "Yes|No|Cancel",
                      nullptr));
  EXPECT_FALSE(driver.gaveUp);
  ASSERT_TRUE(driver.sawBox);
  EXPECT_EQ("Question", driver.caption);
  EXPECT_EQ((std::vector<std::string>{"Yes", "No", "Cancel"}), driver.buttonTexts);
  EXPECT_EQ(owner_, driver.owner);
  EXPECT_TRUE(driver.ownerWasDisabled) << "modal: the owner is disabled while the box is up";
  EXPECT_TRUE(IsWindowEnabled(owner_)) << "and enabled again after";
  EXPECT_FALSE(IsWindow(driver.box));
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(112)), driver.bodyPixel);
}

TEST_F(BoxesWin, ClickedButtonIsReturned) {
  ScopedEnvironment unset("ORB_ANSWERS", nullptr);
  EXPECT_EQ(2, RunBox(Driver::Action::kClickButton, 2, owner_, "Which one?", "One|Two|Three",
                      nullptr));
  EXPECT_FALSE(driver.gaveUp);
  EXPECT_EQ(1, RunBox(Driver::Action::kClose, 0, nullptr, "Alone", "", nullptr))
      << "one OK button; closing the box is its last button";
  EXPECT_EQ((std::vector<std::string>{"OK"}), driver.buttonTexts);
  EXPECT_EQ(nullptr, driver.owner);
}

TEST_F(BoxesWin, StyleRecordGivesColoursAndTheDefaultButton) {
  ScopedEnvironment unset("ORB_ANSWERS", nullptr);
  unsigned char record[60] = {};
  const HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
  const uint32_t iconValue = static_cast<uint32_t>(HandleToLong(icon));
  const COLORREF text = RGB(1, 2, 3);
  const COLORREF back = RGB(200, 210, 220);
  const uint32_t six = 6;
  memcpy(record + 4, &iconValue, 4);
  memcpy(record + 8, &text, 4);
  memcpy(record + 12, &back, 4);
  memcpy(record + 16, &six, 4);
  record[22] = 3;
  record[24] = 2;  // Enter chooses the second button
  record[25] = 3;
  EXPECT_EQ(2, RunBox(Driver::Action::kEnter, 0, owner_, "Proceed?", "Yes|No", record));
  EXPECT_FALSE(driver.gaveUp);
  EXPECT_EQ(back, driver.bodyPixel);
}

TEST_F(BoxesWin, MoreLinesMakeATallerBox) {
  ScopedEnvironment unset("ORB_ANSWERS", nullptr);
  RunBox(Driver::Action::kEscape, 0, owner_, "One line", "OK", nullptr);
  const LONG oneLine = driver.boxRect.bottom - driver.boxRect.top;
  RunBox(Driver::Action::kEscape, 0, owner_, "First line|second line|third line", "OK", nullptr);
  const LONG threeLines = driver.boxRect.bottom - driver.boxRect.top;
  EXPECT_GT(threeLines, oneLine);
  // Centred on the work area when the owner is hidden.
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const LONG middle = (driver.boxRect.left + driver.boxRect.right) / 2;
  EXPECT_NEAR((work.left + work.right) / 2, middle, 2);
}

}  // namespace
