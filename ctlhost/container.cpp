// Containers: one per parent window that the library was handed.  See
// container.h.  The parent procedure, the item procedures and the message
// hook run on the thread that owns the windows and take no API lock.
#include "container.h"

#include <new>

#include "core/mnemonics.h"
#include "items.h"
#include "library.h"

namespace ctlhost {

namespace {

// At most this many descendants are adopted when a container is made (the
// list's last slot ends it).
constexpr size_t kAdoptedWindowSlots = 512;

BOOL CALLBACK CollectChild(HWND window, LPARAM list) {
  auto* windows = reinterpret_cast<std::vector<HWND>*>(list);
  if (windows->size() + 1 >= kAdoptedWindowSlots) return FALSE;
  windows->push_back(window);
  return TRUE;
}

}  // namespace

Container::Container(HWND parentWindow)
    : parent(parentWindow), creatingThread(GetCurrentThreadId()), backColor(GetSysColor(COLOR_WINDOW)) {
  Library* library = CurrentLibrary();
  if (library != nullptr) library->containers.Add(this);
  previousProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Container::ParentProcedure)));
  SetWindowLongPtrA(parent, GWL_STYLE, GetWindowLongPtrA(parent, GWL_STYLE) | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
  frame = new (std::nothrow) Frame(this);
  if (library != nullptr) library->comThreads.EnsureCom();
  if (FAILED(CoCreateInstance(CLSID_StdFont, nullptr, CLSCTX_INPROC_SERVER, IID_IFont,
                              reinterpret_cast<void**>(&font)))) {
    font = nullptr;
  }
  std::vector<HWND> descendants;
  EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&descendants));
  for (HWND window : descendants) AdoptWindow(window);
}

Container::~Container() {
  DestroyItems();
  if (previousProcedure != nullptr && IsWindow(parent) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(parent, GWLP_WNDPROC)) == &Container::ParentProcedure) {
    SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure));
  }
  previousProcedure = nullptr;
  focusItem = uiActiveWindowless = captureItem = defaultButton = escButton = nullptr;
  if (frame != nullptr) {
    frame->DetachContainer();
    frame->Release();
    frame = nullptr;
  }
  if (font != nullptr) font->Release();
  font = nullptr;
  if (Library* library = CurrentLibrary()) library->containers.Remove(this);
}

void Container::AddItem(Item* item) { items_.Add(item); }

std::vector<Item*> Container::Items() const {
  std::vector<Item*> items;
  for (void* entry : items_.Entries()) items.push_back(static_cast<Item*>(entry));
  return items;
}

void Container::ForgetItem(Item* item) {
  items_.Remove(item);
  if (focusItem == item) focusItem = nullptr;
  if (uiActiveWindowless == item) uiActiveWindowless = nullptr;
  if (captureItem == item) captureItem = nullptr;
  if (defaultButton == item) defaultButton = nullptr;
  if (escButton == item) escButton = nullptr;
  for (Item* other : Items()) {
    if (other->labelledItem == item) other->labelledItem = nullptr;
  }
}

void Container::DestroyItems() {
  for (Item* item : Items()) delete item;
  items_.Clear();
}

int Container::AdoptWindow(HWND window) {
  if (activating) return 1;
  if (WindowItem::OfWindow(window) != nullptr) return 2;
  auto* item = new (std::nothrow) WindowItem(this);
  if (item == nullptr) return 3;
  item->SetWindow(window);
  item->OnAmbientPropertyChange(DISPID_AMBIENT_FONT);
  return 0;
}

void Container::SetFocusItem(Item* item) {
  if (item == focusItem) return;
  Item* old = focusItem;
  focusItem = item;
  if (old != nullptr && old != item) old->KillFocus();
  focusItem = item;
  if (item == nullptr) return;
  int newDefaultEnabled = 1, newEscapeEnabled = 1;
  if (item->ActsLikeButton()) {
    if (item != defaultButton) newDefaultEnabled = 0;
  } else {
    if (item->EatsReturn()) newDefaultEnabled = 0;
    if (item->EatsEscape()) newEscapeEnabled = 0;
  }
  defaultEnabled = newDefaultEnabled;
  escapeEnabled = newEscapeEnabled;
  if (defaultButton != nullptr) defaultButton->SetDefaultState(defaultEnabled);
}

