// The picture browser under Wine, started as a user starts it: from a
// program folder holding orbview.exe, its text table, the skin and the
// DLLs, on a folder of small solid-colour pictures made by the test (the
// folder's path holds blanks and a "."), with keyword side files.  It is
// driven with clicks, keys and suite commands, and read back from its
// windows' texts, captured pixels, the files left on disk, its placement
// file and its call trace (ORB_TRACE).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/suite_command_codes.h"
#include "core/view_rules.h"
#include "harness.h"
#include "core/obf_types.h"
#include "imaging.h"
#include "obf_file.h"
#include "suite_command.h"
#include "test_files.h"

namespace {

constexpr DWORD kStartMs = 20000;
constexpr int kCountBoxId = 18;
constexpr int kStripId = 19;
constexpr int kLightTableId = 20;
constexpr int kFirstSlotLabelId = 21;
constexpr int kFirstPlaceId = 31;

struct Picture {
  const char* name;
  COLORREF colour;  // 0xFFFFFFFF: not a picture the test draws
  int format;
};

// Sorted as the browser sorts (byte order): "Upper.JPG" first.
const Picture kPictures[] = {
    {"Upper.JPG", RGB(250, 250, 0), FILE_JPEG}, {"a.bmp", RGB(255, 0, 0), FILE_BMP},
    {"b.bmp", RGB(0, 255, 0), FILE_BMP},        {"c.bmp", RGB(0, 0, 255), FILE_BMP},
    {"d.gif", 0xFFFFFFFF, 0},                   {"e.bmp", RGB(255, 255, 255), FILE_BMP},
    {"x.jpeg", RGB(250, 0, 250), FILE_JPEG},
};
constexpr int kPictureCount = 7;

bool WriteSolidPicture(const std::string& path, int width, int height, COLORREF colour, int format) {
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) {
    return false;
  }
  for (int y = 0; y < height; ++y) {
    L_UCHAR* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < width; ++x) {
      row[3 * x] = GetBValue(colour);
      row[3 * x + 1] = GetGValue(colour);
      row[3 * x + 2] = GetRValue(colour);
    }
  }
  const bool saved = L_SaveBitmap(path.c_str(), &bitmap, format, 24, 2, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

bool Near(COLORREF a, COLORREF b, int tolerance = 40) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
  char text[16];
  wsprintfA(text, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

class ViewFolder {
 public:
  explicit ViewFolder(const std::string& label) : scratch_(label) {
    for (const char* file : {"orbview.exe", "themecore.dll", "imaging.dll", "pixconv.dll", "LUMINAR.SKL"}) {
      CopyFileA((harness::ProgramFolder() + file).c_str(), path(file).c_str(), FALSE);
    }
    std::string table;
    harness::ReadFileBytes(harness::ProgramFolder() + "orbview.SYS", &table);
    // Short times for the slide show and the walls.
    table = view::ReplaceAll(table, "201=3000", "201=700");
    table = view::ReplaceAll(table, "204=2,3,500", "204=2,3,4000");
    harness::WriteFileBytes(path("orbview.SYS"), table);
    CreateDirectoryA(pictures().c_str(), nullptr);
    for (const Picture& p : kPictures) {
      if (p.colour == 0xFFFFFFFF) {
        harness::WriteFileBytes(picture(p.name), "GIF89a this is no picture");
      } else {
        WriteSolidPicture(picture(p.name), 64, 48, p.colour, p.format);
      }
    }
    harness::WriteFileBytes(picture("notes.txt"), "not a picture");
    WriteSolidPicture(picture("h.png"), 16, 16, RGB(0, 0, 0), FILE_PNG);
    SetFileAttributesA(picture("h.png").c_str(), FILE_ATTRIBUTE_HIDDEN);
    harness::WriteFileBytes(picture("a.KWD"), std::string("  sea sand \0junk", 16));
  }
  std::string path(const std::string& file) const { return scratch_.Child(file); }
  // The pictures' folder, with a "." in its name, and a final backslash.
  std::string pictures() const { return scratch_.Child("holiday.pics") + "\\"; }
  std::string picture(const std::string& name) const { return pictures() + name; }
  std::string command(const std::string& arguments) const {
    return "\"" + path("orbview.exe") + "\"" + (arguments.empty() ? "" : " " + arguments);
  }
  std::string tracePath() const { return path("trace.txt"); }
  std::vector<std::string> trace(const std::string& call) const {
    std::string text;
    harness::ReadFileBytes(tracePath(), &text);
    std::vector<std::string> found;
    for (const std::string& line : harness::SplitLines(text)) {
      const std::string wanted = "] orbview " + call + "(";
      if (line.find(wanted) != std::string::npos) found.push_back(line.substr(line.find(wanted) + 10));
    }
    return found;
  }

 private:
  harness::ScratchFolder scratch_;
};

std::string ConfigPath() {
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  std::string folder = temp;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + "orbview.cfg";
}

struct FindId {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM search) {
  auto* wanted = reinterpret_cast<FindId*>(search);
  if (GetDlgCtrlID(window) != wanted->id) return TRUE;
  wanted->found = window;
  return FALSE;
}

HWND Child(HWND main, int id) {
  FindId search{id, nullptr};
  EnumChildWindows(main, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND StatusWindow(HWND main) { return FindWindowExA(main, nullptr, "SKSTATUS", nullptr); }

class ViewTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (window_ != nullptr && IsWindow(window_)) suite::SendSuiteCommand(window_, suite::CMD_CLOSE, "");
    if (process_.running()) {
      if (process_.waitExit(kStartMs) == -1) process_.kill();
    }
    DeleteFileA(ConfigPath().c_str());
  }

  HWND Start(const std::string& arguments, const std::string& answers = "") {
    harness::ScopedEnvironment trace("ORB_TRACE", folder_.tracePath().c_str());
    harness::ScopedEnvironment scripted("ORB_ANSWERS", answers.c_str());
    if (!process_.start(folder_.command(arguments))) return nullptr;
    window_ = harness::WaitForWindow("ORBVIEW", kStartMs);
    if (window_ == nullptr) return nullptr;
    if (!harness::PumpUntil([&] { return IsWindowVisible(window_) != FALSE; }, kStartMs)) return nullptr;
    return window_;
  }

  long WaitForExit() {
    long code = -1;
    harness::PumpUntil([&] {
      code = process_.waitExit(0);
      return code != -1;
    }, kStartMs);
    return code;
  }

  // Captures the main window and reads `child`'s client area out of it
  // (the display holds the top-level window's pixels).
  bool CaptureChild(HWND child, harness::Bmp24* image) {
    const std::string shot = folder_.path("capture.bmp");
    harness::Bmp24 whole;
    const bool captured = harness::CaptureWindowToBmp(window_, shot) && harness::ReadBmp24(shot, &whole);
    DeleteFileA(shot.c_str());
    if (!captured) return false;
    POINT origin = {0, 0};
    MapWindowPoints(child, window_, &origin, 1);
    RECT client = {};
    GetClientRect(child, &client);
    if (origin.x < 0 || origin.y < 0 || origin.x + client.right > whole.width || origin.y + client.bottom > whole.height) {
      return false;
    }
    image->width = client.right;
    image->height = client.bottom;
    image->pixels.clear();
    for (int y = 0; y < client.bottom; ++y) {
      for (int x = 0; x < client.right; ++x) image->pixels.push_back(whole.at(origin.x + x, origin.y + y));
    }
    return true;
  }

  std::string CountText() { return harness::WindowText(Child(window_, kCountBoxId)); }

  bool WaitForCount(const std::string& count) {
    return harness::PumpUntil([&] { return CountText() == count; }, kStartMs);
  }

  // The strip's cell n (1-4) centre colour, read from a capture of the
  // strip window.
  std::vector<COLORREF> StripCentres() {
    harness::Bmp24 image;
    if (!CaptureChild(Child(window_, kStripId), &image)) return {};
    std::vector<COLORREF> centres;
    const int cellWidth = image.width / 4;
    const int cellHeight = image.height - 26;
    for (int n = 0; n < 4; ++n) centres.push_back(image.at(cellWidth * n + cellWidth / 2, 13 + cellHeight / 2));
    return centres;
  }

  // Waits until the strip's cell centres show the pictures (by list index,
  // 0 = black).
  void ExpectStrip(const std::vector<int>& indexes) {
    std::vector<COLORREF> centres;
    auto matches = [&] {
      centres = StripCentres();
      if (centres.size() != 4) return false;
      for (size_t n = 0; n < 4; ++n) {
        const int index = indexes[n];
        COLORREF wanted = RGB(0, 0, 0);
        if (index != 0 && kPictures[index - 1].colour != 0xFFFFFFFF) wanted = kPictures[index - 1].colour;
        if (!Near(centres[n], wanted)) return false;
      }
      return true;
    };
    if (harness::PumpUntil(matches, 5000)) return;
    std::string seen;
    for (COLORREF c : centres) seen += Hex(c) + " ";
    char name[64] = {};
    HWND strip = Child(window_, kStripId);
    GetClassNameA(strip, name, sizeof(name));
    const RECT r = harness::WindowRectOf(strip);
    seen += std::string("(") + name + " " + std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top) +
            ") ";
    ADD_FAILURE() << "strip cells " << seen << "for " << indexes[0] << "," << indexes[1] << "," << indexes[2] << ","
                  << indexes[3];
  }

  void ClickButton(int id) {
    HWND button = Child(window_, id);
    ASSERT_NE(button, nullptr) << id;
    PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    harness::PumpMessagesFor(150);
  }

  void ClickAt(HWND target, int x, int y, UINT down = WM_LBUTTONDOWN) {
    PostMessageA(target, down, down == WM_RBUTTONDOWN ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(target, down + 1, 0, MAKELPARAM(x, y));
    harness::PumpMessagesFor(150);
  }

  int CellCentreX(int cell) {
    RECT strip = {};
    GetClientRect(Child(window_, kStripId), &strip);
    return strip.right / 4 * (cell - 1) + strip.right / 8;
  }

  ViewFolder folder_{"orbview test"};
  harness::Process process_;
  HWND window_ = nullptr;
};

TEST_F(ViewTest, ShowsTheFolderAndPagesThroughIt) {
  ASSERT_NE(Start("\"" + folder_.pictures() + "\""), nullptr);
  // The text file and the hidden picture are not listed; the damaged GIF
  // is (its cell stays black).
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount))) << CountText();
  ExpectStrip({1, 2, 3, 4});
  struct Step {
    int button;
    std::vector<int> shown;
  };
  const Step steps[] = {{6, {4, 5, 6, 7}}, {2, {3, 4, 5, 6}}, {2, {2, 3, 4, 5}}, {5, {3, 4, 5, 6}},
                        {1, {1, 2, 3, 4}}, {2, {1, 2, 3, 4}}, {5, {2, 3, 4, 5}}, {6, {4, 5, 6, 7}},
                        {5, {4, 5, 6, 7}}};
  for (const Step& step : steps) {
    ClickButton(step.button);
    ExpectStrip(step.shown);
  }
  // The cells are numbered with outlined yellow numbers at their top left.
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureChild(Child(window_, kStripId), &image));
  int yellow = 0;
  for (int y = 13; y < 30; ++y) {
    for (int x = 0; x < 12; ++x) yellow += image.at(x, y) == RGB(255, 255, 0) ? 1 : 0;
  }
  EXPECT_GT(yellow, 3);
}

