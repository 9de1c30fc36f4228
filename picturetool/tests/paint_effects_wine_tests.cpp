// The picture tool's effect box, size box, new picture and reliefs under
// Wine: the real orbpaint started on pictures the test writes, its commands
// posted as menu choices arrive, the boxes' fields typed into and their
// buttons clicked.  The working copy it writes is read back by ImageMagick
// (identify, compare, convert) and the preview's pixels by a window capture.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "harness.h"
#include "imaging.h"
#include "paint_test_support.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using namespace painttest;

// The working copy stays in the temporary folder after the program ends, as
// it should; each test removes it.
class WorkingCopy {
 public:
  WorkingCopy() { Remove(); }
  ~WorkingCopy() { Remove(); }
  static std::string Path(const char* extension = ".bmp") {
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
  return harness::UnixToolOutput(command, 60000, &output) ? output : "failed: " + output;
}

std::string Q(const std::string& windowsPath) { return harness::ShellQuoted(harness::UnixPathOf(windowsPath)); }

std::string Identify(const std::string& path) { return Shell("identify -format '%m %w %h' " + Q(path) + "[0]"); }

// The number of pixels that differ (compare -metric AE prints it).
std::string DifferentPixels(const std::string& a, const std::string& b) {
  // compare ends with status 1 when the pictures differ: only the count matters.
  std::string output;
  harness::UnixToolOutput("compare -metric AE " + Q(a) + " " + Q(b) + " null: 2>&1", 60000, &output);
  return output;
}

// A lossless picture whose pixels all differ: red = 6x, green = 8y, blue 200 - x.
bool WriteGradientBmp(const std::string& path, int width, int height) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    L_UCHAR* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<L_UCHAR>(200 - x);
      row[3 * x + 1] = static_cast<L_UCHAR>(8 * y);
      row[3 * x + 2] = static_cast<L_UCHAR>(6 * x);
    }
  }
  const bool saved = L_SaveBitmap(path.c_str(), &bitmap, FILE_BMP, 24, 0, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

// Clicks a button of the box and waits for the box run to end.
bool PressAndWait(const PaintFolder& folder, HWND box, int button, size_t runs) {
  PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
  return WaitForTraceCalls(folder, "orbpaint EffectBoxHost", 2 * runs) &&
         harness::PumpUntil([&] { return !IsWindow(box); }, kStartMs);
}

// What the box's preview shows: the skin frame captured with the box in it
// (the box's own DC cannot be copied from here) and where the preview's
// client area lies in it.
struct PreviewShot {
  bool taken = false;
  harness::Bmp24 image;
  int left = 0, top = 0, width = 0, height = 0;
};

PreviewShot CapturePreview(HWND box, const std::string& scratch) {
  PreviewShot shot;
  HWND preview = FindWindowExA(box, nullptr, "Static", nullptr);
  HWND frame = GetParent(box);
  if (preview == nullptr || frame == nullptr || !harness::CaptureWindowToBmp(frame, scratch)) return shot;
  RECT client = {};
  GetClientRect(preview, &client);
  POINT origin = {0, 0};
  MapWindowPoints(preview, frame, &origin, 1);
  shot.taken = harness::ReadBmp24(scratch, &shot.image);
  DeleteFileA(scratch.c_str());
  shot = {shot.taken, shot.image, origin.x, origin.y, client.right, client.bottom};
  return shot;
}

// The pixels of the result file that the preview did not show, the picture
// centred in the preview; -1 when it cannot be compared.
int PreviewDifferences(const PreviewShot& shot, const std::string& result) {
  harness::Bmp24 expected;
  if (!shot.taken || !harness::ReadBmp24(result, &expected)) return -1;
  if (expected.width > shot.width || expected.height > shot.height) return -1;
  const int left = shot.left + (shot.width - expected.width) / 2;
  const int top = shot.top + (shot.height - expected.height) / 2;
  if (left + expected.width > shot.image.width || top + expected.height > shot.image.height) return -1;
  int differing = 0;
  for (int y = 0; y < expected.height; ++y)
    for (int x = 0; x < expected.width; ++x)
      if (shot.image.at(left + x, top + y) != expected.at(x, y)) ++differing;
  return differing;
}

std::string Describe(HWND window) {
  RECT rect = harness::WindowRectOf(window);
  RECT client = {};
  GetClientRect(window, &client);
  return "window " + std::to_string(reinterpret_cast<uintptr_t>(window)) + " visible " +
         std::to_string(IsWindowVisible(window)) + " at " + std::to_string(rect.left) + "," + std::to_string(rect.top) +
         " client " + std::to_string(client.right) + " x " + std::to_string(client.bottom);
}

// Types `text` into a number field as a user does: a click into it, all of
// it selected, the characters.
void TypeInto(HWND field, const std::string& text) {
  PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  PostMessageA(field, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  PostMessageA(field, EM_SETSEL, 0, -1);
  for (char c : text) PostMessageA(field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

// Turning left, right and the negative: each confirmed box writes the
// working copy that ImageMagick's -rotate and -negate make of the picture,
// the preview showed those very pixels, and the canvas reloads it.
TEST(PictureEffects, TurnsAndNegativeMatchImageMagick) {
  PaintFolder folder("paint effects");
  WorkingCopy cleanup;
  const std::string picture = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2;2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 1));

  const struct {
    int command;
    const char* magick;  // applied to the original picture
    int width, height;
  } steps[] = {
      {303, "-rotate -90", 30, 40},
      {304, "", 40, 30},  // back where it was
      {304, "-rotate 90", 30, 40},
      {208, "-rotate 90 -negate", 30, 40},
  };
  size_t runs = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.command);
    PostMessageA(window, WM_COMMAND, step.command, 0);
    HWND box = WaitForBox("LEADTOOLBOX");
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(PressAndWait(folder, box, 2, ++runs));
    const std::string expected = folder.path("expected.bmp");
    ASSERT_EQ(Shell("convert " + Q(picture) + " " + step.magick + " BMP3:" + Q(expected)), "");
    EXPECT_EQ(Identify(WorkingCopy::Path()), "BMP3 " + std::to_string(step.width) + " " + std::to_string(step.height));
    EXPECT_EQ(DifferentPixels(WorkingCopy::Path(), expected), "0");
    DeleteFileA(expected.c_str());
  }
  // The next box's preview already shows the turned, negated picture with
  // the effect: the same pixels the confirmed box writes.
  PostMessageA(window, WM_COMMAND, 208, 0);
  HWND box = WaitForBox("LEADTOOLBOX");
  ASSERT_NE(box, nullptr);
  harness::PumpMessagesFor(300);
  const std::string before = folder.path("before.bmp");
  ASSERT_TRUE(CopyFileA(WorkingCopy::Path().c_str(), before.c_str(), FALSE));
  const PreviewShot shot = CapturePreview(box, folder.path("shot.bmp"));
  ASSERT_TRUE(shot.taken) << Describe(box);
  ASSERT_TRUE(PressAndWait(folder, box, 2, ++runs));
  // Negated twice: the turned picture again, and the preview showed it.
  EXPECT_NE(DifferentPixels(WorkingCopy::Path(), before), "0");
  EXPECT_EQ(PreviewDifferences(shot, WorkingCopy::Path()), 0);
  DeleteFileA(before.c_str());
  CloseBySuiteCommand(window, paint);
}

