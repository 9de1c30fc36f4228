// The skinned main window under Wine: a WS_POPUP window whose procedure
// calls SKGETMESSAGE first, with the "SKCLIP" and "SKMENU" holders and the
// status line.  Checks the frame (client area, hit codes, caption pixels,
// caption buttons, size limits), the holders' layout and message routing,
// the menu bar's popups and the messages that must still reach the program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "themecore.h"

namespace {

constexpr DWORD kPumpTimeoutMs = 2000;
constexpr int kMainX = 60;
constexpr int kMainY = 40;
constexpr int kMainWidth = 420;
constexpr int kMainHeight = 320;
const char kMainClass[] = "TCWINDOWSTESTMAIN";

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

std::vector<Seen> seen;
// Keys the test proc gives an open menu when the menu loop goes idle, one
// group per idle; kHoverSecondTitle moves the pointer instead.
constexpr WPARAM kHoverSecondTitle = 0;
std::vector<std::vector<WPARAM>> menuKeys;
POINT secondTitle = {};

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    Sleep(5);
  } while (GetTickCount() - start < milliseconds);
}

template <typename Predicate>
bool PumpUntil(Predicate done) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > kPumpTimeoutMs) return false;
    Pump(10);
  }
  return true;
}

bool SawMessage(UINT message, WPARAM wParam, HWND window = nullptr) {
  for (const Seen& s : seen) {
    if (s.message == message && s.wParam == wParam && (window == nullptr || s.window == window)) {
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (int32_t handled = SKGETMESSAGE(&window, &message, &wParam, &lParam)) return handled;
  switch (message) {
    case WM_COMMAND:
    case WM_SIZE:
    case WM_DESTROY:
    case WM_INITMENUPOPUP:
      seen.push_back({window, message, wParam, lParam});
      break;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      seen.push_back({window, message, data->dwData, static_cast<LPARAM>(data->cbData)});
      return 1;
    }
    case WM_SYSCOMMAND:
      seen.push_back({window, message, wParam & 0xFFF0, lParam});
      if ((wParam & 0xFFF0) == SC_CLOSE) return 0;  // the test closes it itself
      break;
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && !menuKeys.empty()) {
        for (WPARAM key : menuKeys.front()) {
          if (key == kHoverSecondTitle) {
            // The pointer moves onto the second title of the bar.
            SetCursorPos(secondTitle.x, secondTitle.y);
            PostMessageA(reinterpret_cast<HWND>(lParam), WM_MOUSEMOVE, 0, 0);
          } else {
            PostMessageA(reinterpret_cast<HWND>(lParam), WM_KEYDOWN, key, 0);
          }
        }
        menuKeys.erase(menuKeys.begin());
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterMainClass() {
  if (SKCHECKCLASS(kMainClass)) return;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  ASSERT_NE(0, SKREGISTERCLASS(&wc, kMainClass));
}

// A main window as the suite's programs make it, with its two holders and
// status line.  Under Wine without a window manager, hiding a shown
// top-level window waits for the X server for about two seconds, so the
// tests share one shown window and make hidden ones where they need their
// own.
struct MainWindow {
  HWND main = nullptr;
  HWND clip = nullptr;
  HWND menu = nullptr;
  HWND status = nullptr;

  explicit MainWindow(bool show) {
    RegisterMainClass();
    main = CreateWindowExA(0, kMainClass, "Main", WS_POPUP | WS_SYSMENU, kMainX, kMainY,
                           kMainWidth, kMainHeight, nullptr, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
    if (main == nullptr) return;
    clip = SKHOLDER(main, "SKCLIP", 0, 0, MainProc);
    menu = SKHOLDER(main, "SKMENU", 0, 0, MainProc);
    status = SKSTATUSWINDOW(main, "Ready");
    if (show) {
      ShowWindow(main, SW_SHOW);
      SetForegroundWindow(main);
      UpdateWindow(main);
    }
    Pump(20);
    seen.clear();
  }
  ~MainWindow() {
    if (main != nullptr) DestroyWindow(main);
  }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
};

class WindowsWin : public testing::Test {
 protected:
  static void SetUpTestSuite() { shared = new MainWindow(true); }
  static void TearDownTestSuite() {
    delete shared;
    shared = nullptr;
  }
  // Each test starts from the window as made.
  void SetUp() override {
    ASSERT_NE(nullptr, shared->main);
    if (IsZoomed(shared->main)) ShowWindow(shared->main, SW_RESTORE);
    SetWindowPos(shared->main, nullptr, kMainX, kMainY, kMainWidth, kMainHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(shared->menu, SW_SHOWNA);
    SetWindowTextA(shared->main, "Main");
    SetForegroundWindow(shared->main);
    Pump(10);
    seen.clear();
    menuKeys.clear();
  }
  void TearDown() override { menuKeys.clear(); }

  static MainWindow* shared;
};

MainWindow* WindowsWin::shared = nullptr;

RECT RectInParent(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void ExpectRect(const RECT& expected, const RECT& got, const char* what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(expected.left, got.left);
  EXPECT_EQ(expected.top, got.top);
  EXPECT_EQ(expected.right, got.right);
  EXPECT_EQ(expected.bottom, got.bottom);
}

std::string ClassName(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

LRESULT HitAt(HWND window, int x, int y) {
  RECT rect;
  GetWindowRect(window, &rect);
  return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(rect.left + x, rect.top + y));
}

// The window coordinates of the first caption point (scanning from the
// right) whose hit code is `code`; {-1, -1} when none.
POINT FindCaptionPart(HWND window, LRESULT code) {
  const int y = SKGETSYSTEMMETRICS(1) / 2;
  RECT rect;
  GetWindowRect(window, &rect);
  int first = -1;
  int last = -1;
  for (int x = rect.right - rect.left - 1; x >= 0; --x) {
    if (HitAt(window, x, y) == code) {
      if (last < 0) last = x;
      first = x;
    } else if (last >= 0) {
      break;
    }
  }
  if (last < 0) return {-1, -1};
  return {(first + last) / 2, y};
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetWindowDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

TEST(WindowsClassesWin, ClassesRegisterAndAreFound) {
  const char name[] = "TCWINDOWSCLASSCHECK";
  EXPECT_EQ(0, SKCHECKCLASS(name));
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  EXPECT_NE(0, SKREGISTERCLASS(&wc, name));
  EXPECT_STREQ(name, wc.lpszClassName);
  EXPECT_EQ(1, SKCHECKCLASS(name));
  EXPECT_EQ(0, SKREGISTERCLASS(&wc, name)) << "a second registration fails";
  EXPECT_EQ(1, SKCHECKCLASS("BUTTON")) << "system classes count";
  EXPECT_EQ(0, SKCHECKCLASS(nullptr));
  EXPECT_EQ(0, SKREGISTERCLASS(nullptr, name));
  UnregisterClassA(name, GetModuleHandleA(nullptr));
}

TEST_F(WindowsWin, FrameLeavesTheClientBetweenCaptionAndBorders) {
  MainWindow& w = *shared;
  ASSERT_NE(nullptr, w.main);
  const int left = SKGETSYSTEMMETRICS(4);
  const int right = SKGETSYSTEMMETRICS(5);
  const int caption = SKGETSYSTEMMETRICS(1);
  const int bottom = SKGETSYSTEMMETRICS(6);
  RECT client;
  GetClientRect(w.main, &client);
  EXPECT_EQ(kMainWidth - left - right, client.right);
  EXPECT_EQ(kMainHeight - caption - bottom, client.bottom);
  POINT origin = {0, 0};
  ClientToScreen(w.main, &origin);
  EXPECT_EQ(kMainX + left, origin.x);
  EXPECT_EQ(kMainY + caption, origin.y);
}

TEST_F(WindowsWin, HoldersFillTheClientAreaAndFollowItsSize) {
  MainWindow& w = *shared;
  ASSERT_NE(nullptr, w.clip);
  ASSERT_NE(nullptr, w.menu);
  ASSERT_NE(nullptr, w.status);
  EXPECT_EQ("SKCLIP", ClassName(w.clip));
  EXPECT_EQ("SKMENU", ClassName(w.menu));
  EXPECT_EQ("SKSTATUS", ClassName(w.status));
  const int menuHeight = SKGETSYSTEMMETRICS(2);
  const int statusHeight = SKGETSYSTEMMETRICS(3);
  for (SIZE size : {SIZE{kMainWidth, kMainHeight}, SIZE{500, 380}}) {
    SetWindowPos(w.main, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(w.main, &client);
    const LONG cw = client.right;
    const LONG ch = client.bottom;
    ExpectRect({0, 0, cw, menuHeight}, RectInParent(w.menu), "menu bar");
    ExpectRect({0, ch - statusHeight, cw, ch}, RectInParent(w.status), "status line");
    ExpectRect({0, menuHeight, cw, ch - statusHeight}, RectInParent(w.clip), "client holder");
  }
  // The holder's own WM_SIZE reached the program's procedure, in its name.
  EXPECT_TRUE(SawMessage(WM_SIZE, SIZE_RESTORED, w.clip));
  // A second SKSTATUSWINDOW gives the line its text instead of a new line.
  EXPECT_EQ(w.status, SKSTATUSWINDOW(w.main, "Busy"));
  char text[32] = {};
  GetWindowTextA(w.status, text, sizeof(text));
  EXPECT_STREQ("Busy", text);
}

TEST_F(WindowsWin, HiddenMenuBarGivesItsRoomToTheClientHolder) {
  MainWindow& w = *shared;
  ShowWindow(w.menu, SW_HIDE);
  RECT client;
  GetClientRect(w.main, &client);
  ExpectRect({0, 0, client.right, client.bottom - SKGETSYSTEMMETRICS(3)}, RectInParent(w.clip),
             "client holder without menu bar");
}

TEST_F(WindowsWin, ButtonInClientHolderCommandsTheMainProcedure) {
  MainWindow& w = *shared;
  HWND button = SKBUT3D(w.clip, "Go", nullptr, 10, 10, 80, 24, 77, 0);
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(77, GetDlgCtrlID(button));

  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(SawMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED), w.clip));

  seen.clear();
  PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
  PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
  EXPECT_TRUE(PumpUntil([] { return SawMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED)); }));

  // Released outside the button: no click.
  seen.clear();
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
  Pump(20);
  EXPECT_FALSE(SawMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED)));

  // The keyboard: Space (down and up) and Enter.
  SetFocus(button);
  EXPECT_EQ(button, GetFocus());
  SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(button, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_TRUE(SawMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED)));
  seen.clear();
  SendMessageA(button, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(SawMessage(WM_COMMAND, MAKEWPARAM(77, BN_CLICKED)));
  DestroyWindow(button);
}

TEST_F(WindowsWin, ProgramMessagesStillReachTheProgram) {
  MainWindow w(false);
  const char payload[] = "C:\\a.jpg";
  COPYDATASTRUCT data = {3, sizeof(payload), const_cast<char*>(payload)};
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(w.main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                  SMTO_NORMAL, kPumpTimeoutMs, &answer));
  EXPECT_EQ(1u, answer);
  EXPECT_TRUE(SawMessage(WM_COPYDATA, 3, w.main));

  PostMessageA(w.main, WM_COMMAND, 105, 0);
  EXPECT_TRUE(PumpUntil([&] { return SawMessage(WM_COMMAND, 105, w.main); }));

  HWND main = w.main;
  DestroyWindow(w.main);
  w.main = nullptr;
  EXPECT_TRUE(SawMessage(WM_DESTROY, 0, main));
}

TEST_F(WindowsWin, CaptionIsPaintedInTheCaptionColour) {
  MainWindow& w = *shared;
  SetWindowTextA(w.main, "MMMM");
  RedrawWindow(w.main, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const bool isActive = GetActiveWindow() == w.main;
  const COLORREF captionColour = static_cast<COLORREF>(SKGETSYSCOLOR(isActive ? 107 : 108));
  const int caption = SKGETSYSTEMMETRICS(1);
  RECT rect;
  GetWindowRect(w.main, &rect);
  const int width = rect.right - rect.left;
  EXPECT_EQ(captionColour, WindowPixel(w.main, width * 6 / 10, caption / 2));
  EXPECT_EQ(captionColour, WindowPixel(w.main, width / 2, caption - 2));

  // The title is drawn: some pixels of its area differ from the caption.
  int titlePixels = 0;
  for (int x = 20; x < 90; ++x) {
    for (int y = 2; y < caption - 2; ++y) {
      if (WindowPixel(w.main, x, y) != captionColour) ++titlePixels;
    }
  }
  EXPECT_GT(titlePixels, 10);

  // Borders in the window face colour, the menu bar from its image (in the
  // menu colour), the status line in its own.
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(111)),
            WindowPixel(w.main, 2, (rect.bottom - rect.top) / 2));
  HDC menuDc = GetDC(w.menu);
  RECT menuRect;
  GetClientRect(w.menu, &menuRect);
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(116)),
            GetPixel(menuDc, menuRect.right - 3, menuRect.bottom / 2));
  ReleaseDC(w.menu, menuDc);
  HDC statusDc = GetDC(w.status);
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(123)), GetPixel(statusDc, 200, 10));
  ReleaseDC(w.status, statusDc);
}

