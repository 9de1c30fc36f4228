// The control exports: the engine's buttons and track bars (buttons.cpp,
// trackbar.cpp) as the programs make and read them, tooltips, progress bars,
// combo texts, control texts and fonts, text extents, and the colours a
// program gives a control with SKSETCOLOR.
//
// SKSETCOLOR keeps a record on the control and makes sure its parent
// answers the control's WM_CTLCOLOR* with it: a holder does so itself, any
// other parent gets the engine's subclass.  SKGETMESSAGE answers the same
// way for a program that offers it those messages.
#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>

#include "engine_state.h"
#include "output_buffer.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kColoursProp[] = "themecore.colours";
// Values of SKBUT3D's style argument this high are the address of the
// caller's style record; lower ones are flags.
constexpr uintptr_t kLowestRecordAddress = 0x10000;
constexpr int32_t kKeepColour = -1;

ControlColours* MutableColoursOf(HWND control) {
  return static_cast<ControlColours*>(GetPropA(control, kColoursProp));
}

bool HasClass(HWND window, const char* name) {
  char className[32] = {};
  return window != nullptr && GetClassNameA(window, className, sizeof(className)) > 0 &&
         lstrcmpiA(className, name) == 0;
}

// A combo box's list and edit ask for colours in their own name.
const ControlColours* EffectiveColoursOf(HWND control) {
  if (const ControlColours* own = ColoursOf(control)) return own;
  HWND parent = GetParent(control);
  return HasClass(parent, "ComboBox") ? ColoursOf(parent) : nullptr;
}

bool IsTextOnlyMessage(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

bool SetColours(HWND control, int32_t textColour, int32_t backColour) {
  if (control == nullptr || !IsWindow(control)) return false;
  ControlColours* colours = MutableColoursOf(control);
  if (colours == nullptr) {
    colours = new ControlColours;
    if (!SetPropA(control, kColoursProp, colours)) {
      delete colours;
      return false;
    }
    AddSubclassDuties(control, kFreeColours);
  }
  if (textColour != kKeepColour) {
    colours->hasText = true;
    colours->text = static_cast<COLORREF>(textColour);
  }
  if (backColour != kKeepColour) {
    colours->hasBack = true;
    colours->back = static_cast<COLORREF>(backColour);
    if (colours->backBrush != nullptr) DeleteObject(colours->backBrush);
    colours->backBrush = CreateSolidBrush(colours->back);
  }
  if (HasClass(control, PROGRESS_CLASSA)) {
    if (colours->hasText) SendMessageA(control, PBM_SETBARCOLOR, 0, colours->text);
    if (colours->hasBack) SendMessageA(control, PBM_SETBKCOLOR, 0, colours->back);
  }
  HWND parent = GetParent(control);
  if (parent != nullptr) AddSubclassDuties(parent, kAnswerColours);
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

ButtonLook LookFromStyle(intptr_t style) {
  ButtonLook look;
  const auto address = static_cast<uintptr_t>(style);
  StyleRecord record;
  // As in the message box, two equal colours say nothing (a record the
  // caller left zero keeps the skin's look).
  if (address >= kLowestRecordAddress &&
      ReadStyleRecord(reinterpret_cast<const void*>(address), &record) && record.text != record.back) {
    look.hasColours = true;
    look.text = record.text;
    look.face = record.back;
  }
  return look;
}

bool SetTip(HWND parent, HWND control, const char* tip) {
  if (parent == nullptr || !IsWindow(parent)) return false;
  HWND top = GetAncestor(parent, GA_ROOT);
  static const char kTooltipProp[] = "themecore.tooltip";
  auto tooltip = static_cast<HWND>(GetPropA(top, kTooltipProp));
  if (tooltip == nullptr || !IsWindow(tooltip)) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    // Owned by the top-level window, so it goes with it.
    tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                              WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, top, nullptr,
                              EngineInstance(), nullptr);
    if (tooltip == nullptr) return false;
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, 400);
    SetPropA(top, kTooltipProp, tooltip);
  }
  HWND tool = control != nullptr ? control : parent;
  TTTOOLINFOA info = {};
  // The size comctl32 5 accepts as well as 6.
  info.cbSize = TTTOOLINFOA_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(tool) != nullptr ? GetParent(tool) : tool;
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  if (tip == nullptr || tip[0] == '\0') {
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
  }
  info.lpszText = const_cast<char*>(tip);
  TTTOOLINFOA existing = info;
  existing.lpszText = nullptr;
  if (SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing))) {
    SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
    return true;
  }
  return SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool TextExtent(HWND window, HFONT font, const char* text, int32_t* width, int32_t* height) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return false;
  HGDIOBJ oldFont = SelectObject(dc, font != nullptr ? font : SkinDefaultFont());
  const int length = text != nullptr ? static_cast<int>(strlen(text)) : 0;
  SIZE size = {};
  bool measured = GetTextExtentPoint32A(dc, text != nullptr ? text : "", length, &size) != FALSE;
  if (measured && length == 0) {
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) size.cy = metrics.tmHeight;
  }
  SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  if (!measured) return false;
  if (width != nullptr) *width = size.cx;
  if (height != nullptr) *height = size.cy;
  return true;
}

}  // namespace

