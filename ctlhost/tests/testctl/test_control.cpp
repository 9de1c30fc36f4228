// The test control object: IDispatch over its properties, the OLE embedding
// interfaces a container drives (IOleObject, in-place activation with a
// window of its own, IOleControl), stream and property-bag persistence in
// the format test_control.h gives, and connection points for its events
// and property notifications.
#include "test_control_object.h"

#include <cstring>
#include <string>

#include "type_library.h"

LONG g_objectCount = 0;

namespace {

std::wstring FromBstr(BSTR text) { return text == nullptr ? std::wstring() : std::wstring(text, SysStringLen(text)); }

LRESULT CALLBACK ControlWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(RGB(40, 120, 200));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ControlWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = ORB_TEST_CONTROL_WINDOW_CLASS;
  RegisterClassA(&windowClass);
}

}  // namespace

// --- connection points ---------------------------------------------------

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  return E_NOINTERFACE;
}
STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return owner_->AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return owner_->Release(); }
STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = iid_;
  return S_OK;
}
STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** out) {
  return owner_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(out));
}
STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  IUnknown* typed = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&typed)))) return CONNECT_E_CANNOTCONNECT;
  for (size_t i = 0; i < kSinks; ++i) {
    if (sinks_[i] == nullptr) {
      sinks_[i] = typed;
      *cookie = static_cast<DWORD>(i + 1);
      return S_OK;
    }
  }
  typed->Release();
  return CONNECT_E_ADVISELIMIT;
}
STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  if (cookie == 0 || cookie > kSinks || sinks_[cookie - 1] == nullptr) return CONNECT_E_NOCONNECTION;
  sinks_[cookie - 1]->Release();
  sinks_[cookie - 1] = nullptr;
  return S_OK;
}
void ConnectionPoint::ReleaseAll() {
  for (IUnknown*& sink : sinks_) {
    if (sink != nullptr) sink->Release();
    sink = nullptr;
  }
}

class ConnectionPointEnumerator final : public IEnumConnectionPoints {
 public:
  ConnectionPointEnumerator(IConnectionPoint* first, IConnectionPoint* second, ULONG at)
      : points_{first, second}, at_(at) {
    points_[0]->AddRef();
    points_[1]->AddRef();
  }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IEnumConnectionPoints) {
      *out = static_cast<IEnumConnectionPoints*>(this);
      AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG count = InterlockedDecrement(&references_);
    if (count == 0) {
      points_[0]->Release();
      points_[1]->Release();
      delete this;
    }
    return static_cast<ULONG>(count);
  }
  STDMETHODIMP Next(ULONG wanted, IConnectionPoint** out, ULONG* fetched) override {
    ULONG given = 0;
    while (given < wanted && at_ < 2) {
      out[given] = points_[at_++];
      out[given]->AddRef();
      ++given;
    }
    if (fetched != nullptr) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    at_ += count;
    return at_ <= 2 ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumConnectionPoints** out) override {
    if (out == nullptr) return E_POINTER;
    *out = new ConnectionPointEnumerator(points_[0], points_[1], at_);
    return S_OK;
  }

 private:
  LONG references_ = 1;
  IConnectionPoint* points_[2];
  ULONG at_;
};

// --- the control ------------------------------------------------------------

TestControl::TestControl(HINSTANCE instance)
    : instance_(instance), events_(static_cast<IDispatch*>(this), DIID_OrbTestControlEvents),
      notifications_(static_cast<IDispatch*>(this), IID_IPropertyNotifySink) {
  InterlockedIncrement(&g_objectCount);
  RegisterWindowClass(instance);
}

TestControl::~TestControl() {
  DestroyControlWindow();
  events_.ReleaseAll();
  notifications_.ReleaseAll();
  if (adviseSink_ != nullptr) adviseSink_->Release();
  if (site_ != nullptr) site_->Release();
  InterlockedDecrement(&g_objectCount);
}

