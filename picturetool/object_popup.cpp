// The mouse work on a drawing object's window: the status text while the
// mouse passes over it, dragging it to a new place, and its right-click
// popup (edit in the text or shape box, duplicate and mirrored duplicates,
// rotate, merge into the picture, hide, delete, lock, style and the
// z-order list).  The records, composing and regions are
// object_manager.cpp's; the boxes are object_boxes.h's.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/item_list.h"
#include "core/object_edits.h"
#include "magnifier.h"
#include "object_boxes.h"
#include "orbboxes.h"
#include "paint_state.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_popup.h"

namespace paint {

namespace {

constexpr UINT kZOrderFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE;
constexpr DWORD kDragWaitMs = 50;

struct PopupState {
  HWND lastHovered = nullptr;
  bool popupOpen = false;
  bool animationOff = false;
};

PopupState& State() {
  static PopupState state;
  return state;
}

std::string KindNameOf(uint16_t kind) {
  const std::vector<std::string>& menus = Paint().menus.definitions;
  return KindName(menus.size() > 4 ? menus[4] : std::string(), kind);
}

std::string TitleOf(HWND window) {
  char title[64] = {};
  GetWindowTextA(window, title, sizeof(title));
  return title;
}

void ShowHoverStatus(HWND window, const DrawObject& object) {
  SetStatusText(HoverStatus(TitleOf(window), KindNameOf(object.data.kind), object.data,
                            Paint().texts.entry(T_LOCK_WORDS)));
  State().lastHovered = window;
}

// --- dragging ---------------------------------------------------------------

struct Drag {
  HWND window = nullptr;
  size_t index = 0;
  POINT grip = {};
  int32_t width = 0, height = 0, clientWidth = 0, clientHeight = 0;
  bool started = false;
  RECT previous = {};
  HDC screen = nullptr, memory = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ oldBitmap = nullptr;
};

void ReleaseDragDcs(Drag& drag) {
  if (drag.memory != nullptr) {
    if (drag.oldBitmap != nullptr) SelectObject(drag.memory, drag.oldBitmap);
    DeleteDC(drag.memory);
  }
  if (drag.bitmap != nullptr) DeleteObject(drag.bitmap);
  if (drag.screen != nullptr) ReleaseDC(Paint().canvasWindow, drag.screen);
  drag.memory = drag.screen = nullptr;
  drag.bitmap = nullptr;
  drag.oldBitmap = nullptr;
}

// The first move: the backdrop (the picture and every other object) is
// painted into the canvas's memory bitmap once, and the other windows are
// hidden so that none repaints in the way.
void StartDrag(Drag& drag) {
  PaintState& p = Paint();
  drag.started = true;
  RepaintWindow(p.canvasWindow, false);
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (canvas != nullptr) {
    BitBlt(canvas, 0, 0, p.canvasWidth, p.canvasHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
    for (HWND other : ListObjects(0)) {
      if (other == drag.window) continue;
      const size_t index = FindObjectIndex(other);
      if (const DrawObject* object = ObjectRecord(index)) PaintObject(canvas, index, object->data.x, object->data.y);
    }
  }
  SetWindowPos(drag.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (const DrawObject& object : p.objects) {
    if (object.window == drag.window) continue;
    SetWindowPos(object.window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                     SWP_HIDEWINDOW);
  }
  State().lastHovered = nullptr;
  ListObjects(0);
  if (const DrawObject* object = ObjectRecord(FindObjectIndex(drag.window))) ShowHoverStatus(drag.window, *object);
  drag.screen = GetDC(p.canvasWindow);
  if (drag.screen != nullptr) {
    drag.memory = CreateCompatibleDC(drag.screen);
    drag.bitmap = CreateCompatibleBitmap(drag.screen, std::max(1, drag.clientWidth), std::max(1, drag.clientHeight));
    if (drag.memory != nullptr && drag.bitmap != nullptr) drag.oldBitmap = SelectObject(drag.memory, drag.bitmap);
  }
  drag.previous = {0, 0, drag.width, drag.height};
}

// Each move: the window follows the cursor; what changed is drawn from the
// backdrop with the object over it.
void MoveDrag(Drag& drag) {
  PaintState& p = Paint();
  const DWORD position = GetMessagePos();
  POINT at = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  ScreenToClient(p.canvasWindow, &at);
  const int32_t left = at.x - drag.grip.x, top = at.y - drag.grip.y;
  DrawObject* object = ObjectRecord(drag.index);
  if (object == nullptr) return;
  if (!drag.started) StartDrag(drag);
  if (left == object->data.x - p.scrollX && top == object->data.y - p.scrollY) return;
  MoveWindow(drag.window, left, top, drag.width, drag.height, FALSE);
  object->data.x = p.scrollX + left;
  object->data.y = p.scrollY + top;
  HDC canvas = SKGETHDCMEMBMP(p.canvasWindow);
  if (drag.memory == nullptr || drag.screen == nullptr || canvas == nullptr) return;
  BitBlt(drag.memory, 0, 0, drag.clientWidth, drag.clientHeight, canvas, p.scrollX, p.scrollY, SRCCOPY);
  PaintObject(drag.memory, drag.index, left, top);
  const RECT now = {left, top, left + drag.width, top + drag.height};
  RECT both = {};
  UnionRect(&both, &drag.previous, &now);
  BitBlt(drag.screen, both.left, both.top, both.right - both.left, both.bottom - both.top, drag.memory, both.left,
         both.top, SRCCOPY);
  drag.previous = now;
  Sleep(0);
}

bool LeftButtonIsDown() {
  const int button = GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
  return (GetAsyncKeyState(button) & 0x8000) != 0;
}

// Takes the window's mouse messages until the button is released.  The
// drag also ends when the window loses the capture or the button is found
// up without a release message (the user switched away mid-drag): moves
// already queued are still taken.  Between messages the loop waits.
void RunDragLoop(Drag& drag) {
  bool ending = false;
  for (;;) {
    MSG message = {};
    if (PeekMessageA(&message, drag.window, WM_MOUSEMOVE, WM_MOUSEWHEEL, PM_REMOVE)) {
      if (message.message == WM_MOUSEMOVE) {
        MoveDrag(drag);
      } else if (message.message == WM_LBUTTONUP) {
        return;
      }
      continue;
    }
    if (ending) return;
    if (GetCapture() != drag.window || !LeftButtonIsDown()) {
      ending = true;  // one more pass takes what is queued
      continue;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kDragWaitMs, QS_ALLINPUT);
  }
}

LRESULT DragObject(HWND window, LPARAM lParam) {
  PaintState& p = Paint();
  const size_t index = FindObjectIndex(window);
  const DrawObject* object = ObjectRecord(index);
  if (object == nullptr || object->data.flag != 0) return 0;
  if (GetFocus() != window) SetFocus(window);
  Drag drag;
  drag.window = window;
  drag.index = index;
  drag.grip = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ReleaseCapture();
  SetCapture(window);
  HCURSOR before = SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
  RECT client = {}, frame = {};
  GetClientRect(p.canvasWindow, &client);
  GetWindowRect(window, &frame);
  drag.clientWidth = client.right;
  drag.clientHeight = client.bottom;
  drag.width = frame.right - frame.left;
  drag.height = frame.bottom - frame.top;

  RunDragLoop(drag);

  ReleaseDragDcs(drag);
  if (GetCapture() == window) ReleaseCapture();
  if (drag.started) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (const DrawObject& other : p.objects) {
      if (other.window == window || (other.data.kind != 0 && other.data.shown != 1)) continue;
      SetWindowPos(other.window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
  }
  ComposeRepaintAndMark();
  SetCursor(before);
  if (const DrawObject* moved = ObjectRecord(FindObjectIndex(window))) {
    TraceProgramCall("DragObject", TitleOf(window), std::to_string(moved->data.x) + ", " + std::to_string(moved->data.y));
  }
  return 0;
}

// --- the popup ----------------------------------------------------------------

std::vector<std::string> Fields(const std::string& definition) {
  std::string text = definition;
  if (!text.empty() && text.back() == '|') text.pop_back();
  return suite::SplitItemList(text);
}

// A popup of the menu definition `number`: field i is item 100 x number + i
// ("-" a separator, "" nothing).  Fields named in `submenus` (1-based) open
// the given menus instead.
HMENU BuildPopup(int number, const std::vector<std::pair<size_t, HMENU>>& submenus) {
  const std::vector<std::string>& menus = Paint().menus.definitions;
  HMENU popup = CreatePopupMenu();
  if (popup == nullptr) return nullptr;
  const std::vector<std::string> fields =
      static_cast<size_t>(number) < menus.size() ? Fields(menus[static_cast<size_t>(number)]) : std::vector<std::string>{};
  for (size_t i = 1; i <= fields.size(); ++i) {
    const std::string& field = fields[i - 1];
    const auto sub = std::find_if(submenus.begin(), submenus.end(), [i](const auto& entry) { return entry.first == i; });
    if (sub != submenus.end()) {
      AppendMenuA(popup, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub->second), field.c_str());
    } else if (field == "-") {
      AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    } else if (!field.empty()) {
      AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(100 * number + static_cast<int>(i)), field.c_str());
    }
  }
  return popup;
}

HMENU BuildOrderMenu(const std::vector<HWND>& listed, HWND self) {
  const std::vector<std::string>& menus = Paint().menus.definitions;
  std::vector<ListedObject> entries;
  for (HWND window : listed) {
    const DrawObject* object = ObjectRecord(FindObjectIndex(window));
    entries.push_back({TitleOf(window), object != nullptr ? KindNameOf(object->data.kind) : "",
                       object != nullptr ? &object->data : nullptr});
  }
  const std::vector<std::string> items = ObjectListItems(menus.size() > 13 ? menus[13] : std::string(), entries);
  HMENU order = CreatePopupMenu();
  if (order == nullptr) return nullptr;
  for (size_t i = 0; i < items.size(); ++i) {
    AppendMenuA(order, MF_STRING, static_cast<UINT_PTR>(1301 + i), items[i].c_str());
  }
  const auto at = std::find(listed.begin(), listed.end(), self);
  if (at != listed.end()) {
    CheckMenuItem(order, static_cast<UINT>(1 + (at - listed.begin())), MF_BYPOSITION | MF_CHECKED);
  }
  return order;
}

void Replace(HWND oldWindow, HWND newWindow, size_t newIndex) {
  const PaintState& p = Paint();
  const DrawObject* made = ObjectRecord(newIndex);
  if (made == nullptr) return;
  SetWindowPos(newWindow, oldWindow, made->data.x - p.scrollX, made->data.y - p.scrollY, made->data.width,
               made->data.height, SWP_NOREDRAW | SWP_NOACTIVATE);
  BuildRegionOf(newIndex);
  DestroyWindow(oldWindow);
  ComposeRepaintAndMark();
  if (!IsWindowVisible(newWindow)) ShowWindow(newWindow, SW_SHOW);
}

// An edited object that needs a new window: the new record takes the
// replacement's values and the old one's place in the z-order.  When no
// window can be made the old object stays as it was.
void ReplaceObject(HWND window, const overlay::ObfObject& replacement) {
  HWND made = CreateObjectWindow(Paint().canvasWindow, replacement.word());
  const size_t index = FindObjectIndex(made);
  DrawObject* object = ObjectRecord(index);
  if (object == nullptr) {
    TraceProgramCall("ReplaceObject", TitleOf(window), "kept");
    return;
  }
  object->data = replacement;
  object->data.shown = 1;
  if (object->data.kind == overlay::kKindText) {
    MakeObjectFonts(object);
    MeasureObjectText(object);
  }
  Replace(window, made, index);
}

void EditObject(HWND window) {
  PaintState& p = Paint();
  const std::string boxTexts = p.texts.entry(T_BOX_TEXTS);
  SetBoxLabels(suite::ItemField(boxTexts, 2), suite::ItemField(boxTexts, 3), suite::ItemField(boxTexts, 4));
  DrawObject* object = ObjectRecord(FindObjectIndex(window));
  if (object == nullptr) return;
  const overlay::ObfObject old = object->data;
  BoxSettingsRecord settings;
  settings.text = old.kind == overlay::kKindText ? old.text : std::string();
  settings.fontFamily = old.fontFamily;
  settings.size = old.size;
  settings.colour = old.colour;
  settings.shadow = old.shadow;
  settings.word = old.word();
  const bool isText = old.kind == overlay::kKindText;
  const int32_t result = isText ? RunTextBox(p.mainWindow, suite::ItemField(boxTexts, 1), &settings)
                                : RunShapeBox(p.mainWindow, suite::ItemField(boxTexts, 1), &settings);
  if (result != kBoxOk) return;
  const bool changed = settings.size != old.size || settings.colour != old.colour || settings.shadow != old.shadow ||
                       (isText && (settings.text != old.text || settings.fontFamily != old.fontFamily));
  if (!changed || (isText && settings.text.empty())) return;
  object = ObjectRecord(FindObjectIndex(window));
  if (object == nullptr) return;
  overlay::ObfObject edited = old;
  edited.size = settings.size;
  edited.colour = settings.colour;
  edited.shadow = settings.shadow;
  if (isText) {
    edited.text = settings.text.substr(0, overlay::kObfMaxTextBytes);
    edited.fontFamily = settings.fontFamily;
    ReplaceObject(window, edited);
  } else if (old.kind == overlay::kKindCurve || old.kind == overlay::kKindPolyline) {
    // The 128-pixel margin holds the change: the record changes in place.
    object->data = edited;
    const size_t index = FindObjectIndex(window);
    SetWindowPos(window, nullptr, old.x - p.scrollX, old.y - p.scrollY, old.width, old.height,
                 SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    BuildRegionOf(index);
    ComposeRepaintAndMark();
  } else {
    ReplaceObject(window, Remargined(old, edited));
  }
}

void DuplicateObject(HWND window, int32_t id) {
  PaintState& p = Paint();
  if (ObjectLimitReached() != 0) {
    suite::boxes::ShowWarningBox(p.texts.entry(T_OBJECT_LIMIT));
    return;
  }
  const DrawObject* source = ObjectRecord(FindObjectIndex(window));
  if (source == nullptr) return;
  overlay::ObfObject copy = source->data;
  HWND made = CreateObjectWindow(p.canvasWindow, copy.word());
  const size_t index = FindObjectIndex(made);
  DrawObject* object = ObjectRecord(index);
  if (object == nullptr) return;
  if (id != 1102) MirrorPoints(&copy, id == 1110);
  copy.x = p.scrollX;
  copy.y = p.scrollY;
  copy.shown = 1;
  copy.flag = 0;
  object->data = copy;
  if (copy.kind == overlay::kKindText) MakeObjectFonts(object);
  SetWindowPos(made, HWND_TOP, 0, 0, copy.width, copy.height, SWP_NOREDRAW | SWP_NOACTIVATE);
  BuildRegionOf(index);
  ComposeRepaintAndMark();
  ShowWindow(made, SW_SHOW);
}

void RotateCommand(HWND window) {
  const PaintState& p = Paint();
  const size_t index = FindObjectIndex(window);
  DrawObject* object = ObjectRecord(index);
  if (object == nullptr) return;
  RotateObject(&object->data);
  MoveWindow(window, object->data.x - p.scrollX, object->data.y - p.scrollY, object->data.width, object->data.height,
             FALSE);
  BuildRegionOf(index);
  ComposeRepaintAndMark();
}

void ZOrderCommand(HWND window, int32_t id, const std::vector<HWND>& listed) {
  const auto self = std::find(listed.begin(), listed.end(), window);
  if (self == listed.end()) return;
  const ZOrderChoice choice = ZOrderFor(id, listed.size(), static_cast<size_t>(self - listed.begin()));
  if (choice.move == ZMove::kNone) return;
  const HWND after = choice.move == ZMove::kTop ? HWND_TOP : listed[choice.target];
  SetWindowPos(window, after, 0, 0, 0, 0, kZOrderFlags);
  ComposeRepaintAndMark();
}

void RunPopupCommand(HWND window, int32_t id, const std::vector<HWND>& listed) {
  const size_t index = FindObjectIndex(window);
  DrawObject* object = ObjectRecord(index);
  if (object == nullptr || id == 0) return;
  TraceProgramCall("ObjectCommand", TitleOf(window), std::to_string(id));
  switch (id) {
    case 1101:
      EditObject(window);
      return;
    case 1102:
    case 1110:
    case 1111:
      DuplicateObject(window, id);
      return;
    case 1103:
      RotateCommand(window);
      return;
    case 1104:
      PaintObject(reinterpret_cast<HDC>(BlitCanvas(2)), index, object->data.x, object->data.y);
      DestroyWindow(window);
      ComposeRepaintAndMark();
      return;
    case 1105:
      if (object->data.shown != 1) return;
      object->data.shown = 0;
      ShowWindow(window, SW_HIDE);
      EnableWindow(window, FALSE);
      ComposeRepaintAndMark();
      return;
    case 1106:
      DestroyWindow(window);
      ComposeRepaintAndMark();
      return;
    case 1107:
      object->data.flag = object->data.flag != 0 ? 0 : 1;
      return;
    default:
      break;
  }
  if (id >= 1201 && id <= 1205) {
    const auto style = static_cast<uint16_t>(id % 100);
    if (style == object->data.style) return;
    object->data.style = style;
    SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(object->data.word()));
    BuildRegionOf(index);
    ComposeRepaintAndMark();
    return;
  }
  if (id >= 1301) ZOrderCommand(window, id, listed);
}

LRESULT ShowObjectPopup(HWND window) {
  PopupState& state = State();
  if (state.popupOpen) return 0;
  const DrawObject* object = ObjectRecord(FindObjectIndex(window));
  if (object == nullptr) return 0;
  SKDCDESKTOP(1);
  POINT cursor = {};
  GetCursorPos(&cursor);
  state.popupOpen = true;
  std::vector<HWND> listed = ListObjects(-1);
  if (!listed.empty()) listed.pop_back();  // the canvas's own record
  TraceProgramCall("ObjectPopup", TitleOf(window), std::to_string(listed.size()));
  HMENU style = BuildPopup(12, {});
  HMENU order = BuildOrderMenu(listed, window);
  HMENU popup = BuildPopup(11, {{12, style}, {13, order}});
  int32_t chosen = 0;
  if (popup != nullptr) {
    if (object->data.flag != 0) CheckMenuItem(popup, 1107, MF_BYCOMMAND | MF_CHECKED);
    const PopupItemStates states = ItemStatesFor(object->data.kind);
    for (UINT id = 1201; id <= 1204; ++id) EnableMenuItem(style, id, MF_BYCOMMAND | (states.styles ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(style, 1205, MF_BYCOMMAND | (states.openStyle ? MF_ENABLED : MF_GRAYED));
    for (UINT id : {1110u, 1111u}) EnableMenuItem(popup, id, MF_BYCOMMAND | (states.mirrors ? MF_ENABLED : MF_GRAYED));
    chosen = static_cast<int32_t>(TrackPopupMenuEx(popup, TPM_RETURNCMD, cursor.x, cursor.y, window, nullptr));
  }
  state.popupOpen = false;
  // Destroying the popup destroys the submenus attached to it.
  if (popup != nullptr) {
    DestroyMenu(popup);
  } else {
    if (style != nullptr) DestroyMenu(style);
    if (order != nullptr) DestroyMenu(order);
  }
  SKDCDESKTOP(2);
  RunPopupCommand(window, chosen, listed);
  return 0;
}

}  // namespace

LRESULT OnObjectMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PopupState& state = State();
  switch (message) {
    case WM_MOUSEMOVE:
      if (IsMagnifierOpen()) InvalidateMagnifierView();
      if (window != state.lastHovered) {
        if (const DrawObject* object = ObjectRecord(FindObjectIndex(window))) ShowHoverStatus(window, *object);
      }
      return 0;
    case WM_LBUTTONDOWN:
      return DragObject(window, lParam);
    case WM_RBUTTONDOWN:
      return ShowObjectPopup(window);
    case WM_INITMENUPOPUP: {
      BOOL animated = FALSE;
      if (SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animated, 0) && animated) {
        SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(FALSE), 0);
        state.animationOff = true;
      }
      return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_UNINITMENUPOPUP:
      if (state.animationOff) {
        SystemParametersInfoA(SPI_SETMENUANIMATION, 0, reinterpret_cast<void*>(TRUE), 0);
        state.animationOff = false;
      }
      return 0;
    case WM_EXITMENULOOP:
      SKDCDESKTOP(2);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace paint
