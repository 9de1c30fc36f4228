// The picture view: ShowPicture loads a picture (with its OBF overlay,
// through the shared picture loader) into the picture holder's memory
// bitmap, which the holder paints fitted or at full size with scroll bars;
// the fit switch, scrolling, the exported ICONISE and printing.  The slide
// show's full-screen painting is slide_show.cpp.
#include "picture_view.h"

#include <windows.h>

#include <string>

#include "core/option_line.h"
#include "core/path_names.h"
#include "core/player_files.h"
#include "core/side_files.h"
#include "imaging.h"
#include "player_parts.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "playback_engine.h"
#include "player_state.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_painttool.h"
#include "thread_timer.h"

extern "C" int32_t __stdcall OrbPlayIconise(int32_t sourceWidth, int32_t sourceHeight, int32_t boxWidth,
                                            int32_t boxHeight, int32_t* x, int32_t* y, int32_t* width,
                                            int32_t* height);

namespace player {

namespace {

constexpr int32_t LAYOUT_DOCUMENT = 1;
constexpr int32_t LAYOUT_PICTURE = 4;
// The system's message for "no default printer".
constexpr int32_t kNoPrinterError = 1797;

bool IsFitted() { return IsMenuItemChecked(401); }

void SetStatusText(const std::string& text) {
  if (Player().statusWindow != nullptr) SKSETCTLTEXT(Player().statusWindow, text.c_str());
}

void ShowScrollBars(bool show) {
  HWND holder = Player().pictureHolder;
  if (holder != nullptr) ShowScrollBar(holder, SB_BOTH, show ? TRUE : FALSE);
}

HWND EnsurePictureHolder() {
  PlayerState& p = Player();
  if (p.pictureHolder == nullptr && p.contentHolder != nullptr) {
    p.pictureHolder = SKHOLDER(p.contentHolder, "SKCTL", 0, 0, PlayerWindowProc);
    if (p.pictureHolder != nullptr && IsFitted()) ShowScrollBars(false);
  }
  return p.pictureHolder;
}

// The picture's own size without decoding it; 0 x 0 when the file says
// nothing (the loader then finds out).
void PictureFileSize(const std::string& path, int32_t* width, int32_t* height) {
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  if (L_FileInfo(path.c_str(), &info, 0, nullptr) == 1 && info.Width > 0 && info.Height > 0) {
    *width = info.Width;
    *height = info.Height;
  } else {
    *width = 0;
    *height = 0;
  }
}

// Decodes the picture into the memory bitmap; false when it could not be
// read or is too large to hold.
bool LoadIntoMemory(HWND holder, const std::string& path, int32_t* shownWidth, int32_t* shownHeight) {
  int32_t fileWidth = 0;
  int32_t fileHeight = 0;
  PictureFileSize(path, &fileWidth, &fileHeight);
  HDC screen = GetDC(nullptr);
  MemoryPlanInput input;
  input.pictureWidth = fileWidth;
  input.pictureHeight = fileHeight;
  input.memoryWidth = SKGETWIDTHMEMBMP(holder);
  input.memoryHeight = SKGETHEIGHTMEMBMP(holder);
  input.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  input.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  input.displayBitsPerPixel = screen != nullptr ? GetDeviceCaps(screen, BITSPIXEL) : 32;
  input.osVersion = SKOSVERSION();
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  int32_t maxWidth = 0;
  int32_t maxHeight = 0;
  if (fileWidth > 0) {
    const MemoryPlan plan = PlanMemoryPicture(input);
    if (plan.refused) return false;
    if (plan.pictureWidth != fileWidth || plan.pictureHeight != fileHeight) {
      maxWidth = plan.pictureWidth;
      maxHeight = plan.pictureHeight;
    }
  }
  std::string loadPath = path;
  int32_t width = 0, height = 0, colours = 0, overlay = 0;
  uint8_t bits = 0;
  HBITMAP picture = suite::LoadPictureBitmap(loadPath, maxWidth, maxHeight, width, height, colours, bits, overlay, 0);
  if (picture == nullptr) return false;
  BITMAP drawn = {};
  GetObjectA(picture, sizeof(drawn), &drawn);
  input.pictureWidth = drawn.bmWidth;
  input.pictureHeight = drawn.bmHeight;
  const MemoryPlan plan = PlanMemoryPicture(input);
  bool ready = !plan.refused && plan.pictureWidth == drawn.bmWidth && plan.pictureHeight == drawn.bmHeight;
  if (ready && plan.rebuild) ready = SKCREATEMEMBMP(holder, plan.memoryWidth, plan.memoryHeight) == 1;
  HDC memory = ready ? SKGETHDCMEMBMP(holder) : nullptr;
  if (memory != nullptr) {
    RECT all = {0, 0, SKGETWIDTHMEMBMP(holder), SKGETHEIGHTMEMBMP(holder)};
    HBRUSH background = CreateSolidBrush(PictureBackground());
    FillRect(memory, &all, background);
    DeleteObject(background);
    HDC source = CreateCompatibleDC(memory);
    HGDIOBJ old = source != nullptr ? SelectObject(source, picture) : nullptr;
    ready = old != nullptr && BitBlt(memory, 0, 0, drawn.bmWidth, drawn.bmHeight, source, 0, 0, SRCCOPY) != FALSE;
    if (old != nullptr) SelectObject(source, old);
    if (source != nullptr) DeleteDC(source);
  }
  DeleteObject(picture);
  *shownWidth = drawn.bmWidth;
  *shownHeight = drawn.bmHeight;
  return memory != nullptr && ready;
}

void FreeResampled(PictureViewState& view) {
  if (view.resampled.Flags & BITMAP_ALLOCATED) L_FreeBitmap(&view.resampled);
  view.resampled = BITMAPHANDLE{};
  view.resampledPath.clear();
  view.resampledWidth = 0;
  view.resampledHeight = 0;
}

// Paints the picture resampled to the fitted size, made once per picture
// and size; false when it could not be made.
bool PaintResampled(HDC target, PictureViewState& view, const FitRect& fit, const RECT& place) {
  const bool cached = (view.resampled.Flags & BITMAP_ALLOCATED) != 0 && view.resampledPath == view.path &&
                      view.resampledWidth == fit.width && view.resampledHeight == fit.height;
  if (!cached) {
    FreeResampled(view);
    if (!CopyCurrentPicture(&view.resampled)) {
      view.resampled = BITMAPHANDLE{};
      return false;
    }
    if (L_SizeBitmap(&view.resampled, fit.width, fit.height, SIZE_RESAMPLE) != 1) {
      FreeResampled(view);
      return false;
    }
    view.resampledPath = view.path;
    view.resampledWidth = fit.width;
    view.resampledHeight = fit.height;
  }
  return L_PaintDC(target, &view.resampled, nullptr, nullptr, &place, SRCCOPY) == 1;
}

void PaintFitted(HWND window, HDC dc, int32_t width, int32_t height) {
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  HDC off = SKOFFSCREEN(dc, width, height, 1);
  HDC target = off != nullptr ? off : dc;
  RECT all = {0, 0, width, height};
  HBRUSH background = CreateSolidBrush(PictureBackground());
  FillRect(target, &all, background);
  DeleteObject(background);
  HDC memory = SKGETHDCMEMBMP(window);
  if (!view.path.empty() && memory != nullptr) {
    const FitRect fit = FitPicture(view.width, view.height, width, height);
    const RECT place = {fit.x, fit.y, fit.x + fit.width, fit.y + fit.height};
    const bool resample = IsMenuItemChecked(407) && p.displayState == DISPLAY_NORMAL;
    if (!resample || !PaintResampled(target, view, fit, place)) {
      SetStretchBltMode(target, HALFTONE);
      SetBrushOrgEx(target, 0, 0, nullptr);
      StretchBlt(target, fit.x, fit.y, fit.width, fit.height, memory, 0, 0, view.width, view.height, SRCCOPY);
    }
  }
  if (off != nullptr) SKOFFSCREEN(nullptr, 0, 0, 0);
}

void UpdateScrollBar(HWND window, int bar, int32_t range, int32_t position) {
  SCROLLINFO info = {};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMin = 0;
  info.nMax = range;
  info.nPos = position;
  SetScrollInfo(window, bar, &info, TRUE);
}

void PaintScrolled(HWND window, HDC dc, int32_t width, int32_t height) {
  PictureViewState& view = PictureView();
  const int32_t memoryWidth = SKGETWIDTHMEMBMP(window);
  const int32_t memoryHeight = SKGETHEIGHTMEMBMP(window);
  HDC memory = SKGETHDCMEMBMP(window);
  if (memory != nullptr) {
    BitBlt(dc, 0, 0, width, height, memory, view.scrollX, view.scrollY, SRCCOPY);
  } else {
    RECT all = {0, 0, width, height};
    HBRUSH background = CreateSolidBrush(PictureBackground());
    FillRect(dc, &all, background);
    DeleteObject(background);
  }
  UpdateScrollBar(window, SB_HORZ, ScrollRange(memoryWidth, width), view.scrollX);
  UpdateScrollBar(window, SB_VERT, ScrollRange(memoryHeight, height), view.scrollY);
}

void PaintPictureHolder(HWND window) {
  PictureViewState& view = PictureView();
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  if (dc == nullptr) return;
  RECT client = {};
  GetClientRect(window, &client);
  view.scrollX = ClampScroll(view.scrollX, SKGETWIDTHMEMBMP(window), client.right);
  view.scrollY = ClampScroll(view.scrollY, SKGETHEIGHTMEMBMP(window), client.bottom);
  if (IsFitted()) {
    PaintFitted(window, dc, client.right, client.bottom);
  } else {
    PaintScrolled(window, dc, client.right, client.bottom);
  }
  EndPaint(window, &paint);
}

ScrollRequest RequestOf(WPARAM wParam) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: return ScrollRequest::kLineUp;
    case SB_LINEDOWN: return ScrollRequest::kLineDown;
    case SB_PAGEUP: return ScrollRequest::kPageUp;
    case SB_PAGEDOWN: return ScrollRequest::kPageDown;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: return ScrollRequest::kThumb;
    default: return ScrollRequest::kOther;
  }
}

