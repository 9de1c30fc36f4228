#include "core/view_rules.h"

#include <algorithm>
#include <climits>

namespace view {

namespace {

int16_t Clamp16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

void Put16(std::string* bytes, int32_t value) {
  const uint16_t bits = static_cast<uint16_t>(Clamp16(value));
  bytes->push_back(static_cast<char>(bits & 0xFF));
  bytes->push_back(static_cast<char>(bits >> 8));
}

int32_t Get16(const std::string& bytes, size_t at) {
  const uint16_t bits = static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                              (static_cast<uint8_t>(bytes[at + 1]) << 8));
  return static_cast<int16_t>(bits);
}

std::string Trimmed(const std::string& text) {
  size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(' ');
  return text.substr(start, end - start + 1);
}

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string UpperExtension(const std::string& name) {
  const std::string file = FileName(name);
  const size_t dot = file.rfind('.');
  if (dot == std::string::npos) return std::string();
  return Upper(file.substr(dot));
}

}  // namespace

Placement DefaultPlacement(int32_t screenWidth, int32_t screenHeight, const std::string& windowsFolder) {
  Placement placement;
  placement.width = kDefaultWindowWidth;
  placement.height = kDefaultWindowHeight;
  placement.x = std::max(0, FloorDiv(screenWidth - placement.width, 2));
  placement.y = std::max(0, FloorDiv(screenHeight - placement.height, 2));
  placement.folder = windowsFolder;
  return placement;
}

std::string EncodePlacement(const Placement& placement) {
  std::string bytes;
  Put16(&bytes, placement.x);
  Put16(&bytes, placement.y);
  Put16(&bytes, placement.width);
  Put16(&bytes, placement.height);
  bytes += placement.folder;
  return bytes;
}

bool DecodePlacement(const std::string& bytes, Placement* placement) {
  if (bytes.size() < 8) return false;
  placement->x = std::max(0, Get16(bytes, 0));
  placement->y = std::max(0, Get16(bytes, 2));
  placement->width = Get16(bytes, 4);
  placement->height = Get16(bytes, 6);
  placement->folder = bytes.substr(8);
  return true;
}

int32_t FloorDiv(int32_t a, int32_t b) {
  if (b == 0) return 0;
  int32_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

ViewGeometry ComputeGeometry(int32_t holderWidth, int32_t holderHeight) {
  ViewGeometry g;
  g.width = holderWidth;
  g.height = holderHeight;
  g.cellWidth = FloorDiv(holderWidth, 4);
  g.cellHeight = std::max(0, FloorDiv(holderHeight - 243, 2));
  g.stripHeight = g.cellHeight + 26;
  g.lightTableY = holderHeight - g.cellHeight;
  g.buttonY = g.cellHeight + 29;
  g.buttonX = FloorDiv(holderWidth - 338, 2) - 138;
  g.separatorY = g.cellHeight + 53;
  g.treeY = g.cellHeight + 59;
  g.frameY = g.cellHeight + 69;
  g.slotLabelY = g.cellHeight + 227;
  const int32_t s = FloorDiv(800 - holderWidth, 4);
  g.frameWidth = 100 - s;
  g.frameStep = 102 - s;
  g.framesX = std::max(0, FloorDiv(holderWidth - (3 * g.frameStep + g.frameWidth), 2));
  return g;
}

void MainWindowSize(int32_t sideLeft, int32_t sideRight, int32_t caption, int32_t menu, int32_t status,
                    int32_t bottom, int32_t* width, int32_t* height) {
  *width = FloorDiv(800 - sideLeft - sideRight, 4) * 4;
  *height = FloorDiv(600 - caption - menu - status - bottom, 2) * 2;
}

std::string ArgumentsOf(const std::string& commandLine) {
  size_t start = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    start = commandLine.find('"', 1);
    start = start == std::string::npos ? commandLine.size() : start + 1;
  } else {
    start = commandLine.find(' ');
    if (start == std::string::npos) start = commandLine.size();
  }
  return commandLine.substr(start);
}

std::string CommandLineFolder(const std::string& arguments) {
  std::string folder = Trimmed(arguments);
  if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"') {
    folder = Trimmed(folder.substr(1, folder.size() - 2));
  }
  if (folder == "WAITFORCOMMAND" || folder.empty()) return std::string();
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + "\\";
}

std::string StartFolder(const std::string& commandFolder, bool autorunPresent, const std::string& programFolder,
                        const std::string& savedFolder) {
  if (!commandFolder.empty()) return commandFolder;
  if (autorunPresent) return programFolder;
  return savedFolder;
}

std::string FolderOwnName(const std::string& folder) {
  std::string path = folder;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return FileName(path);
}

std::string BasePathOf(const std::string& exePath) {
  const size_t nameStart = FileName(exePath).empty() ? exePath.size() : exePath.size() - FileName(exePath).size();
  const size_t dot = exePath.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return exePath;
  return exePath.substr(0, dot);
}

