// themeapi.dll's skinned child controls, menu bar and message box, in this
// test program as the host: real controls of the system's classes skinned
// by skSkinWindow, worked with real input (SendInput), their pixels read
// off the X display and compared with the test skin's colours; the menu
// bar opened by the mouse and by Alt keys with the commands recorded at the
// host; message boxes answered by script and by real input.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "test_files.h"
#include "themeapi.h"
#include "themeapi_test_support.h"
#include "themecore.h"

namespace {

// The skin's colours the probes look for.
constexpr COLORREF kText = RGB(0x00, 0x00, 0x20);         // 101
constexpr COLORREF kSelectedTab = RGB(0xA0, 0xC0, 0xE0);  // 103
constexpr COLORREF kListBack = RGB(0xFF, 0xFF, 0xFF);     // 104
constexpr COLORREF kShadow = RGB(0x80, 0x80, 0x80);       // 106
constexpr COLORREF kPopupText = RGB(0xF0, 0xF0, 0xA0);    // 110
constexpr COLORREF kPanel = RGB(0xE0, 0xC0, 0x80);        // 112
constexpr COLORREF kHighlight = RGB(0xC0, 0x30, 0x30);    // 114
constexpr COLORREF kBarText = RGB(0x10, 0x20, 0x60);      // 116
constexpr COLORREF kDark3d = RGB(0x60, 0x40, 0x20);       // 118
constexpr COLORREF kLight3d = RGB(0xF0, 0xE0, 0xD0);      // 119
constexpr COLORREF kStatusText = RGB(0x20, 0x40, 0xC0);   // 120
constexpr COLORREF kStatusBack = RGB(0x50, 0xC0, 0xC0);   // 123
constexpr COLORREF kMenuBack = RGB(0x20, 0x30, 0x40);     // 124
constexpr COLORREF kBarImage = RGB(0xC0, 0xE0, 0xC0);     // the skin's "menubar"

std::string ControlsSkinText() {
  std::string text = skintest::FlatSkinText();
  const std::string extra =
      "103=A0C0E0\n110=F0F0A0\n115=FFFFFF\n116=102060\n117=909090\n118=604020\n119=F0E0D0\n"
      "120=2040C0\n121=707070\n122=B0B0B0\n123=50C0C0\n124=203040\n";
  text.insert(text.find("[colours]\n") + 10, extra);
  const size_t textColour = text.find("101=000000");
  text.replace(textColour, 10, "101=000020");
  return text + "[images]\nmenubar=menubar.bmp\n";
}

COLORREF BarImagePixel(int, int) { return kBarImage; }

struct HostLog {
  std::vector<WPARAM> commands;
  std::map<UINT, HBITMAP> imagesGiven;  // command id -> picture handed out
  bool answersImages = false;
};
std::map<HWND, HostLog> g_logs;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  HostLog& log = g_logs[window];
  if (message == WM_COMMAND) log.commands.push_back(wParam);
  if (message == WM_USER + 127 && log.answersImages) {
    HDC screen = GetDC(nullptr);
    HBITMAP image = CreateCompatibleBitmap(screen, 12, 12);
    ReleaseDC(nullptr, screen);
    log.imagesGiven[static_cast<UINT>(wParam)] = image;
    return reinterpret_cast<LRESULT>(image);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

constexpr char kHostClass[] = "SKINCTLHOST";

HWND MakeHost(const char* title, int width, int height, HMENU menu) {
  static bool registered = false;
  if (!registered) {
    registered = true;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = kHostClass;
    RegisterClassA(&wc);
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
  }
  return CreateWindowExA(0, kHostClass, title, WS_OVERLAPPEDWINDOW, 60, 40, width, height, nullptr, menu,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND Child(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int w, int h,
           int id, DWORD exStyle = 0) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void Show(HWND window) {
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  skintest::PumpUntilQuiet(300);
}

// A control's picture as the screen shows it.
harness::Bmp24 Grab(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  harness::Bmp24 picture;
  EXPECT_TRUE(skintest::GrabScreen(rect, &picture));
  return picture;
}

int CountColour(const harness::Bmp24& picture, COLORREF colour, RECT area) {
  int count = 0;
  area.right = std::min<LONG>(area.right, picture.width);
  area.bottom = std::min<LONG>(area.bottom, picture.height);
  for (int y = std::max<LONG>(0, area.top); y < area.bottom; ++y) {
    for (int x = std::max<LONG>(0, area.left); x < area.right; ++x) count += picture.at(x, y) == colour;
  }
  return count;
}

int CountColour(const harness::Bmp24& picture, COLORREF colour) {
  return CountColour(picture, colour, {0, 0, picture.width, picture.height});
}

// Pumps until `done` holds or the time is up.
template <typename Done>
bool PumpUntil(Done done, DWORD limitMs = 3000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limitMs) return false;
    harness::PumpMessagesFor(20);
  }
  return true;
}

BOOL CALLBACK MatchPopupMenu(HWND window, LPARAM data) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpA(name, "#32768") != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

// A click made from another thread while this one pumps: a scroll bar
// tracks the button in a loop of its own until the button goes up.
void ClickWhilePumping(POINT at) {
  std::atomic<bool> done{false};
  std::thread clicker([at, &done] {
    skintest::MouseMove(at);
    skintest::MouseButton(at, true);
    Sleep(150);
    skintest::MouseButton(at, false);
    done = true;
  });
  const DWORD start = GetTickCount();
  while (!done && GetTickCount() - start < 5000) harness::PumpMessagesFor(20);
  clicker.join();
  skintest::PumpUntilQuiet(100);
}

// A popup menu on the screen, null when none is open.
HWND FindPopupMenuWindow() {
  HWND found = nullptr;
  EnumWindows(MatchPopupMenu, reinterpret_cast<LPARAM>(&found));
  return found;
}

class SkinnedControls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new harness::ScratchFolder("themeapi controls skin");
    skinFile_ = folder_->Child("controls.sks");
    harness::WriteFileBytes(skinFile_, ControlsSkinText());
    harness::WriteFileBytes(folder_->Child("menubar.bmp"), skintest::BmpFile(8, 20, BarImagePixel));
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(1, SKINITENGINE(skinFile_.c_str())) << skinFile_; }
  void TearDown() override {
    for (HWND window : windows_) {
      if (IsWindow(window)) DestroyWindow(window);
      g_logs.erase(window);
    }
    skintest::PumpUntilQuiet(50, 1000);
  }
  HWND Host(const char* title, int width, int height, HMENU menu = nullptr) {
    HWND window = MakeHost(title, width, height, menu);
    windows_.push_back(window);
    return window;
  }

