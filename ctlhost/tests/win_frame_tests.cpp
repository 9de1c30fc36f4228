// ctlhost20.dll loaded and unloaded in a host, under Wine: the log file and
// its header, the API lock's named mutex and its WAIT_TIMEOUT line, the
// message hook of a thread started after the load (it routes Tab between
// items) and its removal at unload, the log's nesting, the trace file, and
// a failed creation's log line.  The library is loaded with
// LoadLibrary so each test sees a fresh load.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "ctlhost20.h"
#include "harness.h"
#include "test_files.h"

namespace {

constexpr char kTraceFile[] = "c:\\ctlhostct20.dbg";

// The name an export has on this architecture: decorated ones keep their
// stdcall form on i686 only.
std::string ExportName(const char* name, int argumentBytes, bool decorated) {
#ifdef _WIN64
  (void)argumentBytes;
  (void)decorated;
  return name;
#else
  return decorated ? "_" + std::string(name) + "@" + std::to_string(argumentBytes) : name;
#endif
}

class Library {
 public:
  Library() : module_(LoadLibraryA("ctlhost20.dll")) {}
  ~Library() { Unload(); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool loaded() const { return module_ != nullptr; }
  void Unload() {
    if (module_ != nullptr) FreeLibrary(module_);
    module_ = nullptr;
  }
  template <typename Function>
  Function Get(const char* name, int argumentBytes, bool decorated = false) {
    return reinterpret_cast<Function>(GetProcAddress(module_, ExportName(name, argumentBytes, decorated).c_str()));
  }

 private:
  HMODULE module_;
};

std::string LogPath() {
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string path = program;
  return path.substr(0, path.rfind('.')) + ".LOG";
}

std::string ApiMutexName() { return "QXMUTEXCTLHOSTCTAPI_20" + std::to_string(GetCurrentProcessId()); }

std::string ReadText(const std::string& path) {
  std::string text;
  harness::ReadFileBytes(path, &text);
  return text;
}

// Every test leaves neither the log nor the trace file behind.
class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(LogPath().c_str());
    DeleteFileA(kTraceFile);
  }
  void TearDown() override {
    DeleteFileA(LogPath().c_str());
    DeleteFileA(kTraceFile);
  }
};

const char kHeaderPattern[] =
    "#\r\n# LogFile: (.*)\r\n# Time: (Sun|Mon|Tue|Wed|Thu|Fri|Sat) "
    "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) [0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9] "
    "20[0-9][0-9]\r\n# QX 'KX' runtime version: 3\\.0\\.293\r\n#\r\n";

TEST_F(FrameTest, LoadingWritesTheLogHeaderAndOpensTheApiMutex) {
  Library library;
  ASSERT_TRUE(library.loaded());
  const std::string log = ReadText(LogPath());
  std::smatch match;
  ASSERT_TRUE(std::regex_match(log, match, std::regex(kHeaderPattern))) << log;
  EXPECT_EQ(match[1].str(), LogPath());

  HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, ApiMutexName().c_str());
  EXPECT_NE(mutex, nullptr) << ApiMutexName();
  if (mutex != nullptr) CloseHandle(mutex);

  char path[MAX_PATH] = "sentinel";
  auto getLogFile = library.Get<int(WINAPI*)(char*)>("QXGetLogFile", 4);
  ASSERT_NE(getLogFile, nullptr);
  EXPECT_EQ(getLogFile(path), 0);
  EXPECT_EQ(std::string(path), LogPath());
  EXPECT_EQ(getLogFile(nullptr), 1);

  library.Unload();
  EXPECT_EQ(GetModuleHandleA("ctlhost20.dll"), nullptr);
  mutex = OpenMutexA(SYNCHRONIZE, FALSE, ApiMutexName().c_str());
  EXPECT_EQ(mutex, nullptr) << "the API mutex outlives the library";
  if (mutex != nullptr) CloseHandle(mutex);
}

// The hook probe: the library's calls of SetWindowsHookExA and
// UnhookWindowsHookEx pass through the test (two entries of its import
// table are replaced after the load), so the test knows each hook the
// library set, on which thread, and whether it took it down again.
struct HookCalls {
  CRITICAL_SECTION lock;
  std::vector<std::pair<DWORD, HHOOK>> set;
  std::vector<HHOOK> removed;
  HookCalls() { InitializeCriticalSection(&lock); }
  ~HookCalls() { DeleteCriticalSection(&lock); }
};
HookCalls g_hookCalls;

