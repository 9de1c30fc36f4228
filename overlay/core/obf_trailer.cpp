// The OBF trailer; see obf_trailer.h.
#include "obf_trailer.h"

#include <algorithm>
#include <cstdint>

namespace overlay {

namespace {

constexpr size_t kWidthOffset = 260;
constexpr size_t kHeightOffset = 264;
constexpr size_t kColourCountOffset = 268;
constexpr size_t kBitsOffset = 272;
constexpr size_t kPreviewLengthOffset = 273;
constexpr size_t kVersionOffset = 277;
constexpr size_t kTagOffset = 281;
constexpr char kTag[] = "OBF";

void PutInt32(std::string* bytes, size_t offset, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) (*bytes)[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
}

int32_t GetInt32(std::string_view bytes, size_t offset) {
  uint32_t bits = 0;
  for (size_t i = 0; i < 4; ++i) {
    bits |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
  }
  return static_cast<int32_t>(bits);
}

}  // namespace

std::string EncodeObfTrailer(const ObfTrailer& trailer) {
  std::string bytes(kObfTrailerBytes, ' ');
  bytes.replace(0, std::min(trailer.pictureName.size(), kObfTrailerNameBytes), trailer.pictureName,
                0, kObfTrailerNameBytes);
  PutInt32(&bytes, kWidthOffset, trailer.canvasWidth);
  PutInt32(&bytes, kHeightOffset, trailer.canvasHeight);
  PutInt32(&bytes, kColourCountOffset, trailer.colourCount);
  bytes[kBitsOffset] = static_cast<char>(trailer.bitsPerPixel);
  PutInt32(&bytes, kPreviewLengthOffset, trailer.previewLength);
  const std::string version = trailer.version.size() == 4 ? trailer.version : "0100";
  bytes.replace(kVersionOffset, 4, version);
  bytes.replace(kTagOffset, 3, kTag);
  return bytes;
}

bool DecodeObfTrailer(std::string_view bytes, ObfTrailer* trailer) {
  if (bytes.size() != kObfTrailerBytes || bytes.substr(kTagOffset, 3) != kTag) return false;
  ObfTrailer read;
  std::string_view name = bytes.substr(0, kObfTrailerNameBytes);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.remove_suffix(1);
  read.pictureName = std::string(name);
  read.canvasWidth = GetInt32(bytes, kWidthOffset);
  read.canvasHeight = GetInt32(bytes, kHeightOffset);
  read.colourCount = GetInt32(bytes, kColourCountOffset);
  read.bitsPerPixel = static_cast<uint8_t>(bytes[kBitsOffset]);
  read.previewLength = GetInt32(bytes, kPreviewLengthOffset);
  read.version = std::string(bytes.substr(kVersionOffset, 4));
  *trailer = read;
  return true;
}

}  // namespace overlay
