// ctlhost20.dll: hosts ActiveX controls and plain child windows inside
// windows of its host program.  Every export is stdcall with ANSI strings
// and returns 0 on success, 1 when a required argument is null or the item
// or container named does not exist, and 2 or more for the step that
// failed; an export returning a pointer or handle returns 0 on failure.
//
// Items are named by a ControlRef: (value, kind) with kind 0 a COM interface
// pointer of a hosted control, 1 a control ID, 2 a window handle.
//
// Fourteen exports keep the stdcall decoration in their exported name on
// i686 ("_QXLogEnter@4"); on x86_64, which has no decoration, they are
// exported under the plain name.  CTLHOST_DECORATED(QXLogEnter) names such
// an export on either architecture.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#ifdef _WIN64
#define CTLHOST_DECORATED(name) name
#else
#define CTLHOST_DECORATED(name) _##name
#endif

extern "C" {

// ControlRef kinds.
enum ControlRefKind { kControlRefCom = 0, kControlRefId = 1, kControlRefWindow = 2 };
// ResizeStyle bits: each keeps one edge at its distance from the parent's far side.
enum ResizeStyleBits {
  kResizeLeftFromRight = 0x0001,
  kResizeRightFromRight = 0x0010,
  kResizeTopFromBottom = 0x0100,
  kResizeBottomFromBottom = 0x1000,
};
// Flags of QXSetControlFlags.
enum ControlFlags { kActsLikeButton = 1, kActsLikeLabel = 2, kEatsReturn = 4, kEatsEscape = 8 };

typedef void* SubscriptionHandle;
typedef void* EventHandle;
typedef int(WINAPI* ControlEventCallback)(SubscriptionHandle, EventHandle, int user);
typedef int(WINAPI* PropertyNotifyCallback)(SubscriptionHandle, char* propertyName, int kind, int user);

// Control creation.
int WINAPI QXCreateControl(HWND parent, char* name, int x, int y, int cx, int cy, char* spec,
                           int windowlessAllowed, IDispatch** out);
int WINAPI QXDeleteControl(IUnknown* control);
IDispatch* WINAPI QXGetNamedControlDispatch(HWND parent, char* name);
int WINAPI QXReleaseDispatch(IUnknown* p);
int WINAPI QXTestControl(IUnknown* control);

// Hosted items.
int WINAPI QXGetControlName(INT_PTR value, int kind, char* out);
int WINAPI QXSetControlTabOrder(INT_PTR value, int kind, int order);
int WINAPI QXGetControlTabOrder(INT_PTR value, int kind, int* out);
int WINAPI QXSetControlZOrder(INT_PTR value, int kind, int order);
int WINAPI QXGetControlZOrder(INT_PTR value, int kind, int* out);
int WINAPI QXOpenControlPropertyPage(INT_PTR value, int kind);
int WINAPI QXSetControlResizeStyle(INT_PTR value, int kind, int style);
int WINAPI QXGetControlResizeStyle(INT_PTR value, int kind, int* out);
int WINAPI QXSetLabeledControl(INT_PTR value, int kind, INT_PTR value2, int kind2);
int WINAPI QXSetFocus(INT_PTR value, int kind);
int WINAPI QXSetControlFlags(INT_PTR value, int kind, int flags);
int WINAPI QXGetControlFlags(INT_PTR value, int kind, int* out);
int WINAPI QXSetControlAccelerator(INT_PTR value, int kind, char* text);
int WINAPI QXGetControlAccelerator(INT_PTR value, int kind, char* out);
int WINAPI QXSetControlVisible(INT_PTR value, int kind, short visible);
int WINAPI QXGetControlVisible(INT_PTR value, int kind, short* out);
int WINAPI CTLHOST_DECORATED(QXSetControlNamedProperty)(INT_PTR value, int kind, char* name, VARIANT* v);
int WINAPI CTLHOST_DECORATED(QXGetControlNamedProperty)(INT_PTR value, int kind, char* name, VARIANT* out);
int WINAPI QXSetControlPosition(INT_PTR value, int kind, int x, int y, int cx, int cy);
int WINAPI QXGetControlPosition(INT_PTR value, int kind, int* x, int* y, int* cx, int* cy);
int WINAPI QXGetControlParent(INT_PTR value, int kind, HWND* out);
int WINAPI CTLHOST_DECORATED(QXGetControlWindow)(INT_PTR value, int kind, HWND* out);
int WINAPI QXSetDefaultButton(HWND parent, INT_PTR value, int kind);
int WINAPI QXSetEscButton(HWND parent, INT_PTR value, int kind);

// Events and subscriptions.
SubscriptionHandle WINAPI QXSubscribeEvents(IDispatch* control, ControlEventCallback cb, int user);
SubscriptionHandle WINAPI QXSubscribeEventsEx(IDispatch* control, char* sourceIid, ControlEventCallback cb,
                                              int user);
SubscriptionHandle WINAPI QXSubscribeNotifications(IDispatch* control, PropertyNotifyCallback cb, int user);
int WINAPI QXUnsubscribe(SubscriptionHandle* handle);
int WINAPI CTLHOST_DECORATED(QXActivateAsynchronousEvents)(IUnknown* control, int flag);
int WINAPI QXGetEventName(EventHandle event, char* buffer, int size);
int WINAPI QXGetEventParameterNumber(EventHandle event);
int WINAPI QXGetEventParameterName(EventHandle event, int index, char* buffer, int size);
int WINAPI QXGetEventParameterValue(EventHandle event, int index, VARIANT* out);
int WINAPI CTLHOST_DECORATED(QXGetEventParameterValueEx)(EventHandle event, int index, VARIANT** out);
int WINAPI QXGetEventNamedParameterValue(EventHandle event, char* name, VARIANT* out);
int WINAPI CTLHOST_DECORATED(QXGetEventNamedParameterValueEx)(EventHandle event, char* name, VARIANT** out);
int WINAPI QXSetEventParameterValue(EventHandle event, int index, VARIANT* value);
int WINAPI QXSetEventNamedParameterValue(EventHandle event, char* name, VARIANT* value);
IDispatch* WINAPI QXGetEventSenderDispatch(EventHandle event);
int WINAPI CTLHOST_DECORATED(QXSetEventReleaseLater)(EventHandle event, int flag);
int WINAPI CTLHOST_DECORATED(QXDeleteEvent)(EventHandle event);
int WINAPI CTLHOST_DECORATED(QXDuplicateEvent)(EventHandle event);
int WINAPI QXIsEventSynchronous(EventHandle event, int* out);

// Keyboard routing.
int WINAPI CTLHOST_DECORATED(QXActivateTranslateMessage)(int flag);

// Ambient properties of a parent window's controls.
int WINAPI QXSetAmbientBackColor(HWND parent, OLE_COLOR color);
int WINAPI QXGetAmbientBackColor(HWND parent, OLE_COLOR* out);
int WINAPI QXSetAmbientForeColor(HWND parent, OLE_COLOR color);
int WINAPI QXGetAmbientForeColor(HWND parent, OLE_COLOR* out);
int WINAPI QXSetAmbientUserMode(HWND parent, short value);
int WINAPI QXGetAmbientUserMode(HWND parent, short* out);
int WINAPI QXSetAmbientUIDead(HWND parent, short value);
int WINAPI QXGetAmbientUIDead(HWND parent, short* out);
int WINAPI QXSetAmbientShowGrabHandles(HWND parent, short value);
int WINAPI QXGetAmbientShowGrabHandles(HWND parent, short* out);
int WINAPI QXSetAmbientShowHatching(HWND parent, short value);
int WINAPI QXGetAmbientShowHatching(HWND parent, short* out);
int WINAPI QXSetAmbientFont(HWND parent, char* faceName, int size, int style, int weight);
int WINAPI QXGetAmbientFont(HWND parent, char* faceName, int* size, int* style, int* weight);

// Saved state.
int WINAPI QXSaveControlToString(IUnknown* control, BSTR* out);
int WINAPI QXLoadControlFromString(IUnknown* control, BSTR data);

// Log file "<host program>.LOG" and trace file c:\ctlhostct20.dbg.
int WINAPI CTLHOST_DECORATED(QXLogEnter)(char* text);
int WINAPI CTLHOST_DECORATED(QXLogLeave)(int result, int force);
int WINAPI CTLHOST_DECORATED(QXLogError)(char* text);
int WINAPI QXLogWrite(char* text);
int WINAPI QXLogSetMargin(int delta);
int WINAPI QXGetLogFile(char* out);
int WINAPI CTLHOST_DECORATED(QXDebug)(char* text);

}  // extern "C"
