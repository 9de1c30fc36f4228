// Places the project tree in sectors: volume descriptors from sector 16,
// the ISO 9660 and Joliet path tables (L and M), the two directory areas,
// the El Torito boot catalog, padding up to sector 150, the boot image and
// the file data.  Every address is fixed here, before a byte is written;
// the numbers are relative to the image start and the writers add the
// session start.
#pragma once

#include <cstdint>

#include "core/burn_project.h"

namespace discburn {

// The image's first sector, where the header is at least this long.
inline constexpr uint32_t kMinHeaderSectors = 150;
inline constexpr uint32_t kDescriptorStart = 16;
// "." and ".." open every directory.
inline constexpr uint32_t kDotRecordBytes = 34;

// Record length of an entry in each tree (even, at most 255).
uint32_t IsoRecordBytes(const FileNode& entry);
uint32_t JolietRecordBytes(const FileNode& entry);

// Lays the image out and marks the project prepared.  Result: header and
// file sectors before rounding; 0 when the image would not fit in 32-bit
// sector numbers (the project stays unprepared).
uint32_t LayoutImage(BurnProject& project);

}  // namespace discburn
