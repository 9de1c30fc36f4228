// The accessor stores' rules; see picker_stores.h.
#include "core/picker_stores.h"

#include "core/text_rules.h"

namespace picker {

std::string HiddenExtensionsStore(const std::string& text) {
  size_t end = text.find_last_not_of('|');
  if (end == std::string::npos) return std::string();
  return text.substr(0, end + 1) + "|";
}

std::string ListedExtensionsStore(const std::string& text) {
  std::string list = suite::ReplaceAll(text, ".", "|.");
  size_t start = list.find_first_not_of('|');
  if (start == std::string::npos) return std::string();
  list.erase(0, start);
  size_t end = list.find_last_not_of("|.");
  if (end == std::string::npos) return std::string();
  list.erase(end + 1);
  return list + "|";
}

int32_t MultiSelectRequest::Exchange(int32_t flag) {
  if (flag_ != 0) {
    flag_ = 0;
    return -1;
  }
  flag_ = flag;
  return 0;
}

}  // namespace picker