bool IsPictureName(const std::string& name) {
  const std::string ext = UpperExtension(name);
  if (ext.size() < 2) return false;
  return std::string(kPictureExtensions).find(ext + ".") != std::string::npos;
}

bool IsGifName(const std::string& name) { return UpperExtension(name) == ".GIF"; }

bool AcceptsAttributes(uint32_t attributes) {
  constexpr uint32_t kDirectory = 0x10, kHidden = 0x2, kSystem = 0x4, kDevice = 0x40;
  return (attributes & (kDirectory | kHidden | kSystem | kDevice)) == 0;
}

bool AcceptsEntryName(const std::string& name) { return !name.empty() && name[0] != '.'; }

void SortPictureList(std::vector<std::string>* list) { std::sort(list->begin(), list->end()); }

std::string KeywordFilePath(const std::string& picture) {
  const size_t nameStart = picture.size() - FileName(picture).size();
  const size_t dot = picture.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return picture + ".KWD";
  return picture.substr(0, dot + 1) + "KWD";
}

std::string KeywordsOf(const std::string& bytes) {
  const size_t zero = bytes.find('\0');
  return Trimmed(zero == std::string::npos ? bytes : bytes.substr(0, zero));
}

std::string HoverText(const std::string& path, bool keywordFileRead, const std::string& keywords) {
  std::string text = Lower(FileName(path));
  if (keywordFileRead) text += " :  " + keywords;
  return text;
}

