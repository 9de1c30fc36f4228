// The picture tool's picture files and canvas modes under Wine: the real
// orbpaint started on pictures the test makes, driven by posted mouse
// messages and commands as a user's clicks and menu choices arrive, its
// boxes answered by ORB_ANSWERS and its Save As by the file picker's own
// controls.  What it writes is read back by ImageMagick (identify, compare,
// convert) and what it asks is read from the skin engine's call trace.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "harness.h"
#include "core/suite_command_codes.h"
#include "imaging.h"
#include "core/obf_types.h"
#include "obf_file.h"
#include "paint_test_support.h"
#include "suite_command.h"
#include "test_files.h"
#include "trace_format.h"
#include "unix_tools.h"

namespace {

using namespace painttest;

constexpr int kSelectionCommand = 315;
constexpr int kRedEyeCommand = 317;
constexpr int kCropCommand = 1001;
constexpr int kSaveCommand = 106;
constexpr int kSaveAsCommand = 107;

// The working copy and its sidecar stay in the temporary folder after the
// program ends, as they should; each test removes them.
class WorkingCopyCleanup {
 public:
  WorkingCopyCleanup() { Remove(); }
  ~WorkingCopyCleanup() { Remove(); }
  static std::string Path(const char* extension) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "ORBPAINTWORK" + extension;
  }

 private:
  static void Remove() {
    DeleteFileA(Path(".bmp").c_str());
    DeleteFileA(Path(".obf").c_str());
  }
};

std::string Shell(const std::string& command) {
  std::string output;
  return harness::UnixToolOutput(command, 30000, &output) ? output : "failed: " + output;
}

std::string Q(const std::string& windowsPath) { return harness::ShellQuoted(harness::UnixPathOf(windowsPath)); }

std::string Identify(const std::string& path) { return Shell("identify -format '%m %w %h' " + Q(path) + "[0]"); }

// The pixel at (x, y) as R, G, B read by ImageMagick.
std::vector<int> PixelOf(const std::string& path, int x, int y) {
  const std::string hex = Shell("convert " + Q(path) + " -crop 1x1+" + std::to_string(x) + "+" + std::to_string(y) +
                                " +repage -depth 8 rgb:- | od -An -tu1");
  std::vector<int> values;
  size_t at = 0;
  while (at < hex.size()) {
    while (at < hex.size() && hex[at] == ' ') ++at;
    size_t end = at;
    while (end < hex.size() && hex[end] >= '0' && hex[end] <= '9') ++end;
    if (end == at) break;
    values.push_back(std::stoi(hex.substr(at, end - at)));
    at = end;
  }
  return values;
}

// The number of pixels that differ between two pictures (compare -metric AE).
std::string DifferentPixels(const std::string& a, const std::string& b, const std::string& fuzz) {
  // compare ends with status 1 when the pictures differ: only the count matters.
  std::string output;
  harness::UnixToolOutput("compare -fuzz " + fuzz + " -metric AE " + Q(a) + " " + Q(b) + " null: 2>&1", 30000,
                          &output);
  return output;
}

