// The rules of the media browser's small list boxes (the list-file box and
// the picture-type box): the row of buttons under the list and the box's
// size, and what each command of the list-file box hands back.  The windows
// themselves are the Win32 side's.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace browser {

// The box's client area is at least this wide; the list above the buttons
// and the buttons' row fill this height.
constexpr int32_t kPickBoxMinWidth = 330;
constexpr int32_t kPickBoxHeight = 227;
constexpr int32_t kPickBoxListTop = 4;
constexpr int32_t kPickBoxListHeight = 194;
constexpr int32_t kPickBoxButtonTop = 203;
// Buttons are numbered from this id in the order of their texts.
constexpr int32_t kPickBoxFirstButtonId = 2;

// The buttons' row: all as wide as the widest text with a space's width on
// either side, 4 pixels apart, centred in the box.
struct PickBoxLayout {
  int32_t innerWidth = kPickBoxMinWidth;
  int32_t buttonWidth = 0;
  int32_t buttonHeight = 0;
  std::vector<int32_t> buttonLeft;  // one per button
};
PickBoxLayout LayOutPickBox(int32_t buttonCount, int32_t widestTextWidth, int32_t spaceWidth,
                            int32_t textHeight);

// The longest name the save box lets a user type: what still fits in a path
// with the user folder and the list extension.  At least 1, because an edit
// limit of 0 means no limit at all.
int32_t ListNameLimit(size_t userFolderLength, size_t extensionLength);

// The list-file box's results.
enum PickFileResult : int32_t {
  PICKFILE_NONE = 0,     // closed without a button (its frame's close box)
  PICKFILE_CONFIRM = 1,  // open, or save under the typed name
  PICKFILE_SECOND = 2,   // delete (open box), cancel (save box)
  PICKFILE_CANCEL = 3,   // cancel (open box)
};

// What a command sent to the list-file box does: whether it ends the box,
// and with which name and result.
struct PickFileAnswer {
  bool closes = false;
  std::string name;
  int32_t result = PICKFILE_NONE;
};
// `id` and `code` are the WM_COMMAND's control id and notification; the
// list has id 1, the buttons ids 2, 3, 4; `frameCloseId` is the command
// the box's frame sends for its close box.  `listText` is the list's text
// (the chosen or typed name).
PickFileAnswer PickFileCommand(int32_t id, int32_t code, bool saveMode, const std::string& listText,
                               int32_t frameCloseId);

}  // namespace browser
