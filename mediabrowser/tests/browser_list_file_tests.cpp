// The collection saved as a list file and loaded back through the list-file
// box, as a user does it: the box opened by the Load and Save commands, a
// name typed or a list chosen, a button pressed.  The disc burner (a
// stand-in that logs its suite commands) is told the list's name.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "browser_test_support.h"
#include "core/suite_command_codes.h"
#include "harness.h"
#include "suite_command.h"
#include "test_files.h"
#include "trace_format.h"

namespace {

using namespace browsertest;

constexpr int kLoadCommand = 12;
constexpr int kSaveCommand = 13;
constexpr int kAddAllCommand = 6;
constexpr int kBurnCommand = 95;
constexpr int kListId = 1;
constexpr int kCollectionId = 4;

std::string Lower(std::string text) {
  CharLowerA(text.data());
  return text;
}

bool Exists(const std::string& path) { return harness::FileExists(path); }

// The edit line of the box's list (a simple combo box shows one).
HWND EditOf(HWND combo) { return FindWindowExA(combo, nullptr, "Edit", nullptr); }
// The open box's label over its hidden edit line.
HWND LabelOf(HWND combo) { return FindWindowExA(combo, nullptr, "Static", nullptr); }

bool WaitUntilGone(HWND box) {
  return harness::PumpUntil([&] { return !IsWindow(box); }, 5000);
}

void PressKey(WORD key) {
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = key;
  inputs[1] = inputs[0];
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

// Takes a file the recycle bin got out of it again: under Wine the bin is
// the XDG trash of the home folder that WINEHOMEDIR names ("\??\Z:\root").
void RemoveTrashed(const std::string& name) {
  const char* home = std::getenv("WINEHOMEDIR");
  if (home == nullptr) return;
  std::string trash = home;
  if (trash.rfind("\\??\\", 0) == 0) trash.erase(0, 4);
  if (trash.size() < 3 || trash[1] != ':') return;
  trash += "\\.local\\share\\Trash\\";
  DeleteFileA((trash + "files\\" + name).c_str());
  DeleteFileA((trash + "info\\" + name + ".trashinfo").c_str());
}

// The box's frame is its parent: its caption is the box's caption.
std::string CaptionOf(HWND box) { return harness::WindowText(GetParent(box)); }

class ListFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture_ = TempFolder() + "orbmedia lists\\";
    RemoveTree(fixture_);
    ASSERT_TRUE(CreateDirectoryA(fixture_.c_str(), nullptr));
    for (const char* name : kFiles) WriteFileText(fixture_ + name, name);
    // The burner without the audio player, whose menu entry stands before
    // the burner's: start-up moves the burner's entry up a place, and the
    // Burn button must find it all the same.
    program_.Copy("suite_receiver.exe", "orbburn.exe");
    DeleteFileA(BurnerLog().c_str());
    DeleteFileA(Trace().c_str());
    WriteQuietSettings(TempFolder());
  }
  void TearDown() override {
    HWND burner = FindWindowA("ORBBURN", nullptr);
    if (burner != nullptr) suite::SendSuiteCommand(burner, suite::CMD_CLOSE, "");
    harness::PumpUntil([] { return FindWindowA("ORBBURN", nullptr) == nullptr; }, 5000);
    RemoveTree(fixture_);
    DeleteFileA(BurnerLog().c_str());
    DeleteFileA(Trace().c_str());
  }

  std::string BurnerLog() const { return TempFolder() + "lists ORBBURN.log"; }
  std::string Trace() const { return TempFolder() + "orbmedia lists trace.txt"; }
  std::string UserFolder() const { return program_.path("user\\"); }
  // The collection's entries as the browser shows them.
  std::string Shown(const char* name) const { return " " + Lower(fixture_) + name; }

  HWND Start(const std::string& answers) {
    window_ = StartBrowser(program_, &browser_, "",
                           {{"ORB_RECEIVER_CLASS", "*"},
                            {"ORB_RECEIVER_LOG", TempFolder() + "lists *.log"},
                            {"ORB_ANSWERS", answers},
                            {"ORB_TRACE", Trace()}});
    if (window_ != nullptr) {
      EXPECT_EQ(suite::SendSuiteCommand(window_, suite::CMD_GO_TO_FOLDER, fixture_), 1);
      const FoundChild* collection = ChildById(Children(window_), kCollectionId);
      collection_ = collection != nullptr ? collection->window : nullptr;
    }
    return window_;
  }

  // Opens the box with the load or save command.
  HWND OpenBox(int command) {
    PostMessageA(window_, WM_COMMAND, command, 0);
    HWND box = WaitForFramedBox("PICKFILE", kListId);
    if (box != nullptr) harness::PumpMessagesFor(200);
    return box;
  }

