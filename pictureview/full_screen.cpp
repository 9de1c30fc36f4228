// The full-screen views on the topmost SKZOOM window: one picture fitted to
// the screen or at its natural size with panning, the timed slide show with
// keyword captions, and the picture wall with marks and its closing box
// that keeps, drops or deletes pictures.  The slide show and the wall take
// input only through PollFullScreenInput.
#include <windows.h>
#include <mmsystem.h>

#include <set>
#include <string>
#include <vector>

#include "core/path_names.h"
#include "core/view_rules.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "view_state.h"

namespace view {

namespace {

// How long a paused poll sleeps between looks at the queue.
constexpr DWORD kPausedSleepMs = 10;

HBITMAP LoadPicture(const std::string& file, int32_t boxWidth, int32_t boxHeight, int32_t* width, int32_t* height) {
  std::string path = file;
  int32_t colours = 0, overlay = 0;
  uint8_t bits = 0;
  return suite::LoadPictureBitmap(path, boxWidth, boxHeight, *width, *height, colours, bits, overlay, 0);
}

void BitmapSize(HBITMAP bitmap, int32_t* width, int32_t* height) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof(info), &info);
  *width = info.bmWidth;
  *height = info.bmHeight;
}

void PaintBitmap(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, bool keep) {
  if (bitmap == nullptr || dc == nullptr) return;
  int32_t width = 0, height = 0;
  BitmapSize(bitmap, &width, &height);
  HBITMAP copy = bitmap;
  suite::BlitMemoryBitmap(dc, copy, x, y, width, height, SRCCOPY, keep ? 1 : 0, 1);
}

void FreeViewBitmap(ViewState& v) {
  if (v.viewBitmap != nullptr) DeleteObject(v.viewBitmap);
  v.viewBitmap = nullptr;
}

void ShowTopmost(HWND window, int x, int y, int width, int height, UINT flags) {
  SetWindowPos(window, HWND_TOPMOST, x, y, width, height, flags);
}

void FillWindow(HWND window, COLORREF colour) {
  HDC dc = GetDC(window);
  RECT client = {};
  GetClientRect(window, &client);
  SKFILLRECT(dc, 0, 0, client.right, client.bottom, static_cast<int32_t>(colour));
  ReleaseDC(window, dc);
}

// Draws the keyword text centred at the bottom of the screen.
void DrawPictureInfo() {
  ViewState& v = View();
  if (v.keywordText.empty() || v.zoomWindow == nullptr) return;
  int32_t width = 0, height = 0;
  SKGETTEXTEXTENT(v.zoomWindow, SKDEFAULTFONT(), v.keywordText.c_str(), &width, &height);
  int32_t x = (v.screenWidth - (width + 2)) / 2;
  int32_t y = v.screenHeight - (height + 2);
  if (width + 2 > v.screenWidth) x = y = 0;
  HDC dc = GetDC(v.zoomWindow);
  // The window may be larger than the screen and moved: draw on the screen
  // position.
  RECT window = {};
  GetWindowRect(v.zoomWindow, &window);
  DrawOutlinedText(dc, v.keywordText, x - window.left, y - window.top, SKDEFAULTFONT());
  ReleaseDC(v.zoomWindow, dc);
}

void RepaintPan(ViewState& v) {
  if (v.viewBitmap == nullptr) {
    int32_t width = 0, height = 0;
    v.viewBitmap = LoadPicture(v.viewFile, 0, 0, &width, &height);
  }
  ShowTopmost(v.zoomWindow, v.pan.x, v.pan.y, 0, 0, SWP_NOSIZE | SWP_NOREDRAW);
  HDC dc = GetDC(v.zoomWindow);
  PaintBitmap(dc, v.viewBitmap, v.offsetX, v.offsetY, true);
  ReleaseDC(v.zoomWindow, dc);
}

