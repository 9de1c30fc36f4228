// The media browser's folder menu, renaming in the tree, drives that come
// and go, and the repaint another program asks for, driven from outside the
// program as a user (or another module, or Windows) drives it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>

#include <cctype>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using namespace browsertest;

constexpr int kTreeId = 32766;
constexpr int kRightClick = 3;  // the tree's right-click notification

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Exists(const std::string& path) { return harness::FileExists(path); }

HWND InnerTree(HWND browser) {
  for (const FoundChild& child : Children(browser)) {
    if (child.id == kTreeId && SameText(child.className, "SysTreeView32")) return child.window;
  }
  return nullptr;
}

// The screen point in the middle of a visible item's row: its row among the
// visible items times the item height (handles and heights pass between
// processes, rectangles do not).
bool ItemPoint(HWND tree, HTREEITEM wanted, POINT* point) {
  if (wanted == nullptr) return false;
  int row = 0;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
  while (item != nullptr && item != wanted) {
    item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)));
    ++row;
  }
  if (item == nullptr) return false;
  int height = static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0));
  // Over the item's icon: one indent per level (and one for the root's
  // button) to its left.
  int depth = 0;
  for (HTREEITEM parent = wanted; parent != nullptr; ++depth) {
    parent = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(parent)));
  }
  int indent = static_cast<int>(SendMessageA(tree, TVM_GETINDENT, 0, 0));
  // A deep item scrolls the tree sideways (the scroll position is in
  // pixels); past the right edge, the point is kept inside the row.
  RECT client = {};
  GetClientRect(tree, &client);
  int x = indent * depth + 8 - GetScrollPos(tree, SB_HORZ);
  if (x >= client.right) x = client.right - 4;
  *point = {x, row * height + height / 2};
  ClientToScreen(tree, point);
  return true;
}

HTREEITEM SelectedItem(HWND tree) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
}

// Puts the cursor on the tree's selected item.
bool PointAtSelectedItem(HWND tree) {
  HTREEITEM selected = SelectedItem(tree);
  if (selected == nullptr) return false;
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(selected));
  POINT point;
  if (!ItemPoint(tree, selected, &point)) return false;
  SetCursorPos(point.x, point.y);
  return true;
}

void SendMouse(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(60);
}

// Drags with the left button from one point to another in small steps, as
// a hand does.
void DragMouse(POINT from, POINT to) {
  SendMouse(0, from);
  SendMouse(MOUSEEVENTF_LEFTDOWN, from);
  const int steps = 8;
  for (int i = 1; i <= steps; ++i) {
    POINT at = {from.x + (to.x - from.x) * i / steps + (i < steps ? 6 : 0),
                from.y + (to.y - from.y) * i / steps};
    SendMouse(0, at);
  }
  SendMouse(0, to);
  harness::PumpMessagesFor(200);
  SendMouse(MOUSEEVENTF_LEFTUP, to);
}

// Opens the folder menu on `folder` as a right click does, and closes it
// again: the browser then knows which folder its menu commands act on.
void RightClickFolder(HWND browser, const std::string& folder) {
  ASSERT_EQ(suite::SendSuiteCommand(browser, suite::CMD_GO_TO_FOLDER, folder), 1);
  HWND tree = InnerTree(browser);
  ASSERT_NE(tree, nullptr);
  ASSERT_TRUE(PointAtSelectedItem(tree));
  PostMessageA(browser, WM_COMMAND, MAKEWPARAM(kTreeId, kRightClick), reinterpret_cast<LPARAM>(tree));
  HWND menu = harness::WaitForWindow("#32768", 5000);
  ASSERT_NE(menu, nullptr) << "the folder menu did not open";
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(menu) != FALSE; }, 5000));
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000));
}

