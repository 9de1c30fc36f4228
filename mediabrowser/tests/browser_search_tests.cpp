// The media search under Wine, driven as a user does: a drive letter is
// mapped to a fixture tree (a link in the prefix's dosdevices folder), the
// search command opens the drive box, the drive's button is clicked (or
// chosen with the keyboard), and the report the browser writes beside the
// program is compared byte for byte with the report this test expects from
// the tree.  The help viewer is a stand-in (suite_receiver) that logs how it
// was started; picture sizes are what ImageMagick's identify reads.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

using namespace browsertest;

constexpr int kSearchVideos = 401;
constexpr int kSearchAudio = 402;
constexpr int kSearchLists = 403;
constexpr int kSearchPictures = 405;
constexpr int kSearchPictureSizes = 406;
constexpr int kAddAll = 6;
constexpr int kSecondListId = 4;
constexpr DWORD kSearchMs = 60000;
constexpr DWORD kToolMs = 60000;
// A help viewer's end after the close command.
constexpr DWORD kViewerEndMs = 10000;

std::string Unix(const std::string& path) { return harness::UnixPathWord(path); }

// Runs a shell command; its output without the final line end, "" when it
// failed.
std::string Shell(const std::string& command) {
  std::string output;
  return harness::UnixToolOutput(command, kToolMs, &output) ? output : std::string();
}

// The prefix's folder of drive links.
std::string DosDevicesFolder() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && prefix[0] != '\0') return std::string(prefix) + "/dosdevices";
  std::string drive = harness::UnixPathOf("C:\\");
  size_t at = drive.find("/dosdevices/");
  return at == std::string::npos ? std::string() : drive.substr(0, at + 11);
}

// A drive letter that names a folder for as long as the object lives: a
// free letter from Y down, linked in the prefix's dosdevices folder as a
// user maps a drive in Wine.
class MappedDrive {
 public:
  explicit MappedDrive(const std::string& folder) {
    const std::string devices = DosDevicesFolder();
    if (devices.empty()) return;
    const DWORD used = GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter) {
      const char root[] = {letter, ':', '\\', '\0'};
      if ((used & (1u << (letter - 'A'))) != 0 || GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR) continue;
      std::string link = devices + "/" + static_cast<char>(letter - 'A' + 'a') + ":";
      if (Shell("ln -s " + Unix(folder) + " " + harness::ShellQuoted(link) + " && echo linked") != "linked") return;
      link_ = link;
      if (harness::PumpUntil([&] { return GetFileAttributesA(root) != INVALID_FILE_ATTRIBUTES; }, 5000)) {
        letter_ = letter;
      }
      return;
    }
  }
  ~MappedDrive() {
    if (!link_.empty()) Shell("rm -f " + harness::ShellQuoted(link_));
  }
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;

  char letter() const { return letter_; }
  std::string root() const { return std::string(1, letter_) + ":\\"; }

 private:
  char letter_ = 0;
  std::string link_;
};

// One file of a fixture tree: its path below the tree, its bytes (or a
// picture ImageMagick makes: "picture WxH"), its attributes (0 leaves them
// as made), and whether each of the tested commands must find it.
struct FixtureFile {
  std::string path;
  std::string bytes;
  DWORD attributes = 0;
  std::vector<int> foundBy;
};

void MakeFolders(const std::string& root, const std::string& relative) {
  for (size_t at = relative.find('\\'); at != std::string::npos; at = relative.find('\\', at + 1)) {
    CreateDirectoryA((root + relative.substr(0, at)).c_str(), nullptr);
  }
}

void MakeFixture(const std::string& root, const std::vector<FixtureFile>& files) {
  for (const FixtureFile& file : files) {
    MakeFolders(root, file.path);
    const std::string path = root + file.path;
    if (file.bytes.rfind("picture ", 0) == 0) {
      ASSERT_EQ("made", Shell("convert -size " + file.bytes.substr(8) + " xc:blue " + Unix(path) + " && echo made"))
          << path;
    } else {
      ASSERT_TRUE(harness::WriteFileBytes(path, file.bytes)) << path;
    }
    if (file.attributes != 0) {
      ASSERT_TRUE(SetFileAttributesA(path.c_str(), file.attributes)) << path;
    }
  }
}

