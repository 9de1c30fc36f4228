// Reads and writes the placement file through its byte rules
// (core/placement_file); this file only finds the file, the machine's
// values and the state the bytes belong to.
#include "placement.h"

#include <windows.h>

#include "core/path_names.h"
#include "core/placement_file.h"
#include "file_io.h"
#include "magnifier.h"
#include "paint_state.h"
#include "skin_texts.h"
#include "themecore.h"

namespace paint {

namespace {

// A file larger than this is not ours: a path and a pattern take a few
// hundred bytes.
constexpr size_t kMaxPlacementBytes = 64 * 1024;

std::string WindowsFolder() {
  char folder[MAX_PATH + 1] = {};
  const UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length > MAX_PATH) return "C:\\";
  std::string text(folder, length);
  if (text.back() != '\\') text += '\\';
  return text;
}

}  // namespace

std::string PlacementFilePath() {
  return suite::TempFolder() + suite::NameBeforeFirstDot(Paint().programName) + ".cfg";
}

Placement ReadPlacementFile() {
  PaintState& p = Paint();
  PlacementContext context;
  context.minimumWidth = SKXMINI();
  context.minimumHeight = SKYMINI();
  context.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  context.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  context.windowsFolder = WindowsFolder();
  std::string bytes;
  // A file that cannot be read counts as none: the defaults.
  if (!suite::ReadWholeFile(PlacementFilePath(), kMaxPlacementBytes, &bytes)) bytes.clear();
  const POINT magnifier = MagnifierPosition();
  const PlacementRecord record = ReadPlacement(bytes, context, magnifier.x, magnifier.y);
  p.lastFolder = record.lastFolder;
  p.lastFilter = record.lastFilter;
  SetMagnifierPosition(record.magnifierX, record.magnifierY);
  TraceProgramCall("ReadPlacementFile", std::to_string(bytes.size()),
                   std::to_string(record.x) + ", " + std::to_string(record.y) + ", " + std::to_string(record.width) +
                       ", " + std::to_string(record.height));
  return Placement{record.x, record.y, record.width, record.height};
}

void WritePlacementFile(const Placement& placement) {
  const PaintState& p = Paint();
  PlacementRecord record;
  record.x = placement.x;
  record.y = placement.y;
  record.width = placement.width;
  record.height = placement.height;
  record.lastFolder = p.lastFolder;
  record.lastFilter = p.lastFilter;
  const POINT magnifier = MagnifierPosition();
  record.magnifierX = magnifier.x;
  record.magnifierY = magnifier.y;
  const bool written = suite::WriteFileReplacing(PlacementFilePath(), PlacementBytes(record));
  TraceProgramCall("WritePlacementFile",
                   std::to_string(record.x) + ", " + std::to_string(record.y) + ", " + std::to_string(record.width) +
                       ", " + std::to_string(record.height),
                   written ? "ok" : "not written");
}

}  // namespace paint
