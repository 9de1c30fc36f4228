// The exports' common body; see picker_abi.h.
#include "picker_abi.h"

#include <string>

#include "chooser.h"

namespace picker {

namespace {

std::string TextOf(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

}  // namespace

int32_t ChooserDialog(HWND owner, const char* start, const char* title, const char* filters,
                      const char* buttons, const char* listLabel, const char* treeLabel,
                      const char* filterLabel, const char* unused, const char* fieldLabel, int32_t mode,
                      BSTR* resultList, BSTR* name, bool saveMode) {
  FilePickerArgs args;
  args.owner = owner;
  args.start = TextOf(start);
  args.title = TextOf(title);
  args.filters = TextOf(filters);
  args.buttons = TextOf(buttons);
  args.listLabel = TextOf(listLabel);
  args.treeLabel = TextOf(treeLabel);
  args.filterLabel = TextOf(filterLabel);
  args.unused = TextOf(unused);
  args.fieldLabel = TextOf(fieldLabel);
  args.mode = mode;
  args.saveMode = saveMode;
  std::string list;
  std::string typed = name != nullptr ? TextRef::Read(*name) : std::string();
  const int32_t result = ChooseFiles(args, &list, &typed);
  if (resultList != nullptr) TextRef::Write(resultList, list);
  if (name != nullptr) TextRef::Write(name, typed);
  return result;
}

int32_t AccessStore(Store store, BSTR* text, int32_t set) {
  if (text == nullptr) return 0;
  if (set != 0) {
    SetStore(store, TextRef::Read(*text));
    return 1;
  }
  return TextRef::Write(text, GetStore(store)) ? 1 : 0;
}

}  // namespace picker