TEST(MediaBrowserFolders, FolderMenuCreatesRenamesAndDeletes) {
  ProgramFolder program("folders");
  std::string fixture = TempFolder() + "orbmedia folders\\";
  RemoveTree(fixture);
  ASSERT_TRUE(CreateDirectoryA(fixture.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((fixture + "a").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((fixture + "a\\deep").c_str(), nullptr));
  WriteFileText(fixture + "a\\one.jpg", "1");
  WriteFileText(fixture + "a\\deep\\two.jpg", "22");
  WriteFileText(fixture + "keep.txt", "k");
  WriteQuietSettings(TempFolder());
  std::string trace = TempFolder() + "orbmedia_folders_trace.txt";
  DeleteFileA(trace.c_str());

  // The boxes, in order: the new folder's name; a name that would leave
  // the folder, and the warning it gets; the delete question (yes).
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "",
                             {{"ORB_TRACE", trace}, {"ORB_ANSWERS", "new one;..\\escape;1;1"}});
  ASSERT_NE(window, nullptr);

  // New folder under "a".
  RightClickFolder(window, fixture + "a");
  SendMessageA(window, WM_COMMAND, 1501, 0);
  EXPECT_TRUE(IsFolder(fixture + "a\\new one"));

  // "..\escape" is not a name: nothing is created beside "a".
  RightClickFolder(window, fixture + "a");
  SendMessageA(window, WM_COMMAND, 1501, 0);
  EXPECT_FALSE(Exists(fixture + "escape"));
  EXPECT_FALSE(Exists(fixture + "a\\..\\escape"));
  bool warned = false;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find("SKMSGBOX(") != std::string::npos && line.find("..\\x5Cescape|") != std::string::npos) warned = true;
  }
  EXPECT_TRUE(warned) << "no warning names the refused name";

  // Rename "a\new one" in place: the tree edits the label, the user types
  // and presses Enter.
  RightClickFolder(window, fixture + "a\\new one");
  PostMessageA(window, WM_COMMAND, 1502, 0);
  HWND tree = InnerTree(window);
  ASSERT_NE(tree, nullptr);
  HWND edit = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] {
    edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
    return edit != nullptr;
  }, 5000)) << "no label edit started";
  SetWindowTextA(edit, "  Renamed  ");
  PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsFolder(fixture + "a\\renamed"); }, 5000));
  EXPECT_FALSE(Exists(fixture + "a\\new one"));

  // Delete "a" with everything in it, after the question.
  RightClickFolder(window, fixture + "a");
  SendMessageA(window, WM_COMMAND, 1503, 0);
  EXPECT_FALSE(Exists(fixture + "a"));
  EXPECT_TRUE(Exists(fixture + "keep.txt"));
  bool asked = false;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find("SKMSGBOX(") != std::string::npos && line.find("and its 2 files") != std::string::npos) asked = true;
  }
  EXPECT_TRUE(asked) << "the question does not count the folder's files";

  CloseBrowser(window, browser);
  RemoveTree(fixture);
}

// A folder dragged onto another with the mouse moves there with its files
// and sub-folders after the question; the tree then shows it in its new
// place.
TEST(MediaBrowserFolders, DraggingAFolderMovesIt) {
  ProgramFolder program("drag");
  // Near the root, so that the items sit well inside the tree's width.
  std::string fixture = "C:\\orbmedia drag\\";
  RemoveTree(fixture);
  ASSERT_TRUE(CreateDirectoryA(fixture.c_str(), nullptr));
  for (const char* folder : {"a", "a\\inner", "b"}) {
    ASSERT_TRUE(CreateDirectoryA((fixture + folder).c_str(), nullptr));
  }
  WriteFileText(fixture + "a\\one.avi", "1");
  WriteFileText(fixture + "a\\inner\\two.avi", "22");
  WriteQuietSettings(TempFolder());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  HWND tree = InnerTree(window);
  ASSERT_NE(tree, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, fixture + "a"), 1);
  HTREEITEM source = SelectedItem(tree);
  SendMessageA(tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(source));
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(source));
  auto target = reinterpret_cast<HTREEITEM>(
      SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(source)));
  SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(target));
  POINT from, to;
  ASSERT_TRUE(ItemPoint(tree, source, &from));
  ASSERT_TRUE(ItemPoint(tree, target, &to));
  SetForegroundWindow(window);
  DragMouse(from, to);

  EXPECT_TRUE(harness::PumpUntil([&] { return IsFolder(fixture + "b\\a\\inner"); }, 5000));
  EXPECT_EQ(ReadFileText(fixture + "b\\a\\one.avi"), "1");
  EXPECT_EQ(ReadFileText(fixture + "b\\a\\inner\\two.avi"), "22");
  EXPECT_FALSE(Exists(fixture + "a"));
  // The moved folder is the one listed now.
  const FoundChild* files = ChildById(Children(window), 3);
  ASSERT_NE(files, nullptr);
  EXPECT_TRUE(harness::PumpUntil([&] { return SendMessageA(files->window, LB_GETCOUNT, 0, 0) == 1; }, 5000));

  CloseBrowser(window, browser);
  RemoveTree(fixture);
}

