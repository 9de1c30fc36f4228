// Hosted items under Wine, through the exports as a host program calls
// them: plain child windows adopted as window items (kinds 1 and 2) and the
// test control "OrbTest.Control" created as a control item (kind 0).  Each
// test checks the windows themselves: rectangles, visibility, stacking,
// styles and procedures.
#include <gtest/gtest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <string>
#include <vector>

#include "ctlhost20.h"
#include "control_registration.h"
#include "harness.h"
#include "test_control.h"

namespace {

// --- reading and writing the control's properties ---------------------

VARIANT GetProperty(IDispatch* control, DISPID id) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
  return result;
}

LONG GetNumber(IDispatch* control, DISPID id) {
  VARIANT value = GetProperty(control, id);
  const LONG number = V_VT(&value) == VT_I4 ? V_I4(&value) : -999;
  VariantClear(&value);
  return number;
}

std::wstring GetText(IDispatch* control, DISPID id) {
  VARIANT value = GetProperty(control, id);
  std::wstring text = V_VT(&value) == VT_BSTR && V_BSTR(&value) != nullptr ? V_BSTR(&value) : L"<none>";
  VariantClear(&value);
  return text;
}

void PutProperty(IDispatch* control, DISPID id, VARIANT value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  ASSERT_EQ(control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr), S_OK);
}

void PutText(IDispatch* control, DISPID id, const wchar_t* text) {
  VARIANT value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text);
  PutProperty(control, id, value);
  SysFreeString(V_BSTR(&value));
}

void PutNumber(IDispatch* control, DISPID id, LONG number) {
  VARIANT value;
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  PutProperty(control, id, value);
}

IDispatch* NewUnhostedControl() {
  IDispatch* control = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_OrbTestControl, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                             reinterpret_cast<void**>(&control)),
            S_OK);
  return control;
}

// --- windows -------------------------------------------------------------

// A rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT rect = harness::WindowRectOf(child);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// A top-level parent whose client area is width x height.
HWND MakeParent(int width, int height) {
  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | SS_NOTIFY, 40, 40,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
}

void ResizeClient(HWND parent, int width, int height) {
  RECT frame = {0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  SetWindowPos(parent, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  harness::PumpMessagesFor(20);
}

HWND ControlWindow(IDispatch* control) {
  HWND window = nullptr;
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlWindow)(reinterpret_cast<INT_PTR>(control), kControlRefCom, &window), 0);
  return window;
}

const char kSpec[] = "PROGID:OrbTest.Control;PROPERTIES=Text=BSTR(hello world),Number=I4(42)";

IDispatch* CreateTestControl(HWND parent, const char* name, int x, int y, int cx, int cy) {
  IDispatch* control = nullptr;
  EXPECT_EQ(QXCreateControl(parent, const_cast<char*>(name), x, y, cx, cy, const_cast<char*>(kSpec), 1, &control), 0);
  return control;
}

INT_PTR Ref(IDispatch* control) { return reinterpret_cast<INT_PTR>(control); }
INT_PTR Ref(HWND window) { return reinterpret_cast<INT_PTR>(window); }

// --- window items ------------------------------------------------------------

class WindowItems : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = MakeParent(400, 300);
    button = CreateWindowExA(0, "BUTTON", "Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, parent,
                             reinterpret_cast<HMENU>(201), nullptr, nullptr);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 40, 120, 24, parent, reinterpret_cast<HMENU>(202),
                           nullptr, nullptr);
    label = CreateWindowExA(0, "STATIC", "Name", WS_CHILD | WS_VISIBLE, 10, 70, 60, 20, parent,
                            reinterpret_cast<HMENU>(203), nullptr, nullptr);
    ASSERT_TRUE(parent && button && edit && label);
  }
  void TearDown() override { DestroyWindow(parent); }

  HWND parent = nullptr, button = nullptr, edit = nullptr, label = nullptr;
};

