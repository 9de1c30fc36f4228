// The engine exports under Wine: text tables and menus read from a .SYS file
// the test writes, the main menu built from them, skins loaded from files
// (res/LUMINAR.SKL and variants), fonts, settings and path and text
// splitting.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "test_support.h"
#include "themecore.h"

namespace {

using namespace std::string_literals;
using testsupport::ScratchFolder;

// The texts, menus and actions every text-table test reads.
const std::string kSysFile =
    "; fixture text table\r\n"
    "[strings]\r\n"
    "1=Orb Test\r\n"
    "3= spaced = text \r\n"
    "2=two|fields\r\n"
    "[menubar]\r\n"
    "&File|&View\r\n"
    "[menus]\n"
    "1=&Open|-|E&xit|\n"
    "2=&Large||&Small\n"
    "3=Context &one|Context &two\n"
    "[actions]\n"
    "103=END\n"
    "101=orbplay.exe,ORBPLAY\n"
    "302=context\n";

// A skin that differs from the built-in one in one colour, one size and
// the caption font.
const std::string kDuskSkin =
    "[skin]\nname=Dusk\n"
    "[colours]\n101=102030\n"
    "[metrics]\n7=32\n"
    "[fonts]\ncaption=Arial,12,400\n";

// The bytes before the final zero of a text list the export wrote, after
// checking that final zero is there.
std::string ListBytes(const std::vector<char>& buffer, int32_t length) {
  EXPECT_GE(length, 0);
  EXPECT_LT(static_cast<size_t>(length), buffer.size());
  if (length < 0 || static_cast<size_t>(length) >= buffer.size()) return std::string();
  EXPECT_EQ('\0', buffer[static_cast<size_t>(length)]) << "list without its final zero";
  return std::string(buffer.data(), static_cast<size_t>(length));
}

// The repository's res folder as a Windows path (Z: is the Linux root).
std::string ResFolder() {
  std::string source = __FILE__;
  std::string root = source.substr(0, source.rfind("platform"));
  std::string folder = "Z:" + root + "res\\";
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

std::string Text(int32_t (__stdcall *read)(char*, int32_t)) {
  std::vector<char> buffer(1024, '#');
  int32_t length = read(buffer.data(), static_cast<int32_t>(buffer.size()));
  if (length < 0 || static_cast<size_t>(length) >= buffer.size()) return "<bad length>";
  return std::string(buffer.data(), static_cast<size_t>(length));
}

// ---------------------------------------------------------------------------
// Text tables

TEST(SKREADSTR, ReadsTheStringsOfATextTable) {
  ScratchFolder folder("sys");
  const std::string file = folder.Child("orbtest.SYS");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, kSysFile));

  std::vector<char> buffer(256, '#');
  int32_t count = -7;
  int32_t length =
      SKREADSTR(file.c_str(), buffer.data(), static_cast<int32_t>(buffer.size()), &count);
  EXPECT_EQ(3, count);
  EXPECT_EQ("Orb Test\0two|fields\0 spaced = text \0"s, ListBytes(buffer, length));

  // A buffer one byte short gets "" and the full length, for a retry.
  std::vector<char> small(static_cast<size_t>(length), '#');
  count = -7;
  EXPECT_EQ(length, SKREADSTR(file.c_str(), small.data(), length, &count));
  EXPECT_EQ('\0', small[0]);
  EXPECT_EQ('#', small[1]);
  EXPECT_EQ(3, count);
  EXPECT_EQ(length, SKREADSTR(file.c_str(), nullptr, 0, &count));
}

TEST(SKREADSTR, FailsForAFileThatCannotBeRead) {
  ScratchFolder folder("sys missing");
  std::vector<char> buffer(16, '#');
  int32_t count = -7;
  EXPECT_EQ(-1, SKREADSTR(folder.Child("none.SYS").c_str(), buffer.data(), 16, &count));
  EXPECT_EQ(0, count);
  EXPECT_EQ('\0', buffer[0]);
  EXPECT_EQ(-1, SKREADSTR(nullptr, buffer.data(), 16, &count));
  EXPECT_EQ(-1, SKREADSTR(folder.path().c_str(), buffer.data(), 16, &count));  // a folder
}

