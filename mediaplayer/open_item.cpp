// The open dispatcher: one item of the list goes to the playback engine
// (media), the slide-show reader, the picture view or a web browser pane,
// decided by its extension and, for internet addresses, by whether a
// connection can be had.
#include <windows.h>

#include <string>

#include "core/media_masks.h"
#include "core/option_line.h"
#include "core/player_files.h"
#include "core/player_list.h"
#include "core/slide_show_file.h"
#include "core/text_rules.h"
#include "player_parts.h"
#include "open_item.h"
#include "orbboxes.h"
#include "playback_engine.h"
#include "player_state.h"
#include "suite_command.h"
#include "themecore.h"
#include "thread_timer.h"
#include "tonelink.h"
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

// An internet item needs a connection; false when none could be dialled
// (the user has been told).
bool ConnectionForItem(const std::string& item) {
  std::string lower = suite::LowerAscii(item);
  if (lower.rfind("ftp://", 0) != 0 && lower.rfind("http://", 0) != 0) return true;
  if (SKINTERNETSTATE(0) != 0) return true;
  intptr_t connection = SKRASCONNECT();
  if (connection != 0) {
    Player().dialUpConnection = connection;
    return true;
  }
  std::string reason = themecore::FetchText(
      [](char* out, int32_t size) { return SKWINERR(kConnectionFailedError, out, size); });
  suite::boxes::ShowWarningBox(reason + "|" + item);
  return false;
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
  int32_t kind = IsAudioItem(item, p.texts.entry(T_AUDIO_PATTERNS)) ? MEDIA_KIND_AUDIO : MEDIA_KIND_VIDEO;
  if (kind != engine.mediaKind) {
    engine.mediaKind = kind;
    ShowMediaLayout(kind);
  }
  StartPlayback(item, a, b);
}

// A slide-show file becomes the item list; its settings line sets the
// show up through the commands the player sends itself (background sound,
// options 407 and 411, play) before the first picture shows.  Returns the
// item to show.
std::string OpenSlideShow(const std::string& path) {
  PlayerState& p = Player();
  PlayerList list;
  SlideShowFile show;
  StdPlayerFiles files;
  if (!ReadSlideShowFile(path, p.programFolder, files, &list, &show)) list = PlayerList();
  p.slideShowFolder = show.folder.empty() ? list.slideShowFolder : show.folder;
  if (show.hasSettings) {
    if (p.layoutMode != LAYOUT_PICTURE) ShowPictureLayout();
    CloseMedia();
    if (p.audioAvailable) {
      for (int32_t option : {6, 4, 5}) BASSSETCONFIG(option, 100);
    }
    std::string optionLine = p.texts.entry(T_OPTION_LINE);
    SlideShowPlan plan = PlanSlideShow(ParseSlideShowSettings(show.settingsText), OptionFieldText(optionLine, 19),
                                       p.recordingMode != 0);
    p.captionBand = plan.captionBand;
    p.keepHiddenWindow = plan.keepHiddenWindow;
    if (plan.displayTimeChanged) p.texts.set(T_OPTION_LINE, RewriteDisplayTime(optionLine, plan.optionDisplayTime));
    Engine().singlePassCounter = plan.singlePass ? 1 : 0;
    for (const PlannedCommand& command : plan.commands) {
      suite::SendSuiteCommand(p.mainWindow, command.code, command.text);
    }
  }
  SetPlayerList(&list, list.itemList, list.displayTimes);
  p.itemList = list.itemList;
  p.displayTimes = list.displayTimes;
  p.itemCount = list.count;
  p.itemIndex = 1;
  return FirstItemToOpen(list);
}

}  // namespace

void OpenItem(const std::string& alternative, const std::string& item, int32_t a, int32_t b) {
  PlayerState& p = Player();
  KillThreadTimer(p.slideTimer);
  KillThreadTimer(p.transitionTimer);

  std::string opened = item;
  const std::string& extra = p.texts.entry(T_EXTRA_TEXT);
  if (alternative.size() > extra.size() && suite::StartsWithNoCase(alternative, extra)) opened = alternative;
  p.currentItem = opened;
  int32_t mediaFlag = 0;
  if (!opened.empty()) {
    std::string run = MediaExtensionRun(p.texts.entry(T_MEDIA_EXTENSIONS), p.texts.entry(T_AUDIO_PATTERNS),
                                        p.audioAvailable);
    mediaFlag = MatchFileMask(opened, run);
  }
  if (!ConnectionForItem(opened)) mediaFlag = 0;

  if (mediaFlag != 0) {
    TraceRoute(alternative, item, a, b, "media");
    OpenMediaItem(opened, a, b);
    return;
  }
  if (IsSlideShowFile(opened, p.texts.entry(T_SLIDE_SHOW_SUFFIX))) {
    TraceRoute(alternative, item, a, b, "slide show");
    opened = OpenSlideShow(opened);
    p.currentItem = opened;
    // A show without a picture has nothing more to open.
    if (opened.empty()) return;
  }
  if (IsPictureItem(opened)) {
    TraceRoute(opened == item ? alternative : std::string(), opened, a, b, "picture");
    if (p.layoutMode != LAYOUT_PICTURE) ShowPictureLayout();
    ShowPicture(opened);
    return;
  }
  TraceRoute(opened == item ? alternative : std::string(), opened, a, b, "page");
  if (p.layoutMode != LAYOUT_DOCUMENT) ShowDocumentLayout();
  CreateBrowserPane(opened);
}

}  // namespace player