TEST_F(WindowsWin, HitCodesDriveMovingSizingAndCaptionButtons) {
  MainWindow& w = *shared;
  const int caption = SKGETSYSTEMMETRICS(1);
  EXPECT_EQ(HTCAPTION, HitAt(w.main, kMainWidth / 2, caption / 2));
  EXPECT_EQ(HTLEFT, HitAt(w.main, 1, kMainHeight / 2));
  EXPECT_EQ(HTRIGHT, HitAt(w.main, kMainWidth - 2, kMainHeight / 2));
  EXPECT_EQ(HTBOTTOM, HitAt(w.main, kMainWidth / 2, kMainHeight - 1));
  EXPECT_EQ(HTBOTTOMRIGHT, HitAt(w.main, kMainWidth - 1, kMainHeight - 1));
  EXPECT_EQ(HTTOPLEFT, HitAt(w.main, 0, 0));
  EXPECT_EQ(HTCLIENT, HitAt(w.main, kMainWidth / 2, kMainHeight / 2));
  EXPECT_EQ(HTSYSMENU, HitAt(w.main, SKGETSYSTEMMETRICS(16) + 4, SKGETSYSTEMMETRICS(21) + 4));
  // The status line's grip sizes the window.
  EXPECT_EQ(HTBOTTOMRIGHT,
            HitAt(w.main, kMainWidth - SKGETSYSTEMMETRICS(5) - 3,
                  kMainHeight - SKGETSYSTEMMETRICS(6) - 3));

  // Close, maximise and minimise from the right, as SKWINDOWSTYLE asks.
  const POINT close = FindCaptionPart(w.main, HTCLOSE);
  const POINT maximise = FindCaptionPart(w.main, HTMAXBUTTON);
  const POINT minimise = FindCaptionPart(w.main, HTMINBUTTON);
  ASSERT_GE(close.x, 0);
  ASSERT_GE(maximise.x, 0);
  ASSERT_GE(minimise.x, 0);
  EXPECT_GT(close.x, maximise.x);
  EXPECT_GT(maximise.x, minimise.x);
}

