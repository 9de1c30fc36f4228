// The media browser's picture list under Wine: thumbnails whose pixels are
// the pictures', the facts shown while the mouse is over one, a folder
// changed from outside followed within a second, switching folders while
// thumbnails load, and the file commands (delete with the Delete key, copy
// and move through the target-folder box) with their side files.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

using namespace browsertest;

constexpr char kPicturePattern[] = "*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif;*.tiff";
constexpr int kFileListId = 3;
constexpr DWORD kWatchMs = 1000;   // a change in the folder shows within this
constexpr DWORD kLoadMs = 20000;   // every thumbnail of a fixture folder loaded

// A 24-bit BMP of one colour, its left quarter in a second colour (so a
// mirrored or shifted drawing shows).
void WriteBmp(const std::string& path, int width, int height, COLORREF colour, COLORREF left) {
  const int stride = (width * 3 + 3) & ~3;
  std::string file(54 + static_cast<size_t>(stride) * height, '\0');
  auto put32 = [&file](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  file[26] = 1;
  file[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF c = x < width / 4 ? left : colour;
      size_t at = 54 + static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3;
      file[at] = static_cast<char>(GetBValue(c));
      file[at + 1] = static_cast<char>(GetGValue(c));
      file[at + 2] = static_cast<char>(GetRValue(c));
    }
  }
  ASSERT_TRUE(harness::WriteFileBytes(path, file)) << path;
}

void WritePicture(const std::string& path, COLORREF colour, int width = 300, int height = 200) {
  WriteBmp(path, width, height, colour, RGB(255, 255, 255));
}

void WritePictureSettings(const std::string& folder) {
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + folder + "|" + kPicturePattern + "| 0|-1| 0");
}

bool Exists(const std::string& path) { return harness::FileExists(path); }

HWND FileList(HWND browser) {
  const FoundChild* child = ChildById(Children(browser), kFileListId);
  return child != nullptr ? child->window : nullptr;
}

HWND StatusLine(HWND browser) {
  for (const FoundChild& child : Children(browser)) {
    if (SameText(child.className, "SKSTATUS")) return child.window;
  }
  return nullptr;
}

int IndexOf(HWND list, const std::string& item) {
  std::vector<std::string> items = ListBoxTexts(list);
  auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

bool AllThumbnailsLoaded(HWND list) {
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  if (count <= 0) return false;
  for (LRESULT i = 0; i < count; ++i) {
    if (SendMessageA(list, LB_GETITEMDATA, i, 0) == 0) return false;
  }
  return true;
}

// The client point at the middle of item `index`'s thumbnail box: the
// multi-column list places items top to bottom, one column per item height.
POINT CellMiddle(HWND list, int index) {
  int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client = {};
  GetClientRect(list, &client);
  int rows = std::max(1, static_cast<int>(client.bottom) / std::max(height, 1));
  int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  int column = index / rows - top / rows;
  int row = index % rows;
  // The thumbnail box is (item height - 10) square at (3, 3) of the cell.
  int side = height - 10;
  return {column * height + 3 + side / 2, row * height + 3 + side / 2};
}

bool Near(COLORREF got, COLORREF wanted) {
  return std::abs(GetRValue(got) - GetRValue(wanted)) < 40 && std::abs(GetGValue(got) - GetGValue(wanted)) < 40 &&
         std::abs(GetBValue(got) - GetBValue(wanted)) < 40;
}

std::string Hex(COLORREF c) {
  char text[16];
  wsprintfA(text, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

// The colours at the middle of each listed item's thumbnail, and one pixel
// in its left quarter (the white stripe of the fixture pictures).
struct CellPixels {
  COLORREF middle = 0;
  COLORREF leftStripe = 0;
};
bool ReadCells(HWND list, const std::string& shot, std::vector<CellPixels>* cells) {
  InvalidateRect(list, nullptr, TRUE);
  harness::PumpMessagesFor(300);
  // The main window is captured (its children with it), the list's cells
  // found in it.
  HWND top = GetAncestor(list, GA_ROOT);
  POINT origin = {0, 0};
  ClientToScreen(list, &origin);
  ScreenToClient(top, &origin);
  if (!harness::CaptureWindowToBmp(top, shot)) {
    ADD_FAILURE() << "the list could not be captured";
    return false;
  }
  harness::Bmp24 image;
  bool read = harness::ReadBmp24(shot, &image);
  DeleteFileA(shot.c_str());
  if (!read) {
    ADD_FAILURE() << "the capture could not be read";
    return false;
  }
  cells->clear();
  int side = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)) - 10;
  LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    POINT middle = CellMiddle(list, static_cast<int>(i));
    // A 300 x 200 picture fitted into the box: its left quarter starts at
    // the box's left edge.
    middle.x += origin.x;
    middle.y += origin.y;
    POINT stripe = {middle.x - side / 2 + side / 8, middle.y};
    if (middle.x >= image.width || middle.y >= image.height || stripe.x < 0) {
      ADD_FAILURE() << "item " << i << " at " << middle.x << "," << middle.y << " outside " << image.width << "x"
                    << image.height;
      return false;
    }
    cells->push_back({image.at(middle.x, middle.y), image.at(stripe.x, stripe.y)});
  }
  return true;
}

