// The open picker's process-wide state, shared by the dialog's set-up and
// loop (picker_dialog.cpp) and its window procedure and keyboard filter
// (picker_window.cpp).  Reset at the start of every dialog.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/file_listing.h"
#include "core/picker_choice.h"

namespace picker {

// Control ids of the dialog; button k has kButtonIdBase + k.
enum PickerControl : int {
  kTreeId = 1,
  kListId = 2,
  kFilterId = 3,
  kFieldId = 4,
  kButtonIdBase = 4,
};
// The id the skin engine's popup frame sends when its close box is used
// (the same as for every box it frames).
constexpr int kFrameCloseId = 32196;

struct PickerState {
  bool isOpen = false;
  HWND dialog = nullptr, frame = nullptr, owner = nullptr;
  HWND tree = nullptr, list = nullptr, filter = nullptr, field = nullptr;
  HBRUSH listBrush = nullptr;
  std::vector<HWND> buttons;   // button k at [k - 1]
  int idBase = 0;              // kButtonIdBase once the buttons exist
  std::vector<HWND> tabStops;  // in the order they were registered
  std::string folderSpec;      // current folder & "*.*"
  std::string pattern;
  std::string searchSpec;
  bool hasPreselect = false;
  std::string preselectPath;
  std::string name;
  std::string resultList;
  std::string lastSelectionPath;
  std::vector<ListedFile> files;
  FilterTable filterTable;
  int32_t previousFilter = -1;
  int32_t lastSelection = -1;
  bool isMulti = false;
  bool isAddressMode = false;
  bool isSaveMode = false;
  int32_t mode = 0;
  int32_t result = 0;
  // Set by ClosePicker: the loop ends after the message in hand.
  bool isClosing = false;
};

PickerState& State();

// The dialog's operations (picker_window.cpp).
void PickerFillList();
void PickerSelectionChanged();
void CollectChoice();
void AddTabStop(HWND window);
// Ends the dialog's loop after the message in hand (the result is set
// before).
void ClosePicker();
// Renews the filter box's tooltip for the current filter item.
void RenewFilterTip();

}  // namespace picker
