// The warning and information boxes under Wine, answered by ORB_ANSWERS so
// that no box window is ever made: the button returned, what the engine was
// given (owner, font, caption, text, buttons, record), the record's
// contents, and the program's hook that runs before every box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orbboxes.h"
#include "themecore.h"
#include "win_test_support.h"

namespace suite::boxes {
namespace {

using boxes_test::RecordingWindow;
using boxes_test::ScopedAnswers;
using boxes_test::ScopedTrace;
using boxes_test::WindowCreationCounter;

class BoxesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(nullptr, main_.hwnd());
    context_.mainWindow = main_.hwnd();
    context_.beforeBox = [this] { ++boxesAnnounced_; };
    SetBoxContext(&context_);
  }
  void TearDown() override { SetBoxContext(nullptr); }

  static uint32_t HandleValue(HICON icon) { return BoxIconField(icon); }
  void ExpectMessageLook(uint32_t icon) {
    EXPECT_EQ(icon, context_.style.icon);
    EXPECT_EQ(static_cast<uint32_t>(SKGETSYSCOLOR(113)), context_.style.colour1);
    EXPECT_EQ(static_cast<uint32_t>(SKGETSYSCOLOR(112)), context_.style.colour2);
    EXPECT_EQ(6u, context_.style.boxKind);
    EXPECT_EQ(0u, context_.style.boxVariant);
    EXPECT_EQ(3u, context_.style.frameValue);
    EXPECT_EQ(3u, context_.style.buttonValue);
  }

  RecordingWindow main_{"Orb Media Test"};
  BoxContext context_;
  int boxesAnnounced_ = 0;
};

TEST_F(BoxesTest, InfoBoxReturnsTheScriptedButton) {
  struct Case {
    const char* name;
    const char* answers;
    const char* buttons;
    int32_t expected;
    const char* traceResult;
  };
  const Case cases[] = {
      {"second of three", "2", "Yes|No|Cancel", 2, " = 2"},
      {"third of three", "3", "Yes|No|Cancel", 3, " = 3"},
      {"first of two", "1", "Yes|No", 1, " = 1"},
      {"beyond the buttons", "3", "Yes|No", 1, " = 1 (unanswered)"},
      {"empty answer", "", "Yes|No", 1, " = 1 (unanswered)"},
      {"one OK", "1", "", 1, " = 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedTrace trace("info");
    ScopedAnswers answers(c.answers);
    WindowCreationCounter boxes("SKMSGBOX");
    ASSERT_TRUE(boxes.installed());
    std::memset(&context_.style, 0xEE, sizeof(context_.style));
    boxesAnnounced_ = 0;

    EXPECT_EQ(c.expected, ShowInfoBox("Delete the file?", c.buttons));

    EXPECT_EQ(0, boxes.count()) << "a scripted answer shows no window";
    EXPECT_EQ(1, boxesAnnounced_);
    // The test program has no "PROGRAM" icon: the box goes without one.
    ExpectMessageLook(HandleValue(LoadIconA(GetModuleHandleA(nullptr), "PROGRAM")));
    EXPECT_EQ(0xEEu, context_.style.defaultButton) << "left to the input boxes";
    const std::vector<std::string> calls = trace.CallsOf("SKMSGBOX");
    ASSERT_EQ(1u, calls.size());
    const std::string expectedArguments = "\"Orb Media Test\", \"Delete the file?\", \"" +
                                          std::string(c.buttons) + "\", style, 0)";
    EXPECT_NE(std::string::npos, calls[0].find(expectedArguments)) << calls[0];
    const std::string end = std::string(c.traceResult);
    ASSERT_GE(calls[0].size(), end.size());
    EXPECT_EQ(end, calls[0].substr(calls[0].size() - end.size())) << calls[0];
  }
}

TEST_F(BoxesTest, WarningBoxHasOneButtonAndTheExclamationIcon) {
  ScopedTrace trace("warning");
  ScopedAnswers answers("2;1");
  WindowCreationCounter boxes("SKMSGBOX");
  ASSERT_TRUE(boxes.installed());
  ShowWarningBox("Cannot read D:\\disc.iso||Access denied.");
  ShowWarningBox("Second");
  EXPECT_EQ(0, boxes.count());
  EXPECT_EQ(2, boxesAnnounced_);
  ExpectMessageLook(HandleValue(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION))));
  EXPECT_NE(0u, context_.style.icon);
  const std::vector<std::string> calls = trace.CallsOf("SKMSGBOX");
  ASSERT_EQ(2u, calls.size());
  EXPECT_NE(std::string::npos,
            calls[0].find("\"Orb Media Test\", \"Cannot read D:\\x5Cdisc.iso||Access denied.\", "
                          "\"\", style, 0) = 1 (unanswered)"))
      << "one OK button: the answer 2 is beyond it; " << calls[0];
  EXPECT_NE(std::string::npos, calls[1].find("\"Second\", \"\", style, 0) = 1")) << calls[1];
}

TEST_F(BoxesTest, WithoutAContextTheBoxHasNoOwner) {
  SetBoxContext(nullptr);
  ScopedTrace trace("no-context");
  ScopedAnswers answers("2");
  EXPECT_EQ(2, ShowInfoBox("Alone", "Yes|No"));
  EXPECT_EQ(0, boxesAnnounced_);
  const std::vector<std::string> calls = trace.CallsOf("SKMSGBOX");
  ASSERT_EQ(1u, calls.size());
  EXPECT_NE(std::string::npos, calls[0].find("SKMSGBOX(0x00000000, ")) << calls[0];
  EXPECT_NE(std::string::npos, calls[0].find("\"\", \"Alone\", \"Yes|No\"")) << calls[0];
}

}  // namespace
}  // namespace suite::boxes
