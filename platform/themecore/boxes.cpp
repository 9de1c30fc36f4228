// The skinned message box, SKMSGBOX: a modal box of class "SKMSGBOX" owned by
// the caller's window, with a caption strip, an optional icon, the text and
// one engine button per caption of the "|" list.  It returns the 1-based
// button chosen: a click, Enter on the focused button (or the default one),
// Escape or closing the box for the last button.  When ORB_ANSWERS is set
// the box shows nothing and takes the scripted answer.
//
// The caller's style record gives the icon, the text and background colours
// and the default button (ReadStyleRecord); without one the box takes the
// skin's box colours, no icon and button 1.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "boxes_answers.h"
#include "engine_state.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
constexpr int kPadding = 12;
constexpr int kButtonGap = 8;
constexpr int kMinButtonWidth = 75;
constexpr int kIconSide = 32;
constexpr int kMinBoxWidth = 200;
constexpr int kMaxTextWidth = 640;
// Bytes of the style record the engine reads (up to the default button).
constexpr size_t kStyleRecordBytes = 25;

struct Box {
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
  HFONT font = nullptr;
  HICON icon = nullptr;
  COLORREF textColour = 0;
  COLORREF backColour = 0;
  int defaultButton = 1;
  int captionHeight = 0;
  RECT iconRect = {};
  RECT textRect = {};
  int result = 0;
  bool isDone = false;
  // An input box's text field: its text before and after, and its place.
  bool hasInput = false;
  std::string input;
  RECT inputRect = {};
};

constexpr int kInputId = 100;

uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// True when every byte of the range lies in committed, readable memory.
bool IsReadable(const void* start, size_t length) {
  const char* at = static_cast<const char*>(start);
  const char* end = at + length;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  while (at < end) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(at, &info, sizeof(info)) == 0) return false;
    if (info.State != MEM_COMMIT || (info.Protect & kReadable) == 0 ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
      return false;
    }
    at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
  }
  return true;
}