TEST(SKREADSTR, ReadsAnEmptyTable) {
  ScratchFolder folder("sys empty");
  const std::string file = folder.Child("empty.SYS");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, ""));
  std::vector<char> buffer(4, '#');
  int32_t count = -7;
  EXPECT_EQ(0, SKREADSTR(file.c_str(), buffer.data(), 4, &count));
  EXPECT_EQ(0, count);
  EXPECT_EQ('\0', buffer[0]);
}

TEST(SKREADM, ReadsMenusAndActions) {
  ScratchFolder folder("sysm");
  const std::string file = folder.Child("orbtest.SYS");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, kSysFile));

  std::vector<char> menus(256, '#');
  std::vector<char> actions(256, '#');
  int32_t menuCount = -7;
  int32_t actionsLength = -7;
  int32_t menusLength = SKREADM(file.c_str(), menus.data(), static_cast<int32_t>(menus.size()),
                                &menuCount, actions.data(), static_cast<int32_t>(actions.size()),
                                &actionsLength);
  EXPECT_EQ(3, menuCount);
  EXPECT_EQ("&File|&View\0&Open|-|E&xit|\0&Large||&Small\0Context &one|Context &two\0"s,
            ListBytes(menus, menusLength));
  EXPECT_EQ("101=orbplay.exe,ORBPLAY\0"s "103=END\0"s "302=context\0"s,
            ListBytes(actions, actionsLength));

  menuCount = actionsLength = -7;
  std::vector<char> none(4, '#');
  EXPECT_EQ(-1, SKREADM(folder.Child("none.SYS").c_str(), none.data(), 4, &menuCount, nullptr, 0,
                        &actionsLength));
  EXPECT_EQ(0, menuCount);
  EXPECT_EQ(0, actionsLength);
  EXPECT_EQ('\0', none[0]);
}

TEST(SKMACTE, FindsTheActionOfAMenuItem) {
  const std::string actions = "101=orbplay.exe,ORBPLAY\0"s "103=END\0"s "302=\0"s;
  const int32_t length = static_cast<int32_t>(actions.size());
  struct Case {
    int32_t id;
    std::string expected;
  } cases[] = {{101, "orbplay.exe,ORBPLAY"}, {103, "END"}, {302, ""}, {102, ""}, {0, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    char out[64];
    memset(out, '#', sizeof(out));
    EXPECT_EQ(static_cast<int32_t>(c.expected.size()),
              SKMACTE(c.id, actions.data(), length, out, sizeof(out)));
    EXPECT_EQ(c.expected, std::string(out));
  }
  // The list ends where its length says, not at a later zero.
  char out[64] = "#";
  EXPECT_EQ(0, SKMACTE(103, actions.data(), 10, out, sizeof(out)));
  EXPECT_EQ(0, SKMACTE(103, nullptr, 0, out, sizeof(out)));
}

// ---------------------------------------------------------------------------
// Menus

struct ItemState {
  UINT id;
  std::string text;  // "-" for a separator
};

std::vector<ItemState> ItemsOf(HMENU menu) {
  std::vector<ItemState> items;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    if (info.fType & MFT_SEPARATOR) {
      items.push_back(ItemState{info.wID, "-"});
      continue;
    }
    char text[128] = {};
    UINT id = GetMenuItemID(menu, i);
    GetMenuStringA(menu, id, text, sizeof(text), MF_BYCOMMAND);
    items.push_back(ItemState{id, text});
  }
  return items;
}

void ExpectItems(HMENU menu, const std::vector<ItemState>& expected) {
  std::vector<ItemState> got = ItemsOf(menu);
  ASSERT_EQ(expected.size(), got.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("item at " + std::to_string(i));
    EXPECT_EQ(expected[i].text, got[i].text);
    if (expected[i].text != "-") {
      EXPECT_EQ(expected[i].id, got[i].id);
    }
  }
}

std::string BarTitle(HMENU bar, int position) {
  char text[128] = {};
  GetMenuStringA(bar, static_cast<UINT>(position), text, sizeof(text), MF_BYPOSITION);
  return text;
}

