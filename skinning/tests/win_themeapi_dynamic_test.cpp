// A host that loads the skinning library at run time and unloads it again:
// its BeginPaint and EndPaint imports lead into the library while it is
// loaded and back to the system's once it is gone, so the host never calls
// into unmapped code; its hooks and the keyboard cues go with it.
#include <gtest/gtest.h>
#include <windows.h>

#include "core/pe_imports.h"
#include "harness.h"
#include "test_files.h"
#include "themeapi_test_support.h"
#include "themecore.h"

namespace {

int g_paints = 0;

LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc != nullptr) ++g_paints;
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

uint64_t SlotValue(const char* name) {
  const auto* image = reinterpret_cast<const uint8_t*>(GetModuleHandleA(nullptr));
  const skinning::ImportSlot slot = skinning::FindImportSlot(
      image, skinning::LoadedImageSize(image, 4096), skinning::PeLayout::kLoadedImage, name);
  return slot.status == skinning::PeStatus::kFound ? slot.slotValue : 0;
}

uint64_t SystemFunction(const char* name) {
  return reinterpret_cast<uint64_t>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
}

int PaintOnce(HWND window) {
  const int before = g_paints;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  return g_paints - before;
}

BOOL KeyboardCues() {
  BOOL on = FALSE;
  SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &on, 0);
  return on;
}

TEST(ThemeapiLoadedAtRunTime, PaintImportsComeBackWhenTheLibraryGoes) {
  harness::ScratchFolder folder("themeapi dynamic");
  ASSERT_TRUE(harness::WriteFileBytes(folder.Child("flat.sks"), skintest::FlatSkinText()));
  ASSERT_EQ(1, SKINITENGINE(folder.Child("flat.sks").c_str()));
  const BOOL cuesBefore = KeyboardCues();
  SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(FALSE), 0);

  WNDCLASSA wc = {};
  wc.lpfnWndProc = PaintingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "SKINDYNAMICHOST";
  ASSERT_NE(0, RegisterClassA(&wc));
  HWND window = CreateWindowExA(0, "SKINDYNAMICHOST", "dynamic", WS_POPUP | WS_VISIBLE, 40, 40, 120, 80,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(1, PaintOnce(window));
  ASSERT_EQ(SystemFunction("BeginPaint"), SlotValue("BeginPaint"));

  HMODULE library = LoadLibraryA("themeapi.dll");
  ASSERT_NE(nullptr, library);
  EXPECT_TRUE(KeyboardCues()) << "switched on while the library is loaded";
  PostMessageA(window, WM_APP, 0, 0);
  harness::PumpMessagesFor(100);
  EXPECT_EQ(reinterpret_cast<uint64_t>(GetProcAddress(library, "skBeginPaint")), SlotValue("BeginPaint"));
  EXPECT_EQ(reinterpret_cast<uint64_t>(GetProcAddress(library, "skEndPaint")), SlotValue("EndPaint"));
  EXPECT_EQ(1, PaintOnce(window)) << "painting through the library";

  ASSERT_TRUE(FreeLibrary(library));
  EXPECT_EQ(nullptr, GetModuleHandleA("themeapi.dll"));
  EXPECT_EQ(SystemFunction("BeginPaint"), SlotValue("BeginPaint"));
  EXPECT_EQ(SystemFunction("EndPaint"), SlotValue("EndPaint"));
  EXPECT_FALSE(KeyboardCues()) << "the setting as it was";
  // Painting, messages and keys go on without the library's code.
  EXPECT_EQ(1, PaintOnce(window));
  SetForegroundWindow(window);
  skintest::AltChord('E');
  PostMessageA(window, WM_APP, 0, 0);
  harness::PumpMessagesFor(200);
  EXPECT_EQ(1, PaintOnce(window));

  DestroyWindow(window);
  UnregisterClassA("SKINDYNAMICHOST", GetModuleHandleA(nullptr));
  SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(cuesBefore)), 0);
  SKINITENGINE(nullptr);
}

}  // namespace
