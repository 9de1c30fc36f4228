// One object line of an OBF sidecar: 18 fields joined by "|", ended by CR LF
// in the file (the CR LF is not part of what these functions take or give).
//
//   1 kind  2 style  3 count  4 payload  5 second text  6 font family
//   7 size  8 format flags  9 colour (signed)  10 shadow  11 x  12 y
//   13 width  14 height  15 shown  16 number  17 flag  18 note
//
// Field 4 of a text holds the text with "|" stored as the byte 24; of a
// shape, the points "x1,y1,x2,y2,..." relative to (x, y).  The other
// programs of the suite split every line on each "|", so no other field may
// hold one.
#pragma once

#include <string>
#include <string_view>

#include "obf_types.h"

namespace overlay {

// The line of an object, without CR LF.  Texts lose blanks and zero bytes at
// both ends and are cut to their limits; a shape writes at most 256 points.
// A line break inside a text is stored as the bytes 25 (CR) and 26 (LF), like
// "|" as 24, so that it cannot split the line.  Fields 5, 6 and 18 lose any
// "|", CR and LF.
std::string EncodeObfLine(const ObfObject& object);

// The object of a line.  Never fails: missing, empty or malformed numbers
// read as 0; a count of 0 (or below) means no payload; a text is cut to 1024
// bytes; a shape gets at most min(count, 256, values present / 2) points.
ObfObject DecodeObfLine(std::string_view line);

// The text as field 4 of a text object stores it, and back.
std::string EscapeObfText(std::string_view text);
std::string UnescapeObfText(std::string_view stored);

// Blanks and zero bytes cut from both ends, as the writer stores texts.
std::string TrimObfText(std::string_view text);

}  // namespace overlay
