// themeapi.dll in a host that links it by import, as the disc burner does:
// this test program is the host.  Its windows are skinned and driven with
// real input; what they show is read off the X display; the host's own
// import slots are read back; its window procedures record what reaches
// them.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/caption_layout.h"
#include "core/frame_rules.h"
#include "core/pe_imports.h"
#include "dib_canvas.h"
#include "harness.h"
#include "test_files.h"
#include "themeapi.h"
#include "themeapi_test_support.h"
#include "themecore.h"

namespace {

using skinning::Rect;
using skinning::SkinMetrics;
using skintest::kBorderColour;
using skintest::kButtonFace;
using skintest::kCaptionColour;
using skintest::kPanelColour;

// --- host windows -----------------------------------------------------

// What reached a host window's own procedure.
struct HostLog {
  std::vector<UINT> messages;
  std::vector<WPARAM> commands;
  std::vector<WPARAM> systemCommands;
  int paints = 0;
  bool Saw(UINT message) const {
    return std::find(messages.begin(), messages.end(), message) != messages.end();
  }
};
std::map<HWND, HostLog> g_logs;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HostLog& log = g_logs[window];
  log.messages.push_back(message);
  if (message == WM_COMMAND) log.commands.push_back(wParam);
  if (message == WM_SYSCOMMAND) log.systemCommands.push_back(wParam);
  if (message == WM_PAINT) {
    ++log.paints;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// A control of the host's own class: it paints its client in the colour
// kept in its user data, with the host's BeginPaint and EndPaint.
LRESULT CALLBACK PaintedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    ++g_logs[window].paints;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr char kHostClass[] = "SKINTESTHOST";
constexpr char kEzGuiClass[] = "ezGui_TestHost";
constexpr char kPaintedClass[] = "SKINTESTPAINT";
constexpr COLORREF kPaintedColour = RGB(10, 200, 30);

void RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = kHostClass;
  RegisterClassA(&wc);
  wc.lpszClassName = kEzGuiClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = PaintedProc;
  wc.lpszClassName = kPaintedClass;
  RegisterClassA(&wc);
}

struct HostWindow {
  HWND window = nullptr;
  HWND painted = nullptr;  // the host's own control
  HWND eject = nullptr;    // "&Eject", disabled
  HWND load = nullptr;     // "&Load"
  HWND label = nullptr;
  HWND edit = nullptr;
  RECT before = {};        // window rectangle before skinning
  RECT clientBefore = {};
};

HostWindow MakeHost(DWORD style, int x, int y, int width, int height, bool withControls,
                    const char* className = kHostClass, DWORD exStyle = 0) {
  RegisterClasses();
  HostWindow host;
  host.window = CreateWindowExA(exStyle, className, "Disc burner", style, x, y, width, height, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  if (host.window == nullptr) return host;
  if (withControls) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    host.painted = CreateWindowExA(0, kPaintedClass, "", WS_CHILD | WS_VISIBLE, 20, 20, 60, 30,
                                   host.window, reinterpret_cast<HMENU>(5), instance, nullptr);
    SetWindowLongPtrA(host.painted, GWLP_USERDATA, static_cast<LONG_PTR>(kPaintedColour));
    host.eject = CreateWindowExA(0, "BUTTON", "&Eject", WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 20,
                                 70, 24, host.window, reinterpret_cast<HMENU>(9), instance, nullptr);
    host.load = CreateWindowExA(0, "BUTTON", "&Load", WS_CHILD | WS_VISIBLE, 180, 20, 70, 24,
                                host.window, reinterpret_cast<HMENU>(10), instance, nullptr);
    host.label = CreateWindowExA(0, "STATIC", "Capacity", WS_CHILD | WS_VISIBLE, 20, 70, 90, 20,
                                 host.window, nullptr, instance, nullptr);
    host.edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "label", WS_CHILD | WS_VISIBLE, 120, 70,
                                120, 24, host.window, reinterpret_cast<HMENU>(14), instance, nullptr);
  }
  GetWindowRect(host.window, &host.before);
  GetClientRect(host.window, &host.clientBefore);
  return host;
}

void Destroy(HostWindow& host) {
  if (host.window != nullptr && IsWindow(host.window)) DestroyWindow(host.window);
  g_logs.erase(host.window);
  host.window = nullptr;
  skintest::PumpUntilQuiet(50, 1000);
}

SkinMetrics Metrics() {
  SkinMetrics m;
  m.captionBand = SKGETSYSTEMMETRICS(1);
  m.leftFrame = SKGETSYSTEMMETRICS(4);
  m.rightFrame = SKGETSYSTEMMETRICS(5);
  m.bottomFrame = SKGETSYSTEMMETRICS(6);
  m.buttonWidth = SKGETSYSTEMMETRICS(7);
  m.buttonHeight = SKGETSYSTEMMETRICS(8);
  m.buttonsRight = SKGETSYSTEMMETRICS(9);
  m.buttonTop = SKGETSYSTEMMETRICS(10);
  m.titleX = SKGETSYSTEMMETRICS(11);
  m.titleY = SKGETSYSTEMMETRICS(12);
  m.menuBar = SKGETSYSTEMMETRICS(26);
  return m;
}

