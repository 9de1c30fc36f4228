// The effect box's and the size box's rules: the command table, the values
// the imaging calls get, saturation steps, titles, proportions and sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/effect_rules.h"
#include "core/text_rules.h"

namespace paint {
namespace {

TEST(EffectRules, CommandsRunTheirBoxes) {
  const struct {
    int32_t id;
    int32_t effect, minimum, maximum, value, factor;
  } cases[] = {
      {203, 1, -100, 100, 0, 10}, {205, 3, -360, 360, 0, 1},   {206, 4, -10, 10, 0, 50},
      {208, 6, 0, 0, 0, 0},       {214, 32, 0, 0, 0, 0},       {303, 28, 0, 0, 0, 0},
      {304, 29, 0, 0, 0, 0},      {306, 31, 0, 244, 70, 0},    {313, 33, 0, 0, 0, 0},
      {601, 11, -100, 100, 70, 10}, {603, 13, 2, 62, 2, 1},    {608, 25, 0, 10, 7, 1},
      {701, 17, 0, 1000, 500, 1}, {708, 24, 0, 1000, 500, 1},  {102, 34, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const auto box = EffectBoxOfCommand(c.id);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(c.effect, box->effect);
    EXPECT_EQ(c.minimum, box->minimum);
    EXPECT_EQ(c.maximum, box->maximum);
    EXPECT_EQ(c.value, box->value);
    EXPECT_EQ(c.factor, box->factor);
  }
  for (int32_t id : {0, 213, 215, 216, 217, 305, 607, 700, 709, 901}) EXPECT_FALSE(EffectBoxOfCommand(id)) << id;
}

TEST(EffectRules, ReliefCommandsAndDirections) {
  EXPECT_EQ(17, ReliefEffectOfCommand(901));
  EXPECT_EQ(24, ReliefEffectOfCommand(908));
  EXPECT_EQ(0, ReliefEffectOfCommand(900));
  EXPECT_EQ(0, ReliefEffectOfCommand(909));
  const int32_t expected[8] = {4, 5, 6, 7, 0, 1, 2, 3};
  for (int32_t effect = 17; effect <= 24; ++effect) EXPECT_EQ(expected[effect - 17], ReliefDirection(effect));
  // 901 and 905 emboss in opposite directions.
  EXPECT_EQ(4, (ReliefDirection(17) - ReliefDirection(21) + 8) % 8);
  EXPECT_EQ(0, EmbossDirection(17));
  EXPECT_EQ(7, EmbossDirection(24));
}

TEST(EffectRules, ParametersGivenToTheImagingCalls) {
  const struct {
    const char* name;
    int32_t effect, factor, value, expected;
  } cases[] = {
      {"contrast 5 passes 50", 1, 10, 5, 50},
      {"hue -360 passes -360", 3, 1, -360, -360},
      {"saturation", 4, 50, -2, -100},
      {"gamma above 0 doubles", 5, 1, 30, 160},
      {"gamma below 0", 5, 1, -30, 70},
      {"gamma -100 stays at 1", 5, 1, -100, 1},
      {"solarize at 0 passes 255", 12, 1, 0, 255},
      {"solarize at 255 passes 0", 12, 1, 255, 0},
      {"posterize at 2 passes 62", 13, 1, 2, 62},
      {"posterize at 62 passes 2", 13, 1, 62, 2},
      {"trim takes the value, not the factor 0", 31, 0, 70, 70},
      {"emboss depth", 17, 1, 500, 500},
      {"sharpen", 11, 10, -100, -1000},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, EffectParameter(c.effect, c.factor, c.value)) << c.name;
}

TEST(EffectRules, WhatChangesThePicture) {
  EXPECT_FALSE(ChangesPicture(1, 0));
  EXPECT_TRUE(ChangesPicture(1, -3));
  EXPECT_FALSE(ChangesPicture(17, 0));  // a relief at depth 0 is a value of 0
  for (int32_t effect : {6, 7, 9, 10, 26, 27, 28, 29, 31, 32}) {
    EXPECT_TRUE(ChangesPicture(effect, 0)) << effect;
    EXPECT_TRUE(AppliesWithoutValue(effect)) << effect;
  }
  for (int32_t effect : {1, 2, 3, 4, 5, 8, 11, 12, 13, 14, 15, 16, 25, 33}) EXPECT_FALSE(AppliesWithoutValue(effect)) << effect;
  EXPECT_TRUE(AppliesWithoutValue(20));
}

TEST(EffectRules, FieldValuesAreLimitedToTheRange) {
  const struct {
    const char* text;
    int32_t minimum, maximum, expected;
  } cases[] = {
      {"5", -100, 100, 5},   {"-360", -360, 360, -360}, {"999", -100, 100, 100}, {"-5000", 0, 255, 0},
      {"", 2, 62, 2},        {"abc", -10, 10, 0},       {"99999999999999", 0, 1000, 1000},
      {"-", -10, 10, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, FieldValue(c.text, c.minimum, c.maximum)) << c.text;
}

TEST(EffectRules, SaturationSteps) {
  const struct {
    const char* name;
    int32_t last, value;
    bool fromBase;
    std::vector<int32_t> parameters;
  } cases[] = {
      {"from 0 to 2", 0, 2, true, {50, 100}},
      {"one step further", 2, 3, false, {150}},
      {"a jump further", 1, 3, false, {100, 150}},
      {"negative side", -1, -2, false, {-100}},
      {"back towards 0 starts again", 3, 1, true, {50}},
      {"crossing 0 starts again", 2, -1, true, {-50}},
      {"to 0 is the plain picture", 2, 0, true, {}},
      {"unchanged value adds nothing", 2, 2, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SaturationPlan plan = PlanSaturation(50, c.last, c.value);
    EXPECT_EQ(c.fromBase, plan.fromBase);
    EXPECT_EQ(c.parameters, plan.parameters);
  }
  // Reaching 3 step by step gives the confirmed series.
  std::vector<int32_t> stepped;
  for (int32_t v = 1, last = 0; v <= 3; last = v++) {
    const SaturationPlan plan = PlanSaturation(50, last, v);
    stepped.insert(stepped.end(), plan.parameters.begin(), plan.parameters.end());
  }
  EXPECT_EQ(PlanSaturation(50, 0, 3).parameters, stepped);
}

TEST(EffectRules, Titles) {
  EXPECT_EQ("Contrast (-100 to 100)", BoxTitle("Contrast", -100, 100, " (@ to #)"));
  EXPECT_EQ("Invert", BoxTitle("Invert", 0, 0, " (@ to #)"));
  EXPECT_EQ("Trim [0..244]", BoxTitle("Trim", 0, 244, " [@..#]"));
}

TEST(EffectRules, ProportionalSides) {
  const struct {
    const char* name;
    int32_t side, referenceThis, referenceOther;
    int32_t expected;  // -1: no rule
  } cases[] = {
      {"640 x 480, width 320", 320, 640, 480, 240},
      {"640 x 480, height 240", 240, 480, 640, 320},
      {"rounded", 100, 3, 2, 67},
      {"width 0", 0, 640, 480, 0},
      {"unknown width", 320, 0, 480, -1},
      {"unknown height", 320, 640, 0, -1},
      {"negative reference", 320, -640, 480, -1},
      {"does not fit", 2000000000, 1, 100, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto side = ProportionalSide(c.side, c.referenceThis, c.referenceOther);
    EXPECT_EQ(c.expected, side ? *side : -1);
  }
}

TEST(EffectRules, SizesAndExtensions) {
  EXPECT_TRUE(IsUsablePictureSize(320, 240));
  EXPECT_TRUE(IsUsablePictureSize(1, kLargestSide));
  EXPECT_FALSE(IsUsablePictureSize(0, 240));
  EXPECT_FALSE(IsUsablePictureSize(320, -1));
  EXPECT_FALSE(IsUsablePictureSize(kLargestSide + 1, 10));
  for (const char* known : {"C:\\a\\b.jpg", "x.JPEG", "c:\\t\\pic.Bmp", "a.b.png", "s.tif"})
    EXPECT_TRUE(suite::ExtensionIsOneOf(known, kPictureExtensions)) << known;
  for (const char* unknown : {"x.tiff", "y.dib", "noext", "c:\\a.b\\name", "z.PN", "q.", "w.JP"})
    EXPECT_FALSE(suite::ExtensionIsOneOf(unknown, kPictureExtensions)) << unknown;
}

}  // namespace
}  // namespace paint
