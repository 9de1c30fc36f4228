// Command 72: the picture shown in the picture layout copied to the
// clipboard through the imaging library, with a box saying how it went.
#include <windows.h>

#include <string>

#include "core/layout_controls.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "player_parts.h"
#include "orbboxes.h"
#include "player_state.h"

namespace player {

namespace {

constexpr size_t T_COPY_NEEDS_PICTURE_LAYOUT = 60;
constexpr size_t T_COPIED = 57;
constexpr size_t T_NOT_COPIED = 58;
constexpr size_t T_NO_PICTURE_TO_COPY = 59;

}  // namespace

void CopyPictureCommand() {
  PlayerState& p = Player();
  if (p.layoutMode != LAYOUT_PICTURE) {
    suite::boxes::ShowWarningBox(p.texts.entry(T_COPY_NEEDS_PICTURE_LAYOUT));
    return;
  }
  ShownPicture picture = CurrentShownPicture();
  if (picture.bitmap == nullptr) {
    suite::boxes::ShowWarningBox(p.texts.entry(T_NO_PICTURE_TO_COPY));
    return;
  }
  const std::string name = suite::UpperAscii(picture.path);
  if (L_CopyToClipboard(p.mainWindow, picture.bitmap, 0) > 0) {
    suite::boxes::ShowInfoBox(name + p.texts.entry(T_COPIED), "");
  } else {
    suite::boxes::ShowWarningBox(name + p.texts.entry(T_NOT_COPIED));
  }
}

}  // namespace player
