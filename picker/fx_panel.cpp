// The equalizer and effects panel's window: made and laid out at
// WM_CREATE (core/fx_layout), framed by the skin engine, telling the audio
// library which control changed, saving its settings when it goes.  The
// settings file is fx_settings_file.cpp.
#include "fx_panel.h"

#include <windows.h>
#include <shellapi.h>

#include <array>
#include <string>
#include <vector>

#include "core/fx_layout.h"
#include "core/fx_settings.h"
#include "core/suite_command_codes.h"
#include "fx_settings_file.h"
#include "orbboxes.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_popup.h"
#include "themecore_wait.h"
#include "tonelink.h"

namespace picker {

namespace {

const char kPanelClass[] = "ORBFXEFFECT";
const char kBandLabels[] = "80,170,310,600,1K,3K,6K,10K,12K,14K";
// Field 1 the frame's title, field 2 the group's caption, box k (11-17)
// field k - 8.
const char kCaptions[] = "Audio FX|Equalizer|On/Off|Reset|Reverb|Chorus|Flanger|Echo|Rotate";
// The panel's own text when its help button cannot be destroyed.
const char kHelpButtonNotDestroyed[] = "The help button of the effects panel could not be closed.";

constexpr int kOnOffId = 11;
constexpr int kResetId = 12;
constexpr int kReverbId = 13;
constexpr int kRotateId = 17;
constexpr int kHelpId = 99;
constexpr int32_t kTrackPanelId = 75;
constexpr int32_t kThumbPanelId = 79;
// A vertical engine track bar without a track image.
constexpr Size kDefaultTrack = {20, 120};
constexpr int32_t kLowestDirectX = 8;

struct PanelState {
  FxPanelHost host;
  HWND panel = nullptr;
  HWND helpButton = nullptr;
};

PanelState& Panel() {
  static PanelState state;
  return state;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

Size TextSize(HWND window, HFONT font, const std::string& text) {
  int32_t width = 0;
  int32_t height = 0;
  SKGETTEXTEXTENT(window, font, text.c_str(), &width, &height);
  return {width, height};
}

Size ImageSize(HBITMAP image) {
  int32_t width = 0;
  int32_t height = 0;
  if (image == nullptr || !SKGETPIXMAPSIZE(image, &width, &height)) return {};
  return {width, height};
}

std::string WindowsErrorText(int32_t code) {
  return themecore::FetchText([code](char* out, int32_t size) { return SKWINERR(code, out, size); });
}

Box RectBox(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool WantsHelpButton(const FxPanelHost& host) {
  return host.hasHelpButton && !host.helpImage.empty() && !SKEXIST(host.helpMarker.c_str()) &&
         SKEXIST(host.helpImage.c_str());
}

void MakeControls(HWND panel, const FxLayout& layout, HBITMAP track, HBITMAP thumb,
                  const std::vector<std::string>& bands, const std::vector<std::string>& captions,
                  bool withHelp) {
  PanelState& p = Panel();
  for (size_t i = 0; i < kFxBandCount; ++i) {
    const Box& bar = layout.bars[i];
    SKTRACKBAR(panel, 2, track, bar.x, bar.y, 50, static_cast<int32_t>(i + 1), thumb);
    const Box& label = layout.labels[i];
    HWND text = CreateWindowExA(0, "STATIC", bands[i].c_str(), WS_CHILD | WS_VISIBLE, label.x, label.y,
                                label.width, label.height, panel, nullptr, p.host.instance, nullptr);
    SKSETCOLOR(text, SKGETSYSCOLOR(113), -1);
    SKSETCTLFONT(text, SKDEFAULTFONT());
  }
  for (size_t i = 0; i < kFxBoxCount; ++i) {
    const Box& box = layout.boxes[i];
    SKCHECKBUTTON(panel, captions[i + 2].c_str(), SKCAPTIONFONT(), box.x, box.y, box.width, box.height,
                  static_cast<int32_t>(kOnOffId + i), 0);
  }
  SKGROUPBOX(panel, layout.group.x, layout.group.y, layout.group.width, layout.group.height, captions[1].c_str(),
             SKCAPTIONFONT(), SKGETSYSCOLOR(113));
  if (withHelp) {
    p.helpButton = SKBUTIMAGE(panel, p.host.helpImage.c_str(), layout.help.x, layout.help.y, kHelpId);
    if (p.helpButton != nullptr) SKBUTTONTIP(panel, p.helpButton, p.host.helpTopic.c_str());
  }
}

LRESULT OnCreate(HWND panel) {
  PanelState& p = Panel();
  p.panel = panel;
  const std::vector<std::string> bands = Split(kBandLabels, ',');
  const std::vector<std::string> captions = Split(kCaptions, '|');
  int32_t unusedX = 0;
  int32_t unusedY = 0;
  HBITMAP track = SKPANELCHILDXY(kTrackPanelId, &unusedX, &unusedY, 2);
  HBITMAP thumb = SKPANELCHILDXY(kThumbPanelId, &unusedX, &unusedY, 2);

  FxLayoutInput input;
  input.track = track != nullptr ? ImageSize(track) : kDefaultTrack;
  for (size_t i = 0; i < kFxBandCount; ++i) input.labels[i] = TextSize(panel, SKDEFAULTFONT(), bands[i]);
  for (size_t i = 0; i < kFxBoxCount; ++i) input.boxTexts[i] = TextSize(panel, SKCAPTIONFONT(), captions[i + 2]);
  const Size check = ImageSize(SKCHECKBUT());
  input.checkImage = {check.width / 4, check.height};
  const bool withHelp = WantsHelpButton(p.host);
  if (withHelp) {
    HBITMAP image = SKLOADIMAGE(p.host.helpImage.c_str());
    const Size size = ImageSize(image);
    input.hasHelpButton = image != nullptr;
    input.helpButton = {size.width / 4, size.height};
    if (image != nullptr) DeleteObject(image);
  }
  HWND anchor = p.host.pane != nullptr ? p.host.pane : p.host.mainWindow;
  input.pane = anchor != nullptr ? RectBox(anchor) : Box{};
  input.frame = {SKGETSYSTEMMETRICS(4), SKGETSYSTEMMETRICS(5), SKGETSYSTEMMETRICS(1), SKGETSYSTEMMETRICS(6)};
  SKGETWORKAREA(&input.workArea.x, &input.workArea.y, &input.workArea.width, &input.workArea.height);
  const FxLayout layout = LayOutFxPanel(input);

  MakeControls(panel, layout, track, thumb, bands, captions, input.hasHelpButton);
  FxSettingsFile(panel, 0);
  SKPOPUPCONTAINER(panel, captions[0].c_str(), layout.frame.x, layout.frame.y, -layout.clientWidth,
                   -layout.clientHeight, PickerFXPROC, 1, 3);
  BASSFXWINDOW(panel, 1);
  return 0;
}

void ShowHelp() {
  PanelState& p = Panel();
  const std::string viewer = themecore::FindFile("orbhelp.exe");
  if (viewer.empty()) {
    ShellExecuteA(nullptr, "open", p.host.helpDocument.c_str(), "", "", 5);
    return;
  }
  HWND running = FindWindowA("ORBHELP", nullptr);
  if (running != nullptr) {
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    suite::SendSuiteCommand(running, suite::CMD_OPEN_ITEMS, p.host.helpTopic);
    return;
  }
  SKSHELL((viewer + " " + p.host.helpTopic + "," + p.host.skinFile).c_str(), 5, 0);
}

LRESULT OnCommand(HWND panel, int id) {
  if (id >= 1 && id <= static_cast<int>(kFxBandCount)) {
    BASSUPDATEEQ(0, id);
  } else if (id == kOnOffId) {
    for (int32_t band = 1; band <= static_cast<int32_t>(kFxBandCount); ++band) BASSUPDATEEQ(0, band);
  } else if (id == kResetId) {
    HWND reset = GetDlgItem(panel, kResetId);
    if (SKGETCHECK(reset) != 0) {
      BASSRESETEQ(0);
      SKSETCHECK(reset, 0);
      SKSETCHECK(GetDlgItem(panel, kOnOffId), 0);
    }
  } else if (id >= kReverbId && id <= kRotateId) {
    static constexpr int32_t(__stdcall* kUpdates[])(int32_t) = {BASSUPDATEREVERB, BASSUPDATECHORUS,
                                                                BASSUPDATEFLANGER, BASSUPDATEECHO,
                                                                BASSUPDATEROTATE};
    kUpdates[id - kReverbId](0);
  } else if (id == kSkinFrameCloseId) {
    PostMessageA(panel, WM_CLOSE, 0, 0);
  } else if (id == kHelpId) {
    ShowHelp();
  }
  return 0;
}

void OnDestroy(HWND panel) {
  PanelState& p = Panel();
  FxSettingsFile(panel, 1);
  if (p.helpButton != nullptr) {
    SKREMOVETIP(panel, p.helpButton);
    if (DestroyWindow(p.helpButton)) {
      SKDELETEMEMBMP(p.helpButton);
    } else {
      suite::boxes::ShowWarningBox(std::string(kHelpButtonNotDestroyed) + "|" + WindowsErrorText(6));
    }
    p.helpButton = nullptr;
  }
  SKFREEOBJECTCOLOR(panel);
  SKFREEOBJECTFONT(panel);
  SKFREECHECKBUTTON(panel);
  p.panel = nullptr;
  BASSFXWINDOW(nullptr, 1);
}

LRESULT OnEraseBackground(HWND panel, HDC dc) {
  RECT client = {};
  GetClientRect(panel, &client);
  HBITMAP back = SKCTLBACK();
  if (back == nullptr || !SKTILEBLT(dc, 0, 0, client.right, client.bottom, back)) {
    SKFILLRECT(dc, 0, 0, client.right, client.bottom, SKGETSYSCOLOR(112));
  }
  return 1;
}

}  // namespace

void SetFxPanelHost(const FxPanelHost& host) { Panel().host = host; }

HWND FxPanelWindow() { return Panel().panel; }

void CreateFxPanel() {
  PanelState& p = Panel();
  const int32_t version = BASSDIRECTXVERSION();
  if (version < kLowestDirectX) {
    // Str() puts a blank before a number that is not negative.
    const std::string number = (version >= 0 ? " " : "") + std::to_string(version);
    suite::boxes::ShowWarningBox("DirectX" + number + "|" + WindowsErrorText(1756));
    return;
  }
  bool registered = SKCHECKCLASS(kPanelClass) != 0;
  if (!registered) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW | (SKOSVERSION() > 500 ? CS_DROPSHADOW : 0);
    wc.lpfnWndProc = PickerFXPROC;
    wc.hInstance = p.host.instance;
    wc.hIconSm = p.host.smallIcon;
    registered = SKREGISTERCLASS(&wc, kPanelClass) != 0;
  }
  HWND panel = nullptr;
  if (registered) {
    panel = CreateWindowExA(0, kPanelClass, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, p.host.mainWindow,
                            nullptr, p.host.instance != nullptr ? p.host.instance : GetModuleHandleA(nullptr),
                            nullptr);
  }
  if (panel == nullptr) suite::boxes::ShowWarningBox(WindowsErrorText(2002));
}

LRESULT CALLBACK FxPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(SKCTLCOLORSTATIC(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
      return SKDRAWITEM(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ERASEBKGND:
      return OnEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_COMMAND:
      return OnCommand(window, LOWORD(wParam));
    case WM_DESTROY:
      OnDestroy(window);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace picker

extern "C" LRESULT __stdcall PickerFXPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return picker::FxPanelProc(window, message, wParam, lParam);
}