int Container::SetDefaultButton(Item* item) {
  if (defaultButton != nullptr) defaultButton->SetDefaultState(0);
  defaultButton = nullptr;
  if (item == nullptr) return 0;
  if (!item->ActsLikeButton()) return 1;
  defaultButton = item;
  if (defaultEnabled) item->SetDefaultState(1);
  return 0;
}

int Container::SetEscButton(Item* item) {
  escButton = nullptr;
  if (item == nullptr) return 0;
  if (!item->ActsLikeButton()) return 1;
  escButton = item;
  return 0;
}

Item* Container::NextTabItem(bool forward) {
  if (focusItem == nullptr || focusItem->tabIndex == -1) return nullptr;
  const std::vector<Item*> items = Items();
  int count = 0;
  for (Item* item : items) count += item->tabIndex != -1;
  if (count == 0) return nullptr;
  const int current = focusItem->tabIndex;
  const int wanted = forward ? (current + 1) % count : (current + count - 1) % count;
  Item* found = nullptr;
  for (Item* item : items) {
    if (item->tabIndex == wanted) found = item;
  }
  return found;
}

int Container::TranslateKey(Item* item, MSG* message, int modifiers) {
  if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) return 1;
  switch (message->wParam) {
    case VK_TAB: {
      Item* next = NextTabItem(GetKeyState(VK_SHIFT) >= 0);
      if (next == nullptr) return 1;
      next->SetFocus();
      return 0;
    }
    case VK_RETURN:
      if (focusItem != nullptr && focusItem->EatsReturn()) return 1;
      if (defaultButton != nullptr && defaultEnabled) {
        defaultButton->DoMnemonic(message);
        return 0;
      }
      return 1;
    case VK_ESCAPE:
      if (focusItem != nullptr && focusItem->EatsEscape()) return 1;
      if (escButton != nullptr && escapeEnabled) {
        escButton->DoMnemonic(message);
        return 0;
      }
      return 1;
    default:
      break;
  }
  if (GetKeyState(VK_MENU) < 0) modifiers |= kModAlt;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= kModShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= kModCtrl;
  for (Item* candidate : Items()) {
    if (candidate->MatchMnemonic(message, modifiers) == 0) {
      candidate->DoMnemonic(message);
      return 0;
    }
  }
  return 1;
}

HRESULT Container::InvalidateItemRect(Item* item, const RECT* rect, BOOL erase) {
  RECT itemRect, clip, both;
  if (item == nullptr || item->GetRect(&itemRect) != 0) return E_FAIL;
  if (rect != nullptr) {
    clip = *rect;
  } else {
    GetClientRect(parent, &clip);
  }
  if (!IntersectRect(&both, &itemRect, &clip)) return E_FAIL;
  ::InvalidateRect(parent, &both, erase);
  return S_OK;
}

int Container::InvalidateArea(const RECT* rect, BOOL erase) {
  ::InvalidateRect(parent, rect, erase);
  const std::vector<Item*> items = Items();
  for (Item* item : items) {
    if (item->windowlessActive) continue;
    HWND window = item->GetWindow();
    if (window == nullptr) continue;
    if (rect == nullptr) {
      ::InvalidateRect(window, nullptr, erase);
      continue;
    }
    RECT itemRect, part;
    if (item->GetRect(&itemRect) != 0 || !IntersectRect(&part, &itemRect, rect)) continue;
    POINT corners[2] = {{part.left, part.top}, {part.right, part.bottom}};
    MapWindowPoints(parent, window, corners, 2);
    const RECT local = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    ::InvalidateRect(window, &local, erase);
  }
  return items.empty() ? 1 : 0;
}