// Clears the attributes a fixture set, so the tree can be removed.
void ClearAttributes(const std::string& root, const std::vector<FixtureFile>& files) {
  for (const FixtureFile& file : files) SetFileAttributesA((root + file.path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool FoundBy(const FixtureFile& file, int command) {
  return std::find(file.foundBy.begin(), file.foundBy.end(), command) != file.foundBy.end();
}

// A number as the engine's number format writes it: groups of three digits
// with the user's thousands separator.
std::string Grouped(int64_t value) {
  char separator[8] = ",";
  GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, sizeof(separator));
  std::string digits = std::to_string(value);
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += separator;
    text += digits[i];
  }
  return text;
}

int64_t Kilobytes(int64_t bytes) { return (bytes + 512) / 1024; }

// "WxH" as identify reads the picture ("" when it cannot): a GIF's size is
// its logical screen, the page size.
std::string IdentifiedSize(const std::string& path) {
  const bool isGif = path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".gif") == 0;
  return Shell("identify -format '" + std::string(isGif ? "%Wx%H" : "%wx%h") + "' " + Unix(path) + "[0]");
}

// A GIF whose logical screen is 40000 x 1 around one 1 x 1 image: sides of
// 32768 and more are read as they are, never as negative numbers.
std::string WideGif() {
  return std::string("GIF89a\x40\x9C\x01\x00\x80\x00\x00", 13) + std::string("\0\0\0\xFF\xFF\xFF", 6) +
         std::string("\x2C\0\0\0\0\x01\0\x01\0\0", 10) + std::string("\x02\x02\x44\x01\0\x3B", 6);
}

// What the report must hold.
struct ExpectedReport {
  std::string lines;
  std::vector<std::string> paths;
  int64_t bytes = 0;
};

