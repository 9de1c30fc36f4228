// Wine tests of the folder tree control: a host window owns an skBff control
// over a fixture folder tree made in %TEMP%; the tests drive it with the
// FTM_* messages and tree-view messages and check the items, the paths and
// the WM_COMMAND notifications the host records.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "folder_tree.h"
#include "harness.h"
#include "test_files.h"
#include "themecore.h"
#include "themecore_painttool.h"

namespace {

constexpr int kTreeId = 0x7FFE;
constexpr DWORD kWaitMs = 3000;

struct Notification {
  int id = 0;
  int code = 0;
  LPARAM lParam = 0;
  HTREEITEM pair[2] = {nullptr, nullptr};  // FTN_DRAGMOVE's items, copied during the call
};
std::vector<Notification> g_notifications;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && lParam != 0) {
    Notification seen;
    seen.id = LOWORD(wParam);
    seen.code = HIWORD(wParam);
    seen.lParam = lParam;
    if (seen.code == suite::FTN_DRAGMOVE)
      std::memcpy(seen.pair, reinterpret_cast<const void*>(lParam), sizeof(seen.pair));
    g_notifications.push_back(seen);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

size_t CountCode(int code) {
  size_t count = 0;
  for (const Notification& n : g_notifications) count += n.code == code ? 1 : 0;
  return count;
}

const Notification* LastOf(int code) {
  for (auto it = g_notifications.rbegin(); it != g_notifications.rend(); ++it)
    if (it->code == code) return &*it;
  return nullptr;
}

std::wstring Widen(const std::string& text) {
  std::wstring out;
  for (char c : text) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

// Long paths need the wide calls with the "\\?\" prefix.
bool MakeFolder(const std::string& path) {
  std::wstring wide = L"\\\\?\\" + Widen(path);
  return CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found = {};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

class FolderTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    fixture_ = std::string(temp) + "ftree" + std::to_string(GetCurrentProcessId());
    const char* folders[] = {"", "\\beta", "\\Alpha", "\\gamma", "\\.hidden", "\\beta\\inner1",
                             "\\beta\\Inner0", "\\deep"};
    for (const char* folder : folders) MakeFolder(fixture_ + folder);
    HANDLE file = CreateFileA((fixture_ + "\\zfile.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    // A folder the tree can reach whose only child lies past the ANSI limit.
    reachableDeep_ = fixture_ + "\\deep\\" + std::string(200, 'l');
    tooDeep_ = reachableDeep_ + "\\" + std::string(120, 'm');
    MakeFolder(reachableDeep_);
    MakeFolder(tooDeep_);

    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    hostClass.lpszClassName = "FolderTreeTestHost";
    RegisterClassA(&hostClass);
    host_ = CreateWindowExA(WS_EX_TOPMOST, "FolderTreeTestHost", "folder tree host",
                            WS_POPUP | WS_VISIBLE, 40, 40, 420, 560, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    frame_ = suite::FolderTreeCreate(host_, 0, 0, 400, 540, kTreeId);
    tree_ = frame_ ? GetDlgItem(frame_, kTreeId) : nullptr;
    harness::PumpMessagesFor(100);
  }

  static void TearDownTestSuite() {
    if (host_) DestroyWindow(host_);
    RemoveTree(L"\\\\?\\" + Widen(fixture_));
  }

  void SetUp() override {
    ASSERT_NE(frame_, nullptr);
    ASSERT_NE(tree_, nullptr);
  }

  static LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(frame_, message, wParam, lParam);
  }
  static LRESULT SetRoot(const std::string& path) {
    return Send(suite::FTM_SETROOT, path.size(), reinterpret_cast<LPARAM>(path.c_str()));
  }
  static HTREEITEM Next(HTREEITEM item, UINT kind) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_, TVM_GETNEXTITEM, kind, reinterpret_cast<LPARAM>(item)));
  }
  static HTREEITEM Root() { return Next(nullptr, TVGN_ROOT); }
  static std::vector<HTREEITEM> Children(HTREEITEM parent) {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = Next(parent, TVGN_CHILD); item; item = Next(item, TVGN_NEXT))
      items.push_back(item);
    return items;
  }
  static std::vector<HTREEITEM> Roots() {
    std::vector<HTREEITEM> items;
    for (HTREEITEM item = Root(); item; item = Next(item, TVGN_NEXT)) items.push_back(item);
    return items;
  }
  static std::string PathOf(HTREEITEM item) { return suite::FolderTreeGetItemPath(tree_, item); }
  static std::string LabelOf(HTREEITEM item) {
    char text[512] = {};
    TVITEMA query = {};
    query.mask = TVIF_HANDLE | TVIF_TEXT;
    query.hItem = item;
    query.pszText = text;
    query.cchTextMax = sizeof(text);
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return text;
  }
  static int ChildCountOf(HTREEITEM item) {
    TVITEMA query = {};
    query.mask = TVIF_HANDLE | TVIF_CHILDREN;
    query.hItem = item;
    query.cChildren = -7;
    SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return query.cChildren;
  }
  static void Expand(HTREEITEM item) {
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
  }
  static HTREEITEM ChildNamed(HTREEITEM parent, const std::string& name) {
    for (HTREEITEM item : Children(parent))
      if (PathOf(item) == PathOf(parent) + name + "\\") return item;
    return nullptr;
  }
  // The fixture as single root, expanded.
  static HTREEITEM FixtureRoot() {
    auto root = reinterpret_cast<HTREEITEM>(SetRoot(fixture_));
    if (root) Expand(root);
    return root;
  }
  static POINT ItemCentre(HTREEITEM item, HWND relativeTo) {
    RECT rect = {};
    std::memcpy(&rect, &item, sizeof(item));
    SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    MapWindowPoints(tree_, relativeTo, &point, 1);
    return point;
  }

  // Starts a drag of `source` (as the tree reports it) and moves the
  // pointer over `target`; Wine takes a posted mouse message's point from
  // the cursor, so the cursor is moved first.
  static void BeginDragOver(HTREEITEM source, HTREEITEM target) {
    NMTREEVIEWA begin = {};
    begin.hdr.hwndFrom = tree_;
    begin.hdr.idFrom = kTreeId;
    begin.hdr.code = TVN_BEGINDRAGA;
    begin.action = TVC_BYMOUSE;
    begin.itemNew.mask = TVIF_HANDLE | TVIF_PARAM;
    begin.itemNew.hItem = source;
    begin.ptDrag = ItemCentre(source, tree_);
    SendMessageA(frame_, WM_NOTIFY, kTreeId, reinterpret_cast<LPARAM>(&begin));
    MovePointer(ItemCentre(target, nullptr));
    EXPECT_EQ(Next(nullptr, TVGN_DROPHILITE), target) << "the target is not drop-highlighted";
  }
  static void MovePointer(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    POINT inFrame = screen;
    ScreenToClient(frame_, &inFrame);
    PostMessageA(frame_, WM_MOUSEMOVE, 0, MAKELPARAM(inFrame.x, inFrame.y));
    harness::PumpMessagesFor(50);
  }

  static std::string fixture_, reachableDeep_, tooDeep_;
  static HWND host_, frame_, tree_;
};

