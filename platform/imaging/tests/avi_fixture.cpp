#include "avi_fixture.h"

#include <climits>
#include <cstring>

namespace avifixture {

namespace {

void Put32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
void Put16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>(value >> 8));
}
void PutId(std::string* out, const char* id) { out->append(id, 4); }

// A chunk "id" with its body (padded to an even size).
std::string Chunk(const char* id, const std::string& body) {
  std::string out;
  PutId(&out, id);
  Put32(&out, static_cast<uint32_t>(body.size()));
  out += body;
  if (body.size() & 1) out.push_back('\0');
  return out;
}

std::string List(const char* type, const std::string& body) {
  std::string inner(type, 4);
  inner += body;
  return Chunk("LIST", inner);
}

}  // namespace

Rgb FixtureColour(int index) {
  // Frame numbers spread over 512 colours of eight levels a channel by a
  // step (181) prime to 512: the first 512 frames differ, and neighbours
  // differ in every channel.
  int spread = (index * 181) % 512;
  int r = spread % 8;
  int g = (spread / 8) % 8;
  int b = spread / 64;
  return Rgb{static_cast<uint8_t>(r * 36), static_cast<uint8_t>(g * 36), static_cast<uint8_t>(b * 36)};
}

int NearestFrame(uint8_t r, uint8_t g, uint8_t b, int frames) {
  int best = -1;
  int bestDistance = INT_MAX;
  for (int i = 0; i < frames; ++i) {
    Rgb c = FixtureColour(i);
    int distance = (c.r - r) * (c.r - r) + (c.g - g) * (c.g - g) + (c.b - b) * (c.b - b);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return best;
}

std::string MakeAvi(const Options& options) {
  const uint32_t rowBytes = (static_cast<uint32_t>(options.width) * 3 + 3) & ~3u;
  const uint32_t frameBytes = rowBytes * static_cast<uint32_t>(options.height);
  const uint32_t microsPerFrame =
      static_cast<uint32_t>(uint64_t{1000000} * options.scale / (options.rate == 0 ? 1 : options.rate));

  std::string avih;
  Put32(&avih, microsPerFrame);
  Put32(&avih, frameBytes * options.rate);  // max bytes per second
  Put32(&avih, 0);                          // padding granularity
  Put32(&avih, 0x10);                       // AVIF_HASINDEX
  Put32(&avih, static_cast<uint32_t>(options.frames));
  Put32(&avih, 0);  // initial frames
  Put32(&avih, 1);  // streams
  Put32(&avih, frameBytes);
  Put32(&avih, static_cast<uint32_t>(options.width));
  Put32(&avih, static_cast<uint32_t>(options.height));
  for (int i = 0; i < 4; ++i) Put32(&avih, 0);

  std::string strh;
  PutId(&strh, "vids");
  PutId(&strh, "DIB ");
  Put32(&strh, 0);  // flags
  Put16(&strh, 0);  // priority
  Put16(&strh, 0);  // language
  Put32(&strh, 0);  // initial frames
  Put32(&strh, options.scale);
  Put32(&strh, options.rate);
  Put32(&strh, 0);  // start
  Put32(&strh, static_cast<uint32_t>(options.frames));
  Put32(&strh, frameBytes);  // suggested buffer size
  Put32(&strh, 0xFFFFFFFF);  // quality
  Put32(&strh, 0);           // sample size
  Put16(&strh, 0);
  Put16(&strh, 0);
  Put16(&strh, static_cast<uint16_t>(options.width));
  Put16(&strh, static_cast<uint16_t>(options.height));

  std::string strf;
  Put32(&strf, 40);
  Put32(&strf, static_cast<uint32_t>(options.width));
  Put32(&strf, static_cast<uint32_t>(options.height));
  Put16(&strf, 1);
  Put16(&strf, 24);
  Put32(&strf, 0);  // BI_RGB
  Put32(&strf, frameBytes);
  for (int i = 0; i < 4; ++i) Put32(&strf, 0);

  std::string hdrl = Chunk("avih", avih) + List("strl", Chunk("strh", strh) + Chunk("strf", strf));

  std::string movi;
  std::string index;
  uint32_t offset = 4;  // from the "movi" type field
  for (int frame = 0; frame < options.frames; ++frame) {
    Rgb colour = FixtureColour(frame);
    std::string pixels(frameBytes, '\0');
    for (int y = 0; y < options.height; ++y)
      for (int x = 0; x < options.width; ++x) {
        size_t at = static_cast<size_t>(y) * rowBytes + static_cast<size_t>(x) * 3;
        pixels[at] = static_cast<char>(colour.b);
        pixels[at + 1] = static_cast<char>(colour.g);
        pixels[at + 2] = static_cast<char>(colour.r);
      }
    PutId(&index, "00db");
    Put32(&index, 0x10);  // AVIIF_KEYFRAME
    Put32(&index, offset);
    Put32(&index, frameBytes);
    std::string chunk = Chunk("00db", pixels);
    offset += static_cast<uint32_t>(chunk.size());
    movi += chunk;
  }

  std::string body = "AVI ";
  body += List("hdrl", hdrl);
  body += List("movi", movi);
  body += Chunk("idx1", index);
  std::string file;
  PutId(&file, "RIFF");
  Put32(&file, static_cast<uint32_t>(body.size()));
  return file + body;
}

}  // namespace avifixture