TEST(SKCHANGEMENU, BuildsTheMainMenuFromDefinitions) {
  ScratchFolder folder("menu");
  const std::string file = folder.Child("orbtest.SYS");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, kSysFile));
  std::vector<char> menus(256), actions(256);
  int32_t menuCount = 0, actionsLength = 0;
  int32_t menusLength = SKREADM(file.c_str(), menus.data(), 256, &menuCount, actions.data(), 256,
                                &actionsLength);
  ASSERT_GT(menusLength, 0);

  // The bar text given here, not definition 0: two titles, three popups.
  HMENU bar =
      SKCHANGEMENU(menus.data(), menusLength, actions.data(), actionsLength, "Files|Sizes|");
  ASSERT_NE(nullptr, bar);
  EXPECT_TRUE(IsMenu(bar));
  ASSERT_EQ(2, GetMenuItemCount(bar));
  EXPECT_EQ("Files", BarTitle(bar, 0));
  EXPECT_EQ("Sizes", BarTitle(bar, 1));

  HMENU popup1 = SKPOPUPHANDLE(1);
  HMENU popup2 = SKPOPUPHANDLE(2);
  HMENU popup3 = SKPOPUPHANDLE(3);
  EXPECT_EQ(GetSubMenu(bar, 0), popup1);
  EXPECT_EQ(GetSubMenu(bar, 1), popup2);
  // Popup 3 is no bar menu but exists for context menus.
  ASSERT_NE(nullptr, popup3);
  EXPECT_TRUE(IsMenu(popup3));
  EXPECT_EQ(nullptr, SKPOPUPHANDLE(0));
  EXPECT_EQ(nullptr, SKPOPUPHANDLE(4));
  EXPECT_EQ(nullptr, SKPOPUPHANDLE(-1));

  // Separators count as items: E&xit is item 3.  A trailing "|" adds none;
  // an empty field keeps its number.
  ExpectItems(popup1, {{101, "&Open"}, {0, "-"}, {103, "E&xit"}});
  ExpectItems(popup2, {{201, "&Large"}, {203, "&Small"}});
  ExpectItems(popup3, {{301, "Context &one"}, {302, "Context &two"}});

  // A new menu replaces and destroys the old one.
  HMENU next = SKMENU(menus.data(), menusLength);
  ASSERT_NE(nullptr, next);
  EXPECT_NE(bar, next);
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(popup3));
  // SKMENU takes definition 0 as the bar.
  ASSERT_EQ(2, GetMenuItemCount(next));
  EXPECT_EQ("&File", BarTitle(next, 0));
  EXPECT_EQ("&View", BarTitle(next, 1));
  ExpectItems(SKPOPUPHANDLE(1), {{101, "&Open"}, {0, "-"}, {103, "E&xit"}});
}

TEST(SKCHANGEMENU, GivesEveryBarFieldAPopup) {
  const std::string definitions = "A|B|C\0a1\0"s;
  HMENU bar = SKCHANGEMENU(definitions.data(), static_cast<int32_t>(definitions.size()), nullptr, 0,
                           "A|B|C");
  ASSERT_NE(nullptr, bar);
  ASSERT_EQ(3, GetMenuItemCount(bar));
  ExpectItems(SKPOPUPHANDLE(1), {{101, "a1"}});
  ASSERT_NE(nullptr, SKPOPUPHANDLE(3));
  EXPECT_EQ(0, GetMenuItemCount(SKPOPUPHANDLE(3)));
  // A missing bar text is a failure and keeps the menu in force.
  EXPECT_EQ(nullptr, SKCHANGEMENU(definitions.data(), 6, nullptr, 0, nullptr));
  EXPECT_TRUE(IsMenu(bar));
  EXPECT_EQ(GetSubMenu(bar, 0), SKPOPUPHANDLE(1));
}

// ---------------------------------------------------------------------------
// Skins

COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

LOGFONTA FontOf(HFONT font) {
  LOGFONTA info = {};
  GetObjectA(font, sizeof(info), &info);
  return info;
}

class SkinTest : public ::testing::Test {
 protected:
  // Every test ends with the built-in skin, as the next test expects.
  void TearDown() override { SKINITENGINE(nullptr); }
};