TEST_F(ViewTest, HoverLightTableAndLayoutPlaces) {
  ASSERT_NE(Start(folder_.pictures()), nullptr);
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount)));
  HWND strip = Child(window_, kStripId);
  HWND status = StatusWindow(window_);
  ASSERT_NE(status, nullptr);

  // Hover: the name, and the words of the keyword file up to its zero byte.
  PostMessageA(strip, WM_MOUSEMOVE, 0, MAKELPARAM(CellCentreX(2), 40));
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(status) == "a.bmp :  sea sand"; }, 5000))
      << harness::WindowText(status);
  PostMessageA(strip, WM_MOUSEMOVE, 0, MAKELPARAM(CellCentreX(1), 40));
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(status) == "upper.jpg"; }, 5000))
      << harness::WindowText(status);

  // Clicks on the strip fill the light-table slots in turn.
  for (int cell = 1; cell <= 4; ++cell) ClickAt(strip, CellCentreX(cell), 40);
  const char* captions[] = {" upper.jpg 64x48", " a.bmp 64x48", " b.bmp 64x48", " c.bmp 64x48"};
  for (int slot = 0; slot < 4; ++slot) {
    EXPECT_TRUE(harness::PumpUntil(
        [&] { return harness::WindowText(Child(window_, kFirstSlotLabelId + slot)) == captions[slot]; }, 5000))
        << slot << ": " << harness::WindowText(Child(window_, kFirstSlotLabelId + slot));
  }
  // A fifth click finds no free slot and changes nothing.
  ClickAt(strip, CellCentreX(2), 40);
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstSlotLabelId)), captions[0]);

  // Slot 2 to places 3 and 8, slot 4 to place 1.
  HWND light = Child(window_, kLightTableId);
  RECT table = {};
  GetClientRect(light, &table);
  const int slotWidth = table.right / 4;
  const struct {
    int slot, place;
  } assignments[] = {{2, 3}, {2, 8}, {4, 1}};
  for (const auto& a : assignments) {
    ClickAt(light, slotWidth * (a.slot - 1) + 10, 10);
    ClickAt(Child(window_, kFirstPlaceId + a.place - 1), 5, 5);
  }
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId + 2)), " 2");
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId + 7)), " 2");
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId)), " 4");
  // The light table shows the slot's picture (slot 2 is the red a.bmp).
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureChild(light, &image));
  EXPECT_TRUE(Near(image.at(slotWidth + slotWidth / 2, image.height / 2), RGB(255, 0, 0)))
      << Hex(image.at(slotWidth + slotWidth / 2, image.height / 2));

  // Clearing slot 2 (its "r" button, id 10) empties its caption, its cell
  // and every place that showed 2.
  ClickButton(10);
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowText(Child(window_, kFirstSlotLabelId + 1)).empty(); },
                                 5000));
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId + 2)), "");
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId + 7)), "");
  EXPECT_EQ(harness::WindowText(Child(window_, kFirstPlaceId)), " 4");
  ASSERT_TRUE(CaptureChild(light, &image));
  EXPECT_EQ(image.at(slotWidth + slotWidth / 2, image.height / 2), RGB(160, 160, 160));
}

