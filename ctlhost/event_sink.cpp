// Event subscriptions and fired events; see event_sink.h.
#include "event_sink.h"

#include <new>
#include <string>

#include "core/event_rules.h"
#include "core/names.h"
#include "library.h"

namespace ctlhost {

namespace {

constexpr LCID kLocale = 0x0800;

template <typename T>
void ReleaseAndNull(T*& p) {
  if (p != nullptr) p->Release();
  p = nullptr;
}

// The IID of the class's default source interface, from its type
// information (IProvideClassInfo).
bool DefaultSourceOfClass(IDispatch* control, IID* iid) {
  IProvideClassInfo* provider = nullptr;
  if (FAILED(control->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider))) ||
      provider == nullptr) {
    return false;
  }
  ITypeInfo* classInfo = nullptr;
  const HRESULT hr = provider->GetClassInfo(&classInfo);
  provider->Release();
  if (FAILED(hr) || classInfo == nullptr) return false;
  bool found = false;
  TYPEATTR* attributes = nullptr;
  if (SUCCEEDED(classInfo->GetTypeAttr(&attributes)) && attributes != nullptr) {
    for (UINT i = 0; i < attributes->cImplTypes && !found; ++i) {
      INT flags = 0;
      HREFTYPE reference = 0;
      ITypeInfo* implemented = nullptr;
      if (FAILED(classInfo->GetImplTypeFlags(i, &flags)) || (flags & IMPLTYPEFLAG_FSOURCE) == 0) continue;
      if (FAILED(classInfo->GetRefTypeOfImplType(i, &reference)) ||
          FAILED(classInfo->GetRefTypeInfo(reference, &implemented)) || implemented == nullptr) {
        continue;
      }
      TYPEATTR* source = nullptr;
      if (SUCCEEDED(implemented->GetTypeAttr(&source)) && source != nullptr) {
        *iid = source->guid;
        found = true;
        implemented->ReleaseTypeAttr(source);
      }
      implemented->Release();
    }
    classInfo->ReleaseTypeAttr(attributes);
  }
  classInfo->Release();
  return found;
}

// The interface of the control's first connection point that is not a
// property notification source.
bool FirstEventSource(IConnectionPointContainer* points, IID* iid) {
  IEnumConnectionPoints* list = nullptr;
  if (FAILED(points->EnumConnectionPoints(&list)) || list == nullptr) return false;
  bool found = false;
  IConnectionPoint* point = nullptr;
  ULONG fetched = 0;
  while (!found && list->Next(1, &point, &fetched) == S_OK && fetched == 1 && point != nullptr) {
    IID candidate;
    if (SUCCEEDED(point->GetConnectionInterface(&candidate)) && candidate != IID_IPropertyNotifySink) {
      *iid = candidate;
      found = true;
    }
    point->Release();
    point = nullptr;
  }
  list->Release();
  return found;
}

// Dereferenced copies of the control's arguments, in the same order.
void CopyArguments(FiredEvent* event, const DISPPARAMS* params) {
  event->arguments = &event->owned;
  event->ownsArguments = true;
  event->owned = {nullptr, nullptr, 0, 0};
  const UINT count = params != nullptr ? params->cArgs : 0;
  if (count > 0) {
    event->owned.rgvarg = new (std::nothrow) VARIANT[count];
    if (event->owned.rgvarg != nullptr) {
      event->owned.cArgs = count;
      for (UINT i = 0; i < count; ++i) {
        VariantInit(&event->owned.rgvarg[i]);
        VariantCopyInd(&event->owned.rgvarg[i], &params->rgvarg[i]);
      }
    }
  }
  event->argumentCount = static_cast<int>(event->owned.cArgs);
}

}  // namespace

EventSink::EventSink() {
  if (Library* library = CurrentLibrary()) library->subscriptions.Add(this);
}

EventSink::~EventSink() {
  Disconnect();
  if (Library* library = CurrentLibrary()) library->subscriptions.Remove(this);
}

