// Objects for the Wine tests that write sidecars: texts and shapes as the
// picture tool records them, and the fixture that holds a text, an arrow, a
// filled ellipse and a shadowed rectangle (with a hidden and an empty
// object that must draw nothing).  The overlay renderer's
// tests and the picture loader's tests draw the same fixture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/obf_types.h"

namespace obftest {

// The first font family that exists here (Wine's own Tahoma, normally); ""
// when none does.  GDI+ must have been started.
std::string ExistingFamily();

// A black 24-pixel text at (x, y).
overlay::ObfObject Text(const std::string& text, const std::string& family, int32_t x, int32_t y);

// A shape with a 3-pixel pen; points relative to (x, y).
overlay::ObfObject Shape(uint16_t kind, uint16_t style, std::vector<overlay::ObfPoint> points, uint32_t argb,
                         int32_t x, int32_t y, int32_t shadow = 0);

// The objects of the 240 x 160 fixture, bottom-most first:
//   "Hi" in black at (10, 10);
//   a blue arrow (style 2) from (120, 20) to (180, 20);
//   a red filled ellipse in (20, 80, 60 x 40);
//   a green filled rectangle in (120, 80, 40 x 30) with shadow d = 5;
// and, drawing nothing: a hidden black ellipse at (190, 110) and an empty
// text at (200, 10).
std::vector<overlay::ObfObject> FixtureObjects(const std::string& family);

}  // namespace obftest
