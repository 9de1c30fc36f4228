// chooser.dll: the outside file picker's exports (include/chooser.h) over
// the picker the programs compile in.  CHOOSERF takes the fourteen
// arguments its callers push (the picture tool and the media player pass a
// save flag after the picker's thirteen); a stdcall callee that took fewer
// would leave their stack four bytes off.
#include "chooser.h"

#include <type_traits>

#include "picker_abi.h"

static_assert(std::is_same_v<decltype(&CHOOSERF), ChooserDialogProc>,
              "CHOOSERF is what its callers call through ChooserDialogProc");
static_assert(std::is_same_v<decltype(&CHOOSERMULTI), ChooserMultiProc>);
static_assert(std::is_same_v<decltype(&CHOOSERFILTER), ChooserStoreProc>);
static_assert(std::is_same_v<decltype(&SKSHOWTHUMB), ChooserStoreProc>);

using picker::AccessStore;
using picker::Store;

int32_t __stdcall CHOOSERF(HWND owner, const char* start, const char* title, const char* filters,
                           const char* buttons, const char* listLabel, const char* treeLabel,
                           const char* filterLabel, const char* unused, const char* fieldLabel, int32_t mode,
                           BSTR* resultList, BSTR* name, int32_t saveFlag) {
  return picker::ChooserDialog(owner, start, title, filters, buttons, listLabel, treeLabel, filterLabel, unused,
                               fieldLabel, mode, resultList, name, saveFlag != 0);
}
int32_t __stdcall CHOOSERMULTI(int32_t flag) { return picker::ExchangeMultiRequest(flag); }
int32_t __stdcall CHOOSERFILTER(BSTR* text, int32_t set) { return AccessStore(Store::kHiddenExtensions, text, set); }
int32_t __stdcall SKUSEFILTER(BSTR* text, int32_t set) { return AccessStore(Store::kListedExtensions, text, set); }
int32_t __stdcall SKFILTERCHOICE(BSTR* text, int32_t set) { return AccessStore(Store::kFilterChoice, text, set); }
int32_t __stdcall CHOOSERINFILE(BSTR* text, int32_t set) { return AccessStore(Store::kInputFile, text, set); }
int32_t __stdcall CHOOSERLASTFILE(BSTR* text, int32_t set) { return AccessStore(Store::kLastFile, text, set); }
int32_t __stdcall SKSHOWTHUMB(BSTR* text, int32_t set) {
  return AccessStore(Store::kThumbnailExtensions, text, set);
}
LRESULT __stdcall DIRLISTPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return picker::PickerWindowProc(window, message, wParam, lParam);
}
int32_t __stdcall DLDIALOGMESSAGE(HWND dialog, MSG* message) { return picker::PickerDialogMessage(dialog, message); }
