// The effect box (class LEADTOOLBOX) and the host both boxes run in: the
// parameter block, the modal loop with the main window disabled, the parts
// the two boxes share (buttons, frame, painting, closing), the effect table
// and the commands that open the boxes.  The size box is size_box.cpp.
//
// The preview is the picture shrunk to fit 126 x 126 pixels (a smaller
// picture keeps its size), so every change of the number field re-runs the
// effect at once; the whole picture is read and changed only when the box
// is confirmed, through the same calls, so what the preview shows is what
// the picture gets.
#include <windows.h>

#include <string>
#include <vector>

#include "core/effect_rules.h"
#include "core/item_list.h"
#include "core/text_rules.h"
#include "effect_boxes.h"
#include "imaging.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_numberfield.h"
#include "themecore_popup.h"
#include "themecore_wait.h"
#include "trace_format.h"

namespace paint {

namespace {

constexpr size_t kCaptionsEntry = 12;
constexpr size_t kRangeEntry = 14;
constexpr int32_t kPreviewSide = 128;
constexpr int32_t kPreviewFit = 126;
const char kEffectBoxClass[] = "LEADTOOLBOX";
const char kSizeBoxClass[] = "NEWSIZEBOX";

struct ParameterBlock {
  int32_t first = 0, second = 0, value = 0;
  std::string text;
  int32_t effect = 0, factor = 0;
};
ParameterBlock g_block;

// Where the last box of this run was closed (its frame's top-left).
bool g_hasPlace = false;
POINT g_place = {0, 0};

// Set by a box's WM_DESTROY: the host's loop ends with it.
bool g_boxDestroyed = false;

struct EffectBoxState {
  std::string path;
  int32_t effect = 0, factor = 0, minimum = 0, maximum = 0;
  int32_t lastValue = 0;
  BITMAPHANDLE base = {};  // the picture fitted into the preview
  BITMAPHANDLE work = {};  // the base with the effect
  bool hasPreview = false;
  HWND preview = nullptr, field = nullptr;
  std::vector<HWND> buttons;
  RECT destination = {0, 0, 0, 0};
  HPALETTE palette = nullptr;
  bool created = false;
};
EffectBoxState g_effect;

bool IsRelief(int32_t effect) { return effect >= kEffectFirstEmboss && effect <= kEffectLastEmboss; }
// The effects the number field's value changes: a relief's depth and the
// trim's threshold too, though both are shown at once.
bool TakesValue(int32_t effect) { return IsRelief(effect) || effect == kEffectAutoTrim || !AppliesWithoutValue(effect); }

// The effect the preview base carries from the start: those without a value
// (a relief's depth is its value, so the base of a relief is only grey).
bool PrepareBase(BITMAPHANDLE* base, int32_t effect) {
  if (IsRelief(effect)) return L_GrayScaleBitmap(base, 8) == IMG_SUCCESS;
  if (TakesValue(effect)) return true;
  return ApplyWholeEffect(base, effect, 0, 0);
}

// The work copy made anew from the base, with the value's effect.
void RemakeWorkCopy(int32_t value) {
  EffectBoxState& s = g_effect;
  if (!s.hasPreview) return;
  L_FreeBitmap(&s.work);
  if (L_CopyBitmap(&s.work, &s.base) != IMG_SUCCESS) return;
  if (s.effect == kEffectSaturation) {
    for (int32_t parameter : PlanSaturation(s.factor, 0, value).parameters) L_ChangeBitmapSaturation(&s.work, parameter);
  } else if (TakesValue(s.effect)) {
    ApplyEffect(&s.work, s.effect, s.factor, value);
  }
}

void FitPreview() {
  EffectBoxState& s = g_effect;
  if (s.preview == nullptr) return;
  RemakeWorkCopy(s.lastValue);
  RECT client = {};
  GetClientRect(s.preview, &client);
  int32_t x = 0, y = 0, width = 0, height = 0;
  if (s.hasPreview &&
      SKICONISE(s.work.Width, s.work.Height, client.right, client.bottom, &x, &y, &width, &height) == 1) {
    s.destination = {x, y, x + width, y + height};
  } else {
    s.destination = {0, 0, 0, 0};
  }
  InvalidateRect(s.preview, nullptr, TRUE);
}

void OnValueChanged() {
  EffectBoxState& s = g_effect;
  const int32_t value = FieldValue(box_parts::ControlText(s.field), s.minimum, s.maximum);
  if (value == s.lastValue || !s.hasPreview) {
    s.lastValue = value;
    return;
  }
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  if (s.effect == kEffectSaturation) {
    const SaturationPlan plan = PlanSaturation(s.factor, s.lastValue, value);
    if (plan.fromBase) {
      L_FreeBitmap(&s.work);
      L_CopyBitmap(&s.work, &s.base);
    }
    for (int32_t parameter : plan.parameters) L_ChangeBitmapSaturation(&s.work, parameter);
  } else {
    RemakeWorkCopy(value);
  }
  s.lastValue = value;
  InvalidateRect(s.preview, nullptr, TRUE);
  SetCursor(previous);
}

void StoreResult(int32_t result, const std::string& path) {
  g_block.effect = result;
  g_block.text = path;
}

void ConfirmEffect(HWND box) {
  EffectBoxState& s = g_effect;
  StoreResult(2, "");
  if (s.hasPreview) {
    HCURSOR previous = SetCursor(SKCURSORWAIT());
    const int32_t value = s.field != nullptr ? FieldValue(box_parts::ControlText(s.field), s.minimum, s.maximum)
                                             : s.lastValue;
    BITMAPHANDLE whole = {};
    if (L_LoadBitmap(s.path.c_str(), &whole, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS) {
      // A failed effect or save writes nothing and changes nothing: the
      // caller would otherwise reload a stale working copy.
      if (ApplyWholeEffect(&whole, s.effect, s.factor, value)) {
        const std::string written = SaveAsWorkingCopy(&whole);
        if (!written.empty()) {
          StoreResult(2, written);
          if (ChangesPicture(s.effect, value)) Paint().modifiedFlags |= kPictureChanged;
        }
      }
      L_FreeBitmap(&whole);
    }
    SetCursor(previous);
  }
  PostMessageA(box, WM_CLOSE, 0, 0);
}

// 0x400: the picture's preview, made before the window exists.
void TakePath(const char* text, size_t length) {
  EffectBoxState& s = g_effect;
  L_FreeBitmap(&s.base);
  L_FreeBitmap(&s.work);
  s = EffectBoxState{};
  int32_t first = 0, second = 0, value = 0, effect = 0, factor = 0;
  std::string captions;
  NewSizeExchange(&first, &second, &value, &captions, &effect, &factor, 0);
  s.path.assign(text != nullptr ? text : "", text != nullptr ? length : 0);
  s.effect = effect;
  s.factor = factor;
  s.minimum = first;
  s.maximum = second;
  s.lastValue = value;
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  if (!suite::ExtensionIsOneOf(s.path, kPictureExtensions) || L_FileInfo(s.path.c_str(), &info, 0, nullptr) != IMG_SUCCESS) return;
  if (info.Width < 1 || info.Height < 1) return;
  int32_t x = 0, y = 0, width = 0, height = 0;
  if (SKICONISE(info.Width, info.Height, kPreviewFit, kPreviewFit, &x, &y, &width, &height) != 1) return;
  if (L_LoadBitmap(s.path.c_str(), &s.base, 24, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) return;
  if ((width != s.base.Width || height != s.base.Height) && L_SizeBitmap(&s.base, width, height, SIZE_RESAMPLE) != 1) {
    L_FreeBitmap(&s.base);
    return;
  }
  if (!PrepareBase(&s.base, s.effect)) {
    L_FreeBitmap(&s.base);
    return;
  }
  s.hasPreview = true;
}

void PaintPreview(HWND preview) {
  EffectBoxState& s = g_effect;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(preview, &paint);
  RECT client = {};
  GetClientRect(preview, &client);
  HBRUSH grey = CreateSolidBrush(RGB(223, 223, 223));
  FillRect(dc, &client, grey);
  DeleteObject(grey);
  if (s.hasPreview && s.work.Data != nullptr) {
    if (s.palette == nullptr) s.palette = L_CreatePaintPalette(dc, &s.work);
    HPALETTE old = s.palette != nullptr ? SelectPalette(dc, s.palette, FALSE) : nullptr;
    if (s.palette != nullptr) RealizePalette(dc);
    L_PaintDC(dc, &s.work, nullptr, nullptr, &s.destination, SRCCOPY);
    if (s.palette != nullptr) SelectPalette(dc, old, FALSE);
  }
  EndPaint(preview, &paint);
}

WNDPROC g_previewPrevious = nullptr;

LRESULT CALLBACK PreviewProc(HWND preview, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PaintPreview(preview);
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;
  return CallWindowProcA(g_previewPrevious, preview, message, wParam, lParam);
}

void CreateEffectBox(HWND box) {
  EffectBoxState& s = g_effect;
  if (s.created) return;
  s.created = true;
  int32_t first = 0, second = 0, value = 0, effect = 0, factor = 0;
  std::string captions;
  NewSizeExchange(&first, &second, &value, &captions, &effect, &factor, 0);
  const int32_t buttonWidth = box_parts::ButtonWidth(box, captions);
  s.preview = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN, 5, 5, kPreviewSide, kPreviewSide,
                              box, nullptr, Paint().instance, nullptr);
  if (s.preview != nullptr) {
    g_previewPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(s.preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviewProc)));
  }
  box_parts::MakeButtons(box, captions, 138, 5, buttonWidth);
  const size_t count = suite::ItemFieldCount(captions);
  HWND last = GetDlgItem(box, static_cast<int>(count));
  if (first != 0 || second != 0) {
    const int32_t length = static_cast<int32_t>(std::max(std::to_string(first).size(), std::to_string(second).size()));
    box_parts::FieldStyle style =
        box_parts::NumberFieldStyle(138, 111, buttonWidth, 22, length, first, second, value);
    s.field = SKINPUT(box, SKDEFAULTFONT(), static_cast<int32_t>(count) + 1, style.bytes);
    if (s.field != nullptr) last = s.field;
  }
  box_parts::FrameBox(box, 138 + buttonWidth + 5, 138, last);
}

void DestroyEffectBox(HWND box) {
  EffectBoxState& s = g_effect;
  if (s.preview != nullptr && g_previewPrevious != nullptr)
    SetWindowLongPtrA(s.preview, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previewPrevious));
  if (s.palette != nullptr) DeleteObject(s.palette);
  s.palette = nullptr;
  L_FreeBitmap(&s.base);
  L_FreeBitmap(&s.work);
  s.hasPreview = false;
  s.created = false;
  box_parts::OnDestroy(box);
}

