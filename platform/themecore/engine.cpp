// The engine's program-wide settings and its path and text helpers:
// EngineInstance, the settings the SK* setters change (application title,
// caption-button bits, shadow, focus rectangles, translucent menus), the
// program's path (SKEXENAME) and the splitting of paths and texts (SKSPLITN,
// SKSPLITS).  The skin lives in skin.cpp, the menus in menus.cpp.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "engine_state.h"
#include "output_buffer.h"
#include "split.h"
#include "text_list.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

// Helpers the engine's other files share (they declare what they use):
// skin.cpp resolves skin files against the program folder, and the text and
// menu exports trace their lists and handles the same way.
namespace themecore::engine {

// The full path of the process's main EXE ("" when Windows cannot say).
std::string ExePath() {
  std::string path(MAX_PATH, '\0');
  // GetModuleFileName gives no size hint: it truncates and returns the
  // buffer size, so grow up to the longest path Windows has.
  while (path.size() <= 65536) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.assign(path.size() * 2, '\0');
  }
  return std::string();
}

// "0x0001002A": handles in trace lines.
std::string HandleText(const void* handle) {
  char text[24];
  std::snprintf(text, sizeof(text), "0x%08llX",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(handle)));
  return text;
}

// What a text-list output holds after the output-buffer rule, as a trace
// argument: out:"a\x00b\x00" or out:NULL.
int32_t ReturnTextOut(orbtrace::CallLine call, std::string_view text, char* out, int32_t outSize) {
  int32_t length = CopyTextOut(text, out, outSize);
  // Only a buffer the call wrote to is read back for the trace.
  call.OutText(out != nullptr && outSize > 0 ? out : nullptr).Number(outSize);
  orbtrace::WriteCall(call, length);
  return length;
}

std::string OutListText(const std::string& list, const char* out, int32_t outSize) {
  if (out == nullptr || outSize <= 0) return "out:NULL";
  if (list.size() >= static_cast<size_t>(outSize)) return "out:\"\"";
  return "out:" + orbtrace::QuoteText(list);
}

}  // namespace themecore::engine

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

// Bits of SKWINDOWSTYLE: close, maximise and minimise until a program asks
// for others.
constexpr int32_t kDefaultWindowStyleBits = 1 | 2 | 4;

struct Settings {
  std::mutex lock;
  std::string appTitle;
  std::atomic<int32_t> windowStyleBits{kDefaultWindowStyleBits};
  std::atomic<bool> shadow{true};
  std::atomic<bool> focusRect{false};
  std::atomic<bool> translucentMenus{false};
};

Settings& TheSettings() {
  static Settings settings;
  return settings;
}

// Sets a switch from a caller's 0 / non-zero and gives the old value as 0/1.
int32_t Switch(std::atomic<bool>* setting, int32_t on) {
  return setting->exchange(on != 0) ? 1 : 0;
}

// The widest of `parts` drawn in `font` on the window's DC, in pixels; 0
// when the DC cannot be had.
int32_t WidestPartWidth(const std::vector<std::string>& parts, HWND window, HFONT font) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return 0;
  HGDIOBJ oldFont = SelectObject(dc, font);
  int32_t widest = 0;
  for (const std::string& part : parts) {
    SIZE size = {};
    if (GetTextExtentPoint32A(dc, part.data(), static_cast<int>(part.size()), &size) &&
        size.cx > widest) {
      widest = size.cx;
    }
  }
  if (oldFont != nullptr && oldFont != HGDI_ERROR) SelectObject(dc, oldFont);
  ReleaseDC(window, dc);
  return widest;
}

}  // namespace

HINSTANCE EngineInstance() {
  static HINSTANCE instance = [] {
    HMODULE module = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&EngineInstance), &module);
    return static_cast<HINSTANCE>(module);
  }();
  return instance;
}

const std::string& AppTitle() {
  // Boxes read the title on the thread that set it; the lock keeps a reader
  // on another thread from seeing half an assignment.
  Settings& settings = TheSettings();
  std::lock_guard<std::mutex> guard(settings.lock);
  return settings.appTitle;
}

int32_t WindowStyleBits() { return TheSettings().windowStyleBits.load(); }
bool ShadowEnabled() { return TheSettings().shadow.load(); }
bool FocusRectEnabled() { return TheSettings().focusRect.load(); }
bool TranslucentMenus() { return TheSettings().translucentMenus.load(); }

}  // namespace themecore

