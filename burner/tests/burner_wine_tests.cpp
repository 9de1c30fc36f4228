// The disc burner under Wine, started as a user or another module starts
// it, from a program folder holding orbburn.exe beside orbburn.dll,
// themeapi.dll, themecore.dll, the text table and our wnaspi32.dll, whose
// software drive keeps its medium in a file of the test.  The test reads
// the window's controls (list lines, texts, enabled buttons), plays the
// players that must be closed before a burn, presses the buttons, and reads
// the burnt medium back with xorriso and isoinfo, file by file.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/command_line.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "unix_tools.h"

namespace {

constexpr DWORD kStartMs = 20000;
constexpr DWORD kBurnMs = 240000;

class BurnerFolder {
 public:
  explicit BurnerFolder(const std::string& label, bool withDrive = true) : scratch_(label) {
    for (const char* file : {"orbburn.exe", "orbburn.dll", "themeapi.dll", "themecore.dll", "LUMINAR.SKL",
                             "orbburn.SYS"}) {
      Copy(file);
    }
    if (withDrive) Copy("wnaspi32.dll");
  }
  void Copy(const char* file) const {
    CopyFileA((harness::ProgramFolder() + file).c_str(), path(file).c_str(), FALSE);
  }
  std::string path(const std::string& file) const { return scratch_.Child(file); }
  std::string folder() const { return scratch_.path(); }
  std::string command(const std::string& arguments = "") const {
    return suite::ProgramCommandLine(path("orbburn.exe"), arguments);
  }
  std::string trace() const {
    std::string text;
    harness::ReadFileBytes(path("trace.txt"), &text);
    return text;
  }

 private:
  harness::ScratchFolder scratch_;
};

struct Medium {
  std::string kind = "cd-r";
  std::vector<std::pair<const char*, std::string>> extra;
};

// Starts the burner with the call trace on and its drive holding a medium
// in `backing`, and waits for its window to show.
HWND StartBurner(const BurnerFolder& folder, harness::Process* burner, const std::string& arguments,
                 const Medium& medium, const std::string& backing) {
  std::vector<std::pair<const char*, std::string>> environment = {
      {"ORB_TRACE", folder.path("trace.txt")}, {"ORB_ANSWERS", ""}, {"ORB_DRIVE_MEDIUM", medium.kind},
      {"ORB_DRIVE_BACKING", backing}};
  for (const auto& variable : medium.extra) environment.push_back(variable);
  std::vector<std::unique_ptr<harness::ScopedEnvironment>> variables;
  for (const auto& [name, value] : environment) {
    variables.push_back(std::make_unique<harness::ScopedEnvironment>(name, value.c_str()));
  }
  if (!burner->start(folder.command(arguments))) return nullptr;
  variables.clear();
  HWND window = harness::WaitForWindow("ORBBURN", kStartMs);
  if (window == nullptr) return nullptr;
  return harness::PumpUntil([&] { return IsWindowVisible(window) != FALSE; }, kStartMs) ? window : nullptr;
}

long WaitForExit(harness::Process& process) {
  long code = -1;
  harness::PumpUntil([&] {
    code = process.waitExit(0);
    return code != -1;
  }, kStartMs);
  return code;
}

void Close(HWND window, harness::Process& burner) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(burner), 0);
}

std::string Text(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  char text[1024] = "";
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &result);
  return text;
}

