// Scripted box answers: splitting ORB_ANSWERS, and what each box takes.
#include "scripted_answers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using themecore::AnswerScript;
using themecore::BoxAnswer;

std::string Show(const std::vector<std::string>& answers) {
  std::string shown = "[";
  for (size_t i = 0; i < answers.size(); ++i) shown += (i ? "|" : "") + answers[i];
  return shown + "] (" + std::to_string(answers.size()) + ")";
}

struct SplitCase {
  const char* name;
  std::string script;
  std::vector<std::string> expected;
};

TEST(ScriptedAnswers, SplitsAndUnescapes) {
  const SplitCase cases[] = {
      {"empty holds no answers", "", {}},
      {"one number", "2", {"2"}},
      {"numbers and text", "1;file name.txt;3", {"1", "file name.txt", "3"}},
      {"trailing separator adds an empty answer", "1;", {"1", ""}},
      {"leading separator", ";1", {"", "1"}},
      {"empty answers in the middle", "a;;b", {"a", "", "b"}},
      {"only a separator", ";", {"", ""}},
      {"escaped separator", "a\\;b;c", {"a;b", "c"}},
      {"escaped backslash", "a\\\\;b", {"a\\", "b"}},
      {"escaped backslash then escaped separator", "\\\\\\;", {"\\;"}},
      {"path needs no doubling", "C:\\dir\\file.txt;2", {"C:\\dir\\file.txt", "2"}},
      {"backslash at the end stays", "a\\", {"a\\"}},
      {"backslash before other byte stays", "\\n\\x", {"\\n\\x"}},
      {"blanks are kept", " 1 ; x ", {" 1 ", " x "}},
      {"high bytes pass", "caf\xE9;\xFF", {"caf\xE9", "\xFF"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> got = themecore::SplitAnswers(c.script);
    EXPECT_EQ(c.expected, got) << "expected " << Show(c.expected) << ", got " << Show(got);
  }
}

struct ButtonCase {
  const char* name;
  std::string answer;
  int32_t expected;  // 0: not a button number
};

TEST(ScriptedAnswers, ParsesButtonNumbers) {
  const ButtonCase cases[] = {
      {"one", "1", 1},
      {"seven", "7", 7},
      {"leading zero", "02", 2},
      {"nine digits", "999999999", 999999999},
      {"ten digits overflow guard", "1000000000", 0},
      {"zero is no button", "0", 0},
      {"empty", "", 0},
      {"sign", "+1", 0},
      {"negative", "-1", 0},
      {"blank around", " 1", 0},
      {"text", "yes", 0},
      {"number then text", "1a", 0},
  };
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<int32_t> got = themecore::ParseButtonNumber(c.answer);
    EXPECT_EQ(c.expected, got.value_or(0));
  }
}

// One box in a sequence: which kind, how many buttons, what it should take.
struct BoxStep {
  bool isMessageBox;
  int32_t buttonCount;
  bool expectAnswered;
  int32_t expectButton;
  std::string expectText;
};

struct SequenceCase {
  const char* name;
  std::string script;
  std::vector<BoxStep> boxes;
};

TEST(ScriptedAnswers, BoxesTakeAnswersInOrder) {
  const SequenceCase cases[] = {
      {"message boxes take their buttons",
       "2;1;3",
       {{true, 2, true, 2, ""}, {true, 2, true, 1, ""}, {true, 3, true, 3, ""}}},
      {"exhausted answers give default button 1 and cancel input",
       "2",
       {{true, 3, true, 2, ""}, {true, 3, false, 1, ""}, {false, 0, false, 1, ""}}},
      {"empty script answers nothing", "", {{true, 2, false, 1, ""}, {false, 0, false, 1, ""}}},
      {"text given to a message box is used up unanswered",
       "yes;2",
       {{true, 2, false, 1, ""}, {true, 2, true, 2, ""}}},
      {"button beyond the box's count is unanswered",
       "3;2",
       {{true, 2, false, 1, ""}, {true, 2, true, 2, ""}}},
      {"zero button count counts as one",
       "1;2",
       {{true, 0, true, 1, ""}, {true, -5, false, 1, ""}}},
      {"input box takes text, numbers and empty answers",
       "new name;42;;a\\;b",
       {{false, 0, true, 1, "new name"},
        {false, 0, true, 1, "42"},
        {false, 0, true, 1, ""},
        {false, 0, true, 1, "a;b"},
        {false, 0, false, 1, ""}}},
      {"mixed boxes",
       "C:\\out\\disc.iso;1;2",
       {{false, 0, true, 1, "C:\\out\\disc.iso"}, {true, 2, true, 1, ""}, {true, 2, true, 2, ""}}},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    AnswerScript script(c.script);
    for (size_t i = 0; i < c.boxes.size(); ++i) {
      SCOPED_TRACE("box " + std::to_string(i + 1));
      const BoxStep& step = c.boxes[i];
      BoxAnswer got =
          step.isMessageBox ? script.NextForMessageBox(step.buttonCount) : script.NextForInputBox();
      EXPECT_EQ(step.expectAnswered, got.answered);
      if (step.isMessageBox) {
        EXPECT_EQ(step.expectButton, got.button);
      }
      EXPECT_EQ(step.expectText, got.text);
    }
  }
}

TEST(ScriptedAnswers, CountsRemainingAnswers) {
  AnswerScript script("1;two;3");
  EXPECT_EQ(3u, script.remaining());
  script.NextForInputBox();
  script.NextForMessageBox(2);
  EXPECT_EQ(1u, script.remaining());
  script.NextForMessageBox(3);
  script.NextForMessageBox(3);
  EXPECT_EQ(0u, script.remaining());
}

TEST(ScriptedAnswers, TraceResultMarksUnanswered) {
  BoxAnswer answered;
  answered.answered = true;
  answered.button = 2;
  BoxAnswer unanswered;
  EXPECT_EQ("2", themecore::BoxTraceResult(2, answered));
  EXPECT_EQ("1 (unanswered)", themecore::BoxTraceResult(1, unanswered));
  EXPECT_EQ("0 (unanswered)", themecore::BoxTraceResult(0, unanswered));
}

}  // namespace
