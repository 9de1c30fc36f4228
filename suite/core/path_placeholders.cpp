// Placeholder expansion and the user data folder.
#include "path_placeholders.h"

#include "core/command_line.h"
#include "core/path_names.h"
#include "core/text_rules.h"

namespace player {

std::string ExpandProgramFolder(const std::string& text, const std::string& folder) {
  return suite::ReplaceAll(text, "@path@", folder);
}

std::string ExpandPlaceholders(const std::string& text, const PlaceholderFolders& folders) {
  // One pass per token over the original tokens only: a folder that itself
  // holds "@...@" is not expanded again.
  struct Token {
    const char* name;
    const std::string* folder;
  };
  const Token tokens[] = {{"@path@", &folders.programFolder}, {"@user@", &folders.userFolder},
                          {"@win@", &folders.windowsFolder},  {"@sys@", &folders.systemFolder},
                          {"@temp@", &folders.tempFolder},    {"@tmp@", &folders.tempFolder}};
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    bool matched = false;
    if (text[pos] == '@') {
      for (const Token& token : tokens) {
        if (text.compare(pos, std::char_traits<char>::length(token.name), token.name) == 0) {
          out += *token.folder;
          pos += std::char_traits<char>::length(token.name);
          matched = true;
          break;
        }
      }
    }
    if (!matched) out += text[pos++];
  }
  return out;
}

std::string CollapseBackslashes(const std::string& path) {
  std::string out;
  size_t i = 0;
  if (path.compare(0, 2, "\\\\") == 0) {
    // A UNC path keeps the two backslashes before the server name.
    out = "\\\\";
    i = path.find_first_not_of('\\');
    if (i == std::string::npos) return out;
  }
  for (; i < path.size(); ++i) {
    if (path[i] == '\\' && !out.empty() && out.back() == '\\') continue;
    out += path[i];
  }
  return out;
}

std::string UserDataFolderFromEntry(const std::string& entry, const std::string& programFolder,
                                    const std::string& documentsFolder) {
  std::string folder = suite::TrimBlanks(suite::LowerAscii(entry));
  if (folder.empty()) return std::string();
  folder = suite::ReplaceAll(folder, "@path@", suite::WithFinalBackslash(programFolder));
  folder = suite::ReplaceAll(folder, "@user@", suite::WithFinalBackslash(documentsFolder));
  return suite::WithFinalBackslash(CollapseBackslashes(folder));
}

std::string UserDataFolder(const std::string& entry, const std::string& programFolder,
                           const std::string& documentsFolder, const PlayerFiles& files) {
  std::string folder = UserDataFolderFromEntry(entry, programFolder, documentsFolder);
  if (folder.empty() || !files.MakeFolder(folder)) return programFolder;
  return folder;
}

}  // namespace player
