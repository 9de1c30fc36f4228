// The output-buffer convention; see output_buffer.h.
#include "output_buffer.h"

#include <cstring>
#include <limits>

namespace themecore {

int32_t CopyTextOut(std::string_view text, char* out, int32_t outSize) {
  constexpr size_t kMaxLength = static_cast<size_t>(std::numeric_limits<int32_t>::max());
  const int32_t length = static_cast<int32_t>(text.size() < kMaxLength ? text.size() : kMaxLength);
  if (out == nullptr || outSize <= 0) return length;
  if (text.size() < static_cast<size_t>(outSize)) {
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
  } else {
    out[0] = '\0';
  }
  return length;
}

}  // namespace themecore
