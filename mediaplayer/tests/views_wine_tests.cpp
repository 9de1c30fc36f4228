// The media player's picture view, slide show and browser panes under
// Wine.  Pictures made by ImageMagick carry OBF sidecars whose shapes must
// show over them (pixels read from the screen); a slide-show file's
// pictures advance at their own display times with the transition a side
// file names (the imaging library's trace, and the screen caught half-way
// through the wipe); an arrow key cuts a transition short; a page opens a
// browser pane: the test control stands in for the web browser
// ("Shell.Explorer.2"), so its window and the page title it reports are
// what the test sees.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/obf_document.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "obf_file.h"
#include "obf_test_objects.h"
#include "core/option_line.h"
#include "player_test_support.h"
#include "suite_command.h"
#include "test_control.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using player_test::kStartMs;
using player_test::PlayerFolder;
using player_test::StartPlayer;
using player_test::TraceCalls;
using player_test::WaitForExit;

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kLime = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool Near(COLORREF got, COLORREF want) {
  return std::abs(GetRValue(got) - GetRValue(want)) < 48 && std::abs(GetGValue(got) - GetGValue(want)) < 48 &&
         std::abs(GetBValue(got) - GetBValue(want)) < 48;
}

std::string Hex(COLORREF c) {
  char text[16];
  wsprintfA(text, "%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

bool Convert(const std::string& arguments, const std::string& target) {
  return harness::RunUnixCommand("convert " + arguments + " " + harness::ShellQuoted(harness::UnixPathOf(target)),
                                 30000, nullptr);
}

// A picture of one colour with a sidecar holding one filled rectangle.
void MakePicture(const std::string& path, int width, int height, const char* colour, COLORREF mark, int x, int y,
                 int side) {
  ASSERT_TRUE(Convert("-size " + std::to_string(width) + "x" + std::to_string(height) + " xc:" + colour, path));
  overlay::ObfDocument document;
  const uint32_t argb = 0xFF000000u | (GetRValue(mark) << 16) | (GetGValue(mark) << 8) | GetBValue(mark);
  const int16_t corner = static_cast<int16_t>(side);
  document.objects = {obftest::Shape(overlay::kKindRectangle, 2, {{0, 0}, {corner, corner}}, argb, x, y)};
  ASSERT_EQ(overlay::WriteObfSidecar(path, document), overlay::ObfStatus::kOk);
}

// The player's text table with the option line's field 4 set to 4 (a
// picture-only player: commands 53 and 54 switch the scroll bars).
void WritePictureOnlyTable(const PlayerFolder& folder) {
  const std::string line = TextEntry(folder, 49);
  ASSERT_FALSE(line.empty());
  SetTextEntry(folder, 49, player::RewriteOptionFields(line, {{4, "4"}}));
}

HWND ContentHolder(HWND main) { return FindWindowExA(main, nullptr, "SKCLIP", nullptr); }
HWND PictureHolder(HWND main) {
  HWND content = ContentHolder(main);
  return content != nullptr ? FindWindowExA(content, nullptr, "SKCTL", nullptr) : nullptr;
}

struct ProcessWindow {
  DWORD process;
  const char* className;
  HWND found;
};
HWND VisibleWindowOf(DWORD process, const char* className) {
  ProcessWindow search = {process, className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<ProcessWindow*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        char name[64] = {};
        GetClassNameA(window, name, sizeof(name));
        if (owner == s->process && IsWindowVisible(window) && lstrcmpA(name, s->className) == 0) {
          s->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool Capture(HWND window, const PlayerFolder& folder, harness::Bmp24* image) {
  const std::string path = folder.path("capture.bmp");
  const bool captured = harness::CaptureWindowToBmp(window, path) && harness::ReadBmp24(path, image);
  DeleteFileA(path.c_str());
  return captured;
}

// The picture holder's client area, taken from its top-level window's
// pixels (the holder's own area on the screen).
bool CaptureChild(HWND child, const PlayerFolder& folder, harness::Bmp24* image) {
  HWND top = GetAncestor(child, GA_ROOT);
  harness::Bmp24 whole;
  if (!Capture(top, folder, &whole)) return false;
  POINT topOrigin = {0, 0};
  POINT childOrigin = {0, 0};
  ClientToScreen(top, &topOrigin);
  ClientToScreen(child, &childOrigin);
  RECT client = {};
  GetClientRect(child, &client);
  const int dx = childOrigin.x - topOrigin.x;
  const int dy = childOrigin.y - topOrigin.y;
  if (dx < 0 || dy < 0 || dx + client.right > whole.width || dy + client.bottom > whole.height) return false;
  image->width = client.right;
  image->height = client.bottom;
  image->pixels.clear();
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) image->pixels.push_back(whole.at(x + dx, y + dy));
  }
  return true;
}

bool WaitForTitle(HWND window, const std::string& title, DWORD timeoutMs) {
  return harness::PumpUntil([&] { return harness::WindowText(window) == title; }, timeoutMs);
}

#define EXPECT_PIXEL(image, x, y, colour) \
  EXPECT_TRUE(Near((image).at(x, y), colour)) << "(" << (x) << ", " << (y) << ") is " << Hex((image).at(x, y))

// A JPEG and a GIF with their sidecars, at full size (command 53: scroll
// bars on) and fitted (54: off).
TEST(PictureView, PicturesShowWithTheirOverlays) {
  PlayerFolder folder("views pictures");
  WritePictureOnlyTable(folder);
  const std::string jpeg = folder.path("blue.jpg");
  const std::string gif = folder.path("lime.gif");
  MakePicture(jpeg, 200, 150, "blue", kRed, 20, 20, 40);
  MakePicture(gif, 160, 120, "lime", kYellow, 100, 60, 30);
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, jpeg), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - blue.jpg", kStartMs));
  HWND holder = PictureHolder(window);
  ASSERT_NE(holder, nullptr);
  SendMessageA(window, WM_COMMAND, 53, 0);
  EXPECT_NE(GetWindowLongA(holder, GWL_STYLE) & WS_VSCROLL, 0) << "53 shows the scroll bars";
  harness::Bmp24 image;
  const RECT holderRect = harness::WindowRectOf(holder);
  ASSERT_TRUE(CaptureChild(holder, folder, &image))
      << "visible " << IsWindowVisible(holder) << " main " << IsWindowVisible(window) << " " << holderRect.left << ","
      << holderRect.top << " " << holderRect.right << "," << holderRect.bottom;
  ASSERT_GT(image.width, 200);
  ASSERT_GT(image.height, 150);
  EXPECT_PIXEL(image, 5, 5, kBlue);
  EXPECT_PIXEL(image, 40, 40, kRed);      // the sidecar's rectangle
  EXPECT_PIXEL(image, 190, 140, kBlue);
  // The background beside the picture: the option line leaves it to the
  // system's button shadow colour.
  const COLORREF background = GetSysColor(COLOR_BTNSHADOW);
  EXPECT_PIXEL(image, 205, 10, background);

  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, gif), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - lime.gif", kStartMs));
  ASSERT_TRUE(CaptureChild(holder, folder, &image));
  EXPECT_PIXEL(image, 5, 5, kLime);
  EXPECT_PIXEL(image, 115, 75, kYellow);
  EXPECT_PIXEL(image, 40, 40, kLime);     // nothing of the JPEG's overlay is left
  EXPECT_PIXEL(image, 165, 10, background);
  EXPECT_PIXEL(image, 10, 125, background);

  // Fitted: the picture keeps its size (it fits) and is centred.
  SendMessageA(window, WM_COMMAND, 54, 0);
  EXPECT_EQ(GetWindowLongA(holder, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0) << "54 hides the scroll bars";
  ASSERT_TRUE(CaptureChild(holder, folder, &image));
  const int left = (image.width - 160) / 2;
  const int top = (image.height - 120) / 2;
  EXPECT_PIXEL(image, left + 5, top + 5, kLime);
  EXPECT_PIXEL(image, left + 115, top + 75, kYellow);
  EXPECT_PIXEL(image, left - 5, top + 5, background);

  // 407 resamples the fitted picture: once, however often it is painted
  // again at that size.
  const size_t resizesBefore = TraceCalls(folder, "imaging L_SizeBitmap").size();
  SendMessageA(window, WM_COMMAND, 407, 0);
  for (int paint = 0; paint < 3; ++paint) {
    RedrawWindow(holder, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    ASSERT_TRUE(CaptureChild(holder, folder, &image));
    EXPECT_PIXEL(image, left + 5, top + 5, kLime);
    EXPECT_PIXEL(image, left + 115, top + 75, kYellow);
    EXPECT_PIXEL(image, left - 5, top + 5, background);
  }
  EXPECT_EQ(resizesBefore + 1, TraceCalls(folder, "imaging L_SizeBitmap").size());
  SendMessageA(window, WM_COMMAND, 407, 0);

  // Printing without a default printer says so (the system's message 1797)
  // and prints nothing.
  char device[64] = {};
  GetProfileStringA("WINDOWS", "DEVICE", ",,,", device, sizeof(device));
  if (std::string(device) == ",,,") {
    SendMessageA(window, WM_COMMAND, 68, 0);
    std::vector<std::string> texts = TraceCalls(folder, "themecore SKWINERR");
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("SKWINERR(1797"), std::string::npos) << texts[0];
    EXPECT_EQ(TraceCalls(folder, "themecore SKMSGBOX").size(), 1u);
  }

  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// Command 72 in the picture layout puts the shown picture on the clipboard
// as a device-independent bitmap of the picture's own size, with its
// overlay drawn in.
TEST(PictureView, CopyPutsTheShownPictureOnTheClipboard) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  PlayerFolder folder("views copy");
  WritePictureOnlyTable(folder);
  const std::string jpeg = folder.path("blue.jpg");
  MakePicture(jpeg, 200, 150, "blue", kRed, 20, 20, 40);
  harness::Process player;
  HWND window = StartPlayer(folder, &player, "", {{"ORB_ANSWERS", "1"}});
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, jpeg), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - blue.jpg", kStartMs));

  PostMessageA(window, WM_COMMAND, 72, 0);
  ASSERT_TRUE(harness::PumpUntil([] { return IsClipboardFormatAvailable(CF_DIB) != FALSE; }, kStartMs));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL block = GetClipboardData(CF_DIB);
  ASSERT_NE(block, nullptr);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
  ASSERT_NE(header, nullptr);
  const LONG width = header->biWidth;
  const LONG height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const WORD bits = header->biBitCount;
  auto pixel = [&](int x, int y) -> COLORREF {
    const BYTE* data = reinterpret_cast<const BYTE*>(header) + header->biSize +
                       (header->biCompression == BI_BITFIELDS ? 12 : 0);
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const int row = header->biHeight < 0 ? y : static_cast<int>(height) - 1 - y;
    const BYTE* p = data + row * stride + x * (bits / 8);
    return RGB(p[2], p[1], p[0]);
  };
  EXPECT_EQ(width, 200);
  EXPECT_EQ(height, 150);
  const bool direct = bits == 24 || bits == 32;
  EXPECT_TRUE(direct) << bits;
  if (direct && width == 200 && height == 150) {
    EXPECT_TRUE(Near(pixel(5, 5), kBlue)) << Hex(pixel(5, 5));
    EXPECT_TRUE(Near(pixel(40, 40), kRed)) << Hex(pixel(40, 40));  // the sidecar's rectangle
    EXPECT_TRUE(Near(pixel(190, 140), kBlue)) << Hex(pixel(190, 140));
  }
  GlobalUnlock(block);
  EmptyClipboard();
  CloseClipboard();

  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// A slide-show file: the blue picture for 1500 ms, then the lime one with
// its side file's wipe from the top (4-pixel bands, 100 ms each); the
// screen half-way through shows lime above and blue below.  An arrow key
// then ends the wipe at once and still steps the show on.  Later the wipe
// runs to its end.
TEST(SlideShow, AdvancesAtEachPicturesTimeWithATransition) {
  PlayerFolder folder("views slide show");
  const std::string blue = folder.path("blue.jpg");
  const std::string lime = folder.path("lime.gif");
  MakePicture(blue, 200, 150, "blue", kRed, 20, 20, 40);
  MakePicture(lime, 160, 120, "lime", kYellow, 100, 60, 30);
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("blue.sfx"), "18000"));
  ASSERT_TRUE(harness::WriteFileBytes(folder.path("lime.sfx"), "1,4,100"));
  const std::string show = folder.path("show.ssl");
  ASSERT_TRUE(harness::WriteFileBytes(show, "[|1|0|0|100|0|1500|0]\r\n@path@blue.jpg,1500\r\n@path@lime.gif,6000\r\n"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, show), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - blue.jpg", kStartMs));

  PostMessageA(window, WM_COMMAND, 405, 0);
  const DWORD started = GetTickCount();
  HWND zoom = nullptr;
  ASSERT_TRUE(harness::PumpUntil([&] { return (zoom = VisibleWindowOf(player.id(), "SKZOOM")) != nullptr; }, kStartMs));
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - lime.gif", 8000));
  const DWORD shownAfter = GetTickCount() - started;
  EXPECT_GE(shownAfter, 1300u) << "the blue picture's own time";
  EXPECT_LE(shownAfter, 4000u);

  // The wipe runs 30 steps of 100 ms over the lime picture (160 x 120,
  // centred on the 1024 x 768 screen where the blue one was).
  harness::PumpMessagesFor(1200);
  harness::Bmp24 screen;
  ASSERT_TRUE(Capture(zoom, folder, &screen));
  ASSERT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
  const int left = (screen.width - 160) / 2;
  const int top = (screen.height - 120) / 2;
  EXPECT_PIXEL(screen, left + 10, top + 2, kLime);
  EXPECT_PIXEL(screen, left + 10, top + 117, kBlue);
  EXPECT_PIXEL(screen, left - 15, top + 2, kBlue);   // the blue picture outside the lime one
  EXPECT_PIXEL(screen, left - 30, top - 20, kBlack);

  // An arrow key during the wipe: the wipe ends (the status callback's
  // -100) and the key steps the show to the blue picture long before the
  // wipe would have ended.
  const DWORD pressed = GetTickCount();
  PostMessageA(zoom, WM_KEYDOWN, VK_RIGHT, 0);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - blue.jpg", 3000));
  EXPECT_LT(GetTickCount() - pressed, 1500u);
  std::vector<std::string> wipes = TraceCalls(folder, "imaging L_EfxPaintBitmap");
  ASSERT_FALSE(wipes.empty());
  EXPECT_EQ(wipes[0], "imaging L_EfxPaintBitmap(1, 4, 100) = -100");

  // The show goes on by itself: lime again, and this time the wipe ends
  // with the whole picture shown.
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - lime.gif", 8000));
  ASSERT_TRUE(harness::PumpUntil([&] { return TraceCalls(folder, "imaging L_EfxPaintBitmap").size() >= 2; }, 8000));
  EXPECT_EQ(TraceCalls(folder, "imaging L_EfxPaintBitmap")[1], "imaging L_EfxPaintBitmap(1, 4, 100) = 1");
  ASSERT_TRUE(Capture(zoom, folder, &screen));
  EXPECT_PIXEL(screen, left + 10, top + 117, kLime);
  EXPECT_PIXEL(screen, left + 115, top + 75, kYellow);

  PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

// The test control registered as the web browser while a test runs; the
// browser's own registration is put back afterwards.
class BrowserStandIn {
 public:
  BrowserStandIn() {
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    module_ = LoadLibraryA("orbtestctl.dll");
    if (module_ == nullptr) return;
    auto registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module_, "DllRegisterServer"));
    if (registerServer == nullptr || registerServer() != S_OK) return;
    char old[128] = {};
    LONG size = sizeof(old);
    hadBrowser_ = RegQueryValueA(HKEY_CLASSES_ROOT, "Shell.Explorer.2\\CLSID", old, &size) == ERROR_SUCCESS;
    oldClass_ = old;
    wchar_t wide[64] = {};
    StringFromGUID2(CLSID_OrbTestControl, wide, 64);
    char ours[64] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, ours, sizeof(ours), nullptr, nullptr);
    ready_ = RegSetValueA(HKEY_CLASSES_ROOT, "Shell.Explorer.2\\CLSID", REG_SZ, ours, lstrlenA(ours)) == ERROR_SUCCESS;
  }
  ~BrowserStandIn() {
    if (hadBrowser_) {
      RegSetValueA(HKEY_CLASSES_ROOT, "Shell.Explorer.2\\CLSID", REG_SZ, oldClass_.c_str(), oldClass_.size());
    } else {
      RegDeleteKeyA(HKEY_CLASSES_ROOT, "Shell.Explorer.2\\CLSID");
    }
    if (module_ != nullptr) {
      auto unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(module_, "DllUnregisterServer"));
      if (unregisterServer != nullptr) unregisterServer();
      FreeLibrary(module_);
    }
    if (comStarted_) CoUninitialize();
  }
  bool ready() const { return ready_; }

 private:
  HMODULE module_ = nullptr;
  bool comStarted_ = false;
  bool hadBrowser_ = false;
  bool ready_ = false;
  std::string oldClass_;
};

