// The item base and window items: an adopted child window, subclassed so
// that its focus and destruction reach the container.
#include "items.h"

#include <new>

#include "container.h"
#include "core/mnemonics.h"
#include "core/names.h"
#include "library.h"

namespace ctlhost {

Item::Item(Kind kind, Container* container)
    : creatingThread(GetCurrentThreadId()), kind_(kind), container_(container) {
  if (Library* library = CurrentLibrary()) library->allItems.Add(this);
  if (container_ != nullptr) container_->AddItem(this);
}

Item::~Item() {
  if (Library* library = CurrentLibrary()) library->allItems.Remove(this);
  if (container_ != nullptr) container_->ForgetItem(this);
  for (NamedValue& entry : namedValues_) VariantClear(&entry.value);
}

int Item::SetWindow(HWND window) {
  window_ = window;
  return 0;
}

int Item::GetControlId() {
  HWND window = GetWindow();
  return window == nullptr ? 0 : static_cast<int>(GetWindowLongPtrA(window, GWLP_ID));
}

int Item::SetVisible(short newVisible, int repaint) {
  visible = newVisible;
  if (container_ != nullptr && repaint) {
    RECT rect;
    if (GetRect(&rect) == 0) container_->InvalidateArea(&rect, TRUE);
  }
  HWND window = GetWindow();
  if (window != nullptr) ShowWindow(window, newVisible != 0 ? SW_SHOW : SW_HIDE);
  return 0;
}

int Item::SetDefaultState(int state) {
  defaultState = state;
  return 0;
}

void Item::GainFocus() {
  if (Library* library = CurrentLibrary()) {
    for (void* entry : library->allItems.Entries()) {
      auto* other = static_cast<Item*>(entry);
      if (other != this && other->creatingThread == creatingThread && other->hasFocus) other->KillFocus();
    }
  }
  if (container_ != nullptr) container_->SetFocusItem(this);
  hasFocus = true;
}

void Item::LoseFocus() {
  if (container_ != nullptr && container_->focusItem == this) container_->focusItem = nullptr;
  hasFocus = false;
}

bool Item::CurrentRect(ItemRect* rect) {
  RECT r;
  if (GetRect(&r) != 0) return false;
  *rect = {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top), static_cast<int32_t>(r.right),
           static_cast<int32_t>(r.bottom)};
  return true;
}

void Item::RecaptureResizeDistances() {
  if (resizeStyle != 0) SetResizeStyle(resizeStyle);
}

int Item::SetResizeStyle(int style) {
  resizeStyle = style;
  if (container_ == nullptr) return 1;
  RECT client;
  ItemRect item;
  if (!GetClientRect(container_->parent, &client) || !CurrentRect(&item)) return 0;
  distances = CaptureResizeDistances(
      style, {static_cast<int32_t>(client.left), static_cast<int32_t>(client.top),
              static_cast<int32_t>(client.right), static_cast<int32_t>(client.bottom)},
      item, distances);
  return 0;
}

void Item::ApplyResizeStyle() {
  if (container_ == nullptr) return;
  RECT client;
  ItemRect item, moved;
  if (GetClientRect(container_->parent, &client) && CurrentRect(&item) &&
      ctlhost::ApplyResizeStyle(resizeStyle,
                                {static_cast<int32_t>(client.left), static_cast<int32_t>(client.top),
                                 static_cast<int32_t>(client.right), static_cast<int32_t>(client.bottom)},
                                item, distances, &moved)) {
    const RECT rect = {moved.left, moved.top, moved.right, moved.bottom};
    SetRect(&rect, TRUE);
  }
  if (container_ != nullptr) ::InvalidateRect(container_->parent, nullptr, FALSE);
}

int Item::SetNamedValue(const char* valueName, const VARIANT* value) {
  for (NamedValue& entry : namedValues_) {
    if (EqualsNoCase(entry.name, valueName)) {
      VariantClear(&entry.value);
      return FAILED(VariantCopy(&entry.value, const_cast<VARIANT*>(value))) ? 2 : 0;
    }
  }
  try {
    if (namedValues_.size() == namedValues_.capacity()) namedValues_.reserve(namedValues_.size() + 4);
    namedValues_.push_back(NamedValue{valueName, {}});
  } catch (const std::bad_alloc&) {
    return 2;
  }
  VariantInit(&namedValues_.back().value);
  return FAILED(VariantCopy(&namedValues_.back().value, const_cast<VARIANT*>(value))) ? 2 : 0;
}

int Item::GetNamedValue(const char* valueName, VARIANT* out) {
  VariantClear(out);
  for (NamedValue& entry : namedValues_) {
    if (EqualsNoCase(entry.name, valueName)) {
      VariantCopy(out, &entry.value);
      break;
    }
  }
  return 0;
}

// --- window items ------------------------------------------------------

WindowItem::WindowItem(Container* container) : Item(kWindowItem, container) {
  if (Library* library = CurrentLibrary()) library->windowItems.Add(this);
}

WindowItem::~WindowItem() {
  HWND window = Item::GetWindow();
  if (window != nullptr && previousProcedure_ != nullptr &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) == &WindowItem::SubclassProcedure) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
  }
  if (Library* library = CurrentLibrary()) library->windowItems.Remove(this);
}

WindowItem* WindowItem::OfWindow(HWND window) {
  Library* library = CurrentLibrary();
  if (library == nullptr || window == nullptr) return nullptr;
  for (void* entry : library->windowItems.Entries()) {
    auto* item = static_cast<WindowItem*>(entry);
    if (item->Item::GetWindow() == window) return item;
  }
  return nullptr;
}

