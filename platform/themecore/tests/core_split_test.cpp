// Splitting texts (SKSPLITS), paths (SKSPLITN), folder chains (SKMAKEDIR)
// and the text-list form every list export uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "split.h"
#include "text_list.h"

namespace {

using Parts = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string text;
  std::string separator;
  Parts expected;
};

TEST(Split, SplitsAtEverySeparator) {
  const SplitCase cases[] = {
      {"empty text has no parts", "", "|", {}},
      {"no separator: one part", "abc", "|", {"abc"}},
      {"two parts", "a|b", "|", {"a", "b"}},
      {"trailing separator adds an empty part", "a|b|", "|", {"a", "b", ""}},
      {"leading separator", "|a", "|", {"", "a"}},
      {"separator only", "|", "|", {"", ""}},
      {"doubled separator", "a||b", "|", {"a", "", "b"}},
      {"long separator", "a<>b<>c", "<>", {"a", "b", "c"}},
      {"overlapping long separator", "a|||b", "||", {"a", "|b"}},
      {"empty separator keeps the text", "a|b", "", {"a|b"}},
      {"blanks kept", " a | b ", "|", {" a ", " b "}},
      {"high bytes", "\xE9|\xFF", "|", {"\xE9", "\xFF"}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.name);
    Parts parts = themecore::SplitAtSeparator(c.text, c.separator);
    EXPECT_EQ(c.expected, parts);
    // The list of the parts always fits strlen(text) + 2 bytes (the caller's
    // buffer size), final zero included.
    EXPECT_LE(themecore::EncodeTextList(parts).size() + 1, c.text.size() + 2);
  }
}

struct PathCase {
  const char* name;
  std::string path;
  std::string folder;
  std::string file;
};

TEST(Split, SplitsPaths) {
  const PathCase cases[] = {
      {"full path", "C:\\Orb\\orbmedia.exe", "C:\\Orb\\", "orbmedia.exe"},
      {"bare name", "orbmedia.exe", "", "orbmedia.exe"},
      {"folder only", "C:\\Orb\\", "C:\\Orb\\", ""},
      {"slashes", "/tmp/a/b.txt", "/tmp/a/", "b.txt"},
      {"mixed separators: the last one", "C:\\a/b\\c.txt", "C:\\a/b\\", "c.txt"},
      {"root file", "\\x", "\\", "x"},
      {"UNC", "\\\\srv\\share\\f", "\\\\srv\\share\\", "f"},
      {"empty", "", "", ""},
      {"pattern", "C:\\Pics\\*.jpg;*.png", "C:\\Pics\\", "*.jpg;*.png"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.name);
    themecore::PathParts parts = themecore::SplitPath(c.path);
    EXPECT_EQ(c.folder, parts.folder);
    EXPECT_EQ(c.file, parts.name);
  }
}

struct ChainCase {
  const char* name;
  std::string path;
  Parts expected;
};

TEST(Split, FolderChains) {
  const ChainCase cases[] = {
      {"drive path", "C:\\a\\b\\c", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
      {"trailing separator", "C:\\a\\b\\", {"C:\\a", "C:\\a\\b"}},
      {"drive root only", "C:\\", {}},
      {"drive only", "C:", {}},
      {"relative", "a\\b", {"a", "a\\b"}},
      {"rooted", "\\a\\b", {"\\a", "\\a\\b"}},
      {"slashes", "/tmp/x/y", {"/tmp", "/tmp/x", "/tmp/x/y"}},
      {"doubled separators", "C:\\a\\\\b", {"C:\\a", "C:\\a\\\\b"}},
      {"UNC share is never created",
       "\\\\srv\\share\\a\\b",
       {"\\\\srv\\share\\a", "\\\\srv\\share\\a\\b"}},
      {"UNC share only", "\\\\srv\\share", {}},
      {"empty", "", {}},
  };
  for (const ChainCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::FolderChain(c.path));
  }
}

struct ListCase {
  const char* name;
  Parts entries;
  std::string bytes;  // without the final zero
};

TEST(TextList, EncodesAndDecodes) {
  const ListCase cases[] = {
      {"empty list", {}, std::string()},
      {"one empty entry", {""}, std::string("\0", 1)},
      {"two entries", {"a", "bc"}, std::string("a\0bc\0", 5)},
      {"empty entries between", {"a", "", "b"}, std::string("a\0\0b\0", 5)},
      {"high bytes", {"\xFF"}, std::string("\xFF\0", 2)},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.bytes, themecore::EncodeTextList(c.entries));
    EXPECT_EQ(c.entries,
              themecore::DecodeTextList(c.bytes.data(), static_cast<int64_t>(c.bytes.size())));
  }
}

TEST(TextList, DecodesDamagedInput) {
  // A last entry without its zero is taken up to the length.
  EXPECT_EQ((Parts{"a", "bc"}), themecore::DecodeTextList("a\0bcdef", 4));
  EXPECT_TRUE(themecore::DecodeTextList(nullptr, 10).empty());
  EXPECT_TRUE(themecore::DecodeTextList("abc", 0).empty());
  EXPECT_TRUE(themecore::DecodeTextList("abc", -5).empty());
}

}  // namespace
