// The picture tool's drawing objects made and changed as a user does it,
// under Wine with real input (SendInput): the text box (typing, a family
// chosen in the list, the colour by the track bars' keys, a character
// from the grid), the shape box (a pen width from its list, the "3D" box),
// dragging an object (also when the program loses the mouse mid-drag) and
// the object popup (duplicate, lock, z-order, rotate, edit).  What was made is
// read back from the saved sidecar by the shared codec and from the
// canvas's pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/obf_document.h"
#include "core/obf_types.h"
#include "harness.h"
#include "obf_file.h"
#include "paint_test_support.h"
#include "test_files.h"

namespace {

using namespace painttest;

void PressKey(WORD key) {
  INPUT input[2] = {};
  for (int i = 0; i < 2; ++i) {
    input[i].type = INPUT_KEYBOARD;
    input[i].ki.wVk = key;
    input[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input[i].ki.dwFlags = i == 1 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(2, input, sizeof(INPUT));
  harness::PumpMessagesFor(60);
}

// A plain 24-bit BMP of one colour.
bool WritePlainBmp(const std::string& path, int width, int height, COLORREF colour) {
  const int stride = (width * 3 + 3) & ~3;
  std::string bytes(54 + static_cast<size_t>(stride) * height, '\0');
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y) * stride + x * 3;
      bytes[at] = static_cast<char>(GetBValue(colour));
      bytes[at + 1] = static_cast<char>(GetGValue(colour));
      bytes[at + 2] = static_cast<char>(GetRValue(colour));
    }
  }
  return harness::WriteFileBytes(path, bytes);
}

overlay::ObfDocument SavedDocument(const PaintFolder& folder, const std::string& sidecarName) {
  std::string sidecar;
  harness::ReadFileBytes(folder.path(sidecarName), &sidecar);
  return overlay::DecodeObfDocument(sidecar).document;
}

std::string TextOf(HWND window) { return harness::WindowText(window); }

// Brings the box's frame forward so that keys go to it.
void Activate(HWND box) {
  HWND frame = GetAncestor(box, GA_ROOT);
  SetForegroundWindow(frame);
  harness::PumpMessagesFor(200);
}

// Clicks entry `index` of a simple combo box's list.
bool ClickListEntry(HWND combo, int index) {
  HWND list = FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
  if (list == nullptr) return false;
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  if (height < 1 || index < top) return false;
  ClickAt(OnScreen(list, 20, (index - top) * height + height / 2));
  return true;
}

int VisibleEntryAfterTop(HWND combo, int step) {
  HWND list = FindWindowExA(combo, nullptr, "ComboLBox", nullptr);
  return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)) + step;
}

