// Reading a program's text table (<program>.SYS): its texts (SKREADSTR), its
// menus and actions (SKREADM), and the lookup of a menu item's action
// (SKMACTE).  The format is core/text_table; this file reads the file and
// hands the results out as text lists.
#include <windows.h>

#include <string>
#include <vector>

#include "menu_table.h"
#include "output_buffer.h"
#include "text_list.h"
#include "text_table.h"
#include "engine_internal.h"
#include "themecore.h"
#include "trace_writer.h"

namespace {

const char kLibrary[] = "themecore";

// Text tables are a few kilobytes; the bound keeps a wrong file name (a
// video, say) from being read whole.
constexpr size_t kMaxTextTableBytes = 16 << 20;

bool ReadTextTable(const char* file, themecore::TextTable* table) {
  if (file == nullptr || file[0] == '\0') return false;
  std::string bytes;
  DWORD error = 0;
  if (!themecore::engine::ReadFileBytes(file, kMaxTextTableBytes, &bytes, &error)) return false;
  *table = themecore::ParseTextTable(bytes);
  return true;
}

// Action lists go to SKMACTE on every command: the trace names the list by
// its entry count rather than repeating it.
std::string ListSummary(const char* list, size_t entries) {
  return list != nullptr ? "list:" + std::to_string(entries) : "NULL";
}

std::string OutNumber(const int32_t* value) {
  return value != nullptr ? "out:" + std::to_string(*value) : "out:NULL";
}

}  // namespace

THEMECORE_API int32_t __stdcall SKREADSTR(const char* file, char* out, int32_t outSize,
                                          int32_t* count) {
  try {
    themecore::TextTable table;
    int32_t result = -1;
    std::string list;
    int32_t entries = 0;
    if (ReadTextTable(file, &table)) {
      list = themecore::EncodeTextList(table.strings);
      result = themecore::CopyTextOut(list, out, outSize);
      entries = static_cast<int32_t>(table.strings.size());
    } else {
      themecore::CopyTextOut("", out, outSize);
    }
    if (count != nullptr) *count = entries;
    orbtrace::WriteCall(orbtrace::CallLine(kLibrary, "SKREADSTR")
                            .Text(file)
                            .Raw(themecore::engine::OutListText(list, out, outSize))
                            .Number(outSize)
                            .Raw(OutNumber(count)),
                        result);
    return result;
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    if (count != nullptr) *count = 0;
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKREADM(const char* file, char* menusOut, int32_t menusSize,
                                        int32_t* menuCount, char* actionsOut,
                                        int32_t actionsSize, int32_t* actionsLength) {
  try {
    themecore::TextTable table;
    int32_t result = -1;
    int32_t menus = 0;
    int32_t actionsResult = 0;
    std::string menuList;
    std::string actionList;
    if (ReadTextTable(file, &table)) {
      std::vector<std::string> definitions = themecore::MenuDefinitions(table);
      menus = static_cast<int32_t>(definitions.size()) - 1;
      menuList = themecore::EncodeTextList(definitions);
      actionList = themecore::EncodeTextList(themecore::ActionEntries(table.actions));
      result = themecore::CopyTextOut(menuList, menusOut, menusSize);
      actionsResult = themecore::CopyTextOut(actionList, actionsOut, actionsSize);
    } else {
      themecore::CopyTextOut("", menusOut, menusSize);
      themecore::CopyTextOut("", actionsOut, actionsSize);
    }
    if (menuCount != nullptr) *menuCount = menus;
    if (actionsLength != nullptr) *actionsLength = actionsResult;
    orbtrace::WriteCall(
        orbtrace::CallLine(kLibrary, "SKREADM")
            .Text(file)
            .Raw(themecore::engine::OutListText(menuList, menusOut, menusSize))
            .Number(menusSize)
            .Raw(OutNumber(menuCount))
            .Raw(themecore::engine::OutListText(actionList, actionsOut, actionsSize))
            .Number(actionsSize)
            .Raw(OutNumber(actionsLength)),
        result);
    return result;
  } catch (...) {
    themecore::CopyTextOut("", menusOut, menusSize);
    themecore::CopyTextOut("", actionsOut, actionsSize);
    if (menuCount != nullptr) *menuCount = 0;
    if (actionsLength != nullptr) *actionsLength = 0;
    return -1;
  }
}

THEMECORE_API int32_t __stdcall SKMACTE(int32_t id, const char* actions, int32_t actionsLength,
                                        char* out, int32_t outSize) {
  try {
    std::vector<std::string> entries = themecore::DecodeTextList(actions, actionsLength);
    std::string action = themecore::FindAction(entries, id).value_or(std::string());
    return themecore::engine::ReturnTextOut(orbtrace::CallLine(kLibrary, "SKMACTE")
                                                .Number(id)
                                                .Raw(ListSummary(actions, entries.size()))
                                                .Number(actionsLength),
                                            action, out, outSize);
  } catch (...) {
    themecore::CopyTextOut("", out, outSize);
    return 0;
  }
}
