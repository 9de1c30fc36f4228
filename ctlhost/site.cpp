// The client site of a control item; see site.h.
#include "site.h"

#include <new>
#include <string>

#include "container.h"
#include "core/control_spec.h"
#include "core/names.h"
#include "items.h"

namespace ctlhost {

namespace {

Container* ContainerOf(ControlItem* owner) { return owner != nullptr ? owner->container() : nullptr; }

// IPropertyBag over one PROPERTIES value.
class SpecPropertyBag final : public IPropertyBag {
 public:
  explicit SpecPropertyBag(const char* properties) : properties_(properties) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_FAIL;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IPropertyBag) {
      *out = static_cast<IPropertyBag*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&references_);
    if (count <= 0) delete this;
    return static_cast<ULONG>(count < 0 ? 0 : count);
  }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* out, IErrorLog*) override {
    if (out != nullptr) VariantInit(out);
    if (name == nullptr || out == nullptr) return E_FAIL;
    const std::string wanted = NarrowUnits(reinterpret_cast<const char16_t*>(name));
    PropertyValue value;
    if (FindSpecProperty(properties_, wanted, &value) != PropertyLookup::kFound) return E_FAIL;
    const std::u16string wide = WidenBytes(value.text);
    VARIANT text;
    VariantInit(&text);
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
    if (V_BSTR(&text) == nullptr) return E_FAIL;
    const HRESULT hr = VariantChangeType(out, &text, VARIANT_NOVALUEPROP, value.varType);
    VariantClear(&text);
    return SUCCEEDED(hr) ? S_OK : E_FAIL;
  }
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
    return name == nullptr || value == nullptr ? E_FAIL : S_OK;
  }

 private:
  LONG references_ = 0;
  std::string properties_;
};

}  // namespace

IPropertyBag* NewSpecPropertyBag(const char* properties) {
  return new (std::nothrow) SpecPropertyBag(properties == nullptr ? "" : properties);
}

Site::Site(ControlItem* owner) : owner_(owner) {}

Site::~Site() { ReleaseControl(); }

STDMETHODIMP Site::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleContainer || iid == IID_IParseDisplayName) {
    *out = static_cast<IOleContainer*>(this);
  } else if (iid == IID_IAdviseSink) {
    *out = static_cast<IAdviseSink*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx ||
             iid == IID_IOleInPlaceSiteWindowless) {
    *out = static_cast<IOleInPlaceSiteWindowless*>(this);
  } else if (iid == IID_IOleControlSite) {
    *out = static_cast<IOleControlSite*>(this);
  } else if (iid == IID_IDispatch) {
    *out = static_cast<IDispatch*>(this);
  } else if (iid == IID_IPropertyNotifySink) {
    *out = static_cast<IPropertyNotifySink*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Site::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) Site::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

void Site::ReleaseControl() {
  if (control_ == nullptr) return;
  IUnknown* control = control_;
  control_ = nullptr;
  control->Release();
  miscStatus_ = 0;
  adviseCookie_ = 0;
  state_ = 0;
}

int Site::SetObject(IUnknown* control, const char* properties) {
  // A control whose misc status asks for its client site first makes its
  // window while the site is set; the container must not adopt that window
  // as an item of its own, so the whole attach counts as activating.
  Container* container = ContainerOf(owner_);
  if (container == nullptr || control == nullptr) return AttachObject(control, properties);
  const int wasActivating = container->activating;
  container->activating = 1;
  const int result = AttachObject(control, properties);
  container->activating = wasActivating;
  return result;
}

int Site::AttachObject(IUnknown* control, const char* properties) {
  int result = 0;
  if (control_ != nullptr) {
    IOleObject* old = nullptr;
    if (SUCCEEDED(control_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&old))) && old != nullptr) {
      if (adviseCookie_ != 0) old->Unadvise(adviseCookie_);
      if (FAILED(old->Close(OLECLOSE_NOSAVE))) result = 2;
      if (FAILED(old->SetClientSite(nullptr))) result = 3;
      old->Release();
    } else {
      result = 1;
    }
    ReleaseControl();
  }
  if (control == nullptr) return result;

  IOleObject* object = nullptr;
  if (FAILED(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || object == nullptr) {
    return 4;
  }
  if (FAILED(object->GetMiscStatus(DVASPECT_CONTENT, &miscStatus_))) {
    object->Release();
    return 5;
  }
  if (miscStatus_ & OLEMISC_ALWAYSRUN) {
    IRunnableObject* runnable = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable))) &&
        runnable != nullptr) {
      const HRESULT hr = runnable->Run(nullptr);
      runnable->Release();
      if (FAILED(hr)) {
        object->Release();
        return 7;
      }
    }
  }
  if (FAILED(object->SetClientSite(static_cast<IOleClientSite*>(this)))) {
    object->Release();
    return 9;
  }
  IPersistStreamInit* init = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init))) && init != nullptr) {
    init->InitNew();
    init->Release();
  }
  if (properties != nullptr && properties[0] != '\0') {
    IPersistPropertyBag* persist = nullptr;
    if (SUCCEEDED(control->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&persist))) &&
        persist != nullptr) {
      if (IPropertyBag* bag = NewSpecPropertyBag(properties)) {
        bag->AddRef();
        persist->Load(bag, nullptr);
        bag->Release();
      }
      persist->Release();
    }
  }
  control->AddRef();
  control_ = control;
  DWORD cookie = 0;
  if (SUCCEEDED(object->Advise(static_cast<IAdviseSink*>(this), &cookie))) adviseCookie_ = cookie;
  object->Release();
  state_ |= kAttached;
  return 0;
}

