// The browser panes' settings and rectangles, and the picture view's
// fitting, transitions, captions, scrolling, print placement and memory
// picture.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/browser_rules.h"
#include "core/picture_rules.h"

namespace {

using player::FitRect;
using player::MemoryPlan;
using player::MemoryPlanInput;
using player::PaneRect;
using player::Transition;

std::string Show(const PaneRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
         std::to_string(r.height);
}
std::string Show(const FitRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.width) + "x" +
         std::to_string(r.height);
}

TEST(IndexSettings, ReadsTheLine) {
  struct Case {
    const char* name;
    std::string line;
    int32_t side, size, bits;
    std::string page;
  } cases[] = {
      {"percent", "1,25%,3,@PATH@Index.HTM", 1, -25, 3, "c:\\orb\\index.htm"},
      {"pixels", "2, 120 ,7,http://Example/", 2, 120, 7, "http://example/"},
      {"empty", "", 0, 0, 0, ""},
      {"no page", "3,100,1", 3, 100, 1, ""},
      {"empty size", "4,,1,a", 4, 0, 1, "a"},
      {"lowest percent", "2,-7125999993%,1", 2, INT32_MAX, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    player::IndexSettings s = player::ParseIndexSettings(c.line, "c:\\orb\\");
    EXPECT_EQ(c.side, s.side);
    EXPECT_EQ(c.size, s.size);
    EXPECT_EQ(c.bits, s.layoutBits);
    EXPECT_EQ(c.page, s.page);
  }
}

TEST(IndexPane, RectanglesAndTheDocumentBeside) {
  struct Case {
    const char* name;
    int32_t side, size, clientW, clientH;
    PaneRect index;
    PaneRect content;  // with the index's part taken away
  } cases[] = {
      {"left 25%", 1, -25, 799, 599, {0, 0, 200, 600}, {199, 0, 601, 600}},
      {"unknown side is left", 9, 100, 799, 599, {0, 0, 100, 600}, {99, 0, 701, 600}},
      {"top 120", 2, 120, 799, 599, {0, 0, 800, 120}, {0, 120, 800, 480}},
      {"right 10%", 3, -10, 799, 599, {720, 0, 80, 600}, {0, 0, 721, 600}},
      {"bottom 50", 4, 50, 799, 599, {0, 550, 800, 50}, {0, 0, 800, 551}},
      {"none", 0, 100, 799, 599, {0, 0, 0, 0}, {0, 0, 800, 600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PaneRect index = player::IndexRectangle(c.side, c.size, c.clientW, c.clientH);
    EXPECT_EQ(c.index, index) << Show(index);
    const PaneRect whole{0, 0, c.clientW + 1, c.clientH + 1};
    PaneRect content = player::ContentBesideIndex(whole, c.side, index);
    EXPECT_EQ(c.content, content) << Show(content);
    // Hiding the index gives the document pane back exactly the whole area.
    PaneRect back = player::ContentWithoutIndex(content, c.side, index);
    EXPECT_EQ(whole, back) << Show(back);
  }
}

TEST(IndexPane, ResizeStyleBySide) {
  EXPECT_EQ(0x0010, player::IndexResizeStyle(2));
  EXPECT_EQ(0x1011, player::IndexResizeStyle(3));
  EXPECT_EQ(0x1110, player::IndexResizeStyle(4));
  EXPECT_EQ(0x1000, player::IndexResizeStyle(1));
  EXPECT_EQ(0x1000, player::IndexResizeStyle(7));
}

TEST(BrowserZoom, ButtonsAndSteps) {
  struct Case {
    int32_t level, step, next;
    bool in, out;
  } cases[] = {{0, -1, 0, true, false}, {0, 1, 1, true, false}, {2, 1, 3, true, true},
               {4, 1, 4, false, true},  {4, -1, 3, false, true}, {1, -1, 0, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level * 10 + c.step);
    EXPECT_EQ(c.next, player::SteppedZoom(c.level, c.step));
    player::ZoomButtons buttons = player::ZoomButtonsFor(c.level);
    EXPECT_EQ(c.in, buttons.zoomInEnabled);
    EXPECT_EQ(c.out, buttons.zoomOutEnabled);
  }
}

// A spreadsheet shown, then another document, then the spreadsheet again:
// the last one must show, so the memory is dropped when another comes.
TEST(BrowserPanes, SpreadsheetIsForgottenWhenAnotherDocumentShows) {
  std::string remembered = player::RememberedSpreadsheet("c:\\a\\Sheet.XLS");
  EXPECT_EQ("c:\\a\\Sheet.XLS", remembered);
  remembered = player::RememberedSpreadsheet("c:\\a\\page.htm");
  EXPECT_EQ("", remembered);
  EXPECT_FALSE(player::IsSpreadsheet("c:\\a\\xls.htm"));
  EXPECT_EQ("Orb Play - Title", player::PageTitleText("Orb Play", "Title"));
}

TEST(PictureFit, EnlargesAndCentres) {
  struct Case {
    const char* name;
    int32_t sw, sh, bw, bh;
    FitRect expected;
  } cases[] = {
      {"small picture enlarged", 100, 50, 400, 400, {0, 100, 400, 200}},
      {"tall picture by height", 100, 200, 400, 300, {125, 0, 150, 300}},
      {"exact", 640, 480, 640, 480, {0, 0, 640, 480}},
      {"rounded", 3, 2, 100, 100, {0, 16, 100, 67}},
      {"zero source", 0, 0, 100, 100, {50, 50, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FitRect fit = player::FitEnlarged(c.sw, c.sh, c.bw, c.bh);
    EXPECT_EQ(c.expected, fit) << Show(fit);
  }
}

TEST(Transitions, ListsTextsAndTheCycle) {
  struct ListCase {
    std::string text;
    std::vector<int32_t> expected;
  } lists[] = {{"1-3,7", {1, 2, 3, 7}},     {" 1 - 3 , 7 ", {1, 2, 3, 7}}, {"", {}},
               {"5", {5}},                  {"3-1", {}},                   {"-2", {-2}},
               {"17001-17002", {17001, 17002}}};
  for (const ListCase& c : lists) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.expected, player::ParseTransitionList(c.text));
  }
  EXPECT_EQ(static_cast<size_t>(player::kMaxTransitionRange), player::ParseTransitionList("1-2000000000").size());
  EXPECT_EQ(static_cast<size_t>(player::kMaxTransitionRange),
            player::ParseTransitionList("1-9000,1-9000,1-9000,5").size());

  struct TextCase {
    std::string text;
    Transition expected;
  } texts[] = {{"18000", {18000, 4, 0}},        {"17005,10,500", {17005, 10, 500}}, {"12|x,7,9", {12, 7, 9}},
               {"", {0, 4, 0}},                 {"abc", {0, 4, 0}},                 {"33, ,250", {33, 4, 250}}};
  for (const TextCase& c : texts) {
    SCOPED_TRACE(c.text);
    Transition t = player::ParseTransitionText(c.text);
    EXPECT_EQ(c.expected, t) << t.effect << "," << t.grain << "," << t.delay;
  }

  player::TransitionCycle cycle{player::ParseTransitionList("1-3,7")};
  std::vector<int32_t> seen;
  for (int i = 0; i < 6; ++i) seen.push_back(player::ChooseTransition("", &cycle).effect);
  EXPECT_EQ((std::vector<int32_t>{1, 2, 3, 7, 1, 2}), seen);
  // A picture's own transition leaves the cycle where it was.
  EXPECT_EQ(17005, player::ChooseTransition("17005,10,500", &cycle).effect);
  EXPECT_EQ(3, player::ChooseTransition("", &cycle).effect);
  player::TransitionCycle empty;
  EXPECT_EQ(player::EFFECT_NONE, player::ChooseTransition("", &empty).effect);

  EXPECT_EQ(player::TransitionKind::kNone, player::KindOfEffect(18000));
  EXPECT_EQ(player::TransitionKind::kFade, player::KindOfEffect(17000));
  EXPECT_EQ(player::TransitionKind::kFade, player::KindOfEffect(17999));
  EXPECT_EQ(player::TransitionKind::kImaging, player::KindOfEffect(16999));
  EXPECT_EQ(player::TransitionKind::kImaging, player::KindOfEffect(18001));

  player::FadeCall slow = player::FadeCallFor({17000, 4, 0}, 500);
  EXPECT_EQ(50, slow.grain);
  EXPECT_EQ(2000, slow.delay);
  EXPECT_EQ(-1, slow.number);
  player::FadeCall fast = player::FadeCallFor({17005, 10, 500}, 500);
  EXPECT_EQ(10, fast.grain);
  EXPECT_EQ(500, fast.delay);
  EXPECT_EQ(5, fast.number);
}

TEST(Caption, CentredOrAtTheLeftWhenWider) {
  player::CaptionPlace place = player::PlaceCaption(1024, 768, 200, 16);
  EXPECT_EQ(411, place.x);
  EXPECT_EQ(750, place.y);
  EXPECT_EQ(18, place.bandHeight);
  EXPECT_EQ(0, player::PlaceCaption(1024, 768, 1500, 16).x);
  EXPECT_EQ(0, player::PlaceCaption(1024, 768, 1023, 16).x);
}

TEST(Scrolling, StepsAndClamps) {
  using player::ScrollRequest;
  EXPECT_EQ(15, player::ScrolledOffset(10, ScrollRequest::kLineDown, 0));
  EXPECT_EQ(5, player::ScrolledOffset(10, ScrollRequest::kLineUp, 0));
  EXPECT_EQ(60, player::ScrolledOffset(10, ScrollRequest::kPageDown, 0));
  EXPECT_EQ(-40, player::ScrolledOffset(10, ScrollRequest::kPageUp, 0));
  EXPECT_EQ(123, player::ScrolledOffset(10, ScrollRequest::kThumb, 123));
  EXPECT_EQ(0, player::ClampScroll(-40, 1024, 600));
  EXPECT_EQ(424, player::ClampScroll(1000, 1024, 600));
  EXPECT_EQ(0, player::ClampScroll(30, 500, 600));
  // A small picture still scrolls over the whole memory picture.
  EXPECT_EQ(424, player::ScrollRange(1024, 600));
  EXPECT_EQ(0, player::ScrollRange(500, 600));
}

TEST(Printing, MarginsByPaperOrientation) {
  // Portrait: 15 left and right, 60 top and bottom; the picture centred,
  // so a picture as wide as the room keeps both side margins.
  FitRect portrait = player::PrintPlacement(4800, 6600, 200, 280, 1000, 500);
  EXPECT_EQ((FitRect{15, 2107, 4770, 2385}), portrait) << Show(portrait);
  // Landscape: 60 left and right, none at top and bottom.
  FitRect landscape = player::PrintPlacement(6600, 4800, 280, 200, 100, 100);
  EXPECT_EQ((FitRect{900, 0, 4800, 4800}), landscape) << Show(landscape);
  FitRect wide = player::PrintPlacement(6600, 4800, 280, 200, 1000, 10);
  EXPECT_EQ((FitRect{60, 2367, 6480, 65}), wide) << Show(wide);
  EXPECT_EQ((FitRect{}), player::PrintPlacement(6600, 4800, 280, 200, 0, 100));
}

TEST(MemoryPicture, GrowsOnlyAndStaysBounded) {
  struct Case {
    const char* name;
    MemoryPlanInput in;
    MemoryPlan expected;
  } cases[] = {
      {"first picture: the screen", {800, 600, 0, 0, 1024, 768, 32, 600}, {false, 800, 600, 1024, 768, true}},
      {"large picture grows it", {4000, 3000, 1024, 768, 1024, 768, 32, 600}, {false, 4000, 3000, 4000, 3000, true}},
      {"smaller one keeps it", {800, 600, 4000, 3000, 1024, 768, 32, 600}, {false, 800, 600, 4000, 3000, false}},
      {"huge picture scaled down, not a giant bitmap",
       {20000, 15000, 1024, 768, 1024, 768, 32, 600}, {false, 9449, 7087, 9449, 7087, true}},
      {"impossible picture refused", {2000000000, 1, 0, 0, 1024, 768, 32, 600}, {true, 0, 0, 0, 0, false}},
      {"old system under the limit", {1000, 1000, 1024, 768, 1024, 768, 32, 400}, {false, 1000, 1000, 1024, 1000, true}},
      // 4000 x 4000 x 4 = 64,000,000 = 4 x the limit: each side halved, so
      // the area is a quarter and the memory exactly the limit.
      {"old system scaled by the square root", {4000, 4000, 1024, 768, 1024, 768, 32, 400},
       {false, 2000, 2000, 2000, 2000, true}},
      // 1.2 x the limit is reduced too (a rounded ratio of 1 would not).
      {"old system just over the limit", {2000, 2400, 0, 0, 1024, 768, 32, 400}, {false, 1825, 2190, 1825, 2190, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryPlan plan = player::PlanMemoryPicture(c.in);
    EXPECT_EQ(c.expected, plan) << plan.refused << " picture " << plan.pictureWidth << "x" << plan.pictureHeight
                                << " memory " << plan.memoryWidth << "x" << plan.memoryHeight << " " << plan.rebuild;
    if (!plan.refused) {
      const int64_t limit = c.in.osVersion < 500 ? player::kOldSystemMemoryBytes : player::kMaxMemoryPictureBytes;
      EXPECT_LE(int64_t{plan.memoryWidth} * plan.memoryHeight * 4, limit);
    }
  }
}

}  // namespace
