// The open dispatcher: one item of the list goes to the playback engine
// (media), the slide-show reader, the picture view or a web browser pane,
// decided by its extension and, for internet addresses, by whether a
// connection can be had.
#include <windows.h>

#include <string>

#include "boxes/orbboxes.h"
#include "core/playback_rules.h"
#include "later_features.h"
#include "playback_engine.h"
#include "player_state.h"
#include "themecore.h"
#include "trace_writer.h"

namespace player {

namespace {

constexpr size_t T_MEDIA_EXTENSIONS = 3;
constexpr size_t T_EXTRA_TEXT = 11;
constexpr size_t T_AUDIO_PATTERNS = 88;
constexpr int32_t LAYOUT_DOCUMENT = 1;
constexpr int32_t LAYOUT_PICTURE = 4;
// The system's text for "no connection could be made".
constexpr int32_t kConnectionFailedError = 1203;

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && LowerAscii(text.substr(0, prefix.size())) == LowerAscii(prefix);
}

void KillThreadTimer(UINT_PTR& timer) {
  if (timer != 0) KillTimer(nullptr, timer);
  timer = 0;
}

// An internet item needs a connection; false when none could be dialled
// (the user has been told).
bool ConnectionForItem(const std::string& item) {
  std::string lower = LowerAscii(item);
  if (lower.rfind("ftp://", 0) != 0 && lower.rfind("http://", 0) != 0) return true;
  if (SKINTERNETSTATE(0) != 0) return true;
  int32_t connection = SKRASCONNECT();
  if (connection != 0) {
    Player().dialUpConnection = connection;
    return true;
  }
  std::string reason = themecore::FetchText(
      [](char* out, int32_t size) { return SKWINERR(kConnectionFailedError, out, size); });
  suite::boxes::ShowWarningBox(reason + "|" + item);
  return false;
}

// Extension runs (see the media and picture extension lists of the text
// table): extensions between dots, lower case.
std::string MediaExtensionRunOf(const std::string& mediaExtensions, const std::string& audioPatterns,
                                bool audioAvailable) {
  std::string run = LowerAscii(mediaExtensions);
  if (audioAvailable) {
    std::string audio = AudioPatternRun(audioPatterns);
    size_t first = audio.find_first_not_of(".*");
    run += first == std::string::npos ? std::string() : audio.substr(first);
  }
  return run;
}

int32_t MatchFileMaskIn(const std::string& item, const std::string& run) {
  std::string extension = PathExtensionForRun(item);
  if (extension.empty()) return 0;
  size_t at = run.find(extension);
  return at == std::string::npos ? 0 : static_cast<int32_t>(at + 1);
}

bool IsAudioPatternItem(const std::string& item, const std::string& audioPatterns) {
  std::string extension = PathExtensionForRun(item);
  return !extension.empty() && AudioPatternRun(audioPatterns).find(extension) != std::string::npos;
}

bool IsPictureExtensionItem(const std::string& item) {
  static const std::string pictures =
      ".jpg.cmp.gif.tif.bmp.ico.cur.pcx.pcc.dcx.pcd.wmf.psd.png.tga.eps.ras.wpg.pct.mac.img.msp.emf."
      "jpeg.g2b.i2b.fpx.";
  std::string extension = PathExtensionForRun(item);
  return !extension.empty() && pictures.find(extension) != std::string::npos;
}

// With ORB_TRACE set, each item opened leaves a line naming where it went.
void TraceRoute(const std::string& alternative, const std::string& item, int32_t a, int32_t b, const char* route) {
  orbtrace::WriteCall(
      orbtrace::CallLine("orbplay", "OpenItem").Text(alternative.c_str()).Text(item.c_str()).Number(a).Number(b),
      route);
}

void OpenMediaItem(const std::string& item, int32_t a, int32_t b) {
  PlayerState& p = Player();
  EngineState& engine = Engine();
  int32_t kind = IsAudioPatternItem(item, p.texts.entry(T_AUDIO_PATTERNS)) ? MEDIA_KIND_AUDIO : MEDIA_KIND_VIDEO;
  if (kind != engine.mediaKind) {
    engine.mediaKind = kind;
    ShowMediaLayout(kind);
  }
  StartPlayback(item, a, b);
}

}  // namespace

void OpenItem(const std::string& alternative, const std::string& item, int32_t a, int32_t b) {
  PlayerState& p = Player();
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);

  std::string opened = item;
  const std::string& extra = p.texts.entry(T_EXTRA_TEXT);
  if (alternative.size() > extra.size() && StartsWithNoCase(alternative, extra)) opened = alternative;
  p.currentItem = opened;
  int32_t mediaFlag = 0;
  if (!opened.empty()) {
    std::string run = MediaExtensionRunOf(p.texts.entry(T_MEDIA_EXTENSIONS), p.texts.entry(T_AUDIO_PATTERNS),
                                          p.audioAvailable);
    mediaFlag = MatchFileMaskIn(opened, run);
  }
  if (!ConnectionForItem(opened)) mediaFlag = 0;

  if (mediaFlag != 0) {
    TraceRoute(alternative, item, a, b, "media");
    OpenMediaItem(opened, a, b);
    return;
  }
  if (IsPictureExtensionItem(opened)) {
    TraceRoute(alternative, item, a, b, "picture");
    if (p.layoutMode != LAYOUT_PICTURE) ShowPictureLayout();
    ShowPicture(opened);
    return;
  }
  TraceRoute(alternative, item, a, b, "page");
  if (p.layoutMode != LAYOUT_DOCUMENT) ShowDocumentLayout();
  CreateBrowserPane(opened);
}

}  // namespace player