int Site::OpenPropertyPage() {
  if (control_ == nullptr) return 1;
  IOleObject* object = nullptr;
  if (FAILED(control_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || object == nullptr) return 2;
  MSG none = {};
  RECT empty = {};
  const HRESULT hr = object->DoVerb(OLEIVERB_PROPERTIES, &none, static_cast<IOleClientSite*>(this), 0, nullptr, &empty);
  object->Release();
  return FAILED(hr) ? 5 : 0;
}

int Site::InPlaceActivate() {
  if (control_ == nullptr) return 1;
  if ((state_ & kAttached) == 0) return 3;
  if (state_ & kInPlaceActive) return 0;
  Container* container = ContainerOf(owner_);
  if (container == nullptr) return 5;
  IOleObject* object = nullptr;
  if (FAILED(control_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || object == nullptr) return 2;
  const int wasActivating = container->activating;
  container->activating = 1;
  MSG none = {};
  RECT empty = {};
  const HRESULT hr =
      object->DoVerb(OLEIVERB_INPLACEACTIVATE, &none, static_cast<IOleClientSite*>(this), 0, nullptr, &empty);
  container->activating = wasActivating;
  object->Release();
  if (FAILED(hr)) return 7;
  state_ |= kInPlaceActive;
  return 0;
}

int Site::UIActivate() {
  InPlaceActivate();
  if ((state_ & kAttached) == 0 || control_ == nullptr) return 3;
  if (miscStatus_ & OLEMISC_NOUIACTIVATE) return 0;
  if (owner_ != nullptr) owner_->GainFocus();
  state_ |= kUIActive;
  IOleObject* object = nullptr;
  if (FAILED(control_->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object))) || object == nullptr) return 4;
  MSG none = {};
  RECT empty = {};
  const HRESULT hr = object->DoVerb(OLEIVERB_UIACTIVATE, &none, static_cast<IOleClientSite*>(this), 0, nullptr, &empty);
  object->Release();
  return FAILED(hr) ? 6 : 0;
}

int Site::UIDeactivate() {
  IOleInPlaceObject* inPlace = nullptr;
  if (control_ == nullptr ||
      FAILED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) || inPlace == nullptr) {
    return 2;
  }
  const HRESULT hr = inPlace->UIDeactivate();
  inPlace->Release();
  return FAILED(hr) ? 3 : 0;
}

int Site::InPlaceDeactivate() {
  UIDeactivate();
  IOleInPlaceObject* inPlace = nullptr;
  if (control_ == nullptr ||
      FAILED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) || inPlace == nullptr) {
    return 1;
  }
  int result = 2;
  if (state_ & kInPlaceActive) result = FAILED(inPlace->InPlaceDeactivate()) ? 3 : 0;
  inPlace->Release();
  state_ &= ~static_cast<DWORD>(kInPlaceActive);
  return result;
}

int Site::SetObjectRects(const RECT* rect, bool apply) {
  if (rect == nullptr) return 1;
  const RECT old = rect_;
  rect_ = *rect;
  IOleInPlaceObject* inPlace = nullptr;
  if (control_ != nullptr &&
      SUCCEEDED(control_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace))) && inPlace) {
    HRESULT hr = S_OK;
    if (apply) hr = inPlace->SetObjectRects(rect, rect);
    inPlace->Release();
    if (FAILED(hr)) return 2;
  }
  if (Container* container = ContainerOf(owner_)) {
    container->InvalidateArea(&old, TRUE);
    container->InvalidateArea(rect, TRUE);
  }
  return 0;
}

