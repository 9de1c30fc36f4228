// The engine's popup frame and the helpers of boxes and panels under Wine:
// the frame's size, owner and close command, how it follows its box; the
// box painted from its memory bitmap; list and combo texts, edges, group
// boxes, images, the work area, tooltips and colour records.  The frames
// stay hidden (a shown window costs Wine a wait for the display when it
// goes), except where showing is what is checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "dib_canvas.h"
#include "test_support.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace {

const char kBoxClass[] = "TCPOPUPTESTBOX";

struct Received {
  HWND window;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Received> commands;

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (LRESULT painted = SKGETBOX(window, message, wParam, lParam)) return painted;
  if (message == WM_COMMAND) {
    commands.push_back({window, wParam, lParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class PopupWin : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    if (!SKCHECKCLASS(kBoxClass)) {
      ASSERT_NE(0, SKREGISTERCLASS(&wc, kBoxClass));
    }
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    box_ = CreateWindowExA(0, kBoxClass, "Box title", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 200, 120, owner_,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(box_, nullptr);
    commands.clear();
  }
  void TearDown() override {
    if (IsWindow(box_)) DestroyWindow(box_);
    DestroyWindow(owner_);
    Pump();
  }
  static void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  static std::string ClassOf(HWND window) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
  }

  HWND owner_ = nullptr;
  HWND box_ = nullptr;
};

TEST_F(PopupWin, FrameTakesTheBoxAsItsChild) {
  HWND frame = SKPOPUPCONTAINER(box_, "", 30, 40, -250, -150, BoxProc, 1, 3);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(ClassOf(frame), "SKPOPUP");
  EXPECT_EQ(GetParent(box_), frame);
  EXPECT_EQ(GetWindow(frame, GW_OWNER), owner_) << "the box's owner owns the frame";
  EXPECT_NE(GetWindowLongA(box_, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_FALSE(IsWindowVisible(frame)) << "flag 1: the caller shows it";
  char title[64] = {};
  GetWindowTextA(frame, title, sizeof(title));
  EXPECT_STREQ(title, "Box title") << "an empty title takes the box's text";
  RECT client, boxRect, frameRect;
  GetClientRect(frame, &client);
  GetClientRect(box_, &boxRect);
  GetWindowRect(frame, &frameRect);
  EXPECT_EQ(client.right, 250);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_EQ(boxRect.right, 250);
  EXPECT_EQ(boxRect.bottom, 150);
  EXPECT_EQ(frameRect.left, 30);
  EXPECT_EQ(frameRect.top, 40);
  EXPECT_EQ(frameRect.right - frameRect.left, 250 + SKGETSYSTEMMETRICS(4) + SKGETSYSTEMMETRICS(5));
  EXPECT_EQ(frameRect.bottom - frameRect.top, 150 + SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(6));
}

// The close box and Alt+F4 close nothing: the box's procedure hears the
// close command and decides.
TEST_F(PopupWin, CloseBoxSendsTheCloseCommand) {
  HWND frame = SKPOPUPCONTAINER(box_, "Framed", 0, 0, 0, 0, BoxProc, 1, 0);
  ASSERT_NE(frame, nullptr);
  RECT rect;
  GetWindowRect(frame, &rect);
  const LPARAM closeBox = MAKELPARAM(rect.right - 12, rect.top + 12);
  ASSERT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, closeBox), HTCLOSE);
  EXPECT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(rect.left + 30, rect.top + 10)), HTCAPTION);
  SendMessageA(frame, WM_NCLBUTTONDOWN, HTCLOSE, closeBox);
  SendMessageA(frame, WM_CLOSE, 0, 0);
  ASSERT_EQ(commands.size(), 2u);
  for (const Received& r : commands) {
    EXPECT_EQ(r.window, box_);
    EXPECT_EQ(LOWORD(r.wParam), kSkinFrameCloseId);
    EXPECT_EQ(HIWORD(r.wParam), BN_CLICKED);
  }
  EXPECT_TRUE(IsWindow(frame));
  EXPECT_TRUE(IsWindow(box_));
}

TEST_F(PopupWin, FrameFollowsItsBox) {
  HWND frame = SKPOPUPCONTAINER(box_, "Framed", 0, 0, 0, 0, BoxProc, 0, 0);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(IsWindowVisible(frame)) << "flag 0: shown at once";
  ShowWindow(box_, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(frame));
  DestroyWindow(box_);
  Pump();
  EXPECT_FALSE(IsWindow(frame)) << "the frame goes after its box";
  EXPECT_EQ(SKPOPUPCONTAINER(nullptr, "", 0, 0, 0, 0, nullptr, 0, 0), nullptr);
}

