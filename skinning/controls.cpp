// The child controls of a skinned window: each descendant gets a kind from
// its class (core/control_kinds), its preparation (control_prepare.cpp), a
// record in the control table and the subclass procedure
// ControlWindowProc.  While its window is shown from its picture (the
// capture), a control neither erases nor paints; otherwise its look is
// control_paint.cpp's.  Also the no-skin list (skSkinDisable, skSkinEnable)
// and skChildOffset.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "core/control_kinds.h"
#include "core/opening_effects.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"

namespace skinning {

namespace {

// `NoSkinList`: (control, its top-level owner when it was put on the list).
std::vector<std::pair<HWND, HWND>> g_noSkin;

bool HeaderHasPictures(HWND header) {
  const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    HDITEMA item = {};
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    if (item.fmt & (HDF_OWNERDRAW | HDF_BITMAP | HDF_BITMAP_ON_RIGHT | HDF_IMAGE)) return true;
  }
  return false;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void AddSkinnedControl(HWND window, int32_t kind) {
  ControlRecord record;
  record.window = window;
  record.kind = kind;
  if (kind == kGroupBox) GetClientRect(window, &record.rect);
  SkinnedControls().push_back(record);
  const WNDPROC previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlWindowProc)));
  for (ControlRecord& added : SkinnedControls()) {
    if (added.window == window && added.previousProc == nullptr) {
      added.previousProc = previous;
      break;
    }
  }
}

void RemoveControlRecord(HWND window) {
  auto& table = SkinnedControls();
  auto found = std::find_if(table.begin(), table.end(),
                            [window](const ControlRecord& r) { return r.window == window; });
  if (found != table.end()) table.erase(found);
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ControlRecord* found = FindControlRecord(window);
  if (found == nullptr) return 0;
  const ControlRecord control = *found;  // the table may change while the message runs
  WindowRecordPtr owner = FindWindowRecord(TopLevelOwner(window));
  const bool captured = owner != nullptr && IsShownFromPicture(*owner);
  switch (message) {
    case WM_ERASEBKGND:
      if (captured) return 1;
      break;
    case WM_NCPAINT:
      if (captured) return 0;
      break;
    case WM_PAINT:
      if (captured) {
        // The picture shows it: its update region is only validated.
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return 0;
      }
      break;
    case WM_DESTROY:
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control.previousProc));
      if (control.kind == kPushButton) SKDELETEMEMBMP(window);
      ForgetPopupState(window);
      RemoveControlRecord(window);
      return CallWindowProcA(control.previousProc, window, message, wParam, lParam);
    default:
      break;
  }
  LRESULT result = 0;
  if (HandleControlMessage(control, owner, message, wParam, lParam, &result)) {
    if (message == WM_ERASEBKGND && owner != nullptr && owner->effect == kEffectSnapshotLater) {
      CopyToFrameBitmap(owner, window);
    }
    return result;
  }
  const bool snapshotLater = owner != nullptr && owner->effect == kEffectSnapshotLater;
  if (message == WM_ERASEBKGND && snapshotLater) CopyToFrameBitmap(owner, window);
  if (message == WM_PAINT && snapshotLater) {
    result = CallWindowProcA(control.previousProc, window, message, wParam, lParam);
    CopyToFrameBitmap(owner, window);
    return result;
  }
  return CallWindowProcA(control.previousProc, window, message, wParam, lParam);
}

}  // namespace

std::vector<ControlRecord>& SkinnedControls() {
  static std::vector<ControlRecord> table;
  return table;
}

const ControlRecord* FindControlRecord(HWND window) {
  if (window == nullptr) return nullptr;
  for (const ControlRecord& record : SkinnedControls()) {
    if (record.window == window) return &record;
  }
  return nullptr;
}

int32_t MaySkin(HWND window) {
  for (const auto& [control, owner] : g_noSkin) {
    if (control == window) return owner == TopLevelOwner(window) ? 0 : -1;
  }
  return -1;
}

void ForgetNoSkinEntriesOf(HWND owner) {
  g_noSkin.erase(std::remove_if(g_noSkin.begin(), g_noSkin.end(),
                                [owner](const std::pair<HWND, HWND>& entry) { return entry.second == owner; }),
                 g_noSkin.end());
}

BOOL CALLBACK SkinChildProc(HWND child, LPARAM) {
  char className[32] = {};
  if (GetClassNameA(child, className, sizeof(className)) == 0) return TRUE;
  if (MaySkin(child) == 0) return TRUE;
  if (FindControlRecord(child) != nullptr) return TRUE;
  const uint32_t style = static_cast<uint32_t>(GetWindowLongA(child, GWL_STYLE));
  const int32_t id = GetDlgCtrlID(child);
  const bool isHeader = lstrcmpiA(className, "SysHeader32") == 0;
  const ControlClass found = ClassifyControl(className, style, id, isHeader && HeaderHasPictures(child));
  HWND parent = GetParent(child);
  WindowRecordPtr parentRecord = FindWindowRecord(parent);
  if (found.kind == kMdiClient && parent != nullptr && GetParent(parent) == nullptr && parentRecord) {
    parentRecord->mdiClient = child;
  }
  if (found.kind == kStatusBar && parentRecord != nullptr) parentRecord->statusBar = child;
  if (found.kind == kPushButton) PreparePushButtonStyle(child);
  if (!found.isRegistered) return TRUE;
  AddSkinnedControl(child, found.kind);
  PrepareControl(child, found.kind);
  return TRUE;
}

}  // namespace skinning

THEMEAPI_API void __stdcall skSkinDisable(HWND control) {
  if (control == nullptr || skinning::MaySkin(control) != -1) return;
  skinning::g_noSkin.emplace_back(control, skinning::TopLevelOwner(control));
}

THEMEAPI_API void __stdcall skSkinEnable(HWND control) {
  auto& list = skinning::g_noSkin;
  auto found = std::find_if(list.begin(), list.end(),
                            [control](const std::pair<HWND, HWND>& entry) { return entry.first == control; });
  if (found != list.end() && found->second == skinning::TopLevelOwner(control)) list.erase(found);
}

THEMEAPI_API void __stdcall skChildOffset(HWND window, int32_t* x, int32_t* y) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  POINT origin = {0, 0};
  ClientToScreen(skinning::TopLevelOwner(window), &origin);
  if (x != nullptr) *x = rect.left - origin.x;
  if (y != nullptr) *y = rect.top - origin.y;
}
