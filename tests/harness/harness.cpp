// The messaging side of the test harness: the recording peer window,
// WM_COPYDATA sending, bounded message pumps, window look-ups, window facts
// and the hex helpers used in logs.  Started programs live in process.cpp,
// pixel capture and BMP files in capture.cpp.
#include "harness.h"

#include <utility>

namespace harness {
namespace {

// How long a window may take to answer a text request before we fall back
// to the caption the system keeps: a hung program must not hang a test.
constexpr DWORD kTextTimeoutMs = 2000;
// Longest window text we read; an edit control could hold more, a test never
// needs it.
constexpr DWORD_PTR kMaxTextBytes = 16u << 20;

struct ClassCount {
  const char* className;
  int count;
};

BOOL CALLBACK CountClassWindow(HWND hwnd, LPARAM param) {
  auto* counter = reinterpret_cast<ClassCount*>(param);
  // Class names are at most 256 characters; Windows compares them without
  // regard to case, as FindWindow does.
  char name[257] = {};
  if (GetClassNameA(hwnd, name, sizeof name) > 0 && lstrcmpiA(name, counter->className) == 0) {
    ++counter->count;
  }
  return TRUE;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

// ---------------------------------------------------------------------------
// PeerWindow

PeerWindow::PeerWindow(const char* className, LRESULT result)
    : className_(className ? className : ""), result_(result) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className_.c_str();
  if (!RegisterClassA(&windowClass)) {
    // A second peer of the same class in this process shares the
    // registration; a class someone else registered here is not ours to use.
    WNDCLASSA existing = {};
    if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS ||
        !GetClassInfoA(instance, className_.c_str(), &existing) || existing.lpfnWndProc != WindowProc) {
      return;
    }
  }
  // Hidden and top-level: FindWindow and EnumWindows see it, the screen
  // does not.
  hwnd_ = CreateWindowExA(0, className_.c_str(), className_.c_str(), WS_OVERLAPPED, 0, 0, 100, 100,
                          nullptr, nullptr, instance, this);
}

PeerWindow::~PeerWindow() {
  if (hwnd_) {
    // Detach first: should the destroy fail (called from another thread),
    // later messages must not reach a dead object.
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  // Fails while another peer of this class lives; the last one unregisters.
  UnregisterClassA(className_.c_str(), GetModuleHandleA(nullptr));
}

void PeerWindow::clear() {
  received_.clear();
  messages_.clear();
}

void PeerWindow::setCopyDataHandler(std::function<void(const CopyDataRecord&)> handler) {
  copyDataHandler_ = std::move(handler);
}

LRESULT PeerWindow::onCopyData(WPARAM wParam, const COPYDATASTRUCT* data) {
  CopyDataRecord record;
  record.wParam = static_cast<uint32_t>(wParam);
  if (data) {
    record.code = static_cast<uint32_t>(data->dwData);
    record.cbData = data->cbData;
    if (data->lpData && data->cbData > 0) {
      record.bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
    }
  }
  received_.push_back(std::move(record));
  if (copyDataHandler_) copyDataHandler_(received_.back());
  return result_;
}

LRESULT CALLBACK PeerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<PeerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  try {
    self->messages_.push_back(message);
    if (message == WM_COPYDATA) {
      return self->onCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    }
  } catch (...) {
    // Out of memory while recording: no exception may leave a window
    // procedure, and the sender sees a refusal rather than a success.
    return 0;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Messages and windows

bool SendCopyData(HWND target, uint32_t code, const std::string& bytes, WPARAM wParam,
                  DWORD timeoutMs, LRESULT* result) {
  if (result) *result = 0;
  if (bytes.size() > MAXDWORD) return false;
  COPYDATASTRUCT data = {};
  data.dwData = code;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = bytes.empty() ? nullptr : const_cast<char*>(bytes.data());
  DWORD_PTR answer = 0;
  // SMTO_NORMAL keeps answering messages sent to us while we wait, so a
  // receiver that calls back does not deadlock; no SMTO_ABORTIFHUNG, so a
  // program that is slow to start still gets the whole time-out.
  if (!SendMessageTimeoutA(target, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                           timeoutMs, &answer)) {
    return false;
  }
  if (result) *result = static_cast<LRESULT>(answer);
  return true;
}

void PumpMessagesFor(DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    // The time is checked inside too, so a flood of posted messages (a zero
    // timer) cannot keep us here past the limit.
    while (GetTickCount() - start < ms && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      // WM_QUIT belongs to no window; a harness pump has no loop to end.
      if (message.message == WM_QUIT) continue;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= ms) return;
    // Sent messages from other threads wake us as well (QS_SENDMESSAGE).
    MsgWaitForMultipleObjectsEx(0, nullptr, ms - elapsed, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

HWND WaitForWindow(const char* className, DWORD timeoutMs) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = FindWindowA(className, nullptr)) != nullptr; }, timeoutMs);
  return found;
}

int CountWindows(const char* className) {
  ClassCount counter = {className, 0};
  EnumWindows(CountClassWindow, reinterpret_cast<LPARAM>(&counter));
  return counter.count;
}

// ---------------------------------------------------------------------------
// Window facts

std::string WindowText(HWND hwnd) {
  // WM_GETTEXT rather than GetWindowText: for a control of another process
  // only the message returns what the control holds now.
  DWORD_PTR length = 0;
  if (SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kTextTimeoutMs, &length)) {
    if (length > kMaxTextBytes) length = kMaxTextBytes;
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_NORMAL, kTextTimeoutMs, &copied)) {
      text.resize(copied < length ? copied : length);
      return text;
    }
  }
  // A hung window: the caption the system keeps needs no answer from it.
  char caption[1024] = {};
  int copied = GetWindowTextA(hwnd, caption, sizeof caption);
  return std::string(caption, copied > 0 ? copied : 0);
}

RECT WindowRectOf(HWND hwnd) {
  RECT rect = {0, 0, 0, 0};
  if (!GetWindowRect(hwnd, &rect)) rect = RECT{0, 0, 0, 0};
  return rect;
}

bool IsWindowEnabledAndVisible(HWND hwnd, bool* enabled, bool* visible) {
  bool isEnabled = false;
  bool isVisible = false;
  if (hwnd && IsWindow(hwnd)) {
    isEnabled = IsWindowEnabled(hwnd) != FALSE;
    isVisible = IsWindowVisible(hwnd) != FALSE;
  }
  if (enabled) *enabled = isEnabled;
  if (visible) *visible = isVisible;
  return isEnabled && isVisible;
}

// ---------------------------------------------------------------------------
// Hex

std::string ToHex(const std::string& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char byte : bytes) {
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0f]);
  }
  return hex;
}

bool FromHex(const std::string& hex, std::string* bytes) {
  if (hex.size() % 2 != 0) return false;
  std::string decoded;
  decoded.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexDigitValue(hex[i]);
    const int low = HexDigitValue(hex[i + 1]);
    if (high < 0 || low < 0) return false;
    decoded.push_back(static_cast<char>(high * 16 + low));
  }
  if (bytes) *bytes = std::move(decoded);
  return true;
}

}  // namespace harness