// The tree is read through the mapped drive, in the order the file system
// lists each folder: a folder's findings, then each of its subfolders the
// same way, one after the other.
void CollectExpected(const std::string& drive, const std::string& relativeFolder,
                     const std::map<std::string, std::string>& sizes, ExpectedReport* report) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((drive + relativeFolder + "*.*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string relative = relativeFolder + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      subfolders.push_back(relative + "\\");
      continue;
    }
    auto found = sizes.find(relative);
    if (found == sizes.end()) continue;
    const int64_t bytes = (int64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
    std::string size = found->second;
    size.resize(std::max<size_t>(size.size(), 12), ' ');
    std::string kilobytes = Grouped(Kilobytes(bytes));
    kilobytes.insert(0, kilobytes.size() < 10 ? 10 - kilobytes.size() : 0, ' ');
    report->lines += size + kilobytes + " k\t" + drive + relative + "\r\n";
    report->paths.push_back(drive + relative);
    report->bytes += bytes;
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  for (const std::string& subfolder : subfolders) CollectExpected(drive, subfolder, sizes, report);
}

std::string Summary(char letter, const std::string& noun, size_t count, int64_t bytes) {
  std::string summary = std::string(1, letter) + ": " + Grouped(static_cast<int64_t>(count)) + " " + noun + " " +
                        Grouped(Kilobytes(bytes)) + " kB";
  summary.resize(80, ' ');
  return summary + "\r\n\r\n";
}

// The browser's message box (framed by the skin engine or not) once its
// buttons show.
struct BoxSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindBoxChild(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  char name[64] = {};
  GetClassNameA(window, name, sizeof(name));
  if (lstrcmpiA(name, "SKMSGBOX") != 0 || !IsWindowVisible(window)) return TRUE;
  HWND first = GetDlgItem(window, 1);
  if (first == nullptr || !IsWindowVisible(first)) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK FindBoxTop(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) return TRUE;
  if (!FindBoxChild(window, param)) return FALSE;
  EnumChildWindows(window, FindBoxChild, param);
  return search->found == nullptr;
}

// Waits until the box shows and has stopped moving (the skin engine frames
// a new box, which moves it), so a click lands on the button aimed at.
HWND WaitForMessageBox(const harness::Process& browser, DWORD timeoutMs = 15000) {
  BoxSearch search{browser.id(), nullptr};
  RECT last = {};
  int steady = 0;
  harness::PumpUntil(
      [&] {
        search.found = nullptr;
        EnumWindows(FindBoxTop, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) return false;
        RECT now = {};
        GetWindowRect(GetDlgItem(search.found, 1), &now);
        steady = EqualRect(&now, &last) ? steady + 1 : 0;
        last = now;
        if (steady < 10) return false;
        harness::PumpMessagesFor(100);
        return true;
      },
      timeoutMs);
  return steady >= 10 ? search.found : nullptr;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return text;
}

// The captions of a box's buttons, in order.
std::vector<std::string> ButtonTexts(HWND box) {
  std::vector<std::string> texts;
  for (int id = 1; HWND button = GetDlgItem(box, id); ++id) texts.push_back(TextOf(button));
  return texts;
}

// A real click in the middle of a window.
void Click(HWND window) {
  RECT rect = {};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  harness::PumpMessagesFor(50);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1] = inputs[0];
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  // The pointer then leaves the browser's windows, as a user's hand does:
  // under Wine every wait cursor the search's pump sets over them brings a
  // new mouse message, and the pump runs until its queue is empty.
  harness::PumpMessagesFor(50);
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = key;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Clicks the box's button of that caption and waits for the box to go.
void ClickButton(HWND box, const std::string& caption) {
  std::vector<std::string> texts = ButtonTexts(box);
  auto found = std::find(texts.begin(), texts.end(), caption);
  ASSERT_NE(found, texts.end()) << caption;
  HWND button = GetDlgItem(box, static_cast<int>(found - texts.begin()) + 1);
  for (int attempt = 0; attempt < 3 && IsWindow(box); ++attempt) {
    Click(button);
    harness::PumpUntil([&] { return !IsWindow(box); }, 3000);
  }
  ASSERT_FALSE(IsWindow(box)) << "the click on " << caption << " did not close the box";
}

class MediaSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_ = TempFolder() + "orbmedia search tree\\";
    RemoveTree(tree_);
    ASSERT_TRUE(CreateDirectoryA(tree_.c_str(), nullptr));
    program_.Copy("suite_receiver.exe", "orbhelp.exe");
    DeleteFileA(HelpLog().c_str());
    WriteQuietSettings(TempFolder());
  }
  void TearDown() override {
    if (window_ != nullptr && browser_.running()) CloseBrowser(window_, browser_);
    EndHelpViewers();
    ClearAttributes(tree_, files_);
    RemoveTree(tree_);
    DeleteFileA(HelpLog().c_str());
  }

  std::string HelpLog() const { return TempFolder() + "orbmedia search ORBHELP.log"; }

  // Every help viewer the browser started ("start PID ..." in its log) is
  // closed, and waited for, before the next test: one still starting when
  // a test ends would take the next test's report, and its program file
  // would keep the test program's TEMP folder from being removed.
  void EndHelpViewers() {
    for (const std::string& line : ReadLines(HelpLog())) {
      if (line.rfind("start ", 0) != 0) continue;
      const DWORD id = strtoul(line.c_str() + 6, nullptr, 10);
      HANDLE viewer = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id);
      if (viewer == nullptr) continue;
      bool closeSent = false;
      const bool ended = harness::PumpUntil(
          [&] {
            if (WaitForSingleObject(viewer, 0) == WAIT_OBJECT_0) return true;
            for (HWND window = FindWindowExA(nullptr, nullptr, "ORBHELP", nullptr); window != nullptr && !closeSent;
                 window = FindWindowExA(nullptr, window, "ORBHELP", nullptr)) {
              DWORD owner = 0;
              GetWindowThreadProcessId(window, &owner);
              if (owner == id) closeSent = suite::SendSuiteCommand(window, suite::CMD_CLOSE, "") != 0;
            }
            return false;
          },
          kViewerEndMs);
      EXPECT_TRUE(ended) << "the help viewer " << id << " did not end on the close command";
      if (!ended) {
        TerminateProcess(viewer, 1);
        WaitForSingleObject(viewer, kViewerEndMs);
      }
      CloseHandle(viewer);
    }
  }

  void Build(std::vector<FixtureFile> files) {
    files_ = std::move(files);
    MakeFixture(tree_, files_);
  }

  // Starts the browser (after the drive is mapped, as a user's drive is).
  void Start() {
    window_ = StartBrowser(program_, &browser_, "",
                           {{"ORB_RECEIVER_CLASS", "*"}, {"ORB_RECEIVER_LOG", TempFolder() + "orbmedia search *.log"}});
    ASSERT_NE(window_, nullptr);
  }

  HWND SecondList() {
    const FoundChild* child = ChildById(Children(window_), kSecondListId);
    return child != nullptr ? child->window : nullptr;
  }

  // Gives the search command and waits for the drive box; checks the
  // drives it offers.
  HWND OpenDriveBox(int command, char letter) {
    PostMessageA(window_, WM_COMMAND, command, 0);
    HWND box = WaitForMessageBox(browser_);
    if (box == nullptr) return nullptr;
    std::vector<std::string> buttons = ButtonTexts(box);
    const std::string drive = std::string(1, letter) + ":";
    std::string offered;
    for (const std::string& button : buttons) offered += button + " ";
    EXPECT_NE(std::find(buttons.begin(), buttons.end(), drive), buttons.end()) << drive << " not in " << offered;
    EXPECT_EQ(std::find(buttons.begin(), buttons.end(), "A:"), buttons.end());
    EXPECT_EQ(std::find(buttons.begin(), buttons.end(), "B:"), buttons.end());
    EXPECT_EQ("&Cancel", buttons.back());
    return box;
  }

  // Searches the drive with a click on its button.
  void SearchWithClick(int command, char letter) {
    HWND box = OpenDriveBox(command, letter);
    ASSERT_NE(box, nullptr) << "no drive box";
    ClickButton(box, std::string(1, letter) + ":");
  }

  // The report once the help viewer was handed it (the n-th time).
  std::string WaitForReport(size_t handOvers, const std::string& expectedPath) {
    std::vector<ReceivedLine> log = WaitForReceiverLog(HelpLog(), handOvers, kSearchMs);
    if (log.size() < handOvers) return "(the help viewer got nothing)";
    const ReceivedLine& last = log[handOvers - 1];
    if (last.kind == "start") {
      EXPECT_TRUE(SameText(last.text, ("\"" + expectedPath + ",LUMINAR.SKL\"").c_str()) ||
                  SameText(last.text, (expectedPath + ",LUMINAR.SKL").c_str()))
          << last.text;
    } else {
      EXPECT_EQ(std::to_string(suite::CMD_OPEN_ITEMS), last.kind);
      EXPECT_TRUE(SameText(last.text, expectedPath.c_str())) << last.text;
    }
    return ReadFileText(expectedPath);
  }

  ProgramFolder program_{"search"};
  std::string tree_;
  std::vector<FixtureFile> files_;
  harness::Process browser_;
  HWND window_ = nullptr;
};

