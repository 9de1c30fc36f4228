// The ambient property exports: the values a parent window's controls read
// through their sites' ambient dispatch, kept per container.  Each setter
// tells every item of the container that the property changed.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "container.h"
#include "core/names.h"
#include "ctlhost20.h"
#include "items.h"
#include "library.h"

namespace ctlhost {
namespace {

void TellItems(Container* container, DISPID dispid) {
  for (Item* item : container->Items()) item->OnAmbientPropertyChange(dispid);
}

// The four 16-bit flags a container keeps.
enum class Flag { kUserMode, kUIDead, kShowGrabHandles, kShowHatching };

short* FlagOf(Container* container, Flag flag) {
  switch (flag) {
    case Flag::kUserMode:
      return &container->userMode;
    case Flag::kUIDead:
      return &container->uiDead;
    case Flag::kShowGrabHandles:
      return &container->showGrabHandles;
    case Flag::kShowHatching:
    default:
      return &container->showHatching;
  }
}

DISPID DispidOf(Flag flag) {
  switch (flag) {
    case Flag::kUserMode:
      return DISPID_AMBIENT_USERMODE;
    case Flag::kUIDead:
      return DISPID_AMBIENT_UIDEAD;
    case Flag::kShowGrabHandles:
      return DISPID_AMBIENT_SHOWGRABHANDLES;
    case Flag::kShowHatching:
    default:
      return DISPID_AMBIENT_SHOWHATCHING;
  }
}

int SetFlag(HWND parent, Flag flag, short value) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  *FlagOf(container, flag) = value;
  TellItems(container, DispidOf(flag));
  if (flag == Flag::kUserMode) {
    // Controls invisible at run time show only while the user designs.
    for (Item* item : container->Items()) {
      if (!item->IsInvisibleAtRuntime()) continue;
      if (HWND window = item->GetWindow()) ShowWindow(window, value != 0 ? SW_HIDE : SW_SHOW);
    }
    container->InvalidateArea(nullptr, TRUE);
  }
  return 0;
}

int GetFlag(HWND parent, Flag flag, short* out) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  if (out != nullptr) *out = *FlagOf(container, flag);
  return 0;
}

// The face name buffer of QXGetAmbientFont holds a LOGFONT face name.
constexpr size_t kFaceNameBytes = LF_FACESIZE;

}  // namespace
}  // namespace ctlhost

using namespace ctlhost;

extern "C" int WINAPI QXSetAmbientBackColor(HWND parent, OLE_COLOR color) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  container->backColor = color;
  container->backColorSet = 1;
  TellItems(container, DISPID_AMBIENT_BACKCOLOR);
  container->InvalidateArea(nullptr, TRUE);
  return 0;
}

extern "C" int WINAPI QXGetAmbientBackColor(HWND parent, OLE_COLOR* out) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 1;
  if (out != nullptr) *out = container->backColor;
  return 0;
}

extern "C" int WINAPI QXSetAmbientForeColor(HWND parent, OLE_COLOR color) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  container->foreColor = color;
  TellItems(container, DISPID_AMBIENT_FORECOLOR);
  return 0;
}

extern "C" int WINAPI QXGetAmbientForeColor(HWND parent, OLE_COLOR* out) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  if (out != nullptr) *out = container->foreColor;
  return 0;
}

extern "C" int WINAPI QXSetAmbientUserMode(HWND parent, short value) { return SetFlag(parent, Flag::kUserMode, value); }
extern "C" int WINAPI QXGetAmbientUserMode(HWND parent, short* out) { return GetFlag(parent, Flag::kUserMode, out); }
extern "C" int WINAPI QXSetAmbientUIDead(HWND parent, short value) { return SetFlag(parent, Flag::kUIDead, value); }
extern "C" int WINAPI QXGetAmbientUIDead(HWND parent, short* out) { return GetFlag(parent, Flag::kUIDead, out); }
extern "C" int WINAPI QXSetAmbientShowGrabHandles(HWND parent, short value) {
  return SetFlag(parent, Flag::kShowGrabHandles, value);
}
extern "C" int WINAPI QXGetAmbientShowGrabHandles(HWND parent, short* out) {
  return GetFlag(parent, Flag::kShowGrabHandles, out);
}
extern "C" int WINAPI QXSetAmbientShowHatching(HWND parent, short value) {
  return SetFlag(parent, Flag::kShowHatching, value);
}
extern "C" int WINAPI QXGetAmbientShowHatching(HWND parent, short* out) {
  return GetFlag(parent, Flag::kShowHatching, out);
}

