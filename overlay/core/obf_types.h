// The records of an OBF overlay sidecar: the objects the picture tool lays
// over a picture, the trailer that closes the file and the whole document.
// The byte layout lives in obf_line.cpp, obf_trailer.cpp and
// obf_document.cpp; this header only holds the values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace overlay {

// The object's kind (field 1 of a line; the low 16 bits of the word the
// renderer takes).
enum ObjectKind : uint16_t {
  kKindText = 1,
  kKindEllipse = 2,
  kKindRectangle = 3,
  kKindCurve = 4,
  kKindArrow = 5,
  kKindPolyline = 6,
};

// How a shape is drawn (field 2; the high 16 bits of the word).
enum ObjectStyle : uint16_t {
  kStyleOutline = 1,
  kStyleSolid = 2,
  kStyleGradient = 3,
  kStyleGradientSigma = 4,
  kStyleOpen = 5,  // curves and polylines only
};

// Limits of the picture tool's object record, which every reader keeps to.
constexpr size_t kObfMaxTextBytes = 1024;    // text and second text
constexpr size_t kObfMaxPoints = 256;        // points of a shape
constexpr size_t kObfMaxNameBytes = 128;     // font family and note
constexpr size_t kObfTrailerBytes = 284;
constexpr size_t kObfTrailerNameBytes = 260;

struct ObfPoint {
  int16_t x = 0;
  int16_t y = 0;
  bool operator==(const ObfPoint&) const = default;
};

// One object line.  Points are relative to (x, y).
struct ObfObject {
  uint16_t kind = 0;
  uint16_t style = 0;
  std::string text;              // text objects: the text, "|" as it is
  std::vector<ObfPoint> points;  // shapes
  std::string secondText;
  std::string fontFamily;
  int32_t size = 0;              // text: font size in pixels; shapes: pen width
  int32_t formatFlags = 0;       // text: GDI+ string format flags
  uint32_t colour = 0;           // ARGB
  int32_t shadow = 0;            // shadow offset d, 0 = none
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t shown = 1;             // 0 = hidden
  int32_t number = 0;            // the object's number in the picture tool
  uint8_t flag = 0;
  std::string note;

  // Kind in the low 16 bits, style in the high 16 bits.
  uint32_t word() const { return static_cast<uint32_t>(kind) | (static_cast<uint32_t>(style) << 16); }
  bool operator==(const ObfObject&) const = default;
};

// The 284 bytes that end the file.
struct ObfTrailer {
  std::string pictureName;   // name and extension of the picture, no folder
  int32_t canvasWidth = 0;
  int32_t canvasHeight = 0;
  int32_t colourCount = 0;
  uint8_t bitsPerPixel = 24;
  int32_t previewLength = 0;  // J: the JPEG preview's length and the offset of the lines
  std::string version = "0100";
  bool operator==(const ObfTrailer&) const = default;
};

struct ObfDocument {
  std::string preview;  // one complete JPEG stream (may be empty)
  std::vector<ObfObject> objects;  // bottom-most first
  ObfTrailer trailer;
  bool operator==(const ObfDocument&) const = default;
};

// Why a file gave no objects.  Every reader of a sidecar reports one of
// these; only kObfOk comes with a document.
enum class ObfStatus {
  kOk = 0,
  kMissing,            // no such file, or it does not open
  kTooShort,           // smaller than the trailer
  kNotObf,             // the last bytes are not the "OBF" tag
  kBadPreviewLength,   // J is negative or runs into the trailer
  kTooLarge,           // larger than any sidecar the suite writes
  kWriteFailed,        // the file could not be written (the old one is kept)
  kNothingToWrite,     // no objects: the old sidecar was removed, none written
};

const char* ObfStatusText(ObfStatus status);

}  // namespace overlay
