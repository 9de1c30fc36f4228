// WM_COMMAND of the picture tool: the common prologue (the action "END",
// disarming a drawing tool) and the dispatch of every command; the
// new-object commands are here too (their boxes are object_boxes.h's).  The effect, resize, new-picture,
// underlay and relief commands are effect_boxes.h's.
#include <windows.h>

#include <string>

#include "orbboxes.h"
#include "core/item_list.h"
#include "core/obf_name.h"
#include "effect_boxes.h"
#include "magnifier.h"
#include "object_boxes.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_painttool.h"

namespace paint {

namespace {

constexpr int32_t kStylePopup = 12;

// Field n of the "|" list of the box texts (1 title, 2 colour names, 3 size
// label, 4 shadow label).
std::string BoxText(size_t n) { return suite::ItemField(Paint().texts.entry(T_BOX_TEXTS), n); }

// The box texts: the title, the colour names, the size and shadow labels.
void StoreBoxLabels() { SetBoxLabels(BoxText(2), BoxText(3), BoxText(4)); }

bool RefuseAtObjectLimit() {
  if (ObjectLimitReached() == 0) return false;
  suite::boxes::ShowWarningBox(Paint().texts.entry(T_OBJECT_LIMIT));
  return true;
}

void EnsureCanvasForObject() {
  PaintState& p = Paint();
  if (p.pictureWidth == 0) SendMessageA(p.mainWindow, WM_COMMAND, 102, 0);
}

LRESULT NewTextObject() {
  PaintState& p = Paint();
  EnsureCanvasForObject();
  if (RefuseAtObjectLimit()) return 0;
  StoreBoxLabels();
  BoxSettingsRecord settings = p.boxSettings;
  settings.buttons.clear();
  settings.word = overlay::kKindText;
  if (RunTextBox(p.mainWindow, BoxText(1), &settings) != kBoxOk || settings.text.empty()) return 0;
  // The new window takes its family, size, colour and shadow from the
  // settings the box has just stored.
  HWND object = CreateObjectWindow(p.canvasWindow, overlay::kKindText);
  if (object != nullptr) {
    ObjectWindowProc(object, WM_SETTEXT, settings.text.size(), reinterpret_cast<LPARAM>(settings.text.data()));
  }
  return 0;
}

uint16_t ChooseShapeStyle(int32_t id) {
  PaintState& p = Paint();
  if (id == 405) return overlay::kStyleOpen;
  HMENU popup = SKPOPUPHANDLE(kStylePopup);
  if (popup == nullptr) return 0;
  SKDCDESKTOP(1);
  const bool boxed = id == 402 || id == 403;
  EnableMenuItem(popup, 1205, MF_BYCOMMAND | (boxed ? MF_GRAYED : MF_ENABLED));
  RECT button = {};
  HWND tool = p.toolButtons.size() >= 6 ? p.toolButtons[static_cast<size_t>(id - 401)] : nullptr;
  if (tool != nullptr) GetWindowRect(tool, &button);
  const int chosen = TrackPopupMenu(popup, TPM_RETURNCMD, button.right, button.top, 0, p.mainWindow, nullptr);
  EnableMenuItem(popup, 1205, MF_BYCOMMAND | MF_ENABLED);
  SKDCDESKTOP(2);
  if (chosen < 1201 || chosen > 1205) return 0;
  return static_cast<uint16_t>(chosen % 100);
}

LRESULT NewShapeObject(int32_t id) {
  PaintState& p = Paint();
  EnsureCanvasForObject();
  if (RefuseAtObjectLimit()) return 0;
  const uint16_t style = ChooseShapeStyle(id);
  if (style == 0) return 0;
  const uint32_t word = static_cast<uint32_t>(id % 100) | (static_cast<uint32_t>(style) << 16);
  StoreBoxLabels();
  BoxSettingsRecord settings = p.boxSettings;
  settings.buttons.clear();
  settings.word = word;
  if (RunShapeBox(p.mainWindow, BoxText(1), &settings) != kBoxOk) return 0;
  p.savedStatus = themecore::FetchText([&p](char* out, int32_t size) { return SKGETCTLTEXT(p.statusWindow, out, size); });
  p.toolWord = word;
  SendToObjectManager(OM_SHOW_WINDOWS, 0);
  SetClassLongPtrA(p.canvasWindow, GCLP_HCURSOR,
                   reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS))));
  return 0;
}

}  // namespace

void DisarmDrawingTool() {
  PaintState& p = Paint();
  if (p.toolWord == 0 && p.captureState == 0) return;
  if (p.captureState == 1) DrawRubberBand();
  p.captureState = 0;
  p.toolWord = 0;
  p.pointBuffer.clear();
  SendToObjectManager(OM_SHOW_WINDOWS, 1);
  SetClassLongPtrA(p.canvasWindow, GCLP_HCURSOR,
                   reinterpret_cast<LONG_PTR>(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW))));
  SetStatusText(p.savedStatus);
}

LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  PaintState& p = Paint();
  const int32_t id = LOWORD(wParam);
  if (suite::MenuAction(id, p.menus) == "END") {
    SendMessageA(p.mainWindow, WM_SYSCOMMAND, SC_CLOSE, lParam);
    return 1;
  }
  DisarmDrawingTool();
  switch (id) {
    case 1:
    case 3:
      return PageCommand(id == 3);
    case 2:
      ShowFullView();
      break;
    case 4:
      RevertCommand();
      break;
    case 42:
    case 112:
      HelpCommand();
      break;
    case 76:
      // The engine's track bar names itself; a position comes as it is.
      return TrackCommand(reinterpret_cast<HWND>(lParam) == p.trackBar && p.trackBar != nullptr
                              ? SKGETTRACKPOS(p.trackBar)
                              : lParam);
    case 101:
      OpenPictureDialog();
      return 0;
    case 102:
      return NewPictureCommand();
    case 216:
      ChooseUnderlayCommand();
      break;
    case 217:
      ApplyUnderlayCommand();
      break;
    case 106:
      SaveCommand();
      break;
    case 107:
      SaveAsCommand();
      break;
    case 108:
      DeleteCommand();
      break;
    case 110:
      ShowMagnifier();
      break;
    case 308:
      CopyCommand();
      break;
    case 309:
      PasteCommand();
      break;
    case 104:
      PrintCommand();
      break;
    case 801:
    case 802:
    case 803:
      CaptureCommand(id);
      break;
    case 315:
      StartSelectionMode();
      break;
    case 317:
      StartRedEyeMode();
      break;
    case 1001:
      return CropToSelection();
    case 1002:
      CancelSelection();
      break;
    case 401:
      return NewTextObject();
    case 402:
    case 403:
    case 404:
    case 405:
    case 406:
      return NewShapeObject(id);
    default:
      if (id >= 408 && id <= 414) {
        SendToObjectManager(static_cast<UINT>(OM_SHOW_HIDDEN + (id - 408)));
        return 0;
      }
      if (id >= 901 && id <= 908) {
        ReliefCommand(id);
        break;
      }
      // Any other id is no command of the tool's.
      RunEffectCommand(id);
      break;
  }
  return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

}  // namespace paint
