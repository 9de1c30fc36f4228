// Image layout and header bytes: sector counts, directory packing, path
// tables, descriptors, boot catalog, absolute sector numbers at a session
// start N, recording times, and the sector stream.
#include <gtest/gtest.h>

#include <chrono>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/image_header.h"
#include "core/image_layout.h"
#include "core/image_stream.h"
#include "core/iso_fields.h"
#include "core/local_file_source.h"
#include "fake_file_source.h"
#include "test_files.h"

namespace discburn {
namespace {

using iso::GetBe32;
using iso::GetLe16;
using iso::GetLe32;
using test::FakeFileSource;

struct Fixture {
  FakeFileSource files;
  test::FixedClock clock{1781526645, 120};
  BurnProject project{files, clock};

  FileNode* AddFile(const std::u16string& dir, const std::u16string& name, uint64_t size) {
    files.AddFile(u"C:\\src\\" + name, size);
    return project.InsertFile(dir, u"C:\\src\\" + name).node;
  }
  std::vector<uint8_t> Header(uint32_t sessionStart) {
    std::vector<uint8_t> header;
    EXPECT_TRUE(WriteImageHeader(project, sessionStart, &header));
    return header;
  }
};

const uint8_t* SectorAt(const std::vector<uint8_t>& header, uint32_t relative) {
  return header.data() + size_t(relative) * 2048;
}

TEST(ImageLayout, SmallProjectsTakeTheMinimumHeader) {
  struct Case { const char* name; uint64_t fileBytes; uint32_t result; uint32_t image; };
  const Case cases[] = {
      {"empty", 0, 150, 160},
      {"one small file", 1000, 151, 160},
      {"ten sectors of data", 10 * 2048, 160, 160},
      {"one byte more", 10 * 2048 + 1, 161, 192},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    if (c.fileBytes) ASSERT_TRUE(f.AddFile(u"\\", u"file.bin", c.fileBytes));
    EXPECT_EQ(LayoutImage(f.project), c.result);
    EXPECT_EQ(f.project.layout.imageSectors, c.image);
    EXPECT_EQ(f.project.layout.fileDataStart, 150u);
    EXPECT_TRUE(f.project.isPrepared);
    EXPECT_EQ(f.project.root()->isoSizeBytes, 2048u);
    EXPECT_EQ(f.project.root()->jolietSizeBytes, 2048u);
  }
}

// Walks the records of one directory written in header and checks that
// none crosses a sector end; returns the names found (after "." and "..").
std::vector<std::string> RecordNames(const std::vector<uint8_t>& header, uint32_t firstSector,
                                     uint32_t sizeBytes) {
  std::vector<std::string> names;
  for (uint32_t s = 0; s < sizeBytes / 2048; ++s) {
    const uint8_t* sector = SectorAt(header, firstSector + s);
    size_t offset = 0;
    while (offset < 2048 && sector[offset] != 0) {
      const uint8_t length = sector[offset];
      EXPECT_LE(offset + length, 2048u) << "record crosses the sector end";
      EXPECT_EQ(length % 2, 0);
      names.emplace_back(reinterpret_cast<const char*>(sector + offset + 33), sector[offset + 32]);
      offset += length;
    }
  }
  EXPECT_GE(names.size(), 2u);
  names.erase(names.begin(), names.begin() + 2);
  return names;
}

TEST(ImageLayout, DirectoryOfOneFullSectorAndOneRecordMore) {
  // ISO records of "F000001.BIN" take 44 bytes: 45 fill 1980 exactly.
  // Joliet records of "f00001.b" take 33 + 16 + 1 = 50 bytes, 1980 is not
  // a multiple; 39 records leave 30 bytes, the 40th starts a new sector.
  struct Case { const char* name; int files; bool joliet; uint32_t sectors; };
  const Case cases[] = {
      {"ISO exactly full", 45, false, 1},
      {"ISO one more", 46, false, 2},
      {"Joliet exactly as much as fits", 39, true, 1},
      {"Joliet one more", 40, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    ASSERT_TRUE(f.project.CreateDir(u"\\", u"dir"));
    for (int i = 1; i <= c.files; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, c.joliet ? "f%05d.b" : "f%06d.bin", i);
      ASSERT_TRUE(f.AddFile(u"\\dir", Utf8ToUtf16(name), 10));
    }
    ASSERT_GT(LayoutImage(f.project), 0u);
    const DirNode* dir = f.project.FindDir(u"\\dir");
    EXPECT_EQ((c.joliet ? dir->jolietSizeBytes : dir->isoSizeBytes) / 2048, c.sectors);
    std::vector<uint8_t> header = f.Header(0);
    const ImageLayout& l = f.project.layout;
    std::vector<std::string> iso =
        RecordNames(header, l.isoDirStart + dir->isoExtent, dir->isoSizeBytes);
    std::vector<std::string> joliet =
        RecordNames(header, l.jolietDirStart + dir->jolietExtent, dir->jolietSizeBytes);
    EXPECT_EQ(iso.size(), size_t(c.files));
    EXPECT_EQ(joliet.size(), size_t(c.files));
    EXPECT_EQ(iso.front(), c.joliet ? "F00001.B" : "F000001.BIN");
  }
}

TEST(ImageLayout, HeaderAtSessionStartUsesAbsoluteSectors) {
  for (uint32_t start : {0u, 11400u}) {
    SCOPED_TRACE("session start " + std::to_string(start));
    test::ScratchDir scratch;
    test::WriteFile(scratch / "floppy.img", std::vector<uint8_t>(1474560, 0xF6));
    LocalFileSource files;
    test::FixedClock clock(1781526645, 120);
    BurnProject project(files, clock);
    ASSERT_TRUE(project.SetBootImage(test::U16(scratch / "floppy.img")));
    test::WriteFile(scratch / "a.bin", std::vector<uint8_t>(5000, 1));
    test::WriteFile(scratch / "empty.txt", {});
    std::filesystem::last_write_time(
        scratch / "a.bin", std::chrono::file_clock::from_sys(std::chrono::sys_seconds(
                               std::chrono::seconds(1781526645))));  // 2026-06-15 12:30:45 UTC
    ASSERT_TRUE(project.InsertFile(u"\\", test::U16(scratch / "a.bin")).node);
    ASSERT_TRUE(project.InsertFile(u"\\", test::U16(scratch / "empty.txt")).node);
    ASSERT_TRUE(project.AddImportedFile(project.root(), u"old.dat", {}, 4096, 33, 0).node);
    ASSERT_GT(LayoutImage(project), 0u);
    const ImageLayout& l = project.layout;
    EXPECT_EQ(l.bootImageSector, 150u);
    EXPECT_EQ(l.fileDataStart, 150u + 720);
    std::vector<uint8_t> header;
    ASSERT_TRUE(WriteImageHeader(project, start, &header));
    ASSERT_EQ(header.size(), size_t(l.headerSectors) * 2048);

    const uint8_t* pvd = SectorAt(header, 16);
    EXPECT_EQ(pvd[0], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pvd + 1), 5), "CD001");
    EXPECT_EQ(GetLe32(pvd + 80), start + l.imageSectors);
    EXPECT_EQ(GetBe32(pvd + 84), start + l.imageSectors);
    EXPECT_EQ(GetLe32(pvd + 140), start + l.isoPathTableL);
    EXPECT_EQ(GetBe32(pvd + 148), start + l.isoPathTableM);
    EXPECT_EQ(GetLe32(pvd + 158), start + l.isoDirStart);
    EXPECT_EQ(GetBe32(pvd + 162), start + l.isoDirStart);

