// Write units, cache slots, priority tiers and error texts.
#include "burn_plan.h"

#include <algorithm>

namespace discburn {

uint32_t WriteUnitSectors(uint8_t discType) {
  switch (discType) {
    case 2: case 3: case 13: case 14:
      return 27;
    default:
      return 32;
  }
}

uint32_t ClampCacheBytes(int64_t bytes) {
  if (bytes < kMinCacheBytes) return kMinCacheBytes;
  return static_cast<uint32_t>(std::min<int64_t>(bytes, 0x7FFFFFFF));
}

uint32_t CacheSlotCount(uint32_t cacheBytes, uint32_t unitBytes) {
  if (unitBytes == 0) return 2;
  return std::clamp<uint32_t>(cacheBytes / unitBytes, 2, kMaxCacheSlots);
}

FillerTier TierForFill(uint32_t filledSlots, uint32_t slotCount) {
  if (filledSlots + 1 >= slotCount) return FillerTier::kIdle;
  if (filledSlots < slotCount / 4) return FillerTier::kHighest;
  if (filledSlots < slotCount / 2) return FillerTier::kNormal;
  return FillerTier::kLowest;
}

bool IsOverwritable(uint8_t discType) {
  return discType == 6 || discType == 8 || discType == 9 || discType == 10;
}

std::u16string ErrorText(int error, std::u16string_view name) {
  auto named = [&](std::u16string_view words) {
    std::u16string text(words);
    if (!name.empty()) text.append(u" \"").append(name).append(u"\"");
    return text;
  };
  switch (error) {
    case 0: return u"Unknown/No Error!";
    case 1: return u"Data not prepared ";
    case 2: return named(u"Error opening file");
    case 3: return named(u"Error creating file");
    case 4: return u"Aborted by user";
    default: {
      std::string number = std::to_string(error);
      std::u16string text = u"Hardware Error ";
      text.append(number.begin(), number.end());
      return text;
    }
  }
}

}  // namespace discburn
