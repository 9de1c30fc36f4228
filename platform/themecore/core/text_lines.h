// The line structure shared by the engine's plain-text files (text tables
// and skins): lines end with CR LF, LF or a lone CR, a UTF-8 byte-order mark
// at the very start is dropped (editors add one; the files are ANSI), and
// the last line needs no line end.  Helpers for the "key=value" lines and
// "[section]" headers both formats use.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace themecore {

// Calls `onLine` for each line, without its line end, in order.
void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& onLine);

// The line without blanks and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);

// The lower-cased name of a "[name]" line (blanks around the line and inside
// the brackets ignored), or nullopt when the line is no section header.
std::optional<std::string> SectionName(std::string_view line);

// A decimal number of 1 to 9 digits, blanks around it allowed, within
// [minimum, maximum]; nullopt otherwise (signs, other bytes, overflow).
std::optional<int32_t> ParseDecimal(std::string_view text, int32_t minimum, int32_t maximum);

}  // namespace themecore