// Where a skinned window must end up.
RECT ExpectedRect(const HostWindow& host, DWORD exStyle = 0) {
  const int caption = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  const Rect before = {host.before.left, host.before.top, host.before.right, host.before.bottom};
  const skinning::SkinnedPlacement placement = skinning::PlaceSkinnedWindow(
      before, host.clientBefore.right, host.clientBefore.bottom, caption, Metrics(), false,
      GetSystemMetrics(SM_CYMENU));
  return {placement.left, placement.top, placement.left + placement.width,
          placement.top + placement.height};
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// The centre of a caption button in screen coordinates.
POINT ButtonCentre(HWND window, int32_t button, uint32_t frameFlags, uint32_t state) {
  RECT rect;
  GetWindowRect(window, &rect);
  for (const skinning::ButtonBox& box :
       skinning::CaptionButtonBoxes(rect.right - rect.left, frameFlags, state, Metrics())) {
    if (box.button == button) {
      return {rect.left + (box.box.left + box.box.right) / 2, rect.top + (box.box.top + box.box.bottom) / 2};
    }
  }
  return {-1, -1};
}

constexpr uint32_t kAllButtons = 0x4F;  // close, minimize, maximize, second row, no menu

struct ThreadWindowSearch {
  const char* className;
  HWND found;
};

BOOL CALLBACK MatchThreadWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ThreadWindowSearch*>(data);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// A top-level window of the thread by class.
HWND FindThreadWindow(const char* className) {
  ThreadWindowSearch search = {className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// --- the test skin, started by the host as the disc burner does ---------

class SkinnedHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new harness::ScratchFolder("themeapi skin");
    skinFile_ = folder_->Child("flat.sks");
    harness::WriteFileBytes(skinFile_, skintest::FlatSkinText());
    SKINITENGINE(skinFile_.c_str());
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override {
    // References to hosts stay valid while a test makes more.
    hosts_.reserve(16);
    ASSERT_EQ(1, SKINITENGINE(skinFile_.c_str())) << skinFile_;
  }
  void TearDown() override {
    for (HostWindow& host : hosts_) Destroy(host);
  }
  HostWindow& Host(DWORD style, int x, int y, int width, int height, bool withControls,
                   const char* className = kHostClass, DWORD exStyle = 0) {
    hosts_.push_back(MakeHost(style, x, y, width, height, withControls, className, exStyle));
    return hosts_.back();
  }

  static harness::ScratchFolder* folder_;
  static std::string skinFile_;
  std::vector<HostWindow> hosts_;
};

harness::ScratchFolder* SkinnedHost::folder_ = nullptr;
std::string SkinnedHost::skinFile_;

// --- start-up and the import redirection --------------------------------

uint64_t SlotValue(const char* name) {
  const auto* image = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  const uint32_t size = skinning::LoadedImageSize(image, 4096);
  const skinning::ImportSlot slot =
      skinning::FindImportSlot(image, size, skinning::PeLayout::kLoadedImage, name);
  if (slot.status != skinning::PeStatus::kFound) return 0;
  return slot.slotValue;
}

TEST(ThemeapiStartUp, TheHostsPaintImportsLeadIntoTheLibraryOnceItTakesAMessage) {
  // The first message the host takes.
  PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));
  HMODULE library = GetModuleHandleA("themeapi.dll");
  ASSERT_NE(nullptr, library);
  EXPECT_EQ(reinterpret_cast<uint64_t>(GetProcAddress(library, "skBeginPaint")), SlotValue("BeginPaint"));
  EXPECT_EQ(reinterpret_cast<uint64_t>(GetProcAddress(library, "skEndPaint")), SlotValue("EndPaint"));
  EXPECT_NE(reinterpret_cast<uint64_t>(GetProcAddress(GetModuleHandleA("user32.dll"), "BeginPaint")),
            SlotValue("BeginPaint"));
}

TEST(ThemeapiStartUp, CaptureFlagKeyboardCuesAndTheEnginesFunctions) {
  EXPECT_EQ(-1, skCaptureEnable(2)) << "switched on at start-up";
  EXPECT_EQ(0, skCaptureEnable(0));
  EXPECT_EQ(0, skCaptureEnable(2)) << "any other value only asks";
  EXPECT_EQ(0, skCaptureEnable(-7));
  EXPECT_EQ(-1, skCaptureEnable(1));
  if (SKOSVERSION() > 499) {
    BOOL cues = FALSE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0));
    EXPECT_TRUE(cues);
  }
  // The three functions the library looks up by name.
  HMODULE engine = GetModuleHandleA("themecore.dll");
  for (const char* name : {"SKSKINNAME", "SKUSEFOCUSRECT", "SKINITENGINE"}) {
    EXPECT_NE(nullptr, GetProcAddress(engine, name)) << name;
  }
}

TEST_F(SkinnedHost, ButtonsInTheSkinsDefaultFont) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, false);
  HWND push = skButtonPush(host.window, "Burn", nullptr, 10, 10, 60, 24, 7);
  HWND check = skButtonCheck(host.window, "Erase", nullptr, 10, 40, 90, 20, 8);
  HWND radio = skButtonRadio(host.window, "CD", nullptr, 10, 70, 90, 20, 11);
  ASSERT_NE(nullptr, push);
  ASSERT_NE(nullptr, check);
  ASSERT_NE(nullptr, radio);
  EXPECT_EQ(7, GetDlgCtrlID(push));
  EXPECT_EQ(reinterpret_cast<LRESULT>(SKDEFAULTFONT()), SendMessageA(push, WM_GETFONT, 0, 0));
  EXPECT_EQ(reinterpret_cast<LRESULT>(SKDEFAULTFONT()), SendMessageA(check, WM_GETFONT, 0, 0));
  EXPECT_EQ(reinterpret_cast<LRESULT>(SKDEFAULTFONT()), SendMessageA(radio, WM_GETFONT, 0, 0));
  HFONT own = SKCAPTIONFONT();
  HWND withFont = skButtonCheck(host.window, "Own", own, 10, 100, 90, 20, 12);
  EXPECT_EQ(reinterpret_cast<LRESULT>(own), SendMessageA(withFont, WM_GETFONT, 0, 0));
  EXPECT_EQ(nullptr, skButtonCheck(nullptr, "none", nullptr, 0, 0, 10, 10, 13));
}

// --- skSkinWindow ---------------------------------------------------------

