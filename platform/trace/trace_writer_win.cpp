// The Win32 side of the call trace: reads ORB_TRACE and appends lines to the
// file it names.  Formatting lives in trace_format.cpp.
#include <windows.h>

#include <string>

#include "trace_writer.h"

namespace orbtrace {

namespace {

const char kTraceVariable[] = "ORB_TRACE";

// The variable's value, "" when unset.  Any length the environment allows.
std::string TraceFilePath() {
  std::string value(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD length =
        GetEnvironmentVariableA(kTraceVariable, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return std::string();
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    // Too small: `length` is the size needed, terminating zero included.
    value.assign(length, '\0');
  }
  return std::string();
}

// The path made absolute, so that processes with different current folders
// agree on the lock of one file; the path as given when that fails.
std::string FullPath(const std::string& path) {
  std::string full(MAX_PATH, '\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return path;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.assign(length, '\0');
  }
  return path;
}

// Holds the cross-process mutex of one trace file for the scope.
//
// Windows writes through a handle opened for FILE_APPEND_DATA alone at the
// end of the file as it is at that moment, but Wine emulates the append as
// "find the end, then write there", so two processes writing at once can land
// on the same offset and one line is lost.  A wait that times out writes all
// the same: a slow process must not stop the program it traces.
class TraceFileLock {
 public:
  explicit TraceFileLock(const std::string& path)
      : mutex_(CreateMutexA(nullptr, FALSE, TraceLockName(FullPath(path)).c_str())) {
    if (mutex_ == nullptr) return;
    DWORD wait = WaitForSingleObject(mutex_, kLockTimeoutMs);
    isHeld_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  ~TraceFileLock() {
    if (isHeld_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  TraceFileLock(const TraceFileLock&) = delete;
  TraceFileLock& operator=(const TraceFileLock&) = delete;

 private:
  static constexpr DWORD kLockTimeoutMs = 2000;
  HANDLE mutex_;
  bool isHeld_ = false;
};

// Keeps the caller's last-error value across the writer's own API calls.
class LastErrorKeeper {
 public:
  LastErrorKeeper() : saved_(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(saved_); }

 private:
  DWORD saved_;
};

}  // namespace

bool IsEnabled() {
  LastErrorKeeper keeper;
  return GetEnvironmentVariableA(kTraceVariable, nullptr, 0) > 1;
}

void WriteLine(std::string_view line) {
  LastErrorKeeper keeper;
  std::string path = TraceFilePath();
  if (path.empty()) return;
  std::string record(line);
  record.push_back('\n');
  TraceFileLock lock(path);
  // FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of
  // the file as it is then, even when another process appended meanwhile.
  HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
}

void WriteCall(const CallLine& call, int64_t result) {
  if (!IsEnabled()) return;
  WriteLine(call.Format(GetCurrentProcessId(), result));
}

void WriteCall(const CallLine& call, std::string_view formattedResult) {
  if (!IsEnabled()) return;
  WriteLine(call.Format(GetCurrentProcessId(), formattedResult));
}

}  // namespace orbtrace
