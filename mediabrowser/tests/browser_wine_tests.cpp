// The media browser under Wine, started as a user starts it: from a program
// folder holding orbmedia.exe, its text table, the skin and the DLLs.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "browser_test_support.h"
#include "dib_canvas.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using namespace browsertest;

// The side of the icon the skin engine's boxes draw.
constexpr int kIconSide = 32;

// Whether `picture` appears somewhere in `image`, pixel for pixel (a step or
// two of difference per channel allowed for blending).
bool ContainsPicture(const harness::Bmp24& image, const harness::DibCanvas& picture) {
  auto isClose = [](COLORREF a, COLORREF b) {
    return abs(GetRValue(a) - GetRValue(b)) <= 6 && abs(GetGValue(a) - GetGValue(b)) <= 6 &&
           abs(GetBValue(a) - GetBValue(b)) <= 6;
  };
  for (int top = 0; top + picture.height() <= image.height; ++top) {
    for (int left = 0; left + picture.width() <= image.width; ++left) {
      bool same = true;
      for (int y = 0; y < picture.height() && same; ++y) {
        for (int x = 0; x < picture.width() && same; ++x) {
          same = isClose(image.at(left + x, top + y), picture.At(x, y));
        }
      }
      if (same) return true;
    }
  }
  return false;
}

TEST(MediaBrowser, StartsWithItsControlsAndClosesCleanly) {
  ProgramFolder program("start");
  WriteQuietSettings(TempFolder());
  DeleteFileA((TempFolder() + "orbmedia.fav").c_str());
  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Orb Media");
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_SYSMENU), WS_POPUP | WS_SYSMENU);

  std::vector<FoundChild> children = Children(window);
  struct Expected { int id; const char* className; };
  const Expected expected[] = {
      {1, "ComboBox"}, {2, "ComboBox"}, {3, "ListBox"}, {4, "ListBox"}, {32766, "skBff"},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    const FoundChild* child = ChildById(children, e.id);
    ASSERT_NE(child, nullptr);
    EXPECT_TRUE(SameText(child->className, e.className)) << child->className;
    EXPECT_TRUE(IsWindowVisible(child->window));
  }
  for (int id : {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 95}) {
    EXPECT_NE(ChildById(children, id), nullptr) << "button " << id;
  }
  const FoundChild* fileList = ChildById(children, 3);
  ASSERT_NE(fileList, nullptr);
  LONG listStyle = GetWindowLongA(fileList->window, GWL_STYLE);
  EXPECT_EQ(listStyle & (LBS_MULTICOLUMN | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED),
            LBS_MULTICOLUMN | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED);
  // The type box lists the media types of the text table, the last one
  // selected for the pattern "*.*".
  const FoundChild* types = ChildById(children, 1);
  ASSERT_NE(types, nullptr);
  EXPECT_EQ(SendMessageA(types->window, CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(SendMessageA(types->window, CB_GETCURSEL, 0, 0), 5);

  const FoundChild* favourites = ChildById(children, 2);
  ASSERT_NE(favourites, nullptr);
  EXPECT_EQ(SendMessageA(favourites->window, CB_GETCURSEL, 0, 0), 0);

  harness::PumpMessagesFor(500);
  std::string shot = TempFolder() + "orbmedia_start.bmp";
  EXPECT_TRUE(harness::CaptureWindowToBmp(window, shot));
  CloseBrowser(window, browser);

  // Closing wrote the settings line again: nine fields, the placement kept.
  std::string line = ReadFileText(SettingsPath());
  EXPECT_EQ(line.rfind(" 40| 30| 760| 520|", 0), 0u) << line;
  EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 8) << line;
  // ... and the favourites: the start folder first, as the browser shows
  // folders (lower case, without the final backslash).
  std::string expectedFolder = TempFolder();
  expectedFolder.pop_back();
  CharLowerA(expectedFolder.data());
  std::vector<std::string> favouriteLines = ReadLines(TempFolder() + "orbmedia.fav");
  ASSERT_FALSE(favouriteLines.empty());
  EXPECT_EQ(favouriteLines[0], expectedFolder);
}

