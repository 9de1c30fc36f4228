// Uncompressed AVI files made by the tests: every frame one solid colour
// (FixtureColour), so a pixel tells which frame is shown.  Portable: the
// native tests read the headers back, the Wine tests play the files.
#pragma once

#include <cstdint>
#include <string>

namespace avifixture {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

// The colour of frame `index`: neighbouring frames differ strongly in every
// channel, and no two of the first 64 frames lie close together.
Rgb FixtureColour(int index);

// The index among the first `frames` frames whose colour lies nearest to
// (r, g, b).
int NearestFrame(uint8_t r, uint8_t g, uint8_t b, int frames);

struct Options {
  int frames = 20;
  int width = 32;
  int height = 24;
  uint32_t rate = 10;  // frames per second = rate / scale
  uint32_t scale = 1;
};

// The bytes of a RIFF AVI file: one 24-bit BI_RGB video stream ("00db"
// chunks, bottom-up rows) and an "idx1" index.
std::string MakeAvi(const Options& options);

}  // namespace avifixture
