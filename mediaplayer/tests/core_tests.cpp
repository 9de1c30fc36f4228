// Tests of the media player's portable rules: the option line, the command
// line, start-up routing and the window procedure's decisions.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/command_rules.h"
#include "core/option_line.h"
#include "core/path_names.h"
#include "core/player_command_line.h"

namespace {

constexpr uint32_t kShadow = 0x00A0A0A0;

struct OptionFixture {
  std::string line;
  bool onTop = false;
  int shadowAsked = 0;
  player::OptionLine options{[this] { return line; }, [this] { return onTop; },
                             [this] {
                               ++shadowAsked;
                               return kShadow;
                             }};
};

std::string LineWithField(size_t n, const std::string& text) {
  return player::RewriteOptionFields("", {{n, text}});
}

TEST(OptionLine, NumericFieldsAndDefaults) {
  struct Case {
    const char* name;
    size_t field;
    std::string text;
    int32_t expected;
  };
  const Case cases[] = {
      {"empty field is 0", 1, "", 0},
      {"number", 3, "305", 305},
      {"leading blanks", 4, "  4", 4},
      {"non-numeric", 5, "abc", 0},
      {"hex-looking text", 6, "0x40", 0},
      {"fraction rounds to even", 9, "2.5", 2},
      {"fraction rounds up", 10, "3.6", 4},
      {"negative", 9, "-1", -1},
      {"saturated", 11, "99999999999", 2147483647},
      {"display time", 19, "4000", 4000},
      {"field 18 is never read", 18, "7", 0},
      {"field 14 empty keeps the volume", 14, "", player::OPTION_KEEP_VOLUME},
      {"field 14 above 100", 14, "150", 100},
      {"field 14 negative keeps the volume", 14, "-5", player::OPTION_KEEP_VOLUME},
      {"field 14 in range", 14, "40", 40},
      {"field 14 zero mutes", 14, "0", 0},
      {"field 8 plain", 8, "0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionFixture f;
    f.line = LineWithField(c.field, c.text);
    int32_t (player::OptionLine::*const accessors[])() const = {
        &player::OptionLine::OptionField1,  &player::OptionLine::OptionField2,
        &player::OptionLine::OptionField3,  &player::OptionLine::OptionField4,
        &player::OptionLine::OptionField5,  &player::OptionLine::OptionField6,
        &player::OptionLine::OptionField7,  &player::OptionLine::OptionField8,
        &player::OptionLine::OptionField9,  &player::OptionLine::OptionField10,
        &player::OptionLine::OptionField11, nullptr,
        nullptr,                            &player::OptionLine::OptionField14,
        &player::OptionLine::OptionField15, &player::OptionLine::OptionField16,
        &player::OptionLine::OptionField17, &player::OptionLine::OptionField18,
        &player::OptionLine::OptionField19, nullptr,
        nullptr,                            &player::OptionLine::OptionField22,
        &player::OptionLine::OptionField23,
    };
    ASSERT_NE(accessors[c.field - 1], nullptr);
    EXPECT_EQ((f.options.*accessors[c.field - 1])(), c.expected) << f.line;
  }
}

TEST(OptionLine, TextFieldsAndMissingFields) {
  OptionFixture f;
  f.line = "1,0,303,7,8,31,0,0,0,0,5,/s codec.inf,@temp@cfg\\,40";
  EXPECT_EQ(f.options.OptionField12(), "/s codec.inf");
  EXPECT_EQ(f.options.OptionField13(), "@temp@cfg\\");
  EXPECT_EQ(f.options.OptionField14(), 40);
  EXPECT_EQ(f.options.OptionField3(), 303);
  // A line shorter than 23 fields: the missing ones read as empty.
  EXPECT_EQ(f.options.OptionField19(), 0);
  EXPECT_EQ(f.options.OptionField23(), 0);
  f.line = "";
  EXPECT_EQ(f.options.OptionField1(), 0);
  EXPECT_EQ(f.options.OptionField12(), "");
}

TEST(OptionLine, AlwaysOnTopMenuWins) {
  OptionFixture f;
  f.line = LineWithField(8, "0");
  EXPECT_EQ(f.options.OptionField8(), 0);
  f.onTop = true;
  EXPECT_EQ(f.options.OptionField8(), 1);
  f.line = LineWithField(8, "5");
  EXPECT_EQ(f.options.OptionField8(), 1);
  f.onTop = false;
  EXPECT_EQ(f.options.OptionField8(), 5);
}

TEST(OptionLine, Fields20And21AreKeptAfterTheFirstRead) {
  struct Case {
    const char* name;
    std::string field21;
    int32_t colour;
  };
  const Case cases[] = {
      {"empty gives the button shadow", "", static_cast<int32_t>(kShadow)},
      {"zero is black", "0", 0},
      {"decimal COLORREF", "16711680", 16711680},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OptionFixture f;
    f.line = player::RewriteOptionFields("", {{20, "30"}, {21, c.field21}});
    EXPECT_EQ(f.options.OptionField20(), 30);
    EXPECT_EQ(f.options.OptionField21(), c.colour);
    f.line = player::RewriteOptionFields("", {{20, "99"}, {21, "255"}});
    EXPECT_EQ(f.options.OptionField20(), 30);
    EXPECT_EQ(f.options.OptionField21(), c.colour);
    EXPECT_EQ(f.shadowAsked, c.field21.empty() ? 1 : 0);
    // Every other field follows the rewrite at once.
    f.line = LineWithField(19, "2500");
    EXPECT_EQ(f.options.OptionField19(), 2500);
  }
}

TEST(OptionLine, Rewrites) {
  struct Case {
    const char* name;
    std::string line;
    std::string avi;       // after the ".avi" rewrite
    std::string timed;     // after the display-time rewrite with "3000"
  };
  const std::string full = "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,s,t,u,v,w";
  const Case cases[] = {
      {"full line", full, "a,b,304,d,e,f,1,h,i,j,k,l,m,n,o,p,q,r,s,t,u,v,w",
       "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,3000,t,u,v,w"},
      {"empty line grows to 23 fields", "", ",,304,,,,1,,,,,,,,,,,,,,,,",
       ",,,,,,,,,,,,,,,,,,3000,,,,"},
      {"short line grows", "1,2", "1,2,304,,,,1,,,,,,,,,,,,,,,,",
       "1,2,,,,,,,,,,,,,,,,,3000,,,,"},
      {"longer line keeps its extra fields", full + ",x", "a,b,304,d,e,f,1,h,i,j,k,l,m,n,o,p,q,r,s,t,u,v,w,x",
       "a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q,r,3000,t,u,v,w,x"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(player::RewriteForAviKiosk(c.line), c.avi);
    EXPECT_EQ(player::RewriteDisplayTime(c.line, "3000"), c.timed);
    OptionFixture f;
    f.line = player::RewriteForAviKiosk(c.line);
    EXPECT_EQ(f.options.OptionField7(), 1);
    EXPECT_EQ(f.options.OptionField3(), 304);
  }
}

TEST(PlayerCommandLine, ParseCommandLine) {
  struct Case {
    const char* name;
    std::string line;
    std::string list;
    bool multi;
  };
  const Case cases[] = {
      {"empty", "", "", false},
      {"quoted name with a blank", "\"C:\\a b.avi\"", "C:\\a b.avi", false},
      {"two unquoted full paths", "C:\\a.avi D:\\b.avi", "C:\\a.avi|D:\\b.avi", true},
      {"unquoted path with a blank stays one", "C:\\My Media\\a b.avi", "C:\\My Media\\a b.avi", false},
      {"two quoted paths", "\"C:\\a b.avi\" \"D:\\c d.mp3\"", "C:\\a b.avi|D:\\c d.mp3", true},
      {"quoted then unquoted", "\"C:\\a b.avi\" D:\\c.mp3", "C:\\a b.avi|D:\\c.mp3", true},
      {"unpaired quote ends the pairing", "\"C:\\a b.avi", "\"C:\\a|b.avi", true},
      {"odd quotes", "\"C:\\a b\" \"D:\\x", "C:\\a b|\"D:\\x", true},
      {"url", "http://host/x.mp3", "http://host/x.mp3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::ParsedCommandLine got = player::ParseCommandLine(c.line, nullptr);
    EXPECT_EQ(got.itemList, c.list);
    EXPECT_EQ(got.multiItem, c.multi);
  }
}

TEST(PlayerCommandLine, SingleUplArgumentIsExpanded) {
  std::vector<std::string> asked;
  auto reader = [&](const std::string& path) {
    asked.push_back(path);
    return std::string("C:\\x.avi|C:\\y.avi");
  };
  player::ParsedCommandLine got = player::ParseCommandLine("\"C:\\my lists\\p.UPL\"", reader);
  EXPECT_EQ(got.itemList, "C:\\x.avi|C:\\y.avi");
  EXPECT_TRUE(got.multiItem);
  EXPECT_EQ(asked, std::vector<std::string>{"C:\\my lists\\p.UPL"});
  asked.clear();
  got = player::ParseCommandLine("C:\\a.upl D:\\b.upl", reader);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(got.itemList, "C:\\a.upl|D:\\b.upl");
}

TEST(PlayerCommandLine, KeywordsNamesAndAutorun) {
  EXPECT_TRUE(player::IsRecordingKeyword("ssl2avi"));
  EXPECT_TRUE(player::IsRecordingKeyword(" SSL2AVI "));
  EXPECT_FALSE(player::IsRecordingKeyword("SSL2AVI x"));
  EXPECT_TRUE(player::IsTextTableArgument("@path@kiosk.sys"));
  EXPECT_FALSE(player::IsTextTableArgument("C:\\a b\\kiosk.sys"));
  EXPECT_FALSE(player::IsTextTableArgument(".sys"));
  EXPECT_TRUE(player::NamesAviFile("C:\\x.AVI"));
  EXPECT_FALSE(player::NamesAviFile("C:\\x.avi.mp3"));

  EXPECT_EQ(suite::BasePath("C:\\Orb\\", "orbplay.exe"), "C:\\Orb\\orbplay");
  EXPECT_EQ(suite::BasePath("C:\\Orb.v2\\", "orb.play.exe"), "C:\\Orb.v2\\orb.play");
  EXPECT_EQ(suite::BasePath("C:\\Orb.v2\\", "orbplay"), "C:\\Orb.v2\\orbplay");
  EXPECT_EQ(suite::NameBeforeFirstDot("orb.play.exe"), "orb");

  EXPECT_EQ(player::AutorunItem({"[autorun]", "OPEN=ORBPLAY.EXE  Movie.avi", "open=orbplay.exe b.avi"}),
            "movie.avi");
  EXPECT_EQ(player::AutorunItem({"  open=orbplay.exe x.avi  "}), "x.avi");
  EXPECT_EQ(player::AutorunItem({"open=other.exe x.avi"}), "");
  EXPECT_EQ(player::AutorunItem({}), "");
}

TEST(PlayerCommandLine, Urls) {
  const std::pair<std::string, std::string> cases[] = {
      {"www.example.com/a.mp3", "file://www.example.com/a.mp3"},
      {"http://x/a.mp3", "http://x/a.mp3"},
      {"HTTPS://x/a.mp3", "HTTPS://x/a.mp3"},
      {"ftp://x/a.mp3", "ftp://x/a.mp3"},
      {"file://c:/a.htm", "file://c:/a.htm"},
      {"c://weird", "file://c://weird"},
      {"C:\\gone.avi", "file://C:\\gone.avi"},
  };
  for (const auto& [text, url] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(player::AsUrl(text), url);
  }
}

TEST(PlayerCommandLine, Routing) {
  const std::map<std::string, std::string> files = {
      {"C:\\a.avi", "C:\\a.avi"}, {"C:\\p.m3u", "C:\\p.m3u"}, {"C:\\l.upl", "C:\\l.upl"},
      {"C:\\one.upl", "C:\\one.upl"}};
  player::RouteFileReaders readers;
  readers.findFile = [&](const std::string& name) {
    auto found = files.find(name);
    return found == files.end() ? std::string() : found->second;
  };
  readers.readPlaylist = [](const std::string&) { return std::string("C:\\m1.mp3|C:\\m2.mp3"); };
  readers.readUplList = [](const std::string& path) {
    return path == "C:\\one.upl" ? std::string("C:\\only.avi") : std::string("C:\\u1.avi|C:\\u2.avi|C:\\u3.avi");
  };
  struct Case {
    const char* name;
    player::RouteInput input;
    player::RouteKind kind;
    std::string item;
    int32_t count;
  };
  auto input = [](std::string line, bool multi = false) {
    player::RouteInput in;
    in.line = std::move(line);
    in.multiItem = multi;
    in.slideShowSuffix = ".ssl";
    in.ownSlideShowFile = "C:\\Orb\\orbplay.ssl";
    in.htmlPage = "C:\\Orb\\orbplay.HTM";
    return in;
  };
  auto with = [&](player::RouteInput in, auto change) {
    change(in);
    return in;
  };
  const Case cases[] = {
      {"multi item list", input("C:\\x.avi|C:\\y.avi", true), player::RouteKind::OpenList, "C:\\x.avi", 2},
      {"existing file", input("C:\\a.avi"), player::RouteKind::OpenFile, "C:\\a.avi", 0},
      {"m3u play list", input("C:\\p.m3u"), player::RouteKind::OpenList, "C:\\m1.mp3", 2},
      {"upl list", input("C:\\l.upl"), player::RouteKind::OpenList, "C:\\u1.avi", 3},
      {"upl list of one item opens the list file", input("C:\\one.upl"), player::RouteKind::OpenFile,
       "C:\\one.upl", 1},
      {"no file: URL", input("www.x.org"), player::RouteKind::OpenUrl, "file://www.x.org", 0},
      {"https URL kept", input("https://x.org/a"), player::RouteKind::OpenUrl, "https://x.org/a", 0},
      {"slide-show argument", input("C:\\show.SSL"), player::RouteKind::OpenSlideShowItem, "C:\\show.SSL", 0},
      {"nothing: picture layout", input(""), player::RouteKind::PictureLayout, "", 0},
      {"own slide show without library", with(input(""), [](auto& i) { i.ownSlideShowExists = true; }),
       player::RouteKind::EndWithCode2, "", 0},
      {"own slide show", with(input(""), [](auto& i) { i.ownSlideShowExists = i.slideShowLibraryPresent = true; }),
       player::RouteKind::OpenOwnSlideShow, "C:\\Orb\\orbplay.ssl", 0},
      {"own slide show, recording keyword",
       with(input(""), [](auto& i) { i.ownSlideShowExists = i.slideShowLibraryPresent = i.recordingKeyword = true; }),
       player::RouteKind::PictureLayout, "", 0},
      {"own slide show, autorun video",
       with(input(""), [](auto& i) {
         i.ownSlideShowExists = i.slideShowLibraryPresent = true;
         i.autorunItem = "movie.avi";
       }),
       player::RouteKind::OpenAutorun, "movie.avi", 0},
      {"html page", with(input(""), [](auto& i) { i.htmlPageExists = true; }), player::RouteKind::OpenHtmlPage,
       "C:\\Orb\\orbplay.HTM", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::Route route = player::RouteCommandLine(c.input, readers);
    EXPECT_EQ(route.kind, c.kind);
    EXPECT_EQ(route.item, c.item);
    EXPECT_EQ(route.itemCount, c.count);
  }
  EXPECT_EQ(player::FirstItemTrackPosition(2), 25);
  EXPECT_EQ(player::FirstItemTrackPosition(3), 17);
  EXPECT_EQ(player::FirstItemTrackPosition(1), 50);
  EXPECT_EQ(player::FirstItemTrackPosition(0), 0);
}

TEST(CommandRules, QueueJoining) {
  std::string queue;
  queue = player::QueueForwarded(queue, "C:\\a b.avi");
  EXPECT_EQ(queue, "C:\\a b.avi");
  queue = player::QueueForwarded(queue, "C:\\c.avi|D:\\d.avi|");
  EXPECT_EQ(queue, "C:\\a b.avi|C:\\c.avi|D:\\d.avi");
  EXPECT_EQ(player::QueuedBatch(queue, "E:\\first.avi", true), "E:\\first.avi|" + queue);
  EXPECT_EQ(player::QueuedBatch(queue, "E:\\first.avi", false), queue);
  EXPECT_EQ(player::QueuedBatch(queue, "", true), queue);
  EXPECT_EQ(player::QueueForwarded("", ""), "");
}

TEST(CommandRules, RecordingRequestsAndReport) {
  player::RecordingRequest none = player::ParseRecordingRequest("320");
  EXPECT_FALSE(none.valid);
  EXPECT_FALSE(player::ParseRecordingRequest("").valid);
  player::RecordingRequest request = player::ParseRecordingRequest("320,240,15,4660");
  EXPECT_TRUE(request.valid);
  EXPECT_EQ(request.width, 324);
  EXPECT_EQ(request.height, 244);
  EXPECT_EQ(request.frameRate, 15);
  EXPECT_EQ(request.reportWindow, 4660u);
  EXPECT_EQ(player::RecordingWindowX(1024, 324), 350);
  EXPECT_EQ(player::RecordingWindowX(300, 324), 0);
  EXPECT_EQ(player::RecordingReport(3, 0, 1), " 3, 0, 1");
  EXPECT_EQ(player::RecordingReport(-2, 10, 0), "-2, 10, 0");
}

TEST(CommandRules, PageExtensionAndBurnText) {
  const std::pair<std::string, bool> pages[] = {
      {"C:\\a.html", true}, {"C:\\a.HTM", true}, {"C:\\a.avi", false}, {"C:\\a", false},
      {"C:\\x.avi|C:\\b.htm", true}, {"C:\\page.h", true}, {"C:\\a.mp3", false}};
  for (const auto& [text, page] : pages) {
    SCOPED_TRACE(text);
    EXPECT_EQ(player::EndsWithPageExtension(text), page);
  }
  player::BurnHandOff burn = player::ParseBurnHandOff("C:\\rec.avi|HOLIDAY");
  EXPECT_EQ(burn.file, "C:\\rec.avi");
  EXPECT_EQ(burn.label, "HOLIDAY");
  burn = player::ParseBurnHandOff("C:\\rec.avi");
  EXPECT_EQ(burn.label, "");
}

}  // namespace
