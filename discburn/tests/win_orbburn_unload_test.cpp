// orbburn.dll loaded with LoadLibraryA and freed by its client while a
// burn or an erase runs on the library's threads: the process lives on,
// the completion callback still comes once, the burn's data reaches the
// software drive, and the library (and the ASPI layer it loaded) leaves
// the process once its last thread has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>

#include <test_files.h>  // the harness's

namespace {

using Callback = void(__cdecl*)(int result);
using InitializeAspiFn = int(__stdcall*)(int, char*, int, char*);
using IntFn = int(__stdcall*)();
using IntIntFn = int(__stdcall*)(int);
using InsertFileFn = void*(__stdcall*)(wchar_t*, wchar_t*);
using StartFn = int(__stdcall*)(Callback);
using EraseFn = int(__stdcall*)(int, Callback);

std::atomic<int> g_calls{0};
std::atomic<int> g_result{-1};
HANDLE g_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);

void __cdecl OnDone(int result) {
  g_result = result;
  ++g_calls;
  SetEvent(g_done);
}

// Removed when the program ends.
const harness::ScratchFolder& Scratch() {
  static const harness::ScratchFolder folder("orbburn unload");
  return folder;
}

std::string Bytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

// A fresh medium in the software drive; LoadWithDrive makes it slow.
std::string UseSlowMedium(const char* medium, const std::string& name, const char* capacity = nullptr) {
  std::string backing = Scratch().Child(name + ".img");
  DeleteFileA(backing.c_str());
  DeleteFileA((backing + ".state").c_str());
  SetEnvironmentVariableA("ORB_DRIVE_MEDIUM", medium);
  SetEnvironmentVariableA("ORB_DRIVE_BACKING", backing.c_str());
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", nullptr);
  SetEnvironmentVariableA("ORB_DRIVE_CAPACITY", capacity);
  return backing;
}

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Waits (bounded) until neither orbburn.dll nor the ASPI layer is loaded.
bool WaitUntilUnloaded(DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
    if (!GetModuleHandleA("orbburn.dll") && !GetModuleHandleA("wnaspi32.dll")) return true;
    Sleep(50);
  }
  return false;
}

// Loads the library and selects the software drive, which from then on
// answers each read and write 20 ms late from threads of its own.  (The
// library scans the drives once as it loads, under the loader's lock, where
// such a thread could not start: the drive is made slow only afterwards.)
HMODULE LoadWithDrive() {
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", nullptr);
  HMODULE module = LoadLibraryA("orbburn.dll");
  if (!module) return nullptr;
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", "20");
  auto initialize = Export<InitializeAspiFn>(module, "vdscInitializeASPI");
  auto select = Export<IntIntFn>(module, "vdscSelectDevice");
  if (!initialize || !select || initialize(0, nullptr, 0, nullptr) != 1 || select(0) != 1) {
    FreeLibrary(module);
    return nullptr;
  }
  return module;
}

TEST(OrbburnUnload, FreedDuringBurn) {
  std::string backing = UseSlowMedium("cd-r", "burn");
  std::string source = Scratch().Child("payload.bin");
  const std::string payload = Bytes(3 << 20, 41);
  ASSERT_TRUE(harness::WriteFileBytes(source, payload));

  HMODULE module = LoadWithDrive();
  ASSERT_NE(nullptr, module);
  auto insert = Export<InsertFileFn>(module, "vdscInsertFileW");
  auto prepare = Export<IntFn>(module, "vdscPrepare");
  auto burn = Export<StartFn>(module, "vdscBurn");
  auto written = Export<IntFn>(module, "vdscGetBlocksWritten");
  ASSERT_TRUE(insert && prepare && burn && written);
  std::wstring wideSource(source.begin(), source.end());
  ASSERT_NE(nullptr, insert(const_cast<wchar_t*>(L"\\"), wideSource.data()));
  int sectors = prepare();
  ASSERT_GT(sectors, 0);

  g_calls = 0;
  ResetEvent(g_done);
  ASSERT_EQ(1, burn(OnDone));
  for (int i = 0; i < 2000 && written() < 27; ++i) Sleep(5);
  ASSERT_GE(written(), 27);
  ASSERT_EQ(DWORD{WAIT_TIMEOUT}, WaitForSingleObject(g_done, 0)) << "the burn ended before the library was freed";
  EXPECT_TRUE(FreeLibrary(module));

  ASSERT_EQ(DWORD{WAIT_OBJECT_0}, WaitForSingleObject(g_done, 120000));
  EXPECT_EQ(0, g_result.load());
  EXPECT_TRUE(WaitUntilUnloaded(10000));
  EXPECT_EQ(1, g_calls.load());
  // The burn went on to the end: the file is on the medium.
  std::string disc;
  ASSERT_TRUE(harness::ReadFileBytes(backing, &disc));
  EXPECT_GE(disc.size(), size_t(sectors) * 2048);
  EXPECT_NE(std::string::npos, disc.find(payload));

  // Loaded again, the library starts afresh and idle.
  module = LoadWithDrive();
  ASSERT_NE(nullptr, module);
  auto state = Export<IntFn>(module, "vdscGetComponentState");
  ASSERT_NE(nullptr, state);
  EXPECT_EQ(0, state());
  FreeLibrary(module);
  EXPECT_TRUE(WaitUntilUnloaded(10000));
}

TEST(OrbburnUnload, FreedDuringErase) {
  UseSlowMedium("dvd+rw", "erase", "8192");
  HMODULE module = LoadWithDrive();
  ASSERT_NE(nullptr, module);
  auto erase = Export<EraseFn>(module, "vdscEraseDisc");
  auto state = Export<IntFn>(module, "vdscGetComponentState");
  ASSERT_TRUE(erase && state);
  g_calls = 0;
  ResetEvent(g_done);
  // A full erase of a DVD+RW writes zeros over the whole medium (256
  // units here), unit by unit, on the slow drive.
  ASSERT_EQ(1, erase(0, OnDone));
  for (int i = 0; i < 400 && state() == 0; ++i) Sleep(5);
  ASSERT_NE(0, state());
  EXPECT_TRUE(FreeLibrary(module));
  ASSERT_EQ(DWORD{WAIT_OBJECT_0}, WaitForSingleObject(g_done, 240000));
  EXPECT_TRUE(WaitUntilUnloaded(10000));
  EXPECT_EQ(1, g_calls.load());
}

}  // namespace
