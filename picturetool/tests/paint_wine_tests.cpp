// The picture tool under Wine, started as a user starts it: from a program
// folder holding orbpaint.exe, its text table, the skin and the DLLs, with a
// picture on its command line.  Objects are made through the program's own
// commands (message boxes answered by ORB_ANSWERS, the object boxes
// confirmed, clicks posted to the canvas),
// the sidecar is read back by the shared codec, and the rest is read from
// real windows, captured pixels, files and the call trace (ORB_TRACE).
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/obf_document.h"
#include "core/obf_types.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "paint_test_support.h"
#include "imaging.h"
#include "obf_file.h"
#include "suite_command.h"
#include "test_files.h"
#include "trace_format.h"

namespace {

using namespace painttest;

TEST(PictureTool, ShowsThePictureSavesObjectsToTheSidecarAndRestoresThem) {
  PaintFolder folder("paint objects");
  const std::string picture = folder.path("picture.jpg");
  const std::string other = folder.path("other.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 200, 150));
  ASSERT_TRUE(WriteTwoColourJpeg(other, 120, 90));
  std::string pictureBefore;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &pictureBefore));

  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Orb Paint");
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadPictureIntoCanvas", 2));
  EXPECT_NE(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas")[1].find("= 200 x 150"), std::string::npos);

  // The picture is on the canvas: red on the left, blue on the right.
  HWND canvas = CanvasOf(window);
  ASSERT_NE(canvas, nullptr);
  const std::string capture = folder.path("canvas.bmp");
  // The main window is captured (with its children) and the canvas's
  // pixels are read at its place inside it.
  POINT origin = {0, 0};
  MapWindowPoints(canvas, window, &origin, 1);
  ASSERT_TRUE(harness::CaptureWindowToBmp(window, capture));
  harness::Bmp24 shown;
  ASSERT_TRUE(harness::ReadBmp24(capture, &shown));
  ASSERT_GE(shown.width, origin.x + 200);
  ASSERT_GE(shown.height, origin.y + 150);
  const COLORREF left = shown.at(origin.x + 40, origin.y + 75), right = shown.at(origin.x + 160, origin.y + 75);
  EXPECT_GT(GetRValue(left), 200);
  EXPECT_LT(GetBValue(left), 60);
  EXPECT_GT(GetBValue(right), 200);
  EXPECT_LT(GetRValue(right), 60);
  // Beyond the picture the canvas shows its background, not the picture.
  const COLORREF beyond = shown.at(origin.x + 300, origin.y + 75);
  EXPECT_FALSE(GetRValue(beyond) > 200 && GetBValue(beyond) < 60);

  // A second start ends at once with 0, brings the first forward and
  // leaves it running.
  harness::PeerWindow front("PaintTestFront");
  ShowWindow(front.hwnd(), SW_SHOW);
  SetForegroundWindow(front.hwnd());
  harness::PumpMessagesFor(200);
  harness::Process second;
  ASSERT_TRUE(second.start(folder.command("\"" + other + "\"")));
  EXPECT_EQ(WaitForExit(second), 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return GetForegroundWindow() == window; }, 3000));
  EXPECT_EQ(harness::WaitForWindow("ORBPAINT", 1000), window);
  EXPECT_EQ(harness::CountWindows("ORBPAINT"), 1);

  // A text object through command 401 and its box...
  PostMessageA(window, WM_COMMAND, 401, 0);
  ASSERT_TRUE(ConfirmBox("SKFONTBOX", "Hello there"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 1));
  // ...and an arrow through command 405, its box and two clicks, right to
  // left.
  PostMessageA(window, WM_COMMAND, 405, 0);
  ASSERT_TRUE(ConfirmBox("SKDRAWBOX"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint RunShapeBox", 1));
  PostClick(canvas, 150, 100);
  PostClick(canvas, 40, 20);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 2));
  // The canvas shows the objects over the picture: the red arrow crosses
  // the blue half.
  {
    POINT at = {150 - 22, 100 - 16};
    MapWindowPoints(canvas, window, &at, 1);
    const std::string composed = folder.path("composed.bmp");
    ASSERT_TRUE(harness::CaptureWindowToBmp(window, composed));
    harness::Bmp24 shot;
    ASSERT_TRUE(harness::ReadBmp24(composed, &shot));
    const COLORREF onArrow = shot.at(at.x, at.y);
    EXPECT_GT(GetRValue(onArrow), 200);
    EXPECT_LT(GetBValue(onArrow), 60);
  }

  // The windows are numbered by their z-order and titled by it; the arrow's
  // window is cut to its drawn pixels.
  std::vector<std::string> titles;
  for (HWND object : ObjectWindows(window)) titles.push_back(harness::WindowText(object));
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (std::vector<std::string>{"Object000", "Object001", "Object002"}));
  HWND arrowWindow = nullptr;
  for (HWND object : ObjectWindows(window)) {
    if (harness::WindowText(object) == "Object002") arrowWindow = object;
  }
  ASSERT_NE(arrowWindow, nullptr);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(arrowWindow, region), ERROR);
  RECT box = {}, windowRect = {};
  GetRgnBox(region, &box);
  GetClientRect(arrowWindow, &windowRect);
  EXPECT_GT(box.right, box.left);
  // The arrow runs corner to corner through the middle of its window.
  EXPECT_TRUE(PtInRegion(region, windowRect.right / 2, windowRect.bottom / 2));
  EXPECT_FALSE(PtInRegion(region, windowRect.right - 1, 0));  // far from the line
  EXPECT_FALSE(PtInRegion(region, 0, windowRect.bottom - 1));
  DeleteObject(region);

  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  EXPECT_NE(TraceCalls(folder, "orbpaint SaveSidecar")[0].find(", 2) = ok"), std::string::npos);

  // The shared codec reads the same objects back.
  std::string sidecar;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("picture.obf"), &sidecar));
  overlay::ObfReadResult read = overlay::DecodeObfDocument(sidecar);
  ASSERT_EQ(read.status, overlay::ObfStatus::kOk);
  ASSERT_EQ(read.document.objects.size(), 2u);
  const overlay::ObfObject& text = read.document.objects[0];
  EXPECT_EQ(text.kind, overlay::kKindText);
  EXPECT_EQ(text.text, "Hello there");
  EXPECT_EQ(text.x, 0);
  EXPECT_EQ(text.y, 0);
  EXPECT_GT(text.width, 20);
  const overlay::ObfObject& arrow = read.document.objects[1];
  EXPECT_EQ(arrow.kind, overlay::kKindArrow);
  EXPECT_EQ(arrow.style, overlay::kStyleOpen);
  ASSERT_EQ(arrow.points.size(), 2u);
  EXPECT_EQ(arrow.x + arrow.points[0].x, 150);  // the first click stays first
  EXPECT_EQ(arrow.y + arrow.points[0].y, 100);
  EXPECT_EQ(arrow.x + arrow.points[1].x, 40);
  EXPECT_EQ(arrow.y + arrow.points[1].y, 20);
  EXPECT_EQ(read.document.trailer.pictureName, "picture.jpg");
  EXPECT_EQ(read.document.trailer.canvasWidth, 200);
  // The trailer counts the picture's colours (red, blue and the JPEG's
  // blend along their edge).
  EXPECT_GT(read.document.trailer.colourCount, 1);
  ASSERT_GT(read.document.preview.size(), 2u);
  EXPECT_EQ(read.document.preview.substr(0, 2), "\xFF\xD8");
  // The objects live in the sidecar: the picture's own file is unchanged.
  std::string pictureAfter;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &pictureAfter));
  EXPECT_TRUE(pictureAfter == pictureBefore);
  CloseBySuiteCommand(window, paint);

  // Reopening the picture restores both objects.
  DeleteFileA(folder.tracePath().c_str());
  harness::Process again;
  // The question about the unsaved object before the next picture replaces
  // the canvas is answered no.
  window = StartPaint(folder, &again, "\"" + picture + "\"", "1;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 2));
  std::vector<std::string> loaded = TraceCalls(folder, "orbpaint LoadedObject");
  EXPECT_EQ(loaded[0], "orbpaint LoadedObject(1, 0, \"Hello there\", 0, 0, 0, 1) = 0");
  EXPECT_EQ(loaded[1].rfind("orbpaint LoadedObject(5, 5, \"\", 2, ", 0), 0u) << loaded[1];
  EXPECT_EQ(ObjectWindows(window).size(), 3u);

  // A save that cannot replace the sidecar (held open without sharing)
  // reports it and leaves the old sidecar as it was.
  PostMessageA(window, WM_COMMAND, 401, 0);
  ASSERT_TRUE(ConfirmBox("SKFONTBOX", "More text"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 1));
  HANDLE lock = CreateFileA(folder.path("picture.obf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  PostMessageA(window, WM_COMMAND, 106, 0);
  // The warning box comes after the failed write.
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKMSGBOX", 1));
  CloseHandle(lock);
  EXPECT_NE(TraceCalls(folder, "orbpaint SaveSidecar")[0].find(", 3) = could not be written"), std::string::npos);
  std::vector<std::string> boxes = TraceCalls(folder, "themecore SKMSGBOX");
  EXPECT_NE(boxes.back().find("The drawing objects could not be saved to"), std::string::npos) << boxes.back();
  std::string sidecarAfter;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("picture.obf"), &sidecarAfter));
  EXPECT_TRUE(sidecarAfter == sidecar);

  // Another picture, without a sidecar, arrives as a suite command: none of
  // the first picture's objects go with it.
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, other), 1);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadSidecar", 2));
  EXPECT_NE(TraceCalls(folder, "orbpaint LoadSidecar")[1].find("other.jpg\") = no sidecar"), std::string::npos);
  EXPECT_EQ(ObjectWindows(window).size(), 1u);
  EXPECT_FALSE(harness::FileExists(folder.path("other.obf")));
  // An empty suite command (the browser's greeting) leaves the picture on
  // the canvas.
  const size_t loads = TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size();
  EXPECT_EQ(suite::SendSuiteCommand(window, 1, ""), 1);
  harness::PumpMessagesFor(300);
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadPictureIntoCanvas").size(), loads);
  CloseBySuiteCommand(window, again);
}

