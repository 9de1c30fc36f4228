// The level meter's bars (level_meter.h).
#include "core/level_meter.h"

#include <algorithm>
#include <cmath>

namespace panels {

namespace {

constexpr MeterColour kPalette[34] = {
    {0, 0, 0},       {0, 0, 255},     {0, 44, 233},    {0, 67, 210},    {0, 89, 187},    {0, 112, 164},
    {0, 135, 142},   {0, 159, 117},   {0, 183, 88},    {0, 207, 58},    {0, 231, 29},    {26, 234, 26},
    {52, 237, 23},   {79, 240, 20},   {105, 243, 17},  {126, 245, 14},  {147, 248, 11},  {168, 250, 8},
    {189, 253, 5},   {210, 255, 2},   {233, 255, 0},   {255, 255, 0},   {255, 251, 0},   {255, 235, 0},
    {255, 215, 0},   {255, 196, 0},   {255, 176, 0},   {255, 156, 0},   {253, 137, 0},   {255, 117, 0},
    {255, 97, 0},    {255, 78, 0},    {255, 58, 0},    {255, 0, 0}};

constexpr int32_t kFadeStep = 32;

uint8_t Darker(uint8_t component) { return static_cast<uint8_t>(std::max(0, component - kFadeStep)); }

}  // namespace

MeterColour MeterPalette(int32_t index) {
  if (index < 0 || index > 33) return MeterColour{};
  return kPalette[index];
}

MeterSegments SegmentsFor(int32_t clientWidth, int32_t clientHeight) {
  MeterSegments segments;
  int32_t height = std::max(33, clientHeight);
  segments.segmentHeight = height / 33;
  segments.count = segments.segmentHeight > 0 ? height / segments.segmentHeight : 0;
  segments.halfWidth = std::max(0, clientWidth) / 2;
  return segments;
}

int32_t LevelPercent(int32_t level) {
  double percent = std::nearbyint(100.0 * static_cast<double>(level) / kFullScaleLevel);
  return static_cast<int32_t>(std::clamp(percent, 0.0, 100.0));
}

int32_t LevelMeterModel::StepOfSegment(int32_t segment, int32_t count) {
  if (count <= 0) return 0;
  return std::clamp(100 * segment / count, 0, 100);
}

void LevelMeterModel::UpdateChannel(std::array<MeterColour, 101>& steps, int32_t level) {
  const int32_t percent = LevelPercent(level);
  bool reachedBlack = false;
  for (int32_t i = 1; i <= 100; ++i) {
    MeterColour& colour = steps[static_cast<size_t>(i)];
    if (i <= percent) {
      colour = MeterPalette(i / 3);
      continue;
    }
    if (reachedBlack) {
      colour = MeterColour{};
      continue;
    }
    // Steps 1 and 2 are black even when lit: only a step that fades to
    // black in this call ends the fading.
    if (colour.IsBlack()) continue;
    colour = {Darker(colour.red), Darker(colour.green), Darker(colour.blue)};
    if (colour.IsBlack()) reachedBlack = true;
  }
}

void LevelMeterModel::Update(int32_t leftLevel, int32_t rightLevel) {
  UpdateChannel(left_, leftLevel);
  UpdateChannel(right_, rightLevel);
}

}  // namespace panels