    const uint8_t* bootRecord = SectorAt(header, 17);
    EXPECT_EQ(bootRecord[0], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bootRecord + 7)),
              "EL TORITO SPECIFICATION");
    EXPECT_EQ(GetLe32(bootRecord + 71), start + l.bootCatalogSector);

    const uint8_t* joliet = SectorAt(header, 18);
    EXPECT_EQ(joliet[0], 2);
    EXPECT_EQ(joliet[88], 0x25);
    EXPECT_EQ(joliet[89], 0x2F);
    EXPECT_EQ(joliet[90], 0x40);
    EXPECT_EQ(GetLe32(joliet + 158), start + l.jolietDirStart);
    EXPECT_EQ(SectorAt(header, 19)[0], 255);

    const uint8_t* catalog = SectorAt(header, l.bootCatalogSector);
    uint16_t sum = 0;
    for (int i = 0; i < 32; i += 2) sum = static_cast<uint16_t>(sum + GetLe16(catalog + i));
    EXPECT_EQ(sum, 0);
    EXPECT_EQ(catalog[30], 0x55);
    EXPECT_EQ(catalog[31], 0xAA);
    EXPECT_EQ(catalog[32], 0x88);
    EXPECT_EQ(catalog[33], 2);  // 1.44 MB floppy emulation
    EXPECT_EQ(GetLe16(catalog + 38), 1);
    EXPECT_EQ(GetLe32(catalog + 40), start + l.bootImageSector);

    // Root records: ".", "..", then a.bin, empty.txt, old.dat.
    const uint8_t* record = SectorAt(header, l.isoDirStart) + 68;
    EXPECT_EQ(GetLe32(record + 2), start + l.fileDataStart);
    EXPECT_EQ(GetLe32(record + 10), 5000u);
    EXPECT_EQ(record[24], 8);  // two hours east, in quarter hours
    EXPECT_EQ(record[21], 14);  // 12:30 UTC is 14:30 there
    record += record[0];
    EXPECT_EQ(GetLe32(record + 2), 0u);  // empty file
    record += record[0];
    EXPECT_EQ(GetLe32(record + 2), 33u);  // imported: as on the disc
  }
}

