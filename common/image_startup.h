// Starting and stopping GDI+ for a program.  GDI+ is loaded at run time so
// that a program still runs where gdiplus.dll is missing (pictures then load
// through the imaging library only).
#pragma once

#include <cstdint>

namespace suite {

// Starts GDI+; its token, 0 when gdiplus.dll is missing or fails to start.
uintptr_t ImgStartup();
// Stops GDI+ started by ImgStartup (a 0 token does nothing).
void ImgShutdown(uintptr_t token);

}  // namespace suite
