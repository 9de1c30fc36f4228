// The texts and the flag the file picker keeps between calls for its
// callers: the extensions the list hides (CHOOSERFILTER), the only
// extensions it lists (SKUSEFILTER), and the one-shot multi-selection
// request (CHOOSERMULTI).  Here are the rules that turn what a caller hands
// in into what is stored; the stores themselves live with the dialog.
#pragma once

#include <cstdint>
#include <string>

namespace picker {

// CHOOSERFILTER: every trailing "|" removed and one appended
// (".obf||" -> ".obf|").  An empty text, or one that is nothing but "|",
// clears the store ("").
std::string HiddenExtensionsStore(const std::string& text);

// SKUSEFILTER: every "." becomes "|.", then leading "|" are removed, then
// every trailing "|" or ".", then one "|" is appended (".jpg.gif." ->
// ".jpg|.gif|").  A text that leaves nothing (empty, or only dots and bars)
// clears the store: a store of a lone "|" would list no file at all.
std::string ListedExtensionsStore(const std::string& text);

// CHOOSERMULTI's latch.  When the request is on, any call turns it off and
// gives -1; otherwise the flag becomes the request and the call gives 0.
// The dialog asks once per call with 0, so a request applies to the next
// dialog only.
class MultiSelectRequest {
 public:
  int32_t Exchange(int32_t flag);
  bool isOn() const { return flag_ != 0; }

 private:
  int32_t flag_ = 0;
};

}  // namespace picker
