// The file and system exports under Wine: numbered file handles over real
// files (binary bytes, positions, append), line reading of every kind of
// line end and of long lines, folder creation, deleting, the temporary
// folder, error texts and the machine queries.
#include <gtest/gtest.h>
#include <windows.h>
#include <ras.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecore.h"

namespace {

using namespace std::string_literals;
using testsupport::ScratchFolder;

std::string FileBytes(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(testsupport::ReadFileBytes(path, &bytes)) << path;
  return bytes;
}

// Every byte value, zeros among them.
std::string BinaryBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  return bytes + "\0\0\r\n\0"s;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// ---------------------------------------------------------------------------
// Numbered files

TEST(SKFOPEN, WritesAndReadsBinaryBytes) {
  ScratchFolder folder("fio");
  const std::string path = folder.Child("data.bin");
  const std::string bytes = BinaryBytes();

  int32_t handle = -7;
  ASSERT_EQ(0, SKFOPEN(path.c_str(), 1, 1, &handle));
  ASSERT_GT(handle, 0);
  EXPECT_EQ(0, SKFPUT(handle, bytes.data(), 100));
  EXPECT_EQ(0, SKFPUT(handle, bytes.data() + 100, static_cast<int32_t>(bytes.size()) - 100));
  EXPECT_EQ(0, SKFPUT(handle, "", 0));
  EXPECT_EQ(static_cast<int32_t>(bytes.size()), SKFLOF(handle));
  EXPECT_EQ(0, SKFCLOSE(handle));
  // Written as given: no line end added.
  EXPECT_EQ(bytes, FileBytes(path));

  ASSERT_EQ(0, SKFOPEN(path.c_str(), 0, 0, &handle));
  EXPECT_EQ(static_cast<int32_t>(bytes.size()), SKFLOF(handle));
  std::string read(bytes.size() + 10, '#');
  EXPECT_EQ(10, SKFGET(handle, read.data(), 10));
  EXPECT_EQ(bytes.substr(0, 10), read.substr(0, 10));
  // From the position on, and no more than the file holds.
  EXPECT_EQ(static_cast<int32_t>(bytes.size()) - 10,
            SKFGET(handle, read.data(), static_cast<int32_t>(read.size())));
  EXPECT_EQ(bytes.substr(10), read.substr(0, bytes.size() - 10));
  EXPECT_EQ(0, SKFGET(handle, read.data(), 5));  // at the end
  EXPECT_EQ(8, SKFGETAT(handle, 0xFC, read.data(), 8));
  EXPECT_EQ(bytes.substr(0xFC, 8), read.substr(0, 8));
  EXPECT_EQ(0, SKFGETAT(handle, 100000, read.data(), 8));  // past the end
  // A read handle cannot write.
  EXPECT_NE(0, SKFPUT(handle, "x", 1));
  EXPECT_EQ(0, SKFCLOSE(handle));
  EXPECT_EQ(bytes, FileBytes(path));
}

TEST(SKFOPEN, WritesAtOffsetsAndAppends) {
  ScratchFolder folder("fio at");
  const std::string path = folder.Child("report.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(path, "0123456789"));

  int32_t handle = 0;
  ASSERT_EQ(0, SKFOPEN(path.c_str(), 2, 2, &handle));  // open or create keeps the bytes
  EXPECT_EQ(0, SKFPUTAT(handle, 3, "ab\0"s.data(), 3));
  EXPECT_EQ(0, SKFPUTAT(handle, 12, "Z", 1));  // past the end: the gap is zeros
  std::string read(4, '#');
  EXPECT_EQ(4, SKFGETAT(handle, 2, read.data(), 4));
  EXPECT_EQ("2ab\0"s, read);
  EXPECT_EQ(0, SKFCLOSE(handle));
  EXPECT_EQ("012ab\0"s "6789\0\0Z"s, FileBytes(path));

  // Append: each SKFPUT goes to the end, SKFPUTAT where it says (the media
  // search writes its summary over a blank first line that way).
  ASSERT_EQ(0, SKFOPEN(path.c_str(), 1, 4, &handle));
  EXPECT_EQ(0, SKFPUT(handle, "          \r\n", 12));
  EXPECT_EQ(0, SKFPUT(handle, "line 1\r\n", 8));
  EXPECT_EQ(0, SKFPUTAT(handle, 0, "3 found", 7));
  EXPECT_EQ(0, SKFPUT(handle, "line 2\r\n", 8));
  EXPECT_EQ(28, SKFLOF(handle));
  EXPECT_EQ(0, SKFCLOSE(handle));
  EXPECT_EQ("3 found   \r\nline 1\r\nline 2\r\n", FileBytes(path));

  // Create truncates.
  ASSERT_EQ(0, SKFOPEN(path.c_str(), 1, 1, &handle));
  EXPECT_EQ(0, SKFLOF(handle));
  EXPECT_EQ(0, SKFCLOSE(handle));
  EXPECT_EQ("", FileBytes(path));
}

TEST(SKFOPEN, ReportsErrorsAndChecksHandles) {
  ScratchFolder folder("fio errors");
  int32_t handle = -7;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, SKFOPEN(folder.Child("none.txt").c_str(), 0, 0, &handle));
  EXPECT_EQ(0, handle);
  EXPECT_EQ(ERROR_PATH_NOT_FOUND, SKFOPEN(folder.Child("no\\x.txt").c_str(), 1, 1, &handle));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKFOPEN(folder.Child("x.txt").c_str(), 3, 0, &handle));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKFOPEN(folder.Child("x.txt").c_str(), 1, 3, &handle));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKFOPEN(folder.Child("x.txt").c_str(), 1, 1, nullptr));
  EXPECT_NE(0, SKFOPEN(nullptr, 0, 0, &handle));
  EXPECT_NE(0, SKFOPEN("", 0, 0, &handle));

  char buffer[8];
  for (int32_t bad : {0, -1, 513, 100000, 0x7FFFFFFF}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(-1, SKFGET(bad, buffer, 8));
    EXPECT_EQ(-1, SKFGETAT(bad, 0, buffer, 8));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SKFPUT(bad, "x", 1));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SKFPUTAT(bad, 0, "x", 1));
    EXPECT_EQ(-1, SKFLOF(bad));
    EXPECT_EQ(ERROR_INVALID_HANDLE, SKFCLOSE(bad));
  }

  // A closed number is no longer open; bad counts are refused.
  ASSERT_EQ(0, SKFOPEN(folder.Child("x.txt").c_str(), 1, 2, &handle));
  EXPECT_EQ(-1, SKFGET(handle, buffer, -1));
  EXPECT_EQ(-1, SKFGET(handle, nullptr, 4));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKFPUT(handle, "x", -1));
  EXPECT_EQ(0, SKFCLOSE(handle));
  EXPECT_EQ(ERROR_INVALID_HANDLE, SKFCLOSE(handle));
  EXPECT_EQ(-1, SKFLOF(handle));
}

