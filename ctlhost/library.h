// The library's global state, made when a process loads the library and
// torn down when it is unloaded with FreeLibrary, in the reverse order:
// the trace file, the API lock, the log, the COM thread table, the message
// hook table and the global lists.  At process exit nothing that calls into
// other modules is torn down (see dll_main.cpp).
#pragma once

#include <windows.h>
#include <ole2.h>

#include "com_threads.h"
#include "core/pointer_list.h"
#include "log_file.h"
#include "message_hook.h"
#include "qx_mutex.h"

namespace ctlhost {

class Container;
class Item;

struct Library {
  explicit Library(HINSTANCE instance);
  ~Library();

  HINSTANCE instance;
  QxMutex apiLock;
  LogFile log;
  ComThreads comThreads;
  MessageHooks hooks;
  PointerList containers{16};
  PointerList windowItems{16};
  PointerList controlItems{16};
  PointerList allItems{64};
  PointerList subscriptions{8};
  PointerList valueHolders{32};
};

// The loaded library's state; null before attach and after detach.
Library* CurrentLibrary();

// The API lock around an export's body (tag 0).  Exports run their body
// whether or not the lock could be taken, as the lock's trouble is only
// reported in the trace file.
class ApiLock {
 public:
  ApiLock();
  ~ApiLock();
  ApiLock(const ApiLock&) = delete;
  ApiLock& operator=(const ApiLock&) = delete;
};

// The dialog-key and accelerator routing of one message fetched on this
// thread (the message hook calls it); a handled message is zeroed.
void PreTranslateHostMessage(MSG* message, bool translateInsideControls);

// Library-owned VARIANTs for callers that receive a VARIANT* (freed at
// unload).  NewValueHolder: null when memory runs out.  FreeValueHolder: 0
// freed, 1 when p is null or *p is not a holder; *p is nulled either way.
VARIANT* NewValueHolder();
int FreeValueHolder(VARIANT** p);

}  // namespace ctlhost