// Videos: exactly the video files are found, whatever ordinary attributes
// they carry, in folders of any depth and beyond any fixed number of
// pending folders; hidden and system files, dot names and dot folders are
// not.  The report is byte for byte what the tree gives, the help viewer
// shows it, and the empty second list takes the findings.
TEST_F(MediaSearchTest, FindsExactlyTheVideosOfADeepWideTree) {
  std::vector<FixtureFile> files = {
      {"clip.avi", std::string(3000, 'v'), 0, {kSearchVideos}},
      {"Movie.MPG", std::string(1100000, 'm'), 0, {kSearchVideos}},
      {"normal.avi", std::string(100, 'n'), FILE_ATTRIBUTE_NORMAL, {kSearchVideos}},
      {"readonly.wmv", std::string(700, 'r'), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, {kSearchVideos}},
      {"temporary.asf", std::string(10, 't'), FILE_ATTRIBUTE_TEMPORARY, {kSearchVideos}},
      {"hidden.avi", "h", FILE_ATTRIBUTE_HIDDEN, {}},
      {"system.avi", "s", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE, {}},
      {".dotted.avi", "d", 0, {}},
      {".cache\\inside.avi", "i", 0, {}},
      {"song.mp3", "a", 0, {}},
      {"noextension", "x", 0, {}},
      {"vcd\\track01.dat", "RIFFsizeCDXAfmt ", 0, {kSearchVideos}},
      {"vcd\\settings.dat", "not a video", 0, {}},
      {"vcd\\empty.dat", "", 0, {}},
  };
  // A deep chain and a level of 600 folders, with videos at the ends.
  std::string deep = "deep\\";
  for (int level = 10; level < 35; ++level) deep += "d" + std::to_string(level) + "\\";
  files.push_back({deep + "bottom.avi", std::string(2048, 'b'), 0, {kSearchVideos}});
  for (int i = 0; i < 600; ++i) {
    const std::string folder = "wide\\folder" + std::to_string(i) + "\\";
    if (i == 0 || i == 299 || i == 599) {
      files.push_back({folder + "w" + std::to_string(i) + ".mpeg", std::string(512, 'w'), 0, {kSearchVideos}});
    } else {
      files.push_back({folder + "note.txt", "n", 0, {}});
    }
  }
  Build(files);
  MappedDrive drive(tree_);
  ASSERT_NE(0, drive.letter()) << "no drive letter could be mapped";
  Start();
  ASSERT_EQ(0, SendMessageA(SecondList(), LB_GETCOUNT, 0, 0));

  SearchWithClick(kSearchVideos, drive.letter());
  const std::string reportPath = program_.path("videos") + drive.letter() + ".txt";
  std::string report = WaitForReport(1, reportPath);

  std::map<std::string, std::string> sizes;
  for (const FixtureFile& file : files_) {
    if (FoundBy(file, kSearchVideos)) sizes[file.path] = "";
  }
  ExpectedReport expected;
  CollectExpected(drive.root(), "", sizes, &expected);
  ASSERT_EQ(sizes.size(), expected.paths.size()) << "the test's own walk missed files";
  EXPECT_EQ(Summary(drive.letter(), "video file(s)", expected.paths.size(), expected.bytes) + expected.lines, report);

  // The second list holds the findings, in the report's order.
  std::vector<std::string> entries;
  for (const std::string& path : expected.paths) entries.push_back(" " + path);
  EXPECT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(SecondList()) == entries; }, 5000));
  EXPECT_EQ(entries, ListBoxTexts(SecondList()));
}

