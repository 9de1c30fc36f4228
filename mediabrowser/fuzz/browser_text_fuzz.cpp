// Fuzz target for the texts the media browser reads from outside: its
// command line, its settings line, its association entries, the grids of
// its action entries and the names its album pages escape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/browser_command_line.h"
#include "core/config_file.h"
#include "core/file_filter.h"
#include "core/overview_pages.h"
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

  // The text as an action entry's grid: a page made from it has cells.
  browser::OverviewGrid grid = browser::GridFromAction(text);
  if (grid.columns < 1 || grid.rows < 1 || grid.divisor < 1) std::abort();
  browser::PageGeometry geometry;
  if (browser::ComputePageGeometry(1024, grid, &geometry) &&
      (geometry.cellWidth < 1 || geometry.cellHeight < 1 || geometry.perPage < 1)) {
    std::abort();
  }
  // Escaped text holds no markup; an encoded path only URL-safe bytes.
  if (browser::EscapeHtmlText(text).find_first_of("<>\"") != std::string::npos) std::abort();
  for (char c : browser::PercentEncodePath(text)) {
    if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F || c == '#' || c == '&' ||
        c == '"' || c == '\'') {
      std::abort();
    }
  }
  browser::FileUrlOf(text);
  return 0;
}
