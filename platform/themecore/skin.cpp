// The skin in force: its colours, sizes, fonts and images (SkinColour and
// the rest of engine_state.h, SKGETSYSCOLOR, SKGETSYSTEMMETRICS, the font
// exports) and the loading of a skin file (SKINITENGINE, SKSKINFOLDER,
// SKSKINNAME, the skin's named texts SKLOADSTRING).  The
// format and the built-in skin are core/skin_file; this file turns them into
// GDI objects.
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "engine_state.h"
#include "file_search.h"
#include "output_buffer.h"
#include "skin_file.h"
#include "split.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

struct SkinState {
  std::mutex lock;
  SkinDefinition skin = DefaultSkin();
  std::string folder;  // with a final backslash; "" for the built-in skin
  std::string path;    // the skin file read; "" for the built-in skin
  HFONT captionFont = nullptr;
  HFONT defaultFont = nullptr;
  HFONT menuFont = nullptr;
  std::map<std::string, HBITMAP> bitmaps;  // loaded on first use; null cached too
  // Fonts and images of skins no longer in force.  Windows made before a
  // skin change may still draw with them, and callers never delete engine
  // objects, so they live as long as the process.
  std::vector<HGDIOBJ> retired;
};

SkinState& TheSkin() {
  static SkinState state;
  return state;
}

HFONT CreateSkinFont(const FontSpec& spec) {
  int pixelsPerInch = 96;
  if (HDC screen = GetDC(nullptr)) {
    pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  HFONT font = CreateFontA(-MulDiv(spec.points, pixelsPerInch, 72), 0, 0, 0, spec.weight, FALSE,
                           FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.face.c_str());
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  return font;
}

HFONT FontOf(HFONT SkinState::*slot, FontSpec SkinDefinition::*spec) {
  SkinState& state = TheSkin();
  std::lock_guard<std::mutex> guard(state.lock);
  if (state.*slot == nullptr) state.*slot = CreateSkinFont(state.skin.*spec);
  return state.*slot;
}

// Puts a new skin in force; the old objects retire.
void InstallSkin(SkinDefinition skin, std::string path) {
  SkinState& state = TheSkin();
  std::lock_guard<std::mutex> guard(state.lock);
  for (HFONT* font : {&state.captionFont, &state.defaultFont, &state.menuFont}) {
    if (*font != nullptr) state.retired.push_back(*font);
    *font = nullptr;
  }
  for (const auto& [name, bitmap] : state.bitmaps) {
    if (bitmap != nullptr) state.retired.push_back(bitmap);
  }
  state.bitmaps.clear();
  state.skin = std::move(skin);
  state.folder = path.empty() ? std::string() : SplitPath(path).folder;
  state.path = std::move(path);
}

std::string FullPath(const std::string& path) {
  DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::string();
  std::string full(needed, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return std::string();
  full.resize(length);
  return full;
}

// Reads and installs the skin file; false (built-in skin in force) when it
// is missing or broken.
bool LoadSkin(const char* skinFile) {
  if (skinFile == nullptr || skinFile[0] == '\0') return false;
  std::string path = skinFile;
  if (!IsAbsolutePath(path)) path = JoinPath(SplitPath(engine::ExePath()).folder, path);
  path = FullPath(path);
  if (path.empty()) return false;
  std::string bytes;
  DWORD error = 0;
  if (!engine::ReadFileBytes(path, kMaxSkinFileBytes, &bytes, &error)) return false;
  SkinDefinition skin;
  if (!ParseSkinFile(bytes, DefaultSkin(), &skin)) return false;
  InstallSkin(std::move(skin), path);
  return true;
}

}  // namespace

COLORREF SkinColour(int32_t n) {
  if (n < kFirstSkinColour) return GetSysColor(n);
  SkinState& state = TheSkin();
  std::lock_guard<std::mutex> guard(state.lock);
  auto found = state.skin.colours.find(n);
  return found != state.skin.colours.end() ? found->second : 0;
}

int32_t SkinMetric(int32_t n) {
  {
    SkinState& state = TheSkin();
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.skin.metrics.find(n);
    if (found != state.skin.metrics.end()) return found->second;
  }
  return GetSystemMetrics(n);
}

HFONT SkinCaptionFont() { return FontOf(&SkinState::captionFont, &SkinDefinition::captionFont); }
HFONT SkinDefaultFont() { return FontOf(&SkinState::defaultFont, &SkinDefinition::defaultFont); }
HFONT SkinMenuFont() { return FontOf(&SkinState::menuFont, &SkinDefinition::menuFont); }

HBITMAP SkinBitmap(const char* name) {
  if (name == nullptr) return nullptr;
  std::string key = name;
  CharLowerBuffA(key.data(), static_cast<DWORD>(key.size()));
  SkinState& state = TheSkin();
  std::lock_guard<std::mutex> guard(state.lock);
  auto cached = state.bitmaps.find(key);
  if (cached != state.bitmaps.end()) return cached->second;
  HBITMAP bitmap = nullptr;
  auto image = state.skin.images.find(key);
  if (image != state.skin.images.end()) {
    std::string path = IsAbsolutePath(image->second) ? image->second
                                                     : JoinPath(state.folder, image->second);
    bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                             LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  }
  state.bitmaps[key] = bitmap;
  return bitmap;
}

}  // namespace themecore

