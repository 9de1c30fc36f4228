// The picture browser's portable rules: the placement file, the window and
// strip geometry, the start folder, the folder scan's filters, the keyword
// side files and captions, the film strip's paging and cell mapping, the
// picture wall's parameters and outcome, and the poll of the full-screen
// views.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace view {

// ---------------------------------------------------------------------------
// Placement file: int16 LE left, top, width, height, then the last folder.

struct Placement {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::string folder;
};

constexpr int32_t kDefaultWindowWidth = 808;
constexpr int32_t kDefaultWindowHeight = 608;

// The defaults: 808 x 608 centred on the screen (never above or left of
// 0) and the Windows folder.
Placement DefaultPlacement(int32_t screenWidth, int32_t screenHeight, const std::string& windowsFolder);
// The file's bytes.  Values outside 16 bits are clamped to them.
std::string EncodePlacement(const Placement& placement);
// Reads the bytes; false (and `placement` untouched) when there are fewer
// than the eight bytes of the four values.  Left and top below 0 become 0.
bool DecodePlacement(const std::string& bytes, Placement* placement);

// ---------------------------------------------------------------------------
// Geometry of the main window's client holder (W x H).

struct ViewGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t cellWidth = 0;       // W \ 4
  int32_t cellHeight = 0;      // (H - 243) \ 2
  int32_t stripHeight = 0;     // cell height + 26
  int32_t lightTableY = 0;     // H - cell height
  int32_t buttonY = 0;         // cell height + 29
  int32_t buttonX = 0;         // (W - 338) \ 2 - 138
  int32_t separatorY = 0;      // cell height + 53
  int32_t treeY = 0;           // cell height + 59
  int32_t frameY = 0;          // cell height + 69
  int32_t slotLabelY = 0;      // cell height + 227
  int32_t frameWidth = 0;      // 100 - s, s = (800 - W) \ 4
  int32_t frameStep = 0;       // 102 - s
  int32_t framesX = 0;         // the row of four frames centred under the buttons
};

ViewGeometry ComputeGeometry(int32_t holderWidth, int32_t holderHeight);
// BASIC's integer division (rounds towards minus infinity).
int32_t FloorDiv(int32_t a, int32_t b);

// The main window's size before the work area limits it: (800 - frame
// sides) \ 4 * 4 by (600 - caption, menu, status and frame) \ 2 * 2.
void MainWindowSize(int32_t sideLeft, int32_t sideRight, int32_t caption, int32_t menu, int32_t status,
                    int32_t bottom, int32_t* width, int32_t* height);

// ---------------------------------------------------------------------------
// Start folder.

// The folder named by the program's arguments (the text after the program
// name): blanks trimmed, surrounding quotes removed, the media browser's
// "WAITFORCOMMAND" taken as no folder; "" when none.  A folder ends in
// exactly one "\".
std::string CommandLineFolder(const std::string& arguments);
// The arguments of a whole command line: what follows the program's name
// (quoted or not).
std::string ArgumentsOf(const std::string& commandLine);
// The folder the start-up timer opens: the command line's, else the program
// folder when it holds AUTORUN.INF, else the saved one.
std::string StartFolder(const std::string& commandFolder, bool autorunPresent, const std::string& programFolder,
                        const std::string& savedFolder);
// The folder's own name: the part after its last "\" (the final one
// ignored).
std::string FolderOwnName(const std::string& folder);
// A program's base path: its full path up to the last "." of the file name.
std::string BasePathOf(const std::string& exePath);

// ---------------------------------------------------------------------------
// Folder scan.

inline constexpr char kPictureExtensions[] =
    ".JPG.CMP.GIF.TIF.BMP.ICO.CUR.PCX.PCC.DCX.PCD.WMF.PSD.PNG.TGA.EPS.RAS.WPG.PCT.MAC.IMG.MSP.EMF.JPEG.G2B.I2B.FPX.";

// Whether the file name's extension is one of the picture extensions.
bool IsPictureName(const std::string& name);
bool IsGifName(const std::string& name);
// Whether a directory entry with these attributes may be a picture: not a
// folder, not hidden, not a system file (other bits, such as archive,
// read-only, compressed or not-content-indexed, do not matter).
bool AcceptsAttributes(uint32_t attributes);
// Whether the scan looks at an entry name at all (names starting "." not).
bool AcceptsEntryName(const std::string& name);
// Sorts the list as the scan does (byte order, ascending).
void SortPictureList(std::vector<std::string>* list);

// ---------------------------------------------------------------------------
// Keywords and captions.

