// Decoding through GDI+ after a check of the file's signature, so only the
// five formats the library stands for are read (GDI+ would also take icons
// and metafiles, which the programs hand to other paths); encoding through
// our BMP encoder and GDI+'s encoders.
#include "codec.h"

#include <windows.h>
#include <objidl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "bitmap_store.h"
#include "bmp_encoder.h"
#include "error_codes.h"
#include "gdiplus_api.h"
#include "palette.h"
#include "picture_format.h"
#include "pixel_layout.h"

namespace imaging {

namespace {

// The quality parameter of GDI+'s JPEG encoder.
const GUID kEncoderQuality = {0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};

struct FileHead {
  FileFormat format = kFormatUnknown;
  uint32_t sizeBytes = 0;
};

int32_t ReadFileHead(const char* path, FileHead* head) {
  if (path == nullptr || *path == '\0') return kErrorInvalidParameter;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kErrorFileNotFound;
  uint8_t bytes[32] = {};
  DWORD got = 0;
  BOOL read = ReadFile(file, bytes, sizeof(bytes), &got, nullptr);
  DWORD high = 0;
  DWORD low = GetFileSize(file, &high);
  CloseHandle(file);
  if (!read) return kErrorFileRead;
  head->format = DetectFileFormat(bytes, got);
  head->sizeBytes = high != 0 ? UINT32_MAX : low;
  return head->format == kFormatUnknown ? kErrorFileFormat : kSuccess;
}

const char* FileNamePart(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p)
    if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
  return name;
}

uint32_t FrameCount(const GdiplusApi& api, GpImage* image) {
  UINT dimensions = 0;
  if (api.ImageGetFrameDimensionsCount(image, &dimensions) != 0 || dimensions == 0) return 1;
  GUID first{};
  if (api.ImageGetFrameDimensionsList(image, &first, 1) != 0) return 1;
  UINT frames = 0;
  if (api.ImageGetFrameCount(image, &first, &frames) != 0 || frames == 0) return 1;
  return frames;
}

int32_t FillInfo(const GdiplusApi& api, GpImage* image, const char* path, const FileHead& head, FILEINFO* info) {
  UINT width = 0, height = 0;
  GpPixelFormat pixelFormat = 0;
  if (api.GetImageWidth(image, &width) != 0 || api.GetImageHeight(image, &height) != 0 ||
      api.GetImagePixelFormat(image, &pixelFormat) != 0 || width == 0 || height == 0 ||
      width > INT32_MAX || height > INT32_MAX)
    return kErrorFileRead;
  if (info == nullptr) return kSuccess;
  std::memset(info, 0, sizeof(*info));
  info->uStructSize = sizeof(FILEINFO);
  std::strncpy(info->Name, FileNamePart(path), sizeof(info->Name) - 1);
  info->Format = head.format;
  info->Width = static_cast<L_INT>(width);
  info->Height = static_cast<L_INT>(height);
  info->BitsPerPixel = (pixelFormat >> 8) & 0xFF;
  if (info->BitsPerPixel == 0) info->BitsPerPixel = 24;
  std::optional<uint32_t> row = DibRowBytes(width, info->BitsPerPixel);
  std::optional<uint32_t> total = DibImageBytes(width, height, info->BitsPerPixel);
  info->BytesPerLine = row ? static_cast<L_INT>(*row) : 0;
  info->SizeMem = total ? *total : 0;
  info->SizeDisk = head.sizeBytes;
  float xdpi = 0, ydpi = 0;
  api.GetImageHorizontalResolution(image, &xdpi);
  api.GetImageVerticalResolution(image, &ydpi);
  info->XResolution = xdpi >= 1 ? static_cast<L_INT>(std::lround(xdpi)) : 96;
  info->YResolution = ydpi >= 1 ? static_cast<L_INT>(std::lround(ydpi)) : 96;
  info->TotalPages = static_cast<L_INT>(FrameCount(api, image));
  return kSuccess;
}

int32_t CopyPixelsOut(const GdiplusApi& api, GpImage* image, BITMAPHANDLE* bitmap) {
  GpRect rect{0, 0, bitmap->Width, bitmap->Height};
  GpPixelFormat format = bitmap->BitsPerPixel == 32 ? kPixelFormat32bppARGB : kPixelFormat24bppRGB;
  GpBitmapData data{};
  if (api.BitmapLockBits(image, &rect, kImageLockModeRead, format, &data) != 0) return kErrorFileRead;
  const size_t rowBytes = static_cast<size_t>(bitmap->Width) * (bitmap->BitsPerPixel / 8);
  for (int32_t y = 0; y < bitmap->Height; ++y) {
    const uint8_t* from = static_cast<const uint8_t*>(data.scan0) + static_cast<ptrdiff_t>(y) * data.stride;
    std::memcpy(bitmap->Data + static_cast<size_t>(y) * bitmap->BytesPerLine, from, rowBytes);
  }
  api.BitmapUnlockBits(image, &data);
  return kSuccess;
}

// Reads an IStream written by GDI+ into bytes.
bool StreamBytes(IStream* stream, std::string* bytes) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxPixelBytes) return false;
  LARGE_INTEGER start{};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
  bytes->assign(static_cast<size_t>(stat.cbSize.QuadPart), '\0');
  ULONG got = 0;
  if (!bytes->empty() && (FAILED(stream->Read(bytes->data(), static_cast<ULONG>(bytes->size()), &got)) ||
                          got != bytes->size()))
    return false;
  return true;
}

