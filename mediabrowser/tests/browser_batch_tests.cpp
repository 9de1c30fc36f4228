// The media browser's batch picture work under Wine, driven as a user does
// through its menus' commands and its boxes, and checked with ImageMagick:
// turns, mirrors and flips keep each picture's name and type and move its
// pixels; resizing through the new-size box; conversion through the
// picture-type box never writes over a file and never removes a picture
// before its new file exists; numbered renaming takes only free names and
// brings the side files along; a failing picture is reported once and left
// as it was; Escape stops a batch between two pictures; the wallpaper.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using namespace browsertest;

constexpr char kPicturePattern[] = "*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif;*.tiff";
constexpr int kFileListId = 3;
constexpr DWORD kBatchMs = 30000;
constexpr DWORD kToolMs = 60000;

// Commands of the menus.
constexpr int kWallpaper = 110;
constexpr int kFlip = 703;
constexpr int kMirror = 704;
constexpr int kRotateLeft = 705;
constexpr int kRotateRight = 706;
constexpr int kResize = 707;
constexpr int kConvert = 710;
constexpr int kRenumber = 711;

bool Exists(const std::string& path) { return harness::FileExists(path); }

std::string Unix(const std::string& path) { return harness::UnixPathWord(path); }

// Runs ImageMagick; its output, "" when it failed.
std::string Magick(const std::string& command) {
  std::string output;
  return harness::UnixToolOutput(command, kToolMs, &output) ? output : std::string();
}

// A picture of width x height in `colour` with a 20 x 20 red square at its
// top-left corner, in the format of the file's extension.
void MakePicture(const std::string& path, int width, int height, const char* colour = "blue") {
  std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) + " xc:" + colour +
                        " -fill red -draw 'rectangle 0,0 19,19' -type TrueColor " + Unix(path) + " && echo made";
  ASSERT_EQ("made", Magick(command)) << path;
}

// "FORMAT WIDTH HEIGHT" as ImageMagick reads the file (a BMP of any header
// version is "BMP").
std::string Identify(const std::string& path) {
  std::string facts = Magick("identify -format '%m %w %h' " + Unix(path));
  if (facts.rfind("BMP", 0) == 0) facts = "BMP" + facts.substr(facts.find(' '));
  return facts;
}

// The colour at (x, y) as "r g b".
std::string PixelAt(const std::string& path, int x, int y) {
  std::string p = "p{" + std::to_string(x) + "," + std::to_string(y) + "}";
  return Magick("convert " + Unix(path) + "[0] -format '%[fx:int(255*" + p + ".r+.5)] %[fx:int(255*" + p +
                ".g+.5)] %[fx:int(255*" + p + ".b+.5)]' info:");
}

bool IsRed(const std::string& rgb) {
  int r = 0, g = 0, b = 0;
  return std::sscanf(rgb.c_str(), "%d %d %d", &r, &g, &b) == 3 && r > 200 && g < 60 && b < 60;
}

bool IsBlue(const std::string& rgb) {
  int r = 0, g = 0, b = 0;
  return std::sscanf(rgb.c_str(), "%d %d %d", &r, &g, &b) == 3 && r < 60 && g < 60 && b > 200;
}

ULONGLONG LastWrite(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::vector<ULONGLONG> LastWrites(const std::vector<std::string>& paths) {
  std::vector<ULONGLONG> times;
  for (const std::string& path : paths) times.push_back(LastWrite(path));
  return times;
}

// Waits until every file was written again (each written once, whole, by
// the rename of the library's temporary file).
bool WaitForRewrites(const std::vector<std::string>& paths, const std::vector<ULONGLONG>& before) {
  return harness::PumpUntil(
      [&] {
        for (size_t i = 0; i < paths.size(); ++i) {
          if (LastWrite(paths[i]) == before[i]) return false;
        }
        return true;
      },
      kBatchMs);
}

void WritePictureSettings(const std::string& folder) {
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + folder + "|" + kPicturePattern + "| 0|-1| 0");
}

bool Listed(HWND list, const std::string& item) {
  std::vector<std::string> items = ListBoxTexts(list);
  return std::find(items.begin(), items.end(), item) != items.end();
}

// A box of the browser by class: a popup of its own or inside the skin
// engine's frame.
struct BoxSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK FindBoxChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindBoxIn(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  if (!FindBoxChild(window, param)) return FALSE;
  EnumChildWindows(window, FindBoxChild, param);
  return search->found == nullptr;
}

