// Control items: an ActiveX control hosted through its client site.
#include <new>

#include "container.h"
#include "core/mnemonics.h"
#include "items.h"
#include "library.h"
#include "site.h"

namespace ctlhost {

ControlItem::ControlItem(Container* container) : Item(kControlItem, container) {
  if (Library* library = CurrentLibrary()) library->controlItems.Add(this);
  site = new (std::nothrow) Site(this);
  if (site != nullptr) site->AddRef();
}

ControlItem::~ControlItem() {
  if (Library* library = CurrentLibrary()) library->controlItems.Remove(this);
  if (site != nullptr) {
    site->SetObject(nullptr, nullptr);
    site->DetachOwner();
    site->Release();
    site = nullptr;
  }
}

IUnknown* ControlItem::ControlIdentity() {
  if (site == nullptr || site->control() == nullptr) return nullptr;
  IUnknown* identity = nullptr;
  if (FAILED(site->control()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) return nullptr;
  return identity;
}

void* ControlItem::QuerySiteInterface(REFIID iid) {
  void* out = nullptr;
  if (site == nullptr || FAILED(site->QueryInterface(iid, &out))) return nullptr;
  return out;
}

void* ControlItem::QueryControlInterface(REFIID iid) {
  void* out = nullptr;
  if (site == nullptr || site->control() == nullptr || FAILED(site->control()->QueryInterface(iid, &out))) {
    return nullptr;
  }
  return out;
}

int ControlItem::OpenPropertyPage() {
  if (site == nullptr) return 1;
  return site->OpenPropertyPage() == 0 ? 0 : 2;
}

HWND ControlItem::GetWindow() {
  if (site == nullptr || site->control() == nullptr || windowlessActive) return nullptr;
  HWND found = nullptr;
  if (auto* dispatch = static_cast<IDispatch*>(QueryControlInterface(IID_IDispatch))) {
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    if (SUCCEEDED(dispatch->Invoke(DISPID_HWND, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                                   nullptr))) {
      VARIANT asNumber;
      VariantInit(&asNumber);
      // A window handle is 32 bits wide on every Windows; the control hands
      // it over as a 32-bit number.
      if (SUCCEEDED(VariantChangeType(&asNumber, &result, 0, VT_I4))) {
        found = reinterpret_cast<HWND>(static_cast<INT_PTR>(V_I4(&asNumber)));
      }
    }
    VariantClear(&result);
    dispatch->Release();
  }
  if (found == nullptr || !IsWindow(found)) {
    found = nullptr;
    const IID* asked[] = {&IID_IOleWindow, &IID_IOleInPlaceActiveObject, &IID_IOleInPlaceObject};
    for (const IID* iid : asked) {
      if (auto* window = static_cast<IOleWindow*>(QueryControlInterface(*iid))) {
        if (FAILED(window->GetWindow(&found))) found = nullptr;
        window->Release();
        break;
      }
    }
  }
  window_ = found;
  return found;
}

int ControlItem::SetRect(const RECT* rect, int repaint) {
  if (site == nullptr || rect == nullptr) return 1;
  const int result = site->SetObjectRects(rect, true);
  if (result != 0) return result;
  RecaptureResizeDistances();
  return 0;
}

int ControlItem::GetRect(RECT* rect) {
  if (site == nullptr) return 1;
  return site->GetRect(rect);
}

int ControlItem::InPlaceActivate() {
  if (site == nullptr) return 1;
  return site->InPlaceActivate() == 0 ? 0 : 2;
}

int ControlItem::InPlaceDeactivate() {
  if (site == nullptr) return 1;
  return site->InPlaceDeactivate() == 0 ? 0 : 2;
}

int ControlItem::SetFocus() {
  if (site == nullptr) return 1;
  if (site->UIActivate() != 0) return 2;
  GainFocus();
  return 0;
}

int ControlItem::KillFocus() {
  if (site == nullptr) return 1;
  const int result = site->UIDeactivate();
  LoseFocus();
  return result == 0 ? 0 : 2;
}

int ControlItem::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (!windowlessActive) return 1;
  auto* windowless =
      static_cast<IOleInPlaceObjectWindowless*>(QueryControlInterface(IID_IOleInPlaceObjectWindowless));
  if (windowless == nullptr) return 1;
  LRESULT local = 0;
  const HRESULT hr = windowless->OnWindowMessage(message, wParam, lParam, result != nullptr ? result : &local);
  windowless->Release();
  return static_cast<int>(hr);
}

int ControlItem::OnAmbientPropertyChange(DISPID dispid) {
  auto* control = static_cast<IOleControl*>(QueryControlInterface(IID_IOleControl));
  if (control == nullptr) return 1;
  const HRESULT hr = control->OnAmbientPropertyChange(dispid);
  control->Release();
  return SUCCEEDED(hr) ? 0 : 2;
}

int ControlItem::Refresh() {
  auto* dispatch = static_cast<IDispatch*>(QueryControlInterface(IID_IDispatch));
  if (dispatch == nullptr) return 1;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  const HRESULT hr = dispatch->Invoke(DISPID_REFRESH, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr);
  dispatch->Release();
  return SUCCEEDED(hr) ? 0 : 2;
}

int ControlItem::EatsReturn() {
  if (flagsSet) return (flags & 4) != 0;
  if (controlInfo.cb == 0 && site != nullptr) site->OnControlInfoChanged();
  return (controlInfo.dwFlags & CTRLINFO_EATS_RETURN) != 0;
}

int ControlItem::EatsEscape() {
  if (flagsSet) return (flags & 8) != 0;
  if (controlInfo.cb == 0 && site != nullptr) site->OnControlInfoChanged();
  return (controlInfo.dwFlags & CTRLINFO_EATS_ESCAPE) != 0;
}

int ControlItem::SetDefaultState(int state) {
  defaultState = state;
  OnAmbientPropertyChange(DISPID_AMBIENT_DISPLAYASDEFAULT);
  return 0;
}

int ControlItem::MatchMnemonic(MSG* message, int modifiers) {
  if (message == nullptr) return 1;
  if (controlInfo.cb == 0 && site != nullptr) site->OnControlInfoChanged();
  if (controlInfo.cAccel == 0 || controlInfo.hAccel == nullptr) return 1;
  // The table handle is an accelerator table, not a memory block: copy
  // its entries out.
  const int count = CopyAcceleratorTableA(controlInfo.hAccel, nullptr, 0);
  if (count <= 0) return 1;
  std::vector<ACCEL> table(static_cast<size_t>(count));
  CopyAcceleratorTableA(controlInfo.hAccel, table.data(), count);
  std::vector<AcceleratorEntry> entries;
  for (const ACCEL& accel : table) entries.push_back({accel.fVirt, accel.key, accel.cmd});
  const bool keyDown = message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN;
  return MatchAcceleratorTable(entries, keyDown, static_cast<uint32_t>(message->wParam), modifiers) >= 0 ? 0 : 1;
}

int ControlItem::DoMnemonic(MSG* message) {
  if (labelledItem != nullptr && labelledItem != this) return labelledItem->DoMnemonic(message);
  auto* control = static_cast<IOleControl*>(QueryControlInterface(IID_IOleControl));
  HRESULT hr = 1;
  if (control != nullptr) {
    hr = control->OnMnemonic(message);
    control->Release();
  }
  SetFocus();
  return static_cast<int>(hr);
}

int ControlItem::AttachControl(IUnknown* control, const char* properties) {
  if (site == nullptr) return 1;
  if (site->SetObject(control, properties) != 0) return 2;
  if (control == nullptr) return 0;
  IOleObject* object = nullptr;
  if (FAILED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || object == nullptr) {
    return 3;
  }
  const HRESULT hr = object->GetMiscStatus(DVASPECT_CONTENT, &miscStatus);
  object->Release();
  return FAILED(hr) ? 4 : 0;
}

}  // namespace ctlhost
