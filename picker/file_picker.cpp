// The picker's process-wide stores: the texts and the multi-selection
// request its accessors keep between dialogs.
#include "file_picker.h"

#include "core/picker_stores.h"
#include "picker_state.h"

namespace picker {

namespace {

struct Stores {
  std::string hiddenExtensions;
  std::string listedExtensions;
  std::string filterChoice;
  std::string inputFile;
  std::string lastFile;
  std::string thumbnailExtensions;
  MultiSelectRequest multi;
};

Stores& TheStores() {
  static Stores stores;
  return stores;
}

std::string& StoreText(Store store) {
  Stores& s = TheStores();
  switch (store) {
    case Store::kHiddenExtensions:
      return s.hiddenExtensions;
    case Store::kListedExtensions:
      return s.listedExtensions;
    case Store::kFilterChoice:
      return s.filterChoice;
    case Store::kInputFile:
      return s.inputFile;
    case Store::kLastFile:
      return s.lastFile;
    case Store::kThumbnailExtensions:
    default:
      return s.thumbnailExtensions;
  }
}

}  // namespace

int32_t ExchangeMultiRequest(int32_t flag) { return TheStores().multi.Exchange(flag); }

void SetStore(Store store, const std::string& text) {
  switch (store) {
    case Store::kHiddenExtensions:
      StoreText(store) = HiddenExtensionsStore(text);
      break;
    case Store::kListedExtensions:
      StoreText(store) = ListedExtensionsStore(text);
      break;
    default:
      StoreText(store) = text;
      break;
  }
}

std::string GetStore(Store store) { return StoreText(store); }

}  // namespace picker
