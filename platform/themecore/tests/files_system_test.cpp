// SKFINDF, SKEXIST and SKSHELL against the real file system and real
// processes under Wine.  Every file a test makes lives in a scratch folder,
// except the one program-folder file, removed at the end of its test.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecore.h"
#include "themecore_burner.h"

namespace {

using testsupport::ScopedCurrentFolder;
using testsupport::ScopedEnvironment;
using testsupport::ScratchFolder;

const DWORD kProcessTimeoutMs = 20000;

struct FindResult {
  int32_t length;
  std::string buffer;  // up to the first zero
  bool overran;        // a byte past the offered size changed
};

// Calls SKFINDF with a buffer of `size` bytes preset to a sentinel, followed
// by guard bytes that must stay untouched.
FindResult Find(const std::string& name, int32_t size = 1024) {
  std::vector<char> buffer(static_cast<size_t>(size) + 64, '#');
  FindResult result;
  result.length = SKFINDF(name.c_str(), buffer.data(), size);
  result.buffer = std::string(buffer.data(), strnlen(buffer.data(), static_cast<size_t>(size)));
  result.overran = false;
  for (size_t i = static_cast<size_t>(size); i < buffer.size(); ++i) {
    if (buffer[i] != '#') result.overran = true;
  }
  return result;
}

std::string Lower(std::string text) {
  CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::string UniqueName(const char* stem) {
  return std::string(stem) + "_" + std::to_string(GetCurrentProcessId()) + ".txt";
}

TEST(SKFINDF, FindsFileInProgramFolder) {
  ScratchFolder elsewhere("cwd");
  const std::string name = UniqueName("tc_program_folder");
  const std::string inProgram = testsupport::ProgramFolder() + "\\" + name;
  ASSERT_TRUE(testsupport::WriteFileBytes(inProgram, "program"));
  // The same name in the current folder: the program folder comes first.
  ASSERT_TRUE(testsupport::WriteFileBytes(elsewhere.Child(name), "current"));
  FindResult got;
  {
    ScopedCurrentFolder cwd(elsewhere.path());
    got = Find(name);
  }
  DeleteFileA(inProgram.c_str());
  EXPECT_EQ(inProgram, got.buffer);
  EXPECT_EQ(static_cast<int32_t>(inProgram.size()), got.length);
  EXPECT_FALSE(got.overran);
}

TEST(SKFINDF, FindsFileInCurrentFolder) {
  ScratchFolder folder("current");
  const std::string name = UniqueName("tc_current_folder");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child(name), "x"));
  ScopedCurrentFolder cwd(folder.path());
  FindResult got = Find(name);
  EXPECT_EQ(folder.Child(name), got.buffer);
  EXPECT_EQ(static_cast<int32_t>(folder.Child(name).size()), got.length);
}

TEST(SKFINDF, FindsFileInPathFolder) {
  ScratchFolder folder("path dir");
  const std::string name = UniqueName("tc_path_folder");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child(name), "x"));
  DWORD size = GetEnvironmentVariableA("PATH", nullptr, 0);
  std::string oldPath(size, '\0');
  oldPath.resize(GetEnvironmentVariableA("PATH", oldPath.data(), size));
  ScratchFolder emptyFolder("other");
  ScopedEnvironment path("PATH",
                         (emptyFolder.path() + ";;\"" + folder.path() + "\";" + oldPath).c_str());
  FindResult got = Find(name);
  EXPECT_EQ(folder.Child(name), got.buffer);
  EXPECT_EQ(static_cast<int32_t>(folder.Child(name).size()), got.length);
}

TEST(SKFINDF, FindsFilesInWindowsAndSystemFolders) {
  char windows[MAX_PATH] = {};
  char system[MAX_PATH] = {};
  ASSERT_NE(0u, GetWindowsDirectoryA(windows, MAX_PATH));
  ASSERT_NE(0u, GetSystemDirectoryA(system, MAX_PATH));
  FindResult winIni = Find("win.ini");
  EXPECT_EQ(Lower(std::string(windows) + "\\win.ini"), Lower(winIni.buffer));
  FindResult kernel = Find("kernel32.dll");
  EXPECT_EQ(Lower(std::string(system) + "\\kernel32.dll"), Lower(kernel.buffer));
  EXPECT_EQ(static_cast<int32_t>(kernel.buffer.size()), kernel.length);
}

