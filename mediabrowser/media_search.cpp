// The media search (commands 401-406): the drive box, the walk over every
// folder of the chosen drive on the main thread (the message pump runs after
// each directory entry, so Escape stops it), the report file beside the
// program, the optional fill of the second list and the report shown by the
// help viewer.  The rules (extensions, entry tests, report lines, folder
// order) live in core/media_search_rules and core/search_folder_walk.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "browser_state.h"
#include "core/gif_header.h"
#include "core/media_search_rules.h"
#include "core/search_folder_walk.h"
#include "core/text_rules.h"
#include "imaging.h"
#include "core/command_line.h"
#include "module_start.h"
#include "orbboxes.h"
#include "themecore.h"
#include "themecore_painttool.h"

namespace browser {

namespace {

constexpr size_t kTypeListEntry = 15;
constexpr size_t kYesNoEntry = 29;
constexpr size_t kBoxButtonsEntry = 39;
constexpr size_t kHelpViewerEntry = 44;
constexpr size_t kDriveQuestionEntry = 71;
constexpr size_t kStopQuestionEntry = 72;
constexpr size_t kNothingFoundEntry = 73;
constexpr size_t kReplaceSecondListEntry = 74;
constexpr size_t kSecondListPermissionEntry = 75;
// How often the walk looks at the message queue.
constexpr DWORD kPumpIntervalMs = 20;
// The report's lines are written in blocks of about this size.
constexpr size_t kReportBlockBytes = 32 * 1024;

// What a search gives back.
struct SearchResult {
  std::string reportPath;   // "" when nothing was found or the search failed
  int64_t filesFound = 0;
  int64_t totalBytes = 0;   // -1 after a cancel
};

// A search runs inside its command while the pump dispatches messages; a
// second search command meanwhile is ignored.
bool g_searchRunning = false;

std::string MenuText(int id) {
  HMENU menu = Browser().mainMenu;
  if (menu == nullptr) return std::string();
  char text[256] = "";
  GetMenuStringA(menu, static_cast<UINT>(id), text, sizeof(text), MF_BYCOMMAND);
  return text;
}

// The search's boxes carry the command's menu text as caption.
int32_t ShowSearchBox(const std::string& caption, const std::string& text, const std::string& buttons,
                      HICON icon) {
  suite::boxes::BoxContext& context = suite::boxes::CurrentBoxContext();
  if (context.beforeBox) context.beforeBox();
  suite::boxes::PrepareBoxStyle(&context.style, suite::boxes::BoxLook::kMessage, suite::boxes::BoxIconField(icon),
                                static_cast<uint32_t>(SKGETSYSCOLOR(113)), static_cast<uint32_t>(SKGETSYSCOLOR(112)));
  int32_t answer = SKMSGBOX(Browser().mainWindow, SKCAPTIONFONT(), caption.c_str(), text.c_str(), buttons.c_str(),
                            &context.style, 0);
  if (Browser().mainWindow != nullptr) UpdateWindow(Browser().mainWindow);
  return answer;
}

// The drives a user may search: every drive but the floppies whose root
// can be read.
std::string OfferedDrives() {
  std::string all = themecore::FetchText([](char* out, int32_t size) { return SKDSKLIST(out, size); });
  std::string offered;
  for (char letter : SearchableDriveLetters(all)) {
    std::string root = std::string(1, letter) + ":\\*.*";
    if (SKEXIST(root.c_str())) offered += letter;
  }
  return offered;
}

// Up to `count` bytes from the start of a file ("" when it cannot be read).
std::string ReadFirstBytes(const std::string& path, size_t count) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(count, '\0');
  DWORD got = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(count), &got, nullptr)) got = 0;
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

// The picture size the last two commands read: the GIF header for GIF
// files, the imaging library for the other picture types.
void ReadPictureSize(const std::string& path, const std::string& extension, int32_t* width, int32_t* height) {
  if (extension == ".GIF") {
    GifHeader header;
    if (ParseGifHeader(ReadFirstBytes(path, kGifHeaderBytes), &header)) {
      *width = static_cast<int32_t>(header.width);
      *height = static_cast<int32_t>(header.height);
    }
    return;
  }
  FILEINFO info = {};
  info.uStructSize = sizeof(info);
  if (L_FileInfo(path.c_str(), &info, 1, nullptr) == IMG_SUCCESS) {
    *width = info.Width;
    *height = info.Height;
  }
}