// A value typed into the number field re-runs the preview; the confirmed box
// gives the whole picture the same pixels.  Cancel writes nothing.
TEST(PictureEffects, PreviewWithAValueMatchesTheResult) {
  PaintFolder folder("paint preview");
  WorkingCopy cleanup;
  const std::string picture = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 48, 36));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2;2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 1));

  // Cancelled: no working copy.
  PostMessageA(window, WM_COMMAND, 203, 0);
  HWND box = WaitForBox("LEADTOOLBOX");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(harness::WindowText(GetParent(box)).find("(-100 to 100)"), std::string::npos)
      << harness::WindowText(GetParent(box));
  ASSERT_TRUE(PressAndWait(folder, box, 1, 1));
  EXPECT_EQ(GetFileAttributesA(WorkingCopy::Path().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(TraceCalls(folder, "orbpaint EffectBoxHost").back().find("= 1"), std::string::npos);

  const struct {
    int command;
    const char* value;
  } cases[] = {{203, "50"}, {601, "100"}, {602, "100"}, {701, "700"}};
  size_t runs = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const std::string source = GetFileAttributesA(WorkingCopy::Path().c_str()) != INVALID_FILE_ATTRIBUTES
                                   ? WorkingCopy::Path()
                                   : picture;
    PostMessageA(window, WM_COMMAND, c.command, 0);
    box = WaitForBox("LEADTOOLBOX");
    ASSERT_NE(box, nullptr);
    HWND field = GetDlgItem(box, 3);
    ASSERT_NE(field, nullptr);
    TypeInto(field, c.value);
    ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(field) == c.value; }, kStartMs));
    harness::PumpMessagesFor(500);
    const PreviewShot shot = CapturePreview(box, folder.path("shot.bmp"));
    ASSERT_TRUE(shot.taken) << Describe(box);
    const std::string previous = folder.path("previous.bmp");
    ASSERT_TRUE(CopyFileA(source.c_str(), previous.c_str(), FALSE));
    ASSERT_TRUE(PressAndWait(folder, box, 2, ++runs));
    EXPECT_EQ(Identify(WorkingCopy::Path()), "BMP3 48 36");
    EXPECT_NE(DifferentPixels(WorkingCopy::Path(), previous), "0") << "the effect changed nothing";
    EXPECT_EQ(PreviewDifferences(shot, WorkingCopy::Path()), 0);
    DeleteFileA(previous.c_str());
  }
  CloseBySuiteCommand(window, paint);
}