  static harness::ScratchFolder* folder_;
  static std::string skinFile_;
  std::vector<HWND> windows_;
};

harness::ScratchFolder* SkinnedControls::folder_ = nullptr;
std::string SkinnedControls::skinFile_;

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }

// --- preparation by kind ----------------------------------------------------

TEST_F(SkinnedControls, EachKindIsSubclassedAndPreparedAndTheNoSkinListIsKept) {
  HWND host = Host("Controls", 600, 420);
  ASSERT_NE(nullptr, host);
  struct Made {
    const char* name;
    HWND window;
    bool skinned;
  };
  HWND keptOut = Child(host, "BUTTON", "Kept out", BS_AUTOCHECKBOX, 10, 10, 120, 20, 30);
  skSkinDisable(keptOut);
  HWND header = Child(host, WC_HEADERA, "", 0, 10, 300, 200, 24, 40);
  HDITEMA picture = {};
  HDC screen = GetDC(nullptr);
  HBITMAP headerImage = CreateCompatibleBitmap(screen, 8, 8);
  ReleaseDC(nullptr, screen);
  picture.mask = HDI_FORMAT | HDI_TEXT | HDI_WIDTH | HDI_BITMAP;
  picture.hbm = headerImage;
  picture.fmt = HDF_BITMAP | HDF_LEFT;
  picture.cxy = 80;
  picture.pszText = const_cast<char*>("Size");
  SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&picture));
  const std::vector<Made> made = {
      {"push", Child(host, "BUTTON", "&Burn", BS_PUSHBUTTON, 10, 40, 80, 24, 31), true},
      {"push without id", Child(host, "BUTTON", "No id", BS_PUSHBUTTON, 100, 40, 80, 24, 0), false},
      {"check", Child(host, "BUTTON", "Verify", BS_AUTOCHECKBOX, 10, 70, 120, 20, 32), true},
      {"three-state", Child(host, "BUTTON", "Mixed", BS_3STATE, 140, 70, 120, 20, 33), true},
      {"radio", Child(host, "BUTTON", "Fast", BS_AUTORADIOBUTTON, 270, 70, 120, 20, 34), true},
      {"group", Child(host, "BUTTON", "Options", BS_GROUPBOX, 400, 10, 150, 100, 35), true},
      {"tree", Child(host, WC_TREEVIEWA, "", TVS_HASLINES, 10, 100, 120, 80, 36, WS_EX_CLIENTEDGE), true},
      {"list view", Child(host, WC_LISTVIEWA, "", LVS_LIST, 140, 100, 120, 80, 37, WS_EX_CLIENTEDGE), true},
      {"tab", Child(host, WC_TABCONTROLA, "", 0, 270, 120, 200, 100, 38), true},
      {"list box", Child(host, "LISTBOX", "", LBS_HASSTRINGS, 10, 190, 120, 60, 39, WS_EX_CLIENTEDGE), true},
      {"list box without strings", Child(host, "LISTBOX", "", LBS_OWNERDRAWFIXED, 140, 190, 120, 60, 41), false},
      {"header with a picture", header, false},
      {"kept out", keptOut, false},
      {"edit", Child(host, "EDIT", "text", 0, 480, 300, 80, 22, 42, WS_EX_CLIENTEDGE), true},
  };
  TCITEMA tab = {};
  tab.mask = TCIF_TEXT;
  tab.pszText = const_cast<char*>("Data");
  SendMessageA(made[8].window, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tab));
  std::vector<WNDPROC> before;
  for (const Made& m : made) before.push_back(ProcOf(m.window));
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);
  for (size_t i = 0; i < made.size(); ++i) {
    SCOPED_TRACE(made[i].name);
    EXPECT_EQ(made[i].skinned, ProcOf(made[i].window) != before[i]);
  }
  EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(made[0].window, GWL_STYLE) & 0xF) << "push button drawn by the library";
  EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(made[1].window, GWL_STYLE) & 0xF) << "no id: left alone";
  EXPECT_EQ(RGB(255, 255, 255), static_cast<COLORREF>(SendMessageA(made[6].window, TVM_GETBKCOLOR, 0, 0)));
  EXPECT_EQ(kText, static_cast<COLORREF>(SendMessageA(made[6].window, TVM_GETTEXTCOLOR, 0, 0)));
  EXPECT_EQ(kText, static_cast<COLORREF>(SendMessageA(made[7].window, LVM_GETTEXTCOLOR, 0, 0)));
  EXPECT_EQ(kListBack, static_cast<COLORREF>(SendMessageA(made[7].window, LVM_GETBKCOLOR, 0, 0)));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, GetWindowRgn(made[8].window, region)) << "the tab's page shows the parent";
  EXPECT_TRUE(PtInRegion(region, 10, 5)) << "the band of tabs stays";
  EXPECT_FALSE(PtInRegion(region, 100, 60)) << "the page area is cut out";
  DeleteObject(region);
  // Let in again after skinning: it stays as it is.
  skSkinEnable(keptOut);
  EXPECT_EQ(before[12], ProcOf(keptOut));
  DestroyWindow(header);
  DeleteObject(headerImage);
}

