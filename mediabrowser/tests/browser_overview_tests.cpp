// The media browser's album pages and contact sheets under Wine, made as a
// user makes them (the commands of the Albums and Sheets menus, the target
// box clicked, the title box answered) and checked from outside: the pages
// with Python's HTML parser and a headless Chromium screenshot, the copies
// and sheets with ImageMagick.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "harness.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using namespace browsertest;

constexpr int kFileListId = 3;
constexpr int kCaptionOption = 809;
constexpr int kSheet4x5 = 801;
constexpr int kOneSheet = 1400;
constexpr int kOneSheetOfFirst = 1401;
constexpr int kAlbum2x3 = 904;
constexpr DWORD kRunMs = 60000;
constexpr DWORD kToolMs = 90000;

// A temporary file of the test, gone with it.
struct TempFile {
  explicit TempFile(const std::string& name) : path(TempFolder() + name) { DeleteFileA(path.c_str()); }
  ~TempFile() { DeleteFileA(path.c_str()); }
  std::string path;
};

bool Exists(const std::string& path) { return harness::FileExists(path); }

std::string Unix(const std::string& path) { return harness::UnixPathWord(path); }

// A Unix command's output without its final line ends; "" when it failed.
std::string RunTool(const std::string& command) {
  std::string output;
  return harness::UnixToolOutput(command, kToolMs, &output) ? output : std::string();
}

void MakePicture(const std::string& path, int width, int height, const std::string& rgb) {
  std::string command = "convert -size " + std::to_string(width) + "x" + std::to_string(height) + " 'xc:rgb(" +
                        rgb + ")' -type TrueColor " + Unix(path) + " && echo made";
  ASSERT_EQ("made", RunTool(command)) << path;
}

std::string Identify(const std::string& path) {
  std::string facts = RunTool("identify -format '%m %w %h' " + Unix(path) + "[0]");
  if (facts.rfind("BMP", 0) == 0) facts = "BMP" + facts.substr(facts.find(' '));
  return facts;
}

// Pixels of the rectangle in `rgb` ("r,g,b"; 8 % apart at most).
int CountColour(const std::string& path, int x, int y, int width, int height, const std::string& rgb) {
  std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "+" + std::to_string(x) + "+" +
                         std::to_string(y);
  std::string count = RunTool("convert " + Unix(path) + "[0] -crop " + geometry +
                              " +repage -alpha set -fuzz 8% -transparent 'rgb(" + rgb +
                              ")' -alpha extract -negate -format '%[fx:int(mean*w*h+.5)]' info:");
  return count.empty() ? -1 : std::atoi(count.c_str());
}

// Waits for the target-folder box and clicks its button (2 choose the
// folder shown, 3 new folder, 4 cancel).
void AnswerTargetBox(int button) {
  HWND box = WaitForFramedBox("TARGETBOX", button, 10000);
  ASSERT_NE(box, nullptr) << "the target-folder box did not open";
  HWND control = GetDlgItem(box, button);
  harness::PumpMessagesFor(300);
  for (int attempt = 0; attempt < 3 && IsWindow(box); ++attempt) {
    PostMessageA(control, BM_CLICK, 0, 0);
    harness::PumpUntil([&] { return !IsWindow(box); }, 4000);
  }
  ASSERT_FALSE(IsWindow(box)) << "the box stayed open";
}

// What Python's HTML parser reads in a page: the heading's text, each
// image (src decoded, width, height) with the link around it, and every
// fault of nesting or of a bare "&".
constexpr char kPageReader[] = R"PY(
import html.parser, re, sys, urllib.parse
data = open(sys.argv[1], 'rb').read().decode('cp1252')
VOID = {'br', 'img', 'meta'}
class Reader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.heading, self.in_h1, self.href = [], '', False, ''
    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == 'h1': self.in_h1 = True
        if tag == 'a': self.href = urllib.parse.unquote(a.get('href', ''))
        if tag == 'img':
            print('img\t%s\t%s\t%s\t%s' % (urllib.parse.unquote(a['src']), a['width'], a['height'], self.href))
        if tag not in VOID: self.stack.append(tag)
    def handle_endtag(self, tag):
        if tag == 'h1': self.in_h1 = False
        if tag == 'a': self.href = ''
        if not self.stack or self.stack[-1] != tag.lower():
            print('fault\tend of %s inside %s' % (tag, self.stack[-1:] ))
        else:
            self.stack.pop()
    def handle_data(self, text):
        if self.in_h1: self.heading += text
