// The slide show: the full-screen holder's painting with a transition into
// each picture (the imaging library's L_EfxPaintBitmap, or the fade library
// fadekit, loaded for the paint), the keywords caption, the exported status
// callback that keeps the player answering while a transition runs and
// lets a click or an arrow key cut it short, and the per-picture timer.
#include <windows.h>

#include <algorithm>
#include <string>

#include "core/command_line.h"
#include "core/item_list.h"
#include "core/option_line.h"
#include "core/picture_rules.h"
#include "core/suite_command_codes.h"
#include "fadekit.h"
#include "imaging.h"
#include "player_parts.h"
#include "picture_view.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timer.h"
#include "tonelink.h"

extern "C" int32_t __cdecl OrbPlayStatusCallback(int32_t percentComplete, void* userData);

namespace player {

namespace {

constexpr size_t T_TRANSITIONS = 84;
constexpr int ID_VOLUME = 76;
// What the status callback returns to end a transition.
constexpr int32_t kAbortTransition = -100;
constexpr COLORREF kCaptionColour = 0x00FFFF;  // yellow

bool IsAbortMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_PAINT:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      return true;
    case WM_KEYDOWN:
      return msg.wParam == VK_LEFT || msg.wParam == VK_UP || msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN;
    default:
      return false;
  }
}

bool IsSlideShowRunning() {
  const int32_t mode = Player().slideMode;
  return mode == SLIDE_BY_HAND || mode == SLIDE_TIMED;
}

Transition NextTransition() {
  PictureViewState& view = PictureView();
  if (!view.cycleBuilt) {
    view.cycle.effects = ParseTransitionList(Player().texts.entry(T_TRANSITIONS));
    view.cycleBuilt = true;
  }
  return ChooseTransition(view.side.transitions, &view.cycle);
}

// The fade library, loaded for this paint only; a missing library or
// function leaves the picture without its transition.
void RunFade(HDC dc, BITMAPHANDLE* picture, const FitRect& fit, const Transition& transition) {
  HMODULE library = LoadLibraryA("FADEKIT.DLL");
  if (library == nullptr) return;
  auto effect = reinterpret_cast<SkEffectFunction>(GetProcAddress(library, "skEffect"));
  HBITMAP ddb = effect != nullptr ? L_ConvertToDDB(dc, picture) : nullptr;
  if (ddb != nullptr) {
    const FadeCall call = FadeCallFor(transition, SKCPUSPEED());
    // While the fade runs the imaging library reports a status callback
    // in force, so the slide timer waits for the fade to end.
    STATUSCALLBACK previous = L_SetStatusCallBack(OrbPlayStatusCallback, nullptr);
    effect(dc, fit.x, fit.y, fit.width, fit.height, ddb, nullptr, OrbPlayStatusCallback, call.grain, call.delay,
           call.number);
    L_SetStatusCallBack(previous, nullptr);
    DeleteObject(ddb);
  }
  FreeLibrary(library);
}

void RunImagingTransition(HDC dc, BITMAPHANDLE* picture, const FitRect& fit, const Transition& transition) {
  STATUSCALLBACK previous = L_SetStatusCallBack(OrbPlayStatusCallback, nullptr);
  const RECT target = {fit.x, fit.y, fit.x + fit.width, fit.y + fit.height};
  L_EfxPaintBitmap(dc, picture, nullptr, nullptr, &target, static_cast<L_UINT>(transition.effect),
                   static_cast<L_UINT>(transition.grain), static_cast<L_UINT>(transition.delay), 1, 1, 0,
                   RGB(255, 0, 255), 3, RGB(255, 0, 0), SRCCOPY);
  L_SetStatusCallBack(previous, nullptr);
}

void PrintCaption(HWND window, HDC dc, int32_t width, int32_t height) {
  const std::string& keywords = PictureView().side.keywords;
  if (keywords.empty() || width < GetSystemMetrics(SM_CXSCREEN)) return;
  int32_t textWidth = 0;
  int32_t textHeight = 0;
  if (SKGETTEXTEXTENT(window, nullptr, keywords.c_str(), &textWidth, &textHeight) != 1) return;
  const CaptionPlace place = PlaceCaption(width, height, textWidth, textHeight);
  if (Player().captionBand) {
    RECT band = {0, place.y, width, place.y + place.bandHeight};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  // A black outline, then the text in yellow over it.
  const int32_t outline[4][2] = {{1, 0}, {0, 1}, {2, 1}, {1, 2}};
  for (const auto& offset : outline) {
    SKPRINT(dc, keywords.c_str(), place.x + offset[0], place.y + offset[1], 0, -1, nullptr);
  }
  SKPRINT(dc, keywords.c_str(), place.x + 1, place.y + 1, static_cast<int32_t>(kCaptionColour), -1, nullptr);
}

void PaintBlack(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(window, &paint);
}

}  // namespace

int32_t CurrentDisplayTime() {
  PlayerState& p = Player();
  int32_t time = Options().OptionField19();
  if (!p.displayTimes.empty()) {
    time = OptionNumber(suite::ItemField(p.displayTimes, static_cast<size_t>(p.itemIndex)));
  }
  if (p.moduleMode) time = PictureView().side.displayTimeMs;
  return time > 0 ? time : Options().OptionField19();
}

