// The button row of the small list boxes and the list-file box's answers.
#include "core/pick_box_rules.h"

#include <algorithm>

namespace browser {

namespace {

// CBN_DBLCLK: a double click in the list confirms like the first button.
constexpr int32_t kListDoubleClick = 2;
constexpr int32_t kListId = 1;
// A path holds at most 259 bytes before its terminating zero.
constexpr int64_t kMaxPathBytes = 260;

}  // namespace

PickBoxLayout LayOutPickBox(int32_t buttonCount, int32_t widestTextWidth, int32_t spaceWidth,
                            int32_t textHeight) {
  PickBoxLayout layout;
  const int32_t count = std::max(buttonCount, 0);
  layout.buttonWidth = 2 * std::max(spaceWidth, 0) + std::max(widestTextWidth, 0) + 6;
  layout.buttonHeight = std::max(textHeight, 0) + 6;
  const int32_t total = count == 0 ? 0 : count * layout.buttonWidth + 4 * (count - 1);
  layout.innerWidth = std::max(total, kPickBoxMinWidth);
  int32_t left = (layout.innerWidth - total) / 2;
  for (int32_t i = 0; i < count; ++i) {
    layout.buttonLeft.push_back(left);
    left += layout.buttonWidth + 4;
  }
  return layout;
}

int32_t ListNameLimit(size_t userFolderLength, size_t extensionLength) {
  int64_t room = kMaxPathBytes - static_cast<int64_t>(std::min<size_t>(userFolderLength, kMaxPathBytes)) -
                 static_cast<int64_t>(std::min<size_t>(extensionLength, kMaxPathBytes));
  return static_cast<int32_t>(std::max<int64_t>(room, 1));
}

PickFileAnswer PickFileCommand(int32_t id, int32_t code, bool saveMode, const std::string& listText,
                               int32_t frameCloseId) {
  if (id == kListId) {
    if (code == kListDoubleClick) return {true, listText, PICKFILE_CONFIRM};
    return {};
  }
  if (id == kPickBoxFirstButtonId) return {true, listText, PICKFILE_CONFIRM};
  if (id == kPickBoxFirstButtonId + 1) return {true, saveMode ? std::string() : listText, PICKFILE_SECOND};
  if (id == kPickBoxFirstButtonId + 2) return {true, std::string(), PICKFILE_CANCEL};
  if (id == frameCloseId) return {true, std::string(), PICKFILE_NONE};
  return {};
}

}  // namespace browser