HHOOK WINAPI RecordingSetHook(int id, HOOKPROC procedure, HINSTANCE module, DWORD threadId) {
  HHOOK hook = SetWindowsHookExA(id, procedure, module, threadId);
  EnterCriticalSection(&g_hookCalls.lock);
  g_hookCalls.set.push_back({threadId, hook});
  LeaveCriticalSection(&g_hookCalls.lock);
  return hook;
}

BOOL WINAPI RecordingUnhook(HHOOK hook) {
  const BOOL removed = UnhookWindowsHookEx(hook);
  EnterCriticalSection(&g_hookCalls.lock);
  if (removed) g_hookCalls.removed.push_back(hook);
  LeaveCriticalSection(&g_hookCalls.lock);
  return removed;
}

// Replaces the import `function` of `dll` in `module`'s import table.
bool PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (imports.VirtualAddress == 0) return false;
  for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       descriptor->Name != 0; ++descriptor) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + descriptor->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
      DWORD old;
      if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old)) return false;
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
      return true;
    }
  }
  return false;
}

// A thread started after the load: it builds a parent with two edit
// controls, hands them to the library with tab indexes 0 and 1, and posts
// itself a Tab key; then, after the main thread has unloaded the library,
// it keeps fetching messages through the hooks it had.
struct ProbeThread {
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE unloaded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  using SetTabOrder = int(WINAPI*)(INT_PTR, int, int);
  SetTabOrder setTabOrder = nullptr;
  bool tabMovedFocus = false;
  bool containerSubclassed = false;
  bool pumpedAfterUnload = false;
  bool proceduresRestored = false;

  static DWORD WINAPI Run(void* argument) {
    static_cast<ProbeThread*>(argument)->Body();
    return 0;
  }

  void Body() {
    HWND parent = CreateWindowExA(0, "STATIC", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND first = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 100, 24, parent,
                                 reinterpret_cast<HMENU>(301), nullptr, nullptr);
    HWND second = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 40, 100, 24, parent,
                                  reinterpret_cast<HMENU>(302), nullptr, nullptr);
    const LONG_PTR parentProcedure = GetWindowLongPtrA(parent, GWLP_WNDPROC);
    const LONG_PTR editProcedure = GetWindowLongPtrA(first, GWLP_WNDPROC);
    setTabOrder(reinterpret_cast<INT_PTR>(first), kControlRefWindow, 0);
    setTabOrder(reinterpret_cast<INT_PTR>(second), kControlRefWindow, 1);
    containerSubclassed = GetWindowLongPtrA(parent, GWLP_WNDPROC) != parentProcedure &&
                          GetWindowLongPtrA(first, GWLP_WNDPROC) != editProcedure;
    SetForegroundWindow(parent);
    SetFocus(first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    tabMovedFocus = harness::PumpUntil([&] { return GetFocus() == second; }, 3000);
    SetEvent(ready);
    harness::PumpUntil([&] { return WaitForSingleObject(unloaded, 0) == WAIT_OBJECT_0; }, 15000);
    // Every message now goes through whatever hooks this thread still has.
    for (int i = 0; i < 5; ++i) PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    harness::PumpMessagesFor(300);
    pumpedAfterUnload = true;
    proceduresRestored = GetWindowLongPtrA(parent, GWLP_WNDPROC) == parentProcedure &&
                         GetWindowLongPtrA(first, GWLP_WNDPROC) == editProcedure;
    DestroyWindow(parent);
  }
};

