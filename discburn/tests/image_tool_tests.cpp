// Images written from fixture trees, read back by the outside tools that
// users and other burners read discs with: isoinfo (descriptors, both
// listings) and xorriso (tree, El Torito report, extraction of every file
// from the ISO 9660 and the Joliet tree, compared with its source byte for
// byte).  A session placed at sector N is checked inside a file holding a
// first session made by xorriso, from which it imports the old files.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/image_layout.h"
#include "core/image_stream.h"
#include "core/local_file_source.h"
#include "core/session_import.h"
#include "test_files.h"

namespace discburn {
namespace {

namespace fs = std::filesystem;
using test::Quote;

using test::ScratchDir;

bool HaveTools() { return test::HasTool("xorriso") && test::HasTool("isoinfo"); }

// A file the image should hold: its path in one tree and where its bytes
// come from.
using ExpectedFiles = std::map<std::string, fs::path>;

void Collect(const DirNode& dir, const std::string& prefix, bool isJoliet,
             const std::map<std::u16string, fs::path>& importedSources, std::u16string longPath,
             ExpectedFiles* out) {
  for (const FileNode* child : dir.children) {
    std::string name = isJoliet ? Utf16ToUtf8(child->jolietName) : child->isoName;
    std::u16string childLongPath = longPath + u"/" + child->longName;
    if (child->isDirectory()) {
      Collect(*child->directory, prefix + "/" + name, isJoliet, importedSources, childLongPath,
              out);
      continue;
    }
    // A name without extension keeps its "." in both trees.
    std::string sourcePath = Utf16ToUtf8(child->sourcePath);
    std::replace(sourcePath.begin(), sourcePath.end(), '\\', '/');
    fs::path source = child->isImported ? importedSources.at(childLongPath) : fs::path(sourcePath);
    (*out)[prefix + "/" + name] = source;
  }
}

ExpectedFiles Expected(const BurnProject& project, bool isJoliet,
                       const std::map<std::u16string, fs::path>& importedSources = {}) {
  ExpectedFiles files;
  Collect(*project.root(), "", isJoliet, importedSources, u"", &files);
  return files;
}

// What a tool printed that shows it found something wrong.
// One line is let through: libisofs says that a boot image that is no file
// of the tree (as here: the catalog alone points at it) has no size it
// could use when modifying the image.  Reading is not affected.
void ExpectNoComplaint(const std::string& what, int status, const std::string& output) {
  SCOPED_TRACE(what + " said:\n" + output);
  EXPECT_EQ(status, 0);
  std::string checked;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    std::string line = output.substr(start, end - start);
    if (line.find("Found hidden El-Torito image. Its size could not be figured out") ==
        std::string::npos) {
      checked += line + "\n";
    }
    start = end + 1;
  }
  for (const char* word : {"SORRY", "FAILURE", "FATAL", "WARNING", "rror", "Unable", "bad "}) {
    EXPECT_EQ(checked.find(word), std::string::npos) << "found \"" << word << "\"";
  }
}

// xorriso options that load the session at sessionStart.
// How to load it (which tree, how names are mapped) comes before -indev.
std::string LoadOptions(const fs::path& image, uint32_t sessionStart,
                        const std::string& loadSettings = "") {
  std::string options = "-abort_on FAILURE " + loadSettings;
  if (sessionStart) options += " -load sbsector " + std::to_string(sessionStart);
  return options + " -indev " + Quote(image);
}

void ExpectExtractedFiles(const fs::path& image, uint32_t sessionStart, bool isJoliet,
                          const ExpectedFiles& expected, const fs::path& workDir) {
  SCOPED_TRACE(isJoliet ? "Joliet tree" : "ISO 9660 tree");
  fs::path out = workDir / (isJoliet ? "joliet-out" : "iso-out");
  std::string output;
  int status = test::Run(
      "xorriso -osirrox on " +
          LoadOptions(image, sessionStart, isJoliet ? "" : "-read_fs ecma119 -ecma119_map stripped") +
          " -extract / " + Quote(out),
      &output, 120);
  ExpectNoComplaint("xorriso -extract", status, output);

  std::set<std::string> found;
  if (fs::exists(out)) {
    for (const auto& entry : fs::recursive_directory_iterator(out)) {
      if (entry.is_regular_file()) found.insert("/" + fs::relative(entry.path(), out).string());
    }
  }
  std::set<std::string> wanted;
  for (const auto& [path, source] : expected) wanted.insert(path);
  EXPECT_EQ(found, wanted);
  for (const auto& [path, source] : expected) {
    ASSERT_TRUE(test::ReadFile(out / path.substr(1)) == test::ReadFile(source))
        << path << ": extracted bytes differ from " << source;
  }
}

// Every reader check on one image.
void CheckImage(const fs::path& image, uint32_t sessionStart, const BurnProject& project,
                const std::map<std::u16string, fs::path>& importedSources,
                const fs::path& workDir) {
  std::string output;
  std::string at = sessionStart ? " -T " + std::to_string(sessionStart) : "";
  int status = test::Run("isoinfo -d" + at + " -i " + Quote(image), &output);
  ExpectNoComplaint("isoinfo -d", status, output);
  EXPECT_NE(output.find("Joliet with UCS level 1"), std::string::npos) << output;
  EXPECT_NE(output.find("Volume size is: " + std::to_string(sessionStart +
                                                           project.layout.imageSectors)),
            std::string::npos)
      << output;
  status = test::Run("isoinfo -l" + at + " -i " + Quote(image), &output);
  ExpectNoComplaint("isoinfo -l", status, output);
  status = test::Run("isoinfo -J -l" + at + " -i " + Quote(image), &output);
  ExpectNoComplaint("isoinfo -J -l", status, output);
  for (const auto& [path, source] : Expected(project, true, importedSources)) {
    std::string name = path.substr(path.rfind('/') + 1);
    // isoinfo prints characters outside its chosen 8-bit set as "_"; those
    // names are checked by the extraction below.
    if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; })) continue;
    EXPECT_NE(output.find(name), std::string::npos) << name << " missing from\n" << output;
  }

  status = test::Run("xorriso " + LoadOptions(image, sessionStart) + " -find / -type f", &output);
  ExpectNoComplaint("xorriso -find", status, output);
  status = test::Run("xorriso " + LoadOptions(image, sessionStart) + " -report_el_torito plain",
               &output);
  ExpectNoComplaint("xorriso -report_el_torito", status, output);
  if (project.hasBootImage()) {
    const char* media = project.bootImageBytes() == 2048 ? "none" : "fd1.4";
    EXPECT_NE(output.find(media), std::string::npos) << output;
    // The boot image bytes as xorriso finds them at the catalog's load sector.
    const fs::path bootOut = workDir / "boot-out";
    status = test::Run("xorriso -osirrox on " + LoadOptions(image, sessionStart) +
                           " -extract_boot_images " + Quote(bootOut),
                       &output);
    ExpectNoComplaint("xorriso -extract_boot_images", status, output);
    std::vector<uint8_t> got;
    for (const auto& entry : fs::directory_iterator(bootOut)) {
      if (entry.path().filename().string().rfind("eltorito_img1_", 0) == 0) {
        got = test::ReadFile(entry.path());
      }
    }
    EXPECT_TRUE(got == test::ReadFile(fs::path(Utf16ToUtf8(project.bootImagePath()))))
        << "boot image read back differs (" << got.size() << " bytes)";
    fs::remove_all(bootOut);
  }
  ExpectExtractedFiles(image, sessionStart, false, Expected(project, false, importedSources),
                       workDir);
  ExpectExtractedFiles(image, sessionStart, true, Expected(project, true, importedSources),
                       workDir);
}