void PrintPicture() {
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  HDC printer = SKPRINTDLG(p.mainWindow);
  if (printer == nullptr) return;
  SetForegroundWindow(p.mainWindow);
  InvalidateRect(p.mainWindow, nullptr, TRUE);
  BITMAPHANDLE copy = {};
  if (!CopyCurrentPicture(&copy)) {
    DeleteDC(printer);
    return;
  }
  const FitRect place = PrintPlacement(GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES),
                                       GetDeviceCaps(printer, HORZSIZE), GetDeviceCaps(printer, VERTSIZE),
                                       copy.Width, copy.Height);
  const std::string name = suite::FileNameOf(view.path);
  DOCINFOA document = {};
  document.cbSize = sizeof(document);
  document.lpszDocName = name.c_str();
  if (StartDocA(printer, &document) > 0) {
    // A job that fails half-way is cancelled, not left open in the spooler.
    bool printed = StartPage(printer) > 0 &&
                   L_PrintBitmapExt(printer, &copy, place.x, place.y, place.width, place.height, 0) == 1 &&
                   EndPage(printer) > 0;
    if (printed) printed = EndDoc(printer) > 0;
    if (!printed) AbortDoc(printer);
  }
  L_FreeBitmap(&copy);
  DeleteDC(printer);
}

}  // namespace

