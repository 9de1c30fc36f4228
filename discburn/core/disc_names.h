// The name rules of the two trees on the disc.
//
// ISO 9660 names are bytes: the 8.3 alias (or the first characters of the
// long name) upper-cased.  They carry no ";1" version.  Characters that a
// reader would take for a separator or a version mark, and characters
// outside ASCII (which readers decode in different character sets), become
// "_".
//
// Joliet names are UCS-2: the long name, at most kJolietMaxChars
// characters.  Longer names are cut before the extension, so the type of
// the file survives; "*", "/", ":", ";", "?" and "\" become "_" as the
// Joliet rules forbid them.  Both trees hold unique names per directory:
// MakeUniqueName derives "BASE~N.EXT" variants for a clash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace discburn {

// Joliet allows 64 characters; a record of 33 + 2 x 64 + 1 bytes fits in
// the one-byte record length with room to spare.
inline constexpr size_t kJolietMaxChars = 64;
// An ISO 9660 name made from an 8.3 alias: 12 characters and a "." added
// when there is none.
inline constexpr size_t kIsoMaxBytes = 14;
// Long-name mode (the ISO 9660:1999 descriptor): the record length byte
// leaves room for 222 name bytes; 206 keeps the path-table records short.
inline constexpr size_t kIsoLongMaxBytes = 206;

std::u16string Utf8ToUtf16(std::string_view text);  // bad sequences become U+FFFD
std::string Utf16ToUtf8(std::u16string_view text);

char16_t FoldCase(char16_t c);  // the upper-case form used for comparisons
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
bool HasWildcard(std::u16string_view path);
// Windows wildcard matching without regard to case: "*" any run, "?" one
// character; a mask "*.*" or "*" matches every name, also one without ".".
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

// The first maxChars characters of text.
std::u16string Prefix(std::u16string_view text, size_t maxChars);

// The ISO name bytes of source (upper-cased, see above), at most maxBytes.
std::string IsoNameBytes(std::u16string_view source, size_t maxBytes);
// The Joliet name of a long name (see above).
std::u16string JolietName(std::u16string_view longName);

// Variant n (n >= 1) of a name that clashes: the base is cut so that
// "~n" and the extension fit in maxLength.
std::string MakeUniqueName(std::string_view name, uint32_t n, size_t maxLength);
std::u16string MakeUniqueName(std::u16string_view name, uint32_t n, size_t maxLength);

}  // namespace discburn
