// The import table of a PE image: finding the address slot through which an
// executable calls a function it imports by name, in 32-bit (PE32) and
// 64-bit (PE32+) images alike.  The library points such slots of its host
// at its own functions; the tests read them back.
//
// The image is either loaded (as the system maps a module: an address is an
// offset from its start) or a file as it lies on disc (an address is mapped
// to a file offset through the section table).  Every read is checked
// against the size given; a damaged image gives a status, never a read
// outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace skinning {

enum class PeLayout { kLoadedImage, kFile };

enum class PeStatus {
  kFound,
  kNotFound,           // no import by that name (imports by ordinal are never matched)
  kNotPe,              // no "MZ", or no "PE\0\0" where the DOS header points
  kUnknownOptionalHeader,  // neither PE32 (magic 0x10B, 224 bytes) nor PE32+ (0x20B, 240)
  kNoImportDirectory,  // one data directory or fewer, or an import directory address of 0
  kDamaged,            // an address or a table runs outside the image
};

// What the system's headers say about an image, as far as the import walk
// needs it.
struct PeHeaders {
  bool is64 = false;
  uint32_t sizeOfImage = 0;
  uint32_t importDirectoryRva = 0;
};

// Reads the headers (at the same offsets in both layouts); kFound when they
// describe a PE32 or PE32+ image with an import directory.
PeStatus ReadPeHeaders(const uint8_t* image, size_t size, PeHeaders* headers);

struct ImportSlot {
  PeStatus status = PeStatus::kNotFound;
  uint32_t slotRva = 0;   // the address slot (import address table entry)
  uint32_t slotSize = 0;  // 4 in PE32 images, 8 in PE32+
  uint32_t nameRva = 0;   // the hint/name entry that matched
  uint32_t descriptor = 0;  // 0-based number of the import descriptor
  uint64_t slotValue = 0;  // what the slot holds now
};

// The first slot that imports `name`.  The descriptors (20 bytes each) are
// walked until one has a zero name-thunk address; in each, the name thunks
// and the address slots in step until a zero thunk.  A thunk with its top
// bit set imports by ordinal and is skipped; a name matches when it equals
// `name` byte for byte over its whole length.  The DLL a descriptor names is
// not looked at.  Only the first match counts.
ImportSlot FindImportSlot(const uint8_t* image, size_t size, PeLayout layout, std::string_view name);

// For a loaded image whose full size is not known yet: the size of the image
// its headers give (SizeOfImage), read from the first `available` bytes; 0
// when they are not PE headers.
uint32_t LoadedImageSize(const uint8_t* headers, size_t available);

}  // namespace skinning