// A lossless picture whose every pixel differs: red = 6x, green = 8y, blue 200.
bool WriteGradientBmp(const std::string& path, int width, int height) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    L_UCHAR* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = 200;
      row[3 * x + 1] = static_cast<L_UCHAR>(8 * y);
      row[3 * x + 2] = static_cast<L_UCHAR>(6 * x);
    }
  }
  const bool saved = L_SaveBitmap(path.c_str(), &bitmap, FILE_BMP, 24, 0, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

int Grey(int red, int green, int blue) { return (19595 * red + 38470 * green + 7471 * blue) >> 16; }

// The message boxes the program showed whose text holds `text`.
size_t BoxesSaying(const PaintFolder& folder, const std::string& text) {
  size_t count = 0;
  for (const std::string& line : TraceCalls(folder, "themecore SKMSGBOX")) {
    if (line.find(text) != std::string::npos) ++count;
  }
  return count;
}

void PostDrag(HWND canvas, POINT from, POINT to) {
  PostMessageA(canvas, WM_MOUSEMOVE, 0, MAKELPARAM(from.x, from.y));
  PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
  PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
  PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
}

bool WaitForLoad(const PaintFolder& folder, const std::string& size) {
  return harness::PumpUntil([&] {
    for (const std::string& line : TraceCalls(folder, "orbpaint LoadPictureIntoCanvas")) {
      if (line.size() >= size.size() && line.compare(line.size() - size.size(), size.size(), size) == 0) return true;
    }
    return false;
  }, kStartMs);
}

// A JPEG is opened from a folder whose name holds a dot, a selection is
// dragged and cropped; the cut lives in the working copy while the original
// stays as it was, and Save As through the file picker with the PNG type
// chosen writes a PNG of exactly the cut pixels under the typed name.
TEST(PictureFiles, CropThenSaveAsPngKeepsTheOriginalUntilSaved) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint.files crop");
  const std::string photo = folder.path("photo.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(photo, 120, 80));
  std::string original;
  ASSERT_TRUE(harness::ReadFileBytes(photo, &original));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + photo + "\"", "1");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 120 x 80"));
  HWND canvas = CanvasOf(window);
  ASSERT_NE(canvas, nullptr);

  PostMessageA(window, WM_COMMAND, kSelectionCommand, 0);
  // Dragged from the bottom right to the top left: the corners are put in
  // order.
  PostDrag(canvas, {90, 60}, {40, 20});
  PostMessageA(window, WM_COMMAND, kCropCommand, 0);
  ASSERT_TRUE(WaitForLoad(folder, "= 50 x 40"));
  EXPECT_EQ(Identify(WorkingCopyCleanup::Path(".bmp")), "BMP3 50 40");
  std::string still;
  ASSERT_TRUE(harness::ReadFileBytes(photo, &still));
  EXPECT_TRUE(still == original) << "the original is untouched until it is saved";

  PostMessageA(window, WM_COMMAND, kSaveAsCommand, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(paint.id())) != nullptr; }, kStartMs));
  HWND types = GetDlgItem(dialog, 3);
  const LRESULT png = SendMessageA(types, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" PNG"));
  ASSERT_GE(png, 0);
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(png), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
  // The cropped picture proposes its own name.
  wchar_t proposed[64] = {};
  SendMessageW(GetDlgItem(dialog, 4), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(proposed));
  EXPECT_STREQ(proposed, L"photo");
  SendMessageA(GetDlgItem(dialog, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("cut"));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);

  const std::string saved = folder.path("cut.PNG");
  ASSERT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "was saved as") == 1; }, kStartMs));
  EXPECT_EQ(Identify(saved), "PNG 50 40");
  const std::string expected = folder.path("expected.png");
  ASSERT_EQ(Shell("convert " + Q(photo) + " -crop 50x40+40+20 +repage " + Q(expected)), "");
  EXPECT_EQ(DifferentPixels(saved, expected, "12%"), "0");
  ASSERT_TRUE(harness::ReadFileBytes(photo, &still));
  EXPECT_TRUE(still == original) << "Save As leaves the original alone";
  // The saved picture is shown under its lower-case path and no temporary
  // file is left beside it.
  std::string lower = saved;
  CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  EXPECT_TRUE(WaitForLoad(folder, "= 50 x 40"));
  EXPECT_FALSE(harness::FileExists(saved + ".orbpaint-save"));
  CloseBySuiteCommand(window, paint);
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 0u) << "nothing was left unsaved";
}

// Red-eye clicks turn the 5 x 5 square less its corners grey by the luma
// weights, a click at the corner only the points inside the picture; the
// right click undoes the newest; Save writes the picture over its own file.
TEST(PictureFiles, RedEyeStrokesChangeOnlyTheStrokedPixelsAndUndoRestoresThem) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint redeye");
  const std::string picture = folder.path("eyes.bmp");
  const std::string before = folder.path("before.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
  ASSERT_TRUE(CopyFileA(picture.c_str(), before.c_str(), FALSE));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "1");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 40 x 30"));
  HWND canvas = CanvasOf(window);
  ASSERT_NE(canvas, nullptr);

  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(canvas, 10, 10);
  PostClick(canvas, 0, 0);
  PostMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(0, 0));
  PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "was saved as") == 1; }, kStartMs));

  EXPECT_EQ(Identify(picture), "BMP3 40 30");
  EXPECT_EQ(DifferentPixels(picture, before, "0"), "21") << "only the centre stroke's 21 pixels changed";
  const struct {
    int x, y;
  } stroked[] = {{10, 10}, {8, 9}, {12, 11}, {9, 8}, {11, 12}};
  for (const auto& point : stroked) {
    const int grey = Grey(6 * point.x, 8 * point.y, 200);
    EXPECT_EQ(PixelOf(picture, point.x, point.y), (std::vector<int>{grey, grey, grey})) << point.x << "," << point.y;
  }
  // The square's corners and the undone corner stroke keep their colours.
  for (const auto& point : {POINT{8, 8}, POINT{12, 12}, POINT{0, 0}, POINT{1, 1}}) {
    EXPECT_EQ(PixelOf(picture, point.x, point.y), (std::vector<int>{6 * point.x, 8 * point.y, 200}))
        << point.x << "," << point.y;
  }
  CloseBySuiteCommand(window, paint);
}

// A stroke of an earlier spell of the brush stays unsaved when every stroke
// of a later spell is undone: closing (here by another program's close
// command) asks about it.
TEST(PictureFiles, UndoingALaterSpellKeepsAnEarlierStrokeUnsaved) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint spells");
  const std::string picture = folder.path("eyes.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
  std::string original;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &original));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 40 x 30"));
  HWND canvas = CanvasOf(window);
  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(canvas, 10, 10);
  PostMessageA(window, WM_COMMAND, kSelectionCommand, 0);  // ends the first spell
  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(canvas, 20, 20);
  PostMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
  CloseBySuiteCommand(window, paint);
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 1u);
  std::string after;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &after));
  EXPECT_TRUE(after == original) << "answered no: nothing is written";
}

