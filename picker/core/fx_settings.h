// FxSettings: the effects panel's settings line, kept in orbAudioFX.cfg in
// the temporary folder between runs.  One line of 17 decimal fields joined
// by "|": the ten equalizer bars' positions (lowest band first), then the
// states of the On/Off, Reset, Reverb, Chorus, Flanger, Echo and Rotate
// boxes.  With every bar at 50 and no box ticked it reads
// "50|50|50|50|50|50|50|50|50|50|0|0|0|0|0|0|0".
//
// The reader takes whatever the file holds: missing fields read as 0,
// fields past the 17th are ignored, and each field is read as a number the
// way a settings reader does (leading blanks, a sign, digits, a decimal
// part rounded to the nearest integer; anything else ends the number).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace picker {

inline constexpr size_t kFxBandCount = 10;
inline constexpr size_t kFxBoxCount = 7;
inline constexpr size_t kFxFieldCount = kFxBandCount + kFxBoxCount;
// The panel never reads more of the file than this: a settings line is
// about 60 bytes, so anything longer is not one.
inline constexpr size_t kFxMaxFileBytes = 4096;

struct FxSettings {
  std::array<int32_t, kFxBandCount> bands{};  // track bars 1-10
  std::array<int32_t, kFxBoxCount> boxes{};   // check boxes 11-17
};

FxSettings DefaultFxSettings();

// The line as the panel writes it (no line end).
std::string BuildFxLine(const FxSettings& settings);

// The settings a file's bytes give.
FxSettings ParseFxLine(const std::string& bytes);

// One field read as a number (see above), saturated at the 32-bit limits.
int32_t ReadFxNumber(const std::string& field);

}  // namespace picker
