// The media browser's settings line and favourites file as read from disk:
// which lines count as damaged, the saved window moved into the work area,
// and the favourites file's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/config_file.h"

namespace {

TEST(SettingsLine, DamagedLinesAreNotRead) {
  struct Case {
    const char* name;
    std::string line;
    bool readable;
  };
  const Case cases[] = {
      {"as written", " 40| 30| 760| 520|C:\\Media\\|*.*| 0|-1| 0", true},
      {"negative placement", "-5| 10| 100| 100|||0|0|0", true},
      {"four fields only", " 1| 2| 3| 4", true},
      {"hand-edited, no blanks", "10|20|700|500|c:\\x\\|*.jpg|-1|0|0", true},
      {"trailing blanks", " 10 | 20 | 700 | 500 ", true},
      {"saved by an editor (CR LF)", " 40| 30| 760| 520|C:\\Media\\|*.*| 0|-1| 0\r\n", true},
      {"saved by an editor (LF)", " 1| 2| 3| 4\n", true},
      {"two line ends", " 1| 2| 3| 4\r\n\r\n", false},
      {"a second line", " 1| 2| 3| 4\r\n 5| 6| 7| 8", false},
      {"empty", "", false},
      {"three fields", " 1| 2| 3", false},
      {"ten fields", " 1| 2| 3| 4|a|b| 0| 0| 0| 0", false},
      {"word for a number", " 40|top| 760| 520|||0|0|0", false},
      {"sign only", " 40| -| 760| 520", false},
      {"number then text", " 40| 30x| 760| 520", false},
      {"line end inside", " 40| 30| 760| 520|C:\\\r\n|*.*| 0| 0| 0", false},
      {"zero byte", std::string(" 40| 30\0| 760| 520", sizeof(" 40| 30\0| 760| 520") - 1), false},
      {"binary junk", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(browser::IsReadableSettingsLine(c.line), c.readable);
  }
}

TEST(SettingsLine, SavedWindowIsMovedIntoTheWorkArea) {
  struct Case {
    const char* name;
    browser::WorkArea area;
    int32_t left, top, width, height;        // as read
    int32_t wantLeft, wantTop, wantWidth, wantHeight;
  };
  const browser::WorkArea screen{0, 0, 1024, 738};
  const Case cases[] = {
      {"inside stays", screen, 40, 30, 760, 520, 40, 30, 760, 520},
      {"saved on a larger screen", screen, 1500, 900, 760, 520, 264, 218, 760, 520},
      {"hangs over the right edge", screen, 600, 10, 600, 400, 424, 10, 600, 400},
      {"larger than the screen", screen, 100, 100, 1600, 1200, 0, 0, 1024, 738},
      {"exactly the screen", screen, 0, 0, 1024, 738, 0, 0, 1024, 738},
      {"work area beside a task bar", {60, 0, 964, 768}, 0, 0, 400, 300, 60, 0, 400, 300},
      {"second monitor on the left", {-1280, 0, 1280, 1000}, -1500, 50, 600, 400, -1280, 50, 600, 400},
      {"minimum wins over a tiny screen", {0, 0, 100, 80}, 50, 50, 400, 300, 0, 0, 320, 200},
      {"no work area known", {0, 0, 0, 0}, 5000, 5000, 760, 520, 5000, 5000, 760, 520},
      {"far-off values do not overflow", screen, 2147483000, 2147483000, 2147483000, 2147483000, 0, 0,
       1024, 738},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::BrowserSettings s;
    s.left = c.left;
    s.top = c.top;
    s.width = c.width;
    s.height = c.height;
    browser::KeepInsideWorkArea(&s, c.area, 320, 200);
    EXPECT_EQ(s.left, c.wantLeft);
    EXPECT_EQ(s.top, c.wantTop);
    EXPECT_EQ(s.width, c.wantWidth);
    EXPECT_EQ(s.height, c.wantHeight);
  }
}

// The line end an editor leaves after the line is no part of the last field.
TEST(SettingsLine, LineEndIsNotRead) {
  browser::BrowserSettings s = browser::ParseSettingsLine(" 40| 30| 760| 520|C:\\Media\\|*.jpg\r\n", 320, 200);
  EXPECT_EQ(s.width, 760);
  EXPECT_EQ(s.folder, "C:\\Media\\");
  EXPECT_EQ(s.pattern, "*.jpg");
}

// A line of the edge case: the placement raised to its limits first, then
// kept on the screen.
TEST(SettingsLine, ReadThenKeptOnTheScreen) {
  browser::BrowserSettings s = browser::ParseSettingsLine("-5| 10| 100| 100|||0|0|0", 320, 200);
  browser::KeepInsideWorkArea(&s, browser::WorkArea{0, 0, 1024, 738}, 320, 200);
  EXPECT_EQ(s.left, 0);
  EXPECT_EQ(s.top, 10);
  EXPECT_EQ(s.width, 320);
  EXPECT_EQ(s.height, 200);
}

TEST(Favourites, LinesOfTheFile) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::string longPath = "C:\\" + std::string(256, 'a');  // 259 bytes: the longest path
  const Case cases[] = {
      {"as written", "C:\\a\r\nD:\\b\\\r\n", {"C:\\a", "D:\\b\\"}},
      {"no final line end", "C:\\a\r\nD:\\b", {"C:\\a", "D:\\b"}},
      {"other line ends", "C:\\a\nD:\\b\rE:\\c", {"C:\\a", "D:\\b", "E:\\c"}},
      {"blanks are the caller's", "  C:\\a  \r\n\r\n", {"  C:\\a  ", ""}},
      {"the longest path", longPath + "\r\n", {longPath}},
      {"longer than a path", longPath + "b\r\nC:\\x\r\n", {"C:\\x"}},
      {"zero byte", std::string("C:\\a\0b\r\nC:\\y\r\n", sizeof("C:\\a\0b\r\nC:\\y\r\n") - 1), {"C:\\y"}},
      {"byte-order mark of an editor", "\xEF\xBB\xBF" "C:\\a\r\n", {"C:\\a"}},
      {"empty file", "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(browser::ReadFavouriteLines(c.bytes), c.lines);
  }
}

// What was written is what is read.
TEST(Favourites, RoundTrip) {
  std::vector<std::string> folders = {" c:\\media", " d:\\pictures\\holiday", " c:\\orb suite\\picture"};
  std::vector<std::string> lines = browser::ReadFavouriteLines(browser::FormatFavourites(folders));
  EXPECT_EQ(lines, (std::vector<std::string>{"c:\\media", "d:\\pictures\\holiday", "c:\\orb suite\\picture"}));
}

}  // namespace