TEST(PaintObjects, TextBoxMakesTheTextWithTheChosenFamilyColourAndCharacter) {
  PaintFolder folder("paint text box");
  const std::string picture = folder.path("grey.bmp");
  ASSERT_TRUE(WritePlainBmp(picture, 320, 200, RGB(200, 200, 200)));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));
  PostMessageA(window, WM_COMMAND, 401, 0);
  HWND box = WaitForBox("SKFONTBOX");
  ASSERT_NE(box, nullptr);
  Activate(box);

  // The text field has the focus: the typed text goes there.
  HWND field = ChildById(box, 109);
  ASSERT_NE(field, nullptr);
  PressKey('A');
  PressKey('B');
  EXPECT_TRUE(harness::PumpUntil([&] { return TextOf(field) == "ab"; }, 3000)) << TextOf(field);

  // Another family from the list: its caption shows it.
  HWND fonts = ChildById(box, 1);
  HWND caption = ChildById(box, 100);
  ASSERT_NE(fonts, nullptr);
  ASSERT_NE(caption, nullptr);
  const std::string before = TextOf(caption);
  ASSERT_GE(SendMessageA(fonts, CB_GETCOUNT, 0, 0), 2);
  const int current = static_cast<int>(SendMessageA(fonts, CB_GETCURSEL, 0, 0));
  int target = VisibleEntryAfterTop(fonts, 0);
  if (target == current) target = VisibleEntryAfterTop(fonts, 1);
  ASSERT_TRUE(ClickListEntry(fonts, target));
  ASSERT_TRUE(harness::PumpUntil([&] { return TextOf(caption) != before && !TextOf(caption).empty(); }, 3000));
  const std::string family = TextOf(caption);

  // Blue all the way up, red all the way down, by the track bars' keys.
  ClickAt(CentreOf(ChildById(box, 104)));
  PressKey(VK_END);
  ClickAt(CentreOf(ChildById(box, 102)));
  PressKey(VK_HOME);
  EXPECT_TRUE(harness::PumpUntil([&] { return TextOf(ChildById(box, 32204)) == "255"; }, 3000));
  EXPECT_TRUE(harness::PumpUntil([&] { return TextOf(ChildById(box, 32202)) == "0"; }, 3000));
  EXPECT_EQ(TextOf(ChildById(box, 32203)), "0");

  // "Q" from the grid: a click shows it, a double click puts it in the text.
  HWND grid = ChildById(box, 630);
  ASSERT_NE(grid, nullptr);
  RECT cells = {};
  GetClientRect(grid, &cells);
  const POINT q = OnScreen(grid, cells.right * 17 / 32 + cells.right / 64, cells.bottom * 1 / 7 + cells.bottom / 14);
  ClickAt(q);
  HWND viewer = ChildById(box, 620);
  ASSERT_NE(viewer, nullptr);
  DoubleClickAt(q);
  EXPECT_TRUE(harness::PumpUntil([&] { return TextOf(field) == "abQ"; }, 3000)) << TextOf(field);

  ClickAt(CentreOf(ChildById(box, 2)));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindow(box) == FALSE; }, kStartMs));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 1));

  // The text is on the canvas at its top-left, in blue.
  HWND canvas = CanvasOf(window);
  POINT origin = {0, 0};
  MapWindowPoints(canvas, window, &origin, 1);
  const std::string shot = folder.path("text.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(window, shot));
  harness::Bmp24 shown;
  ASSERT_TRUE(harness::ReadBmp24(shot, &shown));
  int blue = 0;
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 120; ++x) {
      const COLORREF c = shown.at(origin.x + x, origin.y + y);
      if (GetBValue(c) > 180 && GetRValue(c) < 90 && GetGValue(c) < 90) ++blue;
    }
  }
  EXPECT_GT(blue, 20);

  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  const overlay::ObfDocument saved = SavedDocument(folder, "grey.obf");
  ASSERT_EQ(saved.objects.size(), 1u);
  const overlay::ObfObject& text = saved.objects[0];
  EXPECT_EQ(text.kind, overlay::kKindText);
  EXPECT_EQ(text.text, "abQ");
  EXPECT_EQ(text.fontFamily, family);
  EXPECT_EQ(text.colour, 0xFF0000FFu);
  EXPECT_EQ(text.shadow, 0);
  EXPECT_GT(text.size, 0);
  CloseBySuiteCommand(window, paint);
}

TEST(PaintObjects, ShapeBoxGivesTheArrowItsPenWidthAndShadow) {
  PaintFolder folder("paint shape box");
  const std::string picture = folder.path("grey.bmp");
  ASSERT_TRUE(WritePlainBmp(picture, 320, 200, RGB(200, 200, 200)));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));
  PostMessageA(window, WM_COMMAND, 405, 0);
  HWND box = WaitForBox("SKDRAWBOX");
  ASSERT_NE(box, nullptr);
  Activate(box);
  HWND widths = ChildById(box, 106);
  ASSERT_NE(widths, nullptr);
  EXPECT_TRUE(IsWindowEnabled(widths));  // an open arrow has a pen width
  const int entry = VisibleEntryAfterTop(widths, 2);
  ASSERT_TRUE(ClickListEntry(widths, entry));
  ASSERT_TRUE(harness::PumpUntil([&] { return SendMessageA(widths, CB_GETCURSEL, 0, 0) == entry; }, 3000));
  ClickAt(CentreOf(ChildById(box, 108)));  // "3D"

  // The preview strip shows the arrow across it in the colour.
  const std::string shot = folder.path("preview.bmp");
  harness::PumpMessagesFor(200);
  ASSERT_TRUE(harness::CaptureWindowToBmp(GetAncestor(box, GA_ROOT), shot));
  harness::Bmp24 preview;
  ASSERT_TRUE(harness::ReadBmp24(shot, &preview));
  // The frame's capture is its client area: the box.
  const int left = 0, top = 0;
  int coloured = 0;  // the shared settings' red
  for (int x = 20; x < 200; ++x) {
    const COLORREF c = preview.at(left + x, top + 54);
    if (GetRValue(c) > 180 && GetGValue(c) < 80 && GetBValue(c) < 80) ++coloured;
  }
  EXPECT_GT(coloured, 150);

  ClickAt(CentreOf(ChildById(box, 2)));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindow(box) == FALSE; }, kStartMs));
  HWND canvas = CanvasOf(window);
  PostClick(canvas, 200, 120);
  PostClick(canvas, 60, 40);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 1));
  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  const overlay::ObfDocument saved = SavedDocument(folder, "grey.obf");
  ASSERT_EQ(saved.objects.size(), 1u);
  const overlay::ObfObject& arrow = saved.objects[0];
  EXPECT_EQ(arrow.kind, overlay::kKindArrow);
  EXPECT_EQ(arrow.size, entry + 1);  // the list holds "1" to "512"
  EXPECT_EQ(arrow.shadow, 2);
  ASSERT_EQ(arrow.points.size(), 2u);
  EXPECT_EQ(arrow.x + arrow.points[0].x, 200);
  EXPECT_EQ(arrow.y + arrow.points[1].y, 40);
  CloseBySuiteCommand(window, paint);
}