// Audio, chosen with the keyboard: MIDI files never, program modules never,
// tracker modules yes.  A filled second list is replaced only when the user
// says so; "No" keeps it as it was.
TEST_F(MediaSearchTest, KeyboardChoiceContentRulesAndTheSecondListQuestion) {
  Build({
      {"music\\tune.mod", "M.K.tracker", 0, {kSearchAudio}},
      {"music\\program.mod", "MZ program", 0, {}},
      {"music\\score.mid", "MThd score", 0, {}},
      {"music\\voice.wav", std::string(1536, 'w'), 0, {kSearchAudio}},
      {"music\\clip.avi", "v", 0, {}},
  });
  MappedDrive drive(tree_);
  ASSERT_NE(0, drive.letter());
  Start();
  // Something in the collection first.
  ASSERT_EQ(1, suite::SendSuiteCommand(window_, suite::CMD_GO_TO_FOLDER, tree_ + "music\\"));
  SendMessageA(window_, WM_COMMAND, kAddAll, 0);
  const std::vector<std::string> before = ListBoxTexts(SecondList());
  ASSERT_FALSE(before.empty());

  // The drive's button with the arrow keys, then Enter.
  HWND box = OpenDriveBox(kSearchAudio, drive.letter());
  ASSERT_NE(box, nullptr);
  std::vector<std::string> buttons = ButtonTexts(box);
  const size_t index = std::find(buttons.begin(), buttons.end(), std::string(1, drive.letter()) + ":") - buttons.begin();
  ASSERT_LT(index, buttons.size());
  SetForegroundWindow(GetAncestor(box, GA_ROOT));
  for (size_t step = 0; step < index; ++step) PressKey(VK_RIGHT);
  PressKey(VK_RETURN);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(box); }, 5000)) << "Enter did not choose the drive";

  // The question about the filled list: "Yes" replaces it.
  HWND question = WaitForMessageBox(browser_);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ((std::vector<std::string>{"&Yes", "&No"}), ButtonTexts(question));
  ClickButton(question, "&Yes");
  const std::string reportPath = program_.path("audio") + drive.letter() + ".txt";
  std::string report = WaitForReport(1, reportPath);
  std::map<std::string, std::string> sizes = {{"music\\tune.mod", ""}, {"music\\voice.wav", ""}};
  ExpectedReport expected;
  CollectExpected(drive.root(), "", sizes, &expected);
  EXPECT_EQ(Summary(drive.letter(), "audio file(s)", 2, expected.bytes) + expected.lines, report);
  std::vector<std::string> entries;
  for (const std::string& path : expected.paths) entries.push_back(" " + path);
  EXPECT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(SecondList()) == entries; }, 5000));

  // Again, answered "No": the list stays; the running viewer gets the report.
  SearchWithClick(kSearchAudio, drive.letter());
  question = WaitForMessageBox(browser_);
  ASSERT_NE(question, nullptr);
  ClickButton(question, "&No");
  EXPECT_EQ(Summary(drive.letter(), "audio file(s)", 2, expected.bytes) + expected.lines,
            WaitForReport(2, reportPath));
  EXPECT_EQ(entries, ListBoxTexts(SecondList()));
}