// The object lines of a sidecar's bytes, as written (without their CR LF).
std::vector<std::string> ObjectLines(const std::string& sidecar) {
  const overlay::ObfReadResult read = overlay::DecodeObfDocument(sidecar);
  std::vector<std::string> lines;
  if (read.status != overlay::ObfStatus::kOk) return lines;
  const size_t begin = static_cast<size_t>(read.document.trailer.previewLength);
  const std::string area = sidecar.substr(begin, sidecar.size() - overlay::kObfTrailerBytes - begin);
  for (size_t start = 0; start < area.size();) {
    size_t end = area.find("\r\n", start);
    if (end == std::string::npos) end = area.size();
    lines.push_back(area.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1) {
    fields.push_back(line.substr(start, bar - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// A sidecar made where its text's font family was installed: opened here,
// where it is not, and saved again, every object comes back field for field
// (a text's box alone is measured anew, in the font that draws it).
TEST(PictureTool, ObjectsOfAFamilyNotInstalledSurviveOpeningAndSaving) {
  PaintFolder folder("paint missing family");
  const std::string picture = folder.path("far.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 200, 150));
  overlay::ObfDocument original;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &original.preview));
  original.trailer.canvasWidth = 200;
  original.trailer.canvasHeight = 150;
  overlay::ObfObject text;
  text.kind = overlay::kKindText;
  text.style = 1;
  text.text = "Far | away";
  text.fontFamily = "No Such Family 123";
  text.size = 22;
  text.colour = 0xFF102030u;
  text.shadow = 2;
  text.x = 30;
  text.y = 40;
  text.width = 77;
  text.height = 25;
  text.number = 1;
  text.flag = 1;
  auto shape = [](uint16_t kind, uint16_t style, std::vector<overlay::ObfPoint> points, int32_t x, int32_t y,
                  int32_t width, int32_t height, int32_t number) {
    overlay::ObfObject o;
    o.kind = kind;
    o.style = style;
    o.points = std::move(points);
    o.size = 3;
    o.colour = 0xFF0000FFu;
    o.x = x;
    o.y = y;
    o.width = width;
    o.height = height;
    o.number = number;
    return o;
  };
  original.objects = {text,
                      shape(overlay::kKindArrow, 5, {{90, 50}, {10, 10}}, 50, 60, 110, 70, 2),
                      shape(overlay::kKindEllipse, 2, {{8, 8}, {48, 38}}, 100, 20, 56, 46, 3),
                      shape(overlay::kKindPolyline, 5, {{128, 128}, {160, 140}, {140, 170}}, -100, -90, 290, 300, 4)};
  original.objects[3].shown = 0;
  ASSERT_EQ(overlay::WriteObfSidecar(picture, original), overlay::ObfStatus::kOk);
  std::string before;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("far.obf"), &before));
  const std::vector<std::string> linesBefore = ObjectLines(before);
  ASSERT_EQ(linesBefore.size(), 4u);

  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 4));
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadedObject")[0],
            "orbpaint LoadedObject(1, 1, \"Far | away\", 0, 30, 40, 1) = 0");
  // Every object has its window; the text's is as large as its text.
  EXPECT_EQ(ObjectWindows(window).size(), 5u);
  HWND textWindow = nullptr;
  for (HWND object : ObjectWindows(window)) {
    if (GetWindowLongPtrA(object, GWLP_USERDATA) == overlay::kKindText + (1 << 16)) textWindow = object;
  }
  ASSERT_NE(textWindow, nullptr);
  EXPECT_TRUE(IsWindowVisible(textWindow));
  RECT textRect = {};
  GetClientRect(textWindow, &textRect);
  EXPECT_GT(textRect.right, 40);
  EXPECT_GT(textRect.bottom, 10);

  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  EXPECT_NE(TraceCalls(folder, "orbpaint SaveSidecar")[0].find(", 4) = ok"), std::string::npos);
  std::string after;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("far.obf"), &after));
  const std::vector<std::string> linesAfter = ObjectLines(after);
  ASSERT_EQ(linesAfter.size(), 4u);
  // Fields 13 and 14 of a text are its measured box; all else stays.
  const std::vector<std::string> textBefore = Fields(linesBefore[0]), textAfter = Fields(linesAfter[0]);
  ASSERT_EQ(textBefore.size(), 18u);
  ASSERT_EQ(textAfter.size(), 18u);
  for (size_t field = 0; field < 18; ++field) {
    if (field == 12 || field == 13) continue;
    EXPECT_EQ(textAfter[field], textBefore[field]) << "text field " << field + 1;
  }
  EXPECT_EQ(textAfter[12], std::to_string(textRect.right));
  EXPECT_EQ(textAfter[13], std::to_string(textRect.bottom));
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(linesAfter[i], linesBefore[i]) << "object line " << i + 1;
  CloseBySuiteCommand(window, paint);
}

