// A control's saved state as a string: the string is a byte container (a
// BSTR whose bytes are exactly the control's saved block, no header), so it
// may hold an odd number of bytes.  Loading takes the string's byte length,
// never twice its length in 16-bit units, so the last byte of an odd-sized
// block reaches the control.  state_exports.cpp moves these blocks between
// the control's stream and the BSTR.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ctlhost {

// What a state string holds, as the allocator of the string sees it: its
// byte length and the count of whole 16-bit units (the length a caller
// that reads it as text sees).
struct StateStringShape {
  uint32_t byteLength = 0;
  uint32_t unitLength = 0;
  bool hasOddByte = false;
};
StateStringShape ShapeOfStateBlock(size_t blockBytes);

// Results of reading a state string back into a block to load.
enum class StateReadResult : int32_t {
  kOk = 0,
  kNull = 1,      // no string
  kEmpty = 2,     // a string of no bytes
  kTooLarge = 3,  // more bytes than a block of this library may hold
};
inline constexpr uint32_t kMaxStateBytes = 0x7FFFFFF0u;

// The block to hand to the control's Load: the string's `byteLength` bytes.
StateReadResult ReadStateString(const char* bytes, uint32_t byteLength, std::string* block);

}  // namespace ctlhost
