// CD audio tracks as a CD file system shows them: one 44-byte "TrackNN.cda"
// file per track (a RIFF "CDDA" file with a "fmt " chunk naming the track,
// its first sector and its length in sectors), and the disc's audio in
// sectors of 2352 bytes: 588 frames of 16-bit stereo at 44100 Hz.
//
// Portable: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tonelink {

inline constexpr uint32_t kCdSectorBytes = 2352;
inline constexpr uint32_t kCdFramesPerSector = 588;
inline constexpr uint32_t kCdRate = 44100;
inline constexpr uint32_t kCdChannels = 2;
inline constexpr size_t kCdaFileBytes = 44;
// The file of the disc's audio in the drive's root: every sector from the
// first, back to back (the test discs have no other data).
inline constexpr char kDiscAudioFileName[] = "CDAUDIO.RAW";

struct CdTrack {
  uint32_t number = 0;         // 1-99
  uint32_t firstSector = 0;    // from the start of the disc's audio
  uint32_t sectorCount = 0;
};

// Reads a track file's header from `size` bytes.  False for anything that
// is not a 44-byte-or-longer RIFF "CDDA" file with a "fmt " chunk of at
// least 24 bytes, a track number of 1 to 99 and a length of at least one
// sector.
bool ParseCdaHeader(const uint8_t* data, size_t size, CdTrack* track);

// The 44-byte track file for `track` (sector addresses also as minutes,
// seconds and frames, counting the 150 sectors before the first track).
std::string MakeCdaHeader(const CdTrack& track, uint32_t discSerial);

// "TrackNN.cda" for a track number 1-99.
std::string CdaFileName(uint32_t number);

// Where a track's audio lies in the disc's audio file, in bytes; false when
// it does not lie within `discBytes`.
bool TrackBytes(const CdTrack& track, uint64_t discBytes, uint64_t* offset, uint64_t* length);

}  // namespace tonelink
