// Subscriptions to a control's events and property notifications.  A sink
// connects itself to the control's event source (a connection point) and,
// when asked, to its IPropertyNotifySink source; each event fired becomes a
// FiredEvent record that the client's callback reads through the event
// exports while it runs (or later, when it keeps the record).
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <vector>

#include "ctlhost20.h"

namespace ctlhost {

class EventSink;

// One fired event.  Arguments are the control's own (by reference, valid
// only during the control's call) for events that expect values back, and
// dereferenced copies otherwise; a synchronous event the client keeps past
// its callback is given copies when the call ends.
struct FiredEvent {
  EventSink* sink = nullptr;
  DISPPARAMS* arguments = nullptr;
  DISPPARAMS owned = {nullptr, nullptr, 0, 0};
  bool ownsArguments = false;
  std::vector<BSTR> names;  // the event's name, then its parameters'; empty without names
  int argumentCount = 0;
  IStream* sender = nullptr;
  int synchronous = 0;
  int releaseLater = 0;
  // The library-owned VARIANTs the Ex getters handed out for this event.
  std::vector<VARIANT*> holders;
};

class EventSink final : public IUnknown {
 public:
  EventSink();
  EventSink(const EventSink&) = delete;
  EventSink& operator=(const EventSink&) = delete;

  // Connects to the control's event source (the one named by sourceIid,
  // else the class's default source, else the first that is not a property
  // notification source) and its notification source; false on failure.
  bool Connect(ControlEventCallback eventCallback, PropertyNotifyCallback notifyCallback, IDispatch* control,
               const char* sourceIid, int user);
  // Unadvises both connections and forgets the callbacks.
  void Disconnect();

  IDispatch* control() const { return control_; }
  volatile LONG asynchronous = 1;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

 private:
  class EventDispatch final : public IDispatch {
   public:
    explicit EventDispatch(EventSink* sink) : sink_(sink) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return sink_->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return sink_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return sink_->Release(); }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
      if (count != nullptr) *count = 0;
      return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
      if (out != nullptr) *out = nullptr;
      return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
      return sink_->OnEvent(dispid, params, result);
    }

   private:
    EventSink* sink_;
  };

  class NotifySink final : public IPropertyNotifySink {
   public:
    explicit NotifySink(EventSink* sink) : sink_(sink) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return sink_->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return sink_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return sink_->Release(); }
    STDMETHODIMP OnChanged(DISPID dispid) override { return sink_->OnNotification(dispid, 1); }
    STDMETHODIMP OnRequestEdit(DISPID dispid) override { return sink_->OnNotification(dispid, 2); }

   private:
    EventSink* sink_;
  };

  ~EventSink();
  HRESULT OnEvent(DISPID dispid, DISPPARAMS* params, VARIANT* result);
  HRESULT OnNotification(DISPID dispid, int kind);
  FiredEvent* BuildEvent(DISPID dispid, DISPPARAMS* params);
  void ReleaseConnections();

  LONG references_ = 0;
  ITypeInfo* sourceInfo_ = nullptr;
  ITypeInfo* controlInfo_ = nullptr;
  IID sourceIid_ = IID_NULL;
  DWORD eventCookie_ = 0;
  DWORD notifyCookie_ = 0;
  ControlEventCallback eventCallback_ = nullptr;
  PropertyNotifyCallback notifyCallback_ = nullptr;
  int user_ = 0;
  IDispatch* control_ = nullptr;
  NotifySink notifySink_{this};
  EventDispatch eventDispatch_{this};
  IConnectionPoint* eventPoint_ = nullptr;
  IConnectionPoint* notifyPoint_ = nullptr;
};

// Frees an event record: its copies, names, sender and holders, and its
// reference to the sink.
void FreeEvent(FiredEvent* event);

}  // namespace ctlhost