void WriteSource(const fs::path& path, uint64_t size, uint32_t seed) {
  test::WriteFile(path, test::PatternBytes(size, seed));
}

struct Fixture {
  const char* name;
  // Makes the source tree under `source` and fills the project from it.
  std::function<void(const fs::path& source, BurnProject& project)> fill;
};

const Fixture kFixtures[] = {
    {"empty", [](const fs::path&, BurnProject&) {}},
    {"one file",
     [](const fs::path& source, BurnProject& project) {
       WriteSource(source / "notes.txt", 1000, 1);
       ASSERT_TRUE(project.InsertFile(u"\\", test::U16(source / "notes.txt")).node);
     }},
    {"folders of one full sector and one record more",
     [](const fs::path& source, BurnProject& project) {
       // "F000001.BIN": 33 + 11 bytes, so 45 records fill the 1980 bytes
       // after "." and ".." exactly.
       for (int i = 1; i <= 46; ++i) {
         char name[16];
         std::snprintf(name, sizeof name, "f%06d.bin", i);
         if (i <= 45) WriteSource(source / "exact" / name, 100 + i, i);
         WriteSource(source / "onemore" / name, 3000 + i, 100 + i);
       }
       ASSERT_TRUE(project.InsertDir(u"\\", test::U16(source), u"*.*", true, false));
       ASSERT_EQ(project.FindDir(u"\\exact")->isoSizeBytes, 0u);  // not laid out yet
     }},
    {"deep nesting",
     [](const fs::path& source, BurnProject& project) {
       fs::path dir = source;
       for (int level = 1; level <= 12; ++level) {
         dir /= "level" + std::to_string(level);
         WriteSource(dir / ("file" + std::to_string(level) + ".dat"), 5000 * level, level);
       }
       ASSERT_TRUE(project.InsertDir(u"\\", test::U16(source), u"*.*", true, false));
     }},
    {"long and non-ASCII names",
     [](const fs::path& source, BurnProject& project) {
       std::string longBase(90, 'x');
       const char* names[] = {
           "Ærøskøbing café.txt",     "Привет мир.doc",    "日本語のファイル.txt",
           "README",                   "holiday_photo_001.jpg", "holiday_photo_002.jpg",
           "a;b.txt",                  "spaces in name .txt"};
       uint32_t seed = 10;
       for (const char* name : names) {
         WriteSource(source / "names" / name, 777 + seed, seed);
         ++seed;
       }
       WriteSource(source / "names" / (longBase + "1.jpeg"), 4096, seed++);
       WriteSource(source / "names" / (longBase + "2.jpeg"), 4097, seed++);
       WriteSource(source / "names" / "Ünïcödé Ordner" / "inner.bin", 2049, seed++);
       ASSERT_TRUE(project.InsertDir(u"\\", test::U16(source), u"*.*", true, false));
     }},
    {"long-name mode",
     [](const fs::path& source, BurnProject& project) {
       project.Clear(1);
       WriteSource(source / "A file with a rather long name.text", 3000, 21);
       WriteSource(source / "Folder" / "another long file name.data", 5000, 22);
       ASSERT_TRUE(project.InsertDir(u"\\", test::U16(source), u"*.*", true, false));
     }},
    {"boot image of 2048 bytes",
     [](const fs::path& source, BurnProject& project) {
       std::vector<uint8_t> boot = test::PatternBytes(2048, 77);
       boot[510] = 0x55;
       boot[511] = 0xAA;
       test::WriteFile(source.parent_path() / "boot.img", boot);
       ASSERT_TRUE(project.SetBootImage(test::U16(source.parent_path() / "boot.img")));
       WriteSource(source / "payload.bin", 70000, 5);
       ASSERT_TRUE(project.InsertFile(u"\\", test::U16(source / "payload.bin")).node);
     }},
    {"boot image of 1.44 MB",
     [](const fs::path& source, BurnProject& project) {
       test::WriteFile(source.parent_path() / "floppy.img", test::PatternBytes(1474560, 78));
       ASSERT_TRUE(project.SetBootImage(test::U16(source.parent_path() / "floppy.img")));
       WriteSource(source / "payload.bin", 12345, 6);
       ASSERT_TRUE(project.InsertFile(u"\\", test::U16(source / "payload.bin")).node);
     }},
};

