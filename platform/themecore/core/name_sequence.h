// The engine's small name rules: reducing runs of one character (SKCRUNCH,
// used on typed names and on paths with doubled backslashes) and the next
// name of a numbered sequence (SKSEQUENCE, which the media browser's
// numbered renaming, album pages and contact sheets continue).
#pragma once

#include <string>
#include <string_view>

namespace themecore {

// `text` with every run of `c` reduced to one `c`; nothing else changes.
std::string CrunchRuns(std::string_view text, char c);

// The name after `stem` in a numbered sequence.  A stem ending in decimal
// digits counts on, as wide as its number was ("ORBCT000" -> "ORBCT001",
// "a 009" -> "a 010"; a carry widens: "a 999" -> "a 1000").  A stem without
// final digits starts the sequence at "001", after a blank unless it is
// empty or already ends in one ("holiday" -> "holiday 001").
std::string NextInSequence(std::string_view stem);

}  // namespace themecore
