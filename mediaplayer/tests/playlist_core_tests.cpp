// Tests of the media player's item list and list readers over real files.
//
// The readers see Windows paths ("C:\lists\p.m3u", "\\server\share\x");
// `MappedFiles` lays each drive and share out as a folder of a fresh temp
// folder (lower-cased, as the Windows file system ignores case), and every
// fixture file is written there by the test: a file the list names is
// either created or truly missing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <cctype>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/item_list.h"
#include "core/list_lines.h"
#include "core/media_masks.h"
#include "core/path_placeholders.h"
#include "core/play_lists.h"
#include "core/player_files.h"
#include "core/player_list.h"
#include "core/side_files.h"
#include "core/slide_show_file.h"
#include "core/suite_command_codes.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using player::PlayerList;

// The real file system under `root`, reached by Windows paths.
class MappedFiles : public player::PlayerFiles {
 public:
  explicit MappedFiles(fs::path root) : root_(std::move(root)) {}

  // "C:\a\b" -> root/c/a/b, "\\srv\share\x" -> root/unc/srv/share/x; ""
  // for anything that is not a full Windows path (the readers must never
  // ask for one).
  std::string Host(const std::string& windowsPath) const {
    std::string rest;
    std::string top;
    if (windowsPath.size() >= 3 && windowsPath[1] == ':' && (windowsPath[2] == '\\' || windowsPath[2] == '/')) {
      top = std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))));
      rest = windowsPath.substr(3);
    } else if (windowsPath.size() > 2 && (windowsPath[0] == '\\' || windowsPath[0] == '/') &&
               (windowsPath[1] == '\\' || windowsPath[1] == '/')) {
      top = "unc";
      rest = windowsPath.substr(2);
    } else {
      return std::string();
    }
    for (char& c : rest) {
      if (c == '\\') c = '/';
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return (root_ / top).string() + "/" + rest;
  }

  bool FileExists(const std::string& path) const override {
    std::string host = Host(path);
    return !host.empty() && host_.FileExists(host);
  }
  player::FileReadStatus ReadFile(const std::string& path, size_t maxBytes, std::string* bytes,
                                  bool* truncated) const override {
    std::string host = Host(path);
    if (host.empty()) {
      bytes->clear();
      *truncated = false;
      return player::FileReadStatus::Missing;
    }
    return host_.ReadFile(host, maxBytes, bytes, truncated);
  }
  bool MakeFolder(const std::string& path) const override {
    std::string host = Host(path);
    return !host.empty() && host_.MakeFolder(host);
  }

 private:
  fs::path root_;
  player::StdPlayerFiles host_;
};

class PlaylistFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("orbplay-lists-" + std::to_string(getpid()) + "-" + info->name());
    fs::remove_all(root_);
    fs::create_directories(root_);
    files_ = std::make_unique<MappedFiles>(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // Writes a fixture file at a Windows path (folders made as needed).
  void Write(const std::string& windowsPath, const std::string& bytes) {
    fs::path host = files_->Host(windowsPath);
    ASSERT_FALSE(host.empty()) << windowsPath;
    fs::create_directories(host.parent_path());
    std::ofstream out(host, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << windowsPath;
  }
  // Fixtures for the cases of a table.  A path with a leading "?" names a
  // file that only some file systems allow ("|" in the name: Linux yes,
  // Windows no); it is made where it can be.
  void WriteFixtures(const std::vector<std::string>& windowsPaths) {
    for (const std::string& path : windowsPaths) {
      if (path.compare(0, 1, "?") != 0) {
        Write(path, "data");
        continue;
      }
      fs::path host = files_->Host(path.substr(1));
      fs::create_directories(host.parent_path());
      std::ofstream(host, std::ios::binary) << "data";
    }
  }
  void Touch(std::initializer_list<std::string> windowsPaths) {
    for (const std::string& path : windowsPaths) Write(path, "x");
  }
  // Fresh files for the next case of a table.
  void Clear() {
    fs::remove_all(root_);
    fs::create_directories(root_);
  }

  fs::path root_;
  std::unique_ptr<MappedFiles> files_;
};

// A list that a failed read must leave as it was.
PlayerList SentinelList() {
  PlayerList list;
  player::SetPlayerList(&list, "C:\\old\\one.avi|C:\\old\\two.avi", "1500|2500");
  list.index = 2;
  return list;
}

void ExpectSameList(const PlayerList& got, const PlayerList& want) {
  EXPECT_EQ(got.itemList, want.itemList);
  EXPECT_EQ(got.count, want.count);
  EXPECT_EQ(got.index, want.index);
  EXPECT_EQ(got.displayTimes, want.displayTimes);
  EXPECT_EQ(got.slideShowFolder, want.slideShowFolder);
}

// ---------------------------------------------------------------- .m3u ----

TEST_F(PlaylistFiles, M3uLinesBecomeItems) {
  struct Case {
    const char* name;
    std::string listPath;
    std::string bytes;
    std::vector<std::string> existing;
    std::string items;
  };
  const std::string longName(player::MAX_LIST_LINE_BYTES + 1, 'n');
  const Case cases[] = {
      {"comment, relative, sub-folder, rooted and drive lines", "C:\\lists\\p.m3u",
       "# my songs\r\na.mp3\r\nsub\\b.mp3\r\n\\c.mp3\r\nD:\\d.mp3\r\n",
       {"C:\\lists\\a.mp3", "C:\\lists\\sub\\b.mp3", "C:\\c.mp3", "D:\\d.mp3"},
       "C:\\lists\\a.mp3|C:\\lists\\sub\\b.mp3|C:\\c.mp3|D:\\d.mp3"},
      {"URLs of any scheme are kept unchecked", "C:\\lists\\p.m3u",
       "http://radio.example/live\nftp://files.example/a.mp3\nmms://media.example/show\n"
       "rtsp://cam.example:554/x\nHTTPS://Secure.Example/A.mp3\n",
       {},
       "http://radio.example/live|ftp://files.example/a.mp3|mms://media.example/show|"
       "rtsp://cam.example:554/x|HTTPS://Secure.Example/A.mp3"},
      {"UNC paths kept as they are; a missing one skipped", "C:\\lists\\p.m3u",
       "\\\\server\\music\\a.mp3\r\n\\\\server\\music\\gone.mp3\r\n",
       {"\\\\server\\music\\a.mp3"}, "\\\\server\\music\\a.mp3"},
      {"missing files are skipped", "C:\\lists\\p.m3u", "gone.mp3\r\nhere.mp3\r\nD:\\gone.mp3\r\n",
       {"C:\\lists\\here.mp3"}, "C:\\lists\\here.mp3"},
      {"extended M3U comments and blank lines", "C:\\lists\\p.m3u",
       "#EXTM3U\r\n\r\n#EXTINF:215,Artist - Title\r\n   \r\na.mp3\r\n\t\r\n#EXTINF:-1,Radio\r\n"
       "http://radio.example/\r\n",
       {"C:\\lists\\a.mp3"}, "C:\\lists\\a.mp3|http://radio.example/"},
      {"blanks and tabs around a line", "C:\\lists\\p.m3u", "   a.mp3   \n\t b.mp3\t\n",
       {"C:\\lists\\a.mp3", "C:\\lists\\b.mp3"}, "C:\\lists\\a.mp3|C:\\lists\\b.mp3"},
      {"LF endings, no final line end", "C:\\lists\\p.m3u", "a.mp3\nb.mp3",
       {"C:\\lists\\a.mp3", "C:\\lists\\b.mp3"}, "C:\\lists\\a.mp3|C:\\lists\\b.mp3"},
      {"CR endings", "C:\\lists\\p.m3u", "a.mp3\rb.mp3\r",
       {"C:\\lists\\a.mp3", "C:\\lists\\b.mp3"}, "C:\\lists\\a.mp3|C:\\lists\\b.mp3"},
      {"mixed endings", "C:\\lists\\p.m3u", "a.mp3\r\nb.mp3\rc.mp3\n\n\r\nd.mp3",
       {"C:\\lists\\a.mp3", "C:\\lists\\b.mp3", "C:\\lists\\c.mp3", "C:\\lists\\d.mp3"},
       "C:\\lists\\a.mp3|C:\\lists\\b.mp3|C:\\lists\\c.mp3|C:\\lists\\d.mp3"},
      {"UTF-8 byte-order mark", "C:\\lists\\p.m3u", "\xEF\xBB\xBF" "a.mp3\r\n#EXTINF:1,x\r\n",
       {"C:\\lists\\a.mp3"}, "C:\\lists\\a.mp3"},
      {"a line holding the separator or a zero byte is no item", "C:\\lists\\p.m3u",
       "a|b.mp3\r\nc\0d.mp3\r\ne.mp3\r\n"s,
       {"?C:\\lists\\a|b.mp3", "C:\\lists\\c", "C:\\lists\\e.mp3"}, "C:\\lists\\e.mp3"},
      {"an overlong line is skipped, the next one read", "C:\\lists\\p.m3u",
       longName + ".mp3\r\nshort.mp3\r\n", {"C:\\lists\\short.mp3"}, "C:\\lists\\short.mp3"},
      {"one-letter name and parent folder", "C:\\lists\\p.m3u", "a\r\n..\\other\\x.mp3\r\n",
       {"C:\\lists\\a", "C:\\other\\x.mp3"}, "C:\\lists\\a|C:\\lists\\..\\other\\x.mp3"},
      {"forward slashes", "C:\\lists\\p.m3u", "sub/b.mp3\r\n/top/c.mp3\r\n",
       {"C:\\lists\\sub\\b.mp3", "C:\\top\\c.mp3"}, "C:\\lists\\sub/b.mp3|C:/top/c.mp3"},
      {"a list on a share: relative and rooted lines stay on the share",
       "\\\\server\\music\\lists\\p.m3u", "a.mp3\r\n\\top\\b.mp3\r\n",
       {"\\\\server\\music\\lists\\a.mp3", "\\\\server\\music\\top\\b.mp3"},
       "\\\\server\\music\\lists\\a.mp3|\\\\server\\music\\top\\b.mp3"},
      {"nothing usable: an empty list", "C:\\lists\\p.m3u", "#EXTM3U\r\n\r\ngone.mp3\r\n", {}, ""},
      {"empty file", "C:\\lists\\p.m3u", "", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Write(c.listPath, c.bytes);
    WriteFixtures(c.existing);
    PlayerList list = SentinelList();
    ASSERT_TRUE(player::ReadPlaylist(c.listPath, "C:\\Orb\\", *files_, &list));
    EXPECT_EQ(list.itemList, c.items);
    EXPECT_EQ(list.count, static_cast<int32_t>(suite::ItemFieldCount(c.items)));
    EXPECT_EQ(list.index, c.items.empty() ? 0 : 1);
    EXPECT_EQ(list.displayTimes, "");
  }
}

TEST_F(PlaylistFiles, M3uListPathFromTheCommandLine) {
  struct Case {
    const char* name;
    std::string path;
    std::string fullPath;
  };
  const Case cases[] = {
      {"relative: the program folder (the player's current folder)", "lists\\p.m3u",
       "C:\\Orb\\lists\\p.m3u"},
      {"rooted: the program folder's drive", "\\lists\\p.m3u", "C:\\lists\\p.m3u"},
      {"drive path as it is", "D:\\x\\p.m3u", "D:\\x\\p.m3u"},
      {"UNC path as it is, its leading backslashes kept", "\\\\srv\\share\\p.m3u", "\\\\srv\\share\\p.m3u"},
      {"doubled backslashes of the join collapsed", "\\\\\\lists\\\\p.m3u", "C:\\lists\\p.m3u"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(player::PlaylistPath(c.path, "C:\\Orb\\"), c.fullPath);
  }
  EXPECT_EQ(player::PlaylistPath("lists\\\\p.m3u", "C:\\Orb\\"), "C:\\Orb\\lists\\p.m3u");

  // Reading through a relative name finds the list in the program folder,
  // and its relative lines join the list's own folder.
  Write("C:\\Orb\\lists\\p.m3u", "a.mp3\r\n");
  Touch({"C:\\Orb\\lists\\a.mp3"});
  PlayerList list;
  ASSERT_TRUE(player::ReadPlaylist("lists\\p.m3u", "C:\\Orb", *files_, &list));
  EXPECT_EQ(list.itemList, "C:\\Orb\\lists\\a.mp3");
}

TEST_F(PlaylistFiles, MissingListLeavesTheListAlone) {
  Touch({"C:\\lists\\folder.m3u\\inside"});  // a folder of the list's name
  for (const std::string& path : {std::string("C:\\lists\\none.m3u"), std::string("C:\\lists\\folder.m3u"),
                                  std::string(""), std::string("http://host/p.m3u")}) {
    SCOPED_TRACE(path);
    PlayerList list = SentinelList();
    EXPECT_FALSE(player::ReadPlaylist(path, "C:\\Orb\\", *files_, &list));
    ExpectSameList(list, SentinelList());
    list = SentinelList();
    EXPECT_EQ(player::ReadUplList(path, "C:\\Orb\\", *files_, &list), "");
    ExpectSameList(list, SentinelList());
  }
}

TEST_F(PlaylistFiles, HugeListIsReadUpToItsBound) {
  // Comment lines fill the file up to just before the bound; the line the
  // bound cuts ("abc.mp3" cut to "ab") must not become the existing "ab",
  // and nothing past the bound is read.
  Touch({"C:\\lists\\first.mp3", "C:\\lists\\ab", "C:\\lists\\abc.mp3", "C:\\lists\\after.mp3"});
  std::string bytes = "first.mp3\r\n";
  const std::string filler = "#" + std::string(98, '-') + "\n";
  while (bytes.size() + filler.size() <= player::MAX_LIST_FILE_BYTES - 2) bytes += filler;
  bytes += std::string(player::MAX_LIST_FILE_BYTES - 2 - bytes.size(), '\n');
  bytes += "abc.mp3\r\nafter.mp3\r\n";
  ASSERT_GT(bytes.size(), player::MAX_LIST_FILE_BYTES);
  Write("C:\\lists\\huge.m3u", bytes);
  PlayerList list;
  ASSERT_TRUE(player::ReadPlaylist("C:\\lists\\huge.m3u", "C:\\Orb\\", *files_, &list));
  EXPECT_EQ(list.itemList, "C:\\lists\\first.mp3");

  // Far more items than a list keeps: the first MAX_LIST_ITEMS.
  std::string many;
  for (int32_t i = 1; i <= player::MAX_LIST_ITEMS + 10; ++i) many += "http://h/" + std::to_string(i) + "\n";
  Write("C:\\lists\\many.m3u", many);
  ASSERT_TRUE(player::ReadPlaylist("C:\\lists\\many.m3u", "C:\\Orb\\", *files_, &list));
  EXPECT_EQ(list.count, player::MAX_LIST_ITEMS);
  EXPECT_EQ(suite::ItemField(list.itemList, static_cast<size_t>(player::MAX_LIST_ITEMS)),
            "http://h/" + std::to_string(player::MAX_LIST_ITEMS));
}

// ---------------------------------------------------------------- .upl ----

TEST_F(PlaylistFiles, UplLinesBecomeItems) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> existing;
    std::string items;
  };
  const Case cases[] = {
      {"full paths with CR LF, as the media browser writes them",
       "c:\\media\\a.avi\r\nd:\\music\\b.wav\r\n", {"C:\\media\\a.avi", "D:\\music\\b.wav"},
       "c:\\media\\a.avi|d:\\music\\b.wav"},
      {"@path@ is the program folder", "@path@media\\x.avi\r\n", {"C:\\Orb\\media\\x.avi"},
       "C:\\Orb\\media\\x.avi"},
      {"missing files skipped, URLs and shares kept", "c:\\gone.avi\r\nmms://live.example/tv\r\n"
       "\\\\nas\\video\\c.avi\r\n", {"\\\\nas\\video\\c.avi"},
       "mms://live.example/tv|\\\\nas\\video\\c.avi"},
      {"relative lines join the list's folder; rooted ones its drive", "clip.avi\r\n\\top.avi\r\n",
       {"E:\\lists\\clip.avi", "E:\\top.avi"}, "E:\\lists\\clip.avi|E:\\top.avi"},
      {"leading blanks, blank lines, LF and a BOM", "\xEF\xBB\xBF   c:\\a.avi\n\n  \nc:\\b.avi",
       {"C:\\a.avi", "C:\\b.avi"}, "c:\\a.avi|c:\\b.avi"},
      {"a line with the separator is no item", "c:\\a|b.avi\r\nc:\\b.avi\r\n",
       {"?C:\\a|b.avi", "C:\\b.avi"}, "c:\\b.avi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Write("E:\\lists\\mine.upl", c.bytes);
    WriteFixtures(c.existing);
    PlayerList list = SentinelList();
    EXPECT_EQ(player::ReadUplList("E:\\lists\\mine.upl", "C:\\Orb", *files_, &list), c.items);
    EXPECT_EQ(list.itemList, c.items);
    EXPECT_EQ(list.count, static_cast<int32_t>(suite::ItemFieldCount(c.items)));
    EXPECT_EQ(list.index, c.items.empty() ? 0 : 1);
    EXPECT_EQ(list.displayTimes, "");
  }
}

// ---------------------------------------------------------- slide show ----

TEST_F(PlaylistFiles, SlideShowFileGivesPicturesTimesAndSettings) {
  struct Case {
    const char* name;
    std::string path;
    std::string bytes;
    std::vector<std::string> existing;
    std::string items;
    std::string times;
    std::string settings;
  };
  const Case cases[] = {
      {"settings line and two pictures; missing and non-picture lines drop their times",
       "D:\\Show\\trip.ssl",
       "[@path@sounds.txt|0|1|1|80|500]\r\n@path@a.jpg,2500\r\ngone.jpg,100\r\nnotes.txt,300\r\n"
       "\r\nb.png,4000\r\n",
       {"D:\\Show\\a.jpg", "D:\\Show\\notes.txt", "D:\\Show\\b.png"},
       "D:\\Show\\a.jpg|D:\\Show\\b.png", "2500|4000", "D:\\Show\\sounds.txt|0|1|1|80|500"},
      {"lines are lower-cased and lose their leading blanks", "D:\\Show\\trip.ssl",
       "   @PATH@Big.JPG,1000\r\n  [X|5]\r\n", {"D:\\Show\\big.jpg"}, "D:\\Show\\big.jpg", "1000", "x|5"},
      {"the last settings line wins; its trailing brackets go", "D:\\Show\\trip.ssl",
       "[first|1]\r\n[second|0]]] \r\n", {}, "", "", "second|0"},
      {"a comma in the show's folder does not cut the picture's path", "D:\\my,show\\trip.ssl",
       "@path@a.jpg,700\r\n\"@path@b,c.gif\",800\r\n", {"D:\\my,show\\a.jpg", "D:\\my,show\\b,c.gif"},
       "D:\\my,show\\a.jpg|D:\\my,show\\b,c.gif", "700|800", ""},
      {"pictures without or with bad times keep an empty time", "D:\\Show\\trip.ssl",
       "a.jpg\r\nb.jpg,abc\r\nc.jpg,-50\r\nd.jpg,99999999999\r\n",
       {"D:\\Show\\a.jpg", "D:\\Show\\b.jpg", "D:\\Show\\c.jpg", "D:\\Show\\d.jpg"},
       "D:\\Show\\a.jpg|D:\\Show\\b.jpg|D:\\Show\\c.jpg|D:\\Show\\d.jpg", "|||2147483647", ""},
      {"absolute, rooted and share pictures", "D:\\Show\\trip.ssl",
       "c:\\pics\\a.tif,1\r\n\\top.bmp,2\r\n\\\\nas\\pics\\c.jpeg,3\r\nhttp://host/x.jpg,4\r\n",
       {"C:\\pics\\a.tif", "D:\\top.bmp", "\\\\nas\\pics\\c.jpeg"},
       "c:\\pics\\a.tif|D:\\top.bmp|\\\\nas\\pics\\c.jpeg", "1|2|3", ""},
      {"a file named without a folder lies in the program folder", "trip.ssl",
       "@path@a.jpg,10\r\n[@path@snd.txt]\r\n", {"C:\\Orb\\a.jpg"}, "C:\\Orb\\a.jpg", "10",
       "C:\\Orb\\snd.txt"},
      {"an empty settings line is no settings", "D:\\Show\\trip.ssl", "[]\r\n[ ]\r\n", {}, "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Write(player::PlaylistPath(c.path, "C:\\Orb\\"), c.bytes);
    for (const std::string& path : c.existing) Write(path, "picture");
    PlayerList list = SentinelList();
    player::SlideShowFile show;
    ASSERT_TRUE(player::ReadSlideShowFile(c.path, "C:\\Orb\\", *files_, &list, &show));
    EXPECT_EQ(list.itemList, c.items);
    EXPECT_EQ(list.displayTimes, c.times);
    EXPECT_EQ(list.count, static_cast<int32_t>(suite::ItemFieldCount(c.items)));
    EXPECT_EQ(show.settingsText, c.settings);
    EXPECT_EQ(show.hasSettings, !c.settings.empty());
    EXPECT_EQ(show.folder, player::SlideShowFolderOf(player::PlaylistPath(c.path, "C:\\Orb\\"), "C:\\Orb\\"));
    EXPECT_EQ(player::SlideShowFolder(list, "C:\\Orb\\"), show.folder);
  }

  EXPECT_EQ(player::SlideShowFolder(SentinelList(), "C:\\Orb\\"), "C:\\Orb\\");
  PlayerList list = SentinelList();
  player::SlideShowFile show;
  EXPECT_FALSE(player::ReadSlideShowFile("D:\\Show\\none.ssl", "C:\\Orb\\", *files_, &list, &show));
  ExpectSameList(list, SentinelList());
}

TEST_F(PlaylistFiles, SlideShowTimesStayWithTheirPictures) {
  Write("D:\\Show\\trip.ssl", "a.jpg,1000\r\ngone.jpg,2000\r\nb.jpg,3000\r\nc.jpg\r\nd.jpg,5000\r\n");
  Touch({"D:\\Show\\a.jpg", "D:\\Show\\b.jpg", "D:\\Show\\c.jpg", "D:\\Show\\d.jpg"});
  PlayerList list;
  player::SlideShowFile show;
  ASSERT_TRUE(player::ReadSlideShowFile("D:\\Show\\trip.ssl", "C:\\Orb\\", *files_, &list, &show));
  ASSERT_EQ(list.count, 4);
  const int32_t want[] = {1000, 3000, 0, 5000};
  for (int32_t n = 1; n <= 4; ++n) {
    SCOPED_TRACE(suite::ItemField(list.itemList, static_cast<size_t>(n)));
    EXPECT_EQ(player::DisplayTimeOf(list, n), want[n - 1]);
  }
  EXPECT_EQ(player::DisplayTimeOf(list, 5), 0);
}

TEST_F(PlaylistFiles, SlideShowSendsItsCommandsBeforeTheFirstPicture) {
  // The settings say: pictures advance on their own (field 2 = 0) and
  // option 407 on (field 4 = 1), so codes 4, 5, 6 and 7 in that order.
  Write("D:\\Show\\trip.ssl", "[@path@sounds.txt|0|0|1|75|250]\r\nfirst.jpg,3000\r\nsecond.gif,2000\r\n");
  Touch({"D:\\Show\\first.jpg", "D:\\Show\\second.gif"});
  PlayerList list;
  player::SlideShowFile show;
  ASSERT_TRUE(player::ReadSlideShowFile("D:\\Show\\trip.ssl", "C:\\Orb\\", *files_, &list, &show));
  ASSERT_TRUE(show.hasSettings);
  player::SlideShowPlan plan =
      player::PlanSlideShow(player::ParseSlideShowSettings(show.settingsText), "5000", false);
  ASSERT_EQ(plan.commands.size(), 4u);
  EXPECT_EQ(plan.commands[0].code, suite::CMD_SET_BACKGROUND_SOUND);
  EXPECT_EQ(plan.commands[0].text, "D:\\Show\\sounds.txt|75|250|5000");
  EXPECT_EQ(plan.commands[1].code, suite::CMD_ENABLE_OPTION_407);
  EXPECT_EQ(plan.commands[2].code, suite::CMD_ENABLE_OPTION_411);
  EXPECT_EQ(plan.commands[3].code, suite::CMD_PLAY_IF_SHOWN);
  EXPECT_EQ(player::FirstItemToOpen(list), "D:\\Show\\first.jpg");
  EXPECT_EQ(list.index, 1);
}

TEST(SlideShowSettings, PlanFollowsTheFields) {
  struct Case {
    const char* name;
    std::string settings;
    bool recording;
    std::vector<uint32_t> codes;
    std::string soundText;
    std::string optionDisplayTime;  // field 19 afterwards (before: "4000")
    bool singlePass;
    bool captionBand;
    bool keepHidden;
  };
  const uint32_t sound = suite::CMD_SET_BACKGROUND_SOUND;
  const uint32_t on407 = suite::CMD_ENABLE_OPTION_407;
  const uint32_t on411 = suite::CMD_ENABLE_OPTION_411;
  const uint32_t play = suite::CMD_PLAY_IF_SHOWN;
  const Case cases[] = {
      {"sound, auto advance, option 407", "s.txt|0|0|1|80|500", false, {sound, on407, on411, play},
       "s.txt|80|500|4000", "4000", false, false, false},
      {"advance by hand, no 407", "s.txt|1|0|0|80|500", false, {sound, play}, "s.txt|80|500|4000",
       "4000", false, false, true},
      {"only a sound list: the missing numbers read 0", "s.txt", false, {sound, on411, play},
       "s.txt|0|0|4000", "4000", false, false, false},
      {"field 7 replaces the default display time", "|2|1|0|50|100|3000", false, {sound, play},
       "|50|100|3000", "3000", true, false, true},
      {"field 7 is taken as a number: no comma reaches the option line", "|2|0|0|0|0|2500,9", false,
       {sound, play}, "|0|0|2500", "2500", false, false, true},
      {"an empty or zero field 7 keeps the default", "|2|0|0|0|0|", false, {sound, play}, "|0|0|4000",
       "4000", false, false, true},
      {"a zero field 7 keeps the default", "|2|0|0|0|0|0", false, {sound, play}, "|0|0|4000", "4000",
       false, false, true},
      {"field 8 with 8 fields: the caption band", "|1|0|0|0|0|4000|1", false, {sound, play}, "|0|0|4000",
       "4000", false, true, true},
      {"recording forces a single pass", "|1|0", true, {sound, play}, "|0|0|4000", "4000", true, false,
       true},
      {"volume held within 0-100, interval not negative", "s|1|0|0|150|-20", false, {sound, play},
       "s|100|0|4000", "4000", false, false, true},
      {"fields past the eighth are ignored", "a|1|1|1|10|20|1500|1|junk|more", false,
       {sound, on407, play}, "a|10|20|1500", "1500", true, true, true},
      {"non-numeric numbers read 0", "a|x|y|z|v|w", false, {sound, on411, play}, "a|0|0|4000", "4000",
       false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::SlideShowPlan plan = player::PlanSlideShow(player::ParseSlideShowSettings(c.settings), "4000",
                                                       c.recording);
    std::vector<uint32_t> codes;
    for (const player::PlannedCommand& command : plan.commands) {
      codes.push_back(command.code);
      if (command.code != sound) {
        EXPECT_EQ(command.text, "");
      }
    }
    EXPECT_EQ(codes, c.codes);
    ASSERT_FALSE(plan.commands.empty());
    EXPECT_EQ(plan.commands[0].text, c.soundText);
    EXPECT_EQ(plan.optionDisplayTime, c.optionDisplayTime);
    EXPECT_EQ(plan.displayTimeChanged, c.optionDisplayTime != "4000");
    EXPECT_EQ(plan.singlePass, c.singlePass);
    EXPECT_EQ(plan.captionBand, c.captionBand);
    EXPECT_EQ(plan.keepHiddenWindow, c.keepHidden);
  }
  EXPECT_EQ(player::ParseSlideShowSettings("a|b|c|d|e|f|g|h|i").fieldCount, 8);
  EXPECT_EQ(player::ParseSlideShowSettings("a||").fieldCount, 3);
  EXPECT_EQ(player::ParseSlideShowSettings("").fieldCount, 0);
}

TEST(SlideShowSettings, FileNamesAndFolders) {
  EXPECT_TRUE(player::IsSlideShowFile("D:\\Show\\TRIP.SSL", ".ssl"));
  EXPECT_TRUE(player::IsSlideShowFile("trip.ssl", ".SSL"));
  EXPECT_FALSE(player::IsSlideShowFile("trip.ssl.jpg", ".ssl"));
  EXPECT_FALSE(player::IsSlideShowFile("trip.ssl", ""));
  EXPECT_EQ(player::SlideShowFolderOf("D:\\Show\\trip.ssl", "C:\\Orb\\"), "D:\\Show\\");
  EXPECT_EQ(player::SlideShowFolderOf("trip.ssl", "C:\\Orb"), "C:\\Orb\\");
}

// ---------------------------------------------------------- side files ----

TEST_F(PlaylistFiles, SideFilesOfAPicture) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // path, bytes
    bool moduleMode;
    int32_t moduleTimeMs;
    player::PictureSideFiles want;
  };
  const std::string pic = "C:\\pics\\beach.jpg";
  const Case cases[] = {
      {"every side file present",
       {{"C:\\pics\\beach.kwd", "  sunset, beach \r\n\0old words"s},
        {"C:\\pics\\beach.wav", "RIFF"},
        {"C:\\pics\\beach.doc", "doc"},
        {"C:\\pics\\beach.sfx", "5|2,4,0\r\n"},
        {"C:\\pics\\beach.tim", "2500\r\n"}},
       true, 6000,
       {"sunset, beach", "C:\\pics\\beach.wav", "C:\\pics\\beach.doc", "5|2,4,0\r\n", 2500}},
      {"a time below a second becomes four seconds", {{"C:\\pics\\beach.tim", "500"}}, true, 6000,
       {"", "", "", "", 4000}},
      {"no time file: the module's time", {}, true, 6000, {"", "", "", "", 6000}},
      {"no time file and a short module time", {}, true, 300, {"", "", "", "", 4000}},
      {"a time file that holds no number", {{"C:\\pics\\beach.tim", "soon"}}, true, 6000,
       {"", "", "", "", 4000}},
      {"outside module mode the time file is not read", {{"C:\\pics\\beach.tim", "2500"}}, false, 6000,
       {"", "", "", "", 0}},
      {"keywords file of blanks only", {{"C:\\pics\\beach.kwd", "   \r\n"}}, false, 0, {"", "", "", "", 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Clear();
    Write(pic, "jpeg");
    for (const auto& [path, bytes] : c.files) Write(path, bytes);
    player::PictureSideFiles got = player::ReadSideFiles(pic, *files_, c.moduleMode, c.moduleTimeMs);
    EXPECT_EQ(got.keywords, c.want.keywords);
    EXPECT_EQ(got.soundPath, c.want.soundPath);
    EXPECT_EQ(got.documentPath, c.want.documentPath);
    EXPECT_EQ(got.transitions, c.want.transitions);
    EXPECT_EQ(got.displayTimeMs, c.want.displayTimeMs);
  }
}

TEST_F(PlaylistFiles, SideFilesNeedAnExtensionInTheFileName) {
  struct Case {
    std::string picture;
    std::string keywordFile;
  };
  const Case cases[] = {
      {"C:\\pics\\a.jpg", "C:\\pics\\a.kwd"},
      {"C:\\pics\\a.b.jpg", "C:\\pics\\a.b.kwd"},
      {"C:\\pics\\a.", "C:\\pics\\a.kwd"},
      {"C:\\pics\\noext", ""},
      {"C:\\my.pics\\noext", ""},
      {"C:/my.pics/noext", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(player::SideFileName(c.picture, "kwd"), c.keywordFile);
  }
  // The files beside the folder's "." are not the picture's: no keywords,
  // and in module mode the module's time rather than the stray "tim".
  Write("C:\\my.kwd", "not these");
  Write("C:\\my.tim", "9000");
  player::PictureSideFiles got = player::ReadSideFiles("C:\\my.pics\\noext", *files_, true, 6000);
  EXPECT_EQ(got.keywords, "");
  EXPECT_EQ(got.displayTimeMs, 6000);
}

// ---------------------------------------------------- placeholders --------

TEST(PathPlaceholders, Expansion) {
  const player::PlaceholderFolders folders{"C:\\Orb\\", "C:\\Docs\\orb\\", "C:\\Windows\\",
                                           "C:\\Windows\\System\\", "C:\\Temp\\"};
  struct Case {
    std::string text;
    std::string expanded;
  };
  const Case cases[] = {
      {"@path@media\\x.avi", "C:\\Orb\\media\\x.avi"},
      {"@user@downloads", "C:\\Docs\\orb\\downloads"},
      {"@win@orbplay.cfg", "C:\\Windows\\orbplay.cfg"},
      {"@sys@x", "C:\\Windows\\System\\x"},
      {"@temp@a|@tmp@b", "C:\\Temp\\a|C:\\Temp\\b"},
      {"@PATH@ stays: tokens are lower case", "@PATH@ stays: tokens are lower case"},
      {"@unknown@ and @ alone", "@unknown@ and @ alone"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(player::ExpandPlaceholders(c.text, folders), c.expanded);
  }
  // A folder that itself holds a token is not expanded again.
  EXPECT_EQ(player::ExpandPlaceholders("@path@x", {"C:\\@user@\\", "U\\", "", "", ""}), "C:\\@user@\\x");
  EXPECT_EQ(player::ExpandProgramFolder("@path@a|@path@b", "C:\\Orb\\"), "C:\\Orb\\a|C:\\Orb\\b");
}

TEST(PathPlaceholders, BackslashesAndUserFolderEntry) {
  struct Collapse {
    std::string path;
    std::string collapsed;
  };
  const Collapse collapses[] = {
      {"C:\\\\a\\\\\\b\\", "C:\\a\\b\\"},
      {"\\\\server\\share\\\\x", "\\\\server\\share\\x"},
      {"\\\\\\\\server\\x", "\\\\server\\x"},
      {"\\\\", "\\\\"},
      {"", ""},
  };
  for (const Collapse& c : collapses) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(player::CollapseBackslashes(c.path), c.collapsed);
  }

  struct Entry {
    std::string entry;
    std::string documents;
    std::string folder;
  };
  const Entry entries[] = {
      {"@USER@\\OrbPlay", "C:\\Docs\\", "C:\\Docs\\orbplay\\"},
      {"@user@orbplay\\", "C:\\Docs", "C:\\Docs\\orbplay\\"},
      {"@path@Downloads", "C:\\Docs\\", "C:\\Orb\\downloads\\"},
      {"@user@orb", "\\\\nas\\home\\docs\\", "\\\\nas\\home\\docs\\orb\\"},
      {"  ", "C:\\Docs\\", ""},
      {"", "C:\\Docs\\", ""},
  };
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.entry);
    EXPECT_EQ(player::UserDataFolderFromEntry(e.entry, "C:\\Orb\\", e.documents), e.folder);
  }
}

TEST_F(PlaylistFiles, UserDataFolderIsCreated) {
  std::string folder = player::UserDataFolder("@user@Orb\\Downloads", "C:\\Orb\\", "D:\\Docs\\", *files_);
  EXPECT_EQ(folder, "D:\\Docs\\orb\\downloads\\");
  EXPECT_TRUE(fs::is_directory(files_->Host("D:\\Docs\\Orb\\Downloads")));
  // Made again: it exists, the same answer.
  EXPECT_EQ(player::UserDataFolder("@user@Orb\\Downloads", "C:\\Orb\\", "D:\\Docs\\", *files_), folder);

  // Empty entry, or a file where the folder should go: the program folder.
  EXPECT_EQ(player::UserDataFolder("", "C:\\Orb\\", "D:\\Docs\\", *files_), "C:\\Orb\\");
  Write("D:\\Docs\\blocked", "a file");
  EXPECT_EQ(player::UserDataFolder("@user@blocked\\sub", "C:\\Orb\\", "D:\\Docs\\", *files_), "C:\\Orb\\");
  EXPECT_FALSE(fs::exists(files_->Host("D:\\Docs\\blocked\\sub")));
}

// ------------------------------------------------------ extension runs ----

TEST(MediaMasks, MatchFileMaskPositions) {
  const std::string run = player::MediaExtensionRun(".avi.mpg.mpeg.mov.", "*.mp3;*.wav;*.ogg", true);
  ASSERT_EQ(run, ".avi.mpg.mpeg.mov.mp3.wav.ogg.");
  struct Case {
    std::string item;
    int32_t position;
  };
  const Case cases[] = {
      {"C:\\a.AVI", 1},
      {"C:\\a.mpg", 5},
      {"C:\\a.mpeg", 9},
      {"C:\\a.mov", 14},
      {"C:\\a.MP3", 18},
      {"http://host/x.ogg", 26},
      {"C:\\a.mp", 0},
      {"C:\\a.pg", 0},
      {"C:\\a.jpg", 0},
      {"C:\\a", 0},
      {"C:\\a.", 0},
      {"C:\\dir.avi\\file", 0},
      {"http://www.example.com", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    EXPECT_EQ(player::MatchFileMask(c.item, run), c.position);
  }
  // Without the audio library its patterns are no media.
  const std::string videoOnly = player::MediaExtensionRun(".avi.mpg.", "*.mp3", false);
  EXPECT_EQ(videoOnly, ".avi.mpg.");
  EXPECT_EQ(player::MatchFileMask("a.mp3", videoOnly), 0);
  EXPECT_EQ(player::MatchFileMask("a.mp3", player::MediaExtensionRun("", "*.mp3", true)), 1);
}

TEST(MediaMasks, AudioAndPictureItems) {
  struct Run {
    std::string patterns;
    std::string run;
  };
  const Run runs[] = {
      {"*.mp3;*.wav;*.ogg", ".mp3.wav.ogg."},
      {" *.MP3 ; *.Wav;", ".mp3.wav."},
      {"mp3;.wav", ".mp3.wav."},
      {"", ""},
      {";;*", ""},
  };
  for (const Run& r : runs) {
    SCOPED_TRACE(r.patterns);
    EXPECT_EQ(player::AudioExtensionRun(r.patterns), r.run);
  }

  struct Item {
    std::string item;
    bool audio;
    bool picture;
  };
  const Item items[] = {
      {"C:\\a.MP3", true, false},    {"C:\\a.wav", true, false},  {"C:\\a.avi", false, false},
      {"C:\\a.JPG", false, true},    {"C:\\a.jpeg", false, true}, {"C:\\a.peg", false, false},
      {"C:\\a.tiff", false, false},  {"C:\\a.g2b", false, true},  {"C:\\a.fpx", false, true},
      {"C:\\jpg", false, false},     {"C:\\x.jpg\\a", false, false},
  };
  for (const Item& i : items) {
    SCOPED_TRACE(i.item);
    EXPECT_EQ(player::IsAudioItem(i.item, "*.mp3;*.wav"), i.audio);
    EXPECT_EQ(player::IsPictureItem(i.item), i.picture);
  }
  EXPECT_EQ(player::KeepPictureItems("C:\\a.jpg|C:\\b.avi|http://h/c.PNG|C:\\d|C:\\e.gif"),
            "C:\\a.jpg|http://h/c.PNG|C:\\e.gif");
  EXPECT_EQ(player::KeepPictureItems("C:\\b.avi|C:\\x.mp3"), "");
  EXPECT_EQ(player::KeepPictureItems(""), "");
}

// ------------------------------------------------------------ the list ----

TEST(PlayerListState, NewListsAndTheirItems) {
  struct Case {
    std::string items;
    std::string times;
    int32_t count;
    int32_t index;
    std::string first;
    std::string storedTimes;
  };
  const Case cases[] = {
      {"a|b|c", "1000|2000|3000", 3, 1, "a", "1000|2000|3000"},
      {"a|b|c|||", "1000||", 3, 1, "a", "1000"},
      {"only", "", 1, 1, "only", ""},
      {"", "", 0, 0, "", ""},
      {"|||", "|", 0, 0, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.items);
    PlayerList list = SentinelList();
    player::SetPlayerList(&list, c.items, c.times);
    EXPECT_EQ(list.count, c.count);
    EXPECT_EQ(list.index, c.index);
    EXPECT_EQ(player::FirstItemToOpen(list), c.first);
    EXPECT_EQ(player::CurrentItem(list), c.first);
    EXPECT_EQ(list.displayTimes, c.storedTimes);
  }
  PlayerList list;
  player::SetPlayerList(&list, "a|b|c", "1000||3000");
  list.index = 3;
  EXPECT_EQ(player::CurrentItem(list), "c");
  EXPECT_EQ(player::DisplayTimeOf(list, 1), 1000);
  EXPECT_EQ(player::DisplayTimeOf(list, 2), 0);
  EXPECT_EQ(player::DisplayTimeOf(list, 3), 3000);
  EXPECT_EQ(player::DisplayTimeOf(list, 0), 0);
  list.index = 4;
  EXPECT_EQ(player::CurrentItem(list), "");
}

// ------------------------------------------------------- file access ------

TEST_F(PlaylistFiles, StdFilesReadWithinTheirBound) {
  const std::string path = (root_ / "ten.bin").string();
  {
    std::ofstream out(path, std::ios::binary);
    out << "0123456789";
  }
  player::StdPlayerFiles files;
  std::string bytes = "sentinel";
  bool cut = true;
  EXPECT_EQ(files.ReadFile(path, 100, &bytes, &cut), player::FileReadStatus::Read);
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_FALSE(cut);
  EXPECT_EQ(files.ReadFile(path, 10, &bytes, &cut), player::FileReadStatus::Read);
  EXPECT_EQ(bytes, "0123456789");
  EXPECT_FALSE(cut);
  EXPECT_EQ(files.ReadFile(path, 4, &bytes, &cut), player::FileReadStatus::Read);
  EXPECT_EQ(bytes, "0123");
  EXPECT_TRUE(cut);
  EXPECT_EQ(files.ReadFile((root_ / "none").string(), 4, &bytes, &cut), player::FileReadStatus::Missing);
  EXPECT_EQ(bytes, "");
  EXPECT_EQ(files.ReadFile(root_.string(), 4, &bytes, &cut), player::FileReadStatus::Missing);
  EXPECT_TRUE(files.FileExists(path));
  EXPECT_FALSE(files.FileExists(root_.string()));
  EXPECT_FALSE(files.FileExists(std::string("ten.bin\0x", 9)));
  // A file over 2 GB (sparse: it takes no room) exists and reads.
  const fs::path big = root_ / "big.avi";
  std::ofstream(big, std::ios::binary) << "RIFF";
  std::error_code error;
  fs::resize_file(big, 3ull * 1024 * 1024 * 1024, error);
  if (!error) {
    EXPECT_TRUE(files.FileExists(big.string()));
    EXPECT_EQ(files.ReadFile(big.string(), 4, &bytes, &cut), player::FileReadStatus::Read);
    EXPECT_EQ(bytes, "RIFF");
    EXPECT_TRUE(cut);
  } else {
    ADD_FAILURE() << "no sparse file of 3 GB here: " << error.message();
  }
  EXPECT_TRUE(files.MakeFolder((root_ / "a" / "b" / "c").string() + "/"));
  EXPECT_TRUE(fs::is_directory(root_ / "a" / "b" / "c"));
  EXPECT_FALSE(files.MakeFolder(path + "/sub"));
}

}  // namespace
