// Parsing and consumption of scripted box answers; see scripted_answers.h.
#include "scripted_answers.h"

namespace themecore {

std::vector<std::string> SplitAnswers(std::string_view script) {
  std::vector<std::string> answers;
  if (script.empty()) return answers;
  std::string current;
  for (size_t i = 0; i < script.size(); ++i) {
    char c = script[i];
    if (c == '\\' && i + 1 < script.size() && (script[i + 1] == ';' || script[i + 1] == '\\')) {
      current.push_back(script[i + 1]);
      ++i;
    } else if (c == ';') {
      answers.push_back(std::move(current));
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  answers.push_back(std::move(current));
  return answers;
}

std::optional<int32_t> ParseButtonNumber(std::string_view answer) {
  // Nine digits at most keeps the value inside int32_t.
  if (answer.empty() || answer.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : answer) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1) return std::nullopt;
  return value;
}

AnswerScript::AnswerScript(std::string_view script) : answers_(SplitAnswers(script)) {}

const std::string* AnswerScript::TakeNext() {
  if (next_ >= answers_.size()) return nullptr;
  return &answers_[next_++];
}

BoxAnswer AnswerScript::NextForMessageBox(int32_t buttonCount) {
  if (buttonCount < 1) buttonCount = 1;
  BoxAnswer answer;
  const std::string* scripted = TakeNext();
  if (scripted == nullptr) return answer;
  std::optional<int32_t> button = ParseButtonNumber(*scripted);
  if (!button || *button > buttonCount) return answer;
  answer.answered = true;
  answer.button = *button;
  return answer;
}

BoxAnswer AnswerScript::NextForInputBox() {
  BoxAnswer answer;
  const std::string* scripted = TakeNext();
  if (scripted == nullptr) return answer;
  answer.answered = true;
  answer.text = *scripted;
  return answer;
}

std::string BoxTraceResult(int64_t returnValue, const BoxAnswer& answer) {
  std::string result = std::to_string(returnValue);
  if (!answer.answered) result += " (unanswered)";
  return result;
}

}  // namespace themecore