TEST_F(WindowItems, LookupByWindowMakesTheParentsContainer) {
  const LONG_PTR before = GetWindowLongPtrA(parent, GWLP_WNDPROC);
  short visible = -1;
  // No container yet: a lookup by control ID finds nothing.
  EXPECT_EQ(QXGetControlVisible(202, kControlRefId, &visible), 2);
  EXPECT_EQ(visible, -1);
  EXPECT_EQ(QXGetControlVisible(Ref(edit), kControlRefWindow, &visible), 0);
  EXPECT_EQ(visible, 1);
  EXPECT_NE(GetWindowLongPtrA(parent, GWLP_WNDPROC), before) << "the parent was not subclassed";
  // Every child was adopted with the container.
  EXPECT_EQ(QXGetControlVisible(203, kControlRefId, &visible), 0);
  HWND found = nullptr;
  EXPECT_EQ(QXGetControlParent(201, kControlRefId, &found), 0);
  EXPECT_EQ(found, parent);
  EXPECT_EQ(QXGetControlVisible(999, kControlRefId, &visible), 2);
  EXPECT_EQ(QXGetControlVisible(Ref(edit), 7, &visible), 2);  // no such kind
}

TEST_F(WindowItems, VisibilityAndPositionRoundTrip) {
  ASSERT_EQ(QXSetControlVisible(Ref(edit), kControlRefWindow, 0), 0);
  EXPECT_FALSE(IsWindowVisible(edit));
  short visible = -1;
  EXPECT_EQ(QXGetControlVisible(202, kControlRefId, &visible), 0);
  EXPECT_EQ(visible, 0);
  ASSERT_EQ(QXSetControlVisible(202, kControlRefId, 1), 0);
  EXPECT_TRUE(IsWindowVisible(edit));

  ASSERT_EQ(QXSetControlPosition(202, kControlRefId, 20, 45, 150, 30), 0);
  const RECT expected = {20, 45, 170, 75};
  EXPECT_TRUE(SameRect(ChildRect(edit), expected)) << Describe(ChildRect(edit));
  int x = -1, y = -1, cx = -1, cy = -1;
  EXPECT_EQ(QXGetControlPosition(202, kControlRefId, &x, &y, &cx, &cy), 0);
  EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({20, 45, 150, 30}));
  // A missing out pointer is refused and nothing is written.
  x = y = cx = 77;
  EXPECT_EQ(QXGetControlPosition(202, kControlRefId, &x, &y, &cx, nullptr), 1);
  EXPECT_EQ(std::vector<int>({x, y, cx}), std::vector<int>({77, 77, 77}));
}

TEST_F(WindowItems, TabOrderFlagsAcceleratorAndNamedProperties) {
  ASSERT_EQ(QXSetControlTabOrder(201, kControlRefId, 0), 1);  // no container yet
  short visible;
  ASSERT_EQ(QXGetControlVisible(Ref(button), kControlRefWindow, &visible), 0);
  EXPECT_EQ(QXSetControlTabOrder(201, kControlRefId, 5), 0);
  EXPECT_EQ(QXSetControlTabOrder(202, kControlRefId, 5), 0);
  EXPECT_EQ(QXSetControlTabOrder(203, kControlRefId, 0), 0);
  int order[3] = {-9, -9, -9};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(QXGetControlTabOrder(201 + i, kControlRefId, &order[i]), 0);
  EXPECT_EQ(std::vector<int>(order, order + 3), std::vector<int>({1, 2, 0}));

  int flags = -1;
  EXPECT_EQ(QXSetControlFlags(202, kControlRefId, 4 | 8), 0);
  EXPECT_EQ(QXGetControlFlags(202, kControlRefId, &flags), 0);
  EXPECT_EQ(flags, 12);
  char text[256] = "sentinel";
  EXPECT_EQ(QXSetControlAccelerator(201, kControlRefId, const_cast<char*>("S")), 0);
  EXPECT_EQ(QXGetControlAccelerator(201, kControlRefId, text), 0);
  EXPECT_STREQ(text, "S");
  EXPECT_EQ(QXSetControlAccelerator(201, kControlRefId, nullptr), 0);
  EXPECT_EQ(QXGetControlAccelerator(201, kControlRefId, text), 0);
  EXPECT_STREQ(text, "");

  VARIANT value, out;
  V_VT(&value) = VT_I4;
  V_I4(&value) = 5;
  VariantInit(&out);
  EXPECT_EQ(CTLHOST_DECORATED(QXSetControlNamedProperty)(202, kControlRefId, const_cast<char*>("Day"), &value), 0);
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlNamedProperty)(202, kControlRefId, const_cast<char*>("DAY"), &out), 0);
  EXPECT_EQ(V_VT(&out), VT_I4);
  EXPECT_EQ(V_I4(&out), 5);
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlNamedProperty)(202, kControlRefId, const_cast<char*>("never"), &out), 0);
  EXPECT_EQ(V_VT(&out), VT_EMPTY);
  // A null name is a missing argument, not a name.
  EXPECT_EQ(CTLHOST_DECORATED(QXSetControlNamedProperty)(202, kControlRefId, nullptr, &value), 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXGetControlNamedProperty)(202, kControlRefId, nullptr, &out), 1);
  EXPECT_EQ(CTLHOST_DECORATED(QXSetControlNamedProperty)(202, kControlRefId, const_cast<char*>("Day"), nullptr), 1);
}