STDMETHODIMP TestControl::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_OrbTestControl) {
    *out = static_cast<IDispatch*>(this);
  } else if (iid == IID_IOleObject) {
    *out = static_cast<IOleObject*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject || iid == IID_IOleInPlaceObjectWindowless) {
    *out = static_cast<IOleInPlaceObjectWindowless*>(this);
  } else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx) {
    *out = static_cast<IViewObjectEx*>(this);
  } else if (iid == IID_IOleInPlaceActiveObject) {
    *out = static_cast<IOleInPlaceActiveObject*>(this);
  } else if (iid == IID_IOleControl) {
    *out = static_cast<IOleControl*>(this);
  } else if (iid == IID_IPersistStreamInit) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IPersistStream || iid == IID_IPersist) {
    *out = static_cast<IPersistStream*>(this);
  } else if (iid == IID_IPersistPropertyBag) {
    *out = static_cast<IPersistPropertyBag*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else if (iid == IID_IProvideClassInfo) {
    *out = static_cast<IProvideClassInfo*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TestControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) TestControl::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

// --- IDispatch ---

STDMETHODIMP TestControl::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP TestControl::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
  if (index != 0) return DISP_E_BADINDEX;
  return GetTestTypeInfo(DIID_OrbTestControl, out);
}

