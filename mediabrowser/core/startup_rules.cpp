// Start-up rules of the media browser.
#include "startup_rules.h"

#include <algorithm>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace browser {

int32_t ItemHeightFromEntry(const std::string& entry) {
  return std::clamp<int32_t>(suite::LeadingNumber(entry), 50, 200);
}

std::string UserFolderFromEntry(const std::string& entry, const std::string& programFolder) {
  std::string folder = suite::ReplaceAll(suite::LowerAscii(entry), "@path@", programFolder);
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder;
}

MenuTrim TrimModuleMenu(const std::string& definition, const std::map<int32_t, std::string>& actions,
                        int32_t menu, int32_t firstChecked,
                        const std::function<bool(const std::string& program)>& programExists) {
  std::string trimmed = definition;
  while (!trimmed.empty() && trimmed.back() == '|') trimmed.pop_back();
  std::vector<std::string> items = suite::SplitItemList(trimmed);

  // Actions of this menu by item number; other menus' actions stay as they are.
  MenuTrim result;
  std::vector<std::string> itemActions(items.size() + 1);
  for (const auto& [id, action] : actions) {
    int32_t item = id - 100 * menu;
    if (id / 100 == menu && item >= 1 && item <= static_cast<int32_t>(items.size())) {
      itemActions[item] = action;
    } else {
      result.actions[id] = action;
    }
  }
  for (int32_t item = static_cast<int32_t>(items.size()); item >= std::max(firstChecked, 1); --item) {
    std::string program = suite::CommaField(itemActions[item], 1);
    if (!programExists(program)) {
      items.erase(items.begin() + (item - 1));
      itemActions.erase(itemActions.begin() + item);
    }
  }
  for (size_t item = 1; item < itemActions.size(); ++item) {
    if (!itemActions[item].empty()) result.actions[100 * menu + static_cast<int32_t>(item)] = itemActions[item];
  }
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) result.definition.push_back('|');
    result.definition += items[i];
  }
  return result;
}

std::string SkinMenuLabel(const std::string& skinFileName) {
  std::string label = suite::LowerAscii(skinFileName);
  if (suite::EndsWithNoCase(label, ".sks")) label.resize(label.size() - 4);
  if (!label.empty() && label[0] >= 'a' && label[0] <= 'z') label[0] = static_cast<char>(label[0] - 'a' + 'A');
  return label;
}

std::vector<MediaType> ParseMediaTypes(const std::string& entry) {
  std::vector<MediaType> types;
  std::vector<std::string> fields = suite::SplitItemList(entry);
  for (size_t i = 0; i < fields.size(); i += 2) {
    types.push_back({fields[i], i + 1 < fields.size() ? fields[i + 1] : std::string()});
  }
  return types;
}

int32_t SelectedMediaType(const std::vector<MediaType>& types, const std::string& pattern) {
  if (types.empty()) return -1;
  if (pattern.empty()) return static_cast<int32_t>(types.size()) - 1;
  for (size_t i = 0; i < types.size(); ++i) {
    if (types[i].pattern == pattern) return static_cast<int32_t>(i);
  }
  return -1;
}

std::vector<std::string> FavouriteCandidates(const std::vector<std::string>& lines) {
  std::vector<std::string> candidates;
  for (const std::string& line : lines) {
    std::string folder = suite::TrimLeadingBlanks(line);
    if (!folder.empty()) candidates.push_back(folder);
  }
  return candidates;
}

}  // namespace browser
