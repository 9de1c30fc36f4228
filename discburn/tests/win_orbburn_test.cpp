// orbburn.dll as the disc burner uses it: this program calls nothing but
// the vdsc exports (linked through the import library) and drives our
// wnaspi32.dll's software drive through its ORB_DRIVE_* variables.  What a
// burn wrote is read back from the medium's backing file by xorriso and
// isoinfo (started through /bin/sh), file by file against the sources.
// Also: the image-file path against what the drive received, erasing each
// rewritable medium, a refused blank, and a table of faults injected into
// the drive or the sources, each ending in one failing callback.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include <test_files.h>  // the harness's, not this folder's
#include "vdscdll.h"

namespace {

// --- the completion callback -------------------------------------------

std::atomic<int> g_calls{0};
std::atomic<int> g_result{-1};
std::atomic<int> g_stateInCallback{-1};
HANDLE g_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);

void __cdecl OnDone(int result) {
  g_stateInCallback = vdscGetComponentState();
  g_result = result;
  ++g_calls;
  SetEvent(g_done);
}

void ResetCallback() {
  g_calls = 0;
  g_result = -1;
  g_stateInCallback = -1;
  ResetEvent(g_done);
}

// Waits (bounded) for the callback, then a little longer to see that it
// came only once.
bool WaitForCallback(DWORD timeoutMs = 120000) {
  bool came = WaitForSingleObject(g_done, timeoutMs) == WAIT_OBJECT_0;
  Sleep(300);
  return came;
}

// --- files and the drive ------------------------------------------------

std::string Scratch() {
  static std::string folder = [] {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "orbburn-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
  }();
  return folder;
}

class ScratchFiles : public ::testing::Environment {
 public:
  void TearDown() override { harness::RemoveTree(Scratch()); }
};
const auto* const kScratchFiles = ::testing::AddGlobalTestEnvironment(new ScratchFiles);

std::string Bytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 1;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

