// The picture browser's portable rules, case by case: the placement file,
// the start folder, the scan filters, keyword side files and captions, the
// film strip's paging and cell mapping, the wall's parameters and outcome,
// the poll of the full-screen views, panning, and the page layouts.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/print_layout.h"
#include "core/view_rules.h"

namespace view {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

TEST(Placement, DecodesTheFourValuesAndTheFolder) {
  const struct {
    std::string bytes;
    bool ok;
    int32_t x, y, w, h;
    std::string folder;
  } cases[] = {
      {Bytes({0x10, 0, 0x20, 0, 0x28, 3, 0x58, 2}) + "C:\\Pics\\", true, 16, 32, 808, 600, "C:\\Pics\\"},
      // Negative left and top are read as 0; width and height as they are.
      {Bytes({0xF6, 0xFF, 0x9C, 0xFF, 0xFF, 0xFF, 0, 0x80}), true, 0, 0, -1, -32768, ""},
      {Bytes({1, 0, 2, 0, 3, 0, 4, 0}), true, 1, 2, 3, 4, ""},
      // Too short to hold the four values: the defaults apply.
      {Bytes({1, 0, 2, 0, 3, 0, 4}), false, 0, 0, 0, 0, ""},
      {"", false, 0, 0, 0, 0, ""},
  };
  for (const auto& c : cases) {
    Placement p;
    ASSERT_EQ(DecodePlacement(c.bytes, &p), c.ok) << c.bytes.size();
    if (!c.ok) continue;
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
    EXPECT_EQ(p.width, c.w);
    EXPECT_EQ(p.height, c.h);
    EXPECT_EQ(p.folder, c.folder);
  }
}

TEST(Placement, EncodesLittleEndianAndClampsTo16Bits) {
  Placement p;
  p.x = -3;
  p.y = 70000;
  p.width = 808;
  p.height = 608;
  p.folder = "D:\\a.b\\";
  EXPECT_EQ(EncodePlacement(p), Bytes({0xFD, 0xFF, 0xFF, 0x7F, 0x28, 3, 0x60, 2}) + "D:\\a.b\\");
  const Placement d = DefaultPlacement(1024, 768, "C:\\windows\\");
  EXPECT_EQ(d.x, 108);
  EXPECT_EQ(d.y, 80);
  EXPECT_EQ(d.width, 808);
  EXPECT_EQ(d.height, 608);
  EXPECT_EQ(DefaultPlacement(640, 480, "").x, 0);
}

TEST(StartFolder, CommandLineAutorunOrSaved) {
  const struct {
    const char* commandLine;
    const char* folder;
  } lines[] = {
      {"orbview.exe C:\\Pics", "C:\\Pics\\"},
      {"\"C:\\Orb 2.0\\orbview.exe\" C:\\Pics\\\\", "C:\\Pics\\"},
      {"orbview.exe \"C:\\My Pics\"", "C:\\My Pics\\"},
      {"orbview.exe \"C:\\My Pics\\\" ", "C:\\My Pics\\"},
      {"orbview.exe WAITFORCOMMAND", ""},
      {"orbview.exe", ""},
      {"\"C:\\Orb\\orbview.exe\"", ""},
      {"orbview.exe   ", ""},
  };
  for (const auto& c : lines) EXPECT_EQ(CommandLineFolder(ArgumentsOf(c.commandLine)), c.folder) << c.commandLine;
  EXPECT_EQ(StartFolder("C:\\A\\", true, "C:\\Prog\\", "C:\\Saved\\"), "C:\\A\\");
  EXPECT_EQ(StartFolder("", true, "C:\\Prog\\", "C:\\Saved\\"), "C:\\Prog\\");
  EXPECT_EQ(StartFolder("", false, "C:\\Prog\\", "C:\\Saved\\"), "C:\\Saved\\");
  EXPECT_EQ(FolderOwnName("C:\\Pics\\Summer\\"), "Summer");
  EXPECT_EQ(BasePathOf("C:\\Orb 2.0\\orbview.exe"), "C:\\Orb 2.0\\orbview");
  EXPECT_EQ(BasePathOf("C:\\Orb 2.0\\orbview"), "C:\\Orb 2.0\\orbview");
}

TEST(Geometry, CellsButtonsAndFrames) {
  const ViewGeometry g = ComputeGeometry(792, 531);
  EXPECT_EQ(g.cellWidth, 198);
  EXPECT_EQ(g.cellHeight, 144);
  EXPECT_EQ(g.stripHeight, 170);
  EXPECT_EQ(g.lightTableY, 387);
  EXPECT_EQ(g.buttonY, 173);
  EXPECT_EQ(g.buttonX, 89);
  EXPECT_EQ(g.treeY, 203);
  EXPECT_EQ(g.frameY, 213);
  EXPECT_EQ(g.slotLabelY, 371);
  EXPECT_EQ(g.frameWidth, 98);
  EXPECT_EQ(g.frameStep, 100);
  int32_t w = 0, h = 0;
  MainWindowSize(3, 3, 20, 19, 18, 3, &w, &h);
  EXPECT_EQ(w, 792);
  EXPECT_EQ(h, 540);
  MainWindowSize(3, 4, 21, 19, 18, 3, &w, &h);
  EXPECT_EQ(w, 792);  // (800 - 7) \ 4 * 4
  EXPECT_EQ(h, 538);  // (600 - 61) \ 2 * 2
}

TEST(Scan, NamesAndAttributes) {
  const struct {
    const char* name;
    bool picture;
  } names[] = {{"Upper.JPG", true}, {"x.jpeg", true},     {"notes.txt", false}, {"a.gif", true},
               {"b.Png", true},     {"noext", false},     {"a.jp", false},      {"a.", false},
               {"a.JPG.bak", false}, {"C:\\a.b\\c", false}, {"d.fpx", true},     {".JPG", true}};
  for (const auto& c : names) EXPECT_EQ(IsPictureName(c.name), c.picture) << c.name;
  const struct {
    uint32_t attributes;
    bool taken;
  } attributes[] = {{0, true},     {1, true},      {0x20, true},  {0x21, true},  {0x80, true},
                    {0x2020, true}, {0x820, true},  {0x10, false}, {0x2, false}, {0x4, false},
                    {0x22, false}, {0x30, false}};
  for (const auto& c : attributes) EXPECT_EQ(AcceptsAttributes(c.attributes), c.taken) << c.attributes;
  EXPECT_FALSE(AcceptsEntryName("."));
  EXPECT_FALSE(AcceptsEntryName(".hidden.jpg"));
  EXPECT_TRUE(AcceptsEntryName("a.jpg"));
  std::vector<std::string> list = {"C:\\p\\b.jpg", "C:\\p\\B.jpg", "C:\\p\\a.jpg"};
  SortPictureList(&list);
  EXPECT_EQ(list, (std::vector<std::string>{"C:\\p\\B.jpg", "C:\\p\\a.jpg", "C:\\p\\b.jpg"}));
}

TEST(Keywords, SideFileAndTexts) {
  EXPECT_EQ(KeywordFilePath("C:\\p\\Sea.JPG"), "C:\\p\\Sea.KWD");
  EXPECT_EQ(KeywordFilePath("C:\\p.x\\sea"), "C:\\p.x\\sea.KWD");
  EXPECT_EQ(KeywordFilePath("C:\\p\\a.b.jpeg"), "C:\\p\\a.b.KWD");
  EXPECT_EQ(KeywordsOf(std::string("  words here \0junk", 18)), "words here");
  EXPECT_EQ(KeywordsOf(""), "");
  EXPECT_EQ(HoverText("C:\\P\\Sea.JPG", true, "sand"), "sea.jpg :  sand");
  EXPECT_EQ(HoverText("C:\\P\\Sea.JPG", false, ""), "sea.jpg");
  EXPECT_EQ(SlotCaption("C:\\P\\Sea.JPG", 640, 480), " sea.jpg 640x480");
}

// The visible strip after each command, for folders of 3, 4, 5 and 9.
TEST(Strip, PagingTable) {
  struct Step {
    int32_t command;  // 0 = open the folder (first page)
    int32_t last;     // last drawn index afterwards
    StripAction action;
  };
  const struct {
    int32_t count;
    std::vector<Step> steps;
  } cases[] = {
      {3, {{0, 3, StripAction::DrawPage}, {1, 3, StripAction::None}, {6, 3, StripAction::None},
           {5, 3, StripAction::None}, {2, 3, StripAction::None}}},
      {4, {{0, 4, StripAction::DrawPage}, {5, 4, StripAction::None}, {6, 4, StripAction::None}}},
      {5, {{0, 4, StripAction::DrawPage}, {5, 5, StripAction::ShiftLeft}, {5, 5, StripAction::None},
           {2, 4, StripAction::ShiftRight}, {2, 4, StripAction::None}, {6, 5, StripAction::DrawPage},
           {1, 4, StripAction::DrawPage}}},
      {9, {{0, 4, StripAction::DrawPage}, {6, 9, StripAction::DrawPage}, {2, 8, StripAction::ShiftRight},
           {5, 9, StripAction::ShiftLeft}, {1, 4, StripAction::DrawPage}, {5, 5, StripAction::ShiftLeft},
           {5, 6, StripAction::ShiftLeft}, {6, 9, StripAction::DrawPage}}},
  };
  for (const auto& c : cases) {
    StripState strip{c.count, 0};
    for (const Step& step : c.steps) {
      int32_t index = 0;
      StripAction action = StripAction::DrawPage;
      if (step.command != 0) action = PageCommand(step.command, &strip, &index);
      if (action == StripAction::DrawPage) {
        const std::vector<int32_t> cells = DrawPage(&strip);
        // The cells show the four pictures up to the last drawn.
        for (int32_t cell = 0; cell < 4; ++cell) {
          const int32_t expected = strip.last - (std::min(c.count, 4) - 1) + cell;
          if (cell < std::min(c.count, 4)) EXPECT_EQ(cells[static_cast<size_t>(cell)], expected);
        }
      }
      EXPECT_EQ(action, step.action) << c.count << " command " << step.command;
      EXPECT_EQ(strip.last, step.last) << c.count << " command " << step.command;
      if (action == StripAction::ShiftLeft) EXPECT_EQ(index, strip.last);
      if (action == StripAction::ShiftRight) EXPECT_EQ(index, strip.last - 3);
    }
  }
  StripState three{3, 0};
  EXPECT_EQ(DrawPage(&three), (std::vector<int32_t>{1, 2, 3, 0}));
}

TEST(Strip, CellAndSlotUnderTheMouse) {
  const struct {
    int32_t count, last, x, index;
  } cases[] = {{3, 3, 0, 1},    {3, 3, 250, 2},  {3, 3, 650, 0},   {9, 9, 0, 6},   {9, 9, 799, 9},
               {9, 6, 100, 3},  {9, 6, 5000, 6}, {9, 6, -20, 3},   {0, 0, 10, 0},  {1, 1, 10, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(CellIndexAt(StripState{c.count, c.last}, c.x, 200), c.index) << c.count << "/" << c.last << "@" << c.x;
  }
  // A holder width that is not a multiple of 4 leaves pixels right of
  // slot 4: they still count as slot 4.
  EXPECT_EQ(SlotAt(0, 198), 1);
  EXPECT_EQ(SlotAt(198, 198), 2);
  EXPECT_EQ(SlotAt(791, 198), 4);
  EXPECT_EQ(SlotAt(793, 198), 4);
}

TEST(Wall, ParametersFromTheActionText) {
  const struct {
    const char* action;
    int32_t columns, rows, delay;
  } cases[] = {{"2,3,500", 2, 3, 500}, {"0,0,-5", 1, 1, 0},  {"2,3", 4, 4, 3000}, {"", 4, 4, 3000},
               {"1,2,3,4", 4, 4, 3000}, {" 5, x,10", 5, 1, 10}, {"3,3,99999999999", 3, 3, 2147483647}};
  for (const auto& c : cases) {
    const WallParameters w = ParseWallParameters(c.action);
    EXPECT_EQ(w.columns, c.columns) << c.action;
    EXPECT_EQ(w.rows, c.rows) << c.action;
    EXPECT_EQ(w.delayMs, c.delay) << c.action;
  }
  const std::vector<CellRect> cells = WallCells(800, 600, ParseWallParameters("2,3,500"));
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[0].right, 399);
  EXPECT_EQ(cells[0].bottom, 199);
  EXPECT_EQ(cells[3].left, 400);
  EXPECT_EQ(cells[3].top, 200);
  EXPECT_EQ(cells[5].bottom, 599);
}

// Answers 1-4, yes and no, on five entries with entries 2 and 4 marked.
TEST(Wall, ClosingBoxOutcome) {
  const std::vector<std::string> list = {"a", "b", "c", "d", "e"};
  const std::set<int32_t> marks = {2, 4};
  const struct {
    int32_t answer, question;
    bool changed;
    std::vector<std::string> kept, deleted;
    int32_t asked;
  } cases[] = {
      {1, 0, true, {"b", "d"}, {}, 0},
      {1, 1, true, {"b", "d"}, {}, 0},
      {2, 1, true, {"b", "d"}, {"a", "c", "e"}, 3},
      {2, 2, false, {}, {}, 3},
      {3, 0, true, {"a", "c", "e"}, {}, 0},
      {4, 1, true, {"a", "c", "e"}, {"b", "d"}, 2},
      {4, 2, false, {}, {}, 2},
      {5, 1, false, {}, {}, 0},
  };
  for (const auto& c : cases) {
    const WallOutcome o = ResolveWall(list, marks, c.answer, c.question);
    EXPECT_EQ(o.changed, c.changed) << c.answer << "/" << c.question;
    EXPECT_EQ(o.kept, c.kept) << c.answer << "/" << c.question;
    EXPECT_EQ(o.deleted, c.deleted) << c.answer << "/" << c.question;
    EXPECT_EQ(o.questionCount, c.asked) << c.answer << "/" << c.question;
  }
  // Everything marked: answer 2 has nothing to delete and asks nothing.
  const WallOutcome all = ResolveWall({"a", "b"}, {1, 2}, 2, 1);
  EXPECT_EQ(all.questionCount, 0);
  EXPECT_FALSE(all.changed);
  EXPECT_EQ(FoldersOf({"C:\\a\\x.jpg", "D:\\b\\y.jpg", "c:\\A\\z.jpg"}), "C:\\a, D:\\b");
  EXPECT_EQ(ReplaceAll("Delete # from @ ?", "#", "3"), "Delete 3 from @ ?");
}

TEST(Poll, EventsInSlideShowAndWall) {
  const struct {
    PollMode mode;
    PollEvent event;
    uint32_t key;
    bool stop, pause, mark;
  } cases[] = {
      {PollMode::SlideShow, PollEvent::KeyDown, 0x20, false, false, false},
      {PollMode::SlideShow, PollEvent::KeyUp, 0x20, false, true, false},
      {PollMode::SlideShow, PollEvent::KeyDown, 0x1B, true, false, false},
      {PollMode::SlideShow, PollEvent::LeftUp, 0, true, false, false},
      {PollMode::SlideShow, PollEvent::LeftDown, 0, true, false, false},
      {PollMode::SlideShow, PollEvent::RightUp, 0, false, true, false},
      {PollMode::SlideShow, PollEvent::RightDown, 0, false, false, false},
      {PollMode::SlideShow, PollEvent::MouseMove, 0, false, false, false},
      {PollMode::Wall, PollEvent::LeftUp, 0, false, false, true},
      {PollMode::Wall, PollEvent::LeftDown, 0, false, false, false},
      {PollMode::Wall, PollEvent::MiddleUp, 0, true, false, false},
      {PollMode::Wall, PollEvent::KeyDown, 'A', true, false, false},
      {PollMode::Wall, PollEvent::KeyUp, 0x20, false, true, false},
  };
  for (const auto& c : cases) {
    const PollResult r = PollStep(c.mode, c.event, c.key);
    EXPECT_EQ(r.stop, c.stop) << static_cast<int>(c.event);
    EXPECT_EQ(r.togglePause, c.pause) << static_cast<int>(c.event);
    EXPECT_EQ(r.mark, c.mark) << static_cast<int>(c.event);
  }
}

TEST(Pan, KeysAndMouseEdges) {
  PanState pan = StartPan(800, 600, 3000, 200);
  EXPECT_TRUE(pan.panX);
  EXPECT_FALSE(pan.panY);
  EXPECT_TRUE(PanByKey(&pan, PanKey::End));
  EXPECT_EQ(pan.x, -2200);
  EXPECT_FALSE(PanByKey(&pan, PanKey::Right));
  EXPECT_TRUE(PanByKey(&pan, PanKey::Left));
  EXPECT_EQ(pan.x, -2196);
  EXPECT_FALSE(PanByKey(&pan, PanKey::PageDown));  // no vertical pan
  EXPECT_TRUE(PanByKey(&pan, PanKey::Home));
  EXPECT_EQ(pan.x, 0);
  EXPECT_FALSE(PanByKey(&pan, PanKey::Left));
  EXPECT_TRUE(PanByMouse(&pan, 795, 300, 800, 600));
  EXPECT_EQ(pan.x, -4);
  EXPECT_FALSE(PanByMouse(&pan, 400, 300, 800, 600));
  EXPECT_TRUE(PanByMouse(&pan, 5, 300, 800, 600));
  EXPECT_EQ(pan.x, 0);
  PanState tall = StartPan(800, 600, 300, 1000);
  EXPECT_FALSE(PanByMouse(&tall, 100, 589, 800, 600));  // 11 pixels from the bottom
  EXPECT_TRUE(PanByMouse(&tall, 100, 590, 800, 600));
  EXPECT_EQ(tall.y, -4);
  EXPECT_FALSE(PanByMouse(&tall, 100, 592, 800, 600));  // y + my = 588
  EXPECT_TRUE(PanByKey(&tall, PanKey::PageDown));
  EXPECT_EQ(tall.y, -400);
}

TEST(Layouts, PlacesAndComposites) {
  EXPECT_EQ(FirstPlace(1), 1);
  EXPECT_EQ(FirstPlace(2), 2);
  EXPECT_EQ(FirstPlace(3), 4);
  EXPECT_EQ(FirstPlace(4), 7);
  EXPECT_EQ(LayoutOfPlace(5), 3);
  EXPECT_EQ(PlaceBoxes(3, 98).size(), 3u);
  EXPECT_EQ(PlaceBoxes(3, 98)[2].y, 94);
  EXPECT_EQ(PlaceBoxes(4, 98)[3].y, 73);
  const struct {
    int32_t layout;
    std::vector<int32_t> w, h;
    int32_t width, height;
    std::vector<int32_t> x, y;
  } cases[] = {
      {1, {300}, {200}, 300, 200, {0}, {0}},
      {2, {300, 100}, {200, 50}, 300, 254, {0, 100}, {0, 204}},
      // Only place 5 (the second of layout 3): centred below an empty first
      // place and one gap.
      {3, {0, 120, 0}, {0, 80, 0}, 120, 88, {60, 0, 60}, {0, 4, 88}},
      {4, {100, 100, 100, 100}, {50, 50, 50, 50}, 204, 104, {0, 105, 0, 105}, {0, 0, 55, 55}},
      {4, {100, 0, 0, 0}, {50, 0, 0, 0}, 104, 54, {0, 105, 0, 105}, {0, 0, 55, 55}},
  };
  for (const auto& c : cases) {
    const Composite comp = ComposePage(c.layout, c.w, c.h);
    EXPECT_EQ(comp.width, c.width) << c.layout;
    EXPECT_EQ(comp.height, c.height) << c.layout;
    EXPECT_EQ(comp.x, c.x) << c.layout;
    EXPECT_EQ(comp.y, c.y) << c.layout;
    EXPECT_FALSE(comp.empty);
  }
  EXPECT_TRUE(ComposePage(2, {0, 0}, {0, 0}).empty);
}

TEST(Layouts, PrintedRectanglesMarginsAndRounding) {
  EXPECT_EQ(MarginsOf(PageMetrics{297, 210, 3508, 2480}).x, 60);
  EXPECT_EQ(MarginsOf(PageMetrics{297, 210, 3508, 2480}).y, 0);
  EXPECT_EQ(MarginsOf(PageMetrics{210, 297, 2480, 3508}).x, 15);
  EXPECT_EQ(MarginsOf(PageMetrics{210, 297, 2480, 3508}).y, 60);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.49), 1);

  // Four 100 x 50 on a portrait page 1030 x 1000 pixels: scale
  // MIN(1000 / 204, 880 / 104) = 4.90196...
  const std::vector<int32_t> w = {100, 100, 100, 100}, h = {50, 50, 50, 50};
  const Composite c = ComposePage(4, w, h);
  const PageMetrics portrait{200, 300, 1030, 1000};
  const std::vector<DeviceRect> r = PrintRectangles(c, w, h, portrait);
  const double scale = 1000.0 / 204.0;
  const int32_t ox = (1030 - RoundHalfEven(scale * 204)) / 2 + 15;
  const int32_t oy = (1000 - RoundHalfEven(scale * 104)) / 2 + 60;
  EXPECT_EQ(ox, 30);
  EXPECT_EQ(oy, 305);
  EXPECT_EQ(r[0].x, 30);
  EXPECT_EQ(r[0].y, 305);
  EXPECT_EQ(r[0].width, 490);
  EXPECT_EQ(r[0].height, 245);
  EXPECT_EQ(r[3].x, RoundHalfEven(scale * 105) + ox);
  EXPECT_EQ(r[3].y, RoundHalfEven(scale * 55) + oy);
  // A page without pictures places nothing (no division by zero).
  const Composite none = ComposePage(1, {0}, {0});
  EXPECT_EQ(PrintRectangles(none, {0}, {0}, portrait)[0].width, 0);
  // Half-even: two 4 x 1 pictures in layout 2 (composite 4 x 6) at scale
  // 2.5: the second lands at y 12.5 -> 12 and is 2.5 -> 2 high.
  const Composite two = ComposePage(2, {4, 4}, {1, 1});
  const std::vector<DeviceRect> t = PrintRectangles(two, {4, 4}, {1, 1}, PageMetrics{300, 200, 130, 15});
  EXPECT_EQ(t[1].x, 120);
  EXPECT_EQ(t[1].y, 12);
  EXPECT_EQ(t[1].width, 10);
  EXPECT_EQ(t[1].height, 2);
  EXPECT_EQ(t[0].y, 1);  // never above 1
}

