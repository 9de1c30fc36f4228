// The picker's exports as stdcall functions take them: texts by value as
// zero-terminated bytes, texts by reference as OLE strings holding bytes
// (include/chooser.h).  The outside chooser (chooser_exports.cpp) and the
// programs that compile the picker in (picker_exports.cpp) export thin
// wrappers of these, so the two speak alike but for CHOOSERF's last
// argument.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cstdint>

#include "file_picker.h"

namespace picker {

// CHOOSERF with the program's thirteen arguments, plus the chooser's save
// flag.
int32_t ChooserDialog(HWND owner, const char* start, const char* title, const char* filters,
                      const char* buttons, const char* listLabel, const char* treeLabel,
                      const char* filterLabel, const char* unused, const char* fieldLabel, int32_t mode,
                      BSTR* resultList, BSTR* name, bool saveMode);

// An accessor of a store: set non-zero stores the text, 0 reads the store
// into it.  1, or 0 when the text cannot be written back.
int32_t AccessStore(Store store, BSTR* text, int32_t set);

}  // namespace picker
