// The skin: the engine's colours, sizes, fonts and images, and the skin-file
// format that changes them (e.g. LUMINAR.SKL).  Plain text in the ANSI code
// page, lines as in text_lines.h, ';' at the start of a line a comment:
//
//   [skin]
//   name=Luminar
//   [colours]                 n=RRGGBB (hex, '#' before it allowed), n 100-199
//   101=1E1E1E
//   [metrics]                 n=pixels, n 1-99, 0-4096 pixels
//   7=20
//   [fonts]                   caption, default, menu = face,points,weight
//   caption=Tahoma,8,700
//   [images]                  name=file, relative to the skin file's folder
//   menubar=menubar.bmp
//   [strings]                 name=text, the skin's named texts
//   popuppane=@path@orbpanel.pnl
//
// A skin file names only what it changes; everything else keeps the built-in
// value (DefaultSkin, the same as LUMINAR.SKL).  A file is taken whole or
// not at all: it must hold at least one of the sections above, and a line of
// them that does not parse (a bad number, colour, font or name, a line
// without '=', text before the first section, a zero byte) rejects the file.
// Sections of other names are skipped, so a newer skin still loads.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace themecore {

struct FontSpec {
  std::string face;    // 1 to 31 bytes (LOGFONT's face size), no ','
  int32_t points = 8;  // 1 to 96
  int32_t weight = 400;  // 1 to 1000 (400 normal, 700 bold)
  bool operator==(const FontSpec& other) const = default;
};

struct SkinDefinition {
  std::string name;
  std::map<int32_t, uint32_t> colours;  // n -> COLORREF (0x00BBGGRR)
  std::map<int32_t, int32_t> metrics;   // n -> pixels
  FontSpec captionFont;
  FontSpec defaultFont;
  FontSpec menuFont;
  std::map<std::string, std::string> images;  // lower-case name -> file
  std::map<std::string, std::string> strings;  // lower-case name -> text
  bool operator==(const SkinDefinition& other) const = default;
};

constexpr int32_t kFirstSkinColour = 100;
constexpr int32_t kLastSkinColour = 199;
constexpr int32_t kFirstSkinMetric = 1;
constexpr int32_t kLastSkinMetric = 99;
constexpr int32_t kMaxMetricPixels = 4096;
// Skin files are small; anything larger is not one.
constexpr size_t kMaxSkinFileBytes = 1 << 20;

// The built-in skin: light grey faces, dark text, a blue caption.
SkinDefinition DefaultSkin();

// Reads a skin file over `base`: true and *result = base changed by the
// file; false (and *result untouched) when the file is broken.
bool ParseSkinFile(std::string_view fileBytes, const SkinDefinition& base, SkinDefinition* result);

// COLORREF of "RRGGBB" parts.
constexpr uint32_t ColourFromRgb(uint32_t red, uint32_t green, uint32_t blue) {
  return red | (green << 8) | (blue << 16);
}

}  // namespace themecore
