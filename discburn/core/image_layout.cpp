// Image layout: path-table order, directory sizes and every extent.
#include "core/image_layout.h"

#include <algorithm>

#include "core/sector_reader.h"

namespace discburn {

namespace {

uint64_t SectorsFor(uint64_t bytes) { return (bytes + kSectorBytes - 1) / kSectorBytes; }

// Bytes of a directory's sectors when its children's records are packed
// after "." and "..", no record crossing a sector end.
template <typename RecordBytes>
uint32_t DirectoryBytes(const DirNode& dir, RecordBytes recordBytes) {
  uint32_t sectors = 1;
  uint32_t used = 2 * kDotRecordBytes;
  for (const FileNode* child : dir.children) {
    uint32_t length = recordBytes(*child);
    if (used + length > kSectorBytes) {
      ++sectors;
      used = 0;
    }
    used += length;
  }
  return sectors * kSectorBytes;
}

// Path-table order: the root, then breadth first, the children of each
// directory by Joliet name (code unit order).  Every directory's parent
// then comes before it and the parent numbers never decrease, which is the
// order readers binary-search in.
std::vector<DirNode*> PathTableOrder(BurnProject& project) {
  std::vector<DirNode*> order;
  order.reserve(project.directories().size());
  order.push_back(project.root());
  project.root()->depth = 0;
  for (size_t i = 0; i < order.size(); ++i) {
    DirNode* dir = order[i];
    dir->pathTableNumber = static_cast<uint16_t>(i + 1);
    size_t first = order.size();
    for (FileNode* child : dir->children) {
      if (!child->isDirectory()) continue;
      child->directory->depth = dir->depth + 1;
      order.push_back(child->directory);
    }
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(first), order.end(),
              [](const DirNode* a, const DirNode* b) {
                return a->entry->jolietName < b->entry->jolietName;
              });
  }
  return order;
}

}  // namespace

uint32_t IsoRecordBytes(const FileNode& entry) {
  uint32_t length = 33 + static_cast<uint32_t>(entry.isoName.size());
  return length + (length & 1);
}

uint32_t JolietRecordBytes(const FileNode& entry) {
  return 33 + 2 * static_cast<uint32_t>(entry.jolietName.size()) + 1;
}

uint32_t LayoutImage(BurnProject& project) {
  project.status = kStatusPreparing;
  project.isPrepared = false;
  ImageLayout layout;
  layout.pathTableOrder = PathTableOrder(project);

  uint64_t cursor = kDescriptorStart;
  cursor += 2;  // primary descriptor and terminator
  if (project.hasJolietTree) ++cursor;
  if (project.hasBootImage()) ++cursor;
  if (project.isLongNameMode()) ++cursor;

  uint64_t isoTable = 10, jolietTable = 10;
  for (const DirNode* dir : layout.pathTableOrder) {
    if (!dir->entry) continue;
    uint64_t isoLength = dir->entry->isoName.size();
    isoTable += 8 + isoLength + (isoLength & 1);
    jolietTable += 8 + 2 * dir->entry->jolietName.size();
  }
  layout.isoPathTableBytes = static_cast<uint32_t>(isoTable);
  layout.isoPathTableL = static_cast<uint32_t>(cursor);
  layout.isoPathTableM = static_cast<uint32_t>(cursor + SectorsFor(isoTable));
  cursor += 2 * SectorsFor(isoTable);
  if (project.hasJolietTree) {
    layout.jolietPathTableBytes = static_cast<uint32_t>(jolietTable);
    layout.jolietPathTableL = static_cast<uint32_t>(cursor);
    layout.jolietPathTableM = static_cast<uint32_t>(cursor + SectorsFor(jolietTable));
    cursor += 2 * SectorsFor(jolietTable);
  }

  // Directory areas in directory-table order (the root first).
  layout.isoDirStart = static_cast<uint32_t>(cursor);
  uint64_t isoSectors = 0;
  for (const auto& dir : project.directories()) {
    dir->isoSizeBytes = DirectoryBytes(*dir, IsoRecordBytes);
    dir->isoExtent = static_cast<uint32_t>(isoSectors);
    isoSectors += dir->isoSizeBytes / kSectorBytes;
  }
  layout.isoDirSectors = static_cast<uint32_t>(isoSectors);
  cursor += isoSectors;
  if (project.hasJolietTree) {
    layout.jolietDirStart = static_cast<uint32_t>(cursor);
    uint64_t jolietSectors = 0;
    for (const auto& dir : project.directories()) {
      dir->jolietSizeBytes = DirectoryBytes(*dir, JolietRecordBytes);
      dir->jolietExtent = static_cast<uint32_t>(jolietSectors);
      jolietSectors += dir->jolietSizeBytes / kSectorBytes;
    }
    layout.jolietDirSectors = static_cast<uint32_t>(jolietSectors);
    cursor += jolietSectors;
  }

  if (project.hasBootImage()) layout.bootCatalogSector = static_cast<uint32_t>(cursor++);
  if (cursor < kMinHeaderSectors) {
    layout.paddingSectors = static_cast<uint32_t>(kMinHeaderSectors - cursor);
    cursor = kMinHeaderSectors;
  }
  layout.headerSectors = static_cast<uint32_t>(cursor);
  if (project.hasBootImage()) {
    layout.bootImageSector = static_cast<uint32_t>(cursor);
    layout.bootImageSectors = project.bootImageBytes() / kSectorBytes;
    cursor += layout.bootImageSectors;
  }
  layout.fileDataStart = static_cast<uint32_t>(cursor);

  uint64_t fileSectors = 0;
  for (const auto& file : project.files()) {
    if (file->isDirectory() || file->isImported) continue;
    if (file->sizeBytes == 0) {
      file->extent = 0;
      continue;
    }
    file->extent = static_cast<uint32_t>(std::min<uint64_t>(fileSectors, UINT32_MAX));
    fileSectors += SectorsFor(file->sizeBytes);
  }
  const uint64_t total = cursor + fileSectors;
  uint64_t rounded = project.roundTo32 ? (total + 31) / 32 * 32 : total;
  // Sector numbers in records are 32 bits and include the session start,
  // which is at most a few million; keep a generous margin below 2^32.
  if (rounded >= 0xF0000000ull) {
    project.status = kStatusIdle;
    return 0;
  }
  layout.fileDataSectors = static_cast<uint32_t>(fileSectors);
  layout.imageSectors = static_cast<uint32_t>(rounded);
  project.layout = std::move(layout);
  project.isPrepared = true;
  project.status = kStatusIdle;
  return static_cast<uint32_t>(total);
}

}  // namespace discburn