// A save that cannot replace the picture (the file is read-only, or its
// folder went away) says so, leaves the old file as it was and keeps the
// changes, so that closing still asks about them.
TEST(PictureFiles, AFailedSaveReportsItAndKeepsTheOldFileAndTheChanges) {
  const struct {
    const char* name;
    bool readOnly;
  } cases[] = {{"read-only file", true}, {"missing folder", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WorkingCopyCleanup cleanup;
    PaintFolder folder("paint failed save");
    harness::ScratchFolder pictures("paint.pictures");
    const std::string picture = pictures.Child("eyes.bmp");
    ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
    std::string original;
    ASSERT_TRUE(harness::ReadFileBytes(picture, &original));
    harness::Process paint;
    // The warning is acknowledged; the question at close is answered no.
    HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "1;2");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForLoad(folder, "= 40 x 30"));
    HWND canvas = CanvasOf(window);
    PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
    PostClick(canvas, 10, 10);
    ASSERT_TRUE(harness::PumpUntil([&] { return TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size() >= 2; },
                                   kStartMs));
    harness::PumpMessagesFor(300);
    const std::string moved = pictures.path() + " moved";
    if (c.readOnly) {
      ASSERT_TRUE(SetFileAttributesA(picture.c_str(), FILE_ATTRIBUTE_READONLY));
    } else {
      ASSERT_TRUE(MoveFileA(pictures.path().c_str(), moved.c_str()));
    }
    PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
    EXPECT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "could not be saved") == 1; }, kStartMs));
    EXPECT_EQ(BoxesSaying(folder, "was saved as"), 0u);
    CloseBySuiteCommand(window, paint);
    EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 1u) << "the changes were kept";
    if (c.readOnly) {
      SetFileAttributesA(picture.c_str(), FILE_ATTRIBUTE_NORMAL);
    } else {
      ASSERT_TRUE(MoveFileA(moved.c_str(), pictures.path().c_str()));
    }
    std::string after;
    ASSERT_TRUE(harness::ReadFileBytes(picture, &after));
    EXPECT_TRUE(after == original);
    WIN32_FIND_DATAA found = {};
    HANDLE search = FindFirstFileA((pictures.path() + "\\*.orbpaint-save").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "no temporary file is left";
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
  }
}

// A keyword file beside a picture (found by the picture's own name, also in
// a dotted folder) puts its keyword in the caption and its text in the
// status line.
TEST(PictureFiles, KeywordFileGivesTheCaption) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint.keywords");
  const std::string picture = folder.path("beach.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 64, 48));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("beach.KWD"), std::string("sand and sea\0Holiday  ", 22)));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 64 x 48"));
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(window).rfind("[Holiday] ", 0) == 0; }, kStartMs))
      << harness::WindowText(window);
  EXPECT_NE(harness::WindowText(window).find(" beach.jpg  64 x 48 "), std::string::npos) << harness::WindowText(window);
  CloseBySuiteCommand(window, paint);
}

