// The picture type's thumbnails: the records of the loaded thumbnails, the
// loader thread that fills them one by one, the drawing of a thumbnail cell,
// and the file list's subclass that shows a picture's facts while the mouse
// is over it.
//
// The records belong to the main thread alone.  The loader thread reads the
// list through messages, loads a picture and hands the bitmap to the main
// thread with a sent message; the main thread keeps it only when it still
// belongs to the listing the thread was started for (same generation, same
// item name) and the item has none yet.  A refill stops the thread and waits
// for it before the list is emptied, so no load of an old folder can land in
// a new one.  The flags the thread reads are atomics.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/file_list_rules.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"

namespace browser {

namespace {

constexpr size_t kColoursWordEntry = 57;
constexpr size_t kBytesWordEntry = 58;
constexpr size_t kOverlayWordEntry = 90;
constexpr size_t kSideFilesEntry = 50;
constexpr int32_t kLedSize = 6;
constexpr int32_t kTransparentKey = 0xFF00FF;
// How long the main thread waits for the loader to end before it gives up
// on the wait (the thread then ends on its own at its next check).
constexpr DWORD kThumbnailJoinMs = 20000;

struct ThumbnailRecord {
  HBITMAP bitmap = nullptr;
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t colours = 0;
  uint32_t fileSize = 0;
  uint8_t bitsPerPixel = 0;
  uint8_t overlayPresent = 0;
};

// One load handed from the loader thread to the main thread.
struct LoadedThumbnail {
  uint32_t generation = 0;
  int index = 0;
  std::string item;
  ThumbnailRecord record;
};

// What the loader thread takes along: its own copies.
struct LoaderJob {
  HWND fileList = nullptr;
  HWND mainWindow = nullptr;
  std::string folder;
  std::string title;
  int32_t size = 0;
  uint32_t generation = 0;
};

std::vector<ThumbnailRecord> g_records;  // main thread only
HANDLE g_loader = nullptr;               // main thread only
std::atomic<bool> g_stop{false};
std::atomic<bool> g_busy{false};
std::atomic<uint32_t> g_generation{0};
int g_lastHovered = -1;
WNDPROC g_previousListProc = nullptr;

void DeleteBitmap(HBITMAP bitmap) {
  HGDIOBJ object = bitmap;
  if (object != nullptr) SKDELETEOBJECT(&object);
}

ThumbnailRecord* RecordOf(HBITMAP bitmap) {
  if (bitmap == nullptr) return nullptr;
  for (ThumbnailRecord& record : g_records) {
    if (record.bitmap == bitmap) return &record;
  }
  return nullptr;
}

HBITMAP ItemBitmap(HWND list, int index) {
  LRESULT data = SendMessageA(list, LB_GETITEMDATA, index, 0);
  return data == LB_ERR ? nullptr : reinterpret_cast<HBITMAP>(data);
}

uint32_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeHigh != 0 ? 0xFFFFFFFFu : data.nFileSizeLow;
}

ThumbnailRecord LoadThumbnail(const std::string& path, int32_t size) {
  ThumbnailRecord record;
  std::string loaded = path;
  int32_t width = 0, height = 0, colours = 0, overlay = 0;
  uint8_t bits = 0;
  record.bitmap = suite::LoadPictureBitmap(loaded, size, size, width, height, colours, bits, overlay, 1);
  if (record.bitmap == nullptr) return record;
  record.width = static_cast<uint16_t>(std::clamp(width, 0, 0xFFFF));
  record.height = static_cast<uint16_t>(std::clamp(height, 0, 0xFFFF));
  record.colours = static_cast<uint32_t>(std::max(colours, 0));
  record.bitsPerPixel = bits;
  record.overlayPresent = overlay != 0 ? 1 : 0;
  record.fileSize = FileSizeOf(path);
  return record;
}

// Keeps a loaded thumbnail as the item's, or deletes it when the list moved
// on.  True when kept.
bool StoreThumbnail(LoadedThumbnail* loaded) {
  BrowserState& b = Browser();
  if (loaded->record.bitmap == nullptr) return false;
  if (loaded->generation != g_generation.load() || !b.thumbnailMode) return false;
  int index = loaded->index;
  if (ListItemText(b.fileList, index) != loaded->item) {
    LRESULT found = SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(loaded->item.c_str()));
    if (found == LB_ERR) return false;
    index = static_cast<int>(found);
  }
  if (ItemBitmap(b.fileList, index) != nullptr) return false;
  g_records.push_back(loaded->record);
  SendMessageA(b.fileList, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(loaded->record.bitmap));
  RECT cell = {};
  if (SendMessageA(b.fileList, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&cell)) != LB_ERR) {
    InvalidateRect(b.fileList, &cell, FALSE);
  }
  loaded->record.bitmap = nullptr;
  return true;
}

