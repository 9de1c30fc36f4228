// The commands that page through the picture list and replace or change the
// canvas as a whole: previous and next, the page track bar, revert, delete,
// copy and paste, and help.  Each one that replaces the canvas asks first
// whether to save changes.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <string>

#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/path_names.h"
#include "core/canvas_rules.h"
#include "core/picture_files.h"
#include "core/suite_command_codes.h"
#include "imaging.h"
#include "orbboxes.h"
#include "magnifier.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "suite_command.h"
#include "themecore.h"
#include "themecore_player.h"
#include "themecore_wait.h"

namespace paint {

namespace {

void SetTrackPosition(PaintState& p) {
  if (p.trackBar != nullptr) {
    SKSETTRACKPOS(p.trackBar, TrackPositionOf(p.pictureIndex, p.pictureCount));
  }
}

// Entries whose files went away are dropped as they are reached.  With the
// last one gone the list is empty and so is the canvas.
bool TakeCurrentEntry(PaintState& p) {
  p.currentPicture = PictureAt(p.pictureList, static_cast<size_t>(p.pictureIndex));
  while (p.pictureCount > 0 && !SKEXIST(p.currentPicture.c_str())) {
    p.pictureList = RemoveListEntry(p.pictureList, static_cast<size_t>(p.pictureIndex));
    p.pictureCount = static_cast<int32_t>(PictureCountOf(p.pictureList));
    if (p.pictureIndex > p.pictureCount) p.pictureIndex = 1;
    p.currentPicture = PictureAt(p.pictureList, static_cast<size_t>(p.pictureIndex));
    SetStatusText("");
  }
  if (p.pictureCount > 0) return true;
  p.pictureIndex = 0;
  p.pictureList.clear();
  p.currentPicture.clear();
  p.sourceFile.clear();
  p.workingCopy.clear();
  p.modifiedFlags = 0;
  LoadPictureIntoCanvas("");
  SetStatusText("");
  return false;
}

}  // namespace

LRESULT PageCommand(bool forward) {
  PaintState& p = Paint();
  EndCanvasModes();
  if (p.pictureCount == 0) return 0;
  SaveChangesPrompt();
  p.pictureIndex = PageIndex(p.pictureIndex, p.pictureCount, forward);
  if (!TakeCurrentEntry(p)) return 0;
  SetTrackPosition(p);
  LoadPictureFile();
  return 0;
}

LRESULT TrackCommand(LPARAM position) {
  PaintState& p = Paint();
  if (p.pictureCount <= 1) return 0;
  const int32_t index = IndexOfTrackPosition(static_cast<int32_t>(position), p.pictureCount);
  if (index == p.pictureIndex) return 0;
  SaveChangesPrompt();
  p.pictureIndex = index;
  if (!TakeCurrentEntry(p)) return 0;
  EndCanvasModes();
  LoadPictureFile();
  return 0;
}

LRESULT RevertCommand() {
  PaintState& p = Paint();
  EndCanvasModes();
  if (!p.workingCopy.empty() && !p.currentPicture.empty()) LoadPictureFile();
  return 0;
}

LRESULT DeleteCommand() {
  PaintState& p = Paint();
  if (!p.sourceFile.empty()) {
    const std::string entry = PictureAt(p.pictureList, static_cast<size_t>(std::max(1, p.pictureIndex)));
    const std::string question = entry + "||" + p.texts.entry(T_DELETE_QUESTION);
    if (suite::boxes::ShowInfoBox(question, p.texts.entry(T_OK_CANCEL)) != 1) return 0;
    SKKILLFILE(entry.c_str());
    if (p.sourceFile != entry) SKKILLFILE(p.sourceFile.c_str());
    p.pictureList = RemoveListEntry(p.pictureList, static_cast<size_t>(std::max(1, p.pictureIndex)));
    p.pictureCount = static_cast<int32_t>(PictureCountOf(p.pictureList));
    if (p.pictureIndex > p.pictureCount) p.pictureIndex = 1;
    p.modifiedFlags = 0;
    SetStatusText("");
    if (!TakeCurrentEntry(p)) return 0;
    LoadPictureFile();
    return 0;
  }
  if (!p.workingCopy.empty()) {
    SKKILLFILE(p.workingCopy.c_str());
    p.workingCopy.clear();
    p.modifiedFlags = 0;
    SetStatusText("");
    LoadPictureIntoCanvas("");
  }
  return 0;
}

LRESULT CopyCommand() {
  PaintState& p = Paint();
  if (p.sourceFile.empty() && p.workingCopy.empty()) return 0;
  if (p.pictureWidth < 1 || p.pictureHeight < 1) return 0;
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, p.pictureWidth, p.pictureHeight, 24, ORDER_BGR, nullptr, 0, nullptr, 0) !=
      IMG_SUCCESS) {
    return 0;
  }
  if (HDC lead = L_CreateLeadDC(&bitmap)) {
    BitBlt(lead, 0, 0, p.pictureWidth, p.pictureHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
    L_DeleteLeadDC(lead);
  }
  const L_INT copied = L_CopyToClipboard(p.mainWindow, &bitmap, 0);
  L_FreeBitmap(&bitmap);
  if (copied == IMG_SUCCESS) suite::boxes::ShowInfoBox(p.texts.entry(T_COPIED), "");
  return 0;
}

