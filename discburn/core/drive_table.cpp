// Drive table texts and ordering; see drive_table.h.
#include "drive_table.h"

#include <algorithm>
#include <cstdio>

namespace discburn {
namespace {

std::string Printable(const uint8_t* bytes, size_t count) {
  std::string text(reinterpret_cast<const char*>(bytes), count);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return text;
}

}  // namespace

std::optional<DriveIdentity> IdentityFromInquiry(const uint8_t* bytes, uint32_t validBytes) {
  if (bytes == nullptr || validBytes < 36 || bytes[0] != 0x05) return std::nullopt;
  return DriveIdentity{Printable(bytes + 8, 8), Printable(bytes + 16, 16), Printable(bytes + 32, 4)};
}

std::string FormatDriveText(const DriveEntry& entry) {
  if (!entry.identity) return std::string();
  char text[160];
  int length = std::snprintf(text, sizeof text, "%d:%d:%d,%c: %.8s %.16s %.4s ", entry.adapter, entry.target,
                             entry.lun, entry.letter, entry.identity->vendor.c_str(), entry.identity->product.c_str(),
                             entry.identity->revision.c_str());
  if (length < 0) return std::string();
  return std::string(text, std::min<size_t>({static_cast<size_t>(length), kDriveTextMax, sizeof text - 1}));
}

std::vector<DriveEntry> MergeDriveTable(std::vector<DriveEntry> addressed, std::vector<DriveEntry> unaddressed) {
  int highest = -1;
  for (const auto& entry : addressed) highest = std::max<int>(highest, entry.adapter);
  std::vector<DriveEntry> table = std::move(addressed);
  int next = highest + 1;
  for (auto& entry : unaddressed) {
    entry.adapter = static_cast<uint8_t>(std::min(next++, 255));
    entry.target = 0;
    entry.lun = 0;
    table.push_back(std::move(entry));
  }
  if (table.size() > kDriveTableSize) table.resize(kDriveTableSize);
  for (auto& entry : table) entry.text = FormatDriveText(entry);
  return table;
}

bool HasCdDvdDrive(const std::vector<DriveEntry>& entries) {
  return std::any_of(entries.begin(), entries.end(), [](const DriveEntry& e) { return e.identity.has_value(); });
}

}  // namespace discburn
