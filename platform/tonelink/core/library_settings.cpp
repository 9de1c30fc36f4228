// Library-wide decisions; see library_settings.h.
#include "library_settings.h"

#include <cctype>
#include <limits>

namespace tonelink {

ErrorCode ApplyConfigValue(int32_t option, int32_t value, LibraryConfig* config) {
  int32_t* target = nullptr;
  switch (option) {
    case kConfigSampleVolume:
      target = &config->sampleVolume;
      break;
    case kConfigStreamVolume:
      target = &config->streamVolume;
      break;
    case kConfigMusicVolume:
      target = &config->musicVolume;
      break;
    default:
      return kErrorIllegalParameter;
  }
  if (value < 0 || value > kMaxVolume) return kErrorIllegalParameter;
  *target = value;
  return kErrorNone;
}

bool IsValidOutputFrequency(int32_t frequency) {
  return frequency >= kMinFrequency && frequency <= kMaxFrequency;
}

ErrorCode ResolveOutputDevice(int32_t device, uint32_t waveOutCount, OutputChoice* choice) {
  if (device == -1 || device == 1) {
    choice->isNullDevice = waveOutCount == 0;
    choice->waveOutId = 0;
    choice->mayFallBack = true;
    return kErrorNone;
  }
  if (device == 0) {
    *choice = OutputChoice{};
    return kErrorNone;
  }
  if (device >= 2 && static_cast<uint32_t>(device) <= waveOutCount) {
    choice->isNullDevice = false;
    choice->waveOutId = static_cast<uint32_t>(device - 1);
    choice->mayFallBack = false;
    return kErrorNone;
  }
  return kErrorDevice;
}

int32_t DirectXVersionFromVariable(const std::optional<std::string>& value) {
  if (!value) return kDefaultDirectXVersion;
  const std::string& text = *value;
  size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return kDefaultDirectXVersion;
  size_t end = text.find_last_not_of(' ') + 1;
  int64_t number = 0;
  for (size_t i = begin; i < end; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isdigit(c)) return kDefaultDirectXVersion;
    number = number * 10 + (c - '0');
    if (number > std::numeric_limits<int32_t>::max()) return kDefaultDirectXVersion;
  }
  return static_cast<int32_t>(number);
}

bool IsInternetAddress(std::string_view path) {
  static constexpr std::string_view kSchemes[] = {"http://", "https://", "ftp://", "mms://"};
  for (std::string_view scheme : kSchemes) {
    if (path.size() < scheme.size()) continue;
    bool matches = true;
    for (size_t i = 0; i < scheme.size() && matches; ++i) {
      matches = std::tolower(static_cast<unsigned char>(path[i])) == scheme[i];
    }
    if (matches) return true;
  }
  return false;
}

}  // namespace tonelink