int32_t EncodeWithGdiplus(const BITMAPHANDLE& bitmap, int32_t format, int32_t bits, int32_t qualityFactor,
                          std::string* bytes) {
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return kErrorNoCodecs;
  CLSID encoder{};
  if (!FindEncoder(*api, EncoderMimeType(format), &encoder)) return kErrorFormatNotSupported;

  // GIF is always written from our own palette: the picture's colours when
  // at most 256, so they survive exactly.
  const bool indexed = bits <= 8 || format == kFormatGif;
  std::optional<IndexedPicture> reduced;
  ScopedGpImage image(*api);
  const PixelImage view = ViewOf(bitmap);
  if (indexed) {
    reduced = ReduceToPalette(view, format == kFormatGif ? 8 : bits);
    if (!reduced) return kErrorNoMemory;
    GpPixelFormat pixelFormat = reduced->bitsPerPixel == 1   ? kPixelFormat1bppIndexed
                                : reduced->bitsPerPixel == 4 ? kPixelFormat4bppIndexed
                                                             : kPixelFormat8bppIndexed;
    if (api->CreateBitmapFromScan0(reduced->width, reduced->height, static_cast<INT>(reduced->strideBytes),
                                   pixelFormat, reduced->rows.data(), image.Out()) != 0)
      return kErrorNoMemory;
    GpColorPalette palette{};
    palette.count = static_cast<UINT>(reduced->palette.size());
    for (UINT i = 0; i < palette.count; ++i) {
      const PaletteColour& c = reduced->palette[i];
      palette.entries[i] = 0xFF000000u | (c.red << 16) | (c.green << 8) | c.blue;
    }
    if (api->SetImagePalette(image.get(), &palette) != 0) return kErrorFileWrite;
  } else {
    GpPixelFormat pixelFormat = bitmap.BitsPerPixel == 24 ? kPixelFormat24bppRGB
                                : (bits == 32 && format != kFormatJpeg) ? kPixelFormat32bppARGB
                                                                        : kPixelFormat32bppRGB;
    if (api->CreateBitmapFromScan0(bitmap.Width, bitmap.Height, bitmap.BytesPerLine, pixelFormat, bitmap.Data,
                                   image.Out()) != 0)
      return kErrorNoMemory;
  }
  api->BitmapSetResolution(image.get(), static_cast<float>(bitmap.XResolution),
                           static_cast<float>(bitmap.YResolution));

  ULONG quality = JpegQualityPercent(qualityFactor);
  GpEncoderParameters parameters{};
  parameters.count = 1;
  parameters.parameter[0] = {kEncoderQuality, 1, 4, &quality};

  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return kErrorNoMemory;
  GpStatus status = api->SaveImageToStream(image.get(), stream, &encoder,
                                           format == kFormatJpeg ? &parameters : nullptr);
  bool read = status == 0 && StreamBytes(stream, bytes);
  stream->Release();
  return read ? kSuccess : kErrorFileWrite;
}

