// Mutex names and the byte/UTF-16 text rules; see names.h.
#include "core/names.h"

#include <cstdio>

namespace ctlhost {

std::string MutexName(std::string_view base, uint32_t processId) {
  std::string name(base);
  name += "_20";
  name += std::to_string(processId);
  return name;
}

std::string SharedMutexName(std::string_view base) {
  std::string name(base);
  name += "_20";
  return name;
}

std::string AddressedBase(std::string_view base, uint64_t address) {
  char hex[24];
  std::snprintf(hex, sizeof hex, "%llx", static_cast<unsigned long long>(address));
  return std::string(base) + hex;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = UpperAscii(c);
  return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

size_t FindNoCase(std::string_view text, std::string_view needle) {
  if (needle.size() > text.size()) return std::string_view::npos;
  for (size_t at = 0; at + needle.size() <= text.size(); ++at) {
    if (EqualsNoCase(text.substr(at, needle.size()), needle)) return at;
  }
  return std::string_view::npos;
}

std::u16string WidenBytes(std::string_view text) {
  std::u16string wide;
  wide.reserve(text.size());
  for (char c : text) wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return wide;
}

std::string NarrowUnits(std::u16string_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (char16_t unit : text) narrow.push_back(static_cast<char>(unit & 0xFF));
  return narrow;
}

}  // namespace ctlhost
