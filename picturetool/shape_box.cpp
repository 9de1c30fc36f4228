// The shape box (class SKDRAWBOX): the modal box in which the user chooses
// the pen width, colour and shadow of an ellipse, rectangle, curve, arrow
// or polyline, with a sample of the shape drawn as the object will be.  It
// is the text box without its text parts: the pen-width list at the left
// (disabled for filled styles), the colour row and the buttons
// (box_parts.cpp).
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/box_rules.h"
#include "image_functions.h"
#include "object_boxes.h"
#include "overlay_draw.h"
#include "themecore.h"
#include "themecore_popup.h"

namespace paint {

namespace {

constexpr char kBoxClass[] = "SKDRAWBOX";
constexpr int32_t kControlsTop = 108;
constexpr int32_t kListHeight = 194;

struct ShapeBoxState {
  HWND box = nullptr, owner = nullptr;
  bool closing = false;
  int32_t result = 0;
  BoxSettingsRecord values;
  HWND sizeList = nullptr, sizeCaption = nullptr;
  std::vector<HWND> buttons;
  ColourRow colour;
  HBRUSH listBrush = nullptr;
  int32_t textHeight = 16;
};

ShapeBoxState& Box() {
  static ShapeBoxState state;
  return state;
}

// The values the controls hold: the pen width of the list (or the one the
// box came with when the list has none selected), the colour of the value
// fields and the shadow.
BoxSettingsRecord ReadShapeBoxValues(const ShapeBoxState& s) {
  BoxSettingsRecord read = s.values;
  read.size = ChosenSize(std::atoi(SelectedText(s.sizeList).c_str()), s.values.size, 1);
  read.colour = FieldArgb(s.colour);
  read.shadow = ShadowOf(s.colour);
  return read;
}

LRESULT PaintPreview(HWND box) {
  const ShapeBoxState& s = Box();
  PAINTSTRUCT paint = {};
  HDC dc = BeginPaint(box, &paint);
  RECT client = {};
  GetClientRect(box, &client);
  HDC off = SKOFFSCREEN(dc, client.right, client.bottom, 1);
  HDC target = off != nullptr ? off : dc;
  PaintBoxBackground(target, client.right, client.bottom);
  const BoxSettingsRecord read = ReadShapeBoxValues(s);
  const ShapeSample sample = SampleFor(s.values.word, client.right, read.shadow, read.size);
  const int16_t points[4] = {sample.x1, sample.y1, sample.x2, sample.y2};
  overlay::ObfDrawShape(target, sample.x, sample.y, 2, points, read.colour, read.shadow, sample.penWidth,
                        static_cast<uint32_t>(sample.kind) | (static_cast<uint32_t>(sample.style) << 16));
  if (off != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  EndPaint(box, &paint);
  return 0;
}

bool BuildBox(ShapeBoxState& s) {
  int32_t www = 0;
  SKGETTEXTEXTENT(s.box, SKDEFAULTFONT(), "WWW", &www, &s.textHeight);
  const int32_t sizeWidth = www + GetSystemMetrics(SM_CXVSCROLL) + 4;
  const ButtonRow buttons = MeasureButtons(s.box, s.values.buttons);
  s.listBrush = CreateSolidBrush(static_cast<COLORREF>(SKGETSYSCOLOR(104)));
  s.sizeList = MakeBoxList(s.box, 0x50210651, 4, kControlsTop, sizeWidth, kListHeight, kIdSizeList);
  if (s.sizeList == nullptr) return false;
  CreateColourRow(s.box, 4 + sizeWidth + 4 + 4, kControlsTop, s.values.colour, s.values.shadow, &s.colour);
  const int32_t clientWidth =
      std::max(buttons.width + 8, sizeWidth + 4 + 4 + std::max(128, s.colour.width + 4) + 4 + 2 * GetSystemMetrics(SM_CXEDGE));
  const int32_t buttonTop = kControlsTop + kListHeight + 4 + 4;
  const int32_t clientHeight = std::max(kControlsTop + 227 + 4, buttonTop + buttons.height + 8);
  s.buttons = CreateButtons(s.box, buttons, clientWidth / 2, buttonTop);

  for (int size = 1; size <= 512; ++size) SKADDSTRINGCOMBO(s.sizeList, std::to_string(size).c_str());
  SelectEntry(s.sizeList, std::to_string(s.values.size));
  s.sizeCaption = CoverListTop(s.sizeList, BoxLabels().sizeLabel, kIdSizeCaption);
  if (IsFilledStyle(static_cast<uint16_t>(s.values.word >> 16))) EnableWindow(s.sizeList, FALSE);

  ShowBoxCentred(s.box, s.owner, clientWidth, clientHeight);
  SetFocus(IsWindowEnabled(s.sizeList) ? s.sizeList : s.colour.tracks[1]);
  return true;
}

void OnOk(ShapeBoxState& s) {
  BoxSettingsRecord chosen = ReadShapeBoxValues(s);
  chosen.buttons.clear();
  chosen.owner = kBoxOk;
  s.values = chosen;
  Paint().boxSettings = chosen;
  s.result = kBoxOk;
  PostMessageA(s.box, WM_CLOSE, static_cast<WPARAM>(GetDlgCtrlID(GetFocus())), 0);
}

LRESULT OnBoxCommand(HWND box, WPARAM wParam) {
  ShapeBoxState& s = Box();
  const int32_t id = LOWORD(wParam);
  if (id == kIdSizeList) {
    if (HIWORD(wParam) == CBN_SELCHANGE) RepaintWindow(box, false);
    return 0;
  }
  if (OnColourRowCommand(box, &s.colour, id)) return 0;
  if (id == kIdFirstButton) {
    OnOk(s);
  } else if (id == kSkinFrameCloseId || (id > kIdFirstButton && id < kIdFirstButton + 32)) {
    PostMessageA(box, WM_CLOSE, 0, 0);
  }
  return 0;
}

LRESULT CALLBACK ShapeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  ShapeBoxState& s = Box();
  LRESULT answer = 0;
  if (AnswerBoxControlMessage(message, wParam, lParam, s.textHeight, s.listBrush, &answer)) return answer;
  switch (message) {
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_COMMAND:
      return OnBoxCommand(box, wParam);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return PaintPreview(box);
    case WM_CLOSE:
      CloseBox(box, s.owner);
      return 0;
    case WM_DESTROY:
      FreeBoxParts(box, s.buttons, &s.listBrush);
      s.closing = true;
      return 0;
    default:
      return DefWindowProcA(box, message, wParam, lParam);
  }
}

}  // namespace

int32_t RunShapeBox(HWND owner, const std::string& title, BoxSettingsRecord* settings) {
  ShapeBoxState& s = Box();
  if (s.box != nullptr || settings == nullptr) return 0;
  if (!RegisterBoxClass(kBoxClass, ShapeBoxProc, CS_VREDRAW | CS_HREDRAW)) return 0;
  s = ShapeBoxState{};
  s.owner = owner;
  s.values = *settings;
  if (s.values.fontFamily.empty()) s.values.fontFamily = "Arial";
  if (s.values.size <= 0) s.values.size = 1;
  if (s.values.colour == 0) s.values.colour = suite::ImgArgbFromColor(255, static_cast<COLORREF>(SKGETSYSCOLOR(101)));
  s.values.shadow = s.values.shadow != 0 ? 2 : 0;
  Paint().boxSettings = s.values;
  s.box = CreateWindowExA(0, kBoxClass, title.c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner, nullptr,
                          Paint().instance, nullptr);
  if (s.box == nullptr) return 0;
  if (!BuildBox(s)) {
    DestroyWindow(s.box);
    s = ShapeBoxState{};
    return 0;
  }
  RunBoxLoop(s.box, owner, false, &s.closing);
  const int32_t result = s.result;
  if (result == kBoxOk) *settings = s.values;
  TraceProgramCall("RunShapeBox", std::to_string(settings->word), result == kBoxOk ? "2" : "0");
  s = ShapeBoxState{};
  return result;
}

}  // namespace paint