// Presses and releases a caption button as the mouse would.
void ClickCaptionButton(HWND window, LRESULT code) {
  const POINT at = FindCaptionPart(window, code);
  ASSERT_GE(at.x, 0);
  RECT rect;
  GetWindowRect(window, &rect);
  POINT screen = {rect.left + at.x, rect.top + at.y};
  SendMessageA(window, WM_NCLBUTTONDOWN, code, MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(window, GetCapture());
  POINT client = screen;
  ScreenToClient(window, &client);
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(WindowsWin, CaptionButtonsSendSystemCommands) {
  MainWindow& w = *shared;
  ClickCaptionButton(w.main, HTCLOSE);
  EXPECT_TRUE(PumpUntil([] { return SawMessage(WM_SYSCOMMAND, SC_CLOSE); }));
  EXPECT_TRUE(IsWindow(w.main));

  ClickCaptionButton(w.main, HTMAXBUTTON);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w.main) != FALSE; }));
  // Maximised to the work area, frame included.
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT rect;
  GetWindowRect(w.main, &rect);
  ExpectRect(work, rect, "maximised window");

  ClickCaptionButton(w.main, HTMAXBUTTON);
  EXPECT_TRUE(PumpUntil([&] { return IsZoomed(w.main) == FALSE; }));
  GetWindowRect(w.main, &rect);
  ExpectRect({kMainX, kMainY, kMainX + kMainWidth, kMainY + kMainHeight}, rect, "restored");
}

