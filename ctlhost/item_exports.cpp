// The exports that read and change a hosted item: name, tab and z order,
// resize style, flags, accelerator, visibility, named properties, position,
// parent, window, focus, and the default and escape buttons.  Each takes
// the API lock and resolves the item's ControlRef first.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "container.h"
#include "core/item_layout.h"
#include "ctlhost20.h"
#include "items.h"
#include "library.h"

using namespace ctlhost;

namespace {

// The indexes of a container's items in list order, and where `item` is.
std::vector<int32_t> IndexesOf(const std::vector<Item*>& items, bool tab) {
  std::vector<int32_t> indexes;
  for (Item* item : items) indexes.push_back(tab ? item->tabIndex : item->zIndex);
  return indexes;
}

size_t PositionOf(const std::vector<Item*>& items, Item* item) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == item) return i;
  }
  return items.size();
}

// A caller's text buffer has no size: the media player passes 256 bytes, so
// a name or accelerator is copied to at most 255 characters.
constexpr size_t kCallerBufferChars = 255;

void CopyOut(const std::string& text, char* out) {
  const size_t length = std::min(text.size(), kCallerBufferChars);
  std::memcpy(out, text.data(), length);
  out[length] = '\0';
}

}  // namespace

extern "C" int WINAPI QXGetControlName(INT_PTR value, int kind, char* out) {
  ApiLock lock;
  if (out != nullptr) out[0] = '\0';
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr || out == nullptr) return 1;
  CopyOut(item->name, out);
  return 0;
}

extern "C" int WINAPI QXSetControlTabOrder(INT_PTR value, int kind, int order) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  if (Container* container = item->container()) {
    const std::vector<Item*> items = container->Items();
    const std::vector<int32_t> indexes = ResortTabOrder(IndexesOf(items, true), PositionOf(items, item), order);
    for (size_t i = 0; i < items.size(); ++i) items[i]->tabIndex = indexes[i];
  } else {
    item->tabIndex = order < -1 ? -1 : order;
  }
  return 0;
}

extern "C" int WINAPI QXGetControlTabOrder(INT_PTR value, int kind, int* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  *out = item != nullptr ? item->tabIndex : -1;
  return item != nullptr ? 0 : 2;
}

extern "C" int WINAPI QXSetControlZOrder(INT_PTR value, int kind, int order) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  Container* container = item->container();
  if (container == nullptr) {
    item->zIndex = order;
    return 0;
  }
  const std::vector<Item*> items = container->Items();
  const std::vector<int32_t> indexes = ResortZOrder(IndexesOf(items, false), PositionOf(items, item), order);
  for (size_t i = 0; i < items.size(); ++i) items[i]->zIndex = indexes[i];
  if (HWND window = item->GetWindow()) {
    const Restack restack = RestackForZOrder(order);
    if (restack != Restack::kNone) {
      SetWindowPos(window, restack == Restack::kTop ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
  }
  container->InvalidateArea(nullptr, TRUE);
  return 0;
}

extern "C" int WINAPI QXGetControlZOrder(INT_PTR value, int kind, int* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  *out = item != nullptr ? item->zIndex : -1;
  return item != nullptr ? 0 : 2;
}

extern "C" int WINAPI QXOpenControlPropertyPage(INT_PTR value, int kind) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  return item->OpenPropertyPage() == 0 ? 0 : 2;
}

extern "C" int WINAPI QXSetControlResizeStyle(INT_PTR value, int kind, int style) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  return item->SetResizeStyle(style) == 0 ? 0 : 2;
}

extern "C" int WINAPI QXGetControlResizeStyle(INT_PTR value, int kind, int* out) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  if (out == nullptr) return 2;
  *out = item->resizeStyle;
  return 0;
}

extern "C" int WINAPI QXSetLabeledControl(INT_PTR value, int kind, INT_PTR value2, int kind2) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  item->labelledItem = ResolveControlRef(value2, kind2);
  return 0;
}

