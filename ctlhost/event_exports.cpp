// The event exports: subscribing callbacks to a control's events and
// property notifications, and reading (and for events that expect values
// back, writing) a fired event's name, parameters and sender.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "core/event_rules.h"
#include "core/names.h"
#include "ctlhost20.h"
#include "event_sink.h"
#include "library.h"

namespace ctlhost {
namespace {

FiredEvent* EventOf(EventHandle handle) { return static_cast<FiredEvent*>(handle); }

SubscriptionHandle Subscribe(IDispatch* control, const char* sourceIid, ControlEventCallback eventCallback,
                             PropertyNotifyCallback notifyCallback, int user) {
  auto* sink = new (std::nothrow) EventSink;
  if (sink == nullptr) return nullptr;
  sink->AddRef();  // the client's handle holds this reference
  if (!sink->Connect(eventCallback, notifyCallback, control, sourceIid, user)) {
    sink->Disconnect();
    sink->Release();
    return nullptr;
  }
  return sink;
}

std::string NameAt(const FiredEvent* event, size_t at) {
  if (at >= event->names.size() || event->names[at] == nullptr) return "";
  BSTR name = event->names[at];
  return NarrowUnits(std::u16string_view(reinterpret_cast<const char16_t*>(name), SysStringLen(name)));
}

// The parameter index of `name`, or -1.
int IndexOfName(const FiredEvent* event, const char* name) {
  if (name == nullptr) return -1;
  std::vector<std::string> names;
  for (size_t i = 0; i < event->names.size(); ++i) names.push_back(NameAt(event, i));
  return FindParameterIndex(names, name);
}

// 0, or 2 when the index is out of range or the copy failed.
int CopyValue(const FiredEvent* event, int index, VARIANT* out) {
  const int slot = ArgumentSlot(index, event->argumentCount);
  if (slot < 0 || out == nullptr || event->arguments == nullptr) return 2;
  return SUCCEEDED(VariantCopyInd(out, &event->arguments->rgvarg[slot])) ? 0 : 2;
}

int CopyValueToHolder(FiredEvent* event, int index, VARIANT** out) {
  VARIANT* holder = NewValueHolder();
  if (holder == nullptr) return 2;
  if (CopyValue(event, index, holder) != 0) {
    FreeValueHolder(&holder);
    return 2;
  }
  // Freed with the event, so a client reading many values does not make
  // the library grow until it is unloaded.
  event->holders.push_back(holder);
  *out = holder;
  return 0;
}

// Writes value through the by-reference argument at index: 0 written; 1
// index out of range; 2 the argument is no reference; 3 null reference; 4
// conversion failed; 5 or 6 the conversion through text failed; 8 a type
// that cannot be stored.
int WriteThrough(FiredEvent* event, int index, VARIANT* value) {
  const int slot = ArgumentSlot(index, event->argumentCount);
  if (slot < 0 || event->arguments == nullptr) return 1;
  VARIANT& argument = event->arguments->rgvarg[slot];
  if ((V_VT(&argument) & VT_BYREF) == 0) return 2;
  if (V_BYREF(&argument) == nullptr) return 3;
  if (value == nullptr) return 4;
  const VARTYPE base = static_cast<VARTYPE>(V_VT(&argument) & ~VT_BYREF);
  VARIANT converted;
  VariantInit(&converted);
  HRESULT hr = VariantChangeType(&converted, value, VARIANT_NOVALUEPROP, base);
  if (hr == DISP_E_TYPEMISMATCH) {
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, value, VARIANT_NOVALUEPROP, VT_BSTR))) return 5;
    hr = VariantChangeType(&converted, &text, VARIANT_NOVALUEPROP, base);
    VariantClear(&text);
    if (FAILED(hr)) return 6;
  } else if (FAILED(hr)) {
    return 4;
  }
  int result = 0;
  void* target = V_BYREF(&argument);
  switch (StoreForType(base)) {
    case ByRefStore::k8:
      *static_cast<BYTE*>(target) = V_UI1(&converted);
      break;
    case ByRefStore::k16:
      *static_cast<USHORT*>(target) = V_UI2(&converted);
      break;
    case ByRefStore::k32:
      *static_cast<ULONG*>(target) = V_UI4(&converted);
      break;
    case ByRefStore::kDouble:
      *static_cast<DOUBLE*>(target) = V_R8(&converted);
      break;
    case ByRefStore::k64:
      *static_cast<CY*>(target) = V_CY(&converted);
      break;
    case ByRefStore::kString: {
      BSTR* stored = static_cast<BSTR*>(target);
      BSTR copy = SysAllocStringLen(V_BSTR(&converted), SysStringLen(V_BSTR(&converted)));
      if (copy == nullptr && V_BSTR(&converted) != nullptr) {
        result = 4;
        break;
      }
      SysFreeString(*stored);
      *stored = copy;
      break;
    }
    case ByRefStore::kInterface: {
      IUnknown** stored = static_cast<IUnknown**>(target);
      IUnknown* fresh = V_UNKNOWN(&converted);
      if (fresh != nullptr) fresh->AddRef();
      if (*stored != nullptr) (*stored)->Release();
      *stored = fresh;
      break;
    }
    case ByRefStore::kNone:
    default:
      result = 8;
      break;
  }
  VariantClear(&converted);
  return result;
}

}  // namespace
}  // namespace ctlhost

using namespace ctlhost;

extern "C" SubscriptionHandle WINAPI QXSubscribeEvents(IDispatch* control, ControlEventCallback cb, int user) {
  ApiLock lock;
  return Subscribe(control, nullptr, cb, nullptr, user);
}