void SendMouse(DWORD flags, POINT screen) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(80);
}

void Click(POINT screen) {
  SendMouse(0, screen);
  SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
  SendMouse(MOUSEEVENTF_LEFTUP, screen);
}

void ClickItem(HWND list, int index) {
  POINT point = CellMiddle(list, index);
  ClientToScreen(list, &point);
  Click(point);
}

void ClickWindow(HWND window) {
  RECT r = harness::WindowRectOf(window);
  Click({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = key;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
  harness::PumpMessagesFor(100);
}

int ThreadCount(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof(entry);
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

// The XDG trash the shell's recycle bin uses under Wine ("" when the home
// folder is not known here).
std::string TrashFiles() {
  // Wine names the Unix home folder in WINEHOMEDIR ("\??\Z:\root").
  const char* home = std::getenv("WINEHOMEDIR");
  if (home == nullptr) return std::string();
  std::string path = home;
  if (path.rfind("\\??\\", 0) == 0) path.erase(0, 4);
  if (path.size() < 3 || path[1] != ':') return std::string();
  return path + "\\.local\\share\\Trash\\";
}

// Whether `name` went to the trash; its entry and info file are removed.
bool TakeFromTrash(const std::string& trash, const std::string& name) {
  if (trash.empty()) return false;
  bool found = Exists(trash + "files\\" + name);
  harness::RemoveTree(trash + "files\\" + name);
  DeleteFileA((trash + "info\\" + name + ".trashinfo").c_str());
  return found;
}

struct PictureFolder {
  explicit PictureFolder(const std::string& name) : path(TempFolder() + name + "\\") {
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
  }
  ~PictureFolder() { RemoveTree(path); }
  std::string path;
};

TEST(MediaBrowserThumbnails, ThumbnailsShowThePicturesAndTheirFacts) {
  ProgramFolder program("thumbs");
  PictureFolder fixture("orbmedia thumbs");
  WritePicture(fixture.path + "red.bmp", RGB(220, 0, 0));
  WritePicture(fixture.path + "Green.BMP", RGB(0, 200, 0));
  WritePicture(fixture.path + "blue.bmp", RGB(0, 0, 230));
  WritePicture(fixture.path + ".dot.bmp", RGB(0, 0, 0));
  WritePicture(fixture.path + "hidden.bmp", RGB(0, 0, 0));
  WritePicture(fixture.path + "system.bmp", RGB(0, 0, 0));
  WritePicture(fixture.path + "readonly.bmp", RGB(255, 255, 0));
  WriteFileText(fixture.path + "notes.txt", "not a picture");
  SetFileAttributesA((fixture.path + "hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA((fixture.path + "system.bmp").c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesA((fixture.path + "readonly.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
  WritePictureSettings(fixture.path);

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = FileList(window);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  // Sorted, lower case, one blank before each; dot names, hidden and system
  // files and other types are not listed.
  // (A file system that cannot keep the hidden or system attribute lists
  // the file as any other.)
  std::vector<std::string> expected = {" blue.bmp", " green.bmp"};
  if ((GetFileAttributesA((fixture.path + "hidden.bmp").c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
    expected.push_back(" hidden.bmp");
  }
  expected.push_back(" readonly.bmp");
  expected.push_back(" red.bmp");
  if ((GetFileAttributesA((fixture.path + "system.bmp").c_str()) & FILE_ATTRIBUTE_SYSTEM) == 0) {
    expected.push_back(" system.bmp");
  }
  ASSERT_EQ(ListBoxTexts(list), expected);

  std::vector<CellPixels> cells;
  ASSERT_TRUE(ReadCells(list, TempFolder() + "orbmedia_thumbs.bmp", &cells));
  ASSERT_EQ(cells.size(), expected.size());
  struct Wanted {
    const char* item;
    COLORREF colour;
  };
  const Wanted wanted[] = {{" blue.bmp", RGB(0, 0, 230)},
                           {" green.bmp", RGB(0, 200, 0)},
                           {" readonly.bmp", RGB(255, 255, 0)},
                           {" red.bmp", RGB(220, 0, 0)}};
  for (const Wanted& w : wanted) {
    SCOPED_TRACE(w.item);
    int index = IndexOf(list, w.item);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(Near(cells[index].middle, w.colour)) << Hex(cells[index].middle);
    EXPECT_TRUE(Near(cells[index].leftStripe, RGB(255, 255, 255))) << Hex(cells[index].leftStripe);
  }

  // The mouse over the green picture: its facts on the status line.
  HWND status = StatusLine(window);
  ASSERT_NE(status, nullptr);
  POINT green = CellMiddle(list, 1);
  ClientToScreen(list, &green);
  SendMouse(0, {green.x + 5, green.y + 5});
  SendMouse(0, green);
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(status).rfind("GREEN.BMP 300 x200 (", 0) == 0; },
                                 3000))
      << harness::WindowText(status);
  EXPECT_NE(harness::WindowText(status).find(" bytes)"), std::string::npos) << harness::WindowText(status);

  CloseBrowser(window, browser);
  SetFileAttributesA((fixture.path + "readonly.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Files created, renamed, rewritten and deleted by another program show in
// the list within a second; the other thumbnails stay.
TEST(MediaBrowserThumbnails, TheWatchedFolderFollowsOutsideChanges) {
  ProgramFolder program("watch");
  PictureFolder fixture("orbmedia watch");
  WritePicture(fixture.path + "a.bmp", RGB(220, 0, 0));
  WritePicture(fixture.path + "b.bmp", RGB(0, 0, 230));
  WritePictureSettings(fixture.path);

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = FileList(window);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  LRESULT kept = SendMessageA(list, LB_GETITEMDATA, 1, 0);

  WritePicture(fixture.path + "c.bmp", RGB(0, 200, 0));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " c.bmp") == 2; }, kWatchMs)) << "created";
  // (While its thumbnail loads the browser holds the picture open, as a
  // Windows program reading it would: another program retries the rename.)
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return MoveFileA((fixture.path + "c.bmp").c_str(), (fixture.path + "d.bmp").c_str()) != FALSE; }, 3000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " d.bmp") == 2 && IndexOf(list, " c.bmp") < 0; },
                                 kWatchMs))
      << "renamed";
  ASSERT_TRUE(harness::PumpUntil([&] { return DeleteFileA((fixture.path + "a.bmp").c_str()) != FALSE; }, 3000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " a.bmp") < 0; }, kWatchMs)) << "deleted";
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" b.bmp", " d.bmp"}));
  EXPECT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  // b's thumbnail was not loaded again.
  EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), kept);

  // A picture rewritten by another program shows its new pixels.
  Sleep(20);
  WritePicture(fixture.path + "b.bmp", RGB(255, 255, 0));
  std::vector<CellPixels> cells;
  EXPECT_TRUE(harness::PumpUntil(
      [&] {
        return AllThumbnailsLoaded(list) && ReadCells(list, TempFolder() + "orbmedia_watch.bmp", &cells) &&
               cells.size() == 2 && Near(cells[0].middle, RGB(255, 255, 0));
      },
      5000))
      << (cells.empty() ? std::string("no cells") : Hex(cells[0].middle));

  CloseBrowser(window, browser);
}

