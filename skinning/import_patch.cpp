// The redirection of the host's BeginPaint and EndPaint: the host
// executable's import slots for them are pointed at skBeginPaint and
// skEndPaint the first time the host retrieves a message, so that a
// skinned control's painting can be steered into its window's picture
// (snapshot.cpp).  The slots are found by the import walk of
// core/pe_imports over the loaded image; the library's own calls of the
// two functions are not redirected.  When the library is unloaded while the
// host goes on (a host that loaded it at run time), the slots get their old
// values back, so that the host never calls into unmapped code.
#include <windows.h>

#include "core/pe_imports.h"
#include "library_state.h"
#include "themeapi.h"

namespace skinning {

namespace {

// The headers of a loaded image lie within its first page.
constexpr size_t kHeaderBytes = 4096;

struct Redirection {
  void** slot = nullptr;
  void* original = nullptr;
  void* replacement = nullptr;
};

bool g_triedRedirection = false;
Redirection g_beginPaint;
Redirection g_endPaint;

bool WriteSlot(void** slot, void* value) {
  DWORD oldProtection = 0;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &oldProtection)) return false;
  *slot = value;
  const bool flushed = FlushInstructionCache(GetCurrentProcess(), slot, sizeof(void*)) != FALSE;
  if (oldProtection != PAGE_READWRITE) {
    DWORD ignored = 0;
    VirtualProtect(slot, sizeof(void*), oldProtection, &ignored);
  }
  return flushed;
}

// `PatchImport`: points the first slot of `module` that imports `name` at
// `replacement`; false (nothing changed) when there is none.
bool PatchImport(HMODULE module, const char* name, void* replacement, Redirection* redirection) {
  const auto* image = reinterpret_cast<const uint8_t*>(module);
  if (image == nullptr) return false;
  const uint32_t size = LoadedImageSize(image, kHeaderBytes);
  if (size == 0) return false;
  const ImportSlot slot = FindImportSlot(image, size, PeLayout::kLoadedImage, name);
  if (slot.status != PeStatus::kFound || slot.slotSize != sizeof(void*)) return false;
  void** address = reinterpret_cast<void**>(const_cast<uint8_t*>(image) + slot.slotRva);
  void* original = *address;
  if (!WriteSlot(address, replacement)) return false;
  *redirection = {address, original, replacement};
  return true;
}

void Restore(Redirection* redirection) {
  // Only a slot that still leads here: the host may have changed it since.
  if (redirection->slot != nullptr && *redirection->slot == redirection->replacement) {
    WriteSlot(redirection->slot, redirection->original);
  }
  *redirection = Redirection{};
}

using BeginPaintFunction = HDC(WINAPI*)(HWND, PAINTSTRUCT*);
using EndPaintFunction = BOOL(WINAPI*)(HWND, const PAINTSTRUCT*);

}  // namespace

void RedirectHostPaint() {
  if (g_triedRedirection) return;
  // Tried once, whatever comes of it.
  g_triedRedirection = true;
  HMODULE host = GetModuleHandleA(nullptr);
  PatchImport(host, "BeginPaint", reinterpret_cast<void*>(&skBeginPaint), &g_beginPaint);
  PatchImport(host, "EndPaint", reinterpret_cast<void*>(&skEndPaint), &g_endPaint);
}

bool IsHostPaintRedirected() { return g_beginPaint.slot != nullptr; }

void RestoreHostPaint() {
  Restore(&g_beginPaint);
  Restore(&g_endPaint);
}

HDC CallRealBeginPaint(HWND window, PAINTSTRUCT* paint) {
  // What the host's slot held, or the system's function.
  if (g_beginPaint.original != nullptr) {
    return reinterpret_cast<BeginPaintFunction>(g_beginPaint.original)(window, paint);
  }
  return BeginPaint(window, paint);
}

BOOL CallRealEndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (g_endPaint.original != nullptr) {
    return reinterpret_cast<EndPaintFunction>(g_endPaint.original)(window, paint);
  }
  return EndPaint(window, paint);
}

}  // namespace skinning
