// Portable rules of the effect box and the size box: which command runs which
// effect with which number range, the value the imaging library is given,
// the saturation steps, the box title, the proportional side of the size box
// and the sizes a resize accepts.  The boxes themselves are effect_box.cpp.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace paint {

// Effect numbers with a meaning of their own beyond the table.
enum EffectNumber : int32_t {
  kEffectSaturation = 4,
  kEffectGamma = 5,
  kEffectInvert = 6,
  kEffectGrey = 7,
  kEffectSolarize = 12,
  kEffectPosterize = 13,
  kEffectFirstEmboss = 17,
  kEffectLastEmboss = 24,
  kEffectRotateLeft = 28,
  kEffectRotateRight = 29,
  kEffectAutoTrim = 31,
  kEffectResize = 33,
  kEffectNewPicture = 34,
};

// A box run: the effect and its number field (minimum and maximum both 0:
// no field), the start value and the factor the value is multiplied by.
struct EffectCommand {
  int32_t effect = 0;
  int32_t minimum = 0, maximum = 0, value = 0, factor = 0;
};

// The box run of command `id` (203-214, 301-306, 313, 601-608, 701-708, 102);
// nothing for any other id.
std::optional<EffectCommand> EffectBoxOfCommand(int32_t id);
// The relief effect (17-24) of commands 901-908; 0 for any other id.
int32_t ReliefEffectOfCommand(int32_t id);
// The direction the relief commands emboss in: effect 17 in 4 (south) ... 21 in 0 (north).
int32_t ReliefDirection(int32_t effect);
// The emboss direction of the boxed relief effects 17-24: effect - 17.
inline int32_t EmbossDirection(int32_t effect) { return effect - kEffectFirstEmboss; }

// True for the effects that take no value and are applied to the preview
// at once: 6, 7, 9, 10, 17-24, 26-29, 31 and 32.
bool AppliesWithoutValue(int32_t effect);
// True when a confirmed effect changes the picture: any value but 0, or an
// effect that needs none (6, 7, 9, 10, 26-29, 31, 32).
bool ChangesPicture(int32_t effect, int32_t value);

// The number the imaging call gets for `value`: factor x value, except
// gamma (100 + 2 value above 0, else MAX(1, 100 + value)), solarize
// (255 - factor x value), posterize (64 - factor x value) and the trim (the
// value itself).
int32_t EffectParameter(int32_t effect, int32_t factor, int32_t value);

// The value typed into the number field, limited to the range.  Text that
// is no number counts as 0.
int32_t FieldValue(const std::string& text, int32_t minimum, int32_t maximum);

// Saturation goes in steps: value v applies factor x k for k = 1 .. |v|
// (with the sign of v), one on top of the other.  A preview already at
// `last` only adds the missing steps when `value` lies farther out on the
// same side; otherwise it starts again from the unchanged picture.  The
// confirmed picture gets the whole series, so it matches the preview.
struct SaturationPlan {
  bool fromBase = true;
  std::vector<int32_t> parameters;
};
SaturationPlan PlanSaturation(int32_t factor, int32_t last, int32_t value);

// The box title: with a number field (minimum or maximum not 0) the range
// text is appended with "@" as the minimum and "#" as the maximum.
std::string BoxTitle(const std::string& title, int32_t minimum, int32_t maximum, const std::string& rangeText);

// The other side that keeps the proportions of the reference size:
// round(side x referenceOther / referenceThis).  Nothing when a reference
// side is not positive (an unknown picture size) or the result does not fit.
std::optional<int32_t> ProportionalSide(int32_t side, int32_t referenceThis, int32_t referenceOther);

// The largest side a resize or a new picture may have.
constexpr int32_t kLargestSide = 16384;
// True when width and height are both 1 .. kLargestSide.
bool IsUsablePictureSize(int32_t width, int32_t height);

// The picture types whose size the imaging library tells without loading
// them, as a run of extensions (for suite::ExtensionIsOneOf); also the
// underlay picker's filter.
constexpr char kPictureExtensions[] =
    ".JPG.CMP.GIF.TIF.BMP.ICO.CUR.PCX.PCC.DCX.PCD.WMF.PSD.PNG.TGA.EPS.RAS.WPG.PCT.MAC.IMG.MSP.EMF.JPEG.G2B.I2B.FPX.";

}  // namespace paint
