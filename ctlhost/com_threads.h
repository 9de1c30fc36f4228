// Which threads the library has initialised COM on (apartment-threaded).
// COM is never uninitialised by the library: a thread's entry is only
// forgotten when the thread or the library goes.
#pragma once

#include <windows.h>

#include <vector>

#include "qx_mutex.h"

namespace ctlhost {

class ComThreads {
 public:
  ComThreads();
  ~ComThreads();

  // 0 the calling thread is (now) initialised; 1 no room in the table;
  // 2 initialisation failed.
  int EnsureCom();
  // Forgets the calling thread's entry (COM stays initialised).
  void ForgetThread();

 private:
  struct Entry {
    DWORD threadId = 0;
    DWORD flags = 0;
    LONG useCount = 0;
  };
  static constexpr size_t kGrowth = 8;
  // The index of a free entry, growing by kGrowth; -1 without memory.
  int FreeEntry();

  QxMutex mutex_;
  std::vector<Entry> entries_;
};

}  // namespace ctlhost
