// The arithmetic of playing a video: frames against time at a file's frame
// rate, the clip (the range of frames that plays) and the rectangle a
// picture takes when it is fitted into a window.  No windows.h; every value
// from a file is checked or clamped here, and no product can overflow.
#pragma once

#include <cstdint>
#include <optional>

namespace imaging {

// Frames per second as the fraction rate / scale (an AVI stream's dwRate and
// dwScale), reduced and kept to terms of at most 2^20 so that the time
// arithmetic below never overflows.
struct FrameRate {
  uint32_t rate = 0;
  uint32_t scale = 0;
};

// The frame rate of a stream header: nullopt when either term is 0 or the
// rate lies outside 1 frame an hour to 1000 frames a second.
std::optional<FrameRate> MakeFrameRate(uint32_t rate, uint32_t scale);

// The frame rate of a file header's microseconds per frame (nullopt for 0
// and outside the same range).
std::optional<FrameRate> FrameRateOfMicros(uint32_t microsPerFrame);

// The number of whole frames that have passed after `micros` microseconds
// (negative times count as 0; saturates instead of overflowing).
int64_t FramesAfter(const FrameRate& rate, int64_t micros);

// The first microsecond at which `frames` frames have passed: the smallest
// t with FramesAfter(rate, t) >= frames (frames <= 0 gives 0).
int64_t MicrosOfFrames(const FrameRate& rate, int64_t frames);

// Milliseconds of `frames` frames, rounded down (for lengths in time).
int64_t MillisOfFrames(const FrameRate& rate, int64_t frames);

// A clip: frames [start, end) of a media of `length` frames.
struct Clip {
  int32_t start = 0;
  int32_t end = 0;
};

// The clip a caller marks: -1 as the start means the first frame, -1 as
// the end the length; ends beyond the length are reduced to it.  nullopt
// when a value is below -1, the start lies at or beyond the (reduced) end,
// or the media has no frames.
std::optional<Clip> MarkClip(int32_t start, int32_t end, int32_t length);

// A rectangle as left, top, right, bottom.
struct Box {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// The largest rectangle with the picture's proportions that fits into a
// box of boxWidth x boxHeight, centred in it (at least 1 x 1 when the box
// is not empty); an empty box or picture gives an empty rectangle.
Box FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight);

}  // namespace imaging