// Pictures: the picture type takes its extensions with the size each file
// holds (identify reads the same), a broken picture without a size, a GIF
// too short to hold a header without one; the size search takes only
// pictures whose size it can read, GIF sides of 32768 and more included.
TEST_F(MediaSearchTest, PictureSizesMatchWhatIdentifyReads) {
  Build({
      {"photos\\beach.jpg", "picture 64x48", 0, {kSearchPictures, kSearchPictureSizes}},
      {"photos\\map.png", "picture 30x20", 0, {kSearchPictures, kSearchPictureSizes}},
      {"photos\\anim.gif", "picture 300x200", 0, {kSearchPictures, kSearchPictureSizes}},
      {"photos\\banner.gif", WideGif(), 0, {kSearchPictures, kSearchPictureSizes}},
      {"photos\\icon.bmp", "picture 16x16", 0, {kSearchPictures, kSearchPictureSizes}},
      {"photos\\broken.jpg", "not a picture", 0, {kSearchPictures}},
      {"photos\\tiny.gif", std::string("GIF89a\x10\x00\x10", 9), 0, {kSearchPictures}},
      {"photos\\scan.pcx", "not a pcx either", 0, {}},
      {"photos\\notes.txt", "text", 0, {}},
  });
  MappedDrive drive(tree_);
  ASSERT_NE(0, drive.letter());
  Start();

  struct Step {
    int command;
    const char* report;
  };
  const Step steps[] = {{kSearchPictures, "pictures"}, {kSearchPictureSizes, "sizes"}};
  size_t handOvers = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.report);
    std::map<std::string, std::string> sizes;
    for (const FixtureFile& file : files_) {
      if (FoundBy(file, step.command)) sizes[file.path] = IdentifiedSize(tree_ + file.path);
    }
    // What identify reads is what the fixture was made with.
    const std::map<std::string, std::string> made = {
        {"photos\\beach.jpg", "64x48"}, {"photos\\banner.gif", "40000x1"}, {"photos\\broken.jpg", ""}};
    for (const auto& [path, size] : made) {
      if (sizes.count(path) != 0) {
        EXPECT_EQ(size, sizes[path]) << path;
      }
    }
    SearchWithClick(step.command, drive.letter());
    if (handOvers > 0) {
      // The first search filled the second list: it is kept.
      HWND question = WaitForMessageBox(browser_);
      ASSERT_NE(question, nullptr);
      ClickButton(question, "&No");
    }
    const std::string reportPath = program_.path(step.report) + drive.letter() + ".txt";
    const std::string report = WaitForReport(++handOvers, reportPath);
    ExpectedReport expected;
    CollectExpected(drive.root(), "", sizes, &expected);
    ASSERT_EQ(sizes.size(), expected.paths.size());
    EXPECT_EQ(Summary(drive.letter(), "picture(s)", sizes.size(), expected.bytes) + expected.lines, report);
  }
}

