// The rules of fired events that need no COM: where a parameter sits in the
// control's argument array, how a source interface id written by a client
// is completed, how names are narrowed into a client's buffer, how a
// parameter is found by name, whether an event expects values back, and how
// wide the store through a by-reference argument is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ctlhost {

// Parameters are numbered from 0 in declaration order, while the control's
// argument array holds them last first: parameter i is element count-1-i.
// -1 when index lies outside 0..count-1.
int32_t ArgumentSlot(int32_t index, int32_t count);

// An interface id in registry form with or without its braces, braced:
// "{" is put in front unless the text begins with one, "}" at the end
// unless it ends with one.
std::string BracedIid(std::string_view text);

// Copies `name` into buffer as the low bytes of its units: at most size-1
// characters and never past its length, then a zero byte.  Nothing is
// written when buffer is null or size < 1.  The number of characters copied.
size_t CopyNarrowName(std::u16string_view name, char* buffer, int32_t size);

// The parameter index of `wanted` among an event's names (names[0] is the
// event's own name, names[1] parameter 0): both upper-cased (ASCII) and
// compared whole.  -1 when no parameter has that name.
int32_t FindParameterIndex(const std::vector<std::string>& names, std::string_view wanted);

// One declared parameter of an event: its PARAMFLAG bits and the VARTYPE of
// its declared type.
struct DeclaredParameter {
  uint16_t flags = 0;
  uint16_t varType = 0;
};
inline constexpr uint16_t kParamIn = 0x1;   // PARAMFLAG_FIN
inline constexpr uint16_t kParamOut = 0x2;  // PARAMFLAG_FOUT
inline constexpr uint16_t kVarTypePointer = 26;  // VT_PTR
// An event expects values back (and hands its own arguments over by
// reference) when a parameter is an out parameter, or is a pointer that is
// not marked as in.
bool IsSynchronousEvent(const std::vector<DeclaredParameter>& parameters);

// How a converted value is stored through a by-reference argument of base
// type `varType`.
enum class ByRefStore { kNone, k8, k16, k32, kDouble, k64, kString, kInterface };
ByRefStore StoreForType(uint16_t varType);

}  // namespace ctlhost