TEST_F(WindowsWin, SizeLimitsComeFromTheEngineAndTheWorkArea) {
  MainWindow& w = *shared;
  MINMAXINFO info = {};
  SendMessageA(w.main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(SKXMINI(), info.ptMinTrackSize.x);
  EXPECT_EQ(SKYMINI(), info.ptMinTrackSize.y);
  EXPECT_EQ(work.right - work.left, info.ptMaxSize.x);
  EXPECT_EQ(work.bottom - work.top, info.ptMaxSize.y);
}

TEST(WindowsClassesWin, SetMaxSizeClampsToTheWorkArea) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  struct Case {
    int width, height;
    LONG wantWidth, wantHeight;
  } cases[] = {
      {5000, 4000, work.right - work.left, work.bottom - work.top},
      {300, 200, 300, 200},
      {300, 9000, 300, work.bottom - work.top},
      {-5, 10, 0, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    int32_t width = -7;
    int32_t height = -7;
    EXPECT_EQ(1, SKSETMAXSIZE(c.width, c.height, &width, &height));
    EXPECT_EQ(c.wantWidth, width);
    EXPECT_EQ(c.wantHeight, height);
  }
  EXPECT_EQ(1, SKSETMAXSIZE(10, 10, nullptr, nullptr));
}

TEST(WindowsClassesWin, MenuBarImageHasTheMenuBarHeight) {
  HBITMAP image = SKMENUBAR();
  ASSERT_NE(nullptr, image);
  int32_t width = 0;
  int32_t height = 0;
  ASSERT_EQ(1, SKGETPIXMAPSIZE(image, &width, &height));
  EXPECT_GT(width, 0);
  EXPECT_EQ(SKGETSYSTEMMETRICS(2), height);
  EXPECT_EQ(image, SKMENUBAR()) << "the engine keeps one image";
}

// A main menu of two popups: File (101 Open, 102 Close) and Edit (201 Cut).
void BuildTestMenu() {
  static const char menus[] = "&File|&Edit\0Open|Close\0Cut\0";
  ASSERT_NE(nullptr, SKMENU(menus, sizeof(menus) - 1));
}

// The client point at the middle of the first bar title ("File").
POINT FirstTitle(HWND menuHolder) {
  RECT rect;
  GetClientRect(menuHolder, &rect);
  return {12, rect.bottom / 2};
}

TEST_F(WindowsWin, MenuBarDrawsTheMainMenuTitles) {
  BuildTestMenu();
  MainWindow& w = *shared;
  RedrawWindow(w.menu, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF text = static_cast<COLORREF>(SKGETSYSCOLOR(117));
  HDC dc = GetDC(w.menu);
  RECT rect;
  GetClientRect(w.menu, &rect);
  int textPixels = 0;
  for (int x = 0; x < 80; ++x) {
    for (int y = 0; y < rect.bottom; ++y) {
      if (GetPixel(dc, x, y) == text) ++textPixels;
    }
  }
  ReleaseDC(w.menu, dc);
  EXPECT_GT(textPixels, 10) << "the titles are drawn in the menu text colour";
}

TEST_F(WindowsWin, MenuBarPopupCommandsReachTheMainWindow) {
  BuildTestMenu();
  MainWindow& w = *shared;
  // Down selects Open, Enter chooses it.
  menuKeys = {{VK_DOWN, VK_RETURN}};
  const POINT title = FirstTitle(w.menu);
  PostMessageA(w.menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(title.x, title.y));
  EXPECT_TRUE(PumpUntil([&] { return SawMessage(WM_COMMAND, 101, w.main); }));
  EXPECT_TRUE(SawMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(SKPOPUPHANDLE(1)), w.main));
  menuKeys.clear();
}

TEST_F(WindowsWin, RightArrowMovesToTheNextPopup) {
  BuildTestMenu();
  MainWindow& w = *shared;
  menuKeys = {{VK_RIGHT}, {VK_DOWN, VK_RETURN}};
  const POINT title = FirstTitle(w.menu);
  PostMessageA(w.menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(title.x, title.y));
  EXPECT_TRUE(PumpUntil([&] { return SawMessage(WM_COMMAND, 201, w.main); }));
  menuKeys.clear();
}

TEST_F(WindowsWin, PointerOnAnotherTitleOpensItsPopup) {
  BuildTestMenu();
  MainWindow& w = *shared;
  // The second title is the first inked column after the first gap of
  // blank columns that follows "File" (titles stand well apart).
  RECT bar;
  GetClientRect(w.menu, &bar);
  HDC dc = GetDC(w.menu);
  const COLORREF text = static_cast<COLORREF>(SKGETSYSCOLOR(117));
  auto isInked = [&](int column) {
    for (int y = 0; y < bar.bottom; ++y) {
      if (GetPixel(dc, column, y) == text) return true;
    }
    return false;
  };
  constexpr int kGap = 8;
  int x = 0;
  while (x < bar.right && !isInked(x)) ++x;  // "File" begins
  int blank = 0;
  for (; x < bar.right; ++x) {
    if (!isInked(x)) {
      ++blank;
    } else if (blank >= kGap) {
      break;  // "Edit" begins
    } else {
      blank = 0;
    }
  }
  ReleaseDC(w.menu, dc);
  ASSERT_LT(x, bar.right) << "no second title found";
  secondTitle = {x + 3, bar.bottom / 2};
  ClientToScreen(w.menu, &secondTitle);

  menuKeys = {{kHoverSecondTitle}, {VK_DOWN, VK_RETURN}};
  const POINT title = FirstTitle(w.menu);
  PostMessageA(w.menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(title.x, title.y));
  EXPECT_TRUE(PumpUntil([&] { return SawMessage(WM_COMMAND, 201, w.main); }));
  SetCursorPos(0, 0);
}

TEST_F(WindowsWin, DialogMessageTabsBetweenEngineButtons) {
  MainWindow& w = *shared;
  HWND first = SKBUT3D(w.clip, "One", nullptr, 10, 10, 60, 22, 31, 0);
  HWND second = SKBUT3D(w.clip, "Two", nullptr, 80, 10, 60, 22, 32, 0);
  ASSERT_NE(nullptr, second);
  SetFocus(first);
  ASSERT_EQ(first, GetFocus());
  MSG tab = {first, WM_KEYDOWN, VK_TAB, 0, GetTickCount(), {0, 0}};
  EXPECT_EQ(1, SKDIALOGMESSAGE(w.main, &tab));
  EXPECT_EQ(second, GetFocus());
  // Tab in a window the engine does not own is left to the program.
  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 150, 10, 60, 22,
                              w.clip, nullptr, nullptr, nullptr);
  SetFocus(edit);
  MSG editTab = {edit, WM_KEYDOWN, VK_TAB, 0, GetTickCount(), {0, 0}};
  EXPECT_EQ(0, SKDIALOGMESSAGE(w.main, &editTab));
  DestroyWindow(edit);
  DestroyWindow(first);
  DestroyWindow(second);
}

