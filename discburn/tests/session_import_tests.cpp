// Session import: the tree of an image made by xorriso comes back with
// every name and size, each imported extent holding the file's bytes; and a
// table of damaged images is read without a crash, importing what is sound.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/image_layout.h"
#include "core/image_stream.h"
#include "core/iso_fields.h"
#include "core/local_file_source.h"
#include "core/session_import.h"
#include "test_files.h"

namespace discburn {
namespace {

namespace fs = std::filesystem;
using iso::GetLe32;
using iso::PutBoth32;

// Every file of the tree: "path" -> size, and for directories "path/".
void ListTree(const DirNode& dir, const std::string& prefix, std::map<std::string, uint64_t>* out,
              std::map<std::string, const FileNode*>* nodes = nullptr) {
  for (const FileNode* child : dir.children) {
    std::string path = prefix + "/" + Utf16ToUtf8(child->longName);
    if (child->isDirectory()) {
      (*out)[path + "/"] = 0;
      ListTree(*child->directory, path, out, nodes);
    } else {
      (*out)[path] = child->sizeBytes;
      if (nodes) (*nodes)[path] = child;
    }
  }
}

TEST(SessionImport, ReadsTheJolietTreeOfAnXorrisoImage) {
  if (!test::HasTool("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  test::ScratchDir scratch;
  const fs::path source = scratch / "source";
  std::map<std::string, uint64_t> expected;
  auto add = [&](const std::string& path, uint64_t size, uint32_t seed) {
    test::WriteFile(source / path.substr(1), test::PatternBytes(size, seed));
    expected[path] = size;
  };
  add("/readme.txt", 1234, 1);
  add("/empty.dat", 0, 2);
  add("/Pictures/Summer Holiday 2024.jpeg", 300000, 3);
  add("/Pictures/Ærøskøbing café.png", 4096, 4);
  add("/Pictures/Deeper/Привет.doc", 2049, 5);
  add("/Pictures/Deeper/Deepest/" + std::string(60, 'n') + ".txt", 77, 6);
  add("/NoExtension", 10, 7);
  expected["/Pictures/"] = 0;
  expected["/Pictures/Deeper/"] = 0;
  expected["/Pictures/Deeper/Deepest/"] = 0;
  const fs::path image = scratch / "session.iso";
  std::string output;
  ASSERT_EQ(test::Run("xorriso -as mkisofs -J -o " + test::Quote(image) + " " +
                          test::Quote(source),
                      &output),
            0)
      << output;

  LocalFileSource files;
  test::FixedClock clock(1781526645, 0);
  BurnProject project(files, clock);
  ASSERT_TRUE(project.CreateDir(u"\\", u"Old"));
  FileSectorReader reader(image);
  ImportResult result = ImportSession(project, reader, 0, u"\\Old");
  EXPECT_TRUE(result.isTreeRead);
  EXPECT_EQ(result.badRecords, 0u);
  EXPECT_EQ(result.entries, expected.size());
  EXPECT_EQ(project.status, kStatusIdle);

  std::map<std::string, uint64_t> got;
  std::map<std::string, const FileNode*> nodes;
  ListTree(*project.FindDir(u"\\Old"), "", &got, &nodes);
  EXPECT_EQ(got, expected);
  // Each imported entry points at its bytes in the image.
  std::vector<uint8_t> bytes = test::ReadFile(image);
  for (const auto& [path, node] : nodes) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(node->isImported);
    EXPECT_TRUE(node->sourcePath.empty());
    std::vector<uint8_t> want = test::ReadFile(source / path.substr(1));
    if (want.empty()) {
      EXPECT_EQ(node->extent, 0u);
      continue;
    }
    ASSERT_LE((node->extent + 0ull) * 2048 + want.size(), bytes.size());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), bytes.begin() + node->extent * 2048ull));
  }
}

// The image the damage table starts from: "a.txt", "sub\b.txt", "sub\c.txt",
// laid out by our own writer (Joliet descriptor at sector 17).
struct BaseImage {
  test::ScratchDir scratch;
  std::vector<uint8_t> bytes;
  uint32_t jolietRoot = 0;  // sector of the Joliet root directory
  uint32_t jolietSub = 0;

  BaseImage() {
    LocalFileSource files;
    test::FixedClock clock(1781526645, 0);
    BurnProject project(files, clock);
    test::WriteFile(scratch / "a.txt", test::PatternBytes(100, 1));
    test::WriteFile(scratch / "b.txt", test::PatternBytes(5000, 2));
    test::WriteFile(scratch / "c.txt", test::PatternBytes(7, 3));
    project.InsertFile(u"\\", test::U16(scratch / "a.txt"));
    project.CreateDir(u"\\", u"sub");
    project.InsertFile(u"\\sub", test::U16(scratch / "b.txt"));
    project.InsertFile(u"\\sub", test::U16(scratch / "c.txt"));
    LayoutImage(project);
    WriteImageFile(project, 0, scratch / "base.iso");
    bytes = test::ReadFile(scratch / "base.iso");
    jolietRoot = GetLe32(Sector(17) + 158);
    jolietSub = project.layout.jolietDirStart + project.FindDir(u"\\sub")->jolietExtent;
  }
  uint8_t* Sector(uint32_t n) { return bytes.data() + size_t(n) * 2048; }
  // Offset of record k (0 = ".") in a directory sector.
  uint8_t* Record(uint32_t sector, int k) {
    uint8_t* at = Sector(sector);
    for (int i = 0; i < k; ++i) at += at[0];
    return at;
  }
};