extern "C" int WINAPI QXSetAmbientFont(HWND parent, char* faceName, int size, int style, int weight) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 1;
  IFont* font = container->font;
  if (font == nullptr) return 2;
  HFONT handle = nullptr;
  if (SUCCEEDED(font->get_hFont(&handle)) && handle != nullptr) font->ReleaseHfont(handle);
  bool ok = faceName != nullptr;
  if (ok) {
    const std::u16string wide = WidenBytes(faceName);
    BSTR name = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()), static_cast<UINT>(wide.size()));
    ok = name != nullptr && SUCCEEDED(font->put_Name(name));
    SysFreeString(name);
  }
  ok = ok && SUCCEEDED(font->put_Bold((style & 1) ? TRUE : FALSE));
  ok = ok && SUCCEEDED(font->put_Italic((style & 2) ? TRUE : FALSE));
  ok = ok && SUCCEEDED(font->put_Underline((style & 4) ? TRUE : FALSE));
  ok = ok && SUCCEEDED(font->put_Strikethrough((style & 8) ? TRUE : FALSE));
  if (ok) {
    VARIANT points, currency;
    VariantInit(&points);
    VariantInit(&currency);
    V_VT(&points) = VT_I4;
    V_I4(&points) = size;
    ok = SUCCEEDED(VariantChangeType(&currency, &points, 0, VT_CY)) && SUCCEEDED(font->put_Size(V_CY(&currency)));
  }
  ok = ok && SUCCEEDED(font->put_Weight(static_cast<short>(weight)));
  if (ok) TellItems(container, DISPID_AMBIENT_FONT);
  handle = nullptr;
  if (SUCCEEDED(font->get_hFont(&handle)) && handle != nullptr) font->AddRefHfont(handle);
  return ok ? 0 : 2;
}

extern "C" int WINAPI QXGetAmbientFont(HWND parent, char* faceName, int* size, int* style, int* weight) {
  ApiLock lock;
  Container* container = FindOrMakeContainer(parent, true);
  if (container == nullptr) return 2;
  if (faceName != nullptr) faceName[0] = '\0';
  if (size != nullptr) *size = 0;
  if (style != nullptr) *style = 0;
  if (weight != nullptr) *weight = 0;
  IFont* font = container->font;
  if (font == nullptr || faceName == nullptr || size == nullptr || style == nullptr || weight == nullptr) return 0;
  BSTR name = nullptr;
  if (SUCCEEDED(font->get_Name(&name)) && name != nullptr) {
    const std::string narrow =
        NarrowUnits(std::u16string_view(reinterpret_cast<const char16_t*>(name), SysStringLen(name)));
    // The client's buffer is a face name buffer: the name is cut to fit.
    const size_t length = narrow.size() < kFaceNameBytes ? narrow.size() : kFaceNameBytes - 1;
    narrow.copy(faceName, length);
    faceName[length] = '\0';
  }
  SysFreeString(name);
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
  CY points = {};
  short fontWeight = 0;
  bool ok = SUCCEEDED(font->get_Bold(&bold)) && SUCCEEDED(font->get_Italic(&italic)) &&
            SUCCEEDED(font->get_Underline(&underline)) && SUCCEEDED(font->get_Strikethrough(&strike));
  if (SUCCEEDED(font->get_Size(&points))) {
    VARIANT currency, whole;
    VariantInit(&currency);
    VariantInit(&whole);
    V_VT(&currency) = VT_CY;
    V_CY(&currency) = points;
    if (SUCCEEDED(VariantChangeType(&whole, &currency, 0, VT_I4))) *size = V_I4(&whole);
  } else {
    ok = false;
  }
  ok = ok && SUCCEEDED(font->get_Weight(&fontWeight));
  if (ok) {
    *style = (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0) | (strike ? 8 : 0);
    *weight = fontWeight;
  }
  return 0;
}
