// The file picker the programs compile in, under Wine, driven from inside
// its own loop by a thread timer (picker_test_support.h): what it lists of
// a fixture folder, what its buttons, keys, list and frame return, and how
// it leaves the program's loop and its owner.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chooser.h"
#include "core/text_rules.h"
#include "file_picker.h"
#include "folder_tree.h"
#include "picker_exports.h"
#include "picker_test_support.h"

namespace {

using picker::FilePickerArgs;
using picker::Store;
using picker_test::ClickButton;
using picker_test::FindDialog;
using picker_test::Fixture;
using picker_test::FrameOf;
using picker_test::ListItems;
using picker_test::PressKey;
using picker_test::SelectItem;
using picker_test::Step;
using picker_test::StepDriver;
using picker_test::WindowTextOf;

using Names = std::vector<std::string>;

class PickerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    for (Store store : {Store::kHiddenExtensions, Store::kListedExtensions, Store::kFilterChoice}) {
      picker::SetStore(store, "");
    }
    while (picker::ExchangeMultiRequest(0) != 0) {
    }
    // Not shown: the picker centres on it and disables it all the same, and
    // a shown window costs Wine a wait for the display when it goes.
    owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 100, 100, 600, 400, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner_, nullptr);
  }
  void TearDown() override {
    if (IsWindow(owner_)) DestroyWindow(owner_);
    // The frames of closed dialogs go at the next messages.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }

  FilePickerArgs Args(const std::string& pattern) const {
    FilePickerArgs args;
    args.owner = owner_;
    args.start = fixture_.folder() + pattern;
    args.title = "#Open audio";
    args.filters = "Audio|*.mp3;*.wav|Text|*.txt|All files|*.*";
    args.buttons = "Cancel|Open";
    args.listLabel = "Files";
    args.filterLabel = "Types";
    return args;
  }

  // The files the fixture lists for the audio patterns.
  Names AudioNames() const {
    if (fixture_.attributesHeld()) return {"a.mp3", "b.wav", "readonly.mp3"};
    // A file system that keeps no hidden or system attribute shows those
    // files as plain ones.
    return {"a.mp3", "b.wav", "hidden.mp3", "readonly.mp3", "system.mp3"};
  }

  std::string Lower(const std::string& text) const { return suite::LowerAscii(text); }

  HWND owner_ = nullptr;
  Fixture fixture_;
};

// Waits for the dialog, then hands it to `then`.
Step OnDialog(HWND* dialog, std::function<void(HWND)> then = nullptr) {
  return [dialog, then] {
    *dialog = FindDialog();
    if (*dialog == nullptr) return false;
    if (then) then(*dialog);
    return true;
  };
}

TEST_F(PickerDialog, ListsTheFiltersFilesAndConfirmsTheSelection) {
  if (!fixture_.attributesHeld()) std::printf("note: hidden and system attributes are not kept here\n");
  FilePickerArgs args = Args("*.mp3;*.wav");
  args.fieldLabel = "Path";
  HWND dialog = nullptr;
  Names listed;
  std::string title, pathShown;
  LRESULT filterIndex = -2;
  bool ownerDisabled = false;
  StepDriver driver({OnDialog(&dialog,
                              [&](HWND d) {
                                listed = ListItems(GetDlgItem(d, 2));
                                title = WindowTextOf(FrameOf(d));
                                filterIndex = SendMessageA(GetDlgItem(d, 3), CB_GETCURSEL, 0, 0);
                                ownerDisabled = !IsWindowEnabled(owner_);
                              }),
                     [&] {
                       SelectItem(dialog, 1);
                       pathShown = WindowTextOf(GetDlgItem(dialog, 4));
                       return true;
                     },
                     [&] {
                       ClickButton(dialog, 2);
                       return true;
                     }});
  std::string result = "untouched", name = "kept";
  EXPECT_EQ(picker::ChooseFiles(args, &result, &name), 2);
  EXPECT_FALSE(driver.timedOut());
  EXPECT_EQ(listed, AudioNames());
  EXPECT_EQ(title, "Open audio");
  EXPECT_EQ(filterIndex, 0);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(pathShown, " " + Lower(fixture_.path("b.wav")));
  EXPECT_EQ(result, fixture_.path("b.wav"));
  EXPECT_EQ(name, "kept");
  EXPECT_EQ(picker::GetStore(Store::kFilterChoice), "*.mp3;*.wav");
  EXPECT_EQ(FindDialog(), nullptr);
}

