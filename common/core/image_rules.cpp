// Image rules without GDI+; see image_rules.h.
#include "core/image_rules.h"

#include <cstdlib>
#include <limits>

namespace suite {

void ImgSplitArgb(uint32_t argb, uint8_t* alpha, uint8_t* red, uint8_t* green, uint8_t* blue) {
  if (alpha != nullptr) *alpha = static_cast<uint8_t>(argb >> 24);
  if (red != nullptr) *red = static_cast<uint8_t>(argb >> 16);
  if (green != nullptr) *green = static_cast<uint8_t>(argb >> 8);
  if (blue != nullptr) *blue = static_cast<uint8_t>(argb);
}

int32_t ImgBitsPerPixel(int32_t pixelFormat) {
  return static_cast<int32_t>((static_cast<uint32_t>(pixelFormat) >> 8) & 0xFF);
}

int32_t ShadowDown(int32_t shadow) {
  if (shadow == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
  return std::abs(shadow);
}

SaveEncoderChoice ChooseSaveEncoder(const std::string& path) {
  SaveEncoderChoice choice;
  if (path.empty()) {
    choice.status = -1;
    return choice;
  }
  choice.status = kUnknownImageFormat;
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return choice;
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  struct Entry { const char* extension; const char* mimeType; };
  static const Entry kTable[] = {
      {"DIB", "image/bmp"},   {"BMP", "image/bmp"},      {"EMF", "image/x-emf"},
      {"GIF", "image/gif"},   {"ICO", "image/x-icon"},   {"JPG", "image/jpeg"},
      {"JPEG", "image/jpeg"}, {"PNG", "image/png"},      {"TIF", "image/tiff"},
      {"TIFF", "image/tiff"}, {"WMF", "image/x-wmf"},
  };
  for (const Entry& entry : kTable) {
    if (extension == entry.extension) {
      choice.status = 0;
      choice.mimeType = entry.mimeType;
      return choice;
    }
  }
  return choice;
}

}  // namespace suite