int Site::GetRect(RECT* rect) {
  if (rect == nullptr) return 1;
  if (owner_ == nullptr) return 2;
  if (owner_->IsInvisibleAtRuntime() && control_ != nullptr) {
    IViewObject2* view = nullptr;
    if (SUCCEEDED(control_->QueryInterface(IID_IViewObject2, reinterpret_cast<void**>(&view))) && view != nullptr) {
      SIZEL extent = {};
      if (SUCCEEDED(view->GetExtent(DVASPECT_CONTENT, -1, nullptr, &extent))) {
        HDC screen = ::GetDC(nullptr);
        rect_.right = rect_.left + extent.cx * GetDeviceCaps(screen, LOGPIXELSX) / 2540;
        rect_.bottom = rect_.top + extent.cy * GetDeviceCaps(screen, LOGPIXELSY) / 2540;
        ::ReleaseDC(nullptr, screen);
      }
      view->Release();
    }
  }
  *rect = rect_;
  return 0;
}

// --- IOleClientSite -----------------------------------------------------

STDMETHODIMP Site::GetMoniker(DWORD, DWORD, IMoniker** out) {
  if (out != nullptr) *out = nullptr;
  return E_FAIL;
}

STDMETHODIMP Site::GetContainer(IOleContainer** out) {
  if (out != nullptr) *out = nullptr;
  return E_FAIL;
}

STDMETHODIMP Site::ShowObject() {
  IOleWindow* window = nullptr;
  if (control_ != nullptr && SUCCEEDED(control_->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window))) &&
      window != nullptr) {
    HWND handle = nullptr;
    if (SUCCEEDED(window->GetWindow(&handle)) && handle != nullptr) ShowWindow(handle, SW_SHOW);
    window->Release();
  }
  return E_FAIL;
}

// --- in-place site ------------------------------------------------------

STDMETHODIMP Site::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = nullptr;
  Container* container = ContainerOf(owner_);
  if (container == nullptr || container->frame == nullptr) return E_FAIL;
  return container->frame->GetWindow(window);
}

STDMETHODIMP Site::OnInPlaceActivate() {
  if (owner_ != nullptr) owner_->windowlessActive = 0;
  state_ |= kInPlaceActive;
  return S_OK;
}

STDMETHODIMP Site::OnInPlaceActivateEx(BOOL*, DWORD flags) {
  if (owner_ != nullptr) owner_->windowlessActive = flags == ACTIVATE_WINDOWLESS ? 1 : 0;
  state_ |= kInPlaceActive;
  return S_OK;
}

STDMETHODIMP Site::OnUIActivate() {
  if (owner_ != nullptr) owner_->GainFocus();
  state_ |= kUIActive;
  return S_OK;
}

STDMETHODIMP Site::OnUIDeactivate(BOOL) {
  if (owner_ != nullptr) owner_->LoseFocus();
  state_ &= ~static_cast<DWORD>(kUIActive);
  return S_OK;
}

STDMETHODIMP Site::OnInPlaceDeactivate() {
  if (Container* container = ContainerOf(owner_)) container->InvalidateItemRect(owner_, nullptr, TRUE);
  state_ &= ~static_cast<DWORD>(kInPlaceActive);
  return S_OK;
}

STDMETHODIMP Site::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                    LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
  if (frame != nullptr) *frame = nullptr;
  if (document != nullptr) *document = nullptr;
  Container* container = ContainerOf(owner_);
  if (container == nullptr || container->frame == nullptr || frame == nullptr) {
    if (position != nullptr) *position = RECT{};
    if (clip != nullptr) *clip = RECT{};
    return E_UNEXPECTED;
  }
  container->frame->AddRef();
  *frame = container->frame;
  RECT rect = {};
  GetRect(&rect);
  if (position != nullptr) *position = rect;
  if (clip != nullptr) *clip = rect;
  if (frameInfo != nullptr) {
    frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = container->parent;
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
  }
  return S_OK;
}

STDMETHODIMP Site::OnPosRectChange(LPCRECT rect) {
  if (rect == nullptr) return E_INVALIDARG;
  return SetObjectRects(rect, true) == 0 ? S_OK : E_INVALIDARG;
}

