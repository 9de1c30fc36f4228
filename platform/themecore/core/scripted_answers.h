// Scripted answers for message and input boxes, so that no test ever waits
// for a person.
//
// ORB_ANSWERS holds the answers a test gives to the boxes of one process, in
// the order the boxes appear, separated by ';'.  Escapes: "\;" is a ';' inside
// an answer and "\\" a single backslash; any other backslash stands for
// itself, so a path like C:\dir\file.txt needs no doubling.  Every separator
// ends one answer, so "1;" is two answers ("1" and ""), while an empty
// variable holds none.
//
//  - A message box takes the next answer as the 1-based number of the button
//    pressed: decimal digits only, 1 up to the box's button count.
//  - An input box takes the next answer, whatever it holds, as the text
//    entered and confirmed with OK ("" is an emptied field).
//  - A message box whose answer is not such a number, or any box when the
//    answers are used up, is unanswered: a message box takes its default
//    button 1, an input box is cancelled.  The answer is used up all the same,
//    so the answers of the boxes after it keep their places.
//
// Portable: the Win32 side (boxes_answers.h) reads the variable and keeps one
// AnswerScript per process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace themecore {

// The answers of a script after escapes are resolved.
std::vector<std::string> SplitAnswers(std::string_view script);

// The button number an answer names: 1..999999999, digits only; else nothing.
std::optional<int32_t> ParseButtonNumber(std::string_view answer);

// What one box takes from the script.
struct BoxAnswer {
  bool answered = false;  // false: no fitting answer, the box took its default
  int32_t button = 1;     // message box: the 1-based button pressed
  std::string text;       // input box: the text entered ("" when unanswered)
};

// The answers of one process and how many boxes have taken theirs.
class AnswerScript {
 public:
  AnswerScript() = default;
  explicit AnswerScript(std::string_view script);

  // The answer of the next message box, of `buttonCount` buttons (less than
  // 1 counts as 1).
  BoxAnswer NextForMessageBox(int32_t buttonCount);
  // The answer of the next input box.
  BoxAnswer NextForInputBox();

  size_t remaining() const { return answers_.size() - next_; }

 private:
  const std::string* TakeNext();

  std::vector<std::string> answers_;
  size_t next_ = 0;
};

// The result as a box writes it to the trace: the return value, followed by
// " (unanswered)" when the script gave the box no answer.
std::string BoxTraceResult(int64_t returnValue, const BoxAnswer& answer);

}  // namespace themecore
