// Text rules shared by the programs; see text_rules.h.
#include "core/text_rules.h"

#include <limits>

#include "core/path_names.h"

namespace suite {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string text) {
  for (char& c : text) c = LowerAscii(c);
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

bool PatternListTakes(const std::string& patternList, const std::string& fileName) {
  std::string extension = LowerAscii(ExtensionOf(fileName));
  if (extension.size() < 2) return false;
  return (LowerAscii(patternList) + ";").find("*" + extension + ";") != std::string::npos;
}

bool ExtensionIsOneOf(const std::string& fileName, const std::string& extensions) {
  std::string extension = LowerAscii(ExtensionOf(fileName));
  if (extension.size() < 2) return false;
  // Each extension in the run ends where the next "." starts.
  std::string run = LowerAscii(extensions) + ".";
  return run.find(extension + ".") != std::string::npos;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return prefix.size() <= text.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return suffix.size() <= text.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
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

}  // namespace suite
