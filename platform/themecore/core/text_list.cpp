// Text lists; see text_list.h.
#include "text_list.h"

namespace themecore {

std::string EncodeTextList(const std::vector<std::string>& entries) {
  size_t total = 0;
  for (const std::string& entry : entries) total += entry.size() + 1;
  std::string list;
  list.reserve(total);
  for (const std::string& entry : entries) {
    list.append(entry);
    list.push_back('\0');
  }
  return list;
}

std::vector<std::string> DecodeTextList(const char* data, int64_t length) {
  std::vector<std::string> entries;
  if (data == nullptr || length <= 0) return entries;
  std::string_view bytes(data, static_cast<size_t>(length));
  size_t start = 0;
  while (start < bytes.size()) {
    size_t zero = bytes.find('\0', start);
    if (zero == std::string_view::npos) {
      entries.emplace_back(bytes.substr(start));
      break;
    }
    entries.emplace_back(bytes.substr(start, zero - start));
    start = zero + 1;
  }
  return entries;
}

}  // namespace themecore
