// The size box (class NEWSIZEBOX): a width and a height for a resize of the
// picture file (effect 33) or for a new blank picture (effect 34, command
// 102), with a check box that keeps the proportions of the reference size
// (the picture's, or the screen's for a new picture).  It runs in the host of
// effect_box.cpp.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/effect_rules.h"
#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/picture_files.h"
#include "core/text_rules.h"
#include "effect_boxes.h"
#include "imaging.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_numberfield.h"
#include "themecore_popup.h"
#include "themecore_wait.h"

namespace paint {

// A bitmap as the new unnamed picture (picture_commands.cpp).
void TakeAsUnnamedPicture(BITMAPHANDLE* bitmap);

namespace {

constexpr size_t kCaptionsEntry = 12;
constexpr size_t kKeepProportionsEntry = 28;
constexpr size_t kWidthEntry = 29;
constexpr size_t kHeightEntry = 30;
constexpr int kCheckId = 3, kWidthId = 4, kHeightId = 5;
constexpr int32_t kInnerHeight = 138;

struct SizeBoxState {
  std::string path;
  int32_t effect = 0;
  int32_t referenceWidth = 0, referenceHeight = 0;
  bool pictureKnown = false;
  HWND check = nullptr, width = nullptr, height = nullptr;
  bool echoing = false;  // while one field is written from the other
  int32_t buttonWidth = 0;
};
SizeBoxState g_size;

void TakePath(const char* text, size_t length) {
  SizeBoxState& s = g_size;
  s = SizeBoxState{};
  int32_t first = 0, second = 0, value = 0, factor = 0;
  std::string captions;
  NewSizeExchange(&first, &second, &value, &captions, &s.effect, &factor, 0);
  s.path.assign(text != nullptr ? text : "", text != nullptr ? length : 0);
  if (s.effect == kEffectNewPicture) {
    s.referenceWidth = GetSystemMetrics(SM_CXSCREEN);
    s.referenceHeight = GetSystemMetrics(SM_CYSCREEN);
    return;
  }
  // An unknown size leaves both references 0: the proportions are then not
  // kept rather than divided by nothing.
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  if (suite::ExtensionIsOneOf(s.path, kPictureExtensions) && L_FileInfo(s.path.c_str(), &info, 0, nullptr) == IMG_SUCCESS &&
      info.Width > 0 && info.Height > 0) {
    s.referenceWidth = info.Width;
    s.referenceHeight = info.Height;
    s.pictureKnown = true;
  }
}

HWND MakeLabel(HWND box, const std::string& text, int32_t x, int32_t y, int32_t width) {
  HWND label = CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE, x, y, width, 17, box, nullptr,
                               Paint().instance, nullptr);
  if (label != nullptr) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(SKCAPTIONFONT()), FALSE);
  return label;
}

void CreateSizeBox(HWND box) {
  SizeBoxState& s = g_size;
  PaintState& p = Paint();
  int32_t first = 0, second = 0, value = 0, effect = 0, factor = 0;
  std::string captions;
  NewSizeExchange(&first, &second, &value, &captions, &effect, &factor, 0);
  const int32_t bw = box_parts::ButtonWidth(box, captions);
  s.buttonWidth = bw;
  box_parts::MakeButtons(box, captions, bw + 10, 5, bw);
  const int32_t buttons = static_cast<int32_t>(std::max<size_t>(1, suite::ItemFieldCount(captions)));
  s.check = CreateWindowExA(0, "BUTTON", p.texts.entry(kKeepProportionsEntry).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 5, 5 + 25 * (buttons - 1) + 22 + 10,
                            2 * bw, 20, box, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCheckId)), p.instance, nullptr);
  if (s.check != nullptr) {
    SendMessageA(s.check, WM_SETFONT, reinterpret_cast<WPARAM>(SKCAPTIONFONT()), FALSE);
    SendMessageA(s.check, BM_SETCHECK, s.effect == kEffectNewPicture ? BST_UNCHECKED : BST_CHECKED, 0);
  }
  MakeLabel(box, p.texts.entry(kWidthEntry), 7, kInnerHeight - 44, bw);
  MakeLabel(box, p.texts.entry(kHeightEntry), bw + 12, kInnerHeight - 44, bw);
  const int32_t largest = std::min(kLargestSide, 9999);
  box_parts::FieldStyle widthStyle =
      box_parts::NumberFieldStyle(5, kInnerHeight - 27, bw, 22, 4, 0, largest, s.referenceWidth);
  box_parts::FieldStyle heightStyle =
      box_parts::NumberFieldStyle(bw + 10, kInnerHeight - 27, bw, 22, 4, 0, largest, s.referenceHeight);
  s.echoing = true;
  s.width = SKINPUT(box, SKDEFAULTFONT(), kWidthId, widthStyle.bytes);
  s.height = SKINPUT(box, SKDEFAULTFONT(), kHeightId, heightStyle.bytes);
  s.echoing = false;
  box_parts::FrameBox(box, 2 * bw + 15, kInnerHeight, s.height);
}