STDMETHODIMP TestControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  struct Entry {
    const wchar_t* name;
    DISPID id;
  };
  static const Entry kNames[] = {{L"Text", kTestText},
                                 {L"Caption", kTestCaption},
                                 {L"Number", kTestNumber},
                                 {L"hWnd", kTestWindow},
                                 {L"RefreshCount", kTestRefreshCount},
                                 {L"AmbientChanges", kTestAmbientChanges},
                                 {L"PropertyVerbs", kTestPropertyVerbs},
                                 {L"Refresh", kTestRefresh},
                                 {L"Notify", kTestNotify},
                                 {L"FireRequest", kTestFireRequest},
                                 {L"LastCount", kTestLastCount},
                                 {L"LastCancel", kTestLastCancel},
                                 {L"FireUndeclared", kTestFireUndeclared},
                                 {L"Ambient", kTestAmbient},
                                 {L"Clicks", kTestClicks},
                                 {L"Windowless", kTestWindowless},
                                 {L"FailActivate", kTestFailActivate},
                                 {L"Keys", kTestKeys},
                                 {L"SiteCalls", kTestSiteCalls},
                                 {L"Invisible", kTestInvisible},
                                 {L"Navigate", kTestNavigate},
                                 {L"Navigations", kTestNavigations}};
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    for (const Entry& entry : kNames) {
      if (i == 0 && lstrcmpiW(names[i], entry.name) == 0) ids[i] = entry.id;
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT TestControl::PutProperty(DISPID id, VARIANT* value) {
  VARIANT converted;
  VariantInit(&converted);
  const bool flag = id == kTestWindowless || id == kTestFailActivate || id == kTestInvisible;
  const VARTYPE wanted = id == kTestNumber ? VT_I4 : flag ? VT_BOOL : VT_BSTR;
  if (FAILED(VariantChangeType(&converted, value, 0, wanted))) return DISP_E_TYPEMISMATCH;
  switch (id) {
    case kTestText:
      text_ = FromBstr(V_BSTR(&converted));
      break;
    case kTestCaption:
      caption_ = FromBstr(V_BSTR(&converted));
      break;
    case kTestNumber:
      number_ = V_I4(&converted);
      break;
    case kTestWindowless:
      windowless_ = V_BOOL(&converted) != VARIANT_FALSE;
      break;
    case kTestFailActivate:
      failActivate_ = V_BOOL(&converted) != VARIANT_FALSE;
      break;
    case kTestInvisible:
      invisible_ = V_BOOL(&converted) != VARIANT_FALSE;
      break;
    default:
      VariantClear(&converted);
      return DISP_E_MEMBERNOTFOUND;
  }
  VariantClear(&converted);
  dirty_ = true;
  notifications_.ForEach([id](IUnknown* sink) { static_cast<IPropertyNotifySink*>(sink)->OnChanged(id); });
  if (window_ != nullptr) InvalidateRect(window_, nullptr, TRUE);
  return S_OK;
}

STDMETHODIMP TestControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                 EXCEPINFO*, UINT*) {
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (params == nullptr || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    return PutProperty(id, &params->rgvarg[0]);
  }
  if (id == kTestRefresh) {
    ++refreshCount_;
    return S_OK;
  }
  if (id == kTestNotify) {
    if (params == nullptr || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
    VARIANT what;
    VariantInit(&what);
    if (FAILED(VariantChangeType(&what, &params->rgvarg[0], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
    events_.ForEach([&what](IUnknown* sink) {
      DISPPARAMS args = {&what, nullptr, 1, 0};
      static_cast<IDispatch*>(sink)->Invoke(kTestEventChanged, IID_NULL, 0, DISPATCH_METHOD, &args, nullptr, nullptr,
                                            nullptr);
    });
    VariantClear(&what);
    return S_OK;
  }
  if (id == kTestFireRequest) return FireRequest(params);
  if (id == kTestNavigate) return Navigate(params);
  if (id == kTestFireUndeclared) {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = 7;
    events_.ForEach([&value](IUnknown* sink) {
      DISPPARAMS args = {&value, nullptr, 1, 0};
      static_cast<IDispatch*>(sink)->Invoke(kTestEventUndeclared, IID_NULL, 0, DISPATCH_METHOD, &args, nullptr,
                                            nullptr, nullptr);
    });
    return S_OK;
  }
  if (id == kTestAmbient) return ReadAmbient(params, result);
  if (result == nullptr) return S_OK;
  VariantInit(result);
  auto number = [result](LONG value) {
    V_VT(result) = VT_I4;
    V_I4(result) = value;
    return S_OK;
  };
  auto boolean = [result](bool value) {
    V_VT(result) = VT_BOOL;
    V_BOOL(result) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  };
  switch (id) {
    case kTestLastCount:
      return number(lastCount_);
    case kTestLastCancel:
      return boolean(lastCancel_);
    case kTestClicks:
      return number(clicks_);
    case kTestKeys:
      return number(keys_);
    case kTestWindowless:
      return boolean(windowless_);
    case kTestFailActivate:
      return boolean(failActivate_);
    case kTestInvisible:
      return boolean(invisible_);
    case kTestNavigations:
      return number(navigations_);
    case kTestSiteCalls:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocStringLen(siteCalls_.data(), static_cast<UINT>(siteCalls_.size()));
      return S_OK;
    case kTestText:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocStringLen(text_.data(), static_cast<UINT>(text_.size()));
      return S_OK;
    case kTestCaption:
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocStringLen(caption_.data(), static_cast<UINT>(caption_.size()));
      return S_OK;
    case kTestNumber:
      V_VT(result) = VT_I4;
      V_I4(result) = number_;
      return S_OK;
    case kTestWindow:
      V_VT(result) = VT_I4;
      V_I4(result) = static_cast<LONG>(reinterpret_cast<INT_PTR>(window_));
      return S_OK;
    case kTestRefreshCount:
      V_VT(result) = VT_I4;
      V_I4(result) = refreshCount_;
      return S_OK;
    case kTestAmbientChanges:
      V_VT(result) = VT_I4;
      V_I4(result) = ambientChanges_;
      return S_OK;
    case kTestPropertyVerbs:
      V_VT(result) = VT_I4;
      V_I4(result) = propertyVerbs_;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

// A web browser's Navigate as far as a host sees it: the address (the
// first of up to five arguments, the last in rgvarg) shows as the window's
// text and comes back as the page's title.
HRESULT TestControl::Navigate(DISPPARAMS* params) {
  if (params == nullptr || params->cArgs < 1 || params->cArgs > 5) return DISP_E_BADPARAMCOUNT;
  VARIANT url;
  VariantInit(&url);
  if (FAILED(VariantChangeType(&url, &params->rgvarg[params->cArgs - 1], 0, VT_BSTR))) return DISP_E_TYPEMISMATCH;
  ++navigations_;
  if (window_ != nullptr) SetWindowTextW(window_, FromBstr(V_BSTR(&url)).c_str());
  events_.ForEach([&url](IUnknown* sink) {
    DISPPARAMS args = {&url, nullptr, 1, 0};
    static_cast<IDispatch*>(sink)->Invoke(kTestEventTitleChange, IID_NULL, 0, DISPATCH_METHOD, &args, nullptr,
                                          nullptr, nullptr);
  });
  VariantClear(&url);
  return S_OK;
}

// Request(Text, [in, out] Count, [in, out] Cancel) to every sink, with
// Count and Cancel by reference; what the sinks leave there is kept.
HRESULT TestControl::FireRequest(DISPPARAMS* params) {
  if (params == nullptr || params->cArgs != 2) return DISP_E_BADPARAMCOUNT;
  VARIANT text, count;
  VariantInit(&text);
  VariantInit(&count);
  if (FAILED(VariantChangeType(&text, &params->rgvarg[1], 0, VT_BSTR)) ||
      FAILED(VariantChangeType(&count, &params->rgvarg[0], 0, VT_I4))) {
    VariantClear(&text);
    return DISP_E_TYPEMISMATCH;
  }
  LONG countValue = V_I4(&count);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  events_.ForEach([&](IUnknown* sink) {
    VARIANT args[3];  // last parameter first
    VariantInit(&args[0]);
    V_VT(&args[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&args[0]) = &cancel;
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_BYREF | VT_I4;
    V_I4REF(&args[1]) = &countValue;
    args[2] = text;  // not owned here
    DISPPARAMS fired = {args, nullptr, 3, 0};
    static_cast<IDispatch*>(sink)->Invoke(kTestEventRequest, IID_NULL, 0, DISPATCH_METHOD, &fired, nullptr, nullptr,
                                          nullptr);
  });
  // The by-reference slots are dead from here on: anything still reading
  // them would read stale memory, which this pattern makes visible.
  lastCount_ = countValue;
  lastCancel_ = cancel != VARIANT_FALSE;
  countValue = 0x5EADBEEF;
  cancel = VARIANT_FALSE;
  VariantClear(&text);
  return S_OK;
}

// The ambient property `dispid` as the client site's dispatch reports it.
HRESULT TestControl::ReadAmbient(DISPPARAMS* params, VARIANT* result) {
  if (params == nullptr || params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (result == nullptr) return E_POINTER;
  VariantInit(result);
  VARIANT id;
  VariantInit(&id);
  if (FAILED(VariantChangeType(&id, &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
  IDispatch* ambient = nullptr;
  if (site_ == nullptr || FAILED(site_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&ambient)))) {
    return E_FAIL;
  }
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  const HRESULT hr = ambient->Invoke(V_I4(&id), IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result, nullptr, nullptr);
  ambient->Release();
  return hr;
}

void TestControl::NoteSiteCall(const wchar_t* call) {
  if (!siteCalls_.empty()) siteCalls_ += L",";
  siteCalls_ += call;
}

// --- IOleObject ---

STDMETHODIMP TestControl::SetClientSite(IOleClientSite* site) {
  NoteSiteCall(site != nullptr ? L"SetClientSite" : L"SetClientSite(null)");
  if (site != nullptr) site->AddRef();
  if (site_ != nullptr) site_->Release();
  site_ = site;
  return S_OK;
}

STDMETHODIMP TestControl::GetClientSite(IOleClientSite** out) {
  if (out == nullptr) return E_POINTER;
  *out = site_;
  if (site_ != nullptr) site_->AddRef();
  return S_OK;
}

STDMETHODIMP TestControl::Close(DWORD) {
  InPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP TestControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
  NoteSiteCall((L"DoVerb(" + std::to_wstring(verb) + L")").c_str());
  switch (verb) {
    case OLEIVERB_PROPERTIES:
      ++propertyVerbs_;
      return S_OK;
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_SHOW:
      return ActivateInPlace(false);
    case OLEIVERB_UIACTIVATE:
    case OLEIVERB_PRIMARY:
      return ActivateInPlace(true);
    case OLEIVERB_HIDE:
      return InPlaceDeactivate();
    default:
      return OLEOBJ_S_INVALIDVERB;
  }
}

HRESULT TestControl::ActivateInPlace(bool uiActivate) {
  if (site_ == nullptr) return E_UNEXPECTED;
  IOleInPlaceSite* inPlaceSite = nullptr;
  if (FAILED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite)))) return E_NOINTERFACE;
  if (failActivate_) {
    inPlaceSite->Release();
    return E_FAIL;
  }
  HRESULT hr = S_OK;
  if (windowless_ && !windowlessActive_ && window_ == nullptr) {
    IOleInPlaceSiteWindowless* windowlessSite = nullptr;
    if (SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowlessSite)))) {
      if (windowlessSite->CanWindowlessActivate() == S_OK) {
        BOOL noRedraw = FALSE;
        windowlessSite->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* document = nullptr;
        RECT clip = {};
        OLEINPLACEFRAMEINFO frameInfo = {};
        frameInfo.cb = sizeof frameInfo;
        windowlessSite->GetWindowContext(&frame, &document, &rect_, &clip, &frameInfo);
        if (document != nullptr) document->Release();
        if (frame_ != nullptr) frame_->Release();
        frame_ = frame;
        windowlessActive_ = true;
        windowlessSite->InvalidateRect(nullptr, TRUE);
      }
      windowlessSite->Release();
    }
  }
  if (!windowlessActive_ && window_ == nullptr) {
    if (inPlaceSite->CanInPlaceActivate() != S_OK) {
      inPlaceSite->Release();
      return E_FAIL;
    }
    inPlaceSite->OnInPlaceActivate();
    HWND parent = nullptr;
    inPlaceSite->GetWindow(&parent);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position = {}, clip = {};
    OLEINPLACEFRAMEINFO frameInfo = {};
    frameInfo.cb = sizeof frameInfo;
    inPlaceSite->GetWindowContext(&frame, &document, &position, &clip, &frameInfo);
    if (document != nullptr) document->Release();
    if (frame_ != nullptr) frame_->Release();
    frame_ = frame;
    window_ = CreateWindowExA(0, ORB_TEST_CONTROL_WINDOW_CLASS, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                              position.left, position.top, position.right - position.left,
                              position.bottom - position.top, parent, nullptr, instance_, nullptr);
    if (window_ == nullptr) hr = E_FAIL;
  }
  if (SUCCEEDED(hr) && uiActivate && !uiActive_) {
    uiActive_ = true;
    inPlaceSite->OnUIActivate();
    if (frame_ != nullptr) frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"");
    if (windowlessActive_) {
      IOleInPlaceSiteWindowless* windowlessSite = nullptr;
      if (SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowlessSite)))) {
        windowlessSite->SetFocus(TRUE);
        windowlessSite->Release();
      }
    } else {
      SetFocus(window_);
    }
  }
  inPlaceSite->Release();
  return hr;
}

