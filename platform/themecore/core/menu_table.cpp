// Menu layout and action lookup; see menu_table.h.
#include "menu_table.h"

#include "split.h"
#include "text_lines.h"
#include "text_table.h"

namespace themecore {

std::vector<std::string> MenuFields(std::string_view definition) {
  std::vector<std::string> fields = SplitAtSeparator(definition, "|");
  if (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

std::vector<MenuItemPlan> PlanPopupItems(int32_t menuNumber, std::string_view definition) {
  std::vector<MenuItemPlan> items;
  std::vector<std::string> fields = MenuFields(definition);
  for (size_t i = 0; i < fields.size() && i < static_cast<size_t>(kMaxMenuItem); ++i) {
    int32_t id = 100 * menuNumber + static_cast<int32_t>(i) + 1;
    if (fields[i] == "-") {
      items.push_back(MenuItemPlan{MenuItemKind::kSeparator, id, std::string()});
    } else if (!fields[i].empty()) {
      items.push_back(MenuItemPlan{MenuItemKind::kCommand, id, fields[i]});
    }
  }
  return items;
}

std::optional<std::string> FindAction(const std::vector<std::string>& entries, int32_t id) {
  for (const std::string& entry : entries) {
    size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;
    std::optional<int32_t> entryId =
        ParseDecimal(std::string_view(entry).substr(0, equals), 0, 999999999);
    if (entryId && *entryId == id) return entry.substr(equals + 1);
  }
  return std::nullopt;
}

}  // namespace themecore
