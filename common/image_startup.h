// Starting and stopping GDI+ for a program.  GDI+ is loaded at run time so
// that a program still runs where gdiplus.dll is missing (pictures then load
// through the imaging library only).
#pragma once

#include <cstdint>

namespace suite {

// Starts GDI+ (version 1, no debug callback, background thread and external
// codecs allowed); its token, 0 when gdiplus.dll is missing or fails to start.
uintptr_t ImgStartup();
// Stops GDI+ started by ImgStartup (a 0 token does nothing).
void ImgShutdown(uintptr_t token);

// What the programs do at start: ImgStartup only when the skin engine finds
// "gdiplus.dll", else 0 (GDI+ unavailable).
uintptr_t ImgStartupWhenPresent();

}  // namespace suite