// --- what the screen shows, and real input ------------------------------------

TEST_F(SkinnedControls, CheckBoxesAndRadioButtonsShowTheSkinsGlyphsAndWorkWithClicks) {
  HWND host = Host("Glyphs", 460, 220);
  HWND check = Child(host, "BUTTON", "Verify", BS_AUTOCHECKBOX, 20, 20, 140, 22, 50);
  HWND threeState = Child(host, "BUTTON", "Mixed", BS_3STATE, 20, 60, 140, 22, 51);
  HWND radio = Child(host, "BUTTON", "Fast", BS_AUTORADIOBUTTON, 20, 100, 140, 22, 52);
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);

  // The glyph's corner: the check box image's frame is the shadow colour; a
  // radio button's ring leaves its corner to the panel behind it.
  const int glyphTop = (22 - 13 - 1) / 2;
  harness::Bmp24 unchecked = Grab(check);
  EXPECT_EQ(kShadow, unchecked.at(0, glyphTop)) << "check box glyph";
  EXPECT_EQ(0, CountColour(unchecked, kText, {1, glyphTop + 1, 12, glyphTop + 12})) << "no mark yet";
  EXPECT_EQ(kShadow, Grab(threeState).at(0, glyphTop)) << "a three-state button is a check box";
  EXPECT_EQ(kPanel, Grab(radio).at(0, glyphTop)) << "radio glyph";

  // A real click checks the box: the state and the mark on the screen.
  skintest::Click(skintest::WindowPoint(check, 6, 11));
  skintest::PumpUntilQuiet(200);
  EXPECT_EQ(BST_CHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));
  EXPECT_NE(std::find(g_logs[host].commands.begin(), g_logs[host].commands.end(), MAKEWPARAM(50, BN_CLICKED)),
            g_logs[host].commands.end());
  const harness::Bmp24 checked = Grab(check);
  EXPECT_GT(CountColour(checked, kText, {1, glyphTop + 1, 12, glyphTop + 12}), 4) << "the mark";

  // The indeterminate state shows its own frame: the mark in the shadow
  // colour, not the text colour.
  SendMessageA(threeState, BM_SETCHECK, BST_INDETERMINATE, 0);
  skintest::PumpUntilQuiet(100);
  const harness::Bmp24 mixed = Grab(threeState);
  EXPECT_EQ(0, CountColour(mixed, kText, {1, glyphTop + 1, 12, glyphTop + 12}));
  EXPECT_GT(CountColour(mixed, kShadow, {2, glyphTop + 2, 11, glyphTop + 11}), 4);
  // Repainted from scratch it still shows the indeterminate frame.
  InvalidateRect(threeState, nullptr, TRUE);
  skintest::PumpUntilQuiet(100);
  EXPECT_GT(CountColour(Grab(threeState), kShadow, {2, glyphTop + 2, 11, glyphTop + 11}), 4);

  skintest::Click(skintest::WindowPoint(radio, 6, 11));
  skintest::PumpUntilQuiet(200);
  EXPECT_EQ(BST_CHECKED, SendMessageA(radio, BM_GETCHECK, 0, 0));
  EXPECT_GT(CountColour(Grab(radio), kText, {3, glyphTop + 3, 10, glyphTop + 10}), 4) << "the dot";
}

