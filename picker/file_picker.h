// The file picker as the programs compile it in: a skinned, modal
// file-open dialog (class ORBDLG) with a folder tree, the files of the
// current folder that pass the current pattern and extension rules, a
// filter box, an optional path display or name field, and a column of
// buttons whose captions the caller gives.  One picker is open at a time:
// its state is process-wide.
//
// Beside the dialog the picker keeps a few texts and a flag between calls
// for its callers (the accessors' stores), which live as long as the
// process.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace picker {

// FilePickerArgs: what a caller hands the dialog.
struct FilePickerArgs {
  HWND owner = nullptr;     // centred on it, disabled while open; null: the desktop
  std::string start;        // folder & "\" & pattern (patterns may be joined by ";")
  std::string title;        // one leading "#" is dropped
  std::string filters;      // description|patterns|description|patterns...
  std::string buttons;      // captions joined by "|"; 1 cancels, 2 confirms
  std::string listLabel;    // drawn above the file list
  std::string treeLabel;    // not empty: the folder tree is shown under it
  std::string filterLabel;  // drawn above the filter box
  std::string unused;       // not read
  std::string fieldLabel;   // not empty: the path display is shown under it
  int32_t mode = 0;         // 0 browse; non-zero address mode; 2 also lists names without extension
  bool saveMode = false;    // the outside chooser's save flag (see include/chooser.h)
};

// PickerResult values.
inline constexpr int32_t kPickerEndedWithoutButton = 0;
inline constexpr int32_t kPickerCancelled = 1;
inline constexpr int32_t kPickerConfirmed = 2;

// Shows the dialog and returns the 1-based button that closed it (2 also
// for a double click or Enter in the list).  *resultList gets the chosen
// path, or the chosen paths each followed by "|"; *name is read as the
// initial name ("path|name" preselects the file at path) and gets the final
// name.  A WM_QUIT that arrives while the dialog is open ends it as a
// cancel (1) and is posted again for the program's own loop; so does the
// owner's destruction.
int32_t ChooseFiles(const FilePickerArgs& args, std::string* resultList, std::string* name);

// CHOOSERMULTI.
int32_t ExchangeMultiRequest(int32_t flag);

// The texts kept between calls.
enum class Store {
  kHiddenExtensions,     // CHOOSERFILTER
  kListedExtensions,     // SKUSEFILTER
  kFilterChoice,         // SKFILTERCHOICE: the last pattern a list fill used
  kInputFile,            // CHOOSERINFILE
  kLastFile,             // CHOOSERLASTFILE
  kThumbnailExtensions,  // SKSHOWTHUMB (the outside chooser's)
};
// Stores `text` the way the store's accessor does (CHOOSERFILTER and
// SKUSEFILTER normalise it; an empty text clears).
void SetStore(Store store, const std::string& text);
std::string GetStore(Store store);

// DIRLISTPROC and DLDIALOGMESSAGE.
LRESULT CALLBACK PickerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
int32_t PickerDialogMessage(HWND dialog, MSG* message);

}  // namespace picker