std::string FolderTreeTest::fixture_, FolderTreeTest::reachableDeep_, FolderTreeTest::tooDeep_;
HWND FolderTreeTest::host_ = nullptr;
HWND FolderTreeTest::frame_ = nullptr;
HWND FolderTreeTest::tree_ = nullptr;

TEST_F(FolderTreeTest, CreationPostsCreatedAndShowsTheDesktopExpanded) {
  char className[64] = {};
  GetClassNameA(frame_, className, sizeof(className));
  EXPECT_STREQ(className, "skBff");
  GetClassNameA(tree_, className, sizeof(className));
  EXPECT_STREQ(className, "SysTreeView32");
  EXPECT_TRUE(harness::PumpUntil([] { return CountCode(suite::FTN_CREATED) == 1; }, kWaitMs));
  const Notification* created = LastOf(suite::FTN_CREATED);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->id, kTreeId);
  EXPECT_EQ(reinterpret_cast<HWND>(created->lParam), frame_);
  // The inner tree carries the skin's font, as the media browser expects.
  EXPECT_NE(SendMessageA(tree_, WM_GETFONT, 0, 0), 0);
  ASSERT_EQ(Roots().size(), 1u);
  EXPECT_TRUE(harness::PumpUntil([] { return !Children(Root()).empty(); }, kWaitMs))
      << "the desktop root was not expanded";
}

