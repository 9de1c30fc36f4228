// Portable rules of the work on one drawing object from its popup: the
// quarter turn, the mirrored copies, the new margin of a shape whose pen
// width or shadow changed, the texts of the hover status and of the
// popup's object list, which popup items a kind offers, and where a
// z-order command puts the object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/obf_types.h"

namespace paint {

// A quarter turn of the object about its top-left corner: text toggles
// vertical writing (format flag 2); ellipses and rectangles swap their
// second point's coordinates; curves and polylines turn clockwise, (x, y)
// to (old height - y, x); width and height are exchanged.  An arrow is
// reversed instead and keeps its size.
void RotateObject(overlay::ObfObject* object);

// The points of a mirrored copy: top to bottom y' = height - 1 - y, left to
// right x' = width - 1 - x.
void MirrorPoints(overlay::ObfObject* object, bool topToBottom);

// An ellipse, rectangle or arrow given a new pen width or shadow: its
// window grows or shrinks by the change of margin on every side, so that
// the shape itself stays where it was.  `changed` holds the old record with
// the new size, colour and shadow; the result is placed and its points moved.
overlay::ObfObject Remargined(const overlay::ObfObject& old, const overlay::ObfObject& changed);

// The kind's name: field `kind` of the drawing-tool menu's "|" fields.
std::string KindName(const std::string& toolMenu, uint16_t kind);
// The first 8 bytes of a text, blanks cut from both ends.
std::string TextSnippet(const std::string& text);
// The status line over an object: title, kind name (with the snippet of a
// text), and the lock word (first or second field of the "," list).
std::string HoverStatus(const std::string& title, const std::string& kindName, const overlay::ObfObject& object,
                        const std::string& lockWords);

// One listed object of the popup's object list.
struct ListedObject {
  std::string title;
  std::string kindName;
  const overlay::ObfObject* object = nullptr;
};
// The item texts of the object list: the first field of the definition,
// one item per listed object (a text object with its snippet, "|" turned
// into byte 24 so it cannot split the item), then the definition's last
// field.
std::vector<std::string> ObjectListItems(const std::string& definition, const std::vector<ListedObject>& objects);

// Which popup items the kind offers.
struct PopupItemStates {
  bool styles = true;      // 1201-1204
  bool openStyle = true;   // 1205
  bool mirrors = false;    // 1110, 1111
};
PopupItemStates ItemStatesFor(uint16_t kind);

// A z-order command of the object list among n objects listed top-most
// first, for the object at `self` (0-based in that list).
enum class ZMove { kNone, kTop, kBelow, kBottom };
struct ZOrderChoice {
  ZMove move = ZMove::kNone;
  size_t target = 0;  // kBelow: the object to go below (0-based); kBottom: the bottom-most
};
ZOrderChoice ZOrderFor(int32_t id, size_t n, size_t self);

}  // namespace paint
