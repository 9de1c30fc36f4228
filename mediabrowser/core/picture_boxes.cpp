// Layouts and values of the picture-type and new-size boxes (see
// picture_boxes.h).
#include "picture_boxes.h"

#include <algorithm>

#include "batch_rules.h"
#include "core/item_list.h"
#include "core/text_rules.h"

namespace browser {

namespace {

constexpr int32_t kComboBoxMinWidth = 330;
constexpr int32_t kComboBoxHeight = 227;
constexpr int32_t kComboHeight = 194;
constexpr int32_t kButtonRowY = 203;
constexpr int32_t kButtonGap = 4;

constexpr int32_t kNewSizeHeight = 138;
constexpr int32_t kNewSizeButtonHeight = 22;
constexpr int32_t kNewSizeButtonStep = 25;
constexpr int32_t kNewSizeMargin = 5;
constexpr int32_t kIconSide = 32;

}  // namespace

ComboBoxLayout LayoutComboBox(int32_t widestCaption, int32_t spaceWidth, int32_t textHeight, int32_t buttonCount) {
  ComboBoxLayout layout;
  const int32_t count = std::max(buttonCount, 0);
  const int32_t width = 2 * spaceWidth + widestCaption + 6;
  const int32_t height = textHeight + 6;
  const int32_t total = count * width + kButtonGap * std::max(count - 1, 0);
  layout.innerWidth = std::max(total, kComboBoxMinWidth);
  layout.innerHeight = kComboBoxHeight;
  layout.combo = {4, 4, layout.innerWidth - 8, kComboHeight};
  int32_t x = (layout.innerWidth - total) / 2;
  for (int32_t i = 0; i < count; ++i) {
    layout.buttons.push_back({x, kButtonRowY, width, height});
    x += width + kButtonGap;
  }
  return layout;
}

std::vector<PictureTypeEntry> ParsePictureTypeList(const std::string& list) {
  std::vector<PictureTypeEntry> entries;
  if (list.empty()) return entries;
  std::vector<std::string> fields = suite::SplitItemList(list);
  for (size_t i = 0; i < fields.size(); i += 2) {
    entries.push_back({fields[i], i + 1 < fields.size() ? fields[i + 1] : std::string()});
  }
  return entries;
}

std::string PictureTypeLine(const std::string& display) {
  size_t dash = display.find(" - ");
  return suite::UpperAscii(dash == std::string::npos ? display : display.substr(dash + 3));
}

NewSizeLayout LayoutNewSizeBox(int32_t widestCaption, int32_t buttonCount) {
  NewSizeLayout layout;
  const int32_t bw = widestCaption + 40;
  layout.innerWidth = 2 * bw + 15;
  layout.innerHeight = kNewSizeHeight;
  int32_t y = kNewSizeMargin;
  for (int32_t i = 0; i < std::max(buttonCount, 0); ++i) {
    layout.buttons.push_back({bw + 10, y, bw, kNewSizeButtonHeight});
    y += kNewSizeButtonStep;
  }
  const int32_t lastBottom = layout.buttons.empty() ? 0 : layout.buttons.back().y + kNewSizeButtonHeight;
  layout.icon = {(bw + 10 - kIconSide) / 2, 12, kIconSide, kIconSide};
  layout.checkBox = {kNewSizeMargin, lastBottom + 10, 2 * bw, 20};
  const int32_t labelY = layout.innerHeight - 44;
  const int32_t fieldY = layout.innerHeight - 27;
  layout.widthLabel = {7, labelY, bw, 17};
  layout.heightLabel = {bw + 12, labelY, bw, 17};
  layout.widthField = {kNewSizeMargin, fieldY, bw, kNewSizeButtonHeight};
  layout.heightField = {bw + 10, fieldY, bw, kNewSizeButtonHeight};
  return layout;
}

int32_t NewSizeFieldValue(const std::string& text) {
  return std::clamp(suite::LeadingNumber(text), kSmallestSide, kLargestSide);
}

}  // namespace browser
