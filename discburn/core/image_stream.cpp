// Sector stream of a prepared image and the image-file writer.
#include "core/image_stream.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/image_header.h"
#include "core/sector_reader.h"

namespace discburn {

ImageStream::ImageStream(BurnProject& project, std::vector<uint8_t> header)
    : project_(project), header_(std::move(header)) {
  totalSectors_ = project.layout.imageSectors;
  if (project.hasBootImage()) {
    sources_.push_back({project.bootImagePath(), project.isBootImageWide(),
                        project.bootImageBytes()});
  }
  for (const auto& file : project.files()) {
    // Exactly the files the layout gave sectors, in the same order; one
    // without a source cannot be opened and fails the stream.
    if (file->isDirectory() || file->isImported || file->sizeBytes == 0) continue;
    sources_.push_back({file->sourcePath, file->isWideSource, file->sizeBytes});
  }
}

ImageStream::~ImageStream() = default;

void ImageStream::Fail() {
  failed_ = true;
  stream_.reset();
  project_.error = kErrorOpenSource;
}

bool ImageStream::OpenNextSource() {
  while (nextSource_ < sources_.size()) {
    const Source& source = sources_[nextSource_++];
    currentSource_ = source.path;
    stream_ = project_.fileSource().Open(source.path, source.isWide);
    if (!stream_) {
      Fail();
      return false;
    }
    sourceLeft_ = source.sizeBytes;
    return true;
  }
  return false;
}

uint32_t ImageStream::ReadSectors(uint8_t* buffer, uint32_t maxSectors) {
  if (failed_) return 0;
  const uint32_t wanted = std::min(maxSectors, totalSectors_ - sectorsProduced_);
  const size_t room = size_t(wanted) * kSectorBytes;
  size_t filled = 0;

  if (headerOffset_ < header_.size()) {
    size_t piece = std::min(room, header_.size() - headerOffset_);
    std::memcpy(buffer, header_.data() + headerOffset_, piece);
    headerOffset_ += piece;
    filled += piece;
    if (headerOffset_ == header_.size()) std::vector<uint8_t>().swap(header_);
  }
  while (filled < room) {
    if (!stream_ && !OpenNextSource()) break;
    size_t piece = static_cast<size_t>(std::min<uint64_t>(room - filled, sourceLeft_));
    size_t got = piece ? stream_->Read(buffer + filled, piece) : 0;
    if (got != piece) {
      Fail();  // the file shrank or could not be read since it was inserted
      return 0;
    }
    filled += got;
    sourceLeft_ -= got;
    if (sourceLeft_ == 0) {
      // A file that grew since it was inserted would be written cut to
      // its recorded size: that fails the stream as a shrunk one does.
      uint8_t extra;
      if (stream_->Read(&extra, 1) != 0) {
        Fail();
        return 0;
      }
      stream_.reset();
      size_t tail = (kSectorBytes - filled % kSectorBytes) % kSectorBytes;
      std::memset(buffer + filled, 0, tail);
      filled += tail;
    }
  }
  if (failed_) return 0;
  // Past the last source: zeros up to the rounded image size.
  std::memset(buffer + filled, 0, room - filled);
  sectorsProduced_ += wanted;
  return wanted;
}

bool WriteImageFile(BurnProject& project, uint32_t sessionStart,
                    const std::filesystem::path& imagePath) {
  std::vector<uint8_t> header;
  if (!WriteImageHeader(project, sessionStart, &header)) return false;
  ImageStream stream(project, std::move(header));
#ifdef _WIN32
  std::FILE* out = _wfopen(imagePath.wstring().c_str(), L"wb");
#else
  std::FILE* out = std::fopen(imagePath.c_str(), "wb");
#endif
  if (!out) {
    project.error = kErrorCreateImage;
    return false;
  }
  std::setvbuf(out, nullptr, _IONBF, 0);
  // Large blocks: one read per source piece and one write per block.
  constexpr uint32_t kBlockSectors = 1024;
  std::vector<uint8_t> block(size_t(kBlockSectors) * kSectorBytes);
  bool isWritten = true;
  while (uint32_t sectors = stream.ReadSectors(block.data(), kBlockSectors)) {
    size_t bytes = size_t(sectors) * kSectorBytes;
    if (std::fwrite(block.data(), 1, bytes, out) != bytes) {
      isWritten = false;
      break;
    }
  }
  if (std::fclose(out) != 0) isWritten = false;
  if (stream.failed()) return false;
  if (!isWritten || stream.sectorsProduced() != stream.totalSectors()) {
    project.error = kErrorCreateImage;
    return false;
  }
  return true;
}

}  // namespace discburn