TEST(ImageTools, FixtureImagesReadBackIntact) {
  if (!HaveTools()) GTEST_SKIP() << "xorriso or isoinfo is not installed";
  for (const Fixture& fixture : kFixtures) {
    SCOPED_TRACE(fixture.name);
    ScratchDir scratch;
    fs::create_directories(scratch / "source");
    LocalFileSource files;
    test::FixedClock clock(1781000000, 120);
    BurnProject project(files, clock);
    project.SetVolumeId(u"Fixture image");
    fixture.fill(scratch / "source", project);
    if (HasFatalFailure()) return;
    ASSERT_GT(LayoutImage(project), 0u);
    const fs::path image = scratch / "image.iso";
    ASSERT_TRUE(WriteImageFile(project, 0, image));
    ASSERT_EQ(fs::file_size(image), uint64_t(project.layout.imageSectors) * 2048);
    CheckImage(image, 0, project, {}, scratch.path());
  }
}

// A second session at the next writable address after a first session made
// by xorriso: it imports the first session's tree, adds files of its own,
// and is read at its start sector from a file holding both sessions.
TEST(ImageTools, SecondSessionAtSectorN) {
  if (!HaveTools()) GTEST_SKIP() << "xorriso or isoinfo is not installed";
  ScratchDir scratch;
  const fs::path first = scratch / "first";
  WriteSource(first / "old.txt", 3333, 1);
  WriteSource(first / "Old Folder" / "old photo.jpg", 250000, 2);
  WriteSource(first / "Old Folder" / "empty.txt", 0, 3);
  const fs::path firstImage = scratch / "first.iso";
  std::string output;
  ASSERT_EQ(test::Run("xorriso -as mkisofs -J -V FIRST -o " + Quote(firstImage) + " " + Quote(first),
                &output),
            0)
      << output;
  // The next writable address on a disc follows the first session's track
  // (rounded up here as a drive rounds to its packet size).
  const uint32_t sessionStart =
      static_cast<uint32_t>((fs::file_size(firstImage) / 2048 + 31) / 32 * 32);

  LocalFileSource files;
  test::FixedClock clock(1781000000, -300);
  BurnProject project(files, clock);
  FileSectorReader reader(firstImage);
  ImportResult imported = ImportSession(project, reader, 0, u"\\");
  ASSERT_TRUE(imported.isTreeRead);
  EXPECT_EQ(imported.entries, 4u);
  EXPECT_EQ(imported.badRecords, 0u);
  WriteSource(scratch / "new" / "new.bin", 9000, 4);
  WriteSource(scratch / "boot.img", 2048, 5);
  ASSERT_TRUE(project.InsertFile(u"\\Old Folder", test::U16(scratch / "new" / "new.bin")).node);
  ASSERT_TRUE(project.SetBootImage(test::U16(scratch / "boot.img")));
  ASSERT_GT(LayoutImage(project), 0u);

  const fs::path second = scratch / "second.iso";
  ASSERT_TRUE(WriteImageFile(project, sessionStart, second));
  const fs::path both = scratch / "both.iso";
  {
    std::vector<uint8_t> bytes = test::ReadFile(firstImage);
    bytes.resize(size_t(sessionStart) * 2048, 0);
    std::vector<uint8_t> tail = test::ReadFile(second);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    test::WriteFile(both, bytes);
  }
  std::map<std::u16string, fs::path> importedSources = {
      {u"/old.txt", first / "old.txt"},
      {u"/Old Folder/old photo.jpg", first / "Old Folder" / "old photo.jpg"},
      {u"/Old Folder/empty.txt", first / "Old Folder" / "empty.txt"},
  };
  CheckImage(both, sessionStart, project, importedSources, scratch.path());

  // A third session imports the second one: every file, old and new, is
  // found at its absolute sector.
  BurnProject third(files, clock);
  FileSectorReader bothReader(both);
  ImportResult again = ImportSession(third, bothReader, sessionStart, u"\\");
  EXPECT_TRUE(again.isTreeRead);
  EXPECT_EQ(again.entries, 5u);
  EXPECT_EQ(again.badRecords, 0u);
  importedSources[u"/Old Folder/new.bin"] = scratch / "new" / "new.bin";
  const std::vector<uint8_t> bothBytes = test::ReadFile(both);
  size_t checked = 0;
  for (const auto& file : third.files()) {
    if (file->isDirectory()) continue;
    std::u16string path = u"/" + file->longName;
    if (file->longName != u"old.txt") path = u"/Old Folder" + path;
    std::vector<uint8_t> want = test::ReadFile(importedSources.at(path));
    ASSERT_EQ(file->sizeBytes, want.size()) << Utf16ToUtf8(path);
    ASSERT_LE(file->extent * 2048ull + want.size(), bothBytes.size());
    EXPECT_TRUE(std::equal(want.begin(), want.end(), bothBytes.begin() + file->extent * 2048ull))
        << Utf16ToUtf8(path);
    ++checked;
  }
  EXPECT_EQ(checked, 4u);
}

}  // namespace
}  // namespace discburn
