// What the Wine tests of the boxes share: a scoped environment variable, a
// trace file in TEMP, a test main window that records the messages it gets
// (and never acts on a close or system command), and a count of the engine's
// box windows made while a script answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_files.h"

namespace boxes_test {

using harness::ScopedEnvironment;

// Scripts the box answers for the scope.  The engine keeps its place in a
// script for as long as the variable holds the same text, so every scope
// gets a text of its own: the answers, then one more that no box of the
// test reaches (and that would count as no usable answer).
class ScopedAnswers {
 public:
  explicit ScopedAnswers(const std::string& answers);
  ScopedAnswers(const ScopedAnswers&) = delete;
  ScopedAnswers& operator=(const ScopedAnswers&) = delete;

 private:
  static std::string Unique(const std::string& answers);
  ScopedEnvironment variable_;
};

// A fresh trace file in TEMP, named by ORB_TRACE for the scope.
class ScopedTrace {
 public:
  explicit ScopedTrace(const char* label);
  ~ScopedTrace();
  ScopedTrace(const ScopedTrace&) = delete;
  ScopedTrace& operator=(const ScopedTrace&) = delete;
  // The lines of `function` calls ("SKMSGBOX") in the order written.
  std::vector<std::string> CallsOf(const char* function) const;

 private:
  std::string path_;
  ScopedEnvironment variable_;
};

struct RecordedMessage {
  UINT message = 0;
  WPARAM wParam = 0;
};

// A hidden top-level window of its own class that records WM_CLOSE,
// WM_SYSCOMMAND, WM_KEYDOWN, WM_CHAR and WM_APP + n and answers them with 0, so a
// dispatched close or system command shows in the record and changes
// nothing.
class RecordingWindow {
 public:
  explicit RecordingWindow(const char* title, int x = 100, int y = 100, int width = 400,
                           int height = 300);
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  const std::vector<RecordedMessage>& received() const { return received_; }
  bool Received(UINT message, WPARAM wParam) const;
  void Clear() { received_.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  std::vector<RecordedMessage> received_;
};

// Takes every message of this thread from the queue without dispatching it;
// returns them.
std::vector<MSG> DrainQueue();

// Counts the windows of a class created on this thread for the scope.
class WindowCreationCounter {
 public:
  explicit WindowCreationCounter(const char* className);
  ~WindowCreationCounter();
  WindowCreationCounter(const WindowCreationCounter&) = delete;
  WindowCreationCounter& operator=(const WindowCreationCounter&) = delete;
  int count() const;
  bool installed() const { return hook_ != nullptr; }

 private:
  HHOOK hook_ = nullptr;
};

}  // namespace boxes_test
