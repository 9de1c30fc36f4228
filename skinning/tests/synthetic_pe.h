// Small PE images made in memory for the import-walk tests: one section
// holding the import descriptors, their name thunks, address slots, hint and
// name entries and DLL names, laid out either as loaded (addresses are
// offsets) or as a file (the section at its own file offset).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skinning::testing {

struct SyntheticImport {
  std::string name;      // empty: imported by ordinal
  uint16_t ordinal = 0;
};

struct SyntheticDll {
  std::string dll;
  std::vector<SyntheticImport> imports;
};

struct SyntheticPe {
  bool is64 = false;
  bool fileLayout = false;
  std::vector<SyntheticDll> dlls;
  // Faults to build in.
  uint16_t magic = 0;             // 0: the right one for is64
  uint16_t optionalHeaderSize = 0;  // 0: the right one
  uint32_t directoryCount = 16;
  bool zeroImportDirectory = false;
};

// Where the builder put things, for the checks.
struct SyntheticLayout {
  std::vector<uint8_t> bytes;
  // Per DLL, per import: the address of its slot and of its hint/name entry
  // (0 for ordinals).
  std::vector<std::vector<uint32_t>> slotRvas;
  std::vector<std::vector<uint32_t>> nameRvas;
};

SyntheticLayout BuildSyntheticPe(const SyntheticPe& spec);

}  // namespace skinning::testing
