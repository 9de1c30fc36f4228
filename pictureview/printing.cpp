// The four layout frames with their ten places, assigning light-table slots
// to places, printing one page per used layout through the imaging library,
// the reduced preview on the full-screen window, and the printer choice.
#include <windows.h>

#include <string>
#include <vector>

#include "core/path_names.h"
#include "core/print_layout.h"
#include "imaging.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_popup.h"
#include "themecore_wait.h"
#include "view_state.h"

namespace view {

namespace {

constexpr int32_t kFrameHeight = 141;
// Places 1-10 have the control ids 31-40, the slot captions 21-24.
constexpr int kFirstPlaceId = 31;

HBITMAP LoadPicture(const std::string& file, int32_t boxWidth, int32_t boxHeight, int32_t* width, int32_t* height) {
  std::string path = file;
  int32_t colours = 0, overlay = 0;
  uint8_t bits = 0;
  return suite::LoadPictureBitmap(path, boxWidth, boxHeight, *width, *height, colours, bits, overlay, 0);
}

int32_t PlaceIndex(HWND window) {
  const ViewState& v = View();
  for (int32_t k = 0; k < kPlaceCount; ++k) {
    if (v.places[static_cast<size_t>(k)] == window) return k;
  }
  return -1;
}

void SetPlace(int32_t index, int32_t slot) {
  ViewState& v = View();
  v.assignments[static_cast<size_t>(index)] = slot;
  // Str keeps the blank of a positive number.
  SKSETCTLTEXT(v.places[static_cast<size_t>(index)], slot != 0 ? (" " + std::to_string(slot)).c_str() : "");
}

// The natural sizes of layout L's places (0 x 0 for a place without a
// picture that is there).
void PlaceSizes(int32_t layout, bool check, std::vector<int32_t>* widths, std::vector<int32_t>* heights,
                std::vector<std::string>* files) {
  ViewState& v = View();
  const int32_t first = FirstPlace(layout);
  for (int32_t k = 0; k < layout; ++k) {
    const int32_t slot = v.assignments[static_cast<size_t>(first - 1 + k)];
    std::string file = slot != 0 ? v.slots[static_cast<size_t>(slot - 1)] : std::string();
    int32_t w = 0, h = 0;
    if (!file.empty()) {
      v.currentFile = file;
      if (!check || CheckPictureFile() == 0) {
        HBITMAP bitmap = LoadPicture(file, 0, 0, &w, &h);
        if (bitmap != nullptr) {
          DeleteObject(bitmap);
        } else {
          w = h = 0;
        }
      }
    }
    if (w == 0 || h == 0) file.clear();
    widths->push_back(w);
    heights->push_back(h);
    files->push_back(file);
  }
}

bool PrintPicture(HDC printer, const std::string& file, const DeviceRect& rect) {
  int32_t width = 0, height = 0;
  HBITMAP picture = LoadPicture(file, 0, 0, &width, &height);
  if (picture == nullptr) return false;
  BITMAPHANDLE bitmap = {};
  bool printed = false;
  if (L_CreateBitmap(&bitmap, TYPE_CONV, static_cast<L_UINT>(width), static_cast<L_UINT>(height), 24, ORDER_BGR,
                     nullptr, 0, nullptr, 0) == IMG_SUCCESS) {
    HDC lead = L_CreateLeadDC(&bitmap);
    if (lead != nullptr) {
      HDC source = CreateCompatibleDC(lead);
      HGDIOBJ old = SelectObject(source, picture);
      BitBlt(lead, 0, 0, width, height, source, 0, 0, SRCCOPY);
      SelectObject(source, old);
      DeleteDC(source);
      L_DeleteLeadDC(lead);
      printed = L_PrintBitmapExt(printer, &bitmap, rect.x, rect.y, rect.width, rect.height, 0) == IMG_SUCCESS;
    }
    L_FreeBitmap(&bitmap);
  }
  DeleteObject(picture);
  return printed;
}

void PrintLayoutPage(int32_t layout, bool printMode) {
  ViewState& v = View();
  std::vector<int32_t> widths, heights;
  std::vector<std::string> files;
  PlaceSizes(layout, true, &widths, &heights, &files);
  const Composite composite = ComposePage(layout, widths, heights);
  TraceProgramCall("PrintLayoutPage", std::to_string(layout) + ", " + std::to_string(composite.width) + "x" +
                                          std::to_string(composite.height),
                   composite.empty ? "empty" : "");
  // A page whose pictures are all missing is not printed at all.
  if (composite.empty) return;
  if (printMode) {
    if (v.printDc == nullptr) return;
    DOCINFOA document = {};
    document.cbSize = sizeof(document);
    const std::string name = v.texts.entry(T_TITLE);
    document.lpszDocName = name.c_str();
    if (StartDocA(v.printDc, &document) <= 0) return;
    if (StartPage(v.printDc) <= 0) {
      AbortDoc(v.printDc);
      return;
    }
    PageMetrics page;
    page.horzSizeMm = GetDeviceCaps(v.printDc, HORZSIZE);
    page.vertSizeMm = GetDeviceCaps(v.printDc, VERTSIZE);
    page.horzRes = GetDeviceCaps(v.printDc, HORZRES);
    page.vertRes = GetDeviceCaps(v.printDc, VERTRES);
    const std::vector<DeviceRect> rects = PrintRectangles(composite, widths, heights, page);
    for (size_t k = 0; k < files.size(); ++k) {
      if (files[k].empty()) continue;
      PrintPicture(v.printDc, files[k], rects[k]);
    }
    if (EndPage(v.printDc) > 0) {
      EndDoc(v.printDc);
    } else {
      AbortDoc(v.printDc);
    }
    return;
  }
  RECT main = {};
  GetWindowRect(v.mainWindow, &main);
  const Preview preview = PreviewOf(composite, widths, heights, main.left, main.top, main.right - main.left,
                                    main.bottom - main.top, v.screenWidth, v.screenHeight);
  SetWindowPos(v.zoomWindow, HWND_TOPMOST, preview.x, preview.y, preview.width, preview.height, SWP_SHOWWINDOW);
  HDC dc = GetDC(v.zoomWindow);
  SKFILLRECT(dc, 0, 0, preview.width, preview.height, RGB(255, 255, 255));
  SKDRAWEDGE(dc, 0, 0, preview.width, preview.height, EDGE_RAISED, BF_RECT);
  SKDRAWEDGE(dc, 2, 2, preview.width - 4, preview.height - 4, EDGE_SUNKEN, BF_RECT);
  for (size_t k = 0; k < files.size(); ++k) {
    if (files[k].empty()) continue;
    const DeviceRect& at = preview.pictures[k];
    int32_t w = 0, h = 0;
    HBITMAP bitmap = LoadPicture(files[k], std::max(1, at.width), std::max(1, at.height), &w, &h);
    if (bitmap == nullptr) continue;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof(info), &info);
    suite::BlitMemoryBitmap(dc, bitmap, at.x, at.y, info.bmWidth, info.bmHeight, SRCCOPY, 0, 1);
  }
  ReleaseDC(v.zoomWindow, dc);
  v.viewState = 2;
}

// Waits for a click or a key between two sheets, taking only input from
// the queue.  False when the program is being closed.
bool WaitForNextSheet() {
  while (true) {
    MSG msg = {};
    if (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) && msg.message == WM_KEYDOWN) return true;
    if (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) &&
        (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK)) {
      return true;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_INPUT | QS_POSTMESSAGE);
  }
}

}  // namespace