TEST(ImageLayout, PathTablesInParentAndNameOrder) {
  Fixture f;
  f.project.CreateDir(u"\\", u"b");
  f.project.CreateDir(u"\\", u"a");
  f.project.CreateDir(u"\\b", u"c");
  f.project.CreateDir(u"\\a", u"z");
  ASSERT_GT(LayoutImage(f.project), 0u);
  std::vector<uint8_t> header = f.Header(100);
  const ImageLayout& l = f.project.layout;
  struct Row { std::string name; uint16_t parent; uint32_t extent; };
  std::vector<Row> rows;
  const uint8_t* at = SectorAt(header, l.isoPathTableL);
  const uint8_t* m = SectorAt(header, l.isoPathTableM);
  for (int i = 0; i < 5; ++i) {
    const size_t length = at[0];
    rows.push_back({std::string(reinterpret_cast<const char*>(at + 8), length), GetLe16(at + 6),
                    GetLe32(at + 2)});
    EXPECT_EQ(GetBe32(m + 2), GetLe32(at + 2));
    at += 8 + length + (length & 1);
    m += 8 + length + (length & 1);
  }
  EXPECT_EQ(l.isoPathTableBytes, size_t(at - SectorAt(header, l.isoPathTableL)));
  const std::vector<std::pair<std::string, uint16_t>> expected = {
      {std::string(1, '\0'), 1}, {"A", 1}, {"B", 1}, {"Z", 2}, {"C", 3}};
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(rows[i].name, expected[i].first) << i;
    EXPECT_EQ(rows[i].parent, expected[i].second) << i;
  }
  EXPECT_EQ(rows[0].extent, 100 + l.isoDirStart);
  EXPECT_EQ(rows[3].extent, 100 + l.isoDirStart + f.project.FindDir(u"\\a\\z")->isoExtent);
}