// The list's lines as the burner traced them last (a list box's texts
// cannot be read from another process under 64-bit Wine): the line of the
// last change, "orbburn BurnList(\"a|b\") = 2", unescaped.
std::vector<std::string> ListLines(const BurnerFolder& folder) {
  std::string last;
  for (const std::string& line : harness::SplitLines(folder.trace())) {
    if (line.find("] orbburn BurnList(\"") != std::string::npos) last = line;
  }
  std::vector<std::string> lines;
  const size_t open = last.find("BurnList(\"");
  const size_t close = last.rfind("\") = ");
  if (open == std::string::npos || close == std::string::npos || close < open + 10) return lines;
  const std::string escaped = last.substr(open + 10, close - open - 10);
  std::string text;
  for (size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] == '\\' && i + 3 < escaped.size() && escaped[i + 1] == 'x') {
      text += static_cast<char>(std::strtol(escaped.substr(i + 2, 2).c_str(), nullptr, 16));
      i += 3;
    } else {
      text += escaped[i];
    }
  }
  if (text.empty()) return lines;
  size_t from = 0;
  for (size_t bar = text.find('|'); ; bar = text.find('|', from)) {
    lines.push_back(text.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  return lines;
}

int LineCount(HWND window) { return static_cast<int>(SendMessageA(GetDlgItem(window, 2), LB_GETCOUNT, 0, 0)); }

bool Enabled(HWND window, int id) { return IsWindowEnabled(GetDlgItem(window, id)) != FALSE; }

// The capacity bar: the progress control inside the frame static.
struct BarSearch {
  HWND main;
  HWND found;
};

BOOL CALLBACK FindBar(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<BarSearch*>(data);
  char name[64] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "msctls_progress32") == 0 && GetParent(child) != search->main) {
    search->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND CapacityBar(HWND window) {
  BarSearch search{window, nullptr};
  EnumChildWindows(window, FindBar, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int UsedPercent(HWND window) {
  HWND bar = CapacityBar(window);
  return bar != nullptr ? static_cast<int>(SendMessageA(bar, PBM_GETPOS, 0, 0)) : -1;
}

// The colour of the capacity bar at `percent` of its width, on its middle
// row, as the screen shows it.
COLORREF BarColourAt(HWND window, int percent) {
  HWND bar = CapacityBar(window);
  RECT box;
  if (bar == nullptr || !GetWindowRect(bar, &box)) return CLR_INVALID;
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
  harness::ScratchFolder scratch("bar");
  harness::Bmp24 image;
  if (!harness::CaptureWindowToBmp(window, scratch.Child("window.bmp")) ||
      !harness::ReadBmp24(scratch.Child("window.bmp"), &image)) {
    return CLR_INVALID;
  }
  // One pixel on, so that the point is between two lines of the scale.
  const int x = box.left + (box.right - box.left) * percent / 100 + 1;
  const int y = (box.top + box.bottom) / 2;
  if (x < 0 || y < 0 || x >= image.width || y >= image.height) return CLR_INVALID;
  return image.at(x, y);
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

void Press(HWND window, int id) { PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }

std::string Bytes(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed * 2654435761u + 7;
  for (char& c : bytes) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 16);
  }
  return bytes;
}

// The files of a burn: disc path -> source path.
using DiscFiles = std::map<std::string, std::string>;

// Extracts the medium's last session with xorriso and compares every
// expected file with its source; the disc holds exactly these files, and
// isoinfo reads the volume label.
void ExpectDiscHolds(const std::string& backing, const DiscFiles& files, const std::string& label) {
  harness::ScratchFolder out("extract");
  std::string script = "set -e\nxorriso -abort_on FAILURE -osirrox on -indev " +
                       harness::ShellQuoted(harness::UnixPathOf(backing)) + " -extract / " +
                       harness::ShellQuoted(harness::UnixPathOf(out.path()) + "/disc") + "\n";
  for (const auto& [discPath, source] : files) {
    script += "cmp " + harness::ShellQuoted(harness::UnixPathOf(source)) + " " +
              harness::ShellQuoted(harness::UnixPathOf(out.path()) + "/disc/" + discPath) + "\n";
  }
  script += "test \"$(find " + harness::ShellQuoted(harness::UnixPathOf(out.path()) + "/disc") +
            " -type f | wc -l)\" -eq " + std::to_string(files.size()) + "\n";
  std::string output;
  int status = -1;
  ASSERT_TRUE(harness::RunUnixCommand(script, 120000, &output, &status));
  EXPECT_EQ(status, 0) << output;
  ASSERT_TRUE(harness::RunUnixCommand("isoinfo -d -i " + harness::ShellQuoted(harness::UnixPathOf(backing)), 60000,
                                      &output, &status));
  EXPECT_NE(output.find("Volume id: " + label + "\n"), std::string::npos) << output;
}

// Waits for the status line to show one of the texts; the one shown.
std::string WaitForStatus(HWND window, const std::vector<std::string>& texts, DWORD timeoutMs) {
  std::string status;
  harness::PumpUntil([&] {
    status = Text(window, 3);
    for (const std::string& text : texts) {
      if (status == text) return true;
    }
    return false;
  }, timeoutMs);
  return status;
}

constexpr char kWritten[] = "The disc was written.";
constexpr char kWriteFailed[] = "The disc could not be written (error ";

// A ".upl" list on the command line fills the list (its "@path@" lines
// resolved against the burner's own folder, missing files skipped, pictures
// bringing their companion files) and names the label; a second start only
// brings the window forward.
TEST(DiscBurner, StartsWithAListFileAndItsCompanions) {
  BurnerFolder folder("burner list");
  harness::WriteFileBytes(folder.path("beach.jpg"), Bytes(3000, 1));
  harness::WriteFileBytes(folder.path("beach.kwd"), "sea, sand");
  harness::WriteFileBytes(folder.path("notes.txt"), "notes");
  CreateDirectoryA(folder.path("Photos.2004").c_str(), nullptr);
  harness::WriteFileBytes(folder.path("Holiday.upl"), "@path@beach.jpg\r\n" + folder.path("notes.txt") +
                                                          "\r\n@path@gone.txt\r\n");
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, suite::QuoteArgument(folder.path("Holiday.upl")), Medium{},
                            folder.path("disc.img"));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(harness::WindowText(window), "Orb Burn");
  std::string lowerFolder = folder.folder();
  CharLowerA(lowerFolder.data());
  EXPECT_EQ(ListLines(folder), (std::vector<std::string>{lowerFolder + "\\beach.jpg", lowerFolder + "\\beach.kwd",
                                                          folder.path("notes.txt")}));
  // The label is the list's name (the command line is taken in lower case).
  EXPECT_EQ(Text(window, 14), "holiday");
  // The software drive's line, chosen as the first burner.
  EXPECT_EQ(SendMessageA(GetDlgItem(window, 1), CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(Text(window, 1), "R: ORB SOFT DVD WRITER 1.00");
  EXPECT_TRUE(Enabled(window, 7));
  EXPECT_EQ(Text(window, 3), "Drop files and folders here, or hand them over from the media browser.");
  // A blank CD-R: about 703 MB, nothing used; the summary of the list.
  EXPECT_EQ(Text(window, 13), " 703 MB");
  EXPECT_EQ(UsedPercent(window), 0);
  EXPECT_EQ(Text(window, 15), "Over: 0 MB   Free: 703 MB   List: 0 MB");

  // A second start with a file only brings the window forward.
  harness::Process second;
  ASSERT_TRUE(second.start(folder.command(suite::QuoteArgument(folder.path("notes.txt")))));
  EXPECT_EQ(WaitForExit(second), 0);
  EXPECT_EQ(static_cast<size_t>(LineCount(window)), 3u);

  // Alt+Down moves the selected first line down; at the end it stays.
  HWND list = GetDlgItem(window, 2);
  SendMessageA(list, LB_SETSEL, TRUE, 0);
  PostMessageA(list, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  harness::PumpUntil([&] {
    std::vector<std::string> lines = ListLines(folder);
    return lines.size() > 1 && lines[1] == lowerFolder + "\\beach.jpg";
  }, 5000);
  PostMessageA(list, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  PostMessageA(list, WM_SYSKEYDOWN, VK_DOWN, 1 << 29);
  harness::PumpMessagesFor(500);
  ASSERT_EQ(ListLines(folder).size(), 3u);
  EXPECT_EQ(ListLines(folder).back(), lowerFolder + "\\beach.jpg");
  EXPECT_GT(SendMessageA(list, LB_GETSEL, 2, 0), 0);
  // Delete removes the selected line.
  PostMessageA(list, WM_KEYDOWN, VK_DELETE, 0);
  harness::PumpUntil([&] { return LineCount(window) == 2; }, 5000);
  EXPECT_EQ(ListLines(folder), (std::vector<std::string>{lowerFolder + "\\beach.kwd", folder.path("notes.txt")}));

  // Code 3 replaces the list: a folder line is kept as it stands.
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, "|" + folder.path("Photos.2004") + "\\*.*|"), 1);
  harness::PumpUntil([&] { return LineCount(window) == 1; }, 5000);
  EXPECT_EQ(ListLines(folder), (std::vector<std::string>{folder.path("Photos.2004") + "\\*.*"}));
  Close(window, burner);
}

// The hand-over of the media browser and the player (codes 25, 24, 3), then
// Burn: the players get code 10 before anything is written, the burn runs
// with its progress, the disc is ejected, and the medium read back holds
// every file of the list under the label given.
TEST(DiscBurner, BurnsTheHandedOverListToABlankCd) {
  BurnerFolder folder("burner burn");
  std::string source = folder.path("My Data");
  CreateDirectoryA(source.c_str(), nullptr);
  CreateDirectoryA((source + "\\sub").c_str(), nullptr);
  harness::WriteFileBytes(source + "\\one byte.txt", Bytes(1, 2));
  harness::WriteFileBytes(source + "\\sector.bin", Bytes(2048, 3));
  harness::WriteFileBytes(source + "\\sub\\odd size.dat", Bytes(300001, 4));
  harness::WriteFileBytes(folder.path("single.bin"), Bytes(1500000, 5));
  harness::WriteFileBytes(folder.path("beach.jpg"), Bytes(4000, 6));
  harness::WriteFileBytes(folder.path("beach.kwd"), "sea");
  std::string backing = folder.path("blank cd.img");

  harness::PeerWindow player("ORBPLAY");
  harness::PeerWindow audio("ORBAUDIO");
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", Medium{}, backing);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_STARTED_BY_BROWSER, ""), 1);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_SET_VOLUME_LABEL, "MY DISC"), 1);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_COME_TO_FRONT, ""), 1);
  const std::string items = folder.path("single.bin") + "|" + source + "\\*.*|" + folder.path("beach.jpg");
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, items), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return LineCount(window) == 4; }, 5000));
  EXPECT_EQ(Text(window, 14), "MY DISC");
  EXPECT_EQ(Text(window, 15), "Over: 0 MB   Free: 703 MB   List: 2 MB");
  ASSERT_TRUE(Enabled(window, 7));

  Press(window, 7);
  // While the session runs the buttons are disabled and Close only beeps.
  // The burner disables them one after another: wait for the last.
  EXPECT_TRUE(harness::PumpUntil([&] { return !Enabled(window, 7) && !Enabled(window, 9) && !Enabled(window, 1); },
                                 10000))
      << Enabled(window, 7) << Enabled(window, 9) << Enabled(window, 1);
  // The players were told to close before the burn (within the 4 s wait).
  ASSERT_TRUE(harness::PumpUntil([&] { return !player.received().empty() && !audio.received().empty(); }, 10000));
  EXPECT_EQ(player.received()[0].code, suite::CMD_CLOSE);
  EXPECT_EQ(audio.received()[0].code, suite::CMD_CLOSE);
  PostMessageA(window, WM_CLOSE, 0, 0);
  // The progress shows while the drive writes.
  std::string progress;
  harness::PumpUntil([&] {
    progress = Text(window, 3);
    return progress.rfind("Writing: ", 0) == 0 || progress == kWritten || progress == "Closing the disc...";
  }, kBurnMs);
  EXPECT_EQ(WaitForStatus(window, {kWritten}, kBurnMs), kWritten) << Text(window, 3);
  EXPECT_TRUE(IsWindow(window));
  ASSERT_TRUE(harness::PumpUntil([&] { return Enabled(window, 7) || Enabled(window, 9); }, 10000));
  // Ejected after the success: the next poll finds no medium.
  ASSERT_TRUE(harness::PumpUntil([&] { return Text(window, 13) == " 0 MB"; }, 10000)) << Text(window, 13);
  EXPECT_EQ(Text(window, 5), "0 MB");

  DiscFiles files = {{"single.bin", folder.path("single.bin")},
                     {"beach.jpg", folder.path("beach.jpg")},
                     {"beach.kwd", folder.path("beach.kwd")},
                     {"one byte.txt", source + "\\one byte.txt"},
                     {"sector.bin", source + "\\sector.bin"},
                     {"sub/odd size.dat", source + "\\sub\\odd size.dat"}};
  ExpectDiscHolds(backing, files, "MY DISC");
  Close(window, burner);
}

