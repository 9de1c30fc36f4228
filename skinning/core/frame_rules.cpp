#include "core/frame_rules.h"

#include <algorithm>

namespace skinning {

uint32_t SkinnedExStyle(uint32_t initialExStyle) {
  return initialExStyle & ~(exstyle::kClientEdge | exstyle::kStaticEdge | exstyle::kWindowEdge |
                            exstyle::kDlgModalFrame);
}

uint32_t SkinnedStyle(uint32_t initialStyle) {
  const uint32_t kept = style::kDisabled | style::kHScroll | style::kVScroll | style::kVisible;
  return style::kPopup | style::kSysMenu | style::kThickFrame | style::kClipChildren |
         style::kClipSiblings | (initialStyle & kept);
}

uint32_t FrameFlags(uint32_t initialStyle, bool hasMenu) {
  uint32_t flags = frameflag::kClose | frameflag::kSecondRow;
  if (initialStyle & style::kMaximizeBox) flags |= frameflag::kMaximize;
  if (initialStyle & style::kMinimizeBox) flags |= frameflag::kMinimize;
  if (!hasMenu) flags |= frameflag::kNoMenu;
  return flags;
}

bool HasToolCaption(uint32_t initialStyle) {
  return (initialStyle & (style::kMaximizeBox | style::kMinimizeBox)) == 0;
}

bool HasModalFrame(uint32_t initialStyle) { return (initialStyle & style::kModalFrame) != 0; }

SkinnedPlacement PlaceSkinnedWindow(const Rect& window, int32_t clientWidth, int32_t clientHeight,
                                    int32_t captionHeight, const SkinMetrics& metrics, bool hasMenu,
                                    int32_t systemMenuHeight) {
  SkinnedPlacement placement;
  placement.borderWidth = (window.width() - clientWidth) / 2;
  placement.extraTop = window.height() - clientHeight - placement.borderWidth - captionHeight;
  placement.left = window.left + placement.borderWidth - metrics.leftFrame;
  placement.top = window.top + placement.extraTop - metrics.captionBand;
  placement.width = clientWidth + metrics.leftFrame + metrics.rightFrame;
  // The frame the client keeps its size in: the caption band above, the
  // bottom frame below (nothing else takes the client's room).
  placement.height = clientHeight + metrics.captionBand + metrics.bottomFrame;
  if (hasMenu) {
    const int32_t barHeight = std::max(metrics.menuBar, systemMenuHeight);
    placement.height += barHeight;
    const int32_t barLeft = metrics.leftFrame + placement.left;
    const int32_t barTop = metrics.captionBand + placement.top;
    placement.menuBar = {barLeft, barTop, barLeft + clientWidth, barTop + barHeight};
  }
  return placement;
}

Rect SkinnedNcCalcSize(const Rect& proposed, int32_t borderWidth, int32_t extraTop, bool thickOrMdi,
                       bool hasMenuBar, int32_t systemMenuHeight, const SkinMetrics& metrics) {
  const int32_t a = thickOrMdi ? 1 : 0;
  const int32_t menu = hasMenuBar ? systemMenuHeight : 0;
  const int32_t bar = hasMenuBar ? std::max(metrics.menuBar, systemMenuHeight) : 0;
  const int32_t t = extraTop - menu;
  Rect r;
  r.left = proposed.left - borderWidth + metrics.leftFrame + a;
  r.top = proposed.top - t + metrics.captionBand + bar + a;
  r.right = proposed.right + borderWidth - metrics.rightFrame - a;
  r.bottom = proposed.bottom + borderWidth - metrics.bottomFrame - a;
  return r;
}

int32_t SkinnedHitTest(int32_t previousCode, bool onCaptionButton, uint32_t initialStyle) {
  if (onCaptionButton) return kHitObject;
  switch (previousCode) {
    case 0:   // HTNOWHERE: the caption band the system knows nothing of
    case 2:   // HTCAPTION
    case 3:   // HTSYSMENU
    case 4:   // HTGROWBOX
    case 8:   // HTMINBUTTON
    case 9:   // HTMAXBUTTON
    case 19:  // HTOBJECT
    case 20:  // HTCLOSE
    case 21:  // HTHELP
      return 2;
    default:
      break;
  }
  if (previousCode >= 10 && previousCode <= 17 && (initialStyle & style::kThickFrame) == 0) return 0;
  return previousCode;
}

Size MinimumTrackSize(int32_t captionLeftWidth, int32_t captionRightWidth, int32_t ledImageWidth,
                      const SkinMetrics& metrics) {
  Size size;
  size.width = captionLeftWidth + captionRightWidth;
  if (ledImageWidth > 0) size.width += ledImageWidth / 2 + 8;
  size.height = metrics.captionBand + metrics.bottomFrame;
  return size;
}

bool IsHideChange(uint32_t windowPosFlags) { return windowPosFlags == kHiddenState; }

}  // namespace skinning
