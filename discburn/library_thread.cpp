// Library threads holding their own reference on the module.
#include "library_thread.h"

#include <process.h>

namespace discburn {

namespace {

struct ThreadStart {
  LibraryThreadMain main;
  void* argument;
  HMODULE module;  // the thread's reference, given back as it ends
};

unsigned __stdcall RunHoldingLibrary(void* raw) {
  ThreadStart start = *static_cast<ThreadStart*>(raw);
  delete static_cast<ThreadStart*>(raw);
  unsigned code = start.main(start.argument);
  // When this was the last reference the module's teardown runs inside
  // FreeLibrary, and the thread ends without returning into unmapped code.
  if (start.module != nullptr) FreeLibraryAndExitThread(start.module, code);
  return code;
}

}  // namespace

HANDLE StartLibraryThread(unsigned stackBytes, LibraryThreadMain main, void* argument) {
  auto* start = new ThreadStart{main, argument, nullptr};
  // Taken here, before the thread exists: a FreeLibrary right after the
  // start cannot come between the thread's creation and its reference.
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&RunHoldingLibrary),
                          &start->module)) {
    start->module = nullptr;
  }
  auto thread = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, stackBytes, RunHoldingLibrary, start, CREATE_SUSPENDED, nullptr));
  if (thread == nullptr) {
    if (start->module != nullptr) FreeLibrary(start->module);
    delete start;
  }
  return thread;
}

}  // namespace discburn
