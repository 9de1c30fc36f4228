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
};
// Events.
enum OrbTestControlEventDispid { kTestEventChanged = 1 };
