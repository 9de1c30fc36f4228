// The window exports: class registration (SKREGISTERCLASS, SKCHECKCLASS), the
// message filters every skinned program calls (SKGETMESSAGE in its window
// procedure, SKDIALOGMESSAGE in its message loop), the window-size limit
// (SKSETMAXSIZE), the system-button tip and the menu-bar image.  Also the
// engine's own window classes and the subclass it puts on a program's
// window that holds holders or coloured controls.  The frame itself is
// frame.cpp, holders holders.cpp, the menu bar menubar.cpp.
#include <windows.h>

#include <algorithm>

#include "engine_state.h"
#include "themecore.h"
#include "trace_writer.h"
#include "ui_internal.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";
const char kSubclassProp[] = "themecore.subclass";

struct ClassEntry {
  const char* name;
  EngineClass kind;
  WNDPROC proc;
  UINT style;
  HBRUSH brush;
};

struct ClassTable {
  ATOM atoms[9] = {};
  bool registered = false;
};

ClassTable& Classes() {
  static ClassTable table;
  return table;
}

constexpr ClassEntry kClasses[] = {
    {kClipClass, EngineClass::kClip, HolderProc, CS_DBLCLKS, nullptr},
    {kMenuClass, EngineClass::kMenu, HolderProc, CS_DBLCLKS, nullptr},
    {kZoomClass, EngineClass::kZoom, HolderProc, CS_DBLCLKS, nullptr},
    {kStatusClass, EngineClass::kStatus, StatusProc, CS_HREDRAW | CS_VREDRAW, nullptr},
    {kButtonClass, EngineClass::kButton, ButtonProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS,
     nullptr},
    {kTrackClass, EngineClass::kTrack, TrackBarProc, CS_HREDRAW | CS_VREDRAW, nullptr},
    {kBoxClass, EngineClass::kBox, BoxProc, CS_HREDRAW | CS_VREDRAW, nullptr},
    {kControlClass, EngineClass::kControl, HolderProc, CS_DBLCLKS, nullptr},
};

