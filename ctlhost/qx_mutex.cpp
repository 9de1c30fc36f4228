// QxMutex: named mutexes with recursion bookkeeping and WAIT_TIMEOUT
// diagnostics in the trace file.
#include "qx_mutex.h"

#include <cstdio>

#include "core/names.h"
#include "trace_file.h"

namespace ctlhost {

namespace {
HANDLE g_diagnosticMutex = nullptr;
// The diagnostic mutex is held only around one trace write; a bound keeps a
// writer that died holding it from stopping every later diagnostic.
constexpr DWORD kDiagnosticWaitMs = 10000;
}  // namespace

void CloseDiagnosticMutex() {
  if (g_diagnosticMutex != nullptr) CloseHandle(g_diagnosticMutex);
  g_diagnosticMutex = nullptr;
}

void QxMutex::Open(const std::string& base) {
  Close();
  name_ = MutexName(base, GetCurrentProcessId());
  handle_ = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, name_.c_str());
  if (handle_ == nullptr) handle_ = CreateMutexA(nullptr, FALSE, name_.c_str());
  if (g_diagnosticMutex == nullptr) g_diagnosticMutex = CreateMutexA(nullptr, FALSE, nullptr);
}

void QxMutex::Close() {
  if (handle_ != nullptr) CloseHandle(handle_);
  handle_ = nullptr;
  ownerThread_ = 0;
  lockCount_ = 0;
}

void QxMutex::WriteDiagnostic(const char* what, int tag, DWORD waitedMs) {
  char line[512];
  std::snprintf(line, sizeof line,
                "\n %s _%s_ (ThreadID=x%lx/x%lx) (Time=%ld / %ld) this x%llx Flag %ld / m_Flag %ld: "
                "hmutex x%llx m_threadlockcount %d ",
                what, name_.c_str(), static_cast<unsigned long>(GetCurrentThreadId()),
                static_cast<unsigned long>(ownerThread_), static_cast<long>(waitedMs),
                static_cast<long>(kWaitRoundMs),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this)),
                static_cast<long>(tag), static_cast<long>(flag_),
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle_)), lockCount_);
  // The diagnostic mutex is only ever held around one trace write.
  if (g_diagnosticMutex != nullptr) WaitForSingleObject(g_diagnosticMutex, kDiagnosticWaitMs);
  TraceWrite(line, false);
  if (g_diagnosticMutex != nullptr) ReleaseMutex(g_diagnosticMutex);
}

int QxMutex::Enter(int tag) {
  if (handle_ == nullptr) return 1;
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD wait = WaitForSingleObject(handle_, kWaitRoundMs);
    if (wait == WAIT_OBJECT_0) break;
    if (wait == WAIT_ABANDONED) {
      // The mutex now belongs to this thread: the wait counts as acquired.
      WriteDiagnostic("WAIT_ABANDONED", tag, GetTickCount() - start);
      break;
    }
    if (wait == WAIT_TIMEOUT) {
      WriteDiagnostic("WAIT_TIMEOUT", tag, GetTickCount() - start);
      continue;
    }
    return 1;  // WAIT_FAILED: the handle is unusable; run unlocked
  }
  const DWORD self = GetCurrentThreadId();
  lockCount_ = ownerThread_ == self ? lockCount_ + 1 : 1;
  ownerThread_ = self;
  flag_ = tag;
  return 0;
}

int QxMutex::Leave(int tag) {
  if (handle_ == nullptr) return 1;
  // The bookkeeping changes while the mutex is still held, so the next
  // owner never sees this thread's count.
  const DWORD self = GetCurrentThreadId();
  const DWORD ownerBefore = ownerThread_;
  if (ownerThread_ == self && --lockCount_ < 1) {
    lockCount_ = 0;
    ownerThread_ = 0;
  }
  if (!ReleaseMutex(handle_)) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "\n QXMUTEX:::Leave this x%llx m_name _%s_ ReleaseMutex Flag=%d FAILED hthread x%lx / "
                  "m_hthread x%lx ",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this)), name_.c_str(), tag,
                  static_cast<unsigned long>(self), static_cast<unsigned long>(ownerBefore));
    if (g_diagnosticMutex != nullptr) WaitForSingleObject(g_diagnosticMutex, kDiagnosticWaitMs);
    TraceWrite(line, false);
    if (g_diagnosticMutex != nullptr) ReleaseMutex(g_diagnosticMutex);
  }
  return 0;
}

}  // namespace ctlhost
