// ItemList and comma-list fields.
#include "item_list.h"

namespace suite {

std::vector<std::string> SplitItemList(const std::string& itemList) {
  std::vector<std::string> fields;
  if (itemList.empty()) return fields;
  size_t start = 0;
  for (;;) {
    size_t bar = itemList.find('|', start);
    if (bar == std::string::npos) {
      fields.push_back(itemList.substr(start));
      return fields;
    }
    fields.push_back(itemList.substr(start, bar - start));
    start = bar + 1;
  }
}

size_t ItemFieldCount(const std::string& itemList) {
  if (itemList.empty()) return 0;
  size_t count = 1;
  for (char c : itemList) count += (c == '|');
  return count;
}

std::string ItemField(const std::string& itemList, size_t n) {
  if (n == 0 || itemList.empty()) return std::string();
  size_t start = 0;
  for (size_t field = 1; field < n; ++field) {
    size_t bar = itemList.find('|', start);
    if (bar == std::string::npos) return std::string();
    start = bar + 1;
  }
  size_t end = itemList.find('|', start);
  return itemList.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string JoinItemLists(const std::string& oldList, const std::string& newList) {
  std::string joined = oldList + "|" + newList;
  size_t first = joined.find_first_not_of('|');
  if (first == std::string::npos) return std::string();
  size_t last = joined.find_last_not_of('|');
  return joined.substr(first, last - first + 1);
}

std::vector<std::string> SplitCommaList(const std::string& commaList) {
  std::vector<std::string> fields;
  if (commaList.empty()) return fields;
  std::string field;
  bool quoted = false;
  for (size_t i = 0; i < commaList.size(); ++i) {
    char c = commaList[i];
    if (c == '"') {
      if (quoted && i + 1 < commaList.size() && commaList[i + 1] == '"') {
        field.push_back('"');
        ++i;
      } else {
        quoted = !quoted;
      }
    } else if (c == ',' && !quoted) {
      fields.push_back(std::move(field));
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  fields.push_back(std::move(field));
  return fields;
}

size_t CommaFieldCount(const std::string& commaList) {
  return SplitCommaList(commaList).size();
}

std::string CommaField(const std::string& commaList, size_t n) {
  std::vector<std::string> fields = SplitCommaList(commaList);
  if (n == 0 || n > fields.size()) return std::string();
  return fields[n - 1];
}

}  // namespace suite
