// The page layouts of the picture browser: which places make up each of the
// four layouts, how the pictures of a page are composed (sizes, gaps,
// offsets), where they land on a printed page (scale, margins, origin) and
// where the reduced preview goes on the screen.
#pragma once

#include <cstdint>
#include <vector>

namespace view {

// Layout L (1-4) holds the places FirstPlace(L) .. FirstPlace(L) + L - 1.
int32_t FirstPlace(int32_t layout);
// The layout of place 1-10.
int32_t LayoutOfPlace(int32_t place);

struct PlaceBox {
  int32_t x, y, width, height;
};
// The place boxes inside a layout frame of `frameWidth` x 141.
std::vector<PlaceBox> PlaceBoxes(int32_t layout, int32_t frameWidth);

struct PageMetrics {
  int32_t horzSizeMm = 0;
  int32_t vertSizeMm = 0;
  int32_t horzRes = 0;
  int32_t vertRes = 0;
};

struct Margins {
  int32_t x = 0;
  int32_t y = 0;
};
// Landscape (HORZSIZE >= VERTSIZE): 60 and 0; portrait 15 and 60.
Margins MarginsOf(const PageMetrics& page);

struct Composite {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<int32_t> x;  // offset of each place's picture, one per place
  std::vector<int32_t> y;
  bool empty = true;       // no place has a picture
};
// The composite of layout L from the natural sizes of its places (0 x 0 for
// a place without a picture).
Composite ComposePage(int32_t layout, const std::vector<int32_t>& widths, const std::vector<int32_t>& heights);

struct DeviceRect {
  int32_t x, y, width, height;
};
// Where each place's picture goes on the printed page (a place without a
// picture gets 0 x 0).
std::vector<DeviceRect> PrintRectangles(const Composite& composite, const std::vector<int32_t>& widths,
                                        const std::vector<int32_t>& heights, const PageMetrics& page);
// Rounds half to even, as the printing arithmetic does.
int32_t RoundHalfEven(double value);

struct Preview {
  int32_t x = 0, y = 0, width = 0, height = 0;  // the window
  int32_t frame = 0;                             // 4 when framed
  std::vector<DeviceRect> pictures;              // inside the window
};
// The preview at 1/4 over the main window (left, top, width, height) or
// centred on the screen.
Preview PreviewOf(const Composite& composite, const std::vector<int32_t>& widths, const std::vector<int32_t>& heights,
                  int32_t mainX, int32_t mainY, int32_t mainWidth, int32_t mainHeight, int32_t screenWidth,
                  int32_t screenHeight);

}  // namespace view