// Waits until the box is shown and framed (its controls exist then).
HWND WaitForBox(const char* className) {
  BoxSearch search{className, nullptr};
  harness::PumpUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(FindBoxIn, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr && IsWindowVisible(search.found) &&
               (GetWindowLongA(search.found, GWL_STYLE) & WS_CHILD) != 0;
      },
      10000);
  return search.found;
}

std::string TextOf(HWND window) {
  char text[MAX_PATH] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

// The lines of the trace that name `call` and hold `part`.
int CountTraceLines(const std::string& trace, const std::string& call, const std::string& part) {
  int count = 0;
  for (const std::string& line : ReadLines(trace)) {
    if (line.find(call) != std::string::npos && line.find(part) != std::string::npos) ++count;
  }
  return count;
}

// ---------------------------------------------------------------------------

// Turns, mirrors and flips: each picture keeps its name and type, takes the
// turned size, and its marked corner moves where the operation puts it; a
// read-only picture is written too.
TEST(MediaBrowserBatch, TurnsMirrorsAndFlips) {
  ProgramFolder program("batch turns");
  Folder fixture("orbmedia batch turns");
  const std::vector<std::string> names = {"a.bmp", "b.jpg", "c.png"};
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    paths.push_back(fixture.path + name);
    MakePicture(paths.back(), 200, 100);
  }
  SetFileAttributesA(paths[2].c_str(), FILE_ATTRIBUTE_READONLY);
  WritePictureSettings(fixture.path);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 3; }, 10000));

  // Each step, in order, with where the red corner then is (x, y) and the
  // size; every picture starts 200 x 100 with the corner at the top left.
  struct Step {
    int command;
    const char* what;
    int width, height;
    int cornerX, cornerY;
  };
  const Step steps[] = {
      {kRotateRight, "a quarter turn clockwise", 100, 200, 90, 10},
      {kMirror, "mirrored", 100, 200, 10, 10},
      {kFlip, "upside down", 100, 200, 10, 190},
      {kRotateLeft, "a quarter turn back", 200, 100, 190, 90},
  };
  const char* formats[] = {"BMP", "JPEG", "PNG"};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    SelectAll(window, list);
    std::vector<ULONGLONG> before = LastWrites(paths);
    PostMessageA(window, WM_COMMAND, step.command, 0);
    ASSERT_TRUE(WaitForRewrites(paths, before));
    for (size_t i = 0; i < paths.size(); ++i) {
      SCOPED_TRACE(paths[i]);
      EXPECT_EQ(std::string(formats[i]) + " " + std::to_string(step.width) + " " + std::to_string(step.height),
                Identify(paths[i]));
      EXPECT_TRUE(IsRed(PixelAt(paths[i], step.cornerX, step.cornerY)));
      // The opposite corner is the background.
      EXPECT_TRUE(IsBlue(PixelAt(paths[i], step.width - 1 - step.cornerX, step.height - 1 - step.cornerY)));
    }
    // The pictures stay listed under their names, and selected.
    EXPECT_TRUE(harness::PumpUntil([&] { return SendMessageA(list, LB_GETSELCOUNT, 0, 0) == 3; }, 5000));
  }
  EXPECT_EQ(0u, GetFileAttributesA(paths[2].c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" a.bmp", " b.jpg", " c.png"}));
  CloseBrowser(window, browser);
}

