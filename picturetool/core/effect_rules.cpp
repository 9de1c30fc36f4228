#include "core/effect_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/text_rules.h"

namespace paint {

namespace {

struct CommandRow {
  int32_t id;
  EffectCommand box;
};

constexpr CommandRow kCommands[] = {
    {203, {1, -100, 100, 0, 10}},   {204, {2, -100, 100, 0, 10}},   {205, {3, -360, 360, 0, 1}},
    {206, {4, -10, 10, 0, 50}},     {207, {5, -100, 100, 0, 1}},    {208, {6, 0, 0, 0, 0}},
    {209, {7, 0, 0, 0, 0}},         {210, {8, -1000, 1000, 0, 1}},  {211, {9, 0, 0, 0, 0}},
    {212, {10, 0, 0, 0, 0}},        {214, {32, 0, 0, 0, 0}},        {301, {26, 0, 0, 0, 0}},
    {302, {27, 0, 0, 0, 0}},        {303, {28, 0, 0, 0, 0}},        {304, {29, 0, 0, 0, 0}},
    {306, {31, 0, 244, 70, 0}},     {313, {33, 0, 0, 0, 0}},        {601, {11, -100, 100, 70, 10}},
    {602, {12, 0, 255, 0, 1}},      {603, {13, 2, 62, 2, 1}},       {604, {14, 0, 100, 0, 1}},
    {605, {15, 0, 100, 0, 1}},      {606, {16, 0, 100, 2, 1}},      {608, {25, 0, 10, 7, 1}},
    {102, {34, 0, 0, 0, 0}},
};

}  // namespace

std::optional<EffectCommand> EffectBoxOfCommand(int32_t id) {
  if (id >= 701 && id <= 708) return EffectCommand{id - 684, 0, 1000, 500, 1};
  for (const CommandRow& row : kCommands)
    if (row.id == id) return row.box;
  return std::nullopt;
}

int32_t ReliefEffectOfCommand(int32_t id) { return id >= 901 && id <= 908 ? id - 884 : 0; }

int32_t ReliefDirection(int32_t effect) {
  static constexpr int32_t kDirections[8] = {4, 5, 6, 7, 0, 1, 2, 3};
  if (effect < kEffectFirstEmboss || effect > kEffectLastEmboss) return 0;
  return kDirections[effect - kEffectFirstEmboss];
}

bool AppliesWithoutValue(int32_t effect) {
  switch (effect) {
    case 6: case 7: case 9: case 10: case 26: case 27: case 28: case 29: case 31: case 32:
      return true;
    default:
      return effect >= kEffectFirstEmboss && effect <= kEffectLastEmboss;
  }
}

bool ChangesPicture(int32_t effect, int32_t value) {
  if (value != 0) return true;
  return AppliesWithoutValue(effect) && !(effect >= kEffectFirstEmboss && effect <= kEffectLastEmboss);
}

int32_t EffectParameter(int32_t effect, int32_t factor, int32_t value) {
  const int32_t p = factor * value;
  switch (effect) {
    case kEffectGamma:
      return value > 0 ? 100 + 2 * value : std::max(1, 100 + value);
    case kEffectSolarize:
      return 255 - p;
    case kEffectPosterize:
      return 64 - p;
    case kEffectAutoTrim:
      return value;
    default:
      return p;
  }
}

int32_t FieldValue(const std::string& text, int32_t minimum, int32_t maximum) {
  return std::clamp(suite::LeadingNumber(text), minimum, maximum);
}

SaturationPlan PlanSaturation(int32_t factor, int32_t last, int32_t value) {
  SaturationPlan plan;
  const bool sameSide = (last > 0 && value > 0) || (last < 0 && value < 0);
  const int32_t sign = value < 0 ? -1 : 1;
  int32_t first = 1;
  if (sameSide && std::abs(value) >= std::abs(last)) {
    plan.fromBase = false;
    first = std::abs(last) + 1;
  }
  for (int32_t k = first; k <= std::abs(value); ++k) plan.parameters.push_back(sign * factor * k);
  return plan;
}

std::string BoxTitle(const std::string& title, int32_t minimum, int32_t maximum, const std::string& rangeText) {
  if (minimum == 0 && maximum == 0) return title;
  std::string range;
  for (char c : rangeText) {
    if (c == '@') {
      range += std::to_string(minimum);
    } else if (c == '#') {
      range += std::to_string(maximum);
    } else {
      range += c;
    }
  }
  return title + range;
}

std::optional<int32_t> ProportionalSide(int32_t side, int32_t referenceThis, int32_t referenceOther) {
  if (referenceThis <= 0 || referenceOther <= 0) return std::nullopt;
  const double other = std::round(static_cast<double>(side) * referenceOther / referenceThis);
  if (other < 0 || other > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(other);
}

bool IsUsablePictureSize(int32_t width, int32_t height) {
  return width >= 1 && height >= 1 && width <= kLargestSide && height <= kLargestSide;
}

}  // namespace paint