// The menus the browser builds, as the skin engine's trace shows them: the
// skin menu lists the skin folders beside the program, and the module menu
// keeps only the modules that are installed.
TEST(MediaBrowser, MenusListSkinsAndInstalledModules) {
  ProgramFolder program("menus");
  program.Copy("suite_receiver.exe", "orbplay.exe");
  for (const char* skin : {"blue", "green"}) {
    std::string folder = program.path(skin);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileText(folder + "\\panel.skp", "panel");
    WriteFileText(folder + "\\" + (std::string(skin) == "blue" ? "BLUE.SKS" : "green.sks"), "skin");
  }
  CreateDirectoryA(program.path("not a skin").c_str(), nullptr);
  WriteFileText(program.path("not a skin") + "\\only.sks", "skin");
  WriteQuietSettings(TempFolder());
  std::string trace = TempFolder() + "orbmedia_menus_trace.txt";
  DeleteFileA(trace.c_str());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}});
  ASSERT_NE(window, nullptr);
  CloseBrowser(window, browser);

  std::string line;
  for (const std::string& traced : ReadLines(trace)) {
    if (traced.find("SKCHANGEMENU(") != std::string::npos) line = traced;
  }
  ASSERT_FALSE(line.empty());
  // Menu 3 holds the two skins in folder order, whatever that order is.
  bool blueFirst = line.find("\\x00Blue|Green\\x00") != std::string::npos;
  bool greenFirst = line.find("\\x00Green|Blue\\x00") != std::string::npos;
  EXPECT_TRUE(blueFirst || greenFirst) << line;
  EXPECT_EQ(line.find("Not a skin"), std::string::npos) << line;
  // Menu 10 keeps the media player only; its action stays at 1001.
  EXPECT_NE(line.find("\\x00Media &player\\x00"), std::string::npos) << line;
  EXPECT_EQ(line.find("Picture &tool|"), std::string::npos) << line;
  EXPECT_NE(line.find("1001=orbplay.exe,ORBPLAY\\x00"), std::string::npos) << line;
  EXPECT_EQ(line.find("1002="), std::string::npos) << line;
  EXPECT_EQ(line.find("212="), std::string::npos) << line;
}

// Suite commands from another program: 23 lists a folder, 11-16 choose the
// media type (and list again), unknown codes are answered 1 and change
// nothing, 10 closes.
TEST(MediaBrowser, SuiteCommandsListFoldersAndChooseTypes) {
  ProgramFolder program("commands");
  std::string fixture = TempFolder() + "orbmedia fixture\\";
  RemoveTree(fixture);
  CreateDirectoryA(fixture.c_str(), nullptr);
  for (const char* name : {"a.avi", "B.AVI", "c.txt", "d.jpg", "e.JPG", "f.obf", ".hidden.avi", "noext"}) {
    WriteFileText(fixture + name, "x");
  }
  CreateDirectoryA((fixture + "folder.avi").c_str(), nullptr);
  WriteQuietSettings(TempFolder());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  std::vector<FoundChild> children = Children(window);
  const FoundChild* types = ChildById(children, 1);
  const FoundChild* files = ChildById(children, 3);
  ASSERT_NE(types, nullptr);
  ASSERT_NE(files, nullptr);
  HWND status = nullptr;
  for (const FoundChild& child : children) {
    if (SameText(child.className, "SKSTATUS")) status = child.window;
  }

  struct Step {
    const char* name;
    uint32_t code;
    std::string text;
    int type;      // selected media type afterwards
    int files;     // entries of the file list afterwards
  };
  std::string folder = fixture.substr(0, fixture.size() - 1);
  const Step steps[] = {
      {"list the fixture, all files", suite::CMD_GO_TO_FOLDER, folder, 5, 6},
      {"video", 11, "", 0, 2},
      {"pictures", 15, "", 4, 2},
      {"unknown code", 99, "x", 4, 2},
      {"code 22 for another folder", suite::CMD_FOLDER_CHANGED, "C:\\", 4, 2},
      {"all files again", 16, "", 5, 6},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    EXPECT_EQ(suite::SendSuiteCommand(window, step.code, step.text), 1);
    EXPECT_EQ(SendMessageA(types->window, CB_GETCURSEL, 0, 0), step.type);
    EXPECT_EQ(SendMessageA(files->window, LB_GETCOUNT, 0, 0), step.files);
  }
  ASSERT_NE(status, nullptr);
  std::string lowerFolder = folder;
  CharLowerA(lowerFolder.data());
  EXPECT_EQ(harness::WindowText(status), "6 files in " + lowerFolder);

  CloseBrowser(window, browser);
  // The folder the browser was sent to is the one it saves.
  std::string line = ReadFileText(SettingsPath());
  EXPECT_NE(line.find("|" + lowerFolder + "\\|*.*|"), std::string::npos) << line;
  RemoveTree(fixture);
}

