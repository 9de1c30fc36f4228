// Where the video goes inside the content holder for each layout item of
// popup menu 3 (303 half, 304 native, 305 one and a half, 306 double, 307
// fill, 308 zoomed to the screen), with or without item 301 (keep
// proportions), and the part of the content area an index pane leaves.
#pragma once

#include <cstdint>

namespace player {

struct LayoutArea {
  int32_t left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutArea&) const = default;
};

// Index pane sides: 2 top, 3 right, 4 bottom, anything else left.
LayoutArea AreaBesideIndexPane(LayoutArea content, int32_t side, int32_t paneWidth, int32_t paneHeight);

struct VideoLayoutInput {
  int32_t item = 304;
  bool keepProportions = false;  // item 301 checked
  LayoutArea content;            // the content area (after the index pane)
  int32_t nativeWidth = 0;
  int32_t nativeHeight = 0;
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
};

// The video's rectangle; for 308 in the screen's coordinates.
LayoutArea PlaceVideo(const VideoLayoutInput& input);

}  // namespace player
