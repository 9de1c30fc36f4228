// The batch picture work's portable rules: resize sizes, how a changed
// picture is saved, conversion settings and names, what a conversion does
// when its target is taken, renaming names, and the layouts and values of
// the picture-type and new-size boxes.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/batch_rules.h"
#include "core/picture_boxes.h"

namespace {

using namespace browser;

TEST(BatchRules, ResizedSize) {
  struct Case {
    const char* name;
    PictureSize picture, wanted;
    bool keepAspect;
    bool ok;
    PictureSize expected;
  };
  const Case cases[] = {
      {"keep: the width decides", {1600, 1200}, {800, 800}, true, true, {800, 600}},
      {"free: the wanted size", {1600, 1200}, {800, 800}, false, true, {800, 800}},
      {"keep: the height decides", {1200, 1600}, {800, 800}, true, true, {600, 800}},
      {"keep: enlarging", {200, 100}, {1000, 1000}, true, true, {1000, 500}},
      {"keep: half rounds to even (down)", {4, 5}, {2, 9999}, true, true, {2, 2}},
      {"keep: half rounds to even (up)", {4, 7}, {2, 9999}, true, true, {2, 4}},
      {"keep: below half rounds down", {3, 2}, {2, 9999}, true, true, {2, 1}},
      {"keep: a thin picture keeps one pixel", {10000, 1}, {100, 100}, true, true, {100, 1}},
      {"keep: the height decides, thin width kept at one", {1, 10000}, {100, 100}, true, true, {1, 100}},
      {"a picture with a zero side fails", {0, 100}, {50, 50}, false, false, {0, 0}},
      {"a zero wanted side fails", {100, 100}, {0, 50}, true, false, {0, 0}},
      {"negative sizes fail", {100, -1}, {50, 50}, true, false, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureSize got{-7, -7};
    ASSERT_EQ(c.ok, ResizedSize(c.picture, c.wanted, c.keepAspect, &got));
    if (!c.ok) {
      EXPECT_EQ(-7, got.width) << "a failing call leaves the result alone";
      continue;
    }
    EXPECT_EQ(c.expected.width, got.width);
    EXPECT_EQ(c.expected.height, got.height);
  }
}

TEST(BatchRules, SaveSettingsOverItself) {
  struct Case {
    const char* name;
    std::string path;
    int32_t fileFormat, fileBits;
    bool ok;
    PictureSaveSettings expected;
  };
  const Case cases[] = {
      {"jpg as JPEG 24 bits quality 25", "c:\\p\\a.jpg", 10, 24, true, {10, 24, 25}},
      {"JPEG in capitals", "c:\\p\\A.JPEG", 10, 8, true, {10, 24, 25}},
      {"a PNG named .jpg becomes a JPEG", "c:\\p\\a.jpg", 75, 32, true, {10, 24, 25}},
      {"cmp with quality -1", "c:\\p\\a.cmp", 5, 8, true, {5, 8, -1}},
      {"bmp keeps format and depth", "c:\\p\\a.bmp", 6, 8, true, {6, 8, 0}},
      {"png keeps format and depth", "c:\\p\\a.png", 75, 32, true, {75, 32, 0}},
      {"no extension fails", "c:\\p\\picture", 6, 24, false, {}},
      {"a dot in the folder only fails", "c:\\p.q\\picture", 6, 24, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureSaveSettings got{-1, -1, -1};
    ASSERT_EQ(c.ok, PictureSaveSettingsFor(c.path, c.fileFormat, c.fileBits, &got));
    if (!c.ok) continue;
    EXPECT_EQ(c.expected.format, got.format);
    EXPECT_EQ(c.expected.bitsPerPixel, got.bitsPerPixel);
    EXPECT_EQ(c.expected.quality, got.quality);
  }
}

TEST(BatchRules, PictureTypeChoices) {
  struct Case {
    const char* name;
    std::string value;
    bool ok;
    std::string extension;
    int32_t format;
  };
  const Case cases[] = {
      {"jpeg", "jpg.10", true, "jpg", 10},
      {"blanks around", " png.75 ", true, "png", 75},
      {"a dotted extension keeps its dots", "tar.gz.3", true, "tar.gz", 3},
      {"empty", "", false, "", 0},
      {"no format", "jpg", false, "", 0},
      {"no extension", ".10", false, "", 0},
      {"format not a number", "jpg.x", false, "", 0},
      {"format zero", "jpg.0", false, "", 0},
      {"trailing dot", "jpg.", false, "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PictureTypeChoice got{"unchanged", -1};
    ASSERT_EQ(c.ok, ParsePictureTypeChoice(c.value, &got));
    if (!c.ok) {
      EXPECT_EQ("unchanged", got.extension);
      continue;
    }
    EXPECT_EQ(c.extension, got.extension);
    EXPECT_EQ(c.format, got.format);
  }
}

TEST(BatchRules, ConvertSettingsByFormat) {
  struct Case {
    int32_t format, fileBits;
    ConvertSettings expected;
  };
  const Case cases[] = {
      {10, 8, {24, 5, false}},  {85, 8, {24, 0, false}},  {80, 32, {24, 0, false}},
      {5, 8, {24, -1, false}},  {16, 24, {8, 0, false}},  {92, 24, {24, 0, true}},
      {91, 8, {8, 0, true}},    {75, 32, {32, 0, false}}, {6, 8, {8, 0, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    ConvertSettings got = ConvertSettingsFor(c.format, c.fileBits);
    EXPECT_EQ(c.expected.bitsPerPixel, got.bitsPerPixel);
    EXPECT_EQ(c.expected.quality, got.quality);
    EXPECT_EQ(c.expected.fitIntoIcon, got.fitIntoIcon);
  }
}

TEST(BatchRules, ConvertedNamesAndTakenTargets) {
  struct NameCase {
    std::string name, extension, expected;
  };
  const NameCase names[] = {
      {"a.bmp", "jpg", "a.jpg"},
      {"my.trip.png", "jpg", "my.trip.jpg"},
      {"noext", "png", "noext.png"},
      {".hidden", "png", ".hidden.png"},
  };
  for (const NameCase& c : names) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ConvertedName(c.name, c.extension));
  }

  struct DecisionCase {
    const char* name;
    std::string source, target;
    bool targetExists;
    ConvertAction expected;
  };
  const DecisionCase decisions[] = {
      {"a free target", "c:\\p\\a.bmp", "c:\\p\\a.jpg", false, ConvertAction::kConvert},
      {"the source itself, other case", "c:\\p\\A.JPG", "c:\\p\\a.jpg", true, ConvertAction::kSkipSame},
      {"a GIF converted to GIF is the same file", "c:\\p\\a.gif", "c:\\p\\a.gif", true, ConvertAction::kSkipSame},
      {"another picture holds the name", "c:\\p\\a.bmp", "c:\\p\\a.jpg", true, ConvertAction::kSkipTargetTaken},
  };
  for (const DecisionCase& c : decisions) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, DecideConversion(c.source, c.target, c.targetExists));
  }
}

TEST(BatchRules, RenameBaseNames) {
  struct Case {
    std::string typed, expected;
  };
  const Case cases[] = {
      {"holiday", "holiday"},
      {"my.trip", "my trip"},
      {"a/b\\c", "a-b-c"},
      {"x:y;z,w", "x y z w"},
      {"  spaced  ", "spaced"},
      {"...", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(c.expected, RenameBaseName(c.typed));
  }
}

TEST(BatchRules, NextFreeStemProbesTheSequence) {
  // A sequence "a" -> "a.1" -> "a.2" ...
  auto next = [](const std::string& stem) {
    size_t dot = stem.find('.');
    int n = dot == std::string::npos ? 0 : std::stoi(stem.substr(dot + 1));
    return stem.substr(0, dot) + "." + std::to_string(n + 1);
  };
  std::set<std::string> taken = {"a.1", "a.2"};
  auto isFree = [&taken](const std::string& stem) { return taken.count(stem) == 0; };
  EXPECT_EQ("a.3", NextFreeStem("a", next, isFree));
  EXPECT_EQ("a.3", NextFreeStem("a.1", next, isFree));
  EXPECT_EQ("b.1", NextFreeStem("b", next, isFree));
  // Every name taken within the limit: none, after exactly the limit.
  int asked = 0;
  auto never = [&asked](const std::string&) {
    ++asked;
    return false;
  };
  EXPECT_EQ("", NextFreeStem("a", next, never, 9999));
  EXPECT_EQ(9999, asked);
  // A sequence that stops giving new names ends the search.
  auto stuck = [](const std::string& stem) { return stem; };
  EXPECT_EQ("", NextFreeStem("a", stuck, isFree));
}

TEST(PictureBoxes, ComboBoxLayout) {
  // Two narrow buttons: the box keeps its smallest width, buttons centred.
  ComboBoxLayout narrow = LayoutComboBox(40, 4, 14, 2);
  EXPECT_EQ(330, narrow.innerWidth);
  EXPECT_EQ(227, narrow.innerHeight);
  ASSERT_EQ(2u, narrow.buttons.size());
  EXPECT_EQ(54, narrow.buttons[0].width);   // 2 x 4 + 40 + 6
  EXPECT_EQ(20, narrow.buttons[0].height);  // 14 + 6
  EXPECT_EQ((330 - 112) / 2, narrow.buttons[0].x);
  EXPECT_EQ(narrow.buttons[0].x + 58, narrow.buttons[1].x);
  EXPECT_EQ(203, narrow.buttons[1].y);
  EXPECT_EQ(322, narrow.combo.width);
  EXPECT_EQ(194, narrow.combo.height);
  // Wide buttons widen the box; the row then starts at its edge.
  ComboBoxLayout wide = LayoutComboBox(150, 4, 14, 3);
  EXPECT_EQ(3 * 164 + 8, wide.innerWidth);
  EXPECT_EQ(0, wide.buttons[0].x);
  EXPECT_EQ(wide.innerWidth, wide.buttons[2].x + wide.buttons[2].width);
}

TEST(PictureBoxes, PictureTypeList) {
  std::vector<PictureTypeEntry> entries =
      ParsePictureTypeList("JPEG picture - jpg|jpg.10|Windows bitmap - bmp|bmp.6|Odd one");
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("JPEG picture - jpg", entries[0].display);
  EXPECT_EQ("jpg.10", entries[0].value);
  EXPECT_EQ("bmp.6", entries[1].value);
  EXPECT_EQ("Odd one", entries[2].display);
  EXPECT_EQ("", entries[2].value);
  EXPECT_TRUE(ParsePictureTypeList("").empty());
  EXPECT_EQ("JPG", PictureTypeLine("JPEG picture - jpg"));
  EXPECT_EQ("PLAIN", PictureTypeLine("plain"));
}

TEST(PictureBoxes, NewSizeLayoutAndFields) {
  NewSizeLayout layout = LayoutNewSizeBox(60, 2);  // bw = 100
  EXPECT_EQ(215, layout.innerWidth);
  EXPECT_EQ(138, layout.innerHeight);
  ASSERT_EQ(2u, layout.buttons.size());
  EXPECT_EQ(110, layout.buttons[0].x);
  EXPECT_EQ(5, layout.buttons[0].y);
  EXPECT_EQ(30, layout.buttons[1].y);
  EXPECT_EQ(62, layout.checkBox.y);
  EXPECT_EQ(200, layout.checkBox.width);
  EXPECT_EQ(39, layout.icon.x);
  EXPECT_EQ(94, layout.widthLabel.y);
  EXPECT_EQ(112, layout.heightLabel.x);
  EXPECT_EQ(111, layout.widthField.y);
  EXPECT_EQ(110, layout.heightField.x);
  // Every control inside the box.
  for (const BoxRect& r : {layout.checkBox, layout.widthField, layout.heightField, layout.buttons[1]}) {
    EXPECT_LE(r.x + r.width, layout.innerWidth);
    EXPECT_LE(r.y + r.height, layout.innerHeight);
  }

  struct Case {
    std::string text;
    int32_t expected;
  };
  const Case fields[] = {{"800", 800}, {" 640px", 640}, {"", 1}, {"0", 1}, {"-5", 1}, {"99999", 9999}, {"abc", 1}};
  for (const Case& c : fields) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.expected, NewSizeFieldValue(c.text));
  }
}

}  // namespace
