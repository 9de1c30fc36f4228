// Session import: volume descriptor search and the directory walk.
#include "core/session_import.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/iso_fields.h"

namespace discburn {

namespace {

using iso::GetLe32;

struct Walker {
  BurnProject& project;
  SectorReader& reader;
  bool isUcs2;
  ImportResult result;
  std::unordered_set<uint32_t> visited;
  // Directory sectors held by the walk (the open directories along the
  // current path); a hostile disc cannot make it hold more than this.
  static constexpr uint64_t kMaxHeldBytes = 16u << 20;
  uint64_t heldBytes = 0;

  std::u16string DecodeName(const uint8_t* name, size_t length) const {
    std::u16string text;
    if (isUcs2) {
      for (size_t i = 0; i + 1 < length; i += 2) {
        text.push_back(static_cast<char16_t>(name[i] << 8 | name[i + 1]));
      }
    } else {
      for (size_t i = 0; i < length; ++i) text.push_back(name[i]);
    }
    size_t version = text.find(u';');
    if (version != std::u16string::npos) text.resize(version);
    // A plain ISO 9660 name of a file without extension ends in ".".
    if (!isUcs2 && !text.empty() && text.back() == u'.') text.pop_back();
    for (char16_t& c : text) {
      if (c < 0x20 || c == u'\\' || c == u'/') c = u'_';
    }
    return text;
  }

  // Reads the sectors of one directory into data.  false when the
  // directory was seen before (a loop or a second link), lies too deep, is
  // implausibly large, or its first sector cannot be read; a later sector
  // that cannot be read ends the directory there.
  bool Load(uint32_t extent, uint32_t sizeBytes, int depth, std::vector<uint8_t>* data) {
    uint64_t sectors = (uint64_t(sizeBytes) + kSectorBytes - 1) / kSectorBytes;
    if (depth > kMaxImportDepth || visited.count(extent) || sectors == 0 ||
        sectors > kMaxImportDirSectors || extent > UINT32_MAX - sectors ||
        heldBytes + sectors * kSectorBytes > kMaxHeldBytes) {
      return false;
    }
    data->assign(size_t(sectors) * kSectorBytes, 0);
    for (uint32_t s = 0; s < sectors; ++s) {
      if (!reader.Read(extent + s, 1, data->data() + size_t(s) * kSectorBytes)) {
        if (s == 0) return false;
        ++result.badRecords;
        data->resize(size_t(s) * kSectorBytes);
        break;
      }
    }
    visited.insert(extent);
    heldBytes += data->size();
    return true;
  }

  void Walk(DirNode* dest, const std::vector<uint8_t>& data, int depth) {
    std::u16string multiExtentName;
    for (size_t offset = 0; offset < data.size(); offset += kSectorBytes) {
      WalkSector(dest, data.data() + offset, depth, &multiExtentName);
    }
  }

  void WalkSector(DirNode* dest, const uint8_t* data, int depth, std::u16string* multiExtentName) {
    size_t offset = 0;
    while (offset < kSectorBytes) {
      const uint8_t* record = data + offset;
      const size_t length = record[0];  // 0: record length; 0 ends the sector
      if (length == 0) return;
      if (length < 34 || offset + length > kSectorBytes || 33u + record[32] > length) {
        ++result.badRecords;
        return;
      }
      offset += length;
      const uint8_t flags = record[25];
      const uint8_t nameLength = record[32];
      if (nameLength == 1 && (record[33] == 0 || record[33] == 1)) continue;  // "." and ".."
      std::u16string name = DecodeName(record + 33, nameLength);
      if (name.empty() || name == u"." || name == u"..") {
        ++result.badRecords;
        continue;
      }
      // Files of several extents (4 GiB and more) cannot be kept as one
      // entry: leave out every part.
      if (flags & 0x80) {
        *multiExtentName = name;
        ++result.badRecords;
        continue;
      }
      if (name == *multiExtentName) {
        multiExtentName->clear();
        continue;
      }
      RecordingTime time;
      time.yearsSince1900 = record[18];
      time.month = record[19];
      time.day = record[20];
      time.hour = record[21];
      time.minute = record[22];
      time.second = record[23];
      time.utcOffset15 = static_cast<int8_t>(record[24]);
      const uint32_t attributes = (flags & 0x01) ? kAttributeHidden : 0;
      const uint32_t extent = GetLe32(record + 2);
      const uint32_t sizeBytes = GetLe32(record + 10);
      if (flags & 0x02) {
        std::vector<uint8_t> children;
        if (!Load(extent, sizeBytes, depth + 1, &children)) {
          ++result.badRecords;
          continue;
        }
        DirNode* child = project.CreateChildDir(dest, name, name.substr(0, 12), time, attributes);
        if (!child) {
          ++result.badRecords;
          heldBytes -= children.size();
          continue;
        }
        ++result.entries;
        Walk(child, children, depth + 1);
        heldBytes -= children.size();
      } else {
        if (sizeBytes > 0 && extent == 0) {
          ++result.badRecords;
          continue;
        }
        if (project.AddImportedFile(dest, name, time, sizeBytes, extent, attributes).node) {
          ++result.entries;
        } else {
          ++result.badRecords;
        }
      }
    }
  }
};

bool IsJolietEscape(const uint8_t* d) {
  return d[88] == 0x25 && d[89] == 0x2F && (d[90] == 0x40 || d[90] == 0x43 || d[90] == 0x45);
}

}  // namespace

ImportResult ImportSession(BurnProject& project, SectorReader& reader, uint32_t sessionStart,
                           std::u16string_view destDir) {
  project.status = kStatusImporting;
  ImportResult result;
  DirNode* dest = project.FindDir(destDir);
  if (!dest) dest = project.root();

  std::vector<uint8_t> descriptor(kSectorBytes);
  std::vector<uint8_t> chosen;
  bool isUcs2 = false;
  for (uint32_t s = 16; s < 32 && sessionStart <= UINT32_MAX - s; ++s) {
    if (!reader.Read(sessionStart + s, 1, descriptor.data())) break;
    if (std::memcmp(descriptor.data() + 1, "CD001", 5) != 0) continue;
    const uint8_t type = descriptor[0];
    if (type == 255) break;
    if (type == 2 && IsJolietEscape(descriptor.data())) {
      chosen = descriptor;
      isUcs2 = true;
      break;
    }
    if (type == 1 && chosen.empty()) chosen = descriptor;
  }
  if (!chosen.empty()) {
    Walker walker{project, reader, isUcs2, {}, {}};
    // 156: root directory record; 158: its extent, 166: its data length.
    std::vector<uint8_t> rootData;
    result.isTreeRead = walker.Load(GetLe32(&chosen[158]), GetLe32(&chosen[166]), 0, &rootData);
    if (result.isTreeRead) walker.Walk(dest, rootData, 0);
    result.entries = walker.result.entries;
    result.badRecords = walker.result.badRecords;
  }
  if (result.entries > 0) project.isPrepared = false;
  project.status = kStatusIdle;
  return result;
}

}  // namespace discburn
