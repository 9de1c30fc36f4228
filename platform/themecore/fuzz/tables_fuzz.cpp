// Fuzz target for the engine's readers of outside files: text tables
// (<program>.SYS) and skin files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "menu_table.h"
#include "skin_file.h"
#include "text_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);

  themecore::TextTable table = themecore::ParseTextTable(bytes);
  if (table.strings.size() > static_cast<size_t>(themecore::kMaxTextEntry)) std::abort();
  if (table.menus.size() > static_cast<size_t>(themecore::kMaxMenu)) std::abort();
  std::vector<std::string> definitions = themecore::MenuDefinitions(table);
  for (size_t n = 1; n < definitions.size(); ++n) {
    themecore::PlanPopupItems(static_cast<int32_t>(n), definitions[n]);
  }
  std::vector<std::string> entries = themecore::ActionEntries(table.actions);
  themecore::FindAction(entries, 101);

  themecore::SkinDefinition skin;
  themecore::ParseSkinFile(bytes, themecore::DefaultSkin(), &skin);
  return 0;
}