TEST_F(WindowItems, DefaultButtonOnlyForButtons) {
  short visible;
  ASSERT_EQ(QXGetControlVisible(Ref(button), kControlRefWindow, &visible), 0);
  EXPECT_EQ(QXSetDefaultButton(parent, 201, kControlRefId), 3);  // flags not set: not a button
  EXPECT_EQ(QXSetControlFlags(201, kControlRefId, kActsLikeButton), 0);
  EXPECT_EQ(QXSetDefaultButton(parent, 201, kControlRefId), 0);
  EXPECT_TRUE(GetWindowLongPtrA(button, GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(QXSetEscButton(parent, 201, kControlRefId), 0);
  // A refused item leaves the container without a default button.
  EXPECT_EQ(QXSetDefaultButton(parent, 202, kControlRefId), 3);
  EXPECT_FALSE(GetWindowLongPtrA(button, GWL_STYLE) & BS_DEFPUSHBUTTON);
  EXPECT_EQ(QXSetDefaultButton(parent, 999, kControlRefId), 2);
  EXPECT_EQ(QXOpenControlPropertyPage(201, kControlRefId), 2);
}

TEST_F(WindowItems, ADestroyedWindowLeavesItsItem) {
  short visible;
  ASSERT_EQ(QXGetControlVisible(Ref(label), kControlRefWindow, &visible), 0);
  DestroyWindow(label);
  EXPECT_EQ(QXGetControlVisible(203, kControlRefId, &visible), 2);
  // A new child is adopted as it is made.
  HWND late = CreateWindowExA(0, "STATIC", "late", WS_CHILD | WS_VISIBLE, 200, 10, 50, 20, parent,
                              reinterpret_cast<HMENU>(204), nullptr, nullptr);
  ASSERT_NE(late, nullptr);
  EXPECT_EQ(QXGetControlVisible(204, kControlRefId, &visible), 0);
}

// Dialog keys reach the items through the library's hook on this thread:
// Return presses the default button (WM_COMMAND to the parent) unless the
// focused item eats Return; Escape presses the escape button likewise; Alt
// and a letter press the item whose accelerator text holds it.
std::vector<WPARAM> g_commands;
int g_closeRequests = 0;

LRESULT CALLBACK RecordingParentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam != 0 && HIWORD(wParam) == 0) g_commands.push_back(wParam);
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
    ++g_closeRequests;  // counted, and the window stays
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(DialogKeys, ReturnEscapeAndMnemonicsGoToTheirItems) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = RecordingParentProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "CtlhostKeysParent";
  RegisterClassA(&windowClass);
  HWND parent = CreateWindowExA(0, "CtlhostKeysParent", "keys", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 200,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND ok = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 10, 10, 80, 24, parent,
                            reinterpret_cast<HMENU>(1), nullptr, nullptr);
  HWND cancel = CreateWindowExA(0, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE, 100, 10, 80, 24, parent,
                                reinterpret_cast<HMENU>(2), nullptr, nullptr);
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 50, 120, 24, parent,
                              reinterpret_cast<HMENU>(3), nullptr, nullptr);
  ASSERT_TRUE(parent && ok && cancel && edit);
  EXPECT_EQ(QXSetControlFlags(Ref(ok), kControlRefWindow, kActsLikeButton), 0);
  EXPECT_EQ(QXSetControlFlags(2, kControlRefId, kActsLikeButton), 0);
  EXPECT_EQ(QXSetDefaultButton(parent, 1, kControlRefId), 0);
  EXPECT_EQ(QXSetEscButton(parent, 2, kControlRefId), 0);
  SetForegroundWindow(parent);
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);

  struct Case {
    const char* name;
    int editFlags;
    WPARAM key;
    std::vector<WPARAM> commands;
  } cases[] = {
      {"Return presses the default button", 0, VK_RETURN, {1}},
      {"Escape presses the escape button", 0, VK_ESCAPE, {2}},
      {"an item eating Return keeps it", kEatsReturn, VK_RETURN, {}},
      {"an item eating Escape keeps it", kEatsEscape, VK_ESCAPE, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(QXSetControlFlags(3, kControlRefId, c.editFlags), 0);
    SetFocus(ok);  // the focus item is taken again with the new flags
    SetFocus(edit);
    g_commands.clear();
    PostMessageA(edit, WM_KEYDOWN, c.key, 0);
    harness::PumpMessagesFor(100);
    EXPECT_EQ(g_commands, c.commands);
  }

  // Mnemonics: Alt and a letter of an item's accelerator text.  The Alt key
  // is held in this thread's key state, which the library reads.
  HWND label = CreateWindowExA(0, "STATIC", "Name", WS_CHILD | WS_VISIBLE, 10, 80, 60, 20, parent,
                               reinterpret_cast<HMENU>(4), nullptr, nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(QXSetControlFlags(3, kControlRefId, 0), 0);
  EXPECT_EQ(QXSetControlAccelerator(2, kControlRefId, const_cast<char*>("S")), 0);
  EXPECT_EQ(QXSetControlAccelerator(4, kControlRefId, const_cast<char*>("n")), 0);
  EXPECT_EQ(QXSetLabeledControl(4, kControlRefId, 3, kControlRefId), 0);
  BYTE keys[256];
  ASSERT_TRUE(GetKeyboardState(keys));
  BYTE altDown[256];
  memcpy(altDown, keys, sizeof altDown);
  altDown[VK_MENU] = 0x80;
  struct Mnemonic {
    const char* name;
    WPARAM key;
    std::vector<WPARAM> commands;
    HWND focus;
    int closeRequests;  // an Alt+F4 not taken goes on to close the window
  } mnemonics[] = {
      {"Alt+S presses the item whose text holds S", 'S', {2}, cancel, 0},
      {"Alt+F4 is no S", VK_F4, {}, edit, 1},
      {"Alt+N goes to the labelled item", 'N', {3}, edit, 0},
  };
  for (const Mnemonic& m : mnemonics) {
    SCOPED_TRACE(m.name);
    SetFocus(edit);
    ASSERT_TRUE(SetKeyboardState(altDown));
    g_commands.clear();
    g_closeRequests = 0;
    PostMessageA(edit, WM_SYSKEYDOWN, m.key, 0x20000000);
    harness::PumpMessagesFor(100);
    SetKeyboardState(keys);
    EXPECT_EQ(g_commands, m.commands);
    EXPECT_EQ(GetFocus(), m.focus);
    EXPECT_EQ(g_closeRequests, m.closeRequests);
  }
  DestroyWindow(parent);
  UnregisterClassA("CtlhostKeysParent", windowClass.hInstance);
}

// --- control items -----------------------------------------------------------

class ControlItems : public ::testing::Test {
 protected:
  void SetUp() override { parent = MakeParent(400, 300); }
  void TearDown() override {
    for (IDispatch* control : controls) QXDeleteControl(control);
    DestroyWindow(parent);
  }
  IDispatch* Create(const char* name, int x, int y, int cx, int cy) {
    IDispatch* control = CreateTestControl(parent, name, x, y, cx, cy);
    if (control != nullptr) controls.push_back(control);
    return control;
  }
  void Delete(IDispatch* control) {
    for (auto it = controls.begin(); it != controls.end(); ++it) {
      if (*it == control) {
        controls.erase(it);
        break;
      }
    }
    EXPECT_EQ(QXDeleteControl(control), 0);
  }

  HWND parent = nullptr;
  std::vector<IDispatch*> controls;
};

TEST_F(ControlItems, CreatedWithItsSpecPropertiesAndFoundByReference) {
  IDispatch* control = Create("Content", 10, 20, 200, 100);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(GetText(control, kTestText), L"hello world");
  EXPECT_EQ(GetNumber(control, kTestNumber), 42);

  HWND window = ControlWindow(control);
  ASSERT_NE(window, nullptr);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, ORB_TEST_CONTROL_WINDOW_CLASS);
  EXPECT_EQ(GetParent(window), parent);
  EXPECT_TRUE(IsWindowVisible(window));
  const RECT expected = {10, 20, 210, 120};
  EXPECT_TRUE(SameRect(ChildRect(window), expected)) << Describe(ChildRect(window));

  char name[256] = "sentinel";
  EXPECT_EQ(QXGetControlName(Ref(control), kControlRefCom, name), 0);
  EXPECT_STREQ(name, "Content");
  EXPECT_EQ(QXGetControlName(Ref(window), kControlRefWindow, name), 0);  // by its window
  EXPECT_STREQ(name, "Content");
  // Any interface of the control names it (COM identity).
  IUnknown* other = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&other)), S_OK);
  EXPECT_EQ(QXGetControlName(Ref(reinterpret_cast<IDispatch*>(other)), kControlRefCom, name), 0);
  other->Release();

  IDispatch* second = Create("content", 10, 130, 50, 50);
  IDispatch* third = Create("Content", 70, 130, 50, 50);
  ASSERT_TRUE(second && third);
  EXPECT_EQ(QXGetControlName(Ref(second), kControlRefCom, name), 0);
  EXPECT_STREQ(name, "content_");
  EXPECT_EQ(QXGetControlName(Ref(third), kControlRefCom, name), 0);
  EXPECT_STREQ(name, "Content__");
  IDispatch* named = QXGetNamedControlDispatch(parent, const_cast<char*>("CONTENT_"));
  ASSERT_NE(named, nullptr);
  IUnknown *namedIdentity = nullptr, *secondIdentity = nullptr;
  named->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&namedIdentity));
  second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&secondIdentity));
  EXPECT_EQ(namedIdentity, secondIdentity);
  namedIdentity->Release();
  secondIdentity->Release();
  EXPECT_EQ(QXReleaseDispatch(named), 0);
  EXPECT_EQ(QXGetNamedControlDispatch(parent, const_cast<char*>("Index")), nullptr);
}

