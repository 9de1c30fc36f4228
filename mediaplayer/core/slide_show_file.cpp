// The slide-show file and its settings.
#include "slide_show_file.h"

#include <algorithm>

#include "core/command_line.h"
#include "core/item_list.h"
#include "core/list_lines.h"
#include "core/media_masks.h"
#include "core/path_names.h"
#include "core/path_placeholders.h"
#include "core/play_lists.h"
#include "core/suite_command_codes.h"
#include "core/text_rules.h"

namespace player {

namespace {

// Settings fields the file format defines.
constexpr size_t SETTINGS_FIELD_COUNT = 8;

// A display time as the list keeps it: a positive decimal number, or ""
// (the default time) for anything else.
std::string DisplayTimeField(const std::string& text) {
  int32_t ms = suite::LeadingNumber(text);
  return ms > 0 ? std::to_string(ms) : std::string();
}

std::string SettingsTextOf(const std::string& line) {
  std::string text = suite::TrimBlanks(line.substr(1));
  while (!text.empty() && text.back() == ']') text.pop_back();
  return text;
}

}  // namespace

bool IsSlideShowFile(const std::string& path, const std::string& suffix) {
  return !suffix.empty() && suite::EndsWithNoCase(path, suffix);
}

std::string SlideShowFolderOf(const std::string& path, const std::string& programFolder) {
  std::string folder = suite::FolderOf(path);
  return folder.empty() ? suite::WithFinalBackslash(programFolder) : folder;
}

SlideShowSettings ParseSlideShowSettings(const std::string& text) {
  SlideShowSettings settings;
  std::vector<std::string> fields = suite::SplitItemList(text);
  if (fields.size() > SETTINGS_FIELD_COUNT) fields.resize(SETTINGS_FIELD_COUNT);
  settings.fieldCount = static_cast<int32_t>(fields.size());
  fields.resize(SETTINGS_FIELD_COUNT);
  auto number = [&](size_t n) { return suite::LeadingNumber(fields[n - 1]); };
  settings.soundList = suite::TrimBlanks(fields[0]);
  settings.advanceMode = number(2);
  settings.singlePass = number(3);
  settings.option407 = number(4);
  settings.soundVolume = std::clamp(number(5), 0, 100);
  settings.soundCheckMs = std::max(number(6), 0);
  if (settings.fieldCount >= 7) settings.displayTime = suite::TrimBlanks(fields[6]);
  settings.captionBand = settings.fieldCount >= 8 && number(8) != 0;
  return settings;
}

bool ReadSlideShowFile(const std::string& path, const std::string& programFolder,
                       const PlayerFiles& files, PlayerList* list, SlideShowFile* show) {
  std::string fullPath = PlaylistPath(path, suite::WithFinalBackslash(programFolder));
  std::string bytes;
  bool cut = false;
  if (fullPath.empty() || IsUrl(fullPath) ||
      files.ReadFile(fullPath, MAX_LIST_FILE_BYTES, &bytes, &cut) == FileReadStatus::Missing) {
    return false;
  }

  SlideShowFile found;
  found.folder = SlideShowFolderOf(fullPath, programFolder);
  std::string items;
  std::string times;
  int32_t count = 0;
  ListLines lines(bytes, cut);
  std::string_view raw;
  while (count < MAX_LIST_ITEMS && lines.Next(&raw)) {
    std::string line = suite::LowerAscii(TrimLine(raw));
    if (line.empty()) continue;
    if (line[0] == '[') {
      found.settingsText = SettingsTextOf(ExpandProgramFolder(line, found.folder));
      continue;
    }
    // The fields are split before "@path@" is replaced, so a comma in the
    // folder's name cannot cut the picture's path.
    std::string entry = TrimLine(ExpandProgramFolder(suite::CommaField(line, 1), found.folder));
    if (!IsUsableEntry(entry)) continue;
    std::string picture = ListEntryPath(entry, found.folder);
    if (!IsPictureItem(picture) || !files.FileExists(picture)) continue;
    // A time goes in only with its picture, so the two lists stay parallel.
    items += picture + "|";
    times += DisplayTimeField(suite::CommaField(line, 2)) + "|";
    ++count;
  }
  found.hasSettings = !found.settingsText.empty();
  SetPlayerList(list, items, times);
  list->slideShowFolder = found.folder;
  *show = std::move(found);
  return true;
}

SlideShowPlan PlanSlideShow(const SlideShowSettings& settings, const std::string& optionDisplayTime,
                            bool recordingMode) {
  SlideShowPlan plan;
  plan.optionDisplayTime = optionDisplayTime;
  // Field 7 goes into the comma-separated option line: only a positive
  // number is taken, written back in decimal, so a stray comma cannot
  // shift the line's other fields and an empty field cannot make the
  // display time 0.
  int32_t displayTime = suite::LeadingNumber(settings.displayTime);
  if (settings.fieldCount >= 7 && displayTime > 0) {
    plan.optionDisplayTime = std::to_string(displayTime);
    plan.displayTimeChanged = plan.optionDisplayTime != optionDisplayTime;
  }
  plan.singlePass = recordingMode || settings.singlePass != 0;
  plan.captionBand = settings.captionBand;
  plan.keepHiddenWindow = settings.advanceMode != 0;

  std::string sound = settings.soundList + "|" + std::to_string(settings.soundVolume) + "|" +
                      std::to_string(settings.soundCheckMs) + "|" +
                      std::to_string(suite::LeadingNumber(plan.optionDisplayTime));
  plan.commands.push_back({suite::CMD_SET_BACKGROUND_SOUND, sound});
  if (settings.option407 != 0) plan.commands.push_back({suite::CMD_ENABLE_OPTION_407, std::string()});
  if (settings.advanceMode == 0) plan.commands.push_back({suite::CMD_ENABLE_OPTION_411, std::string()});
  plan.commands.push_back({suite::CMD_PLAY_IF_SHOWN, std::string()});
  return plan;
}

}  // namespace player