// A rewritable disc that holds a session, with "erase first" on and an
// empty list: the disc is erased, nothing is burnt, and the capacity display
// shows it empty afterwards.
TEST(DiscBurner, ErasesARewritableDiscWithAnEmptyList) {
  BurnerFolder folder("burner erase");
  std::string backing = folder.path("old cdrw.img");
  Medium medium;
  medium.kind = "cd-rw";
  medium.extra = {{"ORB_DRIVE_SESSIONS", "1"}, {"ORB_DRIVE_SESSION_BLOCKS", "120000"}};
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", medium, backing);
  ASSERT_NE(window, nullptr);
  const int usedBefore = UsedPercent(window);
  EXPECT_GT(usedBefore, 30);
  EXPECT_LT(usedBefore, 50);
  // Used space red, free space green.
  EXPECT_EQ(BarColourAt(window, 10), kRed);
  EXPECT_EQ(BarColourAt(window, 80), kGreen);
  EXPECT_EQ(LineCount(window), 0);
  Press(window, 7);
  EXPECT_EQ(WaitForStatus(window, {"The disc was erased."}, kBurnMs), "The disc was erased.");
  ASSERT_TRUE(harness::PumpUntil([&] { return Enabled(window, 7); }, 10000));
  EXPECT_TRUE(harness::PumpUntil([&] { return UsedPercent(window) == 0; }, 5000)) << UsedPercent(window);
  EXPECT_EQ(BarColourAt(window, 10), kGreen);
  EXPECT_NE(Text(window, 13), " 0 MB");
  // Nothing was burnt: the erase's result stays the last word.
  harness::PumpMessagesFor(1000);
  EXPECT_EQ(Text(window, 3), "The disc was erased.");
  Close(window, burner);
}

