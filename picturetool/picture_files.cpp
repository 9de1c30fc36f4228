// Pictures into the canvas and out to files: loading (the imaging library,
// GIFs through the converter), the working copy that holds changes on disk,
// the question to save, Save and Save As with their format table, and the
// caption, status and counter.  Every load and save also moves the drawing
// objects through the object manager's sidecar messages.
#include <windows.h>

#include <algorithm>
#include <string>

#include "chooser.h"
#include "core/item_list.h"
#include "core/paint_rules.h"
#include "core/path_names.h"
#include "core/picture_files.h"
#include "core/text_rules.h"
#include "file_io.h"
#include "imaging.h"
#include "orbboxes.h"
#include "magnifier.h"
#include "paint_state.h"
#include "pixconv.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_painttool.h"
#include "themecore_wait.h"
#include "trace_format.h"

namespace paint {

namespace {

constexpr int32_t kChooserConfirmed = 2;

std::string WorkingCopyPath() { return suite::TempFolder() + Paint().texts.entry(T_WORKING_NAME) + ".bmp"; }
std::string WorkingSidecarPath() { return suite::TempFolder() + Paint().texts.entry(T_WORKING_NAME) + ".obf"; }

// A GIF becomes the conversion file through the converter.  The old
// conversion file goes first, so a GIF the converter cannot read never shows
// the previous one.
bool ConvertGif(PaintState& p) {
  DeleteFileA(p.conversionFile.c_str());
  int width = 0, height = 0, frames = 0;
  HGLOBAL pixels = ImgDLLReadRGBFromGIF(p.currentPicture.c_str(), &width, &height, &frames);
  if (pixels == nullptr) return false;
  bool written = false;
  if (const void* data = GlobalLock(pixels)) {
    written = ImgDLLSaveRGBToBMP(p.conversionFile.c_str(), data, width, height) != 0;
    GlobalUnlock(pixels);
  }
  GlobalFree(pixels);
  return written;
}

// Sizes the canvas bitmap for the picture and fills it grey: remade only
// when it is smaller than needed (or exactly the picture when reduced).
void PrepareCanvasBitmap(PaintState& p) {
  p.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  p.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  int32_t width = std::max(p.screenWidth, p.pictureWidth);
  int32_t height = std::max(p.screenHeight, p.pictureHeight);
  if (p.reduced) {
    width = p.pictureWidth;
    height = p.pictureHeight;
  }
  const bool tooSmall = width > p.canvasWidth || height > p.canvasHeight;
  if (p.reduced || tooSmall || SKGETHDCMEMBMP(p.canvasWindow) == nullptr) {
    if (!p.reduced) {
      width = std::max(width, p.canvasWidth);
      height = std::max(height, p.canvasHeight);
    }
    SKCREATEMEMBMP(p.canvasWindow, width, height);
    p.canvasWidth = width;
    p.canvasHeight = height;
  }
  if (HDC dc = SKGETHDCMEMBMP(p.canvasWindow)) SKFILLRECT(dc, 0, 0, p.canvasWidth, p.canvasHeight, RGB(192, 192, 192));
}

// The picture rectangle of the canvas without the drawing objects (the
// canvas copy) as a new 24-bit bitmap of the imaging library.
bool CopyPictureToBitmap(BITMAPHANDLE* bitmap) {
  const PaintState& p = Paint();
  if (p.pictureWidth < 1 || p.pictureHeight < 1) return false;
  if (L_CreateBitmap(bitmap, TYPE_CONV, p.pictureWidth, p.pictureHeight, 24, ORDER_BGR, nullptr, 0, nullptr, 0) !=
      IMG_SUCCESS) {
    return false;
  }
  HDC source = reinterpret_cast<HDC>(BlitCanvas(2));
  if (source == nullptr) source = SKGETHDCMEMBMP(p.canvasWindow);
  HDC lead = L_CreateLeadDC(bitmap);
  const bool copied = lead != nullptr && source != nullptr &&
                      BitBlt(lead, 0, 0, p.pictureWidth, p.pictureHeight, source, 0, 0, SRCCOPY) != FALSE;
  if (lead != nullptr) L_DeleteLeadDC(lead);
  if (!copied) L_FreeBitmap(bitmap);
  return copied;
}

// Writes `bytes` to `target` through a temporary file in its folder that
// replaces the target only once it is complete.  0, or the Windows error.
DWORD ReplaceFileWith(const std::string& target, const std::string& bytes) {
  // A read-only picture is not replaced (some file systems would let the
  // rename through).
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) return ERROR_ACCESS_DENIED;
  const std::string temporary = target + ".orbpaint-save";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD written = 0;
  const BOOL wrote = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  DWORD error = wrote && written == bytes.size() ? 0 : (GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT);
  if (!FlushFileBuffers(file) && error == 0) error = GetLastError();
  CloseHandle(file);
  if (error == 0 && !MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != 0) DeleteFileA(temporary.c_str());
  return error;
}

// Encodes `bitmap` as `format` with `bits` per pixel; "" when the library
// cannot.
std::string EncodeBitmap(BITMAPHANDLE* bitmap, L_INT format, L_INT bits, L_INT qualityFactor) {
  HGLOBAL memory = nullptr;
  L_UINT32 size = 0;
  std::string bytes;
  if (L_SaveBitmapMemory(&memory, bitmap, format, bits, qualityFactor, &size) == IMG_SUCCESS && memory != nullptr) {
    if (const void* data = GlobalLock(memory)) {
      bytes.assign(static_cast<const char*>(data), size);
      GlobalUnlock(memory);
    }
    GlobalFree(memory);
  }
  return bytes;
}

// Encodes the picture in `format`; "" when the library cannot.
std::string EncodePicture(const SaveFormat& format) {
  BITMAPHANDLE bitmap = {};
  if (!CopyPictureToBitmap(&bitmap)) return "";
  std::string bytes = EncodeBitmap(&bitmap, format.format, format.bits, format.qualityFactor);
  L_FreeBitmap(&bitmap);
  return bytes;
}

void ShowSaveFailure(const std::string& target, DWORD error) {
  PaintState& p = Paint();
  std::string text = p.texts.entry(T_NOT_SAVED) + target;
  if (error != 0) text += "\n" + suite::WindowsErrorText(static_cast<int32_t>(error));
  TraceProgramCall("SaveFailed", orbtrace::QuoteText(target), std::to_string(error));
  suite::boxes::ShowWarningBox(text);
}

}  // namespace