DWORD WINAPI ThumbnailThread(void* parameter) {
  LoaderJob* job = static_cast<LoaderJob*>(parameter);
  bool loadedAny = false;
  for (int i = 0;; ++i) {
    Sleep(0);
    if (g_stop.load() || job->generation != g_generation.load()) break;
    LRESULT count = SendMessageA(job->fileList, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || i >= count) break;
    if (SendMessageA(job->fileList, LB_GETITEMDATA, i, 0) != 0) continue;
    std::string item = ListItemText(job->fileList, i);
    if (item.empty()) continue;
    loadedAny = true;
    std::string progress = job->title + " " + std::to_string(i + 1) + "/" + std::to_string(count);
    SendMessageA(job->mainWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(progress.c_str()));
    LoadedThumbnail loaded;
    loaded.generation = job->generation;
    loaded.index = i;
    loaded.item = item;
    loaded.record = LoadThumbnail(job->folder + suite::TrimLeadingBlanks(item), job->size);
    if (loaded.record.bitmap == nullptr) continue;
    if (!g_stop.load()) {
      SendMessageA(job->mainWindow, WM_BROWSER_THUMBNAIL, 0, reinterpret_cast<LPARAM>(&loaded));
    }
    // Not taken by the main thread: this thread deletes it.
    DeleteBitmap(loaded.record.bitmap);
  }
  if (loadedAny) {
    RedrawWindow(job->fileList, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(job->mainWindow, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(job->title.c_str()));
  }
  delete job;
  g_busy.store(false);
  return 0;
}

// The little marks of a cell: an LED per sound, keyword or sound-effect
// side file, and the timing text of a ".tim" file.
std::string DrawSideFileMarks(HDC dc, const std::string& path, int32_t cell) {
  BrowserState& b = Browser();
  std::string timing;
  static const char* const kLedExtensions[] = {"sfx", "kwd", "wav"};
  HDC leds = b.miniLed != nullptr ? CreateCompatibleDC(dc) : nullptr;
  HGDIOBJ oldLed = leds != nullptr ? SelectObject(leds, b.miniLed) : nullptr;
  int32_t x = cell - 4 - kLedSize;
  for (size_t i = 0; i < 3; ++i) {
    std::string side = suite::WithoutExtension(path) + "." + kLedExtensions[i];
    if (GetFileAttributesA(side.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    if (leds != nullptr) {
      SKTRANSBLT(dc, x, 4, kLedSize, kLedSize, leds, static_cast<int32_t>(i) * kLedSize, 0, kTransparentKey);
    }
    x -= kLedSize + 1;
  }
  if (leds != nullptr) {
    SelectObject(leds, oldLed);
    DeleteDC(leds);
  }
  std::string tim = suite::WithoutExtension(path) + ".tim";
  HANDLE file = CreateFileA(tim.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[32] = {};
    DWORD read = 0;
    if (ReadFile(file, buffer, sizeof(buffer) - 1, &read, nullptr)) timing = TimingCellText(std::string(buffer, read));
    CloseHandle(file);
  }
  return timing;
}

void FrameRect3D(HDC dc, RECT r, COLORREF light, COLORREF dark) {
  HPEN lightPen = CreatePen(PS_SOLID, 1, light);
  HPEN darkPen = CreatePen(PS_SOLID, 1, dark);
  HGDIOBJ old = SelectObject(dc, lightPen);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, darkPen);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left, r.bottom - 1);
  SelectObject(dc, old);
  DeleteObject(lightPen);
  DeleteObject(darkPen);
}

void FrameInset(HDC dc, RECT r, int inset, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  RECT inner = {r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  FrameRect(dc, &inner, brush);
  DeleteObject(brush);
}

}  // namespace

void RequestThumbnailStop() { g_stop.store(true); }

void StopThumbnails() {
  g_stop.store(true);
  g_generation.fetch_add(1);
  if (g_loader == nullptr) return;
  if (WaitForThreadPumpingSent(g_loader, kThumbnailJoinMs)) {
    CloseHandle(g_loader);
    g_loader = nullptr;
  }
}

void StartThumbnails() {
  BrowserState& b = Browser();
  if (!b.thumbnailMode || b.fileList == nullptr) return;
  if (g_loader != nullptr) {
    if (WaitForSingleObject(g_loader, 0) != WAIT_OBJECT_0) {
      // Still at work on this listing: it goes on.
      if (!g_stop.load()) return;
      StopThumbnails();
      if (g_loader != nullptr) return;
    } else {
      CloseHandle(g_loader);
      g_loader = nullptr;
    }
  }
  g_stop.store(false);
  g_busy.store(true);
  auto* job = new LoaderJob;
  job->fileList = b.fileList;
  job->mainWindow = b.mainWindow;
  job->folder = suite::WithFinalBackslash(b.currentFolder);
  job->title = b.texts.entry(1);
  job->size = b.itemHeight;
  job->generation = g_generation.load();
  g_loader = CreateThread(nullptr, 0, ThumbnailThread, job, 0, nullptr);
  if (g_loader == nullptr) {
    delete job;
    g_busy.store(false);
  }
}

bool ThumbnailsBusy() { return g_busy.load(); }

void FreeThumbnails() {
  BrowserState& b = Browser();
  StopThumbnails();
  if (b.fileList != nullptr) {
    LRESULT count = SendMessageA(b.fileList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) SendMessageA(b.fileList, LB_SETITEMDATA, i, 0);
  }
  for (ThumbnailRecord& record : g_records) DeleteBitmap(record.bitmap);
  g_records.clear();
  g_lastHovered = -1;
}

void DropThumbnail(int index) {
  BrowserState& b = Browser();
  HBITMAP bitmap = ItemBitmap(b.fileList, index);
  if (bitmap == nullptr) return;
  SendMessageA(b.fileList, LB_SETITEMDATA, index, 0);
  auto it = std::find_if(g_records.begin(), g_records.end(),
                         [bitmap](const ThumbnailRecord& record) { return record.bitmap == bitmap; });
  if (it != g_records.end()) {
    DeleteBitmap(it->bitmap);
    g_records.erase(it);
  }
  g_lastHovered = -1;
}

LRESULT OnThumbnailLoaded(LPARAM lParam) {
  auto* loaded = reinterpret_cast<LoadedThumbnail*>(lParam);
  return loaded != nullptr && StoreThumbnail(loaded) ? 1 : 0;
}

// A thumbnail cell: frame, picture, side-file marks, number and name,
// drawn off screen and copied in one piece.  An item whose picture the
// loader has not reached yet is loaded here; painting never pumps messages,
// so no command can change the list while a cell is drawn.
void DrawThumbnailCell(const DRAWITEMSTRUCT* item) {
  BrowserState& b = Browser();
  if (item->itemID == static_cast<UINT>(-1)) return;
  const int index = static_cast<int>(item->itemID);
  const int32_t h = b.itemHeight;
  const int32_t s = h + 6;
  const RECT& r = item->rcItem;
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const COLORREF textColour = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 115 : 101));
  const COLORREF back = static_cast<COLORREF>(SKGETSYSCOLOR(selected ? 114 : 104));
  const COLORREF frame = selected ? RGB(255, 0, 0) : back;
  const COLORREF listBack = static_cast<COLORREF>(SKGETSYSCOLOR(104));

  HDC dc = CreateCompatibleDC(item->hDC);
  HBITMAP canvas = CreateCompatibleBitmap(item->hDC, s, s);
  if (dc == nullptr || canvas == nullptr) {
    if (canvas != nullptr) DeleteObject(canvas);
    if (dc != nullptr) DeleteDC(dc);
    return;
  }
  HGDIOBJ oldCanvas = SelectObject(dc, canvas);
  SKFILLRECT(dc, 0, 0, s, s, static_cast<int32_t>(back));
  RECT cell = {0, 0, s, s};
  FrameRect3D(dc, cell, static_cast<COLORREF>(SKGETSYSCOLOR(113)), static_cast<COLORREF>(SKGETSYSCOLOR(112)));
  FrameInset(dc, cell, 1, frame);
  FrameInset(dc, cell, 2, frame);

  std::string name = suite::TrimLeadingBlanks(ListItemText(b.fileList, index));
  std::string path = suite::WithFinalBackslash(b.currentFolder) + name;
  HBITMAP thumbnail = reinterpret_cast<HBITMAP>(item->itemData);
  if (thumbnail == nullptr && !name.empty()) {
    LoadedThumbnail loaded;
    loaded.generation = g_generation.load();
    loaded.index = index;
    loaded.item = ListItemText(b.fileList, index);
    loaded.record = LoadThumbnail(path, h);
    HBITMAP fresh = loaded.record.bitmap;
    if (StoreThumbnail(&loaded)) thumbnail = fresh;
    DeleteBitmap(loaded.record.bitmap);
  }
  BITMAP facts = {};
  if (thumbnail != nullptr && GetObjectA(thumbnail, sizeof(facts), &facts) != 0) {
    int32_t x = 0, y = 0, width = 0, height = 0;
    if (SKICONISE(facts.bmWidth, facts.bmHeight, h, h, &x, &y, &width, &height) == 1) {
      HDC source = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(source, thumbnail);
      BitBlt(dc, 3 + x, 3 + y, width, height, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
    }
  }

  std::string timing;
  if (b.option408 != 0 && !name.empty()) timing = DrawSideFileMarks(dc, path, s);

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(b.fileList, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColour);
  RECT nameRect = {4, s - 18, s - 4, s - 4};
  DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &nameRect,
            DT_CENTER | DT_SINGLELINE | DT_BOTTOM | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  LRESULT count = SendMessageA(b.fileList, LB_GETCOUNT, 0, 0);
  std::string number = std::to_string(count == 1 ? 0 : index + 1) + timing;
  SKPRINT3DU(dc, number.c_str(), 5, 2, SKGETSYSCOLOR(113), SKGETSYSCOLOR(112), font, 1);

  SKFILLRECT(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, static_cast<int32_t>(listBack));
  BitBlt(item->hDC, r.left, r.top, std::min<int32_t>(s, r.right - r.left), std::min<int32_t>(s, r.bottom - r.top), dc,
         0, 0, SRCCOPY);
  SelectObject(dc, oldCanvas);
  DeleteObject(canvas);
  DeleteDC(dc);
}