TEST_F(SkinnedHost, SkinningAWindowGivesItTheSkinsFrame) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 100, 120, 420, 300, true, kHostClass, WS_EX_CLIENTEDGE);
  ASSERT_NE(nullptr, host.window);
  const uint32_t initialStyle = static_cast<uint32_t>(GetWindowLongA(host.window, GWL_STYLE));
  const WNDPROC before = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(host.window, GWLP_WNDPROC));
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  EXPECT_EQ(skinning::SkinnedStyle(initialStyle), static_cast<uint32_t>(GetWindowLongA(host.window, GWL_STYLE)));
  // (The system gives every sizing frame the window edge back.)
  EXPECT_EQ(0, GetWindowLongA(host.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_NE(before, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(host.window, GWLP_WNDPROC)));
  EXPECT_EQ(nullptr, GetMenu(host.window));
  RECT rect;
  GetWindowRect(host.window, &rect);
  EXPECT_EQ(RectText(ExpectedRect(host, WS_EX_CLIENTEDGE)), RectText(rect));
  EXPECT_FALSE(IsWindowVisible(host.window)) << "effect 0 leaves the visibility to the host";
  // The caption buttons: children far outside that hold the pictures.
  for (int id : {32196, 32195, 32194, 32193, 32192, 32191}) {
    HWND button = GetDlgItem(host.window, id);
    ASSERT_NE(nullptr, button) << id;
    RECT at;
    GetWindowRect(button, &at);
    POINT place = {at.left, at.top};
    ScreenToClient(host.window, &place);
    EXPECT_EQ(-1000, place.x) << id;
    EXPECT_EQ(-1000, place.y) << id;
    EXPECT_NE(nullptr, SKGETHDCMEMBMP(button)) << id;
  }
  // Skinning again changes nothing: no second set of buttons, same place.
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  RECT again;
  GetWindowRect(host.window, &again);
  EXPECT_EQ(RectText(rect), RectText(again));
  int closeButtons = 0;
  for (HWND child = GetWindow(host.window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == 32196) ++closeButtons;
  }
  EXPECT_EQ(1, closeButtons);
  EXPECT_EQ(skinning::SkinnedStyle(initialStyle), static_cast<uint32_t>(GetWindowLongA(host.window, GWL_STYLE)));
}

TEST_F(SkinnedHost, ToolCaptionAndRefusals) {
  HostWindow& tool = Host(WS_POPUP | WS_CAPTION | WS_SYSMENU, 60, 60, 300, 200, false);
  ASSERT_EQ(1, skSkinWindow(tool.window, "", 0));
  EXPECT_NE(nullptr, GetDlgItem(tool.window, 32196));
  EXPECT_EQ(nullptr, GetDlgItem(tool.window, 32194)) << "only a close button";
  EXPECT_EQ(nullptr, GetDlgItem(tool.window, 32193));

  EXPECT_EQ(0, skSkinWindow(nullptr, "", 0));
  // A window without any style (a child whose style was taken away).
  HostWindow& parent = Host(WS_POPUP, 60, 60, 300, 200, false);
  HWND bare = CreateWindowExA(0, kHostClass, "", WS_CHILD, 0, 0, 50, 50, parent.window, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  SetWindowLongA(bare, GWL_STYLE, 0);
  ASSERT_EQ(0, GetWindowLongA(bare, GWL_STYLE));
  const WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(bare, GWLP_WNDPROC));
  EXPECT_EQ(0, skSkinWindow(bare, "", 0));
  EXPECT_EQ(proc, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(bare, GWLP_WNDPROC)));
  EXPECT_EQ(nullptr, GetDlgItem(bare, 32196));
}

TEST_F(SkinnedHost, ClientAreaHitCodesAndSizeLimits) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 80, 90, 400, 260, false);
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  const SkinMetrics m = Metrics();
  RECT rect;
  GetWindowRect(host.window, &rect);
  // The client area: the proposed rectangle as the library changes it,
  // less the system's own sizing border.
  RECT border = {0, 0, 0, 0};
  AdjustWindowRectEx(&border, static_cast<DWORD>(GetWindowLongA(host.window, GWL_STYLE)), FALSE, 0);
  const int bx = (host.before.right - host.before.left - host.clientBefore.right) / 2;
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int by = host.before.bottom - host.before.top - host.clientBefore.bottom - bx - caption;
  const Rect changed = skinning::SkinnedNcCalcSize({rect.left, rect.top, rect.right, rect.bottom}, bx,
                                                   by, true, false, GetSystemMetrics(SM_CYMENU), m);
  RECT client;
  GetClientRect(host.window, &client);
  EXPECT_EQ(changed.width() + border.left - border.right, client.right);
  EXPECT_EQ(changed.height() + border.top - border.bottom, client.bottom);

  auto hit = [&](int x, int y) {
    return SendMessageA(host.window, WM_NCHITTEST, 0, MAKELPARAM(rect.left + x, rect.top + y));
  };
  const POINT close = ButtonCentre(host.window, skinning::kCloseButton, kAllButtons, 0);
  const POINT minimize = ButtonCentre(host.window, skinning::kMinimizeButton, kAllButtons, 0);
  EXPECT_EQ(19, SendMessageA(host.window, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y)));
  EXPECT_EQ(19, SendMessageA(host.window, WM_NCHITTEST, 0, MAKELPARAM(minimize.x, minimize.y)));
  EXPECT_EQ(HTCAPTION, hit(100, m.captionBand / 2));
  EXPECT_EQ(HTCLIENT, hit((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2));
  EXPECT_EQ(HTBOTTOMRIGHT, hit(rect.right - rect.left - 1, rect.bottom - rect.top - 1));

  MINMAXINFO info;
  std::memset(&info, 0x5A, sizeof(info));
  SendMessageA(host.window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  int32_t leftWidth = 0, rightWidth = 0, height = 0;
  SKGETPIXMAPSIZE(SKCAPTIONL(), &leftWidth, &height);
  SKGETPIXMAPSIZE(SKCAPTIONR(), &rightWidth, &height);
  EXPECT_EQ(leftWidth + rightWidth, info.ptMinTrackSize.x);
  EXPECT_EQ(m.captionBand + m.bottomFrame, info.ptMinTrackSize.y);
  EXPECT_EQ(0x5A5A5A5A, info.ptMaxSize.x) << "the other fields are left alone";
}

TEST_F(SkinnedHost, SomeMessagesNeverReachTheHost) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 80, 90, 400, 260, false);
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  HostLog& log = g_logs[host.window];
  log.messages.clear();
  SendMessageA(host.window, WM_SETTINGCHANGE, 0, 0);
  SendMessageA(host.window, WM_ACTIVATE, WA_ACTIVE, 0);
  SendMessageA(host.window, WM_NCACTIVATE, TRUE, 0);
  EXPECT_EQ(1, SendMessageA(host.window, WM_NCACTIVATE, FALSE, 0)) << "deactivation allowed";
  EXPECT_EQ(0, SendMessageA(host.window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0));
  EXPECT_FALSE(log.Saw(WM_SETTINGCHANGE));
  EXPECT_FALSE(log.Saw(WM_ACTIVATE));
  EXPECT_FALSE(log.Saw(WM_NCACTIVATE));
  EXPECT_FALSE(log.Saw(WM_NCLBUTTONDBLCLK));
  SendMessageA(host.window, WM_COMMAND, 42, 0);
  EXPECT_TRUE(log.Saw(WM_COMMAND)) << "the host's own messages go through";
}

