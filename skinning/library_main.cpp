// The library's entry point and its two thread hooks in the host.  At
// process attach (in the thread that loads the host, as the library is
// linked by import) it switches the keyboard cues on, installs a message
// hook and a keyboard hook on that thread and turns the capture on.  The
// message hook redirects the host's BeginPaint and EndPaint the first time
// the host retrieves a message; the keyboard hook gives Alt chords to the
// skinned window's menu bar and push buttons (core/key_rules).  At detach
// the hooks go, the cues setting is put back, and a library unloaded while
// the host goes on gives the host its own paint calls back.
#include <windows.h>

#include <string>
#include <vector>

#include "core/control_kinds.h"
#include "core/key_rules.h"
#include "library_state.h"
#include "themeapi.h"
#include "themecore.h"

namespace skinning {

namespace {

HHOOK g_getMessageHook = nullptr;
HHOOK g_keyboardHook = nullptr;
bool g_cuesRead = false;
BOOL g_cuesSetting = FALSE;

// Keyboard cues of the system before the library switched them on, read
// once.
BOOL KeyboardCuesSetting() {
  if (!g_cuesRead) {
    SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &g_cuesSetting, 0);
    g_cuesRead = true;
  }
  return g_cuesSetting;
}

std::vector<std::string> TopLevelItemTexts(HMENU menu) {
  std::vector<std::string> texts;
  const int count = menu != nullptr ? GetMenuItemCount(menu) : 0;
  for (int i = 0; i < count; ++i) {
    char text[260] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text), MF_BYPOSITION);
    texts.push_back(text);
  }
  return texts;
}

// `HandleAltKey`: true when the key was used.
bool HandleAltKey(WPARAM virtualKey, LPARAM keyFlags) {
  if (!IsAltChord(static_cast<uint32_t>(virtualKey), static_cast<uint32_t>(keyFlags))) return false;
  // Only letters and digits are access keys: function keys (Alt+F4) and
  // the numeric pad go on to the system.
  const char key = MnemonicOfKey(MapVirtualKeyA(static_cast<UINT>(virtualKey), MAPVK_VK_TO_CHAR));
  if (key == 0) return false;
  HWND focus = GetFocus();
  if (focus == nullptr) focus = GetForegroundWindow();
  WindowRecordPtr record = FindWindowRecord(TopLevelOwner(focus));
  if (record == nullptr) return false;
  HWND window = record->window;
  if (record->menuBar != nullptr) {
    if (FindMnemonic(TopLevelItemTexts(GetMenu(record->menuBar)), key) >= 0) {
      SetFocus(record->menuBar);
      // Posted: the menu runs a loop of its own, which must not start inside
      // this hook while the key that called it is still in the queue (the
      // loop would take that key again).
      PostMessageA(record->menuBar, WM_SYSCHAR, virtualKey, keyFlags);
      return true;
    }
  }
  const std::vector<ControlRecord> controls = SkinnedControls();
  for (const ControlRecord& control : controls) {
    if (control.kind != kPushButton || GetParent(control.window) != window) continue;
    // A button the user cannot press cannot be pressed by its key either.
    if (!IsWindowEnabled(control.window) || !IsWindowVisible(control.window)) continue;
    if (!HasMnemonic(WindowTextOf(control.window), key)) continue;
    SetFocus(control.window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control.window), 1),
                 reinterpret_cast<LPARAM>(control.window));
    return true;
  }
  return false;
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0) RedirectHostPaint();
  // Always on to the next hook: other message hooks of the thread (input
  // methods, accessibility) must see every message too.
  return CallNextHookEx(g_getMessageHook, code, wParam, lParam);
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
  // Only a key taken from the queue acts: a key a program merely peeks at
  // (HC_NOREMOVE) comes again when it is taken.
  if (code == HC_ACTION && HandleAltKey(wParam, lParam)) return 1;
  return CallNextHookEx(g_keyboardHook, code, wParam, lParam);
}

void Attach() {
  if (SKOSVERSION() > 499) {
    KeyboardCuesSetting();
    SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(TRUE), 0);
  }
  SizeCaptionButtonSlots();
  const DWORD thread = GetCurrentThreadId();
  if (g_getMessageHook == nullptr) {
    g_getMessageHook = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, thread);
  }
  if (g_keyboardHook == nullptr) {
    g_keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, nullptr, thread);
  }
  skCaptureEnable(1);
}

void Detach(bool isUnloadedByCall) {
  if (SKOSVERSION() > 499) {
    SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0,
                          reinterpret_cast<void*>(static_cast<INT_PTR>(KeyboardCuesSetting())), 0);
  }
  if (g_getMessageHook != nullptr) UnhookWindowsHookEx(g_getMessageHook);
  if (g_keyboardHook != nullptr) UnhookWindowsHookEx(g_keyboardHook);
  g_getMessageHook = nullptr;
  g_keyboardHook = nullptr;
  // At process end nothing will call the host's paint functions again, and
  // the system takes the library's objects back.
  if (isUnloadedByCall) {
    RestoreHostPaint();
    DeleteCaptionFont();
    UnregisterMenuBarClass();
  }
}

}  // namespace

}  // namespace skinning

THEMEAPI_API BOOL __stdcall LIBMAIN(HINSTANCE module, DWORD reason, LPVOID reserved) {
  try {
    if (reason == DLL_PROCESS_ATTACH) {
      skinning::Attach();
    } else if (reason == DLL_PROCESS_DETACH) {
      skinning::Detach(reserved == nullptr);
    }
  } catch (...) {
  }
  (void)module;
  return TRUE;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  return LIBMAIN(module, reason, reserved);
}