TEST_F(FrameTest, AThreadStartedAfterLoadIsRoutedAndKeepsNoHookAfterUnload) {
  Library library;
  ASSERT_TRUE(library.loaded());
  HMODULE module = GetModuleHandleA("ctlhost20.dll");
  ASSERT_TRUE(PatchImport(module, "user32.dll", "SetWindowsHookExA", reinterpret_cast<void*>(&RecordingSetHook)));
  ASSERT_TRUE(PatchImport(module, "user32.dll", "UnhookWindowsHookEx", reinterpret_cast<void*>(&RecordingUnhook)));
  ProbeThread probe;
  probe.setTabOrder = library.Get<ProbeThread::SetTabOrder>("QXSetControlTabOrder", 12);
  ASSERT_NE(probe.setTabOrder, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, &ProbeThread::Run, &probe, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(probe.ready, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(probe.containerSubclassed);
  EXPECT_TRUE(probe.tabMovedFocus) << "the posted Tab did not reach the library's hook on the new thread";

  // The library set a hook for the new thread ...
  const DWORD probeThreadId = GetThreadId(thread);
  HHOOK probeHook = nullptr;
  for (const auto& [threadId, hook] : g_hookCalls.set) {
    if (threadId == probeThreadId) probeHook = hook;
  }
  ASSERT_NE(probeHook, nullptr) << "no hook was set for the thread started after the load";

  library.Unload();
  EXPECT_EQ(GetModuleHandleA("ctlhost20.dll"), nullptr);
  // ... and took it down at unload, while the thread still runs: the
  // system no longer knows the handle.
  const bool removedByLibrary =
      std::find(g_hookCalls.removed.begin(), g_hookCalls.removed.end(), probeHook) != g_hookCalls.removed.end();
  EXPECT_TRUE(removedByLibrary) << "the library did not unhook the thread's hook";
  EXPECT_FALSE(UnhookWindowsHookEx(probeHook)) << "the thread's hook outlived the library";
  SetEvent(probe.unloaded);
  ASSERT_EQ(WaitForSingleObject(thread, 15000), WAIT_OBJECT_0);
  EXPECT_TRUE(probe.pumpedAfterUnload);
  EXPECT_TRUE(probe.proceduresRestored) << "window procedures still point into the unloaded library";
  CloseHandle(thread);
  CloseHandle(probe.ready);
  CloseHandle(probe.unloaded);
}

// A helper thread holds the API mutex for 6 s; an export waits through one
// 5-second round, writes one WAIT_TIMEOUT line, then completes.
TEST_F(FrameTest, AnExportWaitingOverFiveSecondsWritesOneWaitTimeoutLine) {
  Library library;
  ASSERT_TRUE(library.loaded());
  auto getFlags = library.Get<int(WINAPI*)(INT_PTR, int, int*)>("QXGetControlFlags", 12);
  ASSERT_NE(getFlags, nullptr);

  struct Holder {
    HANDLE held = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::string name;
    static DWORD WINAPI Run(void* argument) {
      auto* self = static_cast<Holder*>(argument);
      HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, self->name.c_str());
      if (mutex == nullptr || WaitForSingleObject(mutex, 2000) != WAIT_OBJECT_0) return 1;
      SetEvent(self->held);
      Sleep(6000);
      ReleaseMutex(mutex);
      CloseHandle(mutex);
      return 0;
    }
  } holder;
  holder.name = ApiMutexName();
  HANDLE thread = CreateThread(nullptr, 0, &Holder::Run, &holder, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(holder.held, 5000), WAIT_OBJECT_0);

  const DWORD start = GetTickCount();
  int flags = 77;
  EXPECT_EQ(getFlags(0, kControlRefId, &flags), 2);  // no item has ID 0
  const DWORD waited = GetTickCount() - start;
  EXPECT_EQ(flags, 0);
  EXPECT_GE(waited, 5000u);
  EXPECT_LT(waited, 9000u);
  ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
  CloseHandle(thread);
  CloseHandle(holder.held);

  const std::string trace = ReadText(kTraceFile);
  const std::regex line("\n WAIT_TIMEOUT _" + ApiMutexName() +
                        "_ \\(ThreadID=x[0-9a-f]+/x[0-9a-f]+\\) \\(Time=(5[0-9]{3}) / 5000\\) this x[0-9a-f]+ "
                        "Flag 0 / m_Flag -?[0-9]+: hmutex x[0-9a-f]+ m_threadlockcount [0-9]+ ");
  const auto lines = std::distance(std::sregex_iterator(trace.begin(), trace.end(), line), std::sregex_iterator());
  EXPECT_EQ(lines, 1) << trace;
}

TEST_F(FrameTest, LogLinesMarginsAndBalancedGroups) {
  Library library;
  ASSERT_TRUE(library.loaded());
  auto write = library.Get<int(WINAPI*)(char*)>("QXLogWrite", 4);
  auto margin = library.Get<int(WINAPI*)(int)>("QXLogSetMargin", 4);
  auto enter = library.Get<int(WINAPI*)(char*)>("QXLogEnter", 4, true);
  auto leave = library.Get<int(WINAPI*)(int, int)>("QXLogLeave", 8, true);
  auto error = library.Get<int(WINAPI*)(char*)>("QXLogError", 4, true);
  ASSERT_TRUE(write && margin && enter && leave && error);
  const size_t headerSize = ReadText(LogPath()).size();
  ASSERT_GT(headerSize, 0u);

  EXPECT_EQ(margin(4), 0);
  EXPECT_EQ(write(const_cast<char*>("four")), 0);
  EXPECT_EQ(margin(-10), 0);
  EXPECT_EQ(write(const_cast<char*>("\nzero")), 0);
  EXPECT_EQ(write(nullptr), 1);
  // A clean group leaves no trace.
  enter(const_cast<char*>("clean outer"));
  enter(const_cast<char*>("clean inner"));
  EXPECT_EQ(leave(0, 0), 0);
  EXPECT_EQ(leave(0, 0), 0);
  // A failing inner call writes the whole group, indented by its depth.
  enter(const_cast<char*>("open player"));
  enter(const_cast<char*>("create pane"));
  leave(5, 0);
  leave(0, 0);
  enter(const_cast<char*>("navigate"));
  EXPECT_EQ(error(const_cast<char*>("no page")), 0);
  leave(0, 0);
  // Leaves without Enters never indent below the margin.
  leave(0, 0);
  leave(0, 0);
  enter(const_cast<char*>("after"));
  leave(0, 1);
  // 70 levels: the six beyond 64 are absorbed, and the depth comes back to 0.
  // The first six Leaves close the refused levels; the seventh fails the
  // innermost real one.
  for (int i = 0; i < 70; ++i) enter(const_cast<char*>("deep"));
  for (int i = 0; i < 6; ++i) leave(0, 0);
  leave(3, 0);
  for (int i = 0; i < 63; ++i) leave(0, 0);
  write(const_cast<char*>("end"));

  const std::string body = ReadText(LogPath()).substr(headerSize);
  std::string expected =
      "    four\r\nzero\r\nopen player\r\n  create pane ERROR 5\r\nnavigate\r\n  no page ERROR 1\r\nafter\r\n";
  for (int i = 0; i < 64; ++i) expected += std::string(2 * i, ' ') + "deep" + (i == 63 ? " ERROR 3" : "") + "\r\n";
  expected += "end\r\n";
  EXPECT_EQ(body, expected);
}

TEST_F(FrameTest, DebugTextsGoToTheTraceFile) {
  Library library;
  ASSERT_TRUE(library.loaded());
  auto debug = library.Get<int(WINAPI*)(char*)>("QXDebug", 4, true);
  ASSERT_NE(debug, nullptr);
  EXPECT_EQ(debug(const_cast<char*>("first")), 0);
  EXPECT_EQ(debug(const_cast<char*>("second")), 0);
  EXPECT_EQ(debug(nullptr), 1);
  EXPECT_EQ(ReadText(kTraceFile), "\nfirst\nsecond");
}

TEST_F(FrameTest, AFailedCreationIsLoggedWithItsStep) {
  Library library;
  ASSERT_TRUE(library.loaded());
  auto create = library.Get<int(WINAPI*)(HWND, char*, int, int, int, int, char*, int, IDispatch**)>(
      "QXCreateControl", 36);
  ASSERT_NE(create, nullptr);
  HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
  const size_t headerSize = ReadText(LogPath()).size();
  IDispatch* out = reinterpret_cast<IDispatch*>(1);
  EXPECT_EQ(create(parent, const_cast<char*>("Content"), 0, 0, 10, 10, const_cast<char*>("ProgID:Nope.Nothing;"), 1,
                   &out),
            5);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(create(parent, const_cast<char*>("Content"), 0, 0, 10, 10, nullptr, 1, &out), 2);
  EXPECT_EQ(create(parent, const_cast<char*>("Content"), 0, 0, 10, 10, nullptr, 1, nullptr), 1);
  EXPECT_EQ(ReadText(LogPath()).substr(headerSize),
            "QXCreateControl error 5.4: 'no valid ProgID ('Nope.Nothing;') found in 'ProgID:Nope.Nothing;'.'\r\n"
            "QXCreateControl error 2.1: ''\r\n");
  DestroyWindow(parent);
}

}  // namespace