TEST(SKFOPEN, KeepsSeveralFilesApart) {
  ScratchFolder folder("fio several");
  int32_t first = 0, second = 0;
  ASSERT_EQ(0, SKFOPEN(folder.Child("a.txt").c_str(), 1, 1, &first));
  ASSERT_EQ(0, SKFOPEN(folder.Child("b.txt").c_str(), 1, 1, &second));
  EXPECT_NE(first, second);
  EXPECT_EQ(0, SKFPUT(first, "first", 5));
  EXPECT_EQ(0, SKFPUT(second, "second", 6));
  EXPECT_EQ(0, SKFCLOSE(first));
  EXPECT_EQ(0, SKFCLOSE(second));
  EXPECT_EQ("first", FileBytes(folder.Child("a.txt")));
  EXPECT_EQ("second", FileBytes(folder.Child("b.txt")));
}

// ---------------------------------------------------------------------------
// Line reading

struct LinesRead {
  std::vector<std::string> lines;
  int32_t endError = 0;
};

// Reads every line with a buffer that grows on the returned length, as a
// careful caller does.
LinesRead ReadAllLines(const std::string& path) {
  LinesRead result;
  std::vector<char> buffer(64);
  for (int call = 0; call < 100000; ++call) {
    int32_t error = -7;
    int32_t length =
        SKBUFIN(path.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()), &error);
    if (error != 0) {
      EXPECT_EQ(0, length);
      EXPECT_EQ('\0', buffer[0]);
      result.endError = error;
      return result;
    }
    if (static_cast<size_t>(length) >= buffer.size()) {
      EXPECT_EQ('\0', buffer[0]);
      buffer.assign(static_cast<size_t>(length) + 1, '#');
      continue;
    }
    result.lines.emplace_back(buffer.data(), static_cast<size_t>(length));
  }
  ADD_FAILURE() << "no end reported";
  return result;
}