// A list larger than the free space is refused before anything is written:
// the message names both sizes, the status says so, the medium stays blank.
TEST(DiscBurner, RefusesAListLargerThanTheDisc) {
  BurnerFolder folder("burner small");
  harness::WriteFileBytes(folder.path("big.bin"), Bytes(3 * 1024 * 1024, 9));
  std::string backing = folder.path("tiny.img");
  Medium medium;
  medium.extra = {{"ORB_DRIVE_CAPACITY", "1000"}};
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", medium, backing);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, folder.path("big.bin")), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return LineCount(window) == 1; }, 5000));
  EXPECT_EQ(Text(window, 3), "The list is larger than the free space on the disc.");
  // The list's image, larger than the disc, covers the bar in yellow.
  EXPECT_EQ(BarColourAt(window, 50), kYellow);
  Press(window, 7);
  EXPECT_EQ(WaitForStatus(window, {"The list does not fit on the disc."}, 60000), "The list does not fit on the disc.");
  ASSERT_TRUE(harness::PumpUntil([&] { return Enabled(window, 7); }, 10000));
  std::string trace = folder.trace();
  // The message names both sizes in sectors: the image's 3 MiB and more,
  // the disc's free sectors, at most its 1000.
  const std::string needs = "The image needs ";
  const size_t box = trace.find("skMessageBox(");
  ASSERT_NE(box, std::string::npos) << trace;
  const size_t at = trace.find(needs, box);
  ASSERT_NE(at, std::string::npos) << trace;
  const long image = std::atol(trace.c_str() + at + needs.size());
  const size_t has = trace.find("sectors, the disc has ", at);
  ASSERT_NE(has, std::string::npos) << trace;
  const long free = std::atol(trace.c_str() + has + 22);
  EXPECT_GT(image, 1536) << trace.substr(at, 200);
  EXPECT_GT(free, 0);
  EXPECT_LE(free, 1000);
  std::string written;
  harness::ReadFileBytes(backing, &written);
  EXPECT_EQ(written.find_first_not_of('\0'), std::string::npos);
  Close(window, burner);
}

