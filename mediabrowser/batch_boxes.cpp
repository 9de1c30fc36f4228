// The two boxes of the batch picture work: the picture-type box (class
// PICTURETYPE: the types in an always-open list, the chosen one's extension
// on the line above it, a row of buttons) and the new-size box (class
// NEWSIZEBOX: width and height fields, keep-proportions check box, a column
// of buttons beside the program icon).  Each is a popup in the skin
// engine's frame with a modal loop of its own, the owner disabled
// meanwhile.  Their layouts are core/picture_boxes'.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "batch.h"
#include "browser_state.h"
#include "core/item_list.h"
#include "core/picture_boxes.h"
#include "core/text_rules.h"
#include "orbboxes.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace browser {

namespace {

constexpr char kPictureTypeClass[] = "PICTURETYPE";
constexpr char kNewSizeClass[] = "NEWSIZEBOX";
constexpr int kComboId = 1;
constexpr int kFirstButtonId = 2;

// ---------------------------------------------------------------------------
// What both boxes share.

int32_t TextWidth(HWND window, HFONT font, const std::string& text, int32_t* height = nullptr) {
  int32_t width = 0, textHeight = 0;
  SKGETTEXTEXTENT(window, font, text.empty() ? " " : text.c_str(), &width, &textHeight);
  if (height != nullptr) *height = textHeight;
  return text.empty() ? 0 : width;
}

int32_t WidestText(HWND window, HFONT font, const std::vector<std::string>& texts) {
  int32_t widest = 0;
  for (const std::string& text : texts) widest = std::max(widest, TextWidth(window, font, text));
  return widest;
}

// The frame's position for a box of the given inner size.
POINT CentredOn(HWND owner, int32_t innerWidth, int32_t innerHeight) {
  return CentredBoxPlace(owner, innerWidth + SKGETSYSTEMMETRICS(4) + SKGETSYSTEMMETRICS(5),
                         innerHeight + SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(6));
}

// The program's style record while skinned buttons are made: the engine
// reads their colours from it.
class ButtonStyle {
 public:
  ButtonStyle(COLORREF text, COLORREF face) : style_(suite::boxes::CurrentBoxContext().style), saved_(style_) {
    style_.colour1 = text;
    style_.colour2 = face;
    style_.boxKind = 1;
    style_.makingButton = 1;
  }
  ~ButtonStyle() { style_ = saved_; }
  ButtonStyle(const ButtonStyle&) = delete;
  ButtonStyle& operator=(const ButtonStyle&) = delete;
  intptr_t record() { return reinterpret_cast<intptr_t>(&style_); }

 private:
  suite::boxes::MessageBoxStyle& style_;
  suite::boxes::MessageBoxStyle saved_;
};

void PaintSkinBackground(HWND box, const std::function<void(HDC)>& more = {}) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  if (dc == nullptr) return;
  RECT client = {};
  GetClientRect(box, &client);
  if (HBITMAP tile = SKCTLBACK()) {
    SKTILEBLT(dc, 0, 0, client.right, client.bottom, tile);
  } else {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  }
  if (more) more(dc);
  EndPaint(box, &paint);
}