PollEvent EventOf(const MSG& msg) {
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return PollEvent::KeyDown;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return PollEvent::KeyUp;
    case WM_MOUSEMOVE:
      return PollEvent::MouseMove;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return PollEvent::LeftDown;
    case WM_LBUTTONUP:
      return PollEvent::LeftUp;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return PollEvent::RightDown;
    case WM_RBUTTONUP:
      return PollEvent::RightUp;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return PollEvent::MiddleDown;
    case WM_MBUTTONUP:
      return PollEvent::MiddleUp;
    default:
      return msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST ? PollEvent::Char : PollEvent::Other;
  }
}

// The wall's cells and marks, for the poll's left-button marks.
struct Wall {
  WallParameters parameters;
  std::vector<CellRect> cells;
  std::vector<std::string> cellPaths;
  std::set<int32_t> marks;
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
};

void DrawMark(HDC dc, int32_t left, int32_t top, int32_t cw, int32_t ch) {
  const int rop = SetROP2(dc, R2_NOT);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, left + 2, top + 2, left + cw - 5, top + ch - 5);
  Rectangle(dc, left + 3, top + 3, left + cw - 6, top + ch - 6);
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  const int corners[][2] = {{6, 6}, {cw - 20, 6}, {6, ch - 19}, {cw - 20, ch - 19}};
  for (const auto& at : corners) {
    RoundRect(dc, left + at[0], top + at[1], left + at[0] + 10, top + at[1] + 10, 10, 10);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  SetROP2(dc, rop);
}

void MarkCellUnderCursor(ViewState& v, Wall& wall) {
  const DWORD position = GetMessagePos();
  POINT at = {static_cast<int16_t>(LOWORD(position)), static_cast<int16_t>(HIWORD(position))};
  for (size_t cell = 0; cell < wall.cells.size(); ++cell) {
    const CellRect& r = wall.cells[cell];
    RECT rect = {r.left, r.top, r.right + 1, r.bottom + 1};
    if (!PtInRect(&rect, at)) continue;
    const std::string& path = wall.cellPaths[cell];
    if (path.empty()) return;
    for (int32_t index = 1; index < static_cast<int32_t>(v.list.size()); ++index) {
      if (v.list[static_cast<size_t>(index)] != path) continue;
      if (wall.marks.count(index) != 0) {
        wall.marks.erase(index);
      } else {
        wall.marks.insert(index);
      }
      HDC dc = GetDC(v.zoomWindow);
      DrawMark(dc, r.left, r.top, wall.cellWidth, wall.cellHeight);
      ReleaseDC(v.zoomWindow, dc);
      TraceProgramCall("WallMark", path, wall.marks.count(index) != 0 ? "1" : "0");
      return;
    }
    return;
  }
}

// Takes one keyboard and one mouse message (no other messages) and acts on
// them; while paused it keeps looking, yielding the processor.  A close of
// the program (WM_QUIT) stops the view and is posted again.
void PollFullScreenInput(PollMode mode, Wall* wall) {
  ViewState& v = View();
  v.stopFlag = false;
  while (true) {
    MSG msg = {};
    if (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      const PollResult result = PollStep(mode, EventOf(msg), static_cast<uint32_t>(msg.wParam));
      if (result.togglePause) v.pauseFlag = !v.pauseFlag;
      if (result.stop) v.stopFlag = true;
    }
    if (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
      const PollResult result = PollStep(mode, EventOf(msg), 0);
      if (result.togglePause) v.pauseFlag = !v.pauseFlag;
      if (result.stop) v.stopFlag = true;
      if (result.mark && wall != nullptr) MarkCellUnderCursor(v, *wall);
    }
    if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      v.stopFlag = true;
    }
    if (v.stopFlag || !v.pauseFlag) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kPausedSleepMs, QS_INPUT | QS_POSTMESSAGE);
  }
}