TEST_F(SkinnedHost, DoubleClickOnTheCaptionMaximizesOnlyWithAMaximizeBox) {
  HostWindow& tool = Host(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 60, 60, 300, 200, false);
  ASSERT_EQ(1, skSkinWindow(tool.window, "", 0));
  const POINT inCaption = skintest::WindowPoint(tool.window, 100, 8);
  SendMessageA(tool.window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(inCaption.x, inCaption.y));
  EXPECT_FALSE(IsZoomed(tool.window));

  HostWindow& full = Host(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200, false);
  ASSERT_EQ(1, skSkinWindow(full.window, "", 0));
  POINT point = skintest::WindowPoint(full.window, 100, 8);
  SendMessageA(full.window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y));
  EXPECT_TRUE(IsZoomed(full.window));
  point = skintest::WindowPoint(full.window, 100, 8);
  SendMessageA(full.window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y));
  EXPECT_FALSE(IsZoomed(full.window));
}

// --- what the screen shows -------------------------------------------------

TEST_F(SkinnedHost, FrameCaptionAndButtonsShowInTheSkinsColours) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 120, 100, 420, 280, true);
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  ShowWindow(host.window, SW_SHOW);
  UpdateWindow(host.window);
  SetForegroundWindow(host.window);
  skintest::PumpUntilQuiet(300);
  RECT rect;
  GetWindowRect(host.window, &rect);
  harness::Bmp24 screen;
  ASSERT_TRUE(skintest::GrabScreen(rect, &screen));
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const SkinMetrics m = Metrics();
  EXPECT_EQ(kCaptionColour, screen.at(width / 2 + 40, m.captionBand - 3)) << "caption";
  EXPECT_EQ(kCaptionColour, screen.at(30, m.captionBand - 2));
  EXPECT_EQ(kBorderColour, screen.at(2, height / 2)) << "left border";
  POINT clientOrigin = {0, 0};
  ClientToScreen(host.window, &clientOrigin);
  const int clientLeft = clientOrigin.x - rect.left;
  EXPECT_EQ(kBorderColour, screen.at(clientLeft - 1, height / 2)) << "up to the client area";
  EXPECT_EQ(kBorderColour, screen.at(width - 3, height / 2)) << "right border";
  EXPECT_EQ(kBorderColour, screen.at(width / 2, height - 3)) << "bottom border";
  EXPECT_EQ(kPanelColour, screen.at(width / 2, height - 20)) << "client";
  // The close button: its face inside the shadow frame of its picture.
  const auto boxes = skinning::CaptionButtonBoxes(width, kAllButtons, 0, m);
  const Rect close = boxes[0].box;
  EXPECT_EQ(kButtonFace, screen.at(close.left + 3, close.top + 3));
  EXPECT_EQ(skintest::kShadowColour, screen.at(close.left, close.top));
  // The title in the text colour.
  int titlePixels = 0;
  for (int x = m.titleX; x < m.titleX + 60; ++x) {
    for (int y = m.titleY; y < m.titleY + 12; ++y) titlePixels += screen.at(x, y) == skintest::kTitleColour;
  }
  EXPECT_GT(titlePixels, 10);
  // The rounded corner is cut from the window's shape.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(host.window, region));
  EXPECT_FALSE(PtInRegion(region, 0, 0));
  EXPECT_TRUE(PtInRegion(region, width / 2, 0));
  DeleteObject(region);
  // The host's own control is painted by the host.
  POINT painted = {30, 15};
  ClientToScreen(host.painted, &painted);
  EXPECT_EQ(kPaintedColour, screen.at(painted.x - rect.left, painted.y - rect.top));
}


// The caption's title, darkest pixels and their leftmost x, read from the
// window's DC.
struct TitleInk {
  int darkestSum = 765;
  int leftmost = -1;
};

TitleInk ReadTitle(HWND window, int fromX, int toX) {
  TitleInk ink;
  HDC dc = GetWindowDC(window);
  const int band = SKGETSYSTEMMETRICS(1);
  for (int x = fromX; x < toX; ++x) {
    for (int y = 3; y < band - 2; ++y) {
      const COLORREF c = GetPixel(dc, x, y);
      const int sum = GetRValue(c) + GetGValue(c) + GetBValue(c);
      ink.darkestSum = std::min(ink.darkestSum, sum);
      if (sum < 250 && ink.leftmost < 0) ink.leftmost = x;
    }
  }
  ReleaseDC(window, dc);
  return ink;
}

COLORREF LedPixel(int x, int) { return x < 6 ? RGB(200, 0, 0) : RGB(250, 250, 0); }

