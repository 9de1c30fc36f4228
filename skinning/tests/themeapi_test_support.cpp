#include "themeapi_test_support.h"

#include <cstdint>

#include "test_files.h"
#include "unix_tools.h"

namespace skintest {

std::string FlatSkinText() {
  return "; flat colours for pixel probes\n"
         "[skin]\nname=Flat\n"
         "[colours]\n"
         "101=000000\n102=404040\n104=FFFFFF\n105=F0F0F0\n106=808080\n107=2060A0\n"
         "111=30A050\n112=E0C080\n113=101010\n114=C03030\n"
         "[metrics]\n1=24\n4=4\n5=4\n6=4\n7=20\n8=18\n9=4\n10=3\n11=26\n12=5\n";
}

std::string BmpFile(int width, int height, COLORREF (*colour)(int x, int y)) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * height);
  std::string bytes(54 + pixelBytes, '\0');
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, pixelBytes);
  for (int y = 0; y < height; ++y) {
    const size_t row = 54 + static_cast<size_t>(height - 1 - y) * rowBytes;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = colour(x, y);
      bytes[row + x * 3] = static_cast<char>(GetBValue(c));
      bytes[row + x * 3 + 1] = static_cast<char>(GetGValue(c));
      bytes[row + x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
  }
  return bytes;
}

namespace {

void SendMouse(DWORD flags, POINT at) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(60);
}

void SendKey(WORD key, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
  harness::PumpMessagesFor(40);
}

}  // namespace

void MouseMove(POINT at) { SendMouse(0, at); }

void MouseButton(POINT at, bool down) { SendMouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, at); }

void Click(POINT at) {
  MouseMove(at);
  MouseButton(at, true);
  MouseButton(at, false);
}

void AltChord(WORD virtualKey) {
  SendKey(VK_MENU, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  SendKey(VK_MENU, true);
}

void PressKey(WORD virtualKey) {
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
}

bool GrabScreen(const RECT& area, harness::Bmp24* picture) {
  harness::ScratchFolder folder("skin screen");
  const std::string file = folder.Child("screen.bmp");
  const std::string unixFile = harness::UnixPathOf(file);
  if (unixFile.empty()) return false;
  const std::string geometry = std::to_string(area.right - area.left) + "x" +
                               std::to_string(area.bottom - area.top) + "+" + std::to_string(area.left) +
                               "+" + std::to_string(area.top);
  int status = -1;
  if (!harness::RunUnixCommand("import -window root -crop " + geometry + " +repage -type TrueColor BMP3:" +
                                   harness::ShellQuoted(unixFile),
                               20000, nullptr, &status) ||
      status != 0) {
    return false;
  }
  return harness::ReadBmp24(file, picture);
}

void PumpUntilQuiet(DWORD quietMs, DWORD limitMs) {
  const DWORD start = GetTickCount();
  DWORD quietSince = GetTickCount();
  while (GetTickCount() - start < limitMs) {
    MSG message;
    bool any = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (any) quietSince = GetTickCount();
    if (GetTickCount() - quietSince >= quietMs) return;
    Sleep(10);
  }
}

POINT WindowPoint(HWND window, int x, int y) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {rect.left + x, rect.top + y};
}

}  // namespace skintest