// Folders switched while their thumbnails load: the list shows only the
// last folder's pictures, every thumbnail that folder's; the watcher and
// loader threads of the earlier folders are gone, and the last folder is
// still watched.
TEST(MediaBrowserThumbnails, SwitchingFoldersMidLoadKeepsThemApart) {
  ProgramFolder program("switch");
  PictureFolder reds("orbmedia reds");
  PictureFolder blues("orbmedia blues");
  for (int i = 0; i < 24; ++i) WritePicture(reds.path + "red" + std::to_string(100 + i) + ".bmp", RGB(220, 0, 0), 1500, 1000);
  for (int i = 0; i < 5; ++i) WritePicture(blues.path + "blue" + std::to_string(i) + ".bmp", RGB(0, 0, 230));
  WritePictureSettings(blues.path);

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = FileList(window);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  harness::PumpMessagesFor(300);
  const int settled = ThreadCount(browser.id());

  for (int round = 0; round < 6; ++round) {
    ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, reds.path), 1);
    harness::PumpMessagesFor(round * 40);
    ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, blues.path), 1);
  }
  ASSERT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  EXPECT_EQ(ListBoxTexts(list).size(), 5u);
  std::vector<CellPixels> cells;
  ASSERT_TRUE(ReadCells(list, TempFolder() + "orbmedia_switch.bmp", &cells));
  for (size_t i = 0; i < cells.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(Near(cells[i].middle, RGB(0, 0, 230))) << Hex(cells[i].middle);
  }
  harness::PumpMessagesFor(300);
  EXPECT_LE(ThreadCount(browser.id()), settled) << "threads of earlier listings still run";

  WritePicture(blues.path + "blue9.bmp", RGB(0, 0, 230));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " blue9.bmp") == 5; }, kWatchMs));
  CloseBrowser(window, browser);
}

