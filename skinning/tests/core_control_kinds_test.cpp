// The kind of each child control the library registers.
#include <gtest/gtest.h>

#include <string>

#include "core/control_kinds.h"

namespace skinning {
namespace {

TEST(ControlKinds, ByClassStyleAndId) {
  const struct {
    const char* className;
    uint32_t style;
    int32_t id;
    bool headerPictures;
    int32_t kind;
    bool registered;
  } cases[] = {
      {"MDIClient", 0, 1, false, kMdiClient, true},
      {"MyMDIClientEx", 0, 1, false, kMdiClient, true},
      {"ToolbarWindow32", 0, 1, false, kToolbar, true},
      {"msctls_statusbar32", 0, 1, false, kStatusBar, true},
      {"Button", 7, 1, false, kGroupBox, true},
      {"Button", 3, 1, false, kCheckBox, true},       // BS_AUTOCHECKBOX
      {"Button", 0xB, 1, false, kOwnerDrawnCheckBox, true},
      {"Button", 2, 1, false, kCheckBox, true},       // BS_CHECKBOX
      {"Button", 5, 1, false, kCheckBox, true},       // BS_3STATE
      {"Button", 6, 1, false, kCheckBox, true},       // BS_AUTO3STATE
      {"Button", 0x10003, 1, false, kCheckBox, true}, // WS_TABSTOP | BS_AUTOCHECKBOX
      {"Button", 0xA, 1, false, kPushButton, true},   // BS_PUSHBOX
      {"Button", 0xC, 1, false, kPushButton, true},   // BS_SPLITBUTTON
      {"Button", 0xE, 1, false, kPushButton, true},   // BS_COMMANDLINK
      {"Button", 0x8, 1, false, kPushButton, true},   // BS_USERBUTTON
      {"Button", 0x2000 | 0x20, 1, false, kPushButton, true},  // BS_MULTILINE | BS_LEFTTEXT
      {"Button", 0x40 | 3, 1, false, kCheckBox, true},  // an icon check box is still one
      {"Button", 4, 1, false, kRadioButton, true},    // BS_RADIOBUTTON
      {"Button", 9, 1, false, kRadioButton, true},    // BS_AUTORADIOBUTTON
      {"Button", 0x40, 1, false, kPictureButton, true},
      {"Button", 0x80 | 1, 1, false, kPictureButton, true},
      {"BUTTON", 0, 9, false, kPushButton, true},
      {"Button", 1, 10, false, kPushButton, true},   // BS_DEFPUSHBUTTON
      {"Button", 0, 0, false, kPushButton, false},
      {"Button", 0, 32196, false, kPushButton, false},
      {"Button", 0, 32190, false, kPushButton, true},
      {"SysTabControl32", 0, 1, false, kTabControl, true},
      {"#32770", 0, 0, false, kDialog, true},
      {"Static", 0, 0, false, kStatic, true},
      {"SysTreeView32", 0, 1, false, kTreeView, true},
      {"ListBox", 0x40, 1, false, kListBox, true},
      {"ListBox", 0, 1, false, kListBox, false},
      {"msctls_trackbar32", 0, 1, false, kTrackbar, true},
      {"SysListView32", 0, 1, false, kListView, true},
      {"SysHeader32", 0, 1, false, kHeader, true},
      {"SysHeader32", 0, 1, true, kHeader, false},
      {"RichEdit", 0, 1, false, kRichEdit, true},
      {"RichEdit20A", 0, 1, false, kOtherControl, true},
      {"Edit", 0, 1, false, kOtherControl, true},
      {"SKBUTTON", 0, 32196, false, kOtherControl, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.className) + " style " + std::to_string(c.style) + " id " +
                 std::to_string(c.id));
    const ControlClass got = ClassifyControl(c.className, c.style, c.id, c.headerPictures);
    EXPECT_EQ(c.kind, got.kind);
    EXPECT_EQ(c.registered, got.isRegistered);
  }
}

}  // namespace
}  // namespace skinning
