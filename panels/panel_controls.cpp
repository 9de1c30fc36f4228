// The controls of the control bar, one per command id: image buttons,
// track bars and the check button, their images and places from the panel
// definition (or the skin), their tooltips, and their destruction.
#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/panel_rules.h"
#include "panels.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_popup.h"

namespace panels {

namespace {

constexpr char kMissingImageText[] = "A control of the control bar has no image:";
constexpr char kDestroyFailedText[] = "A control of the control bar could not be removed:";
constexpr int32_t kFileNotFound = 2;
constexpr int32_t kInvalidHandle = 6;

// Images the controls hold that are ours to delete when they go (a track
// bar keeps the caller's images).
std::map<int32_t, std::vector<HBITMAP>>& HeldImages() {
  static std::map<int32_t, std::vector<HBITMAP>> images;
  return images;
}

struct PanelImage {
  HBITMAP bitmap = nullptr;
  bool owned = false;
  std::string file;  // from the panel definition; "" for a skin image
  int32_t x = 0;
  int32_t y = 0;
};

PanelImage FindPanelImage(int32_t id, int32_t layoutValue) {
  PanelState& s = Panels();
  PanelImage image;
  int32_t column = LayoutColumn(layoutValue);
  bool fromDefinition = s.host.definitionImages && s.host.definitionImages() && s.definition.count() > 1;
  if (!fromDefinition) {
    image.bitmap = SKPANELCHILDXY(id, &image.x, &image.y, column);
    return image;
  }
  int32_t line = ImageLineNumber(s.definition.entry(2), id);
  if (line == 0) return image;
  PanelImageLine parsed = ParseImageLine(s.definition.entry(static_cast<size_t>(line) + 2), s.host.programFolder);
  PanelPoint place = parsed.PlaceFor(column);
  image.x = place.x;
  image.y = place.y;
  if (!parsed.file.empty() && SKEXIST(parsed.file.c_str())) {
    image.bitmap = SKLOADIMAGE(parsed.file.c_str());
    image.owned = image.bitmap != nullptr;
    image.file = parsed.file;
  }
  return image;
}

std::string WindowsErrorText(int32_t code) {
  return themecore::FetchText([code](char* out, int32_t size) { return SKWINERR(code, out, size); });
}

void Warn(const std::string& text) {
  const PanelHost& host = Panels().host;
  if (host.warn) host.warn(text);
}

void ReportMissingImage(int32_t id) {
  Warn(std::string(kMissingImageText) + " " + std::to_string(id) + "|" + WindowsErrorText(kFileNotFound));
}

void Hold(int32_t id, const PanelImage& image) {
  if (image.owned && image.bitmap != nullptr) HeldImages()[id].push_back(image.bitmap);
}

// An image button from a skin image (the engine keeps it): a push button
// showing the bitmap, its size the bitmap's and 2 pixels around.
HWND SkinImageButton(HWND pane, HBITMAP bitmap, int32_t x, int32_t y, int32_t id) {
  int32_t width = 0, height = 0;
  SKGETPIXMAPSIZE(bitmap, &width, &height);
  HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_PUSHBUTTON | BS_BITMAP, x, y, width + 4, height + 4,
                                pane, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Panels().host.instance,
                                nullptr);
  if (button != nullptr) SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
  return button;
}

HWND CreateImageButton(int32_t layoutValue, int32_t id) {
  PanelState& s = Panels();
  PanelImage image = FindPanelImage(id, layoutValue);
  if (image.bitmap == nullptr) {
    ReportMissingImage(id);
    return nullptr;
  }
  if (!image.file.empty()) {
    // The engine's button loads the file itself.
    DeleteObject(image.bitmap);
    return SKBUTIMAGE(s.pane, image.file.c_str(), image.x, image.y, id);
  }
  return SkinImageButton(s.pane, image.bitmap, image.x, image.y, id);
}

HWND CreateTrackBar(int32_t layoutValue, int32_t id) {
  PanelState& s = Panels();
  const bool isPosition = id == 77;
  PanelImage thumb = FindPanelImage(isPosition ? kPositionThumbImage : kVolumeThumbImage, layoutValue);
  PanelImage track = FindPanelImage(id, layoutValue);
  int32_t value = isPosition ? 0 : std::max(0, MixerGetVolume(s.mixer));
  HWND bar = SKTRACKBAR(s.pane, isPosition ? 1 : 2, track.bitmap, track.x, track.y, value, id, thumb.bitmap);
  if (bar == nullptr) {
    if (track.owned) DeleteObject(track.bitmap);
    if (thumb.owned) DeleteObject(thumb.bitmap);
    return nullptr;
  }
  Hold(id, track);
  Hold(id, thumb);
  return bar;
}

HWND CreateCheckButton(int32_t layoutValue, int32_t id, const std::string& tip, bool* tipNeeded) {
  PanelState& s = Panels();
  PanelImage image = FindPanelImage(id, layoutValue);
  if (image.owned) DeleteObject(image.bitmap);
  bool captioned = !(s.host.definitionImages && s.host.definitionImages());
  std::string caption = captioned ? tip : std::string();
  int32_t textWidth = 0, textHeight = 0;
  SKGETTEXTEXTENT(s.pane, SKDEFAULTFONT(), captioned ? caption.c_str() : "X", &textWidth, &textHeight);
  if (!captioned) textWidth = 0;
  int32_t height = std::max(textHeight, 13);
  HWND button = SKCHECKBUTTON(s.pane, caption.c_str(), SKDEFAULTFONT(), image.x, image.y,
                              textWidth + height + 2, height, id, 0);
  if (button != nullptr) SKSETCTLFONT(button, SKDEFAULTFONT());
  *tipNeeded = !captioned;
  return button;
}

}  // namespace

