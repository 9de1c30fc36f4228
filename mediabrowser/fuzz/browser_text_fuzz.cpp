// Fuzz target for the texts the media browser reads from outside: its
// command line, its settings line and its association entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/browser_command_line.h"
#include "core/config_file.h"
#include "core/file_filter.h"
#include "core/startup_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);

  browser::BrowserCommandLine line = browser::ParseBrowserCommandLine(text);
  if (line.kind == browser::CommandLineKind::Files && line.itemList.empty()) std::abort();

  browser::BrowserSettings settings = browser::ParseSettingsLine(text, 320, 200);
  if (settings.left < 0 || settings.top < 0 || settings.width < 320 || settings.height < 200) std::abort();
  browser::BrowserSettings again =
      browser::ParseSettingsLine(browser::FormatSettingsLine(settings), 320, 200);
  if (again.width != settings.width || again.option408 != settings.option408) std::abort();

  browser::AssociationEntry entry;
  browser::ParseAssociationEntry(text, "C:\\Orb\\", &entry);
  browser::ParseMediaTypes(text);
  browser::ItemHeightFromEntry(text);

  // The text as a media type's pattern, and as a file name.
  size_t half = text.size() / 2;
  browser::FileListFilter filter = browser::MakeFileListFilter(text.substr(0, half), text.substr(half));
  browser::FileListTakes(filter, text, 32);
  browser::FileCountStatus(size, text, text);
  return 0;
}
