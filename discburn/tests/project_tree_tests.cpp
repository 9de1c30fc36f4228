// The project tree: insertion rules, names of both trees, clashes and
// refusals, directory creation and lookup, boot image and volume label.
#include <gtest/gtest.h>

#include <functional>

#include "core/burn_project.h"
#include "core/disc_names.h"
#include "core/local_file_source.h"
#include "fake_file_source.h"
#include "test_files.h"

namespace discburn {
namespace {

using test::FakeFileSource;

struct Fixture {
  FakeFileSource files;
  test::FixedClock clock{1781526645, 60};
  BurnProject project{files, clock};
};

std::string Describe(InsertStatus status) {
  switch (status) {
    case InsertStatus::kInserted: return "inserted";
    case InsertStatus::kReplaced: return "replaced";
    case InsertStatus::kNameClash: return "name clash";
    case InsertStatus::kSourceMissing: return "source missing";
    case InsertStatus::kNotAFile: return "not a file";
    case InsertStatus::kTooLarge: return "too large";
    case InsertStatus::kNoSuchDirectory: return "no such directory";
    case InsertStatus::kTableFull: return "table full";
  }
  return "?";
}

// One insertion and what it must leave: its status, and the names of the
// destination's entries afterwards ("joliet|ISO" in insertion order).
struct InsertCase {
  const char* name;
  std::function<void(Fixture&)> before;
  std::function<InsertResult(BurnProject&)> insert;
  InsertStatus status;
  const char16_t* destDir;
  std::vector<std::string> entries;
  // Source path of the entry the insertion answers with, when it is not
  // the one given (a clash answers with the entry already there).
  const char16_t* answeredSource = nullptr;
};

std::vector<std::string> EntryNames(const DirNode* dir) {
  std::vector<std::string> names;
  for (const FileNode* child : dir->children) {
    names.push_back(Utf16ToUtf8(child->jolietName) + "|" + child->isoName);
  }
  return names;
}

TEST(ProjectTree, InsertCases) {
  const InsertCase cases[] = {
      {"plain file", [](Fixture& f) { f.files.AddFile(u"C:\\a\\Photo.jpg", 10); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\Photo.jpg"); },
       InsertStatus::kInserted, u"\\", {"Photo.jpg|PHOTO.JPG"}},
      {"no extension gets a dot in both names",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\README", 10); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\README"); },
       InsertStatus::kInserted, u"\\", {"README.|README."}},
      {"8.3 alias names the ISO entry",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\Holiday in Rome.jpeg", 10, u"HOLIDA~1.JPE"); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\Holiday in Rome.jpeg"); },
       InsertStatus::kInserted, u"\\", {"Holiday in Rome.jpeg|HOLIDA~1.JPE"}},
      {"given names replace the source's",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\x.bin", 10); },
       [](BurnProject& p) {
         return p.InsertFileWithName(u"\\", u"C:\\a\\x.bin", u"Long Name.dat", u"short.dat");
       },
       InsertStatus::kInserted, u"\\", {"Long Name.dat|SHORT.DAT"}},
      {"case-only duplicate is a clash, the first stays",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\photo.jpg", 10);
         f.files.AddFile(u"C:\\b\\PHOTO.JPG", 20);
         f.project.InsertFile(u"\\", u"C:\\a\\photo.jpg");
       },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\b\\PHOTO.JPG"); },
       InsertStatus::kNameClash, u"\\", {"photo.jpg|PHOTO.JPG"}, u"C:\\a\\photo.jpg"},
      {"replace on overwrites the entry in place",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\photo.jpg", 10);
         f.files.AddFile(u"C:\\b\\PHOTO.JPG", 20);
         f.project.InsertFile(u"\\", u"C:\\a\\photo.jpg");
         f.project.replaceFiles = true;
       },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\b\\PHOTO.JPG"); },
       InsertStatus::kReplaced, u"\\", {"PHOTO.JPG|PHOTO.JPG"}},
      {"a file never replaces a folder",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\Music", 10);
         f.project.replaceFiles = true;
         f.project.CreateDir(u"\\", u"Music");
       },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\Music"); },
       InsertStatus::kNameClash, u"\\", {"Music|MUSIC"}},
      {"a folder given as a file is refused",
       [](Fixture& f) { f.files.AddDir(u"C:\\a\\Folder"); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\Folder"); },
       InsertStatus::kNotAFile, u"\\", {}},
      {"a wildcard is refused",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\x.jpg", 10); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\*.jpg"); },
       InsertStatus::kNotAFile, u"\\", {}},
      {"4 GiB is refused",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\big.vob", 0x100000000ull); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\big.vob"); },
       InsertStatus::kTooLarge, u"\\", {}},
      {"4 GiB less one byte fits",
       [](Fixture& f) { f.files.AddFile(u"C:\\a\\big.vob", 0xFFFFFFFFull); },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\big.vob"); },
       InsertStatus::kInserted, u"\\", {"big.vob|BIG.VOB"}},
      {"missing source", [](Fixture&) {},
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\nothing.txt"); },
       InsertStatus::kSourceMissing, u"\\", {}},
      {"missing destination", [](Fixture& f) { f.files.AddFile(u"C:\\a\\x.jpg", 10); },
       [](BurnProject& p) { return p.InsertFile(u"\\nowhere", u"C:\\a\\x.jpg"); },
       InsertStatus::kNoSuchDirectory, u"\\", {}},
      {"destination with trailing backslash, any case",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\x.jpg", 10);
         f.project.CreateDir(u"\\", u"Pictures");
       },
       [](BurnProject& p) { return p.InsertFile(u"\\PICTURES\\", u"C:\\a\\x.jpg"); },
       InsertStatus::kInserted, u"\\Pictures", {"x.jpg|X.JPG"}},
      {"ISO names made unique",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\holiday_photo_001.jpg", 10);
         f.files.AddFile(u"C:\\a\\holiday_photo_002.jpg", 10);
         f.project.InsertFile(u"\\", u"C:\\a\\holiday_photo_001.jpg");
       },
       [](BurnProject& p) { return p.InsertFile(u"\\", u"C:\\a\\holiday_photo_002.jpg"); },
       InsertStatus::kInserted, u"\\",
       {"holiday_photo_001.jpg|HOLIDAY_PHOT.", "holiday_photo_002.jpg|HOLIDAY_PHO~1."}},
      {"cut Joliet names made unique",
       [](Fixture& f) {
         f.files.AddFile(u"C:\\a\\" + std::u16string(70, u'k') + u"1.txt", 10);
         f.files.AddFile(u"C:\\a\\" + std::u16string(70, u'k') + u"2.txt", 10);
         f.project.InsertFile(u"\\", u"C:\\a\\" + std::u16string(70, u'k') + u"1.txt");
       },
       [](BurnProject& p) {
         return p.InsertFile(u"\\", u"C:\\a\\" + std::u16string(70, u'k') + u"2.txt");
       },
       InsertStatus::kInserted, u"\\",
       {std::string(60, 'k') + ".txt|KKKKKKKKKKKK.",
        std::string(58, 'k') + "~1.txt|KKKKKKKKKKK~1."}},
  };
  for (const InsertCase& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    c.before(f);
    size_t problemsBefore = f.project.problems().size();
    InsertResult result = c.insert(f.project);
    EXPECT_EQ(Describe(result.status), Describe(c.status));
    bool added = c.status == InsertStatus::kInserted || c.status == InsertStatus::kReplaced;
    EXPECT_EQ(result.node != nullptr, added || c.answeredSource != nullptr);
    if (c.answeredSource && result.node) EXPECT_EQ(result.node->sourcePath, c.answeredSource);
    // Clashes and refusals of entries are listed for the client.
    bool listed = c.status == InsertStatus::kNameClash || c.status == InsertStatus::kTooLarge;
    EXPECT_EQ(f.project.problems().size(), problemsBefore + (listed ? 1 : 0));
    const DirNode* dest = f.project.FindDir(c.destDir);
    ASSERT_NE(dest, nullptr);
    EXPECT_EQ(EntryNames(dest), c.entries);
  }
}