// Whether a file is one the command looks for; *width and *height get the
// picture size when the command reads it.
bool FileMatches(int commandId, const std::string& extensions, const std::string& path, const std::string& name,
                 int32_t* width, int32_t* height) {
  *width = 0;
  *height = 0;
  const std::string extension = SearchExtensionOf(name);
  if (extension.empty()) return false;
  bool matches = false;
  if (SearchReadsPictureSizes(commandId) && ExtensionListed(kSearchPictureExtensions, extension)) {
    ReadPictureSize(path, extension, width, height);
    matches = *width > 0 && *height > 0;
  }
  if (!matches) {
    *width = 0;
    *height = 0;
    matches = ExtensionListed(extensions, extension);
  }
  if (!matches) return false;
  const size_t ruleBytes = ContentRuleBytes(extension);
  return PassesContentRule(extension, ruleBytes > 0 ? ReadFirstBytes(path, ruleBytes) : std::string());
}

// The second list's side of a search: asked once, at the first finding.
// The findings go into the list in batches with its drawing held off, as
// one insert at a time with a repaint each would take longer than the walk.
class SecondListFill {
 public:
  explicit SecondListFill(bool permitted) : permitted_(permitted) {}

  void Add(const std::string& path) {
    BrowserState& b = Browser();
    if (!decided_) {
      decided_ = true;
      adding_ = permitted_ && b.secondList != nullptr && TakeTheList();
    }
    if (adding_) pending_.push_back(" " + path);
  }

  // Puts the findings gathered since the last call at the end of the list.
  void Flush() {
    if (pending_.empty()) return;
    HWND list = Browser().secondList;
    HeldListDrawing held(list);
    for (const std::string& entry : pending_) {
      SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(entry.c_str()));
      GrowListExtent(list, entry);
    }
    pending_.clear();
  }

 private:
  // An empty list takes the findings; a filled one only when the user lets
  // them replace its entries.
  static bool TakeTheList() {
    BrowserState& b = Browser();
    if (SendMessageA(b.secondList, LB_GETCOUNT, 0, 0) <= 0) return true;
    if (suite::boxes::ShowInfoBox(b.texts.entry(kReplaceSecondListEntry), b.texts.entry(kYesNoEntry)) != 1) {
      return false;
    }
    SendMessageA(b.secondList, LB_RESETCONTENT, 0, 0);
    SendMessageA(b.secondList, LB_SETHORIZONTALEXTENT, 0, 0);
    return true;
  }

  bool permitted_;
  bool decided_ = false;
  bool adding_ = false;
  std::vector<std::string> pending_;
};

std::string NumberText(int64_t value) {
  return themecore::LongFormat(SaturatedNumber(value));
}

