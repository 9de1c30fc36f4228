// The portable rules of the skinned controls' look: the shades of the tab
// and header colours, the rings of a control's skinned border, the glyph
// frame a check box or radio button shows, and where a glyph and a group
// box's frame go.
#pragma once

#include <cstdint>
#include <vector>

namespace skinning {

// COLORREF values (0x00BBGGRR) without windows.h.
using Colour = uint32_t;

// The shades of one colour that tabs and headers are edged with: each
// channel times 1.25 (at most 255), the mean of the colour and that, times
// 0.75 and times 0.5.
struct Shades {
  Colour lighter = 0;
  Colour middle = 0;
  Colour darker = 0;
  Colour darkest = 0;
};
Shades ShadesOf(Colour colour);

// One ring of a border, drawn at (n, n, width - 2n, height - 2n) for the
// n-th ring (0 first): top and left in `topLeft`, the others in
// `bottomRight`.
struct BorderRing {
  Colour topLeft = 0;
  Colour bottomRight = 0;
};
// The rings for a control's window styles, outermost first: WS_BORDER (a,
// a); WS_DLGFRAME (b darkened to three quarters, black), (b, a), (b, a);
// WS_EX_STATICEDGE (b, a); WS_EX_CLIENTEDGE (b, a), (black, b).  The
// border's width is the number of rings.
std::vector<BorderRing> BorderRings(uint32_t style, uint32_t exStyle, Colour a, Colour b);

// The glyph frame (0 unchecked, 1 checked, 2 pressed, 3 indeterminate) of a
// check state as BM_GETCHECK gives it.
int32_t GlyphFrameOfCheck(uint32_t checkState);
// The glyph frame after BM_SETCHECK with `value` (BST_PUSHED 4 shows the
// pressed frame).
int32_t GlyphFrameOfSetCheck(uint32_t value);
// The glyph frame after BM_SETSTATE: pressed while held, else the frame of
// the check state the button has.
int32_t GlyphFrameOfSetState(bool pushed, uint32_t checkState);

// Where a glyph of `glyphHeight` goes in a control `windowHeight` high.
int32_t GlyphTop(int32_t windowHeight, int32_t glyphHeight);
// The strip a glyph is drawn over: 14 pixels, or the glyph's frame when
// wider (radio buttons).
int32_t GlyphStripWidth(int32_t frameWidth, bool isRadio);

// A group box's frame: its top edge at half the title's height, with a gap
// for the title from `gapLeft` (one pixel less for the inner outline) to
// `gapRight`; no gap without a title.
struct GroupFrame {
  int32_t top = 0;
  int32_t gapLeft = 0;
  int32_t gapRight = 0;
  bool hasGap = false;
};
GroupFrame GroupFrameOf(int32_t titleWidth, int32_t titleHeight, bool hasTitle);

}  // namespace skinning
