// Small text rules the media browser applies to names, entries and paths:
// ASCII case folding (the ANSI code page's upper half is left alone, as the
// file system's own folding differs by code page), blank trimming, token
// replacement and the numeric reading of settings.
#pragma once

#include <cstdint>
#include <string>

#include "core/command_line.h"

namespace browser {

std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);
// Removes blanks (spaces only) at both ends.
std::string TrimBlanks(const std::string& text);
std::string TrimLeadingBlanks(const std::string& text);
// Every occurrence of `token` replaced by `value` (left to right, the
// replacement is not searched again).
std::string ReplaceAll(const std::string& text, const std::string& token, const std::string& value);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);

// The number at the start of a text as a settings reader takes it: leading
// blanks skipped, an optional sign, then decimal digits; 0 when there is no
// number; saturated at the 32-bit limits.
int32_t LeadingNumber(const std::string& text);

// The suite's path rules (final backslashes) are shared with the other
// programs.
using suite::WithFinalBackslash;
using suite::WithoutFinalBackslash;

}  // namespace browser

namespace browser {

// Whether `folder` is `source` itself or lies inside it (paths compared
// without regard to ASCII case and to final backslashes): a folder cannot
// be moved there.
bool IsSameOrInsideFolder(const std::string& source, const std::string& folder);

}  // namespace browser
