// A WH_GETMESSAGE hook on every thread of the host while the library is
// loaded: it routes the dialog keys and the active control's accelerators
// of windows inside a container before the host's message loop sees them.
// Hooks are set and removed only from DllMain.  Each thread's hook handle
// also sits in thread-local storage, which is all the hook procedure reads,
// so a thread attaching (and growing the table) never races a hook running
// on another thread; at unload every hook still recorded is removed, so no
// thread is left with a hook procedure in unmapped code.
#pragma once

#include <windows.h>

#include <vector>

namespace ctlhost {

class MessageHooks {
 public:
  MessageHooks();
  ~MessageHooks();

  void InstallForThread();
  void RemoveForThread();
  // Unhooks every recorded pair, whichever thread it belongs to.
  void RemoveAll();

  // _QXActivateTranslateMessage@4's flag: TranslateMessage is called from
  // the hook for keys inside a control.
  volatile LONG translateFlag = 0;

 private:
  struct Pair {
    DWORD threadId = 0;
    HHOOK hook = nullptr;
  };
  static LRESULT CALLBACK HookProcedure(int code, WPARAM wParam, LPARAM lParam);

  CRITICAL_SECTION lock_;
  std::vector<Pair> pairs_;
  DWORD tlsIndex_ = TLS_OUT_OF_INDEXES;
};

}  // namespace ctlhost
