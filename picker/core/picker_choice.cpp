// The picker's argument and result texts; see picker_choice.h.
#include "core/picker_choice.h"

#include "core/item_list.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace picker {

StartPlace SplitStart(const std::string& start) {
  StartPlace place;
  place.folder = suite::FolderOf(start);
  place.pattern = suite::FileNameOf(start);
  if (place.pattern.empty()) place.pattern = "*.*";
  return place;
}

std::string DialogTitle(const std::string& title) {
  return !title.empty() && title[0] == '#' ? title.substr(1) : title;
}

NameArgument SplitNameArgument(const std::string& name) {
  NameArgument argument;
  size_t bar = name.find('|');
  if (bar == std::string::npos) {
    argument.name = name;
    return argument;
  }
  argument.hasPreselect = true;
  argument.preselectPath = name.substr(0, bar);
  argument.name = name.substr(bar + 1);
  return argument;
}

FilterTable MakeFilterTable(const std::string& filters, const std::string& startPattern) {
  FilterTable table;
  if (filters.empty()) return table;
  const std::vector<std::string> parts = suite::SplitItemList(filters);
  for (size_t i = 0; i < parts.size(); i += 2) {
    FilterItem item;
    item.caption = " " + parts[i];
    item.patterns = i + 1 < parts.size() ? parts[i + 1] : std::string();
    size_t at = item.patterns.find(startPattern);
    if (!startPattern.empty() && at != std::string::npos && item.patterns.substr(at) == startPattern) {
      table.current = static_cast<int32_t>(table.items.size());
    }
    table.items.push_back(std::move(item));
  }
  return table;
}

std::string FilterTooltip(const std::string& patterns) {
  return suite::ReplaceAll(suite::ReplaceAll(patterns, "*.", ""), ";", ", ");
}

std::string ItemPath(const std::string& folder, const std::vector<ListedFile>& files,
                     int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= files.size()) return std::string();
  return folder + files[static_cast<size_t>(index)].fileName;
}

std::string MultiSelectionList(const std::string& folder, const std::vector<ListedFile>& files,
                               const std::vector<int32_t>& selected) {
  std::string list;
  for (int32_t index : selected) {
    std::string path = ItemPath(folder, files, index);
    if (!path.empty()) list += path + "|";
  }
  return list;
}

std::string PathDisplayText(const std::string& path) {
  return " " + suite::ReplaceAll(suite::LowerAscii(path), ".&", ".&&");
}

std::string CompleteAddressName(const std::string& name, const std::string& searchSpec) {
  const std::string lower = suite::LowerAscii(name);
  if (lower.find("ftp://") != std::string::npos || lower.find("http://") != std::string::npos) {
    return name;
  }
  if (name.find('\\') != std::string::npos) return name;
  if (searchSpec.find('\\') == std::string::npos) return name;
  return SearchFolder(searchSpec) + name;
}

std::string SaveTarget(const std::string& searchSpec, const std::string& pattern) {
  return SearchFolder(searchSpec) + pattern.substr(0, pattern.find(';'));
}

}  // namespace picker
