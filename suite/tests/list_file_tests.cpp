// Tests of the ".upl" list file: bytes written, entries read back,
// placeholders, blank lines, missing files and typed names.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/list_file.h"

namespace {

const std::string kFolder = "c:\\program files\\orb\\";

TEST(ListFile, WriterBytes) {
  struct Case {
    const char* name;
    std::vector<std::string> entries;
    std::string bytes;
  };
  const Case cases[] = {
      {"three shown entries", {" c:\\a.avi", " c:\\b c\\d.mp3", " e:\\f.jpg"},
       "c:\\a.avi\r\nc:\\b c\\d.mp3\r\ne:\\f.jpg\r\n"},
      {"entries without the leading blank keep their drive letter", {"c:\\x.wav", " d:\\y.wav"},
       "c:\\x.wav\r\nd:\\y.wav\r\n"},
      {"no entries", {}, ""},
      {"placeholder text is written as it stands", {" @path@media\\a.avi"}, "@path@media\\a.avi\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::WriteListFile(c.entries), c.bytes);
  }
}

TEST(ListFile, EntriesAndTheBrowsersReader) {
  struct Case {
    const char* name;
    std::string bytes;
    std::set<std::string> existing;
    std::vector<std::string> entries;
    std::vector<std::string> browserFiles;
  };
  const Case cases[] = {
      {"plain lines", "c:\\a.avi\r\nc:\\b.avi\r\n", {"c:\\a.avi", "c:\\b.avi"},
       {"c:\\a.avi", "c:\\b.avi"}, {"c:\\a.avi", "c:\\b.avi"}},
      {"last line without line end, LF and CR ends", "c:\\a.avi\nc:\\b.avi\rc:\\c.avi",
       {"c:\\a.avi", "c:\\b.avi", "c:\\c.avi"}, {"c:\\a.avi", "c:\\b.avi", "c:\\c.avi"},
       {"c:\\a.avi", "c:\\b.avi", "c:\\c.avi"}},
      {"blank and empty lines are skipped", "\r\n   \r\n\t\r\nc:\\a.avi\r\n\r\n", {"c:\\a.avi"},
       {"c:\\a.avi"}, {"c:\\a.avi"}},
      {"placeholder becomes the program folder", "@path@media\\x.avi\r\n", {kFolder + "media\\x.avi"},
       {kFolder + "media\\x.avi"}, {kFolder + "media\\x.avi"}},
      {"missing files are left out by the browser", "c:\\gone.avi\r\nc:\\here.avi\r\n",
       {"c:\\here.avi"}, {"c:\\gone.avi", "c:\\here.avi"}, {"c:\\here.avi"}},
      {"all missing", "c:\\a.avi\r\nc:\\b.avi\r\n", {}, {"c:\\a.avi", "c:\\b.avi"}, {}},
      {"blanks and tabs at both ends", "   c:\\a b.avi \t\r\n", {"c:\\a b.avi"}, {"c:\\a b.avi"},
       {"c:\\a b.avi"}},
      {"byte-order mark of an editor", "\xEF\xBB\xBF" "c:\\a.avi\r\n", {"c:\\a.avi"}, {"c:\\a.avi"},
       {"c:\\a.avi"}},
      {"a line too long to be a path is skipped whole",
       std::string(suite::MAX_LIST_LINE_BYTES + 1, 'x') + "\r\nc:\\a.avi\r\n", {"c:\\a.avi"},
       {"c:\\a.avi"}, {"c:\\a.avi"}},
      {"empty file", "", {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::ReadListEntries(c.bytes, kFolder), c.entries);
    std::vector<std::string> asked;
    suite::ListFileContents got = suite::ReadListFile(c.bytes, kFolder, [&](const std::string& path) {
      asked.push_back(path);
      return c.existing.count(path) != 0;
    });
    EXPECT_EQ(got.files, c.browserFiles);
    EXPECT_EQ(got.namedCount, c.entries.size());
    EXPECT_EQ(got.missingCount, c.entries.size() - c.browserFiles.size());
    EXPECT_EQ(asked, c.entries);
  }
}

// A list cut at the reading limit loses its cut last line, not a shorter
// path that names another file.
TEST(ListFile, CutListDropsItsLastLine) {
  EXPECT_EQ(suite::ReadListEntries("c:\\a.avi\r\nc:\\b.av", kFolder, true),
            std::vector<std::string>{"c:\\a.avi"});
  EXPECT_EQ(suite::ReadListEntries("c:\\a.avi\r\nc:\\b.av", kFolder, false),
            (std::vector<std::string>{"c:\\a.avi", "c:\\b.av"}));
  auto exists = [](const std::string&) { return true; };
  suite::ListFileContents cut = suite::ReadListFile("c:\\a.avi\r\nc:\\b.av", kFolder, exists, true);
  EXPECT_EQ(cut.files, std::vector<std::string>{"c:\\a.avi"});
  EXPECT_EQ(cut.namedCount, 1u);
  EXPECT_EQ(suite::ReadListFile("c:\\a.avi\r\nc:\\b.av", kFolder, exists).files,
            (std::vector<std::string>{"c:\\a.avi", "c:\\b.av"}));
}

// What the writer writes, the reader reads back unchanged.
TEST(ListFile, RoundTrip) {
  std::vector<std::string> shown = {" c:\\my media\\a b.avi", " d:\\x.mp3", "e:\\no blank.jpg"};
  std::string bytes = suite::WriteListFile(shown);
  std::vector<std::string> paths = {"c:\\my media\\a b.avi", "d:\\x.mp3", "e:\\no blank.jpg"};
  EXPECT_EQ(suite::ReadListEntries(bytes, kFolder), paths);
  suite::ListFileContents read = suite::ReadListFile(bytes, kFolder, [](const std::string&) { return true; });
  EXPECT_EQ(read.files, paths);
  EXPECT_EQ(suite::WriteListFile(read.files), bytes);
}

TEST(ListFile, TypedNames) {
  struct Case {
    const char* typed;
    const char* name;
  };
  const Case cases[] = {
      {"party", "party"},
      {"party.upl", "party"},
      {"Party.UPL", "Party"},
      {"  party  ", "party"},
      {"c:\\lists\\party.upl", "party"},
      {"sub/party", "party"},
      {".upl", ""},
      {"   ", ""},
      {"party.upl.upl", "party.upl"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(suite::ListFileBaseName(c.typed, suite::LIST_FILE_EXTENSION), c.name);
  }
}

}  // namespace
