// The PE import walk.  Field offsets are those of the PE/COFF format (the
// DOS header's e_lfanew at 0x3C, the 20-byte file header, the optional
// header's SizeOfImage at 56 and its data directories at 96 in PE32 and 112
// in PE32+, 40-byte section headers, 20-byte import descriptors).
#include "core/pe_imports.h"

#include <cstring>

namespace skinning {

namespace {

constexpr uint32_t kPe32Magic = 0x10B;
constexpr uint32_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kPe32OptionalSize = 224;
constexpr uint32_t kPe32PlusOptionalSize = 240;
constexpr uint32_t kFileHeaderSize = 20;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kDescriptorSize = 20;
constexpr size_t kMaxNameLength = 4096;

// Reads bytes at image addresses (RVAs), mapped as the layout says.
class ImageReader {
 public:
  ImageReader(const uint8_t* image, size_t size, PeLayout layout)
      : image_(image), size_(image != nullptr ? size : 0), layout_(layout) {}

  // The file offset of `count` bytes at `rva`; false when they are not all
  // inside the image (or inside one section of a file).
  bool OffsetOf(uint64_t rva, size_t count, size_t* offset) const {
    if (layout_ == PeLayout::kLoadedImage || rva < headersEnd_) {
      if (rva > size_ || count > size_ - rva) return false;
      *offset = static_cast<size_t>(rva);
      return true;
    }
    for (uint32_t i = 0; i < sectionCount_; ++i) {
      size_t at = sectionTable_ + static_cast<size_t>(i) * kSectionHeaderSize;
      uint32_t address = 0, rawSize = 0, rawPointer = 0;
      if (!ReadFileBytes(at + 12, &address, 4) || !ReadFileBytes(at + 16, &rawSize, 4) ||
          !ReadFileBytes(at + 20, &rawPointer, 4)) {
        return false;
      }
      if (rva < address || rva - address >= rawSize) continue;
      const uint64_t inside = rva - address;
      if (count > rawSize - inside) return false;
      const uint64_t fileOffset = rawPointer + inside;
      if (fileOffset > size_ || count > size_ - fileOffset) return false;
      *offset = static_cast<size_t>(fileOffset);
      return true;
    }
    return false;
  }

  bool Read(uint64_t rva, void* out, size_t count) const {
    size_t offset = 0;
    if (!OffsetOf(rva, count, &offset)) return false;
    std::memcpy(out, image_ + offset, count);
    return true;
  }

  bool Read16(uint64_t rva, uint32_t* value) const {
    uint8_t bytes[2];
    if (!Read(rva, bytes, 2)) return false;
    *value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8);
    return true;
  }

  bool Read32(uint64_t rva, uint32_t* value) const {
    uint8_t bytes[4];
    if (!Read(rva, bytes, 4)) return false;
    *value = 0;
    for (int i = 3; i >= 0; --i) *value = (*value << 8) | bytes[i];
    return true;
  }

  bool Read64(uint64_t rva, uint64_t* value) const {
    uint8_t bytes[8];
    if (!Read(rva, bytes, 8)) return false;
    *value = 0;
    for (int i = 7; i >= 0; --i) *value = (*value << 8) | bytes[i];
    return true;
  }

  // Whether the zero-terminated name at `rva` equals `name`.
  bool NameEquals(uint64_t rva, std::string_view name) const {
    if (name.size() >= kMaxNameLength) return false;
    for (size_t i = 0; i <= name.size(); ++i) {
      uint8_t byte = 0;
      if (!Read(rva + i, &byte, 1)) return false;
      const uint8_t wanted = i < name.size() ? static_cast<uint8_t>(name[i]) : 0;
      if (byte != wanted) return false;
    }
    return true;
  }

  // The section table of a file image (the headers themselves are read at
  // their file offsets, which equal their addresses).
  void SetSections(size_t table, uint32_t count, uint64_t headersEnd) {
    sectionTable_ = table;
    sectionCount_ = count;
    headersEnd_ = headersEnd;
  }