// A new width gives the height that keeps the proportions, and the other
// way round; only the field the user is in counts, so the other field's
// echo changes nothing.
void OnSideChanged(HWND field) {
  SizeBoxState& s = g_size;
  if (s.echoing || field != GetFocus()) return;
  if (s.check == nullptr || SendMessageA(s.check, BM_GETCHECK, 0, 0) != BST_CHECKED) return;
  const bool isWidth = field == s.width;
  const int32_t side = FieldValue(box_parts::ControlText(field), 0, kLargestSide);
  const auto other = isWidth ? ProportionalSide(side, s.referenceWidth, s.referenceHeight)
                             : ProportionalSide(side, s.referenceHeight, s.referenceWidth);
  if (!other) return;
  s.echoing = true;
  SetWindowTextA(isWidth ? s.height : s.width, std::to_string(*other).c_str());
  s.echoing = false;
}

void StoreSize(int32_t width, int32_t height, int32_t result, const std::string& path) {
  int32_t value = 0, factor = 0;
  std::string text = path;
  NewSizeExchange(&width, &height, &value, &text, &result, &factor, 1);
}

void ConfirmSize(HWND box) {
  SizeBoxState& s = g_size;
  const int32_t width = FieldValue(box_parts::ControlText(s.width), 0, kLargestSide);
  const int32_t height = FieldValue(box_parts::ControlText(s.height), 0, kLargestSide);
  StoreSize(width, height, 2, "");
  if (s.effect == kEffectResize && s.pictureKnown && IsUsablePictureSize(width, height)) {
    HCURSOR previous = SetCursor(SKCURSORWAIT());
    BITMAPHANDLE bitmap = {};
    if (L_LoadBitmap(s.path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS) {
      // Nothing is written when the resize or the save fails.
      if (L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE) == IMG_SUCCESS) {
        const std::string written = SaveAsWorkingCopy(&bitmap);
        if (!written.empty()) {
          StoreSize(width, height, 2, written);
          Paint().modifiedFlags |= kPictureChanged;
        }
      }
      L_FreeBitmap(&bitmap);
    }
    SetCursor(previous);
  }
  PostMessageA(box, WM_CLOSE, 0, 0);
}

}  // namespace

LRESULT CALLBACK SizeBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  SizeBoxState& s = g_size;
  switch (message) {
    case box_parts::kSetPath:
      TakePath(reinterpret_cast<const char*>(wParam), static_cast<size_t>(lParam));
      return 0;
    case WM_CREATE:
      CreateSizeBox(box);
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      if (control != nullptr && (control == s.width || control == s.height)) {
        if (HIWORD(wParam) == EN_CHANGE) OnSideChanged(control);
        return 0;
      }
      if (id == 2) {
        ConfirmSize(box);
      } else if (id == 1 || id == kSkinFrameCloseId) {
        StoreSize(0, 0, 1, "");
        PostMessageA(box, WM_CLOSE, 0, 0);
      }
      return 0;
    }
    case kNumberFieldEnter:
      SetFocus(GetDlgItem(box, 2));
      return 0;
    case kNumberFieldEscape:
      SetFocus(GetDlgItem(box, 1));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) SetFocus(GetDlgItem(box, 1));
      if (wParam == VK_RETURN) SetFocus(GetDlgItem(box, 2));
      if (wParam == VK_TAB && s.height != nullptr) SetFocus(s.height);
      return 0;
    case WM_PAINT:
      box_parts::PaintBackground(box, (s.buttonWidth + 10 - 32) / 2, 12);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      SetTextColor(reinterpret_cast<HDC>(wParam), SKGETSYSCOLOR(113));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE:
      box_parts::OnClose(box);
      break;
    case WM_DESTROY:
      s.check = s.width = s.height = nullptr;
      box_parts::OnDestroy(box);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(box, message, wParam, lParam);
}

LRESULT NewPictureCommand() {
  PaintState& p = Paint();
  std::string path;
  int32_t value = 0;
  if (EffectBoxHost(&path, MenuTextOf(102), 0, 0, &value, 0, p.texts.entry(kCaptionsEntry), kEffectNewPicture) != 2)
    return 0;
  int32_t width = 0, height = 0, result = 0, factor = 0;
  std::string text;
  NewSizeExchange(&width, &height, &value, &text, &result, &factor, 0);
  if (!IsUsablePictureSize(width, height)) return 0;
  SaveChangesPrompt();
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) == IMG_SUCCESS) {
    if (HDC lead = L_CreateLeadDC(&bitmap)) {
      const RECT all = {0, 0, width, height};
      FillRect(lead, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      L_DeleteLeadDC(lead);
    }
    TakeAsUnnamedPicture(&bitmap);
    L_FreeBitmap(&bitmap);
    if (!p.workingCopy.empty()) {
      p.pictureList = InsertListEntry(p.pictureList, p.workingCopy, p.pictureIndex);
      p.pictureIndex = std::max(1, p.pictureIndex);
      p.pictureCount = static_cast<int32_t>(PictureCountOf(p.pictureList));
    }
  }
  SetCursor(previous);
  return 0;
}

}  // namespace paint