reader = Reader()
reader.feed(data)
reader.close()
if reader.stack: print('fault\tunclosed %s' % reader.stack)
for m in re.finditer(r'&(?!(amp|lt|gt|quot|#[0-9]+);)', data): print('fault\tbare & at %d' % m.start())
print('heading\t' + ' '.join(reader.heading.split()))
)PY";

struct PageImage {
  std::string src, width, height, href;
};

struct PageFacts {
  std::string heading;
  std::vector<PageImage> images;
  std::vector<std::string> faults;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

PageFacts ReadPage(const std::string& reader, const std::string& page) {
  PageFacts facts;
  std::string output = RunTool("python3 " + Unix(reader) + " " + Unix(page));
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    std::string line = output.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? output.size() : end + 1;
    std::vector<std::string> fields = SplitTabs(line);
    if (fields[0] == "img" && fields.size() == 5) facts.images.push_back({fields[1], fields[2], fields[3], fields[4]});
    if (fields[0] == "fault") facts.faults.push_back(line);
    if (fields[0] == "heading" && fields.size() > 1) facts.heading = fields[1];
  }
  return facts;
}

// Headless Chromium's picture of a page (either name of the program).
bool Screenshot(const std::string& page, const std::string& png) {
  std::string command =
      "bin=$(command -v chromium-headless-shell || command -v chromium) || exit 3; d=$(mktemp -d); "
      "timeout 80 \"$bin\" --headless --no-sandbox --disable-gpu --hide-scrollbars --user-data-dir=\"$d\" "
      "--window-size=1000,1100 --screenshot=" + Unix(png) +
      " \"$(python3 -c 'import pathlib,sys; print(pathlib.Path(sys.argv[1]).as_uri())' " + Unix(page) +
      ")\" >/dev/null 2>&1; rm -rf \"$d\"; test -s " + Unix(png) + " && echo shot";
  return RunTool(command) == "shot";
}

std::string Utf8ToAnsi(const std::string& text) {
  wchar_t wide[MAX_PATH * 2] = {};
  MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, MAX_PATH * 2);
  char ansi[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof(ansi), nullptr, nullptr);
  return ansi;
}

// ---------------------------------------------------------------------------

