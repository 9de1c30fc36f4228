// Text rules of the media browser.
#include "text_rules.h"

#include <limits>

namespace browser {

std::string LowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string TrimLeadingBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string ReplaceAll(const std::string& text, const std::string& token, const std::string& value) {
  if (token.empty()) return text;
  std::string out;
  size_t pos = 0;
  for (;;) {
    size_t hit = text.find(token, pos);
    if (hit == std::string::npos) break;
    out.append(text, pos, hit - pos);
    out += value;
    pos = hit + token.size();
  }
  out.append(text, pos, std::string::npos);
  return out;
}

std::string FillPlaceholders(const std::string& text, char marker,
                             std::initializer_list<std::string> values) {
  std::string out;
  auto next = values.begin();
  for (char c : text) {
    if (c == marker && next != values.end()) {
      out += *next++;
    } else {
      out += c;
    }
  }
  return out;
}

namespace {

// The extension of a file name with its dot, lower-cased; "" for none.
std::string ExtensionOf(const std::string& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  return LowerAscii(fileName.substr(dot));
}

}  // namespace

bool PatternListTakes(const std::string& patternList, const std::string& fileName) {
  std::string extension = ExtensionOf(fileName);
  if (extension.size() < 2) return false;
  return (LowerAscii(patternList) + ";").find("*" + extension + ";") != std::string::npos;
}

bool ExtensionIsOneOf(const std::string& fileName, const std::string& extensions) {
  std::string extension = ExtensionOf(fileName);
  if (extension.size() < 2) return false;
  // Each extension in the run ends where the next "." starts.
  std::string run = LowerAscii(extensions) + ".";
  return run.find(extension + ".") != std::string::npos;
}

std::string FolderOfPath(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  if (suffix.size() > text.size()) return false;
  return LowerAscii(text.substr(text.size() - suffix.size())) == LowerAscii(suffix);
}

int32_t LeadingNumber(const std::string& text) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '-' || text[i] == '+') {
    negative = text[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) break;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace browser

namespace browser {

bool IsSameOrInsideFolder(const std::string& source, const std::string& folder) {
  std::string from = LowerAscii(source);
  std::string to = LowerAscii(folder);
  while (!from.empty() && from.back() == '\\') from.pop_back();
  while (!to.empty() && to.back() == '\\') to.pop_back();
  if (from.empty()) return false;
  if (to == from) return true;
  return to.size() > from.size() && to.compare(0, from.size(), from) == 0 && to[from.size()] == '\\';
}

}  // namespace browser