// Paging wraps at the ends, drops a picture deleted behind the program's
// back, asks before a changed picture is replaced, follows the track bar,
// and with every picture gone shows the empty canvas.
TEST(PictureFiles, PagingSkipsDeletedPicturesAndAsksBeforeReplacingChanges) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint paging");
  const std::string a = folder.path("a.bmp"), b = folder.path("b.bmp"), c = folder.path("c.bmp");
  ASSERT_TRUE(WriteGradientBmp(a, 30, 20));
  ASSERT_TRUE(WriteGradientBmp(b, 40, 20));
  ASSERT_TRUE(WriteGradientBmp(c, 50, 20));
  harness::Process paint;
  // The questions before paging away from the red-eye stroke and from the
  // picture whose file went away: no.
  HWND window = StartPaint(folder, &paint, "", "2;2");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, a + "|" + b + "|" + c), 1);
  ASSERT_TRUE(WaitForLoad(folder, "= 30 x 20"));
  EXPECT_TRUE(harness::PumpUntil([&] { return FindChild(window, 0, "1/3") != nullptr; }, kStartMs));

  PostMessageA(window, WM_COMMAND, 1, 0);  // previous from the first: the last
  ASSERT_TRUE(WaitForLoad(folder, "= 50 x 20"));
  EXPECT_TRUE(harness::PumpUntil([&] { return FindChild(window, 0, "3/3") != nullptr; }, kStartMs));
  ASSERT_TRUE(DeleteFileA(b.c_str()));
  PostMessageA(window, WM_COMMAND, 3, 0);  // wraps to the first
  ASSERT_TRUE(WaitForLoad(folder, "= 30 x 20"));
  PostMessageA(window, WM_COMMAND, 3, 0);  // b is gone: c follows
  ASSERT_TRUE(harness::PumpUntil([&] { return FindChild(window, 0, "2/2") != nullptr; }, kStartMs));
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back(),
            "orbpaint LoadPictureIntoCanvas(" + orbtrace::QuoteText(c) + ") = 50 x 20");

  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(CanvasOf(window), 5, 5);
  PostMessageA(window, WM_COMMAND, 76, 0);  // the track bar at 0: the first
  ASSERT_TRUE(harness::PumpUntil([&] { return FindChild(window, 0, "1/2") != nullptr; }, kStartMs));
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 1u);
  const std::string fresh = folder.path("fresh.bmp");
  ASSERT_TRUE(WriteGradientBmp(fresh, 50, 20));
  EXPECT_EQ(DifferentPixels(c, fresh, "0"), "0") << "answered no: the stroke was not written";

  ASSERT_TRUE(DeleteFileA(a.c_str()));
  ASSERT_TRUE(DeleteFileA(c.c_str()));
  const std::string emptyCanvas = "orbpaint LoadPictureIntoCanvas(\"\") = 0 x 0";
  PostMessageA(window, WM_COMMAND, 3, 0);
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back() == emptyCanvas; }, kStartMs));
  PostMessageA(window, WM_COMMAND, 3, 0);  // nothing left to page through
  harness::PumpMessagesFor(300);
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back(), emptyCanvas);
  CloseBySuiteCommand(window, paint);
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 2u);
}

// A window of the test's own colour, for the screen capture to find.
class ColourWindow {
 public:
  ColourWindow(int x, int y, int width, int height) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(RGB(0, 200, 0));
    windowClass.lpszClassName = "PaintTestGreen";
    RegisterClassA(&windowClass);
    window_ = CreateWindowExA(WS_EX_TOPMOST, "PaintTestGreen", "", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window_);
  }
  ~ColourWindow() { DestroyWindow(window_); }

 private:
  HWND window_ = nullptr;
};

// The screen captured, a picture pasted from the clipboard: each becomes an
// unnamed picture held only in the working copy, and Delete removes just
// that working copy and leaves the empty canvas.
TEST(PictureFiles, CaptureAndPasteMakeUnnamedPicturesThatDeleteRemoves) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint capture");
  const std::string gradient = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(gradient, 40, 30));
  harness::Process paint;
  // The question before the pasted picture replaces the captured one: no.
  HWND window = StartPaint(folder, &paint, "", "2");
  ASSERT_NE(window, nullptr);
  {
    ColourWindow green(600, 400, 120, 90);
    harness::PumpMessagesFor(300);
    PostMessageA(window, WM_COMMAND, 801, 0);
    const std::string screen = "= " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
                               std::to_string(GetSystemMetrics(SM_CYSCREEN));
    ASSERT_TRUE(WaitForLoad(folder, screen));
  }
  const std::string workingCopy = WorkingCopyCleanup::Path(".bmp");
  EXPECT_EQ(PixelOf(workingCopy, 660, 445), (std::vector<int>{0, 200, 0}));
  EXPECT_TRUE(IsWindowVisible(window)) << "the program's window comes back after the capture";

  // The clipboard holds the test's picture.
  BITMAPHANDLE bitmap = {};
  ASSERT_EQ(L_LoadBitmap(gradient.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr), IMG_SUCCESS);
  ASSERT_EQ(L_CopyToClipboard(nullptr, &bitmap, 0), IMG_SUCCESS);
  L_FreeBitmap(&bitmap);
  PostMessageA(window, WM_COMMAND, 309, 0);
  ASSERT_TRUE(WaitForLoad(folder, "= 40 x 30"));
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 1u);
  EXPECT_EQ(DifferentPixels(workingCopy, gradient, "0"), "0");
  EXPECT_EQ(L_ClipboardReady(), 0) << "the clipboard is emptied";

  PostMessageA(window, WM_COMMAND, 108, 0);
  const std::string emptyCanvas = "orbpaint LoadPictureIntoCanvas(\"\") = 0 x 0";
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back() == emptyCanvas; }, kStartMs));
  EXPECT_FALSE(harness::FileExists(workingCopy));
  EXPECT_TRUE(harness::FileExists(gradient));
  CloseBySuiteCommand(window, paint);
  EXPECT_EQ(BoxesSaying(folder, "Save the changes"), 1u) << "nothing is left to save";
}

// True when the thread of `window` holds the mouse capture.
bool HoldsMouseCapture(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCapture != nullptr;
}

void SendMouseButton(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof(input));
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