TEST_F(WindowsWin, DialogMessageTakesF10ForTheMenuBarOnly) {
  BuildTestMenu();
  MainWindow& w = *shared;
  // From the keyboard the first item is already selected.
  menuKeys = {{VK_RETURN}};
  MSG f10 = {w.main, WM_SYSKEYDOWN, VK_F10, 0, GetTickCount(), {0, 0}};
  EXPECT_EQ(1, SKDIALOGMESSAGE(w.main, &f10));
  EXPECT_TRUE(PumpUntil([&] { return SawMessage(WM_COMMAND, 101, w.main); }));
  menuKeys.clear();

  MSG key = {w.main, WM_KEYDOWN, 'A', 0, GetTickCount(), {0, 0}};
  EXPECT_EQ(0, SKDIALOGMESSAGE(w.main, &key));
  MSG command = {w.main, WM_COMMAND, 105, 0, GetTickCount(), {0, 0}};
  EXPECT_EQ(0, SKDIALOGMESSAGE(w.main, &command));
  EXPECT_EQ(0, SKDIALOGMESSAGE(w.main, nullptr));
}

TEST_F(WindowsWin, SystemButtonTipBelongsToMainWindows) {
  MainWindow& w = *shared;
  EXPECT_EQ(1, SKSETSYSBUTTONTIP(w.main, "Program menu"));
  EXPECT_EQ(1, SKSETSYSBUTTONTIP(w.main, "Another tip"));
  EXPECT_EQ(0, SKSETSYSBUTTONTIP(w.clip, "not a main window"));
  EXPECT_EQ(0, SKSETSYSBUTTONTIP(nullptr, "none"));
}

