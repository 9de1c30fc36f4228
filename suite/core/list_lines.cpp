// Entry rules of the media player's list files.
#include "list_lines.h"

namespace player {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSchemeChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

bool IsUsableEntry(const std::string& entry) {
  if (entry.empty()) return false;
  for (char c : entry) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (c == '|' || (byte < 32 && c != '\t') || byte == 127) return false;
  }
  return true;
}

bool IsUrl(const std::string& text) {
  size_t colon = text.find("://");
  if (colon == std::string::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    if (!IsSchemeChar(text[i])) return false;
  }
  return true;
}

bool IsUncPath(const std::string& text) {
  return text.size() > 2 && IsSeparator(text[0]) && IsSeparator(text[1]) && !IsSeparator(text[2]);
}

bool HasDrive(const std::string& text) {
  return text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':';
}

std::string RootOf(const std::string& path) {
  if (HasDrive(path)) return path.substr(0, 2);
  if (!IsUncPath(path)) return std::string();
  // "\\server\share": up to the separator after the share name.
  size_t server = path.find_first_of("\\/", 2);
  if (server == std::string::npos) return path;
  size_t share = path.find_first_of("\\/", server + 1);
  return share == std::string::npos ? path : path.substr(0, share);
}

std::string ListEntryPath(const std::string& entry, const std::string& listFolder) {
  if (entry.empty() || IsUrl(entry) || IsUncPath(entry) || HasDrive(entry)) return entry;
  if (IsSeparator(entry[0])) return RootOf(listFolder) + entry;
  return listFolder + entry;
}

}  // namespace player
