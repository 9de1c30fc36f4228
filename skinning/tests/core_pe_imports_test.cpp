// The import walk over PE images: small images made in memory for each
// layout and fault, and real programs the build makes with the mingw
// compilers, cross-checked with the toolchain's objdump.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "core/pe_imports.h"
#include "synthetic_pe.h"

namespace skinning {
namespace {

using testing::BuildSyntheticPe;
using testing::SyntheticDll;
using testing::SyntheticLayout;
using testing::SyntheticPe;

const char* StatusName(PeStatus status) {
  switch (status) {
    case PeStatus::kFound: return "found";
    case PeStatus::kNotFound: return "not found";
    case PeStatus::kNotPe: return "not PE";
    case PeStatus::kUnknownOptionalHeader: return "unknown optional header";
    case PeStatus::kNoImportDirectory: return "no import directory";
    case PeStatus::kDamaged: return "damaged";
  }
  return "?";
}

ImportSlot Find(const SyntheticLayout& image, bool fileLayout, const char* name) {
  return FindImportSlot(image.bytes.data(), image.bytes.size(),
                        fileLayout ? PeLayout::kFile : PeLayout::kLoadedImage, name);
}

const std::vector<SyntheticDll> kPaintingProgram = {
    {"KERNEL32.dll", {{"ExitProcess"}, {"", 12}}},
    {"USER32.dll", {{"DefWindowProcA"}, {"BeginPaint"}, {"EndPaint"}}},
};

TEST(PeImports, FindsTheSlotInEveryLayout) {
  const struct {
    const char* label;
    bool is64;
    bool fileLayout;
  } cases[] = {
      {"PE32 loaded", false, false},
      {"PE32 file", false, true},
      {"PE32+ loaded", true, false},
      {"PE32+ file", true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    SyntheticPe spec;
    spec.is64 = c.is64;
    spec.fileLayout = c.fileLayout;
    spec.dlls = kPaintingProgram;
    const SyntheticLayout image = BuildSyntheticPe(spec);
    const ImportSlot begin = Find(image, c.fileLayout, "BeginPaint");
    EXPECT_EQ(StatusName(PeStatus::kFound), StatusName(begin.status));
    EXPECT_EQ(image.slotRvas[1][1], begin.slotRva);
    EXPECT_EQ(image.nameRvas[1][1], begin.nameRva);
    EXPECT_EQ(1u, begin.descriptor);
    EXPECT_EQ(c.is64 ? 8u : 4u, begin.slotSize);
    // Before binding, the slot holds what the name thunk holds.
    EXPECT_EQ(image.nameRvas[1][1], begin.slotValue);
    const ImportSlot end = Find(image, c.fileLayout, "EndPaint");
    EXPECT_EQ(image.slotRvas[1][2], end.slotRva);
    EXPECT_EQ(StatusName(PeStatus::kNotFound), StatusName(Find(image, c.fileLayout, "BeginPain").status));
    EXPECT_EQ(StatusName(PeStatus::kNotFound), StatusName(Find(image, c.fileLayout, "BeginPaintA").status));
    EXPECT_EQ(StatusName(PeStatus::kNotFound), StatusName(Find(image, c.fileLayout, "").status));
  }
}

TEST(PeImports, OnlyNamesMatchAndOnlyTheFirstSlotCounts) {
  const struct {
    const char* label;
    std::vector<SyntheticDll> dlls;
    PeStatus status;
    size_t dll;  // where the slot must be
    size_t import;
  } cases[] = {
      {"by ordinal only", {{"USER32.dll", {{"", 39}, {"EndPaint"}}}}, PeStatus::kNotFound, 0, 0},
      {"from two descriptors",
       {{"USER32.dll", {{"BeginPaint"}}}, {"OTHER.dll", {{"BeginPaint"}}}},
       PeStatus::kFound, 0, 0},
      {"after an ordinal of another DLL",
       {{"OTHER.dll", {{"", 1}}}, {"USER32.dll", {{"EndPaint"}, {"BeginPaint"}}}},
       PeStatus::kFound, 1, 1},
      {"no imports at all", {}, PeStatus::kNotFound, 0, 0},
  };
  for (bool is64 : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (is64 ? " (PE32+)" : " (PE32)"));
      SyntheticPe spec;
      spec.is64 = is64;
      spec.dlls = c.dlls;
      const SyntheticLayout image = BuildSyntheticPe(spec);
      const ImportSlot slot = Find(image, false, "BeginPaint");
      ASSERT_EQ(StatusName(c.status), StatusName(slot.status));
      if (c.status == PeStatus::kFound) EXPECT_EQ(image.slotRvas[c.dll][c.import], slot.slotRva);
    }
  }
}

TEST(PeImports, DamagedOrForeignImagesGiveAStatus) {
  auto build = [](auto change) {
    SyntheticPe spec;
    spec.dlls = kPaintingProgram;
    change(spec);
    return BuildSyntheticPe(spec);
  };
  SyntheticLayout noMz = build([](SyntheticPe&) {});
  noMz.bytes[0] = 'Z';
  SyntheticLayout noSignature = build([](SyntheticPe&) {});
  noSignature.bytes[0x41] = 'X';
  SyntheticLayout pointsOutside = build([](SyntheticPe&) {});
  pointsOutside.bytes[0x3F] = 0x7F;
  SyntheticLayout cut = build([](SyntheticPe&) {});
  cut.bytes.resize(0x1010);
  SyntheticLayout descriptorOutside = build([](SyntheticPe&) {});
  // The first descriptor's name thunks point past the image.
  descriptorOutside.bytes[0x1000 + 3] = 0x40;

  const struct {
    const char* label;
    SyntheticLayout image;
    PeStatus status;
  } cases[] = {
      {"no MZ", noMz, PeStatus::kNotPe},
      {"no PE signature", noSignature, PeStatus::kNotPe},
      {"e_lfanew outside", pointsOutside, PeStatus::kNotPe},
      {"wrong magic", build([](SyntheticPe& s) { s.magic = 0x107; }), PeStatus::kUnknownOptionalHeader},
      {"PE32 magic with the PE32+ size",
       build([](SyntheticPe& s) { s.optionalHeaderSize = 240; }), PeStatus::kUnknownOptionalHeader},
      {"one data directory", build([](SyntheticPe& s) { s.directoryCount = 1; }),
       PeStatus::kNoImportDirectory},
      {"import directory 0", build([](SyntheticPe& s) { s.zeroImportDirectory = true; }),
       PeStatus::kNoImportDirectory},
      {"cut inside the descriptors", cut, PeStatus::kDamaged},
      {"thunks outside the image", descriptorOutside, PeStatus::kDamaged},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(StatusName(c.status), StatusName(Find(c.image, false, "BeginPaint").status));
  }
  EXPECT_EQ(StatusName(PeStatus::kNotPe),
            StatusName(FindImportSlot(nullptr, 100, PeLayout::kLoadedImage, "BeginPaint").status));
  const uint8_t tiny[] = {'M', 'Z'};
  EXPECT_EQ(StatusName(PeStatus::kNotPe),
            StatusName(FindImportSlot(tiny, sizeof(tiny), PeLayout::kFile, "BeginPaint").status));
}

TEST(PeImports, LoadedImageSizeComesFromTheHeaders) {
  SyntheticPe spec;
  spec.dlls = kPaintingProgram;
  const SyntheticLayout image = BuildSyntheticPe(spec);
  EXPECT_EQ(0x2000u, LoadedImageSize(image.bytes.data(), 0x200));
  EXPECT_EQ(0u, LoadedImageSize(image.bytes.data(), 0x40));
  PeHeaders headers;
  ASSERT_EQ(PeStatus::kFound, ReadPeHeaders(image.bytes.data(), image.bytes.size(), &headers));
  EXPECT_FALSE(headers.is64);
  EXPECT_EQ(0x1000u, headers.importDirectoryRva);
}

// --- programs the build makes -----------------------------------------

#if !defined(_WIN32)

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string RunObjdump(const std::string& objdump, const std::string& file) {
  std::string output;
  const std::string command = "'" + objdump + "' -p '" + file + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  size_t count = 0;
  while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0) output.append(buffer, count);
  pclose(pipe);
  return output;
}

