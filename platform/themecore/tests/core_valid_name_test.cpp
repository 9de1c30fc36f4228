#include "valid_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
  std::string name;
  int32_t expected;
};

TEST(ValidName, AcceptsOrNamesTheReason) {
  const NameCase cases[] = {
      {"holiday 2026", 0},
      {"a.b.c", 0},
      {".hidden", 0},
      {"con tents", 0},
      {"com0", 0},
      {"lpt10", 0},
      {std::string(255, 'x'), 0},
      {"", 123},
      {".", 123},
      {"..", 123},
      {"..\\x", 123},
      {"a/b", 123},
      {"c:", 123},
      {"what?", 123},
      {"star*", 123},
      {"say \"hi\"", 123},
      {"a<b", 123},
      {"a>b", 123},
      {"pipe|", 123},
      {std::string("tab\there"), 123},
      {"trailing ", 123},
      {"trailing.", 123},
      {"CON", 123},
      {"nul.txt", 123},
      {"Lpt3", 123},
      {"com9.log", 123},
      {std::string(256, 'x'), 206},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(themecore::CheckSingleName(c.name), c.expected) << '"' << c.name << '"';
  }
}

}  // namespace
