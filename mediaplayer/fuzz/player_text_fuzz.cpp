// Fuzz target for the texts the media player reads from outside: its
// command line (also as forwarded by a second start), its option line and
// the texts of suite commands.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/command_rules.h"
#include "core/option_line.h"
#include "core/player_command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  player::ParsedCommandLine parsed = player::ParseCommandLine(text, [](const std::string&) {
    return std::string("a|b");
  });
  if (parsed.itemList.find('\x01') != std::string::npos) std::abort();

  player::OptionLine options([&] { return text; }, [] { return false; }, [] { return 0u; });
  int32_t volume = options.OptionField14();
  if (volume < player::OPTION_KEEP_VOLUME || volume > 100) std::abort();
  options.OptionField21();
  std::string rewritten = player::RewriteForAviKiosk(text);
  player::OptionLine after([&] { return rewritten; }, [] { return false; }, [] { return 0u; });
  if (after.OptionField7() != 1 || after.OptionField3() != 304) std::abort();

  player::ParseRecordingRequest(text);
  player::EndsWithPageExtension(text);
  player::ParseBurnHandOff(text);
  player::AutorunItem({text});
  player::AsUrl(text);
  player::QueueForwarded(text, text);
  return 0;
}