TEST_F(SkinnedHost, InactiveCaptionCentredTitleAndLed) {
  ASSERT_TRUE(harness::WriteFileBytes(folder_->Child("led.bmp"), skintest::BmpFile(12, 6, LedPixel)));
  const std::string ledSkin = folder_->Child("led.sks");
  ASSERT_TRUE(harness::WriteFileBytes(ledSkin, skintest::FlatSkinText() + "[images]\ncaptionled=led.bmp\n"));
  ASSERT_EQ(1, SKINITENGINE(ledSkin.c_str()));
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 150, 120, 400, 260, false);
  SetWindowTextA(host.window, "%Centred");
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  ShowWindow(host.window, SW_SHOW);
  UpdateWindow(host.window);
  // WM_NCACTIVATE looks at the window under the pointer: not this one.
  SetCursorPos(1000, 740);
  skintest::PumpUntilQuiet(200);
  RECT rect;
  GetWindowRect(host.window, &rect);
  const int width = rect.right - rect.left;
  int32_t leftWidth = 0, rightWidth = 0, height = 0;
  SKGETPIXMAPSIZE(SKCAPTIONL(), &leftWidth, &height);
  SKGETPIXMAPSIZE(SKCAPTIONR(), &rightWidth, &height);
  SkinMetrics m = Metrics();
  m.ledY = SKGETSYSTEMMETRICS(22);
  const Rect led = skinning::LedBox(width, leftWidth, rightWidth, 6, 6, m);
  auto ledColour = [&] {
    HDC dc = GetWindowDC(host.window);
    const COLORREF c = GetPixel(dc, led.left + 3, led.top + 3);
    ReleaseDC(host.window, dc);
    return c;
  };
  SendMessageA(host.window, WM_NCACTIVATE, TRUE, 0);
  SendMessageA(host.window, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(RGB(250, 250, 0), ledColour()) << "the active frame";
  const int titleEnd = width - rightWidth;
  EXPECT_LT(led.right, titleEnd + m.titleX) << "the LED left of the caption buttons";
  const TitleInk active = ReadTitle(host.window, m.titleX, std::min<int>(led.left - 2, titleEnd));
  EXPECT_LT(active.darkestSum, 60) << "title colour 101";
  EXPECT_GT(active.leftmost, m.titleX + 60) << "centred, without its %";
  SendMessageA(host.window, WM_NCACTIVATE, FALSE, 0);
  SendMessageA(host.window, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(RGB(200, 0, 0), ledColour()) << "the inactive frame";
  const TitleInk inactive = ReadTitle(host.window, m.titleX, std::min<int>(led.left - 2, titleEnd));
  EXPECT_GE(inactive.darkestSum, 150) << "title colour 102";
  EXPECT_LT(inactive.darkestSum, 250);
}

// --- caption buttons by real input --------------------------------------

// A shown, skinned window in front, ready for the mouse.
HostWindow& ShownHost(SkinnedHost* test, std::vector<HostWindow>* hosts, const char* tips, int x,
                      int y) {
  (void)test;
  hosts->push_back(MakeHost(WS_OVERLAPPEDWINDOW, x, y, 400, 260, true));
  HostWindow& host = hosts->back();
  skSkinWindow(host.window, tips, 0);
  ShowWindow(host.window, SW_SHOW);
  UpdateWindow(host.window);
  SetForegroundWindow(host.window);
  skintest::PumpUntilQuiet(200);
  return host;
}

TEST_F(SkinnedHost, CaptionButtonsMinimizeMaximizeRestoreAndClose) {
  HostWindow& host = ShownHost(this, &hosts_, "", 150, 120);
  HWND window = host.window;
  RECT normal;
  GetWindowRect(window, &normal);

  skintest::Click(ButtonCentre(window, skinning::kMaximizeButton, kAllButtons, 0));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsZoomed(window) != FALSE; }, 5000)) << "maximize";
  skintest::PumpUntilQuiet(200);
  // The maximize place now holds restore: its picture is the restore glyph's.
  skintest::Click(ButtonCentre(window, skinning::kRestoreButton, kAllButtons, skinning::kMaximizedByCaption));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsZoomed(window) == FALSE; }, 5000)) << "restore";
  skintest::PumpUntilQuiet(200);
  RECT restored;
  GetWindowRect(window, &restored);
  EXPECT_EQ(RectText(normal), RectText(restored));

  // Pressed on close, released beside it: nothing happens.
  const POINT pressed = ButtonCentre(window, skinning::kCloseButton, kAllButtons, 0);
  skintest::MouseMove(pressed);
  skintest::MouseButton(pressed, true);
  const POINT beside = skintest::WindowPoint(window, 150, 10);
  skintest::MouseMove(beside);
  skintest::MouseButton(beside, false);
  skintest::PumpUntilQuiet(200);
  EXPECT_TRUE(IsWindow(window));
  const auto& commands = g_logs[window].systemCommands;
  EXPECT_EQ(commands.end(), std::find(commands.begin(), commands.end(), static_cast<WPARAM>(SC_CLOSE)));

  skintest::Click(ButtonCentre(window, skinning::kMinimizeButton, kAllButtons, 0));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsIconic(window) != FALSE; }, 5000)) << "minimize";
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  // Without a window manager the display places a restored window anew; it
  // settles before the next click.
  skintest::PumpUntilQuiet(800, 5000);
  ASSERT_FALSE(IsIconic(window));
  const POINT close = ButtonCentre(window, skinning::kCloseButton, kAllButtons, 0);
  skintest::Click(close);
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindow(window) == FALSE; }, 5000)) << "close";
  host.window = nullptr;
}

TEST_F(SkinnedHost, CaptionTooltipsTakeTheTipsFields) {
  HostWindow& host = ShownHost(this, &hosts_, "one|two|Minimize|Maximize|Restore|Close", 150, 120);
  HWND tooltip = FindThreadWindow(TOOLTIPS_CLASSA);
  ASSERT_NE(nullptr, tooltip);
  EXPECT_EQ(nullptr, GetWindow(tooltip, GW_OWNER)) << "owned by no skinned window";
  auto textOf = [&](HWND window, UINT_PTR id) {
    char text[300] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.hwnd = window;
    info.uId = id;
    info.lpszText = text;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return std::string(text);
  };
  EXPECT_EQ("Close", textOf(host.window, 6));
  EXPECT_EQ("Maximize", textOf(host.window, 4));
  EXPECT_EQ("Minimize", textOf(host.window, 3));
  EXPECT_EQ(3, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  // Maximized by the caption: the tooltip of that place reads Restore.
  skintest::Click(ButtonCentre(host.window, skinning::kMaximizeButton, kAllButtons, 0));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsZoomed(host.window) != FALSE; }, 5000));
  skintest::PumpUntilQuiet(200);
  EXPECT_EQ("Restore", textOf(host.window, 4));
  EXPECT_EQ(3, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0)) << "replaced, not added";
  skintest::Click(ButtonCentre(host.window, skinning::kRestoreButton, kAllButtons, skinning::kMaximizedByCaption));
  ASSERT_TRUE(harness::PumpUntil([&] { return IsZoomed(host.window) == FALSE; }, 5000));
  skintest::PumpUntilQuiet(200);
  EXPECT_EQ("Maximize", textOf(host.window, 4));

  SKREMOVECAPTIONTIP(host.window, 3);
  EXPECT_EQ("", textOf(host.window, 3));
  SKREMOVECAPTIONTIP(host.window, 0);

  // A second skinned window shares the tooltip window; destroying the first
  // keeps it, destroying the last takes it away.
  HostWindow& second = ShownHost(this, &hosts_, "", 200, 150);
  EXPECT_EQ(tooltip, FindThreadWindow(TOOLTIPS_CLASSA));
  EXPECT_EQ("Close", textOf(second.window, 6)) << "the tips stay for windows skinned later";
  Destroy(hosts_[0]);
  EXPECT_TRUE(IsWindow(tooltip));
  Destroy(hosts_[1]);
  EXPECT_FALSE(IsWindow(tooltip));
}

