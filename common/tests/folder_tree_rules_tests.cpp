// Tests of the folder tree's portable rules: path arguments from private
// messages, the trailing-backslash rule, the child-folder filter and order,
// the drive filter, FTM_GETPATH's copy count, hover expansion and the
// auto-scroll zones.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/folder_tree_rules.h"

using namespace std::string_literals;
namespace ft = suite::folder_tree;

namespace {

TEST(FolderTreeRules, TakePathArgumentReadsNoFurtherThanLengthOrZero) {
  struct Case {
    const char* name;
    std::string buffer;  // the caller's bytes (may hold zeros)
    int64_t length;
    bool nullText;
    bool valid;
    std::string expected;
  };
  const Case cases[] = {
      {"plain", "C:\\a", 4, false, true, "C:\\a"},
      {"length shorter than text", "C:\\abc", 4, false, true, "C:\\a"},
      {"cut at first zero", "C:\\a\0garbage"s, 12, false, true, "C:\\a"},
      {"trailing zeros", "C:\\a\0\0\0"s, 7, false, true, "C:\\a"},
      {"blanks trimmed", "  C:\\a b \t", 10, false, true, "C:\\a b"},
      {"only blanks", "   ", 3, false, true, ""},
      {"zero length", "C:\\", 0, false, true, ""},
      {"negative length", "C:\\", -1, false, false, ""},
      {"null text", "", 5, true, false, ""},
      {"long text kept whole", std::string(300, 'x'), 300, false, true, std::string(300, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Exactly the caller's bytes on the heap, so ASan flags any over-read.
    std::vector<char> bytes(c.buffer.begin(), c.buffer.end());
    bool valid = !c.valid;
    const char* text = c.nullText ? nullptr : (bytes.empty() ? "" : bytes.data());
    std::string got = ft::TakePathArgument(text, c.length, &valid);
    EXPECT_EQ(valid, c.valid);
    EXPECT_EQ(got, c.expected);
  }
}

TEST(FolderTreeRules, WithOneTrailingBackslash) {
  struct Case { const char* name; const char* path; const char* expected; };
  const Case cases[] = {
      {"empty stays empty", "", ""},
      {"drive without slash", "C:", "C:\\"},
      {"drive root", "C:\\", "C:\\"},
      {"folder", "C:\\a\\b", "C:\\a\\b\\"},
      {"several trailing", "C:\\a\\\\\\", "C:\\a\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::WithOneTrailingBackslash(c.path), c.expected);
  }
}

TEST(FolderTreeRules, DoubleBackslashRefused) {
  struct Case { const char* name; const char* path; bool expected; };
  const Case cases[] = {
      {"plain", "C:\\a\\b", false},
      {"inner double", "C:\\a\\\\b", true},
      {"unc start", "\\\\server\\share", true},
      {"trailing double", "C:\\a\\\\", true},
      {"empty", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::HasDoubleBackslash(c.path), c.expected);
  }
}

TEST(FolderTreeRules, ChildFolderFilter) {
  struct Case { const char* name; const char* entry; bool isDirectory; bool expected; };
  const Case cases[] = {
      {"folder", "Music", true, true},
      {"file", "song.mp3", false, false},
      {"dot", ".", true, false},
      {"dot dot", "..", true, false},
      {"dot folder", ".cache", true, false},
      {"empty name", "", true, false},
      {"inner dot", "a.b", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::IsListedChildFolder(c.entry, c.isDirectory), c.expected);
  }
}

TEST(FolderTreeRules, CompareNoCaseAscii) {
  struct Case { const char* name; std::string a; std::string b; int sign; };
  const Case cases[] = {
      {"equal ignoring case", "Alpha", "aLPHA", 0},
      {"letters before", "alpha", "Beta", -1},
      {"letters after", "Gamma", "beta", 1},
      {"prefix first", "ab", "abc", -1},
      {"underscore after letters folded", "a_", "aB", -1},  // '_' (95) < 'b' (98)
      {"high bytes not folded", "\xc9"s, "\xe9"s, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int got = ft::CompareNoCaseAscii(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.sign) << "got " << got;
  }
}

TEST(FolderTreeRules, ChildFolderPathsFilteredJoinedSorted) {
  struct Case {
    const char* name;
    std::string folder;
    std::vector<ft::DirectoryEntry> entries;
    std::vector<std::string> expected;
  };
  const std::string deep(260, 'd');
  const Case cases[] = {
      {"sorted without case",
       "C:\\m",
       {{"beta", true}, {"Alpha", true}, {"gamma", true}, {"ALPHB", true}},
       {"C:\\m\\Alpha\\", "C:\\m\\ALPHB\\", "C:\\m\\beta\\", "C:\\m\\gamma\\"}},
      {"dots and files left out",
       "C:\\m\\",
       {{".", true}, {"..", true}, {".git", true}, {"a.txt", false}, {"x", true}},
       {"C:\\m\\x\\"}},
      {"nothing", "C:\\", {}, {}},
      {"over-long child left out", "C:\\", {{deep, true}, {"short", true}}, {"C:\\short\\"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::ChildFolderPaths(c.folder, c.entries), c.expected);
  }
}

TEST(FolderTreeRules, ReachablePathLimit) {
  struct Case { const char* name; size_t length; bool expected; };
  const Case cases[] = {
      {"empty", 0, false},
      {"short", 10, true},
      {"at limit", ft::kMaxFolderPathBytes, true},
      {"one past", ft::kMaxFolderPathBytes + 1, false},
      {"unix deep", 320, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::IsReachableFolderPath(std::string(c.length, 'a')), c.expected);
  }
}

TEST(FolderTreeRules, DriveTypesListed) {
  struct Case { const char* name; uint32_t type; int32_t flag; bool expected; };
  const Case cases[] = {
      {"unknown", 0, 0, false},      {"no root", 1, 0, false},
      {"removable", 2, 0, true},     {"fixed", 3, 0, true},
      {"remote", 4, 0, true},        {"cdrom", 5, 0, true},
      {"cdrom flag -2", 5, -2, false}, {"fixed flag -2", 3, -2, true},
      {"ram disk", 6, 1, true},      {"beyond", 7, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::IsListedDriveType(c.type, c.flag), c.expected);
  }
}

TEST(FolderTreeRules, PathCopyCount) {
  struct Case { const char* name; int64_t size; size_t length; size_t expected; };
  const Case cases[] = {
      {"short buffer", 3, 12, 3},     {"exact", 12, 12, 12},
      {"large buffer", 300, 12, 12},  {"zero size", 0, 12, 0},
      {"negative size", -5, 12, 0},   {"empty path", 10, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::PathCopyCount(c.size, c.length), c.expected);
  }
}

TEST(FolderTreeRules, HoverExpandOnlyPastFloppyLetters) {
  struct Case { const char* name; const char* path; bool expected; };
  const Case cases[] = {
      {"floppy A", "A:\\", false}, {"floppy B", "B:\\x\\", false},
      {"C drive", "C:\\x\\", true}, {"empty", "", false}, {"lower case", "c:\\", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ft::AllowsHoverExpand(c.path), c.expected);
  }
}

TEST(FolderTreeRules, AutoScrollZones) {
  using A = ft::ScrollAction;
  struct Case { const char* name; int32_t x; int32_t y; A action; uint32_t intervalMs; };
  // Client area 100 x 200, band 16.
  const Case cases[] = {
      {"top band", 50, 5, A::kLineUp, ft::kSlowScrollMs},
      {"bottom band", 50, 190, A::kLineDown, ft::kSlowScrollMs},
      {"middle", 50, 100, A::kStop, 0},
      {"just below top band", 50, 16, A::kStop, 0},
      {"above", 50, -3, A::kLineUp, ft::kFastScrollMs},
      {"below", 50, 205, A::kLineDown, ft::kFastScrollMs},
      {"left", -10, 100, A::kUnchanged, 0},
      {"right", 120, 100, A::kUnchanged, 0},
      {"above and left", -10, -10, A::kLineUp, ft::kFastScrollMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ft::ScrollDecision got = ft::DecideAutoScroll(c.x, c.y, 100, 200, 16);
    EXPECT_EQ(static_cast<int>(got.action), static_cast<int>(c.action));
    EXPECT_EQ(got.intervalMs, c.intervalMs);
  }
}

}  // namespace
