// Event rules; see event_rules.h.
#include "core/event_rules.h"

#include "core/names.h"

namespace ctlhost {

int32_t ArgumentSlot(int32_t index, int32_t count) {
  if (index < 0 || count <= 0 || index >= count) return -1;
  return count - 1 - index;
}

std::string BracedIid(std::string_view text) {
  std::string braced;
  if (text.empty() || text.front() != '{') braced.push_back('{');
  braced.append(text);
  if (text.empty() || text.back() != '}') braced.push_back('}');
  return braced;
}

size_t CopyNarrowName(std::u16string_view name, char* buffer, int32_t size) {
  if (buffer == nullptr || size < 1) return 0;
  size_t count = name.size();
  if (count > static_cast<size_t>(size) - 1) count = static_cast<size_t>(size) - 1;
  for (size_t i = 0; i < count; ++i) buffer[i] = static_cast<char>(name[i] & 0xFF);
  buffer[count] = '\0';
  return count;
}

int32_t FindParameterIndex(const std::vector<std::string>& names, std::string_view wanted) {
  const std::string upper = UpperAscii(wanted);
  for (size_t i = 1; i < names.size(); ++i) {
    if (UpperAscii(names[i]) == upper) return static_cast<int32_t>(i - 1);
  }
  return -1;
}

bool IsSynchronousEvent(const std::vector<DeclaredParameter>& parameters) {
  for (const DeclaredParameter& parameter : parameters) {
    if (parameter.flags & kParamOut) return true;
    if (parameter.varType == kVarTypePointer && (parameter.flags & kParamIn) == 0) return true;
  }
  return false;
}

ByRefStore StoreForType(uint16_t varType) {
  switch (varType) {
    case 2:   // VT_I2
    case 11:  // VT_BOOL
    case 18:  // VT_UI2
      return ByRefStore::k16;
    case 3:   // VT_I4
    case 4:   // VT_R4
    case 19:  // VT_UI4
    case 22:  // VT_INT
    case 23:  // VT_UINT
      return ByRefStore::k32;
    case 5:  // VT_R8
    case 7:  // VT_DATE
      return ByRefStore::kDouble;
    case 6:  // VT_CY
      return ByRefStore::k64;
    case 8:  // VT_BSTR
      return ByRefStore::kString;
    case 9:   // VT_DISPATCH
    case 13:  // VT_UNKNOWN
      return ByRefStore::kInterface;
    case 16:  // VT_I1
    case 17:  // VT_UI1
      return ByRefStore::k8;
    default:
      return ByRefStore::kNone;
  }
}

}  // namespace ctlhost
