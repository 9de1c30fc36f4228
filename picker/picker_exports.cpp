// The picker's exports as a program compiles them in; see picker_exports.h.
#include "picker_exports.h"

#include <type_traits>

#include "picker_abi.h"

static_assert(std::is_same_v<decltype(&PickerCHOOSERF), PickerDialogProc>,
              "a program's CHOOSERF takes the picker's thirteen arguments");

using picker::AccessStore;
using picker::Store;

int32_t __stdcall PickerCHOOSERF(HWND owner, const char* start, const char* title, const char* filters,
                                 const char* buttons, const char* listLabel, const char* treeLabel,
                                 const char* filterLabel, const char* unused, const char* fieldLabel,
                                 int32_t mode, BSTR* resultList, BSTR* name) {
  return picker::ChooserDialog(owner, start, title, filters, buttons, listLabel, treeLabel, filterLabel, unused,
                               fieldLabel, mode, resultList, name, false);
}
int32_t __stdcall PickerCHOOSERMULTI(int32_t flag) { return picker::ExchangeMultiRequest(flag); }
int32_t __stdcall PickerCHOOSERFILTER(BSTR* text, int32_t set) {
  return AccessStore(Store::kHiddenExtensions, text, set);
}
int32_t __stdcall PickerSKUSEFILTER(BSTR* text, int32_t set) {
  return AccessStore(Store::kListedExtensions, text, set);
}
int32_t __stdcall PickerSKFILTERCHOICE(BSTR* text, int32_t set) {
  return AccessStore(Store::kFilterChoice, text, set);
}
int32_t __stdcall PickerCHOOSERINFILE(BSTR* text, int32_t set) { return AccessStore(Store::kInputFile, text, set); }
int32_t __stdcall PickerCHOOSERLASTFILE(BSTR* text, int32_t set) {
  return AccessStore(Store::kLastFile, text, set);
}
LRESULT __stdcall PickerDIRLISTPROC(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return picker::PickerWindowProc(window, message, wParam, lParam);
}
int32_t __stdcall PickerDLDIALOGMESSAGE(HWND dialog, MSG* message) {
  return picker::PickerDialogMessage(dialog, message);
}
