// Loading and starting GDI+ once, and finding its encoders.
#include "gdiplus_api.h"

#include <mutex>
#include <vector>

namespace imaging {

namespace {

struct StartupInput {
  UINT32 version = 1;
  void* debugEventCallback = nullptr;
  BOOL suppressBackgroundThread = FALSE;
  BOOL suppressExternalCodecs = FALSE;
};

using StartupFunction = GpStatus(WINAPI*)(ULONG_PTR* token, const StartupInput* input, void* output);

GdiplusApi g_api;
bool g_started = false;
std::once_flag g_once;

template <typename Function>
bool Resolve(HMODULE module, const char* name, Function* slot) {
  *slot = reinterpret_cast<Function>(GetProcAddress(module, name));
  return *slot != nullptr;
}

void Start() {
  HMODULE module = LoadLibraryA("gdiplus.dll");
  if (module == nullptr) return;
  StartupFunction startup = nullptr;
  bool found = Resolve(module, "GdiplusStartup", &startup) &&
               Resolve(module, "GdipLoadImageFromFile", &g_api.LoadImageFromFile) &&
               Resolve(module, "GdipDisposeImage", &g_api.DisposeImage) &&
               Resolve(module, "GdipGetImageWidth", &g_api.GetImageWidth) &&
               Resolve(module, "GdipGetImageHeight", &g_api.GetImageHeight) &&
               Resolve(module, "GdipGetImagePixelFormat", &g_api.GetImagePixelFormat) &&
               Resolve(module, "GdipGetImageHorizontalResolution", &g_api.GetImageHorizontalResolution) &&
               Resolve(module, "GdipGetImageVerticalResolution", &g_api.GetImageVerticalResolution) &&
               Resolve(module, "GdipImageGetFrameDimensionsCount", &g_api.ImageGetFrameDimensionsCount) &&
               Resolve(module, "GdipImageGetFrameDimensionsList", &g_api.ImageGetFrameDimensionsList) &&
               Resolve(module, "GdipImageGetFrameCount", &g_api.ImageGetFrameCount) &&
               Resolve(module, "GdipBitmapLockBits", &g_api.BitmapLockBits) &&
               Resolve(module, "GdipBitmapUnlockBits", &g_api.BitmapUnlockBits) &&
               Resolve(module, "GdipCreateBitmapFromScan0", &g_api.CreateBitmapFromScan0) &&
               Resolve(module, "GdipSetImagePalette", &g_api.SetImagePalette) &&
               Resolve(module, "GdipBitmapSetResolution", &g_api.BitmapSetResolution) &&
               Resolve(module, "GdipGetImageEncodersSize", &g_api.GetImageEncodersSize) &&
               Resolve(module, "GdipGetImageEncoders", &g_api.GetImageEncoders) &&
               Resolve(module, "GdipSaveImageToStream", &g_api.SaveImageToStream);
  if (!found) return;
  StartupInput input;
  ULONG_PTR token = 0;
  g_started = startup(&token, &input, nullptr) == 0;
}

}  // namespace

const GdiplusApi* Gdiplus() {
  std::call_once(g_once, Start);
  return g_started ? &g_api : nullptr;
}

bool FindEncoder(const GdiplusApi& api, const char* mime, CLSID* clsid) {
  UINT count = 0;
  UINT size = 0;
  if (api.GetImageEncodersSize(&count, &size) != 0 || count == 0 || size < count * sizeof(GpCodecInfo))
    return false;
  std::vector<uint8_t> buffer(size);
  auto* encoders = reinterpret_cast<GpCodecInfo*>(buffer.data());
  if (api.GetImageEncoders(count, size, encoders) != 0) return false;
  const std::wstring wanted = WidePath(mime);
  for (UINT i = 0; i < count; ++i) {
    if (encoders[i].mimeType != nullptr && wanted == encoders[i].mimeType) {
      *clsid = encoders[i].clsid;
      return true;
    }
  }
  return false;
}

std::wstring WidePath(const char* path) {
  if (path == nullptr) return {};
  int length = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), length);
  wide.resize(static_cast<size_t>(length) - 1);
  return wide;
}

}  // namespace imaging
