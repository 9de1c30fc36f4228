// skSkinWindow: a top-level window of the host becomes a skinned one: its
// record, the engine's style without the system frame, caption buttons,
// the frame procedure, its child controls, a size that keeps its client
// area inside the skin's frame, and its opening effect.  Also the table of
// skinned windows and the lookups the other parts use.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/frame_rules.h"
#include "core/opening_effects.h"
#include "core/window_tree.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"

namespace skinning {

namespace {

class SystemWindowTree : public WindowTree {
 public:
  WindowId ParentOf(WindowId window) const override {
    return reinterpret_cast<WindowId>(GetParent(reinterpret_cast<HWND>(window)));
  }
  bool IsPopup(WindowId window) const override {
    return (GetWindowLongA(reinterpret_cast<HWND>(window), GWL_STYLE) & WS_POPUP) != 0;
  }
};

std::string ClassNameOf(HWND window) {
  char name[260] = {};
  const int length = GetClassNameA(window, name, sizeof(name));
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsEzGuiClass(const std::string& className) {
  if (className.size() < 6) return false;
  std::string start = className.substr(0, 6);
  CharUpperBuffA(start.data(), static_cast<DWORD>(start.size()));
  return start == "EZGUI_";
}

// Everything of skSkinWindow after the checks.
void SkinWindow(HWND window, const char* tips, int32_t effect) {
  const std::string className = ClassNameOf(window);
  const uint32_t initialExStyle = static_cast<uint32_t>(GetWindowLongA(window, GWL_EXSTYLE));
  const uint32_t initialStyle = static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE));
  RECT windowRect;
  RECT clientRect;
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &clientRect);

  auto record = std::make_shared<WindowRecord>();
  record->window = window;
  record->initialExStyle = initialExStyle;
  if (IsEzGuiClass(className)) effect = kEffectSnapshotLater;
  record->effect = effect;
  SkinnedWindows().push_back(record);

  const int32_t xOffset = 0;
  int32_t yOffset = MovesOffScreen(effect) ? GetSystemMetrics(SM_CYVIRTUALSCREEN) : 0;

  const uint32_t exStyle = SkinnedExStyle(initialExStyle);
  if (exStyle != initialExStyle) SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
  record->toolCaption = HasToolCaption(initialStyle);
  record->modalFrame = HasModalFrame(initialStyle);
  record->initialStyle = initialStyle;
  SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(SkinnedStyle(initialStyle)));

  HMENU menu = GetMenu(window);
  record->frameFlags = FrameFlags(initialStyle, menu != nullptr);
  SKWINDOWSTYLE(static_cast<int32_t>(record->frameFlags));
  CreateCaptionButtons(record);
  record->previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameWindowProc)));

  if (GetParent(window) == nullptr) {
    record->menu = menu;
    SKSETNEWFRAME(window);
  }
  if (tips != nullptr && tips[0] != '\0') CaptionTipsText(tips);
  EnumChildWindows(window, SkinChildProc, 0);

  const int32_t captionHeight =
      GetSystemMetrics((initialExStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
  const SkinMetrics metrics = ReadSkinMetrics();
  const Rect placed = {windowRect.left, windowRect.top, windowRect.right, windowRect.bottom};
  SkinnedPlacement placement =
      PlaceSkinnedWindow(placed, clientRect.right, clientRect.bottom, captionHeight, metrics,
                         record->menu != nullptr, GetSystemMetrics(SM_CYMENU));
  record->borderWidth = static_cast<int16_t>(placement.borderWidth);
  record->extraTop = static_cast<int16_t>(placement.extraTop);
  if (record->menu != nullptr) {
    const Rect& bar = placement.menuBar;
    record->menuBar = MoveMenuToBar(window, record->menu, bar.left + xOffset, bar.top + yOffset,
                                           bar.width(), bar.height());
    if (record->menuBar == nullptr) {
      // No bar: the window keeps its menu and the frame makes no room for one.
      placement = PlaceSkinnedWindow(placed, clientRect.right, clientRect.bottom, captionHeight,
                                     metrics, false, GetSystemMetrics(SM_CYMENU));
    } else {
      AttachThreadInput(GetWindowThreadProcessId(window, nullptr),
                        GetWindowThreadProcessId(record->menuBar, nullptr), TRUE);
    }
  }
  if (effect == kEffectSnapshotLater && SkinnedWindows().size() > 1) {
    yOffset = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    record->offScreenOffset = yOffset;
  }
  SetWindowPos(window, nullptr, placement.left, placement.top + yOffset, placement.width,
               placement.height, SWP_NOZORDER | SWP_FRAMECHANGED);
  SetupCaption(record);

  if (effect == kEffectSnapshotLater) {
    PostMessageA(window, kMsgSnapshotReady, 0, 0);
  } else if (effect > kEffectNone) {
    ShowWindow(window, SW_SHOW);
    const LPARAM offsets = static_cast<LPARAM>(static_cast<uint32_t>(xOffset & 0xFFFF) |
                                               (static_cast<uint32_t>(yOffset & 0xFFFF) << 16));
    PostMessageA(window, kMsgOpeningEffect, static_cast<WPARAM>(effect), offsets);
  }
}

}  // namespace

