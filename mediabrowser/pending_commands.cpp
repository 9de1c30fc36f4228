// Commands of the main window whose work is not built yet.  Each of them
// does nothing at all (no box, no change to any file), so a user who picks
// one is told nothing untrue; the menus offer them because the text table
// names them.
//
//   801-807, 1400-  contact sheets
//   1499
//   901-907         album pages
//   401-406         media search
#include <windows.h>

#include "browser_state.h"

namespace browser {

namespace {

// The ids above; any other id is an action of the action table.
bool IsPendingCommand(int id) {
  return (id >= 801 && id <= 807) || (id >= 901 && id <= 907) ||
         (id >= 401 && id <= 406) || (id >= 1400 && id <= 1499);
}

}  // namespace

bool RunPendingCommand(int id) {
  return IsPendingCommand(id);
}

}  // namespace browser