// The page buttons show Marlett's arrow heads (previous: pointing left,
// next: pointing right), not the digits "3" and "4" of a stand-in font.
TEST(PictureTool, PageButtonsShowArrowHeads) {
  PaintFolder folder("paint page buttons");
  const std::string picture = folder.path("pages.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 64, 48));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  const std::string capture = folder.path("window.bmp");
  ASSERT_TRUE(harness::CaptureWindowToBmp(window, capture));
  harness::Bmp24 shot;
  ASSERT_TRUE(harness::ReadBmp24(capture, &shot));
  struct PageButton {
    int id;
    const char* caption;
    bool pointingLeft;
  };
  for (const PageButton& page : {PageButton{1, "3", true}, PageButton{3, "4", false}}) {
    SCOPED_TRACE(page.caption);
    HWND button = FindChild(window, page.id, page.caption);
    ASSERT_NE(button, nullptr);
    RECT box = {};
    GetClientRect(button, &box);
    MapWindowPoints(button, window, reinterpret_cast<POINT*>(&box), 2);
    // Inside the button's edge; the face colour is what its corner shows.
    InflateRect(&box, -3, -3);
    ASSERT_GT(box.right - box.left, 8);
    ASSERT_LE(box.right, shot.width);
    ASSERT_LE(box.bottom, shot.height);
    const COLORREF face = shot.at(box.left, box.top);
    auto distance = [&](int x, int y) {
      const COLORREF c = shot.at(x, y);
      return std::abs(GetRValue(c) - GetRValue(face)) + std::abs(GetGValue(c) - GetGValue(face)) +
             std::abs(GetBValue(c) - GetBValue(face));
    };
    int farthest = 0;
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) farthest = std::max(farthest, distance(x, y));
    }
    ASSERT_GT(farthest, 60) << "nothing drawn on the button";
    std::vector<int> runs, pixels;
    for (int x = box.left; x < box.right; ++x) {
      int columnRuns = 0, columnPixels = 0;
      bool inRun = false;
      for (int y = box.top; y < box.bottom; ++y) {
        const bool glyph = distance(x, y) * 2 > farthest;
        if (glyph && !inRun) ++columnRuns;
        columnPixels += glyph ? 1 : 0;
        inRun = glyph;
      }
      if (columnPixels == 0) continue;
      runs.push_back(columnRuns);
      pixels.push_back(columnPixels);
    }
    if (!page.pointingLeft) {
      std::reverse(runs.begin(), runs.end());
      std::reverse(pixels.begin(), pixels.end());
    }
    // A solid triangle: one run in every column, growing towards its base
    // (anti-aliasing may take a pixel off a column).
    std::string columns;
    bool arrowHead = pixels.size() >= 3 && pixels.back() >= pixels.front() + 3;
    for (size_t i = 0; i < pixels.size(); ++i) {
      columns += std::to_string(pixels[i]) + (runs[i] == 1 ? " " : "(" + std::to_string(runs[i]) + " strokes) ");
      arrowHead = arrowHead && runs[i] == 1 && (i == 0 || pixels[i] + 1 >= pixels[i - 1]);
    }
    EXPECT_TRUE(arrowHead) << "glyph columns from the tip: " << columns;
  }
  CloseBySuiteCommand(window, paint);
}

