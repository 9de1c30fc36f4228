#include "core/picture_files.h"

#include <algorithm>
#include <cmath>

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace paint {

std::string UpperExtensionOf(const std::string& path) { return suite::UpperAscii(suite::ExtensionOf(path)); }

bool LoadsThroughGdiplus(const std::string& upperExtension) {
  if (upperExtension.size() < 2) return false;
  return std::string(".DIB.EMF.GIF.TIF.TIFF.WMF.").find(upperExtension + ".") != std::string::npos;
}

SaveFormat SaveFormatOf(const std::string& upperExtension) {
  // The imaging library's format numbers.
  static const struct {
    const char* extension;
    SaveFormat format;
  } kTable[] = {
      {".BMP", {6, 24, 0}},  {".CMP", {5, 24, -1}}, {".EPS", {16, 8, 0}},  {".FPX", {80, 24, 0}},
      {".JPG", {10, 24, 2}}, {".PCT", {56, 24, 0}}, {".PCX", {1, 24, 0}},  {".PCC", {1, 24, 0}},
      {".PNG", {75, 24, 0}}, {".PSD", {76, 24, 0}}, {".RAS", {55, 24, 0}}, {".TGA", {4, 24, 0}},
      {".TIF", {3, 24, 0}},  {".WMF", {15, 24, 0}}, {".WPG", {54, 8, 0}},
  };
  for (const auto& row : kTable) {
    if (upperExtension == row.extension) return row.format;
  }
  return SaveFormat{};
}

std::string SaveAsPattern(const std::string& lastFilter) {
  if (lastFilter.empty() || lastFilter == "*.*") return "*.BMP";
  if (lastFilter == "*.GIF") return "*.PNG";
  return lastFilter;
}

std::string SubstituteBaseName(const std::string& target, const std::string& chosenName) {
  std::string out = target;
  if (out.find('*') == std::string::npos) {
    // Only the file name's leading dot: a dotted folder stays as it is.
    const size_t start = suite::FileNameStart(out);
    if (start > 0 && start < out.size() && out[start] == '.') out.insert(start, "*");
  }
  const std::string name = suite::FileNameOf(chosenName);
  const std::string base = name.substr(0, name.find('.'));
  return suite::ReplaceAll(out, "*.", base + ".");
}

std::string KeywordFileOf(const std::string& picture) { return suite::WithoutExtension(picture) + ".KWD"; }

Keywords ParseKeywordFile(const std::string& bytes) {
  Keywords out;
  const size_t first = bytes.find('\0');
  out.status = bytes.substr(0, first);
  if (first == std::string::npos) return out;
  std::string caption = bytes.substr(bytes.rfind('\0') + 1);
  while (!caption.empty() && caption.back() == ' ') caption.pop_back();
  out.caption = caption;
  out.hasCaption = true;
  return out;
}

namespace {
// Str(n): a blank before a number that is not negative.
std::string Str(int32_t n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }
}  // namespace

std::string PictureInfoText(const PictureInfo& info, const std::string& reducedNote, const std::string& coloursNote) {
  std::string text = " " + suite::LowerAscii(info.fileName) + " " + Str(info.width) + " x" + Str(info.height) + " ";
  if (info.reduced && (info.fileWidth != info.width || info.fileHeight != info.height)) {
    text += suite::ReplaceAll(suite::ReplaceAll(reducedNote, "#", Str(info.fileWidth)), "@", Str(info.fileHeight));
  }
  if (info.colours > 0) text += Str(info.colours) + coloursNote;
  return text;
}

std::string CounterText(int32_t index, int32_t count) { return std::to_string(index) + "/" + std::to_string(count); }

bool ListHasEntry(const std::string& list, const std::string& entry) {
  return ("|" + list + "|").find("|" + entry + "|") != std::string::npos;
}

std::string RemoveListEntry(const std::string& list, size_t n) {
  std::vector<std::string> entries = suite::SplitItemList(list);
  if (n >= 1 && n <= entries.size()) entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(n - 1));
  std::string out;
  for (size_t i = 0; i < entries.size(); ++i) out += (i == 0 ? "" : "|") + entries[i];
  return out;
}

std::string InsertListEntry(const std::string& list, const std::string& entry, int32_t n) {
  if (list.empty()) return entry;
  std::vector<std::string> entries = suite::SplitItemList(list);
  const size_t at = std::min(entries.size(), static_cast<size_t>(std::max(1, n) - 1));
  entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), entry);
  std::string out;
  for (size_t i = 0; i < entries.size(); ++i) out += (i == 0 ? "" : "|") + entries[i];
  return out;
}

int32_t PageIndex(int32_t index, int32_t count, bool forward) {
  if (count <= 0) return 0;
  const int32_t next = index + (forward ? 1 : -1);
  if (next < 1) return count;
  if (next > count) return 1;
  return next;
}

int32_t TrackPositionOf(int32_t index, int32_t count) {
  if (count <= 0) return 0;
  const float slot = 100.0f / static_cast<float>(count);
  return static_cast<int32_t>(std::nearbyint(static_cast<float>(index) * slot - slot / 2));
}

int32_t IndexOfTrackPosition(int32_t position, int32_t count) {
  if (count <= 0) return 0;
  // Each entry owns the slot (k-1..k] x 100 / count, so the position the
  // bar is given for an entry leads back to that entry.
  const int64_t scaled = static_cast<int64_t>(std::clamp(position, 0, 100)) * count;
  const int32_t index = static_cast<int32_t>((scaled + 99) / 100);
  return std::clamp(index, 1, count);
}

bool ReducedPictureSize(int32_t canvasWidth, int32_t canvasHeight, int32_t bytesPerPixel, int32_t* width,
                        int32_t* height) {
  constexpr double kLimitBytes = 16000000.0;
  const double need = static_cast<double>(std::max(canvasWidth, *width)) * std::max(canvasHeight, *height) *
                      std::max(1, bytesPerPixel);
  if (need <= kLimitBytes) return false;
  const double factor = need / kLimitBytes;
  *width = std::max(1, static_cast<int32_t>(std::nearbyint(*width / factor)));
  *height = std::max(1, static_cast<int32_t>(std::nearbyint(*height / factor)));
  return true;
}

}  // namespace paint
