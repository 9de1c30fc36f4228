// The media search's portable rules: which extensions a search takes, which
// directory entries are files to test and which are folders to enter, the
// content checks of a few ambiguous extensions, the texts of the drive box,
// the lines of the report file and when the findings may go to the second
// list.  The drive walk itself and the file calls live in media_search.cpp.
#pragma once

#include <cstdint>
#include <string>

namespace browser {

// The extensions of the picture types whose size a search can read, written
// together, each with its dot and a final dot.
inline constexpr char kSearchPictureExtensions[] =
    ".JPG.CMP.GIF.TIF.BMP.ICO.CUR.PCX.PCC.DCX.PCD.WMF.PSD.PNG.TGA.EPS.RAS.WPG.PCT.MAC.IMG.MSP.EMF.JPEG.G2B.I2B."
    "FPX.";

// The first and last media search commands; the command's media type is
// id - 400.  The last two also take pictures by their readable size.
inline constexpr int kFirstSearchCommand = 401;
inline constexpr int kLastSearchCommand = 406;
bool IsSearchCommand(int id);
bool SearchReadsPictureSizes(int id);

// The extension list of a search command: field 2 x (id mod 100) of the type
// list ("|"-separated: name|patterns|name|patterns...), upper-cased, "."
// appended, each "*." and ";." made ".": "*.jpg;*.gif" gives ".JPG.GIF.".
// "" when the type list has no such field.
std::string SearchExtensionList(const std::string& typeList, int commandId);

// The upper-cased extension of a file name from its last "." ("" when the
// name has none).
std::string SearchExtensionOf(const std::string& fileName);
// Whether extension + "." occurs in an extension list such as ".JPG.GIF.".
// An empty extension is in no list.
bool ExtensionListed(const std::string& extensionList, const std::string& extension);

// How many leading bytes of a matching file the content rule needs (0 when
// its extension has no rule).
size_t ContentRuleBytes(const std::string& extension);
// The content rules of extensions that name more than media: ".DAT" must
// start with "RIFF" (upper case ignored; a video CD track), ".MOD" must not
// start with "MZ" (a program module), ".MID" never matches.  `firstBytes`
// holds up to ContentRuleBytes(extension) bytes of the file (fewer for a
// short or unreadable file, which then fails the ".DAT" rule).
bool PassesContentRule(const std::string& extension, const std::string& firstBytes);

// Directory entries.  A file is tested when no attribute bit of hidden,
// system, volume label, folder or device is set: every other bit (read-only,
// archive, normal, temporary, compressed, not indexed ...) belongs to
// ordinary files.  A folder is entered unless its name starts with "."
// (which also skips "." and "..").
bool IsSearchedFile(const std::string& name, uint32_t attributes);
bool IsEnteredFolder(const std::string& name, uint32_t attributes);

// The drive box.  `driveList` is the engine's drive letters ("ACDM"):
// upper-cased, with the leading floppy letters A and B removed (the caller
// then keeps the letters whose root can be read).
std::string SearchableDriveLetters(const std::string& driveList);
// The box's buttons: "C:|D:" followed by `buttonsEntry` without its first
// field ("&Convert|&Cancel" adds "|&Cancel").
std::string DriveBoxButtons(const std::string& letters, const std::string& buttonsEntry);
// A menu item's text as a box caption: "&" removed, trailing blanks cut.
std::string MenuTextCaption(const std::string& menuText);

// The action entry of a search command: "report name,wait text,summary".
// "@" in the report name stands for the drive letter; the summary template
// is the rest of the entry after the second comma (so it may hold commas).
struct SearchAction {
  std::string reportName;
  std::string waitText;
  std::string summaryTemplate;
};
SearchAction ParseSearchAction(const std::string& actionEntry);
std::string ReportFileName(const std::string& reportName, char driveLetter);

// Kilobytes as the report gives them: bytes / 1024 rounded to the nearest
// (halves up); negative sizes give 0.
int64_t RoundedKilobytes(int64_t bytes);
// The number the engine's number format takes (a 32-bit value): saturated.
int32_t SaturatedNumber(int64_t value);

// The report's first 80 bytes: drive letter + ": " + the template with "@"
// replaced by the file count text and "#" by the kilobyte text, cut or
// padded with blanks to exactly 80 bytes.
inline constexpr size_t kReportSummaryBytes = 80;
std::string ReportSummary(char driveLetter, const std::string& summaryTemplate, const std::string& countText,
                          const std::string& kilobyteText);
// What the report holds before the first finding: 80 blanks, CR LF, CR LF.
std::string ReportHeader();
// One finding: "WxH" left-aligned in 12 (blanks when either side is not
// above 0), the kilobyte text right-aligned in 10, " k", TAB, the path, CR
// LF.  Longer texts are kept whole.
std::string ReportLine(int32_t width, int32_t height, const std::string& kilobyteText, const std::string& path);

// Whether a search command may fill the second list, by the number of the
// permission entry: the last command (sizes of any picture) only at 3, the
// first at 2 or more, the others at any value but 0.
bool MayFillSecondList(int commandId, int32_t permission);

}  // namespace browser
