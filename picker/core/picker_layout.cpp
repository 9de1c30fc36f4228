// The picker's layout and Tab order; see picker_layout.h.
#include "core/picker_layout.h"

#include <algorithm>

namespace picker {

namespace {

constexpr int32_t kMargin = 10;
constexpr int32_t kColumnWidth = 184;
constexpr int32_t kListHeight = 164;
constexpr int32_t kTop = 24;
constexpr int32_t kFilterY = 210;
constexpr int32_t kFilterHeight = 104;  // with its drop-down list
constexpr int32_t kClientHeight = 246;
constexpr int32_t kFieldHeight = 24;
constexpr int32_t kButtonHeight = 20;
constexpr int32_t kButtonStep = 25;
constexpr int32_t kButtonPadding = 40;

}  // namespace

PickerLayout LayOutPicker(const PickerLayoutInput& input) {
  PickerLayout layout;
  layout.isCompact = input.mode == 0 && !input.hasTreeLabel && !input.hasFieldLabel;
  const int32_t secondColumn = kMargin + kColumnWidth + kMargin;  // 204
  const int32_t thirdColumn = secondColumn + kColumnWidth + kMargin;  // 398
  layout.tree = {kMargin, kTop, kColumnWidth, kListHeight};
  const int32_t listX = layout.isCompact ? kMargin : secondColumn;
  layout.list = {listX, kTop, kColumnWidth, kListHeight};
  layout.listLabelX = listX + 3;
  layout.filter = {kMargin, kFilterY, kColumnWidth, kFilterHeight};
  layout.buttonX = layout.isCompact ? secondColumn : thirdColumn;
  layout.buttonWidth = input.widestCaption + kButtonPadding;
  layout.clientWidth = layout.buttonX + layout.buttonWidth + kMargin;
  layout.clientHeight = kClientHeight;
  layout.hasFieldRow = !layout.isCompact;
  if (layout.hasFieldRow) {
    const int32_t fieldWidth = layout.buttonX + layout.buttonWidth - secondColumn + 1;
    layout.fieldFrame = {secondColumn, kFilterY, fieldWidth, kFieldHeight};
    layout.edit = {secondColumn + 3, kFilterY + 5, fieldWidth - 6, 15};
    layout.pathDisplay = {secondColumn + 4, kFilterY + 4, fieldWidth - 7, 16};
  }
  return layout;
}

Box ButtonBox(const PickerLayout& layout, int32_t k) {
  return {layout.buttonX, kTop + kButtonStep * (k - 1), layout.buttonWidth, kButtonHeight};
}

Point PlaceCentred(const Box& owner, int32_t framedWidth, int32_t framedHeight,
                   int32_t screenWidth, int32_t screenHeight) {
  Point at;
  at.x = std::max(0, owner.x + (owner.width - framedWidth) / 2);
  at.x = std::min(at.x, screenWidth - framedWidth);
  at.y = std::max(0, owner.y + (owner.height - framedHeight) / 2);
  at.y = std::min(at.y, screenHeight - framedHeight);
  return at;
}

int32_t NextTabStop(int32_t position, int32_t count, bool backwards) {
  if (count <= 0) return 0;
  if (position <= 0 || position > count) position = count;
  if (backwards) return position == 1 ? count : position - 1;
  return position == count ? 1 : position + 1;
}

}  // namespace picker