// Without a drive (no ASPI layer beside the program, no pass-through
// drive), the device list is empty and Burn stays disabled.
TEST(DiscBurner, BurnStaysDisabledWithoutABurner) {
  BurnerFolder folder("burner nodrive", false);
  harness::WriteFileBytes(folder.path("a.txt"), "a");
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", Medium{}, folder.path("none.img"));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(SendMessageA(GetDlgItem(window, 1), CB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(Enabled(window, 7));
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS, folder.path("a.txt")), 1);
  ASSERT_TRUE(harness::PumpUntil([&] { return LineCount(window) == 1; }, 5000));
  harness::PumpMessagesFor(1200);  // two polls
  EXPECT_FALSE(Enabled(window, 7));
  EXPECT_EQ(Text(window, 13), " 0 MB");
  Close(window, burner);
}

}  // namespace

namespace {

// Two items that put a file of one name into the disc's root: the burn is
// refused with the name, and nothing is written.
TEST(DiscBurner, RefusesItemsWhoseFilesShareANameOnTheDisc) {
  BurnerFolder folder("burner clash");
  CreateDirectoryA(folder.path("Album").c_str(), nullptr);
  harness::WriteFileBytes(folder.path("Album\\cover.jpg"), Bytes(500, 11));
  harness::WriteFileBytes(folder.path("Cover.JPG"), Bytes(600, 12));
  std::string backing = folder.path("clash.img");
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", Medium{}, backing);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(window, suite::CMD_OPEN_ITEMS,
                                    folder.path("Album") + "\\*.*|" + folder.path("Cover.JPG")),
            1);
  ASSERT_TRUE(harness::PumpUntil([&] { return LineCount(window) == 2; }, 5000));
  Press(window, 7);
  ASSERT_TRUE(harness::PumpUntil([&] { return !Enabled(window, 7); }, 10000));
  ASSERT_TRUE(harness::PumpUntil([&] { return Enabled(window, 7); }, 60000));
  std::string trace = folder.trace();
  EXPECT_NE(trace.find("the same name on the disc; nothing was written: Cover.JPG"), std::string::npos) << trace;
  std::string written;
  harness::ReadFileBytes(backing, &written);
  EXPECT_EQ(written.find_first_not_of('\0'), std::string::npos);
  Close(window, burner);
}

}  // namespace

