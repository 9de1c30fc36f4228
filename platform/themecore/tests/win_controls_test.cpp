// The engine's controls under Wine: buttons, check buttons, track bars,
// progress bars, tooltips, control texts, fonts and colours, text extents.
// The parent is a hidden window (its controls print themselves with
// WM_PRINTCLIENT for the pixel checks), so no test waits for the display.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "dib_canvas.h"
#include "themecore.h"

namespace {

const char kParentClass[] = "TCCONTROLSTESTPARENT";

struct Command {
  HWND window;
  WORD id;
  WORD code;
  HWND control;
};

std::vector<Command> commands;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (int32_t handled = SKGETMESSAGE(&window, &message, &wParam, &lParam)) return handled;
  if (message == WM_COMMAND) {
    commands.push_back({window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class ControlsWin : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    if (!SKCHECKCLASS(kParentClass)) {
      ASSERT_NE(0, SKREGISTERCLASS(&wc, kParentClass));
    }
    parent_ = CreateWindowExA(0, kParentClass, "Parent", WS_POPUP | WS_SYSMENU, 0, 0, 400, 300,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, parent_);
    commands.clear();
  }
  void TearDown() override {
    if (parent_ != nullptr) DestroyWindow(parent_);
  }

  bool SawCommand(WORD id, WORD code, HWND control) const {
    for (const Command& c : commands) {
      if (c.id == id && c.code == code && c.control == control) return true;
    }
    return false;
  }

  HWND parent_ = nullptr;
};

// A 32-bit DIB the size of a window's client area, with the window printed
// into it.
class Printed : public harness::DibCanvas {
 public:
  explicit Printed(HWND window) : DibCanvas(ClientWidth(window), ClientHeight(window)) {
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc()), PRF_CLIENT);
    GdiFlush();
  }

 private:
  static int ClientWidth(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.right;
  }
  static int ClientHeight(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    return client.bottom;
  }
};

COLORREF SkinColour(int n) { return static_cast<COLORREF>(SKGETSYSCOLOR(n)); }

RECT ClientRectOf(HWND window) {
  RECT rect;
  GetClientRect(window, &rect);
  return rect;
}

TEST_F(ControlsWin, PushButtonIsDrawnInSkinColoursAndClicks) {
  HWND button = SKBUT3D(parent_, "Play", nullptr, 5, 5, 80, 24, 5, 0);
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(5, GetDlgCtrlID(button));
  const RECT client = ClientRectOf(button);
  EXPECT_EQ(80, client.right);
  EXPECT_EQ(24, client.bottom);
  {
    Printed printed(button);
    EXPECT_EQ(SkinColour(104), printed.At(5, 20)) << "face";
    EXPECT_GT(printed.CountOf(SkinColour(101)), 5) << "caption in the control text colour";
  }
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(SawCommand(5, BN_CLICKED, button));

  // Disabled: no click.
  commands.clear();
  EnableWindow(button, FALSE);
  SendMessageA(button, BM_CLICK, 0, 0);
  EXPECT_TRUE(commands.empty());
}

TEST_F(ControlsWin, PushButtonTakesColoursFromTheStyleRecord) {
  unsigned char record[60] = {};
  const COLORREF text = RGB(1, 2, 3);
  const COLORREF face = RGB(200, 100, 50);
  memcpy(record + 8, &text, 4);
  memcpy(record + 12, &face, 4);
  record[16] = 1;
  HWND button = SKBUT3D(parent_, "OK", nullptr, 5, 5, 80, 24, 1,
                        reinterpret_cast<intptr_t>(record));
  ASSERT_NE(nullptr, button);
  Printed printed(button);
  EXPECT_EQ(face, printed.At(5, 20));
  EXPECT_GT(printed.CountOf(text), 5);

  // A record with equal colours (left zero) keeps the skin's colours.
  unsigned char zero[60] = {};
  zero[56] = 1;
  HWND plain = SKBUT3D(parent_, "OK", nullptr, 5, 40, 80, 24, 2, reinterpret_cast<intptr_t>(zero));
  ASSERT_NE(nullptr, plain);
  Printed skin(plain);
  EXPECT_EQ(static_cast<COLORREF>(SKGETSYSCOLOR(104)), skin.At(5, 20));
}

TEST_F(ControlsWin, SetColorChangesAnEngineButton) {
  HWND button = SKBUT3D(parent_, "Go", nullptr, 5, 5, 80, 24, 6, 0);
  ASSERT_NE(nullptr, button);
  EXPECT_EQ(1, SKSETCOLOR(button, RGB(250, 250, 0), RGB(0, 0, 120)));
  Printed printed(button);
  EXPECT_EQ(RGB(0, 0, 120), printed.At(5, 20));
  EXPECT_GT(printed.CountOf(RGB(250, 250, 0)), 5);
}

