// The panels' portable rules: layout columns, the panel definition's
// entries, docking, the mixer scale, the title's casing and the level
// meter's colours, fading and segments.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/level_meter.h"
#include "core/panel_rules.h"

namespace {

using panels::MeterColour;
using panels::PanelPoint;

TEST(PanelRules, LayoutColumns) {
  struct Case {
    int32_t value;
    int32_t column;
  } cases[] = {{1, 1}, {2, 2}, {4, 3}, {8, 4}, {128, 8}, {0, 1}, {-5, 1}, {1000, 8}, {6, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(c.column, panels::LayoutColumn(c.value));
  }
}

TEST(PanelRules, PaneBitmapOfEachColumn) {
  const std::string entry = " @PATH@Pane_Doc.BMP ,@path@pane_video.bmp,,x.bmp";
  struct Case {
    int32_t column;
    const char* file;
  } cases[] = {{1, "C:\\Orb Suite\\pane_doc.bmp"}, {2, "C:\\Orb Suite\\pane_video.bmp"}, {3, ""}, {4, "x.bmp"},
               {5, ""}, {0, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    EXPECT_EQ(c.file, panels::PaneBitmapFile(entry, c.column, "C:\\Orb Suite\\"));
  }
}

TEST(PanelRules, ImageLineNumbers) {
  // Field id - 47: id 48 is field 1.
  const std::string entry2 = "1,,0,x,-2, 7 ";
  struct Case {
    int32_t id;
    int32_t line;
  } cases[] = {{48, 1}, {49, 0}, {50, 0}, {51, 0}, {52, 0}, {53, 7}, {54, 0}, {47, 0}, {84, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.line, panels::ImageLineNumber(entry2, c.id));
  }
}

TEST(PanelRules, ImageLinesAndTheirPlaces) {
  struct Case {
    const char* name;
    std::string line;
    std::string file;
    std::vector<PanelPoint> places;  // for columns 1..4
  } cases[] = {
      {"pair per column", "play, @path@play.bmp, 1,2, 3,4, 5,6, 7,8", "C:\\Orb\\play.bmp",
       {{1, 2}, {3, 4}, {5, 6}, {7, 8}}},
      {"last pair repeats", "stop,stop.bmp,10,20", "stop.bmp", {{10, 20}, {10, 20}, {10, 20}, {10, 20}}},
      {"no pairs", "meter,meter.bmp", "meter.bmp", {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
      {"odd field left over", "a,b.bmp,1,2,3", "b.bmp", {{1, 2}, {1, 2}, {1, 2}, {1, 2}}},
      {"damaged pair ends the list", "a,b.bmp,1,2,x,4,5,6", "b.bmp", {{1, 2}, {1, 2}, {1, 2}, {1, 2}}},
      {"negative places", "a,b.bmp,-3,-4", "b.bmp", {{-3, -4}, {-3, -4}, {-3, -4}, {-3, -4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panels::PanelImageLine parsed = panels::ParseImageLine(c.line, "C:\\Orb\\");
    EXPECT_EQ(c.file, parsed.file);
    for (int32_t column = 1; column <= 4; ++column) {
      PanelPoint place = parsed.PlaceFor(column);
      EXPECT_EQ(c.places[column - 1].x, place.x) << "column " << column;
      EXPECT_EQ(c.places[column - 1].y, place.y) << "column " << column;
    }
  }
}

TEST(PanelRules, DockingCorners) {
  const panels::ScreenRect main{100, 50, 740, 530};  // 640 x 480
  struct Case {
    int32_t field5;
    PanelPoint place;
  } cases[] = {
      {1, {100, 50}},   {0x21, {100, 50}},  {2, {540, 50}},   {0x22, {540, 50}},
      {8, {100, 490}},  {0x28, {100, 490}}, {0, {540, 490}},  {4, {540, 490}},  {0x30, {540, 490}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field5);
    PanelPoint place = panels::DockPosition(c.field5, main, 1024, 768, 200, 40);
    EXPECT_EQ(c.place.x, place.x);
    EXPECT_EQ(c.place.y, place.y);
  }
  // A main window partly off the screen is held within it first, and the
  // pane stays on the screen.
  PanelPoint off = panels::DockPosition(0, panels::ScreenRect{-1024, -768, -384, -288}, 1024, 768, 200, 40);
  EXPECT_EQ(0, off.x);
  EXPECT_EQ(0, off.y);
  PanelPoint right = panels::DockPosition(0, panels::ScreenRect{900, 700, 1300, 900}, 1024, 768, 200, 40);
  EXPECT_EQ(824, right.x);
  EXPECT_EQ(728, right.y);
  EXPECT_TRUE(panels::PaneFloats(0x20));
  EXPECT_FALSE(panels::PaneFloats(0x1F));
}

TEST(PanelRules, SavedPanePositions) {
  struct Case {
    int32_t x, y;
    bool usable;
  } cases[] = {{-1, -1, false}, {0, 0, true}, {-200, 10, true}, {-201, 10, false}, {10, -41, false},
               {1024, 768, true}, {1025, 0, false}, {0, 769, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(c.usable, panels::SavedPaneUsable(c.x, c.y, 200, 40, 1024, 768));
  }
}

TEST(PanelRules, MixerScale) {
  struct Case {
    int32_t percent;
    uint32_t value;
    int32_t readBack;
  } cases[] = {{100, 65500, 100}, {0, 0, 0}, {50, 32750, 50}, {1, 655, 1}, {150, 65500, 100}, {-3, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percent);
    EXPECT_EQ(c.value, panels::MixerValueFromVolume(c.percent));
    EXPECT_EQ(c.readBack, panels::VolumeFromMixerValue(panels::MixerValueFromVolume(c.percent)));
  }
  EXPECT_EQ(100, panels::VolumeFromMixerValue(65535));
}

TEST(PanelRules, MarqueeTitles) {
  struct Case {
    const char* text;
    const char* title;
  } cases[] = {
      {"HELLO world", "Hello World"},
      {"  the  (live)  version ", "The (Live) Version"},
      {"rock 'n' roll", "Rock 'N' Roll"},
      {"( ' x", "( ' X"},
      {"", ""},
      {"a", "A"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.title, panels::MarqueeTitle(c.text));
  }
  EXPECT_EQ(256u, panels::MarqueeTitle(std::string(300, 'x')).size());
}

TEST(LevelMeter, PaletteAndSegments) {
  EXPECT_EQ((MeterColour{0, 0, 0}), panels::MeterPalette(0));
  EXPECT_EQ((MeterColour{0, 0, 255}), panels::MeterPalette(1));
  EXPECT_EQ((MeterColour{253, 137, 0}), panels::MeterPalette(28));
  EXPECT_EQ((MeterColour{255, 0, 0}), panels::MeterPalette(33));
  struct Case {
    int32_t width, height;
    int32_t segmentHeight, count, half;
  } cases[] = {{20, 66, 2, 33, 10}, {20, 10, 1, 33, 10}, {21, 100, 3, 33, 10}, {8, 200, 6, 33, 4}, {9, 70, 2, 35, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    panels::MeterSegments s = panels::SegmentsFor(c.width, c.height);
    EXPECT_EQ(c.segmentHeight, s.segmentHeight);
    EXPECT_EQ(c.count, s.count);
    EXPECT_EQ(c.half, s.halfWidth);
  }
}

// Levels 128 and 64 light the whole left column and the lower half of the
// right; steps 1 and 2 are the palette's black entry.
TEST(LevelMeter, LightsUpToTheLevel) {
  panels::LevelMeterModel meter;
  meter.Update(128, 64);
  for (int32_t step = 1; step <= 100; ++step) {
    SCOPED_TRACE(step);
    EXPECT_EQ(panels::MeterPalette(step / 3), meter.Left()[step]);
    EXPECT_EQ(step <= 50 ? panels::MeterPalette(step / 3) : MeterColour{}, meter.Right()[step]);
  }
  EXPECT_EQ(100, panels::LevelPercent(128));
  EXPECT_EQ(50, panels::LevelPercent(64));
  EXPECT_EQ(100, panels::LevelPercent(500));
  EXPECT_EQ(0, panels::LevelPercent(-1));
  // Segment i of n shows step 100 * i \ n.
  EXPECT_EQ(100, panels::LevelMeterModel::StepOfSegment(33, 33));
  EXPECT_EQ(3, panels::LevelMeterModel::StepOfSegment(1, 33));
  EXPECT_EQ(51, panels::LevelMeterModel::StepOfSegment(17, 33));
}

// A drop to 0 fades every lit step by 32 per component per call, until
// all are black.
TEST(LevelMeter, PeaksFade) {
  panels::LevelMeterModel meter;
  meter.Update(128, 128);
  meter.Update(0, 0);
  for (int32_t step = 3; step <= 100; ++step) {
    SCOPED_TRACE(step);
    MeterColour lit = panels::MeterPalette(step / 3);
    auto darker = [](uint8_t c) { return static_cast<uint8_t>(c > 32 ? c - 32 : 0); };
    EXPECT_EQ((MeterColour{darker(lit.red), darker(lit.green), darker(lit.blue)}), meter.Left()[step]);
  }
  for (int tick = 0; tick < 8; ++tick) meter.Update(0, 0);
  for (int32_t step = 1; step <= 100; ++step) EXPECT_TRUE(meter.Right()[step].IsBlack()) << step;
  // A lower level after a peak: lit to the level, faded above it.
  meter.Update(128, 0);
  meter.Update(64, 0);
  EXPECT_EQ(panels::MeterPalette(50 / 3), meter.Left()[50]);
  EXPECT_EQ((MeterColour{255 - 32, 0, 0}), meter.Left()[100]);
}

}  // namespace
