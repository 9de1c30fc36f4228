// The point bytes a shape object is given, placed as every kind places
// them: any bytes give bounded points and a window that holds them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/object_geometry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t shadow = static_cast<int8_t>(data[0]);
  const int32_t pen = data[1];
  const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);
  const auto points = paint::PointsFromBytes(bytes);
  if (points.size() > overlay::kObfMaxPoints) std::abort();
  if (paint::PointsFromBytes(paint::PointsToBytes(points)) != points) std::abort();
  for (uint16_t kind = 0; kind <= 7; ++kind) {
    paint::ShapePlacement placement;
    if (!paint::PlaceShape(kind, points, shadow, pen, &placement)) continue;
    if (placement.points.empty() || placement.points.size() > points.size()) std::abort();
  }
  return 0;
}
