// Threads of the library that outlive a client's FreeLibrary: each holds
// its own reference on orbburn.dll from before it runs until its last
// instruction (FreeLibraryAndExitThread), so a client that unloads the
// library during a burn or an erase does not unmap code or free objects a
// library thread still uses.  The library's teardown then runs on the last
// such thread as it leaves, when nothing of the burn runs any more.
#pragma once

#include <windows.h>

namespace discburn {

using LibraryThreadMain = unsigned(__stdcall*)(void* argument);

// Creates `main(argument)` suspended, holding a reference on this module;
// null (and no reference kept) when the thread cannot be created.
HANDLE StartLibraryThread(unsigned stackBytes, LibraryThreadMain main, void* argument);

}  // namespace discburn
