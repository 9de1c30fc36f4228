// The trace file; see trace_file.h.
#include "trace_file.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "core/log_book.h"

namespace ctlhost {

namespace {
HANDLE g_traceMutex = nullptr;
bool g_traceOpenedBefore = false;
constexpr DWORD kTraceLockWaitMs = 100;
}  // namespace

void OpenTraceFile() {
  const char* fileName = std::strrchr(kTraceFilePath, '\\');
  const std::string mutexName = std::string(fileName == nullptr ? kTraceFilePath : fileName + 1) + "DBG";
  g_traceMutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, mutexName.c_str());
  if (g_traceMutex == nullptr) g_traceMutex = CreateMutexA(nullptr, FALSE, mutexName.c_str());
  g_traceOpenedBefore = false;
}

void CloseTraceFile() {
  if (g_traceMutex != nullptr) CloseHandle(g_traceMutex);
  g_traceMutex = nullptr;
}

int TraceWrite(const char* text, bool lock) {
  if (text == nullptr) return 0;
  bool locked = false;
  if (lock && g_traceMutex != nullptr) {
    const DWORD wait = WaitForSingleObject(g_traceMutex, kTraceLockWaitMs);
    locked = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  int result = 0;
  const DWORD disposition = g_traceOpenedBefore ? OPEN_ALWAYS : CREATE_ALWAYS;
  HANDLE file = CreateFileA(kTraceFilePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    result = g_traceOpenedBefore ? 2 : 1;
  } else {
    g_traceOpenedBefore = true;
    const std::string entry = ComposeTraceText(text);
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(file, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
    CloseHandle(file);
    if (TraceGoesToDebugger(entry)) OutputDebugStringA(entry.c_str());
  }
  if (locked) ReleaseMutex(g_traceMutex);
  return result;
}

}  // namespace ctlhost