// What objdump says of one imported name: the address of its hint/name
// entry and of its slot (the descriptor's first thunk + its place in the
// descriptor's list).
struct ObjdumpImport {
  bool found = false;
  uint64_t nameRva = 0;
  uint64_t slotRva = 0;
};

ObjdumpImport ObjdumpImportOf(const std::string& listing, const std::string& name, uint32_t slotSize) {
  ObjdumpImport result;
  std::istringstream lines(listing);
  std::string line;
  bool inImports = false;
  uint64_t firstThunk = 0;
  int index = -1;
  while (std::getline(lines, line)) {
    if (line.find("The Import Tables") != std::string::npos) inImports = true;
    if (!inImports) continue;
    if (line.find("The Export Tables") != std::string::npos) break;
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) words.push_back(word);
    if (words.size() == 6 && line[0] == ' ') {
      firstThunk = std::stoull(words[5], nullptr, 16);
      index = -1;
    } else if (line.find("DLL Name:") != std::string::npos) {
      index = 0;
    } else if (index >= 0 && words.size() >= 3 && line[0] == '\t' && words[0] != "vma:") {
      if (words[2] == name && !result.found) {
        result.found = true;
        result.nameRva = std::stoull(words[0], nullptr, 16);
        result.slotRva = firstThunk + static_cast<uint64_t>(index) * slotSize;
      }
      ++index;
    }
  }
  return result;
}

