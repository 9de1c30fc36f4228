// The picture loader and the memory-DC helpers; see picture_loader.h.  The
// decisions (library by type, conversion file name, preview switch, memory
// limit) are core/picture_loader_rules'; this file makes the calls.
#include "picture_loader.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "core/obf_name.h"
#include "core/obf_trailer.h"
#include "core/picture_loader_rules.h"
#include "gdiplus_objects.h"
#include "image_functions.h"
#include "imaging.h"
#include "overlay_draw.h"
#include "pixconv.h"
#include "themecore_loader.h"

namespace suite {

namespace {

// A memory DC compatible with the screen holding a compatible bitmap of
// the given size.  The bitmap is deleted with the DC unless taken.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC screen, int32_t width, int32_t height) : width_(width), height_(height) {
    if (screen == nullptr || width <= 0 || height <= 0) return;
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryCanvas() {
    HBITMAP bitmap = Take();
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  bool ready() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // The bitmap, no longer selected nor owned.
  HBITMAP Take() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    old_ = nullptr;
    return std::exchange(bitmap_, nullptr);
  }

 private:
  int32_t width_;
  int32_t height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// An imaging-library bitmap freed on every exit path.
struct ImagingBitmap {
  BITMAPHANDLE handle = {};
  ~ImagingBitmap() {
    if (handle.Flags & BITMAP_ALLOCATED) L_FreeBitmap(&handle);
  }
};

struct ScreenDc {
  HDC dc = SKDISPLAYDC();
  ~ScreenDc() {
    if (dc != nullptr) DeleteDC(dc);
  }
};

// What the loader learns of the sidecar: its trailer, when intact.
struct SidecarRead {
  SidecarFacts facts;
  overlay::ObfTrailer trailer;
};

// Reads the last 284 bytes of the sidecar through the skin engine's file
// calls.  Only the trailer is read: list thumbnails call this for every file.
SidecarRead ReadSidecarTrailer(const std::string& sidecar) {
  SidecarRead read;
  int32_t file = 0;
  if (SKFOPEN(sidecar.c_str(), 0, 0, &file) != 0 || file == 0) return read;
  const int32_t size = SKFLOF(file);
  read.facts.sizeBytes = size;
  constexpr int32_t kTrailerBytes = static_cast<int32_t>(overlay::kObfTrailerBytes);
  if (size > kTrailerBytes) {
    std::string bytes(kTrailerBytes, '\0');
    const int32_t got =
        SKFGETAT(file, static_cast<uint32_t>(size - kTrailerBytes), bytes.data(), kTrailerBytes);
    if (got == kTrailerBytes && overlay::DecodeObfTrailer(bytes, &read.trailer)) {
      read.facts.trailerRead = true;
      read.facts.previewLength = read.trailer.previewLength;
      read.facts.canvasWidth = read.trailer.canvasWidth;
      read.facts.canvasHeight = read.trailer.canvasHeight;
    }
  }
  SKFCLOSE(file);
  return read;
}

PictureSize FittedSize(int32_t width, int32_t height, int32_t maxWidth, int32_t maxHeight) {
  int32_t x = 0;
  int32_t y = 0;
  PictureSize fitted{width, height};
  if (SKICONISE(width, height, maxWidth, maxHeight, &x, &y, &fitted.width, &fitted.height) != 1) {
    return PictureSize{width, height};
  }
  return fitted;
}

PictureSize LimitedSize(HDC screen, PictureSize size) {
  return LimitBitmapMemory(size.width, size.height, GetDeviceCaps(screen, BITSPIXEL), SKOSVERSION());
}

// The picture's own size and depth, filled by the back ends.
struct PictureFacts {
  int32_t width = 0;
  int32_t height = 0;
  int32_t colours = 0;
  uint8_t bitsPerPixel = 0;
};

// How a back end sizes the canvas it draws into.
struct DrawRequest {
  bool fit = false;          // fitted into the maxima
  bool limitMemory = false;  // the old systems' memory limit applied
  int32_t maxWidth = 0;
  int32_t maxHeight = 0;
};

PictureSize CanvasSize(HDC screen, const DrawRequest& request, int32_t width, int32_t height) {
  PictureSize size{width, height};
  if (request.fit) size = FittedSize(width, height, request.maxWidth, request.maxHeight);
  if (request.limitMemory) size = LimitedSize(screen, size);
  return size;
}

// GDI+: the picture drawn into a new canvas of its size, or fitted.
std::unique_ptr<MemoryCanvas> DrawWithGdiplus(HDC screen, const std::string& path, const DrawRequest& request,
                                              PictureFacts* facts) {
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return nullptr;
  ImageOwner image;
  const std::wstring widePath = ImgTextToWide(path);
  if (api->GdipLoadImageFromFile(widePath.c_str(), image.out()) != Gdiplus::Ok) return nullptr;
  UINT width = 0;
  UINT height = 0;
  Gdiplus::PixelFormat format = 0;
  if (api->GdipGetImageWidth(image.get(), &width) != Gdiplus::Ok ||
      api->GdipGetImageHeight(image.get(), &height) != Gdiplus::Ok ||
      api->GdipGetImagePixelFormat(image.get(), &format) != Gdiplus::Ok) {
    return nullptr;
  }
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return nullptr;
  facts->width = static_cast<int32_t>(width);
  facts->height = static_cast<int32_t>(height);
  facts->bitsPerPixel = static_cast<uint8_t>(ImgBitsPerPixel(static_cast<int32_t>(format)));
  const PictureSize target = CanvasSize(screen, request, facts->width, facts->height);
  auto canvas = std::make_unique<MemoryCanvas>(screen, target.width, target.height);
  if (!canvas->ready()) return nullptr;
  GraphicsOwner graphics;
  if (api->GdipCreateFromHDC(canvas->dc(), graphics.out()) != Gdiplus::Ok) return nullptr;
  api->GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeDefault);
  if (api->GdipDrawImageRectI(graphics.get(), image.get(), 0, 0, target.width, target.height) != Gdiplus::Ok) {
    return nullptr;
  }
  return canvas;
}

// Paints an imaging-library bitmap into (0, 0, width, height) of the canvas,
// through a paint palette when the screen needs one.
bool PaintInto(MemoryCanvas* canvas, BITMAPHANDLE* bitmap) {
  HPALETTE palette = L_CreatePaintPalette(canvas->dc(), bitmap);
  HPALETTE oldPalette = nullptr;
  if (palette != nullptr) {
    oldPalette = SelectPalette(canvas->dc(), palette, FALSE);
    RealizePalette(canvas->dc());
  }
  const RECT target = {0, 0, canvas->width(), canvas->height()};
  const bool painted = L_PaintDC(canvas->dc(), bitmap, nullptr, nullptr, &target, SRCCOPY) == IMG_SUCCESS;
  if (palette != nullptr) {
    SelectPalette(canvas->dc(), oldPalette, FALSE);
    DeleteObject(palette);
  }
  return painted;
}

// The imaging library: GIFs through the converter first (`path` then names
// the conversion file), the picture resampled when fitted.
std::unique_ptr<MemoryCanvas> DrawWithImaging(HDC screen, std::string& path, const DrawRequest& request,
                                              PictureFacts* facts) {
  const bool converted = ConvertGifForImaging(path) == -1;
  ImagingBitmap bitmap;
  if (L_LoadBitmap(path.c_str(), &bitmap.handle, 0, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) {
    return nullptr;
  }
  const L_INT colours = L_GetBitmapColorCount(&bitmap.handle);
  facts->colours = colours > 0 ? colours : 0;
  facts->bitsPerPixel = static_cast<uint8_t>(converted ? 8 : bitmap.handle.BitsPerPixel);
  facts->width = bitmap.handle.Width;
  facts->height = bitmap.handle.Height;
  if (request.fit) {
    const PictureSize fitted = FittedSize(facts->width, facts->height, request.maxWidth, request.maxHeight);
    if ((fitted.width != facts->width || fitted.height != facts->height) &&
        L_SizeBitmap(&bitmap.handle, fitted.width, fitted.height, SIZE_RESAMPLE) != IMG_SUCCESS) {
      return nullptr;
    }
  }
  // L_PaintDC stretches the bitmap into a canvas the memory limit made smaller.
  const PictureSize target = CanvasSize(screen, DrawRequest{false, request.limitMemory, 0, 0},
                                        bitmap.handle.Width, bitmap.handle.Height);
  auto canvas = std::make_unique<MemoryCanvas>(screen, target.width, target.height);
  if (!canvas->ready() || !PaintInto(canvas.get(), &bitmap.handle)) return nullptr;
  return canvas;
}

// The overlay, drawn at the picture's own size (its records are in picture
// pixels, so the canvas was made at that size, memory limit or not); then
// the whole result resampled into a new canvas of the fitted size, and of the
// limited size on old systems.  The caller gets a bitmap of the size it will
// show, as without an overlay.
std::unique_ptr<MemoryCanvas> DrawOverlay(HDC screen, std::unique_ptr<MemoryCanvas> canvas,
                                          const std::string& picturePath, int32_t maxWidth,
                                          int32_t maxHeight) {
  overlay::ObfLoadOverlay(canvas->dc(), picturePath, overlay::kOlderCurveTension);
  const DrawRequest request{maxWidth > 0 && maxHeight > 0, true, maxWidth, maxHeight};
  const PictureSize fitted = CanvasSize(screen, request, canvas->width(), canvas->height());
  if (fitted.width == canvas->width() && fitted.height == canvas->height()) return canvas;
  ImagingBitmap full;
  if (L_CreateBitmap(&full.handle, TYPE_CONV, canvas->width(), canvas->height(), 24, ORDER_BGR, nullptr, 0,
                     nullptr, 0) != IMG_SUCCESS) {
    return nullptr;
  }
  HDC lead = L_CreateLeadDC(&full.handle);
  if (lead == nullptr) return nullptr;
  const bool copied = BitBlt(lead, 0, 0, canvas->width(), canvas->height(), canvas->dc(), 0, 0, SRCCOPY) != FALSE;
  L_DeleteLeadDC(lead);
  if (!copied || L_SizeBitmap(&full.handle, fitted.width, fitted.height, SIZE_RESAMPLE) != IMG_SUCCESS) {
    return nullptr;
  }
  auto small = std::make_unique<MemoryCanvas>(screen, fitted.width, fitted.height);
  if (!small->ready() || !PaintInto(small.get(), &full.handle)) return nullptr;
  return small;
}

// The process's program file.
std::string ProgramPath() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string("PROGRAM");
}

std::string TempFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  const int32_t length = SKGETTEMPPATH(folder.data(), static_cast<int32_t>(folder.size()));
  if (length <= 0) return "";
  if (length >= static_cast<int32_t>(folder.size())) {
    folder.assign(static_cast<size_t>(length) + 1, '\0');
    if (SKGETTEMPPATH(folder.data(), static_cast<int32_t>(folder.size())) != length) return "";
  }
  folder.resize(static_cast<size_t>(length));
  return folder;
}

}  // namespace