// Waits `ms` milliseconds polling the input; true when stopped.
bool WaitPolling(PollMode mode, Wall* wall, DWORD ms) {
  ViewState& v = View();
  const DWORD start = timeGetTime();
  do {
    PollFullScreenInput(mode, wall);
    if (v.stopFlag) return true;
    if (timeGetTime() - start >= ms) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_INPUT | QS_POSTMESSAGE);
  } while (timeGetTime() - start < ms);
  return false;
}

bool FileThere(const std::string& file) { return !file.empty() && SKEXIST(file.c_str()); }

void ApplyWallOutcome(ViewState& v, const Wall& wall) {
  const std::vector<std::string> list(v.list.begin() + 1, v.list.end());
  const int32_t marked = static_cast<int32_t>(wall.marks.size());
  const std::string buttons = v.texts.entry(T_WALL_BUTTONS1) + "|" + v.texts.entry(T_WALL_BUTTONS2);
  const int32_t answer = StockIconBox(v.texts.entry(T_WALL_CAPTION), std::to_string(marked) + v.texts.entry(T_WALL_COUNT),
                                      buttons, reinterpret_cast<LPCSTR>(IDI_QUESTION));
  int32_t question = 0;
  const int32_t asked = WallQuestionCount(list.size(), wall.marks, answer);
  if ((answer == 2 || answer == 4) && asked > 0) {
    WallOutcome preview = ResolveWall(list, wall.marks, answer, 1);
    std::string text = ReplaceAll(v.texts.entry(T_DELETE_TEXT), "#", std::to_string(asked));
    text = ReplaceAll(text, "@", FoldersOf(preview.deleted));
    question = StockIconBox(v.texts.entry(T_DELETE_CAPTION), text, v.texts.entry(T_DELETE_BUTTONS),
                            reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
  }
  const WallOutcome outcome = ResolveWall(list, wall.marks, answer, question);
  if (!outcome.changed) return;
  for (const std::string& file : outcome.deleted) {
    const int32_t done = SKKILLFILE(file.c_str());
    TraceProgramCall("SKKILLFILE", file, std::to_string(done));
  }
  ClearStrip();
  if (!outcome.kept.empty()) SetList(outcome.kept);
}

}  // namespace

void ShowPreview(bool fit) {
  ViewState& v = View();
  if (v.zoomWindow == nullptr || v.currentFile.empty() || CheckPictureFile() != 0) return;
  FreeViewBitmap(v);
  v.viewFile = v.currentFile;
  int32_t width = 0, height = 0;
  if (fit) {
    HBITMAP bitmap = LoadPicture(v.currentFile, v.screenWidth, v.screenHeight, &width, &height);
    int32_t x = 0, y = 0, fw = 0, fh = 0;
    SKICONISE(width, height, v.screenWidth, v.screenHeight, &x, &y, &fw, &fh);
    ShowTopmost(v.zoomWindow, 0, 0, v.screenWidth, v.screenHeight, SWP_SHOWWINDOW);
    FillWindow(v.zoomWindow, RGB(0, 0, 0));
    HDC dc = GetDC(v.zoomWindow);
    PaintBitmap(dc, bitmap, x, y, false);
    ReleaseDC(v.zoomWindow, dc);
    DrawPictureInfo();
    v.pan = PanState{};
  } else {
    v.viewBitmap = LoadPicture(v.currentFile, 0, 0, &width, &height);
    if (v.viewBitmap == nullptr) return;
    BitmapSize(v.viewBitmap, &width, &height);
    v.viewWidth = std::max(v.screenWidth, width);
    v.viewHeight = std::max(v.screenHeight, height);
    v.offsetX = std::max(0, (v.screenWidth - width) / 2);
    v.offsetY = std::max(0, (v.screenHeight - height) / 2);
    v.pan = StartPan(v.screenWidth, v.screenHeight, width, height);
    ShowTopmost(v.zoomWindow, 0, 0, v.viewWidth, v.viewHeight, SWP_SHOWWINDOW);
    FillWindow(v.zoomWindow, RGB(0, 0, 0));
    HDC dc = GetDC(v.zoomWindow);
    PaintBitmap(dc, v.viewBitmap, v.offsetX, v.offsetY, true);
    ReleaseDC(v.zoomWindow, dc);
  }
  v.viewState = 1;
  SetFocus(v.zoomWindow);
}

