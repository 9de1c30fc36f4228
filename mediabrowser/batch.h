// The batch picture work of the media browser: the selected pictures of
// the file list flipped, mirrored, turned, resized, converted to another
// type or renamed into a numbered sequence, and a picture made the desktop
// wallpaper; with the boxes that ask for a picture type and a new size.
//
// A batch never loses a picture: each picture is written through a
// temporary file that replaces it only when complete, a conversion removes
// its source only once the new file is written and never writes over a
// file that exists, and a renaming takes only names that are free.  The
// first failure of a batch is reported, the other pictures go on; Escape
// (answered yes) stops between two pictures.  Main thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace browser {

// Commands of the picture menu and the file list's menu.
enum BatchCommand : int {
  kFlipCommand = 703,
  kMirrorCommand = 704,
  kRotateLeftCommand = 705,
  kRotateRightCommand = 706,
  kResizeCommand = 707,
  kConvertCommand = 710,
  kRenameCommand = 711,
  kWallpaperCommand = 110,
};

// True for a command above, which it then runs.
bool RunBatchCommand(int id);

// One step of a flip, mirror, turn or resize, for the batch's next picture
// not done (the posted WM_BROWSER_BATCH_STEP: wParam = the command, lParam
// 0).
LRESULT OnBatchStep(WPARAM wParam, LPARAM lParam);

// The picture-type box: the "|"-separated pairs of `types` (display text,
// then value "extension.format") in a list, and the buttons of `buttons`.
// Returns 1 for the first button, 2 for the second, 0 when the box was
// closed otherwise; `types` comes back as the value of the entry chosen
// ("" when none).
int32_t PickPictureType(HWND owner, const std::string& caption, const std::string& buttons, std::string* types);
// The picture-type box's parameter store: with `store` not 0 the arguments
// are copied into it, otherwise it is copied into them.
void PictureTypeParams(std::string* text, int32_t* number, std::string* text2, int32_t store);

// The new-size box: a width and a height (starting with the screen's) and
// the keep-proportions check box (starting ticked).  Returns 2 when
// confirmed, with each side within 1 to 9999; 1 when cancelled (the sides
// then come back 0).
int32_t NewSizeBox(HWND owner, const std::string& caption, int32_t* width, int32_t* height,
                   const std::string& buttons, bool* keepAspect);

}  // namespace browser