TEST_F(SkinnedControls, FramesTabsTreesHeadersStatusBarsAndButtonsAreDrawnInTheSkinsColours) {
  HWND host = Host("Looks", 620, 400);
  HWND group = Child(host, "BUTTON", "Options", BS_GROUPBOX, 10, 10, 160, 90, 60);
  HWND etched = Child(host, "STATIC", "", SS_ETCHEDFRAME, 190, 10, 100, 50, 61);
  HWND push = Child(host, "BUTTON", "Burn", BS_PUSHBUTTON, 310, 10, 90, 28, 62);
  HWND tab = Child(host, WC_TABCONTROLA, "", 0, 10, 120, 260, 120, 63);
  for (const char* name : {"Files", "Disc"}) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(name);
    SendMessageA(tab, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&item));
  }
  HWND tree = Child(host, WC_TREEVIEWA, "", TVS_HASLINES | TVS_SHOWSELALWAYS, 290, 120, 150, 100, 64);
  TVINSERTSTRUCTA insert = {};
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>("Music");
  HTREEITEM first = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  insert.item.pszText = const_cast<char*>("Photos");
  SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
  HWND header = Child(host, WC_HEADERA, "", 0, 460, 120, 140, 24, 65);
  HDITEMA column = {};
  column.mask = HDI_FORMAT | HDI_TEXT | HDI_WIDTH;
  column.fmt = HDF_LEFT | HDF_STRING;
  column.cxy = 70;
  column.pszText = const_cast<char*>("Name");
  SendMessageA(header, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&column));
  HWND track = Child(host, TRACKBAR_CLASSA, "", TBS_HORZ, 10, 250, 200, 30, 67);
  HWND toolbar = Child(host, TOOLBARCLASSNAMEA, "", CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_FLAT, 230, 250, 200,
                       30, 68);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON tool = {};
  tool.iBitmap = I_IMAGENONE;
  tool.idCommand = 680;
  tool.fsState = TBSTATE_ENABLED;
  tool.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
  tool.iString = reinterpret_cast<INT_PTR>("Erase");
  SendMessageA(toolbar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tool));
  HWND status = Child(host, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, 66);
  const int widths[] = {200, -1};
  SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(widths));
  SendMessageA(status, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Ready to burn"));
  // A part text longer than any fixed buffer is read whole.
  const std::string longText = "Writing track 1 " + std::string(700, '.');
  SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(longText.c_str()));
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);

  const harness::Bmp24 groupPicture = Grab(group);
  EXPECT_GT(CountColour(groupPicture, kLight3d, {0, 20, 3, 80}), 20) << "group outline, left";
  EXPECT_GT(CountColour(groupPicture, kDark3d, {0, 20, 3, 80}), 20);
  EXPECT_GT(CountColour(groupPicture, RGB(0x10, 0x10, 0x10), {10, 0, 70, 16}), 5)
      << "title in colour 113";
  const harness::Bmp24 etchedPicture = Grab(etched);
  EXPECT_EQ(kDark3d, etchedPicture.at(0, 20));
  EXPECT_EQ(kLight3d, etchedPicture.at(99, 20));

  const harness::Bmp24 pushPicture = Grab(push);
  EXPECT_EQ(kListBack, pushPicture.at(45, 5)) << "the button's face";
  EXPECT_EQ(kShadow, pushPicture.at(0, 14)) << "its edge";

  const harness::Bmp24 tabPicture = Grab(tab);
  EXPECT_GT(CountColour(tabPicture, kSelectedTab, {0, 0, 130, 24}), 100) << "the selected tab";
  EXPECT_GT(CountColour(tabPicture, kLight3d, {0, 20, 3, 119}), 40) << "the page frame";

  const harness::Bmp24 treePicture = Grab(tree);
  EXPECT_GT(CountColour(treePicture, kHighlight), 200) << "the selected item's band";
  EXPECT_GT(CountColour(treePicture, kListBack), 2000) << "the tree's background";

  const harness::Bmp24 headerPicture = Grab(header);
  EXPECT_GT(CountColour(headerPicture, kSelectedTab), 300) << "header face";
  EXPECT_GT(CountColour(headerPicture, kText, {0, 0, 70, 24}), 5) << "header text";

  const harness::Bmp24 trackPicture = Grab(track);
  EXPECT_GT(CountColour(trackPicture, kPanel), 1000) << "the track bar over the skin's background";
  EXPECT_LT(CountColour(trackPicture, GetSysColor(COLOR_BTNFACE)), 100) << "its own face left out";

  const harness::Bmp24 toolbarPicture = Grab(toolbar);
  EXPECT_GT(CountColour(toolbarPicture, kPanel), 2000) << "the toolbar over the skin's background";
  EXPECT_LT(CountColour(toolbarPicture, GetSysColor(COLOR_BTNFACE)), 100);

  const harness::Bmp24 statusPicture = Grab(status);
  EXPECT_GT(CountColour(statusPicture, kStatusBack), 300) << "the skin's status image";
  EXPECT_GT(CountColour(statusPicture, kStatusText, {0, 0, 200, statusPicture.height}), 10)
      << "the part's text in colour 120";
  EXPECT_GT(CountColour(statusPicture, kStatusText, {200, 0, statusPicture.width, statusPicture.height}), 10)
      << "the long part's text";
}

