// Byte-level writers of the ISO 9660 field forms: little-endian,
// big-endian and "both-endian" (the little-endian copy, then the
// big-endian one), and padded texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace discburn::iso {

inline void PutLe16(uint8_t* at, uint16_t v) {
  at[0] = static_cast<uint8_t>(v);
  at[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutBe16(uint8_t* at, uint16_t v) {
  at[0] = static_cast<uint8_t>(v >> 8);
  at[1] = static_cast<uint8_t>(v);
}
inline void PutBoth16(uint8_t* at, uint16_t v) {
  PutLe16(at, v);
  PutBe16(at + 2, v);
}
inline void PutLe32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutBe32(uint8_t* at, uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}
inline void PutBoth32(uint8_t* at, uint32_t v) {
  PutLe32(at, v);
  PutBe32(at + 4, v);
}
inline uint16_t GetLe16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
inline uint32_t GetLe32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
inline uint32_t GetBe32(const uint8_t* at) {
  return uint32_t(at[3]) | uint32_t(at[2]) << 8 | uint32_t(at[1]) << 16 | uint32_t(at[0]) << 24;
}
// text, cut to width, then filler bytes up to width.
inline void PutPadded(uint8_t* at, size_t width, std::string_view text, uint8_t filler) {
  size_t length = text.size() < width ? text.size() : width;
  std::memcpy(at, text.data(), length);
  std::memset(at + length, filler, width - length);
}

}  // namespace discburn::iso