TEST_F(PopupWin, BoxPaintsFromItsMemoryBitmap) {
  ASSERT_EQ(SKCREATEMEMBMP(box_, 200, 120), 1);
  HDC memory = SKGETHDCMEMBMP(box_);
  ASSERT_NE(memory, nullptr);
  SKFILLRECT(memory, 10, 10, 30, 20, RGB(200, 30, 40));
  harness::DibCanvas canvas(200, 120, RGB(0, 0, 0));
  EXPECT_EQ(SendMessageA(box_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT), 1);
  GdiFlush();
  EXPECT_EQ(canvas.At(15, 15), RGB(200, 30, 40));
  EXPECT_EQ(canvas.At(100, 100), static_cast<COLORREF>(SKGETSYSCOLOR(112)));
  EXPECT_EQ(SKGETBOX(box_, WM_COMMAND, 0, 0), 0) << "everything else is the box's";
  SKDELETEMEMBMP(box_);
  EXPECT_EQ(SKGETBOX(box_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0), 0)
      << "without a bitmap the box paints itself";
}

TEST_F(PopupWin, ListAndComboTexts) {
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS, 0, 0, 100, 80, box_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | CBS_HASSTRINGS, 0, 0, 100, 80, box_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  EXPECT_EQ(SKADDSTRINGLISTBOX(list, "first"), 0);
  EXPECT_EQ(SKADDSTRINGLISTBOX(list, "second item"), 1);
  EXPECT_EQ(SKADDSTRINGLISTBOX(nullptr, "x"), LB_ERR);
  EXPECT_EQ(SKADDSTRINGCOMBO(combo, "a type"), 0);
  char out[32] = {};
  EXPECT_EQ(SKGETTEXTLISTBOX(list, 1, out, sizeof(out)), 11);
  EXPECT_STREQ(out, "second item");
  EXPECT_EQ(SKGETTEXTLISTBOX(list, 1, out, 5), 11) << "the length, with a buffer too small";
  EXPECT_STREQ(out, "");
  EXPECT_EQ(SKGETTEXTLISTBOX(list, 7, out, sizeof(out)), 0);
  EXPECT_EQ(SKGETTEXTCOMBO(combo, 0, out, sizeof(out)), 6);
  EXPECT_STREQ(out, "a type");

  HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 100, 20, box_, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
  EXPECT_EQ(SKLIMITTEXTEDIT(edit, 5), 1);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_EQ(SKLIMITTEXTEDIT(nullptr, 5), 0);
}

TEST_F(PopupWin, EdgesUseTheSkinsLightAndShadow) {
  harness::DibCanvas canvas(40, 40, RGB(1, 2, 3));
  const COLORREF light = static_cast<COLORREF>(SKGETSYSCOLOR(105));
  const COLORREF shadow = static_cast<COLORREF>(SKGETSYSCOLOR(106));
  ASSERT_EQ(SKDRAWEDGE(canvas.dc(), 5, 5, 30, 30, 10 /* sunken */, 0xF), 1);
  GdiFlush();
  EXPECT_EQ(canvas.At(5, 20), shadow);   // outer ring, left: sunken
  EXPECT_EQ(canvas.At(34, 20), light);   // outer ring, right
  EXPECT_EQ(canvas.At(6, 20), shadow);   // inner ring, left
  EXPECT_EQ(canvas.At(20, 20), RGB(1, 2, 3)) << "the inside is left alone";
  EXPECT_EQ(canvas.At(4, 20), RGB(1, 2, 3));
  ASSERT_EQ(SKDRAWEDGE(canvas.dc(), 5, 5, 30, 30, 6 /* etched */, BF_TOP), 1);
  GdiFlush();
  EXPECT_EQ(canvas.At(20, 5), shadow);
  EXPECT_EQ(canvas.At(20, 6), light);
  EXPECT_EQ(SKDRAWEDGE(nullptr, 0, 0, 5, 5, 6, 0xF), 0);
  EXPECT_EQ(SKDRAWEDGE(canvas.dc(), 0, 0, 0, 5, 6, 0xF), 0);
}

