// The image as a stream of 2048-byte sectors, as the burn engine sends it
// to the drive: the header, the boot image, every file's bytes (each
// rounded up to whole sectors with zeros) in file-table order, then zeros
// up to the rounded image size.  Source files are opened one at a time,
// when the stream reaches them.  WriteImageFile drives the same stream into
// a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/burn_project.h"

namespace discburn {

class ImageStream {
 public:
  // project must be prepared and must not change while the stream runs;
  // header is what WriteImageHeader produced for it.
  ImageStream(BurnProject& project, std::vector<uint8_t> header);
  ~ImageStream();

  // Fills buffer with up to maxSectors sectors and returns how many; 0 at
  // the end of the image or after a failure.  A source that cannot be
  // opened, or that ends before or after its recorded size, fails the stream with
  // the project error kErrorOpenSource.
  uint32_t ReadSectors(uint8_t* buffer, uint32_t maxSectors);

  bool failed() const { return failed_; }
  uint32_t totalSectors() const { return totalSectors_; }
  uint32_t sectorsProduced() const { return sectorsProduced_; }
  // The source opened last (for the error text), empty before the first.
  const std::u16string& currentSource() const { return currentSource_; }

 private:
  struct Source {
    std::u16string path;
    bool isWide;
    uint64_t sizeBytes;
  };
  bool OpenNextSource();
  void Fail();

  BurnProject& project_;
  std::vector<uint8_t> header_;
  size_t headerOffset_ = 0;
  std::vector<Source> sources_;
  size_t nextSource_ = 0;
  std::unique_ptr<SourceStream> stream_;
  uint64_t sourceLeft_ = 0;
  std::u16string currentSource_;
  uint32_t totalSectors_ = 0;
  uint32_t sectorsProduced_ = 0;
  bool failed_ = false;
};

// Lays nothing out: writes the prepared project, placed at sessionStart,
// into a new file at imagePath (created or truncated).  false with error
// kErrorNotPrepared, kErrorCreateImage (the file cannot be created or
// written) or kErrorOpenSource.
bool WriteImageFile(BurnProject& project, uint32_t sessionStart,
                    const std::filesystem::path& imagePath);

}  // namespace discburn