bool RegisterBoxClass(const char* name, WNDPROC procedure) {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExA(Paint().instance, name, &existing)) return true;
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Paint().instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

// Enter and Escape in a box: Escape goes to button 1; Enter on button 1 or 2
// presses it, elsewhere it goes to button 2.  The dialog manager would
// instead send them as its default and cancel buttons (ids 1 and 2, which
// here mean cancel and OK the other way round).
bool TakeBoxKey(HWND box, const MSG& message) {
  if (message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE)) return false;
  if (!IsWindow(box) || (message.hwnd != box && !IsChild(box, message.hwnd))) return false;
  if (message.wParam == VK_ESCAPE) {
    SetFocus(GetDlgItem(box, 1));
    return true;
  }
  HWND focus = GetFocus();
  const int id = focus != nullptr && GetParent(focus) == box ? GetDlgCtrlID(focus) : 0;
  char className[16] = {};
  if (focus != nullptr) GetClassNameA(focus, className, sizeof(className));
  if ((id == 1 || id == 2) && lstrcmpiA(className, "EDIT") != 0) {
    SendMessageA(focus, BM_CLICK, 0, 0);
  } else {
    SetFocus(GetDlgItem(box, 2));
  }
  return true;
}

// The box's own loop.  A WM_QUIT meant for the program (a close command
// that arrived meanwhile) ends the box as cancelled and is posted again for
// the program's loop.
void RunModalLoop(HWND box) {
  MSG message;
  bool quitForProgram = false;
  WPARAM quitCode = 0;
  while (true) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      if (!g_boxDestroyed) {
        quitForProgram = true;
        quitCode = message.wParam;
      }
      break;
    }
    if (TakeBoxKey(box, message)) continue;
    if (IsWindow(box) && IsDialogMessageA(box, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (quitForProgram) {
    if (IsWindow(box)) DestroyWindow(box);
    // Our own box's quit, posted as it went, is taken here.
    MSG rest;
    while (PeekMessageA(&rest, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    PostQuitMessage(static_cast<int>(quitCode));
  }
}

}  // namespace

void NewSizeExchange(int32_t* first, int32_t* second, int32_t* value, std::string* text, int32_t* effect,
                     int32_t* factor, int32_t set) {
  if (set != 0) {
    g_block = {*first, *second, *value, *text, *effect, *factor};
    return;
  }
  *first = g_block.first;
  *second = g_block.second;
  *value = g_block.value;
  *text = g_block.text;
  *effect = g_block.effect;
  *factor = g_block.factor;
}

int32_t EffectBoxHost(std::string* path, const std::string& title, int32_t minimum, int32_t maximum, int32_t* value,
                      int32_t factor, const std::string& captions, int32_t effect) {
  PaintState& p = Paint();
  std::string text = captions;
  int32_t minimumIn = minimum, maximumIn = maximum, effectIn = effect, factorIn = factor;
  NewSizeExchange(&minimumIn, &maximumIn, value, &text, &effectIn, &factorIn, 1);
  const std::string boxTitle = BoxTitle(title, minimum, maximum, p.texts.entry(kRangeEntry));
  const bool sizeBox = effect == kEffectResize || effect == kEffectNewPicture;
  const WNDPROC procedure = sizeBox ? SizeBoxProc : EffectBoxProc;
  const char* className = sizeBox ? kSizeBoxClass : kEffectBoxClass;
  procedure(nullptr, box_parts::kSetPath, reinterpret_cast<WPARAM>(path->c_str()), static_cast<LPARAM>(path->size()));
  if (!RegisterBoxClass(className, procedure)) return 0;
  g_boxDestroyed = false;
  // The skin frame draws the caption: the box has none of its own.
  HWND box = CreateWindowExA(WS_EX_TOOLWINDOW, className, boxTitle.c_str(), WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                             p.mainWindow, nullptr, p.instance, nullptr);
  if (box == nullptr) return 0;
  EnableWindow(p.mainWindow, FALSE);
  if (!sizeBox) SendMessageA(box, box_parts::kFitPreview, 0, 0);
  TraceProgramCall("EffectBoxHost", orbtrace::QuoteText(*path) + ", " + std::to_string(effect), "open");
  RunModalLoop(box);
  EnableWindow(p.mainWindow, TRUE);
  SetActiveWindow(p.mainWindow);
  int32_t first = 0, second = 0, valueOut = 0, result = 0, factorOut = 0;
  NewSizeExchange(&first, &second, &valueOut, path, &result, &factorOut, 0);
  TraceProgramCall("EffectBoxHost", orbtrace::QuoteText(*path), std::to_string(result));
  return result;
}

bool ApplyEffect(BITMAPHANDLE* bitmap, int32_t effect, int32_t factor, int32_t value) {
  const int32_t p = EffectParameter(effect, factor, value);
  L_INT result = -1;
  switch (effect) {
    case 1: result = L_ChangeBitmapContrast(bitmap, p); break;
    case 2: result = L_ChangeBitmapIntensity(bitmap, p); break;
    case 3: result = L_ChangeBitmapHue(bitmap, p); break;
    case kEffectSaturation: result = L_ChangeBitmapSaturation(bitmap, p); break;
    case kEffectGamma: result = L_GammaCorrectBitmap(bitmap, p); break;
    case kEffectInvert: result = L_InvertBitmap(bitmap); break;
    case kEffectGrey: result = L_GrayScaleBitmap(bitmap, 8); break;
    case 8: result = L_HistoContrastBitmap(bitmap, p); break;
    case 9: result = L_HistoEqualizeBitmap(bitmap); break;
    case 10: result = L_StretchBitmapIntensity(bitmap); break;
    case 11: result = L_SharpenBitmap(bitmap, p); break;
    case kEffectSolarize: result = L_SolarizeBitmap(bitmap, p); break;
    case kEffectPosterize: result = L_PosterizeBitmap(bitmap, p); break;
    case 14: result = L_MosaicBitmap(bitmap, p); break;
    case 15: result = L_AverageFilterBitmap(bitmap, p); break;
    case 16: result = L_MedianFilterBitmap(bitmap, p); break;
    case 25: result = L_OilifyBitmap(bitmap, p); break;
    case 26: result = L_FlipBitmap(bitmap); break;
    case 27: result = L_ReverseBitmap(bitmap); break;
    case kEffectRotateLeft: result = L_RotateBitmap(bitmap, -9000, ROTATE_RESIZE, RGB(0, 0, 0)); break;
    case kEffectRotateRight: result = L_RotateBitmap(bitmap, 9000, ROTATE_RESIZE, RGB(0, 0, 0)); break;
    case kEffectAutoTrim: result = L_AutoTrimBitmap(bitmap, p); break;
    case 32:
      result = L_HistoEqualizeBitmap(bitmap);
      if (result == IMG_SUCCESS) result = L_StretchBitmapIntensity(bitmap);
      if (result == IMG_SUCCESS) result = L_SharpenBitmap(bitmap, 20);
      break;
    default:
      if (IsRelief(effect)) result = L_EmbossBitmap(bitmap, EmbossDirection(effect), p);
      break;
  }
  return result > 0;
}

bool ApplyWholeEffect(BITMAPHANDLE* bitmap, int32_t effect, int32_t factor, int32_t value) {
  if (IsRelief(effect)) {
    return L_GrayScaleBitmap(bitmap, 8) == IMG_SUCCESS && ApplyEffect(bitmap, effect, factor, value);
  }
  if (effect == kEffectSaturation) {
    for (int32_t parameter : PlanSaturation(factor, 0, value).parameters)
      if (L_ChangeBitmapSaturation(bitmap, parameter) != IMG_SUCCESS) return false;
    return true;
  }
  return ApplyEffect(bitmap, effect, factor, value);
}

std::string EffectSourceFile() {
  PaintState& p = Paint();
  std::string source = p.workingCopy.empty() ? p.sourceFile : p.workingCopy;
  if (!source.empty() && !suite::ExtensionIsOneOf(source, kPictureExtensions) && p.pictureWidth > 0 && WriteWorkingCopy()) {
    source = p.workingCopy;
  }
  return source;
}

bool RunEffectCommand(int32_t id) {
  const auto command = EffectBoxOfCommand(id);
  if (!command || command->effect == kEffectNewPicture) return false;
  PaintState& p = Paint();
  FlushWorkingCopy();
  std::string path = EffectSourceFile();
  int32_t value = command->value;
  const int32_t result = EffectBoxHost(&path, MenuTextOf(id), command->minimum, command->maximum, &value,
                                       command->factor, p.texts.entry(kCaptionsEntry), command->effect);
  if (result > 1 && !path.empty()) {
    p.workingCopy = path;
    LoadPictureIntoCanvas(p.workingCopy);
    p.redEye.Flushed();
    UpdateCaptionAndStatus();
  }
  return true;
}

LRESULT CALLBACK EffectBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case box_parts::kSetPath:
      TakePath(reinterpret_cast<const char*>(wParam), static_cast<size_t>(lParam));
      return 0;
    case WM_CREATE:
      CreateEffectBox(box);
      return 0;
    case box_parts::kFitPreview:
      FitPreview();
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (g_effect.field != nullptr && reinterpret_cast<HWND>(lParam) == g_effect.field) {
        if (HIWORD(wParam) == EN_CHANGE) OnValueChanged();
        return 0;
      }
      if (id == 2) {
        ConfirmEffect(box);
      } else if (id == 1 || id == kSkinFrameCloseId) {
        StoreResult(1, "");
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
      if (wParam == VK_TAB && g_effect.field != nullptr) SetFocus(g_effect.field);
      return 0;
    case WM_PAINT:
      box_parts::PaintBackground(box, 138 + 10, 111 - 40);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE:
      box_parts::OnClose(box);
      break;
    case WM_DESTROY:
      DestroyEffectBox(box);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(box, message, wParam, lParam);
}

namespace box_parts {

int32_t ButtonWidth(HWND owner, const std::string& captions) {
  int32_t widest = 0;
  SKSPLITS(captions.c_str(), "|", owner, SKDEFAULTFONT(), nullptr, 0, &widest);
  return widest + 40;
}

void MakeButtons(HWND box, const std::string& captions, int32_t x, int32_t y, int32_t width) {
  const size_t count = suite::ItemFieldCount(captions);
  for (size_t k = 1; k <= count; ++k) {
    SKBUT3D(box, suite::ItemField(captions, k).c_str(), SKCAPTIONFONT(), x, y + 25 * static_cast<int32_t>(k - 1), width,
            22, static_cast<int32_t>(k), 0);
  }
}

void FrameBox(HWND box, int32_t clientWidth, int32_t clientHeight, HWND focus) {
  const int32_t outerWidth = clientWidth + SKGETSYSTEMMETRICS(4) + SKGETSYSTEMMETRICS(5);
  const int32_t outerHeight = clientHeight + SKGETSYSTEMMETRICS(1) + SKGETSYSTEMMETRICS(6);
  int32_t x = g_place.x, y = g_place.y;
  if (!g_hasPlace) SKCENTERWIND(Paint().mainWindow, outerWidth, outerHeight, &x, &y);
  SKPOPUPCONTAINER(box, "", x, y, clientWidth, clientHeight, nullptr, 0, 0);
  if (focus != nullptr) SetFocus(focus);
}

void PaintBackground(HWND box, int32_t iconX, int32_t iconY) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  RECT client = {};
  GetClientRect(box, &client);
  HBITMAP back = SKCTLBACK();
  if (back == nullptr || SKTILEBLT(dc, 0, 0, client.right, client.bottom, back) == 0) {
    HBRUSH brush = CreateSolidBrush(SKGETSYSCOLOR(112));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
  }
  if (HICON icon = static_cast<HICON>(LoadImageA(Paint().instance, "PROGRAM", IMAGE_ICON, 32, 32, 0))) {
    DrawIconEx(dc, iconX, iconY, icon, 32, 32, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
  }
  EndPaint(box, &paint);
}

void OnClose(HWND box) {
  HWND frame = GetParent(box);
  RECT rect = {};
  if (GetWindowRect(frame != nullptr ? frame : box, &rect)) {
    g_place = {rect.left, rect.top};
    g_hasPlace = true;
  }
  EnableWindow(Paint().mainWindow, TRUE);
}

void OnDestroy(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
    SKDELETEMEMBMP(child);
  g_boxDestroyed = true;
  PostQuitMessage(0);
}

FieldStyle NumberFieldStyle(int32_t x, int32_t y, int32_t width, int32_t height, int32_t length, int32_t minimum,
                            int32_t maximum, int32_t value) {
  FieldStyle style;
  auto put16 = [&](size_t offset, int32_t v) {
    const uint16_t bits = static_cast<uint16_t>(static_cast<int16_t>(v));
    style.bytes[offset] = static_cast<uint8_t>(bits & 0xFF);
    style.bytes[offset + 1] = static_cast<uint8_t>(bits >> 8);
  };
  namespace f = themecore::number_field;
  put16(f::kX, x);
  put16(f::kY, y);
  put16(f::kLength, length);
  put16(f::kWidth, width);
  put16(f::kHeight, height);
  put16(36, 10);
  style.bytes[40] = 2;
  put16(f::kMinimum, minimum);
  put16(f::kMaximum, maximum);
  put16(f::kValue, value);
  const uint32_t white = RGB(255, 255, 255);
  for (size_t i = 0; i < 4; ++i) style.bytes[12 + i] = static_cast<uint8_t>(white >> (8 * i));
  return style;
}

std::string ControlText(HWND control) {
  char text[64] = {};
  if (control != nullptr) GetWindowTextA(control, text, sizeof(text));
  return text;
}

}  // namespace box_parts

}  // namespace paint