// A sidecar may hold more objects than the user can make; with 99 loaded,
// a new text is refused before its box opens.
TEST(PictureTool, TheHundredthObjectIsRefused) {
  PaintFolder folder("paint limit");
  const std::string picture = folder.path("small.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 64, 48));
  overlay::ObfDocument document;
  for (int i = 0; i < 99; ++i) {
    overlay::ObfObject line;
    line.kind = overlay::kKindRectangle;
    line.style = overlay::kStyleOutline;
    line.points = {{4, 4}, {14, 14}};
    line.size = 1;
    line.colour = 0xFF00FF00;
    line.x = i % 40;
    line.y = i / 40;
    line.width = 20;
    line.height = 20;
    line.fontFamily = "Arial";
    document.objects.push_back(line);
  }
  document.trailer.pictureName = "small.jpg";
  ASSERT_EQ(overlay::WriteObfSidecar(picture, document), overlay::ObfStatus::kOk);
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "1;2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 99));
  PostMessageA(window, WM_COMMAND, 401, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "themecore SKMSGBOX", 1));
  EXPECT_NE(TraceCalls(folder, "themecore SKMSGBOX")[0].find("No more drawing objects"), std::string::npos);
  EXPECT_EQ(WaitForBox("SKFONTBOX", 300), nullptr);
  EXPECT_TRUE(TraceCalls(folder, "orbpaint RunTextBox").empty());
  EXPECT_EQ(ObjectWindows(window).size(), 100u);
  CloseBySuiteCommand(window, paint);
}

