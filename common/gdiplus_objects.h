// Owners of GDI+ objects made through the flat functions: each deletes its
// object with the matching GdipDelete... when it goes out of scope, so no
// exit path leaks a Graphics, brush, pen, path, font or string format.
#pragma once

#include <utility>

#include "gdiplus_api.h"

namespace suite {

template <typename Object, typename Deleter>
class GdiplusOwner {
 public:
  GdiplusOwner() = default;
  explicit GdiplusOwner(Object* object) : object_(object) {}
  ~GdiplusOwner() { reset(); }
  GdiplusOwner(GdiplusOwner&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GdiplusOwner& operator=(GdiplusOwner&& other) noexcept {
    if (this != &other) {
      reset();
      object_ = std::exchange(other.object_, nullptr);
    }
    return *this;
  }
  GdiplusOwner(const GdiplusOwner&) = delete;
  GdiplusOwner& operator=(const GdiplusOwner&) = delete;

  Object* get() const { return object_; }
  // For the GdipCreate... out parameter; drops what it held.
  Object** out() {
    reset();
    return &object_;
  }
  void reset() {
    if (object_ != nullptr && Gdiplus() != nullptr) Deleter()(object_);
    object_ = nullptr;
  }

 private:
  Object* object_ = nullptr;
};

struct DeleteGraphics { void operator()(Gdiplus::GpGraphics* o) const { Gdiplus()->GdipDeleteGraphics(o); } };
struct DeleteBrush { void operator()(Gdiplus::GpBrush* o) const { Gdiplus()->GdipDeleteBrush(o); } };
struct DeletePen { void operator()(Gdiplus::GpPen* o) const { Gdiplus()->GdipDeletePen(o); } };
struct DeletePath { void operator()(Gdiplus::GpPath* o) const { Gdiplus()->GdipDeletePath(o); } };
struct DeleteFont { void operator()(Gdiplus::GpFont* o) const { Gdiplus()->GdipDeleteFont(o); } };
struct DeleteFontFamily {
  void operator()(Gdiplus::GpFontFamily* o) const { Gdiplus()->GdipDeleteFontFamily(o); }
};
struct DeleteStringFormat {
  void operator()(Gdiplus::GpStringFormat* o) const { Gdiplus()->GdipDeleteStringFormat(o); }
};
struct DisposeImage { void operator()(Gdiplus::GpImage* o) const { Gdiplus()->GdipDisposeImage(o); } };

using GraphicsOwner = GdiplusOwner<Gdiplus::GpGraphics, DeleteGraphics>;
using PenOwner = GdiplusOwner<Gdiplus::GpPen, DeletePen>;
using PathOwner = GdiplusOwner<Gdiplus::GpPath, DeletePath>;
using FontOwner = GdiplusOwner<Gdiplus::GpFont, DeleteFont>;
using FontFamilyOwner = GdiplusOwner<Gdiplus::GpFontFamily, DeleteFontFamily>;
using StringFormatOwner = GdiplusOwner<Gdiplus::GpStringFormat, DeleteStringFormat>;
using ImageOwner = GdiplusOwner<Gdiplus::GpImage, DisposeImage>;
// Solid fills and path gradients are both deleted as brushes.
using SolidFillOwner = GdiplusOwner<Gdiplus::GpSolidFill, DeleteBrush>;
using PathGradientOwner = GdiplusOwner<Gdiplus::GpPathGradient, DeleteBrush>;

}  // namespace suite
