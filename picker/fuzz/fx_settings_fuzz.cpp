// Fuzzes the effects panel's settings reader: any bytes a settings file may
// hold give 17 values, and the line built from them reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/fx_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const picker::FxSettings settings = picker::ParseFxLine(bytes);
  const picker::FxSettings again = picker::ParseFxLine(picker::BuildFxLine(settings));
  if (again.bands != settings.bands || again.boxes != settings.boxes) std::abort();
  return 0;
}
