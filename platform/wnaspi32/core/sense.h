// Sense keys and the additional sense codes the software drive reports, with
// the fixed-format sense data (18 bytes) they are sent in.
#pragma once

#include <cstdint>

namespace softdrive {

struct Sense {
  uint8_t key = 0;
  uint8_t asc = 0;
  uint8_t ascq = 0;
  bool operator==(const Sense&) const = default;
};

inline constexpr Sense kNoSense{0, 0, 0};
inline constexpr Sense kNotReadyBecoming{2, 0x04, 0x01};    // becoming ready
inline constexpr Sense kNotReadyInProgress{2, 0x04, 0x07};  // operation in progress
inline constexpr Sense kNoMedium{2, 0x3A, 0x00};            // medium not present
inline constexpr Sense kWriteError{3, 0x0C, 0x00};
inline constexpr Sense kLossOfStreaming{3, 0x0C, 0x09};     // buffer underrun
inline constexpr Sense kReadError{3, 0x11, 0x00};           // unrecovered read error
inline constexpr Sense kInvalidOpcode{5, 0x20, 0x00};
inline constexpr Sense kLbaOutOfRange{5, 0x21, 0x00};
inline constexpr Sense kInvalidWriteAddress{5, 0x21, 0x02};
inline constexpr Sense kInvalidFieldInCdb{5, 0x24, 0x00};
inline constexpr Sense kParameterListLength{5, 0x1A, 0x00};
inline constexpr Sense kInvalidFieldInParameters{5, 0x26, 0x00};
inline constexpr Sense kIncompatibleMedium{5, 0x30, 0x00};
inline constexpr Sense kIncompatibleFormat{5, 0x30, 0x05};  // cannot write: format
inline constexpr Sense kMediumNotFormatted{3, 0x30, 0x10};
inline constexpr Sense kRemovalPrevented{5, 0x53, 0x02};
inline constexpr Sense kSessionFixated{5, 0x72, 0x00};      // disc closed

// Length of the fixed-format sense data.
inline constexpr uint32_t kSenseDataLength = 18;

// Writes `sense` in fixed format into `out` (at most `length` bytes).
inline void FormatSense(const Sense& sense, uint8_t* out, uint32_t length) {
  uint8_t bytes[kSenseDataLength] = {};
  bytes[0] = 0x70;  // current error, fixed format
  bytes[2] = sense.key;
  bytes[7] = kSenseDataLength - 8;
  bytes[12] = sense.asc;
  bytes[13] = sense.ascq;
  for (uint32_t i = 0; i < length && i < kSenseDataLength; ++i) out[i] = bytes[i];
}

}  // namespace softdrive
