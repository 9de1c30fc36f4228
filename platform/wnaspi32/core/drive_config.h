// What the software drive is and how it misbehaves: its identity (drive
// letter, vendor, product and revision texts), the medium in it (kind,
// capacity in 2048-byte blocks, the backing file holding the data area, the
// sessions already on it) and the faults a test asks for.
//
// The settings come from a small "key=value" file (one setting a line, '#'
// starts a comment) named by ORB_DRIVE_CONFIG, and from environment
// variables ORB_DRIVE_<KEY> (upper case), which win over the file.  Reading
// never fails: an unknown key or a value that does not parse is skipped and
// named in `problems`, so a typo shows in the test that made it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace softdrive {

// The media the drive can hold, with the MMC profile each reports.
enum class MediumKind : uint8_t {
  kNone,
  kCdR,
  kCdRw,
  kDvdR,
  kDvdRwSequential,
  kDvdRwRestricted,
  kDvdPlusR,
  kDvdPlusRw,
  kDvdRam,
};

// The configuration names: "none", "cd-r", "cd-rw", "dvd-r", "dvd-rw",
// "dvd-rw-ro", "dvd+r", "dvd+rw", "dvd-ram".
std::optional<MediumKind> ParseMediumKind(std::string_view name);
const char* MediumKindName(MediumKind kind);

// MMC profile number of the medium (0 for none).
uint16_t ProfileOf(MediumKind kind);
bool IsCd(MediumKind kind);
bool IsErasable(MediumKind kind);   // BLANK or FORMAT empties it
bool IsOverwritable(MediumKind kind);  // written anywhere, one track
// Capacity of a full-size disc of this kind in blocks (80-minute CD,
// single-layer DVD).
uint32_t DefaultCapacity(MediumKind kind);

struct DriveConfig {
  char letter = 'R';
  std::string vendor = "ORB";
  std::string product = "SOFT DVD WRITER";
  std::string revision = "1.00";
  MediumKind medium = MediumKind::kNone;
  uint32_t capacityBlocks = 0;  // 0: DefaultCapacity(medium)
  std::string backingPath;      // the data area; state beside it
  // A disc made by the configuration when its state file is missing:
  // `sessions` closed sessions of `sessionBlocks` blocks each, and the
  // disc finalized when `finalized` is set.
  uint32_t sessions = 0;
  uint32_t sessionBlocks = 0;
  bool finalized = false;
  bool formatted = true;  // DVD+RW, DVD-RAM, DVD-RW restricted overwrite
  // Faults.
  bool noMedium = false;
  uint32_t notReadyPolls = 0;            // first N medium commands: not ready
  std::optional<uint32_t> writeErrorLba;  // a write covering it fails
  std::optional<uint32_t> underrunLba;    // a write covering it: underrun
  uint32_t slowMs = 0;                    // delay of each read and write

  uint32_t EffectiveCapacity() const;
};

// Sets one key; false (config unchanged) for an unknown key or bad value.
bool ApplySetting(std::string_view key, std::string_view value, DriveConfig* config);

// Applies every "key=value" line of `text`; bad lines go to `problems`.
void ApplyConfigText(std::string_view text, DriveConfig* config, std::vector<std::string>* problems);

// Reads the whole configuration: the file named by ORB_DRIVE_CONFIG (read
// through `readFile`, which returns nullopt when it cannot) and then the
// ORB_DRIVE_* variables, both looked up through `getEnv`.
using EnvLookup = std::function<std::optional<std::string>(const std::string&)>;
using FileReader = std::function<std::optional<std::string>(const std::string&)>;
DriveConfig LoadConfig(const EnvLookup& getEnv, const FileReader& readFile, std::vector<std::string>* problems);

// The keys LoadConfig looks up in the environment, lower case.
const std::vector<std::string>& ConfigKeys();

}  // namespace softdrive