TEST(SKFINDF, TakesExistingPathsAsGiven) {
  ScratchFolder folder("given");
  ASSERT_TRUE(CreateDirectoryA(folder.Child("sub").c_str(), nullptr));
  const std::string file = folder.Child("sub\\given.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, "x"));
  std::string slashed = file;
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  ScopedCurrentFolder cwd(folder.path());
  struct Case {
    const char* name;
    std::string request;
  } cases[] = {
      {"absolute", file},
      {"absolute with slashes", slashed},
      {"relative with folder", "sub\\given.txt"},
      {"dot relative", ".\\sub\\..\\sub\\given.txt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindResult got = Find(c.request);
    EXPECT_EQ(file, got.buffer);
    EXPECT_EQ(static_cast<int32_t>(file.size()), got.length);
  }
}

TEST(SKFINDF, MissingNameGivesZeroAndEmptyText) {
  ScratchFolder folder("missing");
  ASSERT_TRUE(CreateDirectoryA(folder.Child("a folder").c_str(), nullptr));
  ScopedCurrentFolder cwd(folder.path());
  struct Case {
    const char* name;
    std::string request;
  } cases[] = {
      {"bare name", UniqueName("tc_nowhere")},
      {"absolute", folder.Child("nothing.txt")},
      {"relative with folder", "nosub\\nothing.txt"},
      {"folder is not a file", "a folder"},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindResult got = Find(c.request);
    EXPECT_EQ(0, got.length);
    EXPECT_EQ("", got.buffer);
    EXPECT_FALSE(got.overran);
  }
  char sentinel[8] = "#######";
  EXPECT_EQ(0, SKFINDF(nullptr, sentinel, sizeof(sentinel)));
  EXPECT_STREQ("", sentinel);
}

TEST(SKFINDF, AppliesTheLengthRule) {
  ScratchFolder folder("length");
  const std::string file = folder.Child("length rule.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, "x"));
  const int32_t length = static_cast<int32_t>(file.size());
  struct Case {
    const char* name;
    int32_t size;
    std::string expectedBuffer;
  } cases[] = {
      {"exactly length + 1", length + 1, file},
      {"length: too small by one", length, ""},
      {"one byte", 1, ""},
      {"much larger", length + 500, file},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindResult got = Find(file, c.size);
    EXPECT_EQ(length, got.length);
    EXPECT_EQ(c.expectedBuffer, got.buffer);
    EXPECT_FALSE(got.overran);
  }
  EXPECT_EQ(length, SKFINDF(file.c_str(), nullptr, 0));
  char untouched[4] = "##";
  EXPECT_EQ(length, SKFINDF(file.c_str(), untouched, 0));
  EXPECT_STREQ("##", untouched);
  EXPECT_EQ(length, SKFINDF(file.c_str(), untouched, -1));
  EXPECT_STREQ("##", untouched);
  // The helper of the header retries with the returned length.
  EXPECT_EQ(file, themecore::FindFile(file.c_str()));
}

TEST(SKFINDF, LongPathsFitOrFailCleanly) {
  ScratchFolder folder("long");
  // A file whose full path is close to MAX_PATH is found whole.
  std::string deep = folder.path();
  while (deep.size() < 200) {
    deep += "\\" + std::string(30, 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
  }
  std::string file = deep + "\\" + std::string(MAX_PATH - 2 - deep.size() - 1, 'f');
  ASSERT_EQ(static_cast<size_t>(MAX_PATH - 2), file.size());
  ASSERT_TRUE(testsupport::WriteFileBytes(file, "x")) << file;
  FindResult got = Find(file, MAX_PATH);
  EXPECT_EQ(file, got.buffer);
  EXPECT_EQ(static_cast<int32_t>(file.size()), got.length);
  EXPECT_FALSE(got.overran);

  struct Case {
    const char* name;
    std::string request;
  } cases[] = {
      {"5000-byte bare name", std::string(5000, 'a')},
      {"5000-byte relative path",
       [] {
         std::string path;
         while (path.size() < 5000) path += "folder\\";
         return path + "x.txt";
       }()},
      {"5000-byte absolute path", folder.path() + "\\" + std::string(5000, 'b')},
      {"32767-byte name", std::string(32767, 'c')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FindResult small = Find(c.request, 16);
    EXPECT_EQ(0, small.length);
    EXPECT_EQ("", small.buffer);
    EXPECT_FALSE(small.overran);
    FindResult large = Find(c.request, 8192);
    EXPECT_EQ(0, large.length);
    EXPECT_EQ("", large.buffer);
    EXPECT_FALSE(large.overran);
  }
}

TEST(SKEXIST, TellsFilesAndFoldersFromMissingPaths) {
  ScratchFolder folder("exist");
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("file.txt"), "x"));
  ASSERT_TRUE(CreateDirectoryA(folder.Child("sub dir").c_str(), nullptr));
  ScopedCurrentFolder cwd(folder.path());
  struct Case {
    const char* name;
    std::string path;
    int32_t expected;
  } cases[] = {
      {"file", folder.Child("file.txt"), 1},
      {"relative file", "file.txt", 1},
      {"folder", folder.Child("sub dir"), 1},
      {"folder with final backslash", folder.Child("sub dir") + "\\", 1},
      {"missing file", folder.Child("none.txt"), 0},
      {"missing folder part", folder.Child("none\\file.txt"), 0},
      {"empty", "", 0},
      {"5000-byte name", std::string(5000, 'e'), 0},
      {"pattern matching a file", folder.Child("*.*"), 1},
      {"pattern matching nothing", folder.Child("sub dir") + "\\*.txt", 0},
      {"pattern in a missing folder", folder.Child("none") + "\\*.*", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, SKEXIST(c.path.c_str()));
  }
  EXPECT_EQ(0, SKEXIST(nullptr));
}

// The drive letters: every drive Windows reports, in order, CD drives in
// lower case; a small buffer gets "" and the length.
TEST(SKDSKLIST, NamesEveryDriveWithCdDrivesInLowerCase) {
  char letters[32] = "sentinel";
  const int32_t length = SKDSKLIST(letters, sizeof(letters));
  ASSERT_GT(length, 0);
  ASSERT_EQ(static_cast<size_t>(length), strlen(letters));
  const DWORD drives = GetLogicalDrives();
  int previous = -1;
  for (int32_t i = 0; i < length; ++i) {
    SCOPED_TRACE(letters);
    const char letter = letters[i];
    const bool lower = letter >= 'a' && letter <= 'z';
    ASSERT_TRUE(lower || (letter >= 'A' && letter <= 'Z'));
    const int index = lower ? letter - 'a' : letter - 'A';
    EXPECT_GT(index, previous) << "alphabetical, each letter once";
    previous = index;
    const char root[] = {static_cast<char>('A' + index), ':', '\\', '\0'};
    EXPECT_EQ(lower, GetDriveTypeA(root) == DRIVE_CDROM) << root;
  }
  // Every drive is named: those Windows reports and those with a root.
  int known = 0;
  for (int i = 0; i < 26; ++i) {
    const char root[] = {static_cast<char>('A' + i), ':', '\\', '\0'};
    known += ((drives >> i) & 1) != 0 || GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR ? 1 : 0;
  }
  EXPECT_EQ(known, length);
  // Wine's root drive and the system drive are always there.
  EXPECT_NE(nullptr, strchr(letters, 'C'));
  char small[2] = "x";
  EXPECT_EQ(length, SKDSKLIST(small, sizeof(small)));
  EXPECT_EQ('\0', small[0]);
}

// Whole numbers in groups of three with the user's thousands separator;
// zero is "0", never empty.
TEST(SKLONGFORMAT, GroupsDigitsAndKeepsZero) {
  char separator[8] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof(separator));
  const std::string s = separator;
  struct Case {
    int32_t value;
    std::string expected;
  } cases[] = {
      {0, "0"},        {7, "7"},
      {999, "999"},    {1000, "1" + s + "000"},
      {1234567, "1" + s + "234" + s + "567"},
      {-1234, "-1" + s + "234"},
      {2147483647, "2" + s + "147" + s + "483" + s + "647"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(c.expected, themecore::LongFormat(c.value));
  }
}

// What the helper program wrote to its marker file.
struct HelperReport {
  std::string pid;
  std::string show;
  std::vector<std::string> args;
};

bool ReadHelperReport(const std::string& marker, HelperReport* report) {
  if (!testsupport::WaitForFile(marker, kProcessTimeoutMs)) return false;
  // Just after the rename the file may still be held by the helper's
  // process: retry the read for a bounded time.
  std::string text;
  DWORD start = GetTickCount();
  while (!testsupport::ReadFileBytes(marker, &text)) {
    if (GetTickCount() - start >= kProcessTimeoutMs) return false;
    Sleep(20);
  }
  for (const std::string& line : testsupport::SplitLines(text)) {
    if (line.rfind("pid ", 0) == 0) report->pid = line.substr(4);
    if (line.rfind("show ", 0) == 0) report->show = line.substr(5);
    if (line.rfind("arg ", 0) == 0) report->args.push_back(line.substr(4));
  }
  return true;
}

// The helper copied into a folder whose name holds blanks.
std::string CopyHelperTo(const ScratchFolder& folder) {
  std::string target = folder.Child("helper copy.exe");
  std::string source = testsupport::ProgramFolder() + "\\themecore_test_helper.exe";
  return CopyFileA(source.c_str(), target.c_str(), FALSE) ? target : std::string();
}

TEST(SKSHELL, StartsProgramWithBlankInPath) {
  ScratchFolder folder("with blank");
  std::string helper = CopyHelperTo(folder);
  ASSERT_FALSE(helper.empty());
  std::string marker = folder.Child("marker.txt");
  std::string commandLine = "\"" + helper + "\" \"" + marker + "\" alpha \"beta gamma\"";
  int32_t pid = SKSHELL(commandLine.c_str(), SW_SHOWMINNOACTIVE, 0);
  ASSERT_NE(0, pid);
  HelperReport report;
  ASSERT_TRUE(ReadHelperReport(marker, &report)) << "no marker from " << commandLine;
  EXPECT_EQ(std::to_string(pid), report.pid);
  EXPECT_EQ("1 " + std::to_string(SW_SHOWMINNOACTIVE), report.show);
  EXPECT_EQ((std::vector<std::string>{"alpha", "beta gamma"}), report.args);
}

TEST(SKSHELL, PassesShowMode) {
  ScratchFolder folder("show mode");
  std::string helper = CopyHelperTo(folder);
  ASSERT_FALSE(helper.empty());
  for (int32_t showMode : {SW_HIDE, SW_SHOW}) {
    SCOPED_TRACE(showMode);
    std::string marker = folder.Child("marker " + std::to_string(showMode) + ".txt");
    int32_t pid = SKSHELL(("\"" + helper + "\" \"" + marker + "\"").c_str(), showMode, 0);
    ASSERT_NE(0, pid);
    HelperReport report;
    ASSERT_TRUE(ReadHelperReport(marker, &report));
    EXPECT_EQ("1 " + std::to_string(showMode), report.show);
  }
}

TEST(SKSHELL, MissingProgramGivesZero) {
  ScratchFolder folder("missing program");
  struct Case {
    const char* name;
    std::string commandLine;
  } cases[] = {
      {"quoted missing path", "\"" + folder.Child("no such program.exe") + "\" arg"},
      {"missing bare name", "tc_no_such_program_" + std::to_string(GetCurrentProcessId()) + ".exe"},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(0, SKSHELL(c.commandLine.c_str(), SW_SHOW, 0));
  }
  EXPECT_EQ(0, SKSHELL(nullptr, SW_SHOW, 0));
}

}  // namespace
