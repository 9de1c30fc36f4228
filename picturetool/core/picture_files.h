// Portable rules of the picture tool's picture files: which library reads
// and writes an extension, the save format table, the "*" that stands for
// the picture's base name in a Save As target, the keyword file beside a
// picture and the caption and counter texts, and the picture list's edits.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace paint {

// The extension of the file name (never of a folder) in upper case with its
// dot (".JPG"); "" when the file name has none.
std::string UpperExtensionOf(const std::string& path);

// Extensions GDI+ loads first (".DIB.EMF.GIF.TIF.TIFF.WMF.").
bool LoadsThroughGdiplus(const std::string& upperExtension);

// The imaging library's format for saving an extension.
struct SaveFormat {
  int32_t format = 0;  // 0: the extension is not written
  int32_t bits = 24;
  int32_t qualityFactor = 0;
};
SaveFormat SaveFormatOf(const std::string& upperExtension);

// The pattern Save As starts with: the last filter, "*.BMP" when it is
// empty or "*.*", and "*.PNG" for a GIF (GIF is read, not written).
std::string SaveAsPattern(const std::string& lastFilter);

// The target of a Save As: a "*" in the chosen path stands for the base
// name (the file name of `chosenName` up to its first ".").  A target with
// no "*" has its file name's leading "\." made "\*." first, as the chooser
// hands back a folder and pattern.
std::string SubstituteBaseName(const std::string& target, const std::string& chosenName);

// The keyword file of a picture: the path without its file name's
// extension, + ".KWD".
std::string KeywordFileOf(const std::string& picture);

// What a keyword file says: the status text (up to the first NUL) and the
// caption keyword (after the last NUL, trailing blanks removed); the
// keyword is empty when the file holds no NUL.
struct Keywords {
  std::string status;
  std::string caption;
  bool hasCaption = false;
};
Keywords ParseKeywordFile(const std::string& bytes);

// " name W x H " + the reduced note + the colour note, as the caption and
// status line show a picture.  `reducedNote` has "#" for the file width and
// "@" for the file height; it is added only when reduced and the sizes
// differ.  `coloursNote` follows the count when colours > 0.
struct PictureInfo {
  std::string fileName;
  int32_t width = 0, height = 0;
  bool reduced = false;
  int32_t fileWidth = 0, fileHeight = 0;
  int32_t colours = 0;
};
std::string PictureInfoText(const PictureInfo& info, const std::string& reducedNote, const std::string& coloursNote);

// "3/12".
std::string CounterText(int32_t index, int32_t count);

// Picture lists ("|" separated).
bool ListHasEntry(const std::string& list, const std::string& entry);
// Entry n (1-based) removed; the others keep their order.
std::string RemoveListEntry(const std::string& list, size_t n);
// `entry` placed before entry MAX(1, n); an empty list becomes the entry.
std::string InsertListEntry(const std::string& list, const std::string& entry, int32_t n);

// Paging: the index one step back or on, wrapping at the ends (count > 0).
int32_t PageIndex(int32_t index, int32_t count, bool forward);
// The page track bar's position for an entry (the middle of its slot) and
// the entry for a position (0..100): the entry whose slot holds it, 1..count.
int32_t TrackPositionOf(int32_t index, int32_t count);
int32_t IndexOfTrackPosition(int32_t position, int32_t count);

// The memory rule of systems before 5.00: the picture size that keeps the
// canvas under 16,000,000 bytes.  False when no reduction is needed.
bool ReducedPictureSize(int32_t canvasWidth, int32_t canvasHeight, int32_t bytesPerPixel, int32_t* width,
                        int32_t* height);

}  // namespace paint