// A volume that arrived or went, as Windows broadcasts it.
LRESULT SendVolumeChange(HWND window, WPARAM event, char drive) {
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof(volume);
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (drive - 'A');
  return SendMessageA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
}

TEST(MediaBrowserFolders, DrivesThatComeAndGo) {
  ProgramFolder program("drives");
  std::string fixture = TempFolder() + "orbmedia drives\\";
  RemoveTree(fixture);
  ASSERT_TRUE(CreateDirectoryA(fixture.c_str(), nullptr));
  for (const char* name : {"a.avi", "b.avi"}) WriteFileText(fixture + name, "x");
  WriteQuietSettings(TempFolder());

  // The first new drive is not taken (no restart), the second is.
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", "2;1"}});
  ASSERT_NE(window, nullptr);
  const FoundChild* files = ChildById(Children(window), 3);
  ASSERT_NE(files, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, fixture), 1);
  ASSERT_EQ(SendMessageA(files->window, LB_GETCOUNT, 0, 0), 2);

  // Another drive went: the list stays.
  SendVolumeChange(window, DBT_DEVICEREMOVECOMPLETE, 'Q');
  EXPECT_EQ(SendMessageA(files->window, LB_GETCOUNT, 0, 0), 2);
  // The drive of the listed folder went: the list is emptied.
  char drive = static_cast<char>(toupper(static_cast<unsigned char>(fixture[0])));
  SendVolumeChange(window, DBT_DEVICEREMOVECOMPLETE, drive);
  EXPECT_EQ(SendMessageA(files->window, LB_GETCOUNT, 0, 0), 0);

  // A new drive, restart declined: the browser keeps running.
  SendVolumeChange(window, DBT_DEVICEARRIVAL, 'Q');
  harness::PumpMessagesFor(300);
  EXPECT_TRUE(IsWindow(window));
  // A new drive, restart taken: this browser ends and a new one starts
  // (started by the device, so without the first-run notice).
  SendVolumeChange(window, DBT_DEVICEARRIVAL, 'Q');
  EXPECT_EQ(browser.waitExit(kStartMs), 0);
  HWND restarted = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] {
    restarted = FindWindowA("ORBMEDIA", nullptr);
    return restarted != nullptr && restarted != window && IsWindowVisible(restarted);
  }, kStartMs)) << "the browser did not come back";
  DWORD processId = 0;
  GetWindowThreadProcessId(restarted, &processId);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
  suite::SendSuiteCommand(restarted, suite::CMD_CLOSE, "");
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(WaitForSingleObject(process, kStartMs), WAIT_OBJECT_0);
  CloseHandle(process);
  RemoveTree(fixture);
}

// Code 22 names a folder whose files another program changed: when the
// browser shows that folder's pictures with side-file markers, the file
// list is drawn again (each item drawn fills its cell once more).
TEST(MediaBrowserFolders, FolderChangedRepaintsTheShownPictures) {
  ProgramFolder program("repaint");
  std::string fixture = TempFolder() + "orbmedia repaint\\";
  RemoveTree(fixture);
  ASSERT_TRUE(CreateDirectoryA(fixture.c_str(), nullptr));
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) WriteFileText(fixture + name, "x");
  WriteQuietSettings(TempFolder());
  std::string trace = TempFolder() + "orbmedia_repaint_trace.txt";
  DeleteFileA(trace.c_str());

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}});
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, fixture), 1);
  ASSERT_EQ(suite::SendSuiteCommand(window, 15, ""), 1);  // the pictures
  SendMessageA(window, WM_COMMAND, 408, 0);               // side-file markers on
  harness::PumpMessagesFor(500);

  auto fills = [&trace] {
    int count = 0;
    for (const std::string& line : ReadLines(trace)) {
      if (line.find("SKFILLRECT(") != std::string::npos) ++count;
    }
    return count;
  };
  int before = fills();
  // Another folder: nothing is drawn.
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_FOLDER_CHANGED, TempFolder()), 1);
  harness::PumpMessagesFor(500);
  EXPECT_EQ(fills(), before);
  // The shown folder, in other case: the three cells are drawn again.
  std::string upper = fixture;
  CharUpperA(upper.data());
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_FOLDER_CHANGED, upper), 1);
  EXPECT_TRUE(harness::PumpUntil([&] { return fills() >= before + 3; }, 5000))
      << before << " fills before, " << fills() << " after";

  CloseBrowser(window, browser);
  RemoveTree(fixture);
}

}  // namespace