TEST_F(ViewTest, SuiteCommandListsBeforeAndAfterTheStartFolder) {
  // A list sent before the start-up timer fires wins over the folder.
  harness::ScopedEnvironment trace("ORB_TRACE", folder_.tracePath().c_str());
  ASSERT_TRUE(process_.start(folder_.command("\"" + folder_.pictures() + "\"")));
  window_ = harness::WaitForWindow("ORBVIEW", kStartMs);
  ASSERT_NE(window_, nullptr);
  const std::string list = folder_.picture("c.bmp") + "|" + folder_.picture("b.bmp");
  suite::SendSuiteCommand(window_, suite::CMD_STARTED_BY_BROWSER, "");
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS, list);
  ASSERT_TRUE(WaitForCount("2")) << CountText();
  ExpectStrip({4, 3, 0, 0});
  harness::PumpMessagesFor(600);
  EXPECT_EQ(CountText(), "2");
  EXPECT_TRUE(folder_.trace("StartFolder").empty());

  // Two lists in a row: both are shown in turn, the last stays; commands
  // without a list (the picture tool's hello) leave it.
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS, folder_.picture("a.bmp"));
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS,
                          folder_.picture("e.bmp") + "|" + folder_.picture("a.bmp") + "|" + folder_.picture("b.bmp"));
  suite::SendSuiteCommand(window_, suite::CMD_PICTURE_TOOL_HELLO, "");
  ASSERT_TRUE(WaitForCount("3")) << CountText();
  ExpectStrip({6, 2, 3, 0});

  // Code 10 ends the browser without writing its placement file.
  suite::SendSuiteCommand(window_, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(harness::FileExists(ConfigPath()));
}