// The collection commands of the buttons and menus, sent as WM_COMMAND:
// select and add files, remove, clear after a scripted question, and hand
// the selection to the player.
TEST(MediaBrowser, CollectionCommandsFillAndHandOver) {
  ProgramFolder program("collection");
  std::string fixture = TempFolder() + "orbmedia collection\\";
  RemoveTree(fixture);
  CreateDirectoryA(fixture.c_str(), nullptr);
  for (const char* name : {"a.avi", "b.avi", "c.jpg"}) WriteFileText(fixture + name, "x");
  WriteQuietSettings(TempFolder());
  std::string log = TempFolder() + "orbmedia_collection_player.log";
  DeleteFileA(log.c_str());
  harness::Process player;
  ASSERT_TRUE(player.start("\"" + harness::ProgramFolder() + "orbdriver.exe\" peer ORBPLAY " +
                           suite::QuoteArgument(log) + " 60"));
  HWND playerWindow = harness::WaitForWindow("ORBPLAY", kStartMs);
  ASSERT_NE(playerWindow, nullptr);

  // The first clearing is answered "No", the second "Yes"; the address box
  // gets an address.
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", "2;1;http://radio.example/live"}});
  ASSERT_NE(window, nullptr);
  std::vector<FoundChild> children = Children(window);
  const FoundChild* files = ChildById(children, 3);
  const FoundChild* collection = ChildById(children, 4);
  ASSERT_NE(files, nullptr);
  ASSERT_NE(collection, nullptr);
  std::string folder = fixture.substr(0, fixture.size() - 1);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, folder), 1);
  ASSERT_EQ(SendMessageA(files->window, LB_GETCOUNT, 0, 0), 3);

  struct Step {
    const char* name;
    WPARAM command;
    int fileSelection;   // selected files afterwards
    int collection;      // collection entries afterwards
  };
  const Step steps[] = {
      {"select all files", 112, 3, 0},
      {"add the selection", 5, 3, 3},
      {"clear the file selection", 114, 0, 3},
      {"invert it", 113, 3, 3},
      {"add every file", 6, 3, 6},
      {"remove the added (selected) entries", 10, 3, 3},
      {"clear, answered no", 11, 3, 3},
      {"clear, answered yes", 202, 3, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    SendMessageA(window, WM_COMMAND, step.command, 0);
    EXPECT_EQ(SendMessageA(files->window, LB_GETSELCOUNT, 0, 0), step.fileSelection);
    EXPECT_EQ(SendMessageA(collection->window, LB_GETCOUNT, 0, 0), step.collection);
  }

  // Play the selected files: the player gets their full paths.  Then an
  // internet address typed into the address box (the third answer).
  SendMessageA(window, WM_COMMAND, 101, 0);
  SendMessageA(window, WM_COMMAND, 8, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));
  CloseBrowser(window, browser);
  suite::SendSuiteCommand(playerWindow, suite::CMD_CLOSE, "");
  EXPECT_EQ(player.waitExit(kStartMs), 0);
  std::vector<std::string> lines = ReadLines(log);
  std::string lowerFolder = folder;
  CharLowerA(lowerFolder.data());
  std::string items = lowerFolder + "\\a.avi|" + lowerFolder + "\\b.avi|" + lowerFolder + "\\c.jpg";
  std::string address = "http://radio.example/live";
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "3 " + std::to_string(items.size()) + " " + std::to_string(items.size() + 1) +
                          " " + harness::ToHex(items) + "00");
  EXPECT_EQ(lines[1], "3 " + std::to_string(address.size()) + " " +
                          std::to_string(address.size() + 1) + " " + harness::ToHex(address) + "00");
  RemoveTree(fixture);
}