// Resizing through the new-size box: it opens with the screen's size and
// the proportions kept; 800 x 800 then gives 800 x 600 for a 1600 x 1200
// picture, and 800 x 800 without the proportions; a cancelled box (or one
// closed from outside) changes nothing, and a zero side is taken as one
// pixel, never as no picture.
TEST(MediaBrowserBatch, ResizesThroughTheNewSizeBox) {
  ProgramFolder program("batch resize");
  Folder fixture("orbmedia batch resize");
  const std::string kept = fixture.path + "kept.jpg";
  const std::string free = fixture.path + "free.png";
  MakePicture(kept, 1600, 1200);
  MakePicture(free, 1600, 1200);
  WritePictureSettings(fixture.path);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 2; }, 10000));

  // Cancelled: nothing is written.
  SelectOnly(window, list, {" kept.jpg"});
  ULONGLONG untouched = LastWrite(kept);
  PostMessageA(window, WM_COMMAND, kResize, 0);
  HWND box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  HWND widthField = GetDlgItem(box, 4);
  HWND heightField = GetDlgItem(box, 5);
  HWND keep = GetDlgItem(box, 3);
  EXPECT_EQ(std::to_string(GetSystemMetrics(SM_CXSCREEN)), TextOf(widthField));
  EXPECT_EQ(std::to_string(GetSystemMetrics(SM_CYSCREEN)), TextOf(heightField));
  EXPECT_EQ(BST_CHECKED, SendMessageA(keep, BM_GETCHECK, 0, 0));
  EXPECT_FALSE(IsWindowEnabled(window)) << "the browser waits for the box";
  PostMessageA(GetDlgItem(box, 1), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowEnabled(window) != FALSE; }, 5000));
  harness::PumpMessagesFor(500);
  EXPECT_EQ(untouched, LastWrite(kept));

  // Closed from outside by a sent WM_CLOSE: the same as a cancel, and the
  // browser is usable again.
  PostMessageA(window, WM_COMMAND, kResize, 0);
  box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  SendMessageTimeoutA(box, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowEnabled(window) != FALSE; }, 5000));
  harness::PumpMessagesFor(500);
  EXPECT_EQ(untouched, LastWrite(kept));

  // 800 x 800 with the proportions kept, confirmed with Enter.
  PostMessageA(window, WM_COMMAND, kResize, 0);
  box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  SendMessageA(GetDlgItem(box, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("800"));
  SendMessageA(GetDlgItem(box, 5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("800"));
  PostMessageA(GetDlgItem(box, 5), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return LastWrite(kept) != untouched; }, kBatchMs));
  EXPECT_EQ("JPEG 800 600", Identify(kept));
  EXPECT_TRUE(IsRed(PixelAt(kept, 4, 4)));
  EXPECT_TRUE(IsBlue(PixelAt(kept, 400, 300)));

  // 800 x 800 without them, by the check box and the OK button.
  SelectOnly(window, list, {" free.png"});
  ULONGLONG before = LastWrite(free);
  PostMessageA(window, WM_COMMAND, kResize, 0);
  box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(box, 3), BM_GETCHECK, 0, 0)) << "the box forgets the last choice";
  SendMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(box, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("800"));
  SendMessageA(GetDlgItem(box, 5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("800"));
  PostMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return LastWrite(free) != before; }, kBatchMs));
  EXPECT_EQ("PNG 800 800", Identify(free));

  // A side of 0 is one pixel: the picture is kept, 1 pixel high.
  before = LastWrite(free);
  PostMessageA(window, WM_COMMAND, kResize, 0);
  box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  SendMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);
  SendMessageA(GetDlgItem(box, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("30"));
  SendMessageA(GetDlgItem(box, 5), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("0"));
  PostMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return LastWrite(free) != before; }, kBatchMs));
  EXPECT_EQ("PNG 30 1", Identify(free));
  CloseBrowser(window, browser);
}

