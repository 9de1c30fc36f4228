// Font families for texts whose own family may be missing; see
// font_family.h.
#include "font_family.h"

#include <vector>

#include "image_functions.h"

namespace suite {

namespace {

Gdiplus::GpFontFamily* FamilyNamed(const std::string& name) {
  Gdiplus::GpFontFamily* family = nullptr;
  const std::wstring wide = ImgTextToWide(name);
  if (Gdiplus()->GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family) != kGdiplusOk) return nullptr;
  return family;
}

// The families every Windows has, and those Wine's and Debian's font
// packages bring.
Gdiplus::GpFontFamily* CommonFamily() {
  Gdiplus::GpFontFamily* family = nullptr;
  if (Gdiplus()->GdipGetGenericFontFamilySansSerif(&family) == kGdiplusOk && family != nullptr) return family;
  for (const char* name : {"Tahoma", "Arial", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}) {
    if ((family = FamilyNamed(name)) != nullptr) return family;
  }
  return nullptr;
}

// The first family of the system's collection, as a family of its own: the
// collection's entries belong to it.
Gdiplus::GpFontFamily* FirstInstalledFamily() {
  const GdiplusApi& api = *Gdiplus();
  Gdiplus::GpFontCollection* installed = nullptr;
  INT count = 0;
  if (api.GdipNewInstalledFontCollection(&installed) != kGdiplusOk || installed == nullptr ||
      api.GdipGetFontCollectionFamilyCount(installed, &count) != kGdiplusOk || count < 1) {
    return nullptr;
  }
  std::vector<Gdiplus::GpFontFamily*> families(static_cast<size_t>(count), nullptr);
  INT found = 0;
  if (api.GdipGetFontCollectionFamilyList(installed, count, families.data(), &found) != kGdiplusOk) return nullptr;
  for (INT i = 0; i < found && i < count; ++i) {
    Gdiplus::GpFontFamily* copy = nullptr;
    if (families[static_cast<size_t>(i)] != nullptr &&
        api.GdipCloneFontFamily(families[static_cast<size_t>(i)], &copy) == kGdiplusOk && copy != nullptr) {
      return copy;
    }
  }
  return nullptr;
}

}  // namespace

Gdiplus::GpFontFamily* ImgFontFamilyForText(const std::string& name, bool* standIn) {
  if (standIn != nullptr) *standIn = false;
  if (Gdiplus() == nullptr) return nullptr;
  if (Gdiplus::GpFontFamily* own = FamilyNamed(name)) return own;
  if (standIn != nullptr) *standIn = true;
  if (Gdiplus::GpFontFamily* common = CommonFamily()) return common;
  return FirstInstalledFamily();
}

}  // namespace suite
