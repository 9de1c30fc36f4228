// Containers under Wine: the ambient properties the test control reads
// through its site, the parent's background, a windowless control that
// paints into the parent and takes clicks and keys there, keyboard
// routing (Tab order, messages only looked at, activation), and a control
// whose creation fails.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <string>
#include <vector>

#include "control_registration.h"
#include "ctlhost20.h"
#include "harness.h"
#include "test_control.h"

namespace {

HWND MakeParent(const char* className = "STATIC") {
  RECT frame = {0, 0, 400, 300};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return CreateWindowExA(0, className, "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

IDispatch* Create(HWND parent, const char* name, const char* spec, int windowlessAllowed, int x = 20, int y = 20,
                  int cx = 120, int cy = 80) {
  IDispatch* control = nullptr;
  EXPECT_EQ(QXCreateControl(parent, const_cast<char*>(name), x, y, cx, cy, const_cast<char*>(spec), windowlessAllowed,
                            &control),
            0)
      << spec;
  return control;
}

VARIANT GetProperty(IDispatch* control, DISPID id) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
  return result;
}

LONG GetNumber(IDispatch* control, DISPID id) {
  VARIANT value = GetProperty(control, id);
  VARIANT number;
  VariantInit(&number);
  const LONG result = SUCCEEDED(VariantChangeType(&number, &value, 0, VT_I4)) ? V_I4(&number) : -999;
  VariantClear(&value);
  return result;
}

HWND ControlWindowOf(IDispatch* control) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(GetNumber(control, kTestWindow)));
}

// The ambient property `dispid` as the control reads it from its site.
HRESULT ReadAmbient(IDispatch* control, DISPID dispid, VARIANT* result) {
  VARIANT id;
  VariantInit(&id);
  V_VT(&id) = VT_I4;
  V_I4(&id) = dispid;
  DISPPARAMS params = {&id, nullptr, 1, 0};
  VariantInit(result);
  return control->Invoke(kTestAmbient, IID_NULL, 0, DISPATCH_METHOD, &params, result, nullptr, nullptr);
}

// --- ambient properties ----------------------------------------------------

class Ambient : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = MakeParent();
    control = Create(parent, "Ambient", "PROGID:OrbTest.Control", 0);
    ASSERT_NE(control, nullptr);
  }
  void TearDown() override {
    if (control != nullptr) QXDeleteControl(control);
    DestroyWindow(parent);
  }
  HWND parent = nullptr;
  IDispatch* control = nullptr;
};

