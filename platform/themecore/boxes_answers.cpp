// The process's scripted box answers: reads ORB_ANSWERS and hands out one
// answer per box.  The parsing and the rules live in core/scripted_answers.
#include "boxes_answers.h"

#include <windows.h>

#include <mutex>
#include <string>

#include "environment_win.h"

namespace themecore {

namespace {

struct ScriptState {
  std::mutex mutex;
  bool isLoaded = false;
  std::string source;  // the variable's value the script was made from
  AnswerScript script;
};

ScriptState& State() {
  static ScriptState state;
  return state;
}

}  // namespace

bool NextScriptedAnswer(BoxKind kind, int32_t buttonCount, BoxAnswer* answer) {
  const DWORD savedError = GetLastError();
  std::string value;
  bool isSet = ReadEnvironmentVariable("ORB_ANSWERS", &value);
  ScriptState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!isSet) {
    state.isLoaded = false;
    state.source.clear();
    SetLastError(savedError);
    return false;
  }
  if (!state.isLoaded || state.source != value) {
    state.script = AnswerScript(value);
    state.source = std::move(value);
    state.isLoaded = true;
  }
  *answer = kind == BoxKind::kMessageBox ? state.script.NextForMessageBox(buttonCount)
                                         : state.script.NextForInputBox();
  SetLastError(savedError);
  return true;
}

}  // namespace themecore
