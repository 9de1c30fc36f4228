// The notice box (class SSLBUILDBOX): text lines, check boxes and buttons,
// used for the first-run notice.  It reports the control that closed it and
// which check boxes were ticked.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "browser_state.h"
#include "core/item_list.h"
#include "themecore.h"

namespace browser {

namespace {

constexpr char kNoticeClass[] = "SSLBUILDBOX";
constexpr int kMargin = 12;
constexpr int kButtonGap = 4;
constexpr int kIconSize = 32;

struct NoticeBox {
  std::vector<std::string> lines;
  HFONT font = nullptr;
  HICON icon = nullptr;
  std::vector<HWND> checkBoxes;
  std::vector<HWND> buttons;
  int lineHeight = 16;
  int textLeft = kMargin;
  bool closed = false;
  int32_t result = 0;
  int32_t checkMask = 0;
};

NoticeBox* g_notice = nullptr;

SIZE TextSize(HWND window, HFONT font, const std::string& text) {
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(window, font, text.empty() ? " " : text.c_str(), &width, &height);
  return SIZE{width, height};
}

void CloseNotice(HWND box, int32_t controlId) {
  NoticeBox& notice = *g_notice;
  notice.checkMask = 0;
  for (size_t k = 0; k < notice.checkBoxes.size(); ++k) {
    if (SKGETCHECK(notice.checkBoxes[k]) != 0) notice.checkMask |= 1 << k;
  }
  notice.result = controlId;
  notice.closed = true;
  DestroyWindow(box);
}

void PaintNotice(HWND box) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  RECT client;
  GetClientRect(box, &client);
  SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  if (g_notice->icon != nullptr) DrawIconEx(dc, kMargin, kMargin, g_notice->icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  HGDIOBJ oldFont = SelectObject(dc, g_notice->font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(113)));
  int y = kMargin;
  for (const std::string& line : g_notice->lines) {
    TextOutA(dc, g_notice->textLeft, y, line.c_str(), static_cast<int>(line.size()));
    y += g_notice->lineHeight;
  }
  SelectObject(dc, oldFont);
  EndPaint(box, &paint);
}

LRESULT CALLBACK NoticeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND self = box;
  UINT msg = message;
  WPARAM wp = wParam;
  LPARAM lp = lParam;
  int32_t handled = SKGETMESSAGE(&self, &msg, &wp, &lp);
  if (handled != 0) return handled;
  switch (message) {
    case WM_PAINT:
      PaintNotice(box);
      return 0;
    case WM_COMMAND: {
      HWND control = reinterpret_cast<HWND>(lParam);
      auto& checks = g_notice->checkBoxes;
      if (control != nullptr && std::find(checks.begin(), checks.end(), control) == checks.end()) {
        CloseNotice(box, LOWORD(wParam));
      }
      return 0;
    }
    case WM_CLOSE:
      // Closing by the caption counts as the last button.
      CloseNotice(box, g_notice->buttons.empty()
                           ? 0
                           : GetDlgCtrlID(g_notice->buttons.back()));
      return 0;
  }
  return DefWindowProcA(box, message, wParam, lParam);
}

bool RegisterNoticeClass(HINSTANCE instance) {
  if (SKCHECKCLASS(kNoticeClass) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = NoticeBoxProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, kNoticeClass) != 0;
}

}  // namespace

