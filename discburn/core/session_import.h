// Reads the directory tree of a previous session into the project, so that
// a new session lists the old files again (their entries point at the
// sectors already on the disc).  The Joliet tree is read when the session
// has one, else the ISO 9660 tree.
//
// Nothing on the disc is trusted: every record and name length is checked
// against its sector, a directory reached twice (a loop, or two links to
// one directory) is read once, the depth and the size of a directory are
// bounded, and the project's tables limit the number of entries.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/burn_project.h"
#include "core/sector_reader.h"

namespace discburn {

// Deeper trees are cut here; no reader resolves paths this long.
inline constexpr int kMaxImportDepth = 100;
// A directory of 1024 sectors holds over 12000 entries even with long names.
inline constexpr uint32_t kMaxImportDirSectors = 1024;

struct ImportResult {
  bool isTreeRead = false;   // a descriptor was found and its root directory read
  uint32_t entries = 0;      // files and directories added
  uint32_t badRecords = 0;   // records or directories skipped as damaged or repeated
};

// Reads the session whose first sector is sessionStart and adds its tree
// under destDir (the root when destDir names no directory).  A session
// without a readable descriptor and root directory adds nothing; the
// library's import export then answers 0 rather than a session number, so
// that the burner does not write a session that hides the old files.
ImportResult ImportSession(BurnProject& project, SectorReader& reader, uint32_t sessionStart,
                           std::u16string_view destDir);

}  // namespace discburn
