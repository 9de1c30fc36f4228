// The album pages' and contact sheets' portable rules (overview_pages.h).
#include "core/overview_pages.h"

#include <algorithm>
#include <cctype>

#include "core/path_names.h"
#include "core/text_rules.h"

namespace browser {

namespace {

constexpr int32_t kLargestGridNumber = 99;

// The base page sizes by screen width: small, 1024 pixels, any other.
struct BaseSize {
  int32_t width;
  int32_t height;
};

BaseSize BasePageSize(int32_t screenWidth) {
  BaseSize size = screenWidth <= 800 ? BaseSize{4671, 6777}
                  : screenWidth == 1024 ? BaseSize{5760, 7938}
                                        : BaseSize{6796, 9366};
  if (size.height < size.width) std::swap(size.width, size.height);
  return size;
}

// windows-1252 bytes 0x80 to 0x9F as Unicode (0 for the five unassigned).
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(uint32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

std::string Utf8OfAnsi(const std::string& text) {
  std::string out;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    uint32_t code = byte;
    if (byte >= 0x80 && byte < 0xA0) code = kHighControls[byte - 0x80] != 0 ? kHighControls[byte - 0x80] : byte;
    AppendUtf8(code, &out);
  }
  return out;
}

bool Unreserved(unsigned char c) {
  return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

}  // namespace

OverviewGrid GridFromAction(const std::string& action) {
  OverviewGrid grid;
  int32_t* fields[] = {&grid.columns, &grid.rows, &grid.divisor};
  size_t start = 0;
  for (int32_t* field : fields) {
    if (start > action.size()) break;
    size_t comma = action.find(',', start);
    std::string part = suite::TrimBlanks(action.substr(start, comma == std::string::npos ? std::string::npos
                                                                                          : comma - start));
    int32_t value = 0;
    bool digits = !part.empty() && part.size() <= 9 &&
                  std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (digits) value = std::min(std::stoi(part), kLargestGridNumber);
    if (value > 0) *field = value;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return grid;
}

bool ComputePageGeometry(int32_t screenWidth, const OverviewGrid& grid, PageGeometry* geometry) {
  *geometry = PageGeometry{};
  if (grid.columns <= 0 || grid.rows <= 0 || grid.divisor <= 0) return false;
  const BaseSize base = BasePageSize(screenWidth);
  PageGeometry g;
  g.width = base.width / grid.divisor;
  g.height = base.height / grid.divisor - 20;
  g.cellWidth = (g.width - 30) / grid.columns;
  g.cellHeight = (g.height - 36) / grid.rows;
  if (g.cellWidth < 1 || g.cellHeight < 1) return false;
  g.pageWidth = (grid.columns - 1) * kColumnGap + grid.columns * g.cellWidth + 2;
  g.gridHeight = (grid.rows - 1) * kRowGap + grid.rows * g.cellHeight + 2;
  g.perPage = grid.columns * grid.rows;
  *geometry = g;
  return true;
}

int32_t PageCount(size_t files, int32_t perPage) {
  if (perPage <= 0) return 0;
  const size_t per = static_cast<size_t>(perPage);
  return static_cast<int32_t>(files / per + (files % per != 0 ? 1 : 0));
}

CellPlace CellOrigin(int32_t index, const OverviewGrid& grid, const PageGeometry& geometry) {
  const int32_t columns = std::max(grid.columns, 1);
  return {1 + (index % columns) * (geometry.cellWidth + kColumnGap),
          1 + (index / columns) * (geometry.cellHeight + kRowGap)};
}

std::string PluralText(int64_t count, const std::string& text) {
  return suite::ReplaceAll(text, "(s)", count < 2 ? "" : "s");
}

std::string HtmlLineText(const std::string& line) { return suite::ReplaceAll(line, "''", "\""); }

std::string EscapeHtmlText(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::string PercentEncodePath(const std::string& ansiPath) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (char c : Utf8OfAnsi(ansiPath)) {
    auto byte = static_cast<unsigned char>(c);
    if (Unreserved(byte) || byte == '/') {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 0x0F]);
    }
  }
  return out;
}

std::string FileUrlOf(const std::string& windowsPath) {
  if (windowsPath.size() < 3 || windowsPath[1] != ':' || windowsPath[2] != '\\' ||
      std::isalpha(static_cast<unsigned char>(windowsPath[0])) == 0) {
    return std::string();
  }
  std::string rest = windowsPath.substr(3);
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return "file:///" + windowsPath.substr(0, 2) + "/" + PercentEncodePath(rest);
}

std::vector<std::string> AlbumImageNames(const std::vector<std::string>& fileNames,
                                         const std::set<std::string>& taken) {
  std::set<std::string> used;
  for (const std::string& name : taken) used.insert(suite::LowerAscii(name));
  std::vector<std::string> names;
  for (const std::string& fileName : fileNames) {
    const std::string stem = fileName.substr(0, fileName.find('.'));
    std::string name = stem + ".jpg";
    for (int suffix = 2; used.count(suite::LowerAscii(name)) != 0; ++suffix) {
      name = stem + "-" + std::to_string(suffix) + ".jpg";
    }
    used.insert(suite::LowerAscii(name));
    names.push_back(name);
  }
  return names;
}

std::vector<std::string> AlbumPageHead(const std::string& title, int32_t page, int32_t pages) {
  return {
      "<html>",
      "<head>",
      "<title>ORB Media Solution</title>",
      "<meta http-equiv=''Content-Type'' content=''text/html; charset=windows-1252''>",
      "</head>",
      "<body text=''#000000'' vLink=''#CC00CC'' aLink=''#CC0000'' link=''#0000CC'' bgColor=''#FFFFFF''",
      "style=''font-family: Arial; font-size: smaller''>",
      "<h1 align=''center''>" + EscapeHtmlText(title) + "<br>",
      "<small><small><small>page " + std::to_string(page) + "/" + std::to_string(pages) +
          "</small></small></small></h1>",
      "<div align=''center''><center>",
      "<table cellPadding=''5''><TBODY>",
  };
}

std::vector<std::string> AlbumCellLines(const AlbumCell& cell) {
  std::string image = "<img src=''" + cell.imageSrc + "'' width=''" + std::to_string(cell.width) +
                      "'' height=''" + std::to_string(cell.height) + "'' border=''0''>";
  if (!cell.pictureUrl.empty()) image = "<a href=''" + cell.pictureUrl + "''>" + image + "</a>";
  return {
      "<td><font face=''Arial'' size=''2''>",
      image + "<br>",
      EscapeHtmlText(cell.fileName) + "<br>",
      "</font></td>",
  };
}

std::string SheetFooter(const std::string& folder, int32_t sheet, int32_t sheets) {
  std::string text = folder;
  while (!text.empty() && text.back() == '\\') text.pop_back();
  return suite::UpperAscii(text) + "   Page " + std::to_string(sheet) + " / " + std::to_string(sheets);
}

}  // namespace browser