// The Delete key sends the clicked picture with its side files to the
// recycle bin after the question; an audio file's side files stay.
TEST(MediaBrowserThumbnails, DeleteKeyRecyclesAPictureWithItsSideFiles) {
  ProgramFolder program("delete");
  PictureFolder fixture("orbmedia delete");
  const std::string stem = "gone" + std::to_string(GetTickCount());
  WritePicture(fixture.path + stem + ".bmp", RGB(220, 0, 0));
  WriteFileText(fixture.path + stem + ".kwd", "holiday");
  WriteFileText(fixture.path + stem + ".obf", "overlay");
  WritePicture(fixture.path + "stays.bmp", RGB(0, 0, 230));
  const std::string song = "song" + std::to_string(GetTickCount());
  WriteFileText(fixture.path + song + ".wav", "RIFF");
  WriteFileText(fixture.path + song + ".kwd", "music");
  WritePictureSettings(fixture.path);

  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", "1;1"}});
  ASSERT_NE(window, nullptr);
  HWND list = FileList(window);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));
  int index = IndexOf(list, " " + stem + ".bmp");
  ASSERT_GE(index, 0);
  SetForegroundWindow(window);
  ClickItem(list, index);
  ASSERT_TRUE(harness::PumpUntil([&] { return SendMessageA(list, LB_GETSEL, index, 0) > 0; }, 2000));
  PressKey(VK_DELETE);
  EXPECT_TRUE(harness::PumpUntil([&] { return !Exists(fixture.path + stem + ".bmp"); }, 5000));
  EXPECT_FALSE(Exists(fixture.path + stem + ".kwd"));
  EXPECT_FALSE(Exists(fixture.path + stem + ".obf"));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " " + stem + ".bmp") < 0; }, 2000));
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" stays.bmp"}));
  // Where the shell's recycle bin took the picture, it took its side files
  // too: restoring the picture brings them back.
  const std::string trash = TrashFiles();
  bool pictureTrashed = TakeFromTrash(trash, stem + ".bmp");
  bool keywordsTrashed = TakeFromTrash(trash, stem + ".kwd");
  bool overlayTrashed = TakeFromTrash(trash, stem + ".obf");
  if (!trash.empty() && Exists(trash + "files")) {
    EXPECT_TRUE(pictureTrashed);
    EXPECT_TRUE(keywordsTrashed);
    EXPECT_TRUE(overlayTrashed);
  }

  // The audio type: deleting the song keeps its keyword file.
  ASSERT_EQ(suite::SendSuiteCommand(window, 12, ""), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " " + song + ".wav") >= 0; }, 3000));
  SetForegroundWindow(window);
  ClickItem(list, IndexOf(list, " " + song + ".wav"));
  PressKey(VK_DELETE);
  EXPECT_TRUE(harness::PumpUntil([&] { return !Exists(fixture.path + song + ".wav"); }, 5000));
  EXPECT_TRUE(Exists(fixture.path + song + ".kwd"));
  TakeFromTrash(trash, song + ".wav");

  CloseBrowser(window, browser);
}

