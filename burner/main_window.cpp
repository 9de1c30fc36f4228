// The disc burner's main window: its class, its controls, the message
// pre-filter of the loop and the window procedure (suite commands, drops,
// owner-drawn list lines, the buttons).
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "burner_state.h"
#include "core/burn_list.h"
#include "core/command_line.h"
#include "core/item_list.h"
#include "core/path_names.h"
#include "core/suite_command_codes.h"
#include "module_start.h"
#include "suite_command.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_popup.h"
#include "vdscdll.h"

namespace burner {

namespace {

constexpr char kClassName[] = "ORBBURN";
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 424;

HFONT DefaultFont() { return SKDEFAULTFONT(); }

HWND MakeControl(const char* className, const std::string& text, DWORD style, int x, int y, int width, int height,
                 int id, DWORD extendedStyle = 0) {
  BurnerState& b = Burner();
  HWND control = CreateWindowExA(extendedStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width,
                                 height, b.window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), b.instance,
                                 nullptr);
  if (control != nullptr) SKSETCTLFONT(control, DefaultFont());
  return control;
}

// A button with its caption and tooltip from the comma list of its entry.
HWND MakeButton(size_t entry, int x, int y, int width, int height, int id, DWORD style) {
  const std::string& text = T(entry);
  HWND button = MakeControl("Button", suite::CommaField(text, 1), WS_TABSTOP | style, x, y, width, height, id);
  std::string tip = suite::CommaField(text, 2);
  if (button != nullptr && !tip.empty()) SKBUTTONTIP(Burner().window, button, tip.c_str());
  return button;
}

void ComeToFront() {
  HWND window = Burner().window;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Sleep(50);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetFocus(window);
}

void TakeVolumeLabel(const std::string& label) {
  BurnerState& b = Burner();
  if (SendMessageA(b.keepLabel, BM_GETCHECK, 0, 0) == BST_CHECKED &&
      !VolumeLabelOf(CurrentDeviceLine()).empty()) {
    return;
  }
  SetWindowTextA(b.label, label.c_str());
}

LRESULT OnCopyData(WPARAM wParam, LPARAM lParam) {
  BurnerState& b = Burner();
  std::string text;
  uint32_t code = suite::ReceiveSuiteCommand(text, wParam, lParam);
  if (b.busy != 0) return suite::SUITE_COMMAND_HANDLED;
  switch (code) {
    case suite::CMD_OPEN_ITEMS:
      b.pendingItems = text;
      PostMessageA(b.window, WM_LIST_ARRIVED, 0, 0);
      break;
    case suite::CMD_CLOSE:
      PostMessageA(b.window, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case suite::CMD_COME_TO_FRONT:
      ComeToFront();
      break;
    case suite::CMD_SET_VOLUME_LABEL:
      TakeVolumeLabel(text);
      break;
    default:
      break;
  }
  return suite::SUITE_COMMAND_HANDLED;
}

void DrawListLine(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF back = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 0x72 : 0x65));
  const COLORREF fore = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 0x73 : 0x68));
  HBRUSH brush = CreateSolidBrush(back);
  FillRect(item.hDC, &item.rcItem, brush);
  DeleteObject(brush);
  const LRESULT length = SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0);
  if (length > 0) {
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, fore);
    HGDIOBJ oldFont = SelectObject(item.hDC, DefaultFont());
    RECT area = item.rcItem;
    area.left += 2;
    DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(item.hDC, oldFont);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

void OnCommand(WPARAM wParam) {
  BurnerState& b = Burner();
  const int id = LOWORD(wParam);
  const int notification = HIWORD(wParam);
  switch (id) {
    case ID_DEVICES:
      if (notification == CBN_SELCHANGE) OnDeviceChanged();
      break;
    case ID_LIST:
      // Escape through the dialog manager (IDCANCEL shares the list's id).
      if (notification == 0) {
        if (b.busy != 0) {
          Beep(2000, 200);
        } else {
          DestroyWindow(b.window);
        }
      }
      break;
    case ID_BURN:
      if (notification == BN_CLICKED) RunBurnSession();
      break;
    case ID_EJECT:
      if (notification == BN_CLICKED && b.busy == 0) {
        vdscEjectMedium();
        PollDisc();
      }
      break;
    case ID_LOAD:
      if (notification == BN_CLICKED && b.busy == 0) {
        vdscLoadMedium();
        PollDisc();
        SetWindowTextA(b.label, VolumeLabelOf(CurrentDeviceLine()).c_str());
        SetStatusText(T(T_READY));
        ComputeImageSize();
      }
      break;
    case ID_REMOVE:
      RemoveSelectedLines();
      break;
    case ID_HELP: {
      const std::string& help = T(T_HELP);
      std::string file = suite::CommaField(help, 1);
      if (file.empty()) break;
      if (file.find('\\') == std::string::npos) file = b.programFolder + file;
      std::string found = themecore::FindFile(file.c_str());
      if (found.empty()) break;
      std::string viewer = suite::CommaField(help, 2) + "," + suite::CommaField(help, 3);
      suite::ShowFileWithModule(found, viewer, suite::QuoteArgument(found), b.programFolder);
      break;
    }
    default:
      break;
  }
}

}  // namespace