TEST(ImageLayout, LongNameModeAddsItsDescriptor) {
  Fixture f;
  f.project.Clear(1);
  f.project.hasJolietTree = false;
  ASSERT_TRUE(f.AddFile(u"\\", u"A file with a long name.text", 10));
  ASSERT_GT(LayoutImage(f.project), 0u);
  std::vector<uint8_t> header = f.Header(0);
  EXPECT_EQ(SectorAt(header, 16)[0], 1);
  EXPECT_EQ(SectorAt(header, 17)[0], 2);
  EXPECT_EQ(SectorAt(header, 17)[881], 2);
  EXPECT_EQ(GetLe32(SectorAt(header, 17) + 158), GetLe32(SectorAt(header, 16) + 158));
  EXPECT_EQ(SectorAt(header, 18)[0], 255);
  const uint8_t* record = SectorAt(header, f.project.layout.isoDirStart) + 68;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 33), record[32]),
            "A FILE WITH A LONG NAME.TEXT");
}

TEST(ImageLayout, HeaderNeedsACurrentLayout) {
  Fixture f;
  std::vector<uint8_t> header;
  EXPECT_FALSE(WriteImageHeader(f.project, 0, &header));
  EXPECT_EQ(f.project.error, kErrorNotPrepared);
  ASSERT_GT(LayoutImage(f.project), 0u);
  ASSERT_TRUE(f.AddFile(u"\\", u"late.txt", 5));  // drops the prepared mark
  f.project.error = kErrorNone;
  EXPECT_FALSE(WriteImageHeader(f.project, 0, &header));
  EXPECT_EQ(f.project.error, kErrorNotPrepared);
}

TEST(ImageStream, StreamEqualsFileAndFailsOnAShrunkSource) {
  test::ScratchDir scratch;
  LocalFileSource files;
  test::FixedClock clock(1781526645, 0);
  BurnProject project(files, clock);
  for (int i = 0; i < 5; ++i) {
    std::string name = "f" + std::to_string(i) + ".bin";
    test::WriteFile(scratch / name, test::PatternBytes(3000 * i + 7, i));
    ASSERT_TRUE(project.InsertFile(u"\\", test::U16(scratch / name)).node);
  }
  ASSERT_GT(LayoutImage(project), 0u);
  ASSERT_TRUE(WriteImageFile(project, 0, scratch / "image.iso"));
  std::vector<uint8_t> file = test::ReadFile(scratch / "image.iso");

  std::vector<uint8_t> header;
  ASSERT_TRUE(WriteImageHeader(project, 0, &header));
  ImageStream stream(project, header);
  std::vector<uint8_t> streamed;
  std::vector<uint8_t> buffer(7 * 2048);
  while (uint32_t n = stream.ReadSectors(buffer.data(), 7)) {
    streamed.insert(streamed.end(), buffer.begin(), buffer.begin() + n * 2048);
  }
  EXPECT_FALSE(stream.failed());
  EXPECT_EQ(streamed.size(), size_t(project.layout.imageSectors) * 2048);
  EXPECT_TRUE(streamed == file);
  // Each file's bytes at its sector.
  const FileNode* f3 = project.root()->children[3];
  std::vector<uint8_t> source = test::PatternBytes(9007, 3);
  EXPECT_TRUE(std::equal(source.begin(), source.end(),
                         file.begin() + (project.layout.fileDataStart + f3->extent) * 2048));

  test::WriteFile(scratch / "f4.bin", test::PatternBytes(10, 4));
  EXPECT_FALSE(WriteImageFile(project, 0, scratch / "image2.iso"));
  EXPECT_EQ(project.error, kErrorOpenSource);
  project.error = kErrorNone;
  std::filesystem::remove(scratch / "f2.bin");
  EXPECT_FALSE(WriteImageFile(project, 0, scratch / "image3.iso"));
  EXPECT_EQ(project.error, kErrorOpenSource);
  EXPECT_FALSE(WriteImageFile(project, 0, scratch / "no such folder" / "x.iso"));
}

}  // namespace
}  // namespace discburn