// Twelve pictures, two pages of 2 x 3, made in the pictures' own folder:
// no picture is written over by its copy (x.jpg and x.jpeg among them), the
// pages parse cleanly with names holding "&", "#", "%" and "'", each image
// is a copy of the size the page gives, linked to its picture, and Chromium
// draws the copies' colours; the pages then go to the player.
TEST(MediaBrowserOverview, AlbumPagesLinkEveryPictureAndRender) {
  ProgramFolder program("overview album");
  program.Copy("suite_receiver.exe", "orbplay.exe");
  Folder fixture("orbmedia album");
  const std::string receiverLog = TempFolder() + "overview ORBPLAY.log";
  DeleteFileA(receiverLog.c_str());
  TempFile reader("orbmedia page reader.py");
  WriteFileText(reader.path, kPageReader);
  TempFile shot("orbmedia album shot.png");

  const std::map<std::string, std::string> colours = {
      {"a&b #1.png", "255,0,0"},  {"x.jpg", "0,200,0"},      {"x.jpeg", "0,0,255"},   {"100% fun.bmp", "255,255,0"},
      {"it's.gif", "255,0,255"},  {"c.png", "0,255,255"},    {"d.tif", "255,128,0"},  {"e.jpg", "128,0,255"},
      {"f.bmp", "0,100,0"},       {"g.png", "128,0,0"},      {"h.jpg", "0,0,128"},    {"i.png", "128,128,0"},
  };
  std::map<std::string, std::string> before;
  for (const auto& [name, rgb] : colours) {
    MakePicture(fixture.path + name, 640, 480, rgb);
    before[name] = ReadFileText(fixture.path + name);
  }
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + fixture.path + "|*.jpg;*.jpeg;*.bmp;*.gif;*.png;*.tif| 0|-1| 0");
  harness::Process browser;
  // The title box, then "yes" to showing the pages in the player.
  HWND window = StartBrowser(program, &browser, "",
                             {{"ORB_ANSWERS", "Tom & Jerry''s <#1>;1"},
                              {"ORB_RECEIVER_CLASS", "*"},
                              {"ORB_RECEIVER_LOG", TempFolder() + "overview *.log"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 12; }, 10000));
  SelectAll(window, list);
  PostMessageA(window, WM_COMMAND, kAlbum2x3, 0);
  AnswerTargetBox(2);
  const std::vector<std::string> pages = {fixture.path + "ORBCT000.htm", fixture.path + "ORBCT001.htm"};
  // The player is started and gets the pages as one item list.
  bool handedOver = false;
  std::string received;
  harness::PumpUntil(
      [&] {
        received.clear();
        for (const ReceivedLine& line : ReceiverLog(receiverLog)) {
          received += "[" + line.kind + " " + line.text + "] ";
          if (lstrcmpiA(line.text.c_str(), (pages[0] + "|" + pages[1]).c_str()) == 0) handedOver = true;
        }
        return handedOver;
      },
      kRunMs);
  EXPECT_TRUE(handedOver) << "the pages did not reach the player: " << received;

  // No picture was written over.
  for (const auto& [name, bytes] : before) EXPECT_EQ(bytes, ReadFileText(fixture.path + name)) << name;
  EXPECT_FALSE(Exists(fixture.path + "ORBCT002.htm"));

  std::map<std::string, int> linked;
  for (size_t p = 0; p < pages.size(); ++p) {
    SCOPED_TRACE(pages[p]);
    ASSERT_TRUE(Exists(pages[p]));
    PageFacts facts = ReadPage(reader.path, pages[p]);
    EXPECT_TRUE(facts.faults.empty()) << facts.faults.front();
    EXPECT_EQ("Tom & Jerry\"s <#1> page " + std::to_string(p + 1) + "/2", facts.heading);
    ASSERT_EQ(6u, facts.images.size());
    std::vector<std::string> pageColours;
    for (const PageImage& image : facts.images) {
      SCOPED_TRACE(image.src);
      // The copy sits in the copies' folder, at the size the page gives
      // (640 x 480 fitted into a 465 x 422 cell, rounded).
      std::string copy = Utf8ToAnsi(image.src);
      std::replace(copy.begin(), copy.end(), '/', '\\');
      EXPECT_EQ(0u, copy.rfind("orbct pictures\\", 0));
      EXPECT_EQ("JPEG " + image.width + " " + image.height, Identify(fixture.path + copy));
      EXPECT_EQ("465 349", image.width + " " + image.height);
      // The link names the picture itself.
      std::string href = Utf8ToAnsi(image.href);
      std::replace(href.begin(), href.end(), '/', '\\');
      ASSERT_EQ(0u, href.rfind("file:\\\\\\", 0)) << image.href;
      std::string picture = href.substr(8);
      std::string name = picture.substr(picture.rfind('\\') + 1);
      EXPECT_EQ(0, lstrcmpiA(picture.c_str(), (fixture.path + name).c_str())) << picture;
      ASSERT_EQ(1u, colours.count(name)) << name;
      ++linked[name];
      pageColours.push_back(colours.at(name));
      // The copy holds the picture's colour.
      EXPECT_GT(CountColour(fixture.path + copy, 0, 0, 465, 349, colours.at(name)), 465 * 349 * 9 / 10);
    }
    ASSERT_TRUE(Screenshot(pages[p], shot.path)) << "no screenshot from headless Chromium";
    for (const std::string& rgb : pageColours) {
      EXPECT_GT(CountColour(shot.path, 0, 0, 1000, 1100, rgb), 200 * 200) << "colour " << rgb << " not drawn";
    }
    DeleteFileA(shot.path.c_str());
  }
  EXPECT_EQ(colours.size(), linked.size());
  for (const auto& [name, times] : linked) EXPECT_EQ(1, times) << name;
  CloseBrowser(window, browser);
  HWND player = FindWindowA("ORBPLAY", nullptr);
  if (player != nullptr) PostMessageA(player, WM_CLOSE, 0, 0);
  harness::PumpMessagesFor(500);
  DeleteFileA(receiverLog.c_str());
}