std::string MenuTextOf(int32_t id) {
  char text[256] = {};
  GetMenuStringA(Paint().menu, static_cast<UINT>(id), text, sizeof(text), MF_BYCOMMAND);
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    if (*c != '&') out += *c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void EnablePictureMenus() {
  PaintState& p = Paint();
  const int ranges[][2] = {{201, 214}, {219, 219}, {301, 308}, {313, 313}, {315, 315}, {317, 317},
                           {601, 608}, {701, 708}, {901, 908}};
  for (const auto& range : ranges) {
    for (int id = range[0]; id <= range[1]; ++id) EnableMenuItem(p.menu, id, MF_BYCOMMAND | MF_ENABLED);
  }
  p.pictureLoaded = true;
}

bool LoadPictureIntoCanvas(const std::string& path) {
  PaintState& p = Paint();
  p.colours = 0;
  p.reduced = false;
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  BITMAPHANDLE bitmap = {};
  bool loaded = false;
  if (!path.empty()) {
    loaded = L_LoadBitmap(path.c_str(), &bitmap, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS;
  }
  // A picture that cannot be read leaves an empty canvas: nothing of the
  // one shown before survives into the canvas copy or a later save.
  p.pictureWidth = loaded ? bitmap.Width : 0;
  p.pictureHeight = loaded ? bitmap.Height : 0;
  p.fileWidth = p.pictureWidth;
  p.fileHeight = p.pictureHeight;
  if (loaded && SKOSVERSION() < 500) {
    HDC display = SKDISPLAYDC();
    const int32_t bytesPerPixel = display != nullptr ? GetDeviceCaps(display, BITSPIXEL) / 8 : 4;
    if (display != nullptr) DeleteDC(display);
    p.reduced = ReducedPictureSize(p.canvasWidth, p.canvasHeight, bytesPerPixel, &p.pictureWidth, &p.pictureHeight);
  }
  PrepareCanvasBitmap(p);
  HDC dc = SKGETHDCMEMBMP(p.canvasWindow);
  if (loaded) {
    p.colours = std::max(0, L_GetBitmapColorCount(&bitmap));
    if (dc != nullptr) {
      HPALETTE palette = L_CreatePaintPalette(dc, &bitmap);
      HPALETTE old = palette != nullptr ? SelectPalette(dc, palette, FALSE) : nullptr;
      if (palette != nullptr) RealizePalette(dc);
      const RECT target = {0, 0, p.pictureWidth, p.pictureHeight};
      L_PaintDC(dc, &bitmap, nullptr, nullptr, &target, SRCCOPY);
      if (palette != nullptr) {
        SelectPalette(dc, old, FALSE);
        DeleteObject(palette);
      }
    }
    L_FreeBitmap(&bitmap);
  }
  BlitCanvas(1);
  p.scrollX = 0;
  p.scrollY = 0;
  UpdateScrollBars();
  TraceProgramCall("LoadPictureIntoCanvas", orbtrace::QuoteText(path),
                   std::to_string(p.pictureWidth) + " x " + std::to_string(p.pictureHeight));
  SendToObjectManager(OM_LOAD_SIDECAR, path.size(), reinterpret_cast<LPARAM>(path.c_str()));
  if (SendToObjectManager(OM_COMPOSE) == 0) RepaintWindow(p.canvasWindow, true);
  SetCursor(previous);
  return loaded;
}

void LoadPictureFile() {
  PaintState& p = Paint();
  p.workingCopy.clear();
  p.sourceFile = p.currentPicture;
  const std::string extension = UpperExtensionOf(p.currentPicture);
  p.lastFilter = extension.empty() ? std::string() : "*" + extension;
  const bool isGif = p.lastFilter == "*.GIF";
  if (isGif) {
    p.sourceFile = p.conversionFile;
    ConvertGif(p);
  }
  EnablePictureMenus();
  LoadPictureIntoCanvas(p.sourceFile);
  p.modifiedFlags = 0;
  p.redEye.Flushed();
  if (isGif) {
    // The GIF's own sidecar, not the conversion file's.
    SendToObjectManager(OM_LOAD_SIDECAR, p.currentPicture.size(), reinterpret_cast<LPARAM>(p.currentPicture.c_str()));
    if (SendToObjectManager(OM_COMPOSE) == 0) RepaintWindow(p.canvasWindow, true);
  }
  InvalidateMagnifierView();
  UpdateCaptionAndStatus();
}

std::string SaveAsWorkingCopy(BITMAPHANDLE* bitmap) {
  const std::string path = WorkingCopyPath();
  const std::string bytes = EncodeBitmap(bitmap, FILE_BMP, 24, 0);
  uint32_t error = 0;
  const bool written = !bytes.empty() && suite::WriteFileReplacing(path, bytes, &error);
  // The drawing objects' sidecar belongs to the picture that was there: it
  // goes once the new picture has replaced it, and stays when it has not.
  if (written) DeleteFileA(WorkingSidecarPath().c_str());
  TraceProgramCall("SaveAsWorkingCopy", orbtrace::QuoteText(path) + ", " + std::to_string(error), written ? "1" : "0");
  return written ? path : "";
}

bool WriteWorkingCopy() {
  PaintState& p = Paint();
  p.workingCopy = WorkingCopyPath();
  BITMAPHANDLE bitmap = {};
  bool written = false;
  if (CopyPictureToBitmap(&bitmap)) {
    written = !SaveAsWorkingCopy(&bitmap).empty();
    L_FreeBitmap(&bitmap);
  }
  if (written) p.redEye.Flushed();
  TraceProgramCall("WriteWorkingCopy", orbtrace::QuoteText(p.workingCopy), written ? "1" : "0");
  return written;
}

void SaveChangesPrompt() {
  PaintState& p = Paint();
  const std::string entry = PictureAt(p.pictureList, static_cast<size_t>(std::max(0, p.pictureIndex)));
  if (!entry.empty() && p.modifiedFlags == 0 && !SKEXIST(entry.c_str()) && p.pictureWidth > 0) {
    // The file went away behind the program's back: the canvas is all that
    // is left of it, kept as an unnamed picture.
    if (WriteWorkingCopy()) {
      p.modifiedFlags |= kPictureChanged;
      p.currentPicture.clear();
      p.sourceFile.clear();
    }
  }
  TraceProgramCall("SaveChangesPrompt", std::to_string(p.modifiedFlags), "");
  if (p.modifiedFlags == 0) return;
  const int32_t answer = suite::boxes::ShowInfoBox(p.texts.entry(T_SAVE_CHANGES), p.texts.entry(T_OK_CANCEL));
  if (answer == 1) SendMessageA(p.mainWindow, WM_COMMAND, 107, 0);
}

void FlushWorkingCopy() {
  if (Paint().modifiedFlags > kPictureChanged) WriteWorkingCopy();
}

bool SavePictureAs(const std::string& chosenTarget, int32_t result, const std::string& chosenName) {
  PaintState& p = Paint();
  p.saveFolder = suite::FolderOf(chosenTarget);
  if (result != kChooserConfirmed) return false;
  const std::string target = SubstituteBaseName(chosenTarget, chosenName);
  std::string extension = UpperExtensionOf(target);
  // The imaging library writes TIFF and BMP itself; a metafile has no
  // encoder anywhere, so it gets the unknown-extension warning rather than
  // a save that writes nothing.
  if (extension == ".TIFF") extension = ".TIF";
  if (extension == ".DIB") extension = ".BMP";
  const SaveFormat format = SaveFormatOf(extension);
  TraceProgramCall("SavePictureAs", orbtrace::QuoteText(target), std::to_string(format.format));
  if (format.format == 0 || format.format == FILE_WMF) {
    suite::boxes::ShowWarningBox(suite::FileNameOf(target) + p.texts.entry(T_UNKNOWN_EXTENSION) + extension);
    return false;
  }
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  const std::string bytes = EncodePicture(format);
  if (bytes.empty()) {
    SetCursor(previous);
    ShowSaveFailure(target, 0);
    return false;
  }
  // The new picture is complete beside the old one before the sidecar is
  // written and the old picture replaced: a failure keeps both and the
  // changes.
  const DWORD error = ReplaceFileWith(target, bytes);
  SetCursor(previous);
  if (error != 0) {
    ShowSaveFailure(target, error);
    return false;
  }
  SendToObjectManager(OM_SAVE_SIDECAR, target.size(), reinterpret_cast<LPARAM>(target.c_str()));
  p.currentPicture = suite::LowerAscii(target);
  LoadPictureFile();
  suite::boxes::ShowInfoBox(p.texts.entry(T_SAVED) + p.currentPicture, "");
  p.modifiedFlags = 0;
  return true;
}

LRESULT SaveAsCommand() {
  PaintState& p = Paint();
  FlushWorkingCopy();
  if (p.sourceFile.empty() && p.workingCopy.empty()) return 0;
  // A named picture proposes its own name, also when its changes are in the
  // working copy; only an unnamed one proposes the working copy's.
  const std::string nameSource = p.currentPicture.empty() ? p.workingCopy : p.currentPicture;
  const std::string fileName = suite::FileNameOf(nameSource);
  const std::string defaultName = fileName.substr(0, fileName.find('.'));
  const std::string pattern = SaveAsPattern(p.lastFilter);
  const std::string start = (p.saveFolder.empty() ? p.lastFolder : p.saveFolder) + pattern;
  std::string filters = p.texts.entry(T_PICKER_FILTERS);
  for (size_t removed : {T_SAVE_FILTER_REMOVED_1, T_SAVE_FILTER_REMOVED_2}) {
    const std::string text = p.texts.entry(removed);
    if (!text.empty()) filters = suite::ReplaceAll(filters, text, "");
  }
  if (filters.empty()) filters = "BMP|*.BMP";
  const std::string title = MenuTextOf(107);
  picker::TextRef resultText("");
  picker::TextRef name(defaultName);
  const int32_t result =
      CHOOSERF(p.mainWindow, start.c_str(), title.c_str(), filters.c_str(), p.texts.entry(T_SAVE_BUTTONS).c_str(),
               p.texts.entry(4).c_str(), p.texts.entry(5).c_str(), p.texts.entry(T_SAVE_TEXT_19).c_str(),
               p.texts.entry(7).c_str(), p.texts.entry(T_SAVE_FIELD_LABEL).c_str(), 1, resultText.ref(), name.ref(), 1);
  RepaintWindow(p.mainWindow, true);
  TraceProgramCall("CHOOSERF", orbtrace::QuoteText(resultText.str()) + ", " + orbtrace::QuoteText(name.str()),
                   std::to_string(result));
  SavePictureAs(resultText.str(), result, name.str());
  if (p.modifiedFlags == 0 && !p.currentPicture.empty() && !ListHasEntry(p.pictureList, p.currentPicture)) {
    p.pictureList = InsertListEntry(p.pictureList, p.currentPicture, p.pictureIndex);
    p.pictureIndex = std::max(1, p.pictureIndex);
    p.pictureCount = static_cast<int32_t>(PictureCountOf(p.pictureList));
    UpdateCaptionAndStatus();
  }
  return 0;
}

LRESULT SaveCommand() {
  PaintState& p = Paint();
  // The picture's pixels did not change: the drawing objects go to its
  // sidecar and the picture's own file is left as it is.
  if ((p.modifiedFlags & ~kObjectsChanged) == 0 && !p.sourceFile.empty() && p.workingCopy.empty()) {
    SendToObjectManager(OM_SAVE_SIDECAR, p.currentPicture.size(), reinterpret_cast<LPARAM>(p.currentPicture.c_str()));
    return 0;
  }
  FlushWorkingCopy();
  if (!p.sourceFile.empty()) {
    if (p.workingCopy.empty()) return 0;
    std::string target = PictureAt(p.pictureList, static_cast<size_t>(std::max(1, p.pictureIndex)));
    if (target.empty()) target = p.currentPicture;
    SavePictureAs(target, kChooserConfirmed, target);
    return 0;
  }
  if (!p.workingCopy.empty()) return SaveAsCommand();
  return 0;
}

void UpdateCaptionAndStatus() {
  PaintState& p = Paint();
  const std::string fileName = suite::FileNameOf(p.currentPicture);
  if (fileName.empty()) return;
  PictureInfo info;
  info.fileName = fileName;
  info.width = p.pictureWidth;
  info.height = p.pictureHeight;
  info.reduced = p.reduced;
  info.fileWidth = p.fileWidth;
  info.fileHeight = p.fileHeight;
  info.colours = p.colours;
  const std::string text = PictureInfoText(info, p.texts.entry(T_REDUCED_NOTE), p.texts.entry(T_COLOURS_NOTE));
  std::string keywordBytes;
  bool hasKeywords = false;
  const std::string keywordFile = KeywordFileOf(p.currentPicture);
  HANDLE file = CreateFileA(keywordFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    // A keyword file is a short text: more than this is not one.
    constexpr DWORD kMaxKeywordBytes = 64 * 1024;
    const DWORD size = GetFileSize(file, nullptr);
    if (size != INVALID_FILE_SIZE && size <= kMaxKeywordBytes) {
      keywordBytes.resize(size);
      DWORD read = 0;
      hasKeywords = size == 0 || (ReadFile(file, keywordBytes.data(), size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
  }
  if (hasKeywords) {
    const Keywords keywords = ParseKeywordFile(keywordBytes);
    SetWindowTextA(p.mainWindow, ((keywords.hasCaption ? "[" + keywords.caption + "] " : std::string()) + text).c_str());
    SetStatusText(keywords.status);
  } else {
    SetWindowTextA(p.mainWindow, p.texts.entry(T_TITLE).c_str());
    SetStatusText(text);
  }
  if (p.skipCounterOnce) {
    p.skipCounterOnce = false;
    return;
  }
  if (!p.lastFolder.empty() && p.counterLabel != nullptr) {
    const std::string counter = CounterText(p.pictureIndex, p.pictureCount);
    SetWindowTextA(p.counterLabel, counter.c_str());
    int32_t width = 0, height = 0;
    SKGETTEXTEXTENT(p.counterLabel, SKDEFAULTFONT(), counter.c_str(), &width, &height);
    SetWindowPos(p.counterLabel, nullptr, 0, 0, width + 5, 15, SWP_NOMOVE | SWP_NOZORDER | SWP_SHOWWINDOW);
  }
}

}  // namespace paint