int WindowItem::SetWindow(HWND window) {
  window_ = window;
  previousProcedure_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowItem::SubclassProcedure)));
  GetRect(&rect_);
  return 0;
}

LRESULT CALLBACK WindowItem::SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowItem* item = OfWindow(window);
  if (item == nullptr) return 0;
  item->HandleMessage(message, wParam, lParam, nullptr);
  return item == OfWindow(window) ? item->lastResult_ : 0;
}

int WindowItem::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_SETFOCUS) GainFocus();
  HWND window = Item::GetWindow();
  lastResult_ = CallWindowProcA(previousProcedure_, window, message, wParam, lParam);
  if (result != nullptr) *result = lastResult_;
  if (message == WM_NCDESTROY) {
    const LRESULT kept = lastResult_;
    delete this;  // puts the previous procedure back
    if (result != nullptr) *result = kept;
  }
  return 1;
}

int WindowItem::SetRect(const RECT* rect, int repaint) {
  if (rect == nullptr) return 1;
  rect_ = *rect;
  HWND window = Item::GetWindow();
  if (window == nullptr ||
      !SetWindowPos(window, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                    SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW))) {
    return 2;
  }
  RecaptureResizeDistances();
  return 0;
}

int WindowItem::GetRect(RECT* rect) {
  HWND window = Item::GetWindow();
  if (rect == nullptr || window == nullptr) return 1;
  RECT screen;
  if (!GetWindowRect(window, &screen)) return 2;
  POINT corners[2] = {{screen.left, screen.top}, {screen.right, screen.bottom}};
  HWND parent = container() != nullptr ? container()->parent : ::GetParent(window);
  MapWindowPoints(nullptr, parent, corners, 2);
  rect_ = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
  *rect = rect_;
  return 0;
}

int WindowItem::SetFocus() {
  HWND window = Item::GetWindow();
  if (window != nullptr) ::SetFocus(window);
  GainFocus();
  return 0;
}

int WindowItem::KillFocus() {
  LoseFocus();
  return 0;
}

int WindowItem::OnAmbientPropertyChange(DISPID dispid) {
  if (dispid != DISPID_AMBIENT_FONT || container() == nullptr || container()->font == nullptr) return 0;
  HFONT font = nullptr;
  if (SUCCEEDED(container()->font->get_hFont(&font)) && font != nullptr) {
    SendMessageA(Item::GetWindow(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  return 0;
}

int WindowItem::SetDefaultState(int state) {
  defaultState = state;
  if (!ActsLikeButton()) return 1;
  HWND window = Item::GetWindow();
  if (window == nullptr) return 0;
  LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  style = state ? (style | BS_DEFPUSHBUTTON) : (style & ~static_cast<LONG_PTR>(BS_DEFPUSHBUTTON));
  SendMessageA(window, BM_SETSTYLE, static_cast<WPARAM>(style & 0xFFFF), TRUE);
  return 0;
}

int WindowItem::MatchMnemonic(MSG* message, int modifiers) {
  if (message == nullptr || !hasAccelerator) return 1;
  const bool keyDown = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN;
  return TextMnemonicMatches(accelerator, keyDown, static_cast<uint32_t>(message->wParam), modifiers) ? 0 : 1;
}

int WindowItem::DoMnemonic(MSG* message) {
  if (labelledItem != nullptr && labelledItem != this) return labelledItem->DoMnemonic(message);
  HWND window = Item::GetWindow();
  if (window == nullptr) return 1;
  ::SetFocus(window);
  const int id = GetControlId();
  SendMessageA(::GetParent(window), WM_COMMAND, static_cast<WPARAM>(id & 0xFFFF), reinterpret_cast<LPARAM>(window));
  return 1;
}

// --- finding an item ---------------------------------------------------

Item* ResolveControlRef(INT_PTR value, int kind) {
  Library* library = CurrentLibrary();
  if (library == nullptr) return nullptr;
  switch (kind) {
    case 0: {
      auto* pointer = reinterpret_cast<IUnknown*>(value);
      if (pointer == nullptr) return nullptr;
      IUnknown* identity = nullptr;
      if (FAILED(pointer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || identity == nullptr) {
        return nullptr;
      }
      Item* found = nullptr;
      for (void* entry : library->controlItems.Entries()) {
        auto* item = static_cast<ControlItem*>(entry);
        if (item->container() == nullptr) continue;
        IUnknown* other = item->ControlIdentity();
        if (other != nullptr) {
          const bool same = other == identity;
          other->Release();
          if (same) {
            found = item;
            break;
          }
        }
      }
      identity->Release();
      return found;
    }
    case 1:
      for (void* entry : library->windowItems.Entries()) {
        auto* item = static_cast<Item*>(entry);
        if (item->GetWindow() != nullptr && item->GetControlId() == static_cast<int>(value)) return item;
      }
      return nullptr;
    case 2: {
      HWND window = reinterpret_cast<HWND>(value);
      if (window == nullptr) return nullptr;
      for (void* entry : library->allItems.Entries()) {
        auto* item = static_cast<Item*>(entry);
        if (item->container() != nullptr && item->GetWindow() == window) return item;
      }
      HWND parent = ::GetParent(window);
      if (parent == nullptr || FindOrMakeContainer(parent, true) == nullptr) return nullptr;
      return WindowItem::OfWindow(window);
    }
    default:
      return nullptr;
  }
}

}  // namespace ctlhost
