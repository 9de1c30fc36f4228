// NextScriptedAnswer, the first call of every themecore box: ORB_ANSWERS read
// from the environment of the running process, set, changed and removed.
#include "boxes_answers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "test_support.h"

namespace {

using testsupport::ScopedEnvironment;
using themecore::BoxAnswer;
using themecore::BoxKind;
using themecore::NextScriptedAnswer;

BoxAnswer Sentinel() {
  BoxAnswer answer;
  answer.answered = true;
  answer.button = -7;
  answer.text = "untouched";
  return answer;
}

TEST(ScriptedAnswersWin, UnsetVariableShowsRealBoxes) {
  ScopedEnvironment unset("ORB_ANSWERS", nullptr);
  BoxAnswer answer = Sentinel();
  EXPECT_FALSE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
  EXPECT_FALSE(NextScriptedAnswer(BoxKind::kInputBox, 0, &answer));
  EXPECT_EQ(-7, answer.button);
  EXPECT_EQ("untouched", answer.text);
}

TEST(ScriptedAnswersWin, BoxesTakeAnswersFromTheVariable) {
  ScopedEnvironment answers("ORB_ANSWERS", "2;C:\\out\\a\\;b.iso;yes");
  BoxAnswer answer = Sentinel();
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 3, &answer));
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(2, answer.button);
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kInputBox, 0, &answer));
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ("C:\\out\\a;b.iso", answer.text);
  // Text given to a message box: default button, unanswered.
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
  EXPECT_FALSE(answer.answered);
  EXPECT_EQ(1, answer.button);
  // Used up: still no window, default button.
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
  EXPECT_FALSE(answer.answered);
  EXPECT_EQ(1, answer.button);
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kInputBox, 0, &answer));
  EXPECT_FALSE(answer.answered);
  EXPECT_EQ("", answer.text);
}

TEST(ScriptedAnswersWin, NewValueStartsOver) {
  BoxAnswer answer;
  {
    ScopedEnvironment first("ORB_ANSWERS", "1;2");
    ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
    EXPECT_EQ(1, answer.button);
  }
  {
    ScopedEnvironment second("ORB_ANSWERS", "2;1");
    ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
    EXPECT_EQ(2, answer.button);
    ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
    EXPECT_EQ(1, answer.button);
  }
  // A box that finds the variable removed shows a window; set to the same
  // value again, the answers start over.
  ASSERT_FALSE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
  {
    ScopedEnvironment third("ORB_ANSWERS", "2;1");
    ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(2, answer.button);
  }
}

TEST(ScriptedAnswersWin, EmptyVariableStillHidesBoxes) {
  ScopedEnvironment empty("ORB_ANSWERS", "");
  BoxAnswer answer = Sentinel();
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 2, &answer));
  EXPECT_FALSE(answer.answered);
  EXPECT_EQ(1, answer.button);
}

TEST(ScriptedAnswersWin, KeepsLastError) {
  ScopedEnvironment answers("ORB_ANSWERS", "1");
  BoxAnswer answer;
  SetLastError(ERROR_ACCESS_DENIED);
  ASSERT_TRUE(NextScriptedAnswer(BoxKind::kMessageBox, 1, &answer));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}

}  // namespace
