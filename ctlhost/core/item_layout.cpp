// Resize styles and tab/z re-sorts; see item_layout.h.
#include "core/item_layout.h"

#include <algorithm>

namespace ctlhost {

ResizeDistances CaptureResizeDistances(int32_t style, const ItemRect& parentClient,
                                       const ItemRect& item, ResizeDistances kept) {
  const int32_t width = parentClient.right - parentClient.left;
  const int32_t height = parentClient.bottom - parentClient.top;
  if (style & kKeepLeftFromRight) kept.leftFromRight = width - item.left;
  if (style & kKeepRightFromRight) kept.rightFromRight = width - item.right;
  if (style & kKeepTopFromBottom) kept.topFromBottom = height - item.top;
  if (style & kKeepBottomFromBottom) kept.bottomFromBottom = height - item.bottom;
  return kept;
}

bool ApplyResizeStyle(int32_t style, const ItemRect& parentClient, const ItemRect& item,
                      const ResizeDistances& distances, ItemRect* moved) {
  const int32_t anyBit =
      kKeepLeftFromRight | kKeepRightFromRight | kKeepTopFromBottom | kKeepBottomFromBottom;
  *moved = item;
  if ((style & anyBit) == 0) return false;
  const ItemRect& p = parentClient;
  if (style & kKeepLeftFromRight) moved->left = p.right - distances.leftFromRight - p.left;
  if (style & kKeepRightFromRight) moved->right = p.right - distances.rightFromRight - p.left;
  if (style & kKeepTopFromBottom) moved->top = p.bottom - distances.topFromBottom - p.top;
  if (style & kKeepBottomFromBottom) moved->bottom = p.bottom - distances.bottomFromBottom - p.top;
  return true;
}

namespace {

// The positions of `members` sorted by their index, ascending; a bubble sort
// that swaps only on strictly greater, so equal indexes keep list order.
std::vector<size_t> SortedByIndex(const std::vector<int32_t>& indexes, std::vector<size_t> members) {
  for (size_t pass = 0; pass + 1 < members.size(); ++pass) {
    for (size_t i = 0; i + 1 < members.size() - pass; ++i) {
      if (indexes[members[i]] > indexes[members[i + 1]]) std::swap(members[i], members[i + 1]);
    }
  }
  return members;
}

// Renumbers the sorted members 0..n-1, places `which` at `position` and
// moves the members from there on up one.
void PlaceAmong(std::vector<int32_t>& indexes, const std::vector<size_t>& sorted, size_t which,
                int32_t position) {
  for (size_t rank = 0; rank < sorted.size(); ++rank) indexes[sorted[rank]] = static_cast<int32_t>(rank);
  const int32_t n = static_cast<int32_t>(sorted.size());
  position = std::clamp(position, 0, n);
  indexes[which] = position;
  for (int32_t rank = position; rank < n; ++rank) indexes[sorted[rank]] += 1;
}

}  // namespace

std::vector<int32_t> ResortTabOrder(std::vector<int32_t> indexes, size_t which, int32_t order) {
  if (which >= indexes.size()) return indexes;
  if (order < -1) order = -1;
  indexes[which] = order;
  std::vector<size_t> others;
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (i != which && indexes[i] != -1) others.push_back(i);
  }
  const std::vector<size_t> sorted = SortedByIndex(indexes, others);
  if (order == -1) {
    for (size_t rank = 0; rank < sorted.size(); ++rank) indexes[sorted[rank]] = static_cast<int32_t>(rank);
    return indexes;
  }
  PlaceAmong(indexes, sorted, which, order);
  return indexes;
}

std::vector<int32_t> ResortZOrder(std::vector<int32_t> indexes, size_t which, int32_t order) {
  if (which >= indexes.size()) return indexes;
  indexes[which] = order;
  std::vector<size_t> others;
  for (size_t i = 0; i < indexes.size(); ++i) {
    if (i != which) others.push_back(i);
  }
  PlaceAmong(indexes, SortedByIndex(indexes, others), which, order);
  return indexes;
}

Restack RestackForZOrder(int32_t requested) {
  if (requested == 0) return Restack::kBottom;
  if (requested == kZOrderTop) return Restack::kTop;
  return Restack::kNone;
}

int32_t NextTabIndex(const std::vector<int32_t>& indexes, int32_t current, bool forward) {
  if (current == -1) return -1;
  bool any = false, stepped = false;
  int32_t step = 0, wrap = 0;
  for (int32_t index : indexes) {
    if (index == -1) continue;
    if (!any || (forward ? index < wrap : index > wrap)) wrap = index;
    any = true;
    const bool beyond = forward ? index > current : index < current;
    if (beyond && (!stepped || (forward ? index < step : index > step))) {
      step = index;
      stepped = true;
    }
  }
  if (!any) return -1;
  return stepped ? step : wrap;
}

}  // namespace ctlhost