TEST_F(SkinTest, BuiltInSkinAnswersBeforeAnySkinIsLoaded) {
  EXPECT_EQ(0, SKINITENGINE(nullptr));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x1E, 0x1E, 0x1E)), SKGETSYSCOLOR(101));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0xFF, 0xFF, 0xFF)), SKGETSYSCOLOR(104));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x34, 0x78, 0xC6)), SKGETSYSCOLOR(114));
  // Below 100: the Windows colours.
  EXPECT_EQ(static_cast<int32_t>(GetSysColor(COLOR_WINDOW)), SKGETSYSCOLOR(COLOR_WINDOW));
  EXPECT_EQ(static_cast<int32_t>(GetSysColor(COLOR_BTNTEXT)), SKGETSYSCOLOR(COLOR_BTNTEXT));
  EXPECT_EQ(20, SKGETSYSTEMMETRICS(7));
  EXPECT_EQ(24, SKGETSYSTEMMETRICS(1));
  // Sizes the skin does not define: GetSystemMetrics.
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), SKGETSYSTEMMETRICS(SM_CXSCREEN));
  EXPECT_EQ("", Text(SKSKINFOLDER));
  EXPECT_EQ("", Text(SKSKINNAME)) << "no skin file in force";
  LOGFONTA caption = FontOf(SKCAPTIONFONT());
  EXPECT_STREQ("Tahoma", caption.lfFaceName);
  EXPECT_EQ(700, caption.lfWeight);
  LOGFONTA normal = FontOf(SKDEFAULTFONT());
  EXPECT_STREQ("Tahoma", normal.lfFaceName);
  EXPECT_EQ(400, normal.lfWeight);
  // The engine owns its fonts: the same handle every time.
  EXPECT_EQ(SKCAPTIONFONT(), SKCAPTIONFONT());
}

TEST_F(SkinTest, LoadsASkinFileAndGoesBackToLuminar) {
  ScratchFolder folder("skin");
  const std::string dusk = folder.Child("dusk.skl");
  ASSERT_TRUE(testsupport::WriteFileBytes(dusk, kDuskSkin));
  HFONT builtInCaption = SKCAPTIONFONT();

  ASSERT_EQ(1, SKINITENGINE(dusk.c_str()));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x10, 0x20, 0x30)), SKGETSYSCOLOR(101));
  // What the skin leaves out keeps the built-in value.
  EXPECT_EQ(static_cast<int32_t>(Rgb(0xFF, 0xFF, 0xFF)), SKGETSYSCOLOR(104));
  EXPECT_EQ(32, SKGETSYSTEMMETRICS(7));
  EXPECT_EQ(24, SKGETSYSTEMMETRICS(1));
  EXPECT_EQ(folder.path() + "\\", Text(SKSKINFOLDER));
  EXPECT_EQ(dusk, Text(SKSKINNAME));
  HFONT duskCaption = SKCAPTIONFONT();
  EXPECT_NE(builtInCaption, duskCaption);
  EXPECT_STREQ("Arial", FontOf(duskCaption).lfFaceName);
  EXPECT_EQ(400, FontOf(duskCaption).lfWeight);
  // Fonts of the old skin stay valid for windows still using them.
  EXPECT_STREQ("Tahoma", FontOf(builtInCaption).lfFaceName);

  const std::string luminar = ResFolder() + "LUMINAR.SKL";
  ASSERT_EQ(1, SKINITENGINE(luminar.c_str())) << luminar;
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x1E, 0x1E, 0x1E)), SKGETSYSCOLOR(101));
  EXPECT_EQ(20, SKGETSYSTEMMETRICS(7));
  EXPECT_EQ(ResFolder(), Text(SKSKINFOLDER));
  EXPECT_EQ(ResFolder() + "LUMINAR.SKL", Text(SKSKINNAME));
  EXPECT_STREQ("Tahoma", FontOf(SKCAPTIONFONT()).lfFaceName);
}

TEST_F(SkinTest, BrokenOrMissingSkinLeavesTheBuiltInOne) {
  ScratchFolder folder("skin broken");
  const std::string dusk = folder.Child("dusk.skl");
  const std::string broken = folder.Child("broken.skl");
  ASSERT_TRUE(testsupport::WriteFileBytes(dusk, kDuskSkin));
  ASSERT_TRUE(testsupport::WriteFileBytes(broken, "[colours]\n101=000000\n104=not a colour\n"));

  ASSERT_EQ(1, SKINITENGINE(dusk.c_str()));
  EXPECT_EQ(0, SKINITENGINE(broken.c_str()));
  // Not even the good line of the broken file counts, and the skin before
  // it is gone: the built-in skin is in force.
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x1E, 0x1E, 0x1E)), SKGETSYSCOLOR(101));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0xFF, 0xFF, 0xFF)), SKGETSYSCOLOR(104));
  EXPECT_EQ(20, SKGETSYSTEMMETRICS(7));
  EXPECT_EQ("", Text(SKSKINFOLDER));
  EXPECT_EQ("", Text(SKSKINNAME)) << "a skin that did not load is not in force";
  EXPECT_STREQ("Tahoma", FontOf(SKCAPTIONFONT()).lfFaceName);

  ASSERT_EQ(1, SKINITENGINE(dusk.c_str()));
  EXPECT_EQ(0, SKINITENGINE(folder.Child("missing.skl").c_str()));
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x1E, 0x1E, 0x1E)), SKGETSYSCOLOR(101));
  EXPECT_EQ(0, SKINITENGINE(""));
  EXPECT_EQ(0, SKINITENGINE(folder.path().c_str()));
}

