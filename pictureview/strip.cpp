// The folder scan, the film strip (four cells scrolled through the folder
// list), the light table (four slots with captions and buttons), the hover
// text with the keywords of a picture's side file, and the exported popup
// label SKSTATIC the scan shows.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/path_names.h"
#include "core/view_rules.h"
#include "file_io.h"
#include "imaging.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_painttool.h"
#include "themecore_wait.h"
#include "view_state.h"

namespace view {

namespace {

constexpr size_t kMaxKeywordBytes = 64 * 1024;
constexpr COLORREF kFreeSlotColour = RGB(160, 160, 160);
constexpr int kStripTop = 13;

// A picture loaded fitted to a box; the bitmap is the caller's.
struct Fitted {
  HBITMAP bitmap = nullptr;
  int32_t width = 0;   // natural size
  int32_t height = 0;
  int32_t x = 0;       // offset that centres it in the box
  int32_t y = 0;
  int32_t fittedWidth = 0;
  int32_t fittedHeight = 0;
};

Fitted LoadFitted(const std::string& file, int32_t boxWidth, int32_t boxHeight) {
  Fitted fitted;
  std::string path = file;
  int32_t colours = 0, overlay = 0;
  uint8_t bits = 0;
  fitted.bitmap = suite::LoadPictureBitmap(path, boxWidth, boxHeight, fitted.width, fitted.height, colours, bits,
                                           overlay, 0);
  if (fitted.bitmap == nullptr) return fitted;
  SKICONISE(fitted.width, fitted.height, boxWidth, boxHeight, &fitted.x, &fitted.y, &fitted.fittedWidth,
            &fitted.fittedHeight);
  return fitted;
}

// Paints a loaded bitmap into a DC at (x, y) and frees it.
void PaintAndFree(HDC dc, Fitted& fitted, int32_t x, int32_t y) {
  if (fitted.bitmap == nullptr) return;
  BITMAP info = {};
  GetObjectA(fitted.bitmap, sizeof(info), &info);
  suite::BlitMemoryBitmap(dc, fitted.bitmap, x, y, info.bmWidth, info.bmHeight, SRCCOPY, 0, 1);
}

void Repaint(HWND window) {
  if (window == nullptr) return;
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

HDC StripDc() { return SKGETHDCMEMBMP(View().stripWindow); }

void SetCountText(const std::string& text) {
  if (View().countBox != nullptr) SKSETCTLTEXT(View().countBox, text.c_str());
}

// Draws list entry `index` into strip cell 0-3 (already black).
void DrawCell(int32_t cell, int32_t index) {
  ViewState& v = View();
  HDC dc = StripDc();
  if (dc == nullptr) return;
  const int32_t left = v.geometry.cellWidth * cell;
  Fitted fitted = LoadFitted(v.list[static_cast<size_t>(index)], v.geometry.cellWidth, v.geometry.cellHeight);
  PaintAndFree(dc, fitted, left + fitted.x, kStripTop + fitted.y);
  DrawOutlinedText(dc, std::to_string(index), left, kStripTop, SKDEFAULTFONT());
}

void FillCell(int32_t cell) {
  const ViewGeometry& g = View().geometry;
  HDC dc = StripDc();
  if (dc != nullptr) SKFILLRECT(dc, g.cellWidth * cell, kStripTop, g.cellWidth, g.cellHeight, 0);
}

void CopyIntoSlot(int32_t slot, int32_t index) {
  ViewState& v = View();
  const std::string file = v.list[static_cast<size_t>(index)];
  v.slots[static_cast<size_t>(slot - 1)] = file;
  HDC dc = SKGETHDCMEMBMP(v.lightTable);
  const int32_t left = v.geometry.cellWidth * (slot - 1);
  Fitted fitted = LoadFitted(file, v.geometry.cellWidth, v.geometry.cellHeight);
  const int32_t width = fitted.width, height = fitted.height;
  if (dc != nullptr) {
    SKFILLRECT(dc, left, 0, v.geometry.cellWidth, v.geometry.cellHeight, 0);
    PaintAndFree(dc, fitted, left + fitted.x, fitted.y);
  } else if (fitted.bitmap != nullptr) {
    DeleteObject(fitted.bitmap);
  }
  SKSETCTLTEXT(v.slotLabels[static_cast<size_t>(slot - 1)], SlotCaption(file, width, height).c_str());
  Repaint(v.lightTable);
}

}  // namespace

int32_t ListCount() { return View().strip.count; }

void DrawOutlinedText(HDC dc, const std::string& text, int32_t x, int32_t y, HFONT font) {
  const int mode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, font != nullptr ? font : SKDEFAULTFONT());
  const COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
  const int outline[][2] = {{1, 0}, {0, 1}, {2, 1}, {1, 2}, {2, 2}};
  for (const auto& at : outline) TextOutA(dc, x + at[0], y + at[1], text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, RGB(255, 255, 0));
  TextOutA(dc, x + 1, y + 1, text.c_str(), static_cast<int>(text.size()));
  SetTextColor(dc, oldColour);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  SetBkMode(dc, mode);
}

HWND ShowPopupLabel(HWND owner, const std::string& text) { return suite::boxes::ShowWaitWindow(owner, text); }

std::string ReadKeywords(const std::string& picture, bool* found) {
  std::string bytes;
  *found = suite::ReadWholeFile(KeywordFilePath(picture), kMaxKeywordBytes, &bytes);
  return *found ? KeywordsOf(bytes) : std::string();
}

int32_t ScanPictureFolder(const std::string& mask, HWND countBox) {
  ViewState& v = View();
  HWND label = ShowPopupLabel(v.mainWindow, v.texts.entry(T_SCANNING));
  const std::string folder = suite::FolderOf(mask);
  std::vector<std::string> found;
  WIN32_FIND_DATAA entry = {};
  HANDLE search = FindFirstFileA(mask.c_str(), &entry);
  bool more = search != INVALID_HANDLE_VALUE;
  while (more) {
    if (suite::boxes::PollForCancel(1) != 0) break;
    SetCursor(SKCURSORWAIT());
    const std::string name = entry.cFileName;
    if (AcceptsEntryName(name) && AcceptsAttributes(entry.dwFileAttributes) && IsPictureName(name)) {
      const std::string path = folder + name;
      FILEINFO info = {};
      info.Width = 0;
      info.Height = 0;
      L_FileInfo(path.c_str(), &info, 1, nullptr);
      if (IsGifName(name)) info.Width = info.Height = 1;
      if (info.Width > 0 && info.Height > 0) {
        found.push_back(path);
        if (countBox != nullptr) SKSETCTLTEXT(countBox, std::to_string(found.size()).c_str());
        SetStatusText(Upper(path));
      }
    }
    more = FindNextFileA(search, &entry) != FALSE;
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  SortPictureList(&found);
  v.list.assign(1, std::string());
  v.list.insert(v.list.end(), found.begin(), found.end());
  v.strip.count = static_cast<int32_t>(found.size());
  if (label != nullptr) DestroyWindow(label);
  UpdateWindow(v.mainWindow);
  SetStatusText("");
  return v.strip.count;
}

void OpenFolder() {
  ViewState& v = View();
  const size_t dot = v.scanMask.rfind('.');
  if (dot != std::string::npos) {
    const std::string test = v.scanMask.substr(0, dot) + "*";
    if (SKEXIST(test.c_str())) {
      const int32_t count = ScanPictureFolder(v.scanMask, v.countBox);
      if (count > 0) {
        SetCountText(std::to_string(count));
        v.lastFolder = suite::FolderOf(v.scanMask);
        v.folderName = FolderOwnName(v.lastFolder);
        v.strip.last = 0;
        v.lastHovered = 0;
        DrawThumbnailPage();
      } else {
        ClearStrip();
      }
    }
  }
  SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

void SetList(const std::vector<std::string>& items) {
  ViewState& v = View();
  v.list.assign(1, std::string());
  v.list.insert(v.list.end(), items.begin(), items.end());
  v.strip.count = static_cast<int32_t>(items.size());
  v.strip.last = 0;
  v.lastHovered = 0;
  SetCountText(std::to_string(v.strip.count));
  DrawThumbnailPage();
}

void DrawThumbnailPage() {
  ViewState& v = View();
  if (v.strip.count == 0) return;
  const std::vector<int32_t> cells = DrawPage(&v.strip);
  for (int32_t cell = 0; cell < 4; ++cell) {
    FillCell(cell);
    const int32_t index = cells[static_cast<size_t>(cell)];
    if (index == 0) continue;
    v.currentFile = v.list[static_cast<size_t>(index)];
    if (CheckPictureFile() == 0) DrawCell(cell, index);
  }
  Repaint(v.stripWindow);
}

void ClearStrip() {
  ViewState& v = View();
  HDC dc = StripDc();
  if (dc != nullptr) SKFILLRECT(dc, 0, kStripTop, v.geometry.width, v.geometry.cellHeight, 0);
  Repaint(v.stripWindow);
  SetCountText("");
  v.list.assign(1, std::string());
  v.strip = StripState{};
  v.lastHovered = 0;
}

int32_t CheckPictureFile() {
  ViewState& v = View();
  if (!v.currentFile.empty() && SKEXIST(v.currentFile.c_str())) return 0;
  const std::string folder = Upper(suite::WithoutFinalBackslash(suite::FolderOf(v.currentFile)));
  StockIconBox(suite::FileNameOf(v.currentFile), v.texts.entry(T_MISSING_PREFIX) + folder, "",
               reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
  return -1;
}

void StripCommand(int32_t id) {
  ViewState& v = View();
  int32_t index = 0;
  const StripAction action = PageCommand(id, &v.strip, &index);
  const ViewGeometry& g = v.geometry;
  HDC dc = StripDc();
  switch (action) {
    case StripAction::DrawPage:
      DrawThumbnailPage();
      break;
    case StripAction::ShiftLeft:
      v.currentFile = v.list[static_cast<size_t>(index)];
      if (CheckPictureFile() == 0 && dc != nullptr) {
        BitBlt(dc, 0, kStripTop, 3 * g.cellWidth, g.cellHeight, dc, g.cellWidth, kStripTop, SRCCOPY);
        FillCell(3);
        DrawCell(3, index);
        Repaint(v.stripWindow);
      }
      break;
    case StripAction::ShiftRight:
      v.currentFile = v.list[static_cast<size_t>(index)];
      if (CheckPictureFile() == 0 && dc != nullptr) {
        BitBlt(dc, g.cellWidth, kStripTop, 3 * g.cellWidth, g.cellHeight, dc, 0, kStripTop, SRCCOPY);
        FillCell(0);
        DrawCell(0, index);
        Repaint(v.stripWindow);
      }
      break;
    case StripAction::None:
      break;
  }
}

void ClearSlot(int32_t slot) {
  ViewState& v = View();
  std::string& path = v.slots[static_cast<size_t>(slot - 1)];
  if (path.empty()) return;
  path.clear();
  SKSETCTLTEXT(v.slotLabels[static_cast<size_t>(slot - 1)], "");
  HDC dc = SKGETHDCMEMBMP(v.lightTable);
  if (dc != nullptr) {
    SKFILLRECT(dc, v.geometry.cellWidth * (slot - 1), 0, v.geometry.cellWidth, v.geometry.cellHeight,
               kFreeSlotColour);
  }
  Repaint(v.lightTable);
  EmptyPlacesOfSlot(slot);
}

LRESULT StripMouse(UINT message, LPARAM lParam) {
  ViewState& v = View();
  const int32_t x = static_cast<int16_t>(LOWORD(lParam));
  const int32_t index = CellIndexAt(v.strip, x, v.geometry.cellWidth);
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (index == 0) return 0;
      for (int32_t slot = 1; slot <= 4; ++slot) {
        if (!v.slots[static_cast<size_t>(slot - 1)].empty()) continue;
        v.currentFile = v.list[static_cast<size_t>(index)];
        if (CheckPictureFile() == 0) {
          CopyIntoSlot(slot, index);
        } else {
          OpenFolder();
        }
        return 0;
      }
      return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      if (index == 0) return 1;
      v.currentFile = v.list[static_cast<size_t>(index)];
      ShowPreview(true);
      return 1;
    case WM_MOUSEMOVE: {
      if (index == 0 || index == v.lastHovered) return 0;
      const std::string& path = v.list[static_cast<size_t>(index)];
      bool found = false;
      const std::string keywords = ReadKeywords(path, &found);
      v.keywordText = keywords;
      SetStatusText(HoverText(path, found, keywords));
      v.lastHovered = index;
      return 0;
    }
    default:
      return 0;
  }
}

LRESULT LightTableMouse(UINT, LPARAM lParam) {
  ViewState& v = View();
  const int32_t slot = SlotAt(static_cast<int16_t>(LOWORD(lParam)), v.geometry.cellWidth);
  v.dragSource = v.slots[static_cast<size_t>(slot - 1)].empty() ? 0 : slot;
  return 0;
}

void CreateLightTableRows() {
  ViewState& v = View();
  const ViewGeometry& g = v.geometry;
  v.marlettFont = SKMARLETT(10);
  for (int32_t n = 1; n <= 4; ++n) {
    const int32_t right = g.cellWidth * n;
    HWND label = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP,
                                 g.cellWidth * (n - 1) + 1, g.slotLabelY, g.cellWidth - 53, 16, v.clientHolder,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(20 + n)), v.instance, nullptr);
    if (label != nullptr) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
    v.slotLabels[static_cast<size_t>(n - 1)] = label;
    HWND show = SKBUT3D(v.clientHolder, "1", v.marlettFont, right - 51, g.slotLabelY + 1, 17, 15, 5 + 2 * n, 0);
    SKBUTTONTIP(v.clientHolder, show, v.texts.entry(T_VIEW_SLOT_TIP).c_str());
    HWND clear = SKBUT3D(v.clientHolder, "r", v.marlettFont, right - 33, g.slotLabelY + 1, 17, 15, 6 + 2 * n, 0);
    SKBUTTONTIP(v.clientHolder, clear, v.texts.entry(T_CLEAR_SLOT_TIP).c_str());
    HWND number = CreateWindowExA(0, "STATIC", std::to_string(n).c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER,
                                  right - 16, g.slotLabelY, 14, 16, v.clientHolder, nullptr, v.instance, nullptr);
    if (number != nullptr) {
      SendMessageA(number, WM_SETFONT, reinterpret_cast<WPARAM>(SKCAPTIONFONT()), 0);
      SKSETCOLOR(number, RGB(255, 255, 0), -1);
    }
  }
}

void PaintMemoryWindow(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  HDC memory = SKGETHDCMEMBMP(window);
  if (dc != nullptr && memory != nullptr) {
    RECT client = {};
    GetClientRect(window, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  }
  EndPaint(window, &paint);
}

}  // namespace view

// The popup label the scan shows, for other modules too: the caller
// destroys it.
extern "C" HWND __stdcall OrbViewStaticLabel(HWND owner, const char* text) {
  return view::ShowPopupLabel(owner, text != nullptr ? text : "");
}
