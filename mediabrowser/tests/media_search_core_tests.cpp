// The media search's portable rules: extension lists, the file and folder
// tests of directory entries, content rules, GIF headers, the folder order
// of a drive walk, the drive box texts and the report's lines.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/gif_header.h"
#include "core/media_search_rules.h"
#include "core/search_folder_walk.h"

namespace {

using namespace browser;

const char kTypeList[] =
    "Video|*.avi;*.mpg|Audio|*.wav;*.mp3;*.mid|Play lists|*.upl|Documents|*.htm;*.txt|Pictures|*.jpg;*.gif|All|*.*";

TEST(MediaSearchRules, ExtensionLists) {
  struct Case {
    const char* name;
    std::string typeList;
    int command;
    std::string expected;
  };
  const Case cases[] = {
      {"first type", kTypeList, 401, ".AVI.MPG."},
      {"second type, upper-cased", kTypeList, 402, ".WAV.MP3.MID."},
      {"fifth type", kTypeList, 405, ".JPG.GIF."},
      {"all files: nothing by extension", kTypeList, 406, ".."},
      {"a list without the field", "Video|*.avi", 402, ""},
      {"an empty list", "", 401, ""},
      {"patterns without stars", "V|.avi;.mpg", 401, ".AVI.MPG."},
      {"a pattern with a name part keeps it", "V|clip*.avi", 401, "CLIP.AVI."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, SearchExtensionList(c.typeList, c.command));
  }
}

TEST(MediaSearchRules, ExtensionsOfNames) {
  struct Case {
    const char* fileName;
    std::string extension;
    std::string list;
    bool listed;
  };
  const Case cases[] = {
      {"holiday.jpg", ".JPG", ".JPG.GIF.", true},
      {"HOLIDAY.Gif", ".GIF", ".JPG.GIF.", true},
      {"a.b.avi", ".AVI", ".AVI.MPG.", true},
      {"noextension", "", ".JPG.", false},
      {"ends.", ".", ".JPG.", false},
      {"x.jpe", ".JPE", ".JPEG.", false},
      {"x.peg", ".PEG", ".JPEG.", false},
      {"x.tif", ".TIF", ".TIFF.", false},
      {"x.tiff", ".TIFF", ".TIF.TIFF.", true},
      {"x.jpg", ".JPG", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    EXPECT_EQ(c.extension, SearchExtensionOf(c.fileName));
    EXPECT_EQ(c.listed, ExtensionListed(c.list, SearchExtensionOf(c.fileName)));
  }
  EXPECT_TRUE(ExtensionListed(kSearchPictureExtensions, ".JPEG"));
  EXPECT_TRUE(ExtensionListed(kSearchPictureExtensions, ".FPX"));
  EXPECT_FALSE(ExtensionListed(kSearchPictureExtensions, ".TIFF"));
}

TEST(MediaSearchRules, DirectoryEntries) {
  struct Case {
    const char* name;
    const char* entry;
    uint32_t attributes;
    bool file, folder;
  };
  const Case cases[] = {
      {"plain (0)", "a.jpg", 0x00, true, false},
      {"read-only", "a.jpg", 0x01, true, false},
      {"archive", "a.jpg", 0x20, true, false},
      {"archive and read-only", "a.jpg", 0x21, true, false},
      {"normal", "a.jpg", 0x80, true, false},
      {"temporary", "a.jpg", 0x100, true, false},
      {"archive, not indexed", "a.jpg", 0x2020, true, false},
      {"compressed, archive", "a.jpg", 0x820, true, false},
      {"hidden", "a.jpg", 0x02, false, false},
      {"hidden archive", "a.jpg", 0x22, false, false},
      {"system", "a.jpg", 0x04, false, false},
      {"system archive", "a.jpg", 0x24, false, false},
      {"a device", "con", 0x40, false, false},
      {"a dot name", ".hidden.jpg", 0x20, false, false},
      {"a folder", "photos", 0x10, false, true},
      {"a hidden folder", "photos", 0x12, false, true},
      {"a read-only folder", "photos", 0x11, false, true},
      {"a dot folder", ".cache", 0x10, false, false},
      {"the folder itself", ".", 0x10, false, false},
      {"the parent", "..", 0x10, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.file, IsSearchedFile(c.entry, c.attributes));
    EXPECT_EQ(c.folder, IsEnteredFolder(c.entry, c.attributes));
  }
}

TEST(MediaSearchRules, ContentRules) {
  struct Case {
    const char* name;
    std::string extension;
    std::string firstBytes;
    bool passes;
  };
  const Case cases[] = {
      {"a video CD track", ".DAT", "RIFF", true},
      {"RIFF in lower case", ".DAT", "riff", true},
      {"a data file", ".DAT", "DATA", false},
      {"a short data file", ".DAT", "RIF", false},
      {"an empty data file", ".DAT", "", false},
      {"a tracker module", ".MOD", "M.K.", true},
      {"a program module", ".MOD", "MZ", false},
      {"a one-byte module", ".MOD", "M", true},
      {"an empty module", ".MOD", "", true},
      {"MIDI never", ".MID", "MThd", false},
      {"other types need nothing", ".AVI", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.passes, PassesContentRule(c.extension, c.firstBytes));
  }
  EXPECT_EQ(4u, ContentRuleBytes(".DAT"));
  EXPECT_EQ(2u, ContentRuleBytes(".MOD"));
  EXPECT_EQ(0u, ContentRuleBytes(".JPG"));
}

TEST(MediaSearchRules, GifHeaders) {
  struct Case {
    const char* name;
    std::string bytes;
    bool ok;
    GifHeader expected;
  };
  const Case cases[] = {
      {"89a, 640 x 480", std::string("GIF89a\x80\x02\xE0\x01", 10), true, {"89a", 640, 480}},
      {"87a with a colour table after", std::string("GIF87a\x01\x00\x02\x00\xF7\x00\x00", 13), true, {"87a", 1, 2}},
      {"sides of 32768 and more stay positive", std::string("GIF89a\x00\x80\xFF\xFF", 10), true,
       {"89a", 32768, 65535}},
      {"nine bytes are too few", std::string("GIF89a\x10\x00\x10", 9), false, {}},
      {"only the signature", "GIF", false, {}},
      {"empty", "", false, {}},
      {"not a GIF", std::string("\x89PNG\r\n\x1a\n\0\0", 10), false, {}},
      {"lower-case signature", std::string("gif89a\x01\x00\x01\x00", 10), false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GifHeader got{"sentinel", 7, 7};
    ASSERT_EQ(c.ok, ParseGifHeader(c.bytes, &got));
    if (!c.ok) {
      EXPECT_EQ("sentinel", got.version) << "a failed read leaves the header alone";
      EXPECT_EQ(7u, got.width);
      continue;
    }
    EXPECT_EQ(c.expected.version, got.version);
    EXPECT_EQ(c.expected.width, got.width);
    EXPECT_EQ(c.expected.height, got.height);
  }
}

// A tree as folder -> subfolders in listing order.
using Tree = std::map<std::string, std::vector<std::string>>;

std::vector<std::string> Walk(const Tree& tree, const std::string& root) {
  SearchFolderWalk walk(root);
  std::vector<std::string> order;
  std::string folder;
  while (walk.Next(&folder)) {
    order.push_back(folder);
    auto found = tree.find(folder);
    if (found == tree.end()) continue;
    for (const std::string& name : found->second) walk.AddSubfolder(name);
  }
  return order;
}

TEST(MediaSearchWalk, DepthFirstInListingOrder) {
  struct Case {
    const char* name;
    Tree tree;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"the root alone", {}, {"M:\\"}},
      {"two levels",
       {{"M:\\", {"a", "b"}}, {"M:\\a\\", {"x", "y"}}, {"M:\\b\\", {"z"}}},
       {"M:\\", "M:\\a\\", "M:\\a\\x\\", "M:\\a\\y\\", "M:\\b\\", "M:\\b\\z\\"}},
      {"the listing order, not the alphabet",
       {{"M:\\", {"zeta", "alpha"}}, {"M:\\zeta\\", {"inner"}}},
       {"M:\\", "M:\\zeta\\", "M:\\zeta\\inner\\", "M:\\alpha\\"}},
      {"a deep branch before its later siblings",
       {{"M:\\", {"a", "b"}}, {"M:\\a\\", {"a1"}}, {"M:\\a\\a1\\", {"a2"}}},
       {"M:\\", "M:\\a\\", "M:\\a\\a1\\", "M:\\a\\a1\\a2\\", "M:\\b\\"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, Walk(c.tree, "M:\\"));
  }
}

// Far more pending folders than any fixed queue would hold: every folder of
// a wide level and of a deep chain is visited once.
TEST(MediaSearchWalk, LargeTreesLoseNothing) {
  Tree tree;
  std::set<std::string> all = {"M:\\"};
  for (int i = 0; i < 1500; ++i) {
    std::string name = "w" + std::to_string(i);
    tree["M:\\"].push_back(name);
    all.insert("M:\\" + name + "\\");
  }
  std::string deep = "M:\\w0\\";
  for (int depth = 0; depth < 700; ++depth) {
    tree[deep].push_back("d");
    deep += "d\\";
    all.insert(deep);
  }
  std::vector<std::string> order = Walk(tree, "M:\\");
  EXPECT_EQ(all.size(), order.size());
  EXPECT_EQ(all, std::set<std::string>(order.begin(), order.end()));
  // The whole deep chain comes right after its top, before "w1".
  ASSERT_GT(order.size(), 703u);
  EXPECT_EQ("M:\\w0\\", order[1]);
  EXPECT_EQ(deep, order[701]);
  EXPECT_EQ("M:\\w1\\", order[702]);
}

TEST(MediaSearchRules, DriveBox) {
  struct Case {
    const char* name;
    std::string driveList;
    std::string letters;
    std::string buttons;
  };
  const Case cases[] = {
      {"floppies removed", "ABCDM", "CDM", "C:|D:|M:|&Cancel"},
      {"lower case", "acz", "CZ", "C:|Z:|&Cancel"},
      {"only A", "A", "", "|&Cancel"},
      {"no floppy", "CD", "CD", "C:|D:|&Cancel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string letters = SearchableDriveLetters(c.driveList);
    EXPECT_EQ(c.letters, letters);
    EXPECT_EQ(c.buttons, DriveBoxButtons(letters, "&Search|&Cancel"));
  }
  EXPECT_EQ("C:|D:", DriveBoxButtons("CD", "&OK"));
  EXPECT_EQ("Search for videos", MenuTextCaption("Search for &videos   "));
}

TEST(MediaSearchRules, ActionsAndSummaries) {
  SearchAction action = ParseSearchAction("search@.txt,Searching...,@ files, # kB, done");
  EXPECT_EQ("search@.txt", action.reportName);
  EXPECT_EQ("Searching...", action.waitText);
  EXPECT_EQ("@ files, # kB, done", action.summaryTemplate);
  EXPECT_EQ("searchM.txt", ReportFileName(action.reportName, 'M'));
  action = ParseSearchAction("report.txt");
  EXPECT_EQ("report.txt", action.reportName);
  EXPECT_EQ("", action.waitText);
  EXPECT_EQ("", action.summaryTemplate);
  action = ParseSearchAction("r.txt,,@");
  EXPECT_EQ("", action.waitText);
  EXPECT_EQ("@", action.summaryTemplate);

  struct Case {
    const char* name;
    std::string templateText, count, kilobytes;
    std::string expectedStart;
  };
  const Case cases[] = {
      {"both filled", "@ files (# kB)", "3", "1,024", "M: 3 files (1,024 kB)"},
      {"no template", "", "3", "4", "M: "},
      {"a long template is cut", std::string(100, 'x'), "1", "1", "M: " + std::string(77, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string summary = ReportSummary('M', c.templateText, c.count, c.kilobytes);
    ASSERT_EQ(80u, summary.size());
    EXPECT_EQ(c.expectedStart, summary.substr(0, c.expectedStart.size()));
    EXPECT_EQ(std::string(80 - c.expectedStart.size(), ' '), summary.substr(c.expectedStart.size()));
  }
  EXPECT_EQ(std::string(80, ' ') + "\r\n\r\n", ReportHeader());
}

TEST(MediaSearchRules, ReportLines) {
  struct Case {
    const char* name;
    int32_t width, height;
    std::string kilobytes, path;
    std::string expected;
  };
  const Case cases[] = {
      {"no size", 0, 0, "12", "M:\\a.avi", std::string(12 + 8, ' ') + "12 k\tM:\\a.avi\r\n"},
      {"a picture", 640, 480, "1", "M:\\p.jpg", "640x480" + std::string(5 + 9, ' ') + "1 k\tM:\\p.jpg\r\n"},
      {"one side unknown", 640, 0, "1", "M:\\p.jpg", std::string(12 + 9, ' ') + "1 k\tM:\\p.jpg\r\n"},
      {"grouped size", 1, 1, "12,345", "M:\\p.gif", "1x1" + std::string(9 + 4, ' ') + "12,345 k\tM:\\p.gif\r\n"},
      {"long texts kept whole", 123456, 654321, "12,345,678,901", "M:\\x",
       "123456x65432112,345,678,901 k\tM:\\x\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, ReportLine(c.width, c.height, c.kilobytes, c.path));
  }
}

TEST(MediaSearchRules, Kilobytes) {
  struct Case {
    int64_t bytes, kilobytes;
  };
  const Case cases[] = {{0, 0},       {1, 0},       {511, 0},    {512, 1},
                        {1023, 1},    {1024, 1},    {1535, 1},   {1536, 2},
                        {-5, 0},      {int64_t{5} << 40, int64_t{5} << 30}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(c.kilobytes, RoundedKilobytes(c.bytes));
  }
  EXPECT_EQ(2147483647, SaturatedNumber(int64_t{1} << 40));
  EXPECT_EQ(-2147483647 - 1, SaturatedNumber(-(int64_t{1} << 40)));
  EXPECT_EQ(77, SaturatedNumber(77));
}

TEST(MediaSearchRules, SecondListPermission) {
  struct Case {
    int command;
    int32_t permission;
    bool allowed;
  };
  const Case cases[] = {
      {401, 0, false}, {401, 1, false}, {401, 2, true},  {401, 3, true},
      {402, 0, false}, {402, 1, true},  {405, -1, true}, {405, 3, true},
      {406, 0, false}, {406, 2, false}, {406, 3, true},  {406, 4, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.command) + " at " + std::to_string(c.permission));
    EXPECT_EQ(c.allowed, MayFillSecondList(c.command, c.permission));
  }
  EXPECT_TRUE(IsSearchCommand(401));
  EXPECT_TRUE(IsSearchCommand(406));
  EXPECT_FALSE(IsSearchCommand(400));
  EXPECT_FALSE(IsSearchCommand(407));
  EXPECT_TRUE(SearchReadsPictureSizes(405));
  EXPECT_FALSE(SearchReadsPictureSizes(404));
}

}  // namespace
