// Line splitting and entry rules of the media player's list files.
#include "list_lines.h"

namespace player {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSchemeChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

}  // namespace

ListLines::ListLines(std::string_view bytes, bool lastLineCut) : bytes_(bytes), lastLineCut_(lastLineCut) {
  if (bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
}

bool ListLines::Next(std::string_view* line) {
  while (pos_ < bytes_.size()) {
    size_t end = bytes_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
      if (lastLineCut_) {
        pos_ = bytes_.size();
        return false;
      }
      end = bytes_.size();
    }
    std::string_view found = bytes_.substr(pos_, end - pos_);
    pos_ = end;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\r') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == '\n') ++pos_;
    if (found.size() > MAX_LIST_LINE_BYTES) continue;
    *line = found;
    return true;
  }
  return false;
}

std::string TrimLine(std::string_view line) {
  size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  size_t last = line.find_last_not_of(" \t");
  return std::string(line.substr(first, last - first + 1));
}

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

std::string FolderOf(const std::string& path) {
  size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
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