// The folder tree drives the file list: code 23 selects the folder in the
// tree; a selection the user makes (keys sent to the tree) lists that
// folder and puts it first among the favourites.
TEST(MediaBrowser, TreeSelectionListsTheFolder) {
  ProgramFolder program("tree");
  std::string fixture = TempFolder() + "orbmedia tree\\";
  RemoveTree(fixture);
  CreateDirectoryA(fixture.c_str(), nullptr);
  CreateDirectoryA((fixture + "Alpha").c_str(), nullptr);
  CreateDirectoryA((fixture + "beta").c_str(), nullptr);
  WriteFileText(fixture + "Alpha\\one.avi", "x");
  WriteFileText(fixture + "beta\\two.avi", "x");
  WriteFileText(fixture + "beta\\three.avi", "x");
  WriteQuietSettings(TempFolder());
  DeleteFileA((TempFolder() + "orbmedia.fav").c_str());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  std::vector<FoundChild> children = Children(window);
  HWND frame = nullptr, innerTree = nullptr, status = nullptr;
  for (const FoundChild& child : children) {
    if (SameText(child.className, "skBff")) frame = child.window;
    if (SameText(child.className, "SysTreeView32")) innerTree = child.window;
    if (SameText(child.className, "SKSTATUS")) status = child.window;
  }
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(innerTree, nullptr);
  ASSERT_NE(status, nullptr);

  std::string folder = fixture.substr(0, fixture.size() - 1);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, folder), 1);
  EXPECT_EQ(SendMessageA(frame, 0x7EE /* FTM_GETPATHLENGTH */, 0, 0),
            static_cast<LRESULT>(fixture.size()));

  // Open the folder and step down to its first sub-folder, "Alpha".
  SendMessageA(innerTree, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageA(innerTree, WM_KEYDOWN, VK_DOWN, 0);
  std::string lowerFixture = fixture;
  CharLowerA(lowerFixture.data());
  EXPECT_TRUE(harness::PumpUntil([&] {
    return harness::WindowText(status) == "1 file in " + lowerFixture + "alpha";
  }, 5000)) << harness::WindowText(status);
  SendMessageA(innerTree, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_TRUE(harness::PumpUntil([&] {
    return harness::WindowText(status) == "2 files in " + lowerFixture + "beta";
  }, 5000)) << harness::WindowText(status);

  CloseBrowser(window, browser);
  std::vector<std::string> favourites = ReadLines(TempFolder() + "orbmedia.fav");
  ASSERT_GE(favourites.size(), 2u);
  EXPECT_EQ(favourites[0], lowerFixture + "beta");
  EXPECT_EQ(favourites[1], lowerFixture + "alpha");
  RemoveTree(fixture);
}

// Keys and system commands: Alt+Down moves the collection's selected entry,
// the About entry shows the engine's and the program's lines (the year for
// "#"), and a menu item whose action is END closes the program.
TEST(MediaBrowser, AboutMoveAndEnd) {
  ProgramFolder program("about");
  std::string fixture = TempFolder() + "orbmedia about\\";
  RemoveTree(fixture);
  CreateDirectoryA(fixture.c_str(), nullptr);
  for (const char* name : {"a.avi", "bb.avi", "ccc.avi"}) WriteFileText(fixture + name, "x");
  WriteQuietSettings(TempFolder());
  std::string trace = TempFolder() + "orbmedia_about_trace.txt";
  DeleteFileA(trace.c_str());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  const FoundChild* collection = ChildById(Children(window), 4);
  ASSERT_NE(collection, nullptr);
  std::string folder = fixture.substr(0, fixture.size() - 1);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, folder), 1);
  SendMessageA(window, WM_COMMAND, 6, 0);  // add every file: a, bb, ccc
  ASSERT_EQ(SendMessageA(collection->window, LB_GETCOUNT, 0, 0), 3);
  LRESULT lengthA = SendMessageA(collection->window, LB_GETTEXTLEN, 0, 0);
  LRESULT lengthB = SendMessageA(collection->window, LB_GETTEXTLEN, 1, 0);
  ASSERT_NE(lengthA, lengthB);

  // Alt+Down, as the keyboard delivers it: posted to the list.
  SendMessageA(collection->window, LB_SETSEL, FALSE, -1);
  SendMessageA(collection->window, LB_SETSEL, TRUE, 0);
  PostMessageA(collection->window, WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
  EXPECT_TRUE(harness::PumpUntil([&] {
    return SendMessageA(collection->window, LB_GETTEXTLEN, 1, 0) == lengthA;
  }, 5000));
  EXPECT_EQ(SendMessageA(collection->window, LB_GETTEXTLEN, 0, 0), lengthB);
  EXPECT_GT(SendMessageA(collection->window, LB_GETSEL, 1, 0), 0);
  // The last entry does not move further down.
  SendMessageA(collection->window, LB_SETSEL, FALSE, -1);
  SendMessageA(collection->window, LB_SETSEL, TRUE, 2);
  LRESULT lengthLast = SendMessageA(collection->window, LB_GETTEXTLEN, 2, 0);
  PostMessageA(collection->window, WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(SendMessageA(collection->window, LB_GETTEXTLEN, 2, 0), lengthLast);

  // A right click on the collection opens its menu at the cursor; Escape
  // closes it again.
  PostMessageA(collection->window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
  HWND menu = harness::WaitForWindow("#32768", 5000);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(menu) != FALSE; }, 5000));
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000));

  SendMessageA(window, WM_SYSCOMMAND, 0, 0);
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  std::string aboutLine;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find("SKMSGBOX(") != std::string::npos) aboutLine = line;
  }
  EXPECT_NE(aboutLine.find("Skins by the themecore engine.|Orb Media - the media browser"),
            std::string::npos) << aboutLine;
  EXPECT_NE(aboutLine.find("2003-" + std::to_string(now.wYear) + "."), std::string::npos) << aboutLine;
  // The box gets the program's style record, not the engine's defaults.
  EXPECT_NE(aboutLine.find(", style, 0)"), std::string::npos) << aboutLine;

  // "Exit" of the last menu: its action is END.
  SendMessageA(window, WM_COMMAND, 1103, 0);
  EXPECT_EQ(browser.waitExit(kStartMs), 0);
  RemoveTree(fixture);
}