TEST_F(SkinnedControls, ComboBoxesAndListBoxesStillWorkWithRealInput) {
  HWND host = Host("Input", 420, 300);
  HWND combo = Child(host, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 20, 20, 160, 150, 70);
  for (const char* speed : {"4x", "8x", "16x"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(speed));
  HWND list = Child(host, "LISTBOX", "", LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL, 200, 20, 150, 80, 71,
                    WS_EX_CLIENTEDGE);
  for (int i = 0; i < 30; ++i) {
    const std::string item = "Track " + std::to_string(i + 1);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  // The host's owner-drawn list, drawn by the library in the skin's list
  // colours.
  HWND drawn = Child(host, "LISTBOX", "", LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 20, 180, 160, 80, 72);
  for (const char* name : {"disc.iso", "track01.wav", "notes.txt"}) {
    SendMessageA(drawn, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  SendMessageA(drawn, LB_SETCURSEL, 1, 0);
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);
  const harness::Bmp24 drawnPicture = Grab(drawn);
  RECT first = {};
  RECT second = {};
  SendMessageA(drawn, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  SendMessageA(drawn, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_GT(CountColour(drawnPicture, kHighlight, second), (second.right - second.left) * 4) << "selected item";
  EXPECT_GT(CountColour(drawnPicture, RGB(255, 255, 255), second), 5) << "its text in colour 115";
  EXPECT_EQ(0, CountColour(drawnPicture, kHighlight, first)) << "an item not selected";
  EXPECT_GT(CountColour(drawnPicture, kText, first), 5) << "its text in colour 101";

  RECT comboRect = {};
  GetWindowRect(combo, &comboRect);
  skintest::Click({comboRect.right - 8, (comboRect.top + comboRect.bottom) / 2});
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; })) << "the list opens";
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetComboBoxInfo(combo, &info));
  const int itemHeight = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  RECT dropped = {};
  GetWindowRect(info.hwndList, &dropped);
  skintest::Click({dropped.left + 20, dropped.top + itemHeight * 2 + itemHeight / 2});
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(combo, CB_GETCURSEL, 0, 0) == 2; })) << "16x chosen";
  const auto& commands = g_logs[host].commands;
  EXPECT_NE(std::find(commands.begin(), commands.end(), MAKEWPARAM(70, CBN_SELCHANGE)), commands.end());

  // The list's scroll bar, clicked below its thumb, pages down.
  RECT listRect = {};
  GetWindowRect(list, &listRect);
  const int scroll = GetSystemMetrics(SM_CXVSCROLL);
  POINT below = {listRect.right - 2 - scroll / 2, listRect.bottom - 2 - scroll - 4};
  ClickWhilePumping(below);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(list, LB_GETTOPINDEX, 0, 0) > 0; })) << "the list scrolls";
  // A click on an item selects it.
  RECT item = {};
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(top + 1), reinterpret_cast<LPARAM>(&item));
  POINT at = {item.left + 10, (item.top + item.bottom) / 2};
  ClientToScreen(list, &at);
  skintest::Click(at);
  EXPECT_TRUE(PumpUntil([&] { return SendMessageA(list, LB_GETCURSEL, 0, 0) == top + 1; }));
}

