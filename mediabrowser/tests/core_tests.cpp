// Tests of the media browser's portable start-up rules: the command line,
// numbers and names from the text table, module-menu trimming, skin labels,
// media types, the settings line and association entries.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/browser_command_line.h"
#include "core/config_file.h"
#include "core/file_filter.h"
#include "core/file_list_rules.h"
#include "core/path_names.h"
#include "core/startup_rules.h"
#include "core/text_rules.h"
#include "core/window_layout.h"

namespace {

using browser::CommandLineKind;

TEST(BrowserCommandLine, KindsAndFileLists) {
  struct Case {
    const char* name;
    std::string raw;
    CommandLineKind kind;
    std::string result;  // item list or skin file
  };
  const Case cases[] = {
      {"empty", "", CommandLineKind::Empty, ""},
      {"blanks only", "   ", CommandLineKind::Empty, ""},
      {"device restart any case", " UsbDetected ", CommandLineKind::UsbDetected, ""},
      {"skin file", "C:\\Skins\\Blue\\Blue.SKS", CommandLineKind::SkinFile, "c:\\skins\\blue\\blue.sks"},
      {"one unquoted path", "C:\\Media\\a.avi", CommandLineKind::Files, "c:\\media\\a.avi"},
      {"quoted path with blank, then a second path", "\"C:\\My Media\\a b.avi\" C:\\b.wav",
       CommandLineKind::Files, "c:\\my media\\a b.avi|c:\\b.wav"},
      {"unquoted blank in a folder name stays one name", "C:\\My Media\\a.avi",
       CommandLineKind::Files, "c:\\my media\\a.avi"},
      {"two unquoted full paths", "C:\\My Media\\a.avi D:\\b.wav", CommandLineKind::Files,
       "c:\\my media\\a.avi|d:\\b.wav"},
      {"two quoted paths", "\"c:\\a b\\1.jpg\" \"c:\\c d\\2.jpg\"", CommandLineKind::Files,
       "c:\\a b\\1.jpg|c:\\c d\\2.jpg"},
      {"unpaired quote kept", "\"c:\\a.jpg", CommandLineKind::Files, "\"c:\\a.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::BrowserCommandLine got = browser::ParseBrowserCommandLine(c.raw);
    EXPECT_EQ(got.kind, c.kind);
    EXPECT_EQ(c.kind == CommandLineKind::SkinFile ? got.skinFile : got.itemList, c.result);
  }
}

TEST(StartupRules, ItemHeightIsClamped) {
  struct Case { std::string entry; int32_t height; };
  const Case cases[] = {{"20", 50}, {"500", 200}, {"abc", 50}, {"", 50}, {"96", 96}, {" 120px", 120},
                        {"-7", 50}, {"99999999999", 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    EXPECT_EQ(browser::ItemHeightFromEntry(c.entry), c.height);
  }
}

TEST(StartupRules, NamesAndPaths) {
  EXPECT_EQ(suite::BasePath("C:\\Orb\\", "orbmedia.exe"), "C:\\Orb\\orbmedia");
  EXPECT_EQ(suite::BasePath("C:\\Orb\\", "my.media.exe"), "C:\\Orb\\my.media");
  EXPECT_EQ(suite::BasePath("C:\\Orb\\", "orbmedia"), "C:\\Orb\\orbmedia");
  EXPECT_EQ(suite::NameBeforeFirstDot("my.media.exe"), "my");
  EXPECT_EQ(browser::UserFolderFromEntry("@PATH@User\\", "C:\\Orb\\"), "C:\\Orb\\user");
  EXPECT_EQ(browser::UserFolderFromEntry("@path@user", "C:\\Program Files\\Orb\\"),
            "C:\\Program Files\\Orb\\user");
}

TEST(StartupRules, ModuleMenuLosesMissingPrograms) {
  struct Case {
    const char* name;
    std::string definition;
    std::map<int32_t, std::string> actions;
    int32_t firstChecked;
    std::set<std::string> installed;
    std::string expectedDefinition;
    std::map<int32_t, std::string> expectedActions;
  };
  const Case cases[] = {
      {"all installed", "Play|Tool|View", {{1001, "p.exe,P"}, {1002, "t.exe,T"}, {1003, "v.exe,V"}}, 1,
       {"p.exe", "t.exe", "v.exe"}, "Play|Tool|View",
       {{1001, "p.exe,P"}, {1002, "t.exe,T"}, {1003, "v.exe,V"}}},
      {"middle missing moves the rest up", "Play|Tool|View",
       {{1001, "p.exe,P"}, {1002, "t.exe,T"}, {1003, "v.exe,V"}}, 1, {"p.exe", "v.exe"}, "Play|View",
       {{1001, "p.exe,P"}, {1002, "v.exe,V"}}},
      {"items before the first checked stay", "Open|-|Tool|View|",
       {{1001, "OPEN"}, {1003, "t.exe,T"}, {1004, "v.exe,V"}, {1101, "other menu"}}, 3, {"v.exe"},
       "Open|-|View", {{1001, "OPEN"}, {1003, "v.exe,V"}, {1101, "other menu"}}},
      {"none installed", "A|B", {{1001, "a.exe,A"}, {1002, "b.exe,B"}}, 1, {}, "", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::MenuTrim got = browser::TrimModuleMenu(
        c.definition, c.actions, 10, c.firstChecked,
        [&](const std::string& program) { return c.installed.count(program) > 0; });
    EXPECT_EQ(got.definition, c.expectedDefinition);
    EXPECT_EQ(got.actions, c.expectedActions);
  }
}

TEST(StartupRules, SkinLabelsAndMediaTypes) {
  EXPECT_EQ(browser::SkinMenuLabel("LUMINAR.SKS"), "Luminar");
  EXPECT_EQ(browser::SkinMenuLabel("blue sky.Sks"), "Blue sky");
  EXPECT_EQ(browser::SkinMenuLabel("9lives.sks"), "9lives");

  std::vector<browser::MediaType> types = browser::ParseMediaTypes("Video|*.avi|Audio|*.wav|Odd");
  ASSERT_EQ(types.size(), 3u);
  EXPECT_EQ(types[1].name, "Audio");
  EXPECT_EQ(types[1].pattern, "*.wav");
  EXPECT_EQ(types[2].pattern, "");
  EXPECT_EQ(browser::SelectedMediaType(types, "*.wav"), 1);
  EXPECT_EQ(browser::SelectedMediaType(types, ""), 2);
  EXPECT_EQ(browser::SelectedMediaType(types, "*.xyz"), -1);
  EXPECT_EQ(browser::SelectedMediaType({}, ""), -1);

  EXPECT_EQ(browser::FavouriteCandidates({"  C:\\a\\", "", "   ", "D:\\b"}),
            (std::vector<std::string>{"C:\\a\\", "D:\\b"}));
}

TEST(SettingsLine, NumbersCarryABlankOrAMinus) {
  browser::BrowserSettings s;
  s.left = 0;
  s.top = -3;
  s.width = 640;
  s.height = 480;
  s.folder = "C:\\Media\\";
  s.pattern = "*.avi;*.mpg";
  s.option809 = -1;
  s.noticeSeen = 0;
  s.option408 = -1;
  EXPECT_EQ(browser::FormatSettingsLine(s), " 0|-3| 640| 480|C:\\Media\\|*.avi;*.mpg|-1| 0|-1");
}

TEST(SettingsLine, ReadingRaisesPlacementToLimits) {
  struct Case {
    const char* name;
    std::string line;
    int32_t left, top, width, height;
    std::string folder;
    int32_t option809, noticeSeen, option408;
  };
  const Case cases[] = {
      {"negative and small", "-5| 10| 100| 100|C:\\x\\|*.*|-1| 0|-1", 0, 10, 320, 200, "C:\\x\\", -1, 0, -1},
      {"round trip", " 20| 30| 800| 600|D:\\|*.wav| 0|-1| 0", 20, 30, 800, 600, "D:\\", 0, -1, 0},
      {"missing fields read 0", " 7", 7, 0, 320, 200, "", 0, 0, 0},
      {"garbage", "abc|def", 0, 0, 320, 200, "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::BrowserSettings s = browser::ParseSettingsLine(c.line, 320, 200);
    EXPECT_EQ(s.left, c.left);
    EXPECT_EQ(s.top, c.top);
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
    EXPECT_EQ(s.folder, c.folder);
    EXPECT_EQ(s.option809, c.option809);
    EXPECT_EQ(s.noticeSeen, c.noticeSeen);
    EXPECT_EQ(s.option408, c.option408);
  }
}

TEST(Favourites, OneTrimmedFolderALine) {
  EXPECT_EQ(browser::FormatFavourites({" C:\\a ", "D:\\b\\"}), "C:\\a\r\nD:\\b\\\r\n");
}

TEST(Association, FourFieldsOnly) {
  browser::AssociationEntry entry;
  ASSERT_TRUE(browser::ParseAssociationEntry(" .UPL. ,Orb.List,@path@OrbPlay.exe,Orb list",
                                             "C:\\Orb\\", &entry));
  EXPECT_EQ(entry.extensionKey, ".upl");
  EXPECT_EQ(entry.identifier, "Orb.List");
  EXPECT_EQ(entry.command, "\"c:\\orb\\orbplay.exe\"");
  EXPECT_EQ(entry.description, "Orb list");
  ASSERT_TRUE(browser::ParseAssociationEntry("upl,Orb.List,,Orb list", "C:\\Orb\\", &entry));
  EXPECT_EQ(entry.command, "");
  EXPECT_FALSE(browser::ParseAssociationEntry("upl,Orb.List,x.exe", "C:\\", &entry));
  EXPECT_FALSE(browser::ParseAssociationEntry("upl,Orb.List,x.exe,d,e", "C:\\", &entry));
}

}  // namespace

namespace {

TEST(WindowLayout, WholeThumbnailColumnsOnTheRight) {
  struct Case {
    const char* name;
    browser::LayoutInput in;
    int32_t leftWidth, rightWidth, fileListHeight;
  };
  // cell = item height + 10; R = ((W - P) / cell) * cell + 4.
  const Case cases[] = {
      // W 760, P 200, cell 106: 5 columns = 534; h0 = 260 - 21 = 239,
      // rows = (478 - 85) / 106 = 3: 318 + 16 + 5.
      {"small screen", {760, 520, 96, 1024, 20, 16}, 226, 534, 339},
      // Wider than 1280: P 250, cell 60: (1000 - 250) / 60 = 12 columns = 724;
      // h0 = 350 - 21 = 329, rows = (658 - 85) / 60 = 9.
      {"wide screen", {1000, 700, 50, 1600, 20, 16}, 276, 724, 9 * 60 + 21},
      // Too low for one row: the list takes h0.
      {"low window", {600, 150, 96, 1024, 20, 16}, 600 - 322, 322, 75 - 21},
      // Too narrow for one column: one column anyway, the left panel shrinks to 0.
      {"narrow window", {80, 400, 96, 1024, 20, 16}, 0, 106, 2 * 106 + 21},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::BrowserLayout got = browser::ComputeBrowserLayout(c.in);
    EXPECT_EQ(got.leftWidth, c.leftWidth);
    EXPECT_EQ(got.rightWidth, c.rightWidth);
    EXPECT_EQ(got.fileList.height, c.fileListHeight);
    EXPECT_EQ(got.fileList.x, c.leftWidth + 1);
    // The tree fills the left panel between the two combo boxes.
    EXPECT_EQ(got.folderTree.y, c.in.comboHeight + 1);
    EXPECT_EQ(got.folderTree.height, std::max(0, c.in.clientHeight - 2 * c.in.comboHeight - 1));
    EXPECT_EQ(got.favouritesCombo.y + got.favouritesCombo.height, c.in.clientHeight);
    // Button rows and the collection list stack below the file list.
    EXPECT_EQ(got.buttonRowY, got.fileList.height + 2);
    EXPECT_EQ(got.secondList.y, got.buttonRowY + c.in.comboHeight + 2);
    EXPECT_EQ(got.lowerRowY, got.secondList.y + got.secondList.height + 2);
  }
}

TEST(WindowLayout, DriveLetterOfAVolumeMask) {
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0x1), 'A');
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0x4), 'C');
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0x2000010), 'E');
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0x2000000), 'Z');
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0), 0);
  EXPECT_EQ(browser::DriveLetterFromUnitMask(0xFC000000u), 0);
}

}  // namespace

