// The batch picture work's decisions (see batch_rules.h).
#include "batch_rules.h"

#include "core/path_names.h"
#include "core/text_rules.h"

namespace browser {

namespace {

// numerator / denominator to the nearest integer, halves to the even one.
int64_t RoundedQuotient(int64_t numerator, int64_t denominator) {
  int64_t quotient = numerator / denominator;
  int64_t twiceRemainder = 2 * (numerator % denominator);
  if (twiceRemainder > denominator || (twiceRemainder == denominator && (quotient & 1) != 0)) ++quotient;
  return quotient;
}

int32_t AtLeastOne(int64_t side) { return side < 1 ? 1 : static_cast<int32_t>(side); }

}  // namespace

bool ResizedSize(PictureSize picture, PictureSize wanted, bool keepAspect, PictureSize* result) {
  if (picture.width <= 0 || picture.height <= 0 || wanted.width <= 0 || wanted.height <= 0) return false;
  if (!keepAspect) {
    *result = wanted;
    return true;
  }
  PictureSize size{wanted.width, AtLeastOne(RoundedQuotient(int64_t{picture.height} * wanted.width, picture.width))};
  if (wanted.height < size.height) {
    size = {AtLeastOne(RoundedQuotient(int64_t{picture.width} * wanted.height, picture.height)), wanted.height};
  }
  *result = size;
  return true;
}

bool PictureSaveSettingsFor(const std::string& path, int32_t fileFormat, int32_t fileBitsPerPixel, PictureSaveSettings* settings) {
  std::string extension = suite::UpperAscii(suite::ExtensionOf(path));
  if (extension.empty()) return false;
  if (extension == ".JPG" || extension == ".JPEG") {
    *settings = {kFormatJpeg, 24, 25};
  } else if (extension == ".CMP") {
    *settings = {kFormatCmp, fileBitsPerPixel, -1};
  } else {
    *settings = {fileFormat, fileBitsPerPixel, 0};
  }
  return true;
}

bool ParsePictureTypeChoice(const std::string& value, PictureTypeChoice* choice) {
  std::string trimmed = suite::TrimBlanks(value);
  size_t dot = trimmed.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  std::string number = trimmed.substr(dot + 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return false;
  int32_t format = suite::LeadingNumber(number);
  if (format <= 0) return false;
  choice->extension = trimmed.substr(0, dot);
  choice->format = format;
  return true;
}

ConvertSettings ConvertSettingsFor(int32_t format, int32_t fileBitsPerPixel) {
  switch (format) {
    case kFormatJpeg:
      return {24, 5, false};
    case 85: case 80:
      return {24, 0, false};
    case kFormatCmp:
      return {24, -1, false};
    case 16:
      return {8, 0, false};
    case 92: case 91:
      return {fileBitsPerPixel, 0, true};
  }
  return {fileBitsPerPixel, 0, false};
}

std::string ConvertedName(const std::string& name, const std::string& extension) {
  size_t dot = name.rfind('.');
  std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  return stem + "." + extension;
}

ConvertAction DecideConversion(const std::string& sourcePath, const std::string& targetPath, bool targetExists) {
  if (suite::EqualsNoCase(sourcePath, targetPath)) return ConvertAction::kSkipSame;
  return targetExists ? ConvertAction::kSkipTargetTaken : ConvertAction::kConvert;
}

std::string RenameBaseName(const std::string& typed) {
  static const std::string from = "./\\:;,";
  static const std::string to = " --   ";
  std::string name = typed;
  for (char& c : name) {
    size_t at = from.find(c);
    if (at != std::string::npos) c = to[at];
  }
  return suite::TrimBlanks(name);
}

std::string NextFreeStem(const std::string& previous, const std::function<std::string(const std::string&)>& next,
                         const std::function<bool(const std::string&)>& isFree, int32_t limit) {
  std::string stem = previous;
  for (int32_t tried = 0; tried < limit; ++tried) {
    std::string candidate = next(stem);
    if (candidate.empty() || candidate == stem) return std::string();
    if (isFree(candidate)) return candidate;
    stem = candidate;
  }
  return std::string();
}

}  // namespace browser
