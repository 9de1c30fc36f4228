// The burner's portable rules: the disc figures (rounding half to even, an
// empty or tiny disc, an audio CD), the image-size check and its texts, the
// capacity bar's geometry, the companion-file rule, the list texts, moving
// lines, the device and medium names, and the progress decision.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/burn_list.h"
#include "core/burner_names.h"
#include "core/disc_figures.h"

namespace burner {
namespace {

TEST(DiscFigures, DivisionRoundsHalvesToEven) {
  struct Case {
    int64_t numerator, denominator, expected;
  } cases[] = {
      {256, 512, 0},  {768, 512, 2},   {1280, 512, 2}, {257, 512, 1}, {255, 512, 0},   {511, 512, 1},
      {5, 2, 2},      {7, 2, 4},       {-5, 2, -2},    {-7, 2, -4},   {-3, 4, -1},     {0, 512, 0},
      {10, 0, 0},     {5, -2, -2},     {1, 3, 0},      {2, 3, 1},     {359844, 512, 703},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DivideRoundHalfEven(c.numerator, c.denominator), c.expected) << c.numerator << "/" << c.denominator;
  }
}

TEST(DiscFigures, TotalFreeAndUsedShare) {
  struct Case {
    const char* medium;
    int64_t total, free;
    int64_t totalMiB, freeMiB;
    int32_t used;
  } cases[] = {
      // A blank 700 MiB CD-R.
      {"cdr", 359844, 359844, 703, 703, 0},
      // Half used: 512 MiB disc, 256 MiB free.
      {"dvdrw", 262144, 131072, 512, 256, 50},
      // Closed disc: nothing free.
      {"cdrom", 333000, 0, 650, 0, 100},
      // An audio CD and a medium of 0 sectors are 0 MiB, all used.
      {"cdaudio", 333000, 0, 0, 0, 100},
      {"cdr", 0, 0, 0, 0, 100},
      // Halves round to even: 2.5 MiB total is 2, 1.5 MiB free is 2.
      {"cdr", 1280, 768, 2, 2, 0},
      // 3.5 MiB total is 4; 0.5 MiB free is 0: all used.
      {"cdr", 1792, 256, 4, 0, 100},
      // Less than half a MiB (0 MiB): the share comes from the sectors
      // rather than from a division by 0.
      {"cdr", 200, 50, 0, 0, 75},
      {"cdr", 1, 1, 0, 0, 0},
      // More free than total (a drive's odd answer) is 0 % used.
      {"cdr", 1024, 2048, 2, 4, 0},
      // 1/3 used: 33.33 % rounds to 33.
      {"cdr", 1536, 1024, 3, 2, 33},
  };
  for (const Case& c : cases) {
    DiscFigures figures = ComputeDiscFigures(c.medium, c.total, c.free);
    EXPECT_EQ(figures.totalMiB, c.totalMiB) << c.medium << " " << c.total;
    EXPECT_EQ(figures.freeMiB, c.freeMiB) << c.medium << " " << c.total;
    EXPECT_EQ(figures.usedPercent, c.used) << c.medium << " " << c.total;
  }
}

TEST(DiscFigures, CapacityTextHasTheBlankOfStr) {
  EXPECT_EQ(CapacityText(703, " MB"), " 703 MB");
  EXPECT_EQ(CapacityText(0, " MB"), " 0 MB");
  EXPECT_EQ(Str(-3), "-3");
}

TEST(ImageSize, CheckAndSummary) {
  struct Case {
    int64_t image, free, total;
    int64_t over, freeMiB, imageMiB, result;
    int32_t used, imagePercent;
  } cases[] = {
      // An empty project's 160 sectors are 0 MiB: nothing to burn.
      {160, 359844, 359844, 0, 703, 0, -1, 0, 0},
      // Fits.
      {51200, 359844, 359844, 0, 703, 100, 0, 0, 14},
      // Exactly the free space fits.
      {102400, 102400, 204800, 0, 200, 200, 0, 50, 50},
      // 10 MiB too large; 52.5 % of the disc rounds to 52.
      {107520, 102400, 204800, 10, 200, 210, 10, 50, 52},
      // Larger by less than half a MiB: over rounds to 0 (fits in MiB).
      {102600, 102400, 204800, 0, 200, 200, 0, 50, 50},
      // No medium: total 0 is all used, the image has no share.
      {51200, 0, 0, 100, 0, 100, 100, 100, 0},
  };
  for (const Case& c : cases) {
    ImageSizeCheck check = CheckImageSize(c.image, c.free, c.total);
    EXPECT_EQ(check.overMiB, c.over) << c.image;
    EXPECT_EQ(check.freeMiB, c.freeMiB) << c.image;
    EXPECT_EQ(check.imageMiB, c.imageMiB) << c.image;
    EXPECT_EQ(check.result, c.result) << c.image;
    EXPECT_EQ(check.usedPercent, c.used) << c.image;
    EXPECT_EQ(check.imagePercent, c.imagePercent) << c.image;
  }
  // The longest marks are replaced first.
  ImageSizeCheck check = CheckImageSize(107520, 102400, 204800);
  EXPECT_EQ(ImageSizeSummary("Over ### Free ## List # (###/##/#)", check), "Over 10 Free 200 List 210 (10/200/210)");
  EXPECT_EQ(TooLargeText("Too big.| Needs @, has #.", 107520, 102400), "Too big.\r Needs 107520, has 102400.");
}

TEST(CapacityBar, BandsAndScale) {
  // 302 pixels wide (the bar's 300 + 2), 14 high: u = 3.
  BarPicture picture = CapacityBarPicture(302, 14, 40, 25);
  EXPECT_EQ(picture.top, 3);
  EXPECT_EQ(picture.height, 8);
  ASSERT_EQ(picture.bands.size(), 3u);
  EXPECT_EQ(picture.bands[0].x, 0);
  EXPECT_EQ(picture.bands[0].width, 120);
  EXPECT_EQ(picture.bands[0].rgb, 0xFF0000u);
  EXPECT_EQ(picture.bands[1].x, 120);
  EXPECT_EQ(picture.bands[1].width, 182);
  EXPECT_EQ(picture.bands[1].rgb, 0x00FF00u);
  EXPECT_EQ(picture.bands[2].x, 120);
  EXPECT_EQ(picture.bands[2].width, 75);
  EXPECT_EQ(picture.bands[2].rgb, 0xFFFF00u);
  ASSERT_EQ(picture.scale.size(), 110u);
  EXPECT_EQ(picture.scale[0].x, 0);
  EXPECT_EQ(picture.scale[0].top, 7);
  EXPECT_EQ(picture.scale[1].x, 3);
  EXPECT_EQ(picture.scale[1].top, 10);  // 14 x 0.75 = 10.5, to even
  EXPECT_EQ(picture.scale[10].top, 7);
  EXPECT_EQ(picture.scale[109].x, 327);
  // No image band at 0 %; no scale when a percent is a pixel or less.
  BarPicture narrow = CapacityBarPicture(150, 10, 100, 0);
  ASSERT_EQ(narrow.bands.size(), 2u);
  EXPECT_EQ(narrow.bands[0].width, 100);
  EXPECT_EQ(narrow.bands[1].width, 50);
  EXPECT_TRUE(narrow.scale.empty());
  // Out-of-range shares are kept within the bar.
  BarPicture over = CapacityBarPicture(302, 14, 250, -5);
  EXPECT_EQ(over.bands[0].width, 300);
  EXPECT_EQ(over.bands.size(), 2u);
}

TEST(BurnList, CompanionFiles) {
  const std::set<std::string> existing = {"C:\\Pics\\beach.kwd", "C:\\Pics\\beach.wav", "C:\\Pics\\beach.jpg",
                                          "C:\\my.pics\\sea.kwd", "C:\\Pics\\song.kwd", "C:\\Pics\\noext.kwd"};
  auto exists = [&](const std::string& path) { return existing.count(path) > 0; };
  const std::string suffixes = ".kwd,.tim,.wav,.jpg";
  const std::string patterns = "*.jpg;*.jpeg;*.PNG";
  struct Case {
    const char* path;
    std::vector<std::string> expected;
  } cases[] = {
      // A picture brings the side files that exist, in the table's order,
      // never itself.
      {"C:\\Pics\\beach.jpg", {"C:\\Pics\\beach.kwd", "C:\\Pics\\beach.wav"}},
      // The extension's case does not matter, nor does the pattern's.
      {"C:\\Pics\\BEACH.JPG", {}},
      {"C:\\my.pics\\sea.png", {"C:\\my.pics\\sea.kwd"}},
      // Not a picture: no companions.
      {"C:\\Pics\\song.mp3", {}},
      // No extension (the dot of a folder is none).
      {"C:\\Pics\\noext", {}},
      {"C:\\my.pics\\noext", {}},
      // ".jp" is not ".jpg" (the pattern ends at ";").
      {"C:\\Pics\\beach.jp", {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompanionFiles(c.path, suffixes, patterns, exists), c.expected) << c.path;
  }
}

TEST(BurnList, ItemListsCommandLinesAndDrops) {
  EXPECT_EQ(ItemListLines("|C:\\a.jpg||@path@demo\\b.avi|", "C:\\Orb Suite\\"),
            (std::vector<std::string>{"C:\\a.jpg", "c:\\orb suite\\demo\\b.avi"}));
  EXPECT_TRUE(ItemListLines("|||", "C:\\").empty());
  EXPECT_TRUE(ItemListLines("", "C:\\").empty());

  struct Argument {
    const char* commandLine;
    const char* expected;
  } arguments[] = {
      {" C:\\Lists\\Holiday.UPL ", "c:\\lists\\holiday.upl"},
      {"\"C:\\My Lists\\a.upl\"", "c:\\my lists\\a.upl"},
      {"C:\\Pics\\beach.jpg", ""},
      {".upl", ""},
      {"", ""},
  };
  for (const Argument& a : arguments) EXPECT_EQ(ListFileArgument(a.commandLine), a.expected) << a.commandLine;

  EXPECT_EQ(DroppedLine("C:\\Photos.2004", true), "C:\\Photos.2004\\*.*");
  EXPECT_EQ(DroppedLine("C:\\john.doe\\Music\\", true), "C:\\john.doe\\Music\\*.*");
  EXPECT_EQ(DroppedLine("C:\\john.doe\\readme", false), "C:\\john.doe\\readme");

  ProjectEntry folder = ProjectEntryOf("C:\\Photos.2004\\*.*");
  EXPECT_TRUE(folder.isFolder);
  EXPECT_EQ(folder.source, "C:\\Photos.2004");
  EXPECT_EQ(folder.mask, "*.*");
  ProjectEntry file = ProjectEntryOf("C:\\a b\\c.jpg");
  EXPECT_FALSE(file.isFolder);
  EXPECT_EQ(file.source, "C:\\a b\\c.jpg");

  EXPECT_EQ(StatusLines("one|two||three"), "one\r\ntwo\r\n\r\nthree");
  EXPECT_EQ(WithNumber("failed (error #)", 1234), "failed (error 1234)");
}

TEST(BurnList, NameClashesInTheRoot) {
  EXPECT_EQ(FirstNameClash({"a.txt", "sub\\b.txt", "B.TXT", "Sub\\B.txt"}), "Sub\\B.txt");
  EXPECT_EQ(FirstNameClash({"a.txt", "b.txt", "sub\\a.txt"}), "");
  EXPECT_EQ(FirstNameClash({}), "");
}

TEST(BurnList, MovingSelectedLinesStopsAtTheEnds) {
  struct Case {
    std::vector<bool> selected;
    bool up;
    std::string expected;  // the lines' letters after the move
    std::vector<bool> selectedAfter;
    bool moved;
  } cases[] = {
      {{false, true, false, true}, true, "badc", {true, false, true, false}, true},
      {{false, true, false, true}, false, "acbd", {false, false, true, true}, true},
      // A block at the top stays; so do lines right behind it.
      {{true, true, false, true}, true, "abdc", {true, true, true, false}, true},
      {{true, true, false, false}, true, "abcd", {true, true, false, false}, false},
      {{false, false, true, true}, false, "abcd", {false, false, true, true}, false},
      {{true, false, false, false}, false, "bacd", {false, true, false, false}, true},
      {{false, false, false, false}, true, "abcd", {false, false, false, false}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = {"a", "b", "c", "d"};
    std::vector<bool> selected = c.selected;
    EXPECT_EQ(MoveSelected(lines, selected, c.up), c.moved);
    std::string letters;
    for (const std::string& line : lines) letters += line;
    EXPECT_EQ(letters, c.expected);
    EXPECT_EQ(selected, c.selectedAfter);
  }
  std::vector<std::string> one = {"a"};
  std::vector<bool> mismatched = {true, true};
  EXPECT_FALSE(MoveSelected(one, mismatched, true));
}

TEST(BurnerNames, DeviceLinesAndMedia) {
  struct Line {
    const char* name;
    const char* expected;
  } lines[] = {
      {"  0:0:0,R:   ORB      SOFT DVD WRITER  1.00  ", "R: ORB SOFT DVD WRITER 1.00"},
      {"1:0:0,E: VENDOR PRODUCT,X 2.0", "E: VENDOR PRODUCT,X 2.0"},
      {"no comma  here", "no comma here"},
      {"", ""},
  };
  for (const Line& l : lines) EXPECT_EQ(DeviceDisplayName(l.name), l.expected) << l.name;
  EXPECT_EQ(DeviceDisplayName(nullptr), "");
  EXPECT_EQ(DriveLetterOf("r: ORB"), 'R');
  EXPECT_EQ(DriveLetterOf("0:0"), '\0');

  const char* names[] = {"unknown", "cdrom", "cdr",   "cdrw",  "dvdrom", "dvdr", "dvdram", "dvdrw",
                         "dvdrw",   "dvdrw", "dvdrw", "dvdr",  "cdrom",  "cdr",  "cdrw"};
  for (int type = 0; type <= 14; ++type) EXPECT_EQ(MediumBitmapName(type + 1, ""), names[type]) << type;
  EXPECT_EQ(MediumBitmapName(2, "audio cd"), "cdaudio");
  EXPECT_EQ(MediumBitmapName(3, "AUDIO CD"), "cdr");
  EXPECT_EQ(MediumBitmapName(0, ""), "unknown");
  EXPECT_EQ(MediumBitmapName(16, ""), "unknown");
  EXPECT_EQ(MediumBitmapName(-5, ""), "unknown");
}

std::string Plain(int64_t n) { return std::to_string(n); }

TEST(BurnerNames, ProgressDecisions) {
  const ProgressTexts texts{"Writing # %", "Closing", "wait", "Erasing ", "Ready", "Finishing "};
  struct Case {
    int64_t written, image, buffer;
    int32_t state;
    bool blink;
    int32_t kept;
    std::string status;
    bool setBar;
    int32_t keptAfter;
    bool showMiB, blinked;
  } cases[] = {
      {100, 1000, 5, 1, false, 0, "Writing 10 %", true, 10, true, false},
      {125, 1000, 5, 1, false, 10, "Writing 12 %", true, 12, true, false},  // 12.5 to even
      {0, 1000, 0, 2, false, 0, "Erasing wait", false, 0, false, true},
      {0, 1000, 0, 2, true, 0, "Erasing WAIT", false, 0, false, true},
      {1000, 1000, 7, 1, false, 98, "Closing", true, 100, true, false},
      {1000, 1000, 7, 1, false, 100, "Closing", false, 100, true, false},
      {1000, 1000, 0, 2, false, 100, "Erasing wait", false, 100, false, true},
      {1000, 1000, 0, 0, false, 100, "Ready", false, 100, false, false},
      {1000, 1000, 0, 4, true, 100, "Finishing WAIT", false, 100, false, true},
      // No image yet: 0 %, not a division by 0.
      {5, 0, 0, 5, false, 0, "Writing 0 %", true, 0, true, false},
  };
  for (const Case& c : cases) {
    ProgressInput input{c.written, c.image, c.buffer, c.state, c.blink, c.kept};
    ProgressStep step = DecideProgress(input, texts);
    EXPECT_EQ(step.status, c.status) << c.written << "/" << c.image << " state " << c.state;
    EXPECT_EQ(step.setBar, c.setBar) << c.status;
    EXPECT_EQ(step.keptPercent, c.keptAfter) << c.status;
    EXPECT_EQ(step.showMiB, c.showMiB) << c.status;
    EXPECT_EQ(step.blinked, c.blinked) << c.status;
  }
  EXPECT_EQ(MiBText(1280, 51200, " MB", Plain), "2/100 MB");
}

}  // namespace
}  // namespace burner
