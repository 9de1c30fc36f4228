// The skinning library in a separate host program that uses it as the disc
// burner does (themeapi_host.exe): the library starts the skin engine with
// the skin file beside the program, the window shows the skin, and real
// input from the X display (xdotool) works its caption buttons and keys.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/caption_layout.h"
#include "harness.h"
#include "test_files.h"
#include "themeapi_test_support.h"
#include "themecore.h"
#include "unix_tools.h"

namespace {

constexpr uint32_t kAllButtons = 0x4F;

// The host, its library and engine copied into a folder of their own with
// (or without) the skin file the library looks for.
class HostProgram {
 public:
  HostProgram(bool withSkin, int effect) : folder_("themeapi host") {
    const std::string from = harness::ProgramFolder();
    for (const char* file : {"themeapi_host.exe", "themeapi.dll", "themecore.dll"}) {
      copied_ = copied_ && CopyFileA((from + file).c_str(), folder_.Child(file).c_str(), FALSE);
    }
    if (withSkin) copied_ = copied_ && harness::WriteFileBytes(folder_.Child("LUMINAR.SKS"), skintest::FlatSkinText());
    log_ = folder_.Child("host.log");
    started_ = copied_ && process_.start("\"" + folder_.Child("themeapi_host.exe") + "\" " + std::to_string(effect) +
                                         " \"" + log_ + "\"");
  }
  ~HostProgram() {
    process_.kill();
    process_.waitExit(5000);
  }
  bool started() const { return started_; }
  std::vector<std::string> Log() const {
    std::string text;
    harness::ReadFileBytes(log_, &text);
    return harness::SplitLines(text);
  }
  bool Logged(const std::string& line) const {
    for (const std::string& l : Log()) {
      if (l == line) return true;
    }
    return false;
  }
  harness::Process& process() { return process_; }

 private:
  harness::ScratchFolder folder_;
  bool copied_ = true;
  bool started_ = false;
  std::string log_;
  harness::Process process_;
};

bool Xdotool(const std::string& arguments) {
  int status = -1;
  return harness::RunUnixCommand("xdotool " + arguments, 10000, nullptr, &status) && status == 0;
}

POINT ButtonCentre(HWND window, int32_t button, uint32_t state) {
  RECT rect;
  GetWindowRect(window, &rect);
  skinning::SkinMetrics m;
  m.captionBand = SKGETSYSTEMMETRICS(1);
  m.buttonWidth = SKGETSYSTEMMETRICS(7);
  m.buttonHeight = SKGETSYSTEMMETRICS(8);
  m.buttonsRight = SKGETSYSTEMMETRICS(9);
  m.buttonTop = SKGETSYSTEMMETRICS(10);
  for (const skinning::ButtonBox& box :
       skinning::CaptionButtonBoxes(rect.right - rect.left, kAllButtons, state, m)) {
    if (box.button == button) {
      return {rect.left + (box.box.left + box.box.right) / 2, rect.top + (box.box.top + box.box.bottom) / 2};
    }
  }
  return {-1, -1};
}

void ClickAt(POINT at) {
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(at.x) + " " + std::to_string(at.y) + " click 1"));
  harness::PumpMessagesFor(300);
}

HWND WaitForHost(HostProgram& host) {
  HWND window = harness::WaitForWindow("THEMEAPIHOST", 15000);
  if (window == nullptr) return nullptr;
  harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE && host.Logged("skinned 1"); }, 5000);
  harness::PumpMessagesFor(500);
  return window;
}

