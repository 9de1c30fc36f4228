// Fitting, transitions, captions, scrolling, print placement and the
// memory picture's size for the picture view and the slide show.
#include "core/picture_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/item_list.h"
#include "core/option_line.h"
#include "core/text_rules.h"

namespace player {

namespace {

int32_t RoundToInt(double value) {
  if (value >= INT32_MAX) return INT32_MAX;
  if (value <= INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(std::lround(value));
}

std::string WithoutBlanks(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '\t') out.push_back(c);
  }
  return out;
}

}  // namespace

FitRect FitEnlarged(int32_t sourceWidth, int32_t sourceHeight, int32_t boxWidth, int32_t boxHeight) {
  FitRect fit;
  double scale = 0;
  if (sourceWidth != 0) scale = static_cast<double>(boxWidth) / sourceWidth;
  fit.width = RoundToInt(scale * sourceWidth);
  fit.height = RoundToInt(scale * sourceHeight);
  if (boxHeight < fit.height) {
    scale = sourceHeight != 0 ? static_cast<double>(boxHeight) / sourceHeight : 0;
    fit.width = RoundToInt(scale * sourceWidth);
    fit.height = RoundToInt(scale * sourceHeight);
  }
  fit.x = (boxWidth - fit.width) / 2;
  fit.y = (boxHeight - fit.height) / 2;
  return fit;
}

std::vector<int32_t> ParseTransitionList(const std::string& text) {
  std::vector<int32_t> list;
  const std::string compact = WithoutBlanks(text);
  if (compact.empty()) return list;
  const size_t limit = static_cast<size_t>(kMaxTransitionRange);
  for (const std::string& field : suite::SplitCommaList(compact)) {
    if (list.size() >= limit) break;
    const size_t dash = field.find('-', 1);
    if (dash == std::string::npos) {
      list.push_back(OptionNumber(field));
      continue;
    }
    const int32_t from = OptionNumber(field.substr(0, dash));
    const int32_t to = OptionNumber(field.substr(dash + 1));
    for (int64_t n = from; n <= to && list.size() < limit; ++n) list.push_back(static_cast<int32_t>(n));
  }
  return list;
}

TransitionKind KindOfEffect(int32_t effect) {
  if (effect == EFFECT_NONE) return TransitionKind::kNone;
  if (effect >= FIRST_FADE_EFFECT && effect < EFFECT_NONE) return TransitionKind::kFade;
  return TransitionKind::kImaging;
}

Transition ParseTransitionText(const std::string& text) {
  Transition transition;
  const size_t bar = text.find('|');
  transition.effect = suite::LeadingNumber(suite::TrimBlanks(bar == std::string::npos ? text : text.substr(0, bar)));
  const std::string grain = suite::TrimBlanks(suite::CommaField(text, 2));
  const std::string delay = suite::TrimBlanks(suite::CommaField(text, 3));
  if (!grain.empty()) transition.grain = OptionNumber(grain);
  if (!delay.empty()) transition.delay = OptionNumber(delay);
  return transition;
}

int32_t TransitionCycle::Next() {
  if (effects.empty()) return 0;
  ++position;
  if (position > effects.size()) position = 1;
  return effects[position - 1];
}

Transition ChooseTransition(const std::string& pictureText, TransitionCycle* cycle) {
  Transition transition;
  if (!pictureText.empty()) transition = ParseTransitionText(pictureText);
  if (transition.effect == 0) {
    transition = Transition{};
    transition.effect = cycle != nullptr ? cycle->Next() : 0;
    if (transition.effect == 0) transition.effect = EFFECT_NONE;
  }
  return transition;
}

FadeCall FadeCallFor(const Transition& transition, int32_t cpuMhz) {
  if (transition.effect == FIRST_FADE_EFFECT && cpuMhz < 800) return FadeCall{50, 2000, -1};
  // Only a fade has a number; an effect below the fades (a side file may
  // hold any number) gives the first rather than a wrapped one.
  const int32_t number = transition.effect >= FIRST_FADE_EFFECT ? transition.effect - FIRST_FADE_EFFECT : 0;
  return FadeCall{transition.grain, transition.delay, number};
}

CaptionPlace PlaceCaption(int32_t clientWidth, int32_t clientHeight, int32_t textWidth, int32_t textHeight) {
  CaptionPlace place;
  place.bandHeight = textHeight + 2;
  place.y = clientHeight - place.bandHeight;
  const int32_t width = textWidth + 2;
  place.x = width > clientWidth ? 0 : (clientWidth - width) / 2;
  return place;
}

int32_t ScrollRange(int32_t memorySize, int32_t clientSize) { return std::max(0, memorySize - clientSize); }

int32_t ClampScroll(int32_t offset, int32_t memorySize, int32_t clientSize) {
  return std::clamp(offset, 0, ScrollRange(memorySize, clientSize));
}

int32_t ScrolledOffset(int32_t offset, ScrollRequest request, int32_t thumbPosition) {
  switch (request) {
    case ScrollRequest::kLineUp: return offset - 5;
    case ScrollRequest::kLineDown: return offset + 5;
    case ScrollRequest::kPageUp: return offset - 50;
    case ScrollRequest::kPageDown: return offset + 50;
    case ScrollRequest::kThumb: return thumbPosition;
    default: return offset;
  }
}