  // Saves the collection under `typed` through the save box's first button.
  void SaveAs(const std::string& typed) {
    HWND box = OpenBox(kSaveCommand);
    ASSERT_NE(box, nullptr) << "the save box did not open";
    HWND edit = EditOf(GetDlgItem(box, kListId));
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    SendMessageA(GetDlgItem(box, 2), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(box));
  }

  // Chooses `name` in the open box and presses button `button` (2 open,
  // 3 delete, 4 cancel).
  void ChooseInOpenBox(const std::string& name, int button) {
    HWND box = OpenBox(kLoadCommand);
    ASSERT_NE(box, nullptr) << "the open box did not open";
    HWND combo = GetDlgItem(box, kListId);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_NE(index, CB_ERR) << name;
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(kListId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(harness::WindowText(LabelOf(combo)), name);
    SendMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(box));
  }

  // Whether a message box showed a text holding `text`.
  bool TraceHasBox(const std::string& text) const {
    std::string quoted = orbtrace::QuoteText(text);
    quoted = quoted.substr(1, quoted.size() - 2);
    for (const std::string& line : ReadLines(Trace())) {
      if (line.find("SKMSGBOX(") != std::string::npos && line.find(quoted) != std::string::npos) return true;
    }
    return false;
  }

  static constexpr const char* kFiles[] = {"a.jpg", "b.jpg", "c.mp3", "d e.txt"};
  ProgramFolder program_{"lists"};
  std::string fixture_;
  harness::Process browser_;
  HWND window_ = nullptr;
  HWND collection_ = nullptr;
};

// Saved as "holiday", burnt as "holiday", loaded again with some of its
// files gone and with all of them back: the list file stays byte for byte
// what the first save wrote.
TEST_F(ListFileTest, SaveLoadAndBurnUnderTheListName) {
  // Answers: the "no list yet" notice, then "yes, replace" for the second
  // save.
  ASSERT_NE(Start("1;1"), nullptr);

  // No list file yet: the load command says so and opens no box.
  PostMessageA(window_, WM_COMMAND, kLoadCommand, 0);
  EXPECT_TRUE(harness::PumpUntil([&] { return TraceHasBox("There is no play list to load yet"); }, 5000))
      << ReadFileText(Trace());

  SendMessageA(window_, WM_COMMAND, kAddAllCommand, 0);
  const std::vector<std::string> all = {Shown("a.jpg"), Shown("b.jpg"), Shown("c.mp3"), Shown("d e.txt")};
  ASSERT_EQ(ListBoxTexts(collection_), all);

  // The save box starts with the default list's name; a name typed with the
  // extension and blanks gets one extension.
  HWND box = OpenBox(kSaveCommand);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(CaptionOf(box), "Save the collection as a play list");
  EXPECT_EQ(harness::WindowText(EditOf(GetDlgItem(box, kListId))), "collection.upl");
  EXPECT_TRUE(ComboBoxTexts(GetDlgItem(box, kListId)).empty());
  SendMessageA(GetDlgItem(box, 3), BM_CLICK, 0, 0);  // cancel
  ASSERT_TRUE(WaitUntilGone(box));
  EXPECT_TRUE(IsWindowEnabled(window_));

  SaveAs("  holiday.UPL");
  const std::string holiday = UserFolder() + "holiday.upl";
  ASSERT_TRUE(harness::PumpUntil([&] { return Exists(holiday); }, 5000));
  std::string expected;
  for (const std::string& entry : all) expected += entry.substr(1) + "\r\n";
  const std::string saved = ReadFileText(holiday);
  EXPECT_EQ(saved, expected);
  EXPECT_FALSE(Exists(holiday + ".new"));

  // The burner is told the list's name as the volume label.
  SendMessageA(window_, WM_COMMAND, kBurnCommand, 0);
  std::vector<ReceivedLine> burner = WaitForReceiverLog(BurnerLog(), 5);
  ASSERT_EQ(burner.size(), 5u);
  EXPECT_EQ(burner[2].kind, "25");
  EXPECT_EQ(burner[2].text, "holiday");

  // Two files gone: loading shows the others, in the list's order, and
  // leaves the list file as it was.
  const std::string b = fixture_ + "b.jpg", d = fixture_ + "d e.txt";
  ASSERT_TRUE(MoveFileA(b.c_str(), (b + ".away").c_str()));
  ASSERT_TRUE(MoveFileA(d.c_str(), (d + ".away").c_str()));
  ChooseInOpenBox("holiday.upl", 2);
  EXPECT_TRUE(harness::PumpUntil(
      [&] { return ListBoxTexts(collection_) == std::vector<std::string>{Shown("a.jpg"), Shown("c.mp3")}; }, 5000))
      << ListBoxTexts(collection_).size();
  EXPECT_EQ(ReadFileText(holiday), saved);

  // Back again: all four load, and saving them over the list (Return in the
  // box, "yes" to replacing it) writes the same bytes.
  ASSERT_TRUE(MoveFileA((b + ".away").c_str(), b.c_str()));
  ASSERT_TRUE(MoveFileA((d + ".away").c_str(), d.c_str()));
  ChooseInOpenBox("holiday.upl", 2);
  EXPECT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(collection_) == all; }, 5000));
  WriteFileText(holiday, "old content\r\n");
  box = OpenBox(kSaveCommand);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(harness::WindowText(EditOf(GetDlgItem(box, kListId))), "holiday.upl");
  SetForegroundWindow(GetParent(box));
  SetFocus(EditOf(GetDlgItem(box, kListId)));
  harness::PumpMessagesFor(200);
  for (int attempt = 0; attempt < 3 && IsWindow(box); ++attempt) {
    PressKey(VK_RETURN);
    harness::PumpUntil([&] { return !IsWindow(box); }, 3000);
  }
  EXPECT_FALSE(IsWindow(box)) << "Return did not save";
  EXPECT_TRUE(harness::PumpUntil([&] { return ReadFileText(holiday) == saved; }, 5000)) << ReadFileText(holiday);
  EXPECT_TRUE(TraceHasBox("holiday.upl already exists.|Replace it?")) << ReadFileText(Trace());

  CloseBrowser(window_, browser_);
}