TEST(Layouts, PreviewOverTheMainWindowOrTheScreen) {
  const std::vector<int32_t> w = {400, 400, 400, 400}, h = {200, 200, 200, 200};
  const Composite c = ComposePage(4, w, h);  // 804 x 404
  const Preview over = PreviewOf(c, w, h, 100, 50, 800, 600, 1024, 768);
  EXPECT_EQ(over.frame, 4);
  EXPECT_EQ(over.width, 201 + 8);
  EXPECT_EQ(over.height, 101 + 8);
  EXPECT_EQ(over.x, 100 + (800 - 201) / 2 - 4);
  EXPECT_EQ(over.y, 50 + (600 - 101) / 2 - 4);
  EXPECT_EQ(over.pictures[3].x, 804 / 4 - 400 / 4 + 1 / 4 + 4 - 0);  // (405 \ 4) + 4
  EXPECT_EQ(over.pictures[3].y, 205 / 4 + 4);
  // Larger than the main window: centred on the screen, no frame.
  const Preview big = PreviewOf(c, w, h, 500, 400, 150, 90, 1024, 768);
  EXPECT_EQ(big.frame, 0);
  EXPECT_EQ(big.x, (1024 - 201) / 2);
  EXPECT_EQ(big.y, (768 - 101) / 2);
  EXPECT_EQ(PreviewOf(c, w, h, 100, 50, 150, 90, 1024, 768).frame, 4);
}

}  // namespace
}  // namespace view