TEST(SKBUFIN, ReadsLinesOfEveryEnding) {
  ScratchFolder folder("bufin");
  std::string longLine(100 * 1024, 'L');
  longLine[0] = 'S';
  longLine.back() = 'E';
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
  } cases[] = {
      {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
      {"LF", "one\ntwo\n", {"one", "two"}},
      {"no final line end", "one\r\ntwo", {"one", "two"}},
      {"lone CR", "one\rtwo\r", {"one", "two"}},
      {"empty lines", "\r\n\r\nx\r\n", {"", "", "x"}},
      {"empty file", "", {}},
      {"100 KB line", "before\r\n" + longLine + "\r\nafter", {"before", longLine, "after"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.Child(std::string(c.name) + ".txt");
    ASSERT_TRUE(testsupport::WriteFileBytes(path, c.bytes));
    LinesRead read = ReadAllLines(path);
    EXPECT_EQ(c.lines, read.lines);
    EXPECT_NE(0, read.endError);
    // At the end the file was closed: it can be deleted, and read again
    // from the start.
    EXPECT_EQ(c.lines, ReadAllLines(path).lines);
    EXPECT_TRUE(DeleteFileA(path.c_str()));
  }
}

TEST(SKBUFIN, KeepsOneReaderPerFile) {
  ScratchFolder folder("bufin two");
  const std::string a = folder.Child("a.txt");
  const std::string b = folder.Child("b.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(a, "a1\r\na2\r\n"));
  ASSERT_TRUE(testsupport::WriteFileBytes(b, "b1\nb2\n"));
  char line[32];
  int32_t error = -7;
  EXPECT_EQ(2, SKBUFIN(a.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("a1", line);
  EXPECT_EQ(0, error);
  EXPECT_EQ(2, SKBUFIN(b.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("b1", line);
  // The same file under another spelling of its name.
  std::string upper = a;
  CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  EXPECT_EQ(2, SKBUFIN(upper.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("a2", line);
  EXPECT_EQ(2, SKBUFIN(b.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("b2", line);
  // An empty name closes every reader: both start again.
  EXPECT_EQ(0, SKBUFIN("", line, sizeof(line), &error));
  EXPECT_EQ(2, SKBUFIN(a.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("a1", line);
  EXPECT_EQ(2, SKBUFIN(b.c_str(), line, sizeof(line), &error));
  EXPECT_STREQ("b1", line);
  EXPECT_EQ(0, SKBUFIN(nullptr, line, sizeof(line), &error));
}

TEST(SKBUFIN, OffersALongLineOnceMore) {
  ScratchFolder folder("bufin long");
  const std::string path = folder.Child("long.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(path, "0123456789\r\nnext\r\n0123456789\r\nlast\r\n"));
  char small[8];
  char large[32];
  int32_t error = -7;
  // Too small: the length and "", then the line for a buffer that holds it.
  EXPECT_EQ(10, SKBUFIN(path.c_str(), small, sizeof(small), &error));
  EXPECT_EQ(0, error);
  EXPECT_STREQ("", small);
  EXPECT_EQ(10, SKBUFIN(path.c_str(), large, sizeof(large), &error));
  EXPECT_STREQ("0123456789", large);
  EXPECT_EQ(4, SKBUFIN(path.c_str(), small, sizeof(small), &error));
  EXPECT_STREQ("next", small);
  // A caller that keeps its small buffer moves on after the second offer.
  EXPECT_EQ(10, SKBUFIN(path.c_str(), small, sizeof(small), &error));
  EXPECT_EQ(4, SKBUFIN(path.c_str(), small, sizeof(small), &error));
  EXPECT_STREQ("last", small);
  EXPECT_EQ(0, SKBUFIN(path.c_str(), small, sizeof(small), &error));
  EXPECT_NE(0, error);
}

TEST(SKBUFIN, ReportsAMissingFile) {
  ScratchFolder folder("bufin missing");
  char line[8] = "#";
  int32_t error = 0;
  EXPECT_EQ(0, SKBUFIN(folder.Child("none.txt").c_str(), line, sizeof(line), &error));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
  EXPECT_STREQ("", line);
}

// ---------------------------------------------------------------------------
// Folders, deleting, temporary folder

TEST(SKMAKEDIR, CreatesEveryMissingParent) {
  ScratchFolder folder("mkdir");
  const std::string nested = folder.Child("a\\b b\\c");
  EXPECT_EQ(1, SKMAKEDIR(nested.c_str()));
  EXPECT_TRUE(IsFolder(folder.Child("a")));
  EXPECT_TRUE(IsFolder(folder.Child("a\\b b")));
  EXPECT_TRUE(IsFolder(nested));
  EXPECT_EQ(1, SKMAKEDIR(nested.c_str()));           // already there
  EXPECT_EQ(1, SKMAKEDIR((nested + "\\d\\").c_str()));  // trailing backslash
  EXPECT_TRUE(IsFolder(nested + "\\d"));
  // A file in the way.
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("file"), "x"));
  EXPECT_EQ(0, SKMAKEDIR(folder.Child("file\\sub").c_str()));
  EXPECT_EQ(0, SKMAKEDIR(folder.Child("file").c_str()));
  EXPECT_EQ(0, SKMAKEDIR(""));
  EXPECT_EQ(0, SKMAKEDIR(nullptr));
}

TEST(SKKILLFILE, DeletesFiles) {
  ScratchFolder folder("kill");
  const std::string path = folder.Child("gone.txt");
  ASSERT_TRUE(testsupport::WriteFileBytes(path, "x"));
  EXPECT_EQ(1, SKKILLFILE(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
  EXPECT_EQ(1, SKKILLFILE(path.c_str()));  // never there is gone too
  EXPECT_EQ(0, SKKILLFILE(folder.path().c_str()));  // a folder is no file
  EXPECT_TRUE(IsFolder(folder.path()));
  EXPECT_EQ(0, SKKILLFILE(nullptr));

  // A file SKBUFIN is reading can be deleted in the middle.
  ASSERT_TRUE(testsupport::WriteFileBytes(path, "1\r\n2\r\n"));
  char line[8];
  int32_t error = 0;
  EXPECT_EQ(1, SKBUFIN(path.c_str(), line, sizeof(line), &error));
  EXPECT_EQ(1, SKKILLFILE(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

// A small tree: top\a\a1\ (2 files), top\b b\ (1 file), top\ (1 file).
void MakeTree(const ScratchFolder& folder) {
  ASSERT_EQ(1, SKMAKEDIR(folder.Child("top\\a\\a1").c_str()));
  ASSERT_EQ(1, SKMAKEDIR(folder.Child("top\\b b").c_str()));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("top\\one.txt"), "1"));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("top\\a\\a1\\x.jpg"), "xx"));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("top\\a\\a1\\y.jpg"), "yyy"));
  ASSERT_TRUE(testsupport::WriteFileBytes(folder.Child("top\\b b\\z.wav"), "zzzz"));
}

std::vector<std::string> ListOf(const std::string& zeroSeparated) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < zeroSeparated.size()) {
    size_t end = zeroSeparated.find('\0', start);
    if (end == std::string::npos) end = zeroSeparated.size();
    entries.push_back(zeroSeparated.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

TEST(SKREADDIRS, ListsEveryFolderParentsFirst) {
  ScratchFolder folder("readdirs");
  MakeTree(folder);
  const std::string top = folder.Child("top");
  int32_t length = SKREADDIRS(top.c_str(), nullptr, 0);
  ASSERT_GT(length, 0);
  std::string list(static_cast<size_t>(length) + 1, '#');
  ASSERT_EQ(length, SKREADDIRS((top + "\\").c_str(), list.data(), length + 1));
  list.resize(static_cast<size_t>(length));
  std::vector<std::string> folders = ListOf(list);
  ASSERT_EQ(3u, folders.size()) << list;
  EXPECT_NE(folders.end(), std::find(folders.begin(), folders.end(), top + "\\b b\\"));
  auto parent = std::find(folders.begin(), folders.end(), top + "\\a\\");
  auto child = std::find(folders.begin(), folders.end(), top + "\\a\\a1\\");
  ASSERT_NE(folders.end(), parent);
  ASSERT_NE(folders.end(), child);
  EXPECT_LT(parent, child);
  // A buffer one byte short gets nothing but the length.
  std::string small(static_cast<size_t>(length), '#');
  EXPECT_EQ(length, SKREADDIRS(top.c_str(), small.data(), length));
  EXPECT_EQ('\0', small[0]);
  EXPECT_EQ(0, SKREADDIRS(folder.Child("missing").c_str(), small.data(), length));
}

TEST(SKDIRCOUNT, CountsFilesAtEveryDepth) {
  ScratchFolder folder("dircount");
  MakeTree(folder);
  EXPECT_EQ(4, SKDIRCOUNT(folder.Child("top").c_str()));
  EXPECT_EQ(2, SKDIRCOUNT(folder.Child("top\\a\\").c_str()));
  EXPECT_EQ(0, SKDIRCOUNT(folder.Child("missing").c_str()));
  EXPECT_EQ(0, SKDIRCOUNT(nullptr));
}

TEST(SKVALIDNAME, RefusesNamesThatLeaveTheFolder) {
  EXPECT_EQ(0, SKVALIDNAME("new folder"));
  EXPECT_EQ(123, SKVALIDNAME("..\\x"));
  EXPECT_EQ(123, SKVALIDNAME("a:b"));
  EXPECT_EQ(123, SKVALIDNAME(""));
  EXPECT_EQ(123, SKVALIDNAME(nullptr));
}

TEST(SKRENAME, RenamesOrGivesTheWindowsError) {
  ScratchFolder folder("rename");
  MakeTree(folder);
  EXPECT_EQ(0, SKRENAME(folder.Child("top\\a").c_str(), folder.Child("top\\c").c_str(), 0));
  EXPECT_TRUE(IsFolder(folder.Child("top\\c\\a1")));
  EXPECT_FALSE(IsFolder(folder.Child("top\\a")));
  // The target exists: refused, nothing changes.
  EXPECT_EQ(ERROR_ALREADY_EXISTS,
            SKRENAME(folder.Child("top\\c").c_str(), folder.Child("top\\b b").c_str(), 0));
  EXPECT_TRUE(IsFolder(folder.Child("top\\c")));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            SKRENAME(folder.Child("top\\none").c_str(), folder.Child("top\\d").c_str(), 0));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKRENAME("", "x", 0));
}

TEST(SKSHELLCOPY, CopiesAndMovesFilesAndFolders) {
  ScratchFolder folder("shellops");
  MakeTree(folder);
  // A file to a new name in a folder that does not exist yet.
  EXPECT_EQ(0, SKSHELLCOPY(folder.Child("top\\one.txt").c_str(),
                           folder.Child("copy\\two.txt").c_str(), ""));
  EXPECT_EQ("1", FileBytes(folder.Child("copy\\two.txt")));
  EXPECT_EQ("1", FileBytes(folder.Child("top\\one.txt")));
  // Every matching file into a folder.
  EXPECT_EQ(0, SKSHELLMOVE(folder.Child("top\\a\\a1\\*.jpg").c_str(),
                           folder.Child("copy").c_str(), ""));
  EXPECT_EQ("xx", FileBytes(folder.Child("copy\\x.jpg")));
  EXPECT_EQ("yyy", FileBytes(folder.Child("copy\\y.jpg")));
  EXPECT_EQ(0, SKDIRCOUNT(folder.Child("top\\a").c_str()));
  // A whole folder to a new path, then moved into an existing folder.
  EXPECT_EQ(0, SKSHELLCOPY(folder.Child("top\\b b").c_str(), folder.Child("copy2").c_str(), ""));
  EXPECT_EQ("zzzz", FileBytes(folder.Child("copy2\\z.wav")));
  EXPECT_EQ(0, SKSHELLMOVE(folder.Child("copy2").c_str(), folder.Child("top\\a").c_str(), ""));
  EXPECT_EQ("zzzz", FileBytes(folder.Child("top\\a\\copy2\\z.wav")));
  EXPECT_FALSE(IsFolder(folder.Child("copy2")));
  // A missing source fails and creates nothing.
  EXPECT_NE(0, SKSHELLCOPY(folder.Child("top\\none.txt").c_str(),
                           folder.Child("none\\none.txt").c_str(), ""));
  EXPECT_FALSE(IsFolder(folder.Child("none")));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, SKSHELLMOVE(nullptr, "x", ""));
}

TEST(SKGETTEMPPATH, GivesTheTempFolderWithABackslash) {
  char expected[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(expected), expected);
  char got[MAX_PATH + 1];
  int32_t length = SKGETTEMPPATH(got, sizeof(got));
  EXPECT_EQ(static_cast<int32_t>(strlen(got)), length);
  EXPECT_EQ('\\', got[length - 1]);
  EXPECT_STREQ(expected, got);
  EXPECT_TRUE(IsFolder(got));
}

// ---------------------------------------------------------------------------
// System

TEST(SKWINERR, GivesTheWindowsMessageWithoutLineEnd) {
  char text[512];
  int32_t length = SKWINERR(ERROR_FILE_NOT_FOUND, text, sizeof(text));
  ASSERT_GT(length, 0);
  EXPECT_EQ(static_cast<int32_t>(strlen(text)), length);
  char expected[512] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 ERROR_FILE_NOT_FOUND, 0, expected, sizeof(expected), nullptr);
  std::string trimmed = expected;
  while (!trimmed.empty() &&
         (trimmed.back() == '\n' || trimmed.back() == '\r' || trimmed.back() == ' ')) {
    trimmed.pop_back();
  }
  EXPECT_EQ(trimmed, std::string(text));
  EXPECT_EQ(nullptr, strchr(text, '\n'));
  EXPECT_EQ(nullptr, strchr(text, '\r'));

  // A number Windows has no text for.
  EXPECT_EQ(16, SKWINERR(0x7FFFFF00, text, sizeof(text)));
  EXPECT_STREQ("Error 2147483392", text);
  char small[4] = "##";
  EXPECT_EQ(16, SKWINERR(0x7FFFFF00, small, sizeof(small)));
  EXPECT_STREQ("", small);
}

TEST(System, AnswersLikeWindows) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  EXPECT_EQ(static_cast<int32_t>(version.dwMajorVersion * 100 + version.dwMinorVersion),
            SKOSVERSION());

  DWORD megahertz = 0;
  DWORD size = sizeof(megahertz);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    RegQueryValueExA(key, "~MHz", nullptr, nullptr, reinterpret_cast<BYTE*>(&megahertz), &size);
    RegCloseKey(key);
  }
  EXPECT_EQ(static_cast<int32_t>(megahertz), SKCPUSPEED());

  using GetConnectedState = BOOL(WINAPI*)(LPDWORD, DWORD);
  HMODULE wininet = LoadLibraryA("wininet.dll");
  ASSERT_NE(nullptr, wininet);
  auto getState = reinterpret_cast<GetConnectedState>(
      GetProcAddress(wininet, "InternetGetConnectedState"));
  ASSERT_NE(nullptr, getState);
  DWORD flags = 0;
  EXPECT_EQ(getState(&flags, 0) ? 1 : 0, SKINTERNETSTATE(0));
}

TEST(System, DialUpFailsWithoutAPhoneBookEntry) {
  HMODULE ras = LoadLibraryA("rasapi32.dll");
  if (ras != nullptr) {
    using EnumEntries = DWORD(WINAPI*)(LPCSTR, LPCSTR, LPRASENTRYNAMEA, LPDWORD, LPDWORD);
    auto enumEntries = reinterpret_cast<EnumEntries>(GetProcAddress(ras, "RasEnumEntriesA"));
    RASENTRYNAMEA entry = {};
    entry.dwSize = sizeof(entry);
    DWORD bytes = sizeof(entry), count = 0;
    if (enumEntries != nullptr && enumEntries(nullptr, nullptr, &entry, &bytes, &count) == 0 &&
        count > 0) {
      GTEST_SKIP() << "this machine has a dial-up entry; dialling it is no test";
    }
  }
  EXPECT_EQ(0, SKRASCONNECT());
  EXPECT_EQ(0, SKRASHANGUP(0));
}

// ---------------------------------------------------------------------------
// Trace

TEST(FilesTrace, WritesEveryCall) {
  ScratchFolder folder("files trace");
  const std::string tracePath = folder.Child("trace.txt");
  const std::string path = folder.Child("x.txt");
  const std::string prefix = "[" + std::to_string(GetCurrentProcessId()) + "] themecore ";
  int32_t handle = 0;
  char line[16];
  int32_t error = 0;
  {
    testsupport::ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
    ASSERT_EQ(0, SKFOPEN(path.c_str(), 1, 1, &handle));
    EXPECT_EQ(0, SKFPUT(handle, "hi\r\n", 4));
    EXPECT_EQ(0, SKFCLOSE(handle));
    EXPECT_EQ(2, SKBUFIN(path.c_str(), line, sizeof(line), &error));
    EXPECT_EQ(1, SKKILLFILE(path.c_str()));
  }
  const std::string quoted = testsupport::TraceQuoted(path);
  const std::string number = std::to_string(handle);
  const std::vector<std::string> expected = {
      prefix + "SKFOPEN(" + quoted + ", 1, 1, out:" + number + ") = 0",
      prefix + "SKFPUT(" + number + ", data, 4) = 0",
      prefix + "SKFCLOSE(" + number + ") = 0",
      prefix + "SKBUFIN(" + quoted + ", out:\"hi\", 16, out:0) = 2",
      prefix + "SKKILLFILE(" + quoted + ") = 1",
  };
  std::string text;
  ASSERT_TRUE(testsupport::ReadFileBytes(tracePath, &text));
  EXPECT_EQ(expected, testsupport::SplitLines(text));
}

}  // namespace