bool HasDefaultPrinter() {
  char device[256] = {};
  GetProfileStringA("WINDOWS", "DEVICE", ",,,", device, sizeof(device));
  return std::string(device) != ",,," && device[0] != '\0';
}

void CreateLayoutFrames() {
  ViewState& v = View();
  const ViewGeometry& g = v.geometry;
  int32_t place = 0;
  for (int32_t layout = 1; layout <= 4; ++layout) {
    const int32_t x = g.framesX + (layout - 1) * g.frameStep;
    const std::string title = v.texts.entry(T_LAYOUT) + " " + std::to_string(layout);
    HWND frame = CreateWindowExA(0, "STATIC", title.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_CENTER, x,
                                 g.frameY, g.frameWidth, kFrameHeight, v.clientHolder, nullptr, v.instance, nullptr);
    if (frame != nullptr) {
      SendMessageA(frame, WM_SETFONT, reinterpret_cast<WPARAM>(SKDEFAULTFONT()), 0);
      SKSETCOLOR(frame, RGB(255, 255, 255), RGB(128, 128, 128));
    }
    v.layoutFrames[static_cast<size_t>(layout - 1)] = frame;
    for (const PlaceBox& box : PlaceBoxes(layout, g.frameWidth)) {
      HWND window = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_NOTIFY | SS_CENTER,
                                    x + box.x, g.frameY + box.y, box.width, box.height, v.clientHolder,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstPlaceId + place)), v.instance,
                                    nullptr);
      if (window != nullptr) {
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(SKCAPTIONFONT()), 0);
        SKSETCOLOR(window, RGB(255, 0, 0), RGB(223, 223, 223));
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      }
      v.places[static_cast<size_t>(place++)] = window;
    }
  }
}

