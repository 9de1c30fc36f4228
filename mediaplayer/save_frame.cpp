// Saving the video frame shown (command 63): the frame goes through the
// clipboard into a 24-bit BMP in the temporary folder, from where the file
// picker copies it to the place the user chooses.
#include <windows.h>

#include <string>

#include "imaging.h"
#include "later_features.h"
#include "media_backend.h"
#include "playback_engine.h"
#include "player_state.h"
#include "skin_texts.h"

namespace player {

namespace {

constexpr size_t T_FRAME_FILE = 28;
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