// Lists that name missing files, "@path@" lines, Escape, a refused
// replacement and the delete button.
TEST_F(ListFileTest, OddListsAndAnswers) {
  // Answers: "no" to replacing, then the warning of the list whose files
  // are all gone.
  ASSERT_NE(Start("2;1"), nullptr);
  CreateDirectoryA(UserFolder().c_str(), nullptr);
  const std::string gone = UserFolder() + "gone.upl";
  const std::string goneBytes = fixture_ + "never there.jpg\r\n\r\nc:\\nowhere\\x.mp3\r\n";
  WriteFileText(gone, goneBytes);
  const std::string shipped = UserFolder() + "shipped.upl";
  WriteFileText(shipped, "@path@orbmedia.SYS\n  " + fixture_ + "c.mp3  \n");

  // "@path@" is the program folder in lower case; blanks around a line go.
  ChooseInOpenBox("shipped.upl", 2);
  std::vector<std::string> expected = {" " + Lower(program_.path("")) + "orbmedia.SYS", " " + fixture_ + "c.mp3"};
  EXPECT_TRUE(harness::PumpUntil([&] { return ListBoxTexts(collection_) == expected; }, 5000));

  // Escape closes the save box without saving.
  HWND box = OpenBox(kSaveCommand);
  ASSERT_NE(box, nullptr);
  HWND edit = EditOf(GetDlgItem(box, kListId));
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("escaped"));
  SetForegroundWindow(GetParent(box));
  SetFocus(edit);
  harness::PumpMessagesFor(200);
  for (int attempt = 0; attempt < 3 && IsWindow(box); ++attempt) {
    PressKey(VK_ESCAPE);
    harness::PumpUntil([&] { return !IsWindow(box); }, 3000);
  }
  EXPECT_FALSE(IsWindow(box)) << "Escape did not close the box";
  harness::PumpMessagesFor(300);
  EXPECT_FALSE(Exists(UserFolder() + "escaped.upl"));
  EXPECT_TRUE(IsWindowEnabled(window_));

  // Saving over an existing list answered "no" leaves it untouched.
  SaveAs("gone");
  harness::PumpMessagesFor(500);
  EXPECT_EQ(ReadFileText(gone), goneBytes);

  // A list none of whose files exists: warned, the collection emptied, the
  // list kept for when its drive is back.
  ChooseInOpenBox("gone.upl", 2);
  EXPECT_TRUE(harness::PumpUntil([&] { return TraceHasBox("gone.upl names no file that is still there."); }, 5000))
      << ReadFileText(Trace());
  EXPECT_TRUE(ListBoxTexts(collection_).empty());
  EXPECT_EQ(ReadFileText(gone), goneBytes);

  // The open box's cancel changes nothing; its delete button takes the
  // list away.
  ChooseInOpenBox("gone.upl", 4);
  EXPECT_TRUE(Exists(gone));
  ChooseInOpenBox("gone.upl", 3);
  EXPECT_TRUE(harness::PumpUntil([&] { return !Exists(gone); }, 5000));

  CloseBrowser(window_, browser_);
  RemoveTrashed("gone.upl");
}

}  // namespace
