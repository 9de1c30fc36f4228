#include "core/print_layout.h"

#include <algorithm>
#include <cmath>

#include "core/view_rules.h"

namespace view {

int32_t FirstPlace(int32_t layout) {
  static const int32_t first[] = {0, 1, 2, 4, 7};
  return layout >= 1 && layout <= 4 ? first[layout] : 0;
}

int32_t LayoutOfPlace(int32_t place) {
  if (place == 1) return 1;
  if (place >= 2 && place <= 3) return 2;
  if (place >= 4 && place <= 6) return 3;
  if (place >= 7 && place <= 10) return 4;
  return 0;
}

std::vector<PlaceBox> PlaceBoxes(int32_t layout, int32_t frameWidth) {
  const int32_t inner = frameWidth - 8;
  switch (layout) {
    case 1:
      return {{4, 14, inner, 123}};
    case 2:
      return {{4, 14, inner, 57}, {4, 73, inner, 57}};
    case 3:
      return {{4, 14, inner, 38}, {4, 54, inner, 38}, {4, 94, inner, 38}};
    case 4: {
      const int32_t half = (inner - 2) / 2;
      return {{4, 14, half, 57}, {6 + half, 14, half, 57}, {4, 73, half, 57}, {6 + half, 73, half, 57}};
    }
    default:
      return {};
  }
}

Margins MarginsOf(const PageMetrics& page) {
  if (page.horzSizeMm >= page.vertSizeMm) return {60, 0};
  return {15, 60};
}

Composite ComposePage(int32_t layout, const std::vector<int32_t>& widths, const std::vector<int32_t>& heights) {
  Composite c;
  const size_t n = static_cast<size_t>(std::max(0, layout));
  auto w = [&](size_t k) { return k < widths.size() ? widths[k] : 0; };
  auto h = [&](size_t k) { return k < heights.size() ? heights[k] : 0; };
  for (size_t k = 0; k < n; ++k) c.empty = c.empty && (w(k) <= 0 || h(k) <= 0);
  c.x.assign(n, 0);
  c.y.assign(n, 0);
  if (layout >= 1 && layout <= 3) {
    for (size_t k = 0; k < n; ++k) {
      c.width = std::max(c.width, w(k));
      c.height += h(k);
    }
    const int32_t gaps = layout - 1;
    c.height += 4 * gaps;
    int32_t y = 0;
    for (size_t k = 0; k < n; ++k) {
      c.x[k] = FloorDiv(c.width - w(k), 2);
      c.y[k] = y;
      y += h(k) + 4;
    }
  } else if (layout == 4) {
    c.width = std::max(w(0) + w(1), w(2) + w(3)) + 4;
    c.height = std::max(h(0), h(1)) + std::max(h(2), h(3)) + 4;
    // The right and lower pictures are placed one pixel further than the
    // gap: with equal sizes they end one pixel beyond the composite.
    c.x = {0, c.width - w(1) + 1, 0, c.width - w(3) + 1};
    c.y = {0, 0, c.height - h(2) + 1, c.height - h(3) + 1};
  }
  return c;
}

int32_t RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  double rounded = floor;
  if (diff > 0.5) {
    rounded = floor + 1;
  } else if (diff == 0.5) {
    rounded = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
  }
  return static_cast<int32_t>(rounded);
}

std::vector<DeviceRect> PrintRectangles(const Composite& composite, const std::vector<int32_t>& widths,
                                        const std::vector<int32_t>& heights, const PageMetrics& page) {
  std::vector<DeviceRect> rects(composite.x.size(), DeviceRect{0, 0, 0, 0});
  if (composite.empty || composite.width <= 0 || composite.height <= 0) return rects;
  const Margins m = MarginsOf(page);
  const double scale = std::min(static_cast<double>(page.horzRes - 2 * m.x) / composite.width,
                                static_cast<double>(page.vertRes - 2 * m.y) / composite.height);
  const int32_t ox = FloorDiv(page.horzRes - RoundHalfEven(scale * composite.width), 2) + m.x;
  const int32_t oy = FloorDiv(page.vertRes - RoundHalfEven(scale * composite.height), 2) + m.y;
  for (size_t k = 0; k < rects.size(); ++k) {
    const int32_t w = k < widths.size() ? widths[k] : 0;
    const int32_t h = k < heights.size() ? heights[k] : 0;
    if (w <= 0 || h <= 0) continue;
    rects[k] = {std::max(1, RoundHalfEven(scale * composite.x[k]) + ox),
                std::max(1, RoundHalfEven(scale * composite.y[k]) + oy), RoundHalfEven(scale * w),
                RoundHalfEven(scale * h)};
  }
  return rects;
}

Preview PreviewOf(const Composite& composite, const std::vector<int32_t>& widths, const std::vector<int32_t>& heights,
                  int32_t mainX, int32_t mainY, int32_t mainWidth, int32_t mainHeight, int32_t screenWidth,
                  int32_t screenHeight) {
  Preview p;
  p.width = FloorDiv(composite.width, 4);
  p.height = FloorDiv(composite.height, 4);
  if (mainWidth > p.width && mainHeight > p.height) {
    p.x = mainX + FloorDiv(mainWidth - p.width, 2);
    p.y = mainY + FloorDiv(mainHeight - p.height, 2);
  } else {
    p.x = std::max(0, FloorDiv(screenWidth - p.width, 2));
    p.y = std::max(0, FloorDiv(screenHeight - p.height, 2));
  }
  if (p.x - mainX > 7 && p.y - mainY > 7) {
    p.frame = 4;
    p.x -= 4;
    p.y -= 4;
    p.width += 8;
    p.height += 8;
  }
  for (size_t k = 0; k < composite.x.size(); ++k) {
    const int32_t w = k < widths.size() ? widths[k] : 0;
    const int32_t h = k < heights.size() ? heights[k] : 0;
    if (w <= 0 || h <= 0) {
      p.pictures.push_back({0, 0, 0, 0});
      continue;
    }
    p.pictures.push_back({FloorDiv(composite.x[k], 4) + p.frame, FloorDiv(composite.y[k], 4) + p.frame,
                          FloorDiv(w, 4), FloorDiv(h, 4)});
  }
  return p;
}

}  // namespace view