void TestControl::DestroyControlWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
  if (frame_ != nullptr) frame_->Release();
  frame_ = nullptr;
}

STDMETHODIMP TestControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE |
            (invisible_ ? OLEMISC_INVISIBLEATRUNTIME : 0);
  return S_OK;
}

STDMETHODIMP TestControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  if (sink == nullptr || cookie == nullptr) return E_POINTER;
  NoteSiteCall(L"Advise");
  if (adviseSink_ != nullptr) adviseSink_->Release();
  adviseSink_ = sink;
  sink->AddRef();
  *cookie = 1;
  return S_OK;
}

STDMETHODIMP TestControl::Unadvise(DWORD cookie) {
  if (cookie != 1 || adviseSink_ == nullptr) return OLE_E_NOCONNECTION;
  adviseSink_->Release();
  adviseSink_ = nullptr;
  return S_OK;
}

STDMETHODIMP TestControl::GetUserClassID(CLSID* id) {
  if (id == nullptr) return E_POINTER;
  *id = CLSID_OrbTestControl;
  return S_OK;
}

// --- in-place object ---

STDMETHODIMP TestControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP TestControl::InPlaceDeactivate() {
  if (windowlessActive_) {
    UIDeactivate();
    windowlessActive_ = false;
    if (frame_ != nullptr) frame_->Release();
    frame_ = nullptr;
    IOleInPlaceSiteWindowless* windowlessSite = nullptr;
    if (site_ != nullptr &&
        SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowlessSite)))) {
      windowlessSite->OnInPlaceDeactivateEx(TRUE);
      windowlessSite->Release();
    }
    return S_OK;
  }
  if (window_ == nullptr) return S_OK;
  UIDeactivate();
  DestroyControlWindow();
  IOleInPlaceSite* inPlaceSite = nullptr;
  if (site_ != nullptr && SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite)))) {
    inPlaceSite->OnInPlaceDeactivate();
    inPlaceSite->Release();
  }
  return S_OK;
}

