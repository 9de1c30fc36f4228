// The library's entry point and the order of its global state's life.
//
// Unloading with FreeLibrary (reserved null) destroys the hosted items and
// containers (controls closed and released, window procedures put back),
// then the tables, in the reverse order of their making.  At process exit
// (reserved set) the controls' own DLLs may already be gone, so nothing
// that calls into another module is torn down then; only the hooks are
// removed.  Every hook the library set on any thread is removed at either
// detach, so no thread keeps a hook procedure that points into this module
// after it is unmapped.
#include <windows.h>

#include <new>

#include "container.h"
#include "items.h"
#include "lifetime.h"
#include "library.h"
#include "trace_file.h"

namespace ctlhost {

namespace {

Library* g_library = nullptr;

void DestroyValueHolders(Library& library) {
  for (void* entry : library.valueHolders.Entries()) {
    auto* holder = static_cast<VARIANT*>(entry);
    VariantClear(holder);
    delete holder;
  }
  library.valueHolders.Clear();
}

// Hosted objects first: they still use the lists and the log.
void DestroyHostedObjects(Library& library) {
  DestroyValueHolders(library);
  for (void* entry : library.controlItems.Entries()) delete static_cast<Item*>(entry);
  for (void* entry : library.windowItems.Entries()) delete static_cast<Item*>(entry);
  for (void* entry : library.containers.Entries()) delete static_cast<Container*>(entry);
}

void ProcessAttach(HINSTANCE instance) {
  OpenTraceFile();
  g_library = new (std::nothrow) Library(instance);
  if (g_library == nullptr) return;
  g_library->log.version = LogVersion{3, 0, 293};
  NotifyLifetimeObjects(LifetimeEvent::kProcessAttach, instance);
  g_library->hooks.InstallForThread();
}

void ProcessDetach(bool freeLibrary) {
  if (g_library == nullptr) return;
  NotifyLifetimeObjects(LifetimeEvent::kProcessDetach, g_library->instance);
  g_library->hooks.RemoveAll();
  g_library->comThreads.ForgetThread();
  Library* library = g_library;
  if (freeLibrary) {
    DestroyHostedObjects(*library);
    g_library = nullptr;
    delete library;
    CloseLifetimeRegistry();
    CloseDiagnosticMutex();
    CloseTraceFile();
  } else {
    g_library = nullptr;
  }
}

}  // namespace

Library::Library(HINSTANCE libraryInstance) : instance(libraryInstance) {
  apiLock.Open("QXMUTEXCTLHOSTCTAPI");
}

Library::~Library() { apiLock.Close(); }

Library* CurrentLibrary() { return g_library; }

ApiLock::ApiLock() {
  if (g_library != nullptr) g_library->apiLock.Enter(0);
}

ApiLock::~ApiLock() {
  if (g_library != nullptr) g_library->apiLock.Leave(0);
}

VARIANT* NewValueHolder() {
  if (g_library == nullptr) return nullptr;
  auto* holder = new (std::nothrow) VARIANT;
  if (holder == nullptr) return nullptr;
  VariantInit(holder);
  if (g_library->valueHolders.Add(holder) < 0) {
    delete holder;
    return nullptr;
  }
  return holder;
}

int FreeValueHolder(VARIANT** p) {
  if (p == nullptr) return 1;
  VARIANT* holder = *p;
  *p = nullptr;
  if (holder == nullptr || g_library == nullptr || !g_library->valueHolders.Remove(holder)) return 1;
  VariantClear(holder);
  delete holder;
  return 0;
}

}  // namespace ctlhost

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  using namespace ctlhost;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      ProcessAttach(instance);
      break;
    case DLL_THREAD_ATTACH:
      if (Library* library = CurrentLibrary()) {
        NotifyLifetimeObjects(LifetimeEvent::kThreadAttach, library->instance);
        library->hooks.InstallForThread();
      }
      break;
    case DLL_THREAD_DETACH:
      if (Library* library = CurrentLibrary()) {
        NotifyLifetimeObjects(LifetimeEvent::kThreadDetach, library->instance);
        library->hooks.RemoveForThread();
        library->comThreads.ForgetThread();
      }
      break;
    case DLL_PROCESS_DETACH:
      ProcessDetach(reserved == nullptr);
      break;
  }
  return TRUE;
}