TEST(PictureTool, HiddenObjectsStayHiddenUntilShown) {
  PaintFolder folder("paint hidden");
  const std::string picture = folder.path("hidden.jpg");
  ASSERT_TRUE(WriteTwoColourJpeg(picture, 64, 48));
  harness::Process paint;
  HWND window = StartPaint(folder, &paint, "\"" + picture + "\"", "");
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 401, 0);
  ASSERT_TRUE(ConfirmBox("SKFONTBOX", "quiet"));
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint ObjectContent", 1));
  PostMessageA(window, WM_COMMAND, 411, 0);  // hide every object
  PostMessageA(window, WM_COMMAND, 106, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint SaveSidecar", 1));
  std::string sidecar;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("hidden.obf"), &sidecar));
  overlay::ObfReadResult read = overlay::DecodeObfDocument(sidecar);
  ASSERT_EQ(read.document.objects.size(), 1u);
  EXPECT_EQ(read.document.objects[0].shown, 0);
  CloseBySuiteCommand(window, paint);

  DeleteFileA(folder.tracePath().c_str());
  harness::Process again;
  // The question at close about the objects shown again is answered no.
  window = StartPaint(folder, &again, "\"" + picture + "\"", "2");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint LoadedObject", 1));
  EXPECT_EQ(TraceCalls(folder, "orbpaint LoadedObject")[0], "orbpaint LoadedObject(1, 0, \"quiet\", 0, 0, 0, 0) = 0");
  HWND object = nullptr;
  for (HWND candidate : ObjectWindows(window)) {
    if (harness::WindowText(candidate) == "Object001") object = candidate;
  }
  ASSERT_NE(object, nullptr);
  EXPECT_FALSE(IsWindowVisible(object));
  EXPECT_FALSE(IsWindowEnabled(object));
  PostMessageA(window, WM_COMMAND, 408, 0);  // show the hidden objects
  EXPECT_TRUE(harness::PumpUntil([&] { return IsWindowVisible(object) != FALSE; }, kStartMs));
  EXPECT_TRUE(IsWindowEnabled(object));
  CloseBySuiteCommand(window, again);
}