namespace {

TEST(FileFilter, WhatTheFileListShows) {
  struct Case {
    const char* name;
    std::string pattern;
    std::string file;
    uint32_t attributes;
    bool taken;
  };
  const std::string hidden = ".obf;.kwd";
  const Case cases[] = {
      {"any file", "*.*", "Movie.AVI", 32, true},
      {"no extension, any type", "*.*", "readme", 128, true},
      {"side file hidden", "*.*", "photo.OBF", 32, false},
      {"dot name", "*.*", ".config", 32, false},
      {"folder", "*.*", "folder.avi", 16, false},
      {"hidden attribute", "*.*", "a.avi", 2, false},
      {"read-only archive", "*.*", "a.avi", 33, true},
      {"normal", "*.*", "a.avi", 128, true},
      {"system attribute", "*.*", "a.avi", 4, false},
      {"hidden archive", "*.*", "a.avi", 0x22, false},
      {"device", "*.*", "a.avi", 0x40, false},
      {"compressed archive", "*.*", "a.avi", 0x820, true},
      {"not content indexed", "*.*", "a.avi", 0x2020, true},
      {"temporary", "*.*", "a.avi", 0x100, true},
      {"encrypted read-only", "*.*", "a.avi", 0x4001, true},
      {"type allows", "*.avi;*.MPG", "b.mpg", 32, true},
      {"type does not allow", "*.avi;*.mpg", "c.wav", 32, false},
      {"no extension, typed list", "*.avi;*.mpg", "readme", 32, false},
      {"longer extension not matched", "*.jp;*.png", "d.jpg", 32, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::FileListFilter filter = browser::MakeFileListFilter(c.pattern, hidden);
    EXPECT_EQ(browser::FileListTakes(filter, c.file, c.attributes), c.taken);
  }
  browser::FileListFilter list = browser::MakeFileListFilter("*.avi;*.mpg;", "");
  EXPECT_EQ(list.mask, "*.*");
  EXPECT_EQ(list.allowed, "|*.avi|*.mpg|");
  EXPECT_EQ(browser::MakeFileListFilter("*.wav", "").mask, "*.wav");
  EXPECT_EQ(browser::MakeFileListFilter("", "").mask, "*.*");
}

TEST(FileFilter, StatusCountsFiles) {
  EXPECT_EQ(browser::FileCountStatus(0, "file(s) in", "\\c:\\media\\"), "0 file in c:\\media");
  EXPECT_EQ(browser::FileCountStatus(1, "file(s) in", "c:\\media\\"), "1 file in c:\\media");
  EXPECT_EQ(browser::FileCountStatus(12, "file(s) in", "c:\\media\\"), "12 files in c:\\media");
  EXPECT_EQ(browser::FileCountStatus(3, "items", "\\\\"), "3 items ");
}

}  // namespace

namespace {

TEST(TextRules, FolderCannotMoveIntoItself) {
  struct Case { const char* name; std::string source, target; bool inside; };
  const Case cases[] = {
      {"same folder", "C:\\Media\\", "c:\\media", true},
      {"sub-folder", "C:\\Media", "C:\\MEDIA\\Clips\\2024\\", true},
      {"sibling with the same start", "C:\\Media", "C:\\Media Old\\", false},
      {"parent", "C:\\Media\\Clips", "C:\\Media\\", false},
      {"other drive", "C:\\Media", "D:\\Media\\x", false},
      {"empty source", "", "C:\\x", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(suite::IsSameOrInsideFolder(c.source, c.target), c.inside);
  }
}

}  // namespace

namespace {

TEST(TextRules, PlaceholdersTakeTheirValuesInTurn) {
  EXPECT_EQ(suite::FillPlaceholders("Move|@|into|@?", '@', {"c:\\a", "d:\\b\\"}),
            "Move|c:\\a|into|d:\\b\\?");
  // A value holding the marker is not searched again; extra markers stay.
  EXPECT_EQ(suite::FillPlaceholders("@ and @ and @", '@', {"x@", "y"}), "x@ and y and @");
  EXPECT_EQ(suite::FillPlaceholders("none", '@', {"x"}), "none");
}

TEST(TextRules, ExtensionLists) {
  struct Case {
    const char* list;
    const char* name;
    bool takes;
  };
  const Case patternCases[] = {
      {"*.jpg;*.png", "a.JPG", true},      {"*.jpg;*.png", "a.png", true},
      {"*.JPG;*.PNG", "b.png", true},      {"*.jpg;*.png", "a.jp", false},
      {"*.jpeg", "a.jpe", false},          {"*.jpg", "noext", false},
      {"*.jpg", "dir.jpg\\file", false},   {"*.jpg", "a.", false},
      {"", "a.jpg", false},
  };
  for (const Case& c : patternCases) {
    EXPECT_EQ(suite::PatternListTakes(c.list, c.name), c.takes) << c.list << " " << c.name;
  }
  const Case runCases[] = {
      {".wav.wma.mp3.ogg", "x.WAV", true}, {".wav.wma.mp3.ogg", "x.ogg", true},
      {".wav.wma.mp3.ogg", "x.wm", false}, {".wav.wma.mp3.ogg", "x.mp", false},
      {".wav.wma.mp3.ogg", "x", false},    {".cda", "track01.cda", true},
  };
  for (const Case& c : runCases) {
    EXPECT_EQ(suite::ExtensionIsOneOf(c.name, c.list), c.takes) << c.list << " " << c.name;
  }
  EXPECT_EQ(suite::FolderOf("c:\\a\\b"), "c:\\a\\");
  EXPECT_EQ(suite::FolderOf("b"), "");
}

}  // namespace

namespace {

TEST(FileListRules, RefreshDiff) {
  struct Case {
    const char* name;
    std::vector<std::string> listed;
    std::vector<browser::ScannedEntry> scanned;
    std::vector<std::string> removed, added, reloaded;
  };
  const Case cases[] = {
      {"nothing changed", {" a.jpg", " b.jpg"}, {{" a.jpg", false}, {" b.jpg", false}}, {}, {}, {}},
      {"renamed from outside", {" a.jpg", " b.jpg"}, {{" a.jpg", false}, {" c.jpg", false}}, {" b.jpg"}, {" c.jpg"}, {}},
      {"written after the listing", {" a.jpg"}, {{" a.jpg", true}}, {}, {}, {" a.jpg"}},
      {"emptied", {" a.jpg", " b.jpg"}, {}, {" a.jpg", " b.jpg"}, {}, {}},
      {"case of the list kept", {" A.jpg"}, {{" a.jpg", false}}, {}, {}, {}},
      {"one entry seen twice added once", {}, {{" a.jpg", false}, {" a.jpg", false}}, {}, {" a.jpg"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::ListChanges changes = browser::DiffFileList(c.listed, c.scanned);
    EXPECT_EQ(changes.removed, c.removed);
    EXPECT_EQ(changes.added, c.added);
    EXPECT_EQ(changes.reloaded, c.reloaded);
  }
}

TEST(FileListRules, SideFilesAndTexts) {
  EXPECT_EQ(browser::SideFilePaths("c:\\p\\a.b.jpg", "kwd, tim,,.obf"),
            (std::vector<std::string>{"c:\\p\\a.b.kwd", "c:\\p\\a.b.tim", "c:\\p\\a.b.obf"}));
  EXPECT_TRUE(browser::SideFilePaths("c:\\p\\a.jpg", "").empty());
  struct Number {
    int64_t value;
    const char* text;
  };
  for (const Number& n : {Number{0, "0"}, Number{999, "999"}, Number{1000, "1,000"},
                          Number{16777216, "16,777,216"}, Number{-1234, "-1,234"}}) {
    EXPECT_EQ(browser::GroupedNumber(n.value), n.text);
  }
  browser::ThumbnailFacts facts{" red.jpg", 640, 480, 16777216, 12345, true};
  facts.name = "red.jpg";
  EXPECT_EQ(browser::ThumbnailStatusText(facts, " colours, ", " bytes)", "overlay"),
            "RED.JPG 640 x480 (16,777,216 colours, 12,345 bytes) overlay");
  facts.hasOverlay = false;
  EXPECT_EQ(browser::ThumbnailStatusText(facts, " colours, ", " bytes)", "overlay"),
            "RED.JPG 640 x480 (16,777,216 colours, 12,345 bytes)");
  EXPECT_EQ(browser::TimingCellText(" 12\r\n"), " 12\"");
  EXPECT_EQ(browser::TimingCellText("007"), " 7\"");
  EXPECT_EQ(browser::TimingCellText("x"), "");
  EXPECT_EQ(browser::TimingCellText("99999999999999"), " 999999999\"");
}

TEST(FileListRules, CopyTargets) {
  using browser::TargetAction;
  struct Case {
    const char* name;
    int32_t result;
    std::string chosen;
    TargetAction action;
    std::string folder;
  };
  const std::string current = "c:\\media\\photos\\";
  const Case cases[] = {
      {"cancelled", 3, "c:\\other", TargetAction::kCancel, ""},
      {"chosen but empty (would be the working folder)", 1, "", TargetAction::kCancel, ""},
      {"relative name", 1, "photos", TargetAction::kCancel, ""},
      {"drive-relative name", 1, "c:photos", TargetAction::kCancel, ""},
      {"above the root", 1, "c:\\..\\x", TargetAction::kCancel, ""},
      {"unknown answer", 0, "c:\\other", TargetAction::kCancel, ""},
      {"current folder in another case", 1, "C:\\Media\\PHOTOS", TargetAction::kSameFolder, "C:\\Media\\PHOTOS\\"},
      {"current folder through dots and slashes", 1, "c:/media//x/../photos/.", TargetAction::kSameFolder,
       "c:\\media\\photos\\"},
      {"another folder", 1, "d:\\backup\\", TargetAction::kTransfer, "d:\\backup\\"},
      {"a new folder", 2, "c:\\media\\new", TargetAction::kCreate, "c:\\media\\new\\"},
      {"network share", 1, "\\\\server\\share\\a", TargetAction::kTransfer, "\\\\server\\share\\a\\"},
      {"server without share", 1, "\\\\server", TargetAction::kCancel, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    browser::TargetDecision decision = browser::DecideTarget(c.result, c.chosen, current);
    EXPECT_EQ(decision.action, c.action);
    if (c.action != TargetAction::kCancel) {
      EXPECT_EQ(decision.folder, c.folder);
    }
  }
}

}  // namespace