PictureViewState& PictureView() {
  static PictureViewState state;
  return state;
}

COLORREF PictureBackground() { return static_cast<COLORREF>(Options().OptionField21()); }

FitRect FitPicture(int32_t width, int32_t height, int32_t boxWidth, int32_t boxHeight) {
  FitRect fit;
  OrbPlayIconise(width, height, boxWidth, boxHeight, &fit.x, &fit.y, &fit.width, &fit.height);
  return fit;
}

bool CopyCurrentPicture(BITMAPHANDLE* copy) {
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  if (view.path.empty() || p.pictureHolder == nullptr || view.width <= 0 || view.height <= 0) return false;
  HDC memory = SKGETHDCMEMBMP(p.pictureHolder);
  if (memory == nullptr) return false;
  *copy = BITMAPHANDLE{};
  copy->uStructSize = sizeof(BITMAPHANDLE);
  if (L_CreateBitmap(copy, TYPE_CONV, view.width, view.height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) != 1) {
    return false;
  }
  HDC lead = L_CreateLeadDC(copy);
  const bool copied = lead != nullptr && BitBlt(lead, 0, 0, view.width, view.height, memory, 0, 0, SRCCOPY) != FALSE;
  if (lead != nullptr) L_DeleteLeadDC(lead);
  if (!copied) L_FreeBitmap(copy);
  return copied;
}

ShownPicture CurrentShownPicture() {
  PictureViewState& view = PictureView();
  if (view.shown.Flags & BITMAP_ALLOCATED) L_FreeBitmap(&view.shown);
  view.shown = BITMAPHANDLE{};
  if (!CopyCurrentPicture(&view.shown)) return ShownPicture{};
  return ShownPicture{&view.shown, view.path};
}