namespace {

void ShowHoverFacts(HWND list, LPARAM point) {
  BrowserState& b = Browser();
  LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, point);
  if (HIWORD(hit) != 0) return;
  int index = LOWORD(hit);
  if (index == g_lastHovered) return;
  ThumbnailRecord* record = RecordOf(ItemBitmap(list, index));
  if (record == nullptr) return;
  g_lastHovered = index;
  ThumbnailFacts facts;
  facts.name = suite::TrimLeadingBlanks(ListItemText(list, index));
  facts.width = record->width;
  facts.height = record->height;
  facts.colours = record->colours;
  facts.fileSize = record->fileSize;
  facts.hasOverlay = record->overlayPresent != 0;
  std::string text = ThumbnailStatusText(facts, b.texts.entry(kColoursWordEntry), b.texts.entry(kBytesWordEntry),
                                         b.texts.entry(kOverlayWordEntry));
  if (b.statusWindow != nullptr) SKSETCTLTEXT(b.statusWindow, text.c_str());
}

LRESULT CALLBACK FileListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BrowserState& b = Browser();
  WNDPROC previous = g_previousListProc;
  switch (message) {
    case WM_ERASEBKGND:
      if (b.fileOrderChanged) b.fileOrderChanged = false;
      break;
    case WM_MOUSEMOVE:
      if (b.thumbnailMode) ShowHoverFacts(window, lParam);
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      g_previousListProc = nullptr;
      break;
  }
  return CallWindowProcA(previous, window, message, wParam, lParam);
}

}  // namespace

void SubclassFileList() {
  BrowserState& b = Browser();
  if (b.fileList == nullptr || g_previousListProc != nullptr) return;
  g_previousListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(b.fileList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileListProc)));
}

}  // namespace browser