STDMETHODIMP EventSink::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown) {
    *out = static_cast<IUnknown*>(this);
  } else if (iid == IID_IPropertyNotifySink) {
    *out = static_cast<IPropertyNotifySink*>(&notifySink_);
  } else if (iid == IID_IDispatch || (iid == sourceIid_ && iid != IID_NULL)) {
    *out = static_cast<IDispatch*>(&eventDispatch_);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) EventSink::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) EventSink::Release() {
  const LONG count = InterlockedDecrement(&references_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

void EventSink::ReleaseConnections() {
  ReleaseAndNull(sourceInfo_);
  ReleaseAndNull(controlInfo_);
  ReleaseAndNull(eventPoint_);
  ReleaseAndNull(notifyPoint_);
}

bool EventSink::Connect(ControlEventCallback eventCallback, PropertyNotifyCallback notifyCallback,
                        IDispatch* control, const char* sourceIid, int user) {
  if (control == nullptr) return false;
  IConnectionPointContainer* points = nullptr;
  if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&points))) ||
      points == nullptr) {
    return false;
  }
  IConnectionPoint* eventPoint = nullptr;
  if (sourceIid != nullptr) {
    const std::u16string text = WidenBytes(BracedIid(sourceIid));
    IID named;
    if (SUCCEEDED(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.c_str()), &named)) &&
        FAILED(points->FindConnectionPoint(named, &eventPoint))) {
      eventPoint = nullptr;
    }
  }
  if (eventPoint == nullptr) {
    IID found;
    if ((DefaultSourceOfClass(control, &found) || FirstEventSource(points, &found)) &&
        FAILED(points->FindConnectionPoint(found, &eventPoint))) {
      eventPoint = nullptr;
    }
  }
  IID source = IID_NULL;
  ITypeInfo* controlInfo = nullptr;
  ITypeInfo* sourceInfo = nullptr;
  IConnectionPoint* notifyPoint = nullptr;
  bool ok = eventPoint != nullptr && SUCCEEDED(eventPoint->GetConnectionInterface(&source));
  if (ok) {
    IDispatch* dispatch = nullptr;
    ITypeLib* library = nullptr;
    UINT index = 0;
    ok = SUCCEEDED(control->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) && dispatch != nullptr &&
         SUCCEEDED(dispatch->GetTypeInfo(0, kLocale, &controlInfo)) && controlInfo != nullptr &&
         SUCCEEDED(controlInfo->GetContainingTypeLib(&library, &index)) && library != nullptr;
    if (ok && source != IID_IDispatch) {
      ok = SUCCEEDED(library->GetTypeInfoOfGuid(source, &sourceInfo)) && sourceInfo != nullptr;
    }
    if (library != nullptr) library->Release();
    if (dispatch != nullptr) dispatch->Release();
  }
  if (ok && FAILED(points->FindConnectionPoint(IID_IPropertyNotifySink, &notifyPoint))) notifyPoint = nullptr;
  points->Release();
  if (ok) {
    // The sink answers the source interface from now on, as Advise asks.
    sourceIid_ = source;
    DWORD cookie = 0;
    if (eventCallback != nullptr) {
      ok = SUCCEEDED(eventPoint->Advise(static_cast<IDispatch*>(&eventDispatch_), &cookie));
      if (ok) eventCookie_ = cookie;
    }
    if (ok && notifyCallback != nullptr && notifyPoint != nullptr) {
      cookie = 0;
      ok = SUCCEEDED(notifyPoint->Advise(static_cast<IPropertyNotifySink*>(&notifySink_), &cookie));
      if (ok) notifyCookie_ = cookie;
    }
  }
  ReleaseConnections();
  eventPoint_ = eventPoint;
  notifyPoint_ = notifyPoint;
  controlInfo_ = controlInfo;
  sourceInfo_ = sourceInfo;
  eventCallback_ = eventCallback;
  notifyCallback_ = notifyCallback;
  user_ = user;
  if (ok) control_ = control;
  return ok;
}

void EventSink::Disconnect() {
  AddRef();  // unadvising drops the connection points' references
  if (eventCookie_ != 0 && eventPoint_ != nullptr) {
    const DWORD cookie = eventCookie_;
    eventCookie_ = 0;
    eventPoint_->Unadvise(cookie);
  }
  eventCookie_ = 0;
  if (notifyCookie_ != 0 && notifyPoint_ != nullptr) {
    const DWORD cookie = notifyCookie_;
    notifyCookie_ = 0;
    notifyPoint_->Unadvise(cookie);
  }
  notifyCookie_ = 0;
  ReleaseConnections();
  eventCallback_ = nullptr;
  notifyCallback_ = nullptr;
  user_ = 0;
  // Not Release(): the destructor disconnects too, at a count of 0.
  InterlockedDecrement(&references_);
}