 private:
  bool ReadFileBytes(size_t offset, void* out, size_t count) const {
    if (offset > size_ || count > size_ - offset) return false;
    std::memcpy(out, image_ + offset, count);
    return true;
  }

  const uint8_t* image_;
  size_t size_;
  PeLayout layout_;
  size_t sectionTable_ = 0;
  uint32_t sectionCount_ = 0;
  uint64_t headersEnd_ = 0;
};

struct ParsedHeaders {
  PeHeaders headers;
  uint32_t optionalHeader = 0;  // offset of the optional header
  uint32_t optionalSize = 0;
  uint32_t sectionCount = 0;
};

// The headers lie at the start of both layouts at the same offsets.
PeStatus ParseHeaders(const ImageReader& headerReader, ParsedHeaders* parsed) {
  uint32_t magic = 0;
  if (!headerReader.Read16(0, &magic) || magic != 0x5A4D) return PeStatus::kNotPe;  // "MZ"
  uint32_t peOffset = 0;
  uint32_t signature = 0;
  if (!headerReader.Read32(0x3C, &peOffset) || !headerReader.Read32(peOffset, &signature) ||
      signature != 0x00004550) {  // "PE\0\0"
    return PeStatus::kNotPe;
  }
  const uint64_t fileHeader = static_cast<uint64_t>(peOffset) + 4;
  uint32_t sectionCount = 0, optionalSize = 0, optionalMagic = 0;
  if (!headerReader.Read16(fileHeader + 2, &sectionCount) ||
      !headerReader.Read16(fileHeader + 16, &optionalSize)) {
    return PeStatus::kNotPe;
  }
  const uint64_t optional = fileHeader + kFileHeaderSize;
  if (!headerReader.Read16(optional, &optionalMagic)) return PeStatus::kUnknownOptionalHeader;
  bool is64 = false;
  if (optionalMagic == kPe32Magic && optionalSize == kPe32OptionalSize) {
    is64 = false;
  } else if (optionalMagic == kPe32PlusMagic && optionalSize == kPe32PlusOptionalSize) {
    is64 = true;
  } else {
    return PeStatus::kUnknownOptionalHeader;
  }
  const uint64_t directoryCountAt = optional + (is64 ? 108 : 92);
  const uint64_t directories = optional + (is64 ? 112 : 96);
  uint32_t sizeOfImage = 0, directoryCount = 0, importRva = 0;
  if (!headerReader.Read32(optional + 56, &sizeOfImage) ||
      !headerReader.Read32(directoryCountAt, &directoryCount)) {
    return PeStatus::kDamaged;
  }
  if (directoryCount <= 1) return PeStatus::kNoImportDirectory;
  if (!headerReader.Read32(directories + 8, &importRva)) return PeStatus::kDamaged;
  if (importRva == 0) return PeStatus::kNoImportDirectory;
  parsed->headers = {is64, sizeOfImage, importRva};
  parsed->optionalHeader = static_cast<uint32_t>(optional);
  parsed->optionalSize = optionalSize;
  parsed->sectionCount = sectionCount;
  return PeStatus::kFound;
}

}  // namespace

PeStatus ReadPeHeaders(const uint8_t* image, size_t size, PeHeaders* headers) {
  ParsedHeaders parsed;
  const PeStatus status = ParseHeaders(ImageReader(image, size, PeLayout::kLoadedImage), &parsed);
  if (status == PeStatus::kFound && headers != nullptr) *headers = parsed.headers;
  return status;
}

uint32_t LoadedImageSize(const uint8_t* headers, size_t available) {
  ParsedHeaders parsed;
  if (ParseHeaders(ImageReader(headers, available, PeLayout::kLoadedImage), &parsed) !=
      PeStatus::kFound) {
    return 0;
  }
  return parsed.headers.sizeOfImage;
}