// Opens the copy (106) or move (107) box for the selected files and clicks
// one of its buttons (2 choose, 3 new folder, 4 cancel).
void RunTransfer(HWND window, int command, int button) {
  PostMessageA(window, WM_COMMAND, command, 0);
  // The box shows before its tree and buttons are made and it is framed.
  HWND box = WaitForFramedBox("TARGETBOX", button, 16000);
  ASSERT_NE(box, nullptr) << "the target-folder box did not open";
  HWND control = GetDlgItem(box, button);
  harness::PumpMessagesFor(300);
  // On a busy machine the box may still be taking the focus when the first
  // click comes; a hand clicks again while it stays open.
  for (int attempt = 0; attempt < 3 && IsWindow(box); ++attempt) {
    ClickWindow(control);
    harness::PumpUntil([&] { return !IsWindow(box); }, 4000);
  }
  EXPECT_FALSE(IsWindow(box)) << "the box stayed open";
}

void SelectOnly(HWND window, HWND list, const std::string& item) {
  int index = IndexOf(list, item);
  ASSERT_GE(index, 0) << item;
  SetForegroundWindow(window);
  ClickItem(list, index);
  ASSERT_TRUE(harness::PumpUntil([&] { return SendMessageA(list, LB_GETSEL, index, 0) > 0; }, 2000));
}

// Copy and move through the target-folder box: a typed new folder receives
// the picture and its side file; a file of the same name there is
// replaced; cancelling, or naming the current folder in another spelling,
// changes nothing (the picture is not deleted); a move takes the picture
// out of the list.
TEST(MediaBrowserThumbnails, CopyAndMoveThroughTheTargetBox) {
  ProgramFolder program("transfer");
  PictureFolder fixture("orbmedia transfer");
  PictureFolder target("orbmedia target");
  WritePicture(fixture.path + "a.bmp", RGB(220, 0, 0));
  WriteFileText(fixture.path + "a.kwd", "keywords of a");
  WritePicture(fixture.path + "b.bmp", RGB(0, 0, 230));
  WriteFileText(target.path + "a.bmp", "old content");
  WritePictureSettings(fixture.path);
  // (A backslash before the ";" of the answers would make it part of the
  // answer: the typed folders end without one.)
  const std::string newFolder = target.path + "new";
  const std::string targetFolder = target.path.substr(0, target.path.size() - 1);
  std::string sameFolder = fixture.path + ".";
  CharUpperA(sameFolder.data());

  // The input boxes (the typed folders) and the "done" boxes, in order.
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "",
                             {{"ORB_ANSWERS", newFolder + ";1;" + targetFolder + ";1;" + sameFolder + ";" +
                                                  targetFolder + ";1"}});
  ASSERT_NE(window, nullptr);
  HWND list = FileList(window);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return AllThumbnailsLoaded(list); }, kLoadMs));

  // Copy a.bmp into a new folder typed in the box.
  SelectOnly(window, list, " a.bmp");
  RunTransfer(window, 106, 3);
  EXPECT_TRUE(harness::PumpUntil([&] { return Exists(newFolder + "\\a.kwd"); }, 5000));
  EXPECT_TRUE(Exists(newFolder + "\\a.bmp"));
  EXPECT_TRUE(Exists(fixture.path + "a.bmp"));

  // Copy over the existing a.bmp of the target folder.
  SelectOnly(window, list, " a.bmp");
  RunTransfer(window, 106, 3);
  EXPECT_TRUE(harness::PumpUntil([&] { return ReadFileText(target.path + "a.bmp") == ReadFileText(fixture.path + "a.bmp"); },
                                 5000));
  // The side file follows its picture.
  EXPECT_TRUE(harness::PumpUntil([&] { return ReadFileText(target.path + "a.kwd") == "keywords of a"; }, 5000));

  // Cancelled: nothing moves.
  SelectOnly(window, list, " b.bmp");
  RunTransfer(window, 107, 4);
  harness::PumpMessagesFor(300);
  EXPECT_TRUE(Exists(fixture.path + "b.bmp"));
  EXPECT_FALSE(Exists(target.path + "b.bmp"));

  // A move into the current folder, spelt otherwise: the picture stays.
  SelectOnly(window, list, " b.bmp");
  RunTransfer(window, 107, 3);
  harness::PumpMessagesFor(500);
  EXPECT_TRUE(Exists(fixture.path + "b.bmp"));
  EXPECT_EQ(IndexOf(list, " b.bmp"), 1);

  // A real move.
  SelectOnly(window, list, " b.bmp");
  RunTransfer(window, 107, 3);
  EXPECT_TRUE(harness::PumpUntil([&] { return Exists(target.path + "b.bmp") && !Exists(fixture.path + "b.bmp"); },
                                 5000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IndexOf(list, " b.bmp") < 0; }, 2000));
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" a.bmp"}));

  CloseBrowser(window, browser);
}

}  // namespace