extern "C" SubscriptionHandle WINAPI QXSubscribeEventsEx(IDispatch* control, char* sourceIid, ControlEventCallback cb,
                                                         int user) {
  return Subscribe(control, sourceIid, cb, nullptr, user);
}

extern "C" SubscriptionHandle WINAPI QXSubscribeNotifications(IDispatch* control, PropertyNotifyCallback cb, int user) {
  ApiLock lock;
  return Subscribe(control, nullptr, nullptr, cb, user);
}

extern "C" int WINAPI QXUnsubscribe(SubscriptionHandle* handle) {
  ApiLock lock;
  if (handle == nullptr) return 1;
  auto* sink = static_cast<EventSink*>(*handle);
  if (sink == nullptr) return 2;
  *handle = nullptr;
  sink->Disconnect();
  sink->Release();  // the handle's reference; kept events may hold more
  return 0;
}

extern "C" int WINAPI QXActivateAsynchronousEvents(IUnknown* control, int flag) {
  ApiLock lock;
  Library* library = CurrentLibrary();
  if (library == nullptr) return 0;
  for (void* entry : library->subscriptions.Entries()) {
    auto* sink = static_cast<EventSink*>(entry);
    if (sink->control() == nullptr) continue;
    IUnknown* identity = nullptr;
    if (FAILED(sink->control()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) continue;
    if (identity == control) InterlockedExchange(&sink->asynchronous, flag);
    identity->Release();
  }
  return 0;
}

extern "C" int WINAPI QXGetEventName(EventHandle handle, char* buffer, int size) {
  ApiLock lock;
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  FiredEvent* event = EventOf(handle);
  if (event == nullptr || buffer == nullptr) return 1;
  if (event->names.empty()) return 2;
  if (event->names[0] == nullptr) return 3;
  CopyNarrowName(std::u16string_view(reinterpret_cast<const char16_t*>(event->names[0]), SysStringLen(event->names[0])),
                 buffer, size);
  return 0;
}

extern "C" int WINAPI QXGetEventParameterNumber(EventHandle handle) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  return event == nullptr ? 0 : event->argumentCount;
}

extern "C" int WINAPI QXGetEventParameterName(EventHandle handle, int index, char* buffer, int size) {
  ApiLock lock;
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  if (buffer == nullptr) return 2;
  if (event->names.empty()) return 3;
  if (index < 0 || static_cast<size_t>(index) + 1 >= event->names.size()) return 4;
  BSTR name = event->names[static_cast<size_t>(index) + 1];
  if (name == nullptr) return 5;
  CopyNarrowName(std::u16string_view(reinterpret_cast<const char16_t*>(name), SysStringLen(name)), buffer, size);
  return 0;
}

extern "C" int WINAPI QXGetEventParameterValue(EventHandle handle, int index, VARIANT* out) {
  ApiLock lock;
  if (out != nullptr) VariantClear(out);
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  return CopyValue(event, index, out);
}

extern "C" int WINAPI QXGetEventParameterValueEx(EventHandle handle, int index, VARIANT** out) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  if (out != nullptr) *out = nullptr;
  if (event == nullptr || out == nullptr) return 1;
  return CopyValueToHolder(event, index, out);
}

extern "C" int WINAPI QXGetEventNamedParameterValue(EventHandle handle, char* name, VARIANT* out) {
  ApiLock lock;
  if (out != nullptr) VariantClear(out);
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  return CopyValue(event, IndexOfName(event, name), out);
}

extern "C" int WINAPI QXGetEventNamedParameterValueEx(EventHandle handle, char* name, VARIANT** out) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  if (out != nullptr) *out = nullptr;
  if (event == nullptr || out == nullptr) return 1;
  return CopyValueToHolder(event, IndexOfName(event, name), out);
}

extern "C" int WINAPI QXSetEventParameterValue(EventHandle handle, int index, VARIANT* value) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  return WriteThrough(event, index, value) == 0 ? 0 : 2;
}

extern "C" int WINAPI QXSetEventNamedParameterValue(EventHandle handle, char* name, VARIANT* value) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  return WriteThrough(event, IndexOfName(event, name), value) == 0 ? 0 : 2;
}

extern "C" IDispatch* WINAPI QXGetEventSenderDispatch(EventHandle handle) {
  ApiLock lock;
  FiredEvent* event = EventOf(handle);
  if (event == nullptr || event->sender == nullptr) return nullptr;
  LARGE_INTEGER start = {};
  if (FAILED(event->sender->Seek(start, STREAM_SEEK_SET, nullptr))) return nullptr;
  IDispatch* sender = nullptr;
  if (FAILED(CoUnmarshalInterface(event->sender, IID_IDispatch, reinterpret_cast<void**>(&sender)))) return nullptr;
  return sender;
}

extern "C" int WINAPI QXSetEventReleaseLater(EventHandle handle, int flag) {
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  event->releaseLater = flag;
  return 0;
}

extern "C" int WINAPI QXDeleteEvent(EventHandle handle) {
  FiredEvent* event = EventOf(handle);
  if (event == nullptr) return 1;
  FreeEvent(event);
  return 0;
}

extern "C" int WINAPI QXDuplicateEvent(EventHandle) { return 0; }

extern "C" int WINAPI QXIsEventSynchronous(EventHandle handle, int* out) {
  if (out != nullptr) *out = 0;
  FiredEvent* event = EventOf(handle);
  if (event == nullptr || out == nullptr) return 1;
  *out = event->synchronous != 0 || event->sink == nullptr || event->sink->asynchronous == 0 ? 1 : 0;
  return 0;
}