// The buttons' commands among a host's commands (the edit reports its
// focus too).
std::vector<WPARAM> ButtonCommands(const HostLog& log) {
  std::vector<WPARAM> buttons;
  for (WPARAM command : log.commands) {
    if (LOWORD(command) == 9 || LOWORD(command) == 10) buttons.push_back(command);
  }
  return buttons;
}

TEST_F(SkinnedHost, HoveringMovesTheHotButtonBetweenWindows) {
  HostWindow& first = ShownHost(this, &hosts_, "", 100, 100);
  HostWindow& second = ShownHost(this, &hosts_, "", 560, 100);
  const POINT close = ButtonCentre(first.window, skinning::kCloseButton, kAllButtons, 0);
  const POINT maximize = ButtonCentre(second.window, skinning::kMaximizeButton, kAllButtons, 0);
  auto closeFrame = [&] {
    RECT rect;
    GetWindowRect(first.window, &rect);
    const Rect box = skinning::CaptionButtonBoxes(rect.right - rect.left, kAllButtons, 0, Metrics())[0].box;
    HDC dc = GetWindowDC(first.window);
    const COLORREF colour = GetPixel(dc, box.left, box.top);
    ReleaseDC(first.window, dc);
    return colour;
  };
  SendMessageA(first.window, WM_NCHITTEST, 0, MAKELPARAM(close.x, close.y));
  EXPECT_EQ(skintest::kHotColour, closeFrame()) << "hot";
  SendMessageA(second.window, WM_NCHITTEST, 0, MAKELPARAM(maximize.x, maximize.y));
  EXPECT_EQ(skintest::kShadowColour, closeFrame()) << "the first window's button is normal again";
}

// --- pictures, paint redirection and the capture ---------------------------

// A copy of a window's picture, read back pixel by pixel.
struct Picture {
  std::unique_ptr<harness::DibCanvas> canvas;
  COLORREF At(int x, int y) const { return canvas->At(x, y); }
};

Picture CopyPicture(HWND window, HDC picture) {
  RECT rect;
  GetWindowRect(window, &rect);
  Picture copy;
  copy.canvas = std::make_unique<harness::DibCanvas>(rect.right - rect.left, rect.bottom - rect.top);
  BitBlt(copy.canvas->dc(), 0, 0, rect.right - rect.left, rect.bottom - rect.top, picture, 0, 0, SRCCOPY);
  return copy;
}

// The point of a control's client area in its top-level window's picture.
POINT InPicture(HWND control, int x, int y, HWND top) {
  POINT point = {x, y};
  ClientToScreen(control, &point);
  RECT rect;
  GetWindowRect(top, &rect);
  return {point.x - rect.left, point.y - rect.top};
}

TEST_F(SkinnedHost, APictureShowsTheWindowWithItsControls) {
  HostWindow& host = Host(WS_OVERLAPPEDWINDOW, 150, 120, 300, 200, false);
  ASSERT_EQ(1, skSkinWindow(host.window, "", 0));
  EXPECT_EQ(nullptr, skSnapShotOn(host.window, 0)) << "effect 0 keeps no picture";
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 150, 120, 400, 260, true));
  HostWindow& pictured = hosts_.back();
  ASSERT_EQ(1, skSkinWindow(pictured.window, "", 1));
  skintest::PumpUntilQuiet(300);
  ASSERT_TRUE(IsWindowVisible(pictured.window));
  const int paintsBefore = g_logs[pictured.painted].paints;
  HDC picture = skSnapShotOn(pictured.window, 0);
  ASSERT_NE(nullptr, picture);
  const Picture copy = CopyPicture(pictured.window, picture);
  // The host's control painted into the picture through its own BeginPaint,
  // at its place (not at the picture's corner).
  EXPECT_GT(g_logs[pictured.painted].paints, paintsBefore);
  POINT at = InPicture(pictured.painted, 30, 15, pictured.window);
  EXPECT_EQ(kPaintedColour, copy.At(at.x, at.y));
  EXPECT_EQ(kCaptionColour, copy.At(200, 20)) << "the caption, not the control, at the top";
  // The system's controls are in it: the edit's white field and sunken
  // border, the label's text, the button's face.
  at = InPicture(pictured.edit, 100, 10, pictured.window);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), copy.At(at.x, at.y));
  RECT editRect;
  GetWindowRect(pictured.edit, &editRect);
  RECT windowRect;
  GetWindowRect(pictured.window, &windowRect);
  EXPECT_NE(GetSysColor(COLOR_WINDOW), copy.At(editRect.left - windowRect.left, editRect.top - windowRect.top + 5))
      << "the edit's border";
  int labelText = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      const POINT p = InPicture(pictured.label, x, y, pictured.window);
      const COLORREF c = copy.At(p.x, p.y);
      // Dark pixels of the text (colour 113) on the panel colour.
      labelText += GetRValue(c) < 0x60 && GetGValue(c) < 0x60 && GetBValue(c) < 0x60;
    }
  }
  EXPECT_GT(labelText, 5) << "the label's text";
  at = InPicture(pictured.load, 4, 12, pictured.window);
  EXPECT_EQ(kButtonFace, copy.At(at.x, at.y)) << "the button, in the skin's face colour";
  EXPECT_EQ(kBorderColour, copy.At(2, 100));
  // The screen shows the same window: few pixels differ.
  harness::Bmp24 screen;
  ASSERT_TRUE(skintest::GrabScreen(windowRect, &screen));
  int differing = 0;
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) differing += screen.at(x, y) != copy.At(x, y);
  }
  EXPECT_LT(differing, screen.width * screen.height / 50) << "pixels differing from the screen";
}

