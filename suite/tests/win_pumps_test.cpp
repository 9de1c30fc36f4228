// The cancellable message pumps under Wine: what they do with close
// requests, system commands, Escape and the quit message posted to the
// queue, checked by what the test window received and what is left in the
// queue afterwards.  Escape's question is answered by ORB_ANSWERS.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orbboxes.h"
#include "themecore.h"
#include "win_test_support.h"

namespace suite::boxes {
namespace {

using boxes_test::DrainQueue;
using boxes_test::RecordingWindow;
using boxes_test::ScopedAnswers;
using boxes_test::ScopedTrace;
using boxes_test::WindowCreationCounter;

constexpr UINT kBefore = WM_APP + 1;  // posted ahead of the message under test
constexpr UINT kAfter = WM_APP + 2;   // posted behind it

class PumpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, main_.hwnd());
    ASSERT_NE(nullptr, other_.hwnd());
    DrainQueue();
    context_.mainWindow = main_.hwnd();
    context_.yesNoButtons = "Yes|No";
    context_.cancelCaption = "Stop";
    context_.cancelQuestion = "Stop the operation?";
    SetBoxContext(&context_);
  }
  void TearDown() override {
    SetBoxContext(nullptr);
    DrainQueue();
  }

  RecordingWindow main_{"Main"};
  RecordingWindow other_{"Other", 50, 50, 200, 100};
  BoxContext context_;
};

bool HasMessage(const std::vector<MSG>& queue, HWND hwnd, UINT message, WPARAM wParam,
                LPARAM lParam) {
  for (const MSG& queued : queue) {
    if (queued.hwnd == hwnd && queued.message == message && queued.wParam == wParam &&
        queued.lParam == lParam) {
      return true;
    }
  }
  return false;
}

TEST_F(PumpsTest, OnlyACloseRequestForTheMainWindowCancels) {
  struct Case {
    const char* name;
    bool toMain;
    UINT message;
    WPARAM wParam;
    bool cancels;
  };
  const Case cases[] = {
      {"WM_CLOSE", true, WM_CLOSE, 0, true},
      {"SC_CLOSE", true, WM_SYSCOMMAND, SC_CLOSE, true},
      {"SC_CLOSE from the keyboard", true, WM_SYSCOMMAND, SC_CLOSE | 2, true},
      {"SC_MOVE", true, WM_SYSCOMMAND, SC_MOVE, false},
      {"SC_MINIMIZE", true, WM_SYSCOMMAND, SC_MINIMIZE, false},
      {"SC_MAXIMIZE", true, WM_SYSCOMMAND, SC_MAXIMIZE, false},
      {"WM_CLOSE of another window", false, WM_CLOSE, 0, false},
  };
  const LPARAM kPoint = MAKELPARAM(120, 80);
  for (int poll = 0; poll < 2; ++poll) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (poll ? " (PollForCancel)" : " (PumpAndCheckCancel)"));
      RecordingWindow& target = c.toMain ? main_ : other_;
      main_.Clear();
      other_.Clear();
      ASSERT_TRUE(PostMessageA(main_.hwnd(), kBefore, 0, 0));
      ASSERT_TRUE(PostMessageA(target.hwnd(), c.message, c.wParam, kPoint));
      ASSERT_TRUE(PostMessageA(main_.hwnd(), kAfter, 0, 0));

      const int32_t result = poll ? PollForCancel(0) : PumpAndCheckCancel(0);
      const std::vector<MSG> left = DrainQueue();

      EXPECT_TRUE(main_.Received(kBefore, 0)) << "messages ahead are dispatched";
      if (c.cancels) {
        EXPECT_EQ(poll ? kCancelledByUser : kPumpCancel, result);
        EXPECT_FALSE(target.Received(c.message, c.wParam)) << "not acted on mid-operation";
        EXPECT_TRUE(HasMessage(left, target.hwnd(), c.message, c.wParam, kPoint))
            << "posted again unchanged, for the main loop";
        EXPECT_FALSE(main_.Received(kAfter, 0)) << "the pump stops at the close request";
        EXPECT_TRUE(HasMessage(left, main_.hwnd(), kAfter, 0, 0));
      } else {
        EXPECT_EQ(0, result);
        EXPECT_TRUE(target.Received(c.message, c.wParam)) << "dispatched as usual";
        EXPECT_TRUE(main_.Received(kAfter, 0)) << "and the pump goes on";
        EXPECT_TRUE(left.empty()) << left.size() << " messages left";
      }
      EXPECT_EQ(c.cancels ? c.message : kAfter, context_.lastMessage.message)
          << "the last message taken is kept";
    }
  }
}