// --- the menu bar ---------------------------------------------------------------

constexpr UINT kOpenId = 101;
constexpr UINT kExitId = 102;
constexpr UINT kWrapId = 201;

HMENU MakeMenu() {
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kOpenId, "&Open\tCtrl+O");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, kExitId, "E&xit");
  HMENU edit = CreatePopupMenu();
  AppendMenuA(edit, MF_STRING | MF_CHECKED, kWrapId, "&Wrap lines");
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
  return bar;
}

bool SawCommand(HWND host, UINT id) {
  const auto& commands = g_logs[host].commands;
  return std::find_if(commands.begin(), commands.end(), [id](WPARAM w) { return LOWORD(w) == id; }) !=
         commands.end();
}

TEST_F(SkinnedControls, TheMenuMovesToAnOwnerDrawnBarWhoseItemsCarryTheirSizes) {
  HMENU menu = MakeMenu();
  HWND host = Host("Menus", 420, 260, menu);
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);
  HWND bar = skMenuContainer(host);
  ASSERT_NE(nullptr, bar);
  char name[16] = {};
  GetClassNameA(bar, name, sizeof(name));
  EXPECT_STREQ("SKMENU", name);
  EXPECT_EQ(nullptr, GetMenu(host)) << "the window's own menu line is gone";
  EXPECT_EQ(menu, skGetMenu(host));
  const struct {
    const char* name;
    HMENU menu;
    UINT position;
    bool isSeparator;
  } items[] = {
      {"File", menu, 0, false},
      {"Edit", menu, 1, false},
      {"Open", GetSubMenu(menu, 0), 0, false},
      {"separator", GetSubMenu(menu, 0), 1, true},
      {"Wrap lines", GetSubMenu(menu, 1), 0, false},
  };
  UINT firstBarId = 0;
  for (const auto& item : items) {
    SCOPED_TRACE(item.name);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoA(item.menu, item.position, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(item.isSeparator, (info.fType & MFT_SEPARATOR) != 0);
    EXPECT_GT(LOWORD(info.dwItemData), 0) << "width";
    EXPECT_GT(HIWORD(info.dwItemData), 0) << "height";
    if (item.menu == menu && firstBarId == 0) firstBarId = info.wID;
  }
  EXPECT_GE(firstBarId, 65001u) << "bar items get ids of their own";
  // A popup's items are measured from the last: each is as wide as the
  // widest below it, so the first carries the popup's width.
  MENUITEMINFOA open = {};
  open.cbSize = sizeof(open);
  open.fMask = MIIM_DATA;
  MENUITEMINFOA exitItem = open;
  GetMenuItemInfoA(GetSubMenu(menu, 0), 0, TRUE, &open);
  GetMenuItemInfoA(GetSubMenu(menu, 0), 2, TRUE, &exitItem);
  EXPECT_GT(LOWORD(open.dwItemData), LOWORD(exitItem.dwItemData)) << "the shortcut's room";

  // The bar on the screen: the skin's bar image and the items' text.
  RECT barRect = {};
  GetWindowRect(bar, &barRect);
  harness::Bmp24 picture;
  ASSERT_TRUE(skintest::GrabScreen(barRect, &picture));
  EXPECT_GT(CountColour(picture, kBarImage), 200) << "bar image";
  EXPECT_GT(CountColour(picture, kBarText), 10) << "item text in colour 116";
}