ImportSlot FindImportSlot(const uint8_t* image, size_t size, PeLayout layout, std::string_view name) {
  ImportSlot result;
  ParsedHeaders parsed;
  result.status = ParseHeaders(ImageReader(image, size, PeLayout::kLoadedImage), &parsed);
  if (result.status != PeStatus::kFound) return result;

  ImageReader reader(image, size, layout);
  if (layout == PeLayout::kFile) {
    const uint64_t table = static_cast<uint64_t>(parsed.optionalHeader) + parsed.optionalSize;
    if (table > size) {
      result.status = PeStatus::kDamaged;
      return result;
    }
    // Addresses below the first section are the headers, at equal offsets.
    uint64_t headersEnd = UINT64_MAX;
    for (uint32_t i = 0; i < parsed.sectionCount; ++i) {
      const uint64_t at = table + static_cast<uint64_t>(i) * kSectionHeaderSize + 12;
      if (at + 4 > size) break;
      const uint32_t address = static_cast<uint32_t>(image[at]) | (static_cast<uint32_t>(image[at + 1]) << 8) |
                (static_cast<uint32_t>(image[at + 2]) << 16) |
                (static_cast<uint32_t>(image[at + 3]) << 24);
      if (address < headersEnd) headersEnd = address;
    }
    if (headersEnd == UINT64_MAX) headersEnd = 0;
    reader.SetSections(static_cast<size_t>(table), parsed.sectionCount, headersEnd);
  }

  const bool is64 = parsed.headers.is64;
  const uint32_t thunkSize = is64 ? 8 : 4;
  const uint64_t ordinalFlag = is64 ? (uint64_t{1} << 63) : uint64_t{0x80000000};
  result.status = PeStatus::kNotFound;
  result.slotSize = thunkSize;
  for (uint32_t d = 0;; ++d) {
    const uint64_t descriptor = static_cast<uint64_t>(parsed.headers.importDirectoryRva) +
                                static_cast<uint64_t>(d) * kDescriptorSize;
    uint32_t nameThunks = 0, addressSlots = 0;
    if (!reader.Read32(descriptor, &nameThunks) || !reader.Read32(descriptor + 16, &addressSlots)) {
      result.status = PeStatus::kDamaged;
      return result;
    }
    if (nameThunks == 0) return result;
    for (uint64_t i = 0;; ++i) {
      const uint64_t thunkAt = nameThunks + i * thunkSize;
      uint64_t thunk = 0;
      bool read = false;
      if (is64) {
        read = reader.Read64(thunkAt, &thunk);
      } else {
        uint32_t thunk32 = 0;
        read = reader.Read32(thunkAt, &thunk32);
        thunk = thunk32;
      }
      if (!read) {
        result.status = PeStatus::kDamaged;
        return result;
      }
      if (thunk == 0) break;
      if ((thunk & ordinalFlag) != 0) continue;
      // Name thunks hold the address of a 2-byte hint and the name.
      const uint64_t nameAt = (thunk & 0x7FFFFFFFu) + 2;
      if (!reader.NameEquals(nameAt, name)) continue;
      const uint64_t slot = addressSlots + i * thunkSize;
      uint64_t value = 0;
      bool slotRead = false;
      if (is64) {
        slotRead = reader.Read64(slot, &value);
      } else {
        uint32_t value32 = 0;
        slotRead = reader.Read32(slot, &value32);
        value = value32;
      }
      if (!slotRead || slot > UINT32_MAX) {
        result.status = PeStatus::kDamaged;
        return result;
      }
      result.status = PeStatus::kFound;
      result.slotRva = static_cast<uint32_t>(slot);
      result.nameRva = static_cast<uint32_t>(nameAt - 2);
      result.descriptor = d;
      result.slotValue = value;
      return result;
    }
  }
}

}  // namespace skinning