TEST_F(Ambient, ValuesSetAreWhatTheControlReads) {
  short flag = -1;
  EXPECT_EQ(QXGetAmbientUserMode(parent, &flag), 0);
  EXPECT_EQ(flag, 1);
  OLE_COLOR color = 0;
  EXPECT_EQ(QXGetAmbientBackColor(parent, &color), 0);
  EXPECT_EQ(color, GetSysColor(COLOR_WINDOW));

  const LONG changesBefore = GetNumber(control, kTestAmbientChanges);
  EXPECT_EQ(QXSetAmbientBackColor(parent, RGB(10, 200, 30)), 0);
  EXPECT_EQ(QXSetAmbientForeColor(parent, RGB(1, 2, 3)), 0);
  EXPECT_EQ(QXSetAmbientUserMode(parent, 0), 0);
  EXPECT_EQ(QXSetAmbientUIDead(parent, 1), 0);
  EXPECT_EQ(QXSetAmbientShowGrabHandles(parent, 1), 0);
  EXPECT_EQ(QXSetAmbientShowHatching(parent, 1), 0);
  EXPECT_EQ(GetNumber(control, kTestAmbientChanges), changesBefore + 6);

  struct Case {
    DISPID dispid;
    VARTYPE type;
    LONG value;  // as a number
  } cases[] = {
      {DISPID_AMBIENT_BACKCOLOR, VT_UI4, static_cast<LONG>(RGB(10, 200, 30))},
      {DISPID_AMBIENT_FORECOLOR, VT_UI4, static_cast<LONG>(RGB(1, 2, 3))},
      {DISPID_AMBIENT_USERMODE, VT_BOOL, 0},
      {DISPID_AMBIENT_UIDEAD, VT_BOOL, -1},
      {DISPID_AMBIENT_SHOWGRABHANDLES, VT_BOOL, -1},
      {DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, -1},
      {DISPID_AMBIENT_SUPPORTSMNEMONICS, VT_BOOL, -1},
      {DISPID_AMBIENT_MESSAGEREFLECT, VT_BOOL, 0},
      {DISPID_AMBIENT_DISPLAYASDEFAULT, VT_BOOL, 0},
      {DISPID_AMBIENT_LOCALEID, VT_I4, 0x0800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dispid);
    VARIANT value;
    ASSERT_EQ(ReadAmbient(control, c.dispid, &value), S_OK);
    EXPECT_EQ(V_VT(&value), c.type);
    VARIANT number;
    VariantInit(&number);
    ASSERT_EQ(VariantChangeType(&number, &value, 0, VT_I4), S_OK);
    EXPECT_EQ(V_I4(&number), c.value);
  }
  VARIANT none;
  EXPECT_EQ(ReadAmbient(control, DISPID_AMBIENT_SCALEUNITS, &none), E_NOTIMPL);
  EXPECT_EQ(ReadAmbient(control, DISPID_AMBIENT_DISPLAYNAME, &none), E_NOTIMPL);
  EXPECT_EQ(ReadAmbient(control, -700, &none), E_NOTIMPL);

  EXPECT_EQ(QXGetAmbientBackColor(parent, &color), 0);
  EXPECT_EQ(color, RGB(10, 200, 30));
  EXPECT_EQ(QXGetAmbientForeColor(parent, &color), 0);
  EXPECT_EQ(color, RGB(1, 2, 3));
  short values[4] = {-1, -1, -1, -1};
  EXPECT_EQ(QXGetAmbientUserMode(parent, &values[0]), 0);
  EXPECT_EQ(QXGetAmbientUIDead(parent, &values[1]), 0);
  EXPECT_EQ(QXGetAmbientShowGrabHandles(parent, &values[2]), 0);
  EXPECT_EQ(QXGetAmbientShowHatching(parent, &values[3]), 0);
  EXPECT_EQ(std::vector<short>(values, values + 4), std::vector<short>({0, 1, 1, 1}));
  EXPECT_EQ(QXGetAmbientUserMode(parent, nullptr), 0);
  // A handle that is no window has no container.
  EXPECT_EQ(QXSetAmbientBackColor(reinterpret_cast<HWND>(0x1234), 0), 2);
  EXPECT_EQ(QXGetAmbientBackColor(reinterpret_cast<HWND>(0x1234), &color), 1);
}

TEST_F(Ambient, TheFontIsTheOneTheControlGets) {
  EXPECT_EQ(QXSetAmbientFont(parent, const_cast<char*>("Arial"), 12, 3, 700), 0);
  char face[LF_FACESIZE + 8];
  int size = 0, style = 0, weight = 0;
  EXPECT_EQ(QXGetAmbientFont(parent, face, &size, &style, &weight), 0);
  EXPECT_STREQ(face, "Arial");
  EXPECT_EQ(style, 3);
  EXPECT_EQ(weight, 700);

  VARIANT value;
  ASSERT_EQ(ReadAmbient(control, DISPID_AMBIENT_FONT, &value), S_OK);
  ASSERT_EQ(V_VT(&value), VT_DISPATCH);
  IFont* font = nullptr;
  ASSERT_EQ(V_DISPATCH(&value)->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font)), S_OK);
  BOOL bold = FALSE, italic = FALSE, underline = TRUE;
  CY points = {};
  short fontWeight = 0;
  BSTR name = nullptr;
  HFONT handle = nullptr;
  font->get_Bold(&bold);
  font->get_Italic(&italic);
  font->get_Underline(&underline);
  font->get_Size(&points);
  font->get_Weight(&fontWeight);
  font->get_Name(&name);
  font->get_hFont(&handle);
  EXPECT_TRUE(bold);
  EXPECT_TRUE(italic);
  EXPECT_FALSE(underline);
  EXPECT_EQ(fontWeight, 700);
  EXPECT_STREQ(name, L"Arial");
  // The size the library reports is the font's own, in whole points; the
  // font the control draws with is 12 points high.
  EXPECT_EQ(size, static_cast<int>((points.int64 + 5000) / 10000));
  LOGFONTA logical = {};
  ASSERT_EQ(GetObjectA(handle, sizeof logical, &logical), static_cast<int>(sizeof logical));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(logical.lfHeight, -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(logical.lfWeight, 700);
  EXPECT_TRUE(logical.lfItalic);
  SysFreeString(name);
  font->Release();
  VariantClear(&value);

  EXPECT_EQ(QXSetAmbientFont(parent, nullptr, 9, 0, 400), 2);
}

