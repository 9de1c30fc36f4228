#include "core/window_tree.h"

namespace skinning {

namespace {

// Deeper than any window tree the system allows.
constexpr int kMaxDepth = 4096;

}  // namespace

WindowId TopLevelOwner(const WindowTree& tree, WindowId window) {
  WindowId w = window;
  for (int depth = 0; w != 0 && depth < kMaxDepth; ++depth) {
    const WindowId parent = tree.ParentOf(w);
    if (parent == 0) return w;
    if (tree.IsPopup(parent)) return parent;
    w = parent;
  }
  return 0;
}

}  // namespace skinning