// Conversion to JPEG through the picture-type box.  A confirmation with no
// type chosen does nothing.  Then: the BMP and the PNG become JPEGs of the
// same pictures and leave; "c.bmp" and "c.png" both map to "c.jpg", so the
// second stays as it was and its failure is the one reported; a JPEG is
// already the target and stays untouched; a GIF keeps its file beside the
// new JPEG; a damaged picture stays as it was without a second report.
TEST(MediaBrowserBatch, ConvertsWithoutEverLosingAPicture) {
  ProgramFolder program("batch convert");
  Folder fixture("orbmedia batch convert");
  const std::string f = fixture.path;
  for (const char* name : {"a.bmp", "b.png", "c.bmp", "c.png", "d.jpg", "e.gif"}) MakePicture(f + name, 200, 100);
  WriteFileText(f + "z.bmp", "BM this is no picture");
  const std::string cPng = ReadFileText(f + "c.png");
  const std::string dJpg = ReadFileText(f + "d.jpg");
  const std::string trace = TempFolder() + "orbmedia_convert_trace.txt";
  DeleteFileA(trace.c_str());
  WritePictureSettings(f);
  harness::Process browser;
  // One answer for the one warning box.
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 7; }, 10000));
  SelectAll(window, list);

  // Nothing chosen: the confirmation converts nothing.
  PostMessageA(window, WM_COMMAND, kConvert, 0);
  HWND box = WaitForBox("PICTURETYPE");
  ASSERT_NE(box, nullptr);
  PostMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(box); }, 5000));
  harness::PumpMessagesFor(500);
  EXPECT_TRUE(Exists(f + "a.bmp"));
  EXPECT_FALSE(Exists(f + "a.jpg"));

  // JPEG chosen in the list; the line above it shows its extension.
  PostMessageA(window, WM_COMMAND, kConvert, 0);
  box = WaitForBox("PICTURETYPE");
  ASSERT_NE(box, nullptr);
  HWND combo = GetDlgItem(box, 1);
  ASSERT_NE(combo, nullptr);
  LRESULT jpeg = -1;
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[MAX_PATH] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    if (lstrcmpW(text, L"JPEG picture - jpg") == 0) jpeg = i;
  }
  ASSERT_GE(jpeg, 0) << "the list offers JPEG";
  EXPECT_EQ(5, count);
  SendMessageA(combo, CB_SETCURSEL, jpeg, 0);
  SendMessageA(box, WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  HWND line = FindWindowExA(combo, nullptr, "STATIC", nullptr);
  ASSERT_NE(line, nullptr);
  EXPECT_EQ("JPG", TextOf(line));
  PostMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);

  ASSERT_TRUE(harness::PumpUntil(
      [&] { return Exists(f + "e.jpg") && !Exists(f + "b.png") && Listed(list, " e.jpg"); }, kBatchMs));
  harness::PumpMessagesFor(500);
  for (const char* name : {"a", "b", "c", "e"}) {
    SCOPED_TRACE(name);
    const std::string jpg = f + name + ".jpg";
    EXPECT_EQ("JPEG 200 100", Identify(jpg));
    EXPECT_TRUE(IsRed(PixelAt(jpg, 5, 5)));
    EXPECT_TRUE(IsBlue(PixelAt(jpg, 150, 60)));
  }
  EXPECT_FALSE(Exists(f + "a.bmp"));
  EXPECT_FALSE(Exists(f + "b.png"));
  EXPECT_FALSE(Exists(f + "c.bmp"));
  EXPECT_EQ(cPng, ReadFileText(f + "c.png")) << "the second source of c.jpg stays as it was";
  EXPECT_EQ(dJpg, ReadFileText(f + "d.jpg")) << "a JPEG is not converted to itself";
  EXPECT_EQ("GIF 200 100", Identify(f + "e.gif"));
  EXPECT_EQ("BM this is no picture", ReadFileText(f + "z.bmp"));
  EXPECT_FALSE(Exists(f + "z.jpg"));
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" a.jpg", " b.jpg", " c.jpg", " c.png", " d.jpg", " e.gif",
                                                   " e.jpg", " z.bmp"}));
  // One report, of the first failure.
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "was not converted"));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "c.png was not converted"));
  EXPECT_EQ(0, CountTraceLines(trace, "SKMSGBOX(", "z.bmp"));
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
}

// Renumbering: the typed base name with its dot made a blank; each picture
// takes the next name of the sequence that neither a picture nor a side
// file holds, and its side files come along; other files stay.
TEST(MediaBrowserBatch, RenumbersIntoFreeNamesWithSideFiles) {
  ProgramFolder program("batch renumber");
  Folder fixture("orbmedia batch renumber");
  const std::string f = fixture.path;
  MakePicture(f + "x.bmp", 60, 40);
  WriteFileText(f + "x.kwd", "keywords of x");
  MakePicture(f + "y.jpg", 60, 40);
  MakePicture(f + "z.png", 60, 40);
  MakePicture(f + "my trip 002.jpg", 30, 20);
  WriteFileText(f + "my trip 001.kwd", "keywords of another picture");
  const std::string xBmp = ReadFileText(f + "x.bmp");
  const std::string other = ReadFileText(f + "my trip 002.jpg");
  WritePictureSettings(f);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", "my.trip"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 4; }, 10000));
  SelectOnly(window, list, {" x.bmp", " y.jpg", " z.png"});
  PostMessageA(window, WM_COMMAND, kRenumber, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return Exists(f + "my trip 004.png") && Listed(list, " my trip 004.png"); },
                                 kBatchMs));
  // "my trip 001" is taken by a side file x would bring along.
  EXPECT_EQ(xBmp, ReadFileText(f + "my trip 002.bmp"));
  EXPECT_EQ("keywords of x", ReadFileText(f + "my trip 002.kwd"));
  EXPECT_EQ("keywords of another picture", ReadFileText(f + "my trip 001.kwd"));
  EXPECT_EQ(other, ReadFileText(f + "my trip 002.jpg"));
  EXPECT_EQ("JPEG 60 40", Identify(f + "my trip 003.jpg"));
  for (const char* gone : {"x.bmp", "x.kwd", "y.jpg", "z.png"}) EXPECT_FALSE(Exists(f + gone)) << gone;
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" my trip 002.bmp", " my trip 002.jpg", " my trip 003.jpg",
                                                   " my trip 004.png"}));
  CloseBrowser(window, browser);
}