// The album's folder boxes: a cancelled target box writes nothing; a new
// folder typed in it is made and takes the pages (one page of 4 x 5 for
// three pictures, its empty rows still written) with their copies beside
// them, and the player is not asked for when the answer is no; a title box
// left unanswered (cancelled) writes nothing.
TEST(MediaBrowserOverview, AlbumFolderBoxesAndCancelledTitle) {
  ProgramFolder program("overview album boxes");
  Folder fixture("orbmedia album boxes");
  TempFile reader("orbmedia page reader boxes.py");
  WriteFileText(reader.path, kPageReader);
  for (const char* name : {"one.png", "two.jpg", "three.bmp"}) MakePicture(fixture.path + name, 300, 200, "0,0,255");
  const std::string target = fixture.path + "new pages\\";
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + fixture.path + "|*.jpg;*.bmp;*.png| 0|-1| 0");
  harness::Process browser;
  // The new folder's path (a final backslash before ";" would escape it), the
  // title, "no" to the player; then nothing.
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", fixture.path + "new pages;Trip;2"}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 3; }, 10000));
  SelectAll(window, list);

  PostMessageA(window, WM_COMMAND, 901, 0);
  AnswerTargetBox(4);
  harness::PumpMessagesFor(500);
  EXPECT_FALSE(Exists(fixture.path + "ORBCT000.htm"));
  EXPECT_FALSE(Exists(fixture.path + "orbct pictures"));

  PostMessageA(window, WM_COMMAND, 901, 0);
  AnswerTargetBox(3);
  const std::string page = target + "ORBCT000.htm";
  ASSERT_TRUE(harness::PumpUntil(
      [&] { return Exists(page) && ReadFileText(page).find("</html>") != std::string::npos; }, kRunMs));
  PageFacts facts = ReadPage(reader.path, page);
  EXPECT_TRUE(facts.faults.empty()) << facts.faults.front();
  EXPECT_EQ("Trip page 1/1", facts.heading);
  ASSERT_EQ(3u, facts.images.size());
  for (const PageImage& image : facts.images) {
    std::string copy = image.src;
    std::replace(copy.begin(), copy.end(), '/', '\\');
    EXPECT_EQ("JPEG 232 155", Identify(target + copy)) << image.src;
  }
  // Five rows, the last four without cells.
  std::string text = ReadFileText(page);
  size_t rows = 0;
  for (size_t at = text.find("<tr "); at != std::string::npos; at = text.find("<tr ", at + 1)) ++rows;
  EXPECT_EQ(5u, rows);
  EXPECT_EQ(nullptr, FindWindowA("ORBPLAY", nullptr));
  EXPECT_FALSE(Exists(fixture.path + "ORBCT000.htm"));

  // The box now starts in the new folder; the title box is cancelled.
  const std::string written = ReadFileText(page);
  DeleteFileA((target + "orbct pictures\\one.jpg").c_str());
  PostMessageA(window, WM_COMMAND, 901, 0);
  AnswerTargetBox(2);
  harness::PumpMessagesFor(1500);
  EXPECT_EQ(written, ReadFileText(page));
  EXPECT_FALSE(Exists(target + "orbct pictures\\one.jpg"));
  EXPECT_FALSE(Exists(fixture.path + "ORBCT000.htm"));
  CloseBrowser(window, browser);
}