TEST_F(ViewTest, PlacementFileWrittenAndReadBack) {
  // A saved left and top below 0 put the window at 0; the saved folder is
  // the start folder.
  view::Placement saved;
  saved.x = -40;
  saved.y = -7;
  saved.width = 100;
  saved.height = 100;
  saved.folder = folder_.pictures();
  ASSERT_TRUE(harness::WriteFileBytes(ConfigPath(), view::EncodePlacement(saved)));
  ASSERT_NE(Start(""), nullptr);
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount))) << CountText();
  RECT rect = harness::WindowRectOf(window_);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  // The saved size is not used.
  EXPECT_GT(rect.right - rect.left, 400);

  // Moved and closed by its close command: the file holds the place and
  // the folder.
  SetWindowPos(window_, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  harness::PumpMessagesFor(200);
  rect = harness::WindowRectOf(window_);
  PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(WaitForExit(), 0);
  std::string bytes;
  ASSERT_TRUE(harness::ReadFileBytes(ConfigPath(), &bytes));
  view::Placement back;
  ASSERT_TRUE(view::DecodePlacement(bytes, &back));
  EXPECT_EQ(back.x, rect.left);
  EXPECT_EQ(back.y, rect.top);
  EXPECT_EQ(back.width, rect.right - rect.left);
  EXPECT_EQ(back.height, rect.bottom - rect.top);
  EXPECT_EQ(back.folder, folder_.pictures());

  // Eight bytes: no folder saved; too short: the defaults.
  ASSERT_TRUE(harness::WriteFileBytes(ConfigPath(), bytes.substr(0, 5)));
  ASSERT_NE(Start(""), nullptr);
  rect = harness::WindowRectOf(window_);
  EXPECT_EQ(rect.left, std::max(0, (GetSystemMetrics(SM_CXSCREEN) - 808) / 2));
  suite::SendSuiteCommand(window_, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(), 0);
}

}  // namespace

