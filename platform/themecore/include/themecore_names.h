// More of the skin engine's exports (see themecore.h for the conventions):
// the name rules of typed names and numbered file names (names.cpp,
// ordinals 960-979).
#pragma once

#include "themecore.h"

// `text` with every run of the character `c` (0-255) reduced to one, by the
// output-buffer rule.  A null text is an empty one.
THEMECORE_API int32_t __stdcall SKCRUNCH(const char* text, int32_t c, char* out, int32_t outSize);

// The next name of a numbered sequence after `stem`, by the output-buffer
// rule: a stem ending in digits counts on as wide as its number ("ORBCT000"
// -> "ORBCT001", "a 999" -> "a 1000"); any other stem starts at "001" after
// a blank ("holiday" -> "holiday 001").  Each call gives a name the
// sequence has not given before.
THEMECORE_API int32_t __stdcall SKSEQUENCE(const char* stem, char* out, int32_t outSize);

namespace themecore {

inline std::string Crunch(const std::string& text, char c) {
  return FetchText([&](char* out, int32_t size) {
    return SKCRUNCH(text.c_str(), static_cast<unsigned char>(c), out, size);
  });
}

inline std::string NextSequenceName(const std::string& stem) {
  return FetchText([&](char* out, int32_t size) { return SKSEQUENCE(stem.c_str(), out, size); });
}

}  // namespace themecore
