// The overview pages' portable rules: grids from action entries, the page
// geometry by screen width, page counts and cell places, plural texts, the
// HTML lines and their escaping, URL paths, the small copies' names and
// the sheet footer.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/overview_pages.h"

namespace {

using namespace browser;

TEST(OverviewPages, GridFromAction) {
  struct Case {
    const char* action;
    int32_t columns, rows, divisor;
  };
  const Case cases[] = {
      {"", 4, 5, 6},          {"0,0,0", 4, 5, 6},     {"3,4,6", 3, 4, 6},  {"2", 2, 5, 6},
      {"5,,8", 5, 5, 8},      {" 6 , 7 , 3 ", 6, 7, 3}, {"x,-1,2", 4, 5, 2}, {"1000,3", 99, 3, 6},
      {"99999999999,1", 4, 1, 6}, {"1,1,1,9", 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    OverviewGrid grid = GridFromAction(c.action);
    EXPECT_EQ(c.columns, grid.columns);
    EXPECT_EQ(c.rows, grid.rows);
    EXPECT_EQ(c.divisor, grid.divisor);
  }
}

TEST(OverviewPages, GeometryByScreenWidth) {
  struct Case {
    int32_t screen;
    OverviewGrid grid;
    bool ok;
    PageGeometry expected;
  };
  const Case cases[] = {
      // The defaults on a 1024-pixel screen.
      {1024, {4, 5, 6}, true, {960, 1303, 232, 253, 960, 1315, 20}},
      {800, {4, 5, 6}, true, {778, 1109, 187, 214, 780, 1120, 20}},
      {640, {4, 5, 6}, true, {778, 1109, 187, 214, 780, 1120, 20}},
      {1280, {4, 5, 6}, true, {1132, 1541, 275, 301, 1132, 1555, 20}},
      {1025, {3, 3, 4}, true, {1699, 2321, 556, 761, 1690, 2309, 9}},
      {1024, {1, 1, 1}, true, {5760, 7918, 5730, 7882, 5732, 7884, 1}},
      // Cells of less than a pixel make no page.
      {1024, {99, 99, 99}, false, {}},
      {1024, {4, 5, 0}, false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.screen);
    PageGeometry g;
    ASSERT_EQ(c.ok, ComputePageGeometry(c.screen, c.grid, &g));
    EXPECT_EQ(c.expected.width, g.width);
    EXPECT_EQ(c.expected.height, g.height);
    EXPECT_EQ(c.expected.cellWidth, g.cellWidth);
    EXPECT_EQ(c.expected.cellHeight, g.cellHeight);
    EXPECT_EQ(c.expected.pageWidth, g.pageWidth);
    EXPECT_EQ(c.expected.gridHeight, g.gridHeight);
    EXPECT_EQ(c.expected.perPage, g.perPage);
  }
}

TEST(OverviewPages, PagesAndCells) {
  EXPECT_EQ(0, PageCount(0, 20));
  EXPECT_EQ(1, PageCount(7, 20));
  EXPECT_EQ(1, PageCount(20, 20));
  EXPECT_EQ(2, PageCount(21, 20));
  EXPECT_EQ(3, PageCount(60, 20));
  EXPECT_EQ(0, PageCount(5, 0));
  PageGeometry g;
  OverviewGrid grid;
  ASSERT_TRUE(ComputePageGeometry(1024, grid, &g));
  struct Case {
    int32_t index, x, y;
  };
  const Case cells[] = {{0, 1, 1}, {1, 243, 1}, {3, 727, 1}, {4, 1, 266}, {19, 727, 1061}};
  for (const Case& c : cells) {
    CellPlace place = CellOrigin(c.index, grid, g);
    EXPECT_EQ(c.x, place.x) << c.index;
    EXPECT_EQ(c.y, place.y) << c.index;
  }
  // The last cell ends inside the page and the grid.
  CellPlace last = CellOrigin(g.perPage - 1, grid, g);
  EXPECT_EQ(g.pageWidth - 1, last.x + g.cellWidth);
  EXPECT_EQ(g.gridHeight - 1, last.y + g.cellHeight);
}

TEST(OverviewPages, PluralText) {
  struct Case {
    int64_t count;
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {0, "page(s) written", "page written"},
      {1, "(s)(s) and (s)", " and "},
      {2, "page(s) in @, file(s)", "pages in @, files"},
      {-3, "page(s)", "page"},
      {12, "no marker", "no marker"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, PluralText(c.count, c.text)) << c.text;
}

TEST(OverviewPages, HtmlTextAndUrls) {
  EXPECT_EQ("<a href=\"x\">", HtmlLineText("<a href=''x''>"));
  EXPECT_EQ("It\"s '", HtmlLineText("It''s '"));
  EXPECT_EQ("Tom &amp; Jerry &lt;b&gt; &quot;#1&quot;", EscapeHtmlText("Tom & Jerry <b> \"#1\""));
  struct Case {
    const char* in;
    const char* expected;
  };
  const Case paths[] = {
      {"a.jpg", "a.jpg"},
      {"orbct pictures/a&b #1.jpg", "orbct%20pictures/a%26b%20%231.jpg"},
      {"100%.jpg", "100%25.jpg"},
      {"it''s.jpg", "it%27%27s.jpg"},
      {"caf\xE9.jpg", "caf%C3%A9.jpg"},
      {"\x80uro.jpg", "%E2%82%ACuro.jpg"},
      {"a?b=c;d.jpg", "a%3Fb%3Dc%3Bd.jpg"},
  };
  for (const Case& c : paths) EXPECT_EQ(c.expected, PercentEncodePath(c.in)) << c.in;
  EXPECT_EQ("file:///C:/My%20pictures/a%23b.jpg", FileUrlOf("C:\\My pictures\\a#b.jpg"));
  EXPECT_EQ("", FileUrlOf("\\\\server\\share\\a.jpg"));
  EXPECT_EQ("", FileUrlOf("a.jpg"));
}

TEST(OverviewPages, AlbumImageNamesNeverCollide) {
  struct Case {
    const char* what;
    std::vector<std::string> names;
    std::set<std::string> taken;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"stems up to the first dot", {"a.png", "b.tar.gif", "c"}, {}, {"a.jpg", "b.jpg", "c.jpg"}},
      {"same stems get numbers", {"a.png", "A.gif", "a.jpeg", "a-2.bmp"}, {}, {"a.jpg", "A-2.jpg", "a-3.jpg", "a-2-2.jpg"}},
      {"a picture in the copies' folder is never written over", {"x.jpg", "y.png"}, {"X.JPG"}, {"x-2.jpg", "y.jpg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, AlbumImageNames(c.names, c.taken)) << c.what;
}

TEST(OverviewPages, AlbumPageLines) {
  std::vector<std::string> head = AlbumPageHead("Tom & Jerry''s", 1, 3);
  ASSERT_EQ(11u, head.size());
  EXPECT_EQ("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">", HtmlLineText(head[3]));
  EXPECT_EQ("<h1 align=\"center\">Tom &amp; Jerry\"s<br>", HtmlLineText(head[7]));
  EXPECT_EQ("<small><small><small>page 1/3</small></small></small></h1>", head[8]);
  EXPECT_EQ("<small><small><small>page 12/12</small></small></small></h1>", AlbumPageHead("", 12, 12)[8]);

  AlbumCell cell{"a&b #1.png", "file:///C:/p/a%26b%20%231.png", "orbct%20pictures/a%26b%20%231.jpg", 232, 174};
  std::vector<std::string> lines = AlbumCellLines(cell);
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ("<td><font face=\"Arial\" size=\"2\">", HtmlLineText(lines[0]));
  EXPECT_EQ(
      "<a href=\"file:///C:/p/a%26b%20%231.png\"><img src=\"orbct%20pictures/a%26b%20%231.jpg\" width=\"232\" "
      "height=\"174\" border=\"0\"></a><br>",
      HtmlLineText(lines[1]));
  EXPECT_EQ("a&amp;b #1.png<br>", lines[2]);
  cell.pictureUrl.clear();
  EXPECT_EQ("<img src=''orbct%20pictures/a%26b%20%231.jpg'' width=''232'' height=''174'' border=''0''><br>",
            AlbumCellLines(cell)[1]);
}

TEST(OverviewPages, SheetFooter) {
  EXPECT_EQ("D:\\PICTURES   Page 1 / 3", SheetFooter("D:\\Pictures\\", 1, 3));
  EXPECT_EQ("D:\\PICTURES   Page 2 / 5", SheetFooter("D:\\Pictures\\\\", 2, 5));
  EXPECT_EQ("C:   Page 10 / 10", SheetFooter("c:\\", 10, 10));
}

}  // namespace