namespace {

HWND ZoomWindow() { return FindWindowA("SKZOOM", nullptr); }

// The result of each traced call of `name` (the number after " = ").
std::vector<long> TracedResults(const ViewFolder& folder, const std::string& name) {
  std::vector<long> values;
  for (const std::string& line : folder.trace(name)) {
    const size_t at = line.rfind(" = ");
    if (at != std::string::npos) values.push_back(std::atol(line.c_str() + at + 3));
  }
  return values;
}

bool CaptureZoom(const ViewFolder& folder, harness::Bmp24* image) {
  const std::string shot = folder.path("zoom.bmp");
  const bool ok = harness::CaptureWindowToBmp(ZoomWindow(), shot) && harness::ReadBmp24(shot, image);
  DeleteFileA(shot.c_str());
  return ok;
}

TEST_F(ViewTest, FullScreenViewFitsAndPans) {
  ASSERT_TRUE(WriteSolidPicture(folder_.path("wide.bmp"), 3000, 200, RGB(0, 128, 255), FILE_BMP));
  ASSERT_NE(Start("\"" + folder_.pictures() + "\""), nullptr);
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount)));
  HWND strip = Child(window_, kStripId);
  // A right click on a cell shows its picture fitted to the screen.
  ClickAt(strip, CellCentreX(3), 40, WM_RBUTTONDOWN);
  ASSERT_TRUE(harness::PumpUntil([] { return ZoomWindow() != nullptr && IsWindowVisible(ZoomWindow()); }, 5000));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(harness::WindowRectOf(ZoomWindow()).right, screenWidth);
  EXPECT_TRUE(GetWindowLongA(ZoomWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureZoom(folder_, &image));
  EXPECT_TRUE(Near(image.at(screenWidth / 2, screenHeight / 2), RGB(0, 255, 0)))
      << Hex(image.at(screenWidth / 2, screenHeight / 2));
  // A 64 x 48 picture stays its size: black around it.
  EXPECT_EQ(image.at(10, 10), RGB(0, 0, 0));
  // A click closes it.
  ClickAt(ZoomWindow(), 100, 100);
  EXPECT_TRUE(harness::PumpUntil([] { return !IsWindowVisible(ZoomWindow()); }, 5000));

  // A picture wider than the screen on the light table, shown at its size.
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS, folder_.path("wide.bmp"));
  ASSERT_TRUE(WaitForCount("1"));
  ClickAt(strip, CellCentreX(1), 40);
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return harness::WindowText(Child(window_, kFirstSlotLabelId)) == " wide.bmp 3000x200"; }, 5000));
  ClickButton(7);
  ASSERT_TRUE(harness::PumpUntil([] { return IsWindowVisible(ZoomWindow()) != FALSE; }, 5000));
  EXPECT_EQ(harness::WindowRectOf(ZoomWindow()).left, 0);
  EXPECT_EQ(harness::WindowRectOf(ZoomWindow()).right, 3000);
  const struct {
    WPARAM key;
    int left;
  } keys[] = {{VK_END, screenWidth - 3000}, {VK_LEFT, screenWidth - 3000 + 4}, {VK_NEXT, screenWidth - 3000 + 4},
              {VK_HOME, 0}, {VK_RIGHT, -4}};
  for (const auto& k : keys) {
    PostMessageA(ZoomWindow(), WM_KEYDOWN, k.key, 0);
    EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowRectOf(ZoomWindow()).left == k.left; }, 3000))
        << k.key << ": " << harness::WindowRectOf(ZoomWindow()).left;
  }
  // The mouse at the right edge pans by 4 per move.
  PostMessageA(ZoomWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(4 + screenWidth - 2, 100));
  EXPECT_TRUE(harness::PumpUntil([&] { return harness::WindowRectOf(ZoomWindow()).left == -8; }, 3000));
  // Another key closes it.
  PostMessageA(ZoomWindow(), WM_KEYDOWN, 'Q', 0);
  EXPECT_TRUE(harness::PumpUntil([] { return !IsWindowVisible(ZoomWindow()); }, 5000));
}

