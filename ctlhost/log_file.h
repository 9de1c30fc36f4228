// The log "<host program>.LOG": recreated with its header when a process
// loads the library, then single lines and nested groups of pending entries
// per thread (core/log_book.h has the rules).  The file is opened and closed
// around every line, so the client may delete it between lines.
#pragma once

#include <windows.h>

#include <string>

#include "core/log_book.h"
#include "lifetime.h"
#include "qx_mutex.h"

namespace ctlhost {

class LogFile : public LifetimeObject {
 public:
  static constexpr int kThreadSlots = 16;

  LogFile();
  ~LogFile() override;

  int ProcessAttach(HINSTANCE library) override;
  int ThreadDetach() override;

  // 0 written; 1 text null; 2 no table for the thread; 3 the file could
  // not be opened.
  int WriteLine(const char* text);
  // 0; 1 no table for the thread.
  int Enter(const char* text);
  int Error(const char* text);
  int Leave(int result, int force);
  int SetMargin(int delta);
  const std::string& path() const { return path_; }

  LogVersion version;

 private:
  struct ThreadTable {
    DWORD threadId = 0;
    LogThreadBook book;
  };
  // The calling thread's table, made in the first free slot; null with all
  // slots taken.  Called under the mutex.
  ThreadTable* TableOfThread();
  int AppendLine(const std::string& line);

  HINSTANCE library_ = nullptr;
  QxMutex mutex_;
  std::string path_;
  ThreadTable* tables_[kThreadSlots] = {};
};

}  // namespace ctlhost
