// The library-wide decisions that need no Windows: the version the library
// reports, which configuration values BASSSETCONFIG takes, which output a
// BASSINIT device number selects, and the DirectX version the effects panel
// is told.  The Win32 side (library.cpp) holds the state and asks here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "error_codes.h"

namespace tonelink {

// The version BASSGETVERSION reports, as a decimal text.  The players read it
// as a number: above 1.6, a tracker module that has ended counts as played to
// its end (100 %), which is how our streams report their end.
inline constexpr char kVersionText[] = "2.0";

// BASSSETCONFIG options: the global volume of samples, streams and tracker
// modules, each 0 to 100 (100, the start value, plays at full level).  The
// players set all three to 100 before a slide show's background sound.
enum ConfigOption : int32_t {
  kConfigSampleVolume = 4,
  kConfigStreamVolume = 5,
  kConfigMusicVolume = 6,
};
inline constexpr int32_t kMaxVolume = 100;

struct LibraryConfig {
  int32_t sampleVolume = kMaxVolume;
  int32_t streamVolume = kMaxVolume;
  int32_t musicVolume = kMaxVolume;
};

// Sets one option.  kErrorIllegalParameter for an option not listed above or
// a value outside its range; `config` is then left as it was.
ErrorCode ApplyConfigValue(int32_t option, int32_t value, LibraryConfig* config);

// BASSINIT frequencies: 8000 to 192000 Hz.
inline constexpr int32_t kMinFrequency = 8000;
inline constexpr int32_t kMaxFrequency = 192000;
bool IsValidOutputFrequency(int32_t frequency);

// The output a BASSINIT device number stands for.  The null device plays
// nothing and keeps time all the same, so programs behave alike on a machine
// without a sound device (as under Wine, where waveOutGetNumDevs is 0).
struct OutputChoice {
  bool isNullDevice = true;
  uint32_t waveOutId = 0;  // the waveOut device id when !isNullDevice
  // The default output may still fall back to the null device when the
  // wave-out device refuses the format; a device named by number may not.
  bool mayFallBack = false;
};

// Device numbers: -1 and 1 are the default output (the first wave-out
// device, or the null device when there is none); 0 is the null device;
// 2 to waveOutCount are the other wave-out devices (number n is wave-out id
// n - 1).  kErrorDevice for any other number.
ErrorCode ResolveOutputDevice(int32_t device, uint32_t waveOutCount, OutputChoice* choice);

// The DirectX major version reported by BASSDIRECTXVERSION: the value of the
// environment variable ORB_DIRECTX_VERSION when it is set to a decimal number
// (blanks around it allowed, at most 2147483647), else 9 (the version every
// Windows this suite runs on has; the effects panel needs 8 or above).
inline constexpr int32_t kDefaultDirectXVersion = 9;
int32_t DirectXVersionFromVariable(const std::optional<std::string>& value);

// True for an internet address the players hand to BASSOPEN rather than a
// file: it starts with "http://", "https://", "ftp://" or "mms://" in any case.
bool IsInternetAddress(std::string_view path);

}  // namespace tonelink
