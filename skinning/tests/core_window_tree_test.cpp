// TopLevelOwner over window trees held in memory.
#include <gtest/gtest.h>

#include <map>

#include "core/window_tree.h"

namespace skinning {
namespace {

class MemoryTree : public WindowTree {
 public:
  void Add(WindowId window, WindowId parent, bool isPopup) { windows_[window] = {parent, isPopup}; }
  WindowId ParentOf(WindowId window) const override {
    auto found = windows_.find(window);
    return found != windows_.end() ? found->second.parent : 0;
  }
  bool IsPopup(WindowId window) const override {
    auto found = windows_.find(window);
    return found != windows_.end() && found->second.isPopup;
  }

 private:
  struct Node {
    WindowId parent;
    bool isPopup;
  };
  std::map<WindowId, Node> windows_;
};

TEST(WindowTree, TopLevelOwner) {
  MemoryTree tree;
  tree.Add(1, 0, true);     // a skinned popup
  tree.Add(2, 1, false);    // its dialog child
  tree.Add(3, 2, false);    // a button in the dialog
  tree.Add(10, 0, false);   // an overlapped top-level window
  tree.Add(11, 10, false);  // its child
  tree.Add(20, 1, true);    // a popup owned by the skinned popup
  tree.Add(21, 20, false);  // a child of that popup
  tree.Add(30, 31, false);  // a loop
  tree.Add(31, 30, false);
  const struct {
    WindowId window, expected;
  } cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 1}, {10, 10}, {11, 10}, {20, 1}, {21, 20}, {30, 0}, {99, 99}};
  for (const auto& c : cases) EXPECT_EQ(c.expected, TopLevelOwner(tree, c.window)) << c.window;
}

}  // namespace
}  // namespace skinning