THEMECORE_API int32_t __stdcall SKEXENAME(char* out, int32_t outSize) {
  try {
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(themecore::kLibrary, "SKEXENAME"),
                                            themecore::engine::ExePath(), out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSPLITN(const char* path, char* folderOut, int32_t folderSize,
                                         char* nameOut, int32_t nameSize) {
  try {
    int32_t result = 0;
    if (path != nullptr) {
      themecore::PathParts parts = themecore::SplitPath(path);
      int32_t folderLength = themecore::CopyTextOut(parts.folder, folderOut, folderSize);
      int32_t nameLength = themecore::CopyTextOut(parts.name, nameOut, nameSize);
      bool folderFits = folderOut != nullptr && folderLength < folderSize;
      bool nameFits = nameOut != nullptr && nameLength < nameSize;
      result = folderFits && nameFits ? 1 : 0;
    }
    if (result == 0) {
      // Both outputs or neither: a caller never sees half a split.
      themecore::CopyTextOut("", folderOut, folderSize);
      themecore::CopyTextOut("", nameOut, nameSize);
    }
    bool wroteFolder = folderOut != nullptr && folderSize > 0;
    bool wroteName = nameOut != nullptr && nameSize > 0;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSPLITN")
                            .Text(path)
                            .OutText(wroteFolder ? folderOut : nullptr)
                            .Number(folderSize)
                            .OutText(wroteName ? nameOut : nullptr)
                            .Number(nameSize),
                        result);
    return result;
  } catch (...) {
    themecore::CopyTextOut("", folderOut, folderSize);
    themecore::CopyTextOut("", nameOut, nameSize);
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSPLITS(const char* text, const char* separator, HWND window,
                                         HFONT font, char* partsOut, int32_t partsSize,
                                         int32_t* widestWidth) {
  try {
    std::vector<std::string> parts = themecore::SplitAtSeparator(
        text != nullptr ? text : "", separator != nullptr ? separator : "");
    std::string list = themecore::EncodeTextList(parts);
    themecore::CopyTextOut(list, partsOut, partsSize);
    int32_t widest = 0;
    if (window != nullptr && font != nullptr)
      widest = themecore::WidestPartWidth(parts, window, font);
    if (widestWidth != nullptr) *widestWidth = widest;
    int32_t count = static_cast<int32_t>(parts.size());
    orbtrace::WriteCall(
        orbtrace::CallLine(themecore::kLibrary, "SKSPLITS")
            .Text(text)
            .Text(separator)
            .Raw(themecore::engine::HandleText(window))
            .Raw(themecore::engine::HandleText(font))
            .Raw(themecore::engine::OutListText(list, partsOut, partsSize))
            .Number(partsSize)
            .Raw(widestWidth != nullptr ? "out:" + std::to_string(widest) : "out:NULL"),
        count);
    return count;
  } catch (...) {
    themecore::CopyTextOut("", partsOut, partsSize);
    if (widestWidth != nullptr) *widestWidth = 0;
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKSETTRANSMENU(int32_t on) {
  int32_t old = themecore::Switch(&themecore::TheSettings().translucentMenus, on);
  try {
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSETTRANSMENU").Number(on), old);
  } catch (...) {
  }
  return old;
}

THEMECORE_API int32_t __stdcall SKUSEFOCUSRECT(int32_t on) {
  int32_t old = themecore::Switch(&themecore::TheSettings().focusRect, on);
  try {
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKUSEFOCUSRECT").Number(on), old);
  } catch (...) {
  }
  return old;
}

THEMECORE_API int32_t __stdcall SKSETSHADOW(int32_t on) {
  int32_t old = themecore::Switch(&themecore::TheSettings().shadow, on);
  try {
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKSETSHADOW").Number(on), old);
  } catch (...) {
  }
  return old;
}

THEMECORE_API int32_t __stdcall SKAPPTITLE(const char* title) {
  try {
    int32_t result = 0;
    if (title != nullptr) {
      themecore::Settings& settings = themecore::TheSettings();
      std::lock_guard<std::mutex> guard(settings.lock);
      settings.appTitle = title;
      result = 1;
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKAPPTITLE").Text(title), result);
    return result;
  } catch (...) {
    return 0;
  }
}

THEMECORE_API int32_t __stdcall SKWINDOWSTYLE(int32_t style) {
  std::atomic<int32_t>& bits = themecore::TheSettings().windowStyleBits;
  if (style != 0) bits.store(style);
  int32_t inForce = bits.load();
  try {
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKWINDOWSTYLE").Number(style),
                        inForce);
  } catch (...) {
  }
  return inForce;
}