TEST(MediaBrowser, MissingTextTableShowsItsPathAndEndsWithCode2) {
  ProgramFolder program("missing", /*withTextTable=*/false);
  harness::Process browser;
  ASSERT_TRUE(browser.start(program.browserCommand()));
  HWND box = harness::WaitForWindow("#32770", kStartMs);
  ASSERT_NE(box, nullptr);
  std::string text;
  harness::PumpUntil([&] {
    for (const FoundChild& child : Children(box)) {
      std::string childText = harness::WindowText(child.window);
      if (childText.find("missing !") != std::string::npos) text = childText;
    }
    return !text.empty();
  }, 5000);
  EXPECT_EQ(text, program.path("orbmedia.SYS") + " missing !");
  EXPECT_EQ(harness::WindowText(box), "orbmedia");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(browser.waitExit(kStartMs), 2);
  EXPECT_EQ(FindWindowA("ORBMEDIA", nullptr), nullptr);
}

TEST(MediaBrowser, FilesOnTheCommandLineGoToTheRunningPlayer) {
  ProgramFolder program("handover");
  std::string log = TempFolder() + "orbmedia_player.log";
  DeleteFileA(log.c_str());
  harness::Process player;
  ASSERT_TRUE(player.start("\"" + harness::ProgramFolder() + "orbdriver.exe\" peer ORBPLAY " +
                           suite::QuoteArgument(log) + " 30"));
  HWND playerWindow = harness::WaitForWindow("ORBPLAY", kStartMs);
  ASSERT_NE(playerWindow, nullptr);

  harness::Process browser;
  ASSERT_TRUE(browser.start(program.browserCommand("\"C:\\My Media\\a b.avi\" C:\\b.wav")));
  EXPECT_EQ(browser.waitExit(kStartMs), 0);
  EXPECT_EQ(FindWindowA("ORBMEDIA", nullptr), nullptr);
  suite::SendSuiteCommand(playerWindow, suite::CMD_CLOSE, "");
  EXPECT_EQ(player.waitExit(kStartMs), 0);

  std::vector<std::string> lines = ReadLines(log);
  std::string items = "c:\\my media\\a b.avi|c:\\b.wav";
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "3 " + std::to_string(items.size()) + " " + std::to_string(items.size() + 1) +
                          " " + harness::ToHex(items) + "00");
}

