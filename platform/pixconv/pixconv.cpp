// The converter's two exports over the imaging library: a GIF decoded by
// L_LoadBitmap and repacked as RGB, an RGB block put into a bitmap and
// written by L_SaveBitmap as BMP.
#include <windows.h>

#include <cstdint>
#include <cstring>

#include "imaging.h"
#include "pixconv.h"
#include "pixel_layout.h"
#include "trace_writer.h"

namespace {

orbtrace::CallLine Call(const char* function) { return orbtrace::CallLine("pixconv", function); }

template <typename Result>
Result Traced(const orbtrace::CallLine& call, Result result, int64_t traced) {
  if (orbtrace::IsEnabled()) orbtrace::WriteCall(call, traced);
  return result;
}

HGLOBAL ReadGif(const char* path, int* width, int* height, int* frames) {
  FILEINFO info{};
  if (L_FileInfo(path, &info, 0, nullptr) != IMG_SUCCESS || info.Format != FILE_GIF) return nullptr;
  BITMAPHANDLE bitmap{};
  if (L_LoadBitmap(path, &bitmap, 24, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) return nullptr;
  HGLOBAL block = nullptr;
  std::optional<uint32_t> bytes = imaging::PackedRgbBytes(bitmap.Width, bitmap.Height);
  if (bytes) block = GlobalAlloc(GMEM_MOVEABLE, *bytes);
  auto* out = block != nullptr ? static_cast<uint8_t*>(GlobalLock(block)) : nullptr;
  if (out == nullptr) {
    if (block != nullptr) GlobalFree(block);
    L_FreeBitmap(&bitmap);
    return nullptr;
  }
  for (int y = 0; y < bitmap.Height; ++y) {
    const uint8_t* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < bitmap.Width; ++x, out += 3) {
      out[0] = row[x * 3 + 2];
      out[1] = row[x * 3 + 1];
      out[2] = row[x * 3];
    }
  }
  GlobalUnlock(block);
  *width = bitmap.Width;
  *height = bitmap.Height;
  *frames = info.TotalPages;
  L_FreeBitmap(&bitmap);
  return block;
}

bool SaveBmp(const char* path, const void* pixels, int width, int height) {
  if (path == nullptr || pixels == nullptr || !imaging::PackedRgbBytes(width, height)) return false;
  BITMAPHANDLE bitmap{};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, static_cast<L_UINT>(width), static_cast<L_UINT>(height), 24, ORDER_BGR,
                     nullptr, 0, nullptr, 0) != IMG_SUCCESS)
    return false;
  const auto* in = static_cast<const uint8_t*>(pixels);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = bitmap.Data + static_cast<size_t>(y) * bitmap.BytesPerLine;
    for (int x = 0; x < width; ++x, in += 3) {
      row[x * 3] = in[2];
      row[x * 3 + 1] = in[1];
      row[x * 3 + 2] = in[0];
    }
  }
  bool saved = L_SaveBitmap(path, &bitmap, FILE_BMP, 24, 0, 0) == IMG_SUCCESS;
  L_FreeBitmap(&bitmap);
  return saved;
}

}  // namespace

PIXCONV_API HGLOBAL WINAPI ImgDLLReadRGBFromGIF(const char* gifPath, int* width, int* height, int* frameCount) {
  int w = 0, h = 0, frames = 0;
  HGLOBAL block = nullptr;
  try {
    block = ReadGif(gifPath, &w, &h, &frames);
  } catch (...) {
    block = nullptr;
  }
  if (width != nullptr) *width = block != nullptr ? w : 0;
  if (height != nullptr) *height = block != nullptr ? h : 0;
  if (frameCount != nullptr) *frameCount = block != nullptr ? frames : 0;
  return Traced(Call("ImgDLLReadRGBFromGIF").Text(gifPath), block, block != nullptr ? 1 : 0);
}

PIXCONV_API int WINAPI ImgDLLSaveRGBToBMP(const char* bmpPath, const void* pixels, int width, int height) {
  bool saved = false;
  try {
    saved = SaveBmp(bmpPath, pixels, width, height);
  } catch (...) {
    saved = false;
  }
  return Traced(Call("ImgDLLSaveRGBToBMP").Text(bmpPath).Number(width).Number(height), saved ? 1 : 0,
                saved ? 1 : 0);
}