LRESULT PlaceClicked(HWND place) {
  ViewState& v = View();
  const int32_t index = PlaceIndex(place);
  if (index < 0 || v.dragSource == 0) return 0;
  SetPlace(index, v.dragSource);
  v.dragSource = 0;
  return 0;
}

void EmptyPlacesOfSlot(int32_t slot) {
  ViewState& v = View();
  for (int32_t k = 0; k < kPlaceCount; ++k) {
    if (v.assignments[static_cast<size_t>(k)] == slot) SetPlace(k, 0);
  }
}

void ChoosePrinter() {
  ViewState& v = View();
  if (!HasDefaultPrinter()) {
    StockIconBox(v.texts.entry(T_TITLE), suite::WindowsErrorText(1797), "", reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
    return;
  }
  if (v.printDc != nullptr) DeleteDC(v.printDc);
  v.printDc = SKPRINTDLG(v.mainWindow);
}

void PrintLayouts(bool printMode) {
  ViewState& v = View();
  bool assigned = false;
  for (int32_t slot : v.assignments) assigned = assigned || slot != 0;
  if (!assigned) {
    StockIconBox(v.texts.entry(T_TITLE), v.texts.entry(T_NOTHING_TO_PRINT), "", reinterpret_cast<LPCSTR>(IDI_ASTERISK));
    return;
  }
  if (printMode) {
    if (!HasDefaultPrinter()) {
      StockIconBox(v.texts.entry(T_TITLE), suite::WindowsErrorText(1797), "",
                   reinterpret_cast<LPCSTR>(IDI_EXCLAMATION));
      return;
    }
    SetCursor(SKCURSORWAIT());
    if (v.printDc != nullptr) DeleteDC(v.printDc);
    v.printDc = SKPRINTDLG(v.mainWindow);
    if (v.printDc == nullptr) return;
  }
  bool printed = false;
  v.dragSource = 0;
  for (int32_t layout = 1; layout <= 4; ++layout) {
    bool used = false;
    for (int32_t k = 0; k < layout; ++k) used = used || v.assignments[static_cast<size_t>(FirstPlace(layout) - 1 + k)] != 0;
    if (!used) continue;
    if (printMode && printed) {
      SetStatusText(v.texts.entry(T_NEXT_SHEET));
      EnableWindow(v.mainWindow, FALSE);
      const bool goOn = WaitForNextSheet();
      EnableWindow(v.mainWindow, TRUE);
      if (!goOn) break;
    }
    PrintLayoutPage(layout, printMode);
    printed = true;
  }
  if (printed) SetStatusText("");
}

}  // namespace view