// "a|b" -> {"a", "b"}; "" -> {"OK"}; a trailing "|" adds no button.
std::vector<std::string> ButtonCaptions(const char* buttons) {
  std::vector<std::string> captions;
  std::string list = buttons != nullptr ? buttons : "";
  if (!list.empty() && list.back() == '|') list.pop_back();
  if (list.empty()) return {"OK"};
  size_t start = 0;
  for (;;) {
    const size_t bar = list.find('|', start);
    captions.push_back(list.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return captions;
}

// The programs write line breaks in box texts as "|".
std::string BoxText(const char* text) {
  std::string converted;
  for (const char* at = text != nullptr ? text : ""; *at != '\0'; ++at) {
    if (*at == '|') {
      converted += "\r\n";
    } else {
      converted.push_back(*at);
    }
  }
  return converted;
}

Box* BoxOf(HWND window) { return reinterpret_cast<Box*>(GetWindowLongPtrA(window, 0)); }

void Finish(HWND window, Box* box, int button) {
  if (box->isDone) return;
  if (box->hasInput) {
    HWND field = GetDlgItem(window, kInputId);
    int length = field != nullptr ? GetWindowTextLengthA(field) : 0;
    std::string typed(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    if (field != nullptr) GetWindowTextA(field, typed.data(), length + 1);
    typed.resize(static_cast<size_t>(std::max(length, 0)));
    box->input = typed;
  }
  box->result = button;
  box->isDone = true;
  PostMessageA(window, WM_NULL, 0, 0);  // wakes the box's loop
}

void PaintBox(HWND window, const Box& box, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillSolid(dc, client, box.backColour);
  RECT caption = {client.left, client.top, client.right, client.top + box.captionHeight};
  FillSolid(dc, caption, SkinColour(colour::kCaptionBack));
  HGDIOBJ oldFont = SelectObject(dc, SkinCaptionFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, SkinColour(colour::kCaptionText));
  RECT captionText = caption;
  InflateRect(&captionText, -kPadding / 2, 0);
  DrawTextA(dc, box.caption.c_str(), static_cast<int>(box.caption.size()), &captionText,
            DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (box.icon != nullptr) {
    DrawIconEx(dc, box.iconRect.left, box.iconRect.top, box.icon, kIconSide, kIconSide, 0,
               nullptr, DI_NORMAL);
  }
  SelectObject(dc, box.font);
  SetTextColor(dc, box.textColour);
  RECT textRect = box.textRect;
  DrawTextA(dc, box.text.c_str(), static_cast<int>(box.text.size()), &textRect,
            DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  DrawEdgeLines(dc, client, SkinColour(colour::kShadow), SkinColour(colour::kShadow));
}

struct Layout {
  SIZE client;
  std::vector<RECT> buttons;
};

// Measures the box and places its parts; the box's client size comes back.
Layout LayOut(Box* box) {
  Layout layout;
  HDC dc = GetDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, SkinCaptionFont());
  SIZE captionSize = {};
  GetTextExtentPoint32A(dc, box->caption.c_str(), static_cast<int>(box->caption.size()),
                        &captionSize);
  box->captionHeight = std::max<int>(FrameMetric(metric::kCaptionHeight), captionSize.cy + 8);

  SelectObject(dc, box->font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int maxTextWidth = std::min(kMaxTextWidth, screenWidth * 2 / 3);
  RECT textSize = {0, 0, maxTextWidth, 0};
  DrawTextA(dc, box->text.c_str(), static_cast<int>(box->text.size()), &textSize,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
  if (textSize.right > maxTextWidth) {
    textSize = {0, 0, maxTextWidth, 0};
    DrawTextA(dc, box->text.c_str(), static_cast<int>(box->text.size()), &textSize,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  }
  const int buttonHeight = std::max<int>(23, metrics.tmHeight + 10);
  std::vector<int> widths;
  int rowWidth = 0;
  for (const std::string& caption : box->buttons) {
    SIZE size = {};
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    widths.push_back(std::max<int>(kMinButtonWidth, size.cx + 24));
    rowWidth += widths.back();
  }
  rowWidth += kButtonGap * static_cast<int>(widths.size() - 1);
  SelectObject(dc, oldFont);
  ReleaseDC(nullptr, dc);

  const int iconWidth = box->icon != nullptr ? kIconSide + kPadding : 0;
  const int contentWidth = iconWidth + textSize.right;
  const int contentHeight = std::max<int>(textSize.bottom, box->icon != nullptr ? kIconSide : 0);
  const int inputWidth = box->hasInput ? 300 : 0;
  const int width = std::max({contentWidth + 2 * kPadding, rowWidth + 2 * kPadding,
                              static_cast<int>(captionSize.cx) + 3 * kPadding, kMinBoxWidth,
                              inputWidth + 2 * kPadding});
  const int contentTop = box->captionHeight + kPadding;
  box->iconRect = {kPadding, contentTop, kPadding + kIconSide, contentTop + kIconSide};
  box->textRect = {kPadding + iconWidth, contentTop, width - kPadding,
                   contentTop + std::max<int>(textSize.bottom, 1)};
  int buttonTop = contentTop + contentHeight + kPadding;
  if (box->hasInput) {
    const int fieldHeight = metrics.tmHeight + 8;
    box->inputRect = {kPadding, buttonTop, width - kPadding, buttonTop + fieldHeight};
    buttonTop += fieldHeight + kPadding;
  }
  int x = (width - rowWidth) / 2;
  for (int buttonWidth : widths) {
    layout.buttons.push_back({x, buttonTop, x + buttonWidth, buttonTop + buttonHeight});
    x += buttonWidth + kButtonGap;
  }
  layout.client = {width, buttonTop + buttonHeight + kPadding};
  return layout;
}

}  // namespace

POINT Placement(HWND owner, SIZE size) {
  RECT work = {};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
    work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  RECT around = work;
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &around);
  LONG x = around.left + ((around.right - around.left) - size.cx) / 2;
  LONG y = around.top + ((around.bottom - around.top) - size.cy) / 2;
  x = std::max(work.left, std::min(x, work.right - size.cx));
  y = std::max(work.top, std::min(y, work.bottom - size.cy));
  return {x, y};
}

namespace {

void MoveFocus(HWND window, const Box& box, int step) {
  const int count = static_cast<int>(box.buttons.size());
  int current = GetDlgCtrlID(GetFocus());
  if (current < 1 || current > count || !IsChild(window, GetFocus())) current = box.defaultButton;
  const int next = ((current - 1 + step) % count + count) % count + 1;
  if (HWND button = GetDlgItem(window, next)) SetFocus(button);
}

// The box's keys, looked at before dispatch.
bool HandleKey(HWND window, Box* box, const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
  const int count = static_cast<int>(box->buttons.size());
  // In the text field, only Escape, Enter and Tab belong to the box.
  const bool inField = box->hasInput && GetDlgCtrlID(message.hwnd) == kInputId;
  if (inField && message.wParam != VK_ESCAPE && message.wParam != VK_RETURN &&
      message.wParam != VK_TAB) {
    return false;
  }
  switch (message.wParam) {
    case VK_ESCAPE:
      Finish(window, box, count);
      return true;
    case VK_RETURN: {
      HWND focus = GetFocus();
      const int id = GetDlgCtrlID(focus);
      const bool isOurButton = IsChild(window, focus) && id >= 1 && id <= count;
      Finish(window, box, isOurButton ? id : box->defaultButton);
      return true;
    }
    case VK_TAB:
      MoveFocus(window, *box, (GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1);
      return true;
    case VK_LEFT:
    case VK_UP:
      MoveFocus(window, *box, -1);
      return true;
    case VK_RIGHT:
    case VK_DOWN:
      MoveFocus(window, *box, 1);
      return true;
    default:
      return false;
  }
}

int RunBox(HWND owner, Box* box) {
  if (!RegisterEngineClasses()) return 1;
  const int count = static_cast<int>(box->buttons.size());
  Layout layout = LayOut(box);
  HWND ownerWindow = owner != nullptr && IsWindow(owner) ? GetAncestor(owner, GA_ROOT) : nullptr;
  const POINT at = Placement(ownerWindow, layout.client);
  HWND window = CreateWindowExA(ownerWindow == nullptr ? WS_EX_TOPMOST : 0, kBoxClass,
                                box->caption.c_str(), WS_POPUP | WS_CLIPCHILDREN, at.x, at.y,
                                layout.client.cx, layout.client.cy, ownerWindow, nullptr,
                                EngineInstance(), box);
  if (window == nullptr) return 1;
  for (int i = 0; i < count; ++i) {
    const RECT& rect = layout.buttons[static_cast<size_t>(i)];
    CreateSkinButton(window, ButtonKind::kPush, box->buttons[static_cast<size_t>(i)].c_str(),
                     box->font, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, i + 1, ButtonLook{});
  }
  HWND field = nullptr;
  if (box->hasInput) {
    const RECT& rect = box->inputRect;
    field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", box->input.c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, window,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kInputId)), EngineInstance(),
                            nullptr);
    if (field != nullptr) SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(box->font), FALSE);
  }
  const bool disablesOwner = ownerWindow != nullptr && IsWindowEnabled(ownerWindow);
  if (disablesOwner) EnableWindow(ownerWindow, FALSE);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  if (field != nullptr) {
    SetFocus(field);
    SendMessageA(field, EM_SETSEL, 0, -1);
  } else if (HWND button = GetDlgItem(window, box->defaultButton)) {
    SetFocus(button);
  }

  bool sawQuit = false;
  WPARAM quitCode = 0;
  while (!box->isDone) {
    MSG message;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      sawQuit = got == 0;
      quitCode = message.wParam;
      box->result = count;
      break;
    }
    if (HandleKey(window, box, message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (!IsWindow(window) && !box->isDone) box->result = count;
    if (!IsWindow(window)) break;
  }
  // The owner comes back before the box goes, so it is activated again.
  if (disablesOwner) EnableWindow(ownerWindow, TRUE);
  if (IsWindow(window)) DestroyWindow(window);
  if (sawQuit) PostQuitMessage(static_cast<int>(quitCode));
  return std::clamp(box->result, 1, count);
}

std::string ResultText(int32_t result, bool answered) {
  std::string text = std::to_string(result);
  if (!answered) text += " (unanswered)";
  return text;
}

}  // namespace

bool ReadStyleRecord(const void* record, StyleRecord* style) {
  if (record == nullptr || !IsReadable(record, kStyleRecordBytes)) return false;
  unsigned char bytes[kStyleRecordBytes];
  memcpy(bytes, record, sizeof(bytes));
  // A USER handle in 32 bits, sign-extended back as Windows does.
  style->icon = static_cast<HICON>(LongToHandle(static_cast<LONG>(LittleEndian32(bytes + 4))));
  style->text = LittleEndian32(bytes + 8) & 0x00FFFFFFu;
  style->back = LittleEndian32(bytes + 12) & 0x00FFFFFFu;
  style->defaultButton = bytes[24];
  return true;
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    return DefWindowProcA(window, message, wParam, lParam);
  }
  Box* box = BoxOf(window);
  if (box == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, 0, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc != nullptr) PaintBox(window, *box, dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == BN_CLICKED && id >= 1 && id <= static_cast<int>(box->buttons.size())) {
        Finish(window, box, id);
      }
      return 0;
    }
    case WM_CLOSE:
      Finish(window, box, static_cast<int>(box->buttons.size()));
      return 0;
    case WM_NCHITTEST: {
      // The caption strip moves the box.
      POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ScreenToClient(window, &point);
      return point.y >= 0 && point.y < box->captionHeight ? HTCAPTION : HTCLIENT;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace themecore

THEMECORE_API int32_t __stdcall SKMSGBOX(HWND owner, HFONT font, const char* caption,
                                         const char* text, const char* buttons,
                                         const void* style, int32_t reserved) {
  try {
    themecore::Box box;
    box.buttons = themecore::ButtonCaptions(buttons);
    const int32_t count = static_cast<int32_t>(box.buttons.size());
    orbtrace::CallLine call = orbtrace::CallLine("themecore", "SKMSGBOX")
                                  .Raw(themecore::engine::HandleText(owner))
                                  .Raw(themecore::engine::HandleText(font))
                                  .Text(caption)
                                  .Text(text)
                                  .Text(buttons)
                                  .Raw(style != nullptr ? "style" : "NULL")
                                  .Number(reserved);
    themecore::BoxAnswer answer;
    if (themecore::NextScriptedAnswer(themecore::BoxKind::kMessageBox, count, &answer)) {
      const int32_t result = std::clamp<int32_t>(answer.button, 1, count);
      orbtrace::WriteCall(call, themecore::ResultText(result, answer.answered));
      return result;
    }
    box.caption = caption != nullptr && caption[0] != '\0' ? caption : themecore::AppTitle();
    box.text = themecore::BoxText(text);
    box.font = font != nullptr ? font : themecore::SkinDefaultFont();
    box.textColour = themecore::SkinColour(themecore::colour::kBoxText);
    box.backColour = themecore::SkinColour(themecore::colour::kBoxBack);
    themecore::StyleRecord record;
    if (themecore::ReadStyleRecord(style, &record)) {
      box.icon = record.icon;
      // A record whose colours were left equal (unset) keeps the skin's.
      if (record.text != record.back) {
        box.textColour = record.text;
        box.backColour = record.back;
      }
      if (record.defaultButton >= 1 && record.defaultButton <= count) {
        box.defaultButton = record.defaultButton;
      }
    }
    const int32_t result = themecore::RunBox(owner, &box);
    orbtrace::WriteCall(call, result);
    return result;
  } catch (...) {
    return 1;
  }
}

THEMECORE_API int32_t __stdcall SKINPUTBOX(HWND owner, HFONT font, const char* caption,
                                           const char* prompt, const char* buttons, char* text,
                                           int32_t textSize, const void* style, int32_t reserved) {
  try {
    themecore::Box box;
    box.buttons = themecore::ButtonCaptions(buttons);
    const int32_t count = static_cast<int32_t>(box.buttons.size());
    const std::string initial = text != nullptr && textSize > 0 ? std::string(text, strnlen(text, textSize)) : "";
    orbtrace::CallLine call = orbtrace::CallLine("themecore", "SKINPUTBOX")
                                  .Raw(themecore::engine::HandleText(owner))
                                  .Raw(themecore::engine::HandleText(font))
                                  .Text(caption)
                                  .Text(prompt)
                                  .Text(buttons)
                                  .Text(initial.c_str())
                                  .Number(textSize)
                                  .Raw(style != nullptr ? "style" : "NULL")
                                  .Number(reserved);
    themecore::BoxAnswer answer;
    int32_t result = 0;
    bool answered = true;
    std::string typed = initial;
    if (themecore::NextScriptedAnswer(themecore::BoxKind::kInputBox, count, &answer)) {
      answered = answer.answered;
      // An answered input box is confirmed with its first button; an
      // unanswered one is cancelled with its last.
      result = answer.answered ? 1 : count;
      if (answer.answered) typed = answer.text;
    } else {
      box.caption = caption != nullptr && caption[0] != '\0' ? caption : themecore::AppTitle();
      box.text = themecore::BoxText(prompt);
      box.font = font != nullptr ? font : themecore::SkinDefaultFont();
      box.textColour = themecore::SkinColour(themecore::colour::kBoxText);
      box.backColour = themecore::SkinColour(themecore::colour::kBoxBack);
      box.hasInput = true;
      box.input = initial;
      themecore::StyleRecord record;
      if (themecore::ReadStyleRecord(style, &record)) {
        box.icon = record.icon;
        if (record.text != record.back) {
          box.textColour = record.text;
          box.backColour = record.back;
        }
      }
      result = themecore::RunBox(owner, &box);
      typed = box.input;
    }
    // The text comes back only when the box was confirmed, cut to the buffer.
    if (result == 1 && text != nullptr && textSize > 0) {
      size_t length = std::min(typed.size(), static_cast<size_t>(textSize - 1));
      memcpy(text, typed.data(), length);
      text[length] = '\0';
    }
    orbtrace::WriteCall(call.OutText(result == 1 ? text : nullptr),
                        themecore::ResultText(result, answered));
    return result;
  } catch (...) {
    return 0;
  }
}
