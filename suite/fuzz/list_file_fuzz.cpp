// Fuzz target for the ".upl" list file reader: any bytes read as a list,
// and what the writer makes of the result read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string folder = "c:\\orb\\";
  size_t asked = 0;
  suite::ListFileContents contents = suite::ReadListFile(bytes, folder, [&](const std::string& path) {
    ++asked;
    return (path.size() & 1) == 0;
  });
  if (asked != contents.namedCount) std::abort();
  if (contents.files.size() + contents.missingCount != contents.namedCount) std::abort();
  if (suite::ReadListEntries(bytes, folder).size() != contents.namedCount) std::abort();
  // Read as a list cut at the size limit: the same lines less the one after
  // the last line end.
  suite::ListFileContents cut = suite::ReadListFile(bytes, folder, [](const std::string&) { return true; }, true);
  if (cut.namedCount > contents.namedCount ||
      suite::ReadListEntries(bytes, folder, true).size() != cut.namedCount) {
    std::abort();
  }
  suite::ListFileBaseName(bytes, suite::LIST_FILE_EXTENSION);

  // Files read back are written and read again unchanged (none of them
  // holds a line end or starts with a blank).
  std::string written = suite::WriteListFile(contents.files);
  suite::ListFileContents again =
      suite::ReadListFile(written, folder, [](const std::string&) { return true; });
  // A first entry that itself starts with a byte-order mark loses it, as
  // an editor's mark would be.
  const bool startsWithMark = written.compare(0, 3, "\xEF\xBB\xBF") == 0;
  if (again.files != contents.files && written.find("@path@") == std::string::npos && !startsWithMark) {
    std::abort();
  }
  return 0;
}