TEST_F(FolderTreeTest, StartFolderIsSelectedAtCreation) {
  const std::string start = fixture_ + "\\beta";
  HWND second = suite::FolderTreeCreate(host_, start.c_str(), 0, 0, 200, 200, kTreeId + 1);
  ASSERT_NE(second, nullptr);
  HWND secondTree = GetDlgItem(second, kTreeId + 1);
  ASSERT_NE(secondTree, nullptr);
  EXPECT_EQ(suite::FolderTreeGetSelectedPath(secondTree), start + "\\");
  char path[MAX_PATH] = {};
  EXPECT_EQ(SendMessageA(second, suite::FTM_GETPATH, sizeof(path), reinterpret_cast<LPARAM>(path)),
            static_cast<LRESULT>(start.size() + 1));
  EXPECT_TRUE(DestroyWindow(second));
  EXPECT_FALSE(IsWindow(secondTree));
}

TEST_F(FolderTreeTest, DriveListFromEmptyRootAndNegativeSpecialFolder) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round == 0 ? "FTM_SETROOT \"\"" : "FTM_SETSPECIALROOT -1");
    LRESULT last = round == 0 ? Send(suite::FTM_SETROOT, 0, reinterpret_cast<LPARAM>(""))
                              : Send(suite::FTM_SETSPECIALROOT, static_cast<WPARAM>(-1), 0);
    std::vector<HTREEITEM> roots = Roots();
    ASSERT_FALSE(roots.empty());
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(last), roots.back());
    std::vector<std::string> paths;
    for (HTREEITEM item : roots) paths.push_back(PathOf(item));
    for (const std::string& path : paths) {
      ASSERT_EQ(path.size(), 3u) << path;
      EXPECT_EQ(path.substr(1), ":\\") << path;
    }
    EXPECT_NE(std::find(paths.begin(), paths.end(), "C:\\"), paths.end());
    EXPECT_NE(std::find(paths.begin(), paths.end(), "Z:\\"), paths.end());
  }
}

TEST_F(FolderTreeTest, SetRootFillsSubfoldersOnFirstExpansionOnly) {
  auto root = reinterpret_cast<HTREEITEM>(SetRoot(fixture_ + "\\\\"));
  ASSERT_NE(root, nullptr);
  ASSERT_EQ(Roots().size(), 1u);
  EXPECT_EQ(PathOf(root), fixture_ + "\\");
  EXPECT_EQ(LabelOf(root), fixture_.substr(fixture_.rfind('\\') + 1));
  EXPECT_TRUE(Children(root).empty()) << "filled before it was opened";
  EXPECT_EQ(ChildCountOf(root), 1);

  Expand(root);
  std::vector<std::string> got;
  for (HTREEITEM item : Children(root)) got.push_back(PathOf(item));
  const std::vector<std::string> expected = {fixture_ + "\\Alpha\\", fixture_ + "\\beta\\",
                                             fixture_ + "\\deep\\", fixture_ + "\\gamma\\"};
  EXPECT_EQ(got, expected);
  HTREEITEM alpha = ChildNamed(root, "Alpha");
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(LabelOf(alpha), "Alpha");

  // A later folder does not show: the branch is filled once.
  ASSERT_TRUE(MakeFolder(fixture_ + "\\delta"));
  SendMessageA(tree_, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(root));
  Expand(root);
  EXPECT_EQ(Children(root).size(), 4u);
  RemoveDirectoryA((fixture_ + "\\delta").c_str());

  // A leaf loses its button when opened.
  Expand(alpha);
  EXPECT_TRUE(Children(alpha).empty());
  EXPECT_EQ(ChildCountOf(alpha), 0);

  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(beta, nullptr);
  Expand(beta);
  got.clear();
  for (HTREEITEM item : Children(beta)) got.push_back(PathOf(item));
  EXPECT_EQ(got, (std::vector<std::string>{fixture_ + "\\beta\\Inner0\\", fixture_ + "\\beta\\inner1\\"}));
}

TEST_F(FolderTreeTest, SetRootRefusesFilesAndMissingFoldersLeavingTheTree) {
  HTREEITEM root = FixtureRoot();
  ASSERT_NE(root, nullptr);
  const std::string refused[] = {fixture_ + "\\zfile.txt", fixture_ + "\\missing"};
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    EXPECT_EQ(SetRoot(path), 0);
    EXPECT_EQ(Root(), root);
    EXPECT_EQ(Children(root).size(), 4u);
  }
  // Length past the text: reading stops at the zero byte.
  std::string padded = fixture_ + std::string(8, '\0');
  auto again = reinterpret_cast<HTREEITEM>(
      Send(suite::FTM_SETROOT, 4096, reinterpret_cast<LPARAM>(padded.c_str())));
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(PathOf(again), fixture_ + "\\");
}