TEST_F(ViewTest, SlideShowAdvancesAtItsDisplayTime) {
  ASSERT_NE(Start(""), nullptr);
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS, folder_.picture("a.bmp") + "|" + folder_.picture("c.bmp"));
  ASSERT_TRUE(WaitForCount("2"));
  PostMessageA(window_, WM_COMMAND, 201, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return folder_.trace("SlideShow").size() >= 2; }, 10000));
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureZoom(folder_, &image));
  const COLORREF centre = image.at(image.width / 2, image.height / 2);
  EXPECT_TRUE(Near(centre, RGB(0, 0, 255)) || Near(centre, RGB(255, 0, 0))) << Hex(centre);
  // The keyword caption of a.bmp was drawn while it showed (yellow pixels).
  ASSERT_TRUE(harness::PumpUntil([&] { return folder_.trace("SlideShow").size() >= 4; }, 10000));
  PostMessageA(ZoomWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(harness::PumpUntil([] { return !IsWindowVisible(ZoomWindow()); }, 5000));
  const std::vector<std::string> shown = folder_.trace("SlideShow");
  const std::vector<long> times = TracedResults(folder_, "SlideShow");
  ASSERT_GE(times.size(), 4u);
  for (size_t i = 1; i < 4; ++i) {
    EXPECT_GE(times[i] - times[i - 1], 700) << i;
    EXPECT_LT(times[i] - times[i - 1], 1500) << i;
  }
  EXPECT_NE(shown[0].find("a.bmp"), std::string::npos);
  EXPECT_NE(shown[1].find("c.bmp"), std::string::npos);
  EXPECT_NE(shown[2].find("a.bmp"), std::string::npos);
  // Ended: no further pictures.
  const size_t ended = folder_.trace("SlideShow").size();
  harness::PumpMessagesFor(1200);
  EXPECT_EQ(folder_.trace("SlideShow").size(), ended);
}

