// The ORB_TRACE file as the themecore exports write it: one line per call,
// set and changed while the process runs, shared with the programs it starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecore.h"

namespace {

using testsupport::ScopedEnvironment;
using testsupport::ScratchFolder;
using testsupport::TraceQuoted;

const DWORD kProcessTimeoutMs = 20000;

std::string Prefix() { return "[" + std::to_string(GetCurrentProcessId()) + "] themecore "; }

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

TEST(Trace, WritesOneLinePerCall) {
  ScratchFolder folder("trace");
  const std::string tracePath = folder.Child("trace.txt");
  const std::string file = folder.Child("traced file.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, "x"));
  ASSERT_TRUE(CopyFileA((testsupport::ProgramFolder() + "\\themecore_test_helper.exe").c_str(),
                        folder.Child("helper.exe").c_str(), FALSE));
  const std::string marker = folder.Child("marker.txt");
  const std::string commandLine = "\"" + folder.Child("helper.exe") + "\" \"" + marker + "\" one";

  ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
  char buffer[260];
  EXPECT_EQ(1, SKEXIST(file.c_str()));
  EXPECT_EQ(0, SKFINDF("caf\xE9 \"x\".txt", buffer, 64));
  EXPECT_EQ(static_cast<int32_t>(file.size()), SKFINDF(file.c_str(), buffer, sizeof(buffer)));
  EXPECT_EQ(static_cast<int32_t>(file.size()), SKFINDF(file.c_str(), nullptr, 0));
  int32_t child = SKSHELL(commandLine.c_str(), SW_HIDE, 0);
  ASSERT_NE(0, child);
  ASSERT_TRUE(testsupport::WaitForFile(marker, kProcessTimeoutMs));

  std::vector<std::string> lines = ReadTrace(tracePath);
  const std::vector<std::string> expectedFirst = {
      Prefix() + "SKEXIST(" + TraceQuoted(file) + ") = 1",
      Prefix() + "SKFINDF(\"caf\\xE9 \\x22x\\x22.txt\", out:\"\", 64) = 0",
      Prefix() + "SKFINDF(" + TraceQuoted(file) + ", out:" + TraceQuoted(file) +
          ", 260) = " + std::to_string(file.size()),
      Prefix() + "SKFINDF(" + TraceQuoted(file) + ", out:NULL, 0) = " + std::to_string(file.size()),
  };
  ASSERT_EQ(expectedFirst.size() + 2, lines.size()) << Show(lines);
  for (size_t i = 0; i < expectedFirst.size(); ++i) EXPECT_EQ(expectedFirst[i], lines[i]);
  // The child traces too, into the same file; which of the two lines comes
  // first depends on when the child runs.
  const std::set<std::string> expectedLast = {
      Prefix() + "SKSHELL(" + TraceQuoted(commandLine) + ", 0, 0) = " + std::to_string(child),
      "[" + std::to_string(child) + "] helper ARG(\"one\") = 1",
  };
  EXPECT_EQ(expectedLast, (std::set<std::string>{lines[lines.size() - 2], lines.back()}))
      << Show(lines);
}

TEST(Trace, NothingWrittenWithoutVariable) {
  ScratchFolder folder("no trace");
  const std::string tracePath = folder.Child("trace.txt");
  {
    ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
    EXPECT_EQ(1, SKEXIST(folder.path().c_str()));
  }
  ASSERT_EQ(1u, ReadTrace(tracePath).size());
  {
    ScopedEnvironment unset("ORB_TRACE", nullptr);
    SKEXIST(folder.path().c_str());
    SKFINDF("win.ini", nullptr, 0);
  }
  {
    ScopedEnvironment empty("ORB_TRACE", "");
    SKEXIST(folder.path().c_str());
  }
  EXPECT_EQ(1u, ReadTrace(tracePath).size());
}

TEST(Trace, KeepsCallerLastErrorAndResult) {
  ScratchFolder folder("last error");
  struct Case {
    const char* name;
    std::string tracePath;
  } cases[] = {
      {"trace file written", folder.Child("trace.txt")},
      {"trace file in a missing folder", folder.Child("missing\\trace.txt")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnvironment trace("ORB_TRACE", c.tracePath.c_str());
    SetLastError(0);
    EXPECT_EQ(0, SKSHELL(("\"" + folder.Child("absent.exe") + "\"").c_str(), SW_SHOW, 0));
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
    EXPECT_EQ(1, SKEXIST(folder.path().c_str()));
  }
  EXPECT_EQ(2u, ReadTrace(folder.Child("trace.txt")).size());
}

TEST(Trace, SeveralProcessesShareOneFile) {
  ScratchFolder folder("shared trace");
  const std::string tracePath = folder.Child("trace.txt");
  ASSERT_TRUE(CopyFileA((testsupport::ProgramFolder() + "\\themecore_test_helper.exe").c_str(),
                        folder.Child("helper.exe").c_str(), FALSE));
  const int kProcesses = 4;
  const int kLinesEach = 40;
  std::string args;
  for (int i = 1; i <= kLinesEach; ++i) args += " arg" + std::to_string(i);

  ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
  std::vector<std::string> markers;
  std::set<std::string> children;
  for (int p = 0; p < kProcesses; ++p) {
    markers.push_back(folder.Child("marker" + std::to_string(p) + ".txt"));
    std::string commandLine =
        "\"" + folder.Child("helper.exe") + "\" \"" + markers.back() + "\"" + args;
    int32_t child = SKSHELL(commandLine.c_str(), SW_HIDE, 0);
    ASSERT_NE(0, child);
    children.insert(std::to_string(child));
  }
  for (const std::string& marker : markers) {
    ASSERT_TRUE(testsupport::WaitForFile(marker, kProcessTimeoutMs)) << marker;
  }

  // Each child's lines arrive whole and in order, wherever they interleave.
  std::vector<std::string> lines = ReadTrace(tracePath);
  ASSERT_EQ(static_cast<size_t>(kProcesses * (kLinesEach + 1)), lines.size()) << Show(lines);
  std::map<std::string, int> nextArg;
  int shellLines = 0;
  for (const std::string& line : lines) {
    if (line.rfind(Prefix() + "SKSHELL(", 0) == 0) {
      ++shellLines;
      continue;
    }
    size_t close = line.find("] ");
    ASSERT_TRUE(line[0] == '[' && close != std::string::npos) << line;
    std::string pid = line.substr(1, close - 1);
    ASSERT_EQ(1u, children.count(pid)) << line;
    int n = ++nextArg[pid];
    EXPECT_EQ("[" + pid + "] helper ARG(\"arg" + std::to_string(n) + "\") = " + std::to_string(n),
              line);
  }
  EXPECT_EQ(kProcesses, shellLines);
  for (const std::string& child : children) EXPECT_EQ(kLinesEach, nextArg[child]) << child;
}

}  // namespace