TEST(ProjectTree, InsertDirWithMaskCreatesEverySubfolder) {
  Fixture f;
  f.files.AddDir(u"C:\\Photos");
  f.files.AddFile(u"C:\\Photos\\a.jpg", 100);
  f.files.AddFile(u"C:\\Photos\\b.png", 100);
  f.files.AddDir(u"C:\\Photos\\Summer Holidays", u"SUMMER~1");
  f.files.AddFile(u"C:\\Photos\\Summer Holidays\\c.JPG", 100);
  f.files.AddDir(u"C:\\Photos\\Empty");
  f.files.AddDir(u"C:\\Photos\\Empty\\Deeper");
  f.files.AddFile(u"C:\\Photos\\Empty\\Deeper\\notes.txt", 100);

  DirNode* dest = f.project.InsertDir(u"\\", u"C:\\Photos\\", u"*.jpg", true, false);
  ASSERT_EQ(dest, f.project.root());
  EXPECT_EQ(EntryNames(dest),
            (std::vector<std::string>{"Empty|EMPTY", "Summer Holidays|SUMMER~1", "a.jpg|A.JPG"}));
  EXPECT_EQ(EntryNames(f.project.FindDir(u"\\summer holidays")),
            (std::vector<std::string>{"c.JPG|C.JPG"}));
  ASSERT_NE(f.project.FindDir(u"\\Empty\\Deeper"), nullptr);
  EXPECT_TRUE(f.project.FindDir(u"\\Empty\\Deeper")->children.empty());
  // Without recursion only the folder's own matching files.
  Fixture g;
  g.files = f.files;
  g.project.InsertDir(u"\\", u"C:\\Photos", u"*.*", false, false);
  EXPECT_EQ(EntryNames(g.project.root()),
            (std::vector<std::string>{"a.jpg|A.JPG", "b.png|B.PNG"}));
}

