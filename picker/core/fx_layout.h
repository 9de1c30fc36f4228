// Where the effects panel's controls go and where the panel opens: ten
// vertical equalizer bars with their frequency labels, the On/Off and
// Reset boxes beside them inside the "Equalizer" group, the five effect
// boxes in a column below, and the help button (audio player only) centred
// in the space right of that column.  The framed panel opens above the
// player's pane, right-aligned with it, inside the work area.
#pragma once

#include <array>
#include <cstdint>

#include "core/fx_settings.h"
#include "core/picker_layout.h"

namespace picker {

struct Size {
  int32_t width = 0, height = 0;
};

struct FxLayoutInput {
  Size track;                                   // one bar (W x H)
  std::array<Size, kFxBandCount> labels{};      // band labels, default font
  std::array<Size, kFxBoxCount> boxTexts{};     // texts of boxes 11-17, caption font
  Size checkImage;                              // one of the check image's four states
  bool hasHelpButton = false;
  Size helpButton;                              // one state of the help image
  Box pane;                                     // the player's pane, screen
  FrameSizes frame;                             // the popup frame's sizes
  Box workArea;                                 // screen
};

struct FxLayout {
  int32_t column = 0;                           // K: one band's column width
  std::array<Box, kFxBandCount> bars{};
  std::array<Box, kFxBandCount> labels{};
  std::array<Box, kFxBoxCount> boxes{};         // boxes 11-17
  Box group;                                    // the "Equalizer" group box
  Box help;                                     // when hasHelpButton
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  Point frame;                                  // the framed panel's top-left, screen
};

FxLayout LayOutFxPanel(const FxLayoutInput& input);

}  // namespace picker