FiredEvent* EventSink::BuildEvent(DISPID dispid, DISPPARAMS* params) {
  auto* event = new (std::nothrow) FiredEvent;
  if (event == nullptr) return nullptr;
  AddRef();
  event->sink = this;
  bool found = false;
  std::vector<DeclaredParameter> declared;
  TYPEATTR* attributes = nullptr;
  if (sourceInfo_ != nullptr && SUCCEEDED(sourceInfo_->GetTypeAttr(&attributes)) && attributes != nullptr) {
    for (UINT i = 0; i < attributes->cFuncs && !found; ++i) {
      FUNCDESC* function = nullptr;
      if (FAILED(sourceInfo_->GetFuncDesc(i, &function)) || function == nullptr) continue;
      if (function->memid == dispid) {
        found = true;
        for (SHORT p = 0; p < function->cParams; ++p) {
          const ELEMDESC& parameter = function->lprgelemdescParam[p];
          declared.push_back({parameter.paramdesc.wParamFlags, parameter.tdesc.vt});
        }
      }
      sourceInfo_->ReleaseFuncDesc(function);
    }
    sourceInfo_->ReleaseTypeAttr(attributes);
  }
  if (!found) return event;  // delivered without name, arguments or sender

  event->synchronous = IsSynchronousEvent(declared) ? 1 : 0;
  if (event->synchronous) {
    event->arguments = params;
    event->argumentCount = params != nullptr ? static_cast<int>(params->cArgs) : 0;
  } else {
    CopyArguments(event, params);
  }
  event->names.assign(declared.size() + 1, nullptr);
  UINT got = 0;
  const bool named =
      SUCCEEDED(sourceInfo_->GetNames(dispid, event->names.data(), static_cast<UINT>(event->names.size()), &got));
  IUnknown* identity = nullptr;
  if (named && control_ != nullptr &&
      SUCCEEDED(control_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) && identity != nullptr) {
    IStream* stream = nullptr;
    if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) && stream != nullptr) {
      if (SUCCEEDED(CoMarshalInterface(stream, IID_IUnknown, identity, MSHCTX_INPROC, nullptr, MSHLFLAGS_TABLEWEAK))) {
        event->sender = stream;
      } else {
        stream->Release();
      }
    }
    identity->Release();
  }
  return event;
}

void FreeEvent(FiredEvent* event) {
  if (event == nullptr) return;
  if (event->ownsArguments && event->owned.rgvarg != nullptr) {
    for (UINT i = 0; i < event->owned.cArgs; ++i) VariantClear(&event->owned.rgvarg[i]);
    delete[] event->owned.rgvarg;
  }
  for (BSTR name : event->names) SysFreeString(name);
  if (event->sender != nullptr) {
    LARGE_INTEGER start = {};
    event->sender->Seek(start, STREAM_SEEK_SET, nullptr);
    CoReleaseMarshalData(event->sender);
    event->sender->Release();
  }
  for (VARIANT* holder : event->holders) FreeValueHolder(&holder);
  EventSink* sink = event->sink;
  delete event;
  if (sink != nullptr) sink->Release();
}

HRESULT EventSink::OnEvent(DISPID dispid, DISPPARAMS* params, VARIANT* result) {
  if (result != nullptr) VariantInit(result);
  AddRef();  // the client may unsubscribe from its callback
  FiredEvent* event = BuildEvent(dispid, params);
  if (event != nullptr) {
    if (eventCallback_ != nullptr && user_ != 0) eventCallback_(this, event, user_);
    if (!event->releaseLater) {
      FreeEvent(event);
    } else if (!event->ownsArguments) {
      // The control's arguments end with its call: a kept event reads
      // copies of them from now on.
      CopyArguments(event, params);
    }
  }
  Release();
  return S_OK;
}

HRESULT EventSink::OnNotification(DISPID dispid, int kind) {
  if (notifyCallback_ == nullptr || user_ == 0) return S_OK;
  std::string name;
  if (controlInfo_ != nullptr) {
    BSTR text = nullptr;
    UINT got = 0;
    if (SUCCEEDED(controlInfo_->GetNames(dispid, &text, 1, &got)) && got == 1 && text != nullptr) {
      name = NarrowUnits(std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
    }
    SysFreeString(text);
  }
  AddRef();
  const int answer = notifyCallback_(this, name.data(), kind, user_);
  Release();
  return kind == 2 && answer == 1 ? S_FALSE : S_OK;
}

}  // namespace ctlhost
