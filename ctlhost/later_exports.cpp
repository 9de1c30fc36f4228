// Exports whose work is not built yet: control events and subscriptions,
// and the ambient properties a container reports to its controls.  Each is
// routed to NotBuiltYet, which does nothing, and returns the export's own
// failure value, so a caller sees that nothing was done.  The keyboard
// routing flag, the one export of the routing, works.
#include <windows.h>

#include "ctlhost20.h"
#include "library.h"

namespace ctlhost {
// Does nothing: the export named has no work behind it yet.
void NotBuiltYet(const char* exportName) { (void)exportName; }
}  // namespace ctlhost

using ctlhost::NotBuiltYet;

extern "C" int WINAPI QXActivateTranslateMessage(int flag) {
  if (ctlhost::Library* library = ctlhost::CurrentLibrary()) {
    InterlockedExchange(&library->hooks.translateFlag, flag);
  }
  return 0;
}

// --- events and subscriptions: no subscription is ever made, so no event
// --- handle exists; accessors answer as for a null event.
extern "C" SubscriptionHandle WINAPI QXSubscribeEvents(IDispatch*, ControlEventCallback, int) {
  NotBuiltYet("QXSubscribeEvents");
  return nullptr;
}
extern "C" SubscriptionHandle WINAPI QXSubscribeEventsEx(IDispatch*, char*, ControlEventCallback, int) {
  NotBuiltYet("QXSubscribeEventsEx");
  return nullptr;
}
extern "C" SubscriptionHandle WINAPI QXSubscribeNotifications(IDispatch*, PropertyNotifyCallback, int) {
  NotBuiltYet("QXSubscribeNotifications");
  return nullptr;
}
extern "C" int WINAPI QXUnsubscribe(SubscriptionHandle* handle) {
  NotBuiltYet("QXUnsubscribe");
  return handle == nullptr ? 1 : 2;
}
extern "C" int WINAPI QXActivateAsynchronousEvents(IUnknown*, int) {
  NotBuiltYet("_QXActivateAsynchronousEvents@8");
  return 1;
}
extern "C" int WINAPI QXGetEventName(EventHandle, char* buffer, int size) {
  NotBuiltYet("QXGetEventName");
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return 1;
}
extern "C" int WINAPI QXGetEventParameterNumber(EventHandle) {
  NotBuiltYet("QXGetEventParameterNumber");
  return 0;
}
extern "C" int WINAPI QXGetEventParameterName(EventHandle, int, char* buffer, int size) {
  NotBuiltYet("QXGetEventParameterName");
  if (buffer != nullptr && size > 0) buffer[0] = '\0';
  return 1;
}
extern "C" int WINAPI QXGetEventParameterValue(EventHandle, int, VARIANT* out) {
  NotBuiltYet("QXGetEventParameterValue");
  if (out != nullptr) VariantClear(out);
  return 1;
}
extern "C" int WINAPI QXGetEventParameterValueEx(EventHandle, int, VARIANT** out) {
  NotBuiltYet("_QXGetEventParameterValueEx@12");
  if (out != nullptr) *out = nullptr;
  return 1;
}
extern "C" int WINAPI QXGetEventNamedParameterValue(EventHandle, char*, VARIANT* out) {
  NotBuiltYet("QXGetEventNamedParameterValue");
  if (out != nullptr) VariantClear(out);
  return 1;
}
extern "C" int WINAPI QXGetEventNamedParameterValueEx(EventHandle, char*, VARIANT** out) {
  NotBuiltYet("_QXGetEventNamedParameterValueEx@12");
  if (out != nullptr) *out = nullptr;
  return 1;
}
extern "C" int WINAPI QXSetEventParameterValue(EventHandle, int, VARIANT*) {
  NotBuiltYet("QXSetEventParameterValue");
  return 1;
}
extern "C" int WINAPI QXSetEventNamedParameterValue(EventHandle, char*, VARIANT*) {
  NotBuiltYet("QXSetEventNamedParameterValue");
  return 1;
}
extern "C" IDispatch* WINAPI QXGetEventSenderDispatch(EventHandle) {
  NotBuiltYet("QXGetEventSenderDispatch");
  return nullptr;
}
extern "C" int WINAPI QXSetEventReleaseLater(EventHandle, int) {
  NotBuiltYet("_QXSetEventReleaseLater@8");
  return 1;
}
extern "C" int WINAPI QXDeleteEvent(EventHandle) {
  NotBuiltYet("_QXDeleteEvent@4");
  return 1;
}
extern "C" int WINAPI QXDuplicateEvent(EventHandle) {
  // Does nothing by definition.
  return 0;
}
extern "C" int WINAPI QXIsEventSynchronous(EventHandle, int* out) {
  NotBuiltYet("QXIsEventSynchronous");
  if (out != nullptr) *out = 0;
  return 1;
}

// --- ambient properties: nothing is stored, so nothing is reported.
#define CTLHOST_AMBIENT_STUB(Name, Type)                 \
  extern "C" int WINAPI Name(HWND, Type) {               \
    NotBuiltYet(#Name);                                  \
    return 2;                                            \
  }
CTLHOST_AMBIENT_STUB(QXSetAmbientBackColor, OLE_COLOR)
CTLHOST_AMBIENT_STUB(QXGetAmbientBackColor, OLE_COLOR*)
CTLHOST_AMBIENT_STUB(QXSetAmbientForeColor, OLE_COLOR)
CTLHOST_AMBIENT_STUB(QXGetAmbientForeColor, OLE_COLOR*)
CTLHOST_AMBIENT_STUB(QXSetAmbientUserMode, short)
CTLHOST_AMBIENT_STUB(QXGetAmbientUserMode, short*)
CTLHOST_AMBIENT_STUB(QXSetAmbientUIDead, short)
CTLHOST_AMBIENT_STUB(QXGetAmbientUIDead, short*)
CTLHOST_AMBIENT_STUB(QXSetAmbientShowGrabHandles, short)
CTLHOST_AMBIENT_STUB(QXGetAmbientShowGrabHandles, short*)
CTLHOST_AMBIENT_STUB(QXSetAmbientShowHatching, short)
CTLHOST_AMBIENT_STUB(QXGetAmbientShowHatching, short*)
#undef CTLHOST_AMBIENT_STUB

extern "C" int WINAPI QXSetAmbientFont(HWND, char*, int, int, int) {
  NotBuiltYet("QXSetAmbientFont");
  return 2;
}
extern "C" int WINAPI QXGetAmbientFont(HWND, char* faceName, int*, int*, int*) {
  NotBuiltYet("QXGetAmbientFont");
  if (faceName != nullptr) faceName[0] = '\0';
  return 2;
}
