// The drive table: one entry per CD/DVD drive found, with the display text
// the disc burner lists ("adapter:target:lun,letter: vendor product
// revision ").  Entries whose drive gave no address to the pass-through
// scan are put after the others with adapter numbers of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace discburn {

inline constexpr size_t kDriveTableSize = 26;
inline constexpr size_t kDriveTextMax = 87;

struct DriveIdentity {
  std::string vendor;    // 8 characters
  std::string product;   // 16
  std::string revision;  // 4
};

struct DriveEntry {
  char letter = 0;
  uint8_t adapter = 0;
  uint8_t target = 0;
  uint8_t lun = 0;
  std::optional<DriveIdentity> identity;  // none: INQUIRY failed or not a CD/DVD device
  std::string text;                       // empty without identity
};

// The identity of a CD/DVD device from its INQUIRY answer (peripheral byte
// exactly 5, and the 36 bytes up to the revision present); control bytes
// of the texts become blanks.
std::optional<DriveIdentity> IdentityFromInquiry(const uint8_t* bytes, uint32_t validBytes);

// "%d:%d:%d,%c: %s %s %s " from the entry's fields; empty without identity.
std::string FormatDriveText(const DriveEntry& entry);

// The pass-through scan's table: the entries with an address in their
// order, then those without, numbered as adapters above the highest
// adapter of the first group (target 0, LUN 0), texts made anew.  At most
// kDriveTableSize entries.
std::vector<DriveEntry> MergeDriveTable(std::vector<DriveEntry> addressed, std::vector<DriveEntry> unaddressed);

// True when any entry answered as a CD/DVD device: only then does the
// pass-through scan count as having found a drive.
bool HasCdDvdDrive(const std::vector<DriveEntry>& entries);

}  // namespace discburn