STDMETHODIMP TestControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (frame_ != nullptr) frame_->SetActiveObject(nullptr, nullptr);
  IOleInPlaceSite* inPlaceSite = nullptr;
  if (site_ != nullptr && SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlaceSite)))) {
    inPlaceSite->OnUIDeactivate(FALSE);
    inPlaceSite->Release();
  }
  return S_OK;
}

STDMETHODIMP TestControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (position == nullptr) return E_POINTER;
  rect_ = *position;
  if (window_ != nullptr) {
    MoveWindow(window_, position->left, position->top, position->right - position->left,
               position->bottom - position->top, TRUE);
  }
  return S_OK;
}

// --- IOleControl ---

STDMETHODIMP TestControl::GetControlInfo(CONTROLINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->cb = sizeof(CONTROLINFO);
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP TestControl::OnAmbientPropertyChange(DISPID) {
  ++ambientChanges_;
  return S_OK;
}

// --- persistence ---

STDMETHODIMP TestControl::GetClassID(CLSID* id) { return GetUserClassID(id); }

STDMETHODIMP TestControl::InitNew() {
  NoteSiteCall(L"InitNew");
  text_.clear();
  caption_.clear();
  number_ = 0;
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP TestControl::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  unsigned char length = 0;
  ULONG read = 0;
  if (FAILED(stream->Read(&length, 1, &read)) || read != 1) return E_FAIL;
  std::string text(length, '\0');
  if (length > 0 && (FAILED(stream->Read(text.data(), length, &read)) || read != length)) return E_FAIL;
  unsigned char number[4];
  if (FAILED(stream->Read(number, 4, &read)) || read != 4) return E_FAIL;
  text_.assign(text.begin(), text.end());
  for (wchar_t& c : text_) c = static_cast<wchar_t>(static_cast<unsigned char>(c));
  number_ = static_cast<LONG>(number[0] | (number[1] << 8) | (number[2] << 16) | (static_cast<unsigned>(number[3]) << 24));
  dirty_ = false;
  return S_OK;
}

STDMETHODIMP TestControl::Save(IStream* stream, BOOL clearDirty) {
  if (stream == nullptr) return E_POINTER;
  std::string bytes;
  const size_t length = text_.size() > 255 ? 255 : text_.size();
  bytes.push_back(static_cast<char>(length));
  for (size_t i = 0; i < length; ++i) bytes.push_back(static_cast<char>(text_[i] & 0xFF));
  const unsigned long number = static_cast<unsigned long>(number_);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((number >> shift) & 0xFF));
  ULONG written = 0;
  if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) || written != bytes.size()) {
    return STG_E_CANTSAVE;
  }
  if (clearDirty) dirty_ = false;
  return S_OK;
}