// A new unnamed picture from a bitmap: it becomes the working copy and the
// next save goes through Save As.
void TakeAsUnnamedPicture(BITMAPHANDLE* bitmap) {
  PaintState& p = Paint();
  p.workingCopy = SaveAsWorkingCopy(bitmap);
  if (p.workingCopy.empty()) return;
  p.currentPicture = p.workingCopy;
  EnablePictureMenus();
  LoadPictureIntoCanvas(p.workingCopy);
  p.redEye.Flushed();
  p.modifiedFlags |= kPictureChanged;
  p.skipCounterOnce = true;
  UpdateCaptionAndStatus();
  p.currentPicture.clear();
  p.sourceFile.clear();
}

LRESULT PasteCommand() {
  PaintState& p = Paint();
  if (L_ClipboardReady() <= 0) {
    suite::boxes::ShowInfoBox(p.texts.entry(T_NOTHING_TO_PASTE), "");
    return 0;
  }
  SaveChangesPrompt();
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  BITMAPHANDLE bitmap = {};
  if (L_CopyFromClipboard(p.mainWindow, &bitmap, 0) > 0) {
    TakeAsUnnamedPicture(&bitmap);
    L_FreeBitmap(&bitmap);
    if (OpenClipboard(p.mainWindow)) {
      EmptyClipboard();
      CloseClipboard();
    }
  }
  SetCursor(previous);
  return 0;
}