void ShowSlotPicture(int32_t slot) {
  ViewState& v = View();
  const std::string& path = v.slots[static_cast<size_t>(slot - 1)];
  if (path.empty()) return;
  v.currentFile = path;
  ShowPreview(false);
}

void HidePreview() {
  ViewState& v = View();
  if (v.zoomWindow != nullptr) ShowWindow(v.zoomWindow, SW_HIDE);
  v.viewState = 0;
  FreeViewBitmap(v);
}

LRESULT PreviewKey(WPARAM key) {
  ViewState& v = View();
  PanKey pan;
  switch (key) {
    case VK_HOME: pan = PanKey::Home; break;
    case VK_END: pan = PanKey::End; break;
    case VK_PRIOR: pan = PanKey::PageUp; break;
    case VK_NEXT: pan = PanKey::PageDown; break;
    case VK_LEFT: pan = PanKey::Left; break;
    case VK_RIGHT: pan = PanKey::Right; break;
    case VK_UP: pan = PanKey::Up; break;
    case VK_DOWN: pan = PanKey::Down; break;
    default:
      HidePreview();
      return 1;
  }
  if (PanByKey(&v.pan, pan)) RepaintPan(v);
  return 1;
}

LRESULT PreviewMouseMove(LPARAM lParam) {
  ViewState& v = View();
  const int32_t x = static_cast<int16_t>(LOWORD(lParam));
  const int32_t y = static_cast<int16_t>(HIWORD(lParam));
  if (PanByMouse(&v.pan, x, y, v.screenWidth, v.screenHeight)) RepaintPan(v);
  return 1;
}

void RunSlideShow() {
  ViewState& v = View();
  if (v.zoomWindow == nullptr || v.strip.count == 0) return;
  const DWORD showMs = static_cast<DWORD>(std::max(0, NumberOf(suite::MenuAction(201, v.menus))));
  ShowTopmost(v.zoomWindow, 0, 0, v.screenWidth, v.screenHeight, SWP_SHOWWINDOW);
  v.pauseFlag = false;
  int32_t i = 0;
  while (true) {
    if (i != 0 && v.strip.count <= 1) break;
    i = i + 1 > v.strip.count ? 1 : i + 1;
    v.currentFile = v.list[static_cast<size_t>(i)];
    if (CheckPictureFile() == 0) {
      int32_t width = 0, height = 0;
      HBITMAP bitmap = LoadPicture(v.currentFile, v.screenWidth, v.screenHeight, &width, &height);
      int32_t x = 0, y = 0, fw = 0, fh = 0;
      SKICONISE(width, height, v.screenWidth, v.screenHeight, &x, &y, &fw, &fh);
      FillWindow(v.zoomWindow, RGB(0, 0, 0));
      HDC dc = GetDC(v.zoomWindow);
      PaintBitmap(dc, bitmap, x, y, false);
      ReleaseDC(v.zoomWindow, dc);
      bool found = false;
      v.keywordText = ReadKeywords(v.currentFile, &found);
      if (!found) v.keywordText = v.showNames ? Upper(v.currentFile) : std::string();
      DrawPictureInfo();
      TraceProgramCall("SlideShow", v.currentFile, std::to_string(timeGetTime()));
    }
    if (WaitPolling(PollMode::SlideShow, nullptr, showMs)) break;
  }
  ShowWindow(v.zoomWindow, SW_HIDE);
}

