#include "core/control_kinds.h"

#include <string>

#include "core/caption_layout.h"

namespace skinning {

namespace {

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

constexpr uint32_t kIconStyle = 0x40;
constexpr uint32_t kBitmapStyle = 0x80;
constexpr uint32_t kListBoxHasStrings = 0x40;

// The button's type is the value of its low four style bits, not a set of
// flags: BS_3STATE (5) shares a bit with BS_RADIOBUTTON (4), BS_PUSHBOX
// (0xA) one with BS_CHECKBOX (2).
ControlClass ClassifyButton(uint32_t style, int32_t controlId) {
  switch (style & 0xF) {
    case 0x7:  // BS_GROUPBOX
      return {kGroupBox, true};
    case 0x2:  // BS_CHECKBOX
    case 0x3:  // BS_AUTOCHECKBOX
    case 0x5:  // BS_3STATE
    case 0x6:  // BS_AUTO3STATE
      return {kCheckBox, true};
    case 0x4:  // BS_RADIOBUTTON
    case 0x9:  // BS_AUTORADIOBUTTON
      return {kRadioButton, true};
    case 0xB:  // BS_OWNERDRAW: the host draws it
      return {kOwnerDrawnCheckBox, true};
    default:
      break;
  }
  if (style & (kIconStyle | kBitmapStyle)) return {kPictureButton, true};
  const bool isCaptionButton = controlId >= kFirstCaptionButtonId && controlId <= kLastCaptionButtonId;
  if (controlId == 0 || isCaptionButton) return {kPushButton, false};
  return {kPushButton, true};
}

}  // namespace

ControlClass ClassifyControl(std::string_view className, uint32_t style, int32_t controlId,
                             bool headerHasPictures) {
  const std::string name = Upper(className);
  if (name.find("MDICLIENT") != std::string::npos) return {kMdiClient, true};
  if (name == "TOOLBARWINDOW32") return {kToolbar, true};
  if (name == "MSCTLS_STATUSBAR32") return {kStatusBar, true};
  if (name == "BUTTON") return ClassifyButton(style, controlId);
  if (name == "SYSTABCONTROL32") return {kTabControl, true};
  if (name == "#32770") return {kDialog, true};
  if (name == "STATIC") return {kStatic, true};
  if (name == "SYSTREEVIEW32") return {kTreeView, true};
  if (name == "LISTBOX") return {kListBox, (style & kListBoxHasStrings) != 0};
  if (name == "MSCTLS_TRACKBAR32") return {kTrackbar, true};
  if (name == "SYSLISTVIEW32") return {kListView, true};
  if (name == "SYSHEADER32") return {kHeader, !headerHasPictures};
  if (name == "RICHEDIT") return {kRichEdit, true};
  return {kOtherControl, true};
}

}  // namespace skinning
