// Trace line formatting: quoting and escaping of texts, and the layout of a
// whole line as a test reading the trace file expects it.
#include "trace_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct QuoteCase {
  const char* name;
  std::string bytes;
  std::string expected;
};

TEST(TraceFormat, QuotesAndEscapesTexts) {
  const QuoteCase cases[] = {
      {"empty", "", R"("")"},
      {"plain ASCII", "Hello, world!", R"("Hello, world!")"},
      {"blank and tilde are plain", " ~", R"(" ~")"},
      {"quote", "say \"hi\"", R"("say \x22hi\x22")"},
      {"backslash", "C:\\dir\\f.txt", R"("C:\x5Cdir\x5Cf.txt")"},
      {"control bytes", "a\tb\r\nc", R"("a\x09b\x0D\x0Ac")"},
      {"zero byte inside", std::string("a\0b", 3), R"("a\x00b")"},
      {"DEL", "\x7F", R"("\x7F")"},
      {"high bytes (code page 1252)", "caf\xE9 \xFF\x80", R"("caf\xE9 \xFF\x80")"},
      {"text that looks like an escape", "\\x41", R"("\x5Cx41")"},
  };
  for (const QuoteCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, orbtrace::QuoteText(std::string_view(c.bytes)));
  }
}

TEST(TraceFormat, NullTextIsWrittenNull) {
  EXPECT_EQ("NULL", orbtrace::QuoteText(static_cast<const char*>(nullptr)));
  EXPECT_EQ(R"("x")", orbtrace::QuoteText("x"));
}

struct LineCase {
  const char* name;
  orbtrace::CallLine call;
  uint32_t processId;
  std::string result;
  std::string expected;
};

TEST(TraceFormat, FormatsWholeLines) {
  const LineCase cases[] = {
      {"no arguments", orbtrace::CallLine("themecore", "SKVERSION"), 7, "1",
       "[7] themecore SKVERSION() = 1"},
      {"text and numbers",
       orbtrace::CallLine("themecore", "SKSHELL").Text("\"C:\\a b\\x.exe\" -q").Number(5).Number(0),
       4242, "1234", R"([4242] themecore SKSHELL("\x22C:\x5Ca b\x5Cx.exe\x22 -q", 5, 0) = 1234)"},
      {"null text and negative number",
       orbtrace::CallLine("themecore", "SKEXIST").Text(nullptr).Number(-1), 1, "0",
       "[1] themecore SKEXIST(NULL, -1) = 0"},
      {"output buffer",
       orbtrace::CallLine("themecore", "SKFINDF")
           .Text("win.ini")
           .OutText("C:\\windows\\win.ini")
           .Number(260),
       99, "19", R"([99] themecore SKFINDF("win.ini", out:"C:\x5Cwindows\x5Cwin.ini", 260) = 19)"},
      {"no output buffer",
       orbtrace::CallLine("themecore", "SKFINDF").Text("a").OutText(nullptr).Number(0), 3, "5",
       R"([3] themecore SKFINDF("a", out:NULL, 0) = 5)"},
      {"raw value and text result",
       orbtrace::CallLine("tonelink", "TLOPEN").Raw("0x00A0").Bytes(std::string("\0", 1)),
       4294967295u, "\"ok\"", R"([4294967295] tonelink TLOPEN(0x00A0, "\x00") = "ok")"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, c.call.Format(c.processId, c.result));
  }
}

TEST(TraceFormat, NumericResult) {
  orbtrace::CallLine call("themecore", "SKFINDF");
  call.Text("missing.txt").OutText("").Number(260);
  EXPECT_EQ(R"([12] themecore SKFINDF("missing.txt", out:"", 260) = 0)",
            call.Format(12, int64_t{0}));
  EXPECT_EQ(R"([12] themecore SKFINDF("missing.txt", out:"", 260) = -2147483648)",
            call.Format(12, int64_t{-2147483647 - 1}));
}

TEST(TraceFormat, LineNeverContainsLineBreaks) {
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  orbtrace::CallLine call("themecore", "SKSHELL");
  call.Bytes(everyByte).Text("\r\n");
  std::string line = call.Format(1, int64_t{0});
  EXPECT_EQ(std::string::npos, line.find('\n')) << line;
  EXPECT_EQ(std::string::npos, line.find('\r')) << line;
  // 95 plain bytes less quote and backslash stay as they are, the other 163
  // take four bytes each, plus the two quotes.
  EXPECT_EQ(93u + 163u * 4u + 2u, call.arguments()[0].size());
}

struct LockNameCase {
  const char* name;
  std::string first;
  std::string second;
  bool same;
};

TEST(TraceFormat, LockNameFollowsWindowsPathRules) {
  const LockNameCase cases[] = {
      {"same path", "Z:\\tmp\\trace.txt", "Z:\\tmp\\trace.txt", true},
      {"case ignored", "Z:\\TMP\\Trace.TXT", "z:\\tmp\\trace.txt", true},
      {"slash is backslash", "Z:/tmp/trace.txt", "Z:\\tmp\\trace.txt", true},
      {"other file", "Z:\\tmp\\trace1.txt", "Z:\\tmp\\trace2.txt", false},
      {"other folder", "C:\\a\\trace.txt", "C:\\b\\trace.txt", false},
      {"high bytes are not folded", "C:\\\xE9.txt", "C:\\\xC9.txt", false},
  };
  for (const LockNameCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string first = orbtrace::TraceLockName(c.first);
    std::string second = orbtrace::TraceLockName(c.second);
    EXPECT_EQ(c.same, first == second) << first << " / " << second;
    for (const std::string& lockName : {first, second}) {
      ASSERT_EQ(25u, lockName.size()) << lockName;
      EXPECT_EQ("orbtrace-", lockName.substr(0, 9));
      EXPECT_EQ(std::string::npos, lockName.find_first_not_of("0123456789ABCDEF", 9)) << lockName;
    }
  }
  // Any path length gives a name of the same length.
  EXPECT_EQ(25u, orbtrace::TraceLockName(std::string(40000, 'x')).size());
  EXPECT_EQ(25u, orbtrace::TraceLockName("").size());
}

}  // namespace