TEST_F(SkinTest, RelativeSkinNamesStartAtTheProgramFolder) {
  ScratchFolder elsewhere("skin cwd");
  const std::string name = "tc_skin_" + std::to_string(GetCurrentProcessId()) + ".skl";
  const std::string beside = testsupport::ProgramFolder() + "\\" + name;
  ASSERT_TRUE(testsupport::WriteFileBytes(beside, kDuskSkin));
  int32_t loaded;
  {
    testsupport::ScopedCurrentFolder cwd(elsewhere.path());
    loaded = SKINITENGINE(name.c_str());
  }
  std::string skinFolder = Text(SKSKINFOLDER);
  int32_t colour = SKGETSYSCOLOR(101);
  DeleteFileA(beside.c_str());
  EXPECT_EQ(1, loaded);
  EXPECT_EQ(testsupport::ProgramFolder() + "\\", skinFolder);
  EXPECT_EQ(static_cast<int32_t>(Rgb(0x10, 0x20, 0x30)), colour);
}

// ---------------------------------------------------------------------------
// Settings

TEST(EngineSettings, SettersReturnTheOldValue) {
  int32_t transOld = SKSETTRANSMENU(1);
  EXPECT_EQ(1, SKSETTRANSMENU(0));
  EXPECT_EQ(0, SKSETTRANSMENU(transOld));

  int32_t focusOld = SKUSEFOCUSRECT(1);
  EXPECT_EQ(1, SKUSEFOCUSRECT(7));  // any non-zero is on
  EXPECT_EQ(1, SKUSEFOCUSRECT(0));
  EXPECT_EQ(0, SKUSEFOCUSRECT(focusOld));

  int32_t shadowOld = SKSETSHADOW(0);
  EXPECT_EQ(0, SKSETSHADOW(1));
  EXPECT_EQ(1, SKSETSHADOW(shadowOld));

  int32_t styleOld = SKWINDOWSTYLE(0);
  EXPECT_NE(0, styleOld);
  EXPECT_EQ(31, SKWINDOWSTYLE(31));
  EXPECT_EQ(31, SKWINDOWSTYLE(0));  // 0 only reads
  EXPECT_EQ(31, SKWINDOWSTYLE(0));
  EXPECT_EQ(0x1B, SKWINDOWSTYLE(0x1B));
  EXPECT_EQ(styleOld, SKWINDOWSTYLE(styleOld));

  EXPECT_EQ(1, SKAPPTITLE("Orb Test"));
  EXPECT_EQ(0, SKAPPTITLE(nullptr));
}

// ---------------------------------------------------------------------------
// Paths and texts

TEST(SKEXENAME, GivesTheProgramPath) {
  char expected[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, expected, sizeof(expected));
  EXPECT_EQ(std::string(expected), Text(SKEXENAME));
  char small[4] = "##";
  EXPECT_EQ(static_cast<int32_t>(strlen(expected)), SKEXENAME(small, sizeof(small)));
  EXPECT_EQ('\0', small[0]);
}

TEST(SKSPLITN, SplitsFolderAndName) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"C:\\Orb\\orbmedia.exe", "C:\\Orb\\", "orbmedia.exe"},
      {"orbmedia.exe", "", "orbmedia.exe"},
      {"C:\\Pics\\", "C:\\Pics\\", ""},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    // Both buffers at strlen(path) + 1 bytes are always large enough.
    size_t size = strlen(c.path) + 1;
    std::vector<char> folder(size + 8, '#'), name(size + 8, '#');
    EXPECT_EQ(1, SKSPLITN(c.path, folder.data(), static_cast<int32_t>(size), name.data(),
                          static_cast<int32_t>(size)));
    EXPECT_STREQ(c.folder, folder.data());
    EXPECT_STREQ(c.name, name.data());
  }
  char folder[4] = "##", name[64] = "##";
  EXPECT_EQ(0, SKSPLITN("C:\\Orb\\x.exe", folder, sizeof(folder), name, sizeof(name)));
  EXPECT_EQ('\0', folder[0]);
  EXPECT_EQ('\0', name[0]);
  EXPECT_EQ(0, SKSPLITN(nullptr, folder, sizeof(folder), name, sizeof(name)));
}

