// Containers: one per parent window that the library was handed.  See
// container.h.  The parent procedure, the item procedures and the message
// hook run on the thread that owns the windows and take no API lock.
#include "container.h"

#include <algorithm>
#include <new>

#include "core/item_layout.h"
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
  std::vector<int32_t> indexes;
  for (Item* item : items) indexes.push_back(item->tabIndex);
  const int32_t wanted = NextTabIndex(indexes, focusItem->tabIndex, forward);
  if (wanted == -1) return nullptr;
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

bool Container::IsShownAtRuntime(Item* item) const { return !(userMode && item->IsInvisibleAtRuntime()); }

Item* Container::HitTest(POINT point) {
  std::vector<Item*> active;
  for (Item* item : Items()) {
    if (item->windowlessActive) active.push_back(item);
  }
  std::stable_sort(active.begin(), active.end(), [](Item* a, Item* b) { return a->zIndex < b->zIndex; });
  for (size_t i = 0; i < active.size(); ++i) active[i]->zIndex = static_cast<int>(i);
  for (auto it = active.rbegin(); it != active.rend(); ++it) {
    Item* item = *it;
    RECT rect;
    if (item->GetRect(&rect) != 0 || !PtInRect(&rect, point)) continue;
    auto* view = static_cast<IViewObjectEx*>(item->QueryControlInterface(IID_IViewObjectEx));
    if (view == nullptr) continue;
    DWORD hit = HITRESULT_OUTSIDE;
    const HRESULT hr = view->QueryHitPoint(DVASPECT_CONTENT, &rect, point, 0, &hit);
    view->Release();
    if (SUCCEEDED(hr) && (hit == HITRESULT_CLOSE || hit == HITRESULT_HIT)) return item;
  }
  return nullptr;
}

bool Container::EraseBackground(HDC dc) {
  const int saved = SaveDC(dc);
  for (Item* item : Items()) {
    if (!IsShownAtRuntime(item) || !item->visible) continue;
    if (!item->windowlessActive) {
      if (HWND window = item->GetWindow()) {
        ::InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
      }
    }
    RECT rect;
    if (item->GetRect(&rect) == 0) ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  }
  bool filled = false;
  if (backColorSet) {
    RECT client;
    GetClientRect(parent, &client);
    if (HBRUSH brush = CreateSolidBrush(backColor)) {
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      filled = true;
    }
  }
  RestoreDC(dc, saved);
  return filled;
}

void Container::DrawItems(HDC dc, const RECT& clip) {
  const int saved = SaveDC(dc);
  SetMapMode(dc, MM_TEXT);
  for (Item* item : Items()) {
    RECT rect, both;
    if (item->GetRect(&rect) != 0 || !IntersectRect(&both, &rect, &clip) || !IsShownAtRuntime(item)) continue;
    if (!item->windowlessActive) {
      if (HWND window = item->GetWindow()) {
        ::InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        continue;
      }
    } else if (!item->visible) {
      continue;
    }
    auto* view = static_cast<IViewObject*>(item->QueryControlInterface(IID_IViewObject));
    if (view == nullptr) continue;
    const RECTL bounds = {rect.left, rect.top, rect.right, rect.bottom};
    view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, item->windowlessActive ? nullptr : &bounds, nullptr,
               nullptr, 0);
    view->Release();
  }
  RestoreDC(dc, saved);
}

int Container::SetCapture(Item* item, bool on) {
  if (item == nullptr || !item->windowlessActive) return 1;
  if (on) {
    captureItem = item;
    ::SetCapture(parent);
  } else {
    ReleaseCapture();
    captureItem = nullptr;
  }
  return 0;
}

int Container::GetCapture(Item* item) const {
  if (item == nullptr || !item->windowlessActive) return 1;
  return captureItem == item ? 0 : 1;
}

int Container::SetWindowlessFocus(Item* item, bool on) {
  if (item == nullptr || !item->windowlessActive) return 1;
  uiActiveWindowless = on ? item : nullptr;
  ::SetFocus(parent);
  return 0;
}

int Container::GetWindowlessFocus(Item* item) const {
  if (item == nullptr || !item->windowlessActive) return 1;
  return uiActiveWindowless == item ? 0 : 1;
}

