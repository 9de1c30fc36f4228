// Names and texts of the control container library that follow fixed rules:
// the names of its mutexes, the ASCII case rules of every name comparison,
// and the conversion between the library's byte strings and UTF-16 (each
// byte widened to one unit, each unit narrowed to its low byte; no code page
// is involved, so a name survives the round trip byte for byte).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ctlhost {

// The library's mutex name: base + "_" + "2" "0" + the process id
// ("%s_%d%d%ld"), or without the process id in the shared form.
std::string MutexName(std::string_view base, uint32_t processId);
std::string SharedMutexName(std::string_view base);
// A base name followed by an object's address in lower-case hexadecimal
// ("%s%lx", e.g. QXLOG1a2b3c), as the per-object mutexes are named.
std::string AddressedBase(std::string_view base, uint64_t address);

// Upper-cases a to z only; every other byte is kept.
char UpperAscii(char c);
std::string UpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// The offset of `needle` in `text` ignoring ASCII case, or npos.
size_t FindNoCase(std::string_view text, std::string_view needle);

std::u16string WidenBytes(std::string_view text);
std::string NarrowUnits(std::u16string_view text);

}  // namespace ctlhost
