// What the text box and the shape box share: their captions, the colour
// row (picker and swatch, the alpha/red/green/blue track bars with their
// captions and value fields, the "3D" box), the button row, the class
// registration, the box fonts and the modal loop.  Each box lays these out
// and handles the rest itself (text_box.cpp, shape_box.cpp).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/box_rules.h"
#include "core/item_list.h"
#include "image_functions.h"
#include "colour_tools.h"
#include "object_boxes.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace paint {

namespace {

BoxLabelTexts& Labels() {
  static BoxLabelTexts labels;
  return labels;
}

HWND MakeStatic(HWND parent, const std::string& text, DWORD exStyle, int32_t x, int32_t y, int32_t width,
                int32_t height, int id) {
  HWND label = CreateWindowExA(exStyle, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, x, y, width,
                               height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               Paint().instance, nullptr);
  if (label != nullptr) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), FALSE);
  return label;
}

int32_t FieldNumber(HWND field) {
  char text[16] = {};
  GetWindowTextA(field, text, sizeof(text));
  return std::atoi(text);
}

}  // namespace

void SetBoxLabels(const std::string& colourNames, const std::string& sizeLabel, const std::string& shadowLabel) {
  BoxLabelTexts& labels = Labels();
  if (!colourNames.empty()) labels.colourNames = colourNames;
  if (!sizeLabel.empty()) labels.sizeLabel = sizeLabel;
  if (!shadowLabel.empty()) labels.shadowLabel = shadowLabel;
}

const BoxLabelTexts& BoxLabels() { return Labels(); }

void CreateColourRow(HWND box, int32_t x, int32_t y, uint32_t argb, int32_t shadow, ColourRow* row) {
  row->components[0] = static_cast<uint8_t>(argb >> 24);
  row->components[1] = static_cast<uint8_t>(argb >> 16);
  row->components[2] = static_cast<uint8_t>(argb >> 8);
  row->components[3] = static_cast<uint8_t>(argb);
  const COLORREF colour = RGB(row->components[1], row->components[2], row->components[3]);
  row->picker = CreateColorPicker(box, x, y, nullptr);
  RECT pickerRect = {0, 0, 132, 100};
  if (row->picker != nullptr) GetWindowRect(row->picker, &pickerRect);
  const int32_t pickerWidth = pickerRect.right - pickerRect.left;
  const int32_t pickerHeight = pickerRect.bottom - pickerRect.top;
  row->swatch = CreateColorSwatch(box, x, y + pickerHeight, pickerWidth, 12, kIdSwatch, colour);

  // Four track bars side by side under the swatch, each as wide as a
  // quarter of the picker but never narrower than its caption.
  std::vector<std::string> names = suite::SplitCommaList(BoxLabels().colourNames);
  names.resize(4);
  int32_t trackWidth = (pickerWidth - 6) / 4;
  int32_t textHeight = 13;
  for (const std::string& name : names) {
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(box, SKDEFAULTFONT(), name.empty() ? " " : name.c_str(), &width, &height);
    trackWidth = std::max(trackWidth, width + 2);
    textHeight = std::max(textHeight, height);
  }
  int32_t top = y + pickerHeight + 12 + 2;
  for (int i = 0; i < 4; ++i) {
    const int32_t left = x + i * (trackWidth + 2);
    HWND caption = MakeStatic(box, names[static_cast<size_t>(i)], 0, left, top, trackWidth, textHeight, -1);
    if (caption != nullptr) SKSETCOLOR(caption, SKGETSYSCOLOR(113), -1);
    row->tracks[i] = SKTRACKBAR(box, 1, nullptr, left, top + textHeight, ByteToTrack(row->components[i]),
                                kIdAlphaTrack + i, nullptr);
    if (row->tracks[i] != nullptr) MoveWindow(row->tracks[i], left, top + textHeight, trackWidth, 20, FALSE);
    row->fields[i] = MakeStatic(box, std::to_string(row->components[i]), WS_EX_STATICEDGE, left,
                                top + textHeight + 22, trackWidth, textHeight + 2, kIdAlphaField + i);
    if (row->fields[i] != nullptr) SKSETCOLOR(row->fields[i], SKGETSYSCOLOR(101), SKGETSYSCOLOR(103));
  }
  const int32_t checkTop = top + textHeight + 22 + textHeight + 2 + 4;
  row->shadowBox = SKCHECKBUTTON(box, BoxLabels().shadowLabel.c_str(), SKDEFAULTFONT(), x, checkTop,
                                 std::max(pickerWidth, 4 * trackWidth + 6), textHeight + 4, kIdShadowBox, 0);
  if (row->shadowBox != nullptr) SKSETCHECK(row->shadowBox, shadow != 0 ? 1 : 0);
  row->width = std::max(pickerWidth, 4 * trackWidth + 6);
  row->bottom = checkTop + textHeight + 4;
}