// The keyword side file: the path up to and with its last "." and "KWD";
// a name without "." gets ".KWD".
std::string KeywordFilePath(const std::string& picture);
// The keywords of a side file's bytes: up to the first zero byte, blanks
// trimmed at both ends.
std::string KeywordsOf(const std::string& bytes);
// The hover text: the lower-case file name, and " :  " and the keywords
// when the side file exists (even with no words).
std::string HoverText(const std::string& path, bool keywordFileRead, const std::string& keywords);
// A slot's caption: " " + lower-case name + " " + width + "x" + height.
std::string SlotCaption(const std::string& path, int32_t width, int32_t height);
// Lower-case (ASCII) and upper-case copies.
std::string Lower(std::string text);
std::string Upper(std::string text);

// ---------------------------------------------------------------------------
// Film strip paging.  `last` is the index of the last picture drawn (the
// strip shows last - 3 .. last), 0 before the first page.

enum class StripAction { None, DrawPage, ShiftLeft, ShiftRight };

struct StripState {
  int32_t count = 0;
  int32_t last = 0;
};

// After DrawPage the strip shows last + 1 .. last + 4 and last becomes
// MIN(last + 4, count).  Returns the indexes of the four cells (0 = black).
std::vector<int32_t> DrawPage(StripState* strip);
// The paging commands (1 first, 2 back, 5 forward, 6 last): what to do, and
// the state changed.  For ShiftLeft the new picture is `*index` in cell 4,
// for ShiftRight in cell 1.
StripAction PageCommand(int32_t command, StripState* strip, int32_t* index);
// The list index under x in the strip (1-based), 0 for none.
int32_t CellIndexAt(const StripState& strip, int32_t x, int32_t cellWidth);
// The light-table slot under x (1 to 4).
int32_t SlotAt(int32_t x, int32_t cellWidth);

// ---------------------------------------------------------------------------
// Picture wall.

struct WallParameters {
  int32_t columns = 4;
  int32_t rows = 4;
  int32_t delayMs = 3000;
};

// From the action text: three comma fields give columns, rows and delay
// (raised to 1, 1 and 0); anything else the defaults.
WallParameters ParseWallParameters(const std::string& action);
// BASIC's Num: the leading number of a text (blanks skipped, sign, digits);
// 0 when there is none.
int32_t NumberOf(const std::string& text);

// What the wall's closing box decides.  marks holds the 1-based list
// indexes marked.  answer 1-4 of the closing box; question is the answer of
// the deletion question (1 = yes), asked only for answers 2 and 4.
struct WallOutcome {
  bool changed = false;                // the list is replaced by `kept`
  std::vector<std::string> kept;
  std::vector<std::string> deleted;    // files to delete
  int32_t questionCount = 0;           // the "#" of the question; 0 = not asked
};

// Whether the answer asks the deletion question, and for how many files.
int32_t WallQuestionCount(size_t listSize, const std::set<int32_t>& marks, int32_t answer);
WallOutcome ResolveWall(const std::vector<std::string>& list, const std::set<int32_t>& marks, int32_t answer,
                        int32_t questionAnswer);
// The distinct folders of the files, in their order, joined by ", ": the
// "@" of the deletion question names every folder a file is deleted from.
std::string FoldersOf(const std::vector<std::string>& files);
// Replaces every `from` in text by `to`.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to);

// The wall's cell rectangles (left, top, right, bottom; inclusive), row by
// row.
struct CellRect {
  int32_t left, top, right, bottom;
};
std::vector<CellRect> WallCells(int32_t screenWidth, int32_t screenHeight, const WallParameters& wall);

// ---------------------------------------------------------------------------
// Full-screen input poll: what one key or mouse message does.

enum class PollEvent {
  KeyDown,        // any key down (wParam in key)
  KeyUp,
  Char,           // other keyboard messages
  MouseMove,
  LeftDown,
  LeftUp,
  RightDown,
  RightUp,
  MiddleDown,
  MiddleUp,
  Other,
};
enum class PollMode { SlideShow, Wall };
struct PollResult {
  bool stop = false;
  bool togglePause = false;
  bool mark = false;  // the wall marks the cell under the cursor
};
PollResult PollStep(PollMode mode, PollEvent event, uint32_t key);

// ---------------------------------------------------------------------------
// Picture view panning.

struct PanState {
  int32_t x = 0;
  int32_t y = 0;
  int32_t minX = 0;
  int32_t minY = 0;
  bool panX = false;
  bool panY = false;
};
// The view of a picture at its natural size on the screen.
PanState StartPan(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth, int32_t pictureHeight);
enum class PanKey { Home, End, PageUp, PageDown, Left, Right, Up, Down };
// True when the position changed.
bool PanByKey(PanState* pan, PanKey key);
bool PanByMouse(PanState* pan, int32_t mouseX, int32_t mouseY, int32_t screenWidth, int32_t screenHeight);

}  // namespace view
