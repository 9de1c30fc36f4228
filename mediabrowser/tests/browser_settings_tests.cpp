// The media browser's settings and favourites files across restarts, with
// damaged files and with a window saved off the screen, and the file
// associations it registers at every start.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using namespace browsertest;

std::string Lower(std::string text) {
  CharLowerA(text.data());
  return text;
}

std::string FavouritesPath() { return TempFolder() + "orbmedia.fav"; }

RECT WindowPlacement(HWND window) { return harness::WindowRectOf(window); }

HWND ChildOf(HWND window, int id) {
  const FoundChild* child = ChildById(Children(window), id);
  return child != nullptr ? child->window : nullptr;
}

// Presses the first-run notice's button when it shows (a start without
// settings shows it).
void DismissNotice() {
  HWND notice = harness::WaitForWindow("SSLBUILDBOX", kStartMs);
  ASSERT_NE(notice, nullptr) << "the first-run notice did not show";
  // The notice shows before its button is made.
  HWND button = nullptr;
  harness::PumpUntil(
      [&] {
        const FoundChild* found = ChildById(Children(notice), 1);
        button = found != nullptr ? found->window : nullptr;
        return button != nullptr && IsWindowVisible(button);
      },
      5000);
  ASSERT_NE(button, nullptr);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("SSLBUILDBOX", nullptr) == nullptr; }, 5000));
}

// Window placement, folder, type and flags are saved on closing and come
// back at the next start; the favourites too, without the folders that are
// gone.
TEST(BrowserSettings, SurviveARestart) {
  ProgramFolder program("settings restart");
  Folder pictures("orbmedia settings pictures");
  Folder music("orbmedia settings music");
  const std::string pictureFolder = Lower(pictures.path);
  const std::string picturePattern = "*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif;*.tiff";
  WriteFileText(SettingsPath(), " 70| 50| 700| 480|" + pictureFolder + "|" + picturePattern + "| 0|-1|-1");
  // As the browser writes them: lower case, no final backslash.
  const std::string musicLine = Lower(music.path.substr(0, music.path.size() - 1));
  const std::string pictureLine = pictureFolder.substr(0, pictureFolder.size() - 1);
  std::string gone = TempFolder() + "orbmedia settings gone";
  WriteFileText(FavouritesPath(), musicLine + "\r\n" + gone + "\r\n  " + pictureLine + "\r\n");

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  RECT r = WindowPlacement(window);
  EXPECT_EQ(r.left, 70);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 480);
  HWND types = ChildOf(window, 1);
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 4);  // Pictures
  HWND favourites = ChildOf(window, 2);
  ASSERT_NE(favourites, nullptr);
  std::vector<std::string> shown = ComboBoxTexts(favourites);
  const std::string musicShown = " " + musicLine;
  const std::string picturesShown = " " + pictureLine;
  EXPECT_EQ(shown, (std::vector<std::string>{musicShown, picturesShown})) << "the folder that is gone is left out";

  // Moved and resized by the user, then closed.
  ASSERT_TRUE(SetWindowPos(window, nullptr, 120, 90, 640, 400, SWP_NOZORDER | SWP_NOACTIVATE));
  harness::PumpMessagesFor(200);
  CloseBrowser(window, browser);
  EXPECT_EQ(ReadFileText(SettingsPath()),
            " 120| 90| 640| 400|" + pictureFolder + "|" + picturePattern + "| 0|-1|-1");
  EXPECT_EQ(ReadFileText(FavouritesPath()), musicLine + "\r\n" + pictureLine + "\r\n");

  // The next start is where the last one ended.
  window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  r = WindowPlacement(window);
  EXPECT_EQ(r.left, 120);
  EXPECT_EQ(r.top, 90);
  EXPECT_EQ(r.right - r.left, 640);
  EXPECT_EQ(r.bottom - r.top, 400);
  EXPECT_EQ(ComboBoxTexts(ChildOf(window, 2)), (std::vector<std::string>{musicShown, picturesShown}));
  CloseBrowser(window, browser);
  EXPECT_EQ(ReadFileText(SettingsPath()),
            " 120| 90| 640| 400|" + pictureFolder + "|" + picturePattern + "| 0|-1|-1");
}

// Damaged files give the defaults: a centred window of the default size in
// the program folder, the first-run notice, favourites of the start folder
// only; closing writes sound files again.
TEST(BrowserSettings, DamagedFilesGiveTheDefaults) {
  ProgramFolder program("settings damaged");
  const std::string damagedLines[] = {
      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
      "40|top|760|520|c:\\|*.*|0|-1|0",
      " 40| 30| 760| 520|c:\\|*.*| 0|-1| 0| 7| 8",
  };
  for (const std::string& damaged : damagedLines) {
    SCOPED_TRACE(harness::ToHex(damaged));
    WriteFileText(SettingsPath(), damaged);
    WriteFileText(FavouritesPath(), std::string(5000, 'x') + "\r\n" + std::string("c:\\\0\x01zz", 7) + "\r\n");
    harness::Process browser;
    ASSERT_TRUE(browser.start(program.browserCommand()));
    DismissNotice();
    HWND window = FindWindowA("ORBMEDIA", nullptr);
    ASSERT_NE(window, nullptr);
    RECT r = WindowPlacement(window);
    const int width = r.right - r.left, height = r.bottom - r.top;
    EXPECT_EQ(width, 600);
    EXPECT_EQ(height, 400);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    std::string programFolder = Lower(program.path(""));
    programFolder.pop_back();
    EXPECT_EQ(ComboBoxTexts(ChildOf(window, 2)), (std::vector<std::string>{" " + programFolder}));
    HWND types = ChildOf(window, 1);
    EXPECT_EQ(SendMessageA(types, CB_GETCURSEL, 0, 0), 5);  // no pattern: the last type
    CloseBrowser(window, browser);

    std::string line = ReadFileText(SettingsPath());
    EXPECT_EQ(line.rfind(" " + std::to_string(r.left) + "| " + std::to_string(r.top) + "| 600| 400|", 0), 0u)
        << line;
    EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 8) << line;
    EXPECT_EQ(ReadFileText(FavouritesPath()), programFolder + "\r\n");
  }
}

