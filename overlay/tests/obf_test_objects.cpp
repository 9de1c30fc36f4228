// Sidecar objects for the Wine tests; see obf_test_objects.h.
#include "obf_test_objects.h"

#include "gdiplus_objects.h"
#include "image_functions.h"

namespace obftest {

using overlay::ObfObject;

std::string ExistingFamily() {
  if (suite::Gdiplus() == nullptr) return "";
  for (const char* name : {"Tahoma", "Liberation Sans", "Arial", "DejaVu Sans"}) {
    suite::FontFamilyOwner family;
    const std::wstring wide = suite::ImgTextToWide(name);
    if (suite::Gdiplus()->GdipCreateFontFamilyFromName(wide.c_str(), nullptr, family.out()) == Gdiplus::Ok) {
      return name;
    }
  }
  return "";
}

ObfObject Text(const std::string& text, const std::string& family, int32_t x, int32_t y) {
  ObfObject o;
  o.kind = overlay::kKindText;
  o.style = 1;
  o.text = text;
  o.fontFamily = family;
  o.size = 24;
  o.colour = 0xFF000000u;
  o.x = x;
  o.y = y;
  o.width = 999;  // readers measure texts again
  o.height = 999;
  return o;
}

ObfObject Shape(uint16_t kind, uint16_t style, std::vector<overlay::ObfPoint> points, uint32_t argb,
                int32_t x, int32_t y, int32_t shadow) {
  ObfObject o;
  o.kind = kind;
  o.style = style;
  o.points = std::move(points);
  o.colour = argb;
  o.size = 3;
  o.x = x;
  o.y = y;
  o.shadow = shadow;
  return o;
}

std::vector<ObfObject> FixtureObjects(const std::string& family) {
  std::vector<ObfObject> objects = {
      Text("Hi", family, 10, 10),
      Shape(overlay::kKindArrow, 2, {{0, 0}, {60, 0}}, 0xFF0000FFu, 120, 20),
      Shape(overlay::kKindEllipse, 2, {{0, 0}, {60, 40}}, 0xFFFF0000u, 20, 80),
      Shape(overlay::kKindRectangle, 2, {{0, 0}, {40, 30}}, 0xFF00FF00u, 120, 80, 5),
      Shape(overlay::kKindEllipse, 2, {{0, 0}, {30, 30}}, 0xFF000000u, 190, 110),  // hidden below
      Text("", family, 200, 10),  // empty text: nothing
  };
  objects[4].shown = 0;
  return objects;
}

}  // namespace obftest
