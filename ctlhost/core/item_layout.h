// Geometry and ordering rules of hosted items: the resize style (which
// edges keep their distance from the parent's far sides), and the re-sorts
// of tab and z indexes when one item's index is set.  The item classes
// (items.cpp) apply the results to windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ctlhost {

struct ItemRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const ItemRect&) const = default;
};

// ResizeStyle bits.
inline constexpr int32_t kKeepLeftFromRight = 0x0001;
inline constexpr int32_t kKeepRightFromRight = 0x0010;
inline constexpr int32_t kKeepTopFromBottom = 0x0100;
inline constexpr int32_t kKeepBottomFromBottom = 0x1000;

// The four distances of an item: left edge to the parent's right side, top
// edge to the parent's bottom, right edge to the parent's right side, bottom
// edge to the parent's bottom.
struct ResizeDistances {
  int32_t leftFromRight = 0, topFromBottom = 0, rightFromRight = 0, bottomFromBottom = 0;
  bool operator==(const ResizeDistances&) const = default;
};

// Takes the distance of each edge whose bit is set; the others keep theirs.
ResizeDistances CaptureResizeDistances(int32_t style, const ItemRect& parentClient,
                                       const ItemRect& item, ResizeDistances kept);
// The item's new rectangle after the parent became `parentClient`; false
// when no bit is set (nothing moves).
bool ApplyResizeStyle(int32_t style, const ItemRect& parentClient, const ItemRect& item,
                      const ResizeDistances& distances, ItemRect* moved);

// Tab indexes (-1 = out of the tab order) of a container's items in list
// order after item `which` is given `order`: the other items in the order
// are renumbered 0..n-1 by their old index (equal indexes keep list order),
// `which` is put at min(order, n) and the items from there on move up one.
// An order below -1 counts as -1.
std::vector<int32_t> ResortTabOrder(std::vector<int32_t> indexes, size_t which, int32_t order);

// Z indexes after item `which` is given `order`: every other item is
// renumbered 0..n-1 by its old index, `which` is clamped to 0..n and the
// items from there on move up one.
std::vector<int32_t> ResortZOrder(std::vector<int32_t> indexes, size_t which, int32_t order);

// The tab index Tab (forward) or Shift+Tab moves to from `current`, among
// the items' indexes (-1 = out of the tab order): the next larger index in
// use, wrapping to the smallest; backward the next smaller, wrapping to the
// largest.  Gaps left by destroyed items are stepped over.  -1 when current
// is -1 or no item is in the tab order.
int32_t NextTabIndex(const std::vector<int32_t>& indexes, int32_t current, bool forward);

inline constexpr int32_t kZOrderTop = 0x7FFFFFFF;
enum class Restack { kNone, kBottom, kTop };
// Whether a requested z order moves the item's window among its siblings.
Restack RestackForZOrder(int32_t requested);

}  // namespace ctlhost
