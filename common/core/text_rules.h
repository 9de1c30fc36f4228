// Small text rules every program applies to names, entries and settings:
// ASCII case folding (the ANSI code page's upper half is left alone, as the
// file system's own folding differs by code page), blank trimming, token
// replacement, extension lists and the numeric reading of settings.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace suite {

std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);
char LowerAscii(char c);
// Comparisons that ignore ASCII case.
bool EqualsNoCase(const std::string& a, const std::string& b);
bool StartsWithNoCase(const std::string& text, const std::string& prefix);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);

// Removes blanks (spaces only) at both ends.
std::string TrimBlanks(const std::string& text);
std::string TrimLeadingBlanks(const std::string& text);
// Every occurrence of `token` replaced by `value` (left to right, the
// replacement is not searched again).
std::string ReplaceAll(const std::string& text, const std::string& token, const std::string& value);
// Each `marker` in turn replaced by the next of `values`; markers beyond the
// values stay as they are, and the values are not searched again.
std::string FillPlaceholders(const std::string& text, char marker,
                             std::initializer_list<std::string> values);

// Whether a file's extension is in a pattern list such as "*.jpg;*.png"
// (the test "*" + lower-case extension + ";" within the lower-cased list
// + ";").  A name without an extension is in no list.
bool PatternListTakes(const std::string& patternList, const std::string& fileName);
// Whether a file's extension is one of a run of extensions written
// together, such as ".wav.wma.mp3.ogg" (ASCII case ignored).
bool ExtensionIsOneOf(const std::string& fileName, const std::string& extensions);

// The number at the start of a text as a settings reader takes it: leading
// blanks skipped, an optional sign, then decimal digits; 0 when there is no
// number; saturated at the 32-bit limits.
int32_t LeadingNumber(const std::string& text);

}  // namespace suite