namespace {

// The media player's hand-off of a recording: told with code 26 which file
// to burn, the real player gives it to the running burner when it closes,
// with its volume label.
TEST(DiscBurner, TakesTheRecordingThePlayerHandsOver) {
  BurnerFolder folder("burner player");
  for (const char* file : {"orbplay.exe", "tonelink.dll", "imaging.dll", "orbplay.SYS"}) folder.Copy(file);
  harness::WriteFileBytes(folder.path("recording.avi"), Bytes(10000, 21));
  harness::Process burner;
  HWND window = StartBurner(folder, &burner, "", Medium{}, folder.path("player.img"));
  ASSERT_NE(window, nullptr);

  harness::Process player;
  {
    harness::ScopedEnvironment answers("ORB_ANSWERS", "");
    ASSERT_TRUE(player.start(suite::ProgramCommandLine(folder.path("orbplay.exe"), "")));
  }
  HWND playerWindow = harness::WaitForWindow("ORBPLAY", kStartMs);
  ASSERT_NE(playerWindow, nullptr);
  EXPECT_EQ(suite::SendSuiteCommand(playerWindow, suite::CMD_SET_BURN_ON_CLOSE,
                                    folder.path("recording.avi") + "|HOLIDAY FILM"),
            1);
  EXPECT_EQ(suite::SendSuiteCommand(playerWindow, suite::CMD_CLOSE, ""), 1);
  EXPECT_EQ(WaitForExit(player), 0);
  ASSERT_TRUE(harness::PumpUntil([&] { return LineCount(window) == 1; }, 10000));
  EXPECT_EQ(ListLines(folder), (std::vector<std::string>{folder.path("recording.avi")}));
  EXPECT_EQ(Text(window, 14), "HOLIDAY FILM");
  Close(window, burner);
}

}  // namespace