bool RegisterBoxClass(const char* name, UINT style, WNDPROC procedure) {
  if (SKCHECKCLASS(name) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = Browser().instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  return SKREGISTERCLASS(&windowClass, name) != 0;
}

// The modal loop of a box: runs until the box is gone, however it went (a
// button, its frame's close box, a WM_CLOSE sent or posted from outside).
// Enter and Escape press the given buttons.  A quit that arrives meanwhile
// closes the box and is posted again for the program's own loop.
void RunModalLoop(HWND box, HWND owner, int enterButton, int escapeButton) {
  const bool disablesOwner = owner != nullptr && IsWindowEnabled(owner);
  if (disablesOwner) EnableWindow(owner, FALSE);
  MSG message = {};
  while (IsWindow(box)) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (IsWindow(box)) DestroyWindow(box);
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (message.message == WM_KEYDOWN && (message.hwnd == box || IsChild(box, message.hwnd))) {
      int button = message.wParam == VK_RETURN ? enterButton : message.wParam == VK_ESCAPE ? escapeButton : 0;
      HWND control = button != 0 ? GetDlgItem(box, button) : nullptr;
      if (control != nullptr) {
        SendMessageA(control, BM_CLICK, 0, 0);
        continue;
      }
    }
    if (IsDialogMessageA(box, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (disablesOwner && IsWindow(owner)) EnableWindow(owner, TRUE);
  if (owner != nullptr && IsWindow(owner)) SetActiveWindow(owner);
}

// ---------------------------------------------------------------------------
// The picture-type box.

struct PictureTypeStore {
  std::string buttons;
  int32_t result = 0;
  std::string value;
};
PictureTypeStore g_typeStore;

struct PictureTypeBox {
  HWND box = nullptr;
  HWND combo = nullptr;
  HWND line = nullptr;
  HBRUSH brush = nullptr;
  std::vector<HWND> buttons;
  std::vector<PictureTypeEntry> entries;
};
PictureTypeBox g_typeBox;

// The value of the entry the list has selected; "" when the line above it
// is empty (nothing chosen yet).
std::string SelectedTypeValue() {
  char shown[MAX_PATH] = "";
  if (g_typeBox.line != nullptr) GetWindowTextA(g_typeBox.line, shown, sizeof(shown));
  if (suite::TrimBlanks(shown).empty()) return std::string();
  LRESULT index = SendMessageA(g_typeBox.combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::string();
  // Each item keeps the index of its entry: the list sorts its texts, so the
  // place an item was added at says nothing once others are added.
  LRESULT entry = SendMessageA(g_typeBox.combo, CB_GETITEMDATA, index, 0);
  if (entry < 0 || static_cast<size_t>(entry) >= g_typeBox.entries.size()) return std::string();
  return g_typeBox.entries[static_cast<size_t>(entry)].value;
}

void ShowSelectedType() {
  LRESULT index = SendMessageA(g_typeBox.combo, CB_GETCURSEL, 0, 0);
  LRESULT entry = index == CB_ERR ? -1 : SendMessageA(g_typeBox.combo, CB_GETITEMDATA, index, 0);
  std::string shown;
  if (entry >= 0 && static_cast<size_t>(entry) < g_typeBox.entries.size()) {
    shown = PictureTypeLine(g_typeBox.entries[static_cast<size_t>(entry)].display);
  }
  if (g_typeBox.line != nullptr) SetWindowTextA(g_typeBox.line, shown.c_str());
}

void ClosePictureType(int32_t result) {
  std::string value = SelectedTypeValue();
  PictureTypeParams(nullptr, &result, &value, 1);
  PostMessageA(g_typeBox.box, WM_CLOSE, 0, 0);
}

void BuildPictureTypeBox(HWND box, HWND owner, const std::string& buttons, const std::string& types) {
  g_typeBox.box = box;
  HFONT captionFont = SKCAPTIONFONT();
  std::vector<std::string> captions = suite::SplitItemList(buttons);
  int32_t textHeight = 0;
  int32_t space = TextWidth(box, captionFont, " ", &textHeight);
  ComboBoxLayout layout =
      LayoutComboBox(WidestText(box, captionFont, captions), space, textHeight, static_cast<int32_t>(captions.size()));
  SetWindowPos(box, nullptr, 0, 0, layout.innerWidth, layout.innerHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);

  const BoxRect& c = layout.combo;
  g_typeBox.combo = CreateWindowExA(WS_EX_CLIENTEDGE, "COMBOBOX", "",
                                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_SIMPLE | CBS_OWNERDRAWFIXED |
                                        CBS_AUTOHSCROLL | CBS_SORT | CBS_HASSTRINGS | CBS_NOINTEGRALHEIGHT,
                                    c.x, c.y, c.width, c.height, box,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), Browser().instance, nullptr);
  HFONT font = SKDEFAULTFONT();
  SendMessageA(g_typeBox.combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The typing line is not used: a static over it shows the choice.
  HWND edit = FindWindowExA(g_typeBox.combo, nullptr, "Edit", nullptr);
  RECT editClient = {0, 0, c.width - 8, 16};
  if (edit != nullptr) {
    GetClientRect(edit, &editClient);
    ShowWindow(edit, SW_HIDE);
  }
  g_typeBox.line = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 2, 2, editClient.right + 2, 16,
                                   g_typeBox.combo, nullptr, Browser().instance, nullptr);
  SendMessageA(g_typeBox.line, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  g_typeBox.brush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(104)));

  {
    ButtonStyle style(RGB(0, 0, 0), GetSysColor(COLOR_MENU));
    for (size_t i = 0; i < captions.size(); ++i) {
      const BoxRect& r = layout.buttons[i];
      g_typeBox.buttons.push_back(SKBUT3D(box, captions[i].c_str(), captionFont, r.x, r.y, r.width, r.height,
                                          kFirstButtonId + static_cast<int>(i), style.record()));
    }
  }
  g_typeBox.entries = ParsePictureTypeList(types);
  for (size_t i = 0; i < g_typeBox.entries.size(); ++i) {
    int32_t index = SKADDSTRINGCOMBO(g_typeBox.combo, g_typeBox.entries[i].display.c_str());
    if (index >= 0) SendMessageA(g_typeBox.combo, CB_SETITEMDATA, index, static_cast<LPARAM>(i));
  }
  POINT at = CentredOn(owner, layout.innerWidth, layout.innerHeight);
  SKPOPUPCONTAINER(box, "", at.x, at.y, layout.innerWidth, layout.innerHeight, nullptr, 0, 0);
  SetFocus(g_typeBox.combo);
}

LRESULT CALLBACK PictureTypeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(g_typeBox.brush);
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
      SetBkColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(104)));
      return reinterpret_cast<LRESULT>(g_typeBox.brush);
    }
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX) break;
      int32_t height = 0;
      TextWidth(window, SKDEFAULTFONT(), "Ag", &height);
      item->itemHeight = static_cast<UINT>(height + 1);
      return TRUE;
    }
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_PAINT:
      PaintSkinBackground(window);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == kComboId) {
        if (HIWORD(wParam) == CBN_SELCHANGE) ShowSelectedType();
        if (HIWORD(wParam) == CBN_DBLCLK) ClosePictureType(1);
        return 0;
      }
      if (id == kFirstButtonId || id == kFirstButtonId + 1) {
        ClosePictureType(id - kFirstButtonId + 1);
        return 0;
      }
      if (id == kSkinFrameCloseId) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    }
    case WM_CLOSE:
      // The owner comes back before the box goes, so that Windows does not
      // hand the activation to another program meanwhile.
      if (HWND owner = GetWindow(GetAncestor(window, GA_ROOT), GW_OWNER)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
      }
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      for (HWND button : g_typeBox.buttons) {
        if (button != nullptr) SKDELETEMEMBMP(button);
      }
      if (g_typeBox.brush != nullptr) DeleteObject(g_typeBox.brush);
      g_typeBox = PictureTypeBox{};
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The new-size box.