TEST(SessionImport, DamagedImagesImportOnlyWhatIsSound) {
  struct Case {
    const char* name;
    std::function<void(BaseImage&)> damage;
    bool isTreeRead;
    uint32_t entries;  // of "a.txt", "sub", "b.txt", "c.txt"
  };
  const Case cases[] = {
      {"intact", [](BaseImage&) {}, true, 4},
      {"record crossing the sector end",
       [](BaseImage& b) {
         // After "a.txt": records of "." names (skipped by readers) up to
         // 1890, then one of 200 bytes that would end past the sector.
         uint8_t* sector = b.Sector(b.jolietRoot);
         size_t offset = b.Record(b.jolietRoot, 3) - sector;
         for (; offset + 254 <= 1890; offset += 254) {
           std::memset(sector + offset, 0, 254);
           sector[offset] = 254;
           sector[offset + 32] = 1;
         }
         std::memset(sector + offset, 0, 2048 - offset);
         sector[offset] = 200;
         sector[offset + 32] = 3;
         std::memcpy(sector + offset + 33, "zzz", 3);
       },
       true, 1},
      {"record length below the minimum",
       [](BaseImage& b) { b.Record(b.jolietSub, 2)[0] = 5; }, true, 2},
      {"name longer than its record",
       [](BaseImage& b) { b.Record(b.jolietRoot, 2)[32] = 250; }, true, 0},
      {"name of odd length and a version",
       [](BaseImage& b) {
         uint8_t* record = b.Record(b.jolietRoot, 2);  // "a.txt": 10 name bytes
         record[32] = 9;
         record[33 + 2] = 0;
         record[33 + 3] = ';';
       },
       true, 4},
      {"directory that contains itself",
       [](BaseImage& b) {
         // sub's record in sub's own directory: a second link to sub.
         uint8_t* c = b.Record(b.jolietSub, 3);
         PutBoth32(c + 2, b.jolietSub);
         PutBoth32(c + 10, 2048);
         c[25] = 2;
       },
       true, 3},
      {"directory pointing at the root",
       [](BaseImage& b) { PutBoth32(b.Record(b.jolietRoot, 3) + 2, b.jolietRoot); }, true, 1},
      {"directory size past every limit",
       [](BaseImage& b) { PutBoth32(b.Record(b.jolietRoot, 3) + 10, 0xFFFFFFFF); }, true, 1},
      {"directory extent past the image",
       [](BaseImage& b) { PutBoth32(b.Record(b.jolietRoot, 3) + 2, 0xFFFFFFF0); }, true, 1},
      {"root extent past the image",
       [](BaseImage& b) {
         PutBoth32(b.Sector(17) + 158, 0x7FFFFFFF);
       },
       false, 0},
      {"root of size zero", [](BaseImage& b) { PutBoth32(b.Sector(17) + 166, 0); }, false, 0},
      {"no descriptors",
       [](BaseImage& b) { std::memset(b.Sector(16), 0, 4 * 2048); }, false, 0},
      {"file with data at sector 0",
       [](BaseImage& b) { PutBoth32(b.Record(b.jolietRoot, 2) + 2, 0); }, true, 3},
      {"image cut inside the descriptors",
       [](BaseImage& b) { b.bytes.resize(16 * 2048 + 100); }, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BaseImage base;
    c.damage(base);
    LocalFileSource files;
    test::FixedClock clock(1781526645, 0);
    BurnProject project(files, clock);
    MemorySectorReader reader(base.bytes.data(), base.bytes.size());
    ImportResult result = ImportSession(project, reader, 0, u"\\");
    EXPECT_EQ(result.isTreeRead, c.isTreeRead);
    EXPECT_EQ(result.entries, c.entries);
    EXPECT_EQ(project.files().size(), c.entries);
    // What was imported still lays out and writes.
    ASSERT_GT(LayoutImage(project), 0u);
    EXPECT_TRUE(WriteImageFile(project, 0, base.scratch / "again.iso"));
  }
}

// A chain of directories each holding the next, deeper than any reader
// goes: the walk stops at its depth limit.
TEST(SessionImport, DeepChainStopsAtTheDepthLimit) {
  const uint32_t chain = 300;
  std::vector<uint8_t> image(size_t(20 + chain) * 2048, 0);
  uint8_t* svd = image.data() + 16 * 2048;
  svd[0] = 2;
  std::memcpy(svd + 1, "CD001", 5);
  svd[88] = 0x25;
  svd[89] = 0x2F;
  svd[90] = 0x40;
  PutBoth32(svd + 158, 20);
  PutBoth32(svd + 166, 2048);
  image[17 * 2048] = 255;
  std::memcpy(image.data() + 17 * 2048 + 1, "CD001", 5);
  for (uint32_t i = 0; i < chain; ++i) {
    uint8_t* record = image.data() + size_t(20 + i) * 2048;
    for (int dot = 0; dot < 2; ++dot, record += 34) {
      record[0] = 34;
      record[32] = 1;
      record[33] = static_cast<uint8_t>(dot);
      record[25] = 2;
    }
    if (i + 1 == chain) break;
    record[0] = 36;
    PutBoth32(record + 2, 20 + i + 1);
    PutBoth32(record + 10, 2048);
    record[25] = 2;
    record[32] = 2;
    record[33] = 0;
    record[34] = 'd';
  }
  LocalFileSource files;
  test::FixedClock clock(0, 0);
  BurnProject project(files, clock);
  MemorySectorReader reader(image.data(), image.size());
  ImportResult result = ImportSession(project, reader, 0, u"\\");
  EXPECT_TRUE(result.isTreeRead);
  EXPECT_EQ(result.entries, uint32_t(kMaxImportDepth));  // depths 1 to the limit
  EXPECT_GE(result.badRecords, 1u);
}

}  // namespace
}  // namespace discburn