TEST_F(ControlsWin, CheckButtonStateRoundTrips) {
  HWND check = SKCHECKBUTTON(parent_, "Thumbnails", nullptr, 5, 40, 150, 20, 15, 0);
  ASSERT_NE(nullptr, check);
  EXPECT_EQ(0, SKGETCHECK(check));
  EXPECT_EQ(1, SKSETCHECK(check, 1));
  EXPECT_EQ(1, SKGETCHECK(check));
  EXPECT_EQ(BST_CHECKED, SendMessageA(check, BM_GETCHECK, 0, 0));
  EXPECT_TRUE(commands.empty()) << "setting the state is no click";

  SendMessageA(check, BM_CLICK, 0, 0);
  EXPECT_EQ(0, SKGETCHECK(check));
  EXPECT_TRUE(SawCommand(15, BN_CLICKED, check));

  SendMessageA(check, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(check, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(1, SKGETCHECK(check));

  // The box image shows the state: the checked box has mark pixels the
  // unchecked one has not.
  const COLORREF mark = SkinColour(101);
  const int checkedMarks = Printed(check).CountOf(mark);
  SKSETCHECK(check, 0);
  const int uncheckedMarks = Printed(check).CountOf(mark);
  EXPECT_GT(checkedMarks, uncheckedMarks);

  // System check boxes answer too.
  HWND system = CreateWindowExA(0, "BUTTON", "sys", WS_CHILD | BS_AUTOCHECKBOX, 5, 70, 100, 20,
                                parent_, nullptr, nullptr, nullptr);
  EXPECT_EQ(1, SKSETCHECK(system, 1));
  EXPECT_EQ(1, SKGETCHECK(system));
  EXPECT_EQ(0, SKGETCHECK(nullptr));
  EXPECT_EQ(0, SKSETCHECK(nullptr, 1));
}

TEST_F(ControlsWin, CheckBoxImageHasFourStates) {
  HBITMAP image = SKCHECKBUT();
  ASSERT_NE(nullptr, image);
  int32_t width = -1;
  int32_t height = -1;
  ASSERT_EQ(1, SKGETPIXMAPSIZE(image, &width, &height));
  EXPECT_GT(height, 0);
  EXPECT_EQ(4 * height, width);
  width = -1;
  EXPECT_EQ(0, SKGETPIXMAPSIZE(nullptr, &width, &height));
  EXPECT_EQ(0, width);
}

TEST_F(ControlsWin, TrackBarPositionRoundTrips) {
  HWND bar = SKTRACKBAR(parent_, 1, nullptr, 10, 100, 30, 7, nullptr);
  ASSERT_NE(nullptr, bar);
  EXPECT_EQ(7, GetDlgCtrlID(bar));
  EXPECT_EQ(30, SKGETTRACKPOS(bar));
  EXPECT_EQ(1, SKSETTRACKPOS(bar, 75));
  EXPECT_EQ(75, SKGETTRACKPOS(bar));
  EXPECT_EQ(75, SendMessageA(bar, TBM_GETPOS, 0, 0));
  EXPECT_TRUE(commands.empty()) << "a position set by the program is not reported";
  SKSETTRACKPOS(bar, 150);
  EXPECT_EQ(100, SKGETTRACKPOS(bar));
  SKSETTRACKPOS(bar, -5);
  EXPECT_EQ(0, SKGETTRACKPOS(bar));
  SendMessageA(bar, TBM_SETPOS, TRUE, 42);
  EXPECT_EQ(42, SKGETTRACKPOS(bar));
  EXPECT_EQ(-1, SKGETTRACKPOS(nullptr));
  EXPECT_EQ(nullptr, SKTRACKBAR(parent_, 3, nullptr, 0, 0, 0, 8, nullptr));
}

TEST_F(ControlsWin, TrackBarFollowsTheMouseAndKeys) {
  HWND bar = SKTRACKBAR(parent_, 1, nullptr, 10, 100, 50, 7, nullptr);
  ASSERT_NE(nullptr, bar);
  const RECT client = ClientRectOf(bar);
  EXPECT_GT(client.right, client.bottom) << "horizontal";
  SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right - 1, client.bottom / 2));
  SendMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 1, client.bottom / 2));
  EXPECT_EQ(100, SKGETTRACKPOS(bar));
  EXPECT_TRUE(SawCommand(7, 0, bar)) << "the user's change is reported";
  SendMessageA(bar, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(99, SKGETTRACKPOS(bar));
  SendMessageA(bar, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(0, SKGETTRACKPOS(bar));

  HWND vertical = SKTRACKBAR(parent_, 2, nullptr, 200, 10, 50, 9, nullptr);
  ASSERT_NE(nullptr, vertical);
  const RECT tall = ClientRectOf(vertical);
  EXPECT_GT(tall.bottom, tall.right) << "vertical";
  SendMessageA(vertical, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(tall.right / 2, 0));
  SendMessageA(vertical, WM_LBUTTONUP, 0, MAKELPARAM(tall.right / 2, 0));
  EXPECT_EQ(100, SKGETTRACKPOS(vertical)) << "the top of a vertical bar is 100";
}

TEST_F(ControlsWin, TrackBarTakesTheSizeOfItsTrackImage) {
  HDC screen = GetDC(nullptr);
  HBITMAP track = CreateCompatibleBitmap(screen, 90, 16);
  ReleaseDC(nullptr, screen);
  HWND bar = SKTRACKBAR(parent_, 1, track, 0, 0, 10, 11, nullptr);
  ASSERT_NE(nullptr, bar);
  const RECT client = ClientRectOf(bar);
  EXPECT_EQ(90, client.right);
  EXPECT_EQ(16, client.bottom);
  DestroyWindow(bar);
  DeleteObject(track);
}

TEST_F(ControlsWin, ControlTextAndFontRoundTrip) {
  HWND button = SKBUT3D(parent_, "Old", nullptr, 5, 5, 80, 24, 5, 0);
  EXPECT_EQ(1, SKSETCTLTEXT(button, "New text"));
  char text[32];
  memset(text, 'x', sizeof(text));
  EXPECT_EQ(8, SKGETCTLTEXT(button, text, sizeof(text)));
  EXPECT_STREQ("New text", text);
  memset(text, 'x', sizeof(text));
  EXPECT_EQ(8, SKGETCTLTEXT(button, text, 8)) << "too small: the length, and an empty text";
  EXPECT_STREQ("", text);
  EXPECT_EQ(8, SKGETCTLTEXT(button, nullptr, 0));
  EXPECT_EQ(0, SKSETCTLTEXT(nullptr, "x"));

  HFONT font = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  EXPECT_EQ(1, SKSETCTLFONT(button, font));
  EXPECT_EQ(reinterpret_cast<LRESULT>(font), SendMessageA(button, WM_GETFONT, 0, 0));
  DestroyWindow(button);
  DeleteObject(font);
}

TEST_F(ControlsWin, TextExtentGrowsWithTheText) {
  int32_t oneWidth = -1;
  int32_t oneHeight = -1;
  ASSERT_EQ(1, SKGETTEXTEXTENT(parent_, nullptr, "W", &oneWidth, &oneHeight));
  EXPECT_GT(oneWidth, 0);
  EXPECT_GT(oneHeight, 0);
  int32_t fourWidth = 0;
  int32_t fourHeight = 0;
  ASSERT_EQ(1, SKGETTEXTEXTENT(parent_, nullptr, "WWWW", &fourWidth, &fourHeight));
  EXPECT_GT(fourWidth, 3 * oneWidth);
  EXPECT_EQ(oneHeight, fourHeight);
  int32_t emptyWidth = -1;
  int32_t emptyHeight = -1;
  ASSERT_EQ(1, SKGETTEXTEXTENT(nullptr, nullptr, "", &emptyWidth, &emptyHeight));
  EXPECT_EQ(0, emptyWidth);
  EXPECT_EQ(oneHeight, emptyHeight) << "an empty text still has a line height";

  HFONT big = CreateFontA(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Tahoma");
  int32_t bigWidth = 0;
  int32_t bigHeight = 0;
  ASSERT_EQ(1, SKGETTEXTEXTENT(parent_, big, "W", &bigWidth, &bigHeight));
  EXPECT_GT(bigWidth, oneWidth);
  EXPECT_GT(bigHeight, oneHeight);
  DeleteObject(big);
}

TEST_F(ControlsWin, ComboStringsAreAdded) {
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 5,
                               5, 120, 100, parent_, reinterpret_cast<HMENU>(1), nullptr, nullptr);
  ASSERT_NE(nullptr, combo);
  EXPECT_EQ(0, SKADDSTRINGCOMBO(combo, " Pictures"));
  EXPECT_EQ(1, SKADDSTRINGCOMBO(combo, " Music"));
  EXPECT_EQ(2, SendMessageA(combo, CB_GETCOUNT, 0, 0));
  char text[32] = {};
  SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(" Music", text);
  EXPECT_EQ(CB_ERR, SKADDSTRINGCOMBO(combo, nullptr));
  EXPECT_EQ(CB_ERR, SKADDSTRINGCOMBO(nullptr, "x"));
}

TEST_F(ControlsWin, ProgressBarRunsFromZeroToHundred) {
  HWND bar = SKPROGRESS32(parent_, 1, 10, 20, 200, 16);
  ASSERT_NE(nullptr, bar);
  char name[64] = {};
  GetClassNameA(bar, name, sizeof(name));
  EXPECT_STREQ(PROGRESS_CLASSA, name);
  EXPECT_EQ(1, GetDlgCtrlID(bar));
  RECT rect;
  GetWindowRect(bar, &rect);
  MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&rect), 2);
  EXPECT_EQ(10, rect.left);
  EXPECT_EQ(20, rect.top);
  EXPECT_EQ(200, rect.right - rect.left);
  EXPECT_EQ(16, rect.bottom - rect.top);
  PBRANGE range = {};
  SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(0, range.iLow);
  EXPECT_EQ(100, range.iHigh);
}

