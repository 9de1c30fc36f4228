// Control spec keys and property entries; see control_spec.h.
#include "core/control_spec.h"

#include "core/names.h"

namespace ctlhost {

namespace {
const std::string_view kSpecKeys[] = {"CLSID", "PROGID", "PROPERTIES"};
}  // namespace

std::string GetSpecValue(std::string_view spec, std::string_view key) {
  if (spec.size() > kMaxSpecChars) spec = spec.substr(0, kMaxSpecChars);
  const size_t zero = spec.find('\0');
  if (zero != std::string_view::npos) spec = spec.substr(0, zero);
  if (key.empty()) return "";
  const size_t at = FindNoCase(spec, key);
  if (at == std::string_view::npos) return "";
  const size_t from = at + key.size() + 1;
  if (from >= spec.size()) return "";
  const std::string_view searched = spec.substr(from);
  std::string cut(searched);
  for (std::string_view other : kSpecKeys) {
    const size_t k = FindNoCase(searched, other);
    if (k == std::string_view::npos) continue;
    cut[k] = '\0';
    if (k > 0) cut[k - 1] = '\0';
  }
  return cut.substr(0, cut.find('\0'));
}

ParsedSpec ParseControlSpec(std::string_view spec) {
  ParsedSpec parsed;
  parsed.progId = GetSpecValue(spec, "PROGID").substr(0, kMaxProgIdChars);
  parsed.properties = GetSpecValue(spec, "PROPERTIES").substr(0, kMaxPropertiesChars);
  return parsed;
}

std::vector<std::string> Tokenize(std::string_view text, std::string_view separators) {
  std::vector<std::string> tokens;
  size_t start = 0;
  while (start < text.size()) {
    start = text.find_first_not_of(separators, start);
    if (start == std::string_view::npos) break;
    size_t end = text.find_first_of(separators, start);
    if (end == std::string_view::npos) end = text.size();
    tokens.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return tokens;
}

uint16_t VarTypeOfTypeName(std::string_view typeName) {
  struct Entry {
    std::string_view name;
    uint16_t code;
  };
  static const Entry kTypes[] = {
      {"I1", 16},       {"UI1", 17},     {"I2", 2},         {"UI2", 18},     {"I4", 3},
      {"UI4", 19},      {"I8", 20},      {"UI8", 21},       {"INT", 22},     {"UINT", 23},
      {"VOID", 24},     {"R4", 4},       {"R8", 5},         {"BSTR", 8},     {"BOOL", 11},
      {"UNKNOWN", 13},  {"IDISPATCH", 9}, {"DISPATCH", 9},  {"DATE", 7},     {"CURRENCY", 6},
      {"LPSTR", 30},    {"LPWSTR", 31},  {"BLOB", 65},      {"VARIANT", 12}, {"ERROR", 10},
      {"HRESULT", 25},
  };
  const std::string upper = UpperAscii(typeName);
  for (const Entry& entry : kTypes) {
    if (entry.name == upper) return entry.code;
  }
  return 0;
}

PropertyLookup FindSpecProperty(std::string_view properties, std::string_view name,
                                PropertyValue* value) {
  const std::string wanted = UpperAscii(name);
  for (const std::string& entry : Tokenize(properties, ",")) {
    const std::vector<std::string> halves = Tokenize(entry, "=");
    if (halves.size() != 2 || UpperAscii(halves[0]) != wanted) continue;
    const std::vector<std::string> typed = Tokenize(halves[1], "()");
    if (typed.size() != 2) return PropertyLookup::kMalformed;
    if (value != nullptr) {
      value->varType = VarTypeOfTypeName(typed[0]);
      value->text = typed[1];
    }
    return PropertyLookup::kFound;
  }
  return PropertyLookup::kNotFound;
}

}  // namespace ctlhost