// A small tree: files of awkward sizes, a subfolder, an empty file.
std::string MakeTree(const std::string& name, unsigned seed) {
  std::string root = Scratch() + "\\" + name;
  CreateDirectoryA(root.c_str(), nullptr);
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  CreateDirectoryA((root + "\\sub\\deeper").c_str(), nullptr);
  harness::WriteFileBytes(root + "\\one byte.txt", Bytes(1, seed));
  harness::WriteFileBytes(root + "\\sector.bin", Bytes(2048, seed + 1));
  harness::WriteFileBytes(root + "\\odd size.dat", Bytes(100001, seed + 2));
  harness::WriteFileBytes(root + "\\empty.txt", "");
  harness::WriteFileBytes(root + "\\sub\\Long file name of " + name + ".txt", Bytes(70000, seed + 3));
  harness::WriteFileBytes(root + "\\sub\\deeper\\big.bin", Bytes(600000, seed + 4));
  return root;
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string UnixPath(const std::string& windowsPath) {
  using Converter = char*(CDECL*)(const WCHAR*);
  static Converter convert = reinterpret_cast<Converter>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
  if (convert == nullptr) return {};
  std::wstring wide = Widen(windowsPath);
  char* unixPath = convert(wide.c_str());
  if (unixPath == nullptr) return {};
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs a shell script (Linux tools) and waits for it at most 120 s; Wine
// hands no output back through pipes, so the script writes files.
bool RunShell(const std::string& script, std::string* output) {
  static int runs = 0;
  std::string name = Scratch() + "\\run" + std::to_string(runs++);
  std::string body = "(\n" + script + "\n) > " + Quoted(UnixPath(name + ".out")) + " 2>&1\necho $? > " +
                     Quoted(UnixPath(name + ".tmp")) + " && mv " + Quoted(UnixPath(name + ".tmp")) + " " +
                     Quoted(UnixPath(name + ".status")) + "\n";
  if (!harness::WriteFileBytes(name + ".sh", body)) return false;
  std::string command = "/bin/sh \"" + UnixPath(name + ".sh") + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  // Wine leaves stale values in PROCESS_INFORMATION for a Linux program.
  if (!harness::WaitForFile(name + ".status", 120000)) return false;
  std::string status;
  harness::ReadFileBytes(name + ".status", &status);
  harness::ReadFileBytes(name + ".out", output);
  return std::atoi(status.c_str()) == 0;
}

// Extracts the session at sessionStart of image (xorriso, Joliet tree) and
// compares every file of each source folder with its extracted copy; the
// extraction must hold exactly that many files.
void ExpectDiscHolds(const std::string& image, uint32_t sessionStart, const std::vector<std::string>& sources) {
  static int extractions = 0;
  std::string out = UnixPath(Scratch()) + "/extract" + std::to_string(extractions++);
  std::string load = sessionStart ? " -load sbsector " + std::to_string(sessionStart) : std::string();
  std::string script = "set -e\nxorriso -abort_on FAILURE -osirrox on" + load + " -indev " +
                       Quoted(UnixPath(image)) + " -extract / " + Quoted(out) + "\ntotal=0\n";
  for (const std::string& source : sources) {
    script += "cd " + Quoted(UnixPath(source)) + "\n" +
              "find . -type f | while IFS= read -r f; do cmp \"$f\" " + Quoted(out) + "/\"$f\"; done\n" +
              "total=$((total + $(find . -type f | wc -l)))\n";
  }
  script += "found=$(find " + Quoted(out) + " -type f | wc -l)\necho files $found of $total\n"
            "test \"$found\" -eq \"$total\"\n";
  std::string output;
  EXPECT_TRUE(RunShell(script, &output)) << output;
  std::string at = sessionStart ? " -T " + std::to_string(sessionStart) : std::string();
  EXPECT_TRUE(RunShell("isoinfo -d" + at + " -i " + Quoted(UnixPath(image)) + " && isoinfo -J -l" + at + " -i " +
                           Quoted(UnixPath(image)),
                       &output))
      << output;
}

struct Drive {
  const char* medium;
  std::string backing;
};

// Points the software drive at a fresh medium and selects it.
std::string UseMedium(const char* medium, const std::string& name,
                      std::vector<std::pair<const char*, const char*>> extra = {}) {
  std::string backing = Scratch() + "\\" + name + ".img";
  DeleteFileA(backing.c_str());
  DeleteFileA((backing + ".state").c_str());
  for (const char* key : {"ORB_DRIVE_CONFIG", "ORB_DRIVE_NO_MEDIUM", "ORB_DRIVE_WRITE_ERROR_LBA",
                          "ORB_DRIVE_UNDERRUN_LBA", "ORB_DRIVE_SLOW_MS", "ORB_DRIVE_CAPACITY",
                          "ORB_DRIVE_NOT_READY_POLLS", "ORB_DRIVE_SESSIONS", "ORB_DRIVE_SESSION_BLOCKS"}) {
    SetEnvironmentVariableA(key, nullptr);
  }
  SetEnvironmentVariableA("ORB_DRIVE_MEDIUM", medium);
  SetEnvironmentVariableA("ORB_DRIVE_BACKING", backing.c_str());
  for (const auto& [key, value] : extra) SetEnvironmentVariableA(key, value);
  EXPECT_EQ(1, vdscInitializeASPI(0, nullptr, 0, nullptr));
  EXPECT_EQ(1, vdscSelectDevice(0));
  return backing;
}

// Clears the project and fills it with the folders given, then lays it out.
// Folders in ansiFolders go in through the ANSI export (their files are
// then opened by their ANSI names).
int PrepareFolders(const std::vector<std::string>& folders, bool importLast = false,
                   const std::vector<std::string>& ansiFolders = {}) {
  vdscClearAll();
  if (importLast) {
    EXPECT_NE(0, vdscImportSessionW(0, const_cast<wchar_t*>(L"\\")));
  }
  vdscSetVolumeID(const_cast<char*>("ORB TEST"));
  for (const std::string& folder : folders) {
    std::wstring wide = Widen(folder);
    EXPECT_NE(nullptr, vdscInsertDirW(const_cast<wchar_t*>(L"\\"), wide.data(), const_cast<wchar_t*>(L"*"), 1, 0));
  }
  for (std::string folder : ansiFolders) {
    EXPECT_NE(nullptr, vdscInsertDir(const_cast<char*>("\\"), folder.data(), const_cast<char*>("*.*"), 1, 0));
  }
  int sectors = vdscPrepare();
  EXPECT_GT(sectors, 0);
  return sectors;
}

std::string ErrorText() { return vdscGetErrorString(); }

// --- the interface without a burn ----------------------------------------

TEST(Orbburn, InterfaceEdgeCases) {
  // No burn has run yet: an image burn reports to the empty burn slot.
  std::string backing = UseMedium("cd-r", "edge");
  EXPECT_STREQ("1.12 REGTD (Date: Jul  1 2004)", vdscGetVDSCVersion());
  int count = vdscGetDeviceCount();
  ASSERT_GE(count, 1);
  EXPECT_NE(nullptr, vdscGetDeviceName(0));
  EXPECT_EQ(nullptr, vdscGetDeviceName(count));
  EXPECT_EQ(0, vdscSelectDevice(count));
  EXPECT_EQ(1, vdscSelectDevice(0));
  EXPECT_EQ(1, vdscDeviceIsBurner());
  EXPECT_EQ(2, vdscDiscIs());
  EXPECT_EQ(0x2000000, vdscGetCacheSize());
  EXPECT_EQ(0x200000, vdscSetCacheSize(0));
  EXPECT_EQ(0x2000000, vdscSetCacheSize(0x2000000));
  EXPECT_EQ(0, vdscDeviceCan(73));
  EXPECT_EQ(0, vdscDeviceCan(99));
  EXPECT_EQ(0, vdscGetComponentState());

  std::string tree = MakeTree("edge", 1);
  std::string image = Scratch() + "\\edge.iso";
  PrepareFolders({tree});
  ASSERT_EQ(1, vdscBuildISOImage(image.data()));
  for (int i = 0; i < 200 && vdscGetComponentState() != 0; ++i) Sleep(50);
  EXPECT_EQ(0, vdscGetComponentState());
  vdscGetErrorNumber();  // a query of the medium may have left one
  ASSERT_EQ(1, vdscBurnISOImage(image.data()));
  for (int i = 0; i < 400 && vdscGetComponentState() != 0; ++i) Sleep(50);
  EXPECT_EQ(0, vdscGetComponentState());
  EXPECT_EQ(0, vdscGetErrorNumber());

  // An image file of one sector is burned as 32 (the rounded size).
  std::string tinyDisc = UseMedium("cd-r", "tiny");
  std::string tiny = Scratch() + "\\tiny.iso";
  harness::WriteFileBytes(tiny, Bytes(2048, 3));
  ASSERT_EQ(1, vdscBurnISOImage(tiny.data()));
  for (int i = 0; i < 400 && vdscGetComponentState() != 0; ++i) Sleep(50);
  EXPECT_EQ(32, vdscGetBlocksWritten());
  std::string onDisc;
  ASSERT_TRUE(harness::ReadFileBytes(tinyDisc, &onDisc));
  EXPECT_EQ(Bytes(2048, 3), onDisc.substr(0, 2048));
  EXPECT_EQ(std::string(31 * 2048, '\0'), onDisc.substr(2048, 31 * 2048));
  // Its session holds no tree: nothing is imported, the session number
  // used is still the answer.
  size_t filesBefore = vdscPrepare();
  EXPECT_EQ(1, vdscImportSessionW(0, const_cast<wchar_t*>(L"\\")));
  EXPECT_EQ(filesBefore, static_cast<size_t>(vdscPrepare()));

  // The settings answer with the flag given.
  EXPECT_EQ(2, vdscSetJolietFS(2));
  EXPECT_EQ(1, vdscSetJolietFS(1));
  EXPECT_EQ(0, vdscSetReplaceFile(0));
  EXPECT_EQ(3, vdscSetReplaceFile(3));
  EXPECT_EQ(0, vdscSetReplaceFile(0));

  // A change after the layout drops it: the burn is refused with error 1.
  std::wstring extra = Widen(tree + "\\sector.bin");
  std::wstring sub = L"\\sub";
  EXPECT_NE(nullptr, vdscInsertFileW(sub.data(), extra.data()));
  vdscGetErrorNumber();  // what the medium queries left
  ResetCallback();
  EXPECT_EQ(0, vdscBurn(OnDone));
  EXPECT_STREQ("Data not prepared ", ErrorText().c_str());
  EXPECT_EQ(0, vdscGetErrorNumber());  // the text took it

  // An image build tries the path first: one that cannot be created is
  // error 3 also for a project that is not laid out; a build refused for
  // the layout keeps the old file as it was and leaves nothing beside it.
  std::string noFolder = Scratch() + "\\no folder\\x.iso";
  EXPECT_EQ(0, vdscBuildISOImage(noFolder.data()));
  EXPECT_EQ(3, vdscGetErrorNumber());
  std::string oldImage;
  ASSERT_TRUE(harness::ReadFileBytes(image, &oldImage));
  EXPECT_EQ(0, vdscBuildISOImage(image.data()));
  EXPECT_EQ(1, vdscGetErrorNumber());
  std::string keptImage;
  ASSERT_TRUE(harness::ReadFileBytes(image, &keptImage));
  EXPECT_EQ(oldImage, keptImage);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((image + ".part").c_str()));
  vdscPrepare();

  // Missing image files: errors 2 and 3 name the image path.
  std::string missing = Scratch() + "\\no such.iso";
  EXPECT_EQ(0, vdscBurnISOImage(missing.data()));
  EXPECT_EQ("Error opening file \"" + missing + "\"", ErrorText());
  std::string badFolder = Scratch() + "\\no folder\\x.iso";
  EXPECT_EQ(0, vdscBuildISOImage(badFolder.data()));
  EXPECT_EQ(3, vdscGetErrorNumber());
  EXPECT_EQ(0, vdscGetErrorNumber());
  EXPECT_EQ(L"Unknown/No Error!", std::wstring(vdscGetErrorStringW()));

  // With replace off a name already there answers with the entry there;
  // inside a folder insertion the entry left out is reported as error 2.
  vdscClearAll();
  std::wstring sector = Widen(tree + "\\sector.bin");
  void* first = vdscInsertFileW(const_cast<wchar_t*>(L"\\"), sector.data());
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, vdscInsertFileW(const_cast<wchar_t*>(L"\\"), sector.data()));
  EXPECT_EQ(first, vdscInsertFile(const_cast<char*>("\\"), const_cast<char*>((tree + "\\sector.bin").c_str())));
  EXPECT_EQ(0, vdscGetErrorNumber());
  std::wstring wideTree = Widen(tree);
  EXPECT_NE(nullptr, vdscInsertDirW(const_cast<wchar_t*>(L"\\"), wideTree.data(), const_cast<wchar_t*>(L"*"), 1, 0));
  EXPECT_EQ("Error opening file \"\\sector.bin\"", ErrorText());
  EXPECT_NE(nullptr, vdscInsertDirW(const_cast<wchar_t*>(L"\\"), wideTree.data(), const_cast<wchar_t*>(L"*"), 1, 0));
  EXPECT_EQ(2, vdscGetErrorNumber());
  vdscClearAll();

  // A build whose source is gone by then fails and leaves the old image
  // file as it was, with nothing written beside it.
  std::string vanishing = Scratch() + "\\vanishing.bin";
  harness::WriteFileBytes(vanishing, Bytes(5000, 4));
  std::wstring wideVanishing = Widen(vanishing);
  ASSERT_NE(nullptr, vdscInsertFileW(const_cast<wchar_t*>(L"\\"), wideVanishing.data()));
  ASSERT_GT(vdscPrepare(), 0);
  DeleteFileA(vanishing.c_str());
  vdscBuildISOImage(image.data());
  for (int i = 0; i < 200 && vdscGetComponentState() != 0; ++i) Sleep(50);
  EXPECT_EQ(2, vdscGetErrorNumber());
  ASSERT_TRUE(harness::ReadFileBytes(image, &keptImage));
  EXPECT_EQ(oldImage, keptImage);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((image + ".part").c_str()));
  vdscClearAll();

  // Boot images: only the four sizes.
  std::string boot = Scratch() + "\\boot.img";
  harness::WriteFileBytes(boot, Bytes(1474561, 9));
  EXPECT_EQ(0, vdscSetBootImage(boot.data()));
  harness::WriteFileBytes(boot, Bytes(1474560, 9));
  EXPECT_EQ(1, vdscSetBootImage(boot.data()));
  EXPECT_EQ(0, vdscSetBootImage(nullptr));
  EXPECT_EQ(0, g_calls.load());
}

