// Media files and the current stream, shared by the current stream's calls
// (stream.cpp), the calls on handles (channels.cpp) and the output
// (output.cpp).  Every function here but OpenMediaFile is called with the
// state lock held.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "error_codes.h"
#include "stream_timeline.h"
#include "wave_file.h"

namespace tonelink {

class WaveOutPlayer;

// A WAV file open for reading its samples.
class MediaFile {
 public:
  MediaFile(HANDLE file, const WaveInfo& info) : file_(file), info_(info) {}
  ~MediaFile();
  MediaFile(const MediaFile&) = delete;
  MediaFile& operator=(const MediaFile&) = delete;

  const WaveInfo& info() const { return info_; }
  // Up to `count` frames from frame `first`, in the file's own format; fewer
  // at the end of the data or when the file cannot be read.
  std::vector<uint8_t> ReadFrames(uint64_t first, uint64_t count);
  // The same frames as interleaved 16-bit samples.
  std::vector<int16_t> ReadPcm16(uint64_t first, uint64_t count);

 private:
  HANDLE file_;
  WaveInfo info_;
};

// Opens `path` as a media file: kErrorIllegalParameter for a null or empty
// path, kErrorNetwork for an internet address, kErrorFileOpen when the file
// cannot be opened for reading, kErrorFormat when it is not a PCM WAV file
// this library decodes.  Takes no lock.
ErrorCode OpenMediaFile(const char* path, std::unique_ptr<MediaFile>* opened);

// The stream BASSOPEN opened: its file, where it plays, its attributes.
struct CurrentStream {
  CurrentStream(int32_t handle, std::unique_ptr<MediaFile> file);
  ~CurrentStream();

  int32_t handle;
  std::unique_ptr<MediaFile> media;
  StreamTimeline timeline;
  int32_t volume = 100;   // 0-100
  int32_t panning = 0;    // -100 left to 100 right
  bool isSliding = false;
  bool stopAfterSlide = false;
  Slide volumeSlide;
  // Counts the changes of the timeline (play, seek, holds, speed, stop), so
  // the wave-out feeder knows when to drop what it queued.
  uint32_t changes = 0;
  std::unique_ptr<WaveOutPlayer> player;  // with a wave-out device

  uint32_t rate() const { return media->info().format.sampleRate; }
  // Counts a change of the timeline and wakes the feeder.
  void NoteChange();
  // The volume now, and the end of a finished slide (a fade-out stops).
  int32_t VolumeAt(uint64_t nowMs);
};

// The current stream, or null.
CurrentStream* Current();
// The stream with this channel handle (the current stream's), or null.
CurrentStream* StreamByHandle(int32_t handle);
// Closes the current stream, if any.
void CloseCurrentStream();
// The output clock's holds passed on to the current stream.
void HoldCurrentStream(uint32_t reasons);
void ReleaseCurrentStream(uint32_t reasons);

// Frees every decoding stream (channels.cpp), and the encoder programs
// they feed.
void FreeDecodingStreams();
// Adds a decoding stream that reads `media`; returns its handle
// (channels.cpp).
int32_t AddDecodingStream(std::unique_ptr<MediaFile> media);
// The rate and channel count of a decoding stream's 16-bit PCM; false when
// `handle` is no decoding stream.
bool DecodingStreamFormat(int32_t handle, uint32_t* rate, uint32_t* channels);

// Outside encoder programs fed by decoding streams (cd_encode.cpp): the
// bytes a stream delivers go to its encoder's input; freeing the stream
// ends the encoder.
void FeedEncoder(int32_t stream, const void* data, size_t bytes);
void EndEncoder(int32_t stream);
// True for the handle of the current stream or of a decoding stream.
bool IsStreamHandle(int32_t handle);

// The error of a call on the current stream when none is open:
// kErrorNotLoaded after BASSUNLOAD, else kErrorNoStream.
ErrorCode NoStreamError();

}  // namespace tonelink
