// Tests of the ".upl" list file: bytes written, lines read back by both
// readers, placeholders, blank lines, missing files and typed names.
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
    EXPECT_EQ(browser::WriteListFile(c.entries), c.bytes);
  }
}

TEST(ListFile, LinesAndReaders) {
  struct Case {
    const char* name;
    std::string bytes;
    std::set<std::string> existing;
    std::vector<std::string> browserFiles;
    size_t named;
    size_t missing;
    std::string playerList;
  };
  const Case cases[] = {
      {"plain lines", "c:\\a.avi\r\nc:\\b.avi\r\n", {"c:\\a.avi", "c:\\b.avi"},
       {"c:\\a.avi", "c:\\b.avi"}, 2, 0, "c:\\a.avi|c:\\b.avi"},
      {"last line without line end, LF and CR ends", "c:\\a.avi\nc:\\b.avi\rc:\\c.avi",
       {"c:\\a.avi", "c:\\b.avi", "c:\\c.avi"}, {"c:\\a.avi", "c:\\b.avi", "c:\\c.avi"}, 3, 0,
       "c:\\a.avi|c:\\b.avi|c:\\c.avi"},
      {"blank and empty lines are skipped", "\r\n   \r\nc:\\a.avi\r\n\r\n", {"c:\\a.avi"},
       {"c:\\a.avi"}, 1, 0, "c:\\a.avi"},
      {"placeholder becomes the program folder", "@path@media\\x.avi\r\n",
       {kFolder + "media\\x.avi"}, {kFolder + "media\\x.avi"}, 1, 0, kFolder + "media\\x.avi"},
      {"missing files are left out by the browser only", "c:\\gone.avi\r\nc:\\here.avi\r\n",
       {"c:\\here.avi"}, {"c:\\here.avi"}, 2, 1, "c:\\gone.avi|c:\\here.avi"},
      {"all missing", "c:\\a.avi\r\nc:\\b.avi\r\n", {}, {}, 2, 2, "c:\\a.avi|c:\\b.avi"},
      {"leading blanks", "   c:\\a.avi\r\n", {"c:\\a.avi"}, {"c:\\a.avi"}, 1, 0, "c:\\a.avi"},
      {"empty file", "", {}, {}, 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> asked;
    browser::ListFileContents got =
        browser::ReadListFile(c.bytes, kFolder, [&](const std::string& path) {
          asked.push_back(path);
          return c.existing.count(path) != 0;
        });
    EXPECT_EQ(got.files, c.browserFiles);
    EXPECT_EQ(got.namedCount, c.named);
    EXPECT_EQ(got.missingCount, c.missing);
    EXPECT_EQ(asked.size(), c.named);
    EXPECT_EQ(browser::ListFileItemList(c.bytes, kFolder), c.playerList);
  }
}

// What the writer writes, both readers read back unchanged.
TEST(ListFile, RoundTrip) {
  std::vector<std::string> shown = {" c:\\my media\\a b.avi", " d:\\x.mp3", "e:\\no blank.jpg"};
  std::string bytes = browser::WriteListFile(shown);
  std::vector<std::string> paths = {"c:\\my media\\a b.avi", "d:\\x.mp3", "e:\\no blank.jpg"};
  EXPECT_EQ(browser::ListFileLines(bytes), paths);
  browser::ListFileContents read =
      browser::ReadListFile(bytes, kFolder, [](const std::string&) { return true; });
  EXPECT_EQ(read.files, paths);
  EXPECT_EQ(browser::ListFileItemList(bytes, kFolder), "c:\\my media\\a b.avi|d:\\x.mp3|e:\\no blank.jpg");
  EXPECT_EQ(browser::WriteListFile(read.files), bytes);
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
    EXPECT_EQ(browser::ListFileBaseName(c.typed, browser::LIST_FILE_EXTENSION), c.name);
  }
}

}  // namespace
