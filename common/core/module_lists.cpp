// The module lists and module references.
#include "module_lists.h"

#include "item_list.h"

namespace suite {

const char* const ModuleClassList =
    "ORBMEDIA,ORBPLAY,ORBHELP,ORBAUDIO,ORBSLIDE,ORBPAINT,ORBVIEW,ORBSPEC,ORBBURN,ORBVIS,ORBEXT";
const char* const ModuleProgramList =
    "orbmedia,orbplay,orbhelp,orbaudio,orbslide,orbpaint,orbview,orbspec,orbburn,orbvis,orbext";

static std::string HeldField(const char* list, size_t index, size_t heldCount) {
  if (index == 0 || index > heldCount || index > MODULE_COUNT) return std::string();
  return CommaField(list, index);
}

std::string ModuleClass(size_t index, size_t heldCount) {
  return HeldField(ModuleClassList, index, heldCount);
}

std::string ModuleProgram(size_t index, size_t heldCount) {
  return HeldField(ModuleProgramList, index, heldCount);
}

static bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

size_t ModuleIndexOfClass(const std::string& windowClass) {
  std::vector<std::string> classes = SplitCommaList(ModuleClassList);
  for (size_t i = 0; i < classes.size(); ++i) {
    if (EqualsIgnoringAsciiCase(classes[i], windowClass)) return i + 1;
  }
  return 0;
}

ModuleRef ParseModuleRef(const std::string& entry) {
  std::vector<std::string> fields = SplitCommaList(entry);
  ModuleRef ref;
  if (fields.size() >= 3) {
    ref.helpFile = fields[0];
    ref.program = fields[1];
    ref.windowClass = fields[2];
  } else {
    if (fields.size() >= 1) ref.program = fields[0];
    if (fields.size() >= 2) ref.windowClass = fields[1];
  }
  return ref;
}

}  // namespace suite