// Two objects laid over a grey picture by its sidecar: an outlined
// rectangle (pen 8) from (40, 40) to (120, 90) and an arrow (pen 6) from
// (150, 120) to (250, 160), the arrow on top.
void WriteTwoObjects(const std::string& picture) {
  overlay::ObfDocument document;
  overlay::ObfObject rectangle;
  rectangle.kind = overlay::kKindRectangle;
  rectangle.style = overlay::kStyleOutline;
  rectangle.size = 8;
  rectangle.colour = 0xFF00A000;
  rectangle.x = 29;  // margin round(1.25 x 8 + 1) = 11
  rectangle.y = 29;
  rectangle.width = 102;
  rectangle.height = 72;
  rectangle.points = {{11, 11}, {91, 61}};
  rectangle.fontFamily = "Arial";
  overlay::ObfObject arrow = rectangle;
  arrow.kind = overlay::kKindArrow;
  arrow.style = overlay::kStyleOpen;
  arrow.size = 6;
  arrow.colour = 0xFFC00000;
  arrow.x = 142;  // margin round(1.25 x 6 + 1) = 8
  arrow.y = 112;
  arrow.width = 116;
  arrow.height = 56;
  arrow.points = {{8, 8}, {108, 48}};
  document.objects = {rectangle, arrow};
  document.trailer.pictureName = "grey.bmp";
  overlay::WriteObfSidecar(picture, document);
}

TEST(PaintObjects, DraggingMovesByTheMouseDistanceAndEndsWhenTheMouseIsLost) {
  PaintFolder folder("paint drag");
  const std::string picture = folder.path("grey.bmp");
  ASSERT_TRUE(WritePlainBmp(picture, 320, 200, RGB(200, 200, 200)));
  WriteTwoObjects(picture);
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 2));
  HWND canvas = CanvasOf(window);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);

  // A drag on the rectangle's left edge by (50, 30), in steps.
  POINT at = OnScreen(canvas, 40, 80);
  MoveMouseTo(at);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 5; ++step) MoveMouseTo({at.x + 10 * step, at.y + 6 * step});
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint DragObject", 1));
  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  overlay::ObfDocument saved = SavedDocument(folder, "grey.obf");
  ASSERT_EQ(saved.objects.size(), 2u);
  // The dragged object is now the top-most: it comes last.
  EXPECT_EQ(saved.objects[1].kind, overlay::kKindRectangle);
  EXPECT_EQ(saved.objects[1].x, 29 + 50);
  EXPECT_EQ(saved.objects[1].y, 29 + 30);
  EXPECT_EQ(saved.objects[0].x, 142);  // the other stays

  // A second drag, and the user switches to another window before letting
  // go: the button comes up over that window, not the program's.  The drag
  // ends all the same and the program answers again.
  HWND other = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "elsewhere", WS_POPUP | WS_VISIBLE, 700, 500, 200, 150,
                               nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  harness::PumpMessagesFor(200);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(200);
  at = OnScreen(canvas, 90, 110);
  MoveMouseTo(at);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 4; ++step) MoveMouseTo({at.x + 5 * step, at.y + 5 * step});
  harness::PumpMessagesFor(300);
  SetForegroundWindow(other);
  harness::PumpMessagesFor(300);
  MoveMouseTo({780, 560});
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(WaitForTraceCalls(folder, "orbpaint DragObject", 2));
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &answer), 0);
  DestroyWindow(other);
  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 2));
  saved = SavedDocument(folder, "grey.obf");
  ASSERT_EQ(saved.objects.size(), 2u);
  EXPECT_EQ(saved.objects[1].x, 29 + 50 + 20);
  EXPECT_EQ(saved.objects[1].y, 29 + 30 + 20);
  CloseBySuiteCommand(window, paint);
}

// The popup menu of an object window, an item chosen by keys: a letter is
// an item's mnemonic (a character for the menu), anything else a key.
bool ChooseFromPopup(harness::Process& paint, HWND canvas, POINT onCanvas, const std::vector<WORD>& keys) {
  ClickAt(OnScreen(canvas, onCanvas.x, onCanvas.y), false);
  HWND menu = nullptr;
  if (!harness::PumpUntil([&] {
        menu = nullptr;
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32768", nullptr); w != nullptr;
             w = FindWindowExA(nullptr, w, "#32768", nullptr)) {
          DWORD process = 0;
          GetWindowThreadProcessId(w, &process);
          if (process == paint.id() && IsWindowVisible(w)) menu = w;
        }
        return menu != nullptr;
      }, kStartMs)) {
    ADD_FAILURE() << "no popup menu came; the cursor is over " << WindowFromPoint(OnScreen(canvas, onCanvas.x, onCanvas.y));
    return false;
  }
  for (WORD key : keys) {
    if (key >= 'A' && key <= 'Z') {
      PostMessageA(menu, WM_CHAR, key - 'A' + 'a', 0);
    } else {
      PostMessageA(menu, WM_KEYDOWN, key, 0);
    }
    harness::PumpMessagesFor(150);
  }
  if (harness::PumpUntil([&] { return IsWindowVisible(menu) == FALSE; }, kStartMs)) return true;
  ADD_FAILURE() << "the popup menu stayed open";
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  return false;
}