TEST(SKSPLITS, SplitsIntoAListAndMeasuresTheWidestPart) {
  struct Case {
    const char* text;
    const char* separator;
    int32_t count;
    std::string list;
  } cases[] = {
      {"&Yes|&No", "|", 2, "&Yes\0&No\0"s},
      {"a|b|", "|", 3, "a\0b\0\0"s},
      {"", "|", 0, ""},
      {"one", "|", 1, "one\0"s},
      {"a, b", ", ", 2, "a\0b\0"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    size_t size = strlen(c.text) + 2;
    std::vector<char> parts(size + 8, '#');
    int32_t widest = -7;
    EXPECT_EQ(c.count, SKSPLITS(c.text, c.separator, nullptr, nullptr, parts.data(),
                                static_cast<int32_t>(size), &widest));
    EXPECT_EQ(c.list + '\0', std::string(parts.data(), c.list.size() + 1));
    EXPECT_EQ('#', parts[size]);
    EXPECT_EQ(0, widest);
  }

  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(nullptr, window);
  HFONT font = SKCAPTIONFONT();
  const char* words[] = {"Short", "A much longer part", "Mid part"};
  int32_t expected = 0;
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  for (const char* word : words) {
    SIZE extent = {};
    GetTextExtentPoint32A(dc, word, static_cast<int>(strlen(word)), &extent);
    expected = std::max<int32_t>(expected, extent.cx);
  }
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  char parts[64];
  int32_t widest = -7;
  EXPECT_EQ(3, SKSPLITS("Short|A much longer part|Mid part", "|", window, font, parts,
                        sizeof(parts), &widest));
  EXPECT_GT(expected, 0);
  EXPECT_EQ(expected, widest);
  DestroyWindow(window);
}

// ---------------------------------------------------------------------------
// Trace

std::vector<std::string> TraceLines(const std::string& path) {
  std::string text;
  if (!testsupport::ReadFileBytes(path, &text)) return {};
  return testsupport::SplitLines(text);
}

TEST(EngineTrace, WritesListsNumbersAndHandles) {
  ScratchFolder folder("engine trace");
  const std::string file = folder.Child("t.SYS");
  ASSERT_TRUE(testsupport::WriteFileBytes(file, "[strings]\n1=a\n2=b\n"));
  const std::string tracePath = folder.Child("trace.txt");
  const std::string prefix = "[" + std::to_string(GetCurrentProcessId()) + "] themecore ";
  std::vector<char> buffer(64);
  int32_t count = 0;
  int32_t style;
  HFONT font;
  {
    testsupport::ScopedEnvironment trace("ORB_TRACE", tracePath.c_str());
    EXPECT_EQ(4, SKREADSTR(file.c_str(), buffer.data(), 64, &count));
    EXPECT_EQ(4, SKREADSTR(file.c_str(), buffer.data(), 2, &count));
    EXPECT_EQ(static_cast<int32_t>(RGB(0x1E, 0x1E, 0x1E)), SKGETSYSCOLOR(101));
    style = SKWINDOWSTYLE(0);
    font = SKDEFAULTFONT();
  }
  char fontText[24];
  snprintf(fontText, sizeof(fontText), "0x%08llX",
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(font)));
  const std::vector<std::string> expected = {
      prefix + "SKREADSTR(" + testsupport::TraceQuoted(file) +
          ", out:\"a\\x00b\\x00\", 64, out:2) = 4",
      prefix + "SKREADSTR(" + testsupport::TraceQuoted(file) + ", out:\"\", 2, out:2) = 4",
      prefix + "SKGETSYSCOLOR(101) = " + std::to_string(RGB(0x1E, 0x1E, 0x1E)),
      prefix + "SKWINDOWSTYLE(0) = " + std::to_string(style),
      prefix + "SKDEFAULTFONT() = " + fontText,
  };
  EXPECT_EQ(expected, TraceLines(tracePath));
}

}  // namespace