// --- burning the project ----------------------------------------------------

struct BurnCase {
  const char* medium;
  int discType;
};

TEST(Orbburn, BurnsProjectAndImageFileMatches) {
  const BurnCase cases[] = {{"cd-r", 2}, {"dvd-r", 5}, {"dvd+rw", 10}};
  std::string tree = MakeTree("project", 3);
  std::string ansi = Scratch() + "\\ansi";
  CreateDirectoryA(ansi.c_str(), nullptr);
  CreateDirectoryA((ansi + "\\A folder with a long name").c_str(), nullptr);
  harness::WriteFileBytes(ansi + "\\A folder with a long name\\Caf\xe9 menu.txt", Bytes(4000, 21));
  harness::WriteFileBytes(ansi + "\\readme.txt", Bytes(12345, 22));
  for (const BurnCase& c : cases) {
    SCOPED_TRACE(c.medium);
    std::string backing = UseMedium(c.medium, std::string("burn-") + c.medium);
    ASSERT_EQ(c.discType, vdscDiscIs());
    PrepareFolders({tree}, false, {ansi});
    int imageSectors = vdscGetImageSize();
    EXPECT_EQ(0, imageSectors % 32);
    EXPECT_EQ(1, vdscLockMedium());
    vdscDeviceCan(72);  // the SCSI log
    vdscGetErrorNumber();
    ResetCallback();
    ASSERT_EQ(1, vdscBurn(OnDone));
    ASSERT_TRUE(WaitForCallback());
    EXPECT_EQ(1, g_calls.load());
    EXPECT_EQ(0, g_result.load());
    EXPECT_EQ(4, g_stateInCallback.load());
    EXPECT_EQ(imageSectors, vdscGetBlocksWritten());
    EXPECT_EQ(0, vdscGetComponentState());
    EXPECT_EQ(0, vdscGetErrorNumber());
    vdscUnlockMedium();
    EXPECT_EQ(1, vdscSessionsOnDisc());
    ExpectDiscHolds(backing, 0, {tree, ansi});

    // The image-file path writes what the drive received.
    std::string image = Scratch() + "\\project-" + c.medium + ".iso";
    ResetCallback();
    ASSERT_EQ(1, vdscBuildISOImage(image.data()));
    ASSERT_TRUE(WaitForCallback());
    EXPECT_EQ(0, g_result.load());
    std::string built, burned;
    ASSERT_TRUE(harness::ReadFileBytes(image, &built));
    ASSERT_TRUE(harness::ReadFileBytes(backing, &burned));
    ASSERT_EQ(size_t(imageSectors) * 2048, built.size());
    ASSERT_GE(burned.size(), built.size());
    EXPECT_TRUE(built == burned.substr(0, built.size()));
  }
}

