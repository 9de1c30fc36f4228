// Fuzz target for the media browser's settings and favourites files as they
// are read from the temporary folder, where any program (or a crash, or a
// full disk) may have left anything.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/config_file.h"
#include "core/startup_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  // The settings file: a readable line is read and kept on a screen.
  if (browser::IsReadableSettingsLine(bytes)) {
    browser::BrowserSettings s = browser::ParseSettingsLine(bytes, 320, 200);
    const browser::WorkArea area{0, 0, 1600, 1000};
    browser::KeepInsideWorkArea(&s, area, 320, 200);
    if (s.width < 320 || s.height < 200 || s.width > area.width || s.height > area.height) std::abort();
    if (s.left < area.left || s.top < area.top) std::abort();
    if (static_cast<int64_t>(s.left) + s.width > static_cast<int64_t>(area.left) + area.width) std::abort();
    if (static_cast<int64_t>(s.top) + s.height > static_cast<int64_t>(area.top) + area.height) std::abort();
    // What is saved again reads back the same.
    std::string saved = browser::FormatSettingsLine(s);
    browser::BrowserSettings again = browser::ParseSettingsLine(saved, 320, 200);
    if (again.left != s.left || again.top != s.top || again.width != s.width || again.height != s.height) {
      std::abort();
    }
  }

  // The favourites file: no line longer than a path or holding a control
  // byte, and what is written back reads as the same folders.
  std::vector<std::string> lines = browser::ReadFavouriteLines(bytes);
  for (const std::string& line : lines) {
    if (line.size() > browser::kMaxFavouriteLineBytes) std::abort();
    for (char c : line) {
      if (static_cast<unsigned char>(c) < 0x20 && c != '\t') std::abort();
    }
  }
  std::vector<std::string> folders = browser::FavouriteCandidates(lines);
  std::vector<std::string> reread = browser::FavouriteCandidates(
      browser::ReadFavouriteLines(browser::FormatFavourites(folders)));
  if (reread.size() > folders.size()) std::abort();
  return 0;
}
