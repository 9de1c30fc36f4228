// The album pages and contact sheets of the selected pictures.  Both take
// their grid (columns, rows, divisor) from the command's action entry and
// share one page geometry (core/overview_pages.h).
//
// Album pages are ORBCT000.htm and on in the folder the user chooses; the
// small JPEG copies go to a folder of their own beside the pages, under
// names that never meet a picture of the selection, so that no picture is
// ever written over by its copy.  Names and links are escaped for HTML and
// URLs.  Contact sheets are written to the current folder (to a chosen one
// when that is on a CD) under the first free names of the same sequence.
#include "picture_overviews.h"

#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "batch_internal.h"
#include "browser_state.h"
#include "core/overview_pages.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "orbboxes.h"
#include "overlay_draw.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_names.h"
#include "themecore_popup.h"

namespace browser {

namespace {

constexpr int kCaptionOption = 809;
constexpr int kOneSheetCommand = 1400;
constexpr int32_t kCdErrorText = 29;
constexpr int32_t kCreateFailedErrorText = 82;

// Text entries.
constexpr size_t kCaptionEntry = 1;
constexpr size_t kYesNoEntry = 29;
constexpr size_t kOkCancelEntry = 32;
constexpr size_t kTargetButtonsEntry = 47;
constexpr size_t kAlbumDoneEntry = 59;
constexpr size_t kTitlePromptEntry = 60;
constexpr size_t kTitleEntry = 61;
constexpr size_t kSheetsOnCdEntry = 63;

constexpr int32_t kTitleLength = 40;
constexpr int32_t kJpegQuality = 25;
// Names of a sheet run that may be found taken before the run gives up.
constexpr int kMostSkippedNames = 9999;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool OnCdDrive(const std::string& folder) {
  return folder.size() >= 3 && folder[1] == ':' && GetDriveTypeA(folder.substr(0, 3).c_str()) == DRIVE_CDROM;
}

bool Cancelled() { return suite::boxes::PollForCancel(1) == suite::boxes::kCancelledByUser; }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

OverviewGrid GridOf(int id) { return GridFromAction(suite::MenuAction(id, Browser().menus)); }

// The caption option (the check mark of its menu item).
bool CaptionsOn() {
  HMENU menu = Browser().mainMenu;
  return menu != nullptr && (GetMenuState(menu, kCaptionOption, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// Shows which picture is at work: its list item selected, or no longer.
void MarkItem(const BatchItem& item, bool selected) {
  int index = CurrentListIndex(BatchFolder(), item);
  if (index >= 0) SendMessageA(Browser().fileList, LB_SETSEL, selected ? TRUE : FALSE, index);
}

// The target box with its CD and creation checks: the chosen folder with
// its final backslash, or "" when the command ends.
std::string ChooseFolder(std::string start, bool keepAsLastTarget) {
  BrowserState& b = Browser();
  int32_t answer = TargetBox(b.mainWindow, b.texts.entry(kTargetButtonsEntry), &start);
  std::string folder = suite::TrimBlanks(start);
  if (answer == 3 || folder.empty()) return std::string();
  if (keepAsLastTarget) b.lastTarget = folder;
  folder = suite::WithFinalBackslash(folder);
  if (OnCdDrive(folder)) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCdErrorText));
    return std::string();
  }
  if (answer == 2 && SKMAKEDIR(folder.c_str()) == 0) {
    suite::boxes::ShowWarningBox(suite::WindowsErrorText(kCreateFailedErrorText));
    return std::string();
  }
  return folder;
}

// ---------------------------------------------------------------------------
// Album pages.

// One open page; lines go through HtmlLineText and end in CR LF.
class PageFile {
 public:
  explicit PageFile(const std::string& path) {
    SKKILLFILE(path.c_str());
    error_ = SKFOPEN(path.c_str(), 1, 1, &handle_);
    if (error_ != 0) handle_ = 0;
  }
  ~PageFile() {
    if (handle_ != 0) SKFCLOSE(handle_);
  }
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;
  int32_t error() const { return error_; }
  void Write(const std::string& line) {
    if (handle_ == 0) return;
    std::string text = HtmlLineText(line) + "\r\n";
    if (error_ == 0) error_ = SKFPUT(handle_, text.data(), static_cast<int32_t>(text.size()));
  }
  void Write(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Write(line);
  }