// A side file that cannot follow its picture (another program holds it
// open) never parts from it: that picture keeps its name with its side file
// and is named in a warning; the next picture takes the name.
TEST(MediaBrowserBatch, RenumberingKeepsAPictureWithASideFileHeldOpen) {
  ProgramFolder program("batch renumber held");
  Folder fixture("orbmedia batch renumber held");
  const std::string f = fixture.path;
  MakePicture(f + "q.bmp", 60, 40);
  WriteFileText(f + "q.kwd", "keywords of q");
  MakePicture(f + "r.jpg", 60, 40);
  const std::string qBmp = ReadFileText(f + "q.bmp");
  const std::string trace = TempFolder() + "orbmedia_renumber_held_trace.txt";
  DeleteFileA(trace.c_str());
  WritePictureSettings(f);
  // Open without sharing its deletion: the file cannot be renamed.
  HANDLE held = CreateFileA((f + "q.kwd").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", "held;1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 2; }, 10000));
  SelectOnly(window, list, {" q.bmp", " r.jpg"});
  PostMessageA(window, WM_COMMAND, kRenumber, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return Exists(f + "held 001.jpg") && Listed(list, " held 001.jpg"); },
                                 kBatchMs));
  harness::PumpMessagesFor(500);
  CloseHandle(held);
  EXPECT_EQ(qBmp, ReadFileText(f + "q.bmp"));
  EXPECT_EQ("keywords of q", ReadFileText(f + "q.kwd"));
  EXPECT_FALSE(Exists(f + "held 001.bmp"));
  EXPECT_FALSE(Exists(f + "held 001.kwd"));
  EXPECT_FALSE(Exists(f + "r.jpg"));
  EXPECT_EQ(ListBoxTexts(list), (std::vector<std::string>{" held 001.jpg", " q.bmp"}));
  EXPECT_EQ(1, CountTraceLines(trace, "SKMSGBOX(", "q.bmp"));
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
}