TEST_F(PumpsTest, EscapeAsksAndTheAnswerDecides) {
  struct Case {
    const char* name;
    const char* answer;
    int32_t expected;
  };
  const Case cases[] = {
      {"yes stops", "1", kPumpCancel},
      {"no goes on", "2", kPumpGoOn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTrace trace("escape");
    ScopedAnswers answers(c.answer);
    WindowCreationCounter boxes("SKMSGBOX");
    ASSERT_TRUE(boxes.installed());
    main_.Clear();
    SetFocus(nullptr);
    ASSERT_TRUE(PostMessageA(main_.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    ASSERT_TRUE(PostMessageA(main_.hwnd(), kAfter, 0, 0));

    EXPECT_EQ(c.expected, PumpAndCheckCancel(1));
    const std::vector<MSG> left = DrainQueue();

    EXPECT_FALSE(main_.Received(WM_KEYDOWN, VK_ESCAPE)) << "Escape itself is never dispatched";
    EXPECT_FALSE(main_.Received(WM_CHAR, VK_ESCAPE)) << "nor translated";
    EXPECT_EQ(c.expected == kPumpGoOn, main_.Received(kAfter, 0));
    EXPECT_EQ(c.expected != kPumpGoOn, HasMessage(left, main_.hwnd(), kAfter, 0, 0));
    EXPECT_EQ(0, boxes.count());
    EXPECT_EQ(1u, context_.style.boxVariant) << "the cancel question's look";
    EXPECT_EQ(1u, context_.style.buttonValue);
    EXPECT_EQ(3u, context_.style.frameValue);
    EXPECT_EQ(6u, context_.style.boxKind);
    const std::vector<std::string> calls = trace.CallsOf("SKMSGBOX");
    ASSERT_EQ(1u, calls.size());
    EXPECT_NE(std::string::npos,
              calls[0].find("\"Stop\", \"Stop the operation?\", \"Yes|No\", style, 0)"))
        << calls[0];
  }
}

TEST_F(PumpsTest, WaitCursorIsKeptUp) {
  HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  HCURSOR wait = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
  ASSERT_NE(arrow, wait);
  SetCursor(arrow);
  ASSERT_TRUE(PostMessageA(main_.hwnd(), kBefore, 0, 0));
  EXPECT_EQ(0, PumpAndCheckCancel(1));
  EXPECT_EQ(wait, GetCursor());
  SetCursor(arrow);
  ASSERT_TRUE(PostMessageA(main_.hwnd(), kBefore, 0, 0));
  EXPECT_EQ(0, PumpAndCheckCancel(0));
  EXPECT_EQ(arrow, GetCursor()) << "no wait cursor unless asked";
}

TEST_F(PumpsTest, QuitIsPostedAgainAndStops) {
  ASSERT_TRUE(PostMessageA(main_.hwnd(), kBefore, 0, 0));
  PostQuitMessage(7);
  EXPECT_EQ(kPumpCancel, PumpAndCheckCancel(0));
  EXPECT_TRUE(main_.Received(kBefore, 0));
  MSG quit{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_QUIT), quit.message);
  EXPECT_EQ(7u, quit.wParam);

  PostQuitMessage(9);
  EXPECT_EQ(kPumpCancel, PumpWithCancel(""));
  quit = MSG{};
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(9u, quit.wParam);
}

TEST_F(PumpsTest, SearchPumpDispatchesEverything) {
  struct Case {
    const char* name;
    const char* question;
    const char* answer;
    int32_t expected;
    size_t boxes;
  };
  const Case cases[] = {
      {"yes stops", "Stop searching?", "1", kPumpCancel, 1},
      {"no goes on", "Stop searching?", "2", kPumpGoOn, 1},
      {"no question, no box", "", "1", kPumpGoOn, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTrace trace("search");
    ScopedAnswers answers(c.answer);
    main_.Clear();
    ASSERT_TRUE(PostMessageA(main_.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0x00010001));
    ASSERT_TRUE(PostMessageA(main_.hwnd(), WM_CLOSE, 0, 0));
    ASSERT_TRUE(PostMessageA(main_.hwnd(), kAfter, 0, 0));

    EXPECT_EQ(c.expected, PumpWithCancel(c.question));

    EXPECT_TRUE(DrainQueue().empty()) << "runs until the queue is empty";
    EXPECT_TRUE(main_.Received(WM_KEYDOWN, VK_ESCAPE)) << "Escape is dispatched too";
    EXPECT_TRUE(main_.Received(WM_CLOSE, 0)) << "no close check in this pump";
    EXPECT_TRUE(main_.Received(WM_CHAR, VK_ESCAPE)) << "and translated";
    EXPECT_TRUE(main_.Received(kAfter, 0));
    const std::vector<std::string> calls = trace.CallsOf("SKMSGBOX");
    ASSERT_EQ(c.boxes, calls.size());
    if (c.boxes == 1) {
      EXPECT_NE(std::string::npos, calls[0].find("\"Stop\", \"Stop searching?\", \"Yes|No\""))
          << calls[0];
    }
    // Escape, its WM_CHAR, WM_CLOSE and the marker.
    EXPECT_EQ(4u, trace.CallsOf("SKCURSORWAIT").size()) << "the wait cursor for each message";
  }
}

}  // namespace
}  // namespace suite::boxes
