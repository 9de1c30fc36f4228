// The batch picture work's commands: flip, mirror, quarter turns and resize
// of the selected pictures, one posted step per picture so that the
// message pump runs between them and Escape can stop the batch; the
// desktop wallpaper; and what every batch shares (the selection it works
// on, its start and end, its one failure report).  Conversion and renaming
// are batch_files.cpp's, the boxes batch_boxes.cpp's.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batch.h"
#include "batch_internal.h"
#include "browser_state.h"
#include "core/batch_rules.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_wait.h"

namespace browser {

namespace {

constexpr char kWallpaperFile[] = "ORBMEDIAWLP.BMP";
constexpr int kPictureMenuPopup = 7;

struct BatchState {
  bool running = false;
  bool failureReported = false;
  std::string folder;
};
BatchState g_batch;

// The flip, mirror, turn or resize that runs: its pictures, and how far the
// posting and the steps have come.
struct TransformBatch {
  bool active = false;
  int command = 0;
  std::vector<BatchItem> items;
  size_t posted = 0;
  size_t done = 0;
  bool postingEnded = false;
  PictureSize newSize;
  bool keepAspect = true;
};
TransformBatch g_transform;

void SetWaitCursor() { SKCURSORWAIT(); }
void SetArrowCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }

// The imaging library's work on one picture: loaded (at 24 bits for a
// resize, else at its own depth), changed, and saved over itself in its own
// format.  The library's result: 1 when the picture was written.
int32_t TransformPicture(const std::string& path, int command, const TransformBatch& batch) {
  BITMAPHANDLE bitmap = {};
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  int32_t result = L_LoadBitmap(path.c_str(), &bitmap, command == kResizeCommand ? 24 : 0, ORDER_BGR, nullptr, &info);
  if (result != IMG_SUCCESS) return result;
  switch (command) {
    case kFlipCommand:
      result = L_FlipBitmap(&bitmap);
      break;
    case kMirrorCommand:
      result = L_ReverseBitmap(&bitmap);
      break;
    case kRotateLeftCommand:
    case kRotateRightCommand:
      // Hundredths of a degree, positive clockwise.
      result = L_RotateBitmap(&bitmap, command == kRotateLeftCommand ? -9000 : 9000, ROTATE_RESIZE, RGB(0, 0, 0));
      break;
    case kResizeCommand: {
      PictureSize size;
      result = ResizedSize({info.Width, info.Height}, batch.newSize, batch.keepAspect, &size)
                   ? L_SizeBitmap(&bitmap, size.width, size.height, SIZE_RESAMPLE)
                   : -3;
      break;
    }
    default:
      result = -3;
  }
  PictureSaveSettings save;
  if (result == IMG_SUCCESS) {
    result = PictureSaveSettingsFor(path, info.Format, info.BitsPerPixel, &save)
                 ? L_SaveBitmap(path.c_str(), &bitmap, save.format, save.bitsPerPixel, save.quality, 0)
                 : -3;
  }
  L_FreeBitmap(&bitmap);
  return result;
}

// A read-only picture is made writable for its step; a picture that could
// not be changed gets its attributes back.
int32_t RunTransformStep(const BatchItem& item) {
  const DWORD attributes = GetFileAttributesA(item.path.c_str());
  SetFileAttributesA(item.path.c_str(), FILE_ATTRIBUTE_NORMAL);
  int32_t result = TransformPicture(item.path, g_transform.command, g_transform);
  if (result != IMG_SUCCESS && attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesA(item.path.c_str(), attributes);
  }
  return result;
}

void EndTransformBatch() {
  g_transform = TransformBatch{};
  EndBatch();
}

// The caption of the new-size box: the resize command's menu text without
// its "&".
std::string ResizeCaption() {
  char text[256] = "";
  HMENU menu = SKPOPUPHANDLE(kPictureMenuPopup);
  if (menu != nullptr) GetMenuStringA(menu, kResizeCommand, text, sizeof(text), MF_BYCOMMAND);
  return suite::TrimBlanks(suite::ReplaceAll(text, "&", ""));
}

void PostTransformSteps(int command) {
  BrowserState& b = Browser();
  if (g_batch.running || RefuseOnCdDrive(b.currentFolder)) return;
  std::vector<BatchItem> items = SelectedBatchItems();
  if (items.empty()) return;
  PictureSize newSize;
  bool keepAspect = true;
  if (command == kResizeCommand &&
      NewSizeBox(b.mainWindow, ResizeCaption(), &newSize.width, &newSize.height,
                 b.texts.entry(kNewSizeButtonsEntry), &keepAspect) != 2) {
    return;
  }
  if (!BeginBatch()) return;
  g_transform.active = true;
  g_transform.command = command;
  g_transform.items = std::move(items);
  g_transform.newSize = newSize;
  g_transform.keepAspect = keepAspect;
  for (size_t i = 0; i < g_transform.items.size(); ++i) {
    if (!PostMessageA(b.mainWindow, WM_BROWSER_BATCH_STEP, static_cast<WPARAM>(command), 0)) break;
    ++g_transform.posted;
    // The pump runs the step just posted; a cancel leaves the pictures
    // after it as they are.
    if (suite::boxes::PollForCancel(1) == suite::boxes::kCancelledByUser) break;
  }
  g_transform.postingEnded = true;
  if (g_transform.done == g_transform.posted) {
    EndTransformBatch();
  } else {
    SetArrowCursor();
  }
}

// The desktop wallpaper: the first selected picture stretched to the
// screen, written as a 24-bit BMP beside the program, and handed to
// Windows.  Failures are silent: the wallpaper stays as it was.
void SetWallpaper() {
  BrowserState& b = Browser();
  if (RefuseOnCdDrive(b.currentFolder)) return;
  std::vector<BatchItem> items = SelectedBatchItems();
  if (items.empty()) return;
  std::string path = items.front().path;
  suite::ConvertGifForImaging(path);
  BITMAPHANDLE bitmap = {};
  if (L_LoadBitmap(path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) != IMG_SUCCESS) return;
  const std::string wallpaper = b.programFolder + kWallpaperFile;
  // The save replaces the old wallpaper file only once the new one is
  // complete.
  if (L_SizeBitmap(&bitmap, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SIZE_STRETCH) ==
          IMG_SUCCESS &&
      L_SaveBitmap(wallpaper.c_str(), &bitmap, kFormatBmp, 24, 0, 0) == IMG_SUCCESS) {
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(wallpaper.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
  }
  L_FreeBitmap(&bitmap);
}

}  // namespace

std::vector<BatchItem> SelectedBatchItems() {
  BrowserState& b = Browser();
  std::vector<BatchItem> items;
  const std::string folder = suite::WithFinalBackslash(b.currentFolder);
  for (int index : SelectedIndexes(b.fileList)) {
    BatchItem item;
    item.index = index;
    item.item = ListItemText(b.fileList, index);
    item.name = suite::TrimLeadingBlanks(item.item);
    item.path = folder + item.name;
    if (!item.name.empty()) items.push_back(std::move(item));
  }
  return items;
}

int CurrentListIndex(const std::string& folder, const BatchItem& item) {
  BrowserState& b = Browser();
  if (!suite::EqualsNoCase(suite::WithFinalBackslash(b.currentFolder), folder)) return -1;
  if (item.index >= 0 && ListItemText(b.fileList, item.index) == item.item) return item.index;
  LRESULT found = SendMessageA(b.fileList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(item.item.c_str()));
  return found == LB_ERR ? -1 : static_cast<int>(found);
}

bool BeginBatch() {
  BrowserState& b = Browser();
  if (g_batch.running || b.deleteBusy || b.transferBusy) return false;
  g_batch.running = true;
  g_batch.failureReported = false;
  g_batch.folder = suite::WithFinalBackslash(b.currentFolder);
  StopThumbnails();
  b.watcherPaused = true;
  StopFolderWatcher();
  SetWaitCursor();
  return true;
}

void EndBatch() {
  BrowserState& b = Browser();
  if (!g_batch.running) return;
  g_batch.running = false;
  b.watcherPaused = false;
  SetArrowCursor();
  // What the batch wrote is in the list already: the watcher starts from
  // now, the loader reloads the thumbnails the steps dropped.
  MarkListingTime();
  StartFolderWatcher();
  UpdateStatusText();
  InvalidateRect(b.fileList, nullptr, TRUE);
  StartThumbnails();
}

bool BatchRunning() { return g_batch.running; }

const std::string& BatchFolder() { return g_batch.folder; }

void ReportBatchFailure(const std::string& path, size_t textEntry, FailureBox box) {
  if (g_batch.failureReported) return;
  g_batch.failureReported = true;
  const std::string text = path + Browser().texts.entry(textEntry);
  if (box == FailureBox::kWarning) {
    suite::boxes::ShowWarningBox(text);
  } else {
    suite::boxes::ShowInfoBox(text, "");
  }
}

bool RunBatchCommand(int id) {
  switch (id) {
    case kFlipCommand:
    case kMirrorCommand:
    case kRotateLeftCommand:
    case kRotateRightCommand:
    case kResizeCommand:
      PostTransformSteps(id);
      return true;
    case kConvertCommand:
      ConvertSelectedPictures();
      return true;
    case kRenameCommand:
      RenameSelectedInSequence();
      return true;
    case kWallpaperCommand:
      SetWallpaper();
      return true;
  }
  return false;
}

LRESULT OnBatchStep(WPARAM wParam, LPARAM) {
  // Steps are posted in order, one per picture: the next one not done is
  // this step's picture.  A step of another batch's command is not this
  // batch's.
  if (!g_transform.active || g_transform.done >= g_transform.posted ||
      wParam != static_cast<WPARAM>(g_transform.command)) {
    return 0;
  }
  const BatchItem item = g_transform.items[g_transform.done];
  SetWaitCursor();
  if (RunTransformStep(item) == IMG_SUCCESS) {
    int index = CurrentListIndex(BatchFolder(), item);
    if (index >= 0) {
      DropThumbnail(index);
      SendMessageA(Browser().fileList, LB_SETSEL, TRUE, index);
    }
  } else {
    ReportBatchFailure(item.path, kNotChangedEntry, FailureBox::kInformation);
  }
  ++g_transform.done;
  if (g_transform.postingEnded && g_transform.done == g_transform.posted) {
    EndTransformBatch();
  } else {
    SetArrowCursor();
  }
  return 0;
}

}  // namespace browser
