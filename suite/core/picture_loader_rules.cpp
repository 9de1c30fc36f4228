// The picture loader's decisions; see picture_loader_rules.h.
#include "core/picture_loader_rules.h"

#include <algorithm>
#include <cmath>

#include "core/path_names.h"
#include "core/text_rules.h"

namespace suite {

namespace {

std::string ProgramStem(const std::string& programPath) {
  return suite::UpperAscii(suite::WithoutExtension(suite::FileNameOf(programPath)));
}

}  // namespace

std::string PictureExtension(const std::string& path) {
  const std::string extension = suite::ExtensionOf(path);
  return extension.empty() ? std::string() : suite::UpperAscii(extension.substr(1));
}

PictureBackEnd ChoosePictureBackEnd(const std::string& path, bool imagingForced) {
  static const std::string kGdiplusTypes = ".DIB.EMF.GIF.JPG.JPEG.PNG.TIF.TIFF.WMF.";
  if (imagingForced) return PictureBackEnd::kImaging;
  const std::string extension = PictureExtension(path);
  if (extension.empty()) return PictureBackEnd::kImaging;
  return kGdiplusTypes.find("." + extension + ".") != std::string::npos ? PictureBackEnd::kGdiplus
                                                                         : PictureBackEnd::kImaging;
}

bool IsGifName(const std::string& path) {
  return suite::EndsWithNoCase(path, ".gif");
}

std::string GifConversionPath(const std::string& tempFolder, const std::string& programPath,
                              uint32_t processId, uint32_t threadId) {
  return tempFolder + ProgramStem(programPath) + "-" + std::to_string(processId) + "-" +
         std::to_string(threadId) + "CONV.G2B";
}

std::string GifConversionPattern(const std::string& tempFolder, const std::string& programPath,
                                 uint32_t processId) {
  return tempFolder + ProgramStem(programPath) + "-" + std::to_string(processId) + "-*CONV.G2B";
}

bool CanShowSidecarPreview(const SidecarFacts& facts) {
  constexpr int64_t kTrailerBytes = 284;
  return facts.trailerRead && facts.sizeBytes > kTrailerBytes && facts.previewLength > 0 &&
         facts.previewLength <= facts.sizeBytes - kTrailerBytes && facts.canvasWidth > 0 &&
         facts.canvasHeight > 0;
}

PictureSize LimitBitmapMemory(int32_t width, int32_t height, int32_t displayBitsPerPixel,
                              int32_t osVersion) {
  PictureSize size{width, height};
  if (osVersion >= 500 || width <= 0 || height <= 0 || displayBitsPerPixel <= 0) return size;
  // 64-bit: a large picture's byte count passes 2^31.
  const int64_t bytes = int64_t{width} * height * (displayBitsPerPixel / 8);
  if (bytes <= kOldSystemBitmapBytes) return size;
  const double ratio = static_cast<double>(bytes) / kOldSystemBitmapBytes;
  size.width = static_cast<int32_t>(std::max<long long>(1, std::llround(width / ratio)));
  size.height = static_cast<int32_t>(std::max<long long>(1, std::llround(height / ratio)));
  return size;
}

bool FitsToMaximum(int32_t maxWidth, int32_t maxHeight, bool drawsOverlay) {
  return maxWidth > 0 && maxHeight > 0 && !drawsOverlay;
}

}  // namespace suite