// Screen capture: the whole screen (801, with the program's window hidden
// meanwhile), the active window (802) or the window the user points at
// with the mouse (803) becomes a new unnamed picture.
LRESULT CaptureCommand(int32_t id) {
  PaintState& p = Paint();
  SaveChangesPrompt();
  const bool wholeScreen = id == 801;
  if (wholeScreen) {
    ShowWindow(p.mainWindow, SW_HIDE);
    ShowMagnifierFrame(false);
  }
  HDC screen = GetDC(nullptr);
  RECT area = {0, 0, GetDeviceCaps(screen, HORZRES), GetDeviceCaps(screen, VERTRES)};
  Sleep(500);
  BITMAPHANDLE bitmap = {};
  if (id == 803) {
    CAPTUREOPTION options = {};
    options.uStructSize = sizeof(options);
    options.hCursor = LoadCursorA(p.instance, "HANDEX");
    if (L_CaptureSelectedObject(&bitmap, &options, nullptr, nullptr, nullptr) == IMG_SUCCESS) {
      TakeAsUnnamedPicture(&bitmap);
      L_FreeBitmap(&bitmap);
    }
  } else {
    if (!wholeScreen) {
      HWND active = GetForegroundWindow();
      if (active == nullptr || !GetWindowRect(active, &area)) area = RECT{};
    }
    const int32_t width = area.right - area.left, height = area.bottom - area.top;
    if (width > 0 && height > 0 &&
        L_CreateBitmap(&bitmap, TYPE_CONV, width, height, 24, ORDER_BGR, nullptr, 0, nullptr, 0) == IMG_SUCCESS) {
      HDC lead = L_CreateLeadDC(&bitmap);
      const bool copied =
          lead != nullptr && BitBlt(lead, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
      if (lead != nullptr) L_DeleteLeadDC(lead);
      if (copied) TakeAsUnnamedPicture(&bitmap);
      L_FreeBitmap(&bitmap);
    }
  }
  ReleaseDC(nullptr, screen);
  if (wholeScreen) {
    ShowWindow(p.mainWindow, SW_SHOW);
    ShowMagnifierFrame(true);
  }
  SetWindowPos(p.mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(p.mainWindow);
  MessageBeep(MB_OK);
  return 0;
}

// Print: the picture scaled into the page's margins on the printer the
// user picks.  A page that fails after the document began aborts the
// document, so the spooler keeps no half job.
LRESULT PrintCommand() {
  PaintState& p = Paint();
  if (p.sourceFile.empty() && p.workingCopy.empty()) return 0;
  if (p.pictureWidth < 1 || p.pictureHeight < 1) return 0;
  char documentName[260] = {};
  lstrcpynA(documentName, suite::FileNameOf(p.workingCopy.empty() ? p.sourceFile : p.workingCopy).c_str(),
            sizeof(documentName));
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = p.mainWindow;
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
  if (!PrintDlgA(&dialog) || dialog.hDC == nullptr) return 0;
  HDC printer = dialog.hDC;
  BITMAPHANDLE bitmap = {};
  if (L_CreateBitmap(&bitmap, TYPE_CONV, p.pictureWidth, p.pictureHeight, 24, ORDER_BGR, nullptr, 0, nullptr, 0) !=
      IMG_SUCCESS) {
    DeleteDC(printer);
    return 0;
  }
  if (HDC lead = L_CreateLeadDC(&bitmap)) {
    BitBlt(lead, 0, 0, p.pictureWidth, p.pictureHeight, reinterpret_cast<HDC>(BlitCanvas(2)), 0, 0, SRCCOPY);
    L_DeleteLeadDC(lead);
  }
  const bool landscape = GetDeviceCaps(printer, HORZSIZE) >= GetDeviceCaps(printer, VERTSIZE);
  const PrintPlacement place = PrintLayout(GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), landscape,
                                           p.pictureWidth, p.pictureHeight);
  const std::string status = themecore::FetchText([&p](char* out, int32_t size) { return SKGETCTLTEXT(p.statusWindow, out, size); });
  SetStatusText(p.texts.entry(T_PRINTING));
  DOCINFOA document = {};
  document.cbSize = sizeof(document);
  document.lpszDocName = documentName;
  bool printed = false;
  if (StartDocA(printer, &document) > 0) {
    if (StartPage(printer) > 0) {
      L_PrintBitmapExt(printer, &bitmap, place.x, place.y, place.width, place.height, 0);
      printed = EndPage(printer) > 0;
    }
    if (printed) {
      EndDoc(printer);
    } else {
      AbortDoc(printer);
    }
  }
  if (printed) {
    char device[CCHDEVICENAME + 1] = {};
    if (dialog.hDevNames != nullptr) {
      if (auto* names = static_cast<DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
        lstrcpynA(device, reinterpret_cast<const char*>(names) + names->wDeviceOffset, sizeof(device));
        GlobalUnlock(dialog.hDevNames);
      }
    }
    suite::boxes::ShowInfoBox(suite::FileNameOf(p.currentPicture) + p.texts.entry(T_PRINTED_ON) + device, "");
  }
  if (dialog.hDevMode != nullptr) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames != nullptr) GlobalFree(dialog.hDevNames);
  DeleteDC(printer);
  SetStatusText(status);
  L_FreeBitmap(&bitmap);
  return 0;
}

LRESULT HelpCommand() {
  PaintState& p = Paint();
  const std::string helpFile = p.programFolder + p.texts.entry(T_HELP_FILE);
  if (p.texts.entry(T_HELP_FILE).empty() || !SKEXIST(helpFile.c_str())) return 0;
  const std::string viewer = themecore::FindFile(suite::CommaField(p.texts.entry(T_HELP_VIEWER), 1).c_str());
  if (!viewer.empty()) {
    HWND running = FindWindowA(suite::CommaField(p.texts.entry(T_HELP_VIEWER), 2).c_str(), nullptr);
    if (running != nullptr) {
      if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
      SetForegroundWindow(running);
      suite::SendSuiteCommand(running, suite::CMD_OPEN_ITEMS, helpFile);
    } else {
      SKSHELL((viewer + " " + helpFile + ",").c_str(), 5, 0);
    }
    return 0;
  }
  ShellExecuteA(nullptr, "open", helpFile.c_str(), "", suite::WithoutFinalBackslash(p.programFolder).c_str(), SW_SHOW);
  return 0;
}

}  // namespace paint