// Without the picture browser, Open asks the file picker the program
// links: it lists the pictures of the folder only, and the one chosen is
// loaded.
TEST(PictureTool, OpenWithoutThePictureBrowserAsksTheFilePicker) {
  PaintFolder folder("paint open");
  std::string table;
  ASSERT_TRUE(harness::ReadFileBytes(folder.path("orbpaint.SYS"), &table));
  const size_t entry = table.find("\n40=orbview.exe,ORBVIEW");
  ASSERT_NE(entry, std::string::npos);
  table.replace(entry, 24, "\n40=noviewer.exe,NOVIEWER");
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("orbpaint.SYS"), table));
  ASSERT_TRUE(WriteTwoColourJpeg(folder.path("pic.jpg"), 64, 48));
  ASSERT_TRUE(WriteTwoColourJpeg(folder.path("other.jpg"), 80, 60));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("notes.txt"), "not a picture"));
  harness::Process paint;
  // The picture on the command line makes its folder the one Open starts in.
  // It gets a red-eye stroke, and the question whether to save it before
  // the chosen picture replaces it is answered no.
  HWND window = StartPaint(folder, &paint, "\"" + folder.path("pic.jpg") + "\"", "2");
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, 317, 0);
  PostClick(CanvasOf(window), 10, 10);
  PostMessageA(window, WM_COMMAND, 101, 0);
  HWND dialog = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (dialog = FindChooserDialog(paint.id())) != nullptr; }, kStartMs));
  HWND list = GetDlgItem(dialog, 2);
  std::vector<std::string> items;
  const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
  // Across processes the list's texts travel as UTF-16 (an ANSI buffer
  // would come back as the first character).
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 255) {
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    }
    char bytes[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof(bytes), nullptr, nullptr);
    items.push_back(bytes);
  }
  EXPECT_EQ(items, (std::vector<std::string>{"other.jpg", "pic.jpg"})) << "pictures only";
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  SendMessageA(GetDlgItem(dialog, 6), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitForTraceCalls(folder, "orbpaint CHOOSERF", 1));
  // The program keeps the paths it was given in lower case, and so the
  // folder Open starts in.
  std::string chosen = folder.path("other.jpg");
  CharLowerBuffA(chosen.data(), static_cast<DWORD>(chosen.size()));
  EXPECT_EQ(TraceCalls(folder, "orbpaint CHOOSERF")[0],
            "orbpaint CHOOSERF(" + orbtrace::QuoteText(chosen + "|") + ") = 2");
  ASSERT_TRUE(harness::PumpUntil([&] {
    for (const std::string& line : TraceCalls(folder, "orbpaint LoadPictureIntoCanvas")) {
      if (line == "orbpaint LoadPictureIntoCanvas(" + orbtrace::QuoteText(chosen) + ") = 80 x 60") {
        return true;
      }
    }
    return false;
  }, kStartMs));
  const std::vector<std::string> boxes = TraceCalls(folder, "themecore SKMSGBOX");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Save the changes to this picture?"), std::string::npos) << boxes[0];
  CloseBySuiteCommand(window, paint);
}

TEST(PictureTool, MissingTextTableEndsWithCode2) {
  PaintFolder folder("paint no table");
  DeleteFileA(folder.path("orbpaint.SYS").c_str());
  harness::Process paint;
  ASSERT_TRUE(paint.start(folder.command()));
  // The box names the missing table; it is closed as a user would.
  HWND box = nullptr;
  harness::PumpUntil([&] { return (box = FindWindowA("#32770", nullptr)) != nullptr; }, kStartMs);
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(WaitForExit(paint), 2);
}

}  // namespace