// What the user does with the menu, played on a thread of its own: while a
// menu is open this thread runs the system's menu loop.
struct MenuSession {
  HWND bar = nullptr;
  HMENU menu = nullptr;
  bool fileOpened = false;
  harness::Bmp24 popupPicture;
  bool editOpened = false;
  bool closedAtEnd = false;
  std::atomic<bool> done{false};
};

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool WaitFor(bool (*test)(), DWORD limitMs = 3000) {
  const DWORD start = GetTickCount();
  while (!test()) {
    if (GetTickCount() - start > limitMs) return false;
    Sleep(30);
  }
  return true;
}

bool IsPopupOpen() { return FindPopupMenuWindow() != nullptr; }
bool IsPopupClosed() { return FindPopupMenuWindow() == nullptr; }

void PlayMenuSession(MenuSession* session) {
  RECT file = {};
  GetMenuItemRect(session->bar, session->menu, 0, &file);
  skintest::Click(Centre(file));
  session->fileOpened = WaitFor(IsPopupOpen);
  if (session->fileOpened) {
    Sleep(400);
    RECT popupRect = {};
    GetWindowRect(FindPopupMenuWindow(), &popupRect);
    skintest::GrabScreen(popupRect, &session->popupPicture);
    RECT open = {};
    GetMenuItemRect(nullptr, GetSubMenu(session->menu, 0), 0, &open);
    skintest::Click(Centre(open));
    WaitFor(IsPopupClosed);
  }
  Sleep(300);
  skintest::AltChord('E');
  session->editOpened = WaitFor(IsPopupOpen);
  Sleep(200);
  skintest::PressKey(VK_RETURN);
  session->closedAtEnd = WaitFor(IsPopupClosed);
  session->done = true;
}

TEST_F(SkinnedControls, TheMenuBarOpensByMouseAndAltKeysAndItsCommandsReachTheWindow) {
  HMENU menu = MakeMenu();
  HWND host = Host("Menus", 420, 260, menu);
  g_logs[host].answersImages = true;
  ASSERT_EQ(1, skSkinWindow(host, "", 0));
  Show(host);
  harness::ScratchFolder traceFolder("themeapi menu trace");
  const std::string trace = traceFolder.Child("trace.txt");
  SetEnvironmentVariableA("ORB_TRACE", trace.c_str());
  MenuSession session;
  session.bar = skMenuContainer(host);
  session.menu = menu;
  ASSERT_NE(nullptr, session.bar);
  std::thread user(PlayMenuSession, &session);
  const DWORD start = GetTickCount();
  while (!session.done && GetTickCount() - start < 20000) harness::PumpMessagesFor(20);
  if (!session.done) {
    // Whatever is open goes, so that the user's thread ends.
    EndMenu();
  }
  user.join();
  skintest::PumpUntilQuiet(200);
  SetEnvironmentVariableA("ORB_TRACE", nullptr);

  EXPECT_TRUE(session.fileOpened) << "a click opens File";
  EXPECT_GT(CountColour(session.popupPicture, kMenuBack), 300) << "the skin's menu background";
  EXPECT_GT(CountColour(session.popupPicture, kPopupText), 10) << "item text in colour 110";
  EXPECT_TRUE(SawCommand(host, kOpenId)) << "Open reaches the window";
  // The host's pictures of the items were drawn and deleted after use.
  EXPECT_FALSE(g_logs[host].imagesGiven.empty());
  for (const auto& [id, image] : g_logs[host].imagesGiven) EXPECT_EQ(0u, GetObjectType(image)) << id;
  EXPECT_TRUE(session.editOpened) << "Alt+E opens Edit";
  EXPECT_TRUE(SawCommand(host, kWrapId)) << "Return chooses Wrap lines";
  EXPECT_TRUE(session.closedAtEnd);
  // Every font the engine handed out for measuring and painting the items
  // (menu font, check mark) was deleted after use.
  std::string lines;
  ASSERT_TRUE(harness::ReadFileBytes(trace, &lines));
  int fonts = 0;
  for (const std::string& line : harness::SplitLines(lines)) {
    if (line.find("SKMENUFONT(") == std::string::npos && line.find("SKMARLETT(") == std::string::npos) continue;
    const size_t at = line.rfind(" = 0x");
    if (at == std::string::npos) continue;
    const auto handle = reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(std::stoull(line.substr(at + 5), nullptr, 16)));
    if (handle == nullptr) continue;
    ++fonts;
    EXPECT_EQ(0u, GetObjectType(handle)) << line;
  }
  EXPECT_GT(fonts, 5) << "fonts taken while the menus were painted";
}

