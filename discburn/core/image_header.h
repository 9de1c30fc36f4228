// Writes the header of a laid-out image: everything before the boot image
// and the file data.  Sectors 0-15 (zeros), the volume descriptors (primary,
// El Torito boot record, long-name descriptor, Joliet, terminator), the L
// and M path tables of both trees, the ISO 9660 and Joliet directories, the
// boot catalog and the padding.  Every sector number written is absolute:
// the session start (the first sector the image will occupy on the medium)
// is added.
#pragma once

#include <cstdint>
#include <vector>

#include "core/burn_project.h"

namespace discburn {

// The text of the publisher identifier in both descriptors.
inline constexpr const char* kPublisherId = "ORB MEDIA SUITE DISC BURNER";

// Fills header (layout.headerSectors x 2048 bytes).  false with error
// kErrorNotPrepared when the project has no current layout.
bool WriteImageHeader(BurnProject& project, uint32_t sessionStart, std::vector<uint8_t>* header);

}  // namespace discburn