void Container::ApplyResizeStyles() {
  for (Item* item : Items()) item->ApplyResizeStyle();
}

LRESULT Container::CallPrevious(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previousProcedure == nullptr) return DefWindowProcA(parent, message, wParam, lParam);
  return CallWindowProcA(previousProcedure, parent, message, wParam, lParam);
}

LRESULT CALLBACK Container::ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Container* container = FindOrMakeContainer(window, false);
  if (container == nullptr) return 0;
  switch (message) {
    case WM_DESTROY:
      container->DestroyItems();
      if (container->frame != nullptr) {
        container->frame->DetachContainer();
        container->frame->Release();
        container->frame = nullptr;
      }
      return container->CallPrevious(message, wParam, lParam);
    case WM_SIZE: {
      container->ApplyResizeStyles();
      return container->CallPrevious(message, wParam, lParam);
    }
    case WM_NCDESTROY: {
      const LRESULT result = container->CallPrevious(message, wParam, lParam);
      delete container;
      return result;
    }
    case WM_PARENTNOTIFY: {
      const LRESULT result = container->CallPrevious(message, wParam, lParam);
      if (LOWORD(wParam) == WM_CREATE) container->AdoptWindow(reinterpret_cast<HWND>(lParam));
      return result;
    }
    default:
      return container->CallPrevious(message, wParam, lParam);
  }
}

Container* FindOrMakeContainer(HWND parent, bool make) {
  Library* library = CurrentLibrary();
  if (library == nullptr || parent == nullptr) return nullptr;
  for (void* entry : library->containers.Entries()) {
    auto* container = static_cast<Container*>(entry);
    if (container->parent == parent) return container;
  }
  if (!make || !IsWindow(parent)) return nullptr;
  auto* container = new (std::nothrow) Container(parent);
  if (container == nullptr) return nullptr;
  ::InvalidateRect(parent, nullptr, TRUE);
  return container;
}

Container* ContainerOfWindow(HWND window) {
  for (HWND at = window; at != nullptr; at = ::GetParent(at)) {
    if (Container* container = FindOrMakeContainer(at, false)) return container;
  }
  return nullptr;
}

void PreTranslateHostMessage(MSG* message, bool translateInsideControls) {
  if (message == nullptr || message->hwnd == nullptr) return;
  if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN && message->message != WM_KEYUP &&
      message->message != WM_SYSKEYUP && message->message != WM_CHAR) {
    return;
  }
  Library* library = CurrentLibrary();
  if (library == nullptr) return;
  // Whether the focus lies inside a control item's window.
  bool focusInsideControl = false;
  HWND focus = ::GetFocus();
  for (void* entry : library->controlItems.Entries()) {
    HWND controlWindow = static_cast<Item*>(entry)->GetWindow();
    if (controlWindow != nullptr && focus != nullptr && (focus == controlWindow || IsChild(controlWindow, focus))) {
      focusInsideControl = true;
    }
  }
  Container* container = ContainerOfWindow(message->hwnd);
  if (container == nullptr) return;
  bool handled = container->TranslateKey(nullptr, message, 0) == 0;
  if (!handled && container->focusItem != nullptr && container->focusItem->kind() == Item::kControlItem &&
      container->frame != nullptr && container->frame->activeObject() != nullptr) {
    handled = container->frame->activeObject()->TranslateAccelerator(message) == S_OK;
  }
  if (handled) {
    *message = MSG{};
    return;
  }
  if (translateInsideControls && focusInsideControl) TranslateMessage(message);
}

// --- the in-place frame ------------------------------------------------

Frame::~Frame() {
  if (activeObject_ != nullptr) activeObject_->Release();
}

STDMETHODIMP Frame::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleWindow || iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) Frame::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) Frame::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP Frame::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = container_ != nullptr ? container_->parent : nullptr;
  return container_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP Frame::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
  if (object != nullptr) object->AddRef();
  if (activeObject_ != nullptr) activeObject_->Release();
  activeObject_ = object;
  return S_OK;
}

}  // namespace ctlhost