// The capture of a pointed-at window, ended three ways: Escape and the right
// button cancel and leave the loaded picture as it was; a left click on a
// window of the test's colour makes that window's pixels the new unnamed
// picture, at the window's size.
TEST(PictureFiles, CaptureOfThePointedWindowTakesItsPixelsOrCancels) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint pointed capture");
  const std::string gradient = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(gradient, 40, 30));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + gradient + "\"", "2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 40 x 30"));
  ColourWindow green(500, 300, 130, 70);
  harness::PumpMessagesFor(300);
  const std::string workingCopy = WorkingCopyCleanup::Path(".bmp");
  const std::string trace = "imaging L_CaptureSelectedObject";

  struct Cancel {
    const char* how;
    void (*end)();
  };
  const Cancel cancels[] = {
      {"Escape", [] {
         SendKey(VK_ESCAPE, false);
         harness::PumpMessagesFor(150);
         SendKey(VK_ESCAPE, true);
       }},
      {"right button", [] {
         SetCursorPos(565, 335);
         SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
         SendMouseButton(MOUSEEVENTF_RIGHTUP);
       }},
  };
  const std::vector<std::string> loads = TraceCalls(folder, "orbpaint LoadPictureIntoCanvas");
  size_t calls = 0;
  for (const Cancel& cancel : cancels) {
    SCOPED_TRACE(cancel.how);
    // The user picked the menu item, so the program is in front.
    SetForegroundWindow(window);
    PostMessageA(window, WM_COMMAND, 803, 0);
    ASSERT_TRUE(harness::PumpUntil([&] { return HoldsMouseCapture(window); }, kStartMs));
    cancel.end();
    ASSERT_TRUE(WaitForTraceCalls(folder, trace, ++calls));
    EXPECT_NE(TraceCalls(folder, trace).back().find("= -13"), std::string::npos) << TraceCalls(folder, trace).back();
    ASSERT_TRUE(harness::PumpUntil([&] { return !HoldsMouseCapture(window); }, kStartMs));
    harness::PumpMessagesFor(300);
    EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas"), loads) << "the picture stays";
    EXPECT_FALSE(harness::FileExists(workingCopy));
  }

  SetForegroundWindow(window);
  PostMessageA(window, WM_COMMAND, 803, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return HoldsMouseCapture(window); }, kStartMs));
  SetCursorPos(565, 335);
  harness::PumpMessagesFor(200);
  // The pointing hand of the program's resources is shown (its handle
  // belongs to the program, so only "not the arrow" can be seen from here),
  // and the program holds that hand, its hot spot at the finger tip.
  CURSORINFO shown = {};
  shown.cbSize = sizeof(shown);
  ASSERT_TRUE(GetCursorInfo(&shown));
  EXPECT_NE(shown.hCursor, nullptr);
  EXPECT_NE(shown.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  {
    HMODULE program = LoadLibraryExA(folder.path("orbpaint.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    HCURSOR handex = static_cast<HCURSOR>(LoadImageA(program, "HANDEX", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    ICONINFO hand = {};
    EXPECT_TRUE(handex != nullptr && GetIconInfo(handex, &hand));
    EXPECT_EQ(hand.xHotspot, 14u);
    EXPECT_EQ(hand.yHotspot, 1u);
    if (hand.hbmMask != nullptr) DeleteObject(hand.hbmMask);
    if (hand.hbmColor != nullptr) DeleteObject(hand.hbmColor);
    if (handex != nullptr) DestroyCursor(handex);
    FreeLibrary(program);
  }
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitForLoad(folder, "= 130 x 70"));
  EXPECT_NE(TraceCalls(folder, trace).back().find("(1) = 1"), std::string::npos) << TraceCalls(folder, trace).back();
  EXPECT_EQ(Identify(workingCopy), "BMP3 130 70");
  for (const POINT at : {POINT{0, 0}, POINT{65, 35}, POINT{129, 69}}) {
    EXPECT_EQ(PixelOf(workingCopy, at.x, at.y), (std::vector<int>{0, 200, 0})) << at.x << ", " << at.y;
  }
  CloseBySuiteCommand(window, paint);
  EXPECT_TRUE(harness::FileExists(gradient));
}

struct ClassSearch {
  DWORD process;
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (owner != search->process || lstrcmpA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The full-screen view of a picture smaller than the screen: shown centred
// on a topmost window of the screen's size, not panned by the arrow keys,
// not fitted by a right click, and ended by any other key.
TEST(PictureFiles, FullViewShowsASmallPictureCentred) {
  PaintFolder folder("paint full view");
  const std::string picture = folder.path("small.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 200, 150));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 200 x 150"));
  ClassSearch search = {paint.id(), "SKZOOM", nullptr};
  EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
  HWND view = search.found;
  ASSERT_NE(view, nullptr);
  EXPECT_FALSE(IsWindowVisible(view));

  PostMessageA(window, WM_COMMAND, 2, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(view) != FALSE; }, kStartMs));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const RECT placed = harness::WindowRectOf(view);
  EXPECT_EQ(placed.left, 0);
  EXPECT_EQ(placed.top, 0);
  EXPECT_EQ(placed.right, screenWidth);
  EXPECT_EQ(placed.bottom, screenHeight);
  PostMessageA(view, WM_KEYDOWN, VK_LEFT, 0);
  PostMessageA(view, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  harness::PumpMessagesFor(300);
  EXPECT_TRUE(IsWindowVisible(view));
  const std::string shot = folder.path("view.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(view, shot));
  harness::Bmp24 shown;
  ASSERT_TRUE(harness::ReadBmp24(shot, &shown));
  const int originX = (screenWidth - 200) / 2, originY = (screenHeight - 150) / 2;
  const COLORREF left = shown.at(originX + 40, originY + 75), right = shown.at(originX + 160, originY + 75);
  EXPECT_GT(GetRValue(left), 200);
  EXPECT_LT(GetBValue(left), 60);
  EXPECT_GT(GetBValue(right), 200);
  EXPECT_LT(GetRValue(right), 60);
  EXPECT_EQ(harness::WindowRectOf(view).left, 0) << "a small picture does not pan";

  PostMessageA(view, WM_KEYDOWN, 'A', 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(view) == FALSE; }, kStartMs));
  CloseBySuiteCommand(window, paint);
}