// A window saved on a larger screen (or beyond a monitor since unplugged)
// opens inside the work area, as large as it fits.
TEST(BrowserSettings, WindowSavedOffTheScreenOpensOnIt) {
  ProgramFolder program("settings off screen");
  RECT work = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  struct Case {
    const char* name;
    int left, top, width, height;
  };
  const Case cases[] = {
      {"beyond the bottom right", 3000, 2000, 700, 480},
      {"larger than the screen", 10, 10, 3000, 2500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFileText(SettingsPath(), " " + std::to_string(c.left) + "| " + std::to_string(c.top) + "| " +
                                      std::to_string(c.width) + "| " + std::to_string(c.height) + "|" +
                                      TempFolder() + "|*.*| 0|-1| 0");
    harness::Process browser;
    HWND window = StartBrowser(program, &browser);
    ASSERT_NE(window, nullptr);
    RECT r = WindowPlacement(window);
    EXPECT_GE(r.left, work.left);
    EXPECT_GE(r.top, work.top);
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    EXPECT_EQ(r.right - r.left, std::min<LONG>(c.width, work.right - work.left));
    EXPECT_EQ(r.bottom - r.top, std::min<LONG>(c.height, work.bottom - work.top));
    CloseBrowser(window, browser);
  }
}

// --- file associations ---

std::string DefaultValue(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
  char value[1024] = {};
  DWORD size = sizeof(value) - 1;
  DWORD type = 0;
  LONG result = RegQueryValueExA(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return "<no value>";
  return type == REG_SZ ? std::string(value) : "<not a text>";
}

// The keys the browser registers, innermost first.
void DeleteClassKeys() {
  for (const char* identifier : {"OrbMedia.PlayList", "OrbMedia.Overlay"}) {
    std::string key = identifier;
    for (const char* inner : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, (key + inner).c_str());
    }
  }
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".upl");
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ".obf");
}

// What Windows' own registry tool shows of a key's default value.
std::string RegQuery(const std::string& key) {
  std::string output = TempFolder() + "orbmedia reg query.txt";
  harness::Process reg;
  std::string text;
  if (reg.startWithOutput("reg.exe query \"HKCR\\" + key + "\" /ve", output) && reg.waitExit(15000) == 0) {
    text = ReadFileText(output);
  }
  DeleteFileA(output.c_str());
  return text;
}

TEST(BrowserSettings, FileAssociationsAreRegisteredAndOpenTheBrowser) {
  DeleteClassKeys();
  ProgramFolder program("associations");
  program.Copy("suite_receiver.exe", "orbplay.exe");
  WriteQuietSettings(TempFolder());
  const std::string programFolder = Lower(program.path(""));

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  CloseBrowser(window, browser);

  // Both entries of the text table, the program lower-cased in quotes.
  EXPECT_EQ(DefaultValue(".upl"), "OrbMedia.PlayList");
  EXPECT_EQ(DefaultValue("OrbMedia.PlayList"), "Orb play list");
  EXPECT_EQ(DefaultValue("OrbMedia.PlayList\\shell\\open\\command"), "\"" + programFolder + "orbmedia.exe\" %1");
  EXPECT_EQ(DefaultValue(".obf"), "OrbMedia.Overlay");
  EXPECT_EQ(DefaultValue("OrbMedia.Overlay\\shell\\open\\command"), "\"" + programFolder + "orbpaint.exe\" %1");
  std::string shown = RegQuery(".upl");
  EXPECT_NE(shown.find("OrbMedia.PlayList"), std::string::npos) << shown;
  shown = RegQuery("OrbMedia.PlayList\\shell\\open\\command");
  EXPECT_NE(Lower(shown).find(programFolder + "orbmedia.exe"), std::string::npos) << shown;

  // Opening a list file as the shell does starts the browser, which hands
  // the list to the player.
  const std::string list = TempFolder() + "orbmedia opened.upl";
  WriteFileText(list, "c:\\windows\\win.ini\r\n");
  const std::string log = TempFolder() + "associations ORBPLAY.log";
  DeleteFileA(log.c_str());
  {
    harness::ScopedEnvironment receiverClass("ORB_RECEIVER_CLASS", "*");
    harness::ScopedEnvironment receiverLog("ORB_RECEIVER_LOG", (TempFolder() + "associations *.log").c_str());
    INT_PTR opened = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", list.c_str(), nullptr, nullptr, SW_SHOW));
    EXPECT_GT(opened, 32);
  }
  std::vector<ReceivedLine> received = WaitForReceiverLog(log, 3, 15000);
  ASSERT_EQ(received.size(), 3u);
  EXPECT_EQ(received[0].kind, "start");
  EXPECT_EQ(received[1].kind, "1") << "the player was started by the browser";
  EXPECT_EQ(received[2].kind, "3");
  EXPECT_EQ(Lower(received[2].text), Lower(list));
  HWND player = FindWindowA("ORBPLAY", nullptr);
  if (player != nullptr) suite::SendSuiteCommand(player, suite::CMD_CLOSE, "");
  harness::PumpUntil([] { return FindWindowA("ORBPLAY", nullptr) == nullptr; }, 5000);
  DeleteFileA(list.c_str());
  DeleteFileA(log.c_str());
  DeleteClassKeys();
}

}  // namespace
