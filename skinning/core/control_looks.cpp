#include "core/control_looks.h"

#include <algorithm>

namespace skinning {

namespace {

int32_t Channel(Colour colour, int shift) { return static_cast<int32_t>((colour >> shift) & 0xFF); }

Colour FromChannels(int32_t r, int32_t g, int32_t b) {
  auto clamp = [](int32_t v) { return static_cast<Colour>(std::clamp(v, 0, 255)); };
  return clamp(r) | (clamp(g) << 8) | (clamp(b) << 16);
}

// Each channel times numerator / denominator, cut to 0..255.
Colour Scaled(Colour colour, int32_t numerator, int32_t denominator) {
  return FromChannels(Channel(colour, 0) * numerator / denominator, Channel(colour, 8) * numerator / denominator,
                      Channel(colour, 16) * numerator / denominator);
}

constexpr uint32_t kBorder = 0x00800000;        // WS_BORDER
constexpr uint32_t kDialogFrame = 0x00400000;   // WS_DLGFRAME
constexpr uint32_t kStaticEdge = 0x00020000;    // WS_EX_STATICEDGE
constexpr uint32_t kClientEdge = 0x00000200;    // WS_EX_CLIENTEDGE
constexpr Colour kBlack = 0;

}  // namespace

Shades ShadesOf(Colour colour) {
  Shades shades;
  shades.lighter = Scaled(colour, 5, 4);
  shades.middle = FromChannels((Channel(colour, 0) + Channel(shades.lighter, 0)) / 2,
                               (Channel(colour, 8) + Channel(shades.lighter, 8)) / 2,
                               (Channel(colour, 16) + Channel(shades.lighter, 16)) / 2);
  shades.darker = Scaled(colour, 3, 4);
  shades.darkest = Scaled(colour, 1, 2);
  return shades;
}

std::vector<BorderRing> BorderRings(uint32_t style, uint32_t exStyle, Colour a, Colour b) {
  std::vector<BorderRing> rings;
  if (style & kBorder) rings.push_back({a, a});
  if (style & kDialogFrame) {
    rings.push_back({Scaled(b, 3, 4), kBlack});
    rings.push_back({b, a});
    rings.push_back({b, a});
  }
  if (exStyle & kStaticEdge) rings.push_back({b, a});
  if (exStyle & kClientEdge) {
    rings.push_back({b, a});
    rings.push_back({kBlack, b});
  }
  return rings;
}

int32_t GlyphFrameOfCheck(uint32_t checkState) {
  switch (checkState & 3) {
    case 1: return 1;
    case 2: return 3;
    default: return 0;
  }
}

int32_t GlyphFrameOfSetCheck(uint32_t value) {
  if (value == 4) return 2;
  return GlyphFrameOfCheck(value);
}

int32_t GlyphFrameOfSetState(bool pushed, uint32_t checkState) {
  return pushed ? 2 : GlyphFrameOfCheck(checkState);
}

int32_t GlyphTop(int32_t windowHeight, int32_t glyphHeight) {
  return std::max(0, (windowHeight - glyphHeight - 1) / 2);
}

int32_t GlyphStripWidth(int32_t frameWidth, bool isRadio) {
  return isRadio ? std::max(14, frameWidth) : 14;
}

GroupFrame GroupFrameOf(int32_t titleWidth, int32_t titleHeight, bool hasTitle) {
  GroupFrame frame;
  frame.top = titleHeight / 2;
  frame.hasGap = hasTitle;
  if (hasTitle) {
    frame.gapLeft = 8;
    frame.gapRight = 8 + titleWidth + 4;
  }
  return frame;
}

}  // namespace skinning