STDMETHODIMP TestControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = 1 + 255 + 4;
  return S_OK;
}

STDMETHODIMP TestControl::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  NoteSiteCall(L"Load");
  VARIANT value;
  VariantInit(&value);
  struct Named {
    const wchar_t* name;
    DISPID id;
  } flags[] = {{L"Windowless", kTestWindowless}, {L"FailActivate", kTestFailActivate}, {L"Invisible", kTestInvisible}};
  for (const Named& named : flags) {
    if (SUCCEEDED(bag->Read(named.name, &value, log))) PutProperty(named.id, &value);
    VariantClear(&value);
  }
  if (SUCCEEDED(bag->Read(L"Text", &value, log))) PutProperty(kTestText, &value);
  VariantClear(&value);
  if (SUCCEEDED(bag->Read(L"Number", &value, log))) PutProperty(kTestNumber, &value);
  VariantClear(&value);
  if (SUCCEEDED(bag->Read(L"Caption", &value, log))) PutProperty(kTestCaption, &value);
  VariantClear(&value);
  return S_OK;
}

STDMETHODIMP TestControl::Save(IPropertyBag* bag, BOOL, BOOL) {
  if (bag == nullptr) return E_POINTER;
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocStringLen(text_.data(), static_cast<UINT>(text_.size()));
  bag->Write(L"Text", &value);
  VariantClear(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = number_;
  bag->Write(L"Number", &value);
  return S_OK;
}

// --- connection points and class information ---

STDMETHODIMP TestControl::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (out == nullptr) return E_POINTER;
  *out = new ConnectionPointEnumerator(&events_, &notifications_, 0);
  return S_OK;
}

