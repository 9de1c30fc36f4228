// The control spec string ("PROGID:Sample.Ctl;PROPERTIES=Day=I2(5)") and the
// property entries of its PROPERTIES value, read as the library reads them
// when it creates a control.  Keys are found anywhere, ignoring case; a
// value starts one character after its key and ends one character before
// the next key.  Property entries are Name=TYPE(Value), separated by ",".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ctlhost {

inline constexpr size_t kMaxSpecChars = 4095;
inline constexpr size_t kMaxProgIdChars = 1023;
inline constexpr size_t kMaxPropertiesChars = 4095;

// The value of `key` in `spec` ("" when the key is absent or its value
// empty).  A spec longer than kMaxSpecChars is read up to that length.
std::string GetSpecValue(std::string_view spec, std::string_view key);

struct ParsedSpec {
  std::string progId;      // empty when absent; at most kMaxProgIdChars
  std::string properties;  // empty when absent; at most kMaxPropertiesChars
};
ParsedSpec ParseControlSpec(std::string_view spec);

// The maximal runs of characters not in `separators` (runs of separators
// merge, so no token is empty).
std::vector<std::string> Tokenize(std::string_view text, std::string_view separators);

// The VARTYPE a property TYPE name stands for (upper-cased before the
// lookup); 0 (VT_EMPTY) for an unknown name.
uint16_t VarTypeOfTypeName(std::string_view typeName);

enum class PropertyLookup { kNotFound, kMalformed, kFound };
struct PropertyValue {
  uint16_t varType = 0;
  std::string text;  // the Value part, to be converted to varType
};
// The first entry of `properties` named `name` (ASCII case ignored) decides:
// kFound with its type and value text, or kMalformed when its part after
// "=" is not TYPE(Value).
PropertyLookup FindSpecProperty(std::string_view properties, std::string_view name,
                                PropertyValue* value);

}  // namespace ctlhost