TEST_F(SkinnedHost, PaintingOfAControlIsSteeredOnlyWhileAPictureIsTaken) {
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 150, 120, 400, 260, true));
  HostWindow& host = hosts_.back();
  ASSERT_EQ(1, skSkinWindow(host.window, "", 2));
  skintest::PumpUntilQuiet(300);
  PAINTSTRUCT paint = {};
  // No picture being taken: the system's BeginPaint.
  HDC dc = skBeginPaint(host.painted, &paint);
  ASSERT_NE(nullptr, dc);
  EXPECT_EQ(OBJ_DC, GetObjectType(dc));
  EXPECT_NE(0, skEndPaint(host.painted, &paint));
  // A window that is no skinned control always gets the system's.
  HDC picture = skSnapShotOn(host.window, 0);
  ASSERT_NE(nullptr, picture);
  dc = skBeginPaint(host.window, &paint);
  EXPECT_NE(picture, dc);
  skEndPaint(host.window, &paint);
  // A skinned control gets the picture, its client at the origin.
  std::memset(&paint, 0x77, sizeof(paint));
  dc = skBeginPaint(host.painted, &paint);
  EXPECT_EQ(picture, dc);
  EXPECT_EQ(picture, paint.hdc);
  EXPECT_FALSE(paint.fErase);
  EXPECT_EQ(0, paint.rcPaint.left);
  EXPECT_EQ(60, paint.rcPaint.right);
  EXPECT_EQ(30, paint.rcPaint.bottom);
  POINT origin = {0, 0};
  GetViewportOrgEx(dc, &origin);
  const POINT expected = InPicture(host.painted, 0, 0, host.window);
  EXPECT_EQ(expected.x, origin.x);
  EXPECT_EQ(expected.y, origin.y);
  EXPECT_EQ(-1, skEndPaint(host.painted, &paint));
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(0, origin.x) << "the picture's origin back after EndPaint";
}

TEST_F(SkinnedHost, AnInactiveApplicationShowsItsPictures) {
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 150, 120, 400, 260, true));
  HostWindow& host = hosts_.back();
  ASSERT_EQ(1, skSkinWindow(host.window, "", 1));
  skintest::PumpUntilQuiet(300);
  HostLog& painted = g_logs[host.painted];
  auto repaint = [&] {
    const int before = painted.paints;
    InvalidateRect(host.painted, nullptr, TRUE);
    UpdateWindow(host.painted);
    skintest::PumpUntilQuiet(50, 1000);
    return painted.paints - before;
  };
  ASSERT_EQ(-1, skCaptureEnable(1));
  EXPECT_EQ(1, repaint()) << "live";
  SendMessageA(host.window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(0, repaint()) << "captured: the picture stands for it";
  // A control the host made after skinning is not skinned: it paints.
  HWND later = CreateWindowExA(0, kPaintedClass, "", WS_CHILD | WS_VISIBLE, 300, 150, 20, 20, host.window,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  const int laterBefore = g_logs[later].paints;
  InvalidateRect(later, nullptr, TRUE);
  UpdateWindow(later);
  EXPECT_GT(g_logs[later].paints, laterBefore);
  // Changes made while inactive show once it is active again.
  SetWindowLongPtrA(host.painted, GWLP_USERDATA, static_cast<LONG_PTR>(RGB(200, 20, 200)));
  const int beforeActivation = painted.paints;
  SendMessageA(host.window, WM_ACTIVATEAPP, TRUE, 0);
  skintest::PumpUntilQuiet(100, 2000);
  EXPECT_GT(painted.paints, beforeActivation) << "released: redrawn";
  EXPECT_EQ(1, repaint());

  // Capture switched off before the deactivation: nothing is captured.
  EXPECT_EQ(0, skCaptureEnable(0));
  SendMessageA(host.window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(1, repaint());
  SendMessageA(host.window, WM_ACTIVATEAPP, TRUE, 0);

  // Captured, then the capture switched off: the activation still lets go.
  EXPECT_EQ(-1, skCaptureEnable(1));
  SendMessageA(host.window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(0, repaint());
  EXPECT_EQ(0, skCaptureEnable(0));
  SendMessageA(host.window, WM_ACTIVATEAPP, TRUE, 0);
  skintest::PumpUntilQuiet(100, 2000);
  EXPECT_EQ(1, repaint()) << "not frozen after the activation";
  EXPECT_EQ(-1, skCaptureEnable(1));

  // A maximized window takes no picture and is not shown from an old one.
  ShowWindow(host.window, SW_MAXIMIZE);
  skintest::PumpUntilQuiet(200);
  ASSERT_TRUE(IsZoomed(host.window));
  SendMessageA(host.window, WM_ACTIVATEAPP, FALSE, 0);
  RECT zoomed;
  GetWindowRect(host.window, &zoomed);
  EXPECT_EQ(1, repaint()) << RectText(zoomed) << " picture " << SKGETWIDTHMEMBMP(host.window) << "x"
                          << SKGETHEIGHTMEMBMP(host.window);
  SendMessageA(host.window, WM_ACTIVATEAPP, TRUE, 0);
  ShowWindow(host.window, SW_RESTORE);
}

// --- opening effects ------------------------------------------------------

TEST_F(SkinnedHost, EveryOpeningEffectEndsWithTheWindowInPlace) {
  for (int effect = -1; effect <= 6; ++effect) {
    SCOPED_TRACE("effect " + std::to_string(effect));
    hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 200, 150, 360, 240, true));
    HostWindow& host = hosts_.back();
    const RECT expected = ExpectedRect(host);
    const DWORD started = GetTickCount();
    ASSERT_EQ(1, skSkinWindow(host.window, "", effect));
    if (effect <= 0) {
      ShowWindow(host.window, SW_SHOW);
      UpdateWindow(host.window);
    }
    skintest::PumpUntilQuiet(300, 10000);
    EXPECT_LT(GetTickCount() - started, 9000u);
    RECT rect;
    GetWindowRect(host.window, &rect);
    EXPECT_EQ(RectText(expected), RectText(rect));
    EXPECT_TRUE(IsWindowVisible(host.window));
    harness::Bmp24 screen;
    ASSERT_TRUE(skintest::GrabScreen(rect, &screen));
    EXPECT_EQ(kCaptionColour, screen.at(200, 20)) << "the caption on screen";
    EXPECT_EQ(kBorderColour, screen.at(2, 120));
    EXPECT_EQ(kPanelColour, screen.at(180, 200)) << "the client painted";
    POINT painted = {30, 15};
    ClientToScreen(host.painted, &painted);
    EXPECT_EQ(kPaintedColour, screen.at(painted.x - rect.left, painted.y - rect.top)) << "its control";
    Destroy(host);
  }
}

TEST_F(SkinnedHost, ALaterEffectMinusOneWindowComesBackWhereverItStarted) {
  // A first skinned window, then one whose top is at the screen's top.
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, false));
  ASSERT_EQ(1, skSkinWindow(hosts_.back().window, "", -1));
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, false));
  HostWindow& second = hosts_.back();
  const RECT expected = ExpectedRect(second);
  ASSERT_EQ(1, skSkinWindow(second.window, "", -1));
  RECT rect;
  GetWindowRect(second.window, &rect);
  EXPECT_EQ(expected.top + GetSystemMetrics(SM_CYVIRTUALSCREEN), rect.top) << "off screen meanwhile";
  ShowWindow(second.window, SW_SHOW);
  skintest::PumpUntilQuiet(300);
  GetWindowRect(second.window, &rect);
  EXPECT_EQ(RectText(expected), RectText(rect));
  // A class named EZGUI_... always takes effect -1.
  hosts_.push_back(MakeHost(WS_OVERLAPPEDWINDOW, 20, 30, 300, 200, false, kEzGuiClass));
  HostWindow& ezGui = hosts_.back();
  const RECT ezExpected = ExpectedRect(ezGui);
  ASSERT_EQ(1, skSkinWindow(ezGui.window, "", 3));
  EXPECT_FALSE(IsWindowVisible(ezGui.window)) << "not shown by an effect";
  GetWindowRect(ezGui.window, &rect);
  EXPECT_EQ(ezExpected.top + GetSystemMetrics(SM_CYVIRTUALSCREEN), rect.top);
}