TEST(ThemeapiHostProgram, TheLibraryStartsTheEngineWithTheSkinBesideTheProgram) {
  HostProgram host(true, 2);
  ASSERT_TRUE(host.started());
  HWND window = WaitForHost(host);
  ASSERT_NE(nullptr, window);
  EXPECT_TRUE(host.Logged("skinned 1"));
  EXPECT_NE(0, GetWindowLongA(window, GWL_STYLE) & WS_POPUP);
  RECT rect;
  GetWindowRect(window, &rect);
  harness::Bmp24 screen;
  ASSERT_TRUE(skintest::GrabScreen(rect, &screen));
  EXPECT_EQ(skintest::kCaptionColour, screen.at(150, 20)) << "the flat skin's caption, after the fade";
  EXPECT_EQ(skintest::kBorderColour, screen.at(2, 150));
  EXPECT_EQ(skintest::kPanelColour, screen.at(300, 200));
}

TEST(ThemeapiHostProgram, WithoutASkinFileNothingChanges) {
  HostProgram host(false, 1);
  ASSERT_TRUE(host.started());
  HWND window = harness::WaitForWindow("THEMEAPIHOST", 15000);
  ASSERT_NE(nullptr, window);
  // The host logs the result, then shows its window.
  ASSERT_TRUE(harness::PumpUntil([&] { return host.Logged("skinned 0") && IsWindowVisible(window); }, 5000));
  EXPECT_EQ(static_cast<LONG>(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS),
            GetWindowLongA(window, GWL_STYLE) & ~(WS_MAXIMIZE | WS_MINIMIZE));
  EXPECT_EQ(nullptr, GetDlgItem(window, 32196)) << "no caption buttons";
}

TEST(ThemeapiHostProgram, RealInputWorksTheCaptionButtonsAndKeys) {
  HostProgram host(true, 0);
  ASSERT_TRUE(host.started());
  HWND window = WaitForHost(host);
  ASSERT_NE(nullptr, window);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);

  ClickAt(ButtonCentre(window, skinning::kMaximizeButton, 0));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsZoomed(window) != FALSE; }, 5000)) << "maximized";
  ClickAt(ButtonCentre(window, skinning::kRestoreButton, skinning::kMaximizedByCaption));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsZoomed(window) == FALSE; }, 5000)) << "restored";
  harness::PumpMessagesFor(800);

  // Keys go where the pointer is (no window manager gives the focus).
  RECT rect;
  GetWindowRect(window, &rect);
  ASSERT_TRUE(Xdotool("mousemove " + std::to_string(rect.left + 300) + " " + std::to_string(rect.top + 200)));
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);
  // Alt and a button's access key presses it; the disabled one does not.
  ASSERT_TRUE(Xdotool("key alt+l"));
  EXPECT_TRUE(harness::PumpUntil([&] { return host.Logged("command 10 1"); }, 5000)) << "Alt+L";
  ASSERT_TRUE(Xdotool("key alt+e"));
  harness::PumpMessagesFor(500);
  for (const std::string& line : host.Log()) EXPECT_NE(0u, line.rfind("command 9 ", 0)) << line;

  ASSERT_TRUE(Xdotool("key alt+F4"));
  EXPECT_TRUE(harness::PumpUntil([&] { return host.Logged("destroyed"); }, 5000)) << "Alt+F4";
  EXPECT_EQ(0, host.process().waitExit(5000));
}

TEST(ThemeapiHostProgram, TheCloseButtonClosesTheProgram) {
  HostProgram host(true, 0);
  ASSERT_TRUE(host.started());
  HWND window = WaitForHost(host);
  ASSERT_NE(nullptr, window);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);
  ClickAt(ButtonCentre(window, skinning::kMinimizeButton, 0));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000)) << "minimized";
  ShowWindow(window, SW_RESTORE);
  harness::PumpMessagesFor(1000);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);
  ClickAt(ButtonCentre(window, skinning::kCloseButton, 0));
  EXPECT_TRUE(harness::PumpUntil([&] { return host.Logged("destroyed"); }, 5000));
  EXPECT_TRUE(host.Logged("syscommand " + std::to_string(SC_CLOSE)));
  EXPECT_EQ(0, host.process().waitExit(5000));
}

}  // namespace