TEST_F(Ambient, TheBackColourFillsTheBackgroundAroundTheItems) {
  RECT client;
  GetClientRect(parent, &client);
  HDC screen = GetDC(parent);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  ReleaseDC(parent, screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  RECT all = client;
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  // Before a colour is set, the parent's own class erases.
  EXPECT_EQ(QXSetAmbientBackColor(parent, RGB(10, 200, 30)), 0);
  EXPECT_EQ(SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0), 1);
  EXPECT_EQ(GetPixel(memory, 300, 200), RGB(10, 200, 30));
  EXPECT_EQ(GetPixel(memory, 5, 5), RGB(10, 200, 30));
  // The control's rectangle (20,20)-(140,100) is left to the control.
  EXPECT_EQ(GetPixel(memory, 60, 60), RGB(0, 0, 0));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);

  // And on screen, through the parent's own paint.
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  harness::PumpMessagesFor(50);
  HDC dc = GetDC(parent);
  EXPECT_EQ(GetPixel(dc, 300, 200), RGB(10, 200, 30));
  ReleaseDC(parent, dc);
}

TEST(Site, AttachOrderAndAControlInvisibleAtRunTime) {
  HWND parent = MakeParent();
  IDispatch* control = Create(parent, "Order", "PROGID:OrbTest.Control;PROPERTIES=Number=I4(1)", 0);
  ASSERT_NE(control, nullptr);
  VARIANT calls = GetProperty(control, kTestSiteCalls);
  ASSERT_EQ(V_VT(&calls), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&calls), L"SetClientSite,InitNew,Load,Advise,DoVerb(-5)");
  VariantClear(&calls);

  // Invisible at run time: not activated while the user mode is on, and
  // its rectangle is its extent in pixels.
  IDispatch* invisible =
      Create(parent, "Invisible", "PROGID:OrbTest.Control;PROPERTIES=Invisible=BOOL(true)", 0, 30, 40, 10, 10);
  ASSERT_NE(invisible, nullptr);
  calls = GetProperty(invisible, kTestSiteCalls);
  EXPECT_STREQ(V_BSTR(&calls), L"SetClientSite,InitNew,Load,Advise");
  VariantClear(&calls);
  EXPECT_EQ(GetNumber(invisible, kTestWindow), 0);
  HDC screen = GetDC(nullptr);
  const int width = kTestControlExtent.cx * GetDeviceCaps(screen, LOGPIXELSX) / 2540;
  const int height = kTestControlExtent.cy * GetDeviceCaps(screen, LOGPIXELSY) / 2540;
  ReleaseDC(nullptr, screen);
  int x = -1, y = -1, cx = -1, cy = -1;
  EXPECT_EQ(QXGetControlPosition(reinterpret_cast<INT_PTR>(invisible), kControlRefCom, &x, &y, &cx, &cy), 0);
  EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({30, 40, width, height}));
  EXPECT_EQ(QXDeleteControl(invisible), 0);

  // While the user designs (user mode off) it is activated and shown; the
  // user mode hides and shows its window.
  ASSERT_EQ(QXSetAmbientUserMode(parent, 0), 0);
  invisible = Create(parent, "Designed", "PROGID:OrbTest.Control;PROPERTIES=Invisible=BOOL(true)", 0, 30, 40, 10, 10);
  ASSERT_NE(invisible, nullptr);
  HWND window = ControlWindowOf(invisible);
  ASSERT_TRUE(IsWindow(window));
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(QXSetAmbientUserMode(parent, 1), 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(QXSetAmbientUserMode(parent, 0), 0);
  EXPECT_TRUE(IsWindowVisible(window));
  HWND controlWindow = ControlWindowOf(control);
  ASSERT_TRUE(IsWindow(controlWindow));
  EXPECT_TRUE(IsWindowVisible(controlWindow)) << "a control visible at run time stays shown";
  EXPECT_EQ(QXDeleteControl(invisible), 0);
  EXPECT_EQ(QXDeleteControl(control), 0);
  DestroyWindow(parent);
}

