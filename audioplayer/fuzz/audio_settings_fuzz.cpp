// Fuzz target for the settings line: any bytes are read or rejected, left
// and top are never negative, and what is read is written and read back the
// same (the skin field is never written).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/audio_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  audio::AudioSettings settings;
  if (!audio::DecodeSettingsLine(bytes, &settings)) return 0;
  if (settings.left < 0 || settings.top < 0) std::abort();
  if (settings.lastFolder.find('|') != std::string::npos) std::abort();
  settings.skin.clear();
  audio::AudioSettings again;
  if (!audio::DecodeSettingsLine(audio::EncodeSettingsLine(settings), &again)) std::abort();
  if (again.left != settings.left || again.top != settings.top || again.width != settings.width ||
      again.height != settings.height || again.lastFolder != settings.lastFolder ||
      again.secondFolder != settings.secondFolder || !again.skin.empty() || again.paneX != settings.paneX ||
      again.paneY != settings.paneY) {
    std::abort();
  }
  return 0;
}