struct NewSizeStore {
  int32_t width = 0;
  int32_t height = 0;
  std::string buttons;
  intptr_t number = 0;  // the owner before the box, the result after it
  bool keepAspect = true;
};
NewSizeStore g_sizeStore;

void NewSizeParams(int32_t* width, int32_t* height, std::string* text, intptr_t* number, bool* check,
                   int32_t store) {
  if (store != 0) {
    if (width != nullptr) g_sizeStore.width = *width;
    if (height != nullptr) g_sizeStore.height = *height;
    if (text != nullptr) g_sizeStore.buttons = *text;
    if (number != nullptr) g_sizeStore.number = *number;
    if (check != nullptr) g_sizeStore.keepAspect = *check;
    return;
  }
  if (width != nullptr) *width = g_sizeStore.width;
  if (height != nullptr) *height = g_sizeStore.height;
  if (text != nullptr) *text = g_sizeStore.buttons;
  if (number != nullptr) *number = g_sizeStore.number;
  if (check != nullptr) *check = g_sizeStore.keepAspect;
}

// Where the box was last closed, for the life of the program.
struct RememberedPlace {
  bool known = false;
  POINT at = {};
};
RememberedPlace g_sizePlace;

struct NewSizeBoxState {
  HWND box = nullptr;
  int buttonCount = 0;
  std::vector<HWND> buttons;
  NewSizeLayout layout;
};
NewSizeBoxState g_sizeBox;

