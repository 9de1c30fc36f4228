// Parsing of the drive's settings; see drive_config.h.
#include "drive_config.h"

#include <cctype>
#include <charconv>

namespace softdrive {
namespace {

struct KindName {
  MediumKind kind;
  const char* name;
  uint16_t profile;
};

constexpr KindName kKinds[] = {
    {MediumKind::kNone, "none", 0x0000},
    {MediumKind::kCdR, "cd-r", 0x0009},
    {MediumKind::kCdRw, "cd-rw", 0x000A},
    {MediumKind::kDvdR, "dvd-r", 0x0011},
    {MediumKind::kDvdRwSequential, "dvd-rw", 0x0014},
    {MediumKind::kDvdRwRestricted, "dvd-rw-ro", 0x0013},
    {MediumKind::kDvdPlusR, "dvd+r", 0x001B},
    {MediumKind::kDvdPlusRw, "dvd+rw", 0x001A},
    {MediumKind::kDvdRam, "dvd-ram", 0x0012},
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::optional<uint32_t> ParseNumber(std::string_view text) {
  uint32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<bool> ParseFlag(std::string_view text) {
  if (text == "1" || text == "yes" || text == "on") return true;
  if (text == "0" || text == "no" || text == "off") return false;
  return std::nullopt;
}

// Identity texts are sent in INQUIRY as printable ASCII of a fixed width.
bool IsPrintable(std::string_view text, size_t maxLength) {
  if (text.size() > maxLength) return false;
  for (char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  }
  return true;
}

}  // namespace

std::optional<MediumKind> ParseMediumKind(std::string_view name) {
  for (const auto& entry : kKinds) {
    if (name == entry.name) return entry.kind;
  }
  return std::nullopt;
}

const char* MediumKindName(MediumKind kind) {
  for (const auto& entry : kKinds) {
    if (entry.kind == kind) return entry.name;
  }
  return "none";
}

uint16_t ProfileOf(MediumKind kind) {
  for (const auto& entry : kKinds) {
    if (entry.kind == kind) return entry.profile;
  }
  return 0;
}

bool IsCd(MediumKind kind) { return kind == MediumKind::kCdR || kind == MediumKind::kCdRw; }

bool IsErasable(MediumKind kind) {
  return kind == MediumKind::kCdRw || kind == MediumKind::kDvdRwSequential ||
         kind == MediumKind::kDvdRwRestricted || kind == MediumKind::kDvdPlusRw || kind == MediumKind::kDvdRam;
}

bool IsOverwritable(MediumKind kind) {
  return kind == MediumKind::kDvdRwRestricted || kind == MediumKind::kDvdPlusRw || kind == MediumKind::kDvdRam;
}

uint32_t DefaultCapacity(MediumKind kind) {
  if (kind == MediumKind::kNone) return 0;
  if (IsCd(kind)) return 359847;  // 79:59:72, the usual 80-minute blank
  if (kind == MediumKind::kDvdRam) return 2236704;
  return 2295104;  // single-layer DVD±R(W)
}

uint32_t DriveConfig::EffectiveCapacity() const {
  if (medium == MediumKind::kNone) return 0;
  return capacityBlocks != 0 ? capacityBlocks : DefaultCapacity(medium);
}

bool ApplySetting(std::string_view key, std::string_view value, DriveConfig* config) {
  if (key == "letter") {
    if (value.size() != 1 || !std::isalpha(static_cast<unsigned char>(value[0]))) return false;
    config->letter = static_cast<char>(std::toupper(static_cast<unsigned char>(value[0])));
    return true;
  }
  if (key == "vendor" || key == "product" || key == "revision") {
    size_t width = key == "vendor" ? 8 : key == "product" ? 16 : 4;
    if (!IsPrintable(value, width)) return false;
    (key == "vendor" ? config->vendor : key == "product" ? config->product : config->revision) = std::string(value);
    return true;
  }
  if (key == "medium") {
    auto kind = ParseMediumKind(value);
    if (!kind) return false;
    config->medium = *kind;
    return true;
  }
  if (key == "backing") {
    if (value.empty()) return false;
    config->backingPath = std::string(value);
    return true;
  }
  if (key == "finalized" || key == "formatted" || key == "no_medium") {
    auto flag = ParseFlag(value);
    if (!flag) return false;
    (key == "finalized" ? config->finalized : key == "formatted" ? config->formatted : config->noMedium) = *flag;
    return true;
  }
  auto number = ParseNumber(value);
  if (!number) return false;
  if (key == "capacity") {
    config->capacityBlocks = *number;
  } else if (key == "sessions") {
    if (*number > 99) return false;  // a CD holds at most 99 tracks
    config->sessions = *number;
  } else if (key == "session_blocks") {
    config->sessionBlocks = *number;
  } else if (key == "not_ready_polls") {
    config->notReadyPolls = *number;
  } else if (key == "write_error_lba") {
    config->writeErrorLba = *number;
  } else if (key == "underrun_lba") {
    config->underrunLba = *number;
  } else if (key == "slow_ms") {
    if (*number > 10000) return false;  // a test must not stall for minutes
    config->slowMs = *number;
  } else {
    return false;
  }
  return true;
}

const std::vector<std::string>& ConfigKeys() {
  static const std::vector<std::string> keys = {
      "letter", "vendor", "product", "revision", "medium", "capacity", "backing", "sessions", "session_blocks",
      "finalized", "formatted", "no_medium", "not_ready_polls", "write_error_lba", "underrun_lba", "slow_ms"};
  return keys;
}

void ApplyConfigText(std::string_view text, DriveConfig* config, std::vector<std::string>* problems) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = Trim(line);
    if (line.empty() || line.front() == '#') continue;
    size_t equals = line.find('=');
    bool applied = equals != std::string_view::npos &&
                   ApplySetting(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)), config);
    if (!applied && problems) problems->push_back(std::string(line));
  }
}

DriveConfig LoadConfig(const EnvLookup& getEnv, const FileReader& readFile, std::vector<std::string>* problems) {
  DriveConfig config;
  if (auto path = getEnv("ORB_DRIVE_CONFIG"); path && !path->empty()) {
    if (auto text = readFile(*path)) {
      ApplyConfigText(*text, &config, problems);
    } else if (problems) {
      problems->push_back("cannot read " + *path);
    }
  }
  for (const auto& key : ConfigKeys()) {
    std::string name = "ORB_DRIVE_";
    for (char c : key) name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto value = getEnv(name);
    if (!value || value->empty()) continue;
    if (!ApplySetting(key, Trim(*value), &config) && problems) problems->push_back(name + "=" + *value);
  }
  return config;
}

}  // namespace softdrive
