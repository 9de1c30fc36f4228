// skMessageBox and skSetMsgString: the host's MessageBoxA calls shown as the
// skin engine's box (SKMSGBOX) with button labels in the engine's language.
// What the box is given and what each button means is core/message_box_rules.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/message_box_rules.h"
#include "themeapi.h"
#include "themecore.h"
#include "themecore_looks.h"
#include "trace_writer.h"

namespace skinning {

namespace {

// The nine labels in force, empty until the first box or skSetMsgString.
std::string& LabelList() {
  static std::string labels;
  return labels;
}

HICON IconOf(BoxIcon icon) {
  LPCSTR name = nullptr;
  switch (icon) {
    case BoxIcon::kExclamation: name = IDI_EXCLAMATION; break;
    case BoxIcon::kAsterisk: name = IDI_ASTERISK; break;
    case BoxIcon::kQuestion: name = IDI_QUESTION; break;
    case BoxIcon::kHand: name = IDI_HAND; break;
    case BoxIcon::kNone: return nullptr;
  }
  return LoadIconA(nullptr, name);
}

}  // namespace

int32_t ShowMessageBox(const char* text, int32_t type, const char* caption) {
  std::string& labels = LabelList();
  if (labels.empty()) labels = ISFRENCH() != 0 ? kFrenchLabels : kEnglishLabels;
  const MessageBoxPlan plan = PlanMessageBox(text, static_cast<uint32_t>(type), caption, labels);
  // The record holds a USER handle in 32 bits, as every icon handle fits.
  const uint32_t icon = static_cast<uint32_t>(HandleToULong(IconOf(plan.icon)));
  auto record = BoxStyleRecord(plan, icon, static_cast<uint32_t>(SKGETSYSCOLOR(113)),
                               static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  const int32_t index = SKMSGBOX(nullptr, SKCAPTIONFONT(), plan.caption.c_str(), plan.text.c_str(),
                                 plan.buttons.c_str(), record.data(), 0);
  const int32_t result = ResultOfChoice(plan, index);
  orbtrace::WriteCall(orbtrace::CallLine("themeapi", "skMessageBox").Text(text).Number(type).Text(caption),
                      result);
  return result;
}

}  // namespace skinning

THEMEAPI_API int32_t __stdcall skMessageBox(const char* text, int32_t type, const char* caption) {
  try {
    return skinning::ShowMessageBox(text, type, caption);
  } catch (...) {
    return 0;
  }
}

THEMEAPI_API void __stdcall skSetMsgString(const char* labels) {
  try {
    skinning::LabelList() = labels != nullptr ? labels : "";
  } catch (...) {
  }
}
