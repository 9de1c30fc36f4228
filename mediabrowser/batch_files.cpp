// The batch work that gives the selected pictures new files: conversion to
// another picture type (710) and renaming into a numbered sequence (711).
// Both run on the main thread with the message pump between two pictures,
// and neither ever loses one: a conversion writes the new file before it
// removes the old one and never writes over a file that exists; a renaming
// takes only a name that no file (nor side file) holds, and moves the side
// files only once the picture itself was renamed.
#include <windows.h>

#include <string>
#include <vector>

#include "batch.h"
#include "batch_internal.h"
#include "browser_state.h"
#include "core/batch_rules.h"
#include "core/file_list_rules.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "orbboxes.h"
#include "picture_loader.h"
#include "themecore.h"
#include "themecore_loader.h"
#include "themecore_names.h"
#include "themecore_popup.h"

namespace browser {

namespace {

constexpr size_t kCaptionEntry = 1;
constexpr size_t kOkCancelEntry = 32;
constexpr int32_t kIconSide = 32;
// The result of a conversion the library called done though no file was
// written.
constexpr int32_t kNoFileWritten = -6;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Cancelled() { return suite::boxes::PollForCancel(1) == suite::boxes::kCancelledByUser; }

// The list item of a file name, as the list shows names.
std::string ItemOf(const std::string& name) { return " " + suite::LowerAscii(name); }

void ShowStatus(const std::string& text) {
  HWND status = Browser().statusWindow;
  if (status != nullptr) SKSETCTLTEXT(status, text.c_str());
}

// The list after a conversion: the new file is listed, the old one goes
// when its file is gone (a GIF stays: only its conversion file is removed).
void ListConverted(const BatchItem& source, const std::string& targetName) {
  HWND list = Browser().fileList;
  int index = CurrentListIndex(BatchFolder(), source);
  if (index < 0) return;
  if (!Exists(source.path)) {
    DropThumbnail(index);
    SendMessageA(list, LB_DELETESTRING, index, 0);
  }
  const std::string item = ItemOf(targetName);
  if (SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item.c_str())) ==
      LB_ERR) {
    SKADDSTRINGLISTBOX(list, item.c_str());
  }
}

// One picture converted to `choice`: 1 when the new file was written, 0
// when the picture was left alone on purpose, else the library's error.
int32_t ConvertOne(const BatchItem& item, const PictureTypeChoice& choice) {
  const std::string targetName = ConvertedName(item.name, choice.extension);
  const std::string target = BatchFolder() + targetName;
  ShowStatus(target);
  // The same-file test looks at the picture's own path, before a GIF's path
  // is swapped for its conversion file.
  switch (DecideConversion(item.path, target, Exists(target))) {
    case ConvertAction::kSkipSame:
      return 0;
    case ConvertAction::kSkipTargetTaken:
      ReportBatchFailure(item.path, kTargetTakenEntry, FailureBox::kWarning);
      return 0;
    case ConvertAction::kConvert:
      break;
  }
  std::string source = item.path;
  suite::ConvertGifForImaging(source);
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  int32_t result = L_FileInfo(source.c_str(), &info, 0, nullptr);
  if (result == IMG_SUCCESS) {
    ConvertSettings settings = ConvertSettingsFor(choice.format, info.BitsPerPixel);
    int32_t width = info.Width, height = info.Height;
    if (settings.fitIntoIcon) SKICONISE(info.Width, info.Height, kIconSide, kIconSide, nullptr, nullptr, &width, &height);
    result = L_FileConvert(source.c_str(), target.c_str(), choice.format, width, height, settings.bitsPerPixel,
                           settings.quality, nullptr, nullptr, nullptr);
    // A success that left no new file is a failure: the old file stays.
    if (result == IMG_SUCCESS && !Exists(target)) result = kNoFileWritten;
  }
  if (result != IMG_SUCCESS) {
    // A GIF's conversion file is not the user's: it goes either way.
    if (source != item.path) SKKILLFILE(source.c_str());
    ReportBatchFailure(item.path, kNotChangedEntry, FailureBox::kWarning);
    return result;
  }
  // Written: the old file goes (for a GIF, its conversion file), the new one
  // there to take its place.
  SKKILLFILE(source.c_str());
  ListConverted(item, targetName);
  return result;
}

// The side files of a picture that exist, as extensions with their dot.
std::vector<std::string> ExistingSideExtensions(const BatchItem& item) {
  std::vector<std::string> extensions;
  if (suite::ExtensionOf(item.name).empty()) return extensions;
  for (const std::string& side : SideFilePaths(item.path, Browser().texts.entry(kSideFilesEntry))) {
    if (Exists(side) && !suite::EqualsNoCase(side, item.path)) extensions.push_back(suite::ExtensionOf(side));
  }
  return extensions;
}

