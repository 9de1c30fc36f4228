// The decisions of the batch picture work that need no window: the size a
// resize gives, how a changed picture is saved over itself, the settings of
// a conversion by target format, the converted file's name, what happens to
// a source whose target is taken, and the names of a numbered renaming.
// The imaging calls, files and list updates are the Win32 side's
// (batch_transforms.cpp, batch_files.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace browser {

// The imaging library's format numbers the batch work names.
constexpr int32_t kFormatCmp = 5;
constexpr int32_t kFormatBmp = 6;
constexpr int32_t kFormatJpeg = 10;

// The sides a resize may ask for: a field of the new-size box holds at most
// four digits, and a side of 0 would leave no picture.
constexpr int32_t kSmallestSide = 1;
constexpr int32_t kLargestSide = 9999;

struct PictureSize {
  int32_t width = 0;
  int32_t height = 0;
};

// The size a picture of `picture` takes when resized to `wanted`.  With
// `keepAspect` the picture is scaled to the wanted width, or to the wanted
// height when that gives the smaller picture, rounded to the nearest pixel
// (halves to even) and never below one pixel; without it the wanted size is
// taken as it is.  False when a side of either size is not positive.
bool ResizedSize(PictureSize picture, PictureSize wanted, bool keepAspect, PictureSize* result);

// How a transformed picture is written over its own file.
struct PictureSaveSettings {
  int32_t format = 0;
  int32_t bitsPerPixel = 0;
  int32_t quality = 0;
};
// The file's own format and depth with quality 0; a ".jpg" or ".jpeg" name
// is written as JPEG at 24 bits with quality factor 25, a ".cmp" name in
// format 5 with quality factor -1.  False when the file name has no
// extension (such a picture is not changed).
bool PictureSaveSettingsFor(const std::string& path, int32_t fileFormat, int32_t fileBitsPerPixel, PictureSaveSettings* settings);

// The value of a picture-type choice: extension + "." + format number
// ("jpg.10").
struct PictureTypeChoice {
  std::string extension;  // without a dot
  int32_t format = 0;
};
// False for an empty value, one without an extension before its last "."
// or without a positive format number after it.
bool ParsePictureTypeChoice(const std::string& value, PictureTypeChoice* choice);

// How a picture is converted to `format`: depth (0 keeps the file's),
// quality factor, and whether its size is fitted into 32 x 32 (the icon
// formats).
struct ConvertSettings {
  int32_t bitsPerPixel = 0;
  int32_t quality = 0;
  bool fitIntoIcon = false;
};
ConvertSettings ConvertSettingsFor(int32_t format, int32_t fileBitsPerPixel);

// The name a converted file takes: `name` up to its last "." (the whole
// name when it has none, or only the leading one of a name such as
// ".hidden") + "." + `extension`.
std::string ConvertedName(const std::string& name, const std::string& extension);

// What a conversion does with one source.  The target is never written
// over: a file already there (another picture, or the target of an earlier
// source of the same batch, as "a.png" and "a.bmp" both becoming "a.jpg")
// stays, and so does the source.
enum class ConvertAction {
  kConvert,          // write the target, then remove the source
  kSkipSame,         // the target is the source itself (ASCII case ignored)
  kSkipTargetTaken,  // a file of the target's name exists
};
ConvertAction DecideConversion(const std::string& sourcePath, const std::string& targetPath, bool targetExists);

// The base name of a numbered renaming as typed: each of ". / \ : ; ," made
// the character at the same place of " --   " (dot, colon, semicolon and
// comma a blank, both slashes "-"), blanks trimmed at both ends.  Runs of
// blanks inside are left for the engine's SKCRUNCH.
std::string RenameBaseName(const std::string& typed);

// The first stem after `previous` in the sequence `next` gives that
// `isFree` accepts, trying at most `limit` stems; "" when none is free.
std::string NextFreeStem(const std::string& previous, const std::function<std::string(const std::string&)>& next,
                         const std::function<bool(const std::string&)>& isFree, int32_t limit = kLargestSide);

}  // namespace browser