// Searches every folder of the drive for the command's files, writing each
// finding to the report at `reportPath`.
SearchResult MediaSearch(char driveLetter, const std::string& waitText, int commandId,
                         const std::string& reportName, const std::string& summaryTemplate) {
  BrowserState& b = Browser();
  SearchResult result;
  const std::string typeList = b.texts.entry(kTypeListEntry);
  if (typeList.empty()) return result;
  const std::string extensions = SearchExtensionList(typeList, commandId);
  SKCURSORWAIT();

  const std::string reportPath = b.programFolder + reportName;
  int32_t report = 0;
  SKKILLFILE(reportPath.c_str());
  const std::string header = ReportHeader();
  if (SKFOPEN(reportPath.c_str(), 2, 4, &report) != 0) {
    SKCURSORSTD(b.mainWindow);
    return result;
  }
  if (SKFPUT(report, header.data(), static_cast<int32_t>(header.size())) != 0) {
    SKFCLOSE(report);
    SKCURSORSTD(b.mainWindow);
    return result;
  }
  HWND waitWindow = waitText.empty() ? nullptr : suite::boxes::ShowWaitWindow(b.mainWindow, waitText);

  const std::string stopQuestion = b.texts.entry(kStopQuestionEntry);
  SecondListFill secondList(
      MayFillSecondList(commandId, suite::LeadingNumber(b.texts.entry(kSecondListPermissionEntry))));
  bool writesSucceeded = true;
  bool cancelled = false;
  SearchFolderWalk walk(std::string(1, driveLetter) + ":\\");
  DWORD lastPump = GetTickCount();
  // Report lines go out in blocks, and the status line shows the latest
  // finding when the queue is looked at: one write or one repaint per file
  // would hold a large drive up.
  std::string lines;
  std::string latestFinding;
  auto writeLines = [&] {
    if (lines.empty()) return;
    if (SKFPUT(report, lines.data(), static_cast<int32_t>(lines.size())) != 0) writesSucceeded = false;
    lines.clear();
  };
  std::string folder;
  while (!cancelled && walk.Next(&folder)) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) continue;  // an unreadable folder
    do {
      const std::string name = entry.cFileName;
      if (IsSearchedFile(name, entry.dwFileAttributes)) {
        const std::string path = folder + name;
        int32_t width = 0, height = 0;
        if (FileMatches(commandId, extensions, path, name, &width, &height)) {
          ++result.filesFound;
          secondList.Add(path);
          const int64_t size = static_cast<int64_t>((uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow);
          result.totalBytes += size;
          latestFinding = path;
          lines += ReportLine(width, height, NumberText(RoundedKilobytes(size)), path);
          if (lines.size() >= kReportBlockBytes) writeLines();
        }
      } else if (IsEnteredFolder(name, entry.dwFileAttributes)) {
        walk.AddSubfolder(name);
      }
      // The queue is looked at every few milliseconds, not after every entry:
      // Escape and repaints are still served at once to the eye.
      const DWORD now = GetTickCount();
      if (now - lastPump >= kPumpIntervalMs) {
        lastPump = now;
        secondList.Flush();
        if (!latestFinding.empty() && b.statusWindow != nullptr) SKSETCTLTEXT(b.statusWindow, latestFinding.c_str());
        latestFinding.clear();
        if (suite::boxes::PumpWithCancel(stopQuestion) != 0) cancelled = true;
      }
    } while (!cancelled && FindNextFileA(search, &entry));
    FindClose(search);
  }

  writeLines();
  secondList.Flush();
  if (writesSucceeded) {
    const std::string summary = ReportSummary(driveLetter, summaryTemplate, NumberText(result.filesFound),
                                              NumberText(RoundedKilobytes(result.totalBytes)));
    SKFPUTAT(report, 0, summary.data(), static_cast<int32_t>(summary.size()));
  }
  SKFCLOSE(report);
  if (waitWindow != nullptr) DestroyWindow(waitWindow);
  if (cancelled) {
    result.totalBytes = -1;
  } else if (result.filesFound > 0) {
    // Found files count even when all of them are empty.
    result.reportPath = reportPath;
  }
  if (b.statusWindow != nullptr) SKSETCTLTEXT(b.statusWindow, "");
  SKCURSORSTD(b.mainWindow);
  return result;
}

void ShowReport(const std::string& reportPath) {
  BrowserState& b = Browser();
  suite::ShowFileWithModule(reportPath, b.texts.entry(kHelpViewerEntry),
                            suite::QuoteArgument(reportPath + "," + b.skinFile), b.programFolder);
}

void RunSearch(int id) {
  BrowserState& b = Browser();
  const std::string caption = MenuTextCaption(MenuText(id));
  const std::string drives = OfferedDrives();
  const int32_t answer = ShowSearchBox(caption, b.texts.entry(kDriveQuestionEntry),
                                       DriveBoxButtons(drives, b.texts.entry(kBoxButtonsEntry)), nullptr);
  if (answer < 1 || static_cast<size_t>(answer) > drives.size()) return;
  const char letter = drives[static_cast<size_t>(answer) - 1];
  const SearchAction action = ParseSearchAction(suite::MenuAction(id, b.menus));
  const SearchResult result =
      MediaSearch(letter, action.waitText, id, ReportFileName(action.reportName, letter), action.summaryTemplate);
  if (!result.reportPath.empty()) {
    ShowReport(result.reportPath);
  } else if (result.totalBytes >= 0) {
    ShowSearchBox(caption, b.texts.entry(kNothingFoundEntry), "",
                  LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_EXCLAMATION)));
  }
}

}  // namespace

bool RunMediaSearchCommand(int id) {
  if (!IsSearchCommand(id)) return false;
  if (g_searchRunning) return true;
  g_searchRunning = true;
  RunSearch(id);
  g_searchRunning = false;
  return true;
}

}  // namespace browser