// A GIF is shown through the conversion file; Save As proposes PNG (GIF is
// read, not written); a GIF the converter cannot read leaves an empty
// canvas, never the previous GIF; the conversion file goes at exit.
TEST(PictureFiles, GifsGoThroughTheConversionFile) {
  PaintFolder folder("paint gif");
  const std::string gif = folder.path("red.gif"), broken = folder.path("broken.gif");
  ASSERT_EQ(Shell("convert -size 30x20 xc:'#ff0000' " + Q(gif)), "");
  ASSERT_TRUE(harness::WriteFileBytes(broken, "GIF89a but nothing more"));
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string conversion = std::string(temp) + "ORBPAINTCONV.BMP";
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + gif + "\"", "");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 30 x 20"));
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back(),
            "orbpaint LoadPictureIntoCanvas(" + orbtrace::QuoteText(conversion) + ") = 30 x 20");
  EXPECT_EQ(PixelOf(conversion, 3, 3), (std::vector<int>{255, 0, 0}));

  PostMessageA(window, WM_COMMAND, kSaveAsCommand, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(paint.id())) != nullptr; }, kStartMs));
  HWND types = GetDlgItem(dialog, 3);
  // Across processes the box's texts travel as UTF-16.
  wchar_t type[64] = {};
  SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageW(types, CB_GETCURSEL, 0, 0)),
               reinterpret_cast<LPARAM>(type));
  EXPECT_STREQ(type, L" PNG");
  SendMessageA(GetDlgItem(dialog, 5), BM_CLICK, 0, 0);  // cancel
  ASSERT_TRUE(harness::PumpUntil([&] { return FindChooserDialog(paint.id()) == nullptr; }, kStartMs));

  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, broken), 1);
  ASSERT_TRUE(harness::PumpUntil([&] {
    return TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back() ==
           "orbpaint LoadPictureIntoCanvas(" + orbtrace::QuoteText(conversion) + ") = 0 x 0";
  }, kStartMs));
  CloseBySuiteCommand(window, paint);
  EXPECT_FALSE(harness::FileExists(conversion));
}

// A crop moves the drawing objects with the picture; Save As writes the
// cut picture without them (their pixels stay out of the PNG) and their
// sidecar beside it.
TEST(PictureFiles, CropMovesTheObjectsAndSaveKeepsThemOutOfThePixels) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint crop objects");
  const std::string photo = folder.path("photo.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(photo, 200, 150));
  harness::Process paint;
  // The saved box is acknowledged.
  HWND window = StartPaint(folder, &paint, "\"" + photo + "\"", "1");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 200 x 150"));
  HWND canvas = CanvasOf(window);
  PostMessageA(window, WM_COMMAND, 405, 0);
  ASSERT_TRUE(ConfirmBox("SKDRAWBOX"));
  PostClick(canvas, 150, 100);
  PostClick(canvas, 40, 20);
  ASSERT_TRUE(harness::PumpUntil([&] { return ObjectWindows(window).size() == 2; }, kStartMs));

  PostMessageA(window, WM_COMMAND, kSelectionCommand, 0);
  PostDrag(canvas, {20, 10}, {180, 130});
  PostMessageA(window, WM_COMMAND, kCropCommand, 0);
  ASSERT_TRUE(WaitForLoad(folder, "= 160 x 120"));
  PostMessageA(window, WM_COMMAND, kSaveAsCommand, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(paint.id())) != nullptr; }, kStartMs));
  HWND types = GetDlgItem(dialog, 3);
  const LRESULT png = SendMessageA(types, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(" PNG"));
  ASSERT_GE(png, 0);
  SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(png), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
  SendMessageA(GetDlgItem(dialog, 4), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("framed"));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "was saved as") == 1; }, kStartMs));

  const std::string saved = folder.path("framed.PNG");
  EXPECT_EQ(Identify(saved), "PNG 160 120");
  const std::string expected = folder.path("expected.png");
  ASSERT_EQ(Shell("convert " + Q(photo) + " -crop 160x120+20+10 +repage " + Q(expected)), "");
  EXPECT_EQ(DifferentPixels(saved, expected, "12%"), "0") << "no object is burned into the picture";
  overlay::ObfDocument document;
  ASSERT_EQ(overlay::ReadObfSidecar(saved, &document), overlay::ObfStatus::kOk);
  ASSERT_EQ(document.objects.size(), 1u);
  const overlay::ObfObject& arrow = document.objects[0];
  ASSERT_EQ(arrow.points.size(), 2u);
  EXPECT_EQ(arrow.x + arrow.points[0].x, 130);
  EXPECT_EQ(arrow.y + arrow.points[0].y, 90);
  EXPECT_EQ(arrow.x + arrow.points[1].x, 20);
  EXPECT_EQ(arrow.y + arrow.points[1].y, 10);
  EXPECT_EQ(document.trailer.canvasWidth, 160);
  CloseBySuiteCommand(window, paint);
}

