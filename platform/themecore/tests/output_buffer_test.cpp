// The output-buffer convention of texts returned to callers.
#include "output_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct BufferCase {
  const char* name;
  std::string text;
  int32_t outSize;  // bytes the caller offers (the test buffer is larger)
  bool nullBuffer;
  int32_t expectedResult;
  std::string expectedBuffer;  // the buffer up to the first zero
  size_t expectedTouched;      // bytes changed from the sentinel
};

TEST(OutputBuffer, FollowsTheLengthRule) {
  const BufferCase cases[] = {
      {"fits with room", "C:\\a.txt", 64, false, 8, "C:\\a.txt", 9},
      {"fits exactly (length + 1)", "C:\\a.txt", 9, false, 8, "C:\\a.txt", 9},
      {"one byte short gives empty", "C:\\a.txt", 8, false, 8, "", 1},
      {"one byte buffer gives empty", "C:\\a.txt", 1, false, 8, "", 1},
      {"zero size writes nothing", "C:\\a.txt", 0, false, 8, "\x7E\x7E\x7E\x7E", 0},
      {"negative size writes nothing", "C:\\a.txt", -4, false, 8, "\x7E\x7E\x7E\x7E", 0},
      {"null buffer returns the length", "C:\\a.txt", 260, true, 8, "", 0},
      {"empty text", "", 4, false, 0, "", 1},
      {"empty text, zero size", "", 0, false, 0, "\x7E\x7E\x7E\x7E", 0},
  };
  for (const BufferCase& c : cases) {
    SCOPED_TRACE(c.name);
    // Sentinel bytes show what the function touched.
    std::string buffer(80, '\x7E');
    buffer[4] = '\0';
    std::string before = buffer;
    int32_t got = themecore::CopyTextOut(c.text, c.nullBuffer ? nullptr : buffer.data(), c.outSize);
    EXPECT_EQ(c.expectedResult, got);
    if (c.nullBuffer) continue;
    EXPECT_EQ(c.expectedBuffer, std::string(buffer.c_str()));
    size_t touched = 0;
    for (size_t i = 0; i < buffer.size(); ++i) {
      if (buffer[i] != before[i]) touched = i + 1;
    }
    // Nothing beyond the text and its zero is written (for "" the zero lands
    // on a sentinel byte, which counts as touched).
    EXPECT_LE(touched, c.expectedTouched);
    if (c.outSize > 0) {
      EXPECT_LE(touched, static_cast<size_t>(c.outSize));
    }
  }
}

TEST(OutputBuffer, RetryWithReturnedLengthSucceeds) {
  std::string text(1000, 'p');
  std::string small(10, '\x7E');
  int32_t length = themecore::CopyTextOut(text, small.data(), static_cast<int32_t>(small.size()));
  ASSERT_EQ(1000, length);
  EXPECT_EQ('\0', small[0]);
  EXPECT_EQ(std::string(9, '\x7E'), small.substr(1));
  std::string big(static_cast<size_t>(length) + 1, '\x7E');
  EXPECT_EQ(1000, themecore::CopyTextOut(text, big.data(), length + 1));
  EXPECT_EQ(text, std::string(big.c_str()));
}

}  // namespace
