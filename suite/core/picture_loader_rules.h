// The decisions of the picture loader that need no Windows: which library
// decodes a file, the name of the GIF conversion file, whether a sidecar's
// own preview can stand in for the picture, and how far a picture is shrunk
// on old systems to keep its bitmap's memory in bounds.  common/
// picture_loader.cpp makes the calls.
#pragma once

#include <cstdint>
#include <string>

namespace suite {

// The file-name part's extension after its last ".", upper-cased (ASCII),
// without the "."; "" when the file name has none.
std::string PictureExtension(const std::string& path);

// GDI+ decodes the types it reads well (".DIB.EMF.GIF.JPG.JPEG.PNG.TIF.TIFF.WMF."),
// the imaging library everything else (BMP, ICO, PCX ...), and everything
// when the caller forces it (or GDI+ is missing).
enum class PictureBackEnd { kGdiplus, kImaging };
PictureBackEnd ChoosePictureBackEnd(const std::string& path, bool imagingForced);

// True for a name ending in ".GIF" compared upper-cased: the imaging library
// gets such files through the GIF converter.
bool IsGifName(const std::string& path);

// The GIF conversion file: the temporary folder (with its final "\"), the
// program's file name without folder and extension, upper-cased, the
// process and thread numbers, and "CONV.G2B", e.g.
// "C:\TEMP\ORBMEDIA-1234-56CONV.G2B".  The whole program name keeps the
// media browser and the picture browser (both "ORB...") apart, and the
// process and thread numbers keep two instances, and the thumbnail thread
// and the main thread of one program, from converting into one file.
std::string GifConversionPath(const std::string& tempFolder, const std::string& programPath,
                              uint32_t processId, uint32_t threadId);
// The names of one process's conversion files, for FindFirstFile when the
// program ends: "<temp><PROGRAM>-<pid>-*CONV.G2B".
std::string GifConversionPattern(const std::string& tempFolder, const std::string& programPath,
                                 uint32_t processId);

// What the loader read of a sidecar for the preview switch.
struct SidecarFacts {
  int64_t sizeBytes = 0;      // the sidecar's length
  bool trailerRead = false;   // its last 284 bytes were read and end in "OBF"
  int32_t previewLength = 0;  // J from the trailer
  int32_t canvasWidth = 0;    // the picture's own size from the trailer
  int32_t canvasHeight = 0;
};
// The sidecar's JPEG preview stands in for the picture only when the file
// is longer than its trailer, the trailer was read, the preview lies wholly
// before the trailer (0 < J <= size - 284) and the trailer gives the
// picture a size; otherwise the picture itself is loaded.
bool CanShowSidecarPreview(const SidecarFacts& facts);

// The size a bitmap is made at.  Systems before Windows 2000 (osVersion
// below 500) hold at most 16,000,000 bytes in one screen-compatible
// bitmap: when width * height * (displayBitsPerPixel / 8) is larger, both
// sides are divided by (that product / 16,000,000) and rounded, at least 1
// pixel each.  Other systems keep the size.
struct PictureSize {
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const PictureSize&) const = default;
};
constexpr int64_t kOldSystemBitmapBytes = 16000000;
PictureSize LimitBitmapMemory(int32_t width, int32_t height, int32_t displayBitsPerPixel,
                              int32_t osVersion);

// A picture is fitted into the maximum only when both maxima are positive
// and no overlay will be drawn (an overlay is drawn at the picture's own
// size first and the result fitted afterwards).
bool FitsToMaximum(int32_t maxWidth, int32_t maxHeight, bool drawsOverlay);

}  // namespace suite
