#include "core/caption_layout.h"

#include "core/frame_rules.h"

namespace skinning {

namespace {

const CaptionButtonSpec kAllButtons[] = {
    {6, frameflag::kClose, 'r', 32196},     {5, frameflag::kMaximize, '2', 32195},
    {4, frameflag::kMaximize, '1', 32194},  {3, frameflag::kMinimize, '0', 32193},
    {2, frameflag::kSecondRow, 'u', 32192}, {1, frameflag::kSecondRow, 't', 32191},
};

}  // namespace

std::vector<CaptionButtonSpec> CaptionButtonsFor(uint32_t frameFlags) {
  std::vector<CaptionButtonSpec> buttons;
  for (const CaptionButtonSpec& spec : kAllButtons) {
    if (frameFlags & spec.neededFlag) buttons.push_back(spec);
  }
  return buttons;
}

int32_t CaptionButtonControlId(int32_t button, uint32_t frameFlags) {
  switch (button) {
    case kCloseButton:
      return 32196;
    case kRestoreButton:
      return (frameFlags & frameflag::kMaximize) ? 32195 : 0;
    case kMaximizeButton:
      return (frameFlags & frameflag::kMaximize) ? 32194 : 0;
    case kMinimizeButton:
      return (frameFlags & frameflag::kMinimize) ? 32193 : 0;
    default:
      return 0;
  }
}

std::vector<ButtonBox> CaptionButtonBoxes(int32_t windowWidth, uint32_t frameFlags, uint32_t state,
                                          const SkinMetrics& metrics) {
  std::vector<ButtonBox> boxes;
  const int32_t w = metrics.buttonWidth;
  const int32_t h = metrics.buttonHeight;
  const int32_t y = metrics.buttonTop;
  int32_t x = windowWidth - metrics.buttonsRight + 1;
  auto next = [&](int32_t button) {
    x -= w + 1;
    boxes.push_back({button, Rect{x, y, x + w, y + h}});
  };
  next(kCloseButton);
  if (frameFlags & frameflag::kMaximize) {
    next(state == kMaximizedByCaption ? kRestoreButton : kMaximizeButton);
  }
  if (frameFlags & frameflag::kMinimize) next(kMinimizeButton);
  return boxes;
}

int32_t CaptionButtonAt(int32_t x, int32_t y, int32_t windowWidth, uint32_t frameFlags,
                        uint32_t state, const SkinMetrics& metrics) {
  if (y > metrics.captionBand) return kNoButton;
  for (const ButtonBox& box : CaptionButtonBoxes(windowWidth, frameFlags, state, metrics)) {
    if (box.box.contains(x, y)) return box.button;
  }
  return kNoButton;
}

TitleLayout LayOutTitle(std::string_view title, int32_t windowWidth, int32_t leftPieceWidth,
                        int32_t rightPieceWidth, int32_t middleHeight, int32_t ledFrameWidth,
                        const SkinMetrics& metrics) {
  TitleLayout layout;
  layout.box = {metrics.titleX, metrics.titleY,
                windowWidth + metrics.titleX - leftPieceWidth - rightPieceWidth - ledFrameWidth - 8,
                middleHeight + metrics.titleY};
  if (!title.empty() && title.front() == '%') {
    layout.text = std::string(title.substr(1));
    layout.isCentred = true;
  } else {
    layout.text = std::string(title);
  }
  return layout;
}

int32_t LedFrame(bool hasLedImage, bool isActive, bool hasSystemMenu) {
  if (!hasLedImage || !hasSystemMenu) return 0;
  return isActive ? 2 : 1;
}

Rect LedBox(int32_t windowWidth, int32_t leftPieceWidth, int32_t rightPieceWidth,
            int32_t ledFrameWidth, int32_t ledHeight, const SkinMetrics& metrics) {
  const int32_t x = windowWidth - rightPieceWidth - ledFrameWidth - metrics.titleX + leftPieceWidth;
  return {x, metrics.ledY, x + ledFrameWidth, metrics.ledY + ledHeight};
}

std::string ListField(std::string_view list, size_t n) {
  if (n == 0) return std::string();
  size_t start = 0;
  for (size_t field = 1; field < n; ++field) {
    const size_t bar = list.find('|', start);
    if (bar == std::string_view::npos) return std::string();
    start = bar + 1;
  }
  const size_t end = list.find('|', start);
  return std::string(list.substr(start, end == std::string_view::npos ? list.size() - start : end - start));
}

std::vector<CaptionTip> CaptionTips(std::string_view tipsText, int32_t windowWidth,
                                    uint32_t frameFlags, uint32_t state, bool hasMenuBar,
                                    const SkinMetrics& metrics) {
  std::vector<CaptionTip> tips;
  if (tipsText.empty()) return tips;
  const int32_t w = metrics.buttonWidth;
  const int32_t h = metrics.buttonHeight;
  int32_t y = metrics.buttonTop + 1 - metrics.captionBand;
  if (hasMenuBar) y -= metrics.menuBar;
  int32_t x = windowWidth - metrics.buttonsRight + 1 - metrics.leftFrame;
  auto add = [&](int32_t toolId, size_t field) {
    x -= w + 1;
    std::string text = ListField(tipsText, field);
    if (text.size() > kMaxTipBytes) text.resize(kMaxTipBytes);
    tips.push_back({toolId, Rect{x, y, x + w, y + h}, text});
  };
  add(6, 6);
  if (frameFlags & frameflag::kMaximize) add(4, state == kMaximizedByCaption ? 5 : 4);
  if (frameFlags & frameflag::kMinimize) add(3, 3);
  return tips;
}

HoverResult TrackHover(const HoverInput& input) {
  HoverResult result;
  result.lastWindowHot = input.lastWindowHot;
  result.hot = input.hot;
  // The window hovered before loses its hot button (its own, not this one's).
  if (input.lastIsOtherWindow && result.lastWindowHot != kNoButton) {
    result.redraws.push_back({true, result.lastWindowHot, kButtonNormal});
    result.lastWindowHot = kNoButton;
  }
  if (result.hot != kNoButton && result.hot != input.under) {
    result.redraws.push_back({false, result.hot, kButtonNormal});
    result.hot = kNoButton;
  }
  if (result.hot != input.under) {
    result.hot = input.under;
    if (input.under != kNoButton) {
      result.redraws.push_back(
          {false, input.under, input.under == input.pressed ? kButtonPressed : kButtonHot});
    }
  }
  return result;
}

}  // namespace skinning
