// What the picker's and the panel's Wine tests share: steps run from a
// thread timer, so they run inside whatever modal loop is pumping (the
// picker's own), a watchdog that ends a loop that does not end by itself,
// the fixture folder, and reading the open dialog's controls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "test_files.h"

namespace picker_test {

// A step returns true when it is done; the next one then runs at the
// following tick.  A step that is not done yet (the dialog is not there)
// is tried again.
using Step = std::function<bool()>;

// Runs `steps` one per tick of a 40 ms thread timer while it lives.  When
// the steps are not all done within `limitMs`, or once they are and
// `limitMs` has passed again, it posts WM_QUIT, which ends any loop (the
// test then sees the loop's cancel instead of hanging).
class StepDriver {
 public:
  explicit StepDriver(std::vector<Step> steps, DWORD limitMs = 15000);
  ~StepDriver();
  StepDriver(const StepDriver&) = delete;
  StepDriver& operator=(const StepDriver&) = delete;

  bool allDone() const { return next_ >= steps_.size(); }
  bool timedOut() const { return timedOut_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void Run();
  std::vector<Step> steps_;
  size_t next_ = 0;
  DWORD started_ = 0;
  DWORD limitMs_ = 0;
  bool timedOut_ = false;
  UINT_PTR timer_ = 0;
};

// The open picker: its dialog (class ORBDLG inside the skin's popup frame)
// or null.
HWND FindDialog();
HWND FrameOf(HWND dialog);

std::vector<std::string> ListItems(HWND list);
std::string WindowTextOf(HWND window);
// Selects item `index` of the dialog's list as a click does: the selection
// and the LBN_SELCHANGE the list sends its parent.
void SelectItem(HWND dialog, int index);
// Clicks button k (1-based, control id 4 + k).
void ClickButton(HWND dialog, int k);
// A key as the keyboard sends it: WM_KEYDOWN posted to the window with the
// focus, so it passes the dialog's own loop.
void PressKey(UINT key);

// The fixture: a folder with a.MP3, b.wav, c.txt, noext, readonly.mp3 (read
// only), hidden.mp3 (hidden), system.mp3 (system), .x.mp3 and a folder
// "sub" holding d.mp3.  `attributesHeld` tells whether the file system kept
// the hidden and system attributes (Wine keeps them where it can).
class Fixture {
 public:
  Fixture();
  std::string folder() const { return scratch_.path() + "\\"; }
  std::string path(const std::string& name) const { return scratch_.Child(name); }
  bool attributesHeld() const { return attributesHeld_; }
  void Write(const std::string& name, const std::string& bytes = "x") const;

 private:
  harness::ScratchFolder scratch_;
  bool attributesHeld_ = false;
};

}  // namespace picker_test
