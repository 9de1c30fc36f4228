// Fuzz target of the session importer: the input is a disc from sector 16
// on (the volume descriptors first); sectors outside it cannot be read.
// Whatever tree comes out must lay out and write a header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/image_header.h"
#include "core/image_layout.h"
#include "core/local_file_source.h"
#include "core/session_import.h"

namespace {

class ZeroClock : public discburn::Clock {
 public:
  int64_t NowUtcSeconds() override { return 0; }
  int32_t UtcOffsetMinutes(int64_t) override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace discburn;
  LocalFileSource files;
  ZeroClock clock;
  BurnProject project(files, clock);
  MemorySectorReader reader(data, size, 16);
  ImportResult result = ImportSession(project, reader, 0, u"\\");
  if (!result.isTreeRead && result.entries != 0) std::abort();
  if (project.files().size() != result.entries) std::abort();
  for (const auto& file : project.files()) {
    if (file->jolietName.size() > kJolietMaxChars || file->isoName.size() > 255) std::abort();
    if (!file->isDirectory() && !file->isImported) std::abort();
  }
  if (LayoutImage(project) == 0) std::abort();
  std::vector<uint8_t> header;
  if (!WriteImageHeader(project, 1000, &header)) std::abort();
  if (header.size() != size_t(project.layout.headerSectors) * 2048) std::abort();
  return 0;
}