const ControlColours* ColoursOf(HWND control) {
  return control != nullptr ? MutableColoursOf(control) : nullptr;
}

void FreeColours(HWND control) {
  ControlColours* colours = MutableColoursOf(control);
  if (colours == nullptr) return;
  RemovePropA(control, kColoursProp);
  if (colours->backBrush != nullptr) DeleteObject(colours->backBrush);
  delete colours;
}

bool AnswerControlColour(UINT message, HDC dc, HWND control, bool skinDefaults,
                         LRESULT* brush) {
  if (dc == nullptr || control == nullptr) return false;
  if (const ControlColours* colours = EffectiveColoursOf(control)) {
    if (colours->hasText) SetTextColor(dc, colours->text);
    if (colours->hasBack) {
      SetBkMode(dc, OPAQUE);
      SetBkColor(dc, colours->back);
      *brush = reinterpret_cast<LRESULT>(colours->backBrush);
    } else if (IsTextOnlyMessage(message)) {
      // A label given only a text colour shows what lies behind it.
      SetBkMode(dc, TRANSPARENT);
      *brush = reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    } else {
      const COLORREF back = SkinColour(colour::kControlBack);
      SetBkColor(dc, back);
      *brush = reinterpret_cast<LRESULT>(CachedBrush(back));
    }
    return true;
  }
  if (!skinDefaults) return false;
  COLORREF text;
  COLORREF back;
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      text = SkinColour(colour::kControlText);
      back = SkinColour(colour::kControlBack);
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      text = SkinColour(colour::kBoxText);
      back = SkinColour(colour::kBoxBack);
      break;
    default:
      return false;
  }
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  *brush = reinterpret_cast<LRESULT>(CachedBrush(back));
  return true;
}

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

namespace {

// SKBUT3D and SKCHECKBUTTON: a skinned button of `kind`, traced under the
// export's name.
HWND CreateTracedButton(const char* function, themecore::ButtonKind kind, HWND parent,
                        const char* text, HFONT font, int32_t x, int32_t y, int32_t width,
                        int32_t height, int32_t id, intptr_t style) {
  HWND button = themecore::CreateSkinButton(parent, kind, text, font, x, y, width, height, id,
                                            themecore::LookFromStyle(style));
  orbtrace::WriteCall(orbtrace::CallLine(kLibrary, function)
                          .Raw(HandleText(parent))
                          .Text(text)
                          .Raw(HandleText(font))
                          .Number(x)
                          .Number(y)
                          .Number(width)
                          .Number(height)
                          .Number(id)
                          .Number(style),
                      HandleText(button));
  return button;
}

}  // namespace