// --- keyboard ----------------------------------------------------------------

TEST_F(SkinnedHost, AltKeysPressEnabledButtonsAndAltF4Closes) {
  HostWindow& host = ShownHost(this, &hosts_, "", 150, 120);
  HWND window = host.window;
  HostLog& log = g_logs[window];
  SetFocus(host.edit);
  log.commands.clear();
  skintest::AltChord('L');
  skintest::PumpUntilQuiet(100);
  ASSERT_EQ(1u, ButtonCommands(log).size()) << "Alt+L pressed Load";
  EXPECT_EQ(MAKEWPARAM(10, 1), ButtonCommands(log)[0]);
  EXPECT_EQ(host.load, GetFocus());
  log.commands.clear();
  skintest::AltChord('E');
  skintest::PumpUntilQuiet(100);
  EXPECT_TRUE(ButtonCommands(log).empty()) << "Eject is disabled";
  skintest::PressKey('L');
  skintest::PumpUntilQuiet(100);
  EXPECT_TRUE(ButtonCommands(log).empty()) << "no Alt, no button";
  // The numeric pad's 1 has the key code of the letter a: no button "&A".
  SetWindowTextA(host.load, "&Add");
  skintest::AltChord(VK_NUMPAD1);
  skintest::PumpUntilQuiet(100);
  EXPECT_TRUE(ButtonCommands(log).empty()) << "the numeric pad is no letter";
  skintest::AltChord('A');
  skintest::PumpUntilQuiet(100);
  EXPECT_EQ(1u, ButtonCommands(log).size()) << "Alt+A pressed Add";
  EXPECT_TRUE(IsWindow(window));
  skintest::AltChord(VK_F4);
  ASSERT_TRUE(harness::PumpUntil([&] { return IsWindow(window) == FALSE; }, 5000)) << "Alt+F4";
  host.window = nullptr;
}

TEST_F(SkinnedHost, DraggingByTheCaptionMovesAnOutlineAndPutsTheSettingBack) {
  BOOL wasOn = FALSE;
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &wasOn, 0);
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
  HostWindow& host = ShownHost(this, &hosts_, "", 150, 120);
  RECT before;
  GetWindowRect(host.window, &before);
  const POINT from = skintest::WindowPoint(host.window, 150, 10);
  // The system's move loop runs inside this thread's message pump, so the
  // hand that drags is another thread.
  std::thread hand([from] {
    skintest::MouseMove(from);
    skintest::MouseButton(from, true);
    for (int step = 1; step <= 8; ++step) {
      Sleep(40);
      skintest::MouseMove({from.x + 5 * step, from.y + 4 * step});
    }
    Sleep(100);
    skintest::MouseButton({from.x + 40, from.y + 32}, false);
  });
  harness::PumpMessagesFor(2500);
  hand.join();
  skintest::PumpUntilQuiet(300);
  RECT after;
  GetWindowRect(host.window, &after);
  EXPECT_EQ(before.left + 40, after.left);
  EXPECT_EQ(before.top + 32, after.top);
  BOOL on = FALSE;
  SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &on, 0);
  EXPECT_TRUE(on) << "full-window drag is on again";
  SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, wasOn, nullptr, 0);
}

}  // namespace