TEST(MediaBrowser, FilesOnTheCommandLineStartThePlayer) {
  ProgramFolder program("starts player");
  program.Copy("suite_receiver.exe", "orbplay.exe");
  std::string log = TempFolder() + "orbmedia_started_player.log";
  DeleteFileA(log.c_str());
  harness::Process browser;
  {
    // The player the browser starts inherits these.
    harness::ScopedEnvironment playerClass("ORB_RECEIVER_CLASS", "ORBPLAY");
    harness::ScopedEnvironment playerLog("ORB_RECEIVER_LOG", log.c_str());
    ASSERT_TRUE(browser.start(program.browserCommand("C:\\clips\\one.avi")));
    EXPECT_EQ(browser.waitExit(kStartMs), 0);
  }
  HWND player = harness::WaitForWindow("ORBPLAY", 2000);
  ASSERT_NE(player, nullptr);
  suite::SendSuiteCommand(player, suite::CMD_CLOSE, "");
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("ORBPLAY", nullptr) == nullptr; }, kStartMs));

  std::vector<std::string> lines = ReadLines(log);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("start ", 0), 0u);
  EXPECT_EQ(lines[1], "1 0 ");
  std::string item = "c:\\clips\\one.avi";
  EXPECT_EQ(lines[2], "3 " + std::to_string(item.size()) + " " + harness::ToHex(item));
}

// The About box as the user sees it: the engine draws the program's icon
// from the style record the browser hands it.  The icon is looked for in
// the box's pixels, drawn here from the program's own resource on the
// box's background.
TEST(MediaBrowser, AboutBoxShowsTheProgramIcon) {
  ProgramFolder program("about box");
  WriteQuietSettings(TempFolder());
  harness::Process browser;
  HWND window = nullptr;
  {
    harness::ScopedEnvironment realBoxes("ORB_ANSWERS", nullptr);
    window = StartBrowser(program, &browser);
  }
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_SYSCOMMAND, 0, 0);
  HWND box = harness::WaitForWindow("SKMSGBOX", kStartMs);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(box) != FALSE; }, 5000));
  std::string shot = TempFolder() + "orbmedia about box.bmp";
  ASSERT_TRUE(harness::CaptureWindowToBmp(box, shot));
  harness::Bmp24 image;
  ASSERT_TRUE(harness::ReadBmp24(shot, &image));
  DeleteFileA(shot.c_str());
  PostMessageA(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("SKMSGBOX", nullptr) == nullptr; }, 5000));

  // The background is the colour most of the box shows.
  std::map<COLORREF, int> counts;
  for (COLORREF pixel : image.pixels) ++counts[pixel];
  COLORREF back = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                    return a.second < b.second;
                  })->first;
  HMODULE exe = LoadLibraryExA(program.path("orbmedia.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HICON icon = static_cast<HICON>(LoadImageA(exe, "PROGRAM", IMAGE_ICON, kIconSide, kIconSide, 0));
  ASSERT_NE(icon, nullptr);
  harness::DibCanvas expected(kIconSide, kIconSide, back);
  DrawIconEx(expected.dc(), 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL);
  DestroyIcon(icon);
  FreeLibrary(exe);
  ASSERT_GT(kIconSide * kIconSide - expected.CountOf(back), 100) << "the icon hardly shows on the background";
  EXPECT_TRUE(ContainsPicture(image, expected)) << "no program icon in the About box";

  CloseBrowser(window, browser);
}

// WM_CLOSE from outside, as taskkill sends it: the browser closes as its
// close button closes it (the window's place saved) and the process ends,
// so that the next start is not taken for a second one.
TEST(MediaBrowser, CloseMessageFromOutsideEndsTheProcess) {
  ProgramFolder program("close message");
  WriteQuietSettings(TempFolder());
  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(SetWindowPos(window, nullptr, 60, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(browser.waitExit(kStartMs), 0) << "the process outlived its window";
  EXPECT_EQ(FindWindowA("ORBMEDIA", nullptr), nullptr);
  std::string line = ReadFileText(SettingsPath());
  EXPECT_EQ(line.rfind(" 60| 50|", 0), 0u) << "the place was not saved: " << line;

  harness::Process next;
  window = StartBrowser(program, &next);
  ASSERT_NE(window, nullptr) << "a new start found the mutex taken";
  CloseBrowser(window, next);
}

TEST(MediaBrowser, SecondStartRaisesTheFirstAndEnds) {
  ProgramFolder program("second");
  WriteQuietSettings(TempFolder());
  harness::Process first;
  HWND window = StartBrowser(program, &first);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000));

  harness::Process second;
  ASSERT_TRUE(second.start(program.browserCommand()));
  EXPECT_EQ(second.waitExit(kStartMs), 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsIconic(window) == FALSE; }, 5000));
  EXPECT_EQ(harness::CountWindows("ORBMEDIA"), 1);
  CloseBrowser(window, first);
}

