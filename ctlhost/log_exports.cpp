// The log and trace exports.  None takes the API lock: the log has its own
// mutex and the trace file its machine-wide one.
#include <windows.h>

#include <cstring>
#include <string>

#include "ctlhost20.h"
#include "library.h"
#include "trace_file.h"

using namespace ctlhost;

namespace {
// A _QXDebug@4 text is taken up to this length.
constexpr size_t kMaxDebugTextChars = 4000;
}  // namespace

extern "C" int WINAPI QXLogEnter(char* text) {
  Library* library = CurrentLibrary();
  return library == nullptr ? 1 : library->log.Enter(text);
}

extern "C" int WINAPI QXLogLeave(int result, int force) {
  Library* library = CurrentLibrary();
  return library == nullptr ? 1 : library->log.Leave(result, force);
}

extern "C" int WINAPI QXLogError(char* text) {
  Library* library = CurrentLibrary();
  return library == nullptr ? 1 : library->log.Error(text);
}

extern "C" int WINAPI QXLogWrite(char* text) {
  if (text == nullptr) return 1;
  Library* library = CurrentLibrary();
  return library == nullptr ? 3 : library->log.WriteLine(text);
}

extern "C" int WINAPI QXLogSetMargin(int delta) {
  if (Library* library = CurrentLibrary()) library->log.SetMargin(delta);
  return 0;
}

// The caller provides at least MAX_PATH (260) bytes.
extern "C" int WINAPI QXGetLogFile(char* out) {
  if (out == nullptr) return 1;
  out[0] = '\0';
  Library* library = CurrentLibrary();
  if (library == nullptr) return 0;
  const std::string& path = library->log.path();
  const size_t length = std::min<size_t>(path.size(), MAX_PATH - 1);
  std::memcpy(out, path.data(), length);
  out[length] = '\0';
  return 0;
}

extern "C" int WINAPI QXDebug(char* text) {
  if (text == nullptr) return 1;
  std::string entry = "\n";
  entry.append(text, strnlen(text, kMaxDebugTextChars));
  TraceWrite(entry.c_str(), true);
  return 0;
}