TEST_F(FolderTreeTest, GetPathCopiesWithoutTerminatorAndHonoursShortBuffers) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(beta, nullptr);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(beta));
  const std::string expected = fixture_ + "\\beta\\";
  EXPECT_EQ(Send(suite::FTM_GETPATHLENGTH, 0, 0), static_cast<LRESULT>(expected.size()));

  std::vector<char> buffer(400, 'X');
  EXPECT_EQ(Send(suite::FTM_GETPATH, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())),
            static_cast<LRESULT>(expected.size()));
  EXPECT_EQ(std::string(buffer.data(), expected.size()), expected);
  EXPECT_EQ(buffer[expected.size()], 'X') << "a terminator was written";

  std::vector<char> shortBuffer(8, 'X');
  EXPECT_EQ(Send(suite::FTM_GETPATH, 3, reinterpret_cast<LPARAM>(shortBuffer.data())), 3);
  EXPECT_EQ(std::string(shortBuffer.data(), 4), expected.substr(0, 3) + "X");
  EXPECT_EQ(Send(suite::FTM_GETPATH, 0, reinterpret_cast<LPARAM>(shortBuffer.data())), 0);
  EXPECT_EQ(Send(suite::FTM_GETPATH, 10, 0), 0);
}

TEST_F(FolderTreeTest, KeyboardSelectionNotifiesTheParentProgramSelectionDoesNot) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM alpha = ChildNamed(root, "Alpha");
  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(alpha, nullptr);
  ASSERT_NE(beta, nullptr);
  g_notifications.clear();
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(alpha));
  EXPECT_EQ(CountCode(suite::FTN_SELCHANGED), 0u);

  SetFocus(tree_);
  SendMessageA(tree_, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(tree_, WM_KEYUP, VK_DOWN, 0);
  EXPECT_EQ(Next(nullptr, TVGN_CARET), beta);
  ASSERT_EQ(CountCode(suite::FTN_SELCHANGED), 1u);
  const Notification* change = LastOf(suite::FTN_SELCHANGED);
  EXPECT_EQ(change->id, kTreeId);
  EXPECT_EQ(reinterpret_cast<HWND>(change->lParam), tree_);
  EXPECT_EQ(suite::FolderTreeGetSelectedPath(tree_), fixture_ + "\\beta\\");
}

TEST_F(FolderTreeTest, SelectPathWalksTheDesktopNamespace) {
  auto root = reinterpret_cast<HTREEITEM>(Send(suite::FTM_SETSPECIALROOT, 0, 0));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Root(), root);
  const std::string target = fixture_ + "\\beta\\inner1";
  auto selected = reinterpret_cast<HTREEITEM>(
      Send(suite::FTM_SELECTPATH, target.size(), reinterpret_cast<LPARAM>(target.c_str())));
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(Next(nullptr, TVGN_CARET), selected);
  EXPECT_EQ(PathOf(selected), target + "\\");
  EXPECT_EQ(LabelOf(selected), "inner1");

  // An id the shell does not know leaves the tree as it is.
  EXPECT_EQ(Send(suite::FTM_SETSPECIALROOT, 0x7777, 0), 0);
  EXPECT_EQ(Root(), root);
  const std::string refused[] = {fixture_ + "\\\\beta", fixture_ + "\\missing"};
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    EXPECT_EQ(Send(suite::FTM_SELECTPATH, path.size(), reinterpret_cast<LPARAM>(path.c_str())), 0);
    EXPECT_EQ(Next(nullptr, TVGN_CARET), selected);
  }
}