std::vector<WindowRecordPtr>& SkinnedWindows() {
  static std::vector<WindowRecordPtr> table;
  return table;
}

WindowRecordPtr FindWindowRecord(HWND window) {
  if (window == nullptr) return nullptr;
  for (const WindowRecordPtr& record : SkinnedWindows()) {
    if (record->window == window) return record;
  }
  return nullptr;
}

size_t FindSkinnedWindow(HWND window) {
  const auto& table = SkinnedWindows();
  for (size_t i = 0; i < table.size(); ++i) {
    if (window != nullptr && table[i]->window == window) return i + 1;
  }
  return 0;
}

void RemoveWindowRecord(HWND window) {
  auto& table = SkinnedWindows();
  auto found = std::find_if(table.begin(), table.end(),
                            [window](const WindowRecordPtr& r) { return r->window == window; });
  if (found != table.end()) table.erase(found);
}

HWND TopLevelOwner(HWND window) {
  return reinterpret_cast<HWND>(
      skinning::TopLevelOwner(SystemWindowTree(), reinterpret_cast<WindowId>(window)));
}

SkinMetrics ReadSkinMetrics() {
  SkinMetrics m;
  m.captionBand = SKGETSYSTEMMETRICS(1);
  m.leftFrame = SKGETSYSTEMMETRICS(4);
  m.rightFrame = SKGETSYSTEMMETRICS(5);
  m.bottomFrame = SKGETSYSTEMMETRICS(6);
  m.buttonWidth = SKGETSYSTEMMETRICS(7);
  m.buttonHeight = SKGETSYSTEMMETRICS(8);
  m.buttonsRight = SKGETSYSTEMMETRICS(9);
  m.buttonTop = SKGETSYSTEMMETRICS(10);
  m.titleX = SKGETSYSTEMMETRICS(11);
  m.titleY = SKGETSYSTEMMETRICS(12);
  m.iconX = SKGETSYSTEMMETRICS(16);
  m.iconY = SKGETSYSTEMMETRICS(21);
  m.ledY = SKGETSYSTEMMETRICS(22);
  m.menuBar = SKGETSYSTEMMETRICS(26);
  return m;
}

std::string WindowTextOf(HWND window) {
  return themecore::FetchText([window](char* out, int32_t size) { return SKGETCTLTEXT(window, out, size); });
}

SIZE WindowSize(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT CallPrevious(const WindowRecord& record, HWND window, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  if (record.previousProc == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(record.previousProc, window, message, wParam, lParam);
}

}  // namespace skinning

THEMEAPI_API int32_t __stdcall skSkinWindow(HWND window, const char* captionTips,
                                            int32_t openingEffect) {
  try {
    if (window == nullptr || GetWindowLongA(window, GWL_STYLE) == 0) return 0;
    // A window skinned before stays as it is: skinning it again would read
    // the skinned style as its own and subclass the frame procedure with
    // itself.
    if (skinning::FindSkinnedWindow(window) != 0) return 1;
    if (skinning::StartSkinEngine() == 0) return 0;
    skinning::SkinWindow(window, captionTips, openingEffect);
    return 1;
  } catch (...) {
    return 0;
  }
}