BOOL CALLBACK TakeTooltip(HWND window, LPARAM found) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

TEST_F(ControlsWin, TooltipsAreAddedUpdatedAndRemoved) {
  HWND button = SKBUT3D(parent_, "Tip", nullptr, 5, 5, 80, 24, 5, 0);
  ASSERT_EQ(1, SKBUTTONTIP(parent_, button, "Plays the selection"));
  HWND tooltip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), TakeTooltip, reinterpret_cast<LPARAM>(&tooltip));
  ASSERT_NE(nullptr, tooltip);
  EXPECT_EQ(parent_, GetWindow(tooltip, GW_OWNER));
  EXPECT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));

  EXPECT_EQ(1, SKBUTTONTIP(parent_, button, "Another tip"));
  EXPECT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  char text[64] = {};
  TTTOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  tool.lpszText = text;
  SendMessageA(tooltip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ("Another tip", text);

  EXPECT_EQ(1, SKBUTTONTIP(parent_, button, ""));
  EXPECT_EQ(0, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
  EXPECT_EQ(0, SKBUTTONTIP(nullptr, button, "x"));
}

TEST_F(ControlsWin, SetColorAnswersTheParentsControlColourMessages) {
  HWND label = CreateWindowExA(0, "STATIC", "Label", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, parent_,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, label);
  const COLORREF text = RGB(10, 20, 30);
  const COLORREF back = RGB(40, 180, 90);
  EXPECT_EQ(1, SKSETCOLOR(label, static_cast<int32_t>(text), static_cast<int32_t>(back)));
  // The static asks its parent while it paints: its background comes out
  // in the colour given.
  Printed printed(label);
  EXPECT_EQ(back, printed.At(98, 18));
  EXPECT_GT(printed.CountOf(text), 5);

  // -1 keeps a colour.
  EXPECT_EQ(1, SKSETCOLOR(label, -1, static_cast<int32_t>(RGB(1, 1, 1))));
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageA(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(label)));
  EXPECT_NE(nullptr, brush);
  EXPECT_EQ(text, GetTextColor(dc));
  EXPECT_EQ(RGB(1, 1, 1), GetBkColor(dc));
  DeleteDC(dc);
  EXPECT_EQ(0, SKSETCOLOR(nullptr, 0, 0));
}

