// Saving the video frame shown (command 63): the frame goes through the
// clipboard into a 24-bit BMP in the temporary folder, from where it is
// copied to the place the user chooses in the file picker.
#include <windows.h>

#include <string>

#include "chooser.h"
#include "core/path_names.h"
#include "core/playback_rules.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "player_parts.h"
#include "media_backend.h"
#include "open_item.h"
#include "orbboxes.h"
#include "playback_engine.h"
#include "player_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr size_t T_FRAME_FILE = 28;
// The picker's texts for the frame's target: title, filters, buttons, an
// unread text and the name field's label; the list, tree and filter labels
// are the open command's.
constexpr size_t T_FRAME_PICKER_TITLE = 29;
constexpr size_t T_FRAME_PICKER_FILTERS = 30;
constexpr size_t T_FRAME_PICKER_BUTTONS = 31;
constexpr size_t T_FRAME_PICKER_UNUSED = 32;
constexpr size_t T_FRAME_PICKER_FIELD_LABEL = 33;
constexpr size_t T_PICKER_LIST_LABEL = 7;
constexpr size_t T_PICKER_TREE_LABEL = 8;
constexpr size_t T_PICKER_FILTER_LABEL = 9;
constexpr int32_t kPickerConfirmed = 2;
constexpr int32_t kAskForTarget = 1;
// Told when a copy fails without saying why.
constexpr int32_t kPathNotFound = 3;
constexpr L_INT kSaveBitsPerPixel = 24;
constexpr L_UINT kToClipboard = 1;

// The file picker pumps messages: a second save must wait for the first.
bool savingFrame = false;

void EmptyTheClipboard(HWND owner) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  CloseClipboard();
}

// The frame shown as "<temp>" + T(28); "" when nothing was saved.
std::string SaveFrameToTemporaryFile() {
  PlayerState& p = Player();
  MediaBackend* media = Engine().media;
  uint32_t position = media->Position();
  if (media->CopyFrames(position, 1, kToClipboard) != 1 || L_ClipboardReady() != 1) return std::string();
  BITMAPHANDLE bitmap = {};
  if (L_CopyFromClipboard(p.mainWindow, &bitmap, 0) != 1) return std::string();
  std::string path = suite::TempFolder() + p.texts.entry(T_FRAME_FILE);
  int32_t saved = L_SaveBitmap(path.c_str(), &bitmap, FILE_BMP, kSaveBitsPerPixel, 0, 0);
  L_FreeBitmap(&bitmap);
  EmptyTheClipboard(p.mainWindow);
  return saved == 1 ? path : std::string();
}

// The file picker asks where the saved frame goes (a ".bmp" name in the
// folder of the last saved frame, else of the last opened item); the frame
// is copied there and the temporary file deleted.  A failed copy is
// reported and keeps the temporary file, so the frame is not lost.
void ChooseFrameTarget(const std::string& temporaryFile) {
  PlayerState& p = Player();
  auto dialog = ChooserExport<ChooserDialogProc>("CHOOSERF");
  if (dialog == nullptr) return;
  if (auto showThumbnails = ChooserExport<ChooserStoreProc>("SKSHOWTHUMB")) {
    picker::TextRef pictures(".bmp.");
    showThumbnails(pictures.ref(), 1);
  }
  const std::string folder = !p.folderB.empty() ? p.folderB : !p.folderA.empty() ? p.folderA : suite::TempFolder();
  const std::string start = suite::WithFinalBackslash(folder) + "*.bmp";
  picker::TextRef list;
  picker::TextRef name;
  const int32_t result =
      dialog(p.mainWindow, start.c_str(), p.texts.entry(T_FRAME_PICKER_TITLE).c_str(),
             p.texts.entry(T_FRAME_PICKER_FILTERS).c_str(), p.texts.entry(T_FRAME_PICKER_BUTTONS).c_str(),
             p.texts.entry(T_PICKER_LIST_LABEL).c_str(), p.texts.entry(T_PICKER_TREE_LABEL).c_str(),
             p.texts.entry(T_PICKER_FILTER_LABEL).c_str(), p.texts.entry(T_FRAME_PICKER_UNUSED).c_str(),
             p.texts.entry(T_FRAME_PICKER_FIELD_LABEL).c_str(), 1, list.ref(), name.ref(), kAskForTarget);
  const std::string target = result == kPickerConfirmed ? FrameTargetPath(name.str()) : std::string();
  orbtrace::WriteCall(orbtrace::CallLine("orbplay", "ChooseFrameTarget").Text(temporaryFile.c_str()),
                      target.c_str());
  if (target.empty()) {
    DeleteFileA(temporaryFile.c_str());
    return;
  }
  p.folderB = suite::FolderOf(target);
  if (lstrcmpiA(target.c_str(), temporaryFile.c_str()) == 0) return;
  const int32_t error = SKSHELLCOPY(temporaryFile.c_str(), target.c_str(), "");
  if (error != 0 || GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    suite::boxes::ShowWarningBox(suite::UpperAscii(target) + "|" +
                                 suite::WindowsErrorText(error != 0 ? error : kPathNotFound));
    return;
  }
  DeleteFileA(temporaryFile.c_str());
}

}  // namespace

void SaveFrameCommand() {
  EngineState& engine = Engine();
  if (savingFrame || !engine.videoShown || engine.media == nullptr) return;
  const int32_t state = GetPlayerState();
  if (state != MEDIA_PAUSED && state != MEDIA_PLAYING) return;
  savingFrame = true;
  if (state == MEDIA_PLAYING) PauseMedia();
  std::string saved = SaveFrameToTemporaryFile();
  if (!saved.empty()) ChooseFrameTarget(saved);
  if (state == MEDIA_PLAYING) ResumeMedia();
  savingFrame = false;
}

}  // namespace player