bool OnColourRowCommand(HWND box, ColourRow* row, int32_t id) {
  if (id == kIdShadowBox) {
    RepaintWindow(box, false);
    return true;
  }
  if (id < kIdAlphaTrack || id > kIdBlueTrack) return false;
  const int i = id - kIdAlphaTrack;
  row->components[i] = TrackToByte(SKGETTRACKPOS(row->tracks[i]));
  SKSETCTLTEXT(row->fields[i], std::to_string(row->components[i]).c_str());
  if (i > 0) SetSwatchColour(row->swatch, RGB(row->components[1], row->components[2], row->components[3]));
  RepaintWindow(box, false);
  return true;
}

uint32_t TrackArgb(const ColourRow& row) {
  uint8_t c[4];
  for (int i = 0; i < 4; ++i) c[i] = TrackToByte(SKGETTRACKPOS(row.tracks[i]));
  return suite::ImgArgbFromColor(c[0], RGB(c[1], c[2], c[3]));
}

uint32_t FieldArgb(const ColourRow& row) {
  int32_t c[4];
  for (int i = 0; i < 4; ++i) c[i] = FieldNumber(row.fields[i]) & 255;
  return suite::ImgArgbFromColor(static_cast<uint8_t>(c[0]), RGB(c[1], c[2], c[3]));
}

int32_t ShadowOf(const ColourRow& row) { return row.shadowBox != nullptr && SKGETCHECK(row.shadowBox) != 0 ? 2 : 0; }

ButtonRow MeasureButtons(HWND window, const std::string& buttons) {
  ButtonRow row;
  row.captions = suite::SplitItemList(buttons);
  std::erase_if(row.captions, [](const std::string& caption) { return caption.empty(); });
  if (row.captions.empty()) row.captions.push_back("  Ok  ");
  int32_t spaceWidth = 0, spaceHeight = 0;
  SKGETTEXTEXTENT(window, SKCAPTIONFONT(), " ", &spaceWidth, &spaceHeight);
  for (const std::string& caption : row.captions) {
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(window, SKCAPTIONFONT(), caption.c_str(), &width, &height);
    row.widths.push_back(width + 2 * spaceWidth + 6);
    row.height = std::max(row.height, height + 6);
    row.width += width + 2 * spaceWidth + 6;
  }
  row.width += 4 * static_cast<int32_t>(row.captions.size() - 1);
  return row;
}

std::vector<HWND> CreateButtons(HWND box, const ButtonRow& row, int32_t centreX, int32_t y) {
  std::vector<HWND> buttons;
  int32_t left = centreX - row.width / 2;
  for (size_t i = 0; i < row.captions.size(); ++i) {
    buttons.push_back(SKBUT3D(box, row.captions[i].c_str(), SKCAPTIONFONT(), left, y, row.widths[i], row.height,
                              kIdFirstButton + static_cast<int>(i), 0));
    left += row.widths[i] + 4;
  }
  return buttons;
}

bool RegisterBoxClass(const char* name, WNDPROC procedure, UINT style) {
  if (SKCHECKCLASS(name) != 0) return true;
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = style;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = Paint().instance;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  return SKREGISTERCLASS(&windowClass, name) != 0;
}

HFONT CreateBoxFont(HWND box, const std::string& family, int32_t points) {
  HDC dc = GetDC(box);
  const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ReleaseDC(box, dc);
  return CreateFontA(-(points * dpi) / 72, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, family.c_str());
}