TEST_F(ControlItems, MovedShownAndHidden) {
  IDispatch* control = Create("Content", 10, 20, 200, 100);
  ASSERT_NE(control, nullptr);
  HWND window = ControlWindow(control);
  ASSERT_EQ(QXSetControlPosition(Ref(control), kControlRefCom, 30, 40, 150, 80), 0);
  const RECT moved = {30, 40, 180, 120};
  EXPECT_TRUE(SameRect(ChildRect(window), moved)) << Describe(ChildRect(window));
  int x, y, cx, cy;
  EXPECT_EQ(QXGetControlPosition(Ref(control), kControlRefCom, &x, &y, &cx, &cy), 0);
  EXPECT_EQ(std::vector<int>({x, y, cx, cy}), std::vector<int>({30, 40, 150, 80}));

  short visible = -1;
  EXPECT_EQ(QXGetControlVisible(Ref(control), kControlRefCom, &visible), 0);
  EXPECT_EQ(visible, 1);
  ASSERT_EQ(QXSetControlVisible(Ref(control), kControlRefCom, 0), 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(QXGetControlVisible(Ref(control), kControlRefCom, &visible), 0);
  EXPECT_EQ(visible, 0);
  ASSERT_EQ(QXSetControlVisible(Ref(control), kControlRefCom, 1), 0);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(ControlItems, EachResizeStyleOfThePlayerFollowsTheParent) {
  IDispatch* control = Create("Content", 10, 20, 100, 100);
  ASSERT_NE(control, nullptr);
  HWND window = ControlWindow(control);
  struct Case {
    int style;
    RECT grown;  // after the client grew from 400 x 300 to 440 x 330
  } cases[] = {
      {0x1010, {10, 20, 150, 150}}, {0x0010, {10, 20, 150, 120}}, {0x1011, {50, 20, 150, 150}},
      {0x1110, {10, 50, 150, 150}}, {0x1000, {10, 20, 110, 150}}, {0x0000, {10, 20, 110, 120}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    ResizeClient(parent, 400, 300);
    ASSERT_EQ(QXSetControlPosition(Ref(control), kControlRefCom, 10, 20, 100, 100), 0);
    ASSERT_EQ(QXSetControlResizeStyle(Ref(control), kControlRefCom, c.style), 0);
    int style = -1;
    EXPECT_EQ(QXGetControlResizeStyle(Ref(control), kControlRefCom, &style), 0);
    EXPECT_EQ(style, c.style);
    ResizeClient(parent, 440, 330);
    EXPECT_TRUE(SameRect(ChildRect(window), c.grown)) << Describe(ChildRect(window));
    // And back: the distances were taken again after the move.
    ResizeClient(parent, 400, 300);
    const RECT start = {10, 20, 110, 120};
    EXPECT_TRUE(SameRect(ChildRect(window), start)) << Describe(ChildRect(window));
  }
}

TEST_F(ControlItems, ReorderedByZAndTabOrder) {
  IDispatch* a = Create("A", 10, 10, 100, 100);
  IDispatch* b = Create("B", 60, 60, 100, 100);
  ASSERT_TRUE(a && b);
  HWND windowA = ControlWindow(a), windowB = ControlWindow(b);
  ASSERT_EQ(QXSetControlZOrder(Ref(a), kControlRefCom, 0x7FFFFFFF), 0);
  EXPECT_EQ(GetTopWindow(parent), windowA);
  int z = -9;
  EXPECT_EQ(QXGetControlZOrder(Ref(a), kControlRefCom, &z), 0);
  EXPECT_EQ(z, 1);
  ASSERT_EQ(QXSetControlZOrder(Ref(a), kControlRefCom, 0), 0);
  EXPECT_EQ(GetWindow(parent, GW_CHILD) == windowA, false);
  EXPECT_EQ(GetWindow(GetTopWindow(parent), GW_HWNDLAST), windowA);
  EXPECT_EQ(GetTopWindow(parent), windowB);
  ASSERT_EQ(QXSetControlZOrder(Ref(b), kControlRefCom, -3), 0);
  EXPECT_EQ(QXGetControlZOrder(Ref(b), kControlRefCom, &z), 0);
  EXPECT_EQ(z, 0);
  EXPECT_EQ(QXGetControlZOrder(Ref(a), kControlRefCom, &z), 0);
  EXPECT_EQ(z, 1);

  EXPECT_EQ(QXSetControlTabOrder(Ref(b), kControlRefCom, 0), 0);
  EXPECT_EQ(QXSetControlTabOrder(Ref(a), kControlRefCom, 0), 0);
  int tab = -9;
  EXPECT_EQ(QXGetControlTabOrder(Ref(b), kControlRefCom, &tab), 0);
  EXPECT_EQ(tab, 1);
  EXPECT_EQ(QXGetControlTabOrder(Ref(a), kControlRefCom, &tab), 0);
  EXPECT_EQ(tab, 0);
}

TEST_F(ControlItems, TestCallPropertyVerbAndFocus) {
  IDispatch* control = Create("Content", 10, 20, 200, 100);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(QXTestControl(control), 0);
  EXPECT_EQ(GetText(control, kTestText), L"Text");
  EXPECT_EQ(GetText(control, kTestCaption), L"Caption");
  EXPECT_EQ(GetNumber(control, kTestRefreshCount), 1);
  EXPECT_EQ(QXTestControl(nullptr), 1);

  EXPECT_EQ(QXOpenControlPropertyPage(Ref(control), kControlRefCom), 0);
  EXPECT_EQ(GetNumber(control, kTestPropertyVerbs), 1);

  EXPECT_EQ(QXSetFocus(Ref(control), kControlRefCom), 0);
  EXPECT_EQ(GetFocus(), ControlWindow(control));
  // Not a button (no OLEMISC_ACTSLIKEBUTTON).
  EXPECT_EQ(QXSetDefaultButton(parent, Ref(control), kControlRefCom), 3);
}

TEST_F(ControlItems, DeletedByTheClientOrWithTheParent) {
  IDispatch* control = Create("Content", 10, 20, 200, 100);
  ASSERT_NE(control, nullptr);
  HWND window = ControlWindow(control);
  ASSERT_TRUE(IsWindow(window));
  control->AddRef();  // keep the object to look at it after the delete
  Delete(control);
  EXPECT_FALSE(IsWindow(window));
  char name[256];
  EXPECT_EQ(QXGetControlName(Ref(control), kControlRefCom, name), 1);
  // The library's references are gone: only ours is left.
  EXPECT_EQ(control->Release(), 0u);

  // A control no container hosts: 3, and the reference passed is consumed.
  IDispatch* loose = NewUnhostedControl();
  ASSERT_NE(loose, nullptr);
  loose->AddRef();
  EXPECT_EQ(QXDeleteControl(loose), 3);
  EXPECT_EQ(loose->Release(), 0u);
  EXPECT_EQ(QXDeleteControl(nullptr), 1);

  // Destroying the parent destroys the items and their windows.
  IDispatch* kept = CreateTestControl(parent, "Kept", 0, 0, 50, 50);
  ASSERT_NE(kept, nullptr);
  HWND keptWindow = ControlWindow(kept);
  DestroyWindow(parent);
  parent = nullptr;
  EXPECT_FALSE(IsWindow(keptWindow));
  EXPECT_EQ(QXGetControlName(Ref(kept), kControlRefCom, name), 1);
  EXPECT_EQ(kept->Release(), 0u);
}

// --- saved state -------------------------------------------------------------

TEST(SavedState, ASecondInstanceGetsTheSameValues) {
  HWND parent = MakeParent(300, 200);
  IDispatch* first = CreateTestControl(parent, "First", 0, 0, 100, 100);
  IDispatch* second = CreateTestControl(parent, "Second", 100, 0, 100, 100);
  ASSERT_TRUE(first && second);
  PutText(first, kTestText, L"eightchr");  // 1 + 8 + 4 = 13 bytes
  PutNumber(first, kTestNumber, 0x01020304);
  BSTR state = reinterpret_cast<BSTR>(1);
  ASSERT_EQ(QXSaveControlToString(first, &state), 0);
  ASSERT_NE(state, nullptr);
  ASSERT_GE(SysStringByteLen(state), 13u);
  const std::string bytes(reinterpret_cast<const char*>(state), 13);
  EXPECT_EQ(bytes, std::string("\x08" "eightchr" "\x04\x03\x02\x01", 13));
  EXPECT_EQ(QXLoadControlFromString(second, state), 0);
  EXPECT_EQ(GetText(second, kTestText), L"eightchr");
  EXPECT_EQ(GetNumber(second, kTestNumber), 0x01020304);
  SysFreeString(state);
  EXPECT_EQ(QXDeleteControl(first), 0);
  EXPECT_EQ(QXDeleteControl(second), 0);
  DestroyWindow(parent);
}

TEST(SavedState, AnOddSizedStringLoadsWhole) {
  IDispatch* control = NewUnhostedControl();
  ASSERT_NE(control, nullptr);
  // Exactly the 13 bytes the control writes: the string has an odd byte
  // length and 6 whole 16-bit units.
  BSTR state = SysAllocStringByteLen("\x08" "oddbytes" "\x2a\x00\x00\x00", 13);
  ASSERT_EQ(SysStringByteLen(state), 13u);
  ASSERT_EQ(SysStringLen(state), 6u);
  EXPECT_EQ(QXLoadControlFromString(control, state), 0);
  EXPECT_EQ(GetText(control, kTestText), L"oddbytes");
  EXPECT_EQ(GetNumber(control, kTestNumber), 42);
  SysFreeString(state);
  // One byte short: the control's Load fails (7).
  state = SysAllocStringByteLen("\x08" "oddbytes" "\x2a\x00\x00", 12);
  EXPECT_EQ(QXLoadControlFromString(control, state), 7);
  SysFreeString(state);
  control->Release();
}

// An object with no stream persistence.
class PlainObject : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid != IID_IUnknown) return E_NOINTERFACE;
    *out = this;
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
};

TEST(SavedState, ResultCodes) {
  IDispatch* control = NewUnhostedControl();
  ASSERT_NE(control, nullptr);
  BSTR out = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(QXSaveControlToString(nullptr, &out), 1);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(QXSaveControlToString(control, nullptr), 1);
  PlainObject plain;
  out = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(QXSaveControlToString(&plain, &out), 2);
  EXPECT_EQ(out, nullptr);
  BSTR empty = SysAllocStringByteLen("", 0);
  EXPECT_EQ(QXLoadControlFromString(control, empty), 2);
  SysFreeString(empty);
  BSTR some = SysAllocString(L"abc");
  EXPECT_EQ(QXLoadControlFromString(&plain, some), 3);
  EXPECT_EQ(QXLoadControlFromString(nullptr, some), 1);
  EXPECT_EQ(QXLoadControlFromString(control, nullptr), 1);
  SysFreeString(some);
  control->Release();
}

// The test control's type information, which the event subscriptions read:
// the coclass names the event interface as its default source.
TEST(TestControl, ClassInfoNamesTheEventSource) {
  IDispatch* control = NewUnhostedControl();
  ASSERT_NE(control, nullptr);
  IProvideClassInfo* provider = nullptr;
  ASSERT_EQ(control->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&provider)), S_OK);
  ITypeInfo* coclass = nullptr;
  ASSERT_EQ(provider->GetClassInfo(&coclass), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  bool foundSource = false;
  for (UINT i = 0; i < attributes->cImplTypes; ++i) {
    INT flags = 0;
    HREFTYPE reference;
    ITypeInfo* implemented = nullptr;
    if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FSOURCE)) continue;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(i, &reference), S_OK);
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, &implemented), S_OK);
    TYPEATTR* source = nullptr;
    ASSERT_EQ(implemented->GetTypeAttr(&source), S_OK);
    EXPECT_TRUE(IsEqualGUID(source->guid, DIID_OrbTestControlEvents));
    implemented->ReleaseTypeAttr(source);
    BSTR names[2] = {};
    UINT count = 0;
    ASSERT_EQ(implemented->GetNames(kTestEventChanged, names, 2, &count), S_OK);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(names[0], L"Changed");
    EXPECT_STREQ(names[1], L"What");
    SysFreeString(names[0]);
    SysFreeString(names[1]);
    implemented->Release();
    foundSource = true;
  }
  EXPECT_TRUE(foundSource);
  coclass->ReleaseTypeAttr(attributes);
  coclass->Release();
  provider->Release();
  control->Release();
}

// A host that ends with live controls and window items: at process exit
// the library tears nothing down that calls into other modules, so the
// process ends promptly and cleanly.
TEST(ProcessExit, AHostEndingWithLiveControlsExitsCleanly) {
  const std::string folder = harness::ProgramFolder();
  harness::Process host;
  ASSERT_TRUE(host.start("\"" + folder + "ctlhost_exit_host.exe\""));
  EXPECT_EQ(host.waitExit(20000), 7);
  EXPECT_TRUE(DeleteFileA((folder + "ctlhost_exit_host.LOG").c_str()));
}

}  // namespace