int CheckBoxId() { return g_sizeBox.buttonCount + 1; }
int WidthFieldId() { return g_sizeBox.buttonCount + 2; }
int HeightFieldId() { return g_sizeBox.buttonCount + 3; }

std::string ControlText(int id) {
  char text[32] = "";
  GetWindowTextA(GetDlgItem(g_sizeBox.box, id), text, sizeof(text));
  return text;
}

void CloseNewSize(int button) {
  bool keepAspect = SendMessageA(GetDlgItem(g_sizeBox.box, CheckBoxId()), BM_GETCHECK, 0, 0) == BST_CHECKED;
  intptr_t result = button;
  int32_t width = 0, height = 0;
  if (button == 2) {
    width = NewSizeFieldValue(ControlText(WidthFieldId()));
    height = NewSizeFieldValue(ControlText(HeightFieldId()));
  }
  NewSizeParams(&width, &height, nullptr, &result, &keepAspect, 1);
  PostMessageA(g_sizeBox.box, WM_CLOSE, 0, 0);
}

HWND MakeLabel(HWND box, const std::string& text, const BoxRect& r) {
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, r.x, r.y, r.width, r.height, box,
                               nullptr, Browser().instance, nullptr);
  SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(SKCAPTIONFONT()), FALSE);
  return label;
}

HWND MakeNumberField(HWND box, int id, int32_t value, const BoxRect& r) {
  HWND field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", std::to_string(value).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL, r.x, r.y, r.width,
                               r.height, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               Browser().instance, nullptr);
  SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), FALSE);
  SendMessageA(field, EM_LIMITTEXT, 4, 0);
  return field;
}

void BuildNewSizeBox(HWND box, HWND owner) {
  BrowserState& b = Browser();
  g_sizeBox.box = box;
  int32_t width = 0, height = 0;
  std::string buttons;
  NewSizeParams(&width, &height, &buttons, nullptr, nullptr, 0);
  std::vector<std::string> captions = suite::SplitItemList(buttons);
  g_sizeBox.buttonCount = static_cast<int>(captions.size());
  HFONT captionFont = SKCAPTIONFONT();
  g_sizeBox.layout = LayoutNewSizeBox(WidestText(box, captionFont, captions), g_sizeBox.buttonCount);
  const NewSizeLayout& layout = g_sizeBox.layout;
  SetWindowPos(box, nullptr, 0, 0, layout.innerWidth, layout.innerHeight, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  {
    ButtonStyle style(GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DFACE));
    for (size_t i = 0; i < captions.size(); ++i) {
      const BoxRect& r = layout.buttons[i];
      g_sizeBox.buttons.push_back(SKBUT3D(box, captions[i].c_str(), captionFont, r.x, r.y, r.width, r.height,
                                          static_cast<int>(i) + 1, style.record()));
    }
  }
  const BoxRect& check = layout.checkBox;
  HWND checkBox = CreateWindowExA(0, "BUTTON", b.texts.entry(54).c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                  BS_AUTOCHECKBOX, check.x, check.y, check.width, check.height, box,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(CheckBoxId())), b.instance, nullptr);
  SendMessageA(checkBox, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), FALSE);
  SendMessageA(checkBox, BM_SETCHECK, BST_CHECKED, 0);
  MakeLabel(box, b.texts.entry(55), layout.widthLabel);
  MakeLabel(box, b.texts.entry(56), layout.heightLabel);
  MakeNumberField(box, WidthFieldId(), width, layout.widthField);
  HWND heightField = MakeNumberField(box, HeightFieldId(), height, layout.heightField);

  POINT at = g_sizePlace.known ? g_sizePlace.at : CentredOn(owner, layout.innerWidth, layout.innerHeight);
  SKPOPUPCONTAINER(box, "", at.x, at.y, layout.innerWidth, layout.innerHeight, nullptr, 0, 0);
  SetFocus(heightField);
  SendMessageA(heightField, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK NewSizeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintSkinBackground(window, [](HDC dc) {
        const BoxRect& icon = g_sizeBox.layout.icon;
        if (Browser().icon != nullptr) {
          DrawIconEx(dc, icon.x, icon.y, Browser().icon, icon.width, icon.height, 0, nullptr, DI_NORMAL);
        }
      });
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, static_cast<COLORREF>(SKGETSYSCOLOR(113)));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id == 1 || id == 2) {
        CloseNewSize(id);
      } else if (id == kSkinFrameCloseId) {
        CloseNewSize(1);
      }
      return 0;
    }
    case WM_CLOSE: {
      HWND frame = GetAncestor(window, GA_ROOT);
      RECT placed = {};
      if (frame != nullptr && GetWindowRect(frame, &placed)) {
        g_sizePlace.known = true;
        g_sizePlace.at = {placed.left, placed.top};
      }
      if (HWND owner = GetWindow(frame, GW_OWNER)) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
      }
      DestroyWindow(window);
      return 0;
    }
    case WM_DESTROY:
      for (HWND button : g_sizeBox.buttons) {
        if (button != nullptr) SKDELETEMEMBMP(button);
      }
      g_sizeBox = NewSizeBoxState{};
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void PictureTypeParams(std::string* text, int32_t* number, std::string* text2, int32_t store) {
  if (store != 0) {
    if (text != nullptr) g_typeStore.buttons = *text;
    if (number != nullptr) g_typeStore.result = *number;
    if (text2 != nullptr) g_typeStore.value = *text2;
    return;
  }
  if (text != nullptr) *text = g_typeStore.buttons;
  if (number != nullptr) *number = g_typeStore.result;
  if (text2 != nullptr) *text2 = g_typeStore.value;
}

