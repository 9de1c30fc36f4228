// Text tables, menus and engine texts through the skin engine.
#include "skin_texts.h"

#include <cstdlib>

#include "core/command_line.h"
#include "core/path_names.h"
#include "themecore.h"

namespace suite {

namespace {

const std::string kEmpty;

}  // namespace

const std::string& TextTable::entry(size_t n) const {
  if (n == 0 || n > entries_.size()) return kEmpty;
  return entries_[n - 1];
}

void TextTable::set(size_t n, std::string text) {
  if (n == 0) return;
  if (n > entries_.size()) entries_.resize(n);
  entries_[n - 1] = std::move(text);
}

std::string EncodeTextList(const std::vector<std::string>& entries) {
  std::string list;
  for (const std::string& entry : entries) {
    list += entry;
    list.push_back('\0');
  }
  return list;
}

std::vector<std::string> DecodeTextList(const char* data, size_t length) {
  std::vector<std::string> entries;
  size_t start = 0;
  for (size_t i = 0; i < length; ++i) {
    if (data[i] == '\0') {
      entries.emplace_back(data + start, i - start);
      start = i + 1;
    }
  }
  return entries;
}

std::string EncodeActions(const std::map<int32_t, std::string>& actions) {
  std::string list;
  for (const auto& [id, action] : actions) {
    list += std::to_string(id) + "=" + action;
    list.push_back('\0');
  }
  return list;
}

bool ReadTextTable(const std::string& path, TextTable* table) {
  int32_t count = 0;
  int32_t length = SKREADSTR(path.c_str(), nullptr, 0, &count);
  if (length < 0) return false;
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  if (SKREADSTR(path.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()), &count) != length) {
    return false;
  }
  *table = TextTable(DecodeTextList(buffer.data(), static_cast<size_t>(length)));
  table->entries().resize(static_cast<size_t>(count < 0 ? 0 : count));
  return true;
}

bool ReadMenuTables(const std::string& path, MenuTables* menus) {
  int32_t menuCount = 0;
  int32_t actionsLength = 0;
  int32_t menusLength = SKREADM(path.c_str(), nullptr, 0, &menuCount, nullptr, 0, &actionsLength);
  if (menusLength < 0 || actionsLength < 0) return false;
  std::string menuBuffer(static_cast<size_t>(menusLength) + 1, '\0');
  std::string actionBuffer(static_cast<size_t>(actionsLength) + 1, '\0');
  int32_t got = SKREADM(path.c_str(), menuBuffer.data(), static_cast<int32_t>(menuBuffer.size()),
                        &menuCount, actionBuffer.data(), static_cast<int32_t>(actionBuffer.size()),
                        &actionsLength);
  if (got != menusLength) return false;
  menus->definitions = DecodeTextList(menuBuffer.data(), static_cast<size_t>(menusLength));
  menus->actions.clear();
  for (const std::string& entry :
       DecodeTextList(actionBuffer.data(), static_cast<size_t>(actionsLength))) {
    size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;
    menus->actions[std::atoi(entry.substr(0, equals).c_str())] = entry.substr(equals + 1);
  }
  return true;
}

std::string MenuAction(int32_t id, const MenuTables& menus) {
  std::string actions = EncodeActions(menus.actions);
  return themecore::FetchText([&](char* out, int32_t size) {
    return SKMACTE(id, actions.data(), static_cast<int32_t>(actions.size()), out, size);
  });
}

HMENU BuildMainMenu(const MenuTables& menus) {
  std::string definitions = EncodeTextList(menus.definitions);
  std::string actions = EncodeActions(menus.actions);
  std::string bar = menus.definitions.empty() ? std::string() : menus.definitions[0];
  return SKCHANGEMENU(definitions.data(), static_cast<int32_t>(definitions.size()), actions.data(),
                      static_cast<int32_t>(actions.size()), bar.c_str());
}

std::string ExeName() {
  return themecore::FetchText([](char* out, int32_t size) { return SKEXENAME(out, size); });
}
ProgramPaths FindProgramPaths() {
  std::string exe = ExeName();
  std::string folder(exe.size() + 1, '\0'), name(exe.size() + 1, '\0');
  SKSPLITN(exe.c_str(), folder.data(), static_cast<int32_t>(folder.size()), name.data(),
           static_cast<int32_t>(name.size()));
  ProgramPaths paths;
  paths.folder = folder.c_str();
  paths.exeName = name.c_str();
  paths.basePath = suite::BasePath(paths.folder, paths.exeName);
  return paths;
}

std::string TempFolder() {
  return themecore::FetchText([](char* out, int32_t size) { return SKGETTEMPPATH(out, size); });
}
std::string SkinFolder() {
  return themecore::FetchText([](char* out, int32_t size) { return SKSKINFOLDER(out, size); });
}
std::string WindowsErrorText(int32_t code) {
  return themecore::FetchText([code](char* out, int32_t size) { return SKWINERR(code, out, size); });
}

}  // namespace suite