// A confirmed effect whose working copy cannot be replaced (held open here
// by another program that shares it for reading only) leaves the working copy and its drawing objects' sidecar as they
// were: nothing is reloaded and the objects are not lost.
TEST(PictureEffects, FailedSaveKeepsTheWorkingCopyAndItsObjects) {
  PaintFolder folder("paint failed save");
  WorkingCopy cleanup;
  const std::string picture = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 1));

  PostMessageA(window, WM_COMMAND, 208, 0);
  HWND box = WaitForBox("LEADTOOLBOX");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(PressAndWait(folder, box, 2, 1));
  ASSERT_TRUE(harness::PumpUntil([&] {
    const auto loads = TraceCalls(folder, "orbpaint LoadPictureIntoCanvas");
    return !loads.empty() && loads.back().find("ORBPAINTWORK") != std::string::npos;
  }, kStartMs));
  const std::string before = folder.path("before.bmp");
  ASSERT_TRUE(CopyFileA(WorkingCopy::Path().c_str(), before.c_str(), FALSE));
  const std::string objects = "drawing objects of the working copy";
  ASSERT_TRUE(harness::WriteFileBytes(WorkingCopy::Path(".obf"), objects));
  HANDLE held = CreateFileA(WorkingCopy::Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const size_t loads = TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size();

  PostMessageA(window, WM_COMMAND, 208, 0);
  box = WaitForBox("LEADTOOLBOX");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(PressAndWait(folder, box, 2, 2));
  harness::PumpMessagesFor(500);
  CloseHandle(held);
  std::string kept;
  EXPECT_TRUE(harness::ReadFileBytes(WorkingCopy::Path(".obf"), &kept));
  EXPECT_EQ(kept, objects);
  EXPECT_EQ(DifferentPixels(WorkingCopy::Path(), before), "0");
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size(), loads);
  const auto saves = TraceCalls(folder, "orbpaint SaveAsWorkingCopy");
  ASSERT_FALSE(saves.empty());
  EXPECT_NE(saves.back().find("= 0"), std::string::npos) << saves.back();
  DeleteFileA(before.c_str());
  CloseBySuiteCommand(window, paint);
}