// The canvas scrolls by 5 pixels a line and 50 a page, no further than the
// canvas holds, and clicks land on the picture where it is scrolled to.
TEST(PictureFiles, ScrollingMovesTheViewAndClicksFollowIt) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint scroll");
  const std::string picture = folder.path("large.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 1500, 1000));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "1;1");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 1500 x 1000"));
  HWND canvas = CanvasOf(window);
  PostMessageA(canvas, WM_VSCROLL, SB_LINEDOWN, 0);
  PostMessageA(canvas, WM_VSCROLL, SB_LINEDOWN, 0);
  PostMessageA(canvas, WM_VSCROLL, SB_PAGEDOWN, 0);
  PostMessageA(canvas, WM_HSCROLL, SB_PAGEDOWN, 0);
  PostMessageA(canvas, WM_HSCROLL, SB_LINEUP, 0);
  // The scroll bars belong to the program's process; where the view went
  // shows in where the next click lands.

  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(canvas, 10, 10);
  PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "was saved as") == 1; }, kStartMs));
  const int grey = Grey((6 * 55) & 0xFF, (8 * 70) & 0xFF, 200);
  EXPECT_EQ(PixelOf(picture, 55, 70), (std::vector<int>{grey, grey, grey}));
  EXPECT_EQ(PixelOf(picture, 10, 10), (std::vector<int>{60, 80, 200})) << "the window point itself is untouched";

  // The saved picture is loaded again at the top left; dragged far down,
  // the view stops at the canvas's end.
  RECT client = {};
  GetClientRect(canvas, &client);
  PostMessageA(canvas, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5000), 0);
  PostClick(canvas, 10, 10);
  PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return BoxesSaying(folder, "was saved as") == 2; }, kStartMs));
  const int bottomY = 1000 - client.bottom + 10;
  const int bottomGrey = Grey(6 * 10, (8 * bottomY) & 0xFF, 200);
  EXPECT_EQ(PixelOf(picture, 10, bottomY), (std::vector<int>{bottomGrey, bottomGrey, bottomGrey})) << bottomY;
  CloseBySuiteCommand(window, paint);
}

// Revert drops a red-eye stroke by loading the picture again (nothing is
// left to ask about); Delete asks, removes the picture's file and shows the
// next one.
TEST(PictureFiles, RevertDropsChangesAndDeleteRemovesTheFile) {
  WorkingCopyCleanup cleanup;
  PaintFolder folder("paint delete");
  const std::string a = folder.path("a.bmp"), b = folder.path("b.bmp");
  ASSERT_TRUE(WriteGradientBmp(a, 30, 20));
  ASSERT_TRUE(WriteGradientBmp(b, 40, 20));
  harness::Process paint;
  // Delete's question: yes.
  HWND window = StartPaint(folder, &paint, "", "1");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, a + "|" + b), 1);
  ASSERT_TRUE(WaitForLoad(folder, "= 30 x 20"));
  PostMessageA(window, WM_COMMAND, kRedEyeCommand, 0);
  PostClick(CanvasOf(window), 5, 5);
  const size_t loads = TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size();
  PostMessageA(window, WM_COMMAND, 4, 0);
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size() == loads + 1; }, kStartMs));

  PostMessageA(window, WM_COMMAND, 108, 0);
  ASSERT_TRUE(WaitForLoad(folder, "= 40 x 20"));
  EXPECT_FALSE(harness::FileExists(a));
  EXPECT_TRUE(harness::FileExists(b));
  EXPECT_TRUE(harness::PumpUntil([&] { return FindChild(window, 0, "1/1") != nullptr; }, kStartMs));
  const std::vector<std::string> boxes = TraceCalls(folder, "themecore SKMSGBOX");
  ASSERT_EQ(boxes.size(), 1u) << "revert left nothing to ask about";
  EXPECT_NE(boxes[0].find("Delete this picture?"), std::string::npos) << boxes[0];
  CloseBySuiteCommand(window, paint);
}