TEST(Orbburn, SecondSessionKeepsFirstFilesVisible) {
  std::string first = MakeTree("first", 5);
  std::string second = Scratch() + "\\second";
  CreateDirectoryA(second.c_str(), nullptr);
  harness::WriteFileBytes(second + "\\added later.txt", Bytes(33333, 6));
  for (const char* medium : {"cd-r", "dvd+rw"}) {
    SCOPED_TRACE(medium);
    std::string backing = UseMedium(medium, std::string("multi-") + medium);
    PrepareFolders({first});
    ResetCallback();
    ASSERT_EQ(1, vdscBurn(OnDone));
    ASSERT_TRUE(WaitForCallback());
    ASSERT_EQ(0, g_result.load());

    PrepareFolders({second}, true);
    ResetCallback();
    ASSERT_EQ(1, vdscBurn(OnDone));
    ASSERT_TRUE(WaitForCallback());
    ASSERT_EQ(0, g_result.load());
    // The last session, read the way a reader finds it (DVD+RW: through the
    // descriptors at sector 16; CD: at the start of the last session, where
    // its primary descriptor is 16 sectors in), lists both sessions' files.
    uint32_t start = 0;
    if (std::string(medium) == "cd-r") {
      EXPECT_EQ(2, vdscSessionsOnDisc());
      std::string disc;
      ASSERT_TRUE(harness::ReadFileBytes(backing, &disc));
      for (size_t sector = 17; sector * 2048 + 6 <= disc.size(); ++sector) {
        if (disc.compare(sector * 2048, 6, std::string("\x01" "CD001")) == 0) start = uint32_t(sector - 16);
      }
      EXPECT_GT(start, 11400u);
    } else {
      EXPECT_EQ(1, vdscSessionsOnDisc());
    }
    ExpectDiscHolds(backing, start, {first, second});

    // An image file built next is read alone: its sectors count from 0,
    // not from where the disc's last session began.
    PrepareFolders({second});
    std::string image = Scratch() + "\\after-" + medium + ".iso";
    ResetCallback();
    ASSERT_EQ(1, vdscBuildISOImage(image.data()));
    ASSERT_TRUE(WaitForCallback());
    EXPECT_EQ(0, g_result.load());
    ExpectDiscHolds(image, 0, {second});
    DeleteFileA(image.c_str());
  }
}