HBITMAP LoadPanelImages(int32_t id, int32_t* x, int32_t* y, int32_t layoutValue, bool* owned) {
  PanelImage image = FindPanelImage(id, layoutValue);
  if (x != nullptr) *x = image.x;
  if (y != nullptr) *y = image.y;
  if (owned != nullptr) *owned = image.owned;
  return image.bitmap;
}

void CreatePanelControl(int32_t kind, int32_t layoutValue, int32_t id, const std::string& tip, int show) {
  PanelState& s = Panels();
  if (s.pane == nullptr || id < 0 || id >= kControlCount) return;
  HWND& slot = s.controls[static_cast<size_t>(id)];
  if (slot != nullptr) {
    ShowWindow(slot, SW_SHOW);
    return;
  }
  bool tipNeeded = true;
  switch (kind) {
    case 1: slot = CreateImageButton(layoutValue, id); break;
    case 2: slot = CreateTrackBar(layoutValue, id); break;
    case 3: slot = CreateCheckButton(layoutValue, id, tip, &tipNeeded); break;
  }
  if (slot == nullptr) return;
  ShowWindow(slot, kind == 1 ? show : SW_SHOW);
  if (tipNeeded) SKBUTTONTIP(s.pane, slot, tip.c_str());
}

void DestroyPanelControl(int32_t id) {
  PanelState& s = Panels();
  if (id < 0 || id >= kControlCount) return;
  HWND& slot = s.controls[static_cast<size_t>(id)];
  if (slot == nullptr) return;
  if (s.pane != nullptr) SKREMOVETIP(s.pane, slot);
  SKDELETEMEMBMP(slot);
  if (!DestroyWindow(slot)) {
    Warn(std::string(kDestroyFailedText) + "|" + WindowsErrorText(kInvalidHandle));
  }
  slot = nullptr;
  auto held = HeldImages().find(id);
  if (held != HeldImages().end()) {
    for (HBITMAP image : held->second) DeleteObject(image);
    HeldImages().erase(held);
  }
}

void DestroyPanelControls(const std::vector<int32_t>& order) {
  PanelState& s = Panels();
  if (s.busyAnimation != nullptr && !DestroyWindow(s.busyAnimation)) {
    Warn(std::string(kDestroyFailedText) + "|" + WindowsErrorText(kInvalidHandle));
  }
  s.busyAnimation = nullptr;
  for (int32_t id : order) DestroyPanelControl(id);
}

}  // namespace panels