THEMECORE_API HWND __stdcall SKBUT3D(HWND parent, const char* caption, HFONT font, int32_t x,
                                     int32_t y, int32_t width, int32_t height, int32_t id,
                                     intptr_t style) {
  try {
    return CreateTracedButton("SKBUT3D", themecore::ButtonKind::kPush, parent, caption, font, x, y,
                              width, height, id, style);
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HWND __stdcall SKCHECKBUTTON(HWND parent, const char* text, HFONT font, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t id,
                                           intptr_t style) {
  try {
    return CreateTracedButton("SKCHECKBUTTON", themecore::ButtonKind::kCheck, parent, text, font, x,
                              y, width, height, id, style);
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HWND __stdcall SKRADIOBUTTON(HWND parent, const char* text, HFONT font, int32_t x,
                                           int32_t y, int32_t width, int32_t height, int32_t id,
                                           intptr_t style) {
  try {
    return CreateTracedButton("SKRADIOBUTTON", themecore::ButtonKind::kRadio, parent, text, font, x,
                              y, width, height, id, style);
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HBITMAP __stdcall SKCHECKBUT() {
  try {
    HBITMAP image = themecore::CheckBoxImage();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCHECKBUT"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKGETPIXMAPSIZE(HBITMAP bitmap, int32_t* width, int32_t* height) {
  try {
    int w = 0;
    int h = 0;
    const int32_t result = themecore::BitmapSize(bitmap, &w, &h) ? 1 : 0;
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETPIXMAPSIZE")
                            .Raw(HandleText(bitmap))
                            .Raw("out:" + std::to_string(w))
                            .Raw("out:" + std::to_string(h)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKBUTTONTIP(HWND parent, HWND control, const char* tip) {
  try {
    const int32_t result = themecore::SetTip(parent, control, tip) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKBUTTONTIP")
                            .Raw(HandleText(parent))
                            .Raw(HandleText(control))
                            .Text(tip),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HWND __stdcall SKTRACKBAR(HWND parent, int32_t type, HBITMAP track, int32_t x,
                                        int32_t y, int32_t value, int32_t id, HBITMAP thumb) {
  try {
    HWND bar = nullptr;
    if (type == 1 || type == 2) {
      bar = themecore::CreateSkinTrackBar(parent, type == 2, track, x, y, value, id, thumb);
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKTRACKBAR")
                            .Raw(HandleText(parent))
                            .Number(type)
                            .Raw(HandleText(track))
                            .Number(x)
                            .Number(y)
                            .Number(value)
                            .Number(id)
                            .Raw(HandleText(thumb)),
                        HandleText(bar));
    return bar;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKSETTRACKPOS(HWND trackBar, int32_t value) {
  try {
    const int32_t result = themecore::SetTrackBarPosition(trackBar, value, false) ? 1 : 0;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSETTRACKPOS").Raw(HandleText(trackBar)).Number(value),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETTRACKPOS(HWND trackBar) {
  try {
    const int32_t value = themecore::TrackBarPosition(trackBar);
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETTRACKPOS").Raw(HandleText(trackBar)),
                        value);
    return value;
  } catch (...) {
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKSETCHECK(HWND checkButton, int32_t checked) {
  try {
    int32_t result = 0;
    if (checkButton != nullptr && IsWindow(checkButton)) {
      SendMessageA(checkButton, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
      result = 1;
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSETCHECK").Raw(HandleText(checkButton)).Number(checked),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETCHECK(HWND checkButton) {
  try {
    int32_t checked = 0;
    if (checkButton != nullptr && IsWindow(checkButton)) {
      checked = SendMessageA(checkButton, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETCHECK").Raw(HandleText(checkButton)),
                        checked);
    return checked;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSETCTLTEXT(HWND control, const char* text) {
  try {
    int32_t result = 0;
    if (control != nullptr && IsWindow(control)) {
      result = SetWindowTextA(control, text != nullptr ? text : "") ? 1 : 0;
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSETCTLTEXT").Raw(HandleText(control)).Text(text), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETCTLTEXT(HWND control, char* out, int32_t outSize) {
  try {
    std::string text;
    if (control != nullptr && IsWindow(control)) text = themecore::WindowText(control);
    return themecore::engine::ReturnTextOut(
        orbtrace::CallLine(kLibrary, "SKGETCTLTEXT").Raw(HandleText(control)), text, out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSETCTLFONT(HWND control, HFONT font) {
  try {
    int32_t result = 0;
    if (control != nullptr && IsWindow(control)) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      result = 1;
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSETCTLFONT").Raw(HandleText(control)).Raw(HandleText(font)),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HWND __stdcall SKPROGRESS32(HWND parent, int32_t id, int32_t x, int32_t y,
                                          int32_t width, int32_t height) {
  try {
    HWND bar = nullptr;
    if (parent != nullptr && IsWindow(parent)) {
      INITCOMMONCONTROLSEX init = {sizeof(init), ICC_PROGRESS_CLASS};
      InitCommonControlsEx(&init);
      bar = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            themecore::EngineInstance(), nullptr);
      if (bar != nullptr) {
        SendMessageA(bar, PBM_SETRANGE32, 0, 100);
        SendMessageA(bar, PBM_SETBARCOLOR, 0, themecore::SkinColour(themecore::colour::kHighlightBack));
        SendMessageA(bar, PBM_SETBKCOLOR, 0, themecore::SkinColour(themecore::colour::kControlBack));
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKPROGRESS32")
                            .Raw(HandleText(parent))
                            .Number(id)
                            .Number(x)
                            .Number(y)
                            .Number(width)
                            .Number(height),
                        HandleText(bar));
    return bar;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKADDSTRINGCOMBO(HWND combo, const char* text) {
  try {
    int32_t index = CB_ERR;
    if (combo != nullptr && text != nullptr && IsWindow(combo)) {
      index = static_cast<int32_t>(SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKADDSTRINGCOMBO").Raw(HandleText(combo)).Text(text), index);
    return index;
  } catch (...) {
    return CB_ERR;
  }
}

THEMECORE_API int32_t __stdcall SKSETCOLOR(HWND control, int32_t textColour, int32_t backColour) {
  try {
    const int32_t result = themecore::SetColours(control, textColour, backColour) ? 1 : 0;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKSETCOLOR")
                            .Raw(HandleText(control))
                            .Number(textColour)
                            .Number(backColour),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETTEXTEXTENT(HWND window, HFONT font, const char* text,
                                                int32_t* width, int32_t* height) {
  try {
    int32_t measuredWidth = 0;
    int32_t measuredHeight = 0;
    const int32_t result =
        themecore::TextExtent(window, font, text, &measuredWidth, &measuredHeight) ? 1 : 0;
    if (width != nullptr) *width = measuredWidth;
    if (height != nullptr) *height = measuredHeight;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETTEXTEXTENT")
                            .Raw(HandleText(window))
                            .Raw(HandleText(font))
                            .Text(text)
                            .Raw("out:" + std::to_string(measuredWidth))
                            .Raw("out:" + std::to_string(measuredHeight)),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}
