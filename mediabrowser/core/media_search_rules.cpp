// The media search's portable rules (see media_search_rules.h).
#include "core/media_search_rules.h"

#include <algorithm>
#include <limits>

#include "core/item_list.h"
#include "core/text_rules.h"

namespace browser {

namespace {

constexpr uint32_t kFileAttributeHidden = 0x02;
constexpr uint32_t kFileAttributeSystem = 0x04;
constexpr uint32_t kFileAttributeVolume = 0x08;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeDevice = 0x40;
constexpr uint32_t kNotAFile =
    kFileAttributeHidden | kFileAttributeSystem | kFileAttributeVolume | kFileAttributeDirectory | kFileAttributeDevice;

std::string PaddedRight(std::string text, size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PaddedLeft(const std::string& text, size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

}  // namespace

bool IsSearchCommand(int id) { return id >= kFirstSearchCommand && id <= kLastSearchCommand; }

bool SearchReadsPictureSizes(int id) { return id == 405 || id == 406; }

std::string SearchExtensionList(const std::string& typeList, int commandId) {
  const int type = commandId % 100;
  if (type <= 0) return std::string();
  const size_t field = 2 * static_cast<size_t>(type);
  if (field > suite::ItemFieldCount(typeList)) return std::string();
  std::string list = suite::UpperAscii(suite::ItemField(typeList, field)) + ".";
  list = suite::ReplaceAll(list, "*.", ".");
  return suite::ReplaceAll(list, ";.", ".");
}

std::string SearchExtensionOf(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return std::string();
  return suite::UpperAscii(fileName.substr(dot));
}

bool ExtensionListed(const std::string& extensionList, const std::string& extension) {
  if (extension.empty()) return false;
  return extensionList.find(extension + ".") != std::string::npos;
}

size_t ContentRuleBytes(const std::string& extension) {
  if (extension == ".DAT") return 4;
  if (extension == ".MOD") return 2;
  return 0;
}

bool PassesContentRule(const std::string& extension, const std::string& firstBytes) {
  if (extension == ".MID") return false;
  if (extension == ".DAT") return firstBytes.size() >= 4 && suite::UpperAscii(firstBytes.substr(0, 4)) == "RIFF";
  if (extension == ".MOD") return firstBytes.compare(0, 2, "MZ") != 0;
  return true;
}

bool IsSearchedFile(const std::string& name, uint32_t attributes) {
  return !name.empty() && name[0] != '.' && (attributes & kNotAFile) == 0;
}

bool IsEnteredFolder(const std::string& name, uint32_t attributes) {
  return !name.empty() && name[0] != '.' && (attributes & kFileAttributeDirectory) != 0;
}

std::string SearchableDriveLetters(const std::string& driveList) {
  std::string letters = suite::UpperAscii(driveList);
  size_t floppies = 0;
  while (floppies < letters.size() && (letters[floppies] == 'A' || letters[floppies] == 'B')) ++floppies;
  return letters.substr(floppies);
}

std::string DriveBoxButtons(const std::string& letters, const std::string& buttonsEntry) {
  std::string buttons;
  for (char letter : letters) {
    if (!buttons.empty()) buttons += '|';
    buttons += letter;
    buttons += ':';
  }
  const size_t bar = buttonsEntry.find('|');
  if (bar != std::string::npos) buttons += buttonsEntry.substr(bar);
  return buttons;
}

std::string MenuTextCaption(const std::string& menuText) {
  std::string caption;
  for (char c : menuText) {
    if (c != '&') caption += c;
  }
  while (!caption.empty() && caption.back() == ' ') caption.pop_back();
  return caption;
}

SearchAction ParseSearchAction(const std::string& actionEntry) {
  SearchAction action;
  const size_t first = actionEntry.find(',');
  action.reportName = actionEntry.substr(0, first);
  if (first == std::string::npos) return action;
  const size_t second = actionEntry.find(',', first + 1);
  action.waitText = actionEntry.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
  if (second != std::string::npos) action.summaryTemplate = actionEntry.substr(second + 1);
  return action;
}

std::string ReportFileName(const std::string& reportName, char driveLetter) {
  return suite::ReplaceAll(reportName, "@", std::string(1, driveLetter));
}

int64_t RoundedKilobytes(int64_t bytes) {
  if (bytes <= 0) return 0;
  return bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
}

int32_t SaturatedNumber(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

std::string ReportSummary(char driveLetter, const std::string& summaryTemplate, const std::string& countText,
                          const std::string& kilobyteText) {
  std::string filled;
  for (char c : summaryTemplate) {
    if (c == '@') {
      filled += countText;
    } else if (c == '#') {
      filled += kilobyteText;
    } else {
      filled += c;
    }
  }
  std::string summary = std::string(1, driveLetter) + ": " + filled;
  summary.resize(kReportSummaryBytes, ' ');
  return summary;
}

std::string ReportHeader() { return std::string(kReportSummaryBytes, ' ') + "\r\n\r\n"; }

std::string ReportLine(int32_t width, int32_t height, const std::string& kilobyteText, const std::string& path) {
  std::string size = width > 0 && height > 0 ? std::to_string(width) + "x" + std::to_string(height) : std::string();
  return PaddedRight(size, 12) + PaddedLeft(kilobyteText, 10) + " k\t" + path + "\r\n";
}

bool MayFillSecondList(int commandId, int32_t permission) {
  if (commandId == kLastSearchCommand) return permission == 3;
  if (commandId == kFirstSearchCommand) return permission >= 2;
  return permission != 0;
}

}  // namespace browser
