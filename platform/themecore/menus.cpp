// The program's main menu: built from menu definitions (SKCHANGEMENU,
// SKMENU), its popups by number (SKPOPUPHANDLE), and MainMenu for the menu
// bar holder.  Which items a popup gets and their ids is core/menu_table;
// this file makes the Windows menus.
//
// Every definition becomes a popup, also those beyond the bar's fields:
// programs use popups that are not on the bar as context menus (the media
// browser's folder-tree menu is popup 15).  Bar fields without a definition
// get an empty popup, so SKPOPUPHANDLE answers for every bar field.
#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "engine_state.h"
#include "menu_table.h"
#include "text_list.h"
#include "text_table.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace themecore {

namespace {

const char kLibrary[] = "themecore";

struct BuiltMenu {
  HMENU bar = nullptr;
  std::vector<HMENU> popups;     // popups[n - 1] is popup n
  std::vector<HMENU> offTheBar;  // popups not attached to the bar
};

struct MenuState {
  std::mutex lock;
  BuiltMenu menu;
};

MenuState& TheMenu() {
  static MenuState state;
  return state;
}

void DestroyBuiltMenu(const BuiltMenu& menu) {
  // Destroying the bar destroys the popups attached to it.
  if (menu.bar != nullptr) DestroyMenu(menu.bar);
  for (HMENU popup : menu.offTheBar) DestroyMenu(popup);
}

bool AppendPopupItems(HMENU popup, int32_t number, const std::string& definition) {
  for (const MenuItemPlan& item : PlanPopupItems(number, definition)) {
    BOOL appended = item.kind == MenuItemKind::kSeparator
                        ? AppendMenuA(popup, MF_SEPARATOR, 0, nullptr)
                        : AppendMenuA(popup, MF_STRING, static_cast<UINT_PTR>(item.id),
                                      item.text.c_str());
    if (!appended) return false;
  }
  return true;
}

// Builds the bar and every popup; false (nothing left behind) when Windows
// refuses a menu.
bool BuildMenu(const std::vector<std::string>& definitions, const std::string& barText,
               BuiltMenu* built) {
  std::vector<std::string> titles = MenuFields(barText);
  size_t popupCount = std::max(definitions.empty() ? 0 : definitions.size() - 1, titles.size());
  popupCount = std::min(popupCount, static_cast<size_t>(kMaxMenu));
  BuiltMenu menu;
  menu.bar = CreateMenu();
  if (menu.bar == nullptr) return false;
  for (size_t n = 1; n <= popupCount; ++n) {
    HMENU popup = CreatePopupMenu();
    if (popup == nullptr) {
      DestroyBuiltMenu(menu);
      return false;
    }
    bool onBar = n <= titles.size();
    menu.popups.push_back(popup);
    if (!onBar) menu.offTheBar.push_back(popup);
    const std::string& definition = n < definitions.size() ? definitions[n] : std::string();
    bool filled = AppendPopupItems(popup, static_cast<int32_t>(n), definition);
    if (filled && onBar) {
      filled = AppendMenuA(menu.bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                           titles[n - 1].c_str()) != FALSE;
    }
    if (!filled) {
      // A popup not yet on the bar is not destroyed with it.
      if (onBar) DestroyMenu(popup);
      DestroyBuiltMenu(menu);
      return false;
    }
  }
  *built = std::move(menu);
  return true;
}

HMENU ChangeMenu(const char* menus, int32_t menusLength, const char* barTextOrNull) {
  std::vector<std::string> definitions = DecodeTextList(menus, menusLength);
  std::string barText;
  if (barTextOrNull != nullptr) {
    barText = barTextOrNull;
  } else if (!definitions.empty()) {
    barText = definitions[0];
  }
  BuiltMenu built;
  if (!BuildMenu(definitions, barText, &built)) return nullptr;
  MenuState& state = TheMenu();
  std::lock_guard<std::mutex> guard(state.lock);
  DestroyBuiltMenu(state.menu);
  state.menu = std::move(built);
  return state.menu.bar;
}

// A text list as the trace shows it: its bytes, the zero bytes escaped, so
// a test sees the menus a program built.
std::string_view ListBytes(const char* list, int32_t length) {
  if (list == nullptr || length <= 0) return std::string_view();
  return std::string_view(list, static_cast<size_t>(length));
}


}  // namespace

HMENU MainMenu() {
  MenuState& state = TheMenu();
  std::lock_guard<std::mutex> guard(state.lock);
  return state.menu.bar;
}

}  // namespace themecore

THEMECORE_API HMENU __stdcall SKCHANGEMENU(const char* menus, int32_t menusLength,
                                           const char* actions, int32_t actionsLength,
                                           const char* mainMenuText) {
  try {
    // The actions do not shape the menu; callers pass them along with the
    // definitions they were read with.
    HMENU menu = mainMenuText != nullptr ? themecore::ChangeMenu(menus, menusLength, mainMenuText)
                                         : nullptr;
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKCHANGEMENU")
                            .Bytes(themecore::ListBytes(menus, menusLength))
                            .Number(menusLength)
                            .Bytes(themecore::ListBytes(actions, actionsLength))
                            .Number(actionsLength)
                            .Text(mainMenuText),
                        themecore::engine::HandleText(menu));
    return menu;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HMENU __stdcall SKMENU(const char* menus, int32_t menusLength) {
  try {
    HMENU menu = themecore::ChangeMenu(menus, menusLength, nullptr);
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKMENU")
                            .Bytes(themecore::ListBytes(menus, menusLength))
                            .Number(menusLength),
                        themecore::engine::HandleText(menu));
    return menu;
  } catch (...) {
    return nullptr;
  }
}

THEMECORE_API HMENU __stdcall SKPOPUPHANDLE(int32_t n) {
  try {
    HMENU popup = nullptr;
    {
      themecore::MenuState& state = themecore::TheMenu();
      std::lock_guard<std::mutex> guard(state.lock);
      if (n >= 1 && static_cast<size_t>(n) <= state.menu.popups.size()) {
        popup = state.menu.popups[static_cast<size_t>(n) - 1];
      }
    }
    orbtrace::WriteCall(orbtrace::CallLine(themecore::kLibrary, "SKPOPUPHANDLE").Number(n),
                        themecore::engine::HandleText(popup));
    return popup;
  } catch (...) {
    return nullptr;
  }
}