int32_t PickPictureType(HWND owner, const std::string& caption, const std::string& buttons, std::string* types) {
  if (types == nullptr || g_typeBox.box != nullptr) return 0;
  std::string storedButtons = buttons;
  int32_t result = 0;
  PictureTypeParams(&storedButtons, &result, types, 1);
  if (!RegisterBoxClass(kPictureTypeClass, CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW,
                        PictureTypeProc)) {
    return 0;
  }
  HWND box = CreateWindowExA(0, kPictureTypeClass, caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, owner,
                             nullptr, Browser().instance, nullptr);
  if (box == nullptr) return 0;
  // The value stays empty until an entry is chosen and confirmed.
  std::string none;
  PictureTypeParams(nullptr, nullptr, &none, 1);
  BuildPictureTypeBox(box, owner, buttons, *types);
  RunModalLoop(box, owner, kFirstButtonId, kFirstButtonId + 1);
  PictureTypeParams(nullptr, &result, types, 0);
  return result;
}

int32_t NewSizeBox(HWND owner, const std::string& caption, int32_t* width, int32_t* height,
                   const std::string& buttons, bool* keepAspect) {
  if (width == nullptr || height == nullptr || g_sizeBox.box != nullptr) return 1;
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
  std::string storedButtons = buttons;
  intptr_t number = reinterpret_cast<intptr_t>(owner);
  bool ticked = true;
  NewSizeParams(width, height, &storedButtons, &number, &ticked, 1);
  if (!RegisterBoxClass(kNewSizeClass, CS_HREDRAW | CS_VREDRAW, NewSizeProc)) return 1;
  HWND box = CreateWindowExA(WS_EX_TOOLWINDOW, kNewSizeClass, caption.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                             owner, nullptr, Browser().instance, nullptr);
  if (box == nullptr) return 1;
  BuildNewSizeBox(box, owner);
  RunModalLoop(box, owner, 2, 1);
  NewSizeParams(width, height, nullptr, &number, &ticked, 0);
  // Anything but a confirmation is a cancel, with no size.
  const int32_t result = number == 2 ? 2 : 1;
  if (result != 2) *width = *height = 0;
  if (keepAspect != nullptr) *keepAspect = ticked;
  return result;
}

}  // namespace browser