FitRect PrintPlacement(int32_t horzRes, int32_t vertRes, int32_t horzSizeMm, int32_t vertSizeMm,
                       int32_t pictureWidth, int32_t pictureHeight) {
  FitRect place;
  if (pictureWidth <= 0 || pictureHeight <= 0) return place;
  const bool landscape = horzSizeMm >= vertSizeMm;
  const int32_t side = landscape ? 60 : 15;
  const int32_t top = landscape ? 0 : 60;
  const double scale = std::min(static_cast<double>(horzRes - 2 * side) / pictureWidth,
                                static_cast<double>(vertRes - 2 * top) / pictureHeight);
  place.width = std::max(0, RoundToInt(scale * pictureWidth));
  place.height = std::max(0, RoundToInt(scale * pictureHeight));
  // Centred on the page: the room left is shared, so each side keeps at
  // least its margin.
  place.x = (horzRes - place.width) / 2;
  place.y = (vertRes - place.height) / 2;
  return place;
}

namespace {

int64_t Bytes(int64_t width, int64_t height, int64_t bytesPerPixel) { return width * height * bytesPerPixel; }

// The picture scaled so that the memory picture that must hold it (at least
// the screen) stays within `limit`; false when nothing of it would be left.
bool ScaleIntoLimit(const MemoryPlanInput& in, int64_t bytesPerPixel, int64_t limit, int32_t* width,
                    int32_t* height) {
  int64_t w = in.pictureWidth;
  int64_t h = in.pictureHeight;
  for (int attempt = 0; attempt < 64; ++attempt) {
    const int64_t needed =
        Bytes(std::max<int64_t>(in.screenWidth, w), std::max<int64_t>(in.screenHeight, h), bytesPerPixel);
    if (needed <= limit) {
      *width = static_cast<int32_t>(w);
      *height = static_cast<int32_t>(h);
      return w > 0 && h > 0;
    }
    const double scale = std::sqrt(static_cast<double>(limit) / static_cast<double>(needed)) * 0.999;
    w = static_cast<int64_t>(std::floor(static_cast<double>(w) * scale));
    h = static_cast<int64_t>(std::floor(static_cast<double>(h) * scale));
    if (w <= 0 || h <= 0) return false;
  }
  return false;
}

}  // namespace

MemoryPlan PlanMemoryPicture(const MemoryPlanInput& in) {
  MemoryPlan plan;
  if (in.pictureWidth <= 0 || in.pictureHeight <= 0) {
    plan.refused = true;
    return plan;
  }
  plan.pictureWidth = in.pictureWidth;
  plan.pictureHeight = in.pictureHeight;
  if (in.osVersion < 500) {
    const int64_t bytesPerPixel = std::max(1, in.displayBitsPerPixel / 8);
    const int64_t bytes = Bytes(std::max(in.memoryWidth, in.pictureWidth), std::max(in.memoryHeight, in.pictureHeight),
                                bytesPerPixel);
    if (bytes > kOldSystemMemoryBytes) {
      // Both sides by the square root, so the area shrinks by the ratio and
      // not by its square.
      const double scale = std::sqrt(static_cast<double>(kOldSystemMemoryBytes) / static_cast<double>(bytes));
      plan.pictureWidth = static_cast<int32_t>(std::floor(in.pictureWidth * scale));
      plan.pictureHeight = static_cast<int32_t>(std::floor(in.pictureHeight * scale));
      if (plan.pictureWidth <= 0 || plan.pictureHeight <= 0) return MemoryPlan{true};
      plan.memoryWidth = plan.pictureWidth;
      plan.memoryHeight = plan.pictureHeight;
      plan.rebuild = true;
      return plan;
    }
  } else {
    // A compatible bitmap of a true-colour screen takes 4 bytes a pixel.
    if (!ScaleIntoLimit(in, 4, kMaxMemoryPictureBytes, &plan.pictureWidth, &plan.pictureHeight)) {
      return MemoryPlan{true};
    }
  }
  const int32_t neededWidth = std::max(in.screenWidth, plan.pictureWidth);
  const int32_t neededHeight = std::max(in.screenHeight, plan.pictureHeight);
  if (in.memoryWidth >= neededWidth && in.memoryHeight >= neededHeight) {
    plan.memoryWidth = in.memoryWidth;
    plan.memoryHeight = in.memoryHeight;
    return plan;
  }
  plan.rebuild = true;
  plan.memoryWidth = std::max(in.memoryWidth, neededWidth);
  plan.memoryHeight = std::max(in.memoryHeight, neededHeight);
  if (in.osVersion >= 500 && Bytes(plan.memoryWidth, plan.memoryHeight, 4) > kMaxMemoryPictureBytes) {
    // A wide picture after a tall one: the old extent is dropped.
    plan.memoryWidth = neededWidth;
    plan.memoryHeight = neededHeight;
  }
  return plan;
}

}  // namespace player