 private:
  int32_t handle_ = 0;
  int32_t error_ = 0;
};

// The small copy of one picture, fitted into a cell, with its overlay; the
// cell when it was written.
bool MakeAlbumCell(const BatchItem& item, const PageGeometry& geometry, const std::string& copyPath,
                   AlbumCell* cell) {
  std::string path = item.path;
  suite::ConvertGifForImaging(path);
  BITMAPHANDLE bitmap = {};
  if (L_LoadBitmap(path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) return false;
  int32_t x = 0, y = 0, width = 0, height = 0;
  bool made = SKICONISE(bitmap.Width, bitmap.Height, geometry.cellWidth, geometry.cellHeight, &x, &y, &width,
                        &height) != 0;
  if (made) {
    if (HDC dc = L_CreateLeadDC(&bitmap)) {
      overlay::ObfLoadOverlay(dc, item.path);
      L_DeleteLeadDC(dc);
    }
    made = L_SizeBitmap(&bitmap, width, height, SIZE_RESAMPLE) == IMG_SUCCESS &&
           (bitmap.Flags & BITMAP_CONVENTIONAL) != 0 &&
           L_SaveBitmap(copyPath.c_str(), &bitmap, FILE_JPEG, 24, kJpegQuality, 0) == IMG_SUCCESS;
  }
  L_FreeBitmap(&bitmap);
  if (!made) return false;
  cell->fileName = item.name;
  cell->pictureUrl = FileUrlOf(item.path);
  cell->width = width;
  cell->height = height;
  return true;
}

void MakeAlbum(int id) {
  BrowserState& b = Browser();
  if (BatchRunning()) return;
  const LRESULT selected = SendMessageA(b.fileList, LB_GETSELCOUNT, 0, 0);
  const std::string folder = ChooseFolder(b.lastTarget.empty() ? b.currentFolder : b.lastTarget, true);
  if (folder.empty() || selected <= 0) return;

  char title[kTitleLength + 1] = "";
  lstrcpynA(title, b.texts.entry(kTitleEntry).c_str(), sizeof(title));
  if (SKINPUTBOX(b.mainWindow, SKCAPTIONFONT(), b.texts.entry(kCaptionEntry).c_str(),
                 b.texts.entry(kTitlePromptEntry).c_str(), b.texts.entry(kOkCancelEntry).c_str(), title,
                 sizeof(title), nullptr, 0) != 1) {
    return;
  }
  PageGeometry geometry;
  const OverviewGrid grid = GridOf(id);
  if (!ComputePageGeometry(GetSystemMetrics(SM_CXSCREEN), grid, &geometry)) return;
  if (!BeginBatch()) return;
  const std::vector<BatchItem> items = SelectedBatchItems();

  // The copies' folder, and the names there that belong to pictures of the
  // selection (never written over).
  const std::string copyFolder = folder + kAlbumPictureFolder + "\\";
  SKMAKEDIR(copyFolder.c_str());
  std::vector<std::string> fileNames;
  std::set<std::string> taken;
  for (const BatchItem& item : items) {
    fileNames.push_back(item.name);
    if (suite::EqualsNoCase(suite::FolderOf(item.path), copyFolder)) taken.insert(item.name);
  }
  const std::vector<std::string> copyNames = AlbumImageNames(fileNames, taken);

  const int32_t pages = PageCount(items.size(), geometry.perPage);
  std::vector<std::string> pagePaths;
  std::string stem = kFirstOverviewStem;
  size_t next = 0;
  bool cancelled = false;
  int32_t failure = 0;
  std::string failedPage;
  for (int32_t page = 1; page <= pages && !cancelled && failure == 0; ++page) {
    if (page > 1) stem = themecore::NextSequenceName(stem);
    const std::string path = folder + stem + ".htm";
    PageFile file(path);
    pagePaths.push_back(path);
    file.Write(AlbumPageHead(title, page, pages));
    for (int32_t row = 0; row < grid.rows && !cancelled; ++row) {
      file.Write(kAlbumRowStart);
      for (int32_t column = 0; column < grid.columns; ++column) {
        if (Cancelled()) {
          cancelled = true;
          break;
        }
        if (next >= items.size()) continue;
        const BatchItem& item = items[next];
        const std::string& copyName = copyNames[next];
        ++next;
        MarkItem(item, true);
        AlbumCell cell;
        if (MakeAlbumCell(item, geometry, copyFolder + copyName, &cell)) {
          cell.imageSrc = PercentEncodePath(std::string(kAlbumPictureFolder) + "/" + copyName);
          file.Write(AlbumCellLines(cell));
        }
        MarkItem(item, false);
      }
      if (!cancelled) file.Write(kAlbumRowEnd);
    }
    if (cancelled) file.Write(kAlbumRowEnd);
    file.Write(kAlbumPageEnd);
    if (file.error() != 0) {
      failure = file.error();
      failedPage = path;
    }
  }
  EndBatch();
  if (failure != 0) {
    // A page that could not be written is said so, not called done.
    suite::boxes::ShowWarningBox(failedPage + "||" + suite::WindowsErrorText(failure));
    return;
  }
  if (cancelled) return;
  std::string message = std::to_string(pages) + PluralText(pages, b.texts.entry(kAlbumDoneEntry));
  message = suite::ReplaceAll(message, "@", folder + "orbct???.htm");
  if (suite::boxes::ShowInfoBox(message, b.texts.entry(kYesNoEntry)) == 1) SendFilesToModule(JoinPaths(pagePaths));
}

// ---------------------------------------------------------------------------
// Contact sheets.

// The name halo: the text in white around its place, then in black on it.
void DrawCaption(HDC dc, const std::string& text, const RECT& place) {
  static const POINT kHalo[] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, -1}, {0, 1}};
  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  SetTextColor(dc, kWhite);
  for (const POINT& offset : kHalo) {
    RECT moved = place;
    OffsetRect(&moved, offset.x, offset.y);
    DrawTextA(dc, text.c_str(), -1, &moved, format);
  }
  SetTextColor(dc, kBlack);
  RECT exact = place;
  DrawTextA(dc, text.c_str(), -1, &exact, format);
}

// One cell: the picture fitted and centred, its frame, its caption.
void DrawSheetCell(HDC dc, const BatchItem& item, CellPlace place, const PageGeometry& geometry, bool caption,
                   bool showProgress) {
  if (showProgress) MarkItem(item, true);
  std::string path = item.path;
  int32_t width = 0, height = 0, colours = 0, overlayPresent = 0;
  uint8_t bitsPerPixel = 0;
  HBITMAP picture = suite::LoadPictureBitmap(path, geometry.cellWidth, geometry.cellHeight, width, height, colours,
                                             bitsPerPixel, overlayPresent, 0);
  if (picture != nullptr) {
    int32_t x = 0, y = 0, fittedWidth = 0, fittedHeight = 0;
    if (SKICONISE(width, height, geometry.cellWidth, geometry.cellHeight, &x, &y, &fittedWidth, &fittedHeight) != 0) {
      suite::BlitMemoryBitmap(dc, picture, place.x + x, place.y + y, fittedWidth, fittedHeight, SRCCOPY, 0, 1);
    }
    if (picture != nullptr) DeleteObject(picture);
  }
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, place.x, place.y, place.x + geometry.cellWidth, place.y + geometry.cellHeight, 0, 0);
  SelectObject(dc, oldBrush);
  if (caption) {
    RECT rect = {place.x + 5, place.y + geometry.cellHeight - 21, place.x + geometry.cellWidth - 5,
                 place.y + geometry.cellHeight - 2};
    DrawCaption(dc, item.name, rect);
  }
  if (showProgress) MarkItem(item, false);
}