namespace {

void OpenSideDocument(const std::string& document) {
  PlayerState& p = Player();
  const std::string helper = themecore::FindFile("ORBHELP.EXE");
  if (helper.empty()) return;
  HWND running = FindWindowA("ORBHELP", nullptr);
  if (running != nullptr) {
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    suite::SendSuiteCommand(running, suite::CMD_OPEN_ITEMS, document);
    return;
  }
  const std::string commandLine = suite::ProgramCommandLine(helper, suite::QuoteArgument(document + "," + p.skinFile));
  SKSHELL(commandLine.c_str(), 13, 0);
}

}  // namespace

void PaintZoomHolder(HWND window) {
  PlayerState& p = Player();
  if (p.displayState != DISPLAY_FULL_SCREEN) {
    PaintBlack(window);
    return;
  }
  if (p.fullScreenOverPicture) InvalidateRect(window, nullptr, FALSE);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  RECT client = {};
  GetClientRect(window, &client);
  const int32_t width = client.right;
  const int32_t height = client.bottom;
  BITMAPHANDLE picture = {};
  const bool hasPicture = CopyCurrentPicture(&picture);
  FitRect fit;
  bool resized = false;
  if (hasPicture) {
    fit = FitPicture(picture.Width, picture.Height, width, height);
    if (IsSlideShowRunning()) {
      if (IsMenuItemChecked(407)) resized = L_SizeBitmap(&picture, fit.width, fit.height, SIZE_RESAMPLE) == 1;
      const Transition transition = NextTransition();
      switch (KindOfEffect(transition.effect)) {
        case TransitionKind::kNone:
          break;
        case TransitionKind::kFade:
          if (!resized) resized = L_SizeBitmap(&picture, fit.width, fit.height, SIZE_RESAMPLE) == 1;
          RunFade(dc, &picture, fit, transition);
          break;
        case TransitionKind::kImaging:
          RunImagingTransition(dc, &picture, fit, transition);
          break;
      }
    }
  }
  // In every case the finished picture, drawn off the screen and copied.
  HDC off = SKOFFSCREEN(dc, width, height, 1);
  HDC target = off != nullptr ? off : dc;
  FillRect(target, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (hasPicture) {
    if (IsMenuItemChecked(407) && !resized) resized = L_SizeBitmap(&picture, fit.width, fit.height, SIZE_RESAMPLE) == 1;
    const RECT place = {fit.x, fit.y, fit.x + fit.width, fit.y + fit.height};
    L_PaintDC(target, &picture, nullptr, nullptr, &place, SRCCOPY);
    L_FreeBitmap(&picture);
  }
  PrintCaption(window, target, width, height);
  if (off != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
  EndPaint(window, &paint);
}

void StartPictureTimer() {
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  int32_t time = CurrentDisplayTime();
  CloseMedia();
  HWND volume = ControlOf(ID_VOLUME);
  const bool soundAllowed = volume != nullptr && IsWindowEnabled(volume);
  if (soundAllowed && !view.side.soundPath.empty() && OpenMedia(nullptr, view.side.soundPath, true) == 1) {
    PlayMedia(0, 0);
  }
  if (soundAllowed && !view.side.documentPath.empty()) OpenSideDocument(view.side.documentPath);
  KillThreadTimer(p.slideTimer);
  if (p.slideMode == SLIDE_TIMED) {
    p.slideTimer = StartThreadTimer(static_cast<UINT>(time));
    const bool lastPicture = p.itemIndex >= p.itemCount;
    if (lastPicture && (Engine().singlePassCounter != 0 || p.recordingMode != 0) && p.audioAvailable &&
        BASSHANDLEINUSE() != 0) {
      BASSCHANNELSLIDEATTRIBUTES(0, -1, -2, -101, time);
    }
  }
  view.pictureShown = false;
}

void KillTransitionTimer() { KillThreadTimer(Player().transitionTimer); }

}  // namespace player

// The status callback of transitions (exported as _statuscallback, cdecl):
// keeps the player's windows answering while a transition paints and ends
// the transition (-100) when the full-screen holder gets a click, an arrow
// key or a paint of its own, which are posted again so they still arrive;
// also -100 when no slide show runs.  Otherwise 1, go on.
extern "C" int32_t __cdecl OrbPlayStatusCallback(int32_t, void*) {
  using namespace player;
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  if (!view.abortPending) {
    const bool waits = SKOSVERSION() > 499;
    const DWORD start = GetTickCount();
    const DWORD waitMs = static_cast<DWORD>(waits ? std::max(0, Options().OptionField20()) : 0);
    auto waiting = [&] { return waits && GetTickCount() - start < waitMs; };
    do {
      MSG msg;
      while (!view.abortPending && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          PostQuitMessage(static_cast<int>(msg.wParam));
          view.abortPending = true;
        } else if (msg.hwnd != nullptr && msg.hwnd == p.zoomHolder && IsAbortMessage(msg)) {
          view.abortPending = true;
          // A paint stays due by itself; input is handed on.
          if (msg.message != WM_PAINT) PostMessageA(msg.hwnd, msg.message, msg.wParam, msg.lParam);
        } else {
          TranslateMessage(&msg);
          DispatchMessageA(&msg);
        }
      }
      if (!view.abortPending && waiting()) Sleep(1);
    } while (!view.abortPending && waiting());
  }
  const bool abort = view.abortPending || p.slideMode == SLIDE_NONE;
  view.abortPending = false;
  return abort ? kAbortTransition : 1;
}
