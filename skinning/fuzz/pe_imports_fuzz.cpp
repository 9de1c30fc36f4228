// The PE import walk over arbitrary bytes, in both layouts.
#include <cstddef>
#include <cstdint>

#include "core/pe_imports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (skinning::PeLayout layout : {skinning::PeLayout::kLoadedImage, skinning::PeLayout::kFile}) {
    skinning::FindImportSlot(data, size, layout, "BeginPaint");
    skinning::FindImportSlot(data, size, layout, "EndPaint");
  }
  skinning::LoadedImageSize(data, size);
  return 0;
}