// The depth a format is written at for the depth asked: BMP takes 1, 4, 8,
// 16, 24 and 32; JPEG only 24; PNG and TIFF 1, 4, 8 (with a palette), 24
// and 32, and write 16 and 48 bits as 24 and 64 as 32 (the bitmap holds no
// more than 8 bits a colour anyway); GIF always 8 with a palette.  0 when
// the depth cannot be written.
int32_t WrittenBits(int32_t format, int32_t bits) {
  const bool known = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32 ||
                     bits == 48 || bits == 64;
  if (!known) return 0;
  switch (format) {
    case kFormatBmp: return bits <= 32 ? bits : 0;
    case kFormatJpeg: return bits == 24 ? 24 : 0;
    case kFormatGif: return 8;
    default:
      if (bits == 16 || bits == 48) return 24;
      return bits == 64 ? 32 : bits;
  }
}

}  // namespace

int32_t ReadFileInfo(const char* path, FILEINFO* info) {
  if (info != nullptr) {
    std::memset(info, 0, sizeof(*info));
    info->uStructSize = sizeof(FILEINFO);
  }
  FileHead head;
  int32_t result = ReadFileHead(path, &head);
  if (result != kSuccess) return result;
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return kErrorNoCodecs;
  ScopedGpImage image(*api);
  std::wstring wide = WidePath(path);
  if (api->LoadImageFromFile(wide.c_str(), image.Out()) != 0 || image.get() == nullptr) return kErrorFileRead;
  return FillInfo(*api, image.get(), path, head, info);
}

int32_t DecodePicture(const char* path, int32_t bits, BITMAPHANDLE* bitmap, FILEINFO* info) {
  if (bits != 0 && bits != 24 && bits != 32) return kErrorBitsPerPixel;
  FileHead head;
  int32_t result = ReadFileHead(path, &head);
  if (result != kSuccess) return result;
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return kErrorNoCodecs;
  ScopedGpImage image(*api);
  std::wstring wide = WidePath(path);
  if (api->LoadImageFromFile(wide.c_str(), image.Out()) != 0 || image.get() == nullptr) return kErrorFileRead;
  FILEINFO own{};
  result = FillInfo(*api, image.get(), path, head, &own);
  if (result != kSuccess) return result;
  if (bits == 0) {
    GpPixelFormat pixelFormat = 0;
    api->GetImagePixelFormat(image.get(), &pixelFormat);
    bits = (pixelFormat & kPixelFormatAlphaFlag) != 0 ? 32 : 24;
  }
  BITMAPHANDLE made{};
  result = AllocateBitmap(&made, own.Width, own.Height, bits);
  if (result != kSuccess) return result;
  result = CopyPixelsOut(*api, image.get(), &made);
  if (result != kSuccess) {
    ReleasePixels(&made);
    return result;
  }
  made.XResolution = own.XResolution;
  made.YResolution = own.YResolution;
  *bitmap = made;
  if (info != nullptr) *info = own;
  return kSuccess;
}

int32_t EncodePicture(const BITMAPHANDLE& bitmap, int32_t format, int32_t bits, int32_t qualityFactor,
                      std::string* bytes) {
  if (!IsSupportedFormat(format)) return kErrorFormatNotSupported;
  bits = WrittenBits(format, bits == 0 ? bitmap.BitsPerPixel : bits);
  if (bits == 0) return kErrorBitsPerPixel;
  if (format == kFormatBmp) {
    *bytes = EncodeBmp(ViewOf(bitmap), bits);
    return bytes->empty() ? kErrorNoMemory : kSuccess;
  }
  return EncodeWithGdiplus(bitmap, format, bits, qualityFactor, bytes);
}

int32_t WriteFileReplacing(const char* path, const std::string& bytes) {
  if (path == nullptr || *path == '\0') return kErrorInvalidParameter;
  const char* name = FileNamePart(path);
  const std::string folder = name == path ? std::string(1, '.') : std::string(path, name);
  char temporary[MAX_PATH + 16] = {};
  if (GetTempFileNameA(folder.c_str(), "img", 0, temporary) == 0) return kErrorFileWrite;
  HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(temporary);
    return kErrorFileWrite;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED);
  if (!ok) {
    DeleteFileA(temporary);
    return kErrorFileWrite;
  }
  return kSuccess;
}

}  // namespace imaging