TEST(Creation, AControlThatFailsToActivateLeavesNoItem) {
  HWND parent = MakeParent();
  IDispatch* control = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(QXCreateControl(parent, const_cast<char*>("Broken"), 0, 0, 50, 50,
                            const_cast<char*>("PROGID:OrbTest.Control;PROPERTIES=FailActivate=BOOL(true)"), 0, &control),
            5);
  EXPECT_EQ(control, nullptr);
  EXPECT_EQ(QXGetNamedControlDispatch(parent, const_cast<char*>("Broken")), nullptr);
  // The name is free again: the failed item is gone.
  IDispatch* working = Create(parent, "Broken", "PROGID:OrbTest.Control", 0);
  ASSERT_NE(working, nullptr);
  char name[64] = {};
  EXPECT_EQ(QXGetControlName(reinterpret_cast<INT_PTR>(working), kControlRefCom, name), 0);
  EXPECT_STREQ(name, "Broken");
  EXPECT_EQ(QXDeleteControl(working), 0);
  DestroyWindow(parent);
}

// --- a windowless control ------------------------------------------------------

// A left click at a point of the parent's client area, as the user gives it:
// the cursor moves there first, and the parent reads it from there.
void ClickAt(HWND parent, int x, int y) {
  POINT screen = {x, y};
  ClientToScreen(parent, &screen);
  SetCursorPos(screen.x, screen.y);
  PostMessageA(parent, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(parent, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  harness::PumpMessagesFor(50);
}

TEST(Windowless, PaintsIntoTheParentAndTakesClicksWhereItIsHit) {
  HWND parent = MakeParent();
  SetForegroundWindow(parent);
  IDispatch* control =
      Create(parent, "Drawn", "PROGID:OrbTest.Control;PROPERTIES=Windowless=BOOL(true)", 1, 100, 60, 160, 100);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetNumber(control, kTestWindow), 0) << "activated with a window of its own";
  HWND window = reinterpret_cast<HWND>(1);
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlWindow)(reinterpret_cast<INT_PTR>(control), kControlRefCom, &window), 0);
  EXPECT_EQ(window, nullptr);

  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpMessagesFor(50);
  HDC dc = GetDC(parent);
  EXPECT_EQ(GetPixel(dc, 120, 80), ORB_TEST_CONTROL_WINDOWLESS_COLOR);
  EXPECT_EQ(GetPixel(dc, 255, 155), ORB_TEST_CONTROL_WINDOWLESS_COLOR);
  EXPECT_NE(GetPixel(dc, 95, 80), ORB_TEST_CONTROL_WINDOWLESS_COLOR);
  EXPECT_NE(GetPixel(dc, 120, 165), ORB_TEST_CONTROL_WINDOWLESS_COLOR);
  ReleaseDC(parent, dc);

  struct Case {
    const char* name;
    int x, y;
    LONG clicks;
  } cases[] = {
      {"left half: a hit", 120, 80, 1},
      {"right half: the control reports no hit", 240, 80, 1},
      {"outside its rectangle", 40, 200, 1},
      {"left half again", 179, 159, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClickAt(parent, c.x, c.y);
    EXPECT_EQ(GetNumber(control, kTestClicks), c.clicks);
  }
  // The click gave it the keyboard: keys sent to the parent reach it.
  EXPECT_EQ(GetFocus(), parent);
  PostMessageA(parent, WM_KEYDOWN, 'A', 0);
  harness::PumpMessagesFor(50);
  EXPECT_EQ(GetNumber(control, kTestKeys), 1);
  EXPECT_EQ(QXDeleteControl(control), 0);

  // Created with windowless activation refused, the same control makes a
  // window.
  IDispatch* windowed =
      Create(parent, "Windowed", "PROGID:OrbTest.Control;PROPERTIES=Windowless=BOOL(true)", 0, 100, 60, 160, 100);
  ASSERT_NE(windowed, nullptr);
  EXPECT_NE(GetNumber(windowed, kTestWindow), 0);
  EXPECT_EQ(QXDeleteControl(windowed), 0);
  DestroyWindow(parent);
}

// --- keyboard routing ----------------------------------------------------------