TEST_F(ViewTest, PictureWallDeletesExactlyTheMarkedPicture) {
  // The closing box: 4 (delete the marked), then yes to the question.
  ASSERT_NE(Start("\"" + folder_.pictures() + "\"", "4;1"), nullptr);
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount)));
  PostMessageA(window_, WM_COMMAND, 204, 0);  // 2 x 3, 4 s between screens
  ASSERT_TRUE(harness::PumpUntil([&] { return !folder_.trace("WallFull").empty(); }, 10000));
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // Cell 2 (top right) shows the second entry, a.bmp.
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureZoom(folder_, &image));
  EXPECT_TRUE(Near(image.at(screenWidth * 3 / 4, screenHeight / 6), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(image.at(screenWidth / 4, screenHeight / 2), RGB(0, 255, 0)));
  SetCursorPos(screenWidth * 3 / 4, screenHeight / 6);
  PostMessageA(ZoomWindow(), WM_LBUTTONUP, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !folder_.trace("WallMark").empty(); }, 3000));
  // The cell's entry is marked (the trace's result: 1 = marked).
  ASSERT_EQ(folder_.trace("WallMark").size(), 1u);
  EXPECT_NE(folder_.trace("WallMark")[0].find("a.bmp) = 1"), std::string::npos) << folder_.trace("WallMark")[0];
  PostMessageA(ZoomWindow(), WM_KEYDOWN, 'Q', 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !folder_.trace("SKKILLFILE").empty(); }, 10000));
  EXPECT_FALSE(harness::FileExists(folder_.picture("a.bmp")));
  for (const Picture& p : kPictures) {
    if (std::string(p.name) != "a.bmp") EXPECT_TRUE(harness::FileExists(folder_.picture(p.name))) << p.name;
  }
  // The question named the one picture and its folder; the list keeps
  // the others.
  const std::vector<std::string> boxes = folder_.trace("Box");
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_NE(boxes[1].find("Delete 1 picture(s)"), std::string::npos) << boxes[1];
  EXPECT_NE(boxes[1].find("holiday.pics"), std::string::npos) << boxes[1];
  EXPECT_TRUE(WaitForCount(std::to_string(kPictureCount - 1))) << CountText();
}

TEST_F(ViewTest, PrintingWithoutPrinterAndPreview) {
  ASSERT_NE(Start("\"" + folder_.pictures() + "\"", "1;1;1"), nullptr);
  ASSERT_TRUE(WaitForCount(std::to_string(kPictureCount)));
  // Nothing assigned: the message says so.
  ClickButton(3);
  ASSERT_TRUE(harness::PumpUntil([&] { return folder_.trace("Box").size() == 1; }, 5000));
  EXPECT_NE(folder_.trace("Box")[0].find("Click a picture of the light table"), std::string::npos);

  // Slot 1 (the red a.bmp) to place 1.
  ClickAt(Child(window_, kStripId), CellCentreX(2), 40);
  ClickAt(Child(window_, kLightTableId), 10, 10);
  ClickAt(Child(window_, kFirstPlaceId), 5, 5);
  ASSERT_EQ(harness::WindowText(Child(window_, kFirstPlaceId)), " 1");
  char device[256] = {};
  GetProfileStringA("WINDOWS", "DEVICE", ",,,", device, sizeof(device));
  ClickButton(3);
  if (std::string(device) == ",,,") {
    // No printer here: the system's message, and no printer dialog.
    ASSERT_TRUE(harness::PumpUntil([&] { return folder_.trace("Box").size() == 2; }, 5000));
    char text[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, 1797, 0, text, sizeof(text),
                   nullptr);
    std::string expected = text;
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) expected.pop_back();
    EXPECT_NE(folder_.trace("Box")[1].find(expected.substr(0, 10)), std::string::npos) << folder_.trace("Box")[1];
    EXPECT_TRUE(folder_.trace("PrintLayoutPage").empty());
  }

  // The preview: a quarter of 64 x 48 in a raised frame over the window.
  ClickButton(4);
  ASSERT_TRUE(harness::PumpUntil([] { return IsWindowVisible(ZoomWindow()) != FALSE; }, 5000));
  const RECT preview = harness::WindowRectOf(ZoomWindow());
  EXPECT_EQ(preview.right - preview.left, 16 + 8);
  EXPECT_EQ(preview.bottom - preview.top, 12 + 8);
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureZoom(folder_, &image));
  EXPECT_TRUE(Near(image.at(12, 10), RGB(255, 0, 0))) << Hex(image.at(12, 10));
  ClickAt(ZoomWindow(), 5, 5);
  EXPECT_TRUE(harness::PumpUntil([] { return !IsWindowVisible(ZoomWindow()); }, 5000));
}

