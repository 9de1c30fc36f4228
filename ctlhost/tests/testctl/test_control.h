// The test ActiveX control "OrbTest.Control" (orbtestctl.dll) that every
// Wine test of the control container library hosts: an in-process server
// with a type library built when it is first asked for, properties a test
// can set and read, stream and property-bag persistence with a known byte
// format, a window while it is active in place, and events.
//
// Saved state: one byte n, n bytes of Text (each character's low byte),
// then Number as 4 bytes, little endian: 1 + n + 4 bytes in all, so a Text
// of 8 characters saves exactly 13 bytes.  Load fails when the stream ends
// early.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

// {6B1F0E2A-3C4D-4E5F-8A9B-0C1D2E3F4A5B}
inline const GUID CLSID_OrbTestControl = {0x6b1f0e2a, 0x3c4d, 0x4e5f, {0x8a, 0x9b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};
// {6B1F0E2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B}: the type library
inline const GUID LIBID_OrbTestControl = {0x6b1f0e2b, 0x3c4d, 0x4e5f, {0x8a, 0x9b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};
// {6B1F0E2C-3C4D-4E5F-8A9B-0C1D2E3F4A5B}: the control's dispinterface
inline const GUID DIID_OrbTestControl = {0x6b1f0e2c, 0x3c4d, 0x4e5f, {0x8a, 0x9b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};
// {6B1F0E2D-3C4D-4E5F-8A9B-0C1D2E3F4A5B}: its event dispinterface
inline const GUID DIID_OrbTestControlEvents = {0x6b1f0e2d, 0x3c4d, 0x4e5f, {0x8a, 0x9b, 0x0c, 0x1d, 0x2e, 0x3f, 0x4a, 0x5b}};

#define ORB_TEST_CONTROL_PROGID "OrbTest.Control"
#define ORB_TEST_CONTROL_WINDOW_CLASS "OrbTestControlWindow"

// Properties and methods (DISPIDs).
enum OrbTestControlDispid {
  kTestText = DISPID_TEXT,            // BSTR, read and write
  kTestCaption = DISPID_CAPTION,      // BSTR, read and write
  kTestWindow = DISPID_HWND,          // long, read only: the window while active
  kTestRefresh = DISPID_REFRESH,      // method: counts in RefreshCount
  kTestNumber = 1,                    // long, read and write
  kTestRefreshCount = 2,              // long, read only
  kTestAmbientChanges = 3,            // long, read only: OnAmbientPropertyChange calls
  kTestPropertyVerbs = 4,             // long, read only: DoVerb(OLEIVERB_PROPERTIES) calls
  kTestNotify = 5,                    // method (BSTR what): fires Changed(what)
  kTestFireRequest = 6,               // method (BSTR text, long count): fires Request
  kTestLastCount = 7,                 // long, read only: Count as the sinks left it
  kTestLastCancel = 8,                // bool, read only: Cancel as the sinks left it
  kTestFireUndeclared = 9,            // method: fires member 99, which no interface declares
  kTestAmbient = 10,                  // method (long dispid): the ambient property its site reports
  kTestClicks = 11,                   // long, read only: left clicks received while windowless
  kTestWindowless = 12,               // bool, read and write: activate without a window when allowed
  kTestFailActivate = 13,             // bool, read and write: in-place activation fails
  kTestKeys = 14,                     // long, read only: key presses received while windowless
  kTestSiteCalls = 15,                // BSTR, read only: the container's calls, in order
  kTestInvisible = 16,                // bool, read and write: reports OLEMISC_INVISIBLEATRUNTIME
  kTestNavigate = 17,                 // method (BSTR url, four optional VARIANTs), as a web browser's:
                                      // the url becomes the window's text and TitleChange(url) fires
  kTestNavigations = 18,              // long, read only: Navigate calls
};
// Events.
enum OrbTestControlEventDispid {
  kTestEventChanged = 1,    // Changed([in] BSTR What)
  kTestEventRequest = 2,    // Request([in] BSTR Text, [in, out] long* Count, [in, out] VARIANT_BOOL* Cancel)
  kTestEventTitleChange = 3,  // TitleChange([in] BSTR Text), as a web browser's
  kTestEventUndeclared = 99,
};

// While windowless, the control paints its rectangle in this colour and
// answers hits only in the left half of it.
#define ORB_TEST_CONTROL_WINDOWLESS_COLOR RGB(200, 40, 120)
// Its extent (HIMETRIC) as a control invisible at run time.
inline constexpr SIZEL kTestControlExtent = {2540, 1270};