std::vector<WPARAM> g_commands;
int g_inactivations = 0;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam != 0 && HIWORD(wParam) == 0) g_commands.push_back(wParam);
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ++g_inactivations;
  return DefWindowProcA(window, message, wParam, lParam);
}

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "CtlhostRoutingParent";
    RegisterClassA(&windowClass);
    parent = MakeParent("CtlhostRoutingParent");
    for (int i = 0; i < 3; ++i) {
      edits[i] = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10 + 30 * i, 120, 24, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(10 + i)), nullptr, nullptr);
    }
    button = CreateWindowExA(0, "BUTTON", "Save", WS_CHILD | WS_VISIBLE, 200, 10, 80, 24, parent,
                             reinterpret_cast<HMENU>(20), nullptr, nullptr);
    ASSERT_TRUE(parent && edits[0] && edits[1] && edits[2] && button);
    short visible = 0;
    ASSERT_EQ(QXGetControlVisible(reinterpret_cast<INT_PTR>(edits[0]), kControlRefWindow, &visible), 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(QXSetControlTabOrder(10 + i, kControlRefId, i), 0);
    SetForegroundWindow(parent);
    g_commands.clear();
    g_inactivations = 0;
  }
  void TearDown() override {
    DestroyWindow(parent);
    UnregisterClassA("CtlhostRoutingParent", GetModuleHandleA(nullptr));
  }
  // Posts a key to the focus window; with peek, the host looks at the
  // queue without taking the message first, as message loops often do.
  void Press(WPARAM key, bool peek, UINT message = WM_KEYDOWN, LPARAM lParam = 0) {
    PostMessageA(GetFocus(), message, key, lParam);
    if (peek) {
      MSG looked;
      PeekMessageA(&looked, nullptr, 0, 0, PM_NOREMOVE);
      PeekMessageA(&looked, nullptr, 0, 0, PM_NOREMOVE);
    }
    harness::PumpMessagesFor(50);
  }
  int FocusIndex() const {
    for (int i = 0; i < 3; ++i) {
      if (GetFocus() == edits[i]) return i;
    }
    return -1;
  }

  HWND parent = nullptr, button = nullptr;
  HWND edits[3] = {};
};

TEST_F(Keyboard, TabMovesOnceEvenWhenTheQueueIsLookedAt) {
  SetFocus(edits[0]);
  for (bool peek : {false, true}) {
    SCOPED_TRACE(peek ? "looked at first" : "taken at once");
    SetFocus(edits[0]);
    Press(VK_TAB, peek);
    EXPECT_EQ(FocusIndex(), 1);
    Press(VK_TAB, peek);
    EXPECT_EQ(FocusIndex(), 2);
    Press(VK_TAB, peek);
    EXPECT_EQ(FocusIndex(), 0) << "Tab wraps";
  }
  // Shift+Tab goes back, held in this thread's key state.
  BYTE keys[256], shifted[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  std::memcpy(shifted, keys, sizeof shifted);
  shifted[VK_SHIFT] = 0x80;
  SetFocus(edits[0]);
  ASSERT_TRUE(SetKeyboardState(shifted));
  Press(VK_TAB, true);
  const int back = FocusIndex();
  Press(VK_TAB, true);
  const int further = FocusIndex();
  SetKeyboardState(keys);
  EXPECT_EQ(back, 2);
  EXPECT_EQ(further, 1);
}

TEST_F(Keyboard, TabStepsOverADestroyedItem) {
  DestroyWindow(edits[1]);
  edits[1] = nullptr;
  SetFocus(edits[0]);
  Press(VK_TAB, false);
  EXPECT_EQ(FocusIndex(), 2);
  Press(VK_TAB, false);
  EXPECT_EQ(FocusIndex(), 0);
}

TEST_F(Keyboard, ReturnAndMnemonicsActOnceWhenLookedAt) {
  ASSERT_EQ(QXSetControlFlags(20, kControlRefId, kActsLikeButton), 0);
  ASSERT_EQ(QXSetDefaultButton(parent, 20, kControlRefId), 0);
  ASSERT_EQ(QXSetControlAccelerator(12, kControlRefId, const_cast<char*>("Q")), 0);
  SetFocus(edits[0]);
  Press(VK_RETURN, true);
  EXPECT_EQ(g_commands, std::vector<WPARAM>({20}));

  BYTE keys[256], alt[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  std::memcpy(alt, keys, sizeof alt);
  alt[VK_MENU] = 0x80;
  g_commands.clear();
  SetFocus(edits[0]);
  ASSERT_TRUE(SetKeyboardState(alt));
  Press('Q', true, WM_SYSKEYDOWN, 0x20000000);
  SetKeyboardState(keys);
  EXPECT_EQ(g_commands, std::vector<WPARAM>({12}));
  EXPECT_EQ(FocusIndex(), 2);
}

TEST_F(Keyboard, TheParentHearsItsDeactivationAndGetsItsFocusBack) {
  SetFocus(edits[1]);
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 40, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  SetActiveWindow(other);
  harness::PumpMessagesFor(50);
  EXPECT_EQ(g_inactivations, 1);
  SetActiveWindow(parent);
  harness::PumpMessagesFor(50);
  EXPECT_EQ(FocusIndex(), 1) << "the focus window is given back";
  DestroyWindow(other);
}

}  // namespace