TEST(Orbburn, StoppedSessionLeavesThePreviousOneInCharge) {
  // DVD+RW: a new session is announced at sector 0 only once all its data
  // is written, so a stop half-way leaves the first session readable.
  std::string first = MakeTree("kept", 13);
  std::string bulk = Scratch() + "\\bulk";
  CreateDirectoryA(bulk.c_str(), nullptr);
  harness::WriteFileBytes(bulk + "\\large.bin", Bytes(6 << 20, 14));
  std::string backing = UseMedium("dvd+rw", "stopped");
  PrepareFolders({first});
  ResetCallback();
  ASSERT_EQ(1, vdscBurn(OnDone));
  ASSERT_TRUE(WaitForCallback());
  ASSERT_EQ(0, g_result.load());

  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", "20");
  ASSERT_EQ(1, vdscInitializeASPI(0, nullptr, 0, nullptr));
  ASSERT_EQ(1, vdscSelectDevice(0));
  PrepareFolders({bulk}, true);
  ResetCallback();
  ASSERT_EQ(1, vdscBurn(OnDone));
  for (int i = 0; i < 2000 && vdscGetBlocksWritten() < 200; ++i) Sleep(5);
  EXPECT_EQ(1, vdscAbortBurn());
  ASSERT_TRUE(WaitForCallback());
  EXPECT_EQ(1, g_calls.load());
  EXPECT_EQ(1, g_result.load());
  EXPECT_EQ("Aborted by user", ErrorText());
  SetEnvironmentVariableA("ORB_DRIVE_SLOW_MS", nullptr);
  vdscInitializeASPI(0, nullptr, 0, nullptr);
  vdscSelectDevice(0);
  ExpectDiscHolds(backing, 0, {first});
}

