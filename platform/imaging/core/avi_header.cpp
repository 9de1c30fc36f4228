#include "avi_header.h"

namespace imaging {

namespace {

constexpr size_t kMaxChunks = 1024;  // chunks walked in the header list

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// A view of bytes with the chunk walk over it.
struct Span {
  const uint8_t* data;
  size_t size;
};

struct Chunk {
  uint32_t id = 0;
  Span body{nullptr, 0};
};

// Reads the chunk at *offset and moves past it (and its pad byte).  False
// when the chunk header or its body does not fit.
bool NextChunk(Span span, size_t* offset, Chunk* chunk) {
  if (*offset > span.size || span.size - *offset < 8) return false;
  const uint8_t* head = span.data + *offset;
  uint32_t size = Le32(head + 4);
  size_t available = span.size - *offset - 8;
  if (size > available) return false;
  chunk->id = Le32(head);
  chunk->body = Span{head + 8, size};
  *offset += 8 + size + (size & 1);
  return true;
}

// One "strl" list: fills the video fields from the first video stream.
AviCheck ReadStream(Span list, bool* haveVideo, AviHeader* header) {
  size_t offset = 4;  // after "strl"
  Chunk chunk;
  uint32_t type = 0;
  bool video = false;
  for (size_t count = 0; count < kMaxChunks && NextChunk(list, &offset, &chunk); ++count) {
    if (chunk.id == FourCc("strh")) {
      if (chunk.body.size < 36) return AviCheck::kDamaged;
      type = Le32(chunk.body.data);
      if (type == FourCc("auds")) header->hasAudio = true;
      video = type == FourCc("vids") && !*haveVideo;
      if (video) {
        header->videoHandler = Le32(chunk.body.data + 4);
        header->videoScale = Le32(chunk.body.data + 20);
        header->videoRate = Le32(chunk.body.data + 24);
        header->videoLength = Le32(chunk.body.data + 32);
      }
    } else if (chunk.id == FourCc("strf") && video) {
      if (chunk.body.size < 40) return AviCheck::kDamaged;
      header->videoBitCount = uint32_t(chunk.body.data[14]) | uint32_t(chunk.body.data[15]) << 8;
      header->videoCompression = Le32(chunk.body.data + 16);
      *haveVideo = true;
    }
  }
  if (video && !*haveVideo) return AviCheck::kDamaged;  // a video stream without its format
  return AviCheck::kVideo;
}

}  // namespace

AviCheck ReadAviHeader(const uint8_t* data, size_t size, AviHeader* header) {
  *header = AviHeader{};
  if (data == nullptr || size < 12 || Le32(data) != FourCc("RIFF") || Le32(data + 8) != FourCc("AVI "))
    return AviCheck::kNotAvi;
  // The RIFF size may pass the bytes given (only the start of a file is
  // read, or the file was cut short); the headers must lie within them.
  Span file{data + 12, size - 12};
  size_t offset = 0;
  Chunk chunk;
  bool haveMain = false;
  bool haveVideo = false;
  for (size_t count = 0; count < kMaxChunks && NextChunk(file, &offset, &chunk); ++count) {
    if (chunk.id != FourCc("LIST") || chunk.body.size < 4 || Le32(chunk.body.data) != FourCc("hdrl")) continue;
    Span list = chunk.body;
    size_t inner = 4;
    Chunk item;
    for (size_t n = 0; n < kMaxChunks && NextChunk(list, &inner, &item); ++n) {
      if (item.id == FourCc("avih")) {
        if (item.body.size < 40) return AviCheck::kDamaged;
        header->microsPerFrame = Le32(item.body.data);
        header->totalFrames = Le32(item.body.data + 16);
        header->width = Le32(item.body.data + 32);
        header->height = Le32(item.body.data + 36);
        haveMain = true;
      } else if (item.id == FourCc("LIST") && item.body.size >= 4 && Le32(item.body.data) == FourCc("strl")) {
        ++header->streams;
        if (ReadStream(item.body, &haveVideo, header) != AviCheck::kVideo) return AviCheck::kDamaged;
      }
    }
    break;  // only the first header list counts
  }
  if (!haveMain || header->streams == 0) return AviCheck::kDamaged;
  if (!haveVideo) return AviCheck::kNotAvi;
  if (header->width == 0 || header->height == 0 || header->width > kMaxVideoSide ||
      header->height > kMaxVideoSide)
    return AviCheck::kDamaged;
  return AviCheck::kVideo;
}

}  // namespace imaging
