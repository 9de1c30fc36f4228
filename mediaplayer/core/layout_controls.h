// Which controls of the control bar each of the player's three layouts
// (media, document, picture) has, in the order they are made: their kind
// (1 image button, 2 track bar, 3 check button), tooltip, whether they
// start shown and enabled, and the layout whose images they take.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace player {

constexpr int32_t LAYOUT_DOCUMENT = 1;
constexpr int32_t LAYOUT_MEDIA = 2;
constexpr int32_t LAYOUT_PICTURE = 4;

struct PlannedControl {
  int32_t id = 0;
  int32_t kind = 1;
  std::string tip;
  bool shown = true;
  bool enabled = true;
  int32_t imageLayout = 0;  // the layout value whose images it takes
  bool operator==(const PlannedControl&) const = default;
};

struct LayoutFacts {
  int32_t layout = LAYOUT_MEDIA;  // 1, 2 or 4
  int32_t mediaKind = 2;          // 2 video or 8 audio, in the media layout
  bool paneDocked = true;         // option field 5 below 0x20
  bool chooserAvailable = true;   // T(78)'s module or CHOOSER.DLL exists
};

// `text(n)` is text entry n of the program's table.
std::vector<PlannedControl> PlanLayoutControls(const LayoutFacts& facts,
                                               const std::function<std::string(size_t)>& text);

// The order the controls are destroyed in.
const std::vector<int32_t>& ControlDestroyOrder();

}  // namespace player