void Container::OnFocus(Item* item, bool) {
  if (item != nullptr && item->windowlessActive) ::SetFocus(parent);
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

namespace {

// The keyboard messages a UI-active windowless control receives through
// its container: keys, characters, help, cancel mode and the IME messages.
bool IsForwardedToWindowless(UINT message) {
  switch (message) {
    case WM_CANCELMODE:
    case WM_HELP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_DEADCHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSDEADCHAR:
      return true;
    default:
      return (message >= 0x010D && message <= 0x010F) || (message >= 0x0281 && message <= 0x0286) ||
             message == 0x0290 || message == 0x0291;
  }
}

}  // namespace

LRESULT Container::OnActivate(WPARAM wParam, LPARAM lParam) {
  IOleInPlaceActiveObject* active = frame != nullptr ? frame->activeObject() : nullptr;
  if (LOWORD(wParam) == WA_INACTIVE) {
    if (active != nullptr) active->OnFrameWindowActivate(FALSE);
    HWND focus = ::GetFocus();
    rememberedFocus = focus != parent && focus != nullptr && IsChild(parent, focus) ? focus : nullptr;
    // The parent's own procedure learns of its deactivation as well.
    return CallPrevious(WM_ACTIVATE, wParam, lParam);
  }
  if (LOWORD(wParam) != WA_ACTIVE && LOWORD(wParam) != WA_CLICKACTIVE) return CallPrevious(WM_ACTIVATE, wParam, lParam);
  // The previous procedure runs first (it may give the parent the focus),
  // then the focus goes back where it was.
  const LRESULT result = CallPrevious(WM_ACTIVATE, wParam, lParam);
  if (uiActiveWindowless != nullptr) uiActiveWindowless->SetFocus();
  if (rememberedFocus != nullptr) {
    if (IsWindow(rememberedFocus)) ::SetFocus(rememberedFocus);
    rememberedFocus = nullptr;
  }
  if (active != nullptr) active->OnFrameWindowActivate(TRUE);
  return result;
}

LRESULT Container::OnPaint(WPARAM wParam, LPARAM lParam) {
  RECT update = {};
  GetUpdateRect(parent, &update, FALSE);
  LRESULT result = 0;
  if (backColorSet) {
    PAINTSTRUCT paint;
    BeginPaint(parent, &paint);
    EndPaint(parent, &paint);
  } else {
    result = CallPrevious(WM_PAINT, wParam, lParam);
  }
  if (HDC dc = GetDC(parent)) {
    DrawItems(dc, update);
    ReleaseDC(parent, dc);
  }
  return result;
}

LRESULT Container::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
  Item* target = captureItem;
  bool hit = false;
  if (target == nullptr) {
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(parent, &cursor);
    target = HitTest(cursor);
    hit = target != nullptr;
  }
  if (target == nullptr) {
    if (message == WM_SETCURSOR && HIWORD(lParam) == WM_LBUTTONDOWN) ::SetFocus(reinterpret_cast<HWND>(wParam));
    return CallPrevious(message, wParam, lParam);
  }
  const bool takesFocus = hit && message == WM_LBUTTONDOWN;
  if (takesFocus) target->SetFocus();
  LRESULT result = 0;
  if (target->HandleMessage(message, wParam, lParam, &result) == 0) return result;
  return takesFocus ? 0 : CallPrevious(message, wParam, lParam);
}

LRESULT CALLBACK Container::ParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Container* container = FindOrMakeContainer(window, false);
  if (container == nullptr) return 0;
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE && container->captureItem != nullptr) {
    Item* holder = container->captureItem;
    ReleaseCapture();
    container->captureItem = nullptr;
    container->uiActiveWindowless = holder;
    ::SetFocus(window);
    LRESULT ignored = 0;
    holder->HandleMessage(WM_CANCELMODE, 0, 0, &ignored);
  }
  if (IsForwardedToWindowless(message)) {
    if (container->uiActiveWindowless != nullptr) {
      LRESULT result = 0;
      if (container->uiActiveWindowless->HandleMessage(message, wParam, lParam, &result) == 0) return result;
    }
    return container->CallPrevious(message, wParam, lParam);
  }
  if (message == WM_SETCURSOR || (message >= WM_MOUSEFIRST && message <= 0x0209)) {
    return container->OnMouse(message, wParam, lParam);
  }
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
    case WM_ACTIVATE:
      return container->OnActivate(wParam, lParam);
    case WM_SETFOCUS:
      if (container->uiActiveWindowless != nullptr) return 0;
      return container->CallPrevious(message, wParam, lParam);
    case WM_PAINT:
      return container->OnPaint(wParam, lParam);
    case WM_ERASEBKGND:
      if (container->EraseBackground(reinterpret_cast<HDC>(wParam))) return 1;
      return container->CallPrevious(message, wParam, lParam);
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
  if (iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(&dispatch_);
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
