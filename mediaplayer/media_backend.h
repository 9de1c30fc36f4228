// The two ways the player plays a media item: through the audio library
// (tonelink, for the audio patterns of text entry 88) and through the
// imaging library's multimedia layer (everything else, video above all).
// The playback engine talks to the current one through this interface;
// each implementation turns the calls into its library's own and passes
// the library's results on unchanged where the engine reports them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/playback_rules.h"

namespace player {

class MediaBackend {
 public:
  virtual ~MediaBackend() = default;

  // Opens `path`; `window` (may be null) is where a video shows.  The
  // engine's open result: 2 the audio library plays it, 1 the imaging
  // library does; anything else is the failing call's result (never 1 or
  // 2).
  virtual int32_t Open(HWND window, const std::string& path) = 0;
  // Plays from `from` to `to` (0: to the end) and fills `clip` with the
  // played range held to the medium's length.  1 when playing; a failure
  // result otherwise (below 1).
  virtual int32_t Play(uint32_t from, uint32_t to, ClipRange* clip) = 0;
  // 0..100 of the clip played.
  virtual int32_t PlayPercent(const ClipRange& clip) = 0;
  virtual bool IsPlaying() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  virtual void Stop() = 0;
  virtual void Seek(uint32_t position) = 0;
  // The current position in the medium's units; 0 when unknown.
  virtual uint32_t Position() = 0;
  // Closes the medium (the object stays usable for the next Open).
  virtual void Close() = 0;
  // The level of what plays: left in the low word, right in the high word
  // (0..128 each), 0xFFFFFFFF when nothing plays or the back-end has no
  // levels.
  virtual uint32_t Level() = 0;
  // Fits the video to the window's client area (the exported MMSETVIDEO);
  // the library's result.
  virtual int32_t FitVideo(HWND window) = 0;
  // Copies `count` frames from `position` (flag 1: to the clipboard); the
  // library's result.
  virtual int32_t CopyFrames(uint32_t position, int32_t count, int32_t flag) = 0;
};

// The back-end over the audio library.  Open gives 2 or the library's
// error code made negative (BASSOPEN gives 0 for success, positive codes
// for failures, and a positive code must not read as the success values 1
// and 2).
MediaBackend& AudioLibraryBackend();

// The back-end over the imaging library's multimedia calls.  Open gives 1
// or the failing call's (negative) result.
MediaBackend& ImagingBackend();

// The imaging library reports state changes of its player through this
// callback (the program's exported _leadevent); registered once at start.
void RegisterImagingEvents();

}  // namespace player
