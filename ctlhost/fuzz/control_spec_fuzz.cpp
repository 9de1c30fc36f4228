// Fuzz target for the control spec string a client hands to control
// creation: the bytes are the string (cut at a zero byte as a C string
// would be).  The values read must come from that string, stay within their
// bounds and hold no key word; every property name found must be looked up
// again the same way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/control_spec.h"
#include "core/names.h"

namespace {
bool HoldsKey(const std::string& value) {
  for (const char* key : {"CLSID", "PROGID", "PROPERTIES"}) {
    if (ctlhost::FindNoCase(value, key) != std::string::npos) return true;
  }
  return false;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string spec(reinterpret_cast<const char*>(data), size);
  spec = spec.substr(0, spec.find('\0'));
  const ctlhost::ParsedSpec parsed = ctlhost::ParseControlSpec(spec);
  if (parsed.progId.size() > ctlhost::kMaxProgIdChars) std::abort();
  if (parsed.properties.size() > ctlhost::kMaxPropertiesChars) std::abort();
  if (HoldsKey(parsed.progId) || HoldsKey(parsed.properties)) std::abort();
  if (!parsed.progId.empty() && spec.find(parsed.progId) == std::string::npos) std::abort();
  if (!parsed.properties.empty() && spec.find(parsed.properties) == std::string::npos) std::abort();

  for (const std::string& entry : ctlhost::Tokenize(parsed.properties, ",")) {
    if (entry.empty() || entry.find(',') != std::string::npos) std::abort();
    const auto halves = ctlhost::Tokenize(entry, "=");
    if (halves.empty()) continue;  // an entry of "=" only names nothing
    ctlhost::PropertyValue value;
    const ctlhost::PropertyLookup found = ctlhost::FindSpecProperty(parsed.properties, halves[0], &value);
    if (found == ctlhost::PropertyLookup::kNotFound && halves.size() == 2) std::abort();
    if (found == ctlhost::PropertyLookup::kFound &&
        (value.text.empty() || value.text.find_first_of("(),=") != std::string::npos)) {
      std::abort();
    }
  }
  return 0;
}
