// Commands of the main window whose work is not built yet.  Each of them
// does nothing at all (no box, no change to any file), so a user who picks
// one is told nothing untrue; the menus offer them because the text table
// names them.
//
//   401-406         media search
#include <windows.h>

#include "browser_state.h"

namespace browser {

namespace {

// The ids above; any other id is an action of the action table.
bool IsPendingCommand(int id) {
  return id >= 401 && id <= 406;
}

}  // namespace

bool RunPendingCommand(int id) {
  return IsPendingCommand(id);
}

}  // namespace browser
