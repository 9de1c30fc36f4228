// The picture loader's decisions; see picture_loader_rules.h.
#include "core/picture_loader_rules.h"

#include <algorithm>
#include <cmath>

namespace suite {

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// The file-name part: after the last "\", "/" or ":".
std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProgramStem(const std::string& programPath) {
  std::string name = FileNamePart(programPath);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return UpperAscii(name);
}

}  // namespace

std::string PictureExtension(const std::string& path) {
  const std::string name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : UpperAscii(name.substr(dot + 1));
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
  return path.size() >= 4 && UpperAscii(path.substr(path.size() - 4)) == ".GIF";
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
