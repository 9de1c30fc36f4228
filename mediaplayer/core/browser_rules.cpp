// The browser panes' settings, rectangles, zoom and title rules.
#include "core/browser_rules.h"

#include <cstdint>

#include "core/item_list.h"
#include "core/option_line.h"
#include "core/path_placeholders.h"
#include "core/text_rules.h"

namespace player {

namespace {

// |size| percent of (dimension + 1), or the size itself, never negative.
int32_t PaneExtent(int32_t size, int32_t dimension) {
  int64_t extent = size;
  if (size < 0) extent = -int64_t{size} * (int64_t{dimension} + 1) / 100;
  if (extent < 0) extent = 0;
  if (extent > INT32_MAX) extent = INT32_MAX;
  return static_cast<int32_t>(extent);
}

}  // namespace

IndexSettings ParseIndexSettings(const std::string& line, const std::string& programFolder) {
  IndexSettings settings;
  if (line.empty()) return settings;
  settings.side = OptionNumber(suite::CommaField(line, 1));
  std::string size = suite::TrimBlanks(suite::CommaField(line, 2));
  if (!size.empty() && size.back() == '%') {
    size.pop_back();
    // A negative size is a percentage; the lowest number has no positive
    // counterpart and becomes the highest.
    const int32_t percent = OptionNumber(size);
    settings.size = percent == INT32_MIN ? INT32_MAX : -percent;
  } else {
    settings.size = OptionNumber(size);
  }
  settings.layoutBits = OptionNumber(suite::CommaField(line, 3));
  settings.page = ExpandProgramFolder(suite::LowerAscii(suite::CommaField(line, 4)), programFolder);
  return settings;
}

int32_t NormalSide(int32_t side) {
  if (side == INDEX_NONE || side == INDEX_TOP || side == INDEX_RIGHT || side == INDEX_BOTTOM) return side;
  return INDEX_LEFT;
}

PaneRect IndexRectangle(int32_t side, int32_t size, int32_t clientWidth, int32_t clientHeight) {
  const int32_t width = clientWidth + 1;
  const int32_t height = clientHeight + 1;
  switch (NormalSide(side)) {
    case INDEX_NONE:
      return PaneRect{};
    case INDEX_TOP:
      return PaneRect{0, 0, width, PaneExtent(size, clientHeight)};
    case INDEX_RIGHT: {
      const int32_t w = PaneExtent(size, clientWidth);
      return PaneRect{width - w, 0, w, height};
    }
    case INDEX_BOTTOM: {
      const int32_t h = PaneExtent(size, clientHeight);
      return PaneRect{0, height - h, width, h};
    }
    default:
      return PaneRect{0, 0, PaneExtent(size, clientWidth), height};
  }
}

PaneRect ContentBesideIndex(const PaneRect& content, int32_t side, const PaneRect& index) {
  PaneRect area = content;
  switch (NormalSide(side)) {
    case INDEX_NONE:
      break;
    case INDEX_TOP:
      area.y += index.height;
      area.height -= index.height;
      break;
    case INDEX_RIGHT:
      area.width = area.width - index.width + 1;
      break;
    case INDEX_BOTTOM:
      area.height = area.height - index.height + 1;
      break;
    default:
      area.x = area.x + index.width - 1;
      area.width = area.width - index.width + 1;
      break;
  }
  return area;
}

PaneRect ContentWithoutIndex(const PaneRect& content, int32_t side, const PaneRect& index) {
  PaneRect area = content;
  switch (NormalSide(side)) {
    case INDEX_NONE:
      break;
    case INDEX_TOP:
      area.y -= index.height;
      area.height += index.height;
      break;
    case INDEX_RIGHT:
      area.width = area.width + index.width - 1;
      break;
    case INDEX_BOTTOM:
      area.height = area.height + index.height - 1;
      break;
    default:
      // The left pane took width - 1 (one pixel of overlap): give back as
      // much, or the document pane would start left of the holder.
      area.x = area.x - index.width + 1;
      area.width = area.width + index.width - 1;
      break;
  }
  return area;
}

int32_t IndexResizeStyle(int32_t side) {
  switch (NormalSide(side)) {
    case INDEX_TOP: return 0x0010;
    case INDEX_RIGHT: return 0x1011;
    case INDEX_BOTTOM: return 0x1110;
    default: return 0x1000;
  }
}

ZoomButtons ZoomButtonsFor(int32_t level) { return ZoomButtons{level != MAX_BROWSER_ZOOM, level != 0}; }

int32_t SteppedZoom(int32_t level, int32_t step) {
  if (step > 0 && level < MAX_BROWSER_ZOOM) return level + 1;
  if (step < 0 && level > 0) return level - 1;
  return level;
}

bool IsSpreadsheet(const std::string& url) { return suite::EndsWithNoCase(url, ".xls"); }

std::string RememberedSpreadsheet(const std::string& url) { return IsSpreadsheet(url) ? url : std::string(); }

std::string PageTitleText(const std::string& programTitle, const std::string& pageTitle) {
  return programTitle + " - " + pageTitle;
}

}  // namespace player