std::string GifConversionFilePath() {
  return GifConversionPath(TempFolder(), ProgramPath(), GetCurrentProcessId(), GetCurrentThreadId());
}

void DeleteGifConversionFiles() {
  const std::string folder = TempFolder();
  const std::string pattern = GifConversionPattern(folder, ProgramPath(), GetCurrentProcessId());
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

int32_t ConvertGifForImaging(std::string& path) {
  if (!IsGifName(path)) return 0;
  const std::string gif = path;
  path = GifConversionFilePath();
  // The file is only ever overwritten: without deleting it first, a GIF that
  // fails to convert would show the previous one.
  DeleteFileA(path.c_str());
  int width = 0;
  int height = 0;
  int frames = 0;
  HGLOBAL pixels = ImgDLLReadRGBFromGIF(gif.c_str(), &width, &height, &frames);
  if (pixels == nullptr) return 0;
  bool saved = false;
  if (const void* locked = GlobalLock(pixels)) {
    saved = ImgDLLSaveRGBToBMP(path.c_str(), locked, width, height) != 0;
    GlobalUnlock(pixels);
  }
  GlobalFree(pixels);
  return saved ? -1 : 0;
}

HBITMAP LoadPictureBitmap(std::string& path, int32_t maxWidth, int32_t maxHeight, int32_t& width,
                          int32_t& height, int32_t& colours, uint8_t& bitsPerPixel,
                          int32_t& overlayPresent, int32_t usePreview) {
  width = 0;
  height = 0;
  bitsPerPixel = 0;
  overlayPresent = 0;
  const bool imagingForced = colours > 0 || Gdiplus() == nullptr;
  colours = 0;
  try {
    const std::string picturePath = path;
    std::string sidecar = overlay::ObfSidecarPath(picturePath);
    overlayPresent = !sidecar.empty() && SKEXIST(sidecar.c_str()) == 1 ? 1 : 0;
    if (overlayPresent == 0) sidecar.clear();
    ScreenDc screen;
    if (screen.dc == nullptr) return nullptr;
    PictureFacts facts;

    if (!sidecar.empty() && usePreview != 0 && Gdiplus() != nullptr) {
      const SidecarRead read = ReadSidecarTrailer(sidecar);
      if (CanShowSidecarPreview(read.facts)) {
        const DrawRequest request{maxWidth > 0 && maxHeight > 0, true, maxWidth, maxHeight};
        std::unique_ptr<MemoryCanvas> preview = DrawWithGdiplus(screen.dc, sidecar, request, &facts);
        if (preview != nullptr) {
          // The picture's own size, not the preview's.
          path = sidecar;
          width = read.trailer.canvasWidth;
          height = read.trailer.canvasHeight;
          colours = read.trailer.colourCount;
          bitsPerPixel = read.trailer.bitsPerPixel;
          return preview->Take();
        }
      }
      // A damaged preview: the picture itself, with its overlay.
    }

    const bool drawsOverlay = !sidecar.empty();
    const DrawRequest request{FitsToMaximum(maxWidth, maxHeight, drawsOverlay), !drawsOverlay, maxWidth,
                              maxHeight};
    std::unique_ptr<MemoryCanvas> canvas =
        ChoosePictureBackEnd(picturePath, imagingForced) == PictureBackEnd::kGdiplus
            ? DrawWithGdiplus(screen.dc, picturePath, request, &facts)
            : DrawWithImaging(screen.dc, path, request, &facts);
    // The overlay belongs to the picture's own name, not to a GIF's
    // conversion file.
    if (canvas != nullptr && drawsOverlay) {
      canvas = DrawOverlay(screen.dc, std::move(canvas), picturePath, maxWidth, maxHeight);
    }
    if (canvas == nullptr) return nullptr;
    width = facts.width;
    height = facts.height;
    colours = facts.colours;
    bitsPerPixel = facts.bitsPerPixel;
    return canvas->Take();
  } catch (...) {
    width = 0;
    height = 0;
    colours = 0;
    bitsPerPixel = 0;
    return nullptr;
  }
}

int32_t BeginMemoryDC(void* windowOrDc, HDC& dc, HBITMAP bitmap, HDC& memoryDc,
                      DWORD& rasterOperation, int32_t givenIsDc) {
  if (rasterOperation == 0) rasterOperation = SRCCOPY;
  dc = givenIsDc != 0 ? static_cast<HDC>(windowOrDc) : SKGETDC(static_cast<HWND>(windowOrDc));
  memoryDc = dc != nullptr ? CreateCompatibleDC(dc) : nullptr;
  if (memoryDc != nullptr) SelectObject(memoryDc, bitmap);
  return givenIsDc != 0 ? -1 : 0;
}

void EndMemoryDC(int32_t givenIsDc, HWND window, HDC dc, HDC memoryDc) {
  // Deleting the DC lets go of the bitmap selected into it.
  if (memoryDc != nullptr) DeleteDC(memoryDc);
  if (givenIsDc == 0 && dc != nullptr) SKRELEASEDC(window, dc);
}

int32_t BlitMemoryBitmap(void* windowOrDc, HBITMAP& bitmap, int32_t x, int32_t y, int32_t width,
                         int32_t height, DWORD rasterOperation, int32_t keep, int32_t givenIsDc) {
  if (bitmap == nullptr) return 0;
  HDC dc = nullptr;
  HDC memoryDc = nullptr;
  BeginMemoryDC(windowOrDc, dc, bitmap, memoryDc, rasterOperation, givenIsDc);
  const bool copied = dc != nullptr && memoryDc != nullptr &&
                      BitBlt(dc, x, y, width, height, memoryDc, 0, 0, rasterOperation) != FALSE;
  EndMemoryDC(givenIsDc, givenIsDc != 0 ? nullptr : static_cast<HWND>(windowOrDc), dc, memoryDc);
  if (keep == 0) {
    HGDIOBJ object = bitmap;
    SKDELETEOBJECT(&object);
    bitmap = static_cast<HBITMAP>(object);
  }
  return copied ? 1 : 0;
}

}  // namespace suite