std::string ControlText(HWND control) {
  if (control == nullptr) return std::string();
  return themecore::FetchText([control](char* out, int32_t size) { return SKGETCTLTEXT(control, out, size); });
}

void SetStatusText(const std::string& text) {
  std::string lines = StatusLines(text);
  if (ControlText(Burner().status) != lines) SetWindowTextA(Burner().status, lines.c_str());
}

void EnableControls(bool enable) {
  BurnerState& b = Burner();
  for (HWND control : {b.burnButton, b.ejectButton, b.loadButton, b.devices}) EnableWindow(control, enable);
}

bool CreateMainWindow(const std::string& listFile) {
  BurnerState& b = Burner();
  INITCOMMONCONTROLSEX common{sizeof common, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = BurnerWindowProc;
  wc.hInstance = b.instance;
  wc.hIcon = LoadIconA(b.instance, "CD32");
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (RegisterClassExA(&wc) == 0) return false;

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  b.window = CreateWindowExA(0, kClassName, T(T_TITLE).c_str(), style, x, y, width, height, nullptr, nullptr,
                             b.instance, nullptr);
  if (b.window == nullptr) return false;

  // The device choice.
  b.devices = MakeControl("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 16, 12, 330, 200, ID_DEVICES);
  FillDevices();
  // The burn list.
  b.list = MakeControl("LISTBOX", "",
                       LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                           WS_HSCROLL | WS_VSCROLL | WS_TABSTOP,
                       16, 44, 330, 226, ID_LIST, WS_EX_CLIENTEDGE);
  FillFromListFile(listFile);

  b.status = MakeControl("Static", "", SS_LEFT, 16, 278, 330, 48, ID_STATUS);
  b.sizeText = MakeControl("Static", "", SS_LEFT, 16, 330, 330, 16, ID_SIZE_TEXT);
  b.progress = SKPROGRESS32(b.window, -1, 16, 350, 330, 14);

  // The disc display.
  MakeControl("BUTTON", T(T_DISC_CAPTION), BS_GROUPBOX, 356, 40, 188, 196, -1);
  MakeControl("BUTTON", T(T_LABEL_CAPTION), BS_GROUPBOX, 356, 238, 188, 56, -1);
  b.mediumName = ReadMediumName();
  b.mediumPicture = MakeControl("Static", "", SS_BITMAP, 367, 101, 64, 64, ID_MEDIUM_PICTURE);
  SetMediumPicture(b.mediumName);
  b.capacityBar = CreateCapacityBar(b.window, -1, 32, 374, 300, 14, 0);
  b.capacityText = MakeControl("Static", "", SS_LEFT, 440, 124, 96, 18, ID_CAPACITY_TEXT);
  ShowDiscFigures();
  b.label = MakeControl("EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, 366, 260, 168, 22, ID_LABEL, WS_EX_CLIENTEDGE);
  SendMessageA(b.label, EM_LIMITTEXT, 16, 0);
  std::string label = VolumeLabelOf(CurrentDeviceLine());
  if (!listFile.empty()) label = suite::WithoutExtension(suite::FileNameOf(listFile));
  SetWindowTextA(b.label, label.c_str());
  b.keepLabel = MakeButton(T_KEEP_LABEL, 366, 176, 170, 20, ID_KEEP_LABEL, BS_AUTOCHECKBOX);
  b.eraseFirst = MakeButton(T_ERASE_FIRST, 366, 200, 170, 30, ID_ERASE_FIRST, BS_AUTOCHECKBOX | BS_MULTILINE);
  SendMessageA(b.eraseFirst, BM_SETCHECK, BST_CHECKED, 0);

  // The buttons and the version.
  b.burnButton = MakeButton(T_BURN_BUTTON, 360, 304, 88, 26, ID_BURN, BS_PUSHBUTTON);
  EnableWindow(b.burnButton, BurnerSelected() && b.mediumName != "cdaudio");
  b.ejectButton = MakeButton(T_EJECT_BUTTON, 456, 304, 88, 26, ID_EJECT, BS_PUSHBUTTON);
  b.loadButton = MakeButton(T_LOAD_BUTTON, 360, 336, 88, 26, ID_LOAD, BS_PUSHBUTTON);
  b.helpButton = MakeButton(T_HELP_BUTTON, 456, 336, 88, 26, ID_HELP, BS_PUSHBUTTON);
  const char* version = vdscGetVDSCVersion();
  MakeControl("Static", version != nullptr ? std::string(version) : std::string(), SS_LEFT, 360, 14, 184, 16, -1);
  b.summary = MakeControl("Static", "", SS_LEFT, 16, 396, 528, 18, ID_SUMMARY);
  SKSETCTLFONT(b.summary, SKCAPTIONFONT());

  SetStatusText(T(T_READY));
  ComputeImageSize();
  return true;
}

bool PreFilterMessage(MSG& message) {
  BurnerState& b = Burner();
  if (message.message == WM_KEYDOWN) {
    const bool onList = message.hwnd == b.list;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    if (message.wParam == VK_DELETE && onList && SendMessageA(b.list, LB_GETSELCOUNT, 0, 0) > 0) {
      PostMessageA(b.window, WM_COMMAND, ID_REMOVE, 0);
      return true;
    }
    if (message.wParam == VK_F1) {
      PostMessageA(b.window, WM_COMMAND, ID_HELP, 0);
      return true;
    }
    if (onList && control && (message.wParam == 'A' || message.wParam == 'Z')) {
      SendMessageA(b.list, LB_SETSEL, message.wParam == 'A' ? TRUE : FALSE, -1);
      return true;
    }
  } else if (message.message == WM_SYSKEYDOWN && (message.wParam == VK_UP || message.wParam == VK_DOWN) &&
             (message.hwnd == b.list || message.hwnd == b.window)) {
    // Alt+Up / Alt+Down reach the focused list, not the main window.
    if (b.busy == 0) MoveSelectedLines(message.wParam == VK_UP);
    return true;
  } else if (message.message == WM_RBUTTONDOWN && message.hwnd == b.list &&
             SendMessageA(b.list, LB_GETCOUNT, 0, 0) > 0) {
    ShowListPopup();
    return true;
  }
  return false;
}

LRESULT CALLBACK BurnerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BurnerState& b = Burner();
  switch (message) {
    case WM_COPYDATA:
      return OnCopyData(wParam, lParam);
    case WM_LIST_ARRIVED:
      OnListArrived();
      return 0;
    case WM_DROPFILES:
      if (b.busy == 0) {
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
      } else {
        DragFinish(reinterpret_cast<HDROP>(wParam));
      }
      return 0;
    case WM_SYSKEYDOWN:
      if ((wParam == VK_UP || wParam == VK_DOWN) && b.busy == 0) {
        MoveSelectedLines(wParam == VK_UP);
        return 0;
      }
      break;
    case WM_CLOSE:
      if (b.busy != 0) {
        Beep(2000, 200);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (window == b.window) {
        if (b.mediumBitmap != nullptr) DeleteObject(b.mediumBitmap);
        b.mediumBitmap = nullptr;
        StopPollTimer();
        PostQuitMessage(0);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(wParam);
      return 0;
    case WM_CTLCOLORDLG:
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetStockObject(HOLLOW_BRUSH));
    case WM_CTLCOLORLISTBOX: {
      HWND engineWindow = window;
      UINT engineMessage = message;
      WPARAM engineW = wParam;
      LPARAM engineL = lParam;
      int32_t answer = SKGETMESSAGE(&engineWindow, &engineMessage, &engineW, &engineL);
      if (answer != 0) return answer;
      break;
    }
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item != nullptr && item->CtlType == ODT_LISTBOX) {
        int32_t width = 0;
        int32_t height = 0;
        SKGETTEXTEXTENT(window, DefaultFont(), "W", &width, &height);
        item->itemHeight = static_cast<UINT>(height > 0 ? height + 2 : 16);
        return TRUE;
      }
      break;
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item == nullptr) break;
      if (item->CtlID == ID_LIST) {
        DrawListLine(*item);
        return TRUE;
      }
      return SKDRAWITEM(item);
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace burner

// The window procedure under the name the suite's documents give it.
extern "C" LRESULT __stdcall OrbBurnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return burner::BurnerWindowProc(window, message, wParam, lParam);
}
