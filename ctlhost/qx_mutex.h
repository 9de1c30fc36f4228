// QxMutex: the library's named mutex with its own recursion bookkeeping.
// Every mutex of the library is named in the per-process form (base_20<pid>)
// so that two host processes never share one.  Enter waits in rounds of
// 5 s and writes a WAIT_TIMEOUT line to the trace file after each round, so
// a lock held too long shows in the trace while the caller keeps waiting.
#pragma once

#include <windows.h>

#include <string>

namespace ctlhost {

class QxMutex {
 public:
  QxMutex() = default;
  QxMutex(const QxMutex&) = delete;
  QxMutex& operator=(const QxMutex&) = delete;
  ~QxMutex() { Close(); }

  // Opens the mutex base_20<pid>, creating it when none exists; without a
  // handle afterwards Enter and Leave return 1 and callers run unlocked.
  void Open(const std::string& base);
  void Close();

  // 0 acquired; 1 the mutex has no handle (nothing waited).
  int Enter(int tag);
  // 0 released; 1 the mutex has no handle.
  int Leave(int tag);

  const std::string& name() const { return name_; }
  DWORD owner() const { return ownerThread_; }
  int lockCount() const { return lockCount_; }

  static constexpr DWORD kWaitRoundMs = 5000;

 private:
  void WriteDiagnostic(const char* what, int tag, DWORD waitedMs);

  HANDLE handle_ = nullptr;
  DWORD ownerThread_ = 0;  // m_hthread: the thread that last acquired it
  int lockCount_ = 0;      // m_threadlockcount: its recursion depth
  std::string name_;       // m_name
  int flag_ = -1;          // m_Flag: the tag of the last successful Enter
};

// Holds a QxMutex for a scope.
class QxLock {
 public:
  QxLock(QxMutex& mutex, int tag) : mutex_(mutex), tag_(tag) { mutex_.Enter(tag_); }
  ~QxLock() { mutex_.Leave(tag_); }
  QxLock(const QxLock&) = delete;
  QxLock& operator=(const QxLock&) = delete;

 private:
  QxMutex& mutex_;
  int tag_;
};

// The unnamed mutex that serialises the diagnostic lines of every QxMutex,
// made by the first one opened and closed at unload.
void CloseDiagnosticMutex();

}  // namespace ctlhost