extern "C" int WINAPI QXSetFocus(INT_PTR value, int kind) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  const int killed = item->KillFocus();
  const int set = item->SetFocus();
  return killed == 0 && set == 0 ? 0 : 4;
}

extern "C" int WINAPI QXSetControlFlags(INT_PTR value, int kind, int flags) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  item->flags = flags;
  item->flagsSet = 1;
  return 0;
}

extern "C" int WINAPI QXGetControlFlags(INT_PTR value, int kind, int* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  *out = item != nullptr ? item->flags : 0;
  return item != nullptr ? 0 : 2;
}

extern "C" int WINAPI QXSetControlAccelerator(INT_PTR value, int kind, char* text) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  item->accelerator.clear();
  item->hasAccelerator = false;
  if (text == nullptr) return 0;
  try {
    item->accelerator = text;
  } catch (const std::bad_alloc&) {
    return 4;
  }
  item->hasAccelerator = true;
  return 0;
}

extern "C" int WINAPI QXGetControlAccelerator(INT_PTR value, int kind, char* out) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  if (out == nullptr) return 4;
  CopyOut(item->accelerator, out);
  return 0;
}

extern "C" int WINAPI QXSetControlVisible(INT_PTR value, int kind, short visible) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  item->SetVisible(visible, TRUE);
  return 0;
}

extern "C" int WINAPI QXGetControlVisible(INT_PTR value, int kind, short* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 2;
  *out = item->visible;
  return 0;
}

// A null name or value is a required argument missing (1), not a name to
// compare.
extern "C" int WINAPI QXSetControlNamedProperty(INT_PTR value, int kind, char* name, VARIANT* v) {
  ApiLock lock;
  if (name == nullptr || v == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  return item->SetNamedValue(name, v);
}

extern "C" int WINAPI QXGetControlNamedProperty(INT_PTR value, int kind, char* name, VARIANT* out) {
  ApiLock lock;
  if (name == nullptr || out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  return item->GetNamedValue(name, out);
}

extern "C" int WINAPI QXSetControlPosition(INT_PTR value, int kind, int x, int y, int cx, int cy) {
  ApiLock lock;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  const RECT rect = {x, y, x + cx, y + cy};
  return item->SetRect(&rect, TRUE) == 0 ? 0 : 4;
}

// Every out pointer must be given; only then are they zeroed and filled.
extern "C" int WINAPI QXGetControlPosition(INT_PTR value, int kind, int* x, int* y, int* cx, int* cy) {
  ApiLock lock;
  if (x == nullptr || y == nullptr || cx == nullptr || cy == nullptr) return 1;
  *x = *y = *cx = *cy = 0;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  RECT rect;
  if (item->GetRect(&rect) != 0) return 4;
  *x = rect.left;
  *y = rect.top;
  *cx = rect.right - rect.left;
  *cy = rect.bottom - rect.top;
  return 0;
}

extern "C" int WINAPI QXGetControlParent(INT_PTR value, int kind, HWND* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 2;
  if (item->container() == nullptr) return 3;
  *out = item->container()->parent;
  return 0;
}

extern "C" int WINAPI QXGetControlWindow(INT_PTR value, int kind, HWND* out) {
  ApiLock lock;
  if (out == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 1;
  *out = item->GetWindow();
  return 0;
}

namespace {
int SetButtonRole(HWND parent, INT_PTR value, int kind, bool isDefault) {
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 1;
  Item* item = ResolveControlRef(value, kind);
  if (item == nullptr) return 2;
  // A refused item still ends the old button's role.
  return (isDefault ? container->SetDefaultButton(item) : container->SetEscButton(item)) == 0 ? 0 : 3;
}
}  // namespace

extern "C" int WINAPI QXSetDefaultButton(HWND parent, INT_PTR value, int kind) {
  ApiLock lock;
  return SetButtonRole(parent, value, kind, true);
}

extern "C" int WINAPI QXSetEscButton(HWND parent, INT_PTR value, int kind) {
  ApiLock lock;
  return SetButtonRole(parent, value, kind, false);
}