int32_t ShowStartNotice(HWND owner, HFONT font, const std::string& caption,
                        const std::string& lines, const std::string& checkTexts,
                        const std::string& buttons, int32_t* checkMask) {
  if (checkMask != nullptr) *checkMask = 0;
  if (g_notice != nullptr) return 0;  // one notice at a time
  BrowserState& b = Browser();
  if (!RegisterNoticeClass(b.instance)) return 0;

  NoticeBox notice;
  notice.lines = suite::SplitItemList(lines);
  notice.font = font;
  notice.icon = b.icon;
  std::vector<std::string> checks = suite::SplitItemList(checkTexts);
  std::vector<std::string> captions =
      suite::SplitItemList(buttons.empty() ? std::string("    OK    ") : buttons);

  // Measure: text block, check boxes under it, buttons in a row at the bottom.
  HWND measure = owner != nullptr ? owner : GetDesktopWindow();
  int textWidth = 0;
  for (const std::string& line : notice.lines) {
    SIZE size = TextSize(measure, font, line);
    textWidth = std::max<int>(textWidth, size.cx);
    notice.lineHeight = std::max<int>(notice.lineHeight, size.cy + 2);
  }
  int32_t checkImageWidth = 0, checkImageHeight = 0;
  SKGETPIXMAPSIZE(SKCHECKBUT(), &checkImageWidth, &checkImageHeight);
  int checkHeight = std::max<int>(notice.lineHeight, checkImageHeight) + 4;
  for (const std::string& text : checks) {
    textWidth = std::max<int>(textWidth, checkImageWidth / 4 + 8 + TextSize(measure, font, text).cx);
  }
  int buttonHeight = notice.lineHeight + 10;
  std::vector<int> buttonWidths;
  int buttonsWidth = 0;
  for (const std::string& text : captions) {
    buttonWidths.push_back(TextSize(measure, font, text).cx + 24);
    buttonsWidth += buttonWidths.back() + (buttonWidths.size() > 1 ? kButtonGap : 0);
  }
  notice.textLeft = kMargin + (notice.icon != nullptr ? kIconSize + kMargin : 0);
  int innerWidth = std::max(notice.textLeft + textWidth, buttonsWidth + kMargin) + kMargin;
  int textBottom = kMargin + std::max<int>(static_cast<int>(notice.lines.size()) * notice.lineHeight,
                                           notice.icon != nullptr ? kIconSize : 0);
  int checksTop = textBottom + kMargin / 2;
  int buttonsTop = checksTop + static_cast<int>(checks.size()) * checkHeight + kMargin / 2;
  int innerHeight = buttonsTop + buttonHeight + kMargin;

  RECT frame = {0, 0, innerWidth, innerHeight};
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  RECT ownerRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &ownerRect);
  int x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
  int y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;

  g_notice = &notice;
  HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME, kNoticeClass, caption.c_str(), style, x, y, width,
                             height, owner, nullptr, b.instance, nullptr);
  if (box == nullptr) {
    g_notice = nullptr;
    return 0;
  }
  int32_t id = 1;
  int buttonX = std::max(kMargin, (innerWidth - buttonsWidth) / 2);
  for (size_t i = 0; i < captions.size(); ++i) {
    notice.buttons.push_back(SKBUT3D(box, captions[i].c_str(), font, buttonX, buttonsTop,
                                     buttonWidths[i], buttonHeight, id++, 0));
    buttonX += buttonWidths[i] + kButtonGap;
  }
  for (size_t k = 0; k < checks.size(); ++k) {
    notice.checkBoxes.push_back(SKCHECKBUTTON(box, checks[k].c_str(), font, notice.textLeft,
                                              checksTop + static_cast<int>(k) * checkHeight,
                                              innerWidth - notice.textLeft - kMargin, checkHeight,
                                              id++, 0));
  }
  if (owner != nullptr) EnableWindow(owner, FALSE);
  ShowWindow(box, SW_SHOW);
  if (!notice.buttons.empty() && notice.buttons[0] != nullptr) SetFocus(notice.buttons[0]);

  MSG msg;
  // The loop ends with the box, however it went.
  while (!notice.closed && IsWindow(box)) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: close the box and leave the quit for the
      // main loop.
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      if (IsWindow(box)) CloseNotice(box, 0);
      break;
    }
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) &&
        IsChild(box, msg.hwnd)) {
      HWND target = msg.wParam == VK_RETURN ? GetFocus() : notice.buttons.back();
      if (target != nullptr && target != box) {
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED),
                     reinterpret_cast<LPARAM>(target));
        continue;
      }
    }
    if (IsDialogMessageA(box, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  g_notice = nullptr;
  if (checkMask != nullptr) *checkMask = notice.checkMask;
  return notice.result;
}

}  // namespace browser