TEST_F(ViewTest, FullScreenPictureCarriesItsOverlay) {
  // A white picture whose sidecar holds a solid blue rectangle over its
  // left half.
  const std::string picture = folder_.path("overlaid.bmp");
  ASSERT_TRUE(WriteSolidPicture(picture, 64, 48, RGB(255, 255, 255), FILE_BMP));
  overlay::ObfDocument document;
  ASSERT_TRUE(harness::ReadFileBytes(picture, &document.preview));
  document.trailer.canvasWidth = 64;
  document.trailer.canvasHeight = 48;
  overlay::ObfObject box;
  box.kind = overlay::kKindRectangle;
  box.style = 2;
  box.points = {{2, 2}, {30, 44}};
  box.size = 1;
  box.colour = 0xFF0000FFu;
  box.x = 0;
  box.y = 0;
  box.width = 32;
  box.height = 48;
  box.number = 1;
  document.objects = {box};
  ASSERT_EQ(overlay::WriteObfSidecar(picture, document), overlay::ObfStatus::kOk);
  ASSERT_NE(Start(""), nullptr);
  suite::SendSuiteCommand(window_, suite::CMD_OPEN_ITEMS, picture);
  ASSERT_TRUE(WaitForCount("1"));
  ClickAt(Child(window_, kStripId), CellCentreX(1), 40, WM_RBUTTONDOWN);
  ASSERT_TRUE(harness::PumpUntil([] { return ZoomWindow() != nullptr && IsWindowVisible(ZoomWindow()); }, 5000));
  harness::Bmp24 image;
  ASSERT_TRUE(CaptureZoom(folder_, &image));
  const int left = (GetSystemMetrics(SM_CXSCREEN) - 64) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - 48) / 2;
  // The rectangle's inside is blue, the right half of the picture white.
  EXPECT_TRUE(Near(image.at(left + 16, top + 24), RGB(0, 0, 255))) << Hex(image.at(left + 16, top + 24));
  EXPECT_TRUE(Near(image.at(left + 50, top + 24), RGB(255, 255, 255))) << Hex(image.at(left + 50, top + 24));
  ClickAt(ZoomWindow(), 5, 5);
}

TEST_F(ViewTest, MissingTextTableEndsWithCode2) {
  DeleteFileA(folder_.path("orbview.SYS").c_str());
  harness::ScopedEnvironment trace("ORB_TRACE", folder_.tracePath().c_str());
  harness::ScopedEnvironment scripted("ORB_ANSWERS", "1");
  ASSERT_TRUE(process_.start(folder_.command("")));
  EXPECT_EQ(WaitForExit(), 2);
  EXPECT_EQ(FindWindowA("ORBVIEW", nullptr), nullptr);
  // The engine's box said which file is missing.
  std::string text;
  harness::ReadFileBytes(folder_.tracePath(), &text);
  EXPECT_NE(text.find("orbview.SYS missing !"), std::string::npos);
}

}  // namespace
