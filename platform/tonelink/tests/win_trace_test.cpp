// The ORB_TRACE file as tonelink.dll writes it: one line per call, with the
// arguments and the result, and nothing without the variable.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "tonelink.h"

namespace {

using testsupport::ScopedEnvironment;
using testsupport::ScratchFolder;

std::string Prefix() { return "[" + std::to_string(GetCurrentProcessId()) + "] tonelink "; }

// The text as a trace line quotes it: '\' as \x5C (the paths here are
// printable ASCII otherwise).
std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '\\' ? std::string("\\x5C") : std::string(1, c);
  return quoted + "\"";
}

std::vector<std::string> ReadTrace(const std::string& path) {
  std::string text;
  if (!testsupport::ReadFileBytes(path, &text)) return {};
  return testsupport::SplitLines(text);
}

std::string Show(const std::vector<std::string>& lines) {
  std::string shown;
  for (const std::string& line : lines) shown += "\n  " + line;
  return shown;
}

class Trace : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::ResetLibrary(); }
  void TearDown() override { testsupport::ResetLibrary(); }
};

TEST_F(Trace, WritesOneLinePerCall) {
  ScratchFolder folder("trace");
  const std::string tracePath = folder.Child("trace.txt");
  const std::string missing = folder.Child("absent.mp3");
  char buffer[64];
  int32_t frequency = -1;
  {
    ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
    ScopedEnvironment directX("ORB_DIRECTX_VERSION", "8");
    EXPECT_EQ(1, BASSAVAILABLE());
    EXPECT_NE(0, BASSINIT(1, 44100, 0, nullptr));
    EXPECT_EQ(1, BASSSETCONFIG(6, 100));
    EXPECT_EQ(6, BASSOPEN(0, missing.c_str()));
    EXPECT_EQ(6, BASSERRORGETCODE());
    EXPECT_EQ(25, BASSERRORDESCRIPTION(6, buffer, sizeof(buffer)));
    EXPECT_EQ(0xFFFFFFFFu, BASSCHANNELGETLEVEL());
    EXPECT_EQ(3, BASSGETVERSION(buffer, 2));
    EXPECT_EQ(0, BASSCHANNELGETINFO(77, &frequency, nullptr, nullptr));
    EXPECT_EQ(8, BASSDIRECTXVERSION());
    EXPECT_EQ(0, BASSUPDATEEQ(0, 4));
    EXPECT_EQ(1, BASSFREE());
  }
  BASSAVAILABLE();  // after the variable is gone: not traced

  const std::vector<std::string> expected = {
      Prefix() + "BASSAVAILABLE() = 1",
      Prefix() + "BASSINIT(1, 44100, 0, 0) = 1",
      Prefix() + "BASSSETCONFIG(6, 100) = 1",
      Prefix() + "BASSOPEN(0, " + Quoted(missing) + ") = 6",
      Prefix() + "BASSERRORGETCODE() = 6",
      Prefix() + "BASSERRORDESCRIPTION(6, out:\"the file cannot be opened\", 64) = 25",
      Prefix() + "BASSCHANNELGETLEVEL() = 4294967295",
      Prefix() + "BASSGETVERSION(out:\"\", 2) = 3",
      Prefix() + "BASSCHANNELGETINFO(77, out:-1, out:NULL, out:NULL) = 0",
      Prefix() + "BASSDIRECTXVERSION() = 8",
      Prefix() + "BASSUPDATEEQ(0, 4) = 0",
      Prefix() + "BASSFREE() = 1",
  };
  EXPECT_EQ(expected, ReadTrace(tracePath)) << Show(ReadTrace(tracePath));
}

TEST_F(Trace, NothingWrittenWithoutVariable) {
  ScratchFolder folder("no trace");
  const std::string tracePath = folder.Child("trace.txt");
  {
    ScopedEnvironment unset("ORB_TRACE", nullptr);
    BASSAVAILABLE();
    BASSINIT(1, 44100, 0, nullptr);
    BASSFREE();
  }
  {
    ScopedEnvironment empty("ORB_TRACE", "");
    BASSAVAILABLE();
  }
  EXPECT_FALSE(testsupport::FileExists(tracePath));
  {
    ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
    BASSERRORGETCODE();
  }
  EXPECT_EQ(1u, ReadTrace(tracePath).size()) << Show(ReadTrace(tracePath));
}

}  // namespace
