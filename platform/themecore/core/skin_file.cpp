// The built-in skin and the skin-file parser; see skin_file.h.
#include "skin_file.h"

#include <optional>

#include "split.h"
#include "text_lines.h"

namespace themecore {

namespace {

struct ColourDefault {
  int32_t number;
  uint32_t rgb;  // 0xRRGGBB as written in the file
};

// The meaning of each number is in platform/themecore/README.md; keep the
// two and res/LUMINAR.SKL in step.
constexpr ColourDefault kDefaultColours[] = {
    {101, 0x1E1E1E}, {102, 0x707070}, {103, 0xFFFFFF}, {104, 0xFFFFFF}, {105, 0xFFFFFF},
    {106, 0xA0A0A0}, {107, 0x2F6DB5}, {108, 0x8CA3BF}, {109, 0xFFFFFF}, {110, 0xE6E6E6},
    {111, 0xE6E6E6}, {112, 0xF0F0F0}, {113, 0x202020}, {114, 0x3478C6}, {115, 0xFFFFFF},
    {116, 0xF7F7F7}, {117, 0x1E1E1E}, {118, 0xFFFFFF}, {119, 0x505050}, {120, 0x303030},
    {121, 0x7A7A7A}, {122, 0xC8C8C8}, {123, 0xE0E0E0}, {124, 0x1E3F66},
};

constexpr int32_t kDefaultMetrics[][2] = {
    {1, 24}, {2, 20}, {3, 20},  {4, 4},   {5, 4},  {6, 4},  {7, 20},  {8, 18},
    {9, 4},  {10, 3}, {11, 26}, {12, 5},  {16, 4}, {21, 4}, {22, 7}, {26, 20},
};

uint32_t ColourFromHex(uint32_t rgb) {
  return ColourFromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::optional<uint32_t> ParseColour(std::string_view text) {
  std::string_view hex = TrimBlanks(text);
  if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
  if (hex.size() != 6) return std::nullopt;
  uint32_t rgb = 0;
  for (char c : hex) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    rgb = (rgb << 4) | digit;
  }
  return ColourFromHex(rgb);
}

// "Face,points,weight".
std::optional<FontSpec> ParseFont(std::string_view text) {
  std::vector<std::string> fields = SplitAtSeparator(text, ",");
  if (fields.size() != 3) return std::nullopt;
  FontSpec font;
  font.face = std::string(TrimBlanks(fields[0]));
  if (font.face.empty() || font.face.size() > 31) return std::nullopt;
  std::optional<int32_t> points = ParseDecimal(fields[1], 1, 96);
  std::optional<int32_t> weight = ParseDecimal(fields[2], 1, 1000);
  if (!points || !weight) return std::nullopt;
  font.points = *points;
  font.weight = *weight;
  return font;
}

std::optional<std::string> ParseImageName(std::string_view text) {
  std::string_view name = TrimBlanks(text);
  if (name.empty() || name.size() > 32) return std::nullopt;
  std::string lower;
  for (char c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    bool usable = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!usable) return std::nullopt;
    lower.push_back(c);
  }
  return lower;
}

enum class Section { kNone, kSkin, kColours, kMetrics, kFonts, kImages, kStrings, kOther };

Section SectionFromName(const std::string& name) {
  if (name == "skin") return Section::kSkin;
  if (name == "colours" || name == "colors") return Section::kColours;
  if (name == "metrics") return Section::kMetrics;
  if (name == "fonts") return Section::kFonts;
  if (name == "images") return Section::kImages;
  if (name == "strings") return Section::kStrings;
  return Section::kOther;
}

// Applies one "key=value" line of `section` to `skin`; false when it is bad.
bool ApplyEntry(Section section, std::string_view key, std::string_view value,
                SkinDefinition* skin) {
  switch (section) {
    case Section::kSkin:
      if (TrimBlanks(key) == "name") skin->name = std::string(TrimBlanks(value));
      return true;
    case Section::kColours: {
      std::optional<int32_t> number = ParseDecimal(key, kFirstSkinColour, kLastSkinColour);
      std::optional<uint32_t> colour = ParseColour(value);
      if (!number || !colour) return false;
      skin->colours[*number] = *colour;
      return true;
    }
    case Section::kMetrics: {
      std::optional<int32_t> number = ParseDecimal(key, kFirstSkinMetric, kLastSkinMetric);
      std::optional<int32_t> pixels = ParseDecimal(value, 0, kMaxMetricPixels);
      if (!number || !pixels) return false;
      skin->metrics[*number] = *pixels;
      return true;
    }
    case Section::kFonts: {
      std::optional<FontSpec> font = ParseFont(value);
      if (!font) return false;
      std::string_view which = TrimBlanks(key);
      if (which == "caption") {
        skin->captionFont = *font;
      } else if (which == "default") {
        skin->defaultFont = *font;
      } else if (which == "menu") {
        skin->menuFont = *font;
      } else {
        return false;
      }
      return true;
    }
    case Section::kImages: {
      std::optional<std::string> name = ParseImageName(key);
      std::string_view file = TrimBlanks(value);
      if (!name || file.empty()) return false;
      skin->images[*name] = std::string(file);
      return true;
    }
    case Section::kStrings: {
      std::optional<std::string> name = ParseImageName(key);
      if (!name) return false;
      skin->strings[*name] = std::string(TrimBlanks(value));
      return true;
    }
    default:
      return false;
  }
}

}  // namespace

SkinDefinition DefaultSkin() {
  SkinDefinition skin;
  skin.name = "Luminar";
  for (const ColourDefault& colour : kDefaultColours) {
    skin.colours[colour.number] = ColourFromHex(colour.rgb);
  }
  for (const auto& metric : kDefaultMetrics) skin.metrics[metric[0]] = metric[1];
  skin.captionFont = FontSpec{"Tahoma", 8, 700};
  skin.defaultFont = FontSpec{"Tahoma", 8, 400};
  skin.menuFont = FontSpec{"Tahoma", 8, 400};
  skin.strings["popuppane"] = "@path@orbpanel.pnl";
  return skin;
}

bool ParseSkinFile(std::string_view fileBytes, const SkinDefinition& base, SkinDefinition* result) {
  if (fileBytes.size() > kMaxSkinFileBytes) return false;
  if (fileBytes.find('\0') != std::string_view::npos) return false;
  SkinDefinition skin = base;
  Section section = Section::kNone;
  bool sawSkinSection = false;
  bool broken = false;
  ForEachLine(fileBytes, [&](std::string_view line) {
    if (broken || line.empty() || line.front() == ';') return;
    if (std::optional<std::string> name = SectionName(line)) {
      section = SectionFromName(*name);
      if (section != Section::kOther) sawSkinSection = true;
      return;
    }
    if (TrimBlanks(line).empty() || section == Section::kOther) return;
    size_t equals = line.find('=');
    if (section == Section::kNone || equals == std::string_view::npos ||
        !ApplyEntry(section, line.substr(0, equals), line.substr(equals + 1), &skin)) {
      broken = true;
    }
  });
  if (broken || !sawSkinSection) return false;
  *result = std::move(skin);
  return true;
}

}  // namespace themecore