TEST(MediaBrowser, SecondStartDoesNotWaitForeverForAWindowlessFirst) {
  ProgramFolder program("windowless");
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "ORBMEDIA");
  ASSERT_NE(mutex, nullptr);
  harness::Process second;
  DWORD before = GetTickCount();
  ASSERT_TRUE(second.start(program.browserCommand()));
  EXPECT_EQ(second.waitExit(kStartMs), 0);
  EXPECT_LT(GetTickCount() - before, kStartMs);
  EXPECT_EQ(FindWindowA("ORBMEDIA", nullptr), nullptr);
  CloseHandle(mutex);
}

TEST(MediaBrowser, DeviceRestartStartsWithoutTheNotice) {
  ProgramFolder program("device restart");
  DeleteFileA(SettingsPath().c_str());
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "usbDetected");
  ASSERT_NE(window, nullptr);
  // The notice would open right after the window shows.
  harness::PumpMessagesFor(1500);
  EXPECT_EQ(FindWindowA("SSLBUILDBOX", nullptr), nullptr);
  CloseBrowser(window, browser);
}

TEST(MediaBrowser, FirstRunNoticeRemembersItsCheckBox) {
  ProgramFolder program("notice");
  DeleteFileA(SettingsPath().c_str());
  harness::Process browser;
  ASSERT_TRUE(browser.start(program.browserCommand()));
  HWND notice = harness::WaitForWindow("SSLBUILDBOX", kStartMs);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(harness::WindowText(notice), "Orb Media");

  // Tick the check box, then press the button.
  HWND check = nullptr, button = nullptr;
  for (const FoundChild& child : Children(notice)) {
    std::string text = harness::WindowText(child.window);
    if (text == "Do not show this notice again") check = child.window;
    else if (child.id == 1) button = child.window;
  }
  ASSERT_NE(check, nullptr);
  ASSERT_NE(button, nullptr);
  SendMessageA(check, BM_CLICK, 0, 0);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("SSLBUILDBOX", nullptr) == nullptr; }, 5000));

  HWND window = FindWindowA("ORBMEDIA", nullptr);
  ASSERT_NE(window, nullptr);
  CloseBrowser(window, browser);
  std::string line = ReadFileText(SettingsPath());
  std::vector<std::string> fields;
  std::stringstream split(line);
  std::string field;
  while (std::getline(split, field, '|')) fields.push_back(field);
  ASSERT_EQ(fields.size(), 9u) << line;
  EXPECT_EQ(fields[7], "-1") << line;
}

}  // namespace