TEST_F(PickerDialog, FilterBoxListsItsPatternsAndCancelKeepsTheLastPath) {
  HWND dialog = nullptr;
  Names all, text;
  auto choose = [&](int index) {
    HWND box = GetDlgItem(dialog, 3);
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
  };
  StepDriver driver({OnDialog(&dialog),
                     [&] {
                       choose(2);
                       all = ListItems(GetDlgItem(dialog, 2));
                       choose(1);
                       text = ListItems(GetDlgItem(dialog, 2));
                       return true;
                     },
                     [&] {
                       ClickButton(dialog, 1);
                       return true;
                     }});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
  Names expectedAll = {"a.mp3", "b.wav", "c.txt", "noext", "readonly.mp3"};
  if (!fixture_.attributesHeld()) expectedAll = {"a.mp3", "b.wav", "c.txt", "hidden.mp3", "noext", "readonly.mp3", "system.mp3"};
  EXPECT_EQ(all, expectedAll);
  EXPECT_EQ(text, Names{"c.txt"});
  // Cancelling still leaves the last selected path; callers ignore it.
  EXPECT_EQ(result, fixture_.path("c.txt"));
  EXPECT_EQ(picker::GetStore(Store::kFilterChoice), "*.txt");
}

TEST_F(PickerDialog, MultiSelectionReturnsEverySelectedPath) {
  EXPECT_EQ(picker::ExchangeMultiRequest(1), 0);
  HWND dialog = nullptr;
  bool isMulti = false;
  StepDriver driver({OnDialog(&dialog,
                              [&](HWND d) {
                                HWND list = GetDlgItem(d, 2);
                                isMulti = (GetWindowLongA(list, GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
                                SendMessageA(list, LB_SETSEL, FALSE, -1);
                                SendMessageA(list, LB_SETSEL, TRUE, 0);
                                SendMessageA(list, LB_SETSEL, TRUE, 2);
                              }),
                     [&] {
                       ClickButton(dialog, 2);
                       return true;
                     }});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 2);
  EXPECT_TRUE(isMulti);
  const Names names = AudioNames();
  EXPECT_EQ(result, fixture_.path(names[0]) + "|" + fixture_.path(names[2]) + "|");
  EXPECT_EQ(picker::ExchangeMultiRequest(0), 0) << "the dialog took the request";
}

TEST_F(PickerDialog, DoubleClickReturnsOnlyThatItem) {
  EXPECT_EQ(picker::ExchangeMultiRequest(1), 0);
  HWND dialog = nullptr;
  StepDriver driver({OnDialog(&dialog, [&](HWND d) {
    HWND list = GetDlgItem(d, 2);
    SendMessageA(list, LB_SETSEL, TRUE, 0);
    SendMessageA(list, LB_SETSEL, TRUE, 2);
    SendMessageA(list, LB_SETCARETINDEX, 1, FALSE);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(2, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(2, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  })});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 2);
  EXPECT_EQ(result, fixture_.path("b.wav"));
  EXPECT_EQ(name, "b.wav");
}

// In address mode the field takes a typed name or address; Enter there
// goes to the confirm button, and Enter on it confirms.
TEST_F(PickerDialog, AddressModeCompletesTheTypedName) {
  struct Case {
    const char* label;
    std::string typed;
    std::string name;
  };
  const Case cases[] = {
      {"a name", "song.mp3", fixture_.path("song.mp3")},
      {"an address", "http://radio.example/live", "http://radio.example/live"},
      {"nothing", "", fixture_.folder()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FilePickerArgs args = Args("*.mp3;*.wav");
    args.mode = 1;
    args.fieldLabel = "Name or address";
    HWND dialog = nullptr;
    std::string shown;
    bool editHadFocus = false, buttonHadFocus = false;
    StepDriver driver({OnDialog(&dialog,
                                [&](HWND d) {
                                  HWND edit = GetDlgItem(d, 4);
                                  shown = WindowTextOf(edit);
                                  editHadFocus = GetFocus() == edit;
                                  SetWindowTextA(edit, c.typed.c_str());
                                  PressKey(VK_RETURN);
                                }),
                       [&] {
                         buttonHadFocus = GetFocus() == GetDlgItem(dialog, 6);
                         PressKey(VK_RETURN);
                         return true;
                       }});
    std::string result;
    std::string name = "http://";
    EXPECT_EQ(picker::ChooseFiles(args, &result, &name), 2);
    EXPECT_EQ(shown, "http://");
    EXPECT_TRUE(editHadFocus);
    EXPECT_TRUE(buttonHadFocus);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(result, fixture_.path("a.mp3"));
  }
}

// Escape puts the focus on the cancel button without closing; Enter there
// cancels.
TEST_F(PickerDialog, EscapeGoesToCancelAndEnterCancels) {
  HWND dialog = nullptr;
  bool stillOpen = false, cancelHasFocus = false;
  StepDriver driver({OnDialog(&dialog, [&](HWND d) { SetFocus(GetDlgItem(d, 2)); }),
                     [&] {
                       PressKey(VK_ESCAPE);
                       return true;
                     },
                     [&] {
                       stillOpen = FindDialog() == dialog;
                       cancelHasFocus = GetFocus() == GetDlgItem(dialog, 5);
                       PressKey(VK_RETURN);
                       return true;
                     }});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(cancelHasFocus);
}

TEST_F(PickerDialog, FrameCloseEndsLikeCancel) {
  struct Case {
    const char* label;
    void (*close)(HWND frame);
  };
  const Case cases[] = {
      {"close box",
       [](HWND frame) {
         RECT rect;
         GetWindowRect(frame, &rect);
         // The close box sits at the right end of the caption.
         const LRESULT hit = SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(rect.right - 12, rect.top + 12));
         if (hit == HTCLOSE) SendMessageA(frame, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(rect.right - 12, rect.top + 12));
       }},
      {"Alt+F4", [](HWND frame) { PostMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    HWND dialog = nullptr;
    HWND frame = nullptr;
    StepDriver driver({OnDialog(&dialog, [&](HWND d) {
      frame = FrameOf(d);
      c.close(frame);
    })});
    std::string result;
    std::string name;
    EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
    EXPECT_FALSE(driver.timedOut());
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    EXPECT_FALSE(IsWindow(frame)) << "the frame goes with its dialog";
  }
}

TEST_F(PickerDialog, TabWalksTheControlsAndWraps) {
  HWND dialog = nullptr;
  std::vector<int> forward, backward;
  auto focusId = [] { return GetDlgCtrlID(GetFocus()); };
  std::vector<Step> steps = {OnDialog(&dialog, [&](HWND d) { SetFocus(GetDlgItem(d, 2)); })};
  for (int i = 0; i < 4; ++i) {
    steps.push_back([&] {
      PressKey(VK_TAB);
      return true;
    });
    steps.push_back([&] {
      forward.push_back(focusId());
      return true;
    });
  }
  steps.push_back([&] {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    PressKey(VK_TAB);
    return true;
  });
  steps.push_back([&] {
    backward.push_back(focusId());
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    ClickButton(dialog, 1);
    return true;
  });
  StepDriver driver(steps);
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
  // Compact: the list, the filter box, then the buttons; back to the list.
  EXPECT_EQ(forward, (std::vector<int>{3, 5, 6, 2}));
  EXPECT_EQ(backward, (std::vector<int>{6}));
}

// What the folder tree answers FTM_GETPATH with in the next test: the
// bytes of the path, without a terminating zero, and their count.
std::string g_treePath;
WNDPROC g_treeProc = nullptr;

LRESULT CALLBACK ReportingTree(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != suite::FTM_GETPATH) return CallWindowProcA(g_treeProc, window, message, wParam, lParam);
  const size_t count = std::min<size_t>(g_treePath.size(), wParam);
  std::memcpy(reinterpret_cast<char*>(lParam), g_treePath.data(), count);
  return static_cast<LRESULT>(count);
}

// The tree reports a folder without its final backslash (drive roots
// keep theirs), and nothing for a virtual folder: the picker lists that
// folder's files, or keeps its list; Tab from inside the tree goes on to
// the list.
TEST_F(PickerDialog, TreeSelectionListsThatFolder) {
  struct Case {
    const char* label;
    std::string reported;
    Names listed;
    std::string result;
  };
  const Case cases[] = {
      {"a folder", fixture_.path("sub"), {"d.mp3"}, fixture_.path("sub\\d.mp3")},
      {"a virtual folder", "", AudioNames(), fixture_.path("a.mp3")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    FilePickerArgs args = Args("*.mp3;*.wav");
    args.treeLabel = "Folders";
    HWND dialog = nullptr;
    Names listed;
    int afterTab = 0;
    bool treeMade = false;
    StepDriver driver({OnDialog(&dialog,
                                [&](HWND d) {
                                  HWND tree = GetDlgItem(d, 1);
                                  treeMade = tree != nullptr;
                                  g_treePath = c.reported;
                                  g_treeProc = reinterpret_cast<WNDPROC>(
                                      SetWindowLongPtrA(tree, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ReportingTree)));
                                  HWND inner = GetDlgItem(tree, 1);
                                  SendMessageA(d, WM_COMMAND, MAKEWPARAM(1, suite::FTN_SELCHANGED),
                                               reinterpret_cast<LPARAM>(inner));
                                  listed = ListItems(GetDlgItem(d, 2));
                                  SetFocus(inner);
                                  PressKey(VK_TAB);
                                }),
                       [&] {
                         afterTab = GetDlgCtrlID(GetFocus());
                         ClickButton(dialog, 2);
                         return true;
                       }});
    std::string result;
    std::string name;
    EXPECT_EQ(picker::ChooseFiles(args, &result, &name), 2);
    EXPECT_TRUE(treeMade);
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(afterTab, 2);
  }
}

// Mode 2 lists names without their extension, and what comes back is the
// file that was listed, with its own extension; the next dialog of mode 0
// lists whole names again.
TEST_F(PickerDialog, ModeTwoReturnsTheListedFile) {
  fixture_.Write("sub\\a.xyz");
  fixture_.Write("sub\\b.abc");
  FilePickerArgs args = Args("sub\\*.xyz;*.abc");
  args.mode = 2;
  HWND dialog = nullptr;
  Names listed;
  StepDriver driver({OnDialog(&dialog, [&](HWND d) { listed = ListItems(GetDlgItem(d, 2)); }),
                     [&] {
                       ClickButton(dialog, 2);
                       return true;
                     }});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(args, &result, &name), 2);
  EXPECT_EQ(listed, (Names{"a", "b"}));
  EXPECT_EQ(result, fixture_.path("sub\\a.xyz"));

  FilePickerArgs browse = Args("sub\\*.xyz;*.abc");
  Names second;
  StepDriver again({OnDialog(&dialog, [&](HWND d) {
    second = ListItems(GetDlgItem(d, 2));
    ClickButton(d, 1);
  })});
  EXPECT_EQ(picker::ChooseFiles(browse, &result, &name), 1);
  EXPECT_EQ(second, (Names{"a.xyz", "b.abc"}));
}

TEST_F(PickerDialog, PreselectPathSelectsItsItemExactly) {
  struct Case {
    const char* label;
    std::string name;
    LRESULT selected;
    std::string result;
  };
  const Case cases[] = {
      {"second item", fixture_.path("b.wav") + "|song", 1, fixture_.path("b.wav")},
      {"a capital letter selects nothing", fixture_.path("B.wav") + "|song", 0, fixture_.path("a.mp3")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    HWND dialog = nullptr;
    LRESULT selected = -2;
    StepDriver driver({OnDialog(&dialog, [&](HWND d) {
      selected = SendMessageA(GetDlgItem(d, 2), LB_GETCURSEL, 0, 0);
      ClickButton(d, 2);
    })});
    std::string result;
    std::string name = c.name;
    EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 2);
    EXPECT_EQ(selected, c.selected);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(name, "song");
  }
}

// The exports a program gives: the stores through OLE byte strings, and
// CHOOSERF with the picker's thirteen arguments.
TEST_F(PickerDialog, ExportedStoresSteerTheListing) {
  picker::TextRef hidden(".WAV||");
  EXPECT_EQ(PickerCHOOSERFILTER(hidden.ref(), 1), 1);
  picker::TextRef readBack;
  EXPECT_EQ(PickerCHOOSERFILTER(readBack.ref(), 0), 1);
  EXPECT_EQ(readBack.str(), ".WAV|");

  PickerDialogProc dialogProc = PickerCHOOSERF;
  auto run = [&](Names* listed) {
    HWND dialog = nullptr;
    StepDriver driver({OnDialog(&dialog, [&](HWND d) {
      *listed = ListItems(GetDlgItem(d, 2));
      ClickButton(d, 2);
    })});
    picker::TextRef result("in");
    picker::TextRef name("");
    const std::string start = fixture_.folder() + "*.*";
    const int32_t button = dialogProc(owner_, start.c_str(), "Open", "All|*.*", "Cancel|Open", "Files", "", "Types", "",
                                      "", 0, result.ref(), name.ref());
    EXPECT_EQ(button, 2);
    return result.str();
  };
  Names listed;
  EXPECT_EQ(run(&listed), fixture_.path("a.mp3"));
  Names expected = {"a.mp3", "c.txt", "noext", "readonly.mp3"};
  if (!fixture_.attributesHeld()) expected = {"a.mp3", "c.txt", "hidden.mp3", "noext", "readonly.mp3", "system.mp3"};
  EXPECT_EQ(listed, expected) << "the hidden extension is hidden in any case";

  // A listed-extension text wins over the hidden one; files without an
  // extension then go too.
  picker::TextRef listedText(".mp3.txt.");
  EXPECT_EQ(PickerSKUSEFILTER(listedText.ref(), 1), 1);
  EXPECT_EQ(picker::GetStore(Store::kListedExtensions), ".mp3|.txt|");
  run(&listed);
  expected = {"a.mp3", "c.txt", "readonly.mp3"};
  if (!fixture_.attributesHeld()) expected = {"a.mp3", "c.txt", "hidden.mp3", "readonly.mp3", "system.mp3"};
  EXPECT_EQ(listed, expected);

  picker::TextRef empty("");
  EXPECT_EQ(PickerSKUSEFILTER(empty.ref(), 1), 1);
  EXPECT_EQ(PickerCHOOSERFILTER(empty.ref(), 1), 1);
  EXPECT_EQ(picker::GetStore(Store::kHiddenExtensions), "");
  EXPECT_EQ(PickerCHOOSERMULTI(1), 0);
  EXPECT_EQ(PickerCHOOSERMULTI(5), -1);
  EXPECT_EQ(PickerCHOOSERMULTI(0), 0);
}

// A WM_QUIT that arrives while the dialog is open (the program was told
// to close) ends the dialog as cancelled and still reaches the program's
// own loop; so does the owner going away.
TEST_F(PickerDialog, QuitWhileOpenReachesTheProgramsLoop) {
  HWND dialog = nullptr;
  StepDriver driver({OnDialog(&dialog, [](HWND) { PostQuitMessage(7); })});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
  EXPECT_FALSE(driver.timedOut());
  MSG message = {};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
  EXPECT_TRUE(IsWindowEnabled(owner_));
}

TEST_F(PickerDialog, OwnerGoingEndsTheDialog) {
  HWND dialog = nullptr;
  StepDriver driver({OnDialog(&dialog, [&](HWND) { DestroyWindow(owner_); })});
  std::string result;
  std::string name;
  EXPECT_EQ(picker::ChooseFiles(Args("*.mp3;*.wav"), &result, &name), 1);
  EXPECT_FALSE(driver.timedOut());
  EXPECT_EQ(FindDialog(), nullptr);
}

}  // namespace
