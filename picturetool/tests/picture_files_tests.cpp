// The picture tool's file and canvas rules: extensions and the save table,
// the "*" of a Save As target, keyword files, caption texts, list edits,
// paging, the memory rule, scrolling, red-eye strokes, selections, panning
// and the print layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/canvas_rules.h"
#include "core/picture_files.h"

namespace paint {
namespace {

TEST(PictureFiles, ExtensionsComeFromTheFileNameOnly) {
  const struct {
    const char* path;
    const char* extension;
    int32_t format;
  } cases[] = {
      {"C:\\pics\\photo.jpg", ".JPG", 10},
      {"C:\\my.pics\\photo.png", ".PNG", 75},
      {"C:\\my.pics\\photo", "", 0},
      {"C:\\a\\photo.v2.bmp", ".BMP", 6},
      {"C:\\a\\photo.gif", ".GIF", 0},
      {"C:\\a\\photo.jpeg", ".JPEG", 0},
      {"C:\\a\\photo.wpg", ".WPG", 54},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(UpperExtensionOf(c.path), c.extension);
    EXPECT_EQ(SaveFormatOf(c.extension).format, c.format);
  }
  EXPECT_EQ(SaveFormatOf(".WPG").bits, 8);
  EXPECT_EQ(SaveFormatOf(".JPG").qualityFactor, 2);
  EXPECT_EQ(SaveFormatOf(".CMP").qualityFactor, -1);
  EXPECT_TRUE(LoadsThroughGdiplus(".TIFF"));
  EXPECT_TRUE(LoadsThroughGdiplus(".EMF"));
  EXPECT_FALSE(LoadsThroughGdiplus(".TI"));
  EXPECT_FALSE(LoadsThroughGdiplus(""));
  EXPECT_FALSE(LoadsThroughGdiplus(".JPG"));
}

TEST(PictureFiles, SaveAsTargets) {
  EXPECT_EQ(SaveAsPattern(""), "*.BMP");
  EXPECT_EQ(SaveAsPattern("*.*"), "*.BMP");
  EXPECT_EQ(SaveAsPattern("*.GIF"), "*.PNG");
  EXPECT_EQ(SaveAsPattern("*.JPG"), "*.JPG");
  const struct {
    const char* target;
    const char* name;
    const char* result;
  } cases[] = {
      {"C:\\out\\*.PNG", "C:\\out\\holiday.png", "C:\\out\\holiday.PNG"},
      {"C:\\out\\*.jpg", "beach.v1.jpg", "C:\\out\\beach.jpg"},
      {"C:\\out\\.jpg", "beach", "C:\\out\\beach.jpg"},
      {"C:\\my.out\\photo.jpg", "other.jpg", "C:\\my.out\\photo.jpg"},
      {"C:\\my.out\\*.bmp", "C:\\my.out\\pic.bmp", "C:\\my.out\\pic.bmp"},
  };
  for (const auto& c : cases) EXPECT_EQ(SubstituteBaseName(c.target, c.name), c.result) << c.target;
}

TEST(PictureFiles, KeywordFiles) {
  EXPECT_EQ(KeywordFileOf("C:\\my.pics\\beach.jpg"), "C:\\my.pics\\beach.KWD");
  EXPECT_EQ(KeywordFileOf("C:\\pics\\beach"), "C:\\pics\\beach.KWD");
  const struct {
    std::string bytes;
    const char* status;
    const char* caption;
    bool hasCaption;
  } cases[] = {
      {std::string("beach\0Holiday", 13), "beach", "Holiday", true},
      {std::string("a\0b\0Last  ", 10), "a", "Last", true},
      {"no nul", "no nul", "", false},
      {"", "", "", false},
      {std::string("\0", 1), "", "", true},
  };
  for (const auto& c : cases) {
    const Keywords k = ParseKeywordFile(c.bytes);
    EXPECT_EQ(k.status, c.status);
    EXPECT_EQ(k.caption, c.caption);
    EXPECT_EQ(k.hasCaption, c.hasCaption);
  }
}

TEST(PictureFiles, InfoAndCounter) {
  PictureInfo info{"Photo.JPG", 640, 480, false, 640, 480, 0};
  EXPECT_EQ(PictureInfoText(info, " (# x @)", " colours"), " photo.jpg  640 x 480 ");
  info.colours = 256;
  EXPECT_EQ(PictureInfoText(info, " (# x @)", " colours"), " photo.jpg  640 x 480  256 colours");
  info = {"a.bmp", 100, 50, true, 4000, 2000, 0};
  EXPECT_EQ(PictureInfoText(info, "(# x @)", ""), " a.bmp  100 x 50 ( 4000 x  2000)");
  EXPECT_EQ(CounterText(3, 12), "3/12");
}

TEST(PictureFiles, ListEdits) {
  EXPECT_TRUE(ListHasEntry("a|b|c", "b"));
  EXPECT_FALSE(ListHasEntry("a|bb|c", "b"));
  EXPECT_TRUE(ListHasEntry("a", "a"));
  EXPECT_EQ(RemoveListEntry("a|b|c", 2), "a|c");
  EXPECT_EQ(RemoveListEntry("a", 1), "");
  EXPECT_EQ(RemoveListEntry("a|b", 5), "a|b");
  EXPECT_EQ(InsertListEntry("a|b", "n", 2), "a|n|b");
  EXPECT_EQ(InsertListEntry("a|b", "n", 0), "n|a|b");
  EXPECT_EQ(InsertListEntry("", "n", 3), "n");
  EXPECT_EQ(InsertListEntry("a", "n", 9), "a|n");
}

TEST(PictureFiles, Paging) {
  const struct {
    int32_t index, count;
    bool forward;
    int32_t next;
  } cases[] = {{1, 3, false, 3}, {3, 3, true, 1}, {2, 3, true, 3}, {1, 1, true, 1}, {1, 0, true, 0}};
  for (const auto& c : cases) EXPECT_EQ(PageIndex(c.index, c.count, c.forward), c.next);
  EXPECT_EQ(TrackPositionOf(1, 4), 12);  // 25 - 12.5, halves to even
  EXPECT_EQ(TrackPositionOf(3, 3), 83);
  EXPECT_EQ(TrackPositionOf(1, 0), 0);
  EXPECT_EQ(IndexOfTrackPosition(0, 5), 1);
  EXPECT_EQ(IndexOfTrackPosition(100, 5), 5);
  EXPECT_EQ(IndexOfTrackPosition(50, 4), 2);
  for (int32_t count = 1; count <= 12; ++count) {
    for (int32_t index = 1; index <= count; ++index) {
      EXPECT_EQ(IndexOfTrackPosition(TrackPositionOf(index, count), count), index) << index << "/" << count;
    }
  }
}

TEST(PictureFiles, MemoryRule) {
  int32_t width = 4000, height = 3000;
  EXPECT_TRUE(ReducedPictureSize(1024, 768, 4, &width, &height));
  EXPECT_EQ(width, 1333);
  EXPECT_EQ(height, 1000);
  width = 1000;
  height = 1000;
  EXPECT_FALSE(ReducedPictureSize(1024, 768, 4, &width, &height));
  EXPECT_EQ(width, 1000);
}

TEST(CanvasRules, Scrolling) {
  const struct {
    int32_t position, code, thumb, bitmap, client, result;
  } cases[] = {
      {10, 0, 0, 500, 100, 5}, {10, 1, 0, 500, 100, 15}, {10, 2, 0, 500, 100, 0}, {10, 3, 0, 500, 100, 60},
      {10, 5, 450, 500, 100, 400}, {10, 4, 30, 500, 100, 30}, {10, 8, 0, 500, 100, 10}, {10, 1, 0, 50, 100, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScrolledPosition(c.position, c.code, c.thumb, c.bitmap, c.client), c.result) << c.code;
  }
}

TEST(CanvasRules, GreyAndRedEyeSquare) {
  EXPECT_EQ(GreyOfColor(0x0000FF), 0x4C4C4Cu);  // pure red
  EXPECT_EQ(GreyOfColor(0xFFFFFF), 0xFFFFFFu);
  EXPECT_EQ(GreyOfColor(0), 0u);
  EXPECT_EQ(RedEyePoints(10, 10, 100, 100).size(), 21u);
  const std::vector<CanvasPoint> corner = RedEyePoints(0, 0, 100, 100);
  EXPECT_EQ(corner, (std::vector<CanvasPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}}));
  EXPECT_EQ(RedEyePoints(99, 99, 100, 100).size(), 8u);
  EXPECT_EQ(RedEyePoints(10, 10, 0, 0).size(), 0u);
}

