// The GDI+ font family a text object is drawn with.  An overlay sidecar or a
// picture tool object names its family as it was on the machine that made
// it; where that family is not installed the text is still drawn, in a
// stand-in family, and the object keeps its own family name.
#pragma once

#include <string>

#include "gdiplus_api.h"

namespace suite {

// The family named `name` or, when GDI+ cannot make it, a stand-in: GDI+'s
// generic sans-serif family, else the first of a few common families that
// exists, else the first installed family.  *standIn (may be null) tells
// which.  The caller deletes the family (GdipDeleteFontFamily).  Null only
// when GDI+ is missing or no family at all is installed.
Gdiplus::GpFontFamily* ImgFontFamilyForText(const std::string& name, bool* standIn);

}  // namespace suite
