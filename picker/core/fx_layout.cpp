// The effects panel's layout; see fx_layout.h.
#include "core/fx_layout.h"

#include <algorithm>

namespace picker {

namespace {

constexpr int32_t kLeft = 12;
constexpr int32_t kBarTop = 20;
constexpr int32_t kBandGap = 2;

Size BoxSize(const Size& text, const Size& checkImage) {
  return {text.width + checkImage.width + 3, std::max(text.height, checkImage.height)};
}

}  // namespace

FxLayout LayOutFxPanel(const FxLayoutInput& input) {
  FxLayout layout;
  const int32_t w = input.track.width;
  const int32_t h = input.track.height;
  int32_t labelHeight = 0;
  int32_t widestLabel = 0;
  for (const Size& label : input.labels) {
    widestLabel = std::max(widestLabel, label.width);
    labelHeight = std::max(labelHeight, label.height);
  }
  layout.column = std::max(widestLabel, w);
  const int32_t k = layout.column;

  int32_t x = kLeft;
  for (size_t i = 0; i < kFxBandCount; ++i) {
    layout.bars[i] = {x + (k - w) / 2, kBarTop, w, h};
    const Size& label = input.labels[i];
    layout.labels[i] = {x + (k - label.width) / 2, h + 22, label.width, label.height};
    x += k + kBandGap;
  }

  const Size onOff = BoxSize(input.boxTexts[0], input.checkImage);
  const Size reset = BoxSize(input.boxTexts[1], input.checkImage);
  layout.boxes[0] = {x, kBarTop, onOff.width, onOff.height};
  layout.boxes[1] = {x, kBarTop + h - onOff.height, reset.width, onOff.height};
  const int32_t g = x + std::max(onOff.width, reset.width) + 6;
  layout.group = {2, 2, g, h + labelHeight + 26};
  layout.clientWidth = g + 4;

  int32_t y = h + labelHeight + 32;
  int32_t right = kLeft;
  for (size_t i = 2; i < kFxBoxCount; ++i) {
    const Size size = BoxSize(input.boxTexts[i], input.checkImage);
    layout.boxes[i] = {kLeft, y, size.width, size.height};
    right = std::max(right, kLeft + size.width + 4);
    y += size.height + 2;
  }
  const Box& last = layout.boxes[kFxBoxCount - 1];
  layout.clientHeight = last.y + last.height + 4;

  if (input.hasHelpButton) {
    const Box& first = layout.boxes[2];
    const Size& button = input.helpButton;
    layout.help = {right + std::max(0, (g - right - button.width) / 2),
                   first.y + std::max(0, (layout.clientHeight - 4 - first.y - button.height) / 2),
                   button.width, button.height};
  }

  const int32_t framedWidth = layout.clientWidth + input.frame.left + input.frame.right;
  const int32_t framedHeight = layout.clientHeight + input.frame.caption + input.frame.bottom;
  int32_t fx = std::max(0, input.pane.x + input.pane.width - framedWidth);
  int32_t fy = std::max(0, input.pane.y - (framedHeight + 2));
  const Box& work = input.workArea;
  fx = std::max(work.x, std::min(fx, work.x + work.width - framedWidth));
  fy = std::max(work.y, std::min(fy, work.y + work.height - framedHeight));
  layout.frame = {fx, fy};
  return layout;
}

}  // namespace picker
