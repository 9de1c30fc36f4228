// Volume descriptors, path tables, directories and the boot catalog.
#include "core/image_header.h"

#include <string>

#include "core/disc_names.h"
#include "core/image_layout.h"
#include "core/iso_fields.h"
#include "core/sector_reader.h"

namespace discburn {

namespace {

using namespace iso;

enum DescriptorType : uint8_t {
  kBootRecord = 0,
  kPrimary = 1,
  kSupplementary = 2,
  kTerminator = 255,
};

constexpr uint8_t kFlagHidden = 0x01;
constexpr uint8_t kFlagDirectory = 0x02;

std::string Ucs2Be(std::u16string_view text) {
  std::string out;
  out.reserve(2 * text.size());
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

// Which tree a writer is producing.
struct Tree {
  bool isJoliet;
  uint32_t dirAreaStart;  // absolute

  uint32_t DirExtent(const DirNode& dir) const {
    return dirAreaStart + (isJoliet ? dir.jolietExtent : dir.isoExtent);
  }
  uint32_t DirBytes(const DirNode& dir) const {
    return isJoliet ? dir.jolietSizeBytes : dir.isoSizeBytes;
  }
  std::string Name(const FileNode& entry) const {
    return isJoliet ? Ucs2Be(entry.jolietName) : entry.isoName;
  }
};

// A directory record (ECMA-119 9.1); returns its length.
uint32_t PutRecord(uint8_t* at, uint32_t extent, uint32_t sizeBytes, const RecordingTime& time,
                   uint8_t flags, std::string_view name) {
  uint32_t length = 33 + static_cast<uint32_t>(name.size());
  length += length & 1;
  at[0] = static_cast<uint8_t>(length);   // 0: record length
  at[1] = 0;                              // 1: extended attribute record length
  PutBoth32(at + 2, extent);              // 2: location of extent
  PutBoth32(at + 10, sizeBytes);          // 10: data length
  at[18] = time.yearsSince1900;           // 18: recording date and time
  at[19] = time.month;
  at[20] = time.day;
  at[21] = time.hour;
  at[22] = time.minute;
  at[23] = time.second;
  at[24] = static_cast<uint8_t>(time.utcOffset15);
  at[25] = flags;                         // 25: file flags
  at[26] = 0;                             // 26: file unit size
  at[27] = 0;                             // 27: interleave gap size
  PutBoth16(at + 28, 1);                  // 28: volume sequence number
  at[32] = static_cast<uint8_t>(name.size());  // 32: length of file identifier
  std::memcpy(at + 33, name.data(), name.size());
  return length;
}

// The fields the primary, long-name and Joliet descriptors share.
void PutVolumeFields(uint8_t* d, uint8_t type, uint32_t volumeSectors) {
  d[0] = type;                          // 0: volume descriptor type
  std::memcpy(d + 1, "CD001", 5);       // 1: standard identifier
  d[6] = 1;                             // 6: version
  PutBoth32(d + 80, volumeSectors);     // 80: volume space size
  PutBoth16(d + 120, 1);                // 120: volume set size
  PutBoth16(d + 124, 1);                // 124: volume sequence number
  PutBoth16(d + 128, kSectorBytes);     // 128: logical block size
  d[881] = 1;                           // 881: file structure version
}

void PutUnspecifiedDates(uint8_t* d) {
  for (int field = 0; field < 4; ++field) {  // 813: creation .. effective
    std::memset(d + 813 + 17 * field, '0', 16);
    d[813 + 17 * field + 16] = 0;
  }
}

class HeaderWriter {
 public:
  HeaderWriter(const BurnProject& project, uint32_t sessionStart, uint8_t* image)
      : project_(project), layout_(project.layout), start_(sessionStart), image_(image) {}

  void Write() {
    uint8_t* descriptor = Sector(kDescriptorStart);
    const Tree iso{false, start_ + layout_.isoDirStart};
    const Tree joliet{true, start_ + layout_.jolietDirStart};
    PutPrimary(descriptor, kPrimary, iso);
    descriptor += kSectorBytes;
    if (project_.hasBootImage()) {
      PutBootRecord(descriptor);
      descriptor += kSectorBytes;
    }
    if (project_.isLongNameMode()) {
      PutPrimary(descriptor, kSupplementary, iso);
      descriptor[881] = 2;  // ISO 9660:1999 enhanced volume descriptor
      descriptor += kSectorBytes;
    }
    if (project_.hasJolietTree) {
      PutJoliet(descriptor, joliet);
      descriptor += kSectorBytes;
    }
    descriptor[0] = kTerminator;
    std::memcpy(descriptor + 1, "CD001", 5);
    descriptor[6] = 1;

    PutPathTables(iso, layout_.isoPathTableL, layout_.isoPathTableM);
    PutDirectories(iso);
    if (project_.hasJolietTree) {
      PutPathTables(joliet, layout_.jolietPathTableL, layout_.jolietPathTableM);
      PutDirectories(joliet);
    }
    if (project_.hasBootImage()) PutBootCatalog(Sector(layout_.bootCatalogSector));
  }

 private:
  uint8_t* Sector(uint32_t relative) { return image_ + size_t(relative) * kSectorBytes; }
  uint32_t VolumeSectors() const { return start_ + layout_.imageSectors; }

  void PutRootRecord(uint8_t* d, const Tree& tree) {
    const DirNode& root = *project_.root();
    PutRecord(d + 156, tree.DirExtent(root), tree.DirBytes(root), root.time(), kFlagDirectory,
              std::string_view("\0", 1));
  }

  void PutPrimary(uint8_t* d, uint8_t type, const Tree& iso) {
    PutVolumeFields(d, type, VolumeSectors());
    PutPadded(d + 8, 32, "", ' ');                                       // system identifier
    PutPadded(d + 40, 32, IsoNameBytes(project_.volumeId(), 32), ' ');  // volume identifier
    PutBoth32(d + 132, layout_.isoPathTableBytes);                       // path table size
    PutLe32(d + 140, start_ + layout_.isoPathTableL);                    // type L path table
    PutBe32(d + 148, start_ + layout_.isoPathTableM);                    // type M path table
    PutRootRecord(d, iso);
    PutPadded(d + 190, 128, "", ' ');            // volume set identifier
    PutPadded(d + 318, 128, kPublisherId, ' ');  // publisher identifier
    PutPadded(d + 446, 128, "", ' ');            // data preparer identifier
    PutPadded(d + 574, 128, "", ' ');            // application identifier
    PutPadded(d + 702, 37, "", ' ');             // copyright file identifier
    PutPadded(d + 739, 37, "", ' ');             // abstract file identifier
    PutPadded(d + 776, 37, "", ' ');             // bibliographic file identifier
    PutUnspecifiedDates(d);
    PutPadded(d + 883, 8, "", ' ');              // application use (start)
  }

  void PutJoliet(uint8_t* d, const Tree& joliet) {
    PutVolumeFields(d, kSupplementary, VolumeSectors());
    std::u16string label = Prefix(project_.volumeId(), 16);
    label.resize(16, u' ');
    PutPadded(d + 40, 32, Ucs2Be(label), 0);      // volume identifier
    d[88] = 0x25;                                 // escape sequences: UCS-2 level 1
    d[89] = 0x2F;
    d[90] = 0x40;
    PutBoth32(d + 132, layout_.jolietPathTableBytes);
    PutLe32(d + 140, start_ + layout_.jolietPathTableL);
    PutBe32(d + 148, start_ + layout_.jolietPathTableM);
    PutRootRecord(d, joliet);
    std::u16string publisher;
    for (const char* c = kPublisherId; *c; ++c) publisher.push_back(static_cast<char16_t>(*c));
    PutPadded(d + 318, 128, Ucs2Be(publisher), 0);
    PutUnspecifiedDates(d);
  }

  void PutBootRecord(uint8_t* d) {
    d[0] = kBootRecord;
    std::memcpy(d + 1, "CD001", 5);
    d[6] = 1;
    PutPadded(d + 7, 32, "EL TORITO SPECIFICATION", 0);  // boot system identifier
    // 71: boot catalog sector, absolute so that a later session boots too.
    PutLe32(d + 71, start_ + layout_.bootCatalogSector);
  }

  void PutPathTables(const Tree& tree, uint32_t sectorL, uint32_t sectorM) {
    uint8_t* l = Sector(sectorL);
    uint8_t* m = Sector(sectorM);
    for (const DirNode* dir : layout_.pathTableOrder) {
      std::string name = dir->entry ? tree.Name(*dir->entry) : std::string("\0", 1);
      const uint32_t extent = tree.DirExtent(*dir);
      const uint16_t parent = dir->parent->pathTableNumber;
      for (uint8_t* at : {l, m}) {
        at[0] = static_cast<uint8_t>(name.size());  // 0: length of directory identifier
        at[1] = 0;                                  // 1: extended attribute record length
        if (at == l) {
          PutLe32(at + 2, extent);  // 2: location of extent
          PutLe16(at + 6, parent);  // 6: parent directory number
        } else {
          PutBe32(at + 2, extent);
          PutBe16(at + 6, parent);
        }
        std::memcpy(at + 8, name.data(), name.size());  // 8: directory identifier
      }
      const size_t length = 8 + name.size() + (name.size() & 1);
      l += length;
      m += length;
    }
  }

  void PutDirectories(const Tree& tree) {
    for (const auto& dir : project_.directories()) {
      uint8_t* sector = Sector(0) + size_t(tree.DirExtent(*dir) - start_) * kSectorBytes;
      uint32_t used = PutRecord(sector, tree.DirExtent(*dir), tree.DirBytes(*dir), dir->time(),
                                kFlagDirectory, std::string_view("\0", 1));
      used += PutRecord(sector + used, tree.DirExtent(*dir->parent), tree.DirBytes(*dir->parent),
                        dir->parent->time(), kFlagDirectory, std::string_view("\1", 1));
      for (const FileNode* child : dir->children) {
        std::string name = tree.Name(*child);
        uint32_t length = 33 + static_cast<uint32_t>(name.size());
        length += length & 1;
        if (used + length > kSectorBytes) {
          sector += kSectorBytes;
          used = 0;
        }
        uint8_t flags = (child->attributes & kAttributeHidden) ? kFlagHidden : 0;
        uint32_t extent = 0;
        uint32_t sizeBytes = 0;
        if (child->isDirectory()) {
          flags |= kFlagDirectory;
          extent = tree.DirExtent(*child->directory);
          sizeBytes = tree.DirBytes(*child->directory);
        } else {
          sizeBytes = static_cast<uint32_t>(child->sizeBytes);
          if (child->isImported) {
            extent = child->extent;
          } else if (child->sizeBytes > 0) {
            extent = start_ + layout_.fileDataStart + child->extent;
          }
        }
        used += PutRecord(sector + used, extent, sizeBytes, child->time, flags, name);
      }
    }
  }

  void PutBootCatalog(uint8_t* c) {
    c[0] = 1;  // validation entry: header id; platform 0 (80x86); id string empty
    c[30] = 0x55;
    c[31] = 0xAA;
    uint16_t sum = 0;
    for (int i = 0; i < 32; i += 2) sum = static_cast<uint16_t>(sum + GetLe16(c + i));
    PutLe16(c + 28, static_cast<uint16_t>(0x10000 - sum));  // words sum to 0
    uint8_t* e = c + 32;  // initial/default entry
    e[0] = 0x88;          // bootable
    uint8_t mediaType = 0;
    switch (project_.bootImageBytes()) {
      case 1228800: mediaType = 1; break;  // 1.2 MB floppy
      case 1474560: mediaType = 2; break;  // 1.44 MB floppy
      case 2949120: mediaType = 3; break;  // 2.88 MB floppy
      default: mediaType = 0; break;       // no emulation
    }
    e[1] = mediaType;
    PutLe16(e + 2, 0);                            // load segment: the default 0x7C0
    PutLe16(e + 6, mediaType == 0 ? 4 : 1);       // sector count (512-byte sectors)
    PutLe32(e + 8, start_ + layout_.bootImageSector);  // load RBA, absolute
  }

  const BurnProject& project_;
  const ImageLayout& layout_;
  const uint32_t start_;
  uint8_t* image_;
};

}  // namespace

bool WriteImageHeader(BurnProject& project, uint32_t sessionStart, std::vector<uint8_t>* header) {
  if (!project.isPrepared) {
    project.error = kErrorNotPrepared;
    return false;
  }
  header->assign(size_t(project.layout.headerSectors) * kSectorBytes, 0);
  HeaderWriter(project, sessionStart, header->data()).Write();
  return true;
}

}  // namespace discburn
