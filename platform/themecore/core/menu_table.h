// How the main menu is laid out from the menu definitions, decided without
// creating a menu: the titles of the bar, the items of each popup with their
// command ids, and the lookup of an item's action.
//
// A definition holds "|" fields.  A trailing "|" adds nothing (the programs
// rebuild definitions by joining items and sometimes leave one).  Field i
// (1-based) of popup n is item i with command id 100 * n + i; "-" is a
// separator, which counts as an item so that the ids of the items after it
// do not move; an empty field also keeps its number but adds no item.
// Items past kMaxMenuItem would collide with the next popup's ids and are
// left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace themecore {

enum class MenuItemKind { kCommand, kSeparator };

struct MenuItemPlan {
  MenuItemKind kind;
  int32_t id;  // 100 * popup + item; also set for separators
  std::string text;
};

// The "|" fields of a definition without a trailing empty field ("" has
// none).
std::vector<std::string> MenuFields(std::string_view definition);

// The items of popup `menuNumber` (1-based) from its definition.
std::vector<MenuItemPlan> PlanPopupItems(int32_t menuNumber, std::string_view definition);

// The action of `id` among action entries "id=action"; the first entry of
// that id wins.  nullopt when no entry has the id.
std::optional<std::string> FindAction(const std::vector<std::string>& entries, int32_t id);

}  // namespace themecore