TEST(PeImports, RealProgramsAgreeWithObjdump) {
  const struct {
    const char* label;
    const char* path;
    const char* objdump;
    bool is64;
  } cases[] = {
      {"i686 program", ORB_PE_FIXTURE32, ORB_OBJDUMP32, false},
      {"x86_64 program", ORB_PE_FIXTURE64, ORB_OBJDUMP64, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (std::string(c.path).empty() || std::string(c.objdump).empty()) {
      GTEST_SKIP() << "the mingw compilers or objdump of this architecture are not installed";
    }
    const std::vector<uint8_t> file = ReadWholeFile(c.path);
    ASSERT_FALSE(file.empty()) << c.path;
    const std::string listing = RunObjdump(c.objdump, c.path);
    ASSERT_NE(std::string::npos, listing.find("The Import Tables")) << "objdump gave no import table";
    for (const char* name : {"BeginPaint", "EndPaint", "DefWindowProcA"}) {
      SCOPED_TRACE(name);
      const ImportSlot slot = FindImportSlot(file.data(), file.size(), PeLayout::kFile, name);
      const ObjdumpImport expected = ObjdumpImportOf(listing, name, c.is64 ? 8 : 4);
      ASSERT_TRUE(expected.found);
      ASSERT_EQ(StatusName(PeStatus::kFound), StatusName(slot.status));
      EXPECT_EQ(expected.nameRva, slot.nameRva);
      EXPECT_EQ(expected.slotRva, slot.slotRva);
      EXPECT_EQ(c.is64 ? 8u : 4u, slot.slotSize);
    }
  }
}

TEST(PeImports, ARealProgramImportingByOrdinalOnlyIsNotFound) {
  const struct {
    const char* label;
    const char* path;
    const char* objdump;
  } cases[] = {
      {"i686 program", ORB_PE_ORDINAL32, ORB_OBJDUMP32},
      {"x86_64 program", ORB_PE_ORDINAL64, ORB_OBJDUMP64},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (std::string(c.path).empty() || std::string(c.objdump).empty()) {
      GTEST_SKIP() << "the mingw compilers or objdump of this architecture are not installed";
    }
    const std::vector<uint8_t> file = ReadWholeFile(c.path);
    ASSERT_FALSE(file.empty()) << c.path;
    const std::string listing = RunObjdump(c.objdump, c.path);
    // objdump shows the ordinal entry and no BeginPaint by name.
    EXPECT_NE(std::string::npos, listing.find("ordinals.dll"));
    EXPECT_FALSE(ObjdumpImportOf(listing, "BeginPaint", 4).found);
    EXPECT_EQ(StatusName(PeStatus::kNotFound),
              StatusName(FindImportSlot(file.data(), file.size(), PeLayout::kFile, "BeginPaint").status));
    EXPECT_EQ(StatusName(PeStatus::kFound),
              StatusName(FindImportSlot(file.data(), file.size(), PeLayout::kFile, "EndPaint").status));
  }
}

#endif  // !_WIN32

}  // namespace
}  // namespace skinning
