#include "synthetic_pe.h"

#include <cstring>

namespace skinning::testing {

namespace {

constexpr uint32_t kPeOffset = 0x40;
constexpr uint32_t kSectionRva = 0x1000;
constexpr uint32_t kSectionFileOffset = 0x400;
constexpr uint32_t kSectionSize = 0x1000;

void Put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void Put64(std::vector<uint8_t>& bytes, size_t at, uint64_t value) {
  for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

SyntheticLayout BuildSyntheticPe(const SyntheticPe& spec) {
  SyntheticLayout layout;
  const uint32_t sectionBase = spec.fileLayout ? kSectionFileOffset : kSectionRva;
  std::vector<uint8_t>& bytes = layout.bytes;
  bytes.assign(sectionBase + kSectionSize, 0);
  // Offset of an address of the section in the bytes.
  auto at = [&](uint32_t rva) { return static_cast<size_t>(rva - kSectionRva + sectionBase); };

  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put32(bytes, 0x3C, kPeOffset);
  std::memcpy(&bytes[kPeOffset], "PE\0\0", 4);
  const uint32_t fileHeader = kPeOffset + 4;
  Put16(bytes, fileHeader, spec.is64 ? 0x8664 : 0x14C);
  Put16(bytes, fileHeader + 2, 1);
  const uint16_t optionalSize =
      spec.optionalHeaderSize != 0 ? spec.optionalHeaderSize : (spec.is64 ? 240 : 224);
  Put16(bytes, fileHeader + 16, optionalSize);
  const uint32_t optional = fileHeader + 20;
  Put16(bytes, optional, spec.magic != 0 ? spec.magic : (spec.is64 ? 0x20B : 0x10B));
  Put32(bytes, optional + 56, kSectionRva + kSectionSize);  // SizeOfImage
  Put32(bytes, optional + (spec.is64 ? 108 : 92), spec.directoryCount);
  const uint32_t directories = optional + (spec.is64 ? 112 : 96);
  Put32(bytes, directories + 8, spec.zeroImportDirectory ? 0 : kSectionRva);
  Put32(bytes, directories + 12, 20 * static_cast<uint32_t>(spec.dlls.size() + 1));
  const uint32_t sections = optional + optionalSize;
  std::memcpy(&bytes[sections], ".idata\0\0", 8);
  Put32(bytes, sections + 8, kSectionSize);
  Put32(bytes, sections + 12, kSectionRva);
  Put32(bytes, sections + 16, kSectionSize);
  Put32(bytes, sections + 20, kSectionFileOffset);

  const uint32_t thunkSize = spec.is64 ? 8 : 4;
  uint32_t next = kSectionRva + 20 * static_cast<uint32_t>(spec.dlls.size() + 1);
  for (size_t d = 0; d < spec.dlls.size(); ++d) {
    const SyntheticDll& dll = spec.dlls[d];
    const uint32_t count = static_cast<uint32_t>(dll.imports.size());
    const uint32_t nameThunks = next;
    const uint32_t addressSlots = nameThunks + (count + 1) * thunkSize;
    next = addressSlots + (count + 1) * thunkSize;
    layout.slotRvas.emplace_back();
    layout.nameRvas.emplace_back();
    for (uint32_t i = 0; i < count; ++i) {
      const SyntheticImport& import = dll.imports[i];
      uint64_t thunk = 0;
      uint32_t nameRva = 0;
      if (import.name.empty()) {
        thunk = (spec.is64 ? (uint64_t{1} << 63) : uint64_t{0x80000000}) | import.ordinal;
      } else {
        nameRva = next;
        Put16(bytes, at(next), i);  // hint
        std::memcpy(&bytes[at(next) + 2], import.name.data(), import.name.size());
        next += 2 + static_cast<uint32_t>(import.name.size()) + 1;
        next += next & 1;
        thunk = nameRva;
      }
      if (spec.is64) {
        Put64(bytes, at(nameThunks + i * 8), thunk);
        Put64(bytes, at(addressSlots + i * 8), thunk);
      } else {
        Put32(bytes, at(nameThunks + i * 4), static_cast<uint32_t>(thunk));
        Put32(bytes, at(addressSlots + i * 4), static_cast<uint32_t>(thunk));
      }
      layout.slotRvas.back().push_back(addressSlots + i * thunkSize);
      layout.nameRvas.back().push_back(nameRva);
    }
    const uint32_t dllName = next;
    std::memcpy(&bytes[at(next)], dll.dll.data(), dll.dll.size());
    next += static_cast<uint32_t>(dll.dll.size()) + 2;
    const uint32_t descriptor = kSectionRva + 20 * static_cast<uint32_t>(d);
    Put32(bytes, at(descriptor), nameThunks);
    Put32(bytes, at(descriptor + 12), dllName);
    Put32(bytes, at(descriptor + 16), addressSlots);
  }
  return layout;
}

}  // namespace skinning::testing
