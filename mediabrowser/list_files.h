// The collection's list files: ".upl" files of the user folder that the
// load and save commands read and write (list_files.cpp) through the
// list-file box (list_file_box.cpp).  The format is the suite's
// (suite/core/list_file).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace browser {

// Text entries of the list-file commands.
constexpr size_t kNoListFilesEntry = 23;       // the user folder holds no list file
constexpr size_t kListExtensionEntry = 25;     // ".upl"
constexpr size_t kNothingToSaveEntry = 26;     // the collection is empty
constexpr size_t kOpenListCaptionEntry = 27;
constexpr size_t kReplaceListEntry = 28;       // follows the path: replace it?
constexpr size_t kListYesNoEntry = 29;
constexpr size_t kSaveListCaptionEntry = 31;
constexpr size_t kSaveListButtonsEntry = 32;   // save | cancel
constexpr size_t kOpenListButtonsEntry = 33;   // open | delete | cancel
constexpr size_t kNoListedFileEntry = 82;      // follows the name: none of its files exists

// Save (13, 204): the collection written as a list file named in the box.
void SaveCollectionAsList();
// Load (12, 203): the collection replaced by the files of a list file
// chosen in the box that still exist; or the chosen list file deleted to
// the recycle bin.
void LoadListIntoCollection();

// The list-file box over the user folder's list files.  Mode 0 opens:
// buttons 1, 2, 3 of `buttons` ("|"-separated) give 1 (open), 2 (delete)
// and 3 (cancel), with the chosen file's name in `name`.  Mode 1 saves:
// `name` in is shown to start with; button 1 gives 1 with the typed name,
// button 2 gives 2 and "".  Closed otherwise (its close box, Escape): 0
// and "".
int32_t PickListFile(HWND owner, const std::string& caption, const std::string& buttons, std::string* name,
                     int32_t mode);
// The box's parameters, which its procedure and the caller share: copied
// into the store when `store` is non-zero, out of it otherwise.
void PickFileParams(std::string* text, intptr_t* number, int32_t* mode, int32_t store);
LRESULT CALLBACK PickFileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace browser