void ShowPicture(const std::string& item) {
  PlayerState& p = Player();
  PictureViewState& view = PictureView();
  if (item.empty()) return;
  HidePanesForPicture();
  if (p.displayState == DISPLAY_ZOOMED) LeaveZoom();
  if (p.mainWindow != nullptr && !IsWindowVisible(p.mainWindow)) {
    if (p.keepHiddenWindow) {
      p.keepHiddenWindow = false;
    } else {
      ShowWindow(p.mainWindow, SW_SHOW);
    }
  }
  StopPlaybackTick();
  if (p.recordingMode == 0) SetStatusText("");
  const bool mediaWasOpen = Engine().media != nullptr;
  CloseMedia();
  if (mediaWasOpen && p.videoWindow != nullptr) ShowWindow(p.videoWindow, SW_HIDE);
  if (p.compact) RestoreFromCompact(SWP_SHOWWINDOW);

  HWND holder = EnsurePictureHolder();
  if (holder == nullptr) return;
  PlacePictureHolder();

  view.pictureShown = true;
  FreeResampled(view);
  view.path = item;
  view.width = 0;
  view.height = 0;
  if (LoadIntoMemory(holder, item, &view.width, &view.height)) {
    if (!IsWindowVisible(holder)) ShowWindow(holder, SW_SHOW);
  } else {
    view.path.clear();
    view.pictureShown = false;
  }

  StdPlayerFiles files;
  view.side = ReadSideFiles(item, files, p.moduleMode, p.moduleDisplayTime);
  SKSETCTLTEXT(p.mainWindow, (p.texts.entry(T_TITLE) + " - " + suite::FileNameOf(item)).c_str());
  if (p.recordingMode == 0) SetStatusText(view.side.keywords);
  InvalidateRect(holder, nullptr, TRUE);
  if (Options().OptionField17() == 0) UpdateWindow(holder);
  if (view.pictureShown) StartPictureTimer();
}

void ShowPictureAgain() {
  PictureViewState& view = PictureView();
  if (!view.path.empty()) {
    ShowPicture(view.path);
  } else if (Player().zoomHolder != nullptr) {
    InvalidateRect(Player().zoomHolder, nullptr, TRUE);
  }
}

void PaintPictureWindow(HWND window) {
  PlayerState& p = Player();
  if (window == p.zoomHolder) {
    PaintZoomHolder(window);
  } else {
    PaintPictureHolder(window);
  }
}

void ScrollPicture(HWND window, UINT message, WPARAM wParam) {
  PictureViewState& view = PictureView();
  const bool horizontal = message == WM_HSCROLL;
  RECT client = {};
  GetClientRect(window, &client);
  int32_t& offset = horizontal ? view.scrollX : view.scrollY;
  const int32_t memory = horizontal ? SKGETWIDTHMEMBMP(window) : SKGETHEIGHTMEMBMP(window);
  const int32_t clientSize = horizontal ? client.right : client.bottom;
  const int32_t wanted = ScrolledOffset(offset, RequestOf(wParam), static_cast<int16_t>(HIWORD(wParam)));
  const int32_t next = ClampScroll(wanted, memory, clientSize);
  if (next == offset) return;
  const int32_t delta = offset - next;
  offset = next;
  ScrollWindowEx(window, horizontal ? delta : 0, horizontal ? 0 : delta, nullptr, nullptr, nullptr, nullptr,
                 SW_INVALIDATE);
  UpdateWindow(window);
}

void ApplyPictureFit() {
  PlayerState& p = Player();
  if (p.pictureHolder == nullptr) return;
  ShowScrollBars(!IsFitted());
  InvalidateRect(p.pictureHolder, nullptr, TRUE);
}

void SetPictureFit(bool fitted) {
  SetMenuItemCheck(401, fitted);
  ApplyPictureFit();
}

void PrintCommand() {
  PlayerState& p = Player();
  char device[256] = {};
  GetProfileStringA("WINDOWS", "DEVICE", ",,,", device, sizeof(device));
  if (std::string(device) == ",,,") {
    suite::boxes::ShowWarningBox(
        themecore::FetchText([](char* out, int32_t size) { return SKWINERR(kNoPrinterError, out, size); }));
    return;
  }
  if (p.layoutMode == LAYOUT_DOCUMENT) {
    PrintContentPane();
    return;
  }
  if (p.layoutMode == LAYOUT_PICTURE && !PictureView().path.empty()) PrintPicture();
}

}  // namespace player

// Fits a source into a box keeping its proportions and centres it: the skin
// engine's fit, or with "enlarge small pictures" (409) checked a fit that
// also enlarges.  Exported (stdcall) as ICONISE.
extern "C" int32_t __stdcall OrbPlayIconise(int32_t sourceWidth, int32_t sourceHeight, int32_t boxWidth,
                                            int32_t boxHeight, int32_t* x, int32_t* y, int32_t* width,
                                            int32_t* height) {
  if (!player::IsMenuItemChecked(409)) {
    return SKICONISE(sourceWidth, sourceHeight, boxWidth, boxHeight, x, y, width, height);
  }
  const player::FitRect fit = player::FitEnlarged(sourceWidth, sourceHeight, boxWidth, boxHeight);
  if (x != nullptr) *x = fit.x;
  if (y != nullptr) *y = fit.y;
  if (width != nullptr) *width = fit.width;
  if (height != nullptr) *height = fit.height;
  return 1;
}