// Contact sheets of seven pictures that fill their cells: one 960 x 1335
// sheet (on a 1024-pixel screen) with the pictures in frames, a white halo
// around each black caption, thirteen empty frames and the footer at the
// right; the next sheets take the next free names; 1401 fills every cell
// with the first selected picture, 1400 draws neither captions nor footer.
TEST(MediaBrowserOverview, ContactSheetsShowPicturesFramesAndHalo) {
  ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the expected sizes are for a 1024-pixel screen";
  ProgramFolder program("overview sheets");
  Folder fixture("orbmedia sheets");
  const std::vector<std::pair<std::string, std::string>> pictures = {
      {"p1.png", "200,0,0"}, {"p2.png", "0,0,200"}, {"p3.png", "0,150,0"}, {"p4.png", "200,200,0"},
      {"p5.png", "150,0,150"}, {"p6.png", "0,150,150"}, {"p7.png", "200,100,0"}};
  for (const auto& [name, rgb] : pictures) MakePicture(fixture.path + name, 464, 506, rgb);
  WriteFileText(SettingsPath(), " 40| 30| 760| 520|" + fixture.path + "|*.png;*.bmp| 0|-1| 0");
  harness::Process browser;
  HWND window = StartBrowser(program, &browser, "", {{"ORB_ANSWERS", ""}});
  ASSERT_NE(window, nullptr);
  HWND list = ChildWindow(window, kFileListId);
  ASSERT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(list).size() == 7; }, 10000));

  constexpr int kCellWidth = 232, kCellHeight = 253, kGridHeight = 1315;
  auto cellX = [](int index) { return 1 + (index % 4) * (kCellWidth + 10); };
  auto cellY = [](int index) { return 1 + (index / 4) * (kCellHeight + 12); };
  const std::string white = "255,255,255", black = "0,0,0";

  PostMessageA(window, WM_COMMAND, kCaptionOption, 0);
  SelectAll(window, list);
  PostMessageA(window, WM_COMMAND, kSheet4x5, 0);
  const std::string first = fixture.path + "ORBCT000.bmp";
  ASSERT_TRUE(harness::PumpUntil([&] { return Exists(first) && Identify(first) == "BMP 960 1335"; }, kRunMs));
  for (int index = 0; index < 20; ++index) {
    SCOPED_TRACE(index);
    const int x = cellX(index), y = cellY(index);
    const std::string& fill = index < 7 ? pictures[index].second : white;
    // The cell's middle shows its picture (white when empty), its frame
    // is black on both sides.
    EXPECT_EQ(30 * 30, CountColour(first, x + 100, y + 100, 30, 30, fill));
    EXPECT_EQ(40, CountColour(first, x, y + 100, 1, 40, black));
    EXPECT_EQ(40, CountColour(first, x + kCellWidth - 1, y + 100, 1, 40, black));
    EXPECT_EQ(40, CountColour(first, x + 100, y, 40, 1, black));
    if (index < 7) {
      // The caption band holds black text with a white halo on the picture.
      EXPECT_GT(CountColour(first, x + 5, y + kCellHeight - 21, kCellWidth - 10, 19, black), 10);
      EXPECT_GT(CountColour(first, x + 5, y + kCellHeight - 21, kCellWidth - 10, 19, white), 10);
    }
  }
  // The footer at the right of the strip below the grid, nothing at its left.
  EXPECT_GT(CountColour(first, 480, kGridHeight + 3, 479, 18, black), 20);
  EXPECT_EQ(0, CountColour(first, 0, kGridHeight + 3, 300, 18, black));
  EXPECT_TRUE(harness::PumpUntil(
      [&] {
        std::vector<std::string> items = ListBoxTexts(list);
        return std::find(items.begin(), items.end(), " orbct000.bmp") != items.end();
      },
      5000));

  // 1401: every cell shows the first selected picture, under the next name.
  const std::string before = ReadFileText(first);
  SelectOnly(window, list, {" p3.png", " p5.png"});
  PostMessageA(window, WM_COMMAND, kOneSheetOfFirst, 0);
  const std::string second = fixture.path + "ORBCT001.bmp";
  ASSERT_TRUE(harness::PumpUntil([&] { return Exists(second) && Identify(second) == "BMP 960 1335"; }, kRunMs));
  for (int index = 0; index < 20; ++index) {
    EXPECT_EQ(30 * 30, CountColour(second, cellX(index) + 100, cellY(index) + 100, 30, 30, pictures[2].second))
        << index;
  }
  EXPECT_EQ(before, ReadFileText(first)) << "an existing sheet was written over";

  // 1400: the first pictures, no caption, no footer.
  SelectOnly(window, list, {" p1.png", " p2.png", " p3.png", " p4.png", " p5.png", " p6.png", " p7.png"});
  PostMessageA(window, WM_COMMAND, kOneSheet, 0);
  const std::string third = fixture.path + "ORBCT002.bmp";
  ASSERT_TRUE(harness::PumpUntil([&] { return Exists(third) && Identify(third) == "BMP 960 1335"; }, kRunMs));
  EXPECT_EQ(30 * 30, CountColour(third, cellX(0) + 100, cellY(0) + 100, 30, 30, pictures[0].second));
  EXPECT_EQ(0, CountColour(third, cellX(0) + 5, cellY(0) + kCellHeight - 21, kCellWidth - 10, 19, white));
  EXPECT_EQ(0, CountColour(third, 0, kGridHeight + 3, 959, 18, black));
  CloseBrowser(window, browser);
}

}  // namespace
