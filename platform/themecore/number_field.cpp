// The number field of boxes that ask for a number (SKINPUT) and the placing
// of a box over its owner (SKCENTERWIND).
//
// The field is a plain edit control, so the box sees the usual EN_CHANGE of
// every change and reads the text with GetWindowText; the engine's part is
// what may be typed, the arrows that step the value, and Enter and Escape
// handed to the box, which a dialog-less box would otherwise never see.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "engine_internal.h"
#include "themecore_numberfield.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kFieldProp[] = "themecore.numberfield";

struct NumberField {
  WNDPROC previous = nullptr;
  int32_t minimum = 0, maximum = 0;
};

int16_t Read16(const void* style, size_t offset) {
  int16_t value = 0;
  std::memcpy(&value, static_cast<const uint8_t*>(style) + offset, sizeof(value));
  return value;
}

NumberField* FieldOf(HWND field) { return static_cast<NumberField*>(GetPropA(field, kFieldProp)); }

void StepValue(HWND field, const NumberField& state, int32_t step) {
  char text[32] = {};
  GetWindowTextA(field, text, sizeof(text));
  const long value = std::clamp<long>(std::strtol(text, nullptr, 10) + step, state.minimum, state.maximum);
  SetWindowTextA(field, std::to_string(value).c_str());
  SendMessageA(field, EM_SETSEL, 0, -1);
}

LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  NumberField* state = FieldOf(field);
  if (state == nullptr) return DefWindowProcA(field, message, wParam, lParam);
  const WNDPROC previous = state->previous;
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and Escape are the field's own (they reach the box as its
      // messages), not the dialog manager's default and cancel buttons.
      LRESULT code = CallWindowProcA(previous, field, message, wParam, lParam) | DLGC_WANTARROWS;
      const MSG* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && key->message == WM_KEYDOWN && (key->wParam == VK_RETURN || key->wParam == VK_ESCAPE))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN) {
        StepValue(field, *state, wParam == VK_UP ? 1 : -1);
        return 0;
      }
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        PostMessageA(GetParent(field), wParam == VK_RETURN ? kNumberFieldEnter : kNumberFieldEscape, 0,
                     reinterpret_cast<LPARAM>(field));
        return 0;
      }
      break;
    case WM_CHAR: {
      const char c = static_cast<char>(wParam);
      if (c == '\r' || c == 27) return 0;
      const bool control = c < ' ';
      const bool digit = c >= '0' && c <= '9';
      const bool sign = c == '-' && state->minimum < 0;
      if (!control && !digit && !sign) {
        MessageBeep(MB_OK);
        return 0;
      }
      break;
    }
    case WM_NCDESTROY: {
      RemovePropA(field, kFieldProp);
      SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      delete state;
      return CallWindowProcA(previous, field, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallWindowProcA(previous, field, message, wParam, lParam);
}

HWND MakeField(HWND parent, HFONT font, int32_t id, const void* style) {
  if (parent == nullptr || style == nullptr) return nullptr;
  namespace f = number_field;
  const int32_t minimum = Read16(style, f::kMinimum), maximum = Read16(style, f::kMaximum);
  const int32_t value = std::clamp<int32_t>(Read16(style, f::kValue), std::min(minimum, maximum), std::max(minimum, maximum));
  HWND field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", std::to_string(value).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, Read16(style, f::kX),
                               Read16(style, f::kY), Read16(style, f::kWidth), Read16(style, f::kHeight), parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (field == nullptr) return nullptr;
  if (font != nullptr) SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const int32_t length = Read16(style, f::kLength);
  if (length > 0) SendMessageA(field, EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
  auto* state = new NumberField{nullptr, std::min(minimum, maximum), std::max(minimum, maximum)};
  SetPropA(field, kFieldProp, state);
  state->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FieldProc)));
  return field;
}

}  // namespace

}  // namespace themecore

using themecore::engine::HandleText;

THEMECORE_API HWND __stdcall SKINPUT(HWND parent, HFONT font, int32_t id, const void* style) {
  try {
    HWND field = themecore::MakeField(parent, font, id, style);
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKINPUT").Raw(HandleText(parent)).Number(id),
                        HandleText(field));
    return field;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API int32_t __stdcall SKCENTERWIND(HWND owner, int32_t width, int32_t height, int32_t* x, int32_t* y) {
  if (x == nullptr || y == nullptr) return 0;
  const POINT at = themecore::Placement(owner, {width, height});
  *x = at.x;
  *y = at.y;
  orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKCENTERWIND").Number(width).Number(height), 1);
  return 1;
}
