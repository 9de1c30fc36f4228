// The placement file's bytes: see placement_file.h.
#include "core/placement_file.h"

#include <algorithm>

namespace paint {

namespace {

constexpr size_t kWindowBytes = 8;
// "#" and the two magnifier values close the file.
constexpr size_t kMagnifierTailBytes = 5;

int32_t ReadInt16(const std::string& bytes, size_t at) {
  const uint16_t low = static_cast<uint8_t>(bytes[at]);
  const uint16_t high = static_cast<uint8_t>(bytes[at + 1]);
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

void AppendInt16(std::string* bytes, int32_t value) {
  const uint16_t low16 = static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu);
  bytes->push_back(static_cast<char>(low16 & 0xFF));
  bytes->push_back(static_cast<char>(low16 >> 8));
}

std::string UpToZero(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

PlacementRecord DefaultPlacement(const PlacementContext& context) {
  PlacementRecord record;
  record.width = 600;
  record.height = 400;
  record.x = std::max(0, (context.screenWidth - 600) / 2);
  record.y = std::max(0, (context.screenHeight - 400) / 2);
  record.lastFolder = context.windowsFolder;
  return record;
}

PlacementRecord ReadPlacement(const std::string& bytes, const PlacementContext& context, int32_t magnifierX,
                              int32_t magnifierY) {
  if (bytes.size() < kWindowBytes) return DefaultPlacement(context);
  PlacementRecord record;
  record.x = std::max(0, ReadInt16(bytes, 0));
  record.y = std::max(0, ReadInt16(bytes, 2));
  record.width = std::max(context.minimumWidth, ReadInt16(bytes, 4));
  record.height = std::max(context.minimumHeight, ReadInt16(bytes, 6));
  record.magnifierX = magnifierX;
  record.magnifierY = magnifierY;
  std::string rest = bytes.substr(kWindowBytes);
  // The magnifier's values may hold any byte, "#" and "|" too, and a folder
  // may hold "#": only the fixed place from the end tells them apart.
  if (rest.size() >= kMagnifierTailBytes && rest[rest.size() - kMagnifierTailBytes] == '#') {
    const size_t at = rest.size() - kMagnifierTailBytes;
    record.magnifierX = ReadInt16(rest, at + 1);
    record.magnifierY = ReadInt16(rest, at + 3);
    rest.resize(at);
  } else if (const size_t hash = rest.rfind('#'); hash != std::string::npos) {
    rest.resize(hash);
  }
  const size_t bar = rest.find('|');
  if (bar == std::string::npos) {
    record.lastFolder = UpToZero(rest);
  } else {
    record.lastFolder = UpToZero(rest.substr(0, bar));
    record.lastFilter = UpToZero(rest.substr(bar + 1));
  }
  return record;
}

std::string PlacementBytes(const PlacementRecord& record) {
  std::string bytes;
  AppendInt16(&bytes, record.x);
  AppendInt16(&bytes, record.y);
  AppendInt16(&bytes, record.width);
  AppendInt16(&bytes, record.height);
  bytes += record.lastFolder;
  bytes += '|';
  bytes += record.lastFilter;
  bytes += '#';
  AppendInt16(&bytes, record.magnifierX);
  AppendInt16(&bytes, record.magnifierY);
  return bytes;
}

}  // namespace paint