// --- erasing ------------------------------------------------------------------

TEST(Orbburn, EraseLeavesBlankMedium) {
  std::string tree = MakeTree("erase", 7);
  const char* media[] = {"cd-rw", "dvd-rw", "dvd+rw", "dvd-ram"};
  for (const char* medium : media) {
    for (int mode : {1, 0}) {
      SCOPED_TRACE(std::string(medium) + (mode ? " quick" : " full"));
      std::string backing = UseMedium(medium, std::string("erase-") + medium, {{"ORB_DRIVE_CAPACITY", "8192"}});
      PrepareFolders({tree});
      ResetCallback();
      ASSERT_EQ(1, vdscBurn(OnDone));
      ASSERT_TRUE(WaitForCallback());
      ASSERT_EQ(0, g_result.load());
      ASSERT_LT(vdscGetFreeBlocksOnDisc(), vdscGetTotalBlocksOnDisc());

      EXPECT_EQ(1, vdscErasable());
      EXPECT_EQ(1, vdscTestUnitReady());
      ResetCallback();
      EXPECT_EQ(1, vdscEraseDisc(mode, OnDone));
      ASSERT_TRUE(WaitForCallback());
      EXPECT_EQ(1, g_calls.load());
      EXPECT_EQ(0, g_result.load()) << ErrorText();
      EXPECT_EQ(0, vdscGetComponentState());
      int type = vdscDiscIs();
      if (type == 3 || type == 9) {
        EXPECT_EQ(0, vdscSessionsOnDisc());  // blanked
      } else {
        EXPECT_TRUE(type == 6 || type == 10) << type;  // formatted, zeros at the start
      }
      EXPECT_EQ(vdscGetTotalBlocksOnDisc(), vdscGetFreeBlocksOnDisc());
      // No file system is left for a reader to find.
      std::string output;
      EXPECT_FALSE(RunShell("isoinfo -d -i " + Quoted(UnixPath(backing)), &output)) << output;
    }
  }
}

TEST(Orbburn, RefusedBlankReportsSense) {
  UseMedium("cd-r", "refused");
  ResetCallback();
  EXPECT_EQ(1, vdscEraseDisc(1, OnDone));
  ASSERT_TRUE(WaitForCallback());
  EXPECT_EQ(1, g_calls.load());
  EXPECT_EQ(1, g_result.load());
  EXPECT_EQ(0x3000, vdscGetErrorNumber());  // incompatible medium
}