TEST_F(ControlsWin, HolderAnswersColoursOfItsChildren) {
  HWND holder = SKHOLDER(parent_, "SKCLIP", 0, 0, ParentProc);
  ASSERT_NE(nullptr, holder);
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 60, holder,
                              reinterpret_cast<HMENU>(3), nullptr, nullptr);
  HWND other = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 5, 70, 100, 60, holder,
                               reinterpret_cast<HMENU>(4), nullptr, nullptr);
  ASSERT_EQ(1, SKSETCOLOR(list, static_cast<int32_t>(RGB(0, 0, 255)),
                          static_cast<int32_t>(RGB(255, 255, 0))));
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(holder, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc));
  EXPECT_EQ(RGB(255, 255, 0), GetBkColor(dc));
  // A list without colours goes to the program's procedure, whose
  // SKGETMESSAGE gives it the skin's list colours.
  SendMessageA(holder, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(other));
  EXPECT_EQ(SkinColour(101), GetTextColor(dc));
  EXPECT_EQ(SkinColour(104), GetBkColor(dc));
  DeleteDC(dc);

  // A button in the holder commands the procedure in the holder's name.
  HWND button = SKBUT3D(holder, "In holder", nullptr, 120, 5, 80, 24, 21, 0);
  SendMessageA(button, BM_CLICK, 0, 0);
  ASSERT_FALSE(commands.empty());
  EXPECT_EQ(holder, commands.back().window);
  EXPECT_EQ(21, commands.back().id);
}

}  // namespace