TEST(CanvasRules, RedEyeStrokesOfEarlierSpellsStayMarked) {
  RedEyeStrokes strokes;
  RedEyeRecord taken;
  EXPECT_FALSE(strokes.TakeNewest(&taken));
  strokes.Add({1, 1, {0x123}});
  strokes.EndSpell();
  strokes.Add({5, 5, {0x456}});
  EXPECT_TRUE(strokes.TakeNewest(&taken));
  EXPECT_EQ(taken.left, 5);
  EXPECT_EQ(taken.previous, std::vector<uint32_t>{0x456});
  EXPECT_TRUE(strokes.AnyOnCanvasOnly()) << "the first spell's stroke is still only on the canvas";
  EXPECT_FALSE(strokes.TakeNewest(&taken));
  strokes.Flushed();
  EXPECT_FALSE(strokes.AnyOnCanvasOnly());
  strokes.Add({2, 2, {}});
  EXPECT_TRUE(strokes.TakeNewest(&taken));
  EXPECT_FALSE(strokes.AnyOnCanvasOnly());
}

TEST(CanvasRules, Selections) {
  const struct {
    Selection in;
    bool ok;
    Selection out;
  } cases[] = {
      {{10, 20, 50, 60}, true, {10, 20, 50, 60}},
      {{50, 60, 10, 20}, true, {10, 20, 50, 60}},
      {{50, 20, 10, 60}, true, {10, 20, 50, 60}},
      {{10, 20, -1, -1}, false, {}},
      {{10, 20, 10, 60}, false, {}},
      {{-1, -1, -1, -1}, false, {}},
  };
  for (const auto& c : cases) {
    Selection out;
    EXPECT_EQ(OrderedSelection(c.in, &out), c.ok);
    if (c.ok) {
      EXPECT_EQ(out.left, c.out.left);
      EXPECT_EQ(out.top, c.out.top);
      EXPECT_EQ(out.right, c.out.right);
      EXPECT_EQ(out.bottom, c.out.bottom);
    }
  }
}

TEST(CanvasRules, PanningAndPrintLayout) {
  EXPECT_EQ(PannedOffset(0, 4, -200), 0);
  EXPECT_EQ(PannedOffset(-198, -4, -200), -200);
  EXPECT_EQ(PannedOffset(-100, 4, -200), -96);
  EXPECT_EQ(PannedOffset(0, -4, 100), 0) << "a picture smaller than the screen does not pan";
  // Portrait: width less 30, height less 120, moved 15 right and 60 down.
  PrintPlacement portrait = PrintLayout(1000, 2000, false, 100, 100);
  EXPECT_EQ(portrait.width, 970);
  EXPECT_EQ(portrait.height, 970);
  EXPECT_EQ(portrait.x, 15 + 15);
  EXPECT_EQ(portrait.y, (2000 - 970) / 2 + 60);
  PrintPlacement landscape = PrintLayout(2000, 1000, true, 100, 100);
  EXPECT_EQ(landscape.width, 1000);
  EXPECT_EQ(landscape.x, 500 + 60);
  EXPECT_EQ(landscape.y, 0);
}

}  // namespace
}  // namespace paint