// Takes the first item of the program's open style popup with the keys a
// user would press.
bool ChooseFirstStyle(harness::Process& paint) {
  ClassSearch search = {paint.id(), "#32768", nullptr};
  if (!harness::PumpUntil([&] {
        search.found = nullptr;
        EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr && IsWindowVisible(search.found);
      }, kStartMs)) {
    return false;
  }
  PostMessageA(search.found, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(search.found, WM_KEYDOWN, VK_RETURN, 0);
  return true;
}

// The absolute points of the sidecar's only object, and its kind.
std::vector<std::pair<int, int>> SavedPoints(const std::string& picture, uint16_t* kind) {
  overlay::ObfDocument document;
  std::vector<std::pair<int, int>> points;
  if (overlay::ReadObfSidecar(picture, &document) != overlay::ObfStatus::kOk || document.objects.size() != 1) {
    return points;
  }
  const overlay::ObfObject& object = document.objects[0];
  *kind = object.kind;
  for (const overlay::ObfPoint& point : object.points) points.emplace_back(object.x + point.x, object.y + point.y);
  return points;
}

// A polyline from the mouse: the style popup's first item is taken with
// Return, the shape box confirmed, a click at the same point as the last
// collects nothing, a right click takes the last point back, and a double
// click finishes; the sidecar holds exactly the collected points.
TEST(PictureFiles, PolylinePointsComeFromTheMouse) {
  PaintFolder folder("paint polyline");
  const std::string picture = folder.path("lines.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 200, 150));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForLoad(folder, "= 200 x 150"));
  HWND canvas = CanvasOf(window);
  PostMessageA(window, WM_COMMAND, 406, 0);
  ASSERT_TRUE(ChooseFirstStyle(paint));
  ASSERT_TRUE(ConfirmBox("SKDRAWBOX"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint RunShapeBox", 1));
  PostClick(canvas, 10, 10);
  PostClick(canvas, 10, 10);
  PostClick(canvas, 50, 20);
  PostClick(canvas, 90, 90);
  PostMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(90, 90));
  PostClick(canvas, 60, 40);
  PostMessageA(canvas, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 40));
  ASSERT_TRUE(harness::PumpUntil([&] { return ObjectWindows(window).size() == 2; }, kStartMs));
  PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  uint16_t kind = 0;
  const std::vector<std::pair<int, int>> points = SavedPoints(picture, &kind);
  EXPECT_EQ(kind, overlay::kKindPolyline);
  EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{10, 10}, {50, 20}, {60, 40}}));
  CloseBySuiteCommand(window, paint);
}

// An ellipse is drawn from its centre: the second click is a corner of its
// box.  A polyline's 257th click finishes it with 256 points.
TEST(PictureFiles, EllipseFromTheCentreAndTheLongestPolyline) {
  const struct {
    const char* name;
    int command;
    uint16_t kind;
    int clicks;
  } cases[] = {{"ellipse", 402, overlay::kKindEllipse, 2}, {"polyline", 406, overlay::kKindPolyline, 257}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PaintFolder folder("paint shapes");
    const std::string picture = folder.path("shapes.jpg");
    ASSERT_TRUE(WriteTwoColourJpeg(picture, 300, 200));
    harness::Process paint;
    HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitForLoad(folder, "= 300 x 200"));
    HWND canvas = CanvasOf(window);
    PostMessageA(window, WM_COMMAND, c.command, 0);
    ASSERT_TRUE(ChooseFirstStyle(paint));
    ASSERT_TRUE(ConfirmBox("SKDRAWBOX"));
    ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint RunShapeBox", 1));
    std::vector<std::pair<int, int>> expected;
    if (c.kind == overlay::kKindEllipse) {
      PostClick(canvas, 100, 75);
      PostClick(canvas, 130, 95);
      expected = {{70, 55}, {130, 95}};
    } else {
      for (int i = 0; i < c.clicks; ++i) {
        const int x = 10 + i % 250, y = 10 + (i / 250) * 50;
        PostClick(canvas, x, y);
        if (i < 256) expected.emplace_back(x, y);
      }
    }
    ASSERT_TRUE(harness::PumpUntil([&] { return ObjectWindows(window).size() == 2; }, kStartMs));
    PostMessageA(window, WM_COMMAND, kSaveCommand, 0);
    ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
    uint16_t kind = 0;
    EXPECT_EQ(SavedPoints(picture, &kind), expected);
    EXPECT_EQ(kind, c.kind);
    CloseBySuiteCommand(window, paint);
  }
}

}  // namespace