void RunPictureWall(int32_t id) {
  ViewState& v = View();
  if (v.zoomWindow == nullptr || v.strip.count == 0) return;
  Wall wall;
  wall.parameters = ParseWallParameters(suite::MenuAction(id, v.menus));
  wall.cells = WallCells(v.screenWidth, v.screenHeight, wall.parameters);
  wall.cellPaths.assign(wall.cells.size(), std::string());
  wall.cellWidth = v.screenWidth / wall.parameters.columns;
  wall.cellHeight = v.screenHeight / wall.parameters.rows;
  ShowTopmost(v.zoomWindow, 0, 0, v.screenWidth, v.screenHeight, SWP_SHOWWINDOW);
  FillWindow(v.zoomWindow, RGB(0, 0, 0));
  SetCapture(v.zoomWindow);
  v.pauseFlag = false;
  int32_t column = 0, row = 0, entry = 0;
  bool shownThisPass = false;
  while (true) {
    entry = entry + 1 > v.strip.count ? 1 : entry + 1;
    v.currentFile = v.list[static_cast<size_t>(entry)];
    bool used = false;
    // A picture that has vanished takes no cell and shows no box: the
    // wall keeps going with the others, and ends when a whole pass found
    // none.
    if (FileThere(v.currentFile)) {
      int32_t width = 0, height = 0;
      HBITMAP bitmap = LoadPicture(v.currentFile, wall.cellWidth, wall.cellHeight, &width, &height);
      const size_t cell = static_cast<size_t>(row * wall.parameters.columns + column);
      wall.cellPaths[cell] = v.currentFile;
      used = true;
      shownThisPass = true;
      HDC screen = GetDC(v.zoomWindow);
      HDC memory = CreateCompatibleDC(screen);
      HBITMAP cellBitmap = CreateCompatibleBitmap(screen, wall.cellWidth, wall.cellHeight);
      HGDIOBJ old = SelectObject(memory, cellBitmap);
      SKFILLRECT(memory, 0, 0, wall.cellWidth, wall.cellHeight, 0);
      if (bitmap != nullptr) {
        int32_t x = 0, y = 0, fw = 0, fh = 0;
        SKICONISE(width, height, wall.cellWidth, wall.cellHeight, &x, &y, &fw, &fh);
        PaintBitmap(memory, bitmap, x, y, false);
      }
      if (v.showNames) {
        const std::string name = suite::FileNameOf(v.currentFile);
        int32_t tw = 0, th = 0;
        SKGETTEXTEXTENT(v.zoomWindow, SKDEFAULTFONT(), name.c_str(), &tw, &th);
        int32_t x = (wall.cellWidth - (tw + 2)) / 2, y = wall.cellHeight - (th + 2);
        if (tw + 2 > wall.cellWidth) x = y = 0;
        DrawOutlinedText(memory, name, x, y, SKDEFAULTFONT());
      }
      if (wall.marks.count(entry) != 0) DrawMark(memory, 0, 0, wall.cellWidth, wall.cellHeight);
      BitBlt(screen, column * wall.cellWidth, row * wall.cellHeight, wall.cellWidth, wall.cellHeight, memory, 0, 0,
             SRCCOPY);
      SelectObject(memory, old);
      DeleteObject(cellBitmap);
      DeleteDC(memory);
      ReleaseDC(v.zoomWindow, screen);
    }
    if (used) {
      column = (column + 1) % wall.parameters.columns;
      if (column == 0) {
        row = (row + 1) % wall.parameters.rows;
        if (row == 0) {
          TraceProgramCall("WallFull", "", std::to_string(timeGetTime()));
          if (WaitPolling(PollMode::Wall, &wall, static_cast<DWORD>(wall.parameters.delayMs))) break;
          continue;
        }
      }
    }
    PollFullScreenInput(PollMode::Wall, &wall);
    if (v.stopFlag) break;
    if (entry == v.strip.count) {
      if (!shownThisPass) break;
      shownThisPass = false;
    }
  }
  ReleaseCapture();
  ShowWindow(v.zoomWindow, SW_HIDE);
  if (wall.marks.empty()) return;
  ApplyWallOutcome(v, wall);
}

}  // namespace view
