// The playback engine's decisions that need no window and no library: the
// played range (clip) of an item, how far it has played, where a seek goes,
// the volume after unmuting, stepping through the item list, what happens
// when an item ends, which back-end plays a file, and the level meter's
// scale.  The Win32 engine (playback_engine.cpp) asks these and acts.
#pragma once

#include <cstdint>
#include <string>

namespace player {

// The played range of an item in the media's own units (milliseconds for
// the audio library).
struct ClipRange {
  uint32_t start = 0;
  uint32_t end = 0;
};

// The clip for "from" and "to" over a medium of `length`: both are held
// to the length, and an end of 0 means up to the length.
ClipRange ClampClip(uint32_t from, uint32_t to, uint32_t length);

// How far `position` lies in the clip, 0..100: 0 for an empty clip or a
// position before its start, 100 at or past its end.  64-bit arithmetic,
// so no position wraps round into a huge percentage.
int32_t PlayPercent(uint32_t position, const ClipRange& clip);

// What the audio library tells of the current stream at one tick.
struct AudioProgress {
  uint32_t position = 0;           // BASSCHANNELGETPOSITION, ms
  bool ended = false;              // BASSCHANNELGETLEVEL gave 0xFFFFFFFF
  bool fileStream = false;         // BASSMEDIATYPE(1)
  bool trackerModule = false;      // BASSMEDIATYPE(5)
  bool versionAbove1_6 = false;    // BASSGETVERSION as a number > 1.6
  uint32_t length = 0;             // BASSMEDIAGETLENGTH, ms
};

// The percentage of an audio-library stream.  Only a stream that no longer
// plays is read as finished (its position 0 then stands for the end); a
// stream at position 0 that plays has just begun.
int32_t AudioPlayPercent(const AudioProgress& progress, const ClipRange& clip);

// The position a seek to `percent` (held within 0..100) of the clip goes
// to, rounded to the nearest unit.
uint32_t SeekPosition(int32_t percent, const ClipRange& clip);

// The mixer volume unmuting restores: the volume saved by mute, 50 when
// that was 0 (or unknown, below 0), at most 100.
int32_t VolumeAfterUnmute(int32_t savedVolume);

// Previous (-1) and next (+1) with wrap-around over 1..count.
int32_t SteppedIndex(int32_t index, int32_t count, int32_t direction);

// The position bar in the picture layout for item `index` of `count`:
// the middle of the item's share of 0..100.
int32_t PictureTrackPosition(int32_t index, int32_t count);

// The item a seek to `percent` opens in the picture layout: percent/100 of
// the count, rounded, held within 1..count.
int32_t SeekPictureIndex(int32_t percent, int32_t count);

// The single pass of a slide show: the counter (0 = off) counts the
// pictures "next" shows; once it has passed the count and the index would
// run past the end, the show stops and the counter returns to 1.
struct SinglePassStep {
  int32_t counter = 0;
  bool stopShow = false;
};
SinglePassStep CountSinglePass(int32_t counter, int32_t index, int32_t count);

// What the tick does when the current item has played to its end.
enum class EndOfItem {
  NextItem,   // more items follow: the "next" command
  Repeat,     // the repeat button is checked: open `index` again
  Close,      // the list is done: the player hides
};
struct EndOfItemDecision {
  EndOfItem action = EndOfItem::Close;
  int32_t index = 0;  // the index after the decision
};
EndOfItemDecision DecideEndOfItem(int32_t index, int32_t count, bool repeatChecked);

// Whether `path` plays through the audio library: the library is
// available, the caller did not rule it out, and the extension is one of
// the audio patterns of text entry 88 ("*.mp3;*.wav").
bool PlaysThroughAudioLibrary(const std::string& path, const std::string& audioPatterns,
                              bool audioLibraryAvailable, bool noAudioLibrary);

// The audio library's version text ("2.0") read as a decimal number, above 1.6.
bool VersionAbove1_6(const std::string& versionText);

// The level meter's two levels from the audio library's level: left the
// low word, right the high word, each held to the meter's full scale of
// 128; nothing (0, 0) when the library says nothing plays (0xFFFFFFFF).
struct MeterLevels {
  int32_t left = 0;
  int32_t right = 0;
};
constexpr int32_t METER_FULL_SCALE = 128;
MeterLevels MeterLevelsOf(uint32_t libraryLevel);

// The window title while an item plays: title + " - " + the item's file
// name (after the last "\" or "/").
std::string PlayingTitle(const std::string& title, const std::string& item);

// The warning after a failed open or play: the text with every "#"
// replaced by the result number, then the item as it stands.
std::string PlaybackFailureText(const std::string& text, const std::string& item, int32_t result);

// Whether a seek may move the media: not in a title ending ".vob".
bool SeekAllowedForTitle(const std::string& windowTitle);

// Where a saved video frame goes: the chosen path with ".bmp" in place of
// its file name's extension (added when the name has none); "" for none.
std::string FrameTargetPath(const std::string& chosen);

}  // namespace player
