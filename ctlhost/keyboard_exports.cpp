// The keyboard routing flag, the one export of the keyboard routing.
#include <windows.h>

#include "ctlhost20.h"
#include "library.h"

extern "C" int WINAPI QXActivateTranslateMessage(int flag) {
  if (ctlhost::Library* library = ctlhost::CurrentLibrary()) {
    InterlockedExchange(&library->hooks.translateFlag, flag);
  }
  return 0;
}
