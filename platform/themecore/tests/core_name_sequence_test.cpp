// Runs of a character reduced (SKCRUNCH) and the numbered name sequence
// (SKSEQUENCE): the renaming and page naming of the media browser rely on
// each call giving a new name that sorts after the previous one.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "name_sequence.h"

namespace {

struct CrunchCase {
  const char* name;
  std::string text;
  char c;
  std::string expected;
};

TEST(NameSequence, CrunchReducesRuns) {
  const CrunchCase cases[] = {
      {"empty", "", ' ', ""},
      {"no run", "a b c", ' ', "a b c"},
      {"inner run", "my   trip", ' ', "my trip"},
      {"runs at both ends stay one", "   a  ", ' ', " a "},
      {"only the character", "     ", ' ', " "},
      {"doubled backslashes", "c:\\\\a\\\\\\b\\", '\\', "c:\\a\\b\\"},
      {"other characters untouched", "aa  bb", 'a', "a  bb"},
      {"high bytes kept", "\xE9\xE9  \xE9", ' ', "\xE9\xE9 \xE9"},
  };
  for (const CrunchCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::CrunchRuns(c.text, c.c));
  }
}

struct SequenceCase {
  const char* name;
  std::string stem;
  std::string expected;
};

TEST(NameSequence, NextCountsOnOrStarts) {
  const SequenceCase cases[] = {
      {"a plain name starts at 001", "holiday", "holiday 001"},
      {"a name ending in a blank", "holiday ", "holiday 001"},
      {"empty", "", "001"},
      {"counts on", "holiday 001", "holiday 002"},
      {"keeps the width", "holiday 009", "holiday 010"},
      {"page stems", "ORBCT000", "ORBCT001"},
      {"carry inside the width", "x 0999", "x 1000"},
      {"carry widens", "x 999", "x 1000"},
      {"digits only", "9", "10"},
      {"only the final digits count", "2024 trip 7", "2024 trip 8"},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, themecore::NextInSequence(c.stem));
  }
}

// A long run of calls never gives a name twice.
TEST(NameSequence, NamesNeverRepeat) {
  std::set<std::string> seen;
  std::string stem = "trip";
  for (int i = 0; i < 12000; ++i) {
    stem = themecore::NextInSequence(stem);
    ASSERT_TRUE(seen.insert(stem).second) << "repeated: " << stem;
  }
  EXPECT_EQ("trip 12000", stem);
}

}  // namespace
