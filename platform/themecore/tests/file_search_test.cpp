// The search order of SKFINDF, over a made-up set of existing files.
#include "file_search.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using themecore::SearchFolders;

struct PathKindCase {
  const char* name;
  std::string path;
  bool absolute;
  bool hasFolder;
};

TEST(FileSearch, ClassifiesNames) {
  const PathKindCase cases[] = {
      {"bare name", "skin.txt", false, false},
      {"relative with folder", "res\\skin.txt", false, true},
      {"relative with slash", "res/skin.txt", false, true},
      {"dot relative", ".\\skin.txt", false, true},
      {"drive absolute", "C:\\res\\skin.txt", true, true},
      {"lower-case drive", "z:\\tmp", true, true},
      {"drive relative", "C:skin.txt", true, true},
      {"rooted", "\\res\\skin.txt", true, true},
      {"unix-style rooted", "/tmp/skin.txt", true, true},
      {"UNC", "\\\\server\\share\\a", true, true},
      {"empty", "", false, false},
      {"colon not a drive", "1:x", false, false},
  };
  for (const PathKindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.absolute, themecore::IsAbsolutePath(c.path));
    EXPECT_EQ(c.hasFolder, themecore::HasFolderPart(c.path));
  }
}

struct SplitCase {
  const char* name;
  std::string path;
  std::vector<std::string> expected;
};

TEST(FileSearch, SplitsPathVariable) {
  const SplitCase cases[] = {
      {"empty", "", {}},
      {"one", "C:\\windows", {"C:\\windows"}},
      {"several", "C:\\a;D:\\b;C:\\c d", {"C:\\a", "D:\\b", "C:\\c d"}},
      {"empty entries dropped", ";C:\\a;;C:\\b;", {"C:\\a", "C:\\b"}},
      {"quoted entry", "\"C:\\Program Files\\x\";C:\\y", {"C:\\Program Files\\x", "C:\\y"}},
      {"lone quote kept", "\"", {"\""}},
      {"empty quotes dropped", "\"\";C:\\y", {"C:\\y"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::SplitPathList(c.path));
  }
}

struct JoinCase {
  const char* name;
  std::string folder;
  std::string file;
  std::string expected;
};

TEST(FileSearch, JoinsFolderAndName) {
  const JoinCase cases[] = {
      {"plain", "C:\\dir", "a.txt", "C:\\dir\\a.txt"},
      {"folder ends in backslash", "C:\\", "a.txt", "C:\\a.txt"},
      {"folder ends in slash", "Z:/tmp/", "a.txt", "Z:/tmp/a.txt"},
      {"drive only", "C:", "a.txt", "C:a.txt"},
      {"empty folder", "", "a.txt", "a.txt"},
      {"name with folder", "C:\\dir", "res\\a.txt", "C:\\dir\\res\\a.txt"},
  };
  for (const JoinCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::JoinPath(c.folder, c.file));
  }
}

const SearchFolders kFolders = {"C:\\prog", "C:\\work", "C:\\windows", "C:\\windows\\system32",
                                "C:\\tools;;\"C:\\more tools\""};

TEST(FileSearch, OrdersFolders) {
  const std::vector<std::string> expected = {"C:\\prog",    "C:\\work",
                                             "C:\\windows", "C:\\windows\\system32",
                                             "C:\\tools",   "C:\\more tools"};
  EXPECT_EQ(expected, themecore::FoldersInSearchOrder(kFolders));

  SearchFolders missing = kFolders;
  missing.currentFolder.clear();
  missing.pathVariable.clear();
  const std::vector<std::string> fewer = {"C:\\prog", "C:\\windows", "C:\\windows\\system32"};
  EXPECT_EQ(fewer, themecore::FoldersInSearchOrder(missing));
}

struct FindCase {
  const char* name;
  std::string request;
  std::set<std::string> files;  // the files that exist
  std::string expected;         // "" when not found
  std::vector<std::string> expectedProbes;
};

TEST(FileSearch, FindsInOrder) {
  const FindCase cases[] = {
      {"program folder wins over current folder",
       "a.txt",
       {"C:\\prog\\a.txt", "C:\\work\\a.txt"},
       "C:\\prog\\a.txt",
       {"C:\\prog\\a.txt"}},
      {"bare name is searched even when it is in the current folder",
       "a.txt",
       {"a.txt", "C:\\work\\a.txt"},
       "C:\\work\\a.txt",
       {"C:\\prog\\a.txt", "C:\\work\\a.txt"}},
      {"windows folder before system folder",
       "win.ini",
       {"C:\\windows\\win.ini", "C:\\windows\\system32\\win.ini"},
       "C:\\windows\\win.ini",
       {"C:\\prog\\win.ini", "C:\\work\\win.ini", "C:\\windows\\win.ini"}},
      {"PATH folders last, in order",
       "tool.exe",
       {"C:\\more tools\\tool.exe"},
       "C:\\more tools\\tool.exe",
       {"C:\\prog\\tool.exe", "C:\\work\\tool.exe", "C:\\windows\\tool.exe",
        "C:\\windows\\system32\\tool.exe", "C:\\tools\\tool.exe", "C:\\more tools\\tool.exe"}},
      {"absolute name taken as it is",
       "D:\\data\\x.txt",
       {"D:\\data\\x.txt", "C:\\prog\\D:\\data\\x.txt"},
       "D:\\data\\x.txt",
       {"D:\\data\\x.txt"}},
      {"missing absolute name is not searched", "D:\\data\\y.txt", {}, "", {"D:\\data\\y.txt"}},
      {"existing relative path taken as it is",
       "res\\skin.txt",
       {"res\\skin.txt", "C:\\prog\\res\\skin.txt"},
       "res\\skin.txt",
       {"res\\skin.txt"}},
      {"missing relative path searched below each folder",
       "res\\skin.txt",
       {"C:\\work\\res\\skin.txt"},
       "C:\\work\\res\\skin.txt",
       {"res\\skin.txt", "C:\\prog\\res\\skin.txt", "C:\\work\\res\\skin.txt"}},
      {"missing everywhere",
       "none.txt",
       {},
       "",
       {"C:\\prog\\none.txt", "C:\\work\\none.txt", "C:\\windows\\none.txt",
        "C:\\windows\\system32\\none.txt", "C:\\tools\\none.txt", "C:\\more tools\\none.txt"}},
      {"empty name finds nothing", "", {"C:\\prog\\"}, "", {}},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> probes;
    auto isFile = [&](const std::string& path) {
      probes.push_back(path);
      return c.files.count(path) != 0;
    };
    std::optional<std::string> got = themecore::FindInSearchOrder(c.request, kFolders, isFile);
    EXPECT_EQ(c.expected, got.value_or(""));
    EXPECT_EQ(c.expectedProbes, probes);
  }
}

}  // namespace
