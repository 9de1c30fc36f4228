// The image functions; see image_functions.h.  What needs no GDI+ (colours,
// pixel formats, the encoder choice) is in core/image_rules.cpp.
#include "image_functions.h"

#include <vector>

#include "gdiplus_objects.h"
#include "themecore.h"
#include "themecore_imaging.h"

namespace suite {

namespace {

constexpr int32_t kNotInitialized = 18;  // GDI+'s GdiplusNotInitialized

// A Graphics on the DC, or the status that stops the drawing call.
int32_t OpenGraphics(HDC dc, GraphicsOwner* graphics) {
  if (dc == nullptr) return kNoDeviceContext;
  if (Gdiplus() == nullptr) return kNotInitialized;
  return Gdiplus()->GdipCreateFromHDC(dc, graphics->out());
}

// A GIF holds at most 256 colours.  GDI+ on Windows reduces a picture of more
// to its halftone palette as it saves; Wine's encoder writes broken image
// data instead.  So the reduction is done here, the same way, before the
// save: an 8-bit halftone copy, or nothing when the picture already has a
// palette or is no bitmap (the save then takes the picture as it is).
ImageOwner PaletteCopyForGif(const std::string& mimeType, Gdiplus::GpImage* image) {
  ImageOwner copy;
  Gdiplus::PixelFormat format = 0;
  if (mimeType != "image/gif" || Gdiplus()->GdipGetImagePixelFormat(image, &format) != Gdiplus::Ok ||
      (format & PixelFormatIndexed) != 0) {
    return copy;
  }
  UINT width = 0;
  UINT height = 0;
  if (Gdiplus()->GdipGetImageWidth(image, &width) != Gdiplus::Ok ||
      Gdiplus()->GdipGetImageHeight(image, &height) != Gdiplus::Ok || width == 0 || height == 0) {
    return copy;
  }
  Gdiplus::GpBitmap* reduced = nullptr;
  if (Gdiplus()->GdipCloneBitmapAreaI(0, 0, static_cast<INT>(width), static_cast<INT>(height),
                                      PixelFormat8bppIndexed, static_cast<Gdiplus::GpBitmap*>(image),
                                      &reduced) == Gdiplus::Ok) {
    *copy.out() = reduced;
  }
  return copy;
}

}  // namespace

uint32_t ImgArgbFromColor(uint8_t alpha, COLORREF colour) {
  return ArgbFromParts(alpha, static_cast<uint8_t>(SKGETRVALUE(colour)),
                       static_cast<uint8_t>(SKGETGVALUE(colour)), static_cast<uint8_t>(SKGETBVALUE(colour)));
}

std::string ImgWideToText(const wchar_t* text) {
  if (text == nullptr || text[0] == L'\0') return "";
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string converted(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, converted.data(), size, nullptr, nullptr);
  converted.resize(static_cast<size_t>(size - 1));
  return converted;
}

std::wstring ImgTextToWide(const std::string& text) {
  if (text.empty()) return L"";
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return L"";
  std::wstring wide(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

int32_t ImgFindEncoder(const std::string& mimeType, CLSID* clsid) {
  const GdiplusApi* api = Gdiplus();
  if (api == nullptr) return -1;
  UINT count = 0;
  UINT bytes = 0;
  if (api->GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0) return -1;
  if (bytes < count * sizeof(Gdiplus::ImageCodecInfo)) return -1;
  // The list holds the codec records followed by the texts they point to.
  std::vector<uint8_t> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (api->GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return -1;
  for (UINT i = 0; i < count; ++i) {
    if (ImgWideToText(codecs[i].MimeType) == mimeType) {
      if (clsid != nullptr) *clsid = codecs[i].Clsid;
      return static_cast<int32_t>(i + 1);
    }
  }
  return 0;
}

int32_t ImgSaveByExtension(const std::string& path, Gdiplus::GpImage* image) {
  const SaveEncoderChoice choice = ChooseSaveEncoder(path);
  if (choice.status != 0) return choice.status;
  if (Gdiplus() == nullptr) return kNotInitialized;
  // Without an encoder GDI+ would be handed an all-zero CLSID; say so instead.
  CLSID encoder = {};
  if (ImgFindEncoder(choice.mimeType, &encoder) <= 0) return kUnknownImageFormat;
  if (image == nullptr) return kGdiplusInvalidParameter;
  const std::wstring widePath = ImgTextToWide(path);
  ImageOwner palette = PaletteCopyForGif(choice.mimeType, image);
  if (palette.get() != nullptr) image = palette.get();
  return Gdiplus()->GdipSaveImageToFile(image, widePath.c_str(), &encoder, nullptr);
}

HBITMAP ImgCopyBitmap(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height) {
  if (dc == nullptr || width <= 0 || height <= 0) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  if (bitmap == nullptr) return nullptr;
  HDC memory = CreateCompatibleDC(dc);
  bool copied = false;
  if (memory != nullptr) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    copied = previous != nullptr && BitBlt(memory, 0, 0, width, height, dc, x, y, SRCCOPY) != FALSE;
    if (previous != nullptr) SelectObject(memory, previous);
    DeleteDC(memory);
  }
  if (!copied) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

Gdiplus::GpBitmap* ImgFromBitmap(HBITMAP bitmap) {
  if (bitmap == nullptr || Gdiplus() == nullptr) return nullptr;
  Gdiplus::GpBitmap* image = nullptr;
  if (Gdiplus()->GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image) != Gdiplus::Ok) return nullptr;
  return image;
}

void ImgFreeHandle(void** handle, int32_t kind) {
  if (handle == nullptr) return;
  if (kind == 1) {
    HGDIOBJ object = static_cast<HGDIOBJ>(*handle);
    if (object != nullptr) SKDELETEOBJECT(&object);
  } else if (*handle != nullptr && Gdiplus() != nullptr) {
    Gdiplus()->GdipDisposeImage(static_cast<Gdiplus::GpImage*>(*handle));
  }
  *handle = nullptr;
}

int32_t ImgDrawText(HDC dc, const std::string& text, Gdiplus::GpFont* font, float x, float y,
                    float width, float height, Gdiplus::GpBrush* brush) {
  GraphicsOwner graphics;
  if (const int32_t status = OpenGraphics(dc, &graphics); status != Gdiplus::Ok) return status;
  const std::wstring wide = ImgTextToWide(text);
  const Gdiplus::RectF layout(x, y, width, height);
  return Gdiplus()->GdipDrawString(graphics.get(), wide.c_str(), static_cast<INT>(wide.size()), font,
                                   &layout, nullptr, brush);
}

int32_t ImgDrawShadowText(HDC dc, const std::string& text, int32_t x, int32_t y, uint32_t argb,
                          int32_t renderingHint, Gdiplus::GpFont* font, int32_t shadow) {
  const std::wstring wide = ImgTextToWide(text);
  auto draw = [&](uint32_t colour, float left, float top) {
    GraphicsOwner graphics;
    if (const int32_t status = OpenGraphics(dc, &graphics); status != Gdiplus::Ok) return status;
    Gdiplus()->GdipSetTextRenderingHint(graphics.get(),
                                        static_cast<Gdiplus::TextRenderingHint>(renderingHint));
    SolidFillOwner brush;
    if (const int32_t status = Gdiplus()->GdipCreateSolidFill(colour, brush.out()); status != Gdiplus::Ok) {
      return status;
    }
    // Width and height 0: the text is neither wrapped nor clipped.
    const Gdiplus::RectF layout(left, top, 0, 0);
    return static_cast<int32_t>(Gdiplus()->GdipDrawString(graphics.get(), wide.c_str(),
                                                          static_cast<INT>(wide.size()), font, &layout,
                                                          nullptr, brush.get()));
  };
  if (dc == nullptr) return kNoDeviceContext;
  if (shadow != 0) {
    draw(kShadowArgb, static_cast<float>(x) + static_cast<float>(shadow),
         static_cast<float>(y) + static_cast<float>(ShadowDown(shadow)));
  }
  return draw(argb, static_cast<float>(x), static_cast<float>(y));
}

int32_t ImgFillRectI(HDC dc, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t argb) {
  GraphicsOwner graphics;
  if (const int32_t status = OpenGraphics(dc, &graphics); status != Gdiplus::Ok) return status;
  SolidFillOwner brush;
  if (const int32_t status = Gdiplus()->GdipCreateSolidFill(argb, brush.out()); status != Gdiplus::Ok) {
    return status;
  }
  return Gdiplus()->GdipFillRectangleI(graphics.get(), brush.get(), x, y, width, height);
}

int32_t ImgFillRectF(HDC dc, Gdiplus::GpBrush* brush, float x, float y, float width, float height) {
  GraphicsOwner graphics;
  if (const int32_t status = OpenGraphics(dc, &graphics); status != Gdiplus::Ok) return status;
  return Gdiplus()->GdipFillRectangle(graphics.get(), brush, x, y, width, height);
}

int32_t ImgDrawImage(HDC dc, Gdiplus::GpImage* image, int32_t x, int32_t y) {
  GraphicsOwner graphics;
  if (const int32_t status = OpenGraphics(dc, &graphics); status != Gdiplus::Ok) return status;
  return Gdiplus()->GdipDrawImageI(graphics.get(), image, x, y);
}

}  // namespace suite