STDMETHODIMP TestControl::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == DIID_OrbTestControlEvents) *out = &events_;
  if (iid == IID_IPropertyNotifySink) *out = &notifications_;
  if (*out == nullptr) return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

STDMETHODIMP TestControl::GetClassInfo(ITypeInfo** out) { return GetTestTypeInfo(CLSID_OrbTestControl, out); }

// --- windowless drawing and input ---

STDMETHODIMP TestControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                               BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  if (aspect != DVASPECT_CONTENT || dc == nullptr) return DV_E_DVASPECT;
  RECT area = rect_;
  if (bounds != nullptr) area = {bounds->left, bounds->top, bounds->right, bounds->bottom};
  if (bounds == nullptr && !windowlessActive_) return E_INVALIDARG;
  HBRUSH brush = CreateSolidBrush(ORB_TEST_CONTROL_WINDOWLESS_COLOR);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  return S_OK;
}

STDMETHODIMP TestControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  if (size == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  *size = kTestControlExtent;
  return S_OK;
}

STDMETHODIMP TestControl::GetViewStatus(DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  return S_OK;
}

STDMETHODIMP TestControl::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT point, LONG, DWORD* result) {
  if (result == nullptr || bounds == nullptr) return E_POINTER;
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  const LONG middle = bounds->left + (bounds->right - bounds->left) / 2;
  const bool inLeftHalf =
      point.x >= bounds->left && point.x < middle && point.y >= bounds->top && point.y < bounds->bottom;
  *result = inLeftHalf ? HITRESULT_HIT : HITRESULT_OUTSIDE;
  return S_OK;
}

STDMETHODIMP TestControl::OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) {
  if (result != nullptr) *result = 0;
  if (!windowlessActive_) return S_FALSE;
  switch (message) {
    case WM_LBUTTONDOWN:
      ++clicks_;
      return S_OK;
    case WM_KEYDOWN:
      ++keys_;
      return S_OK;
    default:
      return S_FALSE;
  }
}
