// chooser.dll loaded by name and called as the media player calls it:
// every export looked up, CHOOSERF with fourteen arguments through the one
// declaration caller and library share, the save flag's result.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "chooser.h"
#include "picker_test_support.h"

namespace {

using picker_test::ClickButton;
using picker_test::FindDialog;
using picker_test::Fixture;
using picker_test::PressKey;
using picker_test::Step;
using picker_test::StepDriver;

class ChooserDll : public ::testing::Test {
 protected:
  void SetUp() override {
    library_ = LoadLibraryA("CHOOSER.DLL");
    ASSERT_NE(library_, nullptr);
    dialog_ = reinterpret_cast<ChooserDialogProc>(GetProcAddress(library_, "CHOOSERF"));
    multi_ = reinterpret_cast<ChooserMultiProc>(GetProcAddress(library_, "CHOOSERMULTI"));
    filter_ = reinterpret_cast<ChooserStoreProc>(GetProcAddress(library_, "CHOOSERFILTER"));
    thumbs_ = reinterpret_cast<ChooserStoreProc>(GetProcAddress(library_, "SKSHOWTHUMB"));
    ASSERT_NE(dialog_, nullptr);
    ASSERT_NE(multi_, nullptr);
    ASSERT_NE(filter_, nullptr);
    ASSERT_NE(thumbs_, nullptr);
    for (const char* name : {"SKUSEFILTER", "SKFILTERCHOICE", "CHOOSERINFILE", "CHOOSERLASTFILE", "DIRLISTPROC",
                             "DLDIALOGMESSAGE"}) {
      EXPECT_NE(GetProcAddress(library_, name), nullptr) << name;
    }
    owner_ = CreateWindowExA(0, "STATIC", "player", WS_POPUP | WS_VISIBLE, 50, 50, 640, 480, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  }
  void TearDown() override {
    if (owner_ != nullptr) DestroyWindow(owner_);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    if (library_ != nullptr) FreeLibrary(library_);
  }

  HMODULE library_ = nullptr;
  ChooserDialogProc dialog_ = nullptr;
  ChooserMultiProc multi_ = nullptr;
  ChooserStoreProc filter_ = nullptr;
  ChooserStoreProc thumbs_ = nullptr;
  HWND owner_ = nullptr;
  Fixture fixture_;
};

// The media player's open command: the picture extensions for thumbnails,
// several files, its hidden extensions, then the nine texts, mode 1, the
// list and its extra text by reference and a final 0.
TEST_F(ChooserDll, OpensAsTheMediaPlayerCallsIt) {
  picker::TextRef pictures(".jpg.bmp.");
  EXPECT_EQ(thumbs_(pictures.ref(), 1), 1);
  picker::TextRef readBack;
  EXPECT_EQ(thumbs_(readBack.ref(), 0), 1);
  EXPECT_EQ(readBack.str(), ".jpg.bmp.");
  EXPECT_EQ(multi_(1), 0);
  picker::TextRef hidden(".txt|");
  EXPECT_EQ(filter_(hidden.ref(), 1), 1);

  HWND dialog = nullptr;
  StepDriver driver({[&] {
                       dialog = FindDialog();
                       if (dialog == nullptr) return false;
                       HWND list = GetDlgItem(dialog, 2);
                       SendMessageA(list, LB_SETSEL, TRUE, 0);
                       SendMessageA(list, LB_SETSEL, TRUE, 1);
                       return true;
                     },
                     [&] {
                       ClickButton(dialog, 2);
                       return true;
                     }});
  picker::TextRef list("C:\\old.avi");
  picker::TextRef extra("http://");
  const std::string start = fixture_.folder() + "*.*";
  const int32_t result = dialog_(owner_, start.c_str(), "Open media", "All files|*.*", "Cancel|Open", "Files",
                                 "Folders", "Types", "Preview", "File name", 1, list.ref(), extra.ref(), 0);
  EXPECT_EQ(multi_(0), 0) << "the dialog took the request";
  EXPECT_EQ(result, 2);
  EXPECT_FALSE(driver.timedOut());
  EXPECT_EQ(list.str(), fixture_.path("a.mp3") + "|" + fixture_.path("b.wav") + "|");
  EXPECT_EQ(extra.str(), "http://");
  picker::TextRef none("");
  EXPECT_EQ(filter_(none.ref(), 1), 1);
}

// The save flag: a confirmed dialog gives the folder shown and the
// pattern in force, and the typed name completed with that folder.
TEST_F(ChooserDll, SaveFlagGivesTheFolderAndPattern) {
  HWND dialog = nullptr;
  StepDriver driver({[&] {
                       dialog = FindDialog();
                       if (dialog == nullptr) return false;
                       SetFocus(GetDlgItem(dialog, 4));
                       PressKey(VK_RETURN);
                       return true;
                     },
                     [&] {
                       PressKey(VK_RETURN);
                       return true;
                     }});
  picker::TextRef result;
  picker::TextRef name("holiday");
  const std::string start = fixture_.folder() + "*.TXT";
  EXPECT_EQ(dialog_(owner_, start.c_str(), "Save as", "Text|*.TXT|Bitmap|*.BMP", "Cancel|Save", "Files", "", "Types",
                    "", "Name", 1, result.ref(), name.ref(), 1),
            2);
  EXPECT_EQ(result.str(), fixture_.folder() + "*.TXT");
  EXPECT_EQ(name.str(), fixture_.path("holiday"));
}

// Null results are taken as empty texts, and the dialog still runs.
TEST_F(ChooserDll, NullReferencesAreEmptyTexts) {
  StepDriver driver({[&] {
    HWND dialog = FindDialog();
    if (dialog == nullptr) return false;
    ClickButton(dialog, 1);
    return true;
  }});
  BSTR list = nullptr;
  BSTR name = nullptr;
  const std::string start = fixture_.folder() + "*.wav";
  EXPECT_EQ(dialog_(nullptr, start.c_str(), nullptr, nullptr, "Cancel|Open", nullptr, nullptr, nullptr, nullptr,
                    nullptr, 0, &list, &name, 0),
            1);
  EXPECT_EQ(picker::TextRef::Read(list), fixture_.path("b.wav"));
  EXPECT_EQ(picker::TextRef::Read(name), "");
  SysFreeString(list);
  SysFreeString(name);
}

}  // namespace