TEST(PaintObjects, PopupDuplicatesLocksRestacksRotatesAndEdits) {
  PaintFolder folder("paint popup");
  const std::string picture = folder.path("grey.bmp");
  ASSERT_TRUE(WritePlainBmp(picture, 320, 200, RGB(200, 200, 200)));
  WriteTwoObjects(picture);
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "2;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 2));
  HWND canvas = CanvasOf(window);
  SetForegroundWindow(window);
  harness::PumpMessagesFor(300);

  // Duplicate the rectangle: the copy goes to the top-left of the view.
  ASSERT_TRUE(ChooseFromPopup(paint, canvas, {40, 80}, {'D'}));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectCommand", 1));
  EXPECT_EQ(ObjectWindows(window).size(), 4u);
  // Lock the rectangle: a drag no longer moves it.
  harness::PumpMessagesFor(300);
  ASSERT_TRUE(ChooseFromPopup(paint, canvas, {40, 80}, {'L'}));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectCommand", 2));
  POINT at = OnScreen(canvas, 40, 80);
  MoveMouseTo(at);
  SendMouseButton(MOUSEEVENTF_LEFTDOWN);
  MoveMouseTo({at.x + 30, at.y});
  SendMouseButton(MOUSEEVENTF_LEFTUP);
  harness::PumpMessagesFor(300);
  EXPECT_TRUE(TraceCalls(folder, "orbpaint DragObject").empty());
  // The arrow to the bottom (the last item of the order list), then
  // rotated: it points the other way.
  ASSERT_TRUE(ChooseFromPopup(paint, canvas, {200, 140}, {'O', VK_UP, VK_RETURN}));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectCommand", 3));
  ASSERT_TRUE(ChooseFromPopup(paint, canvas, {200, 140}, {'R'}));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectCommand", 4));
  // Edited in the shape box with a shadow: its window grows by the new
  // margin (round(2 + 1.25 x 6 + 1) = 10 instead of 8) on every side and
  // the arrow stays where it was.
  harness::PumpMessagesFor(300);
  ASSERT_TRUE(ChooseFromPopup(paint, canvas, {200, 140}, {'E'})) << [&] {
    std::string lines;
    for (const std::string& line : TraceCalls(folder, "orbpaint")) lines += line + "\n";
    return lines;
  }();
  HWND box = WaitForBox("SKDRAWBOX");
  ASSERT_NE(box, nullptr);
  Activate(box);
  ClickAt(CentreOf(ChildById(box, 108)));
  ASSERT_TRUE(ConfirmBox("SKDRAWBOX"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint RunShapeBox", 1));

  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  const overlay::ObfDocument saved = SavedDocument(folder, "grey.obf");
  ASSERT_EQ(saved.objects.size(), 3u);
  // Bottom-most first: the arrow, the locked rectangle, its copy.
  const overlay::ObfObject& arrow = saved.objects[0];
  EXPECT_EQ(arrow.kind, overlay::kKindArrow);
  EXPECT_EQ(arrow.points, (std::vector<overlay::ObfPoint>{{110, 50}, {10, 10}}));
  EXPECT_EQ(arrow.x, 140);
  EXPECT_EQ(arrow.y, 110);
  EXPECT_EQ(arrow.width, 120);
  EXPECT_EQ(arrow.shadow, 2);
  EXPECT_EQ(arrow.size, 6);
  const overlay::ObfObject& rectangle = saved.objects[1];
  EXPECT_EQ(rectangle.kind, overlay::kKindRectangle);
  EXPECT_EQ(rectangle.flag, 1);
  EXPECT_EQ(rectangle.x, 29);
  const overlay::ObfObject& copy = saved.objects[2];
  EXPECT_EQ(copy.kind, overlay::kKindRectangle);
  EXPECT_EQ(copy.flag, 0);
  EXPECT_EQ(copy.x, 0);
  EXPECT_EQ(copy.y, 0);
  EXPECT_EQ(copy.points, rectangle.points);
  EXPECT_EQ(copy.width, rectangle.width);
  CloseBySuiteCommand(window, paint);
}

}  // namespace