HWND BrowserWindow(HWND main) {
  HWND found = nullptr;
  EnumChildWindows(
      main,
      [](HWND child, LPARAM data) CALLBACK -> BOOL {
        char name[64] = {};
        GetClassNameA(child, name, sizeof(name));
        if (lstrcmpA(name, ORB_TEST_CONTROL_WINDOW_CLASS) != 0) return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A page opens the document pane: the browser control is made in the
// content holder, covering it, navigated to the page (whose name holds
// "€", 0x80 in the ANSI code page, which must reach the browser as that
// character), and its title event names the main window.
TEST(BrowserPanes, PageOpensTheDocumentPane) {
  BrowserStandIn browser;
  ASSERT_TRUE(browser.ready());
  PlayerFolder folder("views page");
  folder.CopyControlHost();
  const std::string page = folder.path("price \x80 list.htm");
  ASSERT_TRUE(harness::WriteFileBytes(page, "<html></html>"));
  harness::Process player;
  HWND window = StartPlayer(folder, &player);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, page), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - " + page, kStartMs)) << harness::WindowText(window);
  HWND pane = BrowserWindow(window);
  ASSERT_NE(pane, nullptr);
  // The control was navigated to the page: it shows the address, "€" and
  // all.
  EXPECT_EQ(page, harness::WindowText(pane));
  RECT content = {};
  GetClientRect(ContentHolder(window), &content);
  const RECT placed = harness::WindowRectOf(pane);
  EXPECT_GE(placed.right - placed.left, content.right);
  EXPECT_GE(placed.bottom - placed.top, content.bottom);

  // A picture hides the pane; the page again shows it, navigated anew.
  const std::string picture = folder.path("blue.jpg");
  MakePicture(picture, 200, 150, "blue", kRed, 20, 20, 40);
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, picture), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - blue.jpg", kStartMs));
  EXPECT_FALSE(IsWindowVisible(pane));
  ASSERT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, page), 1);
  ASSERT_TRUE(WaitForTitle(window, "Orb Play - " + page, kStartMs));
  EXPECT_TRUE(IsWindowVisible(pane));

  suite::SendSuiteCommand(window, suite::CMD_CLOSE, "");
  EXPECT_EQ(WaitForExit(player), 0);
}

}  // namespace
