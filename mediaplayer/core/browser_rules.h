// The rules of the player's two web browser panes that need no window: the
// index pane's settings line and its rectangle in the content area, the
// document pane's area beside it, the zoom buttons, the remembered
// spreadsheet and the window title a page gives.
#pragma once

#include <cstdint>
#include <string>

namespace player {

// Sides of the index pane.
enum IndexSide : int32_t { INDEX_NONE = 0, INDEX_LEFT = 1, INDEX_TOP = 2, INDEX_RIGHT = 3, INDEX_BOTTOM = 4 };

// The index pane's settings line: "side,size,layout bits,page".  A size
// "25%" is a percentage of the content area and is held negative (-25).
struct IndexSettings {
  int32_t side = INDEX_NONE;  // any value other than 0, 2, 3, 4 is the left side
  int32_t size = 0;           // pixels, or minus a percentage
  int32_t layoutBits = 0;     // 1 document, 2 media, 4 picture
  std::string page;           // lower-cased, "@path@" the program folder
};
IndexSettings ParseIndexSettings(const std::string& line, const std::string& programFolder);

struct PaneRect {
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const PaneRect&) const = default;
};

// The side a settings value stands for (0 stays none, unknown values are
// left).
int32_t NormalSide(int32_t side);

// The index pane's rectangle in a content holder whose client area is
// clientWidth x clientHeight: |size| percent of (dimension + 1), integer
// division, for a negative size.  Side 0 gives an empty rectangle.
PaneRect IndexRectangle(int32_t side, int32_t size, int32_t clientWidth, int32_t clientHeight);

// The document pane's area (client + 1 each way) with the index pane's part
// taken away; the panes overlap by one pixel so no seam shows.
PaneRect ContentBesideIndex(const PaneRect& content, int32_t side, const PaneRect& index);
// The index pane's part given back to the document pane when the index is
// hidden: the exact inverse of ContentBesideIndex.
PaneRect ContentWithoutIndex(const PaneRect& content, int32_t side, const PaneRect& index);

// The resize style the index pane keeps for its side.
int32_t IndexResizeStyle(int32_t side);

// Zoom levels run 0-4.
constexpr int32_t MAX_BROWSER_ZOOM = 4;
struct ZoomButtons {
  bool zoomInEnabled = false;
  bool zoomOutEnabled = false;
};
ZoomButtons ZoomButtonsFor(int32_t level);
// The level a zoom command asks for; the level itself when it may not move.
int32_t SteppedZoom(int32_t level, int32_t step);

// A document ending in ".xls" (any case) is remembered: showing it again
// while it is on screen does nothing.
bool IsSpreadsheet(const std::string& url);
// The spreadsheet to remember after `url` was shown: the url itself when it
// is one, otherwise none (another document replaced it on screen).
std::string RememberedSpreadsheet(const std::string& url);

// The main window's text for a page title: title + " - " + page title.
std::string PageTitleText(const std::string& programTitle, const std::string& pageTitle);

}  // namespace player