// The engine's subclass of a program's window.
struct Subclass {
  WNDPROC previous = nullptr;
  unsigned duties = 0;
};

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* subclass = static_cast<Subclass*>(GetPropA(window, kSubclassProp));
  if (subclass == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  WNDPROC previous = subclass->previous;
  switch (message) {
    case WM_SIZE:
      // The holders move first, so the program's own WM_SIZE (and the
      // holders' WM_SIZE it receives) sees the new layout.
      if (subclass->duties & kLayoutHolders) LayoutHolders(window);
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      if (subclass->duties & kAnswerColours) {
        LRESULT brush = 0;
        if (AnswerControlColour(message, reinterpret_cast<HDC>(wParam),
                                reinterpret_cast<HWND>(lParam), false, &brush)) {
          return brush;
        }
      }
      break;
    case WM_NCDESTROY: {
      if (subclass->duties & kFreeColours) FreeColours(window);
      RemovePropA(window, kSubclassProp);
      delete subclass;
      return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

// What SKDIALOGMESSAGE remembers between messages of the loop: an Alt key
// pressed with no other key opens the menu bar when it is let go.
thread_local bool altPressedAlone = false;

bool IsInside(HWND mainWindow, HWND window) {
  return window != nullptr && (window == mainWindow || IsChild(mainWindow, window));
}

// Tab between the engine's own controls of the main window (programs whose
// loop has no IsDialogMessage still get keyboard navigation).
bool MoveFocusByTab(HWND mainWindow, bool backwards) {
  HWND focus = GetFocus();
  if (!IsInside(mainWindow, focus)) return false;
  EngineClass kind = ClassOf(focus);
  if (kind != EngineClass::kButton && kind != EngineClass::kTrack) return false;
  HWND next = GetNextDlgTabItem(mainWindow, focus, backwards ? TRUE : FALSE);
  if (next == nullptr || next == focus) return false;
  SetFocus(next);
  return true;
}

bool FilterDialogMessage(HWND mainWindow, const MSG& message) {
  if (mainWindow == nullptr) mainWindow = GetAncestor(message.hwnd, GA_ROOT);
  if (mainWindow == nullptr || !IsInside(mainWindow, message.hwnd)) return false;
  const bool isRepeat = (message.lParam & (1 << 30)) != 0;
  switch (message.message) {
    case WM_SYSKEYDOWN:
      if (message.wParam == VK_MENU) {
        if (!isRepeat) altPressedAlone = true;
        return false;
      }
      altPressedAlone = false;
      if (message.wParam == VK_F10) {
        HWND holder = FindMenuHolder(mainWindow);
        return holder != nullptr && OpenMenuBarFromKey(holder, 0);
      }
      return false;
    case WM_SYSKEYUP:
      if (message.wParam == VK_MENU && altPressedAlone) {
        altPressedAlone = false;
        HWND holder = FindMenuHolder(mainWindow);
        return holder != nullptr && OpenMenuBarFromKey(holder, 0);
      }
      if (message.wParam == VK_F10) return FindMenuHolder(mainWindow) != nullptr;
      return false;
    case WM_KEYDOWN:
      altPressedAlone = false;
      if (message.wParam == VK_TAB) {
        return MoveFocusByTab(mainWindow, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      }
      return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
      altPressedAlone = false;
      return false;
    default:
      return false;
  }
}

bool IsControlColourMessage(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

}  // namespace

int32_t FrameMetric(int32_t n) {
  struct Range {
    int32_t n, lowest, highest, fallback;
  };
  static constexpr Range kRanges[] = {
      {metric::kCaptionHeight, 8, 100, 24},      {metric::kMenuBarHeight, 0, 100, 20},
      {metric::kStatusHeight, 0, 100, 20},       {metric::kFrameLeft, 0, 32, 4},
      {metric::kFrameRight, 0, 32, 4},           {metric::kFrameBottom, 0, 32, 4},
      {metric::kCaptionButtonWidth, 6, 100, 20}, {metric::kCaptionButtonHeight, 6, 100, 18},
      {metric::kCaptionButtonsRight, 0, 100, 4}, {metric::kCaptionButtonsTop, 0, 100, 3},
      {metric::kTitleX, 0, 400, 26},             {metric::kTitleY, 0, 100, 5},
      {metric::kIconX, 0, 100, 4},               {metric::kIconY, 0, 100, 4},
  };
  const int32_t value = SkinMetric(n);
  for (const Range& range : kRanges) {
    if (range.n != n) continue;
    return value >= range.lowest && value <= range.highest ? value : range.fallback;
  }
  return value;
}

bool RegisterEngineClasses() {
  ClassTable& table = Classes();
  if (table.registered) return true;
  bool allRegistered = true;
  for (size_t i = 0; i < std::size(kClasses); ++i) {
    if (table.atoms[i] != 0) continue;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = kClasses[i].style;
    wc.lpfnWndProc = kClasses[i].proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = EngineInstance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = kClasses[i].brush;
    wc.lpszClassName = kClasses[i].name;
    table.atoms[i] = RegisterClassExA(&wc);
    if (table.atoms[i] == 0) {
      // Already registered (the DLL was loaded, unloaded and loaded again):
      // GetClassInfoEx answers with the class atom.
      WNDCLASSEXA existing = {};
      existing.cbSize = sizeof(existing);
      table.atoms[i] = static_cast<ATOM>(GetClassInfoExA(EngineInstance(), kClasses[i].name,
                                                         &existing));
    }
    if (table.atoms[i] == 0) allRegistered = false;
  }
  table.registered = allRegistered;
  return allRegistered;
}

EngineClass ClassOf(HWND window) {
  if (window == nullptr) return EngineClass::kNone;
  const ATOM atom = static_cast<ATOM>(GetClassLongPtrA(window, GCW_ATOM));
  if (atom == 0) return EngineClass::kNone;
  // Another module may have a class of the same name (and so the same
  // atom): only ours count.
  if (reinterpret_cast<HINSTANCE>(GetClassLongPtrA(window, GCLP_HMODULE)) != EngineInstance()) {
    return EngineClass::kNone;
  }
  const ClassTable& table = Classes();
  for (size_t i = 0; i < std::size(kClasses); ++i) {
    if (table.atoms[i] == atom) return kClasses[i].kind;
  }
  return EngineClass::kNone;
}

void AddSubclassDuties(HWND window, unsigned duties) {
  if (window == nullptr || !IsWindow(window) || ClassOf(window) != EngineClass::kNone) return;
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return;
  if (auto* existing = static_cast<Subclass*>(GetPropA(window, kSubclassProp))) {
    existing->duties |= duties;
    return;
  }
  auto* subclass = new Subclass;
  subclass->duties = duties;
  if (!SetPropA(window, kSubclassProp, subclass)) {
    delete subclass;
    return;
  }
  subclass->previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  if (subclass->previous == nullptr) {
    RemovePropA(window, kSubclassProp);
    delete subclass;
  }
}

}  // namespace themecore

using themecore::engine::HandleText;
using themecore::kLibrary;

THEMECORE_API int32_t __stdcall SKREGISTERCLASS(WNDCLASSEXA* wc, const char* name) {
  try {
    int32_t atom = 0;
    if (wc != nullptr && name != nullptr && name[0] != '\0') {
      wc->lpszClassName = name;
      // The record is a WNDCLASSEX by this function's contract, whatever
      // size the caller wrote into it.
      wc->cbSize = sizeof(WNDCLASSEXA);
      if (wc->hInstance == nullptr) wc->hInstance = GetModuleHandleA(nullptr);
      atom = RegisterClassExA(wc);
    }
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKREGISTERCLASS").Raw(wc ? "WNDCLASSEX" : "NULL").Text(name),
        atom);
    return atom;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKCHECKCLASS(const char* name) {
  try {
    int32_t found = 0;
    if (name != nullptr && name[0] != '\0') {
      WNDCLASSEXA info = {};
      info.cbSize = sizeof(info);
      // The program's classes, the engine's own, then the system's.
      for (HINSTANCE instance : {GetModuleHandleA(nullptr), themecore::EngineInstance(),
                                 static_cast<HINSTANCE>(nullptr)}) {
        if (GetClassInfoExA(instance, name, &info)) {
          found = 1;
          break;
        }
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKCHECKCLASS").Text(name), found);
    return found;
  } catch (...) {
    return 0;
  }
}

// Called first for every message of every skinned window procedure, so it
// returns at once for what it does not handle.  Only messages it handled are
// traced: a line per message would drown every other call.
THEMECORE_API int32_t __stdcall SKGETMESSAGE(HWND* window, UINT* message, WPARAM* wParam,
                                             LPARAM* lParam) {
  if (window == nullptr || message == nullptr || wParam == nullptr || lParam == nullptr) return 0;
  try {
    LRESULT result = 0;
    bool handled;
    if (themecore::IsControlColourMessage(*message)) {
      handled = themecore::AnswerControlColour(*message, reinterpret_cast<HDC>(*wParam),
                                               reinterpret_cast<HWND>(*lParam), true, &result);
    } else {
      handled = themecore::HandleFrameMessage(*window, *message, *wParam, *lParam, &result);
    }
    if (!handled || result == 0) return 0;
    if (orbtrace::IsEnabled()) {
      orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKGETMESSAGE")
                              .Raw(HandleText(*window))
                              .Number(*message)
                              .Number(static_cast<int64_t>(*wParam))
                              .Number(static_cast<int64_t>(*lParam)),
                          static_cast<int64_t>(result));
    }
    return static_cast<int32_t>(result);
  } catch (...) {
    return 0;
  }
}

// Called for every message of the loop; traced only when it consumed one.
THEMECORE_API int32_t __stdcall SKDIALOGMESSAGE(HWND mainWindow, MSG* message) {
  if (message == nullptr) return 0;
  try {
    int32_t consumed = themecore::FilterDialogMessage(mainWindow, *message) ? 1 : 0;
    if (consumed) {
      orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKDIALOGMESSAGE")
                              .Raw(HandleText(mainWindow))
                              .Number(message->message)
                              .Number(static_cast<int64_t>(message->wParam)),
                          consumed);
    }
    return consumed;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSETSYSBUTTONTIP(HWND mainWindow, const char* tip) {
  try {
    int32_t result = themecore::SetSystemButtonTip(mainWindow, tip) ? 1 : 0;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKSETSYSBUTTONTIP").Raw(HandleText(mainWindow)).Text(tip),
        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSETMAXSIZE(int32_t width, int32_t height, int32_t* widthOut,
                                             int32_t* heightOut) {
  try {
    RECT work = {};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) {
      work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int32_t usedWidth = std::clamp<int32_t>(width, 0, work.right - work.left);
    const int32_t usedHeight = std::clamp<int32_t>(height, 0, work.bottom - work.top);
    if (widthOut != nullptr) *widthOut = usedWidth;
    if (heightOut != nullptr) *heightOut = usedHeight;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKSETMAXSIZE")
                            .Number(width)
                            .Number(height)
                            .Raw("out:" + std::to_string(usedWidth))
                            .Raw("out:" + std::to_string(usedHeight)),
                        1);
    return 1;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HBITMAP __stdcall SKMENUBAR() {
  try {
    HBITMAP image = themecore::MenuBarImage();
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKMENUBAR"), HandleText(image));
    return image;
  } catch (...) {
    return nullptr;
  }
}
