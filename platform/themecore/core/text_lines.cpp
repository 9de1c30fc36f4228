// Lines, sections and numbers of the engine's text files; see text_lines.h.
#include "text_lines.h"

#include <string>

namespace themecore {

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& onLine) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      onLine(text.substr(start));
      return;
    }
    onLine(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

std::string_view TrimBlanks(std::string_view text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string_view();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::optional<std::string> SectionName(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return std::nullopt;
  std::string_view inner = TrimBlanks(trimmed.substr(1, trimmed.size() - 2));
  std::string name(inner);
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return name;
}

std::optional<int32_t> ParseDecimal(std::string_view text, int32_t minimum, int32_t maximum) {
  std::string_view digits = TrimBlanks(text);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < minimum || value > maximum) return std::nullopt;
  return value;
}

}  // namespace themecore
