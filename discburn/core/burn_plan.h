// The burn engine's arithmetic, kept apart from its threads: the write
// unit of a medium, the number of cache slots, the cache filler's priority
// tier by fill level, which media are overwritten in place, and the texts
// of the library's error numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace discburn {

inline constexpr uint32_t kDefaultCacheBytes = 0x2000000;  // 32 MiB
inline constexpr uint32_t kMinCacheBytes = 0x200000;       // 2 MiB
// The slot queue is a fixed table of this many entries.
inline constexpr uint32_t kMaxCacheSlots = 10000;

// 27 sectors (0xD800 bytes) for CD-R, CD-RW, DDCD-R and DDCD-RW, else 32
// sectors (0x10000 bytes).
uint32_t WriteUnitSectors(uint8_t discType);
inline uint32_t WriteUnitBytes(uint8_t discType) { return WriteUnitSectors(discType) * 2048u; }

// What vdscSetCacheSize stores: at least 2 MiB.
uint32_t ClampCacheBytes(int64_t bytes);

// cacheBytes / unitBytes, at least 2 and at most kMaxCacheSlots (a bigger
// cache than the table holds is cut to the table).
uint32_t CacheSlotCount(uint32_t cacheBytes, uint32_t unitBytes);

// The filler's priority tier after a piece: reads fast while the cache runs
// low and yields when it fills.
enum class FillerTier { kHighest, kNormal, kLowest, kIdle };
FillerTier TierForFill(uint32_t filledSlots, uint32_t slotCount);

// DVD-RAM, DVD-RW (either mode) and DVD+RW: written in place, so a new
// session also rewrites the volume descriptors at sector 16.
bool IsOverwritable(uint8_t discType);

// The text of error number `error`; `name` is the file the error is about
// (errors 2 and 3), empty when none is known.
std::u16string ErrorText(int error, std::u16string_view name);

}  // namespace discburn