void ListRenamed(const BatchItem& item, const std::string& newName) {
  HWND list = Browser().fileList;
  int index = CurrentListIndex(BatchFolder(), item);
  if (index < 0) return;
  // The thumbnail travels with the item.
  LRESULT thumbnail = SendMessageA(list, LB_GETITEMDATA, index, 0);
  SendMessageA(list, LB_DELETESTRING, index, 0);
  int32_t placed = SKADDSTRINGLISTBOX(list, ItemOf(newName).c_str());
  if (placed < 0) return;
  if (thumbnail != LB_ERR) SendMessageA(list, LB_SETITEMDATA, placed, thumbnail);
  SendMessageA(list, LB_SETSEL, TRUE, placed);
}

// Renames one picture to the first free name after `stem` in the sequence;
// `stem` moves on to the name taken.  False when the picture kept its name.
bool RenameOne(const BatchItem& item, std::string* stem) {
  const std::string folder = BatchFolder();
  const std::string extension = suite::ExtensionOf(item.name);
  const std::vector<std::string> sides = ExistingSideExtensions(item);
  // Free: neither the picture's new name nor that of a side file it brings
  // along is held by a file, so nothing is ever written over.
  auto isFree = [&](const std::string& candidate) {
    if (Exists(folder + candidate + extension)) return false;
    for (const std::string& side : sides) {
      if (Exists(folder + candidate + side)) return false;
    }
    return true;
  };
  const std::string next = NextFreeStem(*stem, themecore::NextSequenceName, isFree);
  if (next.empty() || SKRENAME(item.path.c_str(), (folder + next + extension).c_str(), 0) != 0) {
    ReportBatchFailure(item.path, kNotChangedEntry, FailureBox::kWarning);
    return false;
  }
  // The side files follow.  One that cannot (held open by another program)
  // would be parted from its picture: the picture and the side files moved
  // so far go back to their names.  Should even the picture not go back, the
  // others still follow it and the side file left behind is the one named.
  const std::string oldBase = suite::WithoutExtension(item.path);
  const std::string newBase = folder + next;
  std::string leftBehind;
  for (size_t i = 0; i < sides.size(); ++i) {
    if (SKRENAME((oldBase + sides[i]).c_str(), (newBase + sides[i]).c_str(), 0) == 0) continue;
    if (leftBehind.empty() && SKRENAME((newBase + extension).c_str(), item.path.c_str(), 0) == 0) {
      for (size_t back = 0; back < i; ++back) {
        SKRENAME((newBase + sides[back]).c_str(), (oldBase + sides[back]).c_str(), 0);
      }
      ReportBatchFailure(item.path, kNotChangedEntry, FailureBox::kWarning);
      return false;
    }
    if (leftBehind.empty()) leftBehind = oldBase + sides[i];
  }
  if (!leftBehind.empty()) ReportBatchFailure(leftBehind, kNotChangedEntry, FailureBox::kWarning);
  *stem = next;
  ListRenamed(item, next + extension);
  return true;
}

}  // namespace

void ConvertSelectedPictures() {
  BrowserState& b = Browser();
  if (BatchRunning() || RefuseOnCdDrive(b.currentFolder)) return;
  std::vector<BatchItem> items = SelectedBatchItems();
  if (items.empty()) return;
  std::string value = b.texts.entry(kPictureTypesEntry);
  PictureTypeChoice choice;
  if (PickPictureType(b.mainWindow, b.texts.entry(kConvertCaptionEntry), b.texts.entry(kConvertButtonsEntry),
                      &value) != 1 ||
      !ParsePictureTypeChoice(value, &choice)) {
    return;
  }
  if (!BeginBatch()) return;
  for (const BatchItem& item : items) {
    if (Cancelled()) break;
    ConvertOne(item, choice);
  }
  EndBatch();
}

void RenameSelectedInSequence() {
  BrowserState& b = Browser();
  if (BatchRunning() || RefuseOnCdDrive(b.currentFolder)) return;
  std::vector<BatchItem> items = SelectedBatchItems();
  if (items.empty()) return;
  char typed[MAX_PATH + 1] = "";
  if (SKINPUTBOX(b.mainWindow, SKCAPTIONFONT(), b.texts.entry(kCaptionEntry).c_str(),
                 b.texts.entry(kRenamePromptEntry).c_str(), b.texts.entry(kOkCancelEntry).c_str(), typed,
                 sizeof(typed), nullptr, 0) != 1) {
    return;
  }
  std::string stem = suite::TrimBlanks(themecore::Crunch(RenameBaseName(typed), ' '));
  if (stem.empty() || !BeginBatch()) return;
  for (const BatchItem& item : items) {
    if (Cancelled()) break;
    RenameOne(item, &stem);
  }
  EndBatch();
}

}  // namespace browser