// The size box keeps the proportions: a width of 320 for a 640 x 480
// picture shows 240, and the working copy is 320 x 240.  A new picture of
// a typed size is white.  A relief keeps the size.
TEST(PictureEffects, SizeBoxNewPictureAndReliefs) {
  PaintFolder folder("paint size");
  WorkingCopy cleanup;
  const std::string picture = folder.path("big.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 640, 480));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2;2;2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 1));

  PostMessageA(window, WM_COMMAND, 313, 0);
  HWND box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  HWND width = GetDlgItem(box, 4), height = GetDlgItem(box, 5);
  ASSERT_NE(width, nullptr);
  ASSERT_NE(height, nullptr);
  EXPECT_EQ(harness::WindowText(width), "640");
  EXPECT_EQ(harness::WindowText(height), "480");
  TypeInto(width, "320");
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(height) == "240"; }, kStartMs))
      << harness::WindowText(height);
  ASSERT_TRUE(PressAndWait(folder, box, 2, 1));
  EXPECT_EQ(Identify(WorkingCopy::Path()), "BMP3 320 240");
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));
  EXPECT_NE(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").back().find("320 x 240"), std::string::npos);

  // A relief keeps the size and changes the picture.
  const std::string sized = folder.path("sized.bmp");
  ASSERT_TRUE(CopyFileA(WorkingCopy::Path().c_str(), sized.c_str(), FALSE));
  // (903 lights from the west: the picture's halves meet in a vertical edge.)
  PostMessageA(window, WM_COMMAND, 903, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint QuickEffect", 1));
  EXPECT_NE(TraceCalls(folder, "orbpaint QuickEffect")[0].find("= 1"), std::string::npos);
  EXPECT_EQ(Identify(WorkingCopy::Path()), "BMP3 320 240");
  EXPECT_NE(DifferentPixels(WorkingCopy::Path(), sized), "0");

  // A new picture of 200 x 100 (the box starts with the screen's size and
  // keeps no proportions); it is white.
  PostMessageA(window, WM_COMMAND, 102, 0);
  box = WaitForBox("NEWSIZEBOX");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(harness::WindowText(GetDlgItem(box, 4)), std::to_string(GetSystemMetrics(SM_CXSCREEN)));
  TypeInto(GetDlgItem(box, 4), "200");
  TypeInto(GetDlgItem(box, 5), "100");
  ASSERT_TRUE(harness::PumpUntil([&] { return harness::WindowText(GetDlgItem(box, 5)) == "100"; }, kStartMs));
  EXPECT_EQ(harness::WindowText(GetDlgItem(box, 4)), "200");
  ASSERT_TRUE(PressAndWait(folder, box, 2, 2));
  ASSERT_TRUE(harness::PumpUntil([&] { return Identify(WorkingCopy::Path()) == "BMP3 200 100"; }, kStartMs))
      << Identify(WorkingCopy::Path());
  EXPECT_EQ(Shell("convert " + Q(WorkingCopy::Path()) + " -format '%[fx:minima.r*255],%[fx:minima.b*255]' info:"),
            "255,255");

  DeleteFileA(sized.c_str());
  CloseBySuiteCommand(window, paint);
}

// The underlay chosen in the file picker (its default folder, "textures"
// beside the program) and applied: a white texture doubles every colour of
// the picture, limited to 255; the picture keeps its size.
TEST(PictureEffects, UnderlayChosenAndApplied) {
  PaintFolder folder("paint underlay");
  WorkingCopy cleanup;
  const std::string picture = folder.path("gradient.bmp");
  ASSERT_TRUE(WriteGradientBmp(picture, 40, 30));
  const std::string textures = folder.path("textures");
  ASSERT_TRUE(CreateDirectoryA(textures.c_str(), nullptr));
  const std::string texture = textures + "\\white.bmp";
  ASSERT_EQ(Shell("convert -size 3x3 xc:white BMP3:" + Q(texture)), "");
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 1));

  PostMessageA(window, WM_COMMAND, 216, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(paint.id())) != nullptr; }, kStartMs));
  HWND list = GetDlgItem(dialog, 2);
  LRESULT index = LB_ERR;
  ASSERT_TRUE(harness::PumpUntil([&] {
    for (const char* shown : {"white.bmp", " white.bmp"}) {
      index = SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(shown));
      if (index != LB_ERR) return true;
    }
    return false;
  }, kStartMs));
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ChooseUnderlay", 1));
  EXPECT_NE(TraceCalls(folder, "orbpaint ChooseUnderlay")[0].find("white.bmp\") = 2"), std::string::npos)
      << TraceCalls(folder, "orbpaint ChooseUnderlay")[0];

  PostMessageA(window, WM_COMMAND, 217, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint UnderlayPicture", 1));
  EXPECT_NE(TraceCalls(folder, "orbpaint UnderlayPicture")[0].find("= 1"), std::string::npos);
  EXPECT_EQ(Identify(WorkingCopy::Path()), "BMP3 40 30");
  harness::Bmp24 result;
  ASSERT_TRUE(harness::ReadBmp24(WorkingCopy::Path(), &result));
  // (5, 3) was red 30, green 24, blue 195.
  EXPECT_EQ(result.at(5, 3), RGB(60, 48, 255));
  CloseBySuiteCommand(window, paint);
  DeleteFileA(texture.c_str());
  RemoveDirectoryA(textures.c_str());
}

}  // namespace
