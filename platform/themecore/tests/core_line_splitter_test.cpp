// Line cutting for SKBUFIN: every kind of line end, wherever the file is cut
// into reads.
#include "line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Feeds `bytes` in pieces of `chunk` bytes and takes every line.
Lines SplitInChunks(const std::string& bytes, size_t chunk) {
  themecore::LineSplitter splitter;
  Lines lines;
  std::string line;
  for (size_t at = 0; at < bytes.size(); at += chunk) {
    splitter.Append(std::string_view(bytes).substr(at, chunk));
    while (splitter.TakeLine(&line)) lines.push_back(line);
  }
  splitter.Finish();
  while (splitter.TakeLine(&line)) lines.push_back(line);
  EXPECT_TRUE(splitter.AtEnd());
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  Lines expected;
};

TEST(LineSplitter, CutsLinesInAnyChunking) {
  const LineCase cases[] = {
      {"empty file", "", {}},
      {"CR LF", "a\r\nb\r\n", {"a", "b"}},
      {"LF", "a\nb\n", {"a", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"no final line end", "a\nb", {"a", "b"}},
      {"empty lines kept", "\n\r\n\rx", {"", "", "", "x"}},
      {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
      {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
      {"only a line end", "\r\n", {""}},
      {"zero bytes inside a line kept", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"high bytes", "\xE9\xFF\n", {"\xE9\xFF"}},
  };
  for (const LineCase& c : cases) {
    for (size_t chunk = 1; chunk <= c.bytes.size() + 1; ++chunk) {
      SCOPED_TRACE(std::string(c.name) + ", chunks of " + std::to_string(chunk));
      EXPECT_EQ(c.expected, SplitInChunks(c.bytes, chunk));
    }
  }
}

TEST(LineSplitter, LongLinesAcrossManyReads) {
  std::string longLine(300000, 'x');
  longLine[12345] = 'y';
  std::string bytes = "short\r\n" + longLine + "\r\nlast";
  EXPECT_EQ((Lines{"short", longLine, "last"}), SplitInChunks(bytes, 4096));
  EXPECT_EQ((Lines{"short", longLine, "last"}), SplitInChunks(bytes, 65536));
}

TEST(LineSplitter, WaitsForTheHalfOfACrLf) {
  themecore::LineSplitter splitter;
  std::string line;
  splitter.Append("a\r");
  // The CR may be followed by an LF: no line yet.
  EXPECT_FALSE(splitter.TakeLine(&line));
  splitter.Append("\nb");
  ASSERT_TRUE(splitter.TakeLine(&line));
  EXPECT_EQ("a", line);
  EXPECT_FALSE(splitter.TakeLine(&line));
  EXPECT_FALSE(splitter.AtEnd());
  splitter.Finish();
  ASSERT_TRUE(splitter.TakeLine(&line));
  EXPECT_EQ("b", line);
  EXPECT_TRUE(splitter.AtEnd());
  EXPECT_FALSE(splitter.TakeLine(&line));
}

}  // namespace
