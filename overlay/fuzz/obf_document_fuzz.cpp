// Fuzz target for a sidecar read from a foreign or damaged disk: the whole
// file goes through the reader, and whatever it accepts must survive being
// written and read again, and drawn into an operation list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/obf_document.h"
#include "core/obf_line.h"
#include "core/overlay_plan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const overlay::ObfReadResult read = overlay::DecodeObfDocument(bytes);
  if (read.status != overlay::ObfStatus::kOk) {
    if (!read.document.objects.empty() || !read.document.preview.empty()) std::abort();
    return 0;
  }
  for (const overlay::ObfObject& object : read.document.objects) {
    if (object.points.size() > overlay::kObfMaxPoints) std::abort();
    if (object.text.size() > overlay::kObfMaxTextBytes) std::abort();
    overlay::ActionFor(object);
    overlay::PlanShape(object.x, object.y, object.points, object.colour, object.shadow, object.size,
                       object.word(), overlay::kCurveTension);
    // A decoded object written and read again is the same object.
    const overlay::ObfObject again = overlay::DecodeObfLine(overlay::EncodeObfLine(object));
    if (again.points != object.points || again.colour != object.colour || again.x != object.x) std::abort();
  }
  const std::string written = overlay::EncodeObfDocument(read.document);
  const overlay::ObfReadResult reread = overlay::DecodeObfDocument(written);
  if (reread.status != overlay::ObfStatus::kOk || reread.document.preview != read.document.preview) {
    std::abort();
  }
  return 0;
}