TEST_F(FolderTreeTest, DraggingAFolderOntoAnotherReportsThePair) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM alpha = ChildNamed(root, "Alpha");
  HTREEITEM gamma = ChildNamed(root, "gamma");
  ASSERT_NE(alpha, nullptr);
  ASSERT_NE(gamma, nullptr);
  // Wine's tree view clears a drop highlight only while some item holds the
  // caret (TVM_SELECTITEM returns early when both are null), as a user's
  // tree always does after the first click.
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
  UpdateWindow(host_);

  auto drag = [&](HTREEITEM source, HTREEITEM target) {
    BeginDragOver(source, target);
    PostMessageA(frame_, WM_LBUTTONUP, 0, 0);
  };

  g_notifications.clear();
  drag(alpha, gamma);
  ASSERT_TRUE(harness::PumpUntil([] { return CountCode(suite::FTN_DRAGMOVE) > 0; }, kWaitMs));
  const Notification* move = LastOf(suite::FTN_DRAGMOVE);
  EXPECT_EQ(move->id, kTreeId);
  EXPECT_EQ(move->pair[0], alpha);
  EXPECT_EQ(move->pair[1], gamma);
  EXPECT_EQ(Next(nullptr, TVGN_DROPHILITE), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);

  // Dropped on itself: nothing to move.
  g_notifications.clear();
  drag(alpha, alpha);
  harness::PumpMessagesFor(200);
  EXPECT_EQ(CountCode(suite::FTN_DRAGMOVE), 0u);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FolderTreeTest, RestingOnAFolderWhileDraggingOpensIt) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM alpha = ChildNamed(root, "Alpha");
  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(alpha, nullptr);
  ASSERT_NE(beta, nullptr);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
  ASSERT_TRUE(Children(beta).empty());
  g_notifications.clear();
  BeginDragOver(alpha, beta);
  EXPECT_TRUE(harness::PumpUntil([&] { return Children(beta).size() == 2; }, kWaitMs))
      << "the hovered folder did not open";
  PostMessageA(frame_, WM_LBUTTONUP, 0, 0);
  ASSERT_TRUE(harness::PumpUntil([] { return CountCode(suite::FTN_DRAGMOVE) > 0; }, kWaitMs));
  EXPECT_EQ(LastOf(suite::FTN_DRAGMOVE)->pair[1], beta);
}

TEST_F(FolderTreeTest, DraggingNearTheBottomEdgeScrollsTheTree) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM alpha = ChildNamed(root, "Alpha");
  ASSERT_NE(alpha, nullptr);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(root));
  // Short enough that the five items need a scroll bar.
  MoveWindow(frame_, 0, 0, 400, 60, TRUE);
  harness::PumpMessagesFor(50);
  SendMessageA(tree_, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(GetScrollPos(tree_, SB_VERT), 0);
  BeginDragOver(alpha, alpha);
  RECT bounds = {};
  GetWindowRect(tree_, &bounds);
  MovePointer({(bounds.left + bounds.right) / 2, bounds.bottom + 20});  // below the tree
  EXPECT_TRUE(harness::PumpUntil([] { return GetScrollPos(tree_, SB_VERT) > 0; }, kWaitMs))
      << "no scrolling below the tree";
  PostMessageA(frame_, WM_LBUTTONUP, 0, 0);
  harness::PumpMessagesFor(100);
  EXPECT_EQ(GetCapture(), nullptr);
  MoveWindow(frame_, 0, 0, 400, 540, TRUE);
}

TEST_F(FolderTreeTest, RenameAndRightClickReachTheParentAndTheLabelStays) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM gamma = ChildNamed(root, "gamma");
  ASSERT_NE(gamma, nullptr);
  // The control is made without TVS_EDITLABELS; a parent that lets the
  // user rename folders turns it on.
  const LONG style = GetWindowLongA(tree_, GWL_STYLE);
  SetWindowLongA(tree_, GWL_STYLE, style | TVS_EDITLABELS);
  g_notifications.clear();
  auto edit = reinterpret_cast<HWND>(
      SendMessageA(tree_, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(gamma)));
  ASSERT_NE(edit, nullptr) << "label editing was refused";
  EXPECT_EQ(CountCode(suite::FTN_BEGINRENAME), 1u);
  SetWindowTextA(edit, "renamed");
  SendMessageA(tree_, TVM_ENDEDITLABELNOW, FALSE, 0);
  SetWindowLongA(tree_, GWL_STYLE, style);
  EXPECT_EQ(CountCode(suite::FTN_ENDRENAME), 1u);
  EXPECT_EQ(reinterpret_cast<HWND>(LastOf(suite::FTN_ENDRENAME)->lParam), tree_);
  EXPECT_EQ(LabelOf(gamma), "gamma") << "the parent relabels, not the control";
  EXPECT_EQ(PathOf(gamma), fixture_ + "\\gamma\\");

  NMHDR click = {tree_, static_cast<UINT_PTR>(kTreeId), static_cast<UINT>(NM_RCLICK)};
  SendMessageA(frame_, WM_NOTIFY, kTreeId, reinterpret_cast<LPARAM>(&click));
  ASSERT_EQ(CountCode(suite::FTN_RCLICK), 1u);
  EXPECT_EQ(LastOf(suite::FTN_RCLICK)->id, kTreeId);
  EXPECT_EQ(reinterpret_cast<HWND>(LastOf(suite::FTN_RCLICK)->lParam), tree_);
}