// --- the message box --------------------------------------------------------------

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableA(name_, nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
};

TEST_F(SkinnedControls, MessageBoxReturnsTheMessageBoxValueOfTheScriptedButton) {
  harness::ScratchFolder folder("themeapi box trace");
  const std::string trace = folder.Child("trace.txt");
  {
    ScopedVariable traced("ORB_TRACE", trace);
    ScopedVariable answers("ORB_ANSWERS", "2;1;3;1");
    skSetMsgString("");
    EXPECT_EQ(7, skMessageBox("Overwrite the disc?\r\nIt holds data.", 0x23, nullptr)) << "No";
    EXPECT_EQ(1, skMessageBox("Done", 0, "Burner")) << "Ok";
    skSetMsgString("Stop,Again,Skip,Fine,Back,Retry now,Go on,\"Yes, burn\",No");
    EXPECT_EQ(5, skMessageBox("Read error", 2, "Burner")) << "Ignore";
    EXPECT_EQ(6, skMessageBox("Burn?", 4, "Burner")) << "Yes";
  }
  skSetMsgString("");
  std::string lines;
  ASSERT_TRUE(harness::ReadFileBytes(trace, &lines));
  const struct {
    const char* want;
  } expected[] = {{"\"LUMINAR\""}, {"Overwrite the disc?|It holds data."}, {"Yes|No|Cancel"},
                  {"    Ok    "}, {"Stop|Again|Skip"}, {"Yes, burn|No"}};
  for (const auto& e : expected) EXPECT_NE(std::string::npos, lines.find(e.want)) << e.want << "\n" << lines;
}

// The box of this thread, found and worked from a timer inside its loop.
struct BoxAction {
  bool close = false;   // WM_CLOSE instead of a click
  int button = 0;       // 1-based button to click
  bool done = false;
};
BoxAction g_boxAction;

void CALLBACK WorkTheBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("SKMSGBOX", nullptr);
  if (box == nullptr || !IsWindowVisible(box) || g_boxAction.done) return;
  g_boxAction.done = true;
  KillTimer(nullptr, timer);
  if (g_boxAction.close) {
    PostMessageA(box, WM_CLOSE, 0, 0);
    return;
  }
  HWND button = GetDlgItem(box, g_boxAction.button);
  RECT rect = {};
  GetWindowRect(button, &rect);
  skintest::Click({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

int32_t ShowAndWork(const char* text, int32_t type, BoxAction action) {
  g_boxAction = action;
  const UINT_PTR timer = SetTimer(nullptr, 0, 200, WorkTheBox);
  const int32_t result = skMessageBox(text, type, "Burner");
  KillTimer(nullptr, timer);
  return result;
}

TEST_F(SkinnedControls, MessageBoxAnswersRealClicksAndASensibleValueWhenClosed) {
  SetEnvironmentVariableA("ORB_ANSWERS", nullptr);
  skSetMsgString("");
  EXPECT_EQ(7, ShowAndWork("Overwrite?", 0x23, {false, 2})) << "the second button is No";
  EXPECT_EQ(10, ShowAndWork("Drive busy", 6, {false, 2})) << "Try again";
  EXPECT_EQ(2, ShowAndWork("Overwrite?", 0x3, {true, 0})) << "closed: Cancel";
  EXPECT_EQ(1, ShowAndWork("Finished", 0x40, {true, 0})) << "closed Ok box: Ok";
}

}  // namespace