// The next free sheet name of the sequence ("" when too many are taken).
std::string NextFreeSheet(const std::string& folder, std::string* stem, bool* first, int* skipped) {
  while (true) {
    if (!*first) *stem = themecore::NextSequenceName(*stem);
    *first = false;
    if (stem->empty()) return std::string();
    const std::string path = folder + *stem + ".bmp";
    if (!Exists(path)) return path;
    if (++*skipped > kMostSkippedNames) return std::string();
  }
}

void MakeContactSheets(int id) {
  BrowserState& b = Browser();
  if (BatchRunning() || SendMessageA(b.fileList, LB_GETSELCOUNT, 0, 0) <= 0) return;
  std::string folder = suite::WithFinalBackslash(b.currentFolder);
  if (OnCdDrive(folder)) {
    suite::boxes::ShowWarningBox(b.texts.entry(kSheetsOnCdEntry));
    char temp[MAX_PATH] = "";
    SKGETTEMPPATH(temp, sizeof(temp));
    folder = ChooseFolder(temp, false);
    if (folder.empty()) return;
  }
  PageGeometry geometry;
  const OverviewGrid grid = GridOf(id);
  if (!ComputePageGeometry(GetSystemMetrics(SM_CXSCREEN), grid, &geometry)) return;
  const int32_t sheetHeight = geometry.gridHeight + kFooterHeight;
  BITMAPHANDLE canvas = {};
  if (L_CreateBitmap(&canvas, TYPE_CONV, static_cast<L_UINT>(geometry.pageWidth), static_cast<L_UINT>(sheetHeight),
                     24, ORDER_BGR, nullptr, 0, nullptr, 0) != IMG_SUCCESS) {
    return;
  }
  HDC dc = L_CreateLeadDC(&canvas);
  if (dc == nullptr || !BeginBatch()) {
    if (dc != nullptr) L_DeleteLeadDC(dc);
    L_FreeBitmap(&canvas);
    return;
  }
  const std::vector<BatchItem> items = SelectedBatchItems();
  const bool repeatFirst = id > kOneSheetCommand;
  const bool plain = id >= kOneSheetCommand;
  const size_t fileCount = repeatFirst ? static_cast<size_t>(geometry.perPage) : items.size();
  const int32_t sheets = plain ? 1 : PageCount(fileCount, geometry.perPage);
  const bool current = suite::EqualsNoCase(folder, suite::WithFinalBackslash(b.currentFolder));

  HGDIOBJ oldFont = SelectObject(dc, SKDEFAULTFONT());
  std::string stem = kFirstOverviewStem;
  bool firstName = true;
  int skipped = 0;
  size_t next = 0;
  int lastAdded = -1;
  bool cancelled = false;
  for (int32_t sheet = 1; sheet <= sheets && !cancelled && !items.empty(); ++sheet) {
    SetBkMode(dc, TRANSPARENT);
    SKFILLRECT(dc, 0, 0, geometry.pageWidth, sheetHeight, kWhite);
    for (int32_t index = 0; index < geometry.perPage; ++index) {
      if (Cancelled()) {
        cancelled = true;
        break;
      }
      const CellPlace place = CellOrigin(index, grid, geometry);
      if (next >= fileCount) {
        RoundRect(dc, place.x, place.y, place.x + geometry.cellWidth, place.y + geometry.cellHeight, 0, 0);
        continue;
      }
      const BatchItem& item = repeatFirst ? items.front() : items[next];
      ++next;
      DrawSheetCell(dc, item, place, geometry, !plain && CaptionsOn(), !repeatFirst || index < grid.columns);
    }
    if (cancelled) break;
    if (!plain) {
      SetTextColor(dc, kBlack);
      RECT footer = {0, geometry.gridHeight + 3, geometry.pageWidth - 1, geometry.gridHeight + 21};
      DrawTextA(dc, SheetFooter(folder, sheet, sheets).c_str(), -1, &footer, DT_RIGHT | DT_SINGLELINE);
    }
    const std::string path = NextFreeSheet(folder, &stem, &firstName, &skipped);
    if (path.empty() || Cancelled()) break;
    GdiFlush();
    if (L_SaveBitmap(path.c_str(), &canvas, FILE_BMP, 24, 0, 0) == IMG_SUCCESS && current) {
      lastAdded = SKADDSTRINGLISTBOX(b.fileList, (" " + suite::LowerAscii(stem) + ".bmp").c_str());
    }
  }
  SelectObject(dc, oldFont);
  L_DeleteLeadDC(dc);
  L_FreeBitmap(&canvas);
  EndBatch();
  if (lastAdded >= 0) {
    // Scrolled into view.
    SendMessageA(b.fileList, LB_SETSEL, TRUE, lastAdded);
    SendMessageA(b.fileList, LB_SETSEL, FALSE, lastAdded);
  }
  if (!current) ShowFolder(folder);
}

}  // namespace

bool RunOverviewCommand(int id) {
  if (id >= 901 && id <= 907) {
    MakeAlbum(id);
    return true;
  }
  if ((id >= 801 && id <= 807) || (id >= 1400 && id <= 1499)) {
    MakeContactSheets(id);
    return true;
  }
  return false;
}

}  // namespace browser