STDMETHODIMP Site::CanWindowlessActivate() {
  return owner_ != nullptr && owner_->windowlessAllowed != 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::GetCapture() {
  Container* container = ContainerOf(owner_);
  return container != nullptr && container->GetCapture(owner_) == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::SetCapture(BOOL capture) {
  Container* container = ContainerOf(owner_);
  return container != nullptr && container->SetCapture(owner_, capture != FALSE) == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::GetFocus() {
  Container* container = ContainerOf(owner_);
  return container != nullptr && container->GetWindowlessFocus(owner_) == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::SetFocus(BOOL focus) {
  Container* container = ContainerOf(owner_);
  return container != nullptr && container->SetWindowlessFocus(owner_, focus != FALSE) == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::InvalidateRect(LPCRECT rect, BOOL erase) {
  Container* container = ContainerOf(owner_);
  return container == nullptr ? E_FAIL : container->InvalidateItemRect(owner_, rect, erase);
}

STDMETHODIMP Site::InvalidateRgn(HRGN region, BOOL erase) {
  Container* container = ContainerOf(owner_);
  if (container == nullptr) return E_FAIL;
  RECT box;
  if (region != nullptr && GetRgnBox(region, &box) != ERROR) {
    container->InvalidateArea(&box, erase);
  } else {
    container->InvalidateArea(nullptr, erase);
  }
  return S_OK;
}

STDMETHODIMP Site::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (result == nullptr) return S_FALSE;
  *result = 0;
  Container* container = ContainerOf(owner_);
  if (container == nullptr || message == WM_SETCURSOR) return S_FALSE;
  *result = DefWindowProcA(container->parent, message, wParam, lParam);
  return S_OK;
}

// --- control site -------------------------------------------------------

STDMETHODIMP Site::OnControlInfoChanged() {
  if (owner_ == nullptr || control_ == nullptr) return E_FAIL;
  IOleControl* control = nullptr;
  if (FAILED(control_->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control))) || control == nullptr) {
    return E_FAIL;
  }
  CONTROLINFO info = {};
  info.cb = sizeof(CONTROLINFO);
  const HRESULT hr = control->GetControlInfo(&info);
  control->Release();
  if (FAILED(hr)) return E_FAIL;
  owner_->controlInfo = info;
  return S_OK;
}

STDMETHODIMP Site::GetExtendedControl(IDispatch** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Site::TranslateAccelerator(MSG* message, DWORD modifiers) {
  Container* container = ContainerOf(owner_);
  if (container == nullptr) return S_FALSE;
  return container->TranslateKey(owner_, message, static_cast<int>(modifiers)) == 0 ? S_OK : S_FALSE;
}

STDMETHODIMP Site::OnFocus(BOOL got) {
  if (Container* container = ContainerOf(owner_)) container->OnFocus(owner_, got != FALSE);
  return S_OK;
}

// --- advise sink ----------------------------------------------------------

STDMETHODIMP_(void) Site::OnDataChange(FORMATETC*, STGMEDIUM*) {
  if (Container* container = ContainerOf(owner_)) container->InvalidateItemRect(owner_, nullptr, TRUE);
}

STDMETHODIMP_(void) Site::OnViewChange(DWORD, LONG) {
  if (Container* container = ContainerOf(owner_)) container->InvalidateItemRect(owner_, nullptr, TRUE);
}

// --- ambient properties ---------------------------------------------------

STDMETHODIMP Site::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  if (result != nullptr) VariantInit(result);
  if (dispid < DISPID_AMBIENT_SUPPORTSMNEMONICS || dispid > DISPID_AMBIENT_BACKCOLOR) return E_NOTIMPL;
  if (result == nullptr) return E_FAIL;
  Container* container = ContainerOf(owner_);
  auto boolean = [result](bool value) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  };
  switch (dispid) {
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
      return boolean(true);
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
      return owner_ == nullptr ? E_FAIL : boolean(owner_->defaultState != 0);
    case DISPID_AMBIENT_MESSAGEREFLECT:
      return boolean(false);
    case DISPID_AMBIENT_LOCALEID:
      V_VT(result) = VT_I4;
      V_I4(result) = 0x0800;
      return S_OK;
    case DISPID_AMBIENT_TEXTALIGN:
    case DISPID_AMBIENT_SCALEUNITS:
    case DISPID_AMBIENT_DISPLAYNAME:
      return E_NOTIMPL;
    default:
      break;
  }
  if (container == nullptr) return E_FAIL;
  switch (dispid) {
    case DISPID_AMBIENT_SHOWHATCHING:
      return boolean(container->showHatching != 0);
    case DISPID_AMBIENT_SHOWGRABHANDLES:
      return boolean(container->showGrabHandles != 0);
    case DISPID_AMBIENT_UIDEAD:
      return boolean(container->uiDead != 0);
    case DISPID_AMBIENT_USERMODE:
      return boolean(container->userMode != 0);
    case DISPID_AMBIENT_FORECOLOR:
      V_VT(result) = VT_UI4;
      V_UI4(result) = container->foreColor;
      return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
      V_VT(result) = VT_UI4;
      V_UI4(result) = container->backColor;
      return S_OK;
    case DISPID_AMBIENT_FONT: {
      if (container->font == nullptr) return E_FAIL;
      IDispatch* font = nullptr;
      if (FAILED(container->font->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&font)))) return E_FAIL;
      V_VT(result) = VT_DISPATCH;
      V_DISPATCH(result) = font;
      return S_OK;
    }
    default:
      return E_NOTIMPL;
  }
}

// --- container --------------------------------------------------------------

STDMETHODIMP Site::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Site::EnumObjects(DWORD, IEnumUnknown** out) {
  if (out == nullptr) return E_FAIL;
  *out = nullptr;
  return S_OK;
}

}  // namespace ctlhost