// A picture that cannot be read in the middle of a batch: the others are
// turned, it stays byte for byte, and one box names it.  Then Escape,
// answered yes, stops a batch between two pictures: the pictures done are
// whole, the others untouched.
TEST(MediaBrowserBatch, FailuresAreReportedOnceAndEscapeStops) {
  ProgramFolder program("batch stop");
  Folder fixture("orbmedia batch stop");
  const std::string f = fixture.path;
  MakePicture(f + "a.bmp", 200, 100);
  WriteFileText(f + "b.jpg", "not a picture at all");
  MakePicture(f + "c.png", 200, 100);
  WriteFileText(f + "d.bmp", "BM broken too");
  const std::string trace = TempFolder() + "orbmedia_stop_trace.txt";
  DeleteFileA(trace.c_str());
  WritePictureSettings(f);
  harness::Process browser;
  // The failure box, then "yes" to the question whether to stop.
  HWND window = StartBrowser(program, &browser, "", {{"ORB_TRACE", trace}, {"ORB_ANSWERS", "1;1"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 4; }, 10000));
  SelectAll(window, list);
  std::vector<std::string> turned = {f + "a.bmp", f + "c.png"};
  std::vector<ULONGLONG> before = LastWrites(turned);
  PostMessageA(window, WM_COMMAND, kRotateRight, 0);
  ASSERT_TRUE(WaitForRewrites(turned, before));
  EXPECT_EQ("BMP 100 200", Identify(f + "a.bmp"));
  EXPECT_EQ("PNG 100 200", Identify(f + "c.png"));
  EXPECT_EQ("not a picture at all", ReadFileText(f + "b.jpg"));
  EXPECT_EQ("BM broken too", ReadFileText(f + "d.bmp"));
  EXPECT_TRUE(harness::PumpUntil([&] { return CountTraceLines(trace, "SKMSGBOX(", "b.jpg could not") == 1; }, 5000));
  EXPECT_EQ(0, CountTraceLines(trace, "SKMSGBOX(", "d.bmp"));

  // Eight large pictures; Escape comes right after the command.
  Folder many("orbmedia batch many");
  std::vector<std::string> paths;
  std::vector<std::string> originals;
  for (int i = 1; i <= 8; ++i) {
    paths.push_back(many.path + "p" + std::to_string(i) + ".bmp");
    MakePicture(paths.back(), 1600, 1200);
    originals.push_back(ReadFileText(paths.back()));
  }
  ASSERT_EQ(1, suite::SendSuiteCommand(window, suite::CMD_GO_TO_FOLDER, many.path));
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 8; }, 10000));
  SelectAll(window, list);
  PostMessageA(window, WM_COMMAND, kRotateRight, 0);
  PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return CountTraceLines(trace, "SKMSGBOX(", "Stop the running") == 1; },
                                 kBatchMs));
  harness::PumpMessagesFor(2000);
  int done = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i]);
    if (ReadFileText(paths[i]) == originals[i]) continue;
    EXPECT_EQ("BMP 1200 1600", Identify(paths[i])) << "a picture is turned whole or not at all";
    ++done;
  }
  EXPECT_GE(done, 1);
  EXPECT_LT(done, 8) << "Escape stopped the batch";
  // The browser goes on working: a new batch runs to its end.
  SelectAll(window, list);
  before = LastWrites(paths);
  PostMessageA(window, WM_COMMAND, kFlip, 0);
  EXPECT_TRUE(WaitForRewrites(paths, before));
  CloseBrowser(window, browser);
  DeleteFileA(trace.c_str());
}

// The wallpaper: the first selected picture stretched to the screen as a
// 24-bit BMP beside the program, and named in the user's desktop settings.
TEST(MediaBrowserBatch, SetsTheWallpaper) {
  ProgramFolder program("batch wallpaper");
  Folder fixture("orbmedia batch wallpaper");
  MakePicture(fixture.path + "w.png", 300, 200);
  WritePictureSettings(fixture.path);
  HKEY desktop = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE, nullptr, &desktop, nullptr));
  char old[MAX_PATH] = "";
  DWORD size = sizeof(old);
  const bool hadOld = RegQueryValueExA(desktop, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                      ERROR_SUCCESS;

  harness::Process browser;
  HWND window = StartBrowser(program, &browser);
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 1; }, 10000));
  SelectAll(window, list);
  const std::string wallpaper = program.path("ORBMEDIAWLP.BMP");
  PostMessageA(window, WM_COMMAND, kWallpaper, 0);
  EXPECT_TRUE(harness::PumpUntil(
      [&] {
        char value[MAX_PATH] = "";
        DWORD length = sizeof(value);
        return RegQueryValueExA(desktop, "Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &length) ==
                   ERROR_SUCCESS &&
               lstrcmpiA(value, wallpaper.c_str()) == 0;
      },
      kBatchMs));
  EXPECT_EQ("BMP " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " " +
                std::to_string(GetSystemMetrics(SM_CYSCREEN)),
            Identify(wallpaper));
  const std::string header = ReadFileText(wallpaper).substr(0, 54);
  ASSERT_EQ(54u, header.size());
  EXPECT_EQ(24, static_cast<unsigned char>(header[28])) << "bits per pixel of the BMP";
  EXPECT_TRUE(IsRed(PixelAt(wallpaper, 5, 5)));
  EXPECT_TRUE(IsBlue(PixelAt(wallpaper, GetSystemMetrics(SM_CXSCREEN) - 5, GetSystemMetrics(SM_CYSCREEN) - 5)));
  CloseBrowser(window, browser);

  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, hadOld ? old : const_cast<char*>(""), SPIF_UPDATEINIFILE);
  if (!hadOld) RegDeleteValueA(desktop, "Wallpaper");
  RegCloseKey(desktop);
}

}  // namespace
