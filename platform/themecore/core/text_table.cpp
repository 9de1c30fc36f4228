// The <program>.SYS text-table parser; see text_table.h for the format.
#include "text_table.h"

#include "text_lines.h"

namespace themecore {

namespace {

enum class Section { kNone, kStrings, kMenuBar, kMenus, kActions, kUnknown };

Section SectionFromName(const std::string& name) {
  if (name == "strings") return Section::kStrings;
  if (name == "menubar") return Section::kMenuBar;
  if (name == "menus") return Section::kMenus;
  if (name == "actions") return Section::kActions;
  return Section::kUnknown;
}

// Stores `text` as entry `number` (1-based), growing the table as needed.
void SetEntry(std::vector<std::string>* entries, int32_t number, std::string_view text) {
  size_t index = static_cast<size_t>(number) - 1;
  if (entries->size() <= index) entries->resize(index + 1);
  (*entries)[index].assign(text);
}

}  // namespace

TextTable ParseTextTable(std::string_view fileBytes) {
  TextTable table;
  Section section = Section::kNone;
  ForEachLine(fileBytes, [&](std::string_view line) {
    if (line.empty() || line.front() == ';') return;
    if (line.find('\0') != std::string_view::npos) return;
    if (std::optional<std::string> name = SectionName(line)) {
      section = SectionFromName(*name);
      return;
    }
    if (section == Section::kMenuBar) {
      table.menuBar.assign(line);
      return;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    std::string_view key = line.substr(0, equals);
    std::string_view text = line.substr(equals + 1);
    std::optional<int32_t> number;
    switch (section) {
      case Section::kStrings:
        if ((number = ParseDecimal(key, 1, kMaxTextEntry))) SetEntry(&table.strings, *number, text);
        break;
      case Section::kMenus:
        if ((number = ParseDecimal(key, 1, kMaxMenu))) SetEntry(&table.menus, *number, text);
        break;
      case Section::kActions:
        if ((number = ParseDecimal(key, 1, kMaxActionId))) table.actions[*number].assign(text);
        break;
      default:
        break;
    }
  });
  return table;
}

std::vector<std::string> MenuDefinitions(const TextTable& table) {
  std::vector<std::string> definitions;
  definitions.reserve(table.menus.size() + 1);
  definitions.push_back(table.menuBar);
  definitions.insert(definitions.end(), table.menus.begin(), table.menus.end());
  return definitions;
}

std::vector<std::string> ActionEntries(const std::map<int32_t, std::string>& actions) {
  std::vector<std::string> entries;
  entries.reserve(actions.size());
  for (const auto& [id, action] : actions) entries.push_back(std::to_string(id) + "=" + action);
  return entries;
}

}  // namespace themecore