TEST(ProjectTree, InsertDirKeepingThePath) {
  struct Case { const char* name; const char16_t* source; const char16_t* expectedDir; };
  const Case cases[] = {
      {"two levels below a drive", u"C:\\Data\\Photos", u"\\Backup\\Data\\Photos"},
      {"network share", u"\\\\server\\share\\Data\\Photos", u"\\Backup\\Data\\Photos"},
      {"a drive root stays in the destination", u"C:\\", u"\\Backup"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    f.project.CreateDir(u"\\", u"Backup");
    std::u16string source = c.source;
    f.files.AddDir(source);
    std::u16string folder = source.back() == u'\\' ? source.substr(0, source.size() - 1) : source;
    f.files.AddFile(folder + u"\\x.jpg", 100);
    DirNode* dest = f.project.InsertDir(u"\\Backup", source, u"*.*", true, true);
    ASSERT_NE(dest, nullptr);
    EXPECT_EQ(dest, f.project.FindDir(c.expectedDir));
    EXPECT_EQ(EntryNames(dest).back(), "x.jpg|X.JPG");
  }
}

TEST(ProjectTree, DirectoriesAndLookups) {
  Fixture f;
  DirNode* music = f.project.CreateDir(u"\\", u"My Music Collection");
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(music->entry->isoName, "MY MUSIC COL");
  EXPECT_EQ(f.project.CreateDir(u"\\", u"my music collection"), music);  // existing one
  EXPECT_EQ(f.project.CreateDir(u"\\nowhere", u"x"), nullptr);
  EXPECT_EQ(f.project.CreateDir(u"\\", u"a\\b"), nullptr);
  DirNode* inner = f.project.CreateDir(u"\\My Music Collection", u"Inner");
  EXPECT_EQ(f.project.FindDir(u"\\\\MY MUSIC COLLECTION\\inner\\"), inner);
  EXPECT_EQ(f.project.FindDir(u""), f.project.root());
  EXPECT_EQ(f.project.FindDir(u"\\"), f.project.root());
  EXPECT_EQ(inner->parent, music);
  // A file of that name blocks a folder of the same name.
  f.files.AddFile(u"C:\\Video", 5);
  ASSERT_TRUE(f.project.InsertFile(u"\\", u"C:\\Video").node);
  EXPECT_EQ(f.project.CreateDir(u"\\", u"VIDEO"), nullptr);
  EXPECT_EQ(f.project.FindDir(u"\\Video"), nullptr);
  EXPECT_EQ(f.project.problems().back().path, u"\\VIDEO");
}

TEST(ProjectTree, DirectoryTableIsBounded) {
  Fixture f;
  for (size_t i = 1; i < kMaxDirectories; ++i) {
    ASSERT_NE(f.project.CreateDir(u"\\", u"d" + Utf8ToUtf16(std::to_string(i))), nullptr) << i;
  }
  EXPECT_EQ(f.project.directories().size(), kMaxDirectories);
  EXPECT_EQ(f.project.CreateDir(u"\\", u"one too many"), nullptr);
  EXPECT_EQ(f.project.problems().back().status, InsertStatus::kTableFull);
}

TEST(ProjectTree, BootImageSizes) {
  struct Case { const char* name; uint64_t size; bool accepted; };
  const Case cases[] = {
      {"no emulation", 2048, true},   {"1.2 MB", 1228800, true}, {"1.44 MB", 1474560, true},
      {"2.88 MB", 2949120, true},     {"odd size", 4096, false}, {"empty", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::ScratchDir scratch;
    test::WriteFile(scratch / "boot.img", std::vector<uint8_t>(c.size, 1));
    LocalFileSource files;
    test::FixedClock clock(0, 0);
    BurnProject project(files, clock);
    EXPECT_EQ(project.SetBootImage(test::U16(scratch / "boot.img")), c.accepted);
    EXPECT_EQ(project.hasBootImage(), c.accepted);
    EXPECT_EQ(project.bootImageBytes(), c.accepted ? c.size : 0);
    // A rejected image removes the one set before.
    if (c.accepted) {
      EXPECT_FALSE(project.SetBootImage(test::U16(scratch / "missing.img")));
      EXPECT_FALSE(project.hasBootImage());
    }
  }
}

TEST(ProjectTree, ClearKeepsOnlyTheRoot) {
  Fixture f;
  f.files.AddFile(u"C:\\x.txt", 5);
  f.project.CreateDir(u"\\", u"A");
  f.project.InsertFile(u"\\A", u"C:\\x.txt");
  f.project.SetVolumeId(u"A label that is longer than thirty-two characters");
  EXPECT_EQ(f.project.volumeId().size(), 32u);
  f.project.roundTo32 = false;
  f.project.Clear(1);
  EXPECT_EQ(f.project.files().size(), 0u);
  EXPECT_EQ(f.project.directories().size(), 1u);
  EXPECT_TRUE(f.project.root()->children.empty());
  EXPECT_EQ(f.project.FindDir(u"\\A"), nullptr);
  EXPECT_TRUE(f.project.roundTo32);
  EXPECT_TRUE(f.project.isLongNameMode());
  f.project.Clear(0);
  EXPECT_TRUE(f.project.isLongNameMode());  // stays on for the process
  // Long-name mode names files by their long names in the ISO tree.
  f.files.AddFile(u"C:\\A rather long file name.text", 5, u"ARATHE~1.TEX");
  ASSERT_TRUE(f.project.InsertFile(u"\\", u"C:\\A rather long file name.text").node);
  EXPECT_EQ(f.project.root()->children[0]->isoName, "A RATHER LONG FILE NAME.TEXT");
}

TEST(ProjectTree, HiddenAttributeAndTimesAreKept) {
  Fixture f;
  f.files.AddFile(u"C:\\secret.txt", 5, u"", kAttributeHidden);
  InsertResult r = f.project.InsertFile(u"\\", u"C:\\secret.txt");
  ASSERT_TRUE(r.node);
  EXPECT_TRUE(r.node->attributes & kAttributeHidden);
  // 1700000000 = 2023-11-14 22:13:20 UTC; the clock is one hour east.
  EXPECT_EQ(r.node->time.yearsSince1900, 123);
  EXPECT_EQ(r.node->time.hour, 23);
  EXPECT_EQ(r.node->time.utcOffset15, 4);
}

}  // namespace
}  // namespace discburn