TEST_F(WindowsWin, ZoomHolderIsAHiddenPopupOfTheMainWindow) {
  MainWindow& w = *shared;
  HWND zoom = SKHOLDER(w.clip, "SKZOOM", 0, 0, MainProc);
  ASSERT_NE(nullptr, zoom);
  EXPECT_EQ("SKZOOM", ClassName(zoom));
  EXPECT_FALSE(IsWindowVisible(zoom));
  EXPECT_EQ(w.main, GetWindow(zoom, GW_OWNER));
  EXPECT_EQ(0, GetWindowLongA(zoom, GWL_STYLE) & WS_CHILD);
  DestroyWindow(zoom);
  EXPECT_EQ(nullptr, SKHOLDER(w.main, "SKNOTHING", 0, 0, MainProc));
  EXPECT_EQ(nullptr, SKHOLDER(nullptr, "SKCLIP", 0, 0, MainProc));
}

TEST_F(WindowsWin, OwnedPopupsKeepTheirOwnLook) {
  MainWindow& w = *shared;
  HWND pane = CreateWindowExA(0, kMainClass, "Pane", WS_POPUP | WS_SYSMENU, 10, 10, 100, 80,
                              w.main, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, pane);
  RECT client;
  GetClientRect(pane, &client);
  EXPECT_EQ(100, client.right);
  EXPECT_EQ(80, client.bottom);
  DestroyWindow(pane);
}

}  // namespace
