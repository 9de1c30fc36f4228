// The portable rules of the two picture overviews the media browser makes
// from the selected pictures: HTML album pages (a table of small JPEG copies
// with the pictures' names) and contact sheets (24-bit bitmaps with a grid
// of thumbnails, captions and a footer).  Both share one page geometry.
// The drawing, the imaging calls and the files are the Win32 side's
// (overview_pages.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace browser {

// The grid of a page: pictures across, pictures down, and the divisor that
// turns the base page size into pixels.
struct OverviewGrid {
  int32_t columns = 4;
  int32_t rows = 5;
  int32_t divisor = 6;
};

// The grid an action entry asks for: up to three numbers separated by
// commas (columns, rows, divisor); a missing, zero or unreadable number
// takes its default (4, 5, 6).  Numbers beyond 99 are cut to 99.
OverviewGrid GridFromAction(const std::string& action);

struct PageGeometry {
  int32_t width = 0;       // the usable page width
  int32_t height = 0;      // the usable page height
  int32_t cellWidth = 0;
  int32_t cellHeight = 0;
  int32_t pageWidth = 0;   // the grid's width, also the sheet's
  int32_t gridHeight = 0;  // the sheet is 20 pixels higher (its footer)
  int32_t perPage = 0;     // pictures a page
};

constexpr int32_t kColumnGap = 10;
constexpr int32_t kRowGap = 12;
constexpr int32_t kFooterHeight = 20;

// The page geometry for a screen `screenWidth` pixels wide.  False (and the
// geometry left zero) when the grid leaves a cell less than a pixel.
bool ComputePageGeometry(int32_t screenWidth, const OverviewGrid& grid, PageGeometry* geometry);

// The pages `files` pictures take, `perPage` a page.
int32_t PageCount(size_t files, int32_t perPage);

// The top-left corner of cell `index` (0-based, row by row) of a page.
struct CellPlace {
  int32_t x = 0;
  int32_t y = 0;
};
CellPlace CellOrigin(int32_t index, const OverviewGrid& grid, const PageGeometry& geometry);

// `text` for `count` things: below 2 every "(s)" goes, otherwise each
// becomes "s".
std::string PluralText(int64_t count, const std::string& text);

// A line of HTML as written: every "''" (two apostrophes) becomes a double
// quote.
std::string HtmlLineText(const std::string& line);

// Text shown in a page: &, <, > and " as character references.
std::string EscapeHtmlText(const std::string& text);

// A relative URL path of names in the ANSI code page (windows-1252) with "/"
// between them: each name's bytes taken as UTF-8, and everything but
// letters, digits, "-", ".", "_", "~" and "/" percent-encoded.
std::string PercentEncodePath(const std::string& ansiPath);

// A file URL for a Windows path ("C:\My pictures\a.jpg" ->
// "file:///C:/My%20pictures/a.jpg"); "" for a path without a drive letter.
std::string FileUrlOf(const std::string& windowsPath);

// The folder, beside the pages, that holds the album's small copies: the
// copies never meet the pictures they are made from.
constexpr char kAlbumPictureFolder[] = "orbct pictures";

// The names of the album's small copies, one a picture in the given order:
// the file name up to its first dot + ".jpg", made unique without regard to
// case by "-2", "-3"... before ".jpg", and never one of `taken` (names,
// compared without regard to case, that must not be written: pictures of
// the selection that live in the copies' folder).
std::vector<std::string> AlbumImageNames(const std::vector<std::string>& fileNames,
                                         const std::set<std::string>& taken);

// One cell of an album page.
struct AlbumCell {
  std::string fileName;    // the picture's name, as shown
  std::string pictureUrl;  // a link to the picture itself
  std::string imageSrc;    // the small copy, relative to the page
  int32_t width = 0;       // the small copy's size
  int32_t height = 0;
};

// The lines of an album page, apostrophe pairs still in them (each goes
// through HtmlLineText when written).  Page numbers count from 1.
std::vector<std::string> AlbumPageHead(const std::string& title, int32_t page, int32_t pages);
std::vector<std::string> AlbumCellLines(const AlbumCell& cell);
constexpr char kAlbumRowStart[] = "<tr vAlign=''bottom'' align=''middle''>";
constexpr char kAlbumRowEnd[] = "</tr>";
constexpr char kAlbumPageEnd[] = "</TBODY></table></center></div></body></html>";

// The album page names of a run: "ORBCT000", then each stem continued by
// `next` (the engine's numbered sequence).
constexpr char kFirstOverviewStem[] = "ORBCT000";

// A contact sheet's footer: the folder without its final backslashes, in
// capitals, then "   Page n / N".
std::string SheetFooter(const std::string& folder, int32_t sheet, int32_t sheets);

}  // namespace browser