// Escape stops a search (after the user confirms): no report is shown and
// nothing is said.  A search that finds nothing says so; one that finds
// only empty files shows its report.
TEST_F(MediaSearchTest, CancelNothingFoundAndEmptyFiles) {
  std::vector<FixtureFile> files;
  for (int folder = 0; folder < 10; ++folder) {
    for (int i = 0; i < 60; ++i) {
      files.push_back({"many\\f" + std::to_string(folder) + "\\v" + std::to_string(i) + ".avi", "", 0,
                       {kSearchVideos}});
    }
  }
  Build(files);
  MappedDrive drive(tree_);
  ASSERT_NE(0, drive.letter());
  Start();
  // A filled collection, so that the search stops at its first finding to
  // ask about it: the walk is then surely under way when Escape comes.
  ASSERT_EQ(1, suite::SendSuiteCommand(window_, suite::CMD_GO_TO_FOLDER, tree_ + "many\\f0\\"));
  SendMessageA(window_, WM_COMMAND, kAddAll, 0);
  const std::vector<std::string> collection = ListBoxTexts(SecondList());
  ASSERT_FALSE(collection.empty());

  HWND box = OpenDriveBox(kSearchVideos, drive.letter());
  ASSERT_NE(box, nullptr);
  ClickButton(box, std::string(1, drive.letter()) + ":");
  HWND keep = WaitForMessageBox(browser_, kSearchMs);
  ASSERT_NE(keep, nullptr);
  ASSERT_EQ((std::vector<std::string>{"&Yes", "&No"}), ButtonTexts(keep));
  // "No" keeps the collection; Escape is queued behind the click, so the
  // walk meets it as soon as it goes on.
  PostMessageA(GetDlgItem(keep, 2), BM_CLICK, 0, 0);
  PostMessageA(window_, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(keep); }, 5000));
  HWND question = WaitForMessageBox(browser_);
  ASSERT_NE(question, nullptr);
  EXPECT_EQ((std::vector<std::string>{"&Yes", "&No"}), ButtonTexts(question));
  // The button's own click, which no pointer movement can miss.
  PostMessageA(GetDlgItem(question, 1), BM_CLICK, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(question); }, 5000));
  // The search is over once its wait window is gone.
  EXPECT_TRUE(harness::PumpUntil([] { return FindWindowA("SKSTATIC", nullptr) == nullptr; }, kSearchMs));
  harness::PumpMessagesFor(1000);
  EXPECT_TRUE(ReceiverLog(HelpLog()).empty()) << "a cancelled search shows no report";
  EXPECT_EQ(nullptr, WaitForMessageBox(browser_, 500)) << "a cancelled search says nothing";
  const std::string report = ReadFileText(program_.path("videos") + drive.letter() + ".txt");
  const size_t lines = std::count(report.begin(), report.end(), '\n');
  EXPECT_LT(lines, 2 + files.size()) << "the walk went on after the cancel";
  EXPECT_EQ(collection, ListBoxTexts(SecondList()));

  // No play lists on the drive: the box says so.
  box = OpenDriveBox(kSearchLists, drive.letter());
  ASSERT_NE(box, nullptr);
  ClickButton(box, std::string(1, drive.letter()) + ":");
  HWND nothing = WaitForMessageBox(browser_, kSearchMs);
  ASSERT_NE(nothing, nullptr);
  EXPECT_EQ(1u, ButtonTexts(nothing).size());
  EXPECT_EQ("Search for play lists", TextOf(nothing));
  PostMessageA(GetDlgItem(nothing, 1), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return !IsWindow(nothing); }, 5000));
  // Its report holds the summary alone, and no viewer was handed it.
  EXPECT_EQ(Summary(drive.letter(), "play list(s)", 0, 0),
            ReadFileText(program_.path("lists") + drive.letter() + ".txt"));
  EXPECT_TRUE(ReceiverLog(HelpLog()).empty());

  // Only empty videos, on another drive mapped meanwhile: found all the
  // same, 0 kB, and the report is shown.
  const std::string empties = TempFolder() + "orbmedia search empties\\";
  RemoveTree(empties);
  ASSERT_TRUE(CreateDirectoryA(empties.c_str(), nullptr));
  const std::vector<FixtureFile> emptyFiles = {
      {"a.avi", "", 0, {kSearchVideos}}, {"b.mpg", "", 0, {kSearchVideos}}, {"sub\\c.wmv", "", 0, {kSearchVideos}}};
  MakeFixture(empties, emptyFiles);
  {
    MappedDrive second(empties);
    ASSERT_NE(0, second.letter());
    const bool listFilled = !ListBoxTexts(SecondList()).empty();
    SearchWithClick(kSearchVideos, second.letter());
    if (listFilled) {
      question = WaitForMessageBox(browser_, kSearchMs);
      ASSERT_NE(question, nullptr);
      ClickButton(question, "&No");
    }
    const std::string reportPath = program_.path("videos") + second.letter() + ".txt";
    const std::string full = WaitForReport(1, reportPath);
    std::map<std::string, std::string> sizes;
    for (const FixtureFile& file : emptyFiles) sizes[file.path] = "";
    ExpectedReport expected;
    CollectExpected(second.root(), "", sizes, &expected);
    ASSERT_EQ(3u, expected.paths.size());
    EXPECT_EQ(Summary(second.letter(), "video file(s)", 3, 0) + expected.lines, full);
  }
  RemoveTree(empties);
}

}  // namespace
