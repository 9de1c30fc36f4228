// The kinds of child controls the library skins, chosen from a control's
// class name, style and id when its window is skinned.  Every registered
// control is subclassed; its kind says how it is prepared and painted.
#pragma once

#include <cstdint>
#include <string_view>

namespace skinning {

enum ControlKind : int32_t {
  kOtherControl = 0,
  kMdiClient = 1,
  kToolbar = 2,
  kStatusBar = 3,
  kGroupBox = 4,
  kCheckBox = 5,
  kRadioButton = 6,
  kPushButton = 7,
  kTabControl = 8,
  kDialog = 9,
  kStatic = 10,
  kTreeView = 11,
  kListBox = 12,
  kTrackbar = 13,
  kListView = 14,
  kHeader = 15,
  kRichEdit = 16,
  kOwnerDrawnCheckBox = 1005,
  kOwnerDrawnRadioButton = 1006,
  kPictureButton = 1007,  // an icon or bitmap button the host draws
};

struct ControlClass {
  int32_t kind = kOtherControl;
  bool isRegistered = true;  // false: the control is left alone
};

// `className` as the system gives it (any case).  `headerHasPictures`: a
// header control with an item that is owner-drawn or shows a bitmap or an
// image; such a header is not registered.
ControlClass ClassifyControl(std::string_view className, uint32_t style, int32_t controlId,
                             bool headerHasPictures);

}  // namespace skinning
