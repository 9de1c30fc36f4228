// Two of the system's window settings that the picture tool and the
// skinning library ask before they change them for a while: menu animation
// (switched off while a skinned popup menu is open, because the animation
// would show the unskinned menu) and full-window dragging (switched off
// while a skinned window is dragged by its caption, which then moves as an
// outline).
#pragma once

namespace suite {

// Menus open animated (SPI_GETMENUANIMATION).
bool ISMENUEFFECTON();
// Windows show their content while they are dragged (SPI_GETDRAGFULLWINDOWS).
bool ISFULLWINDOWDRAGON();

}  // namespace suite