TEST_F(PopupWin, GroupBoxImagesAndWorkArea) {
  HWND group = SKGROUPBOX(box_, 2, 2, 100, 60, "Equalizer", SKCAPTIONFONT(), RGB(10, 20, 30));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(GetWindowLongA(group, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  char text[32] = {};
  GetWindowTextA(group, text, sizeof(text));
  EXPECT_STREQ(text, "Equalizer");
  EXPECT_EQ(SKGROUPBOX(nullptr, 0, 0, 1, 1, "", nullptr, 0), nullptr);
  // Its colour answers WM_CTLCOLORSTATIC, as any static's of a panel.
  harness::DibCanvas canvas(4, 4);
  SKCTLCOLORSTATIC(canvas.dc(), group);
  EXPECT_EQ(GetTextColor(canvas.dc()), RGB(10, 20, 30));
  HWND label = CreateWindowExA(0, "STATIC", "80", WS_CHILD, 0, 0, 20, 10, box_, nullptr, GetModuleHandleA(nullptr),
                               nullptr);
  EXPECT_EQ(SKCTLCOLORSTATIC(canvas.dc(), label), GetStockObject(NULL_BRUSH));
  EXPECT_EQ(GetTextColor(canvas.dc()), static_cast<COLORREF>(SKGETSYSCOLOR(113)));
  EXPECT_EQ(SKFREEOBJECTCOLOR(box_), 1) << "the group box's colours";
  EXPECT_EQ(SKFREEOBJECTCOLOR(box_), 0);
  EXPECT_EQ(SKFREEOBJECTFONT(box_), 1);
  EXPECT_EQ(SKFREECHECKBUTTON(nullptr), 0);

  testsupport::ScratchFolder folder("popup images");
  const std::string bmp = folder.Child("strip.bmp");
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = 48;
  info.biHeight = 12;
  info.biPlanes = 1;
  info.biBitCount = 24;
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(info);
  std::string bytes(reinterpret_cast<char*>(&file), sizeof(file));
  bytes.append(reinterpret_cast<char*>(&info), sizeof(info));
  bytes.append(static_cast<size_t>(48 * 3) * 12, '\x7F');
  ASSERT_TRUE(testsupport::WriteFileBytes(bmp, bytes));
  HBITMAP image = SKLOADIMAGE(bmp.c_str());
  ASSERT_NE(image, nullptr);
  int32_t width = 0, height = 0;
  EXPECT_EQ(SKGETPIXMAPSIZE(image, &width, &height), 1);
  EXPECT_EQ(width, 48);
  EXPECT_EQ(height, 12);
  DeleteObject(image);
  EXPECT_EQ(SKLOADIMAGE(folder.Child("missing.bmp").c_str()), nullptr);
  // The built-in skin has no panel images: the panel sizes its controls as
  // the engine does without one.
  int32_t x = -1, y = -1;
  EXPECT_EQ(SKPANELCHILDXY(75, &x, &y, 2), nullptr);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int32_t left = -1, top = -1, areaWidth = -1, areaHeight = -1;
  EXPECT_EQ(SKGETWORKAREA(&left, &top, &areaWidth, &areaHeight), 1);
  EXPECT_EQ(left, work.left);
  EXPECT_EQ(top, work.top);
  EXPECT_EQ(areaWidth, work.right - work.left);
  EXPECT_EQ(areaHeight, work.bottom - work.top);
}

TEST_F(PopupWin, RemoveTipTakesTheToolAway) {
  HWND button = SKBUT3D(box_, "Help", nullptr, 0, 0, 40, 20, 99, 0);
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(SKBUTTONTIP(box_, button, "Read the help"), 1);
  auto tooltip = reinterpret_cast<HWND>(GetPropA(GetAncestor(box_, GA_ROOT), "themecore.tooltip"));
  ASSERT_NE(tooltip, nullptr);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 1);
  EXPECT_EQ(SKREMOVETIP(box_, button), 1);
  EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0);
  EXPECT_EQ(SKREMOVETIP(nullptr, button), 0);
}

TEST_F(PopupWin, DrawItemPaintsListItemsInSkinColours) {
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED, 0, 0, 100, 80, box_,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  SKADDSTRINGLISTBOX(list, "item");
  harness::DibCanvas canvas(60, 16, RGB(0, 0, 0));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_LISTBOX;
  item.itemID = 0;
  item.itemState = ODS_SELECTED;
  item.hwndItem = list;
  item.hDC = canvas.dc();
  item.rcItem = {0, 0, 60, 16};
  EXPECT_EQ(SKDRAWITEM(&item), 1);
  GdiFlush();
  const COLORREF selected = static_cast<COLORREF>(SKGETSYSCOLOR(114));
  EXPECT_EQ(canvas.At(55, 8), selected);
  EXPECT_GT(canvas.CountOf(static_cast<COLORREF>(SKGETSYSCOLOR(115))), 0) << "the text in selection colour";
  item.CtlType = ODT_BUTTON;
  EXPECT_EQ(SKDRAWITEM(&item), 0);
}

}  // namespace
