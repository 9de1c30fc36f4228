// Fuzz target for everything a receiver does with a foreign suite command:
// the first 4 bytes are the announced length (wParam), the rest the copied
// buffer; the decoded text then goes through the list readers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/item_list.h"
#include "core/module_lists.h"
#include "core/suite_payload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  uint32_t announced;
  std::memcpy(&announced, data, 4);
  const uint8_t* buffer = data + 4;
  const uint32_t cbData = static_cast<uint32_t>(size - 4);

  std::string text = suite::DecodeSuitePayload(announced, cbData ? buffer : nullptr, cbData);
  // Never longer than announced, never past the text part of the buffer.
  if (text.size() > announced) std::abort();
  if (cbData == 0 ? !text.empty() : text.size() > cbData - 1) std::abort();
  if (text.compare(0, text.size(), reinterpret_cast<const char*>(buffer), text.size()) != 0) {
    std::abort();
  }

  size_t items = suite::ItemFieldCount(text);
  if (items != suite::SplitItemList(text).size()) std::abort();
  if (items > 0 && suite::ItemField(text, items + 1) != "") std::abort();
  std::string joined = suite::JoinItemLists(text, text);
  if (!joined.empty() && (joined.front() == '|' || joined.back() == '|')) std::abort();

  size_t fields = suite::CommaFieldCount(text);
  if (fields > 0) suite::CommaField(text, fields);
  suite::ParseModuleRef(text);
  return 0;
}
