// The top-level owner of a window, over the window tree as an interface so
// that it can be walked in memory in tests.  Every other part of the library
// finds a control's skinned window this way.
#pragma once

#include <cstdint>

namespace skinning {

using WindowId = uintptr_t;

class WindowTree {
 public:
  virtual ~WindowTree() = default;
  // GetParent: the parent of a child, the owner of an owned top-level
  // window, 0 for none.
  virtual WindowId ParentOf(WindowId window) const = 0;
  // The style has WS_POPUP.
  virtual bool IsPopup(WindowId window) const = 0;
};

// 0 for 0.  Otherwise up the parents until one has none (that window is the
// result) or is a popup (the popup is the result).  A tree that loops gives
// 0 after a bounded walk.
WindowId TopLevelOwner(const WindowTree& tree, WindowId window);

}  // namespace skinning