THEMECORE_API int32_t __stdcall SKINITENGINE(const char* skinFile) {
  try {
    int32_t result = themecore::LoadSkin(skinFile) ? 1 : 0;
    if (result == 0) themecore::InstallSkin(themecore::DefaultSkin(), std::string());
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKINITENGINE").Text(skinFile),
                        result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSKINFOLDER(char* out, int32_t outSize) {
  try {
    std::string folder;
    {
      themecore::SkinState& state = themecore::TheSkin();
      std::lock_guard<std::mutex> guard(state.lock);
      folder = state.folder;
    }
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(themecore::kLibrary, "SKSKINFOLDER"),
                                            folder, out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSKINNAME(char* out, int32_t outSize) {
  try {
    std::string path;
    {
      themecore::SkinState& state = themecore::TheSkin();
      std::lock_guard<std::mutex> guard(state.lock);
      path = state.path;
    }
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(themecore::kLibrary, "SKSKINNAME"),
                                            path, out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKLOADSTRING(const char* name, char* out, int32_t outSize) {
  try {
    std::string text;
    std::string key = name != nullptr ? name : "";
    CharLowerBuffA(key.data(), static_cast<DWORD>(key.size()));
    {
      themecore::SkinState& state = themecore::TheSkin();
      std::lock_guard<std::mutex> guard(state.lock);
      auto found = state.skin.strings.find(key);
      if (found != state.skin.strings.end()) text = found->second;
    }
    return themecore::engine::ReturnTextOut(
        orbtrace::CallLine(themecore::kLibrary, "SKLOADSTRING").Text(name), text, out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETSYSCOLOR(int32_t n) {
  try {
    int32_t colour = static_cast<int32_t>(themecore::SkinColour(n));
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKGETSYSCOLOR").Number(n), colour);
    return colour;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKGETSYSTEMMETRICS(int32_t n) {
  try {
    int32_t size = themecore::SkinMetric(n);
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKGETSYSTEMMETRICS").Number(n),
                        size);
    return size;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API HFONT __stdcall SKCAPTIONFONT() {
  try {
    HFONT font = themecore::SkinCaptionFont();
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKCAPTIONFONT"),
                        themecore::engine::HandleText(font));
    return font;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HFONT __stdcall SKDEFAULTFONT() {
  try {
    HFONT font = themecore::SkinDefaultFont();
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKDEFAULTFONT"),
                        themecore::engine::HandleText(font));
    return font;
  } catch (...) {
    return nullptr;
  }
}
