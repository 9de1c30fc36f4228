// The folder tree control (window class "skBff"): a frame window holding a
// tree view of the same control id that shows the drives and folders.
// This first version lists the drive roots; expansion, selection messages
// and drag and drop come with the rest of the control.
#pragma once

#include <windows.h>

namespace suite {

constexpr char FOLDER_TREE_CLASS[] = "skBff";

// Creates the control in `parent`; its inner tree view has the same id
// (the programs take the tree's font from it).  Null on failure.
HWND FolderTreeCreate(HWND parent, int x, int y, int width, int height, int id);

}  // namespace suite