// --- faults -----------------------------------------------------------------

struct Fault {
  const char* name;
  std::vector<std::pair<const char*, const char*>> drive;
  int sourceChange;  // 0 none, 1 delete, 2 shrink, 3 grow
  bool abortMidway;
  int burnResult;    // what vdscBurn answers
  std::string text;  // the error text afterwards ("" = names the changed file)
};

TEST(Orbburn, FaultsEndInOneFailingCallback) {
  std::string big = Scratch() + "\\fault-big.bin";
  harness::WriteFileBytes(big, Bytes(3 << 20, 11));
  std::string victim = Scratch() + "\\fault victim.txt";
  const Fault faults[] = {
      {"no medium", {{"ORB_DRIVE_NO_MEDIUM", "1"}}, 0, false, 1, "Hardware Error 14848"},
      {"write error at block 300", {{"ORB_DRIVE_WRITE_ERROR_LBA", "300"}}, 0, false, 1, "Hardware Error 3072"},
      {"buffer underrun at block 700", {{"ORB_DRIVE_UNDERRUN_LBA", "700"}}, 0, false, 1, "Hardware Error 3081"},
      {"source deleted after prepare", {}, 1, false, 1, ""},
      {"source shrunk after prepare", {}, 2, false, 1, ""},
      {"source grown after prepare", {}, 3, false, 1, ""},
      {"stopped in the middle", {{"ORB_DRIVE_SLOW_MS", "20"}}, 0, true, 1, "Aborted by user"},
  };
  vdscSetCacheSize(0);  // 2 MiB: the big file fills the cache before the victim is read
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    std::string backing = UseMedium("cd-r", "fault", fault.drive);
    harness::WriteFileBytes(victim, Bytes(50000, 12));
    vdscClearAll();
    std::wstring wideBig = Widen(big), wideVictim = Widen(victim);
    ASSERT_NE(nullptr, vdscInsertFileW(const_cast<wchar_t*>(L"\\"), wideBig.data()));
    ASSERT_NE(nullptr, vdscInsertFileW(const_cast<wchar_t*>(L"\\"), wideVictim.data()));
    ASSERT_GT(vdscPrepare(), 0);
    if (fault.sourceChange == 1) DeleteFileA(victim.c_str());
    if (fault.sourceChange == 2) harness::WriteFileBytes(victim, Bytes(49999, 12));
    if (fault.sourceChange == 3) harness::WriteFileBytes(victim, Bytes(50001, 12));
    ResetCallback();
    ASSERT_EQ(fault.burnResult, vdscBurn(OnDone));
    if (fault.abortMidway) {
      for (int i = 0; i < 2000 && vdscGetBlocksWritten() < 100; ++i) Sleep(5);
      EXPECT_EQ(1, vdscAbortBurn());
    }
    ASSERT_TRUE(WaitForCallback());
    EXPECT_EQ(1, g_calls.load());
    EXPECT_EQ(1, g_result.load());
    EXPECT_EQ(8, g_stateInCallback.load());
    EXPECT_LT(vdscGetBlocksWritten(), vdscGetImageSize());
    std::string expected = fault.text.empty() ? "Error opening file \"" + victim + "\"" : fault.text;
    EXPECT_EQ(expected, ErrorText());
    // No session was closed over the missing data.
    SetEnvironmentVariableA("ORB_DRIVE_NO_MEDIUM", nullptr);
    vdscInitializeASPI(0, nullptr, 0, nullptr);
    vdscSelectDevice(0);
    EXPECT_EQ(0, vdscSessionsOnDisc());
  }
  vdscSetCacheSize(0x2000000);

  // A source missing before the cache is ready: no writer, no callback.
  UseMedium("cd-r", "early");
  harness::WriteFileBytes(victim, Bytes(50000, 12));
  vdscClearAll();
  std::wstring wideVictim = Widen(victim);
  ASSERT_NE(nullptr, vdscInsertFileW(const_cast<wchar_t*>(L"\\"), wideVictim.data()));
  ASSERT_GT(vdscPrepare(), 0);
  DeleteFileA(victim.c_str());
  ResetCallback();
  EXPECT_EQ(0, vdscBurn(OnDone));
  EXPECT_EQ("Error opening file \"" + victim + "\"", ErrorText());
  Sleep(300);
  EXPECT_EQ(0, g_calls.load());
}

}  // namespace
