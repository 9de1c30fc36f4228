// Fuzz target for the batch work's texts from outside: the picture-type
// list and choice of the text table, typed base names and size fields, and
// file names becoming converted names; with the sizes a resize gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/batch_rules.h"
#include "core/picture_boxes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  for (const browser::PictureTypeEntry& entry : browser::ParsePictureTypeList(text)) {
    browser::PictureTypeLine(entry.display);
    browser::PictureTypeChoice choice;
    if (browser::ParsePictureTypeChoice(entry.value, &choice) && (choice.format <= 0 || choice.extension.empty())) {
      std::abort();
    }
  }
  browser::PictureTypeChoice choice;
  if (browser::ParsePictureTypeChoice(text, &choice)) browser::ConvertedName(text, choice.extension);

  const std::string base = browser::RenameBaseName(text);
  if (base.find_first_of("./\\:;,") != std::string::npos) std::abort();
  const int32_t side = browser::NewSizeFieldValue(text);
  if (side < 1 || side > 9999) std::abort();

  // Sizes from the text's bytes: never empty, never beyond the larger input.
  if (size >= 8) {
    auto number = [&](size_t at) { return static_cast<int32_t>((data[at] << 8 | data[at + 1]) & 0x7FFF); };
    browser::PictureSize picture{number(0), number(2)};
    browser::PictureSize wanted{number(4), number(6)};
    browser::PictureSize result;
    if (browser::ResizedSize(picture, wanted, (data[0] & 1) != 0, &result)) {
      if (result.width < 1 || result.height < 1 || result.width > wanted.width || result.height > wanted.height) {
        std::abort();
      }
    }
  }
  return 0;
}