void RunBoxLoop(HWND box, HWND owner, bool repaintAfterKeys, const bool* closing) {
  const bool disablesOwner = owner != nullptr && IsWindowEnabled(owner);
  if (disablesOwner) EnableWindow(owner, FALSE);
  MSG message = {};
  bool quit = false;
  while (!*closing) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      quit = true;
      break;
    }
    // Escape closes the box without its values.  The dialog manager would
    // turn it into command 2, which is the box's OK button.
    if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
        GetAncestor(message.hwnd, GA_ROOT) == GetAncestor(box, GA_ROOT)) {
      PostMessageA(box, WM_CLOSE, 0, 0);
      continue;
    }
    if (SKDIALOGMESSAGE(Paint().mainWindow, &message) == 0 && !IsDialogMessageA(box, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (repaintAfterKeys && (message.message == WM_KEYDOWN || message.message == WM_CHAR) && IsWindow(box)) {
      RepaintWindow(box, false);
    }
  }
  if (IsWindow(box)) DestroyWindow(box);
  if (owner != nullptr && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    RepaintWindow(owner, true);
  }
  // A quit that arrived while the box ran belongs to the program's loop.
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void CloseBox(HWND box, HWND owner) {
  if (owner != nullptr && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  DestroyWindow(box);
}

void PaintBoxBackground(HDC dc, int32_t width, int32_t height) {
  HBITMAP tile = SKCTLBACK();
  if (tile == nullptr || SKTILEBLT(dc, 0, 0, width, height, tile) == 0) {
    SKFILLRECT(dc, 0, 0, width, height, SKGETSYSCOLOR(112));
  }
}

HWND MakeBoxList(HWND box, DWORD style, int32_t x, int32_t y, int32_t width, int32_t height, int id) {
  return CreateWindowExA(WS_EX_CLIENTEDGE, "COMBOBOX", "", style, x, y, width, height, box,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Paint().instance, nullptr);
}

std::string ListText(HWND list, LRESULT index) {
  if (index < 0) return "";
  return themecore::FetchText([&](char* out, int32_t size) {
    return SKGETTEXTCOMBO(list, static_cast<int32_t>(index), out, size);
  });
}

std::string SelectedText(HWND list) { return ListText(list, SendMessageA(list, CB_GETCURSEL, 0, 0)); }

void SelectEntry(HWND list, const std::string& text) {
  const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(list, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

HWND CoverListTop(HWND list, const std::string& text, int id) {
  COMBOBOXINFO info = {};
  info.cbSize = sizeof(info);
  if (GetComboBoxInfo(list, &info) && info.hwndItem != nullptr) ShowWindow(info.hwndItem, SW_HIDE);
  RECT client = {};
  GetClientRect(list, &client);
  HWND caption = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 2, 2,
                                 std::max<int32_t>(client.right - 4, 1), 16, list,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Paint().instance, nullptr);
  if (caption != nullptr) {
    SendMessageA(caption, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), FALSE);
    SKSETCOLOR(caption, SKGETSYSCOLOR(101), SKGETSYSCOLOR(104));
  }
  return caption;
}

void ShowBoxCentred(HWND box, HWND owner, int32_t clientWidth, int32_t clientHeight) {
  RECT ownerRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) GetWindowRect(owner, &ownerRect);
  const int32_t x = std::max<int32_t>(0, ownerRect.left + (ownerRect.right - ownerRect.left - clientWidth) / 2);
  const int32_t y = std::max<int32_t>(0, ownerRect.top + (ownerRect.bottom - ownerRect.top - clientHeight) / 2);
  SKPOPUPCONTAINER(box, "", x, y, clientWidth, clientHeight, nullptr, 0, 0);
}

bool AnswerBoxControlMessage(UINT message, WPARAM wParam, LPARAM lParam, int32_t textHeight, HBRUSH listBrush,
                             LRESULT* result) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType == ODT_COMBOBOX) item->itemHeight = static_cast<UINT>(textHeight + 1);
      *result = TRUE;
      return true;
    }
    case WM_CTLCOLORLISTBOX:
      *result = reinterpret_cast<LRESULT>(listBrush);
      return true;
    case WM_CTLCOLORSTATIC:
      *result = reinterpret_cast<LRESULT>(SKCTLCOLORSTATIC(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      return true;
    case WM_CTLCOLORBTN:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      *result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return true;
    default:
      return false;
  }
}

void FreeBoxParts(HWND box, const std::vector<HWND>& buttons, HBRUSH* listBrush) {
  for (HWND button : buttons) {
    if (button != nullptr) SKDELETEMEMBMP(button);
  }
  if (*listBrush != nullptr) DeleteObject(*listBrush);
  *listBrush = nullptr;
  SKFREEOBJECTCOLOR(box);
  SKFREEOBJECTFONT(box);
}

}  // namespace paint