TEST_F(FolderTreeTest, FoldersPastTheAnsiLimitAreLeftOutAndLongTextsRefused) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM deep = ChildNamed(root, "deep");
  ASSERT_NE(deep, nullptr);
  Expand(deep);
  std::vector<HTREEITEM> children = Children(deep);
  ASSERT_EQ(children.size(), 1u);
  EXPECT_EQ(PathOf(children[0]), reachableDeep_ + "\\");
  // Its only child's path is past 300 characters: left out, so no button.
  ASSERT_GT(tooDeep_.size(), 300u);
  Expand(children[0]);
  EXPECT_TRUE(Children(children[0]).empty());
  EXPECT_EQ(ChildCountOf(children[0]), 0);

  EXPECT_EQ(SetRoot(tooDeep_), 0);
  EXPECT_EQ(Root(), root);
  EXPECT_EQ(Send(suite::FTM_SELECTPATH, tooDeep_.size(), reinterpret_cast<LPARAM>(tooDeep_.c_str())),
            0);
  EXPECT_EQ(Root(), root);
}

TEST_F(FolderTreeTest, PaintShowsTheSkinColourBehindItemsAndTheSelectionBand) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(beta, nullptr);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(beta));
  // The tree's own background is the transparent colour of the copy onto
  // the skin buffer: an odd one shows whether the skin colour replaced it.
  const COLORREF treeBack = RGB(1, 2, 3);
  Send(suite::FTM_SETBKCOLOR, 0, treeBack);
  RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpMessagesFor(50);
  RECT client = {};
  GetClientRect(tree_, &client);
  RECT text = {};
  std::memcpy(&text, &beta, sizeof(beta));
  ASSERT_TRUE(SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
  const auto background = static_cast<COLORREF>(SKGETSYSCOLOR(104));
  const auto band = static_cast<COLORREF>(SKGETSYSCOLOR(114));
  HDC dc = GetDC(tree_);
  ASSERT_NE(dc, nullptr);
  const COLORREF belowItems = GetPixel(dc, client.right - 3, client.bottom - 3);
  const COLORREF bandEnd = GetPixel(dc, client.right - 3, (text.top + text.bottom) / 2);
  const COLORREF textCorner = GetPixel(dc, text.left, text.top);
  ReleaseDC(tree_, dc);
  Send(suite::FTM_SETBKCOLOR, 0, RGB(255, 255, 255));
  ASSERT_NE(background, treeBack);
  ASSERT_NE(band, treeBack);
  EXPECT_EQ(belowItems, background) << std::hex << "got " << belowItems;
  EXPECT_EQ(bandEnd, band) << std::hex << "got " << bandEnd;
  EXPECT_EQ(textCorner, band) << std::hex << "got " << textCorner;
}

// The skin's selected label is white, as is the tree's own background, the
// transparent colour of the copy: the label must still be drawn, not keyed
// out into an empty band.
TEST_F(FolderTreeTest, SelectedLabelShowsOnAWhiteTree) {
  HTREEITEM root = FixtureRoot();
  HTREEITEM beta = ChildNamed(root, "beta");
  ASSERT_NE(beta, nullptr);
  SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(beta));
  Send(suite::FTM_SETBKCOLOR, 0, RGB(255, 255, 255));
  RedrawWindow(tree_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::PumpMessagesFor(50);
  RECT text = {};
  std::memcpy(&text, &beta, sizeof(beta));
  ASSERT_TRUE(SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&text)));
  const auto band = static_cast<COLORREF>(SKGETSYSCOLOR(114));
  HDC dc = GetDC(tree_);
  ASSERT_NE(dc, nullptr);
  int labelPixels = 0;
  for (int y = text.top; y < text.bottom; ++y) {
    for (int x = text.left; x < text.right; ++x) {
      COLORREF pixel = GetPixel(dc, x, y);
      if (GetRValue(pixel) > 200 && GetGValue(pixel) > 200 && GetBValue(pixel) > 200) ++labelPixels;
    }
  }
  const COLORREF textCorner = GetPixel(dc, text.left, text.top);
  ReleaseDC(tree_, dc);
  EXPECT_EQ(textCorner, band) << std::hex << "got " << textCorner;
  EXPECT_GT(labelPixels, 10) << "the selected label is not drawn";
}