std::string SlotCaption(const std::string& path, int32_t width, int32_t height) {
  return " " + Lower(FileName(path)) + " " + std::to_string(width) + "x" + std::to_string(height);
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::vector<int32_t> DrawPage(StripState* strip) {
  std::vector<int32_t> cells;
  for (int cell = 0; cell < 4; ++cell) {
    ++strip->last;
    cells.push_back(strip->last <= strip->count ? strip->last : 0);
  }
  strip->last = std::min(strip->last, strip->count);
  return cells;
}

StripAction PageCommand(int32_t command, StripState* strip, int32_t* index) {
  *index = 0;
  switch (command) {
    case 1:
      if (strip->last <= 4) return StripAction::None;
      strip->last = 0;
      return StripAction::DrawPage;
    case 6:
      if (strip->count <= 4 || strip->count <= strip->last) return StripAction::None;
      strip->last = strip->count - 4;
      return StripAction::DrawPage;
    case 5:
      if (strip->count <= strip->last) return StripAction::None;
      ++strip->last;
      *index = strip->last;
      return StripAction::ShiftLeft;
    case 2:
      if (strip->last <= 4) return StripAction::None;
      --strip->last;
      *index = strip->last - 3;
      return StripAction::ShiftRight;
    default:
      return StripAction::None;
  }
}

int32_t CellIndexAt(const StripState& strip, int32_t x, int32_t cellWidth) {
  if (strip.count <= 0 || cellWidth <= 0) return 0;
  const int32_t k = strip.count < 5 ? strip.count - 1 : 3;
  const int32_t column = std::clamp(FloorDiv(x, cellWidth), 0, 3);
  const int32_t index = strip.last - k + column;
  if (index < 1 || index > strip.count) return 0;
  return index;
}

int32_t SlotAt(int32_t x, int32_t cellWidth) {
  if (cellWidth <= 0) return 1;
  return std::clamp(FloorDiv(x, cellWidth) + 1, 1, 4);
}

int32_t NumberOf(const std::string& text) {
  size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
    negative = text[at] == '-';
    ++at;
  }
  int64_t value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = std::min<int64_t>(value * 10 + (text[at] - '0'), INT32_MAX);
    ++at;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

WallParameters ParseWallParameters(const std::string& action) {
  WallParameters wall;
  std::vector<std::string> fields;
  size_t start = 0;
  while (true) {
    const size_t comma = action.find(',', start);
    fields.push_back(action.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (fields.size() != 3) return wall;
  wall.columns = std::max(1, NumberOf(fields[0]));
  wall.rows = std::max(1, NumberOf(fields[1]));
  wall.delayMs = std::max(0, NumberOf(fields[2]));
  return wall;
}

int32_t WallQuestionCount(size_t listSize, const std::set<int32_t>& marks, int32_t answer) {
  const int32_t marked = static_cast<int32_t>(marks.size());
  if (answer == 2) return static_cast<int32_t>(listSize) - marked;
  if (answer == 4) return marked;
  return 0;
}

WallOutcome ResolveWall(const std::vector<std::string>& list, const std::set<int32_t>& marks, int32_t answer,
                        int32_t questionAnswer) {
  WallOutcome outcome;
  if (answer < 1 || answer > 4 || marks.empty()) return outcome;
  // Answers 1 and 2 keep the marked pictures, 3 and 4 the others; 2 and 4
  // delete the ones not kept, after the question.
  const bool keepMarked = answer == 1 || answer == 2;
  const bool deletes = answer == 2 || answer == 4;
  if (deletes) {
    outcome.questionCount = WallQuestionCount(list.size(), marks, answer);
    if (outcome.questionCount == 0 || questionAnswer != 1) return outcome;
  }
  outcome.changed = true;
  for (size_t i = 0; i < list.size(); ++i) {
    const bool marked = marks.count(static_cast<int32_t>(i + 1)) != 0;
    if (marked == keepMarked) {
      outcome.kept.push_back(list[i]);
    } else if (deletes) {
      outcome.deleted.push_back(list[i]);
    }
  }
  return outcome;
}

std::string FoldersOf(const std::vector<std::string>& files) {
  std::vector<std::string> folders;
  for (const std::string& file : files) {
    std::string folder = FolderPart(file);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    bool known = false;
    for (const std::string& seen : folders) known = known || Lower(seen) == Lower(folder);
    if (!known) folders.push_back(folder);
  }
  std::string joined;
  for (const std::string& folder : folders) joined += (joined.empty() ? "" : ", ") + folder;
  return joined;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

std::vector<CellRect> WallCells(int32_t screenWidth, int32_t screenHeight, const WallParameters& wall) {
  std::vector<CellRect> cells;
  const int32_t cellWidth = FloorDiv(screenWidth, wall.columns);
  const int32_t cellHeight = FloorDiv(screenHeight, wall.rows);
  for (int32_t row = 0; row < wall.rows; ++row) {
    for (int32_t column = 0; column < wall.columns; ++column) {
      const int32_t left = column * cellWidth, top = row * cellHeight;
      cells.push_back({left, top, left + cellWidth - 1, top + cellHeight - 1});
    }
  }
  return cells;
}

PollResult PollStep(PollMode mode, PollEvent event, uint32_t key) {
  constexpr uint32_t kSpace = 0x20;
  PollResult result;
  switch (event) {
    case PollEvent::KeyUp:
      if (key == kSpace) {
        result.togglePause = true;
      } else {
        result.stop = true;
      }
      break;
    case PollEvent::KeyDown:
      if (key != kSpace) result.stop = true;
      break;
    case PollEvent::Char:
      // The characters of the keys already seen: a space's does nothing.
      if (key != kSpace) result.stop = true;
      break;
    case PollEvent::RightUp:
      result.togglePause = true;
      break;
    case PollEvent::RightDown:
    case PollEvent::MouseMove:
      break;
    case PollEvent::LeftUp:
      if (mode == PollMode::Wall) {
        result.mark = true;
      } else {
        result.stop = true;
      }
      break;
    case PollEvent::MiddleUp:
      result.stop = true;
      break;
    default:
      if (mode == PollMode::SlideShow) result.stop = true;
      break;
  }
  return result;
}

PanState StartPan(int32_t screenWidth, int32_t screenHeight, int32_t pictureWidth, int32_t pictureHeight) {
  PanState pan;
  pan.minX = screenWidth - pictureWidth;
  pan.minY = screenHeight - pictureHeight;
  pan.panX = pictureWidth > screenWidth;
  pan.panY = pictureHeight > screenHeight;
  return pan;
}

bool PanByKey(PanState* pan, PanKey key) {
  const int32_t oldX = pan->x, oldY = pan->y;
  if (pan->panX) {
    if (key == PanKey::Home) pan->x = 0;
    if (key == PanKey::End) pan->x = pan->minX;
    if (key == PanKey::Left) pan->x = std::min(0, pan->x + 4);
    if (key == PanKey::Right) pan->x = std::max(pan->minX, pan->x - 4);
  }
  if (pan->panY) {
    if (key == PanKey::PageUp) pan->y = 0;
    if (key == PanKey::PageDown) pan->y = pan->minY;
    if (key == PanKey::Up) pan->y = std::min(0, pan->y + 4);
    if (key == PanKey::Down) pan->y = std::max(pan->minY, pan->y - 4);
  }
  return pan->x != oldX || pan->y != oldY;
}

bool PanByMouse(PanState* pan, int32_t mouseX, int32_t mouseY, int32_t screenWidth, int32_t screenHeight) {
  const int32_t oldX = pan->x, oldY = pan->y;
  if (pan->panX) {
    if (pan->x + mouseX > screenWidth - 10) {
      pan->x = std::max(pan->minX, pan->x - 4);
    } else if (pan->x + mouseX < 10) {
      pan->x = std::min(0, pan->x + 4);
    }
  }
  if (pan->panY) {
    if (pan->y + mouseY > screenHeight - 11) {
      pan->y = std::max(pan->minY, pan->y - 4);
    } else if (pan->y + mouseY < 10) {
      pan->y = std::min(0, pan->y + 4);
    }
  }
  return pan->x != oldX || pan->y != oldY;
}

}  // namespace view
