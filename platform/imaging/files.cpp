// The file exports: L_FileInfo, L_LoadBitmap, L_SaveBitmap,
// L_SaveBitmapMemory and L_FileConvert.  The decoding and encoding live in
// codec.cpp.
#include <windows.h>

#include <cstring>
#include <string>

#include "bitmap_store.h"
#include "codec.h"
#include "error_codes.h"
#include "imaging.h"
#include "library_calls.h"
#include "picture_format.h"
#include "pixel_ops.h"

using namespace imaging;

IMAGING_API L_INT WINAPI L_FileInfo(const char* file, pFILEINFO info, L_UINT flags, void* loadOptions) {
  int32_t result = Guarded([&] { return info == nullptr ? kErrorInvalidParameter : ReadFileInfo(file, info); });
  return Traced(Call("L_FileInfo").Text(file).Number(flags), result);
}

IMAGING_API L_INT WINAPI L_LoadBitmap(const char* file, pBITMAPHANDLE bitmap, L_INT bitsPerPixel, L_INT order,
                                      void* loadOptions, pFILEINFO fileInfo) {
  int32_t result = Guarded([&]() -> int32_t {
    if (bitmap == nullptr || order != ORDER_BGR) return kErrorInvalidParameter;
    return DecodePicture(file, bitsPerPixel, bitmap, fileInfo);
  });
  return Traced(Call("L_LoadBitmap").Text(file).Number(bitsPerPixel).Number(order), result);
}

IMAGING_API L_INT WINAPI L_SaveBitmap(const char* file, pBITMAPHANDLE bitmap, L_INT format, L_INT bitsPerPixel,
                                      L_INT qualityFactor, L_UINT flags) {
  int32_t result = Guarded([&]() -> int32_t {
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    if (file == nullptr || *file == '\0') return kErrorInvalidParameter;
    std::string bytes;
    int32_t encoded = EncodePicture(*bitmap, format, bitsPerPixel, qualityFactor, &bytes);
    if (encoded != kSuccess) return encoded;
    return WriteFileReplacing(file, bytes);
  });
  return Traced(Call("L_SaveBitmap").Text(file).Number(format).Number(bitsPerPixel).Number(qualityFactor), result);
}

IMAGING_API L_INT WINAPI L_SaveBitmapMemory(HGLOBAL* memory, pBITMAPHANDLE bitmap, L_INT format,
                                            L_INT bitsPerPixel, L_INT qualityFactor, L_UINT32* size) {
  if (memory != nullptr) *memory = nullptr;
  if (size != nullptr) *size = 0;
  int32_t result = Guarded([&]() -> int32_t {
    if (memory == nullptr || size == nullptr) return kErrorInvalidParameter;
    if (!HoldsPixels(bitmap)) return kErrorNoBitmap;
    std::string bytes;
    int32_t encoded = EncodePicture(*bitmap, format, bitsPerPixel, qualityFactor, &bytes);
    if (encoded != kSuccess) return encoded;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (block == nullptr) return kErrorNoMemory;
    void* target = GlobalLock(block);
    if (target == nullptr) {
      GlobalFree(block);
      return kErrorNoMemory;
    }
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(block);
    *memory = block;
    *size = static_cast<L_UINT32>(bytes.size());
    return kSuccess;
  });
  return Traced(Call("L_SaveBitmapMemory").Number(format).Number(bitsPerPixel).Number(qualityFactor), result);
}

IMAGING_API L_INT WINAPI L_FileConvert(const char* source, const char* target, L_INT format, L_INT width,
                                       L_INT height, L_INT bitsPerPixel, L_INT qualityFactor, void* loadOptions,
                                       void* saveOptions, pFILEINFO fileInfo) {
  int32_t result = Guarded([&]() -> int32_t {
    if (target == nullptr || *target == '\0') return kErrorInvalidParameter;
    if (!IsSupportedFormat(format)) return kErrorFormatNotSupported;
    BITMAPHANDLE bitmap{};
    int32_t step = DecodePicture(source, 0, &bitmap, fileInfo);
    if (step != kSuccess) return step;
    if (width > 0 && height > 0 && (width != bitmap.Width || height != bitmap.Height)) {
      BITMAPHANDLE sized{};
      step = AllocateBitmap(&sized, width, height, bitmap.BitsPerPixel);
      if (step == kSuccess) {
        Resize(ViewOf(bitmap), ViewOf(sized), ResizeMethod::kResample);
        ReplacePixels(&bitmap, &sized);
      }
    }
    std::string bytes;
    if (step == kSuccess) step = EncodePicture(bitmap, format, bitsPerPixel, qualityFactor, &bytes);
    ReleasePixels(&bitmap);
    if (step != kSuccess) return step;
    return WriteFileReplacing(target, bytes);
  });
  return Traced(Call("L_FileConvert").Text(source).Text(target).Number(format).Number(width).Number(height)
                    .Number(bitsPerPixel).Number(qualityFactor), result);
}
