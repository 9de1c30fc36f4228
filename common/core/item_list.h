// The two list forms texts travel in between the suite's programs.
//
// ItemList: paths or URLs separated by "|", fields numbered from 1.  Paths
// cannot hold "|", so there is no quoting.
//
// Comma list: option lines, module references and the module lists.  A
// field in double quotes may hold commas; the quotes are not part of the
// field ("\"C:\\a,b\\x.exe\",ORBPLAY" has the fields C:\a,b\x.exe and
// ORBPLAY).  Inside quotes, two double quotes stand for one.
//
// An empty text has no fields in either form: count 0, and every field
// number gives "".  A text with no separator has one field.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace suite {

size_t ItemFieldCount(const std::string& itemList);
// Field n (1-based) of an ItemList; "" when n is 0 or past the end.
std::string ItemField(const std::string& itemList, size_t n);
std::vector<std::string> SplitItemList(const std::string& itemList);
// The old text, "|", the new text, with all leading and trailing "|"
// trimmed: joining "" and "a" gives "a", "a|b" and "c" gives "a|b|c".
std::string JoinItemLists(const std::string& oldList, const std::string& newList);

std::vector<std::string> SplitCommaList(const std::string& commaList);
size_t CommaFieldCount(const std::string& commaList);
// Field n (1-based) of a comma list, quotes removed; "" when out of range.
std::string CommaField(const std::string& commaList, size_t n);

}  // namespace suite