// While the program rebuilds the tree it hides it and holds the engine's
// desktop picture; the frame then shows that picture at its own place on
// the screen, so what was there stays in view.
TEST_F(FolderTreeTest, HiddenTreeShowsTheHeldDesktopPictureInTheFrame) {
  HDC held = SKDCDESKTOP(1);
  ASSERT_NE(held, nullptr);
  POINT origin = {0, 0};
  ClientToScreen(frame_, &origin);
  // Marks painted into the held picture at known screen places: the frame
  // must show each at the same place of its client area.
  struct Mark {
    int x, y;  // in the frame's client area
    COLORREF colour;
  };
  const Mark marks[] = {{0, 0, RGB(200, 10, 10)}, {37, 21, RGB(10, 180, 40)}, {300, 400, RGB(20, 30, 220)}};
  SKFILLRECT(held, origin.x, origin.y, 400, 540, static_cast<int32_t>(RGB(240, 240, 0)));
  for (const Mark& mark : marks) {
    SKFILLRECT(held, origin.x + mark.x, origin.y + mark.y, 12, 9, static_cast<int32_t>(mark.colour));
  }

  ShowWindow(tree_, SW_HIDE);
  RedrawWindow(frame_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  harness::ScratchFolder folder("tree frame");
  const std::string capture = folder.Child("frame.bmp");
  const bool captured = harness::CaptureWindowToBmp(frame_, capture);
  ShowWindow(tree_, SW_SHOW);
  EXPECT_NE(SKDCDESKTOP(2), nullptr);
  ASSERT_TRUE(captured);
  harness::Bmp24 shown;
  ASSERT_TRUE(harness::ReadBmp24(capture, &shown));
  ASSERT_GE(shown.width, 320);
  ASSERT_GE(shown.height, 420);
  for (const Mark& mark : marks) {
    SCOPED_TRACE(mark.x);
    EXPECT_EQ(shown.at(mark.x + 1, mark.y + 1), mark.colour) << std::hex << shown.at(mark.x + 1, mark.y + 1);
    EXPECT_EQ(shown.at(mark.x + 11, mark.y + 8), mark.colour);
    EXPECT_EQ(shown.at(mark.x + 13, mark.y + 10), RGB(240, 240, 0));
  }
  EXPECT_EQ(shown.at(200, 200), RGB(240, 240, 0));
}

TEST_F(FolderTreeTest, ClearBackColourExpandRootAndUnknownMessages) {
  HTREEITEM root = FixtureRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Send(suite::FTM_EXPANDROOT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) &
                TVIS_EXPANDED,
            0u);
  EXPECT_EQ(Send(suite::FTM_EXPANDROOT, 1, 0), 1);
  EXPECT_NE(SendMessageA(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(root), TVIS_EXPANDED) &
                TVIS_EXPANDED,
            0u);

  EXPECT_EQ(static_cast<COLORREF>(Send(suite::FTM_SETBKCOLOR, 0, RGB(10, 20, 30))),
            RGB(255, 255, 255));
  EXPECT_EQ(static_cast<COLORREF>(SendMessageA(tree_, TVM_GETBKCOLOR, 0, 0)), RGB(10, 20, 30));
  EXPECT_NE(GetWindowLongA(tree_, GWL_STYLE) & TVS_HASLINES, 0);
  EXPECT_EQ(static_cast<COLORREF>(Send(suite::FTM_SETBKCOLOR, 0, RGB(255, 255, 255))),
            RGB(10, 20, 30));

  EXPECT_EQ(Send(0x900, 1, 2), 0);
  EXPECT_EQ(Send(suite::FTM_REPAINT, 0, 0), 1);
  EXPECT_EQ(Send(suite::FTM_CLEAR, 0, 0), 1);
  EXPECT_EQ(SendMessageA(tree_, TVM_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(Send(suite::FTM_GETPATHLENGTH, 0, 0), 0);
}

}  // namespace
