// The pure rules of ripping CD tracks and converting audio files: which
// items a command takes, the target names, the outside encoders' command
// lines, the WAV file header, the progress percentage, the CD drive number
// and the track number a CD track file carries.
//
// Portable: no windows.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace browser {

// The output kinds of commands 1201-1204 and 1301-1304 (the last digit).
enum class AudioOutput { kWav = 1, kWma = 2, kEncoderPreset = 3, kEncoderToFile = 4 };

struct AudioCommand {
  bool isRip = false;        // 1201-1204; else 1301-1304
  AudioOutput output = AudioOutput::kWav;
};
// False for any other id.
bool AudioCommandOf(int id, AudioCommand* command);

// The action entry of a command: "<output extension with dot>,<encoder>".
struct AudioAction {
  std::string extension;  // lower case, ".mp3"
  std::string encoder;    // the encoder program's file name, "" for none
};
AudioAction ParseAudioAction(const std::string& entry);

// The extension from the last "." of the name, lower case ("" for none).
std::string LowerExtension(std::string_view name);
// Whether an item of this extension is copied: ".cda" for rips; for
// conversions one of ".wav.wma.mp3.ogg" other than the output's.
bool TakesSource(bool isRip, const std::string& extension, const std::string& outputExtension);

// The base name typed for a rip: ".", ":", ";" and "," become blanks, both
// slashes "-", a blank "_" (the blank runs are reduced afterwards).
std::string MapBaseNameCharacters(std::string_view name);
// Reduces every run of blanks to one blank.
std::string CrunchBlanks(std::string_view text);

// "<folder><base without trailing '-'>-NN<ext>", NN the last two digits of
// the track number.  `folder` ends in "\".
std::string RipTargetPath(const std::string& folder, const std::string& baseName, int trackNumber,
                          const std::string& extension);
// "<folder><source name without extension><ext>"; `blanksToUnderscores`
// for the encoders, which take the name unquoted.
std::string ConvertTargetPath(const std::string& folder, const std::string& sourceName,
                              const std::string& extension, bool blanksToUnderscores);

// The encoder's command line: the encoder program quoted, then
// " --alt-preset standard - <target>" (kEncoderPreset) or
// " -o <target> -" (kEncoderToFile); the target quoted when it holds a blank.
std::string EncoderCommandLine(const std::string& encoderPath, AudioOutput output,
                               const std::string& target);

// The 44-byte header of a PCM WAV file with both sizes 0: `channels` as the
// stream has them, 8 bits when `eightBit`, else 16.
std::string WaveFileHeader(uint32_t channels, uint32_t rate, bool eightBit);
// The RIFF size (offset 4) for `dataBytes` of samples, kept within 32 bits.
uint32_t RiffSizeFor(uint64_t dataBytes);
// Little-endian bytes of a 32-bit size.
std::string SizeBytes(uint32_t value);

// 100 x position / length rounded to the nearest whole number and kept in
// 0-100; -1 when the length is not known (0 or negative).
int32_t ProgressPercent(int64_t position, int64_t length);

// The CD drive number of a folder: the position of its drive letter (case
// ignored) among `cdLetters`; 0 when it is none of them.
int32_t CdDriveNumber(const std::string& folder, const std::string& cdLetters);

// The track number (1-99) a CD track file's header carries; 0 when the
// bytes are not a whole track file header.
int32_t CdaTrackNumber(const uint8_t* data, size_t size);

}  // namespace browser
