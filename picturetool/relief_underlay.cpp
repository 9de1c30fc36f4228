// The two picture operations that run without a box: a second picture laid
// under the current one as a tiled texture (choose 216, apply 217), and the
// eight reliefs (901-908), an inverted grey emboss of the picture stretched
// under its colours.  Both read the picture file and write the working copy;
// strokes that are only on the canvas are written to the working copy first,
// so they are part of the result.
#include <windows.h>

#include <string>

#include "chooser.h"
#include "core/effect_rules.h"
#include "core/path_names.h"
#include "core/text_rules.h"
#include "effect_boxes.h"
#include "imaging.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "themecore.h"
#include "themecore_wait.h"
#include "trace_format.h"

namespace paint {

namespace {

constexpr size_t kUnderlayFolderEntry = 41;
constexpr int32_t kReliefDepth = 500;

// For this run of the program only.
std::string g_underlayFile;
std::string g_underlayFolder;

std::string DefaultUnderlayFolder(const PaintState& p) {
  std::string folder = suite::LowerAscii(p.texts.entry(kUnderlayFolderEntry));
  if (folder.empty()) return "";
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  folder = suite::ReplaceAll(folder + "\\", "@path@", p.programFolder);
  return SKEXIST(folder.c_str()) ? folder : "";
}

bool LoadBitmap(const std::string& path, BITMAPHANDLE* bitmap) {
  return !path.empty() && L_LoadBitmap(path.c_str(), bitmap, 24, ORDER_BGR, nullptr, nullptr) == IMG_SUCCESS;
}

// After a result: the working copy is the canvas's picture now.
void TakeResult(const std::string& path) {
  PaintState& p = Paint();
  p.workingCopy = path;
  LoadPictureIntoCanvas(p.workingCopy);
  p.redEye.Flushed();
  p.modifiedFlags &= ~kRedEyeOnCanvas;
  p.modifiedFlags |= kPictureChanged;
  UpdateCaptionAndStatus();
}

}  // namespace

bool HasUnderlayFile() { return !g_underlayFile.empty(); }

int32_t UnderlayPicture(const std::string& underlayPath, std::string* picturePath) {
  BITMAPHANDLE underlay = {}, picture = {};
  int32_t result = 0;
  if (LoadBitmap(underlayPath, &underlay) && LoadBitmap(*picturePath, &picture) &&
      L_UnderlayBitmap(&picture, &underlay, UNDERLAY_TILE) > 0) {
    const std::string written = SaveAsWorkingCopy(&picture);
    if (!written.empty()) {
      *picturePath = written;
      result = 1;
    }
  }
  L_FreeBitmap(&underlay);
  L_FreeBitmap(&picture);
  return result;
}

int32_t QuickEffect(std::string* picturePath, int32_t effect) {
  BITMAPHANDLE relief = {};
  if (!LoadBitmap(*picturePath, &relief)) return 0;
  HCURSOR previous = SetCursor(SKCURSORWAIT());
  BITMAPHANDLE colours = {};
  int32_t result = 0;
  if (L_CopyBitmap(&colours, &relief) == IMG_SUCCESS && L_GrayScaleBitmap(&relief, 8) == IMG_SUCCESS &&
      L_InvertBitmap(&relief) == IMG_SUCCESS &&
      L_EmbossBitmap(&relief, ReliefDirection(effect), kReliefDepth) == IMG_SUCCESS &&
      L_UnderlayBitmap(&colours, &relief, UNDERLAY_STRETCH) == IMG_SUCCESS) {
    const std::string written = SaveAsWorkingCopy(&colours);
    if (!written.empty()) {
      *picturePath = written;
      result = 1;
    }
  }
  L_FreeBitmap(&relief);
  L_FreeBitmap(&colours);
  SetCursor(previous);
  return result;
}

LRESULT ChooseUnderlayCommand() {
  PaintState& p = Paint();
  const std::string previous = g_underlayFile;
  p.lastFilter = "*.*";
  if (g_underlayFolder.empty()) g_underlayFolder = DefaultUnderlayFolder(p);
  if (g_underlayFolder.empty()) g_underlayFolder = p.lastFolder;
  std::string filters = p.texts.entry(T_PICKER_FILTERS);
  if (filters.empty()) filters = "BMP|*.BMP";
  picker::TextRef extensions(kPictureExtensions);
  SKUSEFILTER(extensions.ref(), 1);
  picker::TextRef chosen(g_underlayFile);
  picker::TextRef name("");
  const int32_t result =
      CHOOSERF(p.mainWindow, (g_underlayFolder + "*.*").c_str(), p.texts.entry(10).c_str(), filters.c_str(),
               p.texts.entry(3).c_str(), p.texts.entry(4).c_str(), p.texts.entry(5).c_str(), p.texts.entry(6).c_str(),
               p.texts.entry(7).c_str(), p.texts.entry(8).c_str(), 0, chosen.ref(), name.ref(), 0);
  picker::TextRef none("");
  SKUSEFILTER(none.ref(), 1);
  RepaintWindow(p.mainWindow, false);
  std::string file = chosen.str();
  while (!file.empty() && file.back() == '|') file.pop_back();
  TraceProgramCall("ChooseUnderlay", orbtrace::QuoteText(file), std::to_string(result));
  if (result == 2 && !file.empty()) {
    g_underlayFile = file;
    g_underlayFolder = suite::FolderOf(file);
  } else {
    g_underlayFile = previous;
  }
  EnableMenuItem(p.menu, 217, MF_BYCOMMAND | (HasUnderlayFile() && p.pictureWidth > 0 ? MF_ENABLED : MF_GRAYED));
  return 0;
}

LRESULT ApplyUnderlayCommand() {
  if (!HasUnderlayFile()) return 0;
  FlushWorkingCopy();
  std::string path = EffectSourceFile();
  const int32_t result = UnderlayPicture(g_underlayFile, &path);
  TraceProgramCall("UnderlayPicture", orbtrace::QuoteText(g_underlayFile), std::to_string(result));
  if (result != 0) TakeResult(path);
  return 0;
}

LRESULT ReliefCommand(int32_t id) {
  const int32_t effect = ReliefEffectOfCommand(id);
  if (effect == 0) return 0;
  FlushWorkingCopy();
  std::string path = EffectSourceFile();
  const int32_t result = QuickEffect(&path, effect);
  TraceProgramCall("QuickEffect", std::to_string(effect), std::to_string(result));
  if (result != 0) TakeResult(path);
  return 0;
}

}  // namespace paint
